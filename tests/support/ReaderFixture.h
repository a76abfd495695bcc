#pragma once

#include "reader/TextArea.h"
#include "reader/frmMain.h"
#include "settings/GlobalData.h"
#include "support/FakeDesktop.h"
#include "support/FakeDrives.h"
#include "support/ScriptedPrompts.h"

#include <QAction>
#include <QLineEdit>

#include <functional>
#include <memory>

// The record a first run starts with: zero but for the five defaults.
inline GlobalData firstRunRecord()
{
    GlobalData record;
    record.LinesPerPage = 15;
    record.BackColor = VariantValue::fromLong(0xFFFFFF);
    record.ForeColor = VariantValue::fromLong(0);
    record.FontSize = 12;
    return record;
}

// The reader window as a user meets it: built with scripted prompts, fake drives and a fake
// desktop, started by its load step on config.ini in a temporary config folder and closed by its
// unload step. A test calls init() from its own init(); controls and actions are found by their
// objectName. The drives: "/", a temporary folder (driveRoot()) and "card", a volume without a
// medium.
class ReaderFixture
{
public:
    ReaderFixture();
    Q_DISABLE_COPY(ReaderFixture)

    // Forgets the window, the answers, the fakes' records, the settings record, config.ini, the
    // placement store and the books of the previous test.
    void init();
    // A new window on a fresh settings record, loaded as the program starts it and shown.
    frmMain *start();
    // Closes the window as the user does (the unload step runs) and releases it.
    void close();
    frmMain *window() const { return m_window.get(); }

    template<typename T> T *find(const QString &name) const
    {
        return m_window ? m_window->template findChild<T *>(name) : nullptr;
    }
    void trigger(const QString &action) const { find<QAction>(action)->trigger(); }
    // The text of the line edit or label named name.
    QString text(const QString &name) const;
    TextArea *view() const { return find<TextArea>(QStringLiteral("TextArea")); }
    QString viewText() const { return view()->text(); }
    // The page-number box and the first line of the view, as "3 line 31".
    QString shown() const
    {
        return text(QStringLiteral("PageNumber")) + u' ' + viewText().section(u'\n', 0, 0);
    }
    void setPageNumber(const QString &text) const
    {
        find<QLineEdit>(QStringLiteral("PageNumber"))->setText(text);
    }
    // File > Open, choosing path in the dialog.
    void open(const QString &path)
    {
        prompts.files.enqueue(path);
        trigger(QStringLiteral("mnuFileOpen"));
    }
    // Acts in the next modal dialog once it is open, as the user would.
    static void answerModal(std::function<void(QWidget *)> answer);

    // A book of `lines` lines "line 1" ... in the books folder (or folder, when given).
    QString writeBook(const QString &name, int lines, const QString &folder = QString()) const;
    QString booksFolder() const { return under(QStringLiteral("books")); }
    QString driveRoot() const { return under(QStringLiteral("drive/")); }
    // config.ini, written before start() or read after close().
    void writeConfig(const GlobalData &record) const;
    GlobalData savedConfig() const;

    QStringList messages() const { return prompts.messages(); }

    ScriptedPrompts prompts;
    GlobalData data;
    FakeDrives drives;
    FakeLauncher launcher;
    FakeRegistry registry;

private:
    static QString under(const QString &name);

    std::unique_ptr<frmMain> m_window;
};

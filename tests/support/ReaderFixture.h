#pragma once

#include "reader/frmMain.h"
#include "settings/GlobalData.h"
#include "support/FakeDrives.h"
#include "support/ScriptedPrompts.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class QAction;

// The reader window as a user meets it, for the GUI tests: built with scripted prompts and a
// set of fake drives, started by its load step on a config.ini in a temporary config folder
// ($XDG_CONFIG_HOME points there for the whole test run, so the window placement store lands
// there too), closed by its unload step. A test owns one fixture and calls init() from its
// own init(); controls and actions are found by their objectName.
//
// The drives: "/" (fixed), a ready volume that is a temporary folder (driveRoot()) and a
// volume without a medium (cardRoot(), not ready).
class ReaderFixture
{
public:
    ReaderFixture();
    ~ReaderFixture();
    Q_DISABLE_COPY(ReaderFixture)

    // Forgets the window, the answers, the settings record, config.ini, the placement store and
    // the books of the previous test.
    void init();

    // A new window on a fresh settings record, loaded as the program starts it and shown.
    frmMain *start();
    // Closes the window as the user does (the unload step runs) and releases it.
    void close();
    frmMain *window() const { return m_window.get(); }

    QAction *action(const QString &name) const;
    void trigger(const QString &name) const;
    // The window's child of type T named name (nullptr when there is none).
    template<typename T> T *find(const QString &name) const;

    // The whole text of the page view.
    QString viewText() const;
    QString pageNumberText() const;
    // Puts text into the page-number box as a program or a paste does.
    void setPageNumber(const QString &text) const;

    // A book of `lines` lines "line 1" ... in the books folder (or folder, when given).
    QString writeBook(const QString &name, int lines, const QString &folder = QString()) const;
    QString booksFolder() const;
    QString driveRoot() const; // ends in "/"
    QString cardRoot() const; // ends in "/"

    QString configFolder() const; // what $XDG_CONFIG_HOME names
    QString configFile() const;
    QString placementFile() const;
    QByteArray configBytes() const;
    void writeConfig(const GlobalData &record) const;

    QStringList messages() const { return prompts.messages(); }

    ScriptedPrompts prompts;
    GlobalData data;
    FakeDrives drives;

private:
    QTemporaryDir m_root;
    std::unique_ptr<frmMain> m_window;
};

template<typename T> T *ReaderFixture::find(const QString &name) const
{
    return m_window ? m_window->template findChild<T *>(name) : nullptr;
}

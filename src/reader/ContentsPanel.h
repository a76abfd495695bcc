#pragma once

#include "book/ChapterFinder.h"

#include <QGroupBox>

class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QStyledItemDelegate;
class QToolButton;
class QListWidget;
class QListWidgetItem;

// The contents of the open book beside the page view, in the place of the file panel: the
// chapters' titles indented by level with the page each begins on, the one being read marked.
// Typing narrows the list to the titles that hold what is typed; Enter or a double click asks
// for a chapter's page. A book without chapters is told so, with the way to a pattern. Which page
// a chapter begins on, and what is shown, are the reader's.
class ContentsPanel : public QGroupBox
{
    Q_OBJECT
    Q_DISABLE_COPY(ContentsPanel)

public:
    explicit ContentsPanel(QWidget *parent);

    // The entries and the page (from 0) each begins on; byPattern when a pattern of the reader's
    // found them.
    void setEntries(const QList<Chapter> &entries, const QList<int> &pages, bool byPattern);
    // No list, and why: no book open, the chapters still being found.
    void showNote(const QString &note);
    // Marks the chapter being read, -1 for none.
    void setCurrent(int entry);
    int current() const { return m_current; }

Q_SIGNALS:
    void pageChosen(int page);
    void closeClicked();
    void patternAsked();
    void automaticAsked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void narrow(const QString &typed);
    void choose(QListWidgetItem *item);
    QListWidgetItem *firstShown() const;

    QToolButton *m_close = nullptr;
    QLineEdit *m_filter = nullptr;
    QStackedWidget *m_pages = nullptr;
    QListWidget *m_list = nullptr;
    QStyledItemDelegate *m_entries = nullptr;
    QLabel *m_note = nullptr;
    QPushButton *m_pattern = nullptr;
    QPushButton *m_automatic = nullptr;
    int m_current = -1;
};

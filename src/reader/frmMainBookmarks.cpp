// The reader window's bookmarks: added at the first line shown, listed in their menu in the
// book's order, edited in their list; kept with the book's place.
#include "reader/frmMain.h"

#include "platform/Prompts.h"
#include "reader/frmBookmarks.h"

#include <QAction>
#include <QMenu>

void frmMain::mnuBookmarksAdd_Click()
{
    if (!m_state.bookOpened() || m_state.book().isEmpty()) {
        m_prompts.tell(this, QStringLiteral("please open a book first"));
        return;
    }
    if (m_record.bookmarks.size() >= Bookmarks::MaxCount) {
        m_prompts.tell(this,
                       QStringLiteral("This book has %1 bookmarks, as many as Pagelark "
                                      "keeps for a book. Remove one to add another.")
                           .arg(Bookmarks::MaxCount));
        return;
    }
    const Book &book = m_state.book();
    const qsizetype offset = book.pageOffset(m_state.currentPage());
    const LineAnchor at = m_contents
        ? m_contents->anchorAt(offset)
        : LineAnchor::atOffset(book.bytesFrom(0), book.bytesEncoding(), offset);
    const QString name =
        at.text.isEmpty() ? QStringLiteral("Page %1").arg(m_state.currentPage() + 1) : at.text;
    m_record.bookmarks.append({at, name});
    keepBookmarks();
}

// The bookmarks as they are now go with the book's place at once.
void frmMain::keepBookmarks()
{
    leaveBook();
    saveHistorySoon();
}

QList<Bookmarks::Place> frmMain::bookmarkPlaces() const
{
    return m_contents ? Bookmarks::locate(m_record.bookmarks, *m_contents)
                      : QList<Bookmarks::Place>();
}

// The menu lists the bookmarks where they are in the book now; until the book's lines are known
// it says so.
void frmMain::showBookmarksMenu()
{
    for (QAction *entry : std::as_const(m_bookmarkEntries))
        delete entry;
    m_bookmarkEntries.clear();
    if (!m_state.bookOpened() || m_record.bookmarks.isEmpty())
        return;
    if (!m_contents) {
        QAction *wait = mnuBookmarks->addAction(QStringLiteral("Finding the bookmarks..."));
        wait->setEnabled(false);
        m_bookmarkEntries.append(wait);
        return;
    }
    const QList<Bookmarks::Place> places = bookmarkPlaces();
    for (const Bookmarks::Place &place : places) {
        const int page = m_state.book().pageAt(place.offset);
        QString name = m_record.bookmarks[place.index].name;
        name.replace(u'&', QStringLiteral("&&"));
        QAction *entry =
            mnuBookmarks->addAction(name + (place.moved ? QStringLiteral(" (moved)") : QString())
                                    + QStringLiteral("\tpage %1").arg(page + 1));
        entry->setObjectName(QStringLiteral("mnuBookmark%1").arg(m_bookmarkEntries.size() + 1));
        connect(entry, &QAction::triggered, this, [this, page] {
            showAnswer({{}, QString::number(page + 1), {}, {}});
        });
        m_bookmarkEntries.append(entry);
    }
}

void frmMain::mnuBookmarksEdit_Click()
{
    if (!m_state.bookOpened()) {
        m_prompts.tell(this, QStringLiteral("please open a book first"));
        return;
    }
    const QList<Bookmarks::Place> places = bookmarkPlaces();
    QList<int> pages;
    for (const Bookmarks::Place &place : places)
        pages.append(m_state.book().pageAt(place.offset));
    frmBookmarks dialog(m_prompts, Bookmarks::updated(m_record.bookmarks, places), places, pages,
                        this);
    dialog.exec();
    m_record.bookmarks = dialog.bookmarks();
    keepBookmarks();
    if (const std::optional<int> page = dialog.chosenPage())
        showAnswer({{}, QString::number(*page + 1), {}, {}});
}

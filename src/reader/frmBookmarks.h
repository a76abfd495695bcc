#pragma once

#include "book/Bookmarks.h"

#include <QDialog>

#include <optional>

class Prompts;
class QListWidget;
class QPushButton;

// The book's bookmarks in a list, in the book's order with their pages: renamed, removed, or
// chosen to be shown. It edits a copy; the reader keeps the list it gives back.
class frmBookmarks : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(frmBookmarks)

public:
    // places: where each bookmark is (Bookmarks::locate), pages: the page of each place.
    frmBookmarks(Prompts &prompts, const QList<Bookmark> &bookmarks,
                 const QList<Bookmarks::Place> &places, const QList<int> &pages, QWidget *parent);

    const QList<Bookmark> &bookmarks() const { return m_bookmarks; }
    // The page (from 0) asked for by Go To, if any.
    std::optional<int> chosenPage() const { return m_chosen; }

    void cmdGoTo_Click();
    void cmdRename_Click();
    void cmdRemove_Click();

private:
    void fill();
    // The index in the list kept of the row chosen, -1 when none is.
    int chosen() const;

    Prompts &m_prompts;
    QList<Bookmark> m_bookmarks;
    QList<Bookmarks::Place> m_places;
    QList<int> m_pages;
    std::optional<int> m_chosen;
    QListWidget *lstBookmarks = nullptr;
    QList<QPushButton *> m_rowButtons;
};

#pragma once

#include "book/LineAnchor.h"

#include <QList>
#include <QString>

class BookContents;

// A place the reader marked in a book: the line that was first on the page shown, kept by its
// number and text so that it survives an edited book, and a name, at first that line's text.
struct Bookmark
{
    LineAnchor at;
    QString name;
};

// The rules of a book's bookmarks: how many a book keeps, and where each is in the book as it is
// now. Keeping them is the position store's; showing them, the window's.
namespace Bookmarks {

inline constexpr int MaxCount = 1000;

struct Place
{
    int index = 0; // in the list kept
    qsizetype offset = 0; // of its line in the book's text
    qint64 line = 0;
    bool moved = false; // its text is gone: it stays at its old line
};

// Each bookmark where its text is now, or at its old line when its text is gone, in the book's
// order (bookmarks of one line in the order they were made).
QList<Place> locate(const QList<Bookmark> &bookmarks, const BookContents &book);

// The list with the lines where the bookmarks were found: next time they are where they look.
QList<Bookmark> updated(QList<Bookmark> bookmarks, const QList<Place> &places);

} // namespace Bookmarks

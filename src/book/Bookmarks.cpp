#include "book/Bookmarks.h"

#include "book/BookContents.h"

#include <algorithm>

namespace Bookmarks {

QList<Place> locate(const QList<Bookmark> &bookmarks, const BookContents &book)
{
    QList<Place> places;
    for (int i = 0; i < bookmarks.size(); ++i) {
        const LineAnchor &at = bookmarks[i].at;
        const std::optional<qint64> line = book.locate(at);
        const qint64 kept =
            line.value_or(std::min(at.line, std::max<qint64>(book.lineCount() - 1, 0)));
        places.append({i, book.offsetOfLine(kept), kept, !line});
    }
    std::stable_sort(places.begin(), places.end(),
                     [](const Place &a, const Place &b) { return a.line < b.line; });
    return places;
}

QList<Bookmark> updated(QList<Bookmark> bookmarks, const QList<Place> &places)
{
    for (const Place &place : places) {
        if (!place.moved)
            bookmarks[place.index].at.line = place.line;
    }
    return bookmarks;
}

} // namespace Bookmarks

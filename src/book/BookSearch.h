#pragma once

#include "book/Book.h"

#include <QString>

#include <optional>

// Finds text in a book the way the page view's own find matches: letter case ignored, any part
// of a word. Positions are character offsets in a page's text as the view holds it, a line end
// counting as one character. Only the bytes in memory are scanned; nothing is shown.
namespace BookSearch {

struct Match
{
    int page = 0; // index from 0
    int position = 0; // in the page's view text
};

// The first occurrence at or after position `from` of page `fromPage`, else the first one on a
// following page.
std::optional<Match> find(const Book &book, const QString &text, int fromPage, int from = 0);

// A page's text as the page view holds it: lines joined by "\n", the last one ended too.
QString viewText(const Book &book, int page);

} // namespace BookSearch

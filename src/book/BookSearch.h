#pragma once

#include "book/Book.h"

#include <QString>

#include <optional>
#include <vector>

// Finds text in a book the way the page view's own find matches: letter case ignored, any part
// of a word, unless the options ask otherwise. Positions are character offsets in a page's text as
// the view holds it, a line end counting as one character. Only the bytes in memory are scanned;
// a page is decoded only where a match is to be placed. Showing and listing matches is the
// window's affair.
//
// The rule: an occurrence is a place in one page's view text where each UTF-16 unit of the text
// equals the page's unit there, after case folding (QChar::toCaseFolded) unless case is to match.
// Occurrences may overlap ("aa" occurs twice in "aaa"), and none runs from one page into the
// next. With whole words, an occurrence is refused where its first character and the one before
// it, or its last character and the one after it, are both letters or digits
// (QChar::isLetterOrNumber); the start and the end of a page have no character beyond them.
namespace BookSearch {

struct Options
{
    bool matchCase = false;
    bool wholeWords = false;
};

struct Match
{
    int page = 0; // index from 0
    int position = 0; // in the page's view text
};

// The first occurrence at or after position `from` of page `fromPage`, else the first one on a
// following page.
std::optional<Match> find(const Book &book, const QString &text, int fromPage, int from = 0,
                          const Options &options = {});

// The last occurrence that starts before position `before` of page `page` (any negative
// `before`: the end of that page), else the last one on an earlier page: Next's way back.
std::optional<Match> findBefore(const Book &book, const QString &text, int page, int before = -1,
                                const Options &options = {});

// Every occurrence in the book's order, as offsets into book.bytesFrom(0), at most `limit` of
// them. *total, when asked for, gets the count of all of them, which costs a scan to the end of
// the book but no room for the ones past the limit.
std::vector<qsizetype> findAll(const Book &book, const QString &text, const Options &options,
                               qsizetype limit, qsizetype *total = nullptr);

// Where an occurrence findAll gave lies, worked out for one at a time (a list asks for the rows it
// shows): its page, its position and length in that page's view text, and the text of its line
// in the view, with where the occurrence starts in it. A line running further than LineContext
// bytes from the occurrence on either side is given as the part within them, cut between
// characters.
struct Place
{
    int page = -1;
    int position = 0;
    int length = 0;
    QString line;
    int lineStart = 0;
};
inline constexpr qsizetype LineContext = 400;
Place placeOf(const Book &book, qsizetype offset, const QString &text);

// The first occurrence at or after position `from` of a page's view text, or -1.
int nextInView(QStringView view, const QString &text, const Options &options, qsizetype from = 0);

// A page's text as the page view holds it: lines joined by "\n", the last one ended too.
QString viewText(const Book &book, int page);

} // namespace BookSearch

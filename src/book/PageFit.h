#pragma once

#include "book/Book.h"
#include "book/CharacterReader.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

// Pages cut to what the page view shows without scrolling: each holds rowsPerPage rows of the
// view. Lines go onto a page whole while they fit; a line the rest of a page cannot hold goes on
// at the next page from the row where it was cut. How the view wraps a line is given as a
// measure, so the rule itself knows nothing of fonts.
//
// The pages are cut from a place, the start of the page to show: the pages after it are cut
// forward and those before it backward, so that cutting anew at another size keeps the first line
// shown at the top of the page. The book's first page holds what is left over before it.
//
// Counting a large book takes a while, so it is done a part at a time: the pages next to the
// place first, then on in both directions. Until it is done, the parts not reached yet are cut
// into pages of about the bytes the counted pages hold, at line starts, so that the book has
// pages from its start to its end at every moment; they are replaced as the count reaches them.
//
// Offsets are in the book's bytes from its text's start, as Book::pageOffset gives them.
class PageFit
{
public:
    // How the page view wraps a text of one line: where its rows after the first begin, as
    // positions in the text (UTF-16 units), in order. Nothing for a text of one row.
    using Measure = std::function<void(const QString &line, std::vector<int> &rowStarts)>;

    // The cut holds on to the book's bytes, not to the book.
    PageFit(const Book &book, int rowsPerPage, Measure measure, qsizetype place);
    ~PageFit();
    PageFit(const PageFit &) = delete;
    PageFit &operator=(const PageFit &) = delete;

    // Counts on over about `bytes` more of the book, before and after the place in turn; false
    // once the whole book is counted.
    bool work(qsizetype bytes);
    bool done() const { return backDone() && forwardDone(); }
    // Where each page begins, in order, the first at 0.
    std::vector<qsizetype> pages() const;
    qsizetype place() const { return m_place; }

private:
    struct Rows;
    bool backDone() const { return m_back == 0 && m_pending.empty(); }
    bool forwardDone() const { return m_forward == m_size; }
    qsizetype workBack();
    qsizetype workForward();
    // Measures [from, stop), from a row's start, and appends where its rows begin. Unless stop
    // is the line's end (last), the last row may be cut short with the piece: it is left out, and
    // its start returned as where the next piece begins.
    qsizetype measurePiece(qsizetype from, qsizetype stop, bool last,
                           std::vector<qsizetype> &starts);
    // Where a piece of at most the bytes measured at once, from from, ends: at a character's start.
    qsizetype pieceEnd(qsizetype from) const;
    qsizetype lineStartBefore(qsizetype offset) const;
    qsizetype lineEndAfter(qsizetype offset) const;
    // Guessed pages over [from, to): starts after from, about `every` bytes apart.
    void guess(qsizetype from, qsizetype to, qsizetype every, std::vector<qsizetype> &out) const;
    qsizetype bytesPerPage() const;

    QByteArray m_held;
    const char *m_text;
    qsizetype m_size;
    int m_rows;
    Measure m_measure;
    qsizetype m_place;
    std::unique_ptr<Rows> m_work;

    // Before the place: counted back to m_back; m_backRows rows past the last page start found.
    qsizetype m_back;
    int m_backRows = 0;
    std::vector<qsizetype> m_backStarts; // descending
    // A line too long to measure at once, before m_back: its rows so far, measured on from
    // m_pendingAt (its start the first).
    std::vector<qsizetype> m_pending;
    qsizetype m_pendingAt = 0;
    qsizetype m_pendingEnd = 0;

    // After it: counted on to m_forward, with m_forwardRows rows on the page being filled.
    qsizetype m_forward;
    int m_forwardRows = 0;
    std::vector<qsizetype> m_forwardStarts; // ascending, the place's page not among them
};

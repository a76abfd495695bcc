#pragma once

#include "book/LineEnds.h"
#include "book/TextCodec.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <optional>
#include <vector>

// A book: the bytes of one text file, read in one pass, and the index of its pages.
//
// A page is LinesPerPage lines; CR LF, a lone CR and a lone LF each end a line. Only the page
// offsets are kept; a page's text is decoded when it is asked for, so memory stays near the
// file's size and a page costs the same on a book of any size. Showing the pages is the reader
// window's affair.
//
// A book in UTF-16 or UTF-32 is held in UTF-8, converted as it is read; in any other encoding
// its bytes are held as read, as the code pages read here never put the bytes of CR and LF
// inside a longer character.
//
// A line longer than LongLineLimit bytes (its line end not counted) is cut for paging into pieces
// that each count as a line, so that a book of very long lines, or of one line, pages like any
// other: a piece holds about what an ordinary line holds, LinePieceSize bytes. A piece ends
// just after the last blank (space or tab) among its bytes where there is one, else after all of
// them, never inside a character: a UTF-8 sequence of a book held in UTF-8, or a character of
// several bytes of a code page such as Shift_JIS (other code pages have a character a byte);
// the last piece ends with the line's end, so a cut never parts a CR from its LF. A cut
// adds nothing to the text: pieces on one page run on as the line they came from, and a page
// that ends at a cut ends, as every page does, with CR LF in its text, a line end its bytes lack.
// Lines of LongLineLimit bytes or fewer are never cut, so a book without longer lines pages as if
// there were no such rule; nor is anything cut when the whole book is one page.
class Book
{
public:
    // A page of every line holds no more; so many lines make no page to read.
    static constexpr int MaxLinesOnOnePage = 32767;
    // Lines longer than this are cut for paging.
    static constexpr qsizetype LongLineLimit = 64 * 1024;
    // The bytes of an ordinary line of text, and so of a piece of a cut line: a page of pieces
    // then costs what a page of ordinary lines costs to lay out and paint.
    static constexpr qsizetype LinePieceSize = 80;

    // The largest book read: a quarter of the machine's memory, so that the book, its pages and
    // what the reader does with them leave the rest of the machine room. Larger files are
    // refused before a byte is read.
    static qint64 largestBook();
    // The most pages a book is cut into: page numbers are 32-bit, and the pages' index of a book
    // of very short lines at one line a page would take many times the book's own memory.
    static qint64 mostPages(qsizetype bookBytes);

    enum class Status {
        Loaded,
        CannotOpen, // missing, unreadable, or a folder
        NotRegular, // a device, a pipe or a socket
        ReadFailed, // the file opened but reading it failed
        TooLarge, // larger than largestBook()
        NotText, // holds NUL bytes
        TooManyPages, // more than mostPages() at this page size
        TooManyLines, // LinesPerPage below 1 and more than MaxLinesOnOnePage lines
    };

    struct LoadResult
    {
        Status status = Status::Loaded;
        QString detail; // the system's words for an open or read failure
    };

    // Reads path in encoding, or the one TextCodec::detect finds when none is given (the choice
    // "Automatic"), and cuts it into pages of linesPerPage lines. LoadResult::detail holds the
    // file's size in bytes for a book refused as TooLarge. A linesPerPage below 1 never
    // completes a page: the whole book becomes one page. On failure *this is left unchanged.
    LoadResult load(const QString &path, int linesPerPage,
                    std::optional<TextEncoding> encoding = std::nullopt);
    // The same for bytes already in memory.
    LoadResult loadBytes(QByteArray bytes, int linesPerPage,
                         std::optional<TextEncoding> encoding = std::nullopt);

    int pageCount() const { return int(m_pageStarts.size()) - 1; }
    bool isEmpty() const { return pageCount() == 0; }
    // The encoding the book is read in; TextCodec::displayName() names it.
    TextEncoding encoding() const { return m_encoding; }
    // The encoding of the bytes held: UTF-8 for a book in a wide encoding.
    TextEncoding bytesEncoding() const
    {
        return TextCodec::isWide(m_encoding) ? TextEncoding::Utf8 : m_encoding;
    }
    qsizetype byteSize() const { return m_bytes.size(); }

    // The text of page index (from 0): its lines in file order, each followed by CR LF (the
    // pieces of a cut line, as one line). An index out of range gives an empty text.
    QString pageText(int index) const;

    // The bytes held of page index, line ends as in the file.
    QByteArrayView pageBytes(int index) const;
    // The bytes of pages first to the end of the book.
    QByteArrayView bytesFrom(int first) const;
    // The index of the page holding the byte at offset within bytesFrom(0).
    int pageAt(qsizetype offset) const;
    // Where the line-th line shown on page begins within bytesFrom(0): a line of the file, or a
    // piece of a line cut for paging. Past the page's last line, where the next page begins.
    qsizetype lineOffset(int page, int line) const;
    // Where page begins within bytesFrom(0); the text's end for the page past the last.
    qsizetype pageOffset(int page) const
    {
        return m_pageStarts[size_t(std::clamp(page, 0, pageCount()))] - m_pageStarts.front();
    }

    // Pages of another cut in place of those of LinesPerPage lines: where each begins, in order
    // from 0, as pageOffset gives them. The cut of LinesPerPage lines is kept for fixedPageAt and
    // fixedLineAt, and back with useFixedPages.
    void usePages(const std::vector<qsizetype> &starts);
    void useFixedPages();
    bool fixedPages() const { return m_fixedStarts.empty(); }
    // The page of LinesPerPage lines that holds offset, and the line (from 0, a piece of a line
    // cut for paging counting as one) that holds it.
    int fixedPageAt(qsizetype offset) const;
    qint64 fixedLineAt(qsizetype offset, int linesPerPage) const;
    // Where a line counted as fixedLineAt counts lines begins.
    qsizetype fixedLineOffset(qint64 line, int linesPerPage) const;

    // The bytes held, shared, and where the text begins in them (past a byte-order mark).
    const QByteArray &heldBytes() const { return m_bytes; }
    qsizetype textStart() const { return m_pageStarts.front(); }

private:
    LoadResult adopt(QByteArray held, TextEncoding encoding, qsizetype textStart, int linesPerPage);
    LoadResult paginate(int linesPerPage);
    const std::vector<qsizetype> &fixedStarts() const
    {
        return m_fixedStarts.empty() ? m_pageStarts : m_fixedStarts;
    }
    // Where the line-th line of page begins in the cut of starts, or where stopAt is passed.
    qsizetype walkLines(const std::vector<qsizetype> &starts, int page, int line, qsizetype stopAt,
                        int *walked) const;

    QByteArray m_bytes;
    LineEnds::LongLines m_cut {};
    TextEncoding m_encoding = TextEncoding::Windows1252;
    qsizetype m_textStart = 0; // past a byte-order mark
    std::vector<qsizetype> m_pageStarts {0}; // page i is [m_pageStarts[i], m_pageStarts[i + 1])
    std::vector<qsizetype> m_fixedStarts; // those of LinesPerPage lines while another cut is used
};

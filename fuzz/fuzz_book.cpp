// Any file may be opened as a book: cutting it into pages, decoding a page and searching it
// must hold for every byte sequence.
#include "book/Book.h"
#include "book/BookSearch.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const int linesPerPage = int(data[0] % 8) - 1; // -1 .. 6, a page size below 1 included
    QByteArray bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size) - 1);
    // One input in sixteen is repeated past the length at which a line is cut into pieces for
    // paging; more would slow the search for everything else.
    if (data[0] >= 0xF0 && !bytes.isEmpty())
        bytes = bytes.repeated(int(Book::LongLineLimit / bytes.size()) + 2);

    Book book;
    if (book.loadBytes(bytes, linesPerPage).status != Book::Status::Loaded)
        return 0;
    qsizetype total = 0;
    for (int page = 0; page < book.pageCount(); ++page) {
        const QString text = book.pageText(page);
        if (!text.endsWith(QStringLiteral("\r\n")))
            std::abort();
        // A page boundary never splits a CR LF, nor a character of a UTF-8 book.
        const QByteArrayView pageBytes = book.pageBytes(page);
        if (page > 0 && pageBytes.startsWith('\n') && book.pageBytes(page - 1).endsWith('\r'))
            std::abort();
        if (book.encoding() == TextEncoding::Utf8
            && TextCodec::decode(pageBytes, TextEncoding::Utf8).toUtf8() != pageBytes)
            std::abort();
        total += pageBytes.size();
    }
    // A book in a wide encoding is held in UTF-8; any other keeps every byte but the mark of a
    // UTF-8 book (before text that is no UTF-8, the mark is text too).
    const bool dropsMark =
        book.encoding() == TextEncoding::Utf8 && bytes.startsWith("\xEF\xBB\xBF");
    if (book.pageCount() > 0 && !TextCodec::isWide(book.encoding())
        && total + (dropsMark ? 3 : 0) != bytes.size())
        std::abort();

    const QString needle = QString::fromLatin1(bytes.left(3));
    if (const auto match = BookSearch::find(book, needle, 0, 0)) {
        if (match->page < 0 || match->page >= book.pageCount())
            std::abort();
    }

    // Read in a code page of longer characters, broken ones included, every match Find All
    // gives lies on a page, within its line; the needle is the book's first characters.
    static const TextEncoding longer[] = {TextEncoding::Gb18030, TextEncoding::Big5,
                                          TextEncoding::ShiftJis, TextEncoding::EucJp};
    const TextEncoding encoding = longer[data[0] % 4];
    if (book.loadBytes(bytes, linesPerPage, encoding).status != Book::Status::Loaded)
        return 0;
    const QString start = TextCodec::decode(bytes.left(4), encoding).left(2);
    const BookSearch::Options options {bool(data[0] & 0x10), bool(data[0] & 0x20)};
    for (const qsizetype offset : BookSearch::findAll(book, start, options, 64)) {
        const BookSearch::Place place = BookSearch::placeOf(book, offset, start);
        if (place.page < 0 || place.position < 0 || place.lineStart < 0
            || place.lineStart > place.line.size())
            std::abort();
    }
    if (const auto match = BookSearch::findBefore(book, start, book.pageCount() - 1, -1, options)) {
        if (match->page < 0 || match->page >= book.pageCount())
            std::abort();
    }
    return 0;
}

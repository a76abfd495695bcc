#pragma once

#include "book/TextCodec.h"
#include "book/TextToUtf8.h"
#include "texttools/SourceBlocks.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// The indentation that starts every line of a page's paragraph: five non-breaking spaces.
inline constexpr char kLineIndentation[] = "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;";

// Builds the HTML page of one text file from its bytes and its base name, one line item at a
// time, so that a caller can show progress and stop between items. The page is in the source's
// encoding when that is UTF-8 or Windows-1252 (plain ASCII counts as Windows-1252), else in UTF-8,
// and declares it. The text and the name are copied as they are (as converted to UTF-8): nothing
// is escaped, so markup in them reaches the page as markup; only characters of the name the
// encoding cannot hold become numeric character references.
//
// Line items: CR LF, a lone CR and a lone LF each end one; empty lines are dropped; the text
// after the last line end (the tail) is always an item, even when empty.
//
// The source is read a block at a time and never held whole: read through once to tell its
// encoding as a book's is told and to count its line ends (a source converted to UTF-8 is
// converted once more to count them), then again as the page is built, which goes out in pieces
// of about PieceSize. Where the pieces go is the caller's.
class HtmlPage
{
public:
    // Takes a piece of the page; false when it cannot.
    using Sink = std::function<bool(QByteArrayView piece)>;
    static constexpr qsizetype PieceSize = 1 << 20;

    explicit HtmlPage(qsizetype blockSize = SourceBlocks::DefaultBlockSize);

    // Reads the source through and starts the page. False when the source cannot be read; error()
    // then says why.
    bool open(const QString &sourcePath, const QString &baseName);
    // The same for a text held in memory, which is read in blocks all the same.
    bool openText(QByteArray text, const QString &baseName);

    // The number of line ends plus one: the passes the page takes, its progress maximum.
    qsizetype itemCount() const { return m_itemCount; }
    bool atEnd() const { return m_atEnd; }
    // One pass: the next line item, or the tail and the page's closing lines. What is built goes
    // to sink once it makes a piece, and the rest with the closing lines. False when the source
    // cannot be read (error() says why) or sink fails.
    bool addNextItem(const Sink &sink);
    TextEncoding encoding() const { return m_encoding; }
    const QString &error() const { return m_source.error(); }

private:
    bool start(const QString &baseName);
    bool countConvertedLineEnds();
    bool restart();
    bool nextText();
    void put(const char *bytes, qsizetype n);
    bool write(const Sink &sink);

    SourceBlocks m_source;
    TextEncoding m_encoding = TextEncoding::Windows1252;
    TextEncoding m_sourceEncoding = TextEncoding::Windows1252;
    qsizetype m_mark = 0; // the byte-order mark to drop
    qsizetype m_markLeft = 0; // of it, what the blocks read so far have not held
    std::optional<TextToUtf8> m_converter; // for a source in neither encoding of a page
    QByteArray m_converted;
    QByteArrayView m_text; // the block of text at hand, in the page's encoding
    qsizetype m_pos = 0;
    bool m_afterCr = false; // the block before ended in a CR that ended an item
    bool m_lineHasText = false; // the item at hand has text in the blocks before
    QByteArray m_page; // its room: what is built of the page is its first m_built bytes
    qsizetype m_built = 0;
    qsizetype m_itemCount = 1;
    bool m_atEnd = false;
};

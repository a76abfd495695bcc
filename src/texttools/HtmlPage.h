#pragma once

#include "book/TextCodec.h"

#include <QByteArray>
#include <QString>

// The indentation that starts every line of a page's paragraph: five non-breaking spaces.
inline constexpr char kLineIndentation[] = "&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;";

// Builds the HTML page of one text file from its bytes and its base name, one line item at a
// time, so that a caller can show progress and stop between items. The page is in the source's
// encoding when that is UTF-8 or Windows-1252 (plain ASCII counts as Windows-1252), else in UTF-8,
// and declares it. The text and the name are copied as they are (as converted to UTF-8): nothing
// is escaped, so markup in them reaches the page as markup; only characters of the name the
// encoding cannot hold become numeric character references. Reading the source and writing the
// page are the caller's.
//
// Line items: CR LF, a lone CR and a lone LF each end one; empty lines are dropped; the text
// after the last line end (the tail) is always an item, even when empty.
class HtmlPage
{
public:
    HtmlPage(QByteArray source, const QString &baseName);

    // The number of line ends plus one: the passes the page takes, its progress maximum.
    qsizetype itemCount() const { return m_itemCount; }
    bool atEnd() const { return m_atEnd; }
    // One pass: the next line item, or the tail and the page's closing lines.
    void addNextItem();
    // The page as built so far, from the last dropBytes() on; the whole page, ending in CR LF,
    // once atEnd() when nothing was dropped.
    const QByteArray &bytes() const { return m_page; }
    // Whether the bytes built so far are worth writing out: a piece of PieceSize or more, or the
    // last of the page. A caller that writes each piece and then drops it holds only a little of
    // the page at a time.
    static constexpr qsizetype PieceSize = 1 << 20;
    bool pieceReady() const { return m_atEnd || m_page.size() >= PieceSize; }
    // Forgets the bytes built so far, keeping their room.
    void dropBytes() { m_page.truncate(0); }
    TextEncoding encoding() const { return m_encoding; }

private:
    // Room for the whole page: what is built so far, the text, its line breaks and the tail.
    qsizetype wholePageRoom() const
    {
        return m_page.size() + m_source.size() + m_itemCount * 40 + 512;
    }

    QByteArray m_source;
    QByteArray m_page;
    TextEncoding m_encoding = TextEncoding::Windows1252;
    qsizetype m_pos = 0;
    qsizetype m_itemCount = 1;
    bool m_atEnd = false;
};

#include "texttools/HtmlPage.h"

#include "book/LineEnds.h"

#include <QList>

#include <cstring>

namespace {

// What ends a line of the page's paragraph and opens the next.
constexpr QByteArrayView kLineBreak("\r\n<br>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;");

// Counts line ends a block at a time: a CR that ends one block and an LF that starts the next
// are one line end.
struct LineEndCounter
{
    qsizetype count = 0;
    bool crBefore = false;

    void add(QByteArrayView block)
    {
        if (block.isEmpty())
            return;
        count += LineEnds::countLineEnds(block.cbegin(), block.cend());
        if (crBefore && block.front() == '\n')
            --count;
        crBefore = block.back() == '\r';
    }
};

// The base name as the page's encoding holds it, characters the encoding has no byte for as
// numeric character references.
QByteArray encodeName(const QString &name, TextEncoding encoding)
{
    QByteArray bytes;
    for (const uint ch : name.toUcs4()) {
        if (TextCodec::canEncode(ch, encoding))
            bytes += TextCodec::encode(
                QString::fromUcs4(reinterpret_cast<const char32_t *>(&ch), 1), encoding);
        else
            bytes += "&#" + QByteArray::number(quint32(ch)) + ';';
    }
    return bytes;
}

} // namespace

// What QByteArray::append() does, less its bookkeeping: the room is the buffer's size and what
// is built is counted apart. This runs twice for every line of the text.
inline void HtmlPage::put(const char *bytes, qsizetype n)
{
    if (Q_UNLIKELY(m_page.size() - m_built < n))
        m_page.resize(qMax(2 * m_page.size(), m_built + n));
    std::memcpy(m_page.data() + m_built, bytes, size_t(n));
    m_built += n;
}

HtmlPage::HtmlPage(qsizetype blockSize) : m_source(blockSize) { }

bool HtmlPage::open(const QString &sourcePath, const QString &baseName)
{
    return m_source.open(sourcePath) && start(baseName);
}

bool HtmlPage::openText(QByteArray text, const QString &baseName)
{
    m_source.setText(std::move(text));
    return start(baseName);
}

bool HtmlPage::start(const QString &baseName)
{
    EncodingDetector detector;
    LineEndCounter lineEnds;
    QByteArrayView block;
    do {
        if (!m_source.next(&block))
            return false;
        detector.add(block);
        lineEnds.add(block);
    } while (!block.isEmpty());
    m_itemCount = lineEnds.count + 1;

    // Plain ASCII reads the same in both encodings of a page; such a page keeps the single-byte
    // charset the page layout has always declared. A byte-order mark asks for UTF-8 explicitly.
    // A source in any other encoding is turned into UTF-8 first: its line ends and markup
    // characters are then the bytes they are in the other two.
    m_sourceEncoding = detector.encoding(&m_mark);
    if (detector.isAscii() && !TextCodec::isWide(m_sourceEncoding)) {
        m_sourceEncoding = TextEncoding::Windows1252;
        m_mark = 0;
    }
    const bool kept =
        m_sourceEncoding == TextEncoding::Utf8 || m_sourceEncoding == TextEncoding::Windows1252;
    m_encoding = kept ? m_sourceEncoding : TextEncoding::Utf8;
    if (!kept && !countConvertedLineEnds())
        return false;
    if (!restart())
        return false;

    const QByteArray name = encodeName(baseName, m_encoding);
    const QByteArray charset = TextCodec::charsetName(m_encoding).toLatin1();
    QByteArray head = "<html>\r\n"
                      "<head>\r\n"
                      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset="
        + charset + "\">\r\n";
    head += "<title>" + name + "</title>\r\n";
    head += "</head>\r\n"
            "<body leftmargin=64 style=\"border-left: medium solid rgb(111,0,221); "
            "border-top: medium solid rgb(84,0,168)\">\r\n";
    head += "<br><font color=\"navy\"><H2>" + name + "</H2></font>\r\n";
    head += "<p align=\"justify\">";
    head += kLineIndentation;
    // Room for a piece, which the page is written out in, a block of text beyond it, and no more
    // than the page needs.
    const qsizetype wholePage = head.size() + m_source.size() * 3 + m_itemCount * 40 + 512;
    m_page = QByteArray(qMin(wholePage, PieceSize + 3 * m_source.blockSize() + 64 * 1024),
                        Qt::Uninitialized);
    m_built = 0;
    put(head.constData(), head.size());
    return true;
}

// The items of a converted text are those of its UTF-8.
bool HtmlPage::countConvertedLineEnds()
{
    if (!restart())
        return false;
    LineEndCounter lineEnds;
    do {
        if (!nextText())
            return false;
        lineEnds.add(m_text);
    } while (!m_text.isEmpty());
    m_itemCount = lineEnds.count + 1;
    return true;
}

bool HtmlPage::restart()
{
    m_markLeft = m_mark;
    m_text = {};
    m_pos = 0;
    if (m_encoding != m_sourceEncoding)
        m_converter.emplace(m_sourceEncoding);
    return m_source.rewind();
}

// The next block of text in the page's encoding, the byte-order mark left out; empty at the end.
bool HtmlPage::nextText()
{
    m_pos = 0;
    for (;;) {
        QByteArrayView block;
        if (!m_source.next(&block))
            return false;
        const bool last = block.isEmpty();
        const qsizetype mark = qMin(m_markLeft, block.size());
        m_markLeft -= mark;
        block = block.sliced(mark);
        if (m_converter) {
            m_converted.truncate(0);
            m_converter->append(block, m_converted, last);
            block = m_converted;
        }
        // A block may hold no whole character yet, or only the mark.
        if (!block.isEmpty() || last) {
            m_text = block;
            return true;
        }
    }
}

bool HtmlPage::addNextItem(const Sink &sink)
{
    if (m_atEnd)
        return true;
    for (;;) {
        if (m_pos == m_text.size()) {
            if (!nextText())
                return false;
            if (m_text.isEmpty()) {
                constexpr QByteArrayView tail("</p>\r\n"
                                              "<hr color=rgb(84,0,168)>\r\n"
                                              "<br><br><br><br>\r\n"
                                              "</body>\r\n"
                                              "</html>\r\n");
                put(tail.data(), tail.size());
                m_atEnd = true;
                return write(sink);
            }
            // The LF of a CR LF that the block before cut in two.
            if (m_afterCr && m_text.front() == '\n')
                ++m_pos;
            m_afterCr = false;
            continue;
        }
        const char *begin = m_text.data() + m_pos;
        const char *end = m_text.data() + m_text.size();
        const char *p = LineEnds::nextLineEnd(begin, end);
        put(begin, p - begin);
        m_lineHasText = m_lineHasText || p != begin;
        if (p == end) {
            // The line goes on in the next block; what is built of it so far may go out.
            m_pos = m_text.size();
            if (m_built >= PieceSize && !write(sink))
                return false;
            continue;
        }
        // An empty line leaves no trace; any other ends its line and opens the next.
        if (m_lineHasText)
            put(kLineBreak.data(), kLineBreak.size());
        m_lineHasText = false;
        m_pos = p - m_text.data() + 1;
        if (*p == '\r' && m_pos == m_text.size())
            m_afterCr = true;
        else if (*p == '\r' && m_text[m_pos] == '\n')
            ++m_pos;
        return m_built < PieceSize || write(sink);
    }
}

bool HtmlPage::write(const Sink &sink)
{
    const bool written = sink(QByteArrayView(m_page.constData(), m_built));
    m_built = 0;
    return written;
}

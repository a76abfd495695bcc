#include "texttools/HtmlPage.h"

#include "book/LineEnds.h"
#include "book/WideToUtf8.h"

#include <QList>

#include <cstring>

namespace {

// What ends a line of the page's paragraph and opens the next.
constexpr QByteArrayView kLineBreak("\r\n<br>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;");

// What QByteArray::append() does, less its general insertion: within the reserved room a copy is
// all it takes, and this runs for every line of the text.
void appendTo(QByteArray &out, const char *bytes, qsizetype n)
{
    const qsizetype at = out.size();
    out.resize(at + n);
    std::memcpy(out.data() + at, bytes, size_t(n));
}

// Whether every byte is below 0x80; stops at the first that is not, most often on the first line.
bool isAscii(const QByteArray &text)
{
    constexpr quint64 HighBits = 0x8080808080808080ULL;
    const char *p = text.constData();
    const char *end = p + text.size();
    // 32 bytes a round, eight at a time; the compiler widens this further.
    for (; end - p >= 32; p += 32) {
        quint64 words[4];
        std::memcpy(words, p, sizeof words);
        if ((words[0] | words[1] | words[2] | words[3]) & HighBits)
            return false;
    }
    for (; p != end; ++p) {
        if (static_cast<unsigned char>(*p) >= 0x80)
            return false;
    }
    return true;
}

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

HtmlPage::HtmlPage(QByteArray source, const QString &baseName) : m_source(std::move(source))
{
    // Plain ASCII reads the same in both encodings of a page; such a page keeps the single-byte
    // charset the page layout has always declared. A byte-order mark asks for UTF-8 explicitly.
    // A source in any other encoding is turned into UTF-8 first: its line ends and markup
    // characters are then the bytes they are in the other two.
    qsizetype bom = 0;
    const TextEncoding found = !TextCodec::detectWide(m_source) && isAscii(m_source)
        ? TextEncoding::Windows1252
        : TextCodec::detect(m_source, &bom);
    if (found == TextEncoding::Utf8 || found == TextEncoding::Windows1252) {
        m_encoding = found;
        m_pos = bom;
    } else {
        const QByteArrayView text = QByteArrayView(m_source).sliced(bom);
        QByteArray utf8;
        if (TextCodec::isWide(found))
            WideToUtf8(found).append(text, utf8, true);
        else
            utf8 = TextCodec::decode(text, found).toUtf8();
        m_source = std::move(utf8);
        m_encoding = TextEncoding::Utf8;
    }
    m_itemCount = LineEnds::countLineEnds(m_source.constBegin(), m_source.constEnd()) + 1;

    const QByteArray name = encodeName(baseName, m_encoding);
    const QByteArray charset = TextCodec::charsetName(m_encoding).toLatin1();
    m_page += "<html>\r\n"
              "<head>\r\n"
              "<meta http-equiv=\"Content-Type\" content=\"text/html; charset="
        + charset + "\">\r\n";
    m_page += "<title>" + name + "</title>\r\n";
    m_page += "</head>\r\n"
              "<body leftmargin=64 style=\"border-left: medium solid rgb(111,0,221); "
              "border-top: medium solid rgb(84,0,168)\">\r\n";
    m_page += "<br><font color=\"navy\"><H2>" + name + "</H2></font>\r\n";
    m_page += "<p align=\"justify\">";
    m_page += kLineIndentation;
    // Room for a piece, which the page is written out in, and no more than the page needs.
    m_page.reserve(qMin(wholePageRoom(), PieceSize + 64 * 1024));
}

void HtmlPage::addNextItem()
{
    if (m_atEnd)
        return;
    const char *begin = m_source.constData() + m_pos;
    const char *end = m_source.constData() + m_source.size();
    const char *p = LineEnds::nextLineEnd(begin, end);
    appendTo(m_page, begin, p - begin);
    if (p == end) {
        m_page += "</p>\r\n"
                  "<hr color=rgb(84,0,168)>\r\n"
                  "<br><br><br><br>\r\n"
                  "</body>\r\n"
                  "</html>\r\n";
        m_pos = m_source.size();
        m_atEnd = true;
        return;
    }
    // An empty line leaves no trace; any other ends its line and opens the next.
    if (p != begin)
        appendTo(m_page, kLineBreak.data(), kLineBreak.size());
    const bool crLf = *p == '\r' && p + 1 != end && p[1] == '\n';
    m_pos = (p - m_source.constData()) + (crLf ? 2 : 1);
}

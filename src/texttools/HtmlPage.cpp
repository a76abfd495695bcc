#include "texttools/HtmlPage.h"

#include <QList>

namespace {

constexpr char kLineEnd[] = "\r\n";

// The bytes a line item stops at or gets replaced: line ends and the three markup characters.
// They are ASCII, so neither encoding puts them inside a longer character.
struct SpecialBytes
{
    bool table[256] = {};
    constexpr SpecialBytes()
    {
        table[static_cast<unsigned char>('\r')] = true;
        table[static_cast<unsigned char>('\n')] = true;
        table[static_cast<unsigned char>('&')] = true;
        table[static_cast<unsigned char>('<')] = true;
        table[static_cast<unsigned char>('>')] = true;
    }
    bool operator()(char c) const { return table[static_cast<unsigned char>(c)]; }
};
constexpr SpecialBytes isSpecial;

const char *entityOf(char c)
{
    switch (c) {
    case '&':
        return "&amp;";
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    default:
        return nullptr;
    }
}

// The number of line ends; *ascii tells whether every byte is below 0x80.
qsizetype countLineEnds(const QByteArray &text, bool *ascii)
{
    qsizetype count = 0;
    unsigned char all = 0;
    const char *p = text.constData();
    const char *end = p + text.size();
    for (; p != end; ++p) {
        all |= static_cast<unsigned char>(*p);
        if (*p == '\n')
            ++count;
        else if (*p == '\r' && (p + 1 == end || p[1] != '\n'))
            ++count;
    }
    *ascii = all < 0x80;
    return count;
}

// The base name as the page's encoding holds it: markup characters as entities, characters the
// encoding has no byte for as numeric character references.
QByteArray encodeName(const QString &name, TextEncoding encoding)
{
    QByteArray bytes;
    for (const uint ch : name.toUcs4()) {
        if (ch < 0x80 && entityOf(char(ch)))
            bytes += entityOf(char(ch));
        else if (TextCodec::canEncode(ch, encoding))
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
    qsizetype bom = 0;
    m_encoding = TextCodec::detect(m_source, &bom);
    m_pos = bom;
    bool ascii = false;
    m_itemCount = countLineEnds(m_source, &ascii) + 1;
    // Plain ASCII reads the same in both encodings; such a page keeps the single-byte charset
    // the page layout has always declared. A byte-order mark asks for UTF-8 explicitly.
    if (ascii && bom == 0)
        m_encoding = TextEncoding::Windows1252;

    const QByteArray name = encodeName(baseName, m_encoding);
    const QByteArray charset = TextCodec::charsetName(m_encoding).toLatin1();
    // The text, its entities and per item a break, an indentation and a line end.
    m_page.reserve(m_source.size() + m_itemCount * 40 + 2 * name.size() + 512);
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
}

void HtmlPage::addNextItem()
{
    if (m_atEnd)
        return;
    const char *begin = m_source.constData() + m_pos;
    const char *end = m_source.constData() + m_source.size();
    const char *p = begin;
    const char *chunk = begin;
    for (; p != end; ++p) {
        if (!isSpecial(*p))
            continue;
        if (*p == '\r' || *p == '\n')
            break;
        m_page.append(chunk, p - chunk);
        m_page += entityOf(*p);
        chunk = p + 1;
    }
    m_page.append(chunk, p - chunk);
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
    if (p != begin) {
        m_page += kLineEnd;
        m_page += "<br>";
        m_page += kLineIndentation;
    }
    const bool crLf = *p == '\r' && p + 1 != end && p[1] == '\n';
    m_pos = (p - m_source.constData()) + (crLf ? 2 : 1);
}

QByteArray HtmlPage::build(QByteArray source, const QString &baseName)
{
    HtmlPage page(std::move(source), baseName);
    while (!page.atEnd())
        page.addNextItem();
    return page.bytes();
}

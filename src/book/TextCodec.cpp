#include "book/TextCodec.h"

#include <QList>
#include <QStringDecoder>

#include <array>

namespace {

// Windows-1252 0x80..0x9F; the undefined 0x81, 0x8D, 0x8F, 0x90, 0x9D keep their own value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t cp1252ToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return kHighControls[byte - 0x80];
    return byte;
}

// The byte for ch in Windows-1252, or -1 when it has none.
int unicodeToCp1252(char32_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return int(ch);
    for (int i = 0; i < int(kHighControls.size()); ++i) {
        if (kHighControls[i] == ch)
            return 0x80 + i;
    }
    return -1;
}

} // namespace

namespace TextCodec {

TextEncoding detect(QByteArrayView bytes, qsizetype *bomLength)
{
    qsizetype bom = 0;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bom = 3;
    if (bomLength)
        *bomLength = bom;
    const QByteArrayView body = bytes.sliced(bom);
    if (bom == 0 && body.isEmpty())
        return TextEncoding::Windows1252;
    return body.isValidUtf8() ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

QString decode(QByteArrayView bytes, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8) {
        // A byte-order mark is dropped by the caller where it starts a file; anywhere else, as
        // at the start of a page, it is a character of the text.
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        return decoder.decode(bytes);
    }
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (const char c : bytes)
        *out++ = cp1252ToUnicode(static_cast<unsigned char>(c));
    return text;
}

bool canEncode(char32_t ch, TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 || unicodeToCp1252(ch) >= 0;
}

QByteArray encode(QStringView text, TextEncoding encoding)
{
    if (encoding == TextEncoding::Utf8)
        return text.toUtf8();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const uint ch : text.toUcs4()) {
        const int byte = unicodeToCp1252(ch);
        bytes.append(byte >= 0 ? char(byte) : '?');
    }
    return bytes;
}

QString charsetName(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 ? QStringLiteral("utf-8")
                                          : QStringLiteral("windows-1252");
}

} // namespace TextCodec

#include "book/IcuCodec.h"

#include <QChar>

#include <unicode/ucnv.h>

#include <array>

namespace IcuCodec {

void CloseConverter::operator()(UConverter *converter) const
{
    ucnv_close(converter);
}

Converter open(const char *name)
{
    UErrorCode error = U_ZERO_ERROR;
    Converter converter(ucnv_open(name, &error));
    if (U_FAILURE(error))
        return nullptr;
    return converter;
}

void decode(UConverter *converter, QByteArrayView bytes, QString &out)
{
    ucnv_resetToUnicode(converter);
    decodePiece(converter, bytes, out, true);
}

void decodePiece(UConverter *converter, QByteArrayView bytes, QString &out, bool last)
{
    const char *source = bytes.data();
    const char *sourceEnd = source + bytes.size();
    // No code page here gives more UTF-16 units than it took bytes, U+FFFD for a broken
    // sequence included; the room grows all the same should one do so.
    out.resize(qMax<qsizetype>(bytes.size(), 16));
    qsizetype produced = 0;
    for (;;) {
        auto *units = reinterpret_cast<UChar *>(out.data());
        UChar *target = units + produced;
        UErrorCode error = U_ZERO_ERROR;
        ucnv_toUnicode(converter, &target, units + out.size(), &source, sourceEnd, nullptr, last,
                       &error);
        produced = target - units;
        if (error != U_BUFFER_OVERFLOW_ERROR)
            break;
        out.resize(out.size() * 2);
    }
    out.truncate(produced);
}

char32_t decodeFirst(UConverter *converter, QByteArrayView bytes, int *taken)
{
    ucnv_resetToUnicode(converter);
    // Each byte makes at most one character here, of at most two units.
    std::array<UChar, 16> units;
    std::array<int32_t, 16> offsets;
    const char *source = bytes.data();
    UChar *target = units.data();
    UErrorCode error = U_ZERO_ERROR;
    ucnv_toUnicode(converter, &target, target + qMin<qsizetype>(units.size(), 2 * bytes.size()),
                   &source, source + bytes.size(), offsets.data(), true, &error);
    const qsizetype made = target - units.data();
    if (U_FAILURE(error) || made == 0) {
        *taken = 1;
        return 0xFFFD;
    }
    const int length =
        made > 1 && QChar::isHighSurrogate(units[0]) && QChar::isLowSurrogate(units[1]) ? 2 : 1;
    *taken = made > length ? int(offsets[size_t(length)]) : int(bytes.size());
    return length == 2 ? QChar::surrogateToUcs4(units[0], units[1]) : units[0];
}

QByteArray encode(const char *name, QStringView text)
{
    const Converter converter = open(name);
    if (!converter)
        return {};
    UErrorCode error = U_ZERO_ERROR;
    ucnv_setSubstChars(converter.get(), "?", 1, &error);
    QByteArray out(text.size() * ucnv_getMaxCharSize(converter.get()) + 16, Qt::Uninitialized);
    char *target = out.data();
    const auto *source = reinterpret_cast<const UChar *>(text.data());
    error = U_ZERO_ERROR;
    ucnv_fromUnicode(converter.get(), &target, out.data() + out.size(), &source,
                     source + text.size(), nullptr, true, &error);
    out.truncate(U_FAILURE(error) ? 0 : target - out.constData());
    return out;
}

std::optional<std::array<char16_t, 256>> byteTable(const char *name)
{
    const Converter converter = open(name);
    if (!converter || ucnv_getMaxCharSize(converter.get()) != 1)
        return std::nullopt;
    std::array<char16_t, 256> table {};
    QString text;
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        decode(converter.get(), QByteArrayView(&byte, 1), text);
        table[size_t(b)] = text.size() == 1 ? text.at(0).unicode() : u'\uFFFD';
    }
    return table;
}

std::optional<std::vector<char16_t>> pairTable(const char *name)
{
    const Converter converter = open(name);
    if (!converter || ucnv_getMaxCharSize(converter.get()) < 2)
        return std::nullopt;
    std::vector<char16_t> table(0x10000);
    // Each byte or pair is decoded on its own, as a page that ended with it would be: both bytes
    // make one character when the converter makes one unit of them, or two units of one
    // character; one for the lead byte and one for the byte after it make two.
    const auto decodeOne = [&](const char *bytes, int size, UChar *units) {
        ucnv_resetToUnicode(converter.get());
        UChar *target = units;
        UErrorCode error = U_ZERO_ERROR;
        ucnv_toUnicode(converter.get(), &target, units + 4, &bytes, bytes + size, nullptr, true,
                       &error);
        return U_FAILURE(error) ? 0 : int(target - units);
    };
    UChar units[4];
    for (int b = 0; b < 0x100; ++b) {
        const char byte = char(b);
        table[size_t(b)] = decodeOne(&byte, 1, units) == 1 ? units[0] : u'\uFFFD';
    }
    for (int lead = 0x80; lead < 0x100; ++lead) {
        for (int trail = 0; trail < 0x100; ++trail) {
            const char pair[2] = {char(lead), char(trail)};
            const int made = decodeOne(pair, 2, units);
            char16_t &entry = table[size_t(lead * 256 + trail)];
            if (made == 1)
                entry = units[0];
            else if (made == 2 && QChar::isHighSurrogate(units[0])
                     && QChar::isLowSurrogate(units[1]))
                entry = u'\uFFFD';
        }
    }
    return table;
}

} // namespace IcuCodec

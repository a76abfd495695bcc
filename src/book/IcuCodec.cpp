#include "book/IcuCodec.h"

#include <unicode/ucnv.h>

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

} // namespace IcuCodec

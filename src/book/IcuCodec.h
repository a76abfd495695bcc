#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <vector>

struct UConverter;

// The legacy code pages, decoded and encoded by ICU's converters. A converter is opened by its
// name (ICU knows the usual names and their aliases); bytes that make no character decode to
// U+FFFD (U+001A in some single-byte code pages), characters a code page lacks encode to '?'.
namespace IcuCodec {

struct CloseConverter
{
    void operator()(UConverter *converter) const;
};
using Converter = std::unique_ptr<UConverter, CloseConverter>;

// Null when ICU has no converter of that name.
Converter open(const char *name);

// Replaces out with the text of bytes, keeping out's room.
void decode(UConverter *converter, QByteArrayView bytes, QString &out);
// The same for one piece of a text after another: the converter keeps a character the piece
// breaks off and finishes it with the next piece; after the last, one left unfinished is broken.
// Every character is whole in out, a surrogate pair included.
void decodePiece(UConverter *converter, QByteArrayView bytes, QString &out, bool last);

// The first character the converter makes of bytes, read as the end of a text, and in *taken how
// many of the bytes make it; bytes holds one or more.
char32_t decodeFirst(UConverter *converter, QByteArrayView bytes, int *taken);

QByteArray encode(const char *name, QStringView text);

// The character of each byte when the code page is one of single bytes.
std::optional<std::array<char16_t, 256>> byteTable(const char *name);

// When the code page has characters of two bytes: what each byte makes alone, at the byte's index,
// and what each two bytes from a byte of 0x80 or more make as one character, at lead * 256 +
// trail; 0 where two bytes make no single character, U+FFFD where one is beyond the plane.
std::optional<std::vector<char16_t>> pairTable(const char *name);

} // namespace IcuCodec

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The two encodings a book or a tool's source file is read in: valid UTF-8 (a byte-order mark
// is dropped), anything else Windows-1252, one character a byte. The five bytes Windows-1252
// leaves undefined map to the C1 controls of the same value, so decoding then encoding gives
// back the same bytes.
enum class TextEncoding { Windows1252, Utf8 };

namespace TextCodec {

// The encoding of bytes; *bomLength receives the length of the byte-order mark that starts UTF-8
// bytes (0 or 3; always 0 for Windows-1252).
TextEncoding detect(QByteArrayView bytes, qsizetype *bomLength = nullptr);

QString decode(QByteArrayView bytes, TextEncoding encoding);

// True when the encoding can hold ch (UTF-8 holds every character).
bool canEncode(char32_t ch, TextEncoding encoding);

// Encodes text; a character the encoding cannot hold becomes '?'. Callers that must keep every
// character check canEncode first.
QByteArray encode(QStringView text, TextEncoding encoding);

// The charset name an HTML page in this encoding declares.
QString charsetName(TextEncoding encoding);

} // namespace TextCodec

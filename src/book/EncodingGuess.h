#pragma once

#include "book/TextCodec.h"

#include <QByteArrayView>

#include <optional>

// Guesses the encoding of a text that carries no byte-order mark: UTF-16 by the way its NUL
// bytes fall, a legacy code page by asking uchardet. TextCodec::detect decides when to ask.
namespace EncodingGuess {

// UTF-16 LE or BE, told by head, the first bytes of a text. The NUL bytes of UTF-16 text are the
// high bytes of its ASCII characters (spaces, digits, line ends), so they fall on one side of
// each pair of bytes, and only that side's reading gives line ends.
std::optional<TextEncoding> utf16(QByteArrayView head);

// The code page of a text that is not UTF-8: the one uchardet names, when the text shows it
// enough characters beyond ASCII to be sure and names one we decode that is not Western (the
// Windows code page of its script for an ISO-8859 one, when the text has bytes where ISO-8859
// has controls); else Windows-1252.
TextEncoding codePage(QByteArrayView bytes);

} // namespace EncodingGuess

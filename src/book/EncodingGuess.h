#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

enum class TextEncoding;

// Guesses the encoding of a text that carries no byte-order mark: UTF-16 by the way its NUL
// bytes fall, a legacy code page by asking uchardet. TextCodec::detect decides when to ask.
namespace EncodingGuess {

// UTF-16 LE or BE, told by head, the first bytes of a text. The NUL bytes of UTF-16 text are the
// high bytes of its ASCII characters (spaces, digits, line ends), so they fall on one side of
// each pair of bytes, and only that side's reading gives line ends.
std::optional<TextEncoding> utf16(QByteArrayView head);

// What the detector is shown of a text: the lines that hold bytes beyond ASCII, from the start,
// until there are enough of them. Fed the text a piece at a time, wherever the pieces are cut, it
// takes the same lines as from the whole text at once; it keeps at most a line's worth of what
// comes between them.
class Sample
{
public:
    // The next piece of the text.
    void add(QByteArrayView piece);
    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
    QByteArray m_before; // the end of what came since the last line taken, up to a line's worth
    qsizetype m_following = -1; // bytes taken of a line from its first byte beyond ASCII on
};

// The code page of a text that is not UTF-8: the one uchardet names, when the text shows it
// enough characters beyond ASCII to be sure and names one we decode that is not Western (the
// Windows code page of its script for an ISO-8859 one, when the text has bytes where ISO-8859
// has controls); else Windows-1252.
TextEncoding codePage(QByteArrayView bytes);
// The same, told from the text's sample.
TextEncoding codePage(const Sample &sample);

} // namespace EncodingGuess

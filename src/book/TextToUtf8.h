#pragma once

#include "book/TextCodec.h"
#include "book/WideToUtf8.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <memory>
#include <optional>

// Turns a text in any encoding but UTF-8 into UTF-8 a piece at a time, so that a text of any size
// is converted holding only a piece of it: UTF-16 and UTF-32 through WideToUtf8, a code page of
// single bytes by a table of each byte's UTF-8, the others through a TextDecoder that keeps its
// place between pieces. The UTF-8 comes out the same wherever the pieces are cut. Reading the
// pieces is the caller's.
class TextToUtf8
{
public:
    explicit TextToUtf8(TextEncoding from);

    // Appends the UTF-8 of the next piece of the text to out. A character the piece breaks off
    // waits for the next piece; with last, nothing waits, and a character left unfinished
    // becomes U+FFFD.
    void append(QByteArrayView piece, QByteArray &out, bool last);

private:
    // A byte's character in UTF-8: its bytes, then their number in the last of the four.
    using ByteUtf8 = std::array<char, 4>;

    std::optional<WideToUtf8> m_wide;
    QByteArray m_kept; // of a wide text, the bytes of a character the last piece broke off
    std::unique_ptr<std::array<ByteUtf8, 256>> m_bytes;
    std::unique_ptr<TextDecoder> m_decoder;
    QString m_text;
};

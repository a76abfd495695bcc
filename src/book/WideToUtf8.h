#pragma once

#include "book/TextCodec.h"

#include <QByteArray>
#include <QByteArrayView>

// Turns UTF-16 or UTF-32 into UTF-8 piece by piece, so that a book in a wide encoding is held in
// UTF-8 without a second whole copy of it. A unit or surrogate that makes no character becomes
// U+FFFD. Opening such a book is mostly this conversion, so UTF-16 below U+0800 (the alphabets
// from Latin to Arabic) goes eight units at a time where the processor can.
class WideToUtf8
{
public:
    explicit WideToUtf8(TextEncoding from);

    // Appends the UTF-8 of the whole characters at the start of bytes to out and returns how many
    // bytes that took; the rest (part of a unit, or a high surrogate waiting for its pair) goes
    // in front of the next piece. When last, takes every byte. out grows as needed; a caller
    // that knows the whole size reserves maxUtf8Size() of it.
    qsizetype append(QByteArrayView bytes, QByteArray &out, bool last);

    // The most UTF-8 bytes the conversion of size bytes can take, room to work in included.
    static qsizetype maxUtf8Size(qsizetype size) { return size / 2 * 3 + 32; }

private:
    int m_unitSize;
    bool m_bigEndian;
};

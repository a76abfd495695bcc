#include "book/TextToUtf8.h"

TextToUtf8::TextToUtf8(TextEncoding from)
{
    if (TextCodec::isWide(from))
        m_wide.emplace(from);
    else
        m_decoder = std::make_unique<TextDecoder>(from);
}

void TextToUtf8::append(QByteArrayView piece, QByteArray &out, bool last)
{
    if (!m_decoder) {
        // Rare: pieces of even size cut a UTF-16 text between its units, where only a
        // surrogate pair may wait.
        QByteArray joined;
        if (!m_kept.isEmpty()) {
            joined = m_kept;
            joined.append(piece);
            piece = joined;
        }
        const qsizetype taken = m_wide->append(piece, out, last);
        m_kept = piece.sliced(taken).toByteArray();
        return;
    }
    m_decoder->decodePiece(piece, m_text, last);
    out += m_text.toUtf8();
}

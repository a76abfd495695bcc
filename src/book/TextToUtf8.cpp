#include "book/TextToUtf8.h"

#include <cstring>

TextToUtf8::TextToUtf8(TextEncoding from)
{
    if (TextCodec::isWide(from)) {
        m_wide.emplace(from);
    } else if (const std::array<char16_t, 256> *table = TextCodec::byteTable(from)) {
        m_bytes = std::make_unique<std::array<ByteUtf8, 256>>();
        for (size_t b = 0; b < 256; ++b) {
            const QByteArray utf8 = QString(QChar((*table)[b])).toUtf8();
            ByteUtf8 &entry = (*m_bytes)[b];
            std::memcpy(entry.data(), utf8.constData(), size_t(utf8.size()));
            entry[3] = char(utf8.size());
        }
    } else {
        m_decoder = std::make_unique<TextDecoder>(from);
    }
}

void TextToUtf8::append(QByteArrayView piece, QByteArray &out, bool last)
{
    if (m_wide) {
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
    } else if (m_bytes) {
        // Four bytes are copied for each, of which the next overwrites those it does not take.
        const qsizetype at = out.size();
        out.resize(at + 3 * piece.size() + 1);
        char *to = out.data() + at;
        for (const char c : piece) {
            const ByteUtf8 &entry = (*m_bytes)[static_cast<unsigned char>(c)];
            std::memcpy(to, entry.data(), 4);
            to += entry[3];
        }
        out.truncate(to - out.constData());
    } else {
        m_decoder->decodePiece(piece, m_text, last);
        out += m_text.toUtf8();
    }
}

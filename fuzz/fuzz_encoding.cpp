// Any bytes may be a book or a tool's source in any encoding: telling the encoding, decoding in
// it or in one the reader chose, and turning wide text into UTF-8 piece by piece must hold for
// every byte sequence; told or turned into UTF-8 a piece at a time, they give what they give
// whole.
#include "book/Book.h"
#include "book/TextCodec.h"
#include "book/TextToUtf8.h"
#include "book/WideToUtf8.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <cstdint>
#include <cstdlib>

namespace {

// The UTF-8 of bytes in a wide encoding, converted in pieces of the given size.
QByteArray inPieces(const QByteArray &bytes, TextEncoding encoding, qsizetype pieceSize)
{
    WideToUtf8 converter(encoding);
    QByteArray utf8;
    QByteArray rest;
    for (qsizetype at = 0; at < bytes.size();) {
        rest += bytes.mid(at, pieceSize);
        at += pieceSize;
        rest.remove(0, converter.append(rest, utf8, at >= bytes.size()));
    }
    return utf8;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses an encoding of the menu and the size of the pieces.
    const std::vector<TextCodec::EncodingName> &encodings = TextCodec::encodings();
    const TextEncoding chosen = encodings[data[0] % encodings.size()].encoding;
    const qsizetype pieceSize = 1 + data[0] / encodings.size();
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size) - 1);

    qsizetype mark = -1;
    const TextEncoding found = TextCodec::detect(bytes, &mark);
    if (mark < 0 || mark > bytes.size())
        std::abort();
    TextCodec::decode(QByteArrayView(bytes).sliced(mark), found);
    TextCodec::decode(bytes, chosen);

    EncodingDetector detector;
    TextToUtf8 converter(chosen == TextEncoding::Utf8 ? TextEncoding::Windows1252 : chosen);
    QByteArray utf8;
    for (qsizetype at = 0; at < bytes.size(); at += pieceSize) {
        detector.add(QByteArrayView(bytes).sliced(at, qMin(pieceSize, bytes.size() - at)));
        converter.append(QByteArrayView(bytes).sliced(at, qMin(pieceSize, bytes.size() - at)), utf8,
                         false);
    }
    converter.append({}, utf8, true);
    qsizetype pieceMark = -1;
    if (detector.encoding(&pieceMark) != found || pieceMark != mark)
        std::abort();
    if (!TextCodec::isWide(chosen) && chosen != TextEncoding::Utf8
        && utf8 != TextCodec::decode(bytes, chosen).toUtf8())
        std::abort();

    for (const std::optional<TextEncoding> encoding :
         {std::optional(chosen), std::optional(found)}) {
        Book book;
        if (book.loadBytes(bytes, 2, encoding).status != Book::Status::Loaded)
            continue;
        for (int page = 0; page < book.pageCount(); ++page) {
            if (!book.pageText(page).endsWith(QStringLiteral("\r\n")))
                std::abort();
        }
    }

    if (TextCodec::isWide(chosen)) {
        const QByteArray whole = inPieces(bytes, chosen, bytes.size() + 1);
        if (!QByteArrayView(whole).isValidUtf8() || inPieces(bytes, chosen, pieceSize) != whole
            || utf8 != whole)
            std::abort();
        // UTF-16 becomes what Qt makes of it, U+FFFD for a byte left over.
        if (chosen == TextEncoding::Utf16LE || chosen == TextEncoding::Utf16BE) {
            QStringDecoder decoder(chosen == TextEncoding::Utf16LE ? QStringConverter::Utf16LE
                                                                   : QStringConverter::Utf16BE,
                                   QStringConverter::Flag::Stateless
                                       | QStringConverter::Flag::ConvertInitialBom);
            QString text = decoder.decode(bytes.first(bytes.size() & ~1));
            if (bytes.size() % 2)
                text += QChar::ReplacementCharacter;
            QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
            if (QByteArray(encoder.encode(text)) != whole)
                std::abort();
        }
    }
    return 0;
}

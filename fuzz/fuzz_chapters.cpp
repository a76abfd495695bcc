// Any bytes may be a book: finding its chapters in any encoding, or by a pattern the reader wrote,
// must hold for every byte sequence, a pattern that does not compile included; each entry names a
// line start and that line's number; and every line read as a heading is one the byte scan lets
// through.
#include "book/ChapterFinder.h"
#include "book/HeadingLine.h"
#include "book/HeadingTriggers.h"
#include "book/LineEnds.h"

#include <cstdint>
#include <cstdlib>

namespace {

void checkEntries(const QList<Chapter> &entries, QByteArrayView text)
{
    qsizetype last = -1;
    for (const Chapter &entry : entries) {
        const bool lineStart =
            entry.offset == 0 || text[entry.offset - 1] == '\n' || text[entry.offset - 1] == '\r';
        if (entry.offset <= last || entry.offset >= text.size() || !lineStart || entry.level < 1
            || entry.level > 4
            || LineEnds::countLineEnds(text.data(), text.data() + entry.offset) != entry.line)
            std::abort();
        last = entry.offset;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte: how many of the bytes after it make the pattern.
    const qsizetype patternLength = std::min(qsizetype(data[0] % 16), qsizetype(size) - 1);
    const QByteArrayView rest(data + 1, qsizetype(size) - 1);
    const QRegularExpression pattern(QString::fromUtf8(rest.first(patternLength)));
    const QByteArrayView text = rest.sliced(patternLength);

    for (const TextEncoding encoding :
         {TextEncoding::Utf8, TextEncoding::Windows1252, TextEncoding::Windows1251,
          TextEncoding::Gb18030, TextEncoding::ShiftJis}) {
        const QList<Chapter> found = ChapterFinder::find(text, encoding);
        checkEntries(found, text);
        for (const Chapter &entry : found) {
            if (entry.title.isEmpty())
                std::abort();
        }
        checkEntries(ChapterFinder::findByPattern(text, encoding, pattern), text);

        const HeadingTriggers &triggers = HeadingTriggers::of(encoding);
        LineEnds::forEachLine(
            text.data(), text.data() + text.size(), [&](const char *start, const char *end) {
                const QString line = TextCodec::decode(QByteArrayView(start, end), encoding);
                const bool heading = HeadingLine::read(line)
                    || HeadingLine::marker(line) != HeadingLine::Marker::None;
                if (heading && !triggers.mayBeHeading(start, end))
                    std::abort();
                return true;
            });
    }
    return 0;
}

// Any text file may be turned into a page: the page must take exactly the passes it announces,
// come out the same however small the blocks it reads the source in, and hold the source's text
// between its opening and closing lines.
#include "texttools/HtmlPage.h"

#include <cstdint>
#include <cstdlib>

namespace {

QByteArray pageOf(const QByteArray &source, const QString &name, qsizetype blockSize)
{
    HtmlPage page(blockSize);
    QByteArray written;
    if (!page.openText(source, name))
        std::abort();
    qsizetype passes = 0;
    while (!page.atEnd()) {
        page.addNextItem([&](QByteArrayView piece) { return !written.append(piece).isEmpty(); });
        if (++passes > page.itemCount())
            std::abort();
    }
    if (passes != page.itemCount())
        std::abort();
    return written;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    // The first byte tells how many of the following bytes make the base name, the second the
    // size of the blocks the source is read in.
    const qsizetype nameLength = qMin<qsizetype>(data[0] % 16, qsizetype(size) - 2);
    const qsizetype blockSize = 1 + data[1] % 64;
    const char *rest = reinterpret_cast<const char *>(data) + 2;
    const QString name = QString::fromUtf8(rest, nameLength);
    const QByteArray source(rest + nameLength, qsizetype(size) - 2 - nameLength);

    const QByteArray page = pageOf(source, name, SourceBlocks::DefaultBlockSize);
    if (pageOf(source, name, blockSize) != page || !page.endsWith("</html>\r\n"))
        std::abort();
    if (!page.contains("<p align=\"justify\">") || !page.contains("</p>\r\n<hr"))
        std::abort();
    return 0;
}

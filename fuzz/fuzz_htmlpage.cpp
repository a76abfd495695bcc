// Any text file may be turned into a page: the page must take exactly the passes it announces,
// come out the same when written out in pieces as when built whole, and hold the source's text
// between its opening and closing lines.
#include "texttools/HtmlPage.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte tells how many of the following bytes make the base name.
    const qsizetype nameLength = qMin<qsizetype>(data[0] % 16, qsizetype(size) - 1);
    const char *rest = reinterpret_cast<const char *>(data) + 1;
    const QString name = QString::fromUtf8(rest, nameLength);
    const QByteArray source(rest + nameLength, qsizetype(size) - 1 - nameLength);

    HtmlPage whole(source, name);
    HtmlPage inPieces(source, name);
    QByteArray written;
    qsizetype passes = 0;
    while (!whole.atEnd()) {
        whole.addNextItem();
        inPieces.addNextItem();
        // Written out after every item, as a run writes a piece once it is large enough.
        written += inPieces.bytes();
        inPieces.dropBytes();
        if (++passes > whole.itemCount())
            std::abort();
    }
    const QByteArray &page = whole.bytes();
    if (passes != whole.itemCount() || !page.endsWith("</html>\r\n") || written != page)
        std::abort();
    if (!page.contains("<p align=\"justify\">") || !page.contains("</p>\r\n<hr"))
        std::abort();
    return 0;
}

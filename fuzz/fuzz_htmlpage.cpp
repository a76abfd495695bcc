// Any text file may be turned into a page: the page must take exactly the passes it announces,
// come out the same item by item as in one go, and never let the text or the name open a tag.
#include "texttools/HtmlPage.h"

#include <cstdint>
#include <cstdlib>

namespace {

// What lies between the first `from` and the `to` after it; empty when either is missing.
QByteArray between(const QByteArray &page, const char *from, const char *to)
{
    const qsizetype start = page.indexOf(from);
    if (start < 0)
        return {};
    const qsizetype body = start + qstrlen(from);
    const qsizetype end = page.indexOf(to, body);
    return end < 0 ? QByteArray() : page.mid(body, end - body);
}

bool opensNoTag(QByteArray text)
{
    text.replace("<br>", "");
    return !text.contains('<') && !text.contains('>');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte tells how many of the following bytes make the base name.
    const qsizetype nameLength = qMin<qsizetype>(data[0] % 16, qsizetype(size) - 1);
    const char *rest = reinterpret_cast<const char *>(data) + 1;
    const QString name = QString::fromUtf8(rest, nameLength);
    const QByteArray source(rest + nameLength, qsizetype(size) - 1 - nameLength);

    HtmlPage page(source, name);
    qsizetype passes = 0;
    while (!page.atEnd()) {
        page.addNextItem();
        if (++passes > page.itemCount())
            std::abort();
    }
    if (passes != page.itemCount() || !page.bytes().endsWith("</html>\r\n"))
        std::abort();
    if (HtmlPage::build(source, name) != page.bytes())
        std::abort();

    const QByteArray &bytes = page.bytes();
    if (!opensNoTag(between(bytes, "<title>", "</title>"))
        || !opensNoTag(between(bytes, "<p align=\"justify\">", "</p>\r\n<hr")))
        std::abort();
    return 0;
}

#include "reader/BookPrinter.h"

#include "book/BookSearch.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>

bool BookPrinter::canPrint(const QPrinter &printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return !printer.outputFileName().isEmpty();
    return printer.isValid() && !QPrinterInfo::availablePrinterNames().isEmpty();
}

QString BookPrinter::print(const Book &book, const Look &look, QPrinter &printer)
{
    if (!canPrint(printer))
        return QStringLiteral("No printer is available. Choose a printer, or printing to a PDF "
                              "file, in File > Page Setup.");
    QString text;
    text.reserve(book.byteSize());
    for (int page = 0; page < book.pageCount(); ++page)
        text += BookSearch::viewText(book, page);

    QTextDocument document;
    document.setDefaultFont(look.font);
    QTextCursor cursor(&document);
    QTextCharFormat format;
    format.setFont(look.font);
    format.setForeground(look.text);
    cursor.insertText(text, format);
    if (look.background.isValid() && look.background != Qt::white) {
        QTextFrameFormat frame = document.rootFrame()->frameFormat();
        frame.setBackground(look.background);
        document.rootFrame()->setFrameFormat(frame);
    }

    document.print(&printer);
    if (printer.printerState() == QPrinter::Error)
        return QStringLiteral("Printing failed.");
    return {};
}

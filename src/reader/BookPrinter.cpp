#include "reader/BookPrinter.h"

#include "book/TextCodec.h"

#include <QDir>
#include <QFile>
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

QString BookPrinter::print(const QString &path, const Look &look, QPrinter &printer)
{
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("The book could not be printed, its file cannot be read:\n%1\n%2")
            .arg(shown, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("The book could not be printed, its file cannot be read:\n%1\n%2")
            .arg(shown, file.errorString());
    if (!canPrint(printer))
        return QStringLiteral("No printer is available. Choose a printer, or printing to a PDF "
                              "file, in File > Page Setup.");

    qsizetype bom = 0;
    const TextEncoding encoding = TextCodec::detect(bytes, &bom);
    QString text = TextCodec::decode(QByteArrayView(bytes).sliced(bom), encoding);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');

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

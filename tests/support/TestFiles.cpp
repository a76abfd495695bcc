#include "support/TestFiles.h"

#include "texttools/HtmlPage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringList>

namespace TestFiles {

QString write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray lines(int n, const QByteArray &lineEnd)
{
    QByteArray bytes;
    for (int i = 1; i <= n; ++i)
        bytes += "line " + QByteArray::number(i) + lineEnd;
    return bytes;
}

QString randomLines(QRandomGenerator &random, const QStringList &letters, int n)
{
    static const QString lineEnds[] = {QStringLiteral("\r\n"), QStringLiteral("\n"),
                                       QStringLiteral("\r")};
    QString text;
    for (; n > 0; --n) {
        for (int i = random.bounded(12); i > 0; --i)
            text += letters.at(random.bounded(letters.size()));
        text += lineEnds[random.bounded(3)];
    }
    return text;
}

QByteArray htmlPageOf(const QByteArray &source, const QString &name, qsizetype blockSize)
{
    HtmlPage page(blockSize);
    QByteArray bytes;
    page.openText(source, name);
    qsizetype passes = 0;
    for (; !page.atEnd(); ++passes)
        page.addNextItem([&](QByteArrayView piece) { return !bytes.append(piece).isEmpty(); });
    return passes == page.itemCount() ? bytes : "not in the passes announced";
}

QByteArray htmlPage(const QByteArray &title, const QByteArray &body, const QByteArray &charset)
{
    return "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset="
        + charset + "\">\r\n<title>" + title
        + "</title>\r\n</head>\r\n<body leftmargin=64 style=\"border-left: medium solid "
          "rgb(111,0,221); border-top: medium solid rgb(84,0,168)\">\r\n<br><font "
          "color=\"navy\"><H2>"
        + title + "</H2></font>\r\n<p align=\"justify\">&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;" + body
        + "</p>\r\n<hr color=rgb(84,0,168)>\r\n<br><br><br><br>\r\n</body>\r\n</html>\r\n";
}

} // namespace TestFiles

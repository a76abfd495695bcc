#pragma once

#include <QByteArray>
#include <QString>

class QRandomGenerator;

// Small helpers for tests that work on real files in temporary folders.
namespace TestFiles {

// Writes bytes to path (creating its folder) and returns path.
QString write(const QString &path, const QByteArray &bytes);
QByteArray read(const QString &path);

// n lines "line 1" .. "line n", each ended by lineEnd.
QByteArray lines(int n, const QByteArray &lineEnd = "\r\n");

// n lines of up to 11 characters picked from letters, each ended by CR LF, LF or CR at random.
QString randomLines(QRandomGenerator &random, const QStringList &letters, int n);

// The page HtmlPage makes of source, built one item at a time, reading it in blocks of blockSize;
// a text that says so when it takes other than the passes it announced.
QByteArray htmlPageOf(const QByteArray &source, const QString &name, qsizetype blockSize = 1 << 20);

// The HTML page of a text file written out whole: its name as title and heading, body as its
// paragraph after the first indentation.
QByteArray htmlPage(const QByteArray &title, const QByteArray &body,
                    const QByteArray &charset = "windows-1252");

} // namespace TestFiles

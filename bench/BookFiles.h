#pragma once

#include <QByteArray>
#include <QString>

// Generated books for the speed figures: lines of 40..80 characters of words, the same bytes on
// every run and every machine, so figures from different runs compare.
namespace BookFiles {

// None joins the lines with a blank instead: the whole book is one line.
enum class LineEnd { Lf, CrLf, None };
// Utf8 puts at least one multi-byte character on every line. Windows1251 and Utf16 are Russian
// words, the latter in UTF-16 LE with a byte-order mark. Gb18030 and Big5 are Chinese words in
// simplified and traditional characters, ShiftJis Japanese ones, written without blanks.
enum class Charset { Ascii, Utf8, Windows1251, Utf16, Gb18030, Big5, ShiftJis };

// Whole lines, each with its line end, until at least size bytes.
QByteArray generate(qsizetype size, LineEnd lineEnd, Charset charset);
// Writes generate(...) to path, withChapters(...) of it when chapterEvery is above 0; false when
// the file cannot be written.
bool write(const QString &path, qsizetype size, LineEnd lineEnd, Charset charset,
           int chapterEvery = 0);

// The book with a line "Chapter N" between blank lines before every `every`-th of its lines, so
// that its contents have entries; the line ends are the book's own. For books in UTF-8 or ASCII.
QByteArray withChapters(const QByteArray &book, int every);

// "lf-ascii", "crlf-utf8", "crlf-cp1251", "crlf-utf16", "crlf-gb18030", "none-utf8", ...
QString kindName(LineEnd lineEnd, Charset charset);

} // namespace BookFiles

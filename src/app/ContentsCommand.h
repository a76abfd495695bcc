#pragma once

#include <QString>

#include <optional>

class QTextStream;

// `pagelark --contents BOOK [--lines-per-page N]`: the contents of a book printed one entry a
// line, PAGE<TAB>LEVEL<TAB>TITLE, the page as the reader numbers it at N lines a page (else at
// the saved number, 15 when none is saved), read in the encoding chosen for the book and set
// right by the reader's marks. Nothing for a book without chapters. Reads the settings and the
// position store, writes nothing.
namespace ContentsCommand {

// The exit code: 0 when printed, 1 when the book was refused, its message then on errors.
int run(const QString &book, std::optional<int> linesPerPage, QTextStream &out,
        QTextStream &errors);

} // namespace ContentsCommand

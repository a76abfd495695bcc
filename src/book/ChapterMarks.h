#pragma once

#include "book/LineAnchor.h"

#include <QList>
#include <QString>

// How the reader set a book's contents right: lines marked as chapters, lines that are none, and
// a pattern that finds the chapters in place of the rules (empty: the rules find them). Each line
// is kept as a LineAnchor, so that the marks survive an edited book.
struct ChapterMarks
{
    QList<LineAnchor> marked;
    QList<LineAnchor> unmarked;
    QString pattern;
};

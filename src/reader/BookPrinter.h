#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class Book;
class QPrinter;

// Prints the book that is open, all its pages as the reader shows them, in the page view's font
// and colours, leaving the page breaks to the printer's page size.
class BookPrinter
{
public:
    struct Look
    {
        QFont font;
        QColor text;
        QColor background;
    };

    // Empty when printed, else what failed, in words for the user.
    static QString print(const Book &book, const Look &look, QPrinter &printer);

    // True when printer can print now: a real printer, or a PDF file to write.
    static bool canPrint(const QPrinter &printer);
};

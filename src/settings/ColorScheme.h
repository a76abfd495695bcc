#pragma once

#include <QList>
#include <QString>

// The page's colour schemes, each a text colour on a background colour, as the settings record
// keeps colours (0x00BBGGRR). Day and Night keep a contrast of at least 7:1 and Sepia of at
// least 4.5:1, so that text reads well in each. Putting them on the page is the window's.
struct ColorScheme
{
    QString name; // as the menu shows it, without its mnemonic
    quint32 text;
    quint32 background;

    // Day, Sepia and Night, in the menu's order.
    static const QList<ColorScheme> &all();
};

#pragma once

#include <QByteArray>
#include <QString>

// How the reader lays out the page it shows: the blank room on each side of the text, the
// spacing of its lines, and whether pages are cut to what the page view shows. It is kept in a
// small text file of its own beside config.ini, whose bytes stay as the settings record defines
// them. Reading never fails: a field the file lacks or cannot give reads as its default, a
// number out of its range as the nearest one in it. Applying the layout is the window's.
struct ReadingLayout
{
    static constexpr int MinSideMargin = 0;
    static constexpr int MaxSideMargin = 200;
    static constexpr int MinLineSpacing = 100;
    static constexpr int MaxLineSpacing = 200;

    bool fitPages = false;
    int sideMargin = 0; // pixels on each side of the text
    int lineSpacing = 100; // percent of the font's line spacing

    // The layout file beside the given config.ini.
    static QString fileBeside(const QString &configFile);

    static ReadingLayout fromText(const QByteArray &text);
    QByteArray text() const;

    // A file that is missing or cannot be read gives the defaults.
    static ReadingLayout load(const QString &fileName);
    // Written whole or not at all; false, with the system's words in *error, when it was not.
    bool save(const QString &fileName, QString *error = nullptr) const;

    friend bool operator==(const ReadingLayout &a, const ReadingLayout &b)
    {
        return a.fitPages == b.fitPages && a.sideMargin == b.sideMargin
            && a.lineSpacing == b.lineSpacing;
    }
    friend bool operator!=(const ReadingLayout &a, const ReadingLayout &b) { return !(a == b); }
};

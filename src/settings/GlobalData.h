#pragma once

#include <QByteArray>
#include <QString>

// The settings record: options, last book and page, page format and favourite folder.
// One instance serves the whole run; config.ini holds it byte for byte (see RecordCodec).

// Booleans are 16-bit with True = -1, as they are stored.
using VBool = qint16;
constexpr VBool VTrue = -1;
constexpr VBool VFalse = 0;

// A tagged value as config.ini stores it: a 16-bit type code and a value of that type.
struct VariantValue
{
    enum Type : quint16 { Empty = 0, Null = 1, Integer = 2, Long = 3 };

    quint16 type = Empty;
    qint32 value = 0;

    static VariantValue fromLong(qint32 v) { return {Long, v}; }
    bool holdsNumber() const { return type == Integer || type == Long; }
};

struct GlobalData
{
    VBool LoadLastBook = VFalse;
    VBool JumpToLastPage = VFalse;
    QString LastBook;
    qint16 LastPage = 0;
    qint16 LinesPerPage = 0;
    VariantValue BackColor;
    VariantValue ForeColor;
    QString FavoritePath;
    QString FavoriteDrive;
    VBool FavoriteSet = VFalse;
    qint16 FontSize = 0;
    QString FontName;
    VBool FontBold = VFalse;
    VBool FontItalic = VFalse;

    // When LinesPerPage is 0, sets the five defaults (15 lines, black text on white, no favourite,
    // 12 points) and leaves every other field as it is.
    void applyDefaultsRule();
};

// The one record of the running program.
GlobalData &TheGlobalData();

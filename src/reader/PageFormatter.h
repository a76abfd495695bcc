#pragma once

#include "reader/BookPrinter.h"

#include <QColor>

#include <optional>

class Prompts;
class QWidget;
class TextArea;
struct GlobalData;

// The page view's format: the settings record's colours and font applied to the whole text, the
// toolbar's size steps, bold, italic and colours, the font dialog, and the format read back for
// the settings record and for printing. Every change applies to the whole text of the page, so
// the next page shown takes it on, and goes into the settings record at once, so the next book
// loaded keeps it too. The buttons and menus that start these are the window's.
class PageFormatter
{
public:
    static constexpr int MinFontSize = 8;
    static constexpr int MaxFontSize = 30;

    PageFormatter(TextArea &view, Prompts &prompts, GlobalData &data, QWidget *parent);

    // The settings record's format to the view.
    void apply();
    // Copies the view's format into the settings record; a field whose value differs across the
    // text keeps the value it had.
    void capture();

    // Steps the font size by step points, or says why not.
    void stepFontSize(int step);
    void toggleBold();
    void toggleItalic();
    void chooseBackColor();
    void chooseTextColor();
    // Sets the text colour, the background or both in one step, as the two colour buttons do.
    void setColors(std::optional<QColor> text, std::optional<QColor> background);
    // The font dialog, from the view's font.
    void chooseFont();

    BookPrinter::Look printLook();

private:
    TextArea &m_view;
    Prompts &m_prompts;
    GlobalData &m_data;
    QWidget *m_parent;
};

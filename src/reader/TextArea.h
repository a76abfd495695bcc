#pragma once

#include "book/PageFit.h"

#include <QColor>
#include <QTextBlockFormat>
#include <QTextEdit>

#include <optional>

class QPrinter;

// The page view: a rich-text view that is read-only to typing but keeps a caret and a selection
// for keyboard and mouse. Its contract with the rest of the reader:
// - replacing the whole text keeps the character format in force at the caret, so a page shown
//   after a format change takes on that format;
// - positions are character offsets from 0, a line end counting as one character;
// - a selection attribute that differs within the selection reads as no value (nullopt);
// - key and mouse presses are announced before the view handles them; only the keys that turn
//   pages (Page Up, Page Down, Space, Home, End) are not handled by the view as well;
// - a turn of the wheel the view cannot scroll any further is announced as a page turn;
// - every row of text is the same height, worked out from the text's font and the line spacing,
//   whatever glyphs a line holds, and the side margins keep the text off the view's edges.
class TextArea : public QTextEdit
{
    Q_OBJECT
    Q_DISABLE_COPY(TextArea)

public:
    explicit TextArea(QWidget *parent = nullptr);

    QString text() const;
    // CR LF, lone CR and lone LF each end a line.
    void setText(const QString &text);

    void setSelStart(int start);
    void setSelLength(int length);
    void selectWholeText();
    void collapseSelection(); // nothing selected, caret at the start of the text
    QString selectedText() const;

    std::optional<QString> selFontName() const;
    std::optional<double> selFontSize() const;
    std::optional<bool> selBold() const;
    std::optional<bool> selItalic() const;
    std::optional<bool> selUnderline() const;
    std::optional<bool> selStrikethru() const;
    std::optional<QColor> selColor() const;

    void setSelFontName(const QString &name); // an empty name keeps the font
    void setSelFontSize(double points); // a size of 0 or less is ignored
    void setSelBold(bool on);
    void setSelItalic(bool on);
    void setSelUnderline(bool on);
    void setSelStrikethru(bool on);
    void setSelColor(const QColor &color);

    QColor backColor() const;
    void setBackColor(const QColor &color);

    // Finds text from start on, ignoring letter case, also inside words; selects the match and
    // returns its position, or -1 leaving the selection alone.
    int find(const QString &text, int start);

    // Blank room of sideMargin pixels on each side of the text, in the page's own background,
    // and rows lineSpacing percent of the font's line spacing high; for the page shown and every
    // later one, and kept when the font changes.
    void setPageLayout(int sideMargin, int lineSpacing);
    // The height of every row of text, in pixels.
    int rowHeight() const { return m_rowHeight; }
    // The width a line of text is wrapped at, in pixels.
    qreal lineWidth() const;

    // Lights the ranges (position, length) of the text with a tint behind them, the text's
    // format untouched; none puts the lights out. A new text puts them out too.
    void setLit(const QList<std::pair<int, int>> &ranges);

    // Pages cut to the view: the text shaped only where its script needs it (no kerning or
    // ligatures in Latin), so that measuring the lines of a whole book costs a third; the font of
    // the page's text, the whole rows the view shows without scrolling, and how it wraps a line
    // of text, as PageFit asks. Plain shaping takes effect with the next text.
    void setPlainShaping(bool on) { m_plainShaping = on; }
    QFont pageFont() const;
    int rowsShown() const;
    PageFit::Measure wrapMeasure() const;

Q_SIGNALS:
    // The view's size, its margins, or the height of its rows changed, and so the rows it shows
    // or their width.
    void viewResized();
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    void mouseDown(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, const QPoint &pos);
    // step +1: the next page, -1: the previous one.
    void wheelTurn(int step);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QTextCharFormat resolved(const QTextCharFormat &format) const;
    template<typename T, typename Get> std::optional<T> selectionValue(Get get) const;
    void mergeSelection(const QTextCharFormat &format);
    // The row height for the font of the text to come, given to every block when it changes.
    void fitRows();

    int m_wheelRest = 0; // wheel turn not yet a whole notch
    int m_sideMargin = 0;
    int m_lineSpacing = 100; // percent
    int m_rowHeight = 0;
    bool m_plainShaping = false;
    QTextBlockFormat m_rows; // the fixed row height every block takes
};

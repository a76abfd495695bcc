#include "reader/TextArea.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

namespace {

// A flat scroll bar in the view's own palette. Styles that paint a scroll bar in gradients
// spread the fill of a tall one over worker threads, which on a page turn costs more than
// laying out the page.
constexpr char16_t kScrollBarStyle[] =
    u"QScrollBar:vertical { background: palette(window); width: 14px; margin: 0; }"
    u"QScrollBar::handle:vertical { background: palette(mid); min-height: 24px;"
    u" border-radius: 4px; margin: 2px; }"
    u"QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
    u"QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }";

} // namespace

TextArea::TextArea(QWidget *parent) : QTextEdit(parent)
{
    setAcceptRichText(false);
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setUndoRedoEnabled(false);
    setLineWrapMode(QTextEdit::WidgetWidth);
    // Always there, so that every page wraps at the same width: a page that happens to fit
    // would otherwise be laid out a second time, wider, and reflow.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    verticalScrollBar()->setStyleSheet(QString::fromUtf16(kScrollBarStyle));
}

QString TextArea::text() const
{
    return toPlainText();
}

void TextArea::setText(const QString &text)
{
    // The text goes in already in the format in force, so a page is laid out once, not once
    // plain and again for its format; and the old page goes out in the same edit, so the view
    // is not laid out, nor its scroll bar set and repainted, for an empty page in between.
    const QTextCharFormat format = textCursor().charFormat();
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    cursor.setBlockCharFormat(format);
    // One paragraph a line: the cursor takes CR LF, a lone CR and a lone LF each as a line's end.
    cursor.insertText(text, format);
    // The lines keep the glyphs their layout shaped, so painting them does not shape them again.
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        block.layout()->setCacheEnabled(true);
    // A new page shows from its start, wherever the old one was scrolled to.
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    cursor.endEditBlock();
    cursor.setPosition(0);
    setTextCursor(cursor);
    setCurrentCharFormat(format);
}

int TextArea::selStart() const
{
    return textCursor().selectionStart();
}

void TextArea::setSelStart(int start)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(qBound(0, start, document()->characterCount() - 1));
    setTextCursor(cursor);
}

int TextArea::selLength() const
{
    const QTextCursor cursor = textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void TextArea::setSelLength(int length)
{
    QTextCursor cursor = textCursor();
    const int start = cursor.selectionStart();
    const int last = document()->characterCount() - 1;
    cursor.setPosition(start);
    cursor.setPosition(qBound(start, start + length, last), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void TextArea::selectWholeText()
{
    setSelStart(0);
    setSelLength(text().size());
}

void TextArea::collapseSelection()
{
    setSelStart(0);
}

QString TextArea::selectedText() const
{
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

QTextCharFormat TextArea::resolved(const QTextCharFormat &format) const
{
    QTextCharFormat full;
    full.setFont(document()->defaultFont());
    full.setForeground(palette().color(QPalette::Text));
    full.merge(format);
    return full;
}

// The value get() gives for every character of the selection, or nullopt when they differ.
// With nothing selected it is the value at the caret.
template<typename T, typename Get> std::optional<T> TextArea::selectionValue(Get get) const
{
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return get(resolved(cursor.charFormat()));

    const int begin = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    std::optional<T> value;
    for (QTextBlock block = document()->findBlock(begin); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() + fragment.length() <= begin || fragment.position() >= end)
                continue;
            const T v = get(resolved(fragment.charFormat()));
            if (value && !(*value == v))
                return std::nullopt;
            value = v;
        }
    }
    if (!value)
        return get(resolved(cursor.charFormat()));
    return value;
}

std::optional<QString> TextArea::selFontName() const
{
    return selectionValue<QString>([](const QTextCharFormat &f) { return f.font().family(); });
}

std::optional<double> TextArea::selFontSize() const
{
    return selectionValue<double>([](const QTextCharFormat &f) { return f.font().pointSizeF(); });
}

std::optional<bool> TextArea::selBold() const
{
    return selectionValue<bool>([](const QTextCharFormat &f) { return f.font().bold(); });
}

std::optional<bool> TextArea::selItalic() const
{
    return selectionValue<bool>([](const QTextCharFormat &f) { return f.font().italic(); });
}

std::optional<bool> TextArea::selUnderline() const
{
    return selectionValue<bool>([](const QTextCharFormat &f) { return f.font().underline(); });
}

std::optional<bool> TextArea::selStrikethru() const
{
    return selectionValue<bool>([](const QTextCharFormat &f) { return f.font().strikeOut(); });
}

std::optional<QColor> TextArea::selColor() const
{
    return selectionValue<QColor>([](const QTextCharFormat &f) { return f.foreground().color(); });
}

void TextArea::mergeSelection(const QTextCharFormat &format)
{
    QTextCursor cursor = textCursor();
    cursor.mergeCharFormat(format);
    setTextCursor(cursor);
    // Also the format for text that comes later, also when the view is empty.
    if (!cursor.hasSelection() || cursor.selectionStart() == 0)
        mergeCurrentCharFormat(format);
}

void TextArea::setSelFontName(const QString &name)
{
    if (name.isEmpty())
        return;
    QTextCharFormat format;
    format.setFontFamilies({name});
    mergeSelection(format);
}

void TextArea::setSelFontSize(double points)
{
    if (points <= 0)
        return;
    QTextCharFormat format;
    format.setFontPointSize(points);
    mergeSelection(format);
}

void TextArea::setSelBold(bool on)
{
    QTextCharFormat format;
    format.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeSelection(format);
}

void TextArea::setSelItalic(bool on)
{
    QTextCharFormat format;
    format.setFontItalic(on);
    mergeSelection(format);
}

void TextArea::setSelUnderline(bool on)
{
    QTextCharFormat format;
    format.setFontUnderline(on);
    mergeSelection(format);
}

void TextArea::setSelStrikethru(bool on)
{
    QTextCharFormat format;
    format.setFontStrikeOut(on);
    mergeSelection(format);
}

void TextArea::setSelColor(const QColor &color)
{
    QTextCharFormat format;
    format.setForeground(color);
    mergeSelection(format);
}

QColor TextArea::backColor() const
{
    return viewport()->palette().color(QPalette::Base);
}

void TextArea::setBackColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, color);
    setPalette(p);
    QPalette vp = viewport()->palette();
    vp.setColor(QPalette::Base, color);
    viewport()->setPalette(vp);
}

int TextArea::find(const QString &text, int start)
{
    if (text.isEmpty())
        return -1;
    QTextCursor from(document());
    from.setPosition(qBound(0, start, document()->characterCount() - 1));
    const QTextCursor found = document()->find(text, from);
    if (found.isNull())
        return -1;
    setTextCursor(found);
    return found.selectionStart();
}

void TextArea::keyPressEvent(QKeyEvent *event)
{
    Q_EMIT keyDown(event->key(), event->modifiers());
    QTextEdit::keyPressEvent(event);
}

void TextArea::mousePressEvent(QMouseEvent *event)
{
    Q_EMIT mouseDown(event->buttons(), event->modifiers(), event->position().toPoint());
    QTextEdit::mousePressEvent(event);
}

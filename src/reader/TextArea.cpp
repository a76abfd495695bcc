#include "reader/TextArea.h"

#include "reader/KeptPanelStyle.h"

#include <QFontMetricsF>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QWheelEvent>
#include <QtMath>

#include <cstdlib>

namespace {

// The page view's scroll bar: a flat track in the palette's window colour and a handle with round
// corners in the palette's mid colour, without step buttons. The handle changes with almost
// every page; styles that paint it in gradients spread the fill over worker threads, and a style
// sheet smooths the edges of the whole tall shape, either costing a page turn more than laying
// out a few of its lines.
class FlatScrollBarStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override
    {
        if (metric == PM_ScrollBarExtent)
            return kExtent;
        if (metric == PM_ScrollBarSliderMin)
            return kHandleMin + 2 * kHandleMargin;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl sub,
                         const QWidget *widget) const override
    {
        const auto *bar = qstyleoption_cast<const QStyleOptionSlider *>(option);
        if (control != CC_ScrollBar || !bar || bar->orientation != Qt::Vertical)
            return QProxyStyle::subControlRect(control, option, sub, widget);
        const QRect &all = bar->rect;
        int handle = all.height();
        if (bar->maximum != bar->minimum) {
            const qint64 range = qint64(bar->maximum) - bar->minimum;
            handle = int(qint64(bar->pageStep) * all.height() / (range + bar->pageStep));
            const int least = pixelMetric(PM_ScrollBarSliderMin, option, widget);
            if (handle < least || range > INT_MAX / 2)
                handle = least;
            handle = qMin(handle, all.height());
        }
        const int top = all.top()
            + sliderPositionFromValue(bar->minimum, bar->maximum, bar->sliderPosition,
                                      all.height() - handle, bar->upsideDown);
        switch (sub) {
        case SC_ScrollBarGroove:
            return all;
        case SC_ScrollBarSlider:
            return {all.left(), top, all.width(), handle};
        case SC_ScrollBarSubPage:
            return {all.left(), all.top(), all.width(), top - all.top()};
        case SC_ScrollBarAddPage:
            return {all.left(), top + handle, all.width(), all.bottom() + 1 - top - handle};
        default:
            return {}; // no step buttons
        }
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget) const override
    {
        const auto *bar = qstyleoption_cast<const QStyleOptionSlider *>(option);
        if (control != CC_ScrollBar || !bar || bar->orientation != Qt::Vertical) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        painter->fillRect(bar->rect, bar->palette.window());
        const QRect handle =
            subControlRect(control, option, SC_ScrollBarSlider, widget)
                .adjusted(kHandleMargin, kHandleMargin, -kHandleMargin, -kHandleMargin);
        const int r = kHandleRadius;
        const int height = handle.height();
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(bar->palette.mid());
        if (height <= 4 * r) {
            painter->drawRoundedRect(handle, r, r);
        } else {
            // Smoothing the edges of a tall shape costs more than all the rest of the bar: each
            // round end comes from a shape just tall enough for its corners, and the straight
            // middle is filled. The pixels are those of the whole shape.
            if (!drawKeptEnds(painter, handle, bar->palette)) {
                painter->setClipRect(handle.adjusted(0, 0, 0, r - height));
                painter->drawRoundedRect(handle.adjusted(0, 0, 0, 2 * r - height), r, r);
                painter->setClipRect(handle.adjusted(0, height - r, 0, 0));
                painter->drawRoundedRect(handle.adjusted(0, height - 2 * r, 0, 0), r, r);
                painter->setClipping(false);
            }
            painter->fillRect(handle.adjusted(0, r, 0, -r), bar->palette.mid());
        }
        painter->restore();
    }

private:
    // The round ends of a tall handle as the shape smooths them over the track, kept while the
    // handle's width and the two colours stay; on a painter that scales, or with colours that
    // let the track show through, they are drawn anew.
    bool drawKeptEnds(QPainter *painter, const QRect &handle, const QPalette &palette) const
    {
        const QBrush &track = palette.window();
        const QBrush &fill = palette.mid();
        if (track.style() != Qt::SolidPattern || fill.style() != Qt::SolidPattern
            || !track.isOpaque() || !fill.isOpaque() || !drawsOnWholePixels(painter))
            return false;
        const int width = handle.width();
        const QRgb trackRgb = track.color().rgba();
        const QRgb fillRgb = fill.color().rgba();
        if (m_ends.width != width || m_ends.track != trackRgb || m_ends.fill != fillRgb) {
            const auto end = [&](int shapeTop) {
                QImage image(width, kHandleRadius, QImage::Format_ARGB32_Premultiplied);
                image.fill(track.color());
                QPainter p(&image);
                p.setRenderHint(QPainter::Antialiasing);
                p.setPen(Qt::NoPen);
                p.setBrush(fill);
                p.drawRoundedRect(QRect(0, shapeTop, width, 2 * kHandleRadius), kHandleRadius,
                                  kHandleRadius);
                return image;
            };
            m_ends = {end(0), end(-kHandleRadius), width, trackRgb, fillRgb};
        }
        painter->drawImage(handle.topLeft(), m_ends.top);
        painter->drawImage(QPoint(handle.left(), handle.bottom() + 1 - kHandleRadius),
                           m_ends.bottom);
        return true;
    }

    struct Ends
    {
        QImage top;
        QImage bottom;
        int width = -1;
        QRgb track = 0;
        QRgb fill = 0;
    };
    mutable Ends m_ends;

    static constexpr int kExtent = 14;
    static constexpr int kHandleMin = 24;
    static constexpr int kHandleMargin = 2;
    static constexpr int kHandleRadius = 4;
};

// Whether a UTF-16 unit belongs to a script written from right to left (Hebrew to Syriac and
// the other scripts up to U+08FF, their presentation forms, and the supplementary-plane ones).
bool rightToLeft(char16_t unit)
{
    return (unit >= 0x0590 && unit <= 0x08FF) || (unit >= 0xFB1D && unit <= 0xFEFC)
        || unit == 0xD802 || unit == 0xD803 || unit == 0xD83A || unit == 0xD83B;
}

// The page with CR LF, a lone CR and a lone LF each turned into one line separator, so that it
// is one paragraph. A page with right-to-left text stays as it is, a paragraph a line: each
// line then takes its own direction, as a paragraph does, where one paragraph would take the
// first line's direction for all.
QString withLineSeparators(const QString &text)
{
    QString lines(text.size(), Qt::Uninitialized);
    QChar *out = lines.data();
    const QChar *end = text.constData() + text.size();
    for (const QChar *in = text.constData(); in != end; ++in) {
        if (*in == u'\r' || *in == u'\n') {
            *out++ = QChar::LineSeparator;
            if (*in == u'\r' && in + 1 != end && in[1] == u'\n')
                ++in;
        } else if (rightToLeft(in->unicode())) {
            return text;
        } else {
            *out++ = *in;
        }
    }
    lines.truncate(out - lines.constData());
    return lines;
}

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
    auto *scrollBarStyle = new FlatScrollBarStyle;
    scrollBarStyle->setParent(verticalScrollBar());
    verticalScrollBar()->setStyle(scrollBarStyle);
    // It paints every pixel of itself, so the view need not paint behind it first.
    verticalScrollBar()->setAttribute(Qt::WA_OpaquePaintEvent);
    setPageLayout(0, 100);
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
    QTextCharFormat format = textCursor().charFormat();
    if (m_plainShaping)
        format.setFontStyleStrategy(QFont::PreferNoShaping);
    else
        format.clearProperty(QTextFormat::FontStyleStrategy);
    if (!extraSelections().isEmpty())
        setExtraSelections({});
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    cursor.setBlockCharFormat(format);
    cursor.mergeBlockFormat(m_rows);
    // The page is one paragraph whose lines end in line separators where it can be: it is laid
    // out and drawn as a paragraph a line is, but with one layout to set up, shape and draw in
    // place of one a line. The cursor takes CR LF, a lone CR and a lone LF each as a line's end.
    cursor.insertText(withLineSeparators(text), format);
    // The page keeps the glyphs its layout shaped, so painting it does not shape them again.
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

void TextArea::setSelStart(int start)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(qBound(0, start, document()->characterCount() - 1));
    setTextCursor(cursor);
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
    fitRows();
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
    // The scroll bar's track is the page's colour, so that no bright strip stands beside a dark
    // page, and its handle a shade of the colour farthest from it.
    const QColor far = color.lightness() < 128 ? QColor(Qt::white) : QColor(Qt::black);
    const auto shade = [&](float page, float other) {
        return page + (other - page) * 0.35f;
    };
    QPalette bar = verticalScrollBar()->palette();
    bar.setColor(QPalette::Window, color);
    bar.setColor(QPalette::Mid,
                 QColor::fromRgbF(shade(color.redF(), far.redF()),
                                  shade(color.greenF(), far.greenF()),
                                  shade(color.blueF(), far.blueF())));
    verticalScrollBar()->setPalette(bar);
}

// The side margins are the root frame's, so that they take the page's background and the
// document lays out every page within them; the document's own margin stays inside them.
void TextArea::setPageLayout(int sideMargin, int lineSpacing)
{
    m_sideMargin = sideMargin;
    m_lineSpacing = lineSpacing;
    QTextFrame *root = document()->rootFrame();
    QTextFrameFormat frame = root->frameFormat();
    const qreal edge = document()->documentMargin() + sideMargin;
    frame.setLeftMargin(edge);
    frame.setRightMargin(edge);
    root->setFrameFormat(frame);
    m_rowHeight = 0;
    fitRows();
}

qreal TextArea::lineWidth() const
{
    return viewport()->width() - 2 * (document()->documentMargin() + m_sideMargin);
}

// A fixed height, not a proportion of each line's own: a line with glyphs from a taller
// fallback font (Chinese in a Latin font, say) would otherwise stand taller than the rest.
void TextArea::fitRows()
{
    const int height = qRound(QFontMetricsF(pageFont()).lineSpacing() * m_lineSpacing / 100.0);
    if (height == m_rowHeight)
        return;
    m_rowHeight = height;
    m_rows.setLineHeight(height, QTextBlockFormat::FixedHeight);
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.mergeBlockFormat(m_rows);
    Q_EMIT viewResized();
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

void TextArea::setLit(const QList<std::pair<int, int>> &ranges)
{
    QList<ExtraSelection> lights;
    QTextCharFormat tint;
    tint.setBackground(QColor(255, 200, 0, 110));
    for (const auto &[position, length] : ranges) {
        QTextCursor cursor(document());
        cursor.setPosition(position);
        cursor.setPosition(qMin(position + length, document()->characterCount() - 1),
                           QTextCursor::KeepAnchor);
        lights.append({cursor, tint});
    }
    setExtraSelections(lights);
}

void TextArea::keyPressEvent(QKeyEvent *event)
{
    Q_EMIT keyDown(event->key(), event->modifiers());
    // The keys that turn pages are the reader's alone: the view does not also scroll with them.
    switch (event->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Space:
    case Qt::Key_Home:
    case Qt::Key_End:
        event->accept();
        return;
    default:
        QTextEdit::keyPressEvent(event);
    }
}

// A notch the view cannot scroll any further turns the page instead; a touchpad's small steps
// add up to a notch first.
void TextArea::wheelEvent(QWheelEvent *event)
{
    constexpr int kNotch = 120;
    const int dy = event->angleDelta().y();
    const QScrollBar *bar = verticalScrollBar();
    const bool atEnd = dy < 0 ? bar->value() >= bar->maximum() : bar->value() <= bar->minimum();
    if (dy == 0 || !atEnd || event->modifiers() != Qt::NoModifier) {
        m_wheelRest = 0;
        QTextEdit::wheelEvent(event);
        return;
    }
    event->accept();
    m_wheelRest += dy;
    while (std::abs(m_wheelRest) >= kNotch) {
        const int step = m_wheelRest < 0 ? +1 : -1;
        m_wheelRest += step * kNotch;
        Q_EMIT wheelTurn(step);
    }
}

// The view's own font is the text's where no format names another: the rows follow it.
void TextArea::changeEvent(QEvent *event)
{
    QTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitRows();
}

void TextArea::mousePressEvent(QMouseEvent *event)
{
    Q_EMIT mouseDown(event->buttons(), event->modifiers(), event->position().toPoint());
    QTextEdit::mousePressEvent(event);
}

bool TextArea::viewportEvent(QEvent *event)
{
    const bool handled = QTextEdit::viewportEvent(event);
    if (event->type() == QEvent::Resize)
        Q_EMIT viewResized();
    return handled;
}

QFont TextArea::pageFont() const
{
    QFont font = resolved(textCursor().charFormat()).font();
    if (m_plainShaping)
        font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

int TextArea::rowsShown() const
{
    const QTextFrameFormat frame = document()->rootFrame()->frameFormat();
    const qreal height = viewport()->height() - 2 * document()->documentMargin() - frame.topMargin()
        - frame.bottomMargin();
    return std::max(1, int(height / std::max(1, rowHeight())));
}

PageFit::Measure TextArea::wrapMeasure() const
{
    QTextOption option = document()->defaultTextOption();
    option.setWrapMode(wordWrapMode());
    return [option, font = pageFont(), width = lineWidth()](const QString &line,
                                                            std::vector<int> &rowStarts) {
        QTextLayout layout(line, font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine row = layout.createLine(); row.isValid(); row = layout.createLine()) {
            row.setLineWidth(width);
            if (row.textStart() > 0)
                rowStarts.push_back(row.textStart());
        }
        layout.endLayout();
    };
}

#include "reader/PageFormatter.h"

#include "platform/OleColor.h"
#include "platform/Prompts.h"
#include "reader/TextArea.h"
#include "settings/GlobalData.h"

#include <cmath>

PageFormatter::PageFormatter(TextArea &view, Prompts &prompts, GlobalData &data, QWidget *parent)
    : m_view(view), m_prompts(prompts), m_data(data), m_parent(parent)
{ }

// The order matters: the text shown next takes on the format at the caret, left at the start.
void PageFormatter::apply()
{
    const GlobalData &data = m_data;
    if (data.BackColor.holdsNumber())
        m_view.setBackColor(OleColor::toQColor(quint32(data.BackColor.value)));
    m_view.selectWholeText();
    if (data.ForeColor.holdsNumber())
        m_view.setSelColor(OleColor::toQColor(quint32(data.ForeColor.value)));
    m_view.setSelFontSize(data.FontSize);
    m_view.setSelFontName(data.FontName);
    m_view.setSelBold(data.FontBold != VFalse);
    m_view.setSelItalic(data.FontItalic != VFalse);
    m_view.collapseSelection();
}

void PageFormatter::capture()
{
    GlobalData &data = m_data;
    m_view.selectWholeText();
    data.BackColor = VariantValue::fromLong(qint32(OleColor::fromQColor(m_view.backColor())));
    if (const auto color = m_view.selColor())
        data.ForeColor = VariantValue::fromLong(qint32(OleColor::fromQColor(*color)));
    if (const auto size = m_view.selFontSize())
        data.FontSize = qint16(qBound(-32768.0, std::nearbyint(*size), 32767.0));
    if (const auto name = m_view.selFontName())
        data.FontName = *name;
    if (const auto bold = m_view.selBold())
        data.FontBold = *bold ? VTrue : VFalse;
    if (const auto italic = m_view.selItalic())
        data.FontItalic = *italic ? VTrue : VFalse;
    m_view.collapseSelection();
}

// A page of mixed sizes has no size to step from and meets the bound's message.
void PageFormatter::stepFontSize(int step)
{
    m_view.selectWholeText();
    const std::optional<double> size = m_view.selFontSize();
    const bool fits =
        size && (step < 0 ? *size + step >= MinFontSize : *size + step <= MaxFontSize);
    if (fits) {
        m_view.setSelFontSize(*size + step);
        capture();
    } else
        m_prompts.tell(m_parent,
                       step < 0 ? QStringLiteral("min font size achived")
                                : QStringLiteral("max font size achived"));
    m_view.collapseSelection();
}

void PageFormatter::toggleBold()
{
    const bool on = m_view.selBold().value_or(true);
    m_view.selectWholeText();
    m_view.setSelBold(!on);
    capture();
}

void PageFormatter::toggleItalic()
{
    const bool on = m_view.selItalic().value_or(true);
    m_view.selectWholeText();
    m_view.setSelItalic(!on);
    capture();
}

void PageFormatter::chooseBackColor()
{
    if (const auto color = m_prompts.color(m_parent, m_view.backColor()))
        setColors(std::nullopt, *color);
}

// Starts from the current text colour, with or without a book and on any page.
void PageFormatter::chooseTextColor()
{
    m_view.selectWholeText();
    const QColor initial = m_view.selColor().value_or(QColor(Qt::black));
    m_view.collapseSelection();
    if (const auto color = m_prompts.color(m_parent, initial))
        setColors(*color, std::nullopt);
}

void PageFormatter::setColors(std::optional<QColor> text, std::optional<QColor> background)
{
    if (background)
        m_view.setBackColor(*background);
    if (text) {
        m_view.selectWholeText();
        m_view.setSelColor(*text);
    }
    capture();
}

void PageFormatter::chooseFont()
{
    GlobalData &data = m_data;
    m_view.collapseSelection();
    const QString name = m_view.selFontName().value_or(QString());
    m_view.selectWholeText();
    QFont initial = m_view.currentFont();
    if (!name.isEmpty())
        initial.setFamily(name);
    initial.setPointSizeF(m_view.selFontSize().value_or(initial.pointSizeF()));
    initial.setBold(m_view.selBold().value_or(false));
    initial.setItalic(m_view.selItalic().value_or(false));
    initial.setStrikeOut(m_view.selStrikethru().value_or(false));
    initial.setUnderline(m_view.selUnderline().value_or(false));

    const QFont chosen =
        m_prompts.font(m_parent, initial, MinFontSize, MaxFontSize).value_or(initial);
    m_view.setSelFontName(chosen.family());
    m_view.setSelBold(chosen.bold());
    m_view.setSelItalic(chosen.italic());
    m_view.setSelFontSize(qBound(double(MinFontSize), chosen.pointSizeF(), double(MaxFontSize)));
    m_view.setSelStrikethru(chosen.strikeOut());
    m_view.setSelUnderline(chosen.underline());

    data.FontSize = qint16(std::lround(m_view.selFontSize().value_or(data.FontSize)));
    data.FontName = chosen.family();
    data.FontBold = m_view.selBold().value_or(false) ? VTrue : VFalse;
    data.FontItalic = m_view.selItalic().value_or(false) ? VTrue : VFalse;
    m_view.collapseSelection();
}

BookPrinter::Look PageFormatter::printLook()
{
    m_view.selectWholeText();
    BookPrinter::Look look;
    look.font = m_view.currentFont();
    if (const auto name = m_view.selFontName())
        look.font.setFamily(*name);
    if (const auto size = m_view.selFontSize())
        look.font.setPointSizeF(*size);
    look.font.setBold(m_view.selBold().value_or(false));
    look.font.setItalic(m_view.selItalic().value_or(false));
    look.text = m_view.selColor().value_or(QColor(Qt::black));
    look.background = m_view.backColor();
    m_view.collapseSelection();
    return look;
}

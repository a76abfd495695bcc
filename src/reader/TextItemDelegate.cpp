#include "reader/TextItemDelegate.h"

#include <QPainter>

QString TextItemDelegate::paintPanel(QPainter *painter, const QStyleOptionViewItem &option,
                                     const QModelIndex &index, QStyleOptionViewItem &item) const
{
    item = option;
    initStyleOption(&item, index);
    QString text = item.text;
    item.text.clear();
    const QWidget *view = item.widget;
    view->style()->drawControl(QStyle::CE_ItemViewItem, &item, painter, view);
    painter->save();
    painter->setFont(item.font);
    painter->setPen(item.palette.color(
        item.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    return text;
}

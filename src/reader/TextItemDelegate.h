#pragma once

#include <QStyledItemDelegate>

// A list's item drawn by hand: the style draws its panel (background, selection, focus) and the
// delegate the text, in the item's font and the colour its state asks for.
class TextItemDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    // Draws the panel of the item at index and readies painter for its text: the item's font and
    // colour, a state the caller restores. Gives back the item's options and its text.
    QString paintPanel(QPainter *painter, const QStyleOptionViewItem &option,
                       const QModelIndex &index, QStyleOptionViewItem &item) const;
};

#include "platform/FontDialog.h"

#include <QApplication>
#include <QIntValidator>
#include <QLineEdit>
#include <QListView>
#include <QStringListModel>
#include <QToolTip>

namespace {

// The dialog's own size box is the one line edit that takes whole numbers only.
QLineEdit *sizeBox(const QFontDialog &dialog)
{
    const QList<QLineEdit *> edits = dialog.findChildren<QLineEdit *>();
    for (QLineEdit *edit : edits) {
        if (qobject_cast<const QIntValidator *>(edit->validator()))
            return edit;
    }
    return nullptr;
}

// The dialog's size list is the list whose entries are all whole numbers.
QStringListModel *sizeList(const QFontDialog &dialog)
{
    const QList<QListView *> lists = dialog.findChildren<QListView *>();
    for (QListView *list : lists) {
        auto *model = qobject_cast<QStringListModel *>(list->model());
        if (!model || model->rowCount() == 0)
            continue;
        bool numbers = true;
        for (const QString &entry : model->stringList())
            entry.toInt(&numbers);
        if (numbers)
            return model;
    }
    return nullptr;
}

} // namespace

FontDialog::FontDialog(const QFont &initial, int minSize, int maxSize, QWidget *parent)
    : QFontDialog(initial, parent), m_min(minSize), m_max(maxSize)
{
    // The desktop's own dialog would know nothing of the range.
    setOption(QFontDialog::DontUseNativeDialog);
    setOption(QFontDialog::ScalableFonts);
    if (QLineEdit *box = sizeBox(*this))
        box->setValidator(new QIntValidator(m_min, m_max, box));
    // The list is filled anew for every family and style chosen.
    if (QStringListModel *sizes = sizeList(*this)) {
        connect(sizes, &QAbstractItemModel::modelReset, this, &FontDialog::keepSizesInRange);
        keepSizesInRange();
    }
}

void FontDialog::keepSizesInRange()
{
    QStringListModel *sizes = sizeList(*this);
    if (!sizes || m_filtering)
        return;
    QStringList kept;
    for (const QString &entry : sizes->stringList()) {
        const int size = entry.toInt();
        if (size >= m_min && size <= m_max)
            kept.append(entry);
    }
    if (kept.size() == sizes->rowCount())
        return;
    m_filtering = true;
    sizes->setStringList(kept);
    m_filtering = false;
}

void FontDialog::done(int result)
{
    const double size = currentFont().pointSizeF();
    if (result == Accepted && (size < m_min || size > m_max)) {
        QApplication::beep();
        QLineEdit *box = sizeBox(*this);
        QWidget *anchor = box ? static_cast<QWidget *>(box) : this;
        QToolTip::showText(
            anchor->mapToGlobal(QPoint(0, anchor->height())),
            QStringLiteral("Choose a size from %1 to %2 points.").arg(m_min).arg(m_max), anchor);
        if (box) {
            box->setFocus();
            box->selectAll();
        }
        return;
    }
    QFontDialog::done(result);
}

#include "reader/ContentsPanel.h"

#include "reader/SidePanel.h"
#include "reader/TextItemDelegate.h"

#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QTextLayout>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int kEntryRole = Qt::UserRole;
constexpr int kPageRole = Qt::UserRole + 1;
constexpr int kLevelRole = Qt::UserRole + 2;
// Each level below the first is set in by this many pixels.
constexpr int kIndent = 10;
constexpr int kMargin = 3;

// An entry: its title, wrapped onto as many lines as the panel's width needs and set in by its
// level, and the page it begins on at the right of its first line.
class EntryDelegate : public TextItemDelegate
{
public:
    explicit EntryDelegate(QListWidget *list) : TextItemDelegate(list), m_list(list) { }

    // The widest page number of the list, which the titles keep clear of.
    void setPageText(const QString &widest) { m_widestPage = widest; }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem item;
        const QString title = paintPanel(painter, option, index, item);
        const QRect room = item.rect.adjusted(kMargin, 1, -kMargin, 0);
        painter->drawText(room, Qt::AlignRight | Qt::AlignTop, index.data(kPageRole).toString());
        painter->drawText(titleRect(room, item.fontMetrics, index), title, wrapping());
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QRect room(0, 0, m_list->viewport()->width() - 2 * kMargin, 0);
        QTextLayout layout(item.text, item.font);
        layout.setTextOption(wrapping());
        const qreal width = titleRect(room, item.fontMetrics, index).width();
        qreal height = 0;
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            height += line.height();
        }
        layout.endLayout();
        return {room.width(), int(std::ceil(height)) + 2};
    }

private:
    // At blanks where it can, anywhere in a word too long for a line.
    static QTextOption wrapping()
    {
        QTextOption option(Qt::AlignLeft | Qt::AlignTop);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        return option;
    }

    // Left of the page number, set in by the level.
    QRectF titleRect(const QRect &room, const QFontMetrics &metrics, const QModelIndex &index) const
    {
        const int page = metrics.horizontalAdvance(m_widestPage) + kMargin;
        const int indent = kIndent * (qMax(1, index.data(kLevelRole).toInt()) - 1);
        return room.adjusted(indent, 0, -page, 0);
    }

    QListWidget *m_list;
    QString m_widestPage = QStringLiteral("000");
};

} // namespace

ContentsPanel::ContentsPanel(QWidget *parent) : QGroupBox(QStringLiteral("Contents"), parent)
{
    setObjectName(QStringLiteral("frmContents"));
    m_close = SidePanel::dress(this, "cmdCloseContents", QStringLiteral("Close Contents"));

    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("txtContentsFilter"));
    m_filter->setPlaceholderText(QStringLiteral("Type to narrow"));
    m_filter->setClearButtonEnabled(true);

    // The panel is narrow: a long title takes the lines it needs.
    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("lstContents"));
    m_entries = new EntryDelegate(m_list);
    m_list->setItemDelegate(m_entries);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto *empty = new QWidget;
    m_note = new QLabel(empty);
    m_note->setObjectName(QStringLiteral("lblContentsNote"));
    m_note->setWordWrap(true);
    m_note->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    auto *emptyLayout = new QVBoxLayout(empty);
    emptyLayout->setContentsMargins(2, 4, 2, 4);
    emptyLayout->addWidget(m_note);
    emptyLayout->addStretch();

    m_pages = new QStackedWidget(this);
    m_pages->addWidget(m_list);
    m_pages->addWidget(empty);

    m_pattern = new QPushButton(QStringLiteral("Chapter Pattern..."), this);
    m_pattern->setObjectName(QStringLiteral("cmdChapterPattern"));
    m_automatic = new QPushButton(QStringLiteral("Automatic"), this);
    m_automatic->setObjectName(QStringLiteral("cmdChapterAutomatic"));
    m_automatic->setToolTip(QStringLiteral("Find the chapters by their headings again"));

    // The close button sits in the frame's top right corner, as the file panel's does.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(m_filter);
    layout->addWidget(m_pages, 1);
    layout->addWidget(m_pattern);
    layout->addWidget(m_automatic);

    connect(m_close, &QToolButton::clicked, this, &ContentsPanel::closeClicked);
    connect(m_pattern, &QPushButton::clicked, this, &ContentsPanel::patternAsked);
    connect(m_automatic, &QPushButton::clicked, this, &ContentsPanel::automaticAsked);
    connect(m_filter, &QLineEdit::textChanged, this, &ContentsPanel::narrow);
    connect(m_filter, &QLineEdit::returnPressed, this, [this] {
        choose(m_list->currentItem() && !m_list->currentItem()->isHidden() ? m_list->currentItem()
                                                                           : firstShown());
    });
    connect(m_list, &QListWidget::itemActivated, this, &ContentsPanel::choose);
    m_list->installEventFilter(this);
    showNote(QString());
}

void ContentsPanel::setEntries(const QList<Chapter> &entries, const QList<int> &pages,
                               bool byPattern)
{
    m_list->clear();
    m_current = -1;
    static_cast<EntryDelegate *>(m_entries)->setPageText(
        QString(QString::number(pages.isEmpty() ? 0 : pages.last() + 1).size(), u'0'));
    for (qsizetype i = 0; i < entries.size(); ++i) {
        auto *item = new QListWidgetItem(entries[i].title, m_list);
        item->setData(kEntryRole, int(i));
        item->setData(kPageRole, pages.value(i) + 1);
        item->setData(kLevelRole, entries[i].level);
        item->setToolTip(entries[i].title);
    }
    m_automatic->setVisible(byPattern);
    if (entries.isEmpty()) {
        showNote(byPattern ? QStringLiteral("The chapter pattern finds no line of this book.")
                           : QStringLiteral("No chapters were found in this book. A chapter "
                                            "pattern can tell where they begin."));
        return;
    }
    m_pages->setCurrentWidget(m_list);
    m_filter->setEnabled(true);
    narrow(m_filter->text());
}

void ContentsPanel::showNote(const QString &note)
{
    m_note->setText(note);
    m_pages->setCurrentIndex(1);
    m_filter->setEnabled(false);
}

void ContentsPanel::setCurrent(int entry)
{
    if (QListWidgetItem *was = m_list->item(m_current))
        was->setData(Qt::FontRole, QVariant());
    m_current = entry;
    QListWidgetItem *item = m_list->item(entry);
    if (!item)
        return;
    QFont bold = m_list->font();
    bold.setBold(true);
    item->setFont(bold);
    m_list->setCurrentItem(item);
    m_list->scrollToItem(item);
}

void ContentsPanel::narrow(const QString &typed)
{
    const QString wanted = typed.trimmed();
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem *item = m_list->item(row);
        item->setHidden(!wanted.isEmpty() && !item->text().contains(wanted, Qt::CaseInsensitive));
    }
}

void ContentsPanel::choose(QListWidgetItem *item)
{
    if (item)
        Q_EMIT pageChosen(item->data(kPageRole).toInt() - 1);
}

QListWidgetItem *ContentsPanel::firstShown() const
{
    for (int row = 0; row < m_list->count(); ++row) {
        if (!m_list->item(row)->isHidden())
            return m_list->item(row);
    }
    return nullptr;
}

// Typing in the list narrows it: the keys that make text go to the filter.
bool ContentsPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        if (!text.isEmpty() && text.at(0).isPrint()
            && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            m_filter->setFocus();
            m_filter->insert(text);
            return true;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

void ContentsPanel::resizeEvent(QResizeEvent *event)
{
    QGroupBox::resizeEvent(event);
    const int side = m_close->sizeHint().height();
    m_close->setGeometry(width() - side, 0, side, side);
}

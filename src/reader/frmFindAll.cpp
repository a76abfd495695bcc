#include "reader/frmFindAll.h"

#include "platform/BusyCursor.h"
#include "reader/TextItemDelegate.h"

#include <QAbstractListModel>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTextLayout>

// The occurrences found, a row each, each row's page and line worked out when it is shown.
class MatchList : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    static constexpr int MatchRole = Qt::UserRole; // the match's start and length in the line

    void set(const Book *book, const QString &text, std::vector<qsizetype> offsets)
    {
        beginResetModel();
        m_book = book;
        m_text = text;
        m_offsets = std::move(offsets);
        endResetModel();
    }
    qsizetype offsetAt(int row) const { return m_offsets[size_t(row)]; }

    int rowCount(const QModelIndex &parent) const override
    {
        return parent.isValid() ? 0 : int(m_offsets.size());
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!m_book || !index.isValid() || (role != Qt::DisplayRole && role != MatchRole))
            return {};
        const BookSearch::Place place = BookSearch::placeOf(*m_book, offsetAt(index.row()), m_text);
        const QString page = QStringLiteral("page %1: ").arg(place.page + 1);
        if (role == MatchRole)
            return QPoint(int(page.size()) + place.lineStart, place.length);
        return QString(page + place.line);
    }

private:
    const Book *m_book = nullptr;
    QString m_text;
    std::vector<qsizetype> m_offsets;
};

namespace {

// A row with its match in bold.
class MatchDelegate : public TextItemDelegate
{
public:
    using TextItemDelegate::TextItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem item;
        const QString text = paintPanel(painter, option, index, item);
        const QPoint match = index.data(MatchList::MatchRole).toPoint();
        QTextLayout layout(text, item.font);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        layout.setFormats({{match.x(), match.y(), bold}});
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        painter->setClipRect(item.rect);
        layout.draw(painter, item.rect.topLeft() + QPointF(3, 1));
        painter->restore();
    }
};

} // namespace

frmFindAll::frmFindAll(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFindAll"));
    setWindowTitle(QStringLiteral("Find All"));
    txtFind = new QLineEdit(this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    chkMatchCase = new QCheckBox(QStringLiteral("Match &case"), this);
    chkMatchCase->setObjectName(QStringLiteral("chkMatchCase"));
    chkWholeWords = new QCheckBox(QStringLiteral("&Whole words"), this);
    chkWholeWords->setObjectName(QStringLiteral("chkWholeWords"));
    auto *find = new QPushButton(QStringLiteral("&Find"), this);
    find->setObjectName(QStringLiteral("cmdFind"));
    find->setDefault(true);
    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    m_matches = new MatchList(this);
    lstMatches = new QListView(this);
    lstMatches->setObjectName(QStringLiteral("lstMatches"));
    lstMatches->setModel(m_matches);
    lstMatches->setItemDelegate(new MatchDelegate(lstMatches));
    lstMatches->setUniformItemSizes(true);

    auto *layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Find what:"), this), 0, 0);
    layout->addWidget(txtFind, 0, 1, 1, 2);
    layout->addWidget(find, 0, 3);
    layout->addWidget(chkMatchCase, 1, 1);
    layout->addWidget(chkWholeWords, 1, 2);
    layout->addWidget(lblCount, 2, 0, 1, 4);
    layout->addWidget(lstMatches, 3, 0, 1, 4);
    layout->setColumnStretch(2, 1);
    resize(560, 420);

    connect(find, &QPushButton::clicked, this, &frmFindAll::cmdFind_Click);
    connect(lstMatches, &QListView::activated, this,
            [this](const QModelIndex &index) { Q_EMIT chosen(m_matches->offsetAt(index.row())); });
}

void frmFindAll::setBook(const Book *book)
{
    m_book = book;
    m_matches->set(book, {}, {});
    lblCount->clear();
}

// The count comes with the list: one scan of the book gives both.
void frmFindAll::cmdFind_Click()
{
    m_text = txtFind->text();
    m_options = {chkMatchCase->isChecked(), chkWholeWords->isChecked()};
    if (!m_book || m_text.isEmpty()) {
        m_matches->set(m_book, {}, {});
        lblCount->setText(m_book ? QString() : QStringLiteral("please open a book first"));
        Q_EMIT searched();
        return;
    }
    qsizetype total = 0;
    std::vector<qsizetype> offsets;
    {
        const BusyCursor busy(this);
        offsets = BookSearch::findAll(*m_book, m_text, m_options, MaxListed, &total);
    }
    m_matches->set(m_book, m_text, std::move(offsets));
    if (total == 0)
        lblCount->setText(QStringLiteral("No match"));
    else if (total <= MaxListed)
        lblCount->setText(total == 1 ? QStringLiteral("1 match")
                                     : QStringLiteral("%L1 matches").arg(total));
    else
        lblCount->setText(
            QStringLiteral("%L1 matches; the list shows the first %L2").arg(total).arg(MaxListed));
    Q_EMIT searched();
}

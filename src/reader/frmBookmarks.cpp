#include "reader/frmBookmarks.h"

#include "platform/Prompts.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

frmBookmarks::frmBookmarks(Prompts &prompts, const QList<Bookmark> &bookmarks,
                           const QList<Bookmarks::Place> &places, const QList<int> &pages,
                           QWidget *parent)
    : QDialog(parent), m_prompts(prompts), m_bookmarks(bookmarks), m_places(places), m_pages(pages)
{
    setObjectName(QStringLiteral("frmBookmarks"));
    setWindowTitle(QStringLiteral("Bookmarks"));
    lstBookmarks = new QListWidget(this);
    lstBookmarks->setObjectName(QStringLiteral("lstBookmarks"));
    auto *buttons = new QVBoxLayout;
    const auto button = [&](const char *name, const QString &caption,
                            void (frmBookmarks::*click)()) {
        auto *pushButton = new QPushButton(caption, this);
        pushButton->setObjectName(QLatin1String(name));
        pushButton->setAutoDefault(false);
        connect(pushButton, &QPushButton::clicked, this, click);
        buttons->addWidget(pushButton);
        m_rowButtons.append(pushButton);
    };
    button("cmdGoTo", QStringLiteral("&Go To"), &frmBookmarks::cmdGoTo_Click);
    button("cmdRename", QStringLiteral("&Rename..."), &frmBookmarks::cmdRename_Click);
    button("cmdRemove", QStringLiteral("Re&move"), &frmBookmarks::cmdRemove_Click);
    buttons->addStretch();
    auto *close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(close);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(lstBookmarks, 1);
    layout->addLayout(buttons);
    resize(520, 320);
    connect(lstBookmarks, &QListWidget::itemActivated, this, &frmBookmarks::cmdGoTo_Click);
    connect(lstBookmarks, &QListWidget::currentRowChanged, this, [this](int row) {
        for (QPushButton *b : std::as_const(m_rowButtons))
            b->setEnabled(row >= 0);
    });
    fill();
}

void frmBookmarks::fill()
{
    const int row = lstBookmarks->currentRow();
    lstBookmarks->clear();
    for (int i = 0; i < m_places.size(); ++i) {
        const Bookmarks::Place &place = m_places[i];
        QString text = m_bookmarks[place.index].name;
        if (place.moved)
            text += QStringLiteral(" (moved)");
        lstBookmarks->addItem(text + QStringLiteral("\tpage %1").arg(m_pages.value(i) + 1));
    }
    lstBookmarks->setCurrentRow(qMin(row < 0 ? 0 : row, lstBookmarks->count() - 1));
}

int frmBookmarks::chosen() const
{
    const int row = lstBookmarks->currentRow();
    return row < 0 ? -1 : m_places[row].index;
}

void frmBookmarks::cmdGoTo_Click()
{
    const int row = lstBookmarks->currentRow();
    if (row < 0)
        return;
    m_chosen = m_pages.value(row);
    accept();
}

void frmBookmarks::cmdRename_Click()
{
    const int index = chosen();
    if (index < 0)
        return;
    const std::optional<QString> name =
        m_prompts.askLine(this, QStringLiteral("The bookmark's new name:"),
                          QStringLiteral("Rename Bookmark"), m_bookmarks[index].name);
    if (!name || name->trimmed().isEmpty())
        return;
    m_bookmarks[index].name = name->trimmed();
    fill();
}

// The bookmark goes; the others keep their places in the list.
void frmBookmarks::cmdRemove_Click()
{
    const int row = lstBookmarks->currentRow();
    if (row < 0)
        return;
    const int index = m_places[row].index;
    m_bookmarks.removeAt(index);
    m_places.removeAt(row);
    m_pages.removeAt(row);
    for (Bookmarks::Place &place : m_places) {
        if (place.index > index)
            --place.index;
    }
    fill();
}

#include "reader/RecentBooksMenu.h"

#include "book/BaseName.h"

#include <QAction>

RecentBooksMenu::RecentBooksMenu(QWidget *parent) : QMenu(QStringLiteral("Recent &Books"), parent)
{
    setObjectName(QStringLiteral("mnuFileRecent"));
    menuAction()->setObjectName(QStringLiteral("mnuFileRecent"));
    setToolTipsVisible(true);
    setBooks({});
}

void RecentBooksMenu::setBooks(const QStringList &paths)
{
    clear();
    for (int i = 0; i < paths.size(); ++i) {
        const QString title = BaseName(paths[i]).replace(u'&', QStringLiteral("&&"));
        QAction *item = addAction(QStringLiteral("&%1 %2").arg((i + 1) % 10).arg(title));
        item->setObjectName(QStringLiteral("mnuFileRecent%1").arg(i + 1));
        item->setToolTip(paths[i]);
        const QString path = paths[i];
        connect(item, &QAction::triggered, this, [this, path] { Q_EMIT bookChosen(path); });
    }
    if (!paths.isEmpty())
        addSeparator();
    QAction *clearItem = addAction(QStringLiteral("Clear Recent Books"));
    clearItem->setObjectName(QStringLiteral("mnuFileRecentClear"));
    clearItem->setEnabled(!paths.isEmpty());
    connect(clearItem, &QAction::triggered, this, &RecentBooksMenu::clearChosen);
}

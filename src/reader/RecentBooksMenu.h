#pragma once

#include <QMenu>
#include <QStringList>

// File > Recent Books: the books opened last, newest first, each by its title with access keys
// 1 to 9 and 0 and its path as tooltip, then "Clear Recent Books". Which books are listed is the
// book history's, opening one the reader's.
class RecentBooksMenu : public QMenu
{
    Q_OBJECT
    Q_DISABLE_COPY(RecentBooksMenu)

public:
    explicit RecentBooksMenu(QWidget *parent = nullptr);

    void setBooks(const QStringList &paths);

Q_SIGNALS:
    void bookChosen(const QString &path);
    void clearChosen();
};

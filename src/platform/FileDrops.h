#pragma once

#include <QObject>

class QWidget;

// Takes a file dropped from the desktop onto a window: the window accepts drops of local files
// and hears of the first one dropped.
class FileDrops : public QObject
{
    Q_OBJECT

public:
    explicit FileDrops(QWidget *window);

Q_SIGNALS:
    void dropped(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

#include "platform/FileDrops.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

FileDrops::FileDrops(QWidget *window) : QObject(window)
{
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

bool FileDrops::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::DragEnter && event->type() != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto *drop = static_cast<QDropEvent *>(event);
    const QList<QUrl> urls = drop->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return false;
    drop->acceptProposedAction();
    if (event->type() == QEvent::Drop)
        Q_EMIT dropped(urls.first().toLocalFile());
    return true;
}

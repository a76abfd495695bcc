#include "texttools/FileDeletion.h"

#include <QFile>
#include <QFileInfo>

bool deleteListedFile(const QString &path, QString *error)
{
    const QFileInfo info(path);
    QString why;
    if (path.isEmpty() || (!info.exists() && !info.isSymLink())) {
        why = QStringLiteral("no such file");
    } else if (info.isDir() && !info.isSymLink()) {
        why = QStringLiteral("a folder");
    } else {
        // QFile::remove unlinks the name given, so a link goes and its target stays.
        QFile file(path);
        if (file.remove())
            return true;
        why = file.errorString();
    }
    if (error)
        *error = why;
    return false;
}

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

QStringList deleteListedFiles(const QStringList &files, ToolProgress &progress)
{
    QStringList kept;
    QStringList failures;
    for (qsizetype n = 0; n < files.size(); ++n) {
        QString why;
        if (!deleteListedFile(files.at(n), &why)) {
            kept.append(files.at(n));
            failures.append(files.at(n) + QStringLiteral(" (") + why + u')');
        }
        progress.setStatus(n + 1 < files.size() ? files.at(n + 1) : QString());
    }
    if (failures.isEmpty())
        progress.setStatus(QStringLiteral("All selected files deleted"));
    else
        progress.setStatus(QStringLiteral("Could not delete: ")
                           + failures.join(QStringLiteral(", ")));
    return kept;
}

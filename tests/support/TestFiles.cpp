#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace TestFiles {

QString write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

QByteArray read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray lines(int n, const QByteArray &lineEnd)
{
    QByteArray bytes;
    for (int i = 1; i <= n; ++i)
        bytes += "line " + QByteArray::number(i) + lineEnd;
    return bytes;
}

} // namespace TestFiles

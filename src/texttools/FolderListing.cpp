#include "texttools/FolderListing.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace {

bool listable(const QString &folder)
{
    const QFileInfo info(folder);
    return !folder.isEmpty() && info.isDir() && info.isReadable() && info.isExecutable();
}

std::optional<QStringList> entries(const QString &folder, const QStringList &patterns,
                                   QDir::Filters filters)
{
    if (!listable(folder))
        return std::nullopt;
    QDir dir(folder);
    dir.setNameFilters(patterns);
    return dir.entryList(filters, QDir::Name);
}

} // namespace

namespace FolderListing {

std::optional<QStringList> subfolders(const QString &folder)
{
    return entries(folder, {}, QDir::Dirs | QDir::NoDotAndDotDot);
}

bool hasSubfolders(const QString &folder)
{
    if (!listable(folder))
        return false;
    QDirIterator it(folder, QDir::Dirs | QDir::NoDotAndDotDot);
    return it.hasNext();
}

std::optional<QStringList> textFiles(const QString &folder)
{
    return entries(folder, {QStringLiteral("*.txt")}, QDir::Files);
}

} // namespace FolderListing

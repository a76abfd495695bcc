#include "platform/Drives.h"

#include <QStorageInfo>

#include <algorithm>

namespace {

DriveInfo::Type typeOf(const QStorageInfo &volume)
{
    const QByteArray fs = volume.fileSystemType();
    if (fs == "iso9660" || fs == "udf")
        return DriveInfo::Type::CdRom;
    const QString root = volume.rootPath();
    if (root.startsWith(QStringLiteral("/media/"))
        || root.startsWith(QStringLiteral("/run/media/")))
        return DriveInfo::Type::Removable;
    return DriveInfo::Type::Fixed;
}

// Pseudo file systems hold no books.
bool isPseudo(const QStorageInfo &volume)
{
    static const QList<QByteArray> pseudo = {
        "proc",    "sysfs",  "devtmpfs",    "devpts",  "cgroup", "cgroup2",   "securityfs",
        "pstore",  "bpf",    "debugfs",     "tracefs", "mqueue", "hugetlbfs", "configfs",
        "fusectl", "autofs", "binfmt_misc", "nsfs",    "overlay"};
    return pseudo.contains(volume.fileSystemType()) && volume.rootPath() != QStringLiteral("/");
}

} // namespace

QList<DriveInfo> SystemDrives::list() const
{
    QList<DriveInfo> drives;
    const QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
    for (const QStorageInfo &volume : volumes) {
        if (isPseudo(volume))
            continue;
        QString root = volume.rootPath();
        if (!root.endsWith(u'/'))
            root += u'/';
        DriveInfo drive;
        drive.rootPath = root;
        drive.displayName = volume.displayName() == volume.rootPath()
            ? root
            : QStringLiteral("%1 [%2]").arg(root, volume.displayName());
        drive.type = typeOf(volume);
        drive.ready = volume.isValid() && volume.isReady();
        drives.append(drive);
    }
    std::stable_sort(drives.begin(), drives.end(), [](const DriveInfo &a, const DriveInfo &b) {
        return a.rootPath.size() == 1 && b.rootPath.size() != 1;
    });
    if (drives.isEmpty() || drives.first().rootPath != QStringLiteral("/"))
        drives.prepend({QStringLiteral("/"), QStringLiteral("/"), DriveInfo::Type::Fixed, true});
    return drives;
}

#pragma once

#include <QList>
#include <QString>

// The mounted volumes of this desktop, as the drive lists show them.
struct DriveInfo
{
    enum class Type { Removable, Fixed, CdRom, Other };

    QString rootPath; // the volume's root folder, ending in "/"
    QString displayName; // what a drive list shows for it
    Type type = Type::Fixed;
    bool ready = true; // false: no medium, or not readable now
};

class Drives
{
public:
    virtual ~Drives() = default;
    // The volumes in the order the lists show them; the root folder "/" first.
    virtual QList<DriveInfo> list() const = 0;
};

// The real volumes, from QStorageInfo.
class SystemDrives : public Drives
{
public:
    QList<DriveInfo> list() const override;
};

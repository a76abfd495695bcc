#pragma once

#include "platform/Drives.h"

// Volumes a test sets up, usually folders of its own temporary folder.
class FakeDrives : public Drives
{
public:
    QList<DriveInfo> list() const override { return drives; }
    QList<DriveInfo> drives;
};

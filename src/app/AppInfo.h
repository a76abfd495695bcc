#pragma once

#include <QString>

// The program's title and version, as shown in captions and the About box.
namespace AppInfo {

inline QString title()
{
    return QStringLiteral("Pagelark");
}
inline QString version()
{
    return QStringLiteral(PAGELARK_VERSION);
}
inline int versionMajor()
{
    return PAGELARK_VERSION_MAJOR;
}
inline int versionMinor()
{
    return PAGELARK_VERSION_MINOR;
}
inline int versionPatch()
{
    return PAGELARK_VERSION_PATCH;
}

} // namespace AppInfo

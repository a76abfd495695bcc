#pragma once

#include "platform/Registry.h"

#include <QString>

// Where the registry says the system information tool is, and how one value is read as text.
namespace SysInfo {

// Opening a key asks for these rights: query, set, create subkey, enumerate subkeys, notify,
// create link and read control. Where a user may only read the key the open fails.
constexpr quint32 KeyAccess = 0x2003F;
// Characters (bytes) a value may have, its terminating NUL included.
constexpr quint32 ValueBufferSize = 1024;

// The key that holds the tool's full path, and its value.
QString pathKey();
QString pathValue();
// The key that holds the tool's folder, its value, and the tool's file name in that folder
// (joined to the folder with one "/").
QString locationKey();
QString locationValue();
QString programFile();

// Reads the value SubKeyRef of key KeyName under KeyRoot into KeyVal. A string value is cut
// before its first NUL; a 32-bit number becomes "&h" and its hexadecimal digits; a value of any
// other type succeeds and leaves KeyVal as it was. A key that does not open, a missing value and
// a value longer than the buffer fail and empty KeyVal.
bool GetKeyValue(Registry &registry, Registry::Key KeyRoot, const QString &KeyName,
                 const QString &SubKeyRef, QString &KeyVal);

} // namespace SysInfo

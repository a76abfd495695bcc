#include "about/SysInfo.h"

#include <QtEndian>

namespace SysInfo {

QString pathKey()
{
    return QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
}

QString pathValue()
{
    return QStringLiteral("PATH");
}

QString locationKey()
{
    return QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
}

QString locationValue()
{
    return QStringLiteral("MSINFO");
}

QString programFile()
{
    return QStringLiteral("MSINFO32.EXE");
}

bool GetKeyValue(Registry &registry, Registry::Key KeyRoot, const QString &KeyName,
                 const QString &SubKeyRef, QString &KeyVal)
{
    bool result = false;
    Registry::Key key = 0;
    if (registry.openKey(KeyRoot, KeyName, KeyAccess, key) != Registry::NoError) {
        KeyVal.clear();
    } else {
        QByteArray buffer(int(ValueBufferSize), '\0');
        quint32 size = ValueBufferSize;
        quint32 type = Registry::NoValue;
        if (registry.queryValue(key, SubKeyRef, type, buffer, size) != Registry::NoError) {
            KeyVal.clear();
        } else {
            result = true;
            if (type == Registry::StringValue) {
                const qsizetype end = buffer.indexOf('\0');
                KeyVal = QString::fromLocal8Bit(end < 0 ? buffer : buffer.left(end));
            } else if (type == Registry::DWordValue) {
                // The number is read from its four bytes, not from the text cut at a NUL,
                // which would lose every number with a zero byte.
                quint32 number = 0;
                if (buffer.size() >= 4)
                    number = qFromLittleEndian<quint32>(buffer.constData());
                KeyVal = QStringLiteral("&h") + QString::number(number, 16).toUpper();
            }
        }
    }
    registry.closeKey(key);
    return result;
}

} // namespace SysInfo

#include "platform/Registry.h"

#include <QStandardPaths>

#include <utility>

namespace {

// The one key this registry holds.
constexpr Registry::Key kSystemInformationKey = 1;

} // namespace

DesktopRegistry::DesktopRegistry(QStringList programs) : m_programs(std::move(programs)) { }

QStringList DesktopRegistry::systemInformationPrograms()
{
    return {QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-system-monitor"), QStringLiteral("xfce4-taskmanager"),
            QStringLiteral("lxtask")};
}

QString DesktopRegistry::systemInformationKey()
{
    return QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
}

QString DesktopRegistry::systemInformationValue()
{
    return QStringLiteral("PATH");
}

QString DesktopRegistry::findProgram() const
{
    for (const QString &program : m_programs) {
        const QString path = QStandardPaths::findExecutable(program);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

long DesktopRegistry::openKey(Key root, const QString &subKey, quint32 access, Key &key)
{
    Q_UNUSED(access); // the key is the desktop's to answer, not the user's to change
    key = 0;
    if (root != LocalMachine || subKey.compare(systemInformationKey(), Qt::CaseInsensitive) != 0
        || findProgram().isEmpty())
        return FileNotFound;
    key = kSystemInformationKey;
    return NoError;
}

long DesktopRegistry::queryValue(Key key, const QString &name, quint32 &type, QByteArray &data,
                                 quint32 &size)
{
    if (key != kSystemInformationKey
        || name.compare(systemInformationValue(), Qt::CaseInsensitive) != 0)
        return FileNotFound;
    const QString program = findProgram();
    if (program.isEmpty())
        return FileNotFound;
    QByteArray bytes = program.toLocal8Bit();
    bytes.append('\0');
    if (quint32(bytes.size()) > size) {
        size = quint32(bytes.size());
        return MoreData;
    }
    type = StringValue;
    data = bytes;
    size = quint32(bytes.size());
    return NoError;
}

long DesktopRegistry::closeKey(Key key)
{
    Q_UNUSED(key);
    return NoError;
}

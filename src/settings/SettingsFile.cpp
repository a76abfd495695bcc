#include "settings/SettingsFile.h"

#include "settings/RecordCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

QString ConfigFolderPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Pagelark");
}

QString ConfigFilePath()
{
    return ConfigFolderPath() + QStringLiteral("/config.ini");
}

namespace {

SettingsFileResult failure(const QString &fileName, const QString &why)
{
    return {false, QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(fileName), why)};
}

SettingsFileResult readRecord(const QString &fileName, GlobalData &data)
{
    data.LastBook.clear();
    data.FavoritePath.clear();
    data.FavoriteDrive.clear();
    data.FontName.clear();
    data.BackColor = {};
    data.ForeColor = {};

    QFile file(fileName);
    if (!QFileInfo::exists(fileName)) {
        QDir().mkpath(QFileInfo(fileName).absolutePath());
        if (!file.open(QIODevice::WriteOnly))
            return failure(fileName, file.errorString());
        return {};
    }
    if (QFileInfo(fileName).isDir())
        return failure(fileName, QStringLiteral("is a folder, not a file"));
    if (!file.open(QIODevice::ReadOnly))
        return failure(fileName, file.errorString());
    // The longest record: 36 bytes and four strings of at most 65535 bytes each.
    const QByteArray bytes = file.read(36 + 4 * 0xFFFF);
    RecordCodec::decode(bytes, data);
    return {};
}

SettingsFileResult writeRecord(const QString &fileName, const GlobalData &data)
{
    if (QFileInfo(fileName).isDir())
        return failure(fileName, QStringLiteral("is a folder, not a file"));
    QDir().mkpath(QFileInfo(fileName).absolutePath());

    QByteArray bytes = RecordCodec::encode(data);
    QFile old(fileName);
    if (old.open(QIODevice::ReadOnly)) {
        const QByteArray previous = old.readAll();
        if (previous.size() > bytes.size())
            bytes.append(previous.constData() + bytes.size(), previous.size() - bytes.size());
    }

    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return failure(fileName, file.errorString());
    // The explicit flush matters: QSaveFile::commit() does not see a write that fails while it
    // flushes its buffer (a full disk, a size limit) and would put a cut record in place.
    if (file.write(bytes) != bytes.size() || !file.flush())
        return failure(
            fileName,
            QStringLiteral("the settings could not be written whole (%1)").arg(file.errorString()));
    if (!file.commit())
        return failure(fileName, file.errorString());
    return {};
}

} // namespace

SettingsFileResult SaveLoadGlobalData(const QString &fileName, bool save, GlobalData &data)
{
    const SettingsFileResult result =
        save ? writeRecord(fileName, data) : readRecord(fileName, data);
    data.applyDefaultsRule();
    return result;
}

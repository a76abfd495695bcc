#pragma once

#include "platform/Launcher.h"
#include "platform/Registry.h"

#include <QMap>
#include <QUrl>

#include <utility>

// A registry a test fills, by "key\value" paths under HKEY_LOCAL_MACHINE in any letter case.
// One key is open at a time, as the About box reads them.
class FakeRegistry : public Registry
{
public:
    // A string value goes in as the desktop stores one, with a terminating NUL.
    void set(const QString &path, const QByteArray &bytes, quint32 type = StringValue)
    {
        m_values.insert(path.toLower(), {type, type == StringValue ? bytes + '\0' : bytes});
    }

    long openKey(Key root, const QString &subKey, quint32, Key &key) override
    {
        m_key = subKey.toLower() + u'\\';
        const auto first = m_values.lowerBound(m_key);
        key = root == LocalMachine && first != m_values.end() && first.key().startsWith(m_key);
        return key ? NoError : FileNotFound;
    }

    long queryValue(Key key, const QString &name, quint32 &type, QByteArray &data,
                    quint32 &size) override
    {
        const auto found = m_values.constFind(m_key + name.toLower());
        if (!key || found == m_values.constEnd())
            return FileNotFound;
        const bool fits = quint32(found->second.size()) <= size;
        size = quint32(found->second.size());
        if (!fits)
            return MoreData;
        data.replace(0, found->second.size(), found->second); // the rest of the buffer stays
        type = found->first;
        return NoError;
    }

    long closeKey(Key) override { return NoError; }

private:
    QMap<QString, std::pair<quint32, QByteArray>> m_values; // by lower-case path
    QString m_key; // the open key's path and a separator
};

// A launcher that starts nothing: it records each program start (the program, then its
// arguments) and each address opened; a start fails when told to.
class FakeLauncher : public Launcher
{
public:
    bool startProgram(const QString &program, const QStringList &arguments, QString *) override
    {
        starts.append(QStringList {program} + arguments);
        return !failStart;
    }
    bool openUrl(const QUrl &url) override
    {
        urls.append(url);
        return true;
    }
    QString textEditor() const override { return editor; }

    QList<QStringList> starts;
    QList<QUrl> urls;
    QString editor;
    bool failStart = false;
};

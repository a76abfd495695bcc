#pragma once

#include "platform/Launcher.h"
#include "platform/Registry.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QUrl>

// A registry a test fills: keys under HKEY_LOCAL_MACHINE by path (any letter case), each with
// its values as type and bytes. A read-only key refuses an open that asks for any write right.
// Every open and close is recorded, the handle 0 of a failed open included.
class FakeRegistry : public Registry
{
public:
    struct Value
    {
        quint32 type = StringValue;
        QByteArray bytes;
    };
    struct KeyData
    {
        bool readOnly = false;
        QMap<QString, Value> values; // by lower-case name
    };

    // A string value as the desktop stores one: its bytes and a terminating NUL.
    void setString(const QString &key, const QString &name, const QByteArray &text)
    {
        setValue(key, name, StringValue, text + '\0');
    }
    void setValue(const QString &key, const QString &name, quint32 type, const QByteArray &bytes)
    {
        keys[key.toLower()].values.insert(name.toLower(), {type, bytes});
    }
    void setReadOnly(const QString &key) { keys[key.toLower()].readOnly = true; }

    long openKey(Key root, const QString &subKey, quint32 access, Key &key) override
    {
        key = 0;
        opened << subKey;
        const auto found = keys.constFind(subKey.toLower());
        if (root != LocalMachine || found == keys.constEnd())
            return FileNotFound;
        if (found->readOnly && (access & WriteAccess))
            return AccessDenied;
        handles << subKey.toLower();
        key = Key(handles.size());
        return NoError;
    }

    long queryValue(Key key, const QString &name, quint32 &type, QByteArray &data,
                    quint32 &size) override
    {
        if (key == 0 || key > Key(handles.size()))
            return FileNotFound;
        const KeyData &owner = keys[handles.at(int(key) - 1)];
        const auto found = owner.values.constFind(name.toLower());
        if (found == owner.values.constEnd())
            return FileNotFound;
        if (quint32(found->bytes.size()) > size) {
            size = quint32(found->bytes.size());
            return MoreData;
        }
        // Written over the caller's buffer, whose tail stays as it was.
        data.replace(0, found->bytes.size(), found->bytes);
        type = found->type;
        size = quint32(found->bytes.size());
        return NoError;
    }

    long closeKey(Key key) override
    {
        closed << key;
        return NoError;
    }

    QMap<QString, KeyData> keys; // by lower-case path
    QStringList opened;
    QList<Key> closed;

private:
    QStringList handles; // handle n is handles[n - 1]
};

// A launcher that starts nothing: it records each program start and each address opened, and
// fails them when told to.
class FakeLauncher : public Launcher
{
public:
    struct Start
    {
        QString program;
        QStringList arguments;
    };

    bool startProgram(const QString &program, const QStringList &arguments,
                      QString *errorText = nullptr) override
    {
        starts.append({program, arguments});
        if (failStart && errorText)
            *errorText = QStringLiteral("could not start");
        return !failStart;
    }
    bool openUrl(const QUrl &url) override
    {
        urls.append(url);
        return !failOpen;
    }
    QString textEditor() const override { return editor; }

    QList<Start> starts;
    QList<QUrl> urls;
    QString editor;
    bool failStart = false;
    bool failOpen = false;
};

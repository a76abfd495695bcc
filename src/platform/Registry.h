#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// The system registry as the About box reads it: open a key under a root with an access mask,
// query one value into a buffer of a given size, close the key. Results are status codes, 0 on
// success, as the desktop's registry reports them. Key and value names compare without regard
// to case; "\" separates the parts of a key path.
class Registry
{
public:
    using Key = quintptr; // 0: no key

    static constexpr Key LocalMachine = 0x80000002;

    // Access rights of a key; opening asks for all the rights in its mask.
    enum Access : quint32 {
        QueryValue = 0x0001,
        SetValue = 0x0002,
        CreateSubKey = 0x0004,
        EnumerateSubKeys = 0x0008,
        Notify = 0x0010,
        CreateLink = 0x0020,
        ReadControl = 0x20000,
    };
    static constexpr quint32 ReadAccess = ReadControl | QueryValue | EnumerateSubKeys | Notify;
    static constexpr quint32 WriteAccess = SetValue | CreateSubKey | CreateLink;

    enum Status : long { NoError = 0, FileNotFound = 2, AccessDenied = 5, MoreData = 234 };
    enum ValueType : quint32 {
        NoValue = 0,
        StringValue = 1,
        ExpandStringValue = 2,
        BinaryValue = 3,
        DWordValue = 4
    };

    virtual ~Registry() = default;

    // Opens subKey under root; on success key is a handle for queryValue and closeKey, on
    // failure it is 0.
    virtual long openKey(Key root, const QString &subKey, quint32 access, Key &key) = 0;
    // Reads the value named name into data, which holds at most size bytes on entry. On
    // success type is the value's type, data its bytes (a string value ends with a NUL) and
    // size their count. A value longer than size bytes fails with MoreData.
    virtual long queryValue(Key key, const QString &name, quint32 &type, QByteArray &data,
                            quint32 &size) = 0;
    virtual long closeKey(Key key) = 0;
};

// The registry of this desktop, which has none: it answers only the key that names the system
// information tool, with the full path of the first such program found on PATH, and holds
// nothing else. A lookup searches PATH again, so a program installed meanwhile is found.
class DesktopRegistry : public Registry
{
public:
    explicit DesktopRegistry(QStringList programs = systemInformationPrograms());

    static QStringList systemInformationPrograms();
    static QString systemInformationKey();
    static QString systemInformationValue();

    long openKey(Key root, const QString &subKey, quint32 access, Key &key) override;
    long queryValue(Key key, const QString &name, quint32 &type, QByteArray &data,
                    quint32 &size) override;
    long closeKey(Key key) override;

private:
    QString findProgram() const;

    QStringList m_programs;
};

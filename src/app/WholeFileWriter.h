#pragma once

#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <memory>

class QSaveFile;

// Writes a file whole or not at all. The bytes go to a temporary file beside the target, which
// takes the target's name at commit(); until then, and after a failure, cancel() or destruction,
// the target is as it was. A file that replaces an existing one is first made to reach the disk,
// so that a crash at any moment leaves the old content or the new; a new file has nothing to
// lose and is not waited for. Only a regular file is replaced: a device, a pipe or a socket of
// the target's name is refused, and stays.
class WholeFileWriter
{
public:
    explicit WholeFileWriter(const QString &fileName);
    ~WholeFileWriter();
    WholeFileWriter(const WholeFileWriter &) = delete;
    WholeFileWriter &operator=(const WholeFileWriter &) = delete;

    bool open();
    bool write(QByteArrayView bytes);
    bool commit();
    void cancel();

    // The reason of the last failure, in the system's words.
    QString errorString() const { return m_error; }
    // The open file's descriptor, for copies the system makes itself. The file is unbuffered, so
    // what went through write() is already there.
    int handle() const;

private:
    bool fail(const QString &why);
    // The open file, whichever way it is written; nullptr when none is open.
    QFileDevice *device() const;

    QString m_fileName;
    std::unique_ptr<QSaveFile> m_replacement;
    std::unique_ptr<QFile> m_newFile;
    QString m_error;
};

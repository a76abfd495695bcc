#include "app/WholeFileWriter.h"

#include "app/ReadWholeFile.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

WholeFileWriter::WholeFileWriter(const QString &fileName) : m_fileName(fileName) { }

WholeFileWriter::~WholeFileWriter()
{
    cancel();
}

bool WholeFileWriter::open()
{
    cancel();
    m_error.clear();
    const QFileInfo target(m_fileName);
    if (target.exists() && !target.isFile() && !target.isDir())
        return fail(notRegularReason());
    if (target.exists() || target.isSymLink()) {
        m_replacement = std::make_unique<QSaveFile>(m_fileName);
        if (!m_replacement->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            const QString why = m_replacement->errorString();
            m_replacement.reset();
            return fail(why);
        }
        return true;
    }
    // A name of our own beside the target, created only if nobody has it, with the permissions a
    // new file gets.
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString name = m_fileName
            + QStringLiteral(".%1.part")
                  .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        m_newFile = std::make_unique<QFile>(name);
        if (m_newFile->open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            return true;
        const bool taken = m_newFile->exists();
        const QString why = m_newFile->errorString();
        m_newFile.reset();
        if (!taken)
            return fail(why);
    }
    return fail(QStringLiteral("no free temporary name"));
}

bool WholeFileWriter::write(QByteArrayView bytes)
{
    QFileDevice *file = device();
    if (!file)
        return fail(QStringLiteral("not open"));
    if (file->write(bytes.data(), bytes.size()) != bytes.size()) {
        const QString why = file->errorString();
        cancel();
        return fail(why);
    }
    return true;
}

bool WholeFileWriter::commit()
{
    if (m_replacement) {
        const bool done = m_replacement->commit();
        const QString why = m_replacement->errorString();
        m_replacement.reset();
        return done || fail(why);
    }
    if (!m_newFile)
        return fail(QStringLiteral("not open"));
    m_newFile->close();
    if (m_newFile->error() != QFileDevice::NoError) {
        const QString why = m_newFile->errorString();
        cancel();
        return fail(why);
    }
    // The rename never replaces: a file that appeared under the name meanwhile stays.
    if (!m_newFile->rename(m_fileName)) {
        const QString why = QFileInfo::exists(m_fileName)
            ? QStringLiteral("the file appeared while it was being written")
            : m_newFile->errorString();
        cancel();
        return fail(why);
    }
    m_newFile.reset();
    return true;
}

void WholeFileWriter::cancel()
{
    if (m_replacement) {
        m_replacement->cancelWriting();
        m_replacement.reset();
    }
    if (m_newFile) {
        m_newFile->close();
        m_newFile->remove();
        m_newFile.reset();
    }
}

int WholeFileWriter::handle() const
{
    const QFileDevice *file = device();
    return file ? file->handle() : -1;
}

QFileDevice *WholeFileWriter::device() const
{
    if (m_replacement)
        return m_replacement.get();
    return m_newFile.get();
}

bool WholeFileWriter::fail(const QString &why)
{
    m_error = why;
    return false;
}

#include "texttools/Combiner.h"

#include "app/ReadWholeFile.h"
#include "app/WholeFileWriter.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace {

// Large enough that a copy costs about what a plain copy of the same files costs.
constexpr qint64 kChunk = 1 << 20;

std::filesystem::path fsPath(const QString &path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// Appends in to out, as many bytes as it held when it was opened: a file that grows meanwhile
// never makes the copy endless. The system copies between the two files itself where it can,
// without the bytes passing through the program; elsewhere they are read and written in chunks.
// A read failure is told by *readError, a write failure by out.
bool copyAll(QFile &in, WholeFileWriter &out, QString *readError)
{
    qint64 left = in.size();
    while (left > 0) {
        const ssize_t copied = ::copy_file_range(in.handle(), nullptr, out.handle(), nullptr,
                                                 size_t(qMin(left, kChunk)), 0);
        if (copied == 0)
            return true;
        if (copied < 0)
            break;
        left -= copied;
    }
    // Not between these two files (another file system, an old kernel, a pipe): copy by hand
    // from where the system stopped; a real read or write error shows again there.
    QByteArray buffer(kChunk, Qt::Uninitialized);
    while (left > 0) {
        const qint64 n = ::read(in.handle(), buffer.data(), size_t(qMin(left, kChunk)));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            *readError = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        if (n == 0)
            return true;
        if (!out.write(QByteArrayView(buffer.constData(), n)))
            return false;
        left -= n;
    }
    return true;
}

} // namespace

bool Combiner::isSameFile(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    if (a.isEmpty() || b.isEmpty())
        return false;
    std::error_code error;
    return std::filesystem::equivalent(fsPath(a), fsPath(b), error) && !error;
}

bool Combiner::combine(const QStringList &files, const QString &target, const Progress &progress)
{
    m_error.clear();
    WholeFileWriter out(target);
    if (!out.open()) {
        m_error = QStringLiteral("cannot write %1: %2").arg(target, out.errorString());
        return false;
    }
    for (int i = 0; i < files.size(); ++i) {
        QFile in;
        QString why;
        const OpenFile opened = openRegularFile(in, files.at(i), &why);
        if (opened != OpenFile::Opened) {
            if (opened == OpenFile::NotRegular)
                why = notRegularReason();
            m_error = QStringLiteral("cannot read %1: %2").arg(files.at(i), why);
            return false;
        }
        QString readError;
        if (!copyAll(in, out, &readError)) {
            if (readError.isEmpty())
                m_error = QStringLiteral("cannot write %1: %2").arg(target, out.errorString());
            else
                m_error = QStringLiteral("cannot read %1: %2").arg(files.at(i), readError);
            return false;
        }
        if (i > 0 && !out.write("\r\n")) {
            m_error = QStringLiteral("cannot write %1: %2").arg(target, out.errorString());
            return false;
        }
        if (i > 0 && progress)
            progress(i);
    }
    if (!out.commit()) {
        m_error = QStringLiteral("cannot write %1: %2").arg(target, out.errorString());
        return false;
    }
    return true;
}

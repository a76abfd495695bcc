#include "app/ReadWholeFile.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

OpenFile failWith(QString *error, int number)
{
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(number));
    return OpenFile::Failed;
}

} // namespace

void askForLargePages(char *data, qsizetype size)
{
#ifdef MADV_HUGEPAGE
    constexpr quintptr Large = 2 << 20;
    const quintptr begin = (quintptr(data) + Large - 1) & ~(Large - 1);
    const quintptr end = (quintptr(data) + quintptr(size)) & ~(Large - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(size);
#endif
}

OpenFile openRegularFile(QFile &file, const QString &path, QString *error)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile() && !info.isDir())
        return OpenFile::NotRegular;
    // Opened without waiting, and looked at again once open: the name may have been given to
    // something else in between.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failWith(error, errno);
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0) {
        const int number = errno;
        ::close(fd);
        return failWith(error, number);
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        return S_ISDIR(status.st_mode) ? failWith(error, EISDIR) : OpenFile::NotRegular;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file.setFileName(path);
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        if (error)
            *error = file.errorString();
        return OpenFile::Failed;
    }
    return OpenFile::Opened;
}

QString notRegularReason()
{
    return QStringLiteral("it is a device, a pipe or a socket, not a file");
}

bool readWholeFile(QFile &file, qint64 size, QByteArray &bytes)
{
    // Exactly the size: resize() would round a large book up to a block the allocator always
    // takes fresh from the system, paying a page fault for every 4 KB of it on every load.
    bytes = QByteArray(qsizetype(size), Qt::Uninitialized);
    askForLargePages(bytes.data(), bytes.size());
    qsizetype filled = 0;
    while (filled < bytes.size()) {
        const qint64 got = file.read(bytes.data() + filled, bytes.size() - filled);
        if (got < 0)
            return false;
        if (got == 0)
            break; // shorter than it was: it shrank meanwhile
        filled += qsizetype(got);
    }
    bytes.truncate(filled);
    return true;
}

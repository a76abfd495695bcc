#include "texttools/Combiner.h"

#include <QFile>
#include <QSaveFile>

#include <filesystem>
#include <system_error>

namespace {

// Large enough that a copy costs about what a plain copy of the same files costs.
constexpr qint64 kChunk = 1 << 20;

std::filesystem::path fsPath(const QString &path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
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
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        m_error = QStringLiteral("cannot write %1: %2").arg(target, out.errorString());
        return false;
    }
    QByteArray buffer;
    for (int i = 0; i < files.size(); ++i) {
        QFile in(files.at(i));
        if (!in.open(QIODevice::ReadOnly)) {
            m_error = QStringLiteral("cannot read %1: %2").arg(files.at(i), in.errorString());
            out.cancelWriting();
            return false;
        }
        for (;;) {
            buffer.resize(kChunk);
            const qint64 n = in.read(buffer.data(), kChunk);
            if (n < 0) {
                m_error = QStringLiteral("cannot read %1: %2").arg(files.at(i), in.errorString());
                out.cancelWriting();
                return false;
            }
            if (n == 0)
                break;
            if (out.write(buffer.constData(), n) != n)
                break;
        }
        if (i > 0)
            out.write("\r\n", 2);
        if (out.error() != QFileDevice::NoError)
            break;
        if (i > 0 && progress)
            progress(i);
    }
    // A write that fails while the buffer is flushed (a full disk) is seen only by flush():
    // commit() would put the cut file in place of the target.
    if (out.error() != QFileDevice::NoError || !out.flush()) {
        m_error = QStringLiteral("cannot write %1: %2").arg(target, out.errorString());
        out.cancelWriting();
        return false;
    }
    if (!out.commit()) {
        m_error = QStringLiteral("cannot write %1: %2").arg(target, out.errorString());
        return false;
    }
    return true;
}

#include "texttools/SourceBlocks.h"

#include "app/ReadWholeFile.h"

SourceBlocks::SourceBlocks(qsizetype blockSize) : m_blockSize(qMax<qsizetype>(blockSize, 1)) { }

bool SourceBlocks::open(const QString &path)
{
    m_path = path;
    QString why;
    switch (openRegularFile(m_file, path, &why)) {
    case OpenFile::Opened:
        m_size = m_file.size();
        m_position = 0;
        m_bytes = QByteArray();
        return true;
    case OpenFile::NotRegular:
        return fail(notRegularReason());
    case OpenFile::Failed:
        break;
    }
    return fail(why);
}

void SourceBlocks::setText(QByteArray text)
{
    m_file.close();
    m_bytes = std::move(text);
    m_size = m_bytes.size();
    m_position = 0;
}

bool SourceBlocks::rewind()
{
    m_position = 0;
    if (m_file.isOpen() && !m_file.seek(0))
        return fail(m_file.errorString());
    return true;
}

bool SourceBlocks::next(QByteArrayView *block)
{
    const qsizetype wanted = qsizetype(qMin<qint64>(m_blockSize, m_size - m_position));
    if (!m_file.isOpen()) {
        *block = QByteArrayView(m_bytes).sliced(qsizetype(m_position), wanted);
        m_position += wanted;
        return true;
    }
    if (m_bytes.size() < wanted)
        m_bytes = QByteArray(wanted, Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < wanted) {
        const qint64 got = m_file.read(m_bytes.data() + filled, wanted - filled);
        if (got < 0)
            return fail(m_file.errorString());
        if (got == 0)
            break; // it shrank meanwhile: the next block is empty
        filled += qsizetype(got);
    }
    m_position += filled;
    *block = QByteArrayView(m_bytes.constData(), filled);
    return true;
}

bool SourceBlocks::fail(const QString &why)
{
    m_error = QStringLiteral("cannot read %1: %2").arg(m_path, why);
    return false;
}

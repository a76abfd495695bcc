#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

// A tool's source read a block at a time, from its start again as often as asked, and never past
// the size it had when it was opened: a file that grows meanwhile is read that far, one that
// shrinks to its new end, so no reading waits or goes on for ever. A text held in memory is read
// in blocks the same way. What the blocks hold is the caller's.
class SourceBlocks
{
public:
    // Large enough that reading costs about what reading the file whole costs.
    static constexpr qsizetype DefaultBlockSize = 1 << 20;

    explicit SourceBlocks(qsizetype blockSize = DefaultBlockSize);

    // False when the file cannot be opened for reading, or is a device, a pipe or a socket.
    bool open(const QString &path);
    void setText(QByteArray text);
    qint64 size() const { return m_size; }
    qsizetype blockSize() const { return m_blockSize; }

    // Back to the first byte; false when the file cannot be read from there.
    bool rewind();
    // The next block, valid until the next call; empty at the end. False when it cannot be read.
    bool next(QByteArrayView *block);

    // Why the last open or read failed, as the tools report it: "cannot read PATH: why".
    const QString &error() const { return m_error; }

private:
    bool fail(const QString &why);

    qsizetype m_blockSize;
    QFile m_file;
    QString m_path;
    QByteArray m_bytes; // the text held in memory, or the block read last
    qint64 m_size = 0;
    qint64 m_position = 0;
    QString m_error;
};

#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Opening and reading the files the program is given: books, and the tools' sources.
enum class OpenFile {
    Opened,
    NotRegular, // a device, a pipe or a socket: it has no end to read to, or a reader waits on it
    Failed, // missing, unreadable or a folder
};

// Opens path for reading as an unbuffered file when it names a regular file, a link followed
// first. Anything else is refused before a byte is read, and without waiting on a pipe. On
// failure *error gets the system's words for it.
OpenFile openRegularFile(QFile &file, const QString &path, QString *error = nullptr);

// Why a file refused as NotRegular cannot be read, in words for the user.
QString notRegularReason();

// Asks the system to back a large buffer with large memory pages where it can: filling it then
// takes one page fault every 2 MB rather than every 4 KB, which on a virtual machine is most of
// the cost of reading a large file.
void askForLargePages(char *data, qsizetype size);

// Reads a file just opened into bytes, whole, in one buffer of exactly its size: the size it had
// when it was opened, which the caller took then (and may have checked), so that a file that
// grows meanwhile is read only that far. False on a read error, told by file.errorString().
bool readWholeFile(QFile &file, qint64 size, QByteArray &bytes);

#pragma once

#include <QByteArray>
#include <QFile>

// Reads a file just opened into bytes, whole, in one buffer of exactly its size where the size
// is known. False on a read error, told by file.errorString().
bool readWholeFile(QFile &file, QByteArray &bytes);

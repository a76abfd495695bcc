#pragma once

#include <QByteArray>
#include <QString>

// Whole-file reads of the tools. A failure is returned with the reason in *error; no file is left
// open.
namespace TextFileIO {

// The file's bytes.
bool readBytes(const QString &fileName, QByteArray *bytes, QString *error = nullptr);

} // namespace TextFileIO

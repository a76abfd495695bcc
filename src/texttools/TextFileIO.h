#pragma once

#include "book/TextCodec.h"

#include <QByteArray>
#include <QString>

// Whole-file reads and writes of the tools window. A failure is returned with the reason in
// *error; no file is left open.
namespace TextFileIO {

// Writes text followed by CR LF. append adds to the end (creating the file when missing);
// otherwise the file's content is replaced through a temporary file, so that a failed write
// leaves the old content whole.
bool write(const QString &text, const QString &fileName, bool append, QString *error = nullptr,
           TextEncoding encoding = TextEncoding::Utf8);

// Replaces the file's content with bytes through a temporary file.
bool writeBytes(const QString &fileName, const QByteArray &bytes, QString *error = nullptr);

// The file's bytes.
bool readBytes(const QString &fileName, QByteArray *bytes, QString *error = nullptr);

// The file's text, decoded in the encoding TextCodec::detect finds for it.
bool read(const QString &fileName, QString *text, QString *error = nullptr);

} // namespace TextFileIO

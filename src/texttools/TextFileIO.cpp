#include "texttools/TextFileIO.h"

#include "app/ReadWholeFile.h"

#include <QFile>

namespace TextFileIO {

bool readBytes(const QString &fileName, QByteArray *bytes, QString *error)
{
    QFile file;
    QString why;
    QByteArray all;
    switch (openRegularFile(file, fileName, &why)) {
    case OpenFile::Opened:
        if (readWholeFile(file, file.size(), all)) {
            *bytes = std::move(all);
            return true;
        }
        why = file.errorString();
        break;
    case OpenFile::NotRegular:
        why = notRegularReason();
        break;
    case OpenFile::Failed:
        break;
    }
    if (error)
        *error = QStringLiteral("cannot read %1: %2").arg(fileName, why);
    return false;
}

} // namespace TextFileIO

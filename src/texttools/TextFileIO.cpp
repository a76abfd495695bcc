#include "texttools/TextFileIO.h"

#include "app/ReadWholeFile.h"

#include <QFile>

namespace TextFileIO {

bool readBytes(const QString &fileName, QByteArray *bytes, QString *error)
{
    QFile file(fileName);
    QByteArray all;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) || !readWholeFile(file, all)) {
        if (error)
            *error = QStringLiteral("cannot read %1: %2").arg(fileName, file.errorString());
        return false;
    }
    *bytes = std::move(all);
    return true;
}

} // namespace TextFileIO

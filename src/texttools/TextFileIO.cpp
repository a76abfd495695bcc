#include "texttools/TextFileIO.h"

#include "app/ReadWholeFile.h"
#include "app/WholeFileWriter.h"

#include <QFile>

namespace {

bool fail(QString *error, const QString &what, const QString &fileName, const QString &why)
{
    if (error)
        *error = QStringLiteral("%1 %2: %3").arg(what, fileName, why);
    return false;
}

} // namespace

namespace TextFileIO {

bool write(const QString &text, const QString &fileName, bool append, QString *error,
           TextEncoding encoding)
{
    const QByteArray bytes = TextCodec::encode(text, encoding) + "\r\n";
    if (append) {
        QFile file(fileName);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append)
            || file.write(bytes) != bytes.size() || !file.flush())
            return fail(error, QStringLiteral("cannot write"), fileName, file.errorString());
        return true;
    }
    return writeBytes(fileName, bytes, error);
}

bool writeBytes(const QString &fileName, const QByteArray &bytes, QString *error)
{
    WholeFileWriter file(fileName);
    if (!file.open() || !file.write(bytes) || !file.commit())
        return fail(error, QStringLiteral("cannot write"), fileName, file.errorString());
    return true;
}

bool readBytes(const QString &fileName, QByteArray *bytes, QString *error)
{
    QFile file;
    QString why;
    switch (openRegularFile(file, fileName, &why)) {
    case OpenFile::Opened:
        break;
    case OpenFile::NotRegular:
        return fail(error, QStringLiteral("cannot read"), fileName, notRegularReason());
    case OpenFile::Failed:
        return fail(error, QStringLiteral("cannot read"), fileName, why);
    }
    QByteArray all;
    if (!readWholeFile(file, all))
        return fail(error, QStringLiteral("cannot read"), fileName, file.errorString());
    *bytes = std::move(all);
    return true;
}

bool read(const QString &fileName, QString *text, QString *error)
{
    QByteArray bytes;
    if (!readBytes(fileName, &bytes, error))
        return false;
    qsizetype bom = 0;
    const TextEncoding encoding = TextCodec::detect(bytes, &bom);
    *text = TextCodec::decode(QByteArrayView(bytes).sliced(bom), encoding);
    return true;
}

} // namespace TextFileIO

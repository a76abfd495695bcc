#include "settings/ReadingLayout.h"

#include "app/ReadWholeFile.h"
#include "app/WholeFileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>

namespace {

// The first line names the format; each line after it is "name=value". Lines of other names
// are passed over, so that a later format's file still gives what this one knows.
constexpr char kHeader[] = "Pagelark layout 1";
constexpr char kFitPages[] = "fitPages";
constexpr char kSideMargin[] = "sideMargin";
constexpr char kLineSpacing[] = "lineSpacing";

// More than any layout file this program writes; a larger file is read only this far.
constexpr qint64 kMaxBytes = 4096;

std::optional<int> number(const QByteArray &value, int low, int high)
{
    bool ok = false;
    const qlonglong n = value.trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return int(qBound(qlonglong(low), n, qlonglong(high)));
}

} // namespace

QString ReadingLayout::fileBeside(const QString &configFile)
{
    return QFileInfo(configFile).dir().filePath(QStringLiteral("layout"));
}

ReadingLayout ReadingLayout::fromText(const QByteArray &text)
{
    ReadingLayout layout;
    QList<QByteArray> lines = text.split('\n');
    if (lines.isEmpty() || lines.takeFirst().trimmed() != kHeader)
        return layout;
    for (const QByteArray &line : std::as_const(lines)) {
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            continue;
        const QByteArray name = line.left(equals).trimmed();
        const QByteArray value = line.mid(equals + 1);
        if (name == kFitPages) {
            const QByteArray on = value.trimmed();
            if (on == "0" || on == "1")
                layout.fitPages = on == "1";
        } else if (name == kSideMargin) {
            layout.sideMargin =
                number(value, MinSideMargin, MaxSideMargin).value_or(layout.sideMargin);
        } else if (name == kLineSpacing) {
            layout.lineSpacing =
                number(value, MinLineSpacing, MaxLineSpacing).value_or(layout.lineSpacing);
        }
    }
    return layout;
}

QByteArray ReadingLayout::text() const
{
    return QByteArray(kHeader) + '\n' + kFitPages + '=' + QByteArray::number(fitPages ? 1 : 0)
        + '\n' + kSideMargin + '=' + QByteArray::number(sideMargin) + '\n' + kLineSpacing + '='
        + QByteArray::number(lineSpacing) + '\n';
}

ReadingLayout ReadingLayout::load(const QString &fileName)
{
    QFile file;
    if (openRegularFile(file, fileName) != OpenFile::Opened)
        return {};
    return fromText(file.read(kMaxBytes));
}

bool ReadingLayout::save(const QString &fileName, QString *error) const
{
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    WholeFileWriter out(fileName);
    if (out.open() && out.write(text()) && out.commit())
        return true;
    if (error)
        *error = out.errorString();
    return false;
}

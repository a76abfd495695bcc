#include "settings/BookHistory.h"

#include "app/WholeFileWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace {

// The first line names the format; each line after it is one entry, its fields separated by
// tabs. Paths are percent-encoded bytes of the file system's names, so any name comes back as
// it was, tabs and line ends included.
constexpr char kHeader[] = "Pagelark books 1";
constexpr char kPlace[] = "place";
constexpr char kRecent[] = "recent";

QByteArray encodePath(const QString &path)
{
    return QFile::encodeName(path).toPercentEncoding("/");
}

QString decodePath(const QByteArray &field)
{
    return QFile::decodeName(QByteArray::fromPercentEncoding(field));
}

} // namespace

QString BookHistory::keyOf(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QFileInfo(path).absoluteFilePath() : canonical;
}

void BookHistory::load(const QString &fileName)
{
    m_fileName = fileName;
    m_places.clear();
    m_recent.clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || file.readLine().trimmed() != kHeader)
        return;
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine().trimmed().split('\t');
        bool sound = !fields.isEmpty() && !fields.last().isEmpty();
        if (sound && fields.first() == kRecent && fields.size() == 2) {
            if (m_recent.size() < MaxRecent)
                m_recent.append(decodePath(fields[1]));
            continue;
        }
        if (!sound || fields.first() != kPlace || fields.size() != 5)
            break; // damaged from here on: what came before stays
        Place place;
        bool sizeOk = false;
        bool lineOk = false;
        place.size = fields[1].toLongLong(&sizeOk);
        place.line = fields[2].toInt(&lineOk);
        place.encoding = QString::fromLatin1(QByteArray::fromPercentEncoding(fields[3]));
        place.path = decodePath(fields[4]);
        if (!sizeOk || !lineOk || place.line < 0 || place.size < 0)
            break;
        if (m_places.size() < MaxBooks)
            m_places.append(place);
    }
}

bool BookHistory::save(QString *error) const
{
    if (m_fileName.isEmpty())
        return true;
    QByteArray text = QByteArray(kHeader) + '\n';
    for (const QString &path : m_recent)
        text += QByteArray(kRecent) + '\t' + encodePath(path) + '\n';
    for (const Place &place : m_places) {
        text += QByteArray(kPlace) + '\t' + QByteArray::number(place.size) + '\t'
            + QByteArray::number(place.line) + '\t' + place.encoding.toLatin1().toPercentEncoding()
            + '\t' + encodePath(place.path) + '\n';
    }
    WholeFileWriter out(m_fileName);
    if (out.open() && out.write(text) && out.commit())
        return true;
    if (error)
        *error = out.errorString();
    return false;
}

std::optional<BookHistory::Place> BookHistory::place(const QString &path) const
{
    const QString key = keyOf(path);
    for (const Place &place : m_places) {
        if (place.path == key)
            return place;
    }
    return std::nullopt;
}

void BookHistory::remember(const Place &place)
{
    Place known = place;
    known.path = keyOf(place.path);
    m_places.removeIf([&](const Place &other) { return other.path == known.path; });
    m_places.prepend(known);
    while (m_places.size() > MaxBooks)
        m_places.removeLast();
}

void BookHistory::addRecent(const QString &path)
{
    const QString key = keyOf(path);
    m_recent.removeAll(key);
    m_recent.prepend(key);
    while (m_recent.size() > MaxRecent)
        m_recent.removeLast();
}

void BookHistory::removeRecent(const QString &path)
{
    m_recent.removeAll(keyOf(path));
    m_recent.removeAll(path);
}

void BookHistory::refused(const QString &path)
{
    if (!QFileInfo::exists(path))
        removeRecent(path);
}

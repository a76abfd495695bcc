#include "settings/BookHistory.h"

#include "app/WholeFileWriter.h"
#include "book/BookSource.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <algorithm>
#include <atomic>
#include <limits>

namespace {

// The first line names the format; each line after it is one entry, its fields separated by
// tabs, times in ms since the epoch. Paths are percent-encoded bytes of the file system's names,
// so any name comes back as it was, tabs and line ends included. The first format, without
// times, is still read.
constexpr char kHeader1[] = "Pagelark books 1";
constexpr char kHeader[] = "Pagelark books 2";
constexpr char kPlace[] = "place";
constexpr char kRecent[] = "recent";
constexpr char kCleared[] = "cleared";
constexpr char kForgotten[] = "forgot";
// After a place, what belongs to it.
constexpr char kBookmark[] = "mark";
constexpr char kChapter[] = "chapter";
constexpr char kPattern[] = "pattern";
// Books taken off the recent books are remembered a while, so that another reader's store does
// not bring them back.
constexpr int kMaxForgotten = 50;

// Long enough for a reader to finish writing, short enough that a lock left by a reader that
// died costs only a moment.
constexpr int kLockWaitMs = 2000;

QByteArray encodePath(const QString &path)
{
    return QFile::encodeName(path).toPercentEncoding("/");
}

QString decodePath(const QByteArray &field)
{
    return QFile::decodeName(QByteArray::fromPercentEncoding(field));
}

// A text of the reader's: its UTF-8 percent-encoded after "=", so that the field is never empty.
QByteArray encodeText(const QString &text)
{
    return '=' + text.toUtf8().toPercentEncoding();
}

QString decodeText(const QByteArray &field)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(field.mid(1)));
}

std::optional<qint64> number(const QByteArray &field)
{
    bool ok = false;
    const qint64 value = field.toLongLong(&ok);
    if (!ok || value < 0)
        return std::nullopt;
    return value;
}

// The latest time given or read in this process: the next change is later than it, so changes
// keep their order also within one millisecond and on a clock set back.
std::atomic<qint64> lastTime {0};

void noteTime(qint64 time)
{
    qint64 seen = lastTime.load();
    while (seen < time && !lastTime.compare_exchange_weak(seen, time)) { }
}

std::optional<LineAnchor> anchorOf(const QByteArray &line, const QByteArray &text)
{
    const std::optional<qint64> at = number(line);
    if (!at || !text.startsWith('='))
        return std::nullopt;
    return LineAnchor {*at, decodeText(text)};
}

} // namespace

QString BookHistory::keyOf(const QString &path)
{
    const BookSource::Location at = BookSource::split(path);
    const QString canonical = QFileInfo(at.file).canonicalFilePath();
    return BookSource::join(canonical.isEmpty() ? QFileInfo(at.file).absoluteFilePath() : canonical,
                            at.member);
}

QString BookHistory::memberReadLast(const QString &archive) const
{
    const QString prefix = keyOf(archive) + BookSource::Separator;
    for (const Place &place : m_places) {
        if (place.path.startsWith(prefix))
            return place.path.mid(prefix.size());
    }
    return {};
}

qint64 BookHistory::now()
{
    qint64 seen = lastTime.load();
    qint64 next = 0;
    do
        next = std::max(QDateTime::currentMSecsSinceEpoch(), seen + 1);
    while (!lastTime.compare_exchange_weak(seen, next));
    return next;
}

void BookHistory::load(const QString &fileName)
{
    m_fileName = fileName;
    m_places.clear();
    m_recent.clear();
    m_recentCleared = 0;
    m_recentRemoved.clear();
    QFile file(fileName);
    if (file.open(QIODevice::ReadOnly))
        readFrom(file.readAll());
}

void BookHistory::readFrom(const QByteArray &text)
{
    QList<QByteArray> lines = text.split('\n');
    const QByteArray header = lines.isEmpty() ? QByteArray() : lines.takeFirst().trimmed();
    const bool timed = header == kHeader;
    if (!timed && header != kHeader1)
        return;
    for (const QByteArray &entry : std::as_const(lines)) {
        if (!entry.trimmed().isEmpty() && !readEntry(entry.trimmed().split('\t'), timed))
            break; // damaged from here on: what came before stays
    }
}

// One line of the store: false when it is damaged.
bool BookHistory::readEntry(const QList<QByteArray> &fields, bool timed)
{
    const QByteArray &kind = fields.first();
    const qsizetype n = fields.size();
    if (fields.last().isEmpty())
        return false;
    // What follows a place belongs to it.
    Place *place = m_places.isEmpty() ? nullptr : &m_places.last();
    if (kind == kChapter && place && n == 4 && (fields[1] == "+" || fields[1] == "-")) {
        const std::optional<LineAnchor> anchor = anchorOf(fields[2], fields[3]);
        QList<LineAnchor> &list =
            fields[1] == "+" ? place->chapters.marked : place->chapters.unmarked;
        if (anchor)
            list.append(*anchor);
        return anchor.has_value();
    }
    if (kind == kPattern && place && n == 2 && fields[1].startsWith('=')) {
        place->chapters.pattern = decodeText(fields[1]);
        return true;
    }
    if (kind == kBookmark && place && n == 4 && fields[3].startsWith('=')) {
        const std::optional<LineAnchor> anchor = anchorOf(fields[1], fields[2]);
        if (anchor && place->bookmarks.size() < Bookmarks::MaxCount)
            place->bookmarks.append({*anchor, decodeText(fields[3])});
        return anchor.has_value();
    }
    // The entries of their own, the time after the kind.
    const qsizetype timeField = timed ? 1 : 0;
    const std::optional<qint64> time = timed ? (n > 1 ? number(fields[1]) : std::nullopt) : 0;
    if (!time)
        return false;
    noteTime(*time);
    if (timed && kind == kCleared && n == 2) {
        m_recentCleared = std::max(m_recentCleared, *time);
        return true;
    }
    if (timed && kind == kForgotten && n == 3) {
        if (m_recentRemoved.size() < kMaxForgotten)
            m_recentRemoved.insert(decodePath(fields.last()), *time);
        return true;
    }
    if (kind == kRecent && n == 2 + timeField) {
        if (m_recent.size() < MaxRecent)
            m_recent.append({decodePath(fields.last()), *time});
        return true;
    }
    if (kind != kPlace || n != 5 + timeField)
        return false;
    const std::optional<qint64> size = number(fields[1 + timeField]);
    const std::optional<qint64> line = number(fields[2 + timeField]);
    if (!size || !line || *line > std::numeric_limits<int>::max())
        return false;
    if (m_places.size() >= MaxBooks)
        return false;
    Place read;
    read.path = decodePath(fields.last());
    read.size = *size;
    read.line = int(*line);
    read.encoding = QString::fromLatin1(QByteArray::fromPercentEncoding(fields[3 + timeField]));
    read.changed = *time;
    m_places.append(read);
    return true;
}

QByteArray BookHistory::text() const
{
    QByteArray text = QByteArray(kHeader) + '\n';
    if (m_recentCleared > 0)
        text += QByteArray(kCleared) + '\t' + QByteArray::number(m_recentCleared) + '\n';
    for (auto gone = m_recentRemoved.cbegin(); gone != m_recentRemoved.cend(); ++gone)
        text += QByteArray(kForgotten) + '\t' + QByteArray::number(gone.value()) + '\t'
            + encodePath(gone.key()) + '\n';
    for (const Recent &book : m_recent)
        text += QByteArray(kRecent) + '\t' + QByteArray::number(book.opened) + '\t'
            + encodePath(book.path) + '\n';
    const auto anchor = [](const LineAnchor &at) -> QByteArray {
        return QByteArray::number(at.line) + '\t' + encodeText(at.text);
    };
    for (const Place &place : m_places) {
        text += QByteArray(kPlace) + '\t' + QByteArray::number(place.changed) + '\t'
            + QByteArray::number(place.size) + '\t' + QByteArray::number(place.line) + '\t'
            + place.encoding.toLatin1().toPercentEncoding() + '\t' + encodePath(place.path) + '\n';
        for (const Bookmark &mark : place.bookmarks)
            text += QByteArray(kBookmark) + '\t' + anchor(mark.at) + '\t' + encodeText(mark.name)
                + '\n';
        for (const LineAnchor &at : place.chapters.marked)
            text += QByteArray(kChapter) + "\t+\t" + anchor(at) + '\n';
        for (const LineAnchor &at : place.chapters.unmarked)
            text += QByteArray(kChapter) + "\t-\t" + anchor(at) + '\n';
        if (!place.chapters.pattern.isEmpty())
            text += QByteArray(kPattern) + '\t' + encodeText(place.chapters.pattern) + '\n';
    }
    return text;
}

bool BookHistory::save(QString *error)
{
    if (m_fileName.isEmpty())
        return true;
    // One reader at a time reads, merges and writes; a reader that cannot get its turn writes
    // all the same rather than lose its own places.
    QLockFile lock(m_fileName + QStringLiteral(".lock"));
    lock.tryLock(kLockWaitMs);
    QFile file(m_fileName);
    if (file.open(QIODevice::ReadOnly)) {
        BookHistory stored;
        stored.readFrom(file.readAll());
        merge(stored);
    }
    WholeFileWriter out(m_fileName);
    if (out.open() && out.write(text()) && out.commit())
        return true;
    if (error)
        *error = out.errorString();
    return false;
}

void BookHistory::merge(const BookHistory &other)
{
    for (const Place &theirs : other.m_places) {
        const auto ours = std::find_if(m_places.begin(), m_places.end(),
                                       [&](const Place &p) { return p.path == theirs.path; });
        if (ours == m_places.end())
            m_places.append(theirs);
        else if (theirs.changed > ours->changed)
            *ours = theirs;
    }
    m_recentCleared = std::max(m_recentCleared, other.m_recentCleared);
    for (auto gone = other.m_recentRemoved.cbegin(); gone != other.m_recentRemoved.cend(); ++gone)
        m_recentRemoved[gone.key()] = std::max(m_recentRemoved.value(gone.key()), gone.value());
    for (const Recent &theirs : other.m_recent) {
        const auto ours = std::find_if(m_recent.begin(), m_recent.end(),
                                       [&](const Recent &r) { return r.path == theirs.path; });
        if (ours != m_recent.end())
            ours->opened = std::max(ours->opened, theirs.opened);
        else
            m_recent.append(theirs);
    }
    trim();
}

// Newest first, as many as are kept; the order of books of the same time stays as it was.
void BookHistory::trim()
{
    std::stable_sort(m_places.begin(), m_places.end(),
                     [](const Place &a, const Place &b) { return a.changed > b.changed; });
    while (m_places.size() > MaxBooks)
        m_places.removeLast();
    m_recent.removeIf([this](const Recent &r) {
        return r.opened <= std::max(m_recentCleared, m_recentRemoved.value(r.path, -1));
    });
    std::stable_sort(m_recent.begin(), m_recent.end(),
                     [](const Recent &a, const Recent &b) { return a.opened > b.opened; });
    while (m_recent.size() > MaxRecent)
        m_recent.removeLast();
    while (m_recentRemoved.size() > kMaxForgotten) {
        const auto oldest = std::min_element(m_recentRemoved.cbegin(), m_recentRemoved.cend());
        m_recentRemoved.remove(oldest.key());
    }
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
    known.changed = now();
    m_places.removeIf([&](const Place &other) { return other.path == known.path; });
    m_places.prepend(known);
    trim();
}

QStringList BookHistory::recent() const
{
    QStringList paths;
    for (const Recent &book : m_recent)
        paths.append(book.path);
    return paths;
}

void BookHistory::addRecent(const QString &path)
{
    const QString key = keyOf(path);
    m_recent.removeIf([&](const Recent &r) { return r.path == key; });
    m_recent.prepend({key, now()});
    trim();
}

void BookHistory::removeRecent(const QString &path)
{
    const qint64 time = now();
    for (const QString &key : {keyOf(path), path})
        m_recentRemoved.insert(key, time);
    trim();
}

void BookHistory::refused(const QString &path)
{
    if (!QFileInfo::exists(path))
        removeRecent(path);
}

void BookHistory::clearRecent()
{
    m_recentCleared = now();
    trim();
}

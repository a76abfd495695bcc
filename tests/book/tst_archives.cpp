// Books in compressed files and archives that libarchive's writer makes here: the kind their
// bytes tell, the members listed as text, and what reading one gives, damaged ones and bombs
// among them; no read holds much more than the most it takes.
#include "book/ArchiveFile.h"
#include "support/TestArchives.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QDir>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <archive.h>

using namespace ArchiveFile;
using namespace TestArchives;
using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kMost = 1024 * 1024;
const QByteArray kText = "It was a dark and stormy night.\r\nThe rain fell in torrents.\r\n";

// A failure as "Status detail", or what okay gives; a "*" ending expected stands for
// libarchive's or the system's words, if any.
QByteArray outcome(Status status, const QString &detail, const QByteArray &okay,
                   const QByteArray &expected)
{
    static const char *const names[] = {"Ok",        "CannotOpen", "Damaged", "UnknownFormat",
                                        "Encrypted", "TooLarge",   "NoText",  "NoSuchMember"};
    const QByteArray said = status == Status::Ok ? okay
                                                 : QByteArray(names[int(status)])
            + (detail.isEmpty() ? QByteArray() : ' ' + detail.toUtf8());
    return expected.endsWith('*') && said.startsWith(expected.chopped(1)) ? expected : said;
}

// The peak resident size in KB, reset to the present size first where Linux allows.
qint64 peakKb(bool reset)
{
    QFile clear(u"/proc/self/clear_refs"_s);
    if (reset
        && (!clear.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || clear.write("5") != 1))
        return -1;
    const QByteArray status = TestFiles::read(u"/proc/self/status"_s);
    const qsizetype at = status.indexOf("VmHWM:");
    return at < 0 ? -1 : status.mid(at + 6).trimmed().split(' ').value(0).toLongLong();
}

// An archive's bytes (null: none written), the kind they tell, its listing ("name size" a member,
// or the failure) and what reading member gives ("name: bytes", or the failure).
// clang-format off
struct ArchiveRow { QString file; QByteArray data; Kind kind; QByteArray listing; QString member;
                    QByteArray read; };
// clang-format on

} // namespace

Q_DECLARE_METATYPE(ArchiveRow)

class tst_archives : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    void archives_data()
    {
        QTest::addColumn<ArchiveRow>("row");
        const int raw = ARCHIVE_FORMAT_RAW, zip = ARCHIVE_FORMAT_ZIP, sevenZ = ARCHIVE_FORMAT_7ZIP;
        const int none = ARCHIVE_FILTER_NONE, gz = ARCHIVE_FILTER_GZIP, xz = ARCHIVE_FILTER_XZ;
        const Kind plain = Kind::Plain, whole = Kind::Compressed, archive = Kind::Archive;
        // clang-format off
        const QByteArray png("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16), elf("\x7F" "ELF\2\1\1\0", 8);
        const QByteArray utf16 = QStringEncoder(QStringEncoder::Utf16LE).encode(u"Ćma.\r\n"_s);
        const QList<Entry> several {{u"folder/"_s, {}, AE_IFDIR}, {u"a.txt"_s, kText},
            {u"picture.png"_s, png}, {u"program"_s, elf}, {u"folder/utf16.txt"_s, utf16},
            {u"empty.txt"_s, {}}, {u"link.txt"_s, "a.txt", AE_IFLNK}};
        const QByteArray listed = "a.txt 61|folder/utf16.txt 12|empty.txt 0", full(kMost, 'b');
        // Each row is named after its file.
        const auto row = [](const ArchiveRow &r) { QTest::newRow(qPrintable(r.file)) << r; };
        // A file both the listing and the read refuse with the same words.
        const auto refused = [&row](const QString &file, const QByteArray &data, Kind kind,
                                    const QByteArray &why) {
            row({file, data, kind, why, {}, why});
        };
        // Only gzip tells the size of its stream here: libarchive writes no zstd or lz4 one.
        const std::tuple<int, const char *, const char *> filters[] = {{gz, ".gz", "61"},
            {ARCHIVE_FILTER_BZIP2, ".bz2", "-1"}, {xz, ".xz", "-1"},
            {ARCHIVE_FILTER_ZSTD, ".zst", "-1"}, {ARCHIVE_FILTER_LZ4, ".lz4", "-1"}};
        for (const auto &[filter, suffix, size] : filters)
            row({u"book.txt"_s + QLatin1String(suffix), make(raw, filter, {{{}, kText}}), whole,
                 "book.txt " + QByteArray(size), {}, "book.txt: " + kText});
        // A zstd frame of one raw block, which declares its 61 bytes in one byte.
        const QByteArray frame = QByteArray("\x28\xB5\x2F\xFD\x20\x3D\xE9\x01\x00", 9) + kText;
        row({u"sized.zst"_s, frame, whole, "sized 61", {}, "sized: " + kText});
        const std::tuple<int, int, const char *, Kind> archives[] = {{zip, none, ".zip", archive},
            {sevenZ, none, ".7z", archive}, {ARCHIVE_FORMAT_TAR_USTAR, none, ".tar", archive},
            {ARCHIVE_FORMAT_TAR_PAX_RESTRICTED, gz, ".tar.gz", whole},
            {ARCHIVE_FORMAT_TAR_PAX_RESTRICTED, xz, ".tar.xz", whole}};
        for (const auto &[format, filter, suffix, kind] : archives) {
            row({u"one"_s + QLatin1String(suffix), make(format, filter, {{u"story.txt"_s, kText}}),
                 kind, "story.txt 61", {}, "story.txt: " + kText});
            row({u"several"_s + QLatin1String(suffix), make(format, filter, several), kind, listed,
                 u"folder/utf16.txt"_s, "folder/utf16.txt: " + utf16});
        }
        const QByteArray s = make(zip, none, several);
        row({u"first text member.zip"_s, s, archive, listed, {}, "a.txt: " + kText});
        row({u"picture asked for.zip"_s, s, archive, listed, u"picture.png"_s,
             "NoText picture.png"});
        row({u"member not there.zip"_s, s, archive, listed, u"b.txt"_s, "NoSuchMember b.txt"});
        refused(u"no text.7z"_s, make(sevenZ, none, {{u"p"_s, png}, {u"e"_s, elf}}), archive,
                "NoText");
        refused(u"picture.png.gz"_s, make(raw, gz, {{{}, png}}), whole, "NoText");
        row({u"empty.gz"_s, make(raw, gz, {{}}), whole, "empty 0", {}, "empty: "});
        row({u"notes"_s, make(raw, gz, {{{}, kText}}), whole, "notes 61", {}, "notes: " + kText});
        row({u"1 MB.gz"_s, make(raw, gz, {{{}, full}}), whole, "1 MB 1048576", {},
             "1 MB: " + full});
        row({u"1 MB and a byte.gz"_s, make(raw, gz, {{{}, full + 'b'}}), whole,
             "1 MB and a byte 1048577", {}, "TooLarge 1 MB and a byte"});
        const Entry bomb {u"bomb.txt"_s, QByteArray(64 * kMost, 'a')};
        row({u"bomb.txt.gz"_s, make(raw, gz, {bomb}), whole, "bomb.txt 67108864", {},
             "TooLarge bomb.txt"});
        row({u"bomb.zip"_s, make(zip, none, {bomb}), archive, "bomb.txt 67108864", {},
             "TooLarge bomb.txt"});
        const QList<Entry> lines {{u"l.txt"_s, TestFiles::lines(4000)}};
        const std::tuple<const char *, Kind, QByteArray> damaged[] = {
            {".zip", archive, make(zip, none, lines)}, {".7z", archive, make(sevenZ, none, lines)},
            {".xz", whole, make(raw, xz, lines)}};
        for (const auto &[suffix, kind, data] : damaged) {
            const QByteArray spoiled = QByteArray(data).replace(data.size() / 2, 9, "spoiled!!");
            const QByteArray cut = data.first(data.size() / 2);
            refused(u"cut short"_s + QLatin1String(suffix), cut, kind, "Damaged*");
            refused(u"spoiled"_s + QLatin1String(suffix), spoiled, kind, "Damaged*");
        }
        const QByteArray random("\x12\x9A\0\xFF\x03\x80random", 12);
        refused(u"random.bin"_s, random, plain, "UnknownFormat");
        refused(u"pk.txt"_s, "PK is how this text starts.\n", plain, "UnknownFormat");
        row({u"encrypted.zip"_s, make(zip, none, {{u"secret.txt"_s, kText}},
                                      "zip:encryption=zipcrypt"),
             archive, "Encrypted secret.txt", u"secret.txt"_s, "Encrypted secret.txt"});
        refused(u"missing.gz"_s, {}, plain, "CannotOpen*");
        QDir(m_dir.path()).mkdir(u"folder.zip"_s);
        refused(u"folder.zip"_s, {}, plain, "CannotOpen*");
        // clang-format on
    }

    void archives()
    {
        QFETCH(ArchiveRow, row);
        if (row.data.isNull() && row.kind == Kind::Archive)
            QSKIP("This libarchive writes no encrypted zip.");
        const QString path = m_dir.filePath(row.file);
        if (!row.data.isNull())
            TestFiles::write(path, row.data);
        QCOMPARE(kindOfFile(path), row.kind);

        const Listing listing = list(path);
        QByteArrayList listed;
        for (const Member &member : listing.members)
            listed << member.name.toUtf8() + ' ' + QByteArray::number(member.size);
        QCOMPARE(outcome(listing.status, listing.detail, listed.join('|'), row.listing),
                 row.listing);

        const qint64 before = peakKb(true);
        const Contents read = ArchiveFile::read(path, row.member, kMost);
        if (before >= 0)
            QCOMPARE_LT(peakKb(false) - before, 16 * 1024);
        const QByteArray okay = read.member.toUtf8() + ": " + read.bytes;
        QCOMPARE(outcome(read.status, read.detail, okay, row.read), row.read);
        const QString said = message(read.status, path, read.detail, kMost);
        QVERIFY(read.status == Status::Ok || said.contains(QDir::toNativeSeparators(path)));
    }
};

PAGELARK_TEST(tst_archives);
#include "tst_archives.moc"

// The tools' commands on real files: their checks and reports, Combine's bytes, what Delete
// leaves, and the conversion run with its progress, yields, stops and failures.
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"
#include "texttools/CombineCommand.h"
#include "texttools/FileDeletion.h"
#include "texttools/HtmlConversion.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Logs all a run shows, each entry followed by "|"; the stopAt-th yield (from 1) answers stop.
struct RecordingProgress : ToolProgress
{
    void setRange(int maximum) override { log += u"range %1|"_s.arg(maximum); }
    void setValue(int value) override { log += u"value %1|"_s.arg(value); }
    void setStatus(const QString &text) override { log += text + u'|'; }
    bool yield() override
    {
        log += u"yield|"_s;
        return ++yields == stopAt;
    }
    QString log;
    int stopAt = 0;
    int yields = 0;
};

const QString kNoPath = u"status: Action Ignored, Need new file path|"_s;
const QString kTwo = u"message: Needs at least two files to compile|"_s;
const QString kItself = u"message: Can't combine file into itself, please enter a new file name|"_s;
const QString kExists = u"directory already exist, create new directory action ignored|"_s;
const QString kPage = u"range 2|value 0|value 0|yield|value 2|"_s; // a page of two items
const QString kNotAFile = u": it is a device, a pipe or a socket, not a file"_s;
const QByteArray kBr = "\r\n<br>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;";

// Rows of the tables. Names are of files in the test's folder, a blank between two; what a
// command shows is written as a log, with the test's folder left out of paths. A check's name
// is the one typed (none: a conversion's checks), its folder the output folder ("." the test's).
// A log ends with the beginning of the run's failure, up to the system's reason.
// clang-format off
struct Check { const char *name, *folder, *listed; QString said; };
struct Combination { const char *listed, *name; QString log; QByteArray target; };
struct Deletion { const char *listed, *kept; QString log; };
struct Conversion { const char *listed, *inTheWay; int stopAt; const char *pages; QString log; };
// clang-format on

} // namespace

class tst_toolcommands : public QObject
{
    Q_OBJECT

    QString path(const QString &name) const
    {
        return name.startsWith(u'/') ? name : m_dir->filePath(name);
    }
    QStringList paths(const char *names) const
    {
        QStringList list;
        for (const QString &name : QString::fromLatin1(names).split(u' ', Qt::SkipEmptyParts))
            list << path(name);
        return list;
    }
    // Paths in the test's folder as their names.
    QString local(QString text) const { return text.replace(m_dir->path() + u'/', QString()); }
    // A run's log and its failure, with the reason when it is the program's own.
    QString said(const RecordingProgress &progress, const QString &failure) const
    {
        return local(progress.log
                     + (failure.endsWith(kNotAFile) ? failure : failure.section(u':', 0, 0)));
    }
    // The folder's files but one: a run leaves no others behind.
    QStringList filesBut(const QString &name) const
    {
        QStringList files = QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden);
        files.removeAll(name);
        return files;
    }
    std::optional<QTemporaryDir> m_dir;

private Q_SLOTS:
    void init()
    {
        m_dir.emplace();
        // clang-format off
        const std::pair<const char *, QByteArray> files[] = {{"a.txt", "a\r\n"}, {"b.txt", "b"},
            {"out.txt", "old"}, {"bin.txt", {"\xEF\xBB\xBF\0\xFF\r", 6}}, {"big.txt", QByteArray(200, 'a')},
            {"folder/inner/x", ""}, {"sub/empty", ""}};
        // clang-format on
        for (const auto &[name, bytes] : files)
            TestFiles::write(path(QLatin1String(name)), bytes);
        const QByteArray a = QFile::encodeName(path(u"a.txt"_s));
        QVERIFY(QFile::link(path(u"a.txt"_s), path(u"link.txt"_s)));
        QVERIFY(QFile::link(path(u"folder"_s), path(u"folderlink"_s)));
        QVERIFY(QFile::link(path(u"nothing"_s), path(u"dangling"_s)));
        QCOMPARE(::link(a.constData(), QFile::encodeName(path(u"hard.txt"_s)).constData()), 0);
        QCOMPARE(::mkfifo(QFile::encodeName(path(u"pipe"_s)).constData(), 0600), 0);
    }

    void checks_data()
    {
        QTest::addColumn<Check>("check");
        const QString noName = u"status: Action Ignored, New File Name Not Entered|"_s;
        // clang-format off
        QTest::newRow("no name, no folder") << Check {"", "", "", noName + kNoPath};
        QTest::newRow("one file, the target") << Check {"a.txt", ".", "a.txt", kTwo + kItself};
        QTest::newRow("target twice") << Check {"a.txt", ".", "a.txt b.txt a.txt", kItself + kItself};
        QTest::newRow("target by link") << Check {"a.txt", ".", "link.txt b.txt", kItself};
        QTest::newRow("target by hard link") << Check {"a.txt", ".", "hard.txt b.txt", kItself};
        QTest::newRow("target by other spelling") << Check {"a.txt", ".", "sub//../a.txt b.txt", kItself};
        QTest::newRow("target in the root") << Check {"none", "/", "/none b.txt", kItself};
        QTest::newRow("other letter case") << Check {"A.txt", ".", "a.txt b.txt", {}};
        QTest::newRow("existing target") << Check {"out.txt", ".", "a.txt b.txt",
            u"question: File out.txt allready exists!\r\nDo you want to overwrite it?|"_s};
        QTest::newRow("a pipe as the target") << Check {"pipe", ".", "a.txt b.txt",
            u"message: Cannot combine into pipe"_s + kNotAFile + u".|"};
        QTest::newRow("conversion, nothing given") << Check {nullptr, "", "",
            u"message: Needs at least one file to convert|"_s + kNoPath};
        // clang-format on
    }

    void checks()
    {
        QFETCH(Check, check);
        const QString output =
            qstrcmp(check.folder, ".") ? QLatin1String(check.folder) : m_dir->path();
        const CombineCommand combine(QLatin1String(check.name), output, paths(check.listed));
        const HtmlConversion conversion(paths(check.listed), output);
        QString said;
        for (const ToolNotice &n : check.name ? combine.notices() : conversion.notices())
            said += (n.kind == ToolNotice::Kind::Message ? u"message: "_s : u"status: "_s) + n.text
                + u'|';
        if (!combine.overwriteQuestion().isEmpty())
            said += u"question: "_s + combine.overwriteQuestion() + u'|';
        QCOMPARE(local(said), check.said);
        // A command goes ahead when its checks say nothing.
        QCOMPARE(check.name ? combine.goAhead() : conversion.goAhead(),
                 check.said.isEmpty() || check.said.startsWith(u"question"));
    }

    void combine_data()
    {
        QTest::addColumn<Combination>("combination");
        const QString start = u"wait please|range 1|value 0|value 1|wait please "_s;
        const QString stopped = u"wait please|range 1|value 0|Combine stopped, cannot "_s;
        // clang-format off
        QTest::newRow("CR LF after further files only") << Combination {"b.txt a.txt", "out.txt",
            start + u"a.txt Combined|Combine Files Done|", "ba\r\n\r\n"};
        QTest::newRow("bytes unchanged") << Combination {"bin.txt bin.txt sub/empty", "new",
            u"wait please|range 2|value 0|value 1|wait please bin.txt Combined|value 2|"
            "wait please sub/empty Combined|Combine Files Done|"_s,
            QByteArray("\xEF\xBB\xBF\0\xFF\r\xEF\xBB\xBF\0\xFF\r\r\n\r\n", 16)};
        QTest::newRow("later source gone") << Combination {"a.txt a.txt gone", "out.txt",
            u"wait please|range 2|value 0|value 1|wait please a.txt Combined|"
            "Combine stopped, cannot read gone"_s, "old"};
        QTest::newRow("a pipe") << Combination {"a.txt pipe", "out.txt", stopped + u"read pipe" + kNotAFile, "old"};
        QTest::newRow("full disk") << Combination {"big.txt big.txt", "out.txt", stopped + u"write out.txt", "old"};
        // clang-format on
    }

    void combine()
    {
        QFETCH(Combination, combination);
        const QString name = QLatin1String(combination.name);
        const QStringList others = filesBut(name);
        CombineCommand command(name, m_dir->path(), paths(combination.listed));
        RecordingProgress progress;
        bool done = false;
        {
            std::optional<FileSizeLimit> full;
            if (qstrcmp(QTest::currentDataTag(), "full disk") == 0)
                QVERIFY(full.emplace(64).isActive());
            done = command.run(progress);
        }
        QCOMPARE(done, command.failure().isEmpty());
        QCOMPARE(said(progress, command.failure()), combination.log);
        QCOMPARE(TestFiles::read(path(name)), combination.target);
        QCOMPARE(filesBut(name), others);
    }

    void deleteKeepsWhatItCannotDelete_data()
    {
        QTest::addColumn<Deletion>("deletion");
        // clang-format off
        QTest::newRow("files and links go, not what links point to")
            << Deletion {"b.txt link.txt folderlink dangling", "",
                         u"link.txt|folderlink|dangling||All selected files deleted|"_s};
        QTest::newRow("folders and files gone stay listed")
            << Deletion {"folder gone a.txt a.txt", "folder gone a.txt", u"gone|a.txt|a.txt||"
                         "Could not delete: folder (a folder), gone (no such file), a.txt (no such file)|"_s};
        // clang-format on
    }

    // Every listed file goes but those the list keeps; no folder, and nothing a link points to.
    void deleteKeepsWhatItCannotDelete()
    {
        QFETCH(Deletion, deletion);
        RecordingProgress progress;
        const QStringList kept = deleteListedFiles(paths(deletion.listed), progress);
        QCOMPARE(kept, paths(deletion.kept));
        QCOMPARE(local(progress.log), deletion.log);
        for (const QString &file : paths(deletion.listed))
            QVERIFY(kept.contains(file)
                    || !(QFileInfo::exists(file) || QFileInfo(file).isSymLink()));
        QVERIFY(QFileInfo::exists(path(u"folder/inner/x"_s)));
        QCOMPARE(QFileInfo::exists(path(u"a.txt"_s)),
                 !paths(deletion.listed).contains(path(u"a.txt"_s)));
    }

    void conversion_data()
    {
        QTest::addColumn<Conversion>("run");
        const QString stopped = u"Conversion stopped, cannot "_s;
        // clang-format off
        QTest::newRow("folder made once, then there") << Conversion {"a.txt b.txt", "", 0, "a b",
            kPage + kExists + u"range 1|value 0|value 0|yield|value 1|Done...|"};
        QTest::newRow("stop in the second of three") << Conversion {"a.txt a.txt a.txt", "", 2, "a",
            kPage + kExists + u"range 2|value 0|value 0|yield|Done...|"};
        QTest::newRow("source gone") << Conversion {"gone a.txt", "", 0, "", stopped + u"read gone"};
        QTest::newRow("a pipe") << Conversion {"a.txt pipe", "", 0, "a",
            kPage + kExists + stopped + u"read pipe" + kNotAFile};
        QTest::newRow("folder cannot be made") << Conversion {"a.txt", "file", 0, "",
            stopped + u"create folder newhtml"};
        QTest::newRow("page cannot be written") << Conversion {"a.txt", "a.html", 0, "",
            kExists + stopped + u"write newhtml/a.html"};
        QTest::newRow("a pipe where a page goes") << Conversion {"b.txt a.txt", "pipe a.html", 0, "b",
            kExists + u"range 1|value 0|value 0|yield|value 1|"_s + kExists + stopped
            + u"write newhtml/a.html" + kNotAFile};
        // clang-format on
    }

    void conversion()
    {
        QFETCH(Conversion, run);
        const QString folder = path(u"newhtml"_s);
        if (qstrcmp(run.inTheWay, "file") == 0) {
            TestFiles::write(folder, "a file");
        } else if (qstrcmp(run.inTheWay, "pipe a.html") == 0) {
            QVERIFY(QDir().mkpath(folder));
            QCOMPARE(::mkfifo(QFile::encodeName(folder + u"/a.html"_s).constData(), 0600), 0);
        } else if (*run.inTheWay) {
            QDir().mkpath(folder + u'/' + QLatin1String(run.inTheWay));
        }
        HtmlConversion conversion(paths(run.listed), m_dir->path());
        RecordingProgress progress;
        progress.stopAt = run.stopAt;
        using O = HtmlConversion::Outcome;
        const O outcome = conversion.run(progress);
        QCOMPARE(outcome,
                 run.stopAt                           ? O::Stopped
                     : conversion.failure().isEmpty() ? O::Finished
                                                      : O::Failed);
        QCOMPARE(said(progress, conversion.failure()), run.log);
        QStringList pages;
        for (const QString &base : QString::fromLatin1(run.pages).split(u' ', Qt::SkipEmptyParts)) {
            pages << base + u".html";
            QCOMPARE(TestFiles::read(folder + u'/' + pages.last()),
                     TestFiles::htmlPage(base.toLatin1(),
                                         base == u"a" ? QByteArray("a" + kBr) : QByteArray("b")));
        }
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), pages);
        if (qstrcmp(run.inTheWay, "pipe a.html") == 0)
            QVERIFY(QFileInfo::exists(folder + u"/a.html"_s)
                    && !QFileInfo(folder + u"/a.html"_s).isFile());
    }
};

PAGELARK_TEST(tst_toolcommands);
#include "tst_toolcommands.moc"

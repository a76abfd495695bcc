// Raw measurements for bench/compare, which turns them into figures against their targets.
//
//   bench_probe generate PATH BYTES lf|crlf|none ascii|utf8|cp1251|utf16|gb18030|big5|sjis
//                         [chapters]    write a generated book, with a heading every 2000 lines
//                                       when asked for chapters
//   bench_probe load PATH REPETITIONS   median ns of Book::load and of a whole `wc -l PATH` run
//   bench_probe reopen PATH REPETITIONS median ns of opening the book as the reader does with a
//                                       history of 500 books (its place and encoding looked up,
//                                       the book loaded, its new place kept; the history is written
//                                       out once the page is on show), and of a `wc -l PATH` run
//   bench_probe memory PATH             peak bytes one load adds to this process, and file bytes
//   bench_probe search PATH REPETITIONS TEXT   median ns of a whole-book BookSearch::find of a
//                                       text the book lacks, and of `grep -F -i -c TEXT PATH`,
//                                       TEXT in the book's encoding
//   bench_probe findall PATH REPETITIONS TEXT LIMIT   median ns of BookSearch::findAll of TEXT,
//                                       at most LIMIT places and the count of all, with placeOf
//                                       for each place, and of `grep -F -i -n TEXT PATH`, or with
//                                       LIMIT 0 of `grep -F -i -c TEXT PATH`
//   bench_probe combine OUT REPETITIONS FILE...   median ns of Combiner::combine of the files
//                                       into OUT, and of `cat FILE... > OUT.cat`
//   bench_probe contents PATH REPETITIONS   median ns of ChapterFinder::find over the book's bytes,
//                                       and of Book::load of it
//   bench_probe txt2html PATH FOLDER REPETITIONS   median ns of turning PATH into its HTML page in
//                                       FOLDER/newhtml as the tools window does, and of
//                                       `cp PATH FOLDER`
//   bench_probe unpack PACKED BOOK REPETITIONS TOOL   median ns of opening the book PACKED holds
//                                       (ArchiveFile::list and read, Book::loadBytes), and of a
//                                       whole `TOOL -dc PACKED` run plus Book::load of BOOK, the
//                                       same book unpacked
//   bench_probe memory-txt2html PATH FOLDER   peak bytes one such conversion adds to this process
//
// Each pair is timed in turns, the external tool as a whole process run, spawn and wait included.

#include "BookFiles.h"
#include "book/ArchiveFile.h"
#include "book/BaseName.h"
#include "book/Book.h"
#include "book/BookSearch.h"
#include "book/ChapterFinder.h"
#include "settings/BookHistory.h"
#include "texttools/Combiner.h"
#include "texttools/HtmlConversion.h"

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

constexpr int kLinesPerPage = 15;

using Clock = std::chrono::steady_clock;

qint64 nanosecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count();
}

qint64 median(std::vector<qint64> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

bool loadOnce(const QString &path)
{
    Book book;
    return book.load(path, kLinesPerPage).status == Book::Status::Loaded;
}

// What the reader does to open a book with a full history before it shows the page: look up its
// place and encoding, load it, and keep its new place first.
bool reopenOnce(const QString &path, BookHistory &history)
{
    const std::optional<BookHistory::Place> place = history.place(path);
    Book book;
    const auto encoding = place ? TextCodec::encodingForName(place->encoding) : std::nullopt;
    if (book.load(path, kLinesPerPage, encoding).status != Book::Status::Loaded)
        return false;
    history.remember({path, book.byteSize(), place ? place->line : 0, {}});
    return true;
}

// One whole run of argv[0] found on PATH, spawn and wait included, its output going to
// outputPath (created or truncated). The exit status, or -1 when it could not run.
int runTool(const std::vector<QByteArray> &arguments, const char *outputPath = "/dev/null")
{
    std::vector<char *> argv;
    for (const QByteArray &argument : arguments)
        argv.push_back(const_cast<char *>(argument.constData()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath,
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

bool wcOnce(const char *path)
{
    return runTool({"wc", "-l", path}) == 0;
}

// Times ours and theirs in turns, so that a busy moment on the machine falls on both alike, after
// one untimed run of each that must succeed; prints both medians. prepare, untimed, runs before
// each of them.
int timePair(
    int repetitions, const std::function<bool()> &ours, const std::function<bool()> &theirs,
    const char *what, const std::function<void()> &prepare = [] {})
{
    prepare();
    const bool ourRun = ours();
    prepare();
    if (!ourRun || !theirs()) {
        std::fprintf(stderr, "bench_probe: %s failed\n", what);
        return 1;
    }
    std::vector<qint64> our;
    std::vector<qint64> their;
    for (int i = 0; i < repetitions; ++i) {
        prepare();
        Clock::time_point start = Clock::now();
        ours();
        our.push_back(nanosecondsSince(start));
        prepare();
        start = Clock::now();
        theirs();
        their.push_back(nanosecondsSince(start));
    }
    std::printf("%lld %lld\n", static_cast<long long>(median(our)),
                static_cast<long long>(median(their)));
    return 0;
}

int timeLoad(const QString &path, int repetitions)
{
    const QByteArray localPath = QFile::encodeName(path);
    return timePair(
        repetitions, [&] { return loadOnce(path); }, [&] { return wcOnce(localPath.constData()); },
        "loading or counting the book");
}

int timeReopen(const QString &path, int repetitions)
{
    QTemporaryDir folder;
    BookHistory history;
    history.load(folder.filePath(QStringLiteral("history")));
    for (int i = 0; i < BookHistory::MaxBooks; ++i)
        history.remember({folder.filePath(QStringLiteral("book %1.txt").arg(i)), 1000, i, {}});
    const QByteArray localPath = QFile::encodeName(path);
    return timePair(
        repetitions, [&] { return reopenOnce(path, history); },
        [&] { return wcOnce(localPath.constData()); }, "opening or counting the book");
}

// Loads the book, or says that it cannot.
bool loadOrSay(Book &book, const QString &path)
{
    if (book.load(path, kLinesPerPage).status == Book::Status::Loaded)
        return true;
    std::fprintf(stderr, "bench_probe: cannot load %s\n", qPrintable(path));
    return false;
}

// The peak resident size in bytes: VmHWM, or ru_maxrss where /proc is missing.
qint64 peakResident()
{
    if (FILE *status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        long long kilobytes = -1;
        while (std::fgets(line, sizeof line, status)) {
            if (std::strncmp(line, "VmHWM:", 6) == 0) {
                kilobytes = std::atoll(line + 6);
                break;
            }
        }
        std::fclose(status);
        if (kilobytes >= 0)
            return kilobytes * 1024;
    }
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return qint64(usage.ru_maxrss) * 1024;
}

int measureMemory(const QString &path)
{
    const qint64 fileBytes = QFileInfo(path).size();
    const qint64 before = peakResident();
    Book book;
    if (!loadOrSay(book, path))
        return 1;
    const qint64 after = peakResident();
    std::printf("%lld %lld\n", static_cast<long long>(after - before),
                static_cast<long long>(fileBytes));
    return 0;
}

// The book is loaded once; only the search is timed. grep exits 1 when it finds nothing, which
// is what both must find.
int timeSearch(const QString &path, int repetitions, const QString &text)
{
    Book book;
    if (!loadOrSay(book, path))
        return 1;
    const QByteArray localPath = QFile::encodeName(path);
    const QByteArray localText = TextCodec::encode(text, book.encoding());
    return timePair(
        repetitions, [&] { return !BookSearch::find(book, text, 0).has_value(); },
        [&] {
            return runTool({"grep", "-F", "-i", "-c", localText, localPath}) == 1;
        },
        "a search for a text the book lacks");
}

// The finder runs on the bytes of a book already loaded; what it is held against is loading it.
int timeContents(const QString &path, int repetitions)
{
    Book book;
    if (book.load(path, kLinesPerPage).status != Book::Status::Loaded) {
        std::fprintf(stderr, "bench_probe: cannot load %s\n", qPrintable(path));
        return 1;
    }
    return timePair(
        repetitions,
        [&] { return ChapterFinder::find(book.bytesFrom(0), book.bytesEncoding()).size() >= 2; },
        [&] { return loadOnce(path); }, "finding the chapters or loading the book");
}

// Find All as the window asks for it: the places, up to a limit, and the count of all; then the
// page, position and line of each place, as a list shows its rows. grep writes to a file: told to
// write to /dev/null, it would stop at the first match.
int timeFindAll(const QString &path, int repetitions, const QString &text, qsizetype limit)
{
    Book book;
    QTemporaryDir folder;
    if (!loadOrSay(book, path) || !folder.isValid())
        return 1;
    const QByteArray localPath = QFile::encodeName(path);
    const QByteArray localText = TextCodec::encode(text, book.encoding());
    const QByteArray output = QFile::encodeName(folder.filePath(QStringLiteral("grep-output")));
    return timePair(
        repetitions,
        [&] {
            qsizetype total = 0;
            const std::vector<qsizetype> places =
                BookSearch::findAll(book, text, {}, limit, &total);
            for (const qsizetype place : places)
                BookSearch::placeOf(book, place, text);
            return total > 0;
        },
        [&] {
            return runTool({"grep", "-F", "-i", limit > 0 ? "-n" : "-c", localText, localPath},
                           output.constData())
                == 0;
        },
        "finding every match");
}

int timeCombine(const QString &target, int repetitions, const QStringList &files)
{
    std::vector<QByteArray> catArguments {"cat"};
    for (const QString &file : files)
        catArguments.push_back(QFile::encodeName(file));
    const QByteArray catTarget = QFile::encodeName(target + u".cat");
    return timePair(
        repetitions, [&] { return Combiner().combine(files, target); },
        [&] { return runTool(catArguments, catTarget.constData()) == 0; }, "combining",
        [&] {
            // Both write a new file, as a first combination does.
            QFile::remove(target);
            QFile::remove(QFile::decodeName(catTarget));
        });
}

// The tools window's run without its window: nothing to show, no events to let through, never
// stopped; the clock is still read as often as the window's run reads it.
class NoProgress : public ToolProgress
{
public:
    void setRange(int) override { }
    void setValue(int) override { }
    void setStatus(const QString &) override { }
    bool yield() override { return false; }
};

bool convertToHtml(const QString &source, const QString &folder)
{
    NoProgress progress;
    return HtmlConversion({source}, folder).run(progress) == HtmlConversion::Outcome::Finished;
}

int timeTxt2Html(const QString &path, const QString &folder, int repetitions)
{
    const QByteArray localPath = QFile::encodeName(path);
    const QString copy = QDir(folder).filePath(QStringLiteral("copy.txt"));
    const QByteArray localCopy = QFile::encodeName(copy);
    const QString page =
        QDir(folder).filePath(QStringLiteral("newhtml/") + BaseName(path) + u".html");
    return timePair(
        repetitions, [&] { return convertToHtml(path, folder); },
        [&] {
            return runTool({"cp", localPath, localCopy}) == 0;
        },
        "converting",
        [&] {
            // Both write a new file, as a conversion into its new folder does.
            QFile::remove(page);
            QFile::remove(copy);
        });
}

// What the reader does to open a compressed book: list it, read its one member, load that.
bool unpackOnce(const QString &path)
{
    const ArchiveFile::Listing listing = ArchiveFile::list(path);
    if (listing.status != ArchiveFile::Status::Ok || listing.members.size() != 1)
        return false;
    ArchiveFile::Contents contents =
        ArchiveFile::read(path, listing.members.first().name, Book::largestBook());
    Book book;
    return contents.status == ArchiveFile::Status::Ok
        && book.loadBytes(std::move(contents.bytes), kLinesPerPage).status == Book::Status::Loaded;
}

int timeUnpack(const QString &packed, const QString &book, int repetitions, const char *tool)
{
    const QByteArray localPacked = QFile::encodeName(packed);
    return timePair(
        repetitions, [&] { return unpackOnce(packed); },
        [&] {
            return runTool({tool, "-dc", localPacked}) == 0 && loadOnce(book);
        },
        "unpacking the book");
}

int measureConversionMemory(const QString &path, const QString &folder)
{
    const qint64 before = peakResident();
    if (!convertToHtml(path, folder)) {
        std::fprintf(stderr, "bench_probe: cannot convert %s\n", qPrintable(path));
        return 1;
    }
    std::printf("%lld\n", static_cast<long long>(peakResident() - before));
    return 0;
}

int generate(const QString &path, qsizetype bytes, const char *lineEnd, const char *charset,
             bool chapters)
{
    using namespace BookFiles;
    const LineEnd end = std::strcmp(lineEnd, "crlf") == 0 ? LineEnd::CrLf
        : std::strcmp(lineEnd, "none") == 0               ? LineEnd::None
                                                          : LineEnd::Lf;
    Charset set = Charset::Ascii;
    for (const Charset known : {Charset::Utf8, Charset::Windows1251, Charset::Utf16,
                                Charset::Gb18030, Charset::Big5, Charset::ShiftJis}) {
        if (kindName(end, known).section(u'-', 1) == QLatin1String(charset))
            set = known;
    }
    if (!write(path, bytes, end, set, chapters ? 2000 : 0)) {
        std::fprintf(stderr, "bench_probe: cannot write %s\n", qPrintable(path));
        return 1;
    }
    return 0;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: bench_probe generate PATH BYTES lf|crlf|none "
                 "ascii|utf8|cp1251|utf16|gb18030|big5|sjis [chapters]\n"
                 "       bench_probe load PATH REPETITIONS\n"
                 "       bench_probe reopen PATH REPETITIONS\n"
                 "       bench_probe memory PATH\n"
                 "       bench_probe search PATH REPETITIONS TEXT\n"
                 "       bench_probe findall PATH REPETITIONS TEXT LIMIT\n"
                 "       bench_probe combine OUT REPETITIONS FILE...\n"
                 "       bench_probe contents PATH REPETITIONS\n"
                 "       bench_probe txt2html PATH FOLDER REPETITIONS\n"
                 "       bench_probe unpack PACKED BOOK REPETITIONS TOOL\n"
                 "       bench_probe memory-txt2html PATH FOLDER\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3)
        return usage();
    const QString command = QString::fromLocal8Bit(argv[1]);
    const QString path = QFile::decodeName(argv[2]);
    if (command == u"generate" && (argc == 6 || argc == 7))
        return generate(path, std::atoll(argv[3]), argv[4], argv[5],
                        argc == 7 && std::strcmp(argv[6], "chapters") == 0);
    if (command == u"load" && argc == 4)
        return timeLoad(path, std::max(1, std::atoi(argv[3])));
    if (command == u"reopen" && argc == 4)
        return timeReopen(path, std::max(1, std::atoi(argv[3])));
    if (command == u"memory" && argc == 3)
        return measureMemory(path);
    if (command == u"search" && argc == 5)
        return timeSearch(path, std::max(1, std::atoi(argv[3])), QString::fromLocal8Bit(argv[4]));
    if (command == u"findall" && argc == 6)
        return timeFindAll(path, std::max(1, std::atoi(argv[3])), QString::fromLocal8Bit(argv[4]),
                           std::atoll(argv[5]));
    if (command == u"combine" && argc >= 5) {
        QStringList files;
        for (int i = 4; i < argc; ++i)
            files << QFile::decodeName(argv[i]);
        return timeCombine(path, std::max(1, std::atoi(argv[3])), files);
    }
    if (command == u"contents" && argc == 4)
        return timeContents(path, std::max(1, std::atoi(argv[3])));
    if (command == u"txt2html" && argc == 5)
        return timeTxt2Html(path, QFile::decodeName(argv[3]), std::max(1, std::atoi(argv[4])));
    if (command == u"unpack" && argc == 6)
        return timeUnpack(path, QFile::decodeName(argv[3]), std::max(1, std::atoi(argv[4])),
                          argv[5]);
    if (command == u"memory-txt2html" && argc == 4)
        return measureConversionMemory(path, QFile::decodeName(argv[3]));
    return usage();
}

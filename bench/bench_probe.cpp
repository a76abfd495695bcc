// Raw measurements for bench/compare, which turns them into figures against their targets.
//
//   bench_probe generate PATH BYTES lf|crlf ascii|utf8   write a generated book
//   bench_probe load PATH REPETITIONS   median ns of Book::load and of a whole `wc -l PATH` run
//   bench_probe memory PATH             peak bytes one load adds to this process, and file bytes

#include "BookFiles.h"
#include "book/Book.h"

#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
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

// One whole run of `wc -l path`, spawn and wait included, its output thrown away.
bool wcOnce(const char *path)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    char wc[] = "wc";
    char lines[] = "-l";
    char *argv[] = {wc, lines, const_cast<char *>(path), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, "wc", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return false;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The two are timed in turns so that a busy moment on the machine falls on both alike.
int timeLoad(const QString &path, int repetitions)
{
    const QByteArray localPath = QFile::encodeName(path);
    if (!loadOnce(path) || !wcOnce(localPath.constData())) {
        std::fprintf(stderr, "bench_probe: cannot load or count %s\n", localPath.constData());
        return 1;
    }
    std::vector<qint64> loads;
    std::vector<qint64> counts;
    for (int i = 0; i < repetitions; ++i) {
        Clock::time_point start = Clock::now();
        loadOnce(path);
        loads.push_back(nanosecondsSince(start));
        start = Clock::now();
        wcOnce(localPath.constData());
        counts.push_back(nanosecondsSince(start));
    }
    std::printf("%lld %lld\n", static_cast<long long>(median(loads)),
                static_cast<long long>(median(counts)));
    return 0;
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
    if (book.load(path, kLinesPerPage).status != Book::Status::Loaded) {
        std::fprintf(stderr, "bench_probe: cannot load %s\n", qPrintable(path));
        return 1;
    }
    const qint64 after = peakResident();
    std::printf("%lld %lld\n", static_cast<long long>(after - before),
                static_cast<long long>(fileBytes));
    return 0;
}

int generate(const QString &path, qsizetype bytes, const char *lineEnd, const char *charset)
{
    using namespace BookFiles;
    const LineEnd end = std::strcmp(lineEnd, "crlf") == 0 ? LineEnd::CrLf : LineEnd::Lf;
    const Charset set = std::strcmp(charset, "utf8") == 0 ? Charset::Utf8 : Charset::Ascii;
    if (!write(path, bytes, end, set)) {
        std::fprintf(stderr, "bench_probe: cannot write %s\n", qPrintable(path));
        return 1;
    }
    return 0;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: bench_probe generate PATH BYTES lf|crlf ascii|utf8\n"
                 "       bench_probe load PATH REPETITIONS\n"
                 "       bench_probe memory PATH\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3)
        return usage();
    const QString command = QString::fromLocal8Bit(argv[1]);
    const QString path = QFile::decodeName(argv[2]);
    if (command == u"generate" && argc == 6)
        return generate(path, std::atoll(argv[3]), argv[4], argv[5]);
    if (command == u"load" && argc == 4)
        return timeLoad(path, std::max(1, std::atoi(argv[3])));
    if (command == u"memory" && argc == 3)
        return measureMemory(path);
    return usage();
}

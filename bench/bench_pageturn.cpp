// The time the reader window takes to show the next page, for bench/compare. It builds the real
// window, so it links the windows' library; bench_probe stays QtCore-only.
//
//   bench_pageturn PATH TURNS [fit]  median ns of Next on a shown page, the repaint included;
//                                    with fit, on pages cut to the window, once all are counted
//   bench_pageturn PATH fit-count    ns from opening the book with pages cut to the window until
//                                    they are all counted, the window's events going on
//
// Run it offscreen (QT_QPA_PLATFORM=offscreen). The settings record is the first run's, read
// from a config.ini in a temporary folder, and the window's placement store lands there too.

#include "platform/Prompts.h"
#include "reader/frmMain.h"
#include "settings/GlobalData.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Answers every prompt as a user who presses OK or cancels, and counts the messages: a page
// turn that meets one ("End of the Book") measures the wrong thing.
class SilentPrompts : public Prompts
{
public:
    Answer message(QWidget *, const Message &) override
    {
        ++messages;
        return Answer::Ok;
    }
    std::optional<QString> askLine(QWidget *, const QString &, const QString &,
                                   const QString &) override
    {
        return std::nullopt;
    }
    std::optional<int> chooseItem(QWidget *, const QString &, const QString &,
                                  const QStringList &) override
    {
        return std::nullopt;
    }
    QString openFile(QWidget *, const QString &, const QString &) override { return {}; }
    std::optional<QColor> color(QWidget *, const QColor &) override { return std::nullopt; }
    std::optional<QFont> font(QWidget *, const QFont &, int, int) override { return std::nullopt; }
    bool printerSetup(QWidget *, QPrinter &, const QString &) override { return false; }

    int messages = 0;
};

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: bench_pageturn PATH TURNS [fit] | PATH fit-count\n");
        return 2;
    }
    QTemporaryDir config;
    if (!config.isValid() || !qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()))) {
        std::fprintf(stderr, "bench_pageturn: no temporary folder\n");
        return 1;
    }
    QApplication app(argc, argv);
    const QString path = QFile::decodeName(argv[1]);
    const bool count = std::strcmp(argv[2], "fit-count") == 0;
    const bool fit = count || (argc == 4 && std::strcmp(argv[3], "fit") == 0);
    const int turns = std::max(1, std::atoi(argv[2]));

    SilentPrompts prompts;
    GlobalData data;
    data.applyDefaultsRule();
    frmMain window(prompts, data);
    window.Form_Load(QDir(config.path()).filePath(QStringLiteral("config.ini")));
    window.show();
    QApplication::processEvents();
    if (fit) {
        auto *fitPages = window.findChild<QAction *>(QStringLiteral("mnuViewFitPages"));
        if (!fitPages) {
            std::fprintf(stderr, "bench_pageturn: no View > Fit Pages to Window\n");
            return 1;
        }
        fitPages->trigger();
        QApplication::processEvents();
    }
    if (count) {
        const Clock::time_point start = Clock::now();
        window.openBook(path);
        while (window.state().bookOpened() && !window.state().pagesExact())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const qint64 ns =
            std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count();
        if (!window.state().bookOpened() || prompts.messages != 0) {
            std::fprintf(stderr, "bench_pageturn: %s did not open\n", argv[1]);
            return 1;
        }
        std::printf("%lld\n", static_cast<long long>(ns));
        return 0;
    }
    window.openBook(path);
    QApplication::processEvents();
    // A turn while the pages are counted waits for the slice of counting under way, a few
    // milliseconds; the figure is the turn's own.
    while (window.state().bookOpened() && !window.state().pagesExact())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (!window.state().bookOpened() || prompts.messages != 0
        || window.state().lastPageIndex() < turns) {
        std::fprintf(stderr, "bench_pageturn: %s did not open, or has no %d pages to turn\n",
                     argv[1], turns + 1);
        return 1;
    }

    std::vector<qint64> times;
    for (int i = 0; i < turns; ++i) {
        const Clock::time_point start = Clock::now();
        window.CommandNext_Click();
        // The page is shown once the window has laid it out and painted it.
        QApplication::processEvents();
        times.push_back(
            std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count());
    }
    if (window.state().currentPage() != turns || prompts.messages != 0) {
        std::fprintf(stderr, "bench_pageturn: the window did not turn %d pages\n", turns);
        return 1;
    }
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    const qint64 middle = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    std::printf("%lld\n", static_cast<long long>(middle));
    return 0;
}

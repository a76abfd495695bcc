#include "app/AppInfo.h"
#include "app/ContentsCommand.h"
#include "app/Startup.h"
#include "reader/frmMain.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDialog>
#include <QFileInfo>
#include <QIcon>
#include <QSocketNotifier>
#include <QTextStream>
#include <QThread>
#include <QTimer>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

void describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Reads books held as plain-text files, one page at a time.\n"
        "\n"
        "Keys in the page: Right, Page Down, Space: next page; Left, Page Up, Shift+Space:\n"
        "previous page; Home, End: first and last page; the wheel past a page's end turns it.\n"
        "Ctrl+G: the page-number box. Ctrl+O: open a book; File > Recent Books: the books\n"
        "opened last. Ctrl+S or Ctrl+F: search; Ctrl+N or F3: next match. F11: the page alone,\n"
        "full screen (F11 or Esc to come back). Ctrl+P: print; Ctrl+C: copy; Ctrl+E: exit;\n"
        "Ctrl+T: Text File Tools; F1: help. View > Encoding reads the book in another\n"
        "encoding. Ctrl+Shift+C: the contents; Ctrl+Page Down, Ctrl+Page Up: the next chapter,\n"
        "the start of this one or the one before."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({QStringLiteral("contents"),
                      QStringLiteral("Print the contents of BOOK, one chapter a line: its page, "
                                     "its level and its title, separated by tabs; then exit."),
                      QStringLiteral("BOOK")});
    parser.addOption({QStringLiteral("lines-per-page"),
                      QStringLiteral("With --contents: number the pages at N lines a page (the "
                                     "saved number when not given)."),
                      QStringLiteral("N")});
    parser.addPositionalArgument(QStringLiteral("BOOK"),
                                 QStringLiteral("A text file to open after start-up."),
                                 QStringLiteral("[BOOK]"));
}

// --help, --version and --contents answer without a display.
bool onlyAsksForText(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        for (const char *option :
             {"-h", "--help", "--help-all", "-v", "--version", "-?", "--contents"}) {
            if (std::strcmp(argv[i], option) == 0
                || (std::strncmp(argv[i], "--contents=", 11) == 0 && option[2] == 'c'))
                return true;
        }
    }
    return false;
}

int printContents(const QCommandLineParser &parser)
{
    QTextStream out(stdout);
    QTextStream errors(stderr);
    std::optional<int> linesPerPage;
    if (parser.isSet(QStringLiteral("lines-per-page"))) {
        bool ok = false;
        const int n = parser.value(QStringLiteral("lines-per-page")).toInt(&ok);
        if (!ok || n < 1 || n > 32767) {
            errors << "pagelark: --lines-per-page takes a whole number from 1 to 32767" << Qt::endl;
            return 1;
        }
        linesPerPage = n;
    }
    const QString book = QFileInfo(parser.value(QStringLiteral("contents"))).absoluteFilePath();
    return ContentsCommand::run(book, linesPerPage, out, errors);
}

void nameApplication()
{
    QCoreApplication::setOrganizationName(AppInfo::title());
    QCoreApplication::setApplicationName(AppInfo::title());
    QCoreApplication::setApplicationVersion(AppInfo::version());
}

int closeSignalPipe[2] = {-1, -1};
constexpr int closeSignals[] = {SIGTERM, SIGINT, SIGHUP};
bool mainLoopRunning = false;

extern "C" void onCloseSignal(int)
{
    // A signal handler may do little more than write(); the event loop does the rest.
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(closeSignalPipe[1], &byte, 1);
}

void closeReader()
{
    // A dialog or menu runs a loop of its own above the window's code, also while the reader
    // starts. End it first and close the window once that code has returned, so the window is
    // not deleted under it.
    if (QThread::currentThread()->loopLevel() > (mainLoopRunning ? 1 : 0)) {
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        else if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
            dialog->reject();
        QTimer::singleShot(50, qApp, &closeReader);
        return;
    }
    if (MainForm)
        MainForm->close();
    else
        QCoreApplication::quit();
}

// A desktop logout sends SIGTERM; it, SIGINT and SIGHUP close the reader as File > Exit does,
// so config.ini is saved. A second one ends the program at once.
void closeOnSignals(QObject *parent)
{
    if (::pipe2(closeSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto *notifier = new QSocketNotifier(closeSignalPipe[0], QSocketNotifier::Read, parent);
    QObject::connect(notifier, &QSocketNotifier::activated, parent, [notifier] {
        char bytes[16];
        while (::read(closeSignalPipe[0], bytes, sizeof bytes) > 0) { }
        notifier->setEnabled(false);
        for (const int signal : closeSignals)
            std::signal(signal, SIG_DFL);
        closeReader();
    });
    struct sigaction action = {};
    action.sa_handler = onCloseSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : closeSignals)
        sigaction(signal, &action, nullptr);
}

} // namespace

int main(int argc, char *argv[])
{
    QCommandLineParser parser;
    describe(parser);
    if (onlyAsksForText(argc, argv)) {
        QCoreApplication app(argc, argv);
        nameApplication();
        parser.process(app);
        return printContents(parser);
    }

    QApplication app(argc, argv);
    nameApplication();
    QApplication::setDesktopFileName(QStringLiteral("org.pagelark.Pagelark"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("pagelark"),
                                                 QIcon(QStringLiteral(":/icons/pagelark.svg"))));
    parser.process(app);

    closeOnSignals(&app);
    Main();
    const QStringList books = parser.positionalArguments();
    if (!books.isEmpty() && MainForm)
        MainForm->openBook(QFileInfo(books.first()).absoluteFilePath());
    // The first thing the main loop runs: from then on, a loop above it is a dialog's or a menu's.
    QTimer::singleShot(0, &app, [] { mainLoopRunning = true; });
    return QApplication::exec();
}

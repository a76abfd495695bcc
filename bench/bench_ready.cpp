// The reader as a user starts it, for bench/compare to time as a whole process: the window
// built and loaded as start-up does, the book given opened as the command line opens it, and the
// process ended once the page view has painted the first page (or, without a book, the window).
//
//   bench_ready [BOOK [fit]]   with fit, the pages cut to the window (its layout file says so)

#include "app/Startup.h"
#include "reader/TextArea.h"
#include "reader/frmMain.h"
#include "settings/ReadingLayout.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace {

// Ends the program once the view has painted, in the loop's next round.
class QuitWhenPainted : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir config;
    if (!config.isValid() || !qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()))) {
        std::fprintf(stderr, "bench_ready: no temporary folder\n");
        return 1;
    }
    const QString configFile = config.filePath(QStringLiteral("Pagelark/config.ini"));
    if (argc > 2 && std::strcmp(argv[2], "fit") == 0) {
        ReadingLayout layout;
        layout.fitPages = true;
        if (!QDir(config.path()).mkpath(QStringLiteral("Pagelark"))
            || !layout.save(ReadingLayout::fileBeside(configFile))) {
            std::fprintf(stderr, "bench_ready: no layout file\n");
            return 1;
        }
    }
    QApplication app(argc, argv);
    Main();
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        MainForm->openBook(QFileInfo(arguments.at(1)).absoluteFilePath());
    auto *view = MainForm->findChild<TextArea *>(QStringLiteral("TextArea"));
    view->viewport()->installEventFilter(new QuitWhenPainted(&app));
    if (arguments.size() > 1 && !MainForm->state().bookOpened()) {
        std::fprintf(stderr, "bench_ready: %s did not open\n", argv[1]);
        return 1;
    }
    return QApplication::exec();
}

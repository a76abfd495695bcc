// The reader as a user starts it, for bench/compare to time as a whole process: the window
// built and loaded as start-up does, the book given opened as the command line opens it, and the
// process ended once the page view has painted the first page (or, without a book, the window).
//
//   bench_ready [BOOK]

#include "app/Startup.h"
#include "reader/TextArea.h"
#include "reader/frmMain.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

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

#include "app/AppInfo.h"
#include "app/Startup.h"
#include "reader/frmMain.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QIcon>

#include <cstring>

namespace {

void describe(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QStringLiteral("Reads books held as plain-text files, one page at a time."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("BOOK"),
                                 QStringLiteral("A text file to open after start-up."),
                                 QStringLiteral("[BOOK]"));
}

// --help and --version answer without a display.
bool onlyAsksForText(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        for (const char *option : {"-h", "--help", "--help-all", "-v", "--version", "-?"}) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

void nameApplication()
{
    QCoreApplication::setOrganizationName(AppInfo::title());
    QCoreApplication::setApplicationName(AppInfo::title());
    QCoreApplication::setApplicationVersion(AppInfo::version());
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
        return 0;
    }

    QApplication app(argc, argv);
    nameApplication();
    QApplication::setDesktopFileName(QStringLiteral("org.pagelark.Pagelark"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("pagelark"),
                                                 QIcon(QStringLiteral(":/icons/pagelark.svg"))));
    parser.process(app);

    Main();
    const QStringList books = parser.positionalArguments();
    if (!books.isEmpty() && MainForm)
        MainForm->openBook(QFileInfo(books.first()).absoluteFilePath());
    return QApplication::exec();
}

#include "platform/Launcher.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

bool DesktopLauncher::startProgram(const QString &program, const QStringList &arguments,
                                   QString *errorText)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    if (program.isEmpty()) {
        if (errorText)
            *errorText = QCoreApplication::translate("Launcher", "No program to start");
        return false;
    }
    if (process.startDetached())
        return true;
    if (errorText)
        *errorText = process.errorString();
    return false;
}

bool DesktopLauncher::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

QStringList DesktopLauncher::textEditors()
{
    // No desktop opener (xdg-open) at the end: this program is itself a handler of plain text,
    // so the opener could hand the book straight back to the reader instead of an editor.
    return {
        QStringLiteral("gedit"),  QStringLiteral("gnome-text-editor"), QStringLiteral("kate"),
        QStringLiteral("kwrite"), QStringLiteral("mousepad"),          QStringLiteral("pluma"),
        QStringLiteral("xed"),    QStringLiteral("leafpad"),           QStringLiteral("featherpad"),
        QStringLiteral("geany"),  QStringLiteral("notepadqq")};
}

QString DesktopLauncher::textEditor() const
{
    const QStringList editors = textEditors();
    for (const QString &editor : editors) {
        const QString path = QStandardPaths::findExecutable(editor);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

QStringList HelpPageCandidates()
{
    const QString page = QStringLiteral("/help/index.html");
    const QString folder = qEnvironmentVariable("PAGELARK_HELP_DIR");
    if (!folder.isEmpty())
        return {folder + QStringLiteral("/index.html")};

    const QString programFolder = QCoreApplication::applicationDirPath();
    QStringList candidates {programFolder + page};
#ifdef PAGELARK_DATA_FROM_BIN
    // An installed program finds its own page however the installed tree was moved.
    candidates << QDir::cleanPath(programFolder + QStringLiteral("/" PAGELARK_DATA_FROM_BIN)
                                  + page);
#endif
#ifdef PAGELARK_DATA_DIR
    candidates << QStringLiteral(PAGELARK_DATA_DIR) + page;
#endif
#ifdef PAGELARK_SOURCE_DIR
    candidates << QStringLiteral(PAGELARK_SOURCE_DIR "/resources") + page;
#endif
    candidates.removeDuplicates();
    return candidates;
}

QString HelpPagePath()
{
    const QStringList candidates = HelpPageCandidates();
    for (const QString &path : candidates) {
        if (QFileInfo(path).isFile())
            return path;
    }
    return candidates.first();
}

QString Launcher::openInTextEditor(const QString &path)
{
    const QString editor = textEditor();
    if (editor.isEmpty())
        return QStringLiteral("No text editor was found to open the book with. "
                              "Install one, for example gedit or mousepad.");
    QString why;
    if (!startProgram(editor, {path}, &why))
        return QStringLiteral("The text editor could not be started:\n%1\n%2").arg(editor, why);
    return {};
}

QString Launcher::showHelpPage()
{
    const QString page = HelpPagePath();
    const QString shown = QDir::toNativeSeparators(page);
    if (!QFileInfo::exists(page))
        return QStringLiteral("The help page was not found:\n%1").arg(shown);
    if (!openUrl(QUrl::fromLocalFile(page)))
        return QStringLiteral("No program was found to show the help page:\n%1").arg(shown);
    return {};
}

#include "platform/Launcher.h"

#include <QCoreApplication>
#include <QDesktopServices>
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
    return {
        QStringLiteral("gedit"),  QStringLiteral("gnome-text-editor"), QStringLiteral("kate"),
        QStringLiteral("kwrite"), QStringLiteral("mousepad"),          QStringLiteral("pluma"),
        QStringLiteral("xed"),    QStringLiteral("leafpad"),           QStringLiteral("featherpad"),
        QStringLiteral("geany"),  QStringLiteral("xdg-open")};
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
    QStringList candidates {QCoreApplication::applicationDirPath() + page};
#ifdef PAGELARK_SOURCE_DIR
    candidates << QStringLiteral(PAGELARK_SOURCE_DIR "/resources") + page;
#endif
#ifdef PAGELARK_DATA_DIR
    candidates << QStringLiteral(PAGELARK_DATA_DIR) + page;
#endif
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

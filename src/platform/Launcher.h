#pragma once

#include <QString>
#include <QStringList>

class QUrl;

// Starts the desktop's programs for the windows: a program with its arguments, the default
// handler of a page or web address, and the plain-text editor. A program gets its arguments as
// a list, never through a shell, so a path with blanks or quotes stays one argument. Nothing
// here waits for a started program.
class Launcher
{
public:
    virtual ~Launcher() = default;

    // False, with the reason in errorText when given, when the program could not be started.
    virtual bool startProgram(const QString &program, const QStringList &arguments,
                              QString *errorText = nullptr) = 0;
    // Hands a page or address to the desktop's handler for it; false when none took it.
    virtual bool openUrl(const QUrl &url) = 0;
    // The program that opens a text file given as its one argument, or empty when the desktop
    // has none.
    virtual QString textEditor() const = 0;

    // The book to the plain-text editor as one argument; empty when started, else what went
    // wrong in words for the user.
    QString openInTextEditor(const QString &path);
    // The help page to the desktop's browser; empty when shown, else what went wrong.
    QString showHelpPage();
};

class DesktopLauncher : public Launcher
{
public:
    bool startProgram(const QString &program, const QStringList &arguments,
                      QString *errorText = nullptr) override;
    bool openUrl(const QUrl &url) override;
    QString textEditor() const override;

    // The editors looked for on PATH, in order.
    static QStringList textEditors();
};

// Where the help page may be, in order: beside the program, in the data folder of the installed
// tree the program runs from, in the data folder the program was built to be installed in, in
// the source tree of a build that was never installed. PAGELARK_HELP_DIR, when set, names the
// one folder that holds the page instead.
QStringList HelpPageCandidates();
// The first of those that exists, else the first candidate, whose absence the caller reports.
QString HelpPagePath();

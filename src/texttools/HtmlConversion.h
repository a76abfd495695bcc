#pragma once

#include "texttools/ToolProgress.h"

#include <QElapsedTimer>
#include <QStringList>

// The TXT2HTML command on the selection list and the output folder: its checks and their
// reports, and the run that turns every listed file into its page (HtmlPage) in the folder
// "newhtml" of the output folder, one file after the other. A page is written as it is built
// and takes its name only when whole, so a stopped or failed run leaves no part of a page; the
// pages finished before stay. Showing the reports, the Stop button and what the window does at
// the end of a run are the window's.
class HtmlConversion
{
public:
    enum class Outcome { Finished, Stopped, Failed };

    HtmlConversion(const QStringList &files, const QString &outputFolder);

    // Both checks are made, so a command can have two things to say.
    const ToolNotices &notices() const { return m_notices; }
    bool goAhead() const { return m_notices.isEmpty(); }
    // Where the pages go.
    const QString &folder() const { return m_folder; }

    // Ends with the status "Done..." unless it failed; failure() then says why, for the status
    // bar and a message alike.
    Outcome run(ToolProgress &progress);
    const QString &failure() const { return m_failure; }

private:
    Outcome convertOne(const QString &source, ToolProgress &progress);
    Outcome fail(const QString &why);

    QStringList m_files;
    QString m_folder;
    ToolNotices m_notices;
    QString m_failure;
    QElapsedTimer m_sinceYield;
};

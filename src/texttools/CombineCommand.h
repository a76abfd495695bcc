#pragma once

#include "texttools/ToolProgress.h"

#include <QStringList>

// The Combine command from the name the user typed, the output folder and the selection list:
// its checks and their reports, the target, whether replacing an existing target needs asking,
// and the run with its statuses and progress. Asking the user and showing the reports are the
// window's; the bytes are copied by Combiner.
class CombineCommand
{
public:
    CombineCommand(const QString &name, const QString &folder, const QStringList &files);

    // Every check is made, so one command can have several things to say.
    const ToolNotices &notices() const { return m_notices; }
    bool goAhead() const { return m_goAhead; }
    const QString &target() const { return m_target; }
    // The question to ask before an existing target is replaced; empty when there is none to
    // replace or the command may not go ahead.
    const QString &overwriteQuestion() const { return m_overwriteQuestion; }

    // False when a file could not be read or the target written; failure() then says why, for
    // the status bar and a message alike. Runs to its end without yielding.
    bool run(ToolProgress &progress);
    const QString &failure() const { return m_failure; }

private:
    QStringList m_files;
    QString m_target;
    ToolNotices m_notices;
    bool m_goAhead = true;
    QString m_overwriteQuestion;
    QString m_failure;
};

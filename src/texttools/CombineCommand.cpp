#include "texttools/CombineCommand.h"

#include "app/FileChecks.h"
#include "app/ReadWholeFile.h"
#include "texttools/Combiner.h"

#include <QFileInfo>

CombineCommand::CombineCommand(const QString &name, const QString &folder, const QStringList &files)
    : m_files(files), m_target(FullPathOf(folder, name))
{
    auto refuse = [this](ToolNotice::Kind kind, const QString &text) {
        m_notices.append({kind, text});
        m_goAhead = false;
    };
    if (name.isEmpty()) {
        refuse(ToolNotice::Kind::Status,
               QStringLiteral("Action Ignored, New File Name Not Entered"));
    } else if (files.size() < 2) {
        refuse(ToolNotice::Kind::Message, QStringLiteral("Needs at least two files to compile"));
    }
    if (folder.isEmpty())
        refuse(ToolNotice::Kind::Status, QStringLiteral("Action Ignored, Need new file path"));
    // Copying the first file onto the target would destroy a source that is the target under
    // any spelling, not only the same text.
    if (!name.isEmpty() && !folder.isEmpty()) {
        for (const QString &file : files) {
            if (Combiner::isSameFile(file, m_target))
                refuse(
                    ToolNotice::Kind::Message,
                    QStringLiteral("Can't combine file into itself, please enter a new file name"));
        }
    }
    // Only a file is written over: a device, a pipe or a socket of that name stays as it is.
    const QFileInfo target(m_target);
    if (m_goAhead && target.exists() && !target.isFile() && !target.isDir())
        refuse(ToolNotice::Kind::Message,
               QStringLiteral("Cannot combine into %1: %2.").arg(m_target, notRegularReason()));
    if (m_goAhead && FileExists(m_target))
        m_overwriteQuestion = QStringLiteral("File ") + m_target
            + QStringLiteral(" allready exists!\r\nDo you want to overwrite it?");
}

bool CombineCommand::run(ToolProgress &progress)
{
    progress.setStatus(QStringLiteral("wait please"));
    progress.setRange(int(m_files.size()) - 1);
    progress.setValue(0);
    Combiner combiner;
    const bool done = combiner.combine(m_files, m_target, [&](int index) {
        progress.setValue(index);
        progress.setStatus(QStringLiteral("wait please ") + m_files.at(index)
                           + QStringLiteral(" Combined"));
    });
    if (!done) {
        m_failure = QStringLiteral("Combine stopped, ") + combiner.errorString();
        return false;
    }
    progress.setStatus(QStringLiteral("Combine Files Done"));
    return true;
}

#include "texttools/HtmlConversion.h"

#include "app/FileChecks.h"
#include "app/WholeFileWriter.h"
#include "book/BaseName.h"
#include "texttools/HtmlPage.h"

#include <QDir>

#include <limits>

namespace {

// How long the run works between two yields: often enough for painting and a working Stop,
// rarely enough to cost nothing against the work. The clock is read only every few lines: on a
// book of short lines reading it would cost more than the lines.
constexpr qint64 kYieldIntervalMs = 15;
constexpr qsizetype kItemsPerClockReading = 64;

int progressValue(qsizetype n)
{
    return int(qMin<qsizetype>(n, std::numeric_limits<int>::max()));
}

QString cannotWrite(const QString &path, const WholeFileWriter &out)
{
    return QStringLiteral("cannot write %1: %2").arg(path, out.errorString());
}

} // namespace

HtmlConversion::HtmlConversion(const QStringList &files, const QString &outputFolder)
    : m_files(files), m_folder(FullPathOf(outputFolder, QStringLiteral("newhtml")))
{
    if (files.isEmpty())
        m_notices.append(
            {ToolNotice::Kind::Message, QStringLiteral("Needs at least one file to convert")});
    if (outputFolder.isEmpty())
        m_notices.append(
            {ToolNotice::Kind::Status, QStringLiteral("Action Ignored, Need new file path")});
}

HtmlConversion::Outcome HtmlConversion::run(ToolProgress &progress)
{
    m_failure.clear();
    m_sinceYield.start();
    Outcome outcome = Outcome::Finished;
    for (qsizetype i = 0; i < m_files.size() && outcome == Outcome::Finished; ++i) {
        // Only the first file makes the folder; one that has gone since is a failed write.
        if (DirExists(m_folder))
            progress.setStatus(
                QStringLiteral("directory already exist, create new directory action ignored"));
        else if (i == 0 && !QDir().mkdir(m_folder))
            return fail(QStringLiteral("cannot create folder ") + m_folder);
        outcome = convertOne(m_files.at(i), progress);
    }
    if (outcome != Outcome::Failed)
        progress.setStatus(QStringLiteral("Done..."));
    return outcome;
}

HtmlConversion::Outcome HtmlConversion::convertOne(const QString &source, ToolProgress &progress)
{
    const QString base = BaseName(source);
    const QString pagePath = FullPathOf(m_folder, base + QStringLiteral(".html"));
    HtmlPage page;
    if (!page.open(source, base))
        return fail(page.error());
    WholeFileWriter out(pagePath);
    if (!out.open())
        return fail(cannotWrite(pagePath, out));
    progress.setRange(progressValue(page.itemCount()));
    progress.setValue(0);
    qsizetype passes = 0;
    bool written = true;
    bool failed = false;
    const HtmlPage::Sink write = [&](QByteArrayView piece) {
        return written = out.write(piece);
    };
    while (!page.atEnd() && !failed) {
        // Every file starts with a yield, so that Stop is heard before a file is converted
        // however fast the files before it went.
        if (passes == 0
            || (passes % kItemsPerClockReading == 0
                && m_sinceYield.elapsed() >= kYieldIntervalMs)) {
            progress.setValue(progressValue(passes));
            const bool stop = progress.yield();
            m_sinceYield.restart();
            if (stop)
                return Outcome::Stopped;
        }
        failed = !page.addNextItem(write);
        ++passes;
    }
    progress.setValue(progressValue(passes));
    if (written && failed)
        return fail(page.error());
    if (!written || !out.commit())
        return fail(cannotWrite(pagePath, out));
    return Outcome::Finished;
}

HtmlConversion::Outcome HtmlConversion::fail(const QString &why)
{
    m_failure = QStringLiteral("Conversion stopped, ") + why;
    return Outcome::Failed;
}

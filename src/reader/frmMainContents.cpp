// The reader window's contents: the panel, the chapter keys, the status bar's chapter and the
// reader's corrections, wired to BookContents and BookState.
#include "reader/frmMain.h"

#include "platform/BusyCursor.h"
#include "platform/Prompts.h"
#include "reader/ContentsPanel.h"
#include "reader/ContentsWorker.h"
#include "reader/LabelSlot.h"
#include "reader/TextArea.h"

#include <QAction>
#include <QFontMetrics>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>

namespace {

// The most room the status bar gives a chapter's title.
constexpr int kChapterPanelChars = 28;
// A pattern that finds more lines than this finds no chapters but lines of the text.
constexpr qsizetype kMostChapters = 10000;

} // namespace

// The contents of the book just opened are found while it is read; its marks go with them. The
// contents of the book before go at once; those found before a new mark stay until the new ones
// come, so that the next mark can be made meanwhile.
void frmMain::findContents(bool sameBook)
{
    if (!sameBook) {
        m_contents.reset();
        frmContents->showNote(QStringLiteral("Finding the chapters..."));
    }
    const Book &book = m_state.book();
    m_contentsWorker->find(book.heldBytes(), book.textStart(), book.bytesEncoding(),
                           m_record.chapters);
    showChapterShown();
}

void frmMain::forgetContents()
{
    m_contentsWorker->forget();
    m_contents.reset();
    frmContents->showNote(QStringLiteral("No book is open."));
    showChapterShown();
}

void frmMain::showContents(std::shared_ptr<const BookContents> contents)
{
    m_contents = std::move(contents);
    QList<int> pages;
    for (const Chapter &entry : m_contents->entries())
        pages.append(m_state.book().pageAt(entry.offset));
    frmContents->setEntries(m_contents->entries(), pages, !m_record.chapters.pattern.isEmpty());
    showChapterShown();
}

// The chapter of the page shown, marked in the panel and named in the status bar.
void frmMain::showChapterShown()
{
    const int shown = m_contents ? m_state.chapterShown(*m_contents) : -1;
    if (shown != frmContents->current())
        frmContents->setCurrent(shown);
    const QFontMetrics metrics(m_chapterPanel->font());
    const QString title = shown < 0 ? QString() : m_contents->entries()[shown].title;
    m_chapterPanel->setText(
        metrics.elidedText(title, Qt::ElideRight, metrics.averageCharWidth() * kChapterPanelChars));
    for (QAction *action : {mnuViewNextChapter, mnuViewPreviousChapter})
        action->setEnabled(m_contents && !m_contents->isEmpty());
}

void frmMain::mnuViewContents_Click()
{
    // The item's check mark is already inverted: checked now means the contents were hidden.
    showPanel(mnuViewContents->isChecked() ? frmContents : nullptr);
}

void frmMain::mnuViewNextChapter_Click()
{
    if (m_contents)
        showAnswer(m_state.nextChapter(*m_contents));
}

void frmMain::mnuViewPreviousChapter_Click()
{
    if (m_contents)
        showAnswer(m_state.previousChapter(*m_contents));
}

// A pattern replaces the rules for this book, once it is valid and finds a line; until then the
// contents stay as they are.
void frmMain::mnuViewChapterPattern_Click()
{
    if (!m_state.bookOpened()) {
        m_prompts.tell(this, QStringLiteral("please open a book first"));
        return;
    }
    const std::optional<QString> typed = m_prompts.askLine(
        this,
        QStringLiteral("Chapter headings are the lines this regular expression matches, for "
                       "example ^Chapter \\d+"),
        QStringLiteral("Chapter Pattern"), m_record.chapters.pattern);
    if (!typed || typed->isEmpty())
        return;
    const QRegularExpression pattern(*typed, QRegularExpression::UseUnicodePropertiesOption);
    if (!pattern.isValid()) {
        m_prompts.tell(this,
                       QStringLiteral("This chapter pattern is not valid: %1 (at character "
                                      "%2).")
                           .arg(pattern.errorString())
                           .arg(pattern.patternErrorOffset() + 1));
        return;
    }
    qsizetype found = 0;
    {
        const BusyCursor busy(this);
        const Book &book = m_state.book();
        found =
            ChapterFinder::findByPattern(book.bytesFrom(0), book.bytesEncoding(), pattern).size();
    }
    if (found == 0 || found > kMostChapters) {
        m_prompts.tell(this,
                       found == 0
                           ? QStringLiteral("The chapter pattern finds no line of this book; the "
                                            "contents stay as they are.")
                           : QStringLiteral("The chapter pattern finds %1 lines, more than the %2 "
                                            "chapters a contents lists; the contents stay as "
                                            "they are.")
                                 .arg(found)
                                 .arg(kMostChapters));
        return;
    }
    ChapterMarks marks = m_record.chapters;
    marks.pattern = *typed;
    setChapterMarks(marks);
}

void frmMain::mnuViewChapterAutomatic_Click()
{
    if (!m_state.bookOpened() || m_record.chapters.pattern.isEmpty())
        return;
    ChapterMarks marks = m_record.chapters;
    marks.pattern.clear();
    setChapterMarks(marks);
}

void frmMain::mnuPopupMarkChapter_Click()
{
    const std::optional<LineAnchor> line = lineUnderPointer();
    if (!line)
        return;
    ChapterMarks marks = m_record.chapters;
    marks.unmarked.removeIf([&](const LineAnchor &at) { return at.line == line->line; });
    if (!m_contents->isMarked(line->line))
        marks.marked.append(*line);
    setChapterMarks(marks);
}

void frmMain::mnuPopupNotChapter_Click()
{
    const std::optional<LineAnchor> line = lineUnderPointer();
    if (!line)
        return;
    ChapterMarks marks = m_record.chapters;
    const qsizetype before = marks.marked.size();
    marks.marked.removeIf([&](const LineAnchor &at) { return at.line == line->line; });
    if (marks.marked.size() == before)
        marks.unmarked.append(*line);
    setChapterMarks(marks);
}

// The marks are the book's from now on, kept with its place; the contents are found anew.
void frmMain::setChapterMarks(const ChapterMarks &marks)
{
    m_record.chapters = marks;
    leaveBook();
    saveHistorySoon();
    findContents(true);
}

// The line of the page shown under the pointer of the last right click, as a mark keeps it.
std::optional<LineAnchor> frmMain::lineUnderPointer() const
{
    if (!m_contents || !m_state.bookOpened() || m_state.book().isEmpty())
        return std::nullopt;
    const QTextCursor cursor = m_textArea->cursorForPosition(m_popupPoint);
    // Lines of the page are paragraphs, or lines of one paragraph ended by line separators.
    const QTextBlock block = cursor.block();
    int line = 0;
    for (QTextBlock before = block.previous(); before.isValid(); before = before.previous())
        ++line;
    const QString text = block.text();
    line += int(text.left(cursor.positionInBlock()).count(QChar::LineSeparator));
    return m_contents->anchorAt(m_state.book().lineOffset(m_state.currentPage(), line));
}

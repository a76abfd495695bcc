#include "book/BookState.h"

#include "app/ReadWholeFile.h"
#include "book/BookSearch.h"
#include "book/PageNumberRule.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

QString pageNumberOf(int index)
{
    return QString::number(index + 1);
}

// A size in bytes as people say it: "6.0 GB", "512 MB".
QString sizeInWords(qint64 bytes)
{
    constexpr double GB = 1024.0 * 1024 * 1024;
    if (bytes >= GB)
        return QStringLiteral("%1 GB").arg(double(bytes) / GB, 0, 'f', 1);
    return QStringLiteral("%1 MB").arg(double(bytes) / (1024 * 1024), 0, 'f', 0);
}

} // namespace

// The start-up jump and the place to resume at are spent by the load, whether the book opens or
// not, so that neither lands in a book opened later.
BookState::LoadAnswer BookState::LoadBook(int linesPerPage, int lastPage, const Runner &run)
{
    const bool atStartup = std::exchange(OpenAtStartup, false);
    const std::optional<int> resumeLine = std::exchange(m_request.resumeLine, std::nullopt);
    Book fresh;
    BookSource::Opened opened;
    const auto read = [&] {
        opened = BookSource::load(fresh, m_request.path, linesPerPage, m_request.encoding);
    };
    if (run)
        run(read);
    else
        read();
    if (!opened.choices.isEmpty())
        return {false, {}, std::nullopt, opened.choices};
    if (opened.result.status != Book::Status::Loaded) {
        if (!BookOpened)
            BookPath = m_request.path;
        return {false,
                opened.message.isEmpty()
                    ? loadFailureMessage(opened.result, m_request.path, linesPerPage)
                    : opened.message,
                std::nullopt,
                {}};
    }

    m_book = std::move(fresh);
    m_title = opened.title;
    BookPath = m_request.path;
    m_encodingChoice = m_request.encoding;
    m_linesPerPage = linesPerPage;
    m_fileSize = QFileInfo(BookSource::split(BookPath).file).size();
    BookOpened = true;
    PageIndex = m_book.pageCount() - 1;
    CurrentPage = 0;
    LastPageIndex = PageIndex;
    ShownPage = 0;
    FoundPos = -1;
    SearchPage = 0;
    LoadAnswer answer;
    answer.loaded = true;
    m_exactPages = true;
    if (resumeLine) {
        const int page = pageOfLine(*resumeLine);
        if (page > 0 && page <= LastPageIndex)
            answer.jumpTo = pageNumberOf(page);
        if (page >= 0 && page <= LastPageIndex)
            answer.place = m_book.fixedLineOffset(*resumeLine, linesPerPage);
    } else if (atStartup && !m_book.isEmpty()) {
        answer.jumpTo = pageNumberOf(lastPage);
        if (lastPage > 0 && lastPage <= LastPageIndex)
            answer.place = m_book.pageOffset(lastPage);
    }
    return answer;
}

QString BookState::pageShare() const
{
    if (!BookOpened || m_book.isEmpty())
        return {};
    const int pages = m_book.pageCount();
    const int percent = int(std::lround(100.0 * (CurrentPage + 1) / pages));
    return QStringLiteral("page %1 of %2%3 \u00B7 %4%")
        .arg(CurrentPage + 1)
        .arg(m_exactPages ? QString() : QStringLiteral("about "))
        .arg(pages)
        .arg(percent);
}

QString BookState::pageText(int index) const
{
    QString text = m_book.pageText(index);
    if (!m_book.fixedPages() && text.endsWith(u'\n'))
        text.chop(text.endsWith(QLatin1String("\r\n")) ? 2 : 1);
    return text;
}

void BookState::usePages(const std::vector<qsizetype> &starts, bool exact, qsizetype place)
{
    repage(place, [&] { m_book.usePages(starts); });
    m_exactPages = exact;
}

void BookState::useFixedPages(qsizetype place)
{
    repage(place, [&] { m_book.useFixedPages(); });
    m_exactPages = true;
}

// The page shown becomes the one holding place. Search goes on after the match shown while its
// page begins where it did; else from the page shown.
void BookState::repage(qsizetype place, const std::function<void()> &cut)
{
    const qsizetype searchStart = m_book.pageOffset(SearchPage);
    const int lastBefore = LastPageIndex;
    cut();
    PageIndex = m_book.pageCount() - 1;
    LastPageIndex = PageIndex;
    CurrentPage = std::clamp(m_book.pageAt(place), 0, std::max(0, LastPageIndex));
    ShownPage = CurrentPage;
    if (SearchPage > lastBefore) {
        SearchPage = LastPageIndex + 1;
        return;
    }
    const int search = m_book.pageAt(searchStart);
    if (m_book.pageOffset(search) == searchStart) {
        SearchPage = search;
    } else {
        SearchPage = CurrentPage;
        FoundPos = -1;
    }
}

QString BookState::encodingName() const
{
    return TextCodec::displayName(m_book.encoding());
}

// A book of one page (fewer than one line per page) holds every line on its page 1.
int BookState::pageOfLine(int line) const
{
    return m_linesPerPage < 1 ? 0 : line / m_linesPerPage;
}

int BookState::firstLineShown() const
{
    if (m_book.fixedPages())
        return m_linesPerPage < 1 ? 0 : CurrentPage * m_linesPerPage;
    return int(std::min<qint64>(m_book.fixedLineAt(placeShown(), m_linesPerPage),
                                std::numeric_limits<int>::max()));
}

void BookState::closeBook()
{
    m_book = Book();
    BookOpened = false;
    BookPath.clear();
    m_encodingChoice.reset();
    PageIndex = 0;
    CurrentPage = 0;
    LastPageIndex = 0;
    ShownPage = 0;
}

QString BookState::loadFailureMessage(const Book::LoadResult &result, const QString &path,
                                      int linesPerPage)
{
    const QString shown = QDir::toNativeSeparators(path);
    switch (result.status) {
    case Book::Status::Loaded:
        break;
    case Book::Status::CannotOpen:
        return QFileInfo(path).isDir()
            ? QStringLiteral("This is a folder, not a book:\n%1").arg(shown)
            : QStringLiteral("Previous open file not exist\n%1").arg(shown);
    case Book::Status::NotRegular:
        return QStringLiteral("This is not a book: %1.\n%2").arg(notRegularReason(), shown);
    case Book::Status::ReadFailed:
        return QStringLiteral("The book could not be read:\n%1\n%2").arg(shown, result.detail);
    case Book::Status::TooLarge:
        return QStringLiteral(
                   "The book is too large to open:\n%1\nIt holds %2; Pagelark reads books "
                   "of up to %3 on this computer, a quarter of its memory.")
            .arg(shown, sizeInWords(result.detail.toLongLong()), sizeInWords(Book::largestBook()));
    case Book::Status::NotText:
        return QStringLiteral("This file is not a plain-text book (it holds NUL bytes):\n%1")
            .arg(shown);
    case Book::Status::TooManyPages:
        return QStringLiteral("The book has too many pages at %1 lines per page for the reader to "
                              "keep:\n%2\nChoose more lines per page in View > Options.")
            .arg(linesPerPage)
            .arg(shown);
    case Book::Status::TooManyLines:
        return QStringLiteral("The book has more than %1 lines, too many for one page:\n%2\n"
                              "Choose a number of lines per page in View > Options.")
            .arg(Book::MaxLinesOnOnePage)
            .arg(shown);
    }
    return {};
}

// ---- page display and navigation -------------------------------------------------------------

BookState::Answer BookState::PageNumber_Change(const QString &boxText)
{
    const PageNumberRule::Reading reading = PageNumberRule::read(boxText);
    if (reading.kind == PageNumberRule::Kind::Empty)
        return {};
    if (!BookOpened)
        return {QStringLiteral("please open a book first"), {}, {}, {}};
    if (reading.kind == PageNumberRule::Kind::NotNumeric)
        return {QStringLiteral("please enter a page number"), QString(), {}, {}};
    const std::optional<int> index = PageNumberRule::pageIndex(reading.value);
    if (index && *index >= 0 && *index <= LastPageIndex) {
        CurrentPage = *index;
        ShownPage = CurrentPage;
        return {{}, {}, CurrentPage, {}};
    }
    CurrentPage = ShownPage;
    return {QStringLiteral("NO Such Page"), {}, {}, {}};
}

// Neither command asks whether a book is open: with none both end in their message, or the
// page-number box refuses the number.
BookState::Answer BookState::CommandNext_Click()
{
    Answer answer;
    ++CurrentPage;
    if (CurrentPage > LastPageIndex) {
        answer.message = QStringLiteral("End of the Book");
        --CurrentPage;
    } else {
        answer.pageNumber = pageNumberOf(CurrentPage);
    }
    ShownPage = CurrentPage;
    return answer;
}

BookState::Answer BookState::CommandPre_Click()
{
    Answer answer;
    --CurrentPage;
    if (CurrentPage < 0) {
        ++CurrentPage;
        answer.message = QStringLiteral("Begin of the Book");
    } else {
        answer.pageNumber = pageNumberOf(CurrentPage);
    }
    ShownPage = CurrentPage;
    return answer;
}

BookState::Answer BookState::goTo(int page)
{
    CurrentPage = page;
    ShownPage = CurrentPage;
    return {{}, pageNumberOf(page), {}, {}};
}

BookState::Answer BookState::firstPage()
{
    if (CurrentPage <= 0)
        return {QStringLiteral("Begin of the Book"), {}, {}, {}};
    return goTo(0);
}

BookState::Answer BookState::lastPage()
{
    if (CurrentPage >= LastPageIndex)
        return {QStringLiteral("End of the Book"), {}, {}, {}};
    return goTo(LastPageIndex);
}

std::optional<BookState::Answer> BookState::pageKey(int key, Qt::KeyboardModifiers modifiers)
{
    const bool shift = modifiers & Qt::ShiftModifier;
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_PageUp:
        return CommandPre_Click();
    case Qt::Key_Right:
    case Qt::Key_PageDown:
        return CommandNext_Click();
    case Qt::Key_Space:
        return shift ? CommandPre_Click() : CommandNext_Click();
    case Qt::Key_Home:
        return firstPage();
    case Qt::Key_End:
        return lastPage();
    default:
        return std::nullopt;
    }
}

BookState::Answer BookState::turnQuietly(int step)
{
    Answer answer = step > 0 ? CommandNext_Click() : CommandPre_Click();
    answer.message.clear();
    return answer;
}

// ---- chapters --------------------------------------------------------------------------------

int BookState::chapterShown(const BookContents &contents) const
{
    if (!BookOpened || m_book.isEmpty())
        return -1;
    return contents.lastBefore(m_book.pageOffset(CurrentPage + 1));
}

BookState::Answer BookState::nextChapter(const BookContents &contents)
{
    const QList<Chapter> &entries = contents.entries();
    for (int i = chapterShown(contents) + 1; i < entries.size(); ++i) {
        const int page = m_book.pageAt(entries[i].offset);
        if (page > CurrentPage)
            return goTo(page);
    }
    return {};
}

BookState::Answer BookState::previousChapter(const BookContents &contents)
{
    const int shown = chapterShown(contents);
    if (shown < 0)
        return {};
    const int page = m_book.pageAt(contents.entries()[shown].offset);
    if (page < CurrentPage)
        return goTo(page);
    for (int i = shown - 1; i >= 0; --i) {
        const int earlier = m_book.pageAt(contents.entries()[i].offset);
        if (earlier < CurrentPage)
            return goTo(earlier);
    }
    return {};
}

// ---- search ----------------------------------------------------------------------------------

BookState::Answer BookState::showMatch(int page, int position)
{
    SearchPage = page;
    FoundPos = position;
    CurrentPage = page;
    return {{}, pageNumberOf(page), {}, position};
}

std::optional<BookState::Answer> BookState::searchRefusal() const
{
    if (BookOpened)
        return std::nullopt;
    return Answer {QStringLiteral("please open a book first"), {}, {}, {}};
}

BookState::Answer BookState::mnuToolsFind_Click(const QString &text)
{
    SearchText = text;
    SearchPage = 0;
    if (SearchText.isEmpty())
        return {};
    if (LastPageIndex < 0 || !BookOpened) {
        if (FoundPos == -1)
            return {QStringLiteral("string not found"), {}, {}, {}};
        return {};
    }
    if (const auto match = BookSearch::find(m_book, SearchText, 0, 0))
        return showMatch(match->page, match->position);
    // Nothing is shown on the way, so the view stays on the page it showed before.
    FoundPos = -1;
    SearchPage = LastPageIndex + 1;
    return {QStringLiteral("string not found"), {}, {}, {}};
}

BookState::Answer BookState::mnuToolsFindPrevious_Click()
{
    if (SearchText.isEmpty() || !BookOpened || LastPageIndex < 0)
        return {};
    const int before = (FoundPos >= 0 && SearchPage == CurrentPage) ? FoundPos : -1;
    SearchPage = CurrentPage;
    if (const auto match = BookSearch::findBefore(m_book, SearchText, CurrentPage, before))
        return showMatch(match->page, match->position);
    FoundPos = -1;
    return {QStringLiteral("Reach Begin of Book"), {}, {}, {}};
}

// Next goes on from just after the previous match when it starts on that match's page, else
// from the start of the page shown, then through the following pages.
BookState::Answer BookState::mnuToolsFindNext_Click()
{
    const int start = (FoundPos >= 0 && SearchPage == CurrentPage) ? FoundPos + 1 : 0;
    SearchPage = CurrentPage;
    ++FoundPos;
    if (SearchText.isEmpty() || !BookOpened || LastPageIndex < 0)
        return {};
    if (const auto match = BookSearch::find(m_book, SearchText, CurrentPage, start))
        return showMatch(match->page, match->position);
    FoundPos = -1;
    SearchPage = LastPageIndex + 1;
    return {QStringLiteral("Reach End of Book"), {}, {}, {}};
}

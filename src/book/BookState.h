#pragma once

#include "book/Book.h"
#include "book/BookContents.h"
#include "book/BookSource.h"

#include <QString>

#include <functional>
#include <optional>

// The reader's book state and its rules: which book is open, the page shown, the page-number
// box's reading, Next and Previous, and Search and Next with their state. It answers what the
// window is to show and to say; showing it, asking the user and the settings record are the
// window's.
//
// Pages are shown only through the page-number box: an answer that names a box text asks the
// window to put it into the box, whose change handler (PageNumber_Change here) decides what the
// view shows. Page indices count from 0, page numbers in the box from 1.
class BookState
{
public:
    // What a handler asks of the window, in this order: tell the message, put the text into the
    // page-number box, show the page, select the match.
    struct Answer
    {
        QString message; // empty: nothing to tell
        std::optional<QString> pageNumber; // a new text for the page-number box
        std::optional<int> showPage; // the page whose text the view shows now
        std::optional<int> matchAt; // select SearchText found at this place of the page shown
    };

    struct LoadAnswer
    {
        bool loaded = false;
        QString message; // why the book was refused
        // The box text after the first page, for the start-up jump to the last page read.
        std::optional<QString> jumpTo;
        // An archive of several books, none named: the one to read is to be chosen.
        QList<ArchiveFile::Member> choices;
        // Where the page to show begins: the line resumed at, or the start-up jump's page; for
        // pages cut to the window, which begin there.
        qsizetype place = 0;
    };

    // Loading. openBook names the book the next load reads, chooseEncoding and resumeAt how it is
    // read; LoadBook reads it. A refused book leaves the book that was open as it was, its path,
    // encoding, pages and page shown; with none open, the refused path is the book's path. A load
    // marked as the start-up reopening ends with the jump to lastPage. A new book starts its
    // searches afresh: Next goes on from its page 1.
    void openBook(const QString &path) { m_request.path = path; }
    void setOpenAtStartup(bool on) { OpenAtStartup = on; }
    // The place the next load opens at: the line (from 0) that starts the page to show, when the
    // book still has it. It goes before the start-up jump and is spent by that load.
    void resumeAt(std::optional<int> line) { m_request.resumeLine = line; }
    // The line that starts the page the reader is at: where it left the book.
    int firstLineShown() const;
    // The encoding the next load reads the book in; nullopt: the one the book's bytes tell.
    void chooseEncoding(std::optional<TextEncoding> encoding) { m_request.encoding = encoding; }
    // The encoding chosen for the open book; nullopt when its bytes told it.
    std::optional<TextEncoding> encodingChoice() const { return m_encodingChoice; }
    // The path the last load read, whether the book opened or not.
    const QString &requestedPath() const { return m_request.path; }
    // Runs the reading of a book, given as work: at once, or on a thread while the window stays
    // drawn.
    using Runner = std::function<void(const std::function<void()> &work)>;
    LoadAnswer LoadBook(int linesPerPage, int lastPage, const Runner &run = {});
    // Unloads the book: page numbers are refused until the next one is opened.
    void closeBook();

    // Pages of another cut (PageFit's, to the window) in place of those of lines per page, or
    // back to those: the page shown becomes the one that holds place. Until the cut is exact
    // some of its pages are guesses, and the page total is about.
    void usePages(const std::vector<qsizetype> &starts, bool exact, qsizetype place);
    void useFixedPages(qsizetype place);
    // Whether every page is counted: false while some of a cut to the window are guesses.
    bool pagesExact() const { return m_exactPages; }
    // Where the page shown begins, and the page of lines per page that holds that place.
    qsizetype placeShown() const { return m_book.pageOffset(CurrentPage); }
    int fixedPageShown() const { return m_book.fixedPageAt(placeShown()); }

    // Navigation.
    Answer PageNumber_Change(const QString &boxText);
    Answer CommandNext_Click();
    Answer CommandPre_Click();
    // The first and the last page, or the message of that end when the reader is there.
    Answer firstPage();
    Answer lastPage();
    // A page on in either direction (step +1 or -1) without a word at either end.
    Answer turnQuietly(int step);
    // A key pressed in the page view: the arrows, Page Up and Page Down, Space and Shift+Space
    // turn a page as Next and Previous do; Home and End (with Ctrl too) go to the first and the
    // last page. Other keys do nothing here.
    std::optional<Answer> pageKey(int key, Qt::KeyboardModifiers modifiers);

    // Chapters. The chapter being read is the last that begins before the page shown ends: -1
    // before the first. The next chapter is the first that begins on a later page; the previous
    // command goes to the page where the chapter being read begins, or to the one before when
    // that page is shown. At either end nothing happens: no message.
    int chapterShown(const BookContents &contents) const;
    Answer nextChapter(const BookContents &contents);
    Answer previousChapter(const BookContents &contents);

    // Search: text is what the user entered (empty when cancelled). With no book open there is
    // nothing to ask for: searchRefusal() says so first.
    std::optional<Answer> searchRefusal() const;
    Answer mnuToolsFind_Click(const QString &text);
    Answer mnuToolsFindNext_Click();
    // The match before the selected one, or before the end of the page shown when none of its
    // is selected; "Reach Begin of Book" when there is none.
    Answer mnuToolsFindPrevious_Click();

    const QString &bookPath() const { return BookPath; }
    // The open book's title: its file's name, or its member's in an archive, less the extension.
    const QString &title() const { return m_title; }
    const Book &book() const { return m_book; }
    bool bookOpened() const { return BookOpened; }
    int currentPage() const { return CurrentPage; }
    int lastPageIndex() const { return LastPageIndex; }
    const QString &searchText() const { return SearchText; }
    // A page's text; one of a cut to the window leaves out the line end after its last row,
    // which the view would show as one more.
    QString pageText(int index) const;
    // The size the book's file had when it was loaded.
    qint64 fileSize() const { return m_fileSize; }
    // Where the page shown lies in the book, for the status bar: "page 12 of 240 · 5%"; empty
    // without a book.
    QString pageShare() const;
    // The encoding the book is read in, by its usual name.
    QString encodingName() const;

    // The message for a book the loader refused, naming path.
    static QString loadFailureMessage(const Book::LoadResult &result, const QString &path,
                                      int linesPerPage);

private:
    Answer showMatch(int page, int position);
    Answer goTo(int page);
    int pageOfLine(int line) const;
    // Cuts the book anew and keeps the place and the search on the new pages.
    void repage(qsizetype place, const std::function<void()> &cut);

    QString BookPath;
    Book m_book;
    bool BookOpened = false;
    int PageIndex = 0;
    int CurrentPage = 0;
    int LastPageIndex = 0;
    int ShownPage = 0;
    bool OpenAtStartup = false;
    int m_linesPerPage = 0;
    bool m_exactPages = true;
    qint64 m_fileSize = 0;
    QString m_title;
    std::optional<TextEncoding> m_encodingChoice;
    // What the next load reads.
    struct Request
    {
        QString path;
        std::optional<TextEncoding> encoding;
        std::optional<int> resumeLine;
    } m_request;

    QString SearchText;
    int FoundPos = 0;
    int SearchPage = 0;
};

// Coming back to books and moving in them: keys that win wherever the focus is, coming back
// to books (places, recent books, the window's placement), page keys, the wheel and full screen,
// the encoding menu, files that are no books, and the font dialog's range of sizes.
#include "book/TextCodec.h"
#include "platform/FontDialog.h"
#include "reader/TextArea.h"
#include "reader/frmMain.h"
#include "support/ReaderFixture.h"
#include "support/TestArchives.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollBar>
#include <QStringListModel>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QWheelEvent>

#include <archive.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

class tst_readerpaths : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_fx.init();
        m_fx.start();
    }
    void cleanup() { m_fx.close(); }

    void shortcutsWinInThePageNumberBox()
    {
        m_fx.open(TestFiles::write(m_fx.booksFolder() + u"/copy.txt"_s, "alpha beta\r\n"));
        m_fx.view()->setSelStart(6);
        m_fx.view()->setSelLength(4);
        auto *box = m_fx.find<QLineEdit>(u"PageNumber"_s);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"beta"_s);
        m_fx.view()->collapseSelection();
        m_fx.trigger(u"mnuEditCopy"_s);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
        QTest::mouseClick(m_fx.view()->viewport(), Qt::RightButton, {}, QPoint(20, 20));
        auto *popup = m_fx.find<QMenu>(u"mnuPagePopup"_s); // the Edit menu's items and more
        QTRY_VERIFY(popup->isVisible());
        QVERIFY(popup->actions().contains(m_fx.find<QAction>(u"mnuEditCopy"_s)));
        popup->close();
        QTest::keyClick(box, Qt::Key_E, Qt::ControlModifier);
        QTRY_VERIFY(!m_fx.window()->isVisible());
    }

    // A file dropped onto the window opens as File > Open opens it; an address is no file.
    void droppedFileOpens()
    {
        const QString book = m_fx.writeBook(u"dropped.txt"_s, 20);
        for (const QUrl &url : {QUrl(u"https://pagelark.org/"_s), QUrl::fromLocalFile(book)}) {
            QMimeData data;
            data.setUrls({url});
            QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
            QCoreApplication::sendEvent(m_fx.window(), &enter);
            QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
            QCoreApplication::sendEvent(m_fx.window(), &drop);
            QCOMPARE(drop.isAccepted(), url.isLocalFile());
        }
        QCOMPARE(m_fx.text(u"lblTitle"_s) + u' ' + m_fx.shown(), u"dropped 1 line 1"_s);
        QCOMPARE(m_fx.data.LastBook, book);
    }

    // With "Jump To Last Read Page" every way of opening goes back to the page left; Recent Books
    // lists the books newest first, drops one that has gone, and all comes back after a restart,
    // the window where it was.
    void comingBackToBooks()
    {
        m_fx.data.JumpToLastPage = VTrue;
        const QString sea = m_fx.writeBook(u"Sea.txt"_s, 100);
        const QString land = m_fx.writeBook(u"Land & Sky.txt"_s, 40);
        m_fx.open(sea);
        m_fx.setPageNumber(u"4"_s);
        m_fx.open(land);
        QCOMPARE(recentTitles(), u"&1 Land && Sky|&2 Sea||Clear Recent Books"_s);
        QCOMPARE(m_fx.find<QAction>(u"mnuFileRecent2"_s)->toolTip(), sea);
        m_fx.trigger(u"mnuFileRecent2"_s);
        QCOMPARE(m_fx.shown(), u"4 line 46"_s);
        QCOMPARE(m_fx.text(u"sbStatusBarPanel2"_s), u"page 4 of 7 \u00B7 57%"_s);

        QFile::remove(land);
        m_fx.trigger(u"mnuFileRecent2"_s);
        QCOMPARE(m_fx.messages(), QStringList {u"Previous open file not exist\n"_s + land});
        QCOMPARE(recentTitles(), u"&1 Sea||Clear Recent Books"_s);

        m_fx.window()->move(120, 90);
        const QRect placed = m_fx.window()->geometry();
        m_fx.close();
        m_fx.start();
        QCOMPARE(m_fx.window()->geometry(), placed);
        QCOMPARE(recentTitles(), u"&1 Sea||Clear Recent Books"_s);
        m_fx.open(sea);
        QCOMPARE(m_fx.shown(), u"4 line 46"_s);
        m_fx.trigger(u"mnuFileRecentClear"_s);
        QCOMPARE(recentTitles(), u"Clear Recent Books"_s);
    }

    // A turn of the wheel the page cannot scroll turns the page; F11 shows the page alone.
    void wheelFullScreenAndGoToPage()
    {
        m_fx.open(m_fx.writeBook(u"keys.txt"_s, 40));
        TextArea *view = m_fx.view();
        QWheelEvent notch(QPointF(10, 10), view->mapToGlobal(QPointF(10, 10)), {}, {0, -120},
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view->viewport(), &notch);
        QCOMPARE(m_fx.shown(), u"2 line 16"_s);

        m_fx.trigger(u"mnuViewFullScreen"_s);
        QVERIFY(!m_fx.window()->menuBar()->isVisible()
                && !m_fx.find<QWidget>(u"frmFile"_s)->isVisible());
        QCOMPARE(view->geometry(), m_fx.window()->centralWidget()->rect());
        m_fx.trigger(u"mnuViewEscape"_s);
        QVERIFY(m_fx.window()->menuBar()->isVisible()
                && m_fx.find<QWidget>(u"frmFile"_s)->isVisible());
        m_fx.trigger(u"mnuViewGoToPage"_s);
        auto *box = m_fx.find<QLineEdit>(u"PageNumber"_s);
        QTRY_VERIFY(box->hasFocus());
        QCOMPARE(box->selectedText(), u"2"_s);
        // A refused number stays in the box; Ctrl+G selects it, so the next number replaces it.
        QTest::keyClicks(box, u"5000"_s);
        QTest::keyClick(box, Qt::Key_G, Qt::ControlModifier);
        QTest::keyClicks(box, u"3"_s);
        QCOMPARE(m_fx.shown(), u"3 line 31"_s);
    }

    // A book of Russian in Windows-1251 is told as such, read anew in the encoding chosen, and
    // keeps the choice for the next time it is opened.
    void encodingMenu()
    {
        const QString text =
            u"Все счастливые семьи похожи друг на друга, каждая несчастливая семья "
            u"несчастлива по-своему. Всё смешалось в доме Облонских.\r\n"_s;
        const QString book = TestFiles::write(m_fx.booksFolder() + u"/ru.txt"_s,
                                              TextCodec::encode(text, TextEncoding::Windows1251));
        m_fx.open(book);
        QCOMPARE(m_fx.text(u"sbStatusBarPanel3"_s), u"Windows-1251"_s);
        QVERIFY(m_fx.viewText().startsWith(u"Все счастливые"_s));
        m_fx.trigger(u"mnuViewEncoding_KOI8-R"_s);
        QCOMPARE(m_fx.text(u"sbStatusBarPanel3"_s), u"KOI8-R"_s);
        m_fx.open(m_fx.writeBook(u"other.txt"_s, 3));
        m_fx.open(book);
        QCOMPARE(m_fx.text(u"sbStatusBarPanel3"_s), u"KOI8-R"_s);
        QVERIFY(m_fx.find<QAction>(u"mnuViewEncoding_KOI8-R"_s)->isChecked());
        m_fx.trigger(u"mnuViewEncoding_Automatic"_s);
        QVERIFY(m_fx.viewText().startsWith(u"Все счастливые"_s));
    }

    // A new page size keeps the line that was first on the page shown.
    void optionsRecutKeepsTheLine()
    {
        m_fx.open(m_fx.writeBook(u"one.txt"_s, 40));
        m_fx.setPageNumber(u"3"_s); // line 31: on page 2 of pages of 20 lines
        ReaderFixture::answerModal([](QWidget *dialog) {
            dialog->findChild<QLineEdit *>(u"Text1"_s)->setText(u"20"_s);
            dialog->findChild<QAbstractButton *>(u"cmdOK"_s)->click();
        });
        m_fx.trigger(u"tbToolBar_Properties"_s);
        QCOMPARE(m_fx.shown() + u'/' + m_fx.text(u"PageTotal"_s), u"2 line 21/2"_s);
        QVERIFY(m_fx.messages().isEmpty());
    }

    // The contents of a book: listed once found, narrowed by typing, chapters shown by keys and
    // by the list, set right by the reader's marks and pattern, which come back with the book.
    void contentsAndTheirCorrections()
    {
        QByteArray bytes = "A Tale\n\n";
        for (const char *numeral : {"I", "II", "III", "IV", "V", "VI"}) {
            bytes += QByteArray("CHAPTER ") + numeral + "\n\n";
            for (int line = 0; line < 30; ++line)
                bytes += "words of the tale, line " + QByteArray::number(line) + ".\n";
        }
        const QString book = TestFiles::write(m_fx.booksFolder() + u"/tale.txt"_s, bytes);
        m_fx.open(book);
        m_fx.trigger(u"mnuViewContents"_s);
        auto *list = m_fx.find<QListWidget>(u"lstContents"_s);
        const auto titles = [&list] {
            QStringList shown;
            for (int row = 0; row < list->count(); ++row) {
                if (!list->item(row)->isHidden())
                    shown << list->item(row)->text();
            }
            return shown.join(u'|');
        };
        QTRY_COMPARE(list->count(), 6);
        QVERIFY(!m_fx.find<QWidget>(u"frmFile"_s)->isVisible());
        QTest::keyClick(m_fx.view(), Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(m_fx.shown(), u"3 words of the tale, line 26."_s); // CHAPTER II on line 35
        QCOMPARE(m_fx.text(u"sbStatusBarPanel4"_s), u"CHAPTER II"_s);
        QTest::keyClicks(list, u"v"_s); // "IV", "V" and "VI"
        QCOMPARE(titles(), u"CHAPTER IV|CHAPTER V|CHAPTER VI"_s);
        Q_EMIT list->itemActivated(list->item(4));
        QCOMPARE(m_fx.shown().section(u' ', 0, 0), u"9"_s); // CHAPTER V on line 131

        auto *view = m_fx.view();
        const auto rightClick = [view, this](const QString &line) {
            const QTextCursor at = view->document()->find(line);
            QTest::mouseClick(view->viewport(), Qt::RightButton, {}, view->cursorRect(at).center());
            m_fx.find<QMenu>(u"mnuPagePopup"_s)->close();
        };
        rightClick(u"line 1."_s);
        m_fx.trigger(u"mnuPopupMarkChapter"_s);
        rightClick(u"CHAPTER V"_s);
        m_fx.trigger(u"mnuPopupNotChapter"_s);
        const QString corrected =
            u"CHAPTER I|CHAPTER II|CHAPTER III|CHAPTER IV|words of the tale, line 1.|CHAPTER VI"_s;
        m_fx.find<QLineEdit>(u"txtContentsFilter"_s)->clear();
        QTRY_COMPARE(titles(), corrected);

        m_fx.prompts.inputs << u"(CHAPTER"_s << u"^Chapter$"_s << u"^CHAPTER I"_s;
        for (int asked = 0; asked < 3; ++asked)
            m_fx.trigger(u"mnuViewChapterPattern"_s);
        QCOMPARE(m_fx.messages().size(), 2);
        QVERIFY(m_fx.messages().first().startsWith(u"This chapter pattern is not valid: "_s));
        QVERIFY(m_fx.messages().last().startsWith(u"The chapter pattern finds no line"_s));
        QTRY_COMPARE(titles(),
                     u"CHAPTER I|CHAPTER II|CHAPTER III|CHAPTER IV|"
                     "words of the tale, line 1."_s);
        m_fx.trigger(u"mnuViewChapterAutomatic"_s);
        m_fx.close();
        m_fx.start();
        m_fx.open(book);
        m_fx.trigger(u"mnuViewContents"_s);
        list = m_fx.find<QListWidget>(u"lstContents"_s);
        QTRY_COMPARE(titles(), corrected);
    }

    // Bookmarks: added at the first line shown, listed in the book's order with their pages,
    // renamed and removed in their list, and found again after a new page size and an edit.
    void bookmarks()
    {
        const QString book = m_fx.writeBook(u"marked.txt"_s, 100);
        m_fx.open(book);
        const auto menu = [this] {
            auto *bookmarks = m_fx.find<QMenu>(u"mnuBookmarks"_s);
            Q_EMIT bookmarks->aboutToShow();
            QStringList entries;
            for (int i = 1; const QAction *entry = m_fx.find<QAction>(u"mnuBookmark%1"_s.arg(i));
                 ++i)
                entries << entry->text();
            return entries.join(u'|');
        };
        m_fx.setPageNumber(u"6"_s);
        QTest::keyClick(m_fx.view(), Qt::Key_B, Qt::ControlModifier);
        m_fx.setPageNumber(u"3"_s);
        m_fx.trigger(u"mnuBookmarksAdd"_s);
        m_fx.setPageNumber(u"1"_s);
        QTRY_COMPARE(menu(), u"line 31\tpage 3|line 76\tpage 6"_s);
        m_fx.trigger(u"mnuBookmark1"_s);
        QCOMPARE(m_fx.shown(), u"3 line 31"_s);

        m_fx.prompts.inputs << u"Deep"_s;
        ReaderFixture::answerModal([](QWidget *dialog) {
            auto *list = dialog->findChild<QListWidget *>(u"lstBookmarks"_s);
            list->setCurrentRow(1);
            dialog->findChild<QAbstractButton *>(u"cmdRename"_s)->click();
            list->setCurrentRow(0);
            dialog->findChild<QAbstractButton *>(u"cmdRemove"_s)->click();
            dialog->findChild<QAbstractButton *>(u"cmdClose"_s)->click();
        });
        m_fx.trigger(u"mnuBookmarksEdit"_s);
        QCOMPARE(menu(), u"Deep\tpage 6"_s);

        ReaderFixture::answerModal([](QWidget *dialog) {
            dialog->findChild<QLineEdit *>(u"Text1"_s)->setText(u"10"_s);
            dialog->findChild<QAbstractButton *>(u"cmdOK"_s)->click();
        });
        m_fx.trigger(u"mnuViewOptions"_s);
        QTRY_COMPARE(menu(), u"Deep\tpage 8"_s);
        TestFiles::write(book, "five\nnew\nlines\nabove\nit\n" + TestFiles::lines(100));
        m_fx.close();
        m_fx.start();
        m_fx.open(book);
        QTRY_COMPARE(menu(), u"Deep\tpage 9"_s);
    }

    // Find All lists every match with its page and line and shows the one chosen; the matches of
    // the page shown are lit while the list is open or after a search, never in the text's
    // format, and Esc puts them out. Shift+F3 goes back from the match selected.
    void findAllAndLights()
    {
        QByteArray bytes = TestFiles::lines(60);
        bytes.replace("line 20\r\n", "a needle, another Needle\r\n")
            .replace("line 50\r\n", "needle\r\n");
        m_fx.open(TestFiles::write(m_fx.booksFolder() + u"/hay.txt"_s, bytes));
        m_fx.trigger(u"mnuToolsFindAll"_s);
        auto *dialog = m_fx.find<QDialog>(u"frmFindAll"_s);
        dialog->findChild<QLineEdit *>(u"txtFind"_s)->setText(u"needle"_s);
        dialog->findChild<QCheckBox *>(u"chkMatchCase"_s)->setChecked(true);
        dialog->findChild<QAbstractButton *>(u"cmdFind"_s)->click();
        QCOMPARE(dialog->findChild<QLabel *>(u"lblCount"_s)->text(), u"2 matches"_s);
        auto *list = dialog->findChild<QListView *>(u"lstMatches"_s);
        QCOMPARE(list->model()->index(0, 0).data().toString(),
                 u"page 2: a needle, another Needle"_s);
        Q_EMIT list->activated(list->model()->index(1, 0));
        QCOMPARE(m_fx.shown() + u' ' + m_fx.view()->selectedText(), u"4 line 46 needle"_s);
        QCOMPARE(m_fx.view()->extraSelections().size(), 1);
        dialog->close();
        QCOMPARE(m_fx.view()->extraSelections().size(), 0);

        m_fx.prompts.inputs << u"needle"_s;
        m_fx.trigger(u"mnuToolsFind"_s);
        const auto lights = m_fx.view()->extraSelections();
        QCOMPARE(lights.size(), 2); // case ignored
        QCOMPARE(lights.first().cursor.charFormat().background().style(), Qt::NoBrush);
        m_fx.trigger(u"mnuToolsFindPrevious"_s);
        QCOMPARE(m_fx.messages(), QStringList {u"Reach Begin of Book"_s});
        m_fx.trigger(u"mnuViewEscape"_s);
        QCOMPARE(m_fx.view()->extraSelections().size(), 0);
    }

    // Books in archives open in place: a file compressed whole as its book, an archive of several
    // books the one chosen, which it opens next time without asking; Open With NotePad gets the
    // archive itself, and a damaged archive is named in its message.
    void booksInArchives()
    {
        using namespace TestArchives;
        m_fx.data.JumpToLastPage = VTrue;
        const QString folder = m_fx.booksFolder();
        const QByteArray book = TestFiles::lines(40);
        const QString gz =
            TestFiles::write(folder + u"/tale.txt.gz"_s,
                             make(ARCHIVE_FORMAT_RAW, ARCHIVE_FILTER_GZIP, {{{}, book}}));
        m_fx.open(gz);
        QCOMPARE(m_fx.text(u"lblTitle"_s) + u' ' + m_fx.shown(), u"tale 1 line 1"_s);

        const QByteArray zipped = make(ARCHIVE_FORMAT_ZIP, ARCHIVE_FILTER_NONE,
                                       {{u"one.txt"_s, "one\n"},
                                        {u"cover.png"_s, QByteArray("\x89PNG\r\n\x1a\n\0\0", 10)},
                                        {u"two/second.txt"_s, book}});
        const QString zip = TestFiles::write(folder + u"/shelf.zip"_s, zipped);
        m_fx.prompts.choices << 1;
        m_fx.open(zip);
        QCOMPARE(m_fx.prompts.offered.size(), 2); // no picture offered
        QCOMPARE(m_fx.text(u"lblTitle"_s) + u' ' + m_fx.text(u"sbStatusBarPanel1"_s),
                 u"second "_s + zip + u" \u203A two/second.txt"_s);
        m_fx.setPageNumber(u"3"_s);
        m_fx.open(gz);
        m_fx.open(zip); // the book chosen last, where it was left
        QCOMPARE(std::count_if(
                     m_fx.prompts.calls.cbegin(), m_fx.prompts.calls.cend(),
                     [](const auto &call) { return call.kind == ScriptedPrompts::Call::Choice; }),
                 1);
        QCOMPARE(m_fx.text(u"lblTitle"_s) + u' ' + m_fx.shown(), u"second 3 line 31"_s);
        m_fx.trigger(u"menuOpenWith"_s);
        QCOMPARE(m_fx.launcher.starts.value(0).value(1), zip);

        const QString damaged = TestFiles::write(folder + u"/damaged.zip"_s, zipped.left(200));
        m_fx.open(damaged);
        QCOMPARE(m_fx.messages().size(), 1);
        QVERIFY(m_fx.messages().first().contains(damaged));
        QCOMPARE(m_fx.text(u"lblTitle"_s), u"second"_s);
    }

    // A pipe or a device is refused at once, naming it; Print then has no book to print, and
    // Search none to search. A name that looks like markup is shown as it is.
    void filesThatAreNoBooks()
    {
        const QString pipe = m_fx.booksFolder() + u"/<i>pipe.txt"_s;
        QVERIFY(QDir().mkpath(m_fx.booksFolder()));
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        for (const QString &path : {pipe, u"/dev/zero"_s})
            m_fx.open(path);
        m_fx.trigger(u"mnuFilePrint"_s);
        m_fx.trigger(u"mnuToolsFind"_s);
        QCOMPARE(m_fx.messages(),
                 (QStringList {u"This is not a book: it is a device, a pipe or a socket, not a "
                               "file.\n"_s
                                   + pipe,
                               u"This is not a book: it is a device, a pipe or a socket, not a "
                               "file.\n/dev/zero"_s,
                               u"please open a book first"_s, u"please open a book first"_s}));
        for (const ScriptedPrompts::Call &call : std::as_const(m_fx.prompts.calls))
            QVERIFY(call.kind != ScriptedPrompts::Call::Input);
        auto *title = m_fx.find<QLabel>(u"lblTitle"_s);
        m_fx.open(pipe);
        QCOMPARE(title->textFormat(), Qt::PlainText);
        QCOMPARE(title->text(), u"<i>pipe"_s);
    }

    // At the design size with the desktop's font, the status bar's text keeps its descenders and
    // the page total shows five digits whole.
    void nothingCutOffAtTheDesignSize()
    {
        auto *bar = m_fx.find<QWidget>(u"sbStatusBar"_s);
        auto *path = m_fx.find<QLabel>(u"sbStatusBarPanel1"_s);
        QVERIFY(path->height() >= path->fontMetrics().height());
        QVERIFY(m_fx.window()->centralWidget()->rect().contains(bar->geometry()));
        auto *total = m_fx.find<QLineEdit>(u"PageTotal"_s);
        total->setText(u"31102"_s);
        // The box scrolls its text as it paints it.
        const auto cursorAt = [total](int position) {
            total->setCursorPosition(position);
            total->grab();
            return total->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
        };
        QCOMPARE(cursorAt(5) - cursorAt(0), total->fontMetrics().horizontalAdvance(u"31102"_s));
    }

    void fontDialogKeepsItsSizes()
    {
        QFont font;
        font.setPointSize(12);
        FontDialog dialog(font, 8, 30);
        for (const QListView *list : dialog.findChildren<QListView *>()) {
            const auto *model = qobject_cast<const QStringListModel *>(list->model());
            const QStringList sizes = model ? model->stringList() : QStringList();
            if (!sizes.isEmpty() && sizes.first().toInt() > 0)
                QVERIFY(sizes.first().toInt() >= 8 && sizes.last().toInt() <= 30);
        }
        for (const auto &[size, result] :
             {std::pair(40, QDialog::Rejected), {12, QDialog::Accepted}}) {
            font.setPointSize(size);
            dialog.setCurrentFont(font);
            dialog.open();
            dialog.done(QDialog::Accepted);
            QCOMPARE(dialog.result(), result);
            QCOMPARE(dialog.isVisible(), result == QDialog::Rejected);
        }
    }

    // Pages cut to the window: each shows whole without scrolling and is full but the last, a
    // new size keeps the first line shown, and the place kept is the line's, LastPage the page
    // of lines per page that holds it.
    void pagesFitTheWindow()
    {
        QByteArray bytes;
        for (int line = 0; line < 400; ++line)
            bytes += "line " + QByteArray::number(line) + ' '
                + QByteArray("words of a line ").repeated(line % 9 * 3) + "\n";
        const QString path = TestFiles::write(m_fx.booksFolder() + u"/fit.txt"_s, bytes);
        m_fx.open(path);
        m_fx.trigger(u"mnuViewFitPages"_s);
        const BookState &state = m_fx.window()->state();
        QTRY_VERIFY(state.pagesExact());
        TextArea *view = m_fx.view();
        const int last = state.lastPageIndex();
        QVERIFY(last > 40);
        QCOMPARE(m_fx.text(u"PageTotal"_s), QString::number(last + 1));
        const auto pageHeight = [view] {
            return view->document()->size().height();
        };
        for (int page = 0; page <= last; ++page) {
            QCOMPARE(m_fx.text(u"PageNumber"_s), QString::number(page + 1));
            QCOMPARE(view->verticalScrollBar()->maximum(), 0);
            QVERIFY(pageHeight() <= view->viewport()->height());
            if (page < last)
                QVERIFY(pageHeight() + view->rowHeight() > view->viewport()->height());
            QTest::keyClick(view, Qt::Key_Right);
        }
        QCOMPARE(m_fx.messages().last(), u"End of the Book"_s);

        m_fx.setPageNumber(u"17"_s);
        const qsizetype place = state.placeShown();
        const QString top = m_fx.viewText().section(u'\n', 0, 0);
        m_fx.window()->resize(m_fx.window()->width() - 150, m_fx.window()->height() - 100);
        QTRY_VERIFY(state.lastPageIndex() > last);
        QTRY_VERIFY(state.pagesExact());
        QCOMPARE(state.placeShown(), place);
        QVERIFY(m_fx.viewText().startsWith(top.left(20)));
        QCOMPARE(view->verticalScrollBar()->maximum(), 0);
        // A larger font: more pages, the same first line, still no scrolling.
        const int resized = state.lastPageIndex();
        m_fx.trigger(u"tbToolBar_forward"_s);
        QTRY_VERIFY(state.pagesExact() && state.lastPageIndex() > resized);
        QCOMPARE(state.placeShown(), place);
        QCOMPARE(view->verticalScrollBar()->maximum(), 0);

        // The line at the top, counted here, and the page of 15 lines that holds it.
        const int line = int(bytes.left(place).count('\n'));
        m_fx.close();
        GlobalData record = m_fx.savedConfig();
        QCOMPARE(record.LastPage, line / 15);
        record.LoadLastBook = VTrue;
        record.JumpToLastPage = VTrue;
        m_fx.writeConfig(record);
        m_fx.start();
        QVERIFY(m_fx.window()->state().bookOpened());
        QTRY_VERIFY(m_fx.window()->state().pagesExact());
        QVERIFY(m_fx.find<QAction>(u"mnuViewFitPages"_s)->isChecked());
        QVERIFY(m_fx.viewText().startsWith(u"line %1 "_s.arg(line)));
    }

private:
    QString recentTitles() const
    {
        QStringList titles;
        for (const QAction *item : m_fx.find<QMenu>(u"mnuFileRecent"_s)->actions())
            titles << item->text();
        return titles.join(u'|');
    }

    ReaderFixture m_fx;
};

PAGELARK_TEST(tst_readerpaths);
#include "tst_readerpaths.moc"

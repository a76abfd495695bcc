// The reader window's wiring, by whole paths a user takes: opening books and turning pages,
// search, refused books, the file panel and the layout (a dropped book: tst_readerpaths);
// start-up and exit; the commands of the menus and the toolbar.
#include "about/frmAbout.h"
#include "app/AppInfo.h"
#include "reader/FilePanel.h"
#include "settings/SettingsFile.h"
#include "support/FileSizeLimit.h"
#include "support/ReaderFixture.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QAbstractProxyModel>
#include <QComboBox>
#include <QFileSystemModel>
#include <QLabel>
#include <QListView>
#include <QPrinter>
#include <QProcess>
#include <QProxyStyle>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

using namespace Qt::StringLiterals;

namespace {

// A desktop whose lists open an item on a single click.
class SingleClickStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returned) const override
    {
        if (hint == SH_ItemView_ActivateItemOnSingleClick)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

} // namespace

class tst_readerwindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_fx.init();
        m_fx.start();
    }
    void cleanup() { m_fx.close(); }

    void openAndTurnPages()
    {
        const QString path = m_fx.writeBook(u"Sea Voyage.txt"_s, 40); // 3 pages of 15 lines
        QVERIFY(!m_fx.find<QAction>(u"mnuFilePrint"_s)->isEnabled());
        m_fx.open(path);
        QCOMPARE(m_fx.text(u"lblTitle"_s) + u'/' + m_fx.text(u"PageTotal"_s), u"Sea Voyage/3"_s);
        QCOMPARE(m_fx.text(u"sbStatusBarPanel1"_s), path);
        QVERIFY(m_fx.find<QAction>(u"mnuFilePrint"_s)->isEnabled());
        QVERIFY(m_fx.find<QAction>(u"menuOpenWith"_s)->isEnabled());

        QStringList pages {m_fx.shown()};
        for (const Qt::Key key : {Qt::Key_Right, Qt::Key_PageDown, Qt::Key_Space, Qt::Key_Home,
                                  Qt::Key_Left, Qt::Key_End, Qt::Key_PageUp}) {
            QTest::keyClick(m_fx.view(), key);
            pages << m_fx.shown();
        }
        auto *box = m_fx.find<QLineEdit>(u"PageNumber"_s);
        for (const QString &typed : {u"3"_s, u"9"_s, u"x"_s}) {
            box->selectAll();
            QTest::keyClicks(box, typed);
            pages << m_fx.shown();
        }
        QTest::keyClick(m_fx.view(), Qt::Key_Left); // from the page on show
        pages << m_fx.shown();
        QCOMPARE(pages.join(u", "_s),
                 u"1 line 1, 2 line 16, 3 line 31, 3 line 31, 1 line 1, 1 line 1, 3 line 31, "
                 "2 line 16, 3 line 31, 9 line 31,  line 31, 2 line 16"_s);
        QCOMPARE(m_fx.messages(),
                 (QStringList {u"End of the Book"_s, u"Begin of the Book"_s, u"NO Such Page"_s,
                               u"please enter a page number"_s}));
    }

    void searchAndNext()
    {
        QByteArray bytes; // "needle" on page 2, twice on page 4
        for (int line = 1; line <= 75; ++line)
            bytes += (line == 20       ? QByteArray("one needle")
                          : line == 48 ? QByteArray("a needle and another NEEDLE")
                                       : "words " + QByteArray::number(line))
                + "\r\n";
        m_fx.open(TestFiles::write(m_fx.booksFolder() + u"/search.txt"_s, bytes));
        m_fx.prompts.inputs << u"absent"_s << u"Needle"_s;
        QStringList visits;
        for (const QString &command : {u"mnuToolsFind"_s, u"mnuToolsFind"_s, u"mnuToolsFindNext"_s,
                                       u"mnuToolsFindNext"_s, u"mnuToolsFindNext"_s}) {
            m_fx.trigger(command);
            visits << m_fx.shown().section(u' ', 0, 0) + u' ' + m_fx.view()->selectedText() + u'@'
                    + QString::number(m_fx.view()->textCursor().selectionStart());
        }
        QCOMPARE(visits.join(u", "_s),
                 u"1 @0, 2 needle@40, 4 needle@20, 4 NEEDLE@39, 4 NEEDLE@39"_s);
        QCOMPARE(m_fx.messages(), (QStringList {u"string not found"_s, u"Reach End of Book"_s}));
    }

    // A refused book leaves the open one wholly as it was, whichever way it was opened; with none
    // open it is named in the header and the status bar over the hint. After File > Close page
    // numbers are refused.
    void refusedBooksAndClose()
    {
        const auto window = [this] {
            return QStringList {
                m_fx.text(u"lblTitle"_s),          m_fx.text(u"sbStatusBarPanel1"_s),
                m_fx.text(u"sbStatusBarPanel2"_s), m_fx.text(u"sbStatusBarPanel3"_s),
                m_fx.text(u"PageTotal"_s),         m_fx.shown()}
                .join(u" | "_s);
        };
        const QString missing = m_fx.booksFolder() + u"/gone.txt"_s;
        m_fx.open(missing);
        QCOMPARE(window(), u"gone | "_s + missing + u" |  |  |  |  "_s + frmMain::Hint);
        m_fx.setPageNumber(u"1"_s);

        const QString bad = TestFiles::write(m_fx.booksFolder() + u"/tool.bin"_s,
                                             QByteArray("MZ\x90\0\x03\0\0\0text\r\n", 14));
        const QString good = m_fx.writeBook(u"good.txt"_s, 40);
        m_fx.open(good);
        m_fx.setPageNumber(u"2"_s);
        const QString before = window();
        QCOMPARE(before,
                 u"good | "_s + good + u" | page 2 of 3 \u00B7 67% | UTF-8 | 3 | 2 line 16"_s);
        m_fx.open(bad);
        m_fx.window()->openFromFileList(missing);
        QCOMPARE(window(), before);
        QCOMPARE(m_fx.data.LastBook, good);
        QTest::keyClick(m_fx.view(), Qt::Key_Right);
        QCOMPARE(m_fx.shown(), u"3 line 31"_s);
        const QString empty = TestFiles::write(m_fx.booksFolder() + u"/empty.txt"_s, {});
        m_fx.open(empty); // no share, its own encoding
        QCOMPARE(window(), u"empty | "_s + empty + u" |  | Windows-1252 | 0 |  "_s);

        m_fx.trigger(u"mnuFileClose"_s);
        m_fx.setPageNumber(u"2"_s);
        QCOMPARE(m_fx.viewText(), frmMain::Hint);
        QCOMPARE(
            m_fx.messages(),
            (QStringList {
                u"Previous open file not exist\n"_s + missing, u"please open a book first"_s,
                u"This file is not a plain-text book (it holds NUL bytes):\n"_s + bad,
                u"Previous open file not exist\n"_s + missing, u"please open a book first"_s}));
    }

    void filePanelOpensABook()
    {
        for (const QString &name : {u"a.txt"_s, u"b.html"_s, u"c.htm"_s, u"d.md"_s, u"e.txt.bak"_s})
            TestFiles::write(m_fx.driveRoot() + name, "x\n");
        const QString book = m_fx.writeBook(u"book.txt"_s, 40, m_fx.driveRoot() + u"sub"_s);
        auto *files = m_fx.find<QListView>(u"File1"_s);
        const auto listed = [files] {
            QStringList names;
            const auto *model = static_cast<QFileSystemModel *>(files->model());
            for (int row = 0; row < model->rowCount(files->rootIndex()); ++row) {
                const QModelIndex index = model->index(row, 0, files->rootIndex());
                if (!model->isDir(index))
                    names << model->fileName(index);
            }
            names.sort();
            return names;
        };
        auto *drives = m_fx.find<QComboBox>(u"Drive1"_s);
        for (const int pick : {2, 1}) { // the card is not ready
            drives->setCurrentIndex(pick);
            Q_EMIT drives->activated(pick);
        }
        QCOMPARE(m_fx.messages(), QStringList {u"The drive card is not ready."_s});
        QTRY_COMPARE(listed(), (QStringList {u"a.txt"_s, u"b.html"_s, u"c.htm"_s}));

        // The drive's root folder is the one top entry, its folders under it.
        auto *folders = m_fx.find<QTreeView>(u"Dir1"_s);
        const auto *proxy = qobject_cast<const QAbstractProxyModel *>(folders->model());
        const auto *model = static_cast<const QFileSystemModel *>(proxy->sourceModel());
        QTRY_COMPARE(proxy->rowCount(folders->rootIndex()), 1);
        const QModelIndex top = proxy->mapToSource(proxy->index(0, 0, folders->rootIndex()));
        QCOMPARE(model->filePath(top) + u'/', m_fx.driveRoot());
        const QModelIndex sub = proxy->mapFromSource(model->index(QFileInfo(book).path()));
        folders->expand(sub.parent());
        QTRY_VERIFY(!folders->visualRect(sub).isEmpty());
        QTest::mouseClick(folders->viewport(), Qt::LeftButton, {},
                          folders->visualRect(sub).center());
        QTRY_COMPARE(listed(), QStringList {u"book.txt"_s});

        // A click shows the path only, even where the desktop opens items on one click; a double
        // click or Enter opens the book.
        auto *style = new SingleClickStyle;
        style->setParent(files->window()); // setStyle() does not take it
        files->setStyle(style);
        const QModelIndex file = static_cast<QFileSystemModel *>(files->model())->index(book);
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualRect(file).center());
        QCOMPARE(m_fx.viewText(), book);
        QTest::mouseDClick(files->viewport(), Qt::LeftButton, {}, files->visualRect(file).center());
        QCOMPARE(m_fx.shown(), u"1 line 1"_s);
        m_fx.setPageNumber(u"2"_s);
        QTest::keyClick(files, Qt::Key_Return);
        QCOMPARE(m_fx.shown(), u"1 line 1"_s);
        QCOMPARE(m_fx.data.LastBook, book);
    }

    // Offscreen a pixel is 15 twips, so the design geometry gives whole pixels.
    void layoutFollowsTheWindow()
    {
        frmMain *window = m_fx.window();
        QWidget *view = m_fx.view();
        const QRect page = view->geometry().adjusted(0, 0, 150, 60);
        const QSize size = window->size();
        window->resize(size + QSize(150, 60));
        QTRY_COMPARE(view->geometry(), page);
        // A desktop that shrinks the window while it is minimized: restored, the layout comes back.
        window->setWindowState(Qt::WindowMinimized);
        window->resize(size);
        QTRY_COMPARE(window->size(), size);
        window->setWindowState(Qt::WindowNoState);
        window->resize(size + QSize(150, 60));
        QTRY_COMPARE(view->geometry(), page);
        // Closed by its button and shown by View > File System, the panel gives the view back.
        QTest::mouseClick(m_fx.find<QToolButton>(u"cmdCloseFile"_s), Qt::LeftButton);
        QCOMPARE(view->x(), page.x() - 140); // 2100 twips to the left
        m_fx.trigger(u"mnuViewFileSystem"_s);
        m_fx.trigger(u"mnuViewToolbar"_s); // the view keeps its place under an empty band
        QVERIFY(!m_fx.find<QWidget>(u"tbToolBar"_s)->isVisible());
        QCOMPARE(view->geometry(), page);
    }

    // Each row starts on a last book of 3 pages read to LastPage, then opens another book.
    void startupReopensTheLastBook_data()
    {
        QTest::addColumn<int>("loadLastBook");
        QTest::addColumn<int>("lastPage");
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("message");
        const QString hint = u" "_s + frmMain::Hint;
        QTest::newRow("-1 reopens at LastPage + 1")
            << -1 << 2 << false << u"3 line 31"_s << QString();
        QTest::newRow("1 is not True") << 1 << 2 << false << hint << QString();
        QTest::newRow("beyond the book") << -1 << 9 << false << u"10 line 1"_s << u"NO Such Page"_s;
        // The jump belongs to the reopening: it does not land in the next book.
        QTest::newRow("book deleted")
            << -1 << 2 << true << hint << u"Previous open file not exist\nDIR/last.txt"_s;
        // Without "Jump To Last Read Page" the reopened book shows its page 1.
        QTest::newRow("no jump") << -2 << 2 << false << u"1 line 1"_s << QString();
    }

    void startupReopensTheLastBook()
    {
        QFETCH(int, loadLastBook);
        QFETCH(int, lastPage);
        QFETCH(bool, deleted);
        QFETCH(QString, shown);
        QFETCH(QString, message);
        GlobalData saved = firstRunRecord();
        saved.LoadLastBook = VBool(loadLastBook == -2 ? -1 : loadLastBook);
        saved.JumpToLastPage = loadLastBook == -2 ? VFalse : VTrue;
        saved.LastBook = m_fx.writeBook(u"last.txt"_s, 40);
        saved.LastPage = qint16(lastPage);
        m_fx.writeConfig(saved);
        if (deleted)
            QFile::remove(saved.LastBook);
        m_fx.start();
        QCOMPARE(m_fx.shown(), shown);
        QCOMPARE(m_fx.messages().join(u'|').replace(m_fx.booksFolder(), u"DIR"_s), message);
        m_fx.open(m_fx.writeBook(u"next.txt"_s, 45));
        QCOMPARE(m_fx.shown(), u"1 line 1"_s);
    }

    // A whole session: read to page 5 in bold, leave, come back to the same page in bold.
    void exitWritesThePageAndFormat()
    {
        const QString book = m_fx.writeBook(u"story.txt"_s, 100);
        m_fx.open(book);
        m_fx.setPageNumber(u"5"_s);
        m_fx.trigger(u"tbToolBar_Bold"_s);
        m_fx.data.LoadLastBook = VTrue;
        m_fx.data.JumpToLastPage = VTrue;
        m_fx.close();
        const GlobalData saved = m_fx.savedConfig();
        QCOMPARE(saved.LastPage, qint16(4));
        QCOMPARE(saved.FontBold, VTrue);
        QCOMPARE(saved.FontSize, qint16(12));
        QSettings store(AppInfo::title(), AppInfo::title());
        QVERIFY(store.value(u"Settings/MainWidth"_s).toDouble() > 8000); // twips

        m_fx.start();
        QCOMPARE(m_fx.shown(), u"5 line 61"_s);
        m_fx.view()->selectWholeText();
        QCOMPARE(m_fx.view()->selBold(), std::optional<bool>(true));
        QVERIFY(m_fx.messages().isEmpty());
    }

    // A page past the settings record's 16 bits: LastPage holds the most it can, the book's place
    // kept by line reopens the page.
    void pagesPast16Bits()
    {
        m_fx.data.LinesPerPage = 1;
        m_fx.data.LoadLastBook = VTrue;
        m_fx.data.JumpToLastPage = VTrue;
        m_fx.open(m_fx.writeBook(u"long.txt"_s, 40000));
        m_fx.setPageNumber(u"40000"_s);
        QCOMPARE(m_fx.text(u"PageTotal"_s) + u' ' + m_fx.shown(), u"40000 40000 line 40000"_s);
        m_fx.close();
        QCOMPARE(m_fx.savedConfig().LastPage, qint16(32767));
        m_fx.start();
        QCOMPARE(m_fx.shown(), u"40000 line 40000"_s);
    }

    void favouriteFolderAcrossRestarts()
    {
        const QString favourite = m_fx.driveRoot() + u"shelf"_s;
        QDir().mkpath(favourite);
        auto *panel = m_fx.find<FilePanel>(u"frmFile"_s);
        QVERIFY(panel->setDrive(m_fx.driveRoot()) && panel->setFolder(favourite));
        QTest::mouseClick(m_fx.find<QPushButton>(u"cmdFavorit"_s), Qt::LeftButton);
        QVERIFY(panel->setDrive(u"/"_s)); // not what the next start shows
        m_fx.close();
        m_fx.start();
        QCOMPARE(m_fx.find<FilePanel>(u"frmFile"_s)->folder(), favourite);
        QCOMPARE(m_fx.find<QComboBox>(u"Drive1"_s)->currentIndex(), 1);
        m_fx.close();

        QVERIFY(QDir(favourite).removeRecursively()); // said once, then forgotten
        for (int start = 0; start < 2; ++start) {
            m_fx.start();
            m_fx.close();
        }
        QCOMPARE(m_fx.messages(), QStringList {u"Favorit path not exist, reset to default"_s});
    }

    // The disk fills up as the settings are saved at exit: the message says so, and the settings of
    // the session before are there whole to start with next time.
    void fullDiskAtExitKeepsTheSettings()
    {
#ifdef Q_OS_UNIX
        m_fx.writeConfig(firstRunRecord());
        const QByteArray before = TestFiles::read(ConfigFilePath());
        m_fx.start();
        m_fx.data.LastBook = u"/books/a/much/longer/path/to/the/new/book.txt"_s;
        {
            const FileSizeLimit full(16);
            QVERIFY(full.isActive());
            m_fx.close();
        }
        QCOMPARE(m_fx.messages().size(), 1);
        QVERIFY(m_fx.messages().first().startsWith(u"The settings could not be saved"_s));
        QCOMPARE(TestFiles::read(ConfigFilePath()), before);
        QCOMPARE(
            QDir(ConfigFolderPath()).entryList({u"*config.ini*"_s}, QDir::Files | QDir::Hidden),
            QStringList {u"config.ini"_s});
#else
        QSKIP("needs a file size limit");
#endif
    }

    void formatByToolbarAndFontDialog()
    {
        m_fx.open(m_fx.writeBook(u"format.txt"_s, 30));
        TextArea *view = m_fx.view();
        const auto look = [view] {
            view->selectWholeText();
            const QString seen = u"%1 %2 %3 %4"_s.arg(view->selFontSize().value_or(0))
                                     .arg(view->selBold().value_or(false))
                                     .arg(view->selItalic().value_or(false))
                                     .arg(view->selColor().value_or(QColor()).name());
            view->collapseSelection();
            return seen;
        };
        m_fx.prompts.colors << QColor(Qt::red) << QColor(Qt::yellow);
        for (const QString &button :
             {u"Bold"_s, u"forward"_s, u"forward"_s, u"Italic"_s, u"Front"_s, u"Back"_s})
            m_fx.trigger(u"tbToolBar_"_s + button);
        QTest::keyClick(view, Qt::Key_Right); // the next page takes the format on
        QCOMPARE(m_fx.text(u"PageNumber"_s) + u' ' + look(), u"2 16 1 1 #ff0000"_s);
        m_fx.open(m_fx.writeBook(u"next.txt"_s, 3)); // and so does the next book
        QCOMPARE(look(), u"16 1 1 #ff0000"_s);
        QCOMPARE(view->backColor(), QColor(Qt::yellow));

        m_fx.prompts.fonts.enqueue(QFont(u"DejaVu Serif"_s, 9));
        m_fx.trigger(u"mnuFont"_s);
        m_fx.trigger(u"tbToolBar_back"_s); // 7 is too small
        QCOMPARE(look(), u"9 0 0 #ff0000"_s);
        QCOMPARE(m_fx.data.FontSize, qint16(9));
        QCOMPARE(m_fx.data.FontName, QFont(u"DejaVu Serif"_s).family());
        QCOMPARE(m_fx.messages(), QStringList {u"min font size achived"_s});
    }

    // A scheme sets both colours as the colour buttons do. The page layout shows at once, Cancel
    // puts it back, OK keeps it in its own file, never in config.ini; the next start reads it.
    void schemeAndPageLayout()
    {
        m_fx.open(m_fx.writeBook(u"look.txt"_s, 40));
        TextArea *view = m_fx.view();
        m_fx.trigger(u"mnuViewSchemeNight"_s);
        view->selectWholeText();
        QCOMPARE(view->selColor(), QColor(0xDA, 0xDA, 0xDA));
        QCOMPARE(view->backColor(), QColor(0x16, 0x16, 0x16));

        const QByteArray config = TestFiles::read(ConfigFilePath());
        const int row = view->rowHeight();
        const qreal width = view->lineWidth();
        const auto answer = [view, width](int margin, int spacing, const QString &button) {
            ReaderFixture::answerModal([=](QWidget *dialog) {
                dialog->findChild<QSpinBox *>(u"txtSideMargin"_s)->setValue(margin);
                dialog->findChild<QSpinBox *>(u"txtLineSpacing"_s)->setValue(spacing);
                QCOMPARE(width - view->lineWidth(), 2.0 * margin);
                dialog->findChild<QPushButton *>(button)->click();
            });
        };
        answer(30, 200, u"cmdCancel"_s);
        m_fx.trigger(u"mnuViewPageLayout"_s);
        QCOMPARE(view->lineWidth(), width);
        answer(60, 150, u"cmdOK"_s);
        m_fx.trigger(u"mnuViewPageLayout"_s);
        QCOMPARE(width - view->lineWidth(), 120.0);
        m_fx.trigger(u"mnuViewFitPages"_s);
        QTest::keyClick(view, Qt::Key_Right);
        const int spaced = view->rowHeight();
        QVERIFY2(qAbs(spaced - row * 1.5) <= 1, qPrintable(u"%1 %2"_s.arg(row).arg(spaced)));
        QCOMPARE(TestFiles::read(ConfigFolderPath() + u"/layout"_s),
                 "Pagelark layout 1\nfitPages=1\nsideMargin=60\nlineSpacing=150\n");
        QCOMPARE(TestFiles::read(ConfigFilePath()), config);

        m_fx.close();
        QCOMPARE(m_fx.savedConfig().BackColor.value, 0x161616);
        QCOMPARE(m_fx.savedConfig().ForeColor.value, 0xDADADA);
        m_fx.start();
        QCOMPARE(m_fx.view()->rowHeight(), spaced);
        QVERIFY(m_fx.find<QAction>(u"mnuViewFitPages"_s)->isChecked());
    }

    // The book is printed as it was opened, whatever its file holds since, and the view keeps its
    // page.
    void printsTheBookFileToPdf()
    {
        if (QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty())
            QSKIP("pdftotext (poppler-utils) is needed to read the printed PDF");
        const QString book = m_fx.writeBook(u"print.txt"_s, 40);
        m_fx.open(book);
        m_fx.setPageNumber(u"2"_s);
        TestFiles::write(book, TestFiles::lines(40) + "the changed ending\r\n");
        const QString pdf = m_fx.booksFolder() + u"/out.pdf"_s;
        m_fx.prompts.printerAnswers.enqueue(true);
        m_fx.prompts.duringPrinterSetup = [&pdf](QPrinter &printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
        };
        m_fx.trigger(u"mnuFilePageSetup"_s);
        m_fx.trigger(u"mnuFilePrint"_s);
        QVERIFY(m_fx.messages().isEmpty());
        QCOMPARE(m_fx.shown(), u"2 line 16"_s);
        QProcess pdftotext;
        pdftotext.start(u"pdftotext"_s, {pdf, u"-"_s});
        QVERIFY(pdftotext.waitForFinished(60000));
        const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
        // The book as it was opened, not what its file holds since.
        QVERIFY(text.contains(u"line 1"_s) && text.contains(u"line 40"_s));
        QVERIFY(!text.contains(u"the changed ending"_s));
    }

    void editorGetsThePathAsOneArgument()
    {
        const QString book = m_fx.writeBook(u"My 'best' \"book\" & $(more).txt"_s, 3);
        m_fx.open(book);
        m_fx.trigger(u"menuOpenWith"_s);
        m_fx.launcher.editor.clear(); // none installed
        m_fx.trigger(u"menuOpenWith"_s);
        const QList<QStringList> starts {{u"/usr/bin/text editor"_s, book}};
        QCOMPARE(m_fx.launcher.starts, starts);
        QCOMPARE(m_fx.messages().size(), 1);
        QVERIFY(m_fx.messages().first().startsWith(u"No text editor was found"_s));
    }

    void helpPage()
    {
        QTest::keyClick(m_fx.window(), Qt::Key_F1);
        const QTemporaryDir empty;
        qputenv("PAGELARK_HELP_DIR", QFile::encodeName(empty.path()));
        m_fx.trigger(u"mnuHelpTopic"_s);
        qunsetenv("PAGELARK_HELP_DIR");
        QCOMPARE(m_fx.launcher.urls.size(), 1);
        const QString page = m_fx.launcher.urls.first().toLocalFile();
        QVERIFY2(TestFiles::read(page).contains("<title>Pagelark Help</title>"), qPrintable(page));
        QCOMPARE(m_fx.messages().size(), 1);
        QVERIFY(m_fx.messages().first().startsWith(u"The help page was not found"_s));
    }

    // Modal over the reader window, on the Links tab, with the window's desktop: its registry here
    // has no system information tool. Esc closes it.
    void aboutOverTheWindow()
    {
        QString seen;
        ReaderFixture::answerModal([&seen, this](QWidget *dialog) {
            const auto *tabs = dialog->findChild<QTabWidget *>(u"SSTab1"_s);
            seen = tabs->tabText(tabs->currentIndex());
            for (const QWidget *control :
                 dialog->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                QVERIFY2(dialog->rect().contains(control->geometry()) || control->x() <= 0,
                         qPrintable(control->objectName())); // nothing cut off by the edge
            QTest::mouseClick(dialog->findChild<QLabel *>(u"lblLink"_s), Qt::LeftButton);
            dialog->findChild<QPushButton *>(u"cmdSysInfo"_s)->click();
            QTest::keyClick(dialog, Qt::Key_Escape);
            seen += dialog->isVisible() ? u" open"_s : u" closed"_s;
            seen += dialog->parentWidget() == m_fx.window() ? u" owned"_s : u" alone"_s;
            dialog->close();
        });
        m_fx.trigger(u"mnuHelpAbout"_s);
        QCOMPARE(seen, u"Links closed owned"_s);
        QCOMPARE(m_fx.launcher.urls, QList<QUrl> {QUrl(frmAbout::homePage())});
        QCOMPARE(m_fx.messages(),
                 QStringList {u"System Information Is Unavailable At This Time"_s});
    }

private:
    ReaderFixture m_fx;
};

PAGELARK_TEST(tst_readerwindow);
#include "tst_readerwindow.moc"

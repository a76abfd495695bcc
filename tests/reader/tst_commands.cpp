// The reader's commands through the real window: search, printing, clipboard and formatting.
#include "reader/TextArea.h"
#include "reader/frmMain.h"
#include "settings/GlobalData.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

class tst_commands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void searchFindsFirstPageWithText();
    void searchMissKeepsPageAndReports();
    void nextVisitsEveryOccurrenceInOrder();
    void nextWithoutSearchDoesNothing();
    void nextAfterFailedNextStartsOnShownPage();
    void searchWithoutBook();

    void printWritesBookFileToPdf();
    void printOfUnreadableFileReports();
    void printWithoutPrinterReports();
    void copyPutsSelectionOnClipboard();

    void optionsReloadsBookWithNewPageSize();
    void optionsWithoutChangeDoesNothing();

    void fontSizeSteps_data();
    void fontSizeSteps();
    void mixedSizesMeetTheBounds();
    void boldTogglesWholeText();
    void colourCommandsWithoutBook();
    void textColourOnAnyPage();
    void fontDialogWritesSettings();

private:
    QString book(const QString &name, const QByteArray &bytes);
    void open(const QString &path);
    QAction *action(const char *name) const;
    QAction *button(const char *key) const;
    QString pageNumber() const;

    QTemporaryDir m_dir;
    ScriptedPrompts m_prompts;
    GlobalData m_data;
    std::unique_ptr<frmMain> m_window;
};

void tst_commands::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void tst_commands::init()
{
    m_prompts.reset();
    m_data = GlobalData::defaults();
    m_window = std::make_unique<frmMain>(m_prompts, m_data);
    m_window->Form_Load(m_dir.filePath(QStringLiteral("config/config.ini")));
    m_window->show();
    m_prompts.reset();
}

void tst_commands::cleanup()
{
    m_window.reset();
}

QString tst_commands::book(const QString &name, const QByteArray &bytes)
{
    return TestFiles::write(m_dir.filePath(name), bytes);
}

void tst_commands::open(const QString &path)
{
    m_prompts.files.enqueue(path);
    action("mnuFileOpen")->trigger();
}

QAction *tst_commands::action(const char *name) const
{
    return m_window->findChild<QAction *>(QString::fromLatin1(name));
}

QAction *tst_commands::button(const char *key) const
{
    return m_window->findChild<QAction *>(QStringLiteral("tbToolBar_") + QLatin1String(key));
}

QString tst_commands::pageNumber() const
{
    return m_window->findChild<QLineEdit *>(QStringLiteral("PageNumber"))->text();
}

// Five pages of 15 lines; "Needle" stands only on page 4, twice on its third line.
static QByteArray fivePages()
{
    QByteArray bytes;
    for (int line = 1; line <= 75; ++line) {
        if (line == 48)
            bytes += "a needle and another NEEDLE here\r\n";
        else
            bytes += "plain words on line " + QByteArray::number(line) + "\r\n";
    }
    return bytes;
}

void tst_commands::searchFindsFirstPageWithText()
{
    open(book(QStringLiteral("five.txt"), fivePages()));
    m_window->findChild<QLineEdit *>(QStringLiteral("PageNumber"))->setText(QStringLiteral("2"));
    m_prompts.inputs.enqueue(QStringLiteral("Needle"));
    action("mnuToolsFind")->trigger();

    QCOMPARE(m_window->state().currentPage(), 3);
    QCOMPARE(pageNumber(), QStringLiteral("4"));
    QCOMPARE(m_window->textArea()->selectedText(), QStringLiteral("needle"));
    QVERIFY(m_prompts.messages().isEmpty());
    QCOMPARE(m_prompts.calls.last().text, QStringLiteral("please enter string to search for"));
}

void tst_commands::searchMissKeepsPageAndReports()
{
    open(book(QStringLiteral("five.txt"), fivePages()));
    m_window->findChild<QLineEdit *>(QStringLiteral("PageNumber"))->setText(QStringLiteral("2"));
    const QString shown = m_window->textArea()->text();
    m_prompts.inputs.enqueue(QStringLiteral("absent"));
    action("mnuToolsFind")->trigger();

    QCOMPARE(m_prompts.messages(), QStringList {QStringLiteral("string not found")});
    QCOMPARE(m_window->state().currentPage(), 1);
    QCOMPARE(pageNumber(), QStringLiteral("2"));
    QCOMPARE(m_window->textArea()->text(), shown);
}

void tst_commands::nextVisitsEveryOccurrenceInOrder()
{
    // Occurrences: page 1 at the end of its last line, page 2 twice on one line, page 3 none,
    // page 4 once.
    QByteArray bytes;
    for (int line = 1; line <= 60; ++line) {
        if (line == 15)
            bytes += "ends with cat\r\n";
        else if (line == 20)
            bytes += "cat and CAT\r\n";
        else if (line == 50)
            bytes += "concatenate\r\n";
        else
            bytes += "line\r\n";
    }
    open(book(QStringLiteral("cats.txt"), bytes));
    m_prompts.inputs.enqueue(QStringLiteral("cat"));
    action("mnuToolsFind")->trigger();

    QList<QPair<int, int>> visits; // page, selection start
    visits.append({m_window->state().currentPage(), m_window->textArea()->selStart()});
    for (int i = 0; i < 3; ++i) {
        action("mnuToolsFindNext")->trigger();
        visits.append({m_window->state().currentPage(), m_window->textArea()->selStart()});
    }
    const int onLine5 = 4 * 5; // four "line\n" before it on page 2
    const QList<QPair<int, int>> expected = {
        {0, 14 * 5 + 10}, {1, onLine5}, {1, onLine5 + 8}, {3, 4 * 5 + 3}};
    QCOMPARE(visits, expected);
    QVERIFY(m_prompts.messages().isEmpty());

    action("mnuToolsFindNext")->trigger();
    QCOMPARE(m_prompts.messages(), QStringList {QStringLiteral("Reach End of Book")});
    QCOMPARE(m_window->state().currentPage(), 3);
    QCOMPARE(pageNumber(), QStringLiteral("4"));
}

void tst_commands::nextWithoutSearchDoesNothing()
{
    open(book(QStringLiteral("five.txt"), fivePages()));
    action("mnuToolsFindNext")->trigger();
    QVERIFY(m_prompts.calls.size() == 1); // the open dialog only
    QCOMPARE(m_window->state().currentPage(), 0);
}

void tst_commands::nextAfterFailedNextStartsOnShownPage()
{
    open(book(QStringLiteral("five.txt"), fivePages()));
    m_prompts.inputs.enqueue(QStringLiteral("needle"));
    action("mnuToolsFind")->trigger();
    action("mnuToolsFindNext")->trigger(); // the second one on the line
    action("mnuToolsFindNext")->trigger(); // none left
    QCOMPARE(m_prompts.messages(), QStringList {QStringLiteral("Reach End of Book")});
    m_window->findChild<QLineEdit *>(QStringLiteral("PageNumber"))->setText(QStringLiteral("1"));
    action("mnuToolsFindNext")->trigger();
    QCOMPARE(m_window->state().currentPage(), 3);
    QCOMPARE(m_window->textArea()->selectedText(), QStringLiteral("needle"));
}

void tst_commands::searchWithoutBook()
{
    m_prompts.inputs.enqueue(QStringLiteral("x"));
    action("mnuToolsFind")->trigger();
    QVERIFY(m_prompts.messages().isEmpty());
    m_prompts.inputs.enqueue(QString()); // cancelled
    action("mnuToolsFind")->trigger();
    action("mnuToolsFindNext")->trigger();
    QVERIFY(m_prompts.messages().isEmpty());
}

static QString pdfText(const QString &pdf)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(30000))
        return {};
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

void tst_commands::printWritesBookFileToPdf()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is needed to read the printed PDF");
    const QString path = book(QStringLiteral("print.txt"), TestFiles::lines(40));
    open(path);
    m_window->findChild<QLineEdit *>(QStringLiteral("PageNumber"))->setText(QStringLiteral("2"));
    const QString shown = m_window->textArea()->text();
    // The file changes on disk after loading: the print shows it as it is now.
    TestFiles::write(path, TestFiles::lines(40) + "the changed ending\r\n");

    const QString pdf = m_dir.filePath(QStringLiteral("out.pdf"));
    m_prompts.printerAnswers.enqueue(true);
    m_prompts.duringPrinterSetup = [&pdf](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
    };
    action("mnuFilePageSetup")->trigger();
    QCOMPARE(m_prompts.calls.last().text, QStringLiteral("Page Setup"));
    action("mnuFilePrint")->trigger();

    QVERIFY(m_prompts.messages().isEmpty());
    const QString text = pdfText(pdf);
    QVERIFY2(text.contains(QStringLiteral("line 1")), qPrintable(text.left(200)));
    QVERIFY(text.contains(QStringLiteral("line 40")));
    QVERIFY(text.contains(QStringLiteral("the changed ending")));
    QCOMPARE(pageNumber(), QStringLiteral("2"));
    QCOMPARE(m_window->textArea()->text(), shown);
}

void tst_commands::printOfUnreadableFileReports()
{
    const QString path = book(QStringLiteral("gone.txt"), TestFiles::lines(20));
    open(path);
    QFile::remove(path);
    const QString pdf = m_dir.filePath(QStringLiteral("never.pdf"));
    m_window->printer().setOutputFormat(QPrinter::PdfFormat);
    m_window->printer().setOutputFileName(pdf);
    const QString shown = m_window->textArea()->text();
    action("mnuFilePrint")->trigger();

    QCOMPARE(m_prompts.messages().size(), 1);
    QVERIFY(m_prompts.messages().first().contains(QStringLiteral("gone.txt")));
    QVERIFY(!QFile::exists(pdf));
    QCOMPARE(m_window->textArea()->text(), shown);
    QCOMPARE(pageNumber(), QStringLiteral("1"));
}

void tst_commands::printWithoutPrinterReports()
{
    open(book(QStringLiteral("p.txt"), TestFiles::lines(3)));
    m_window->printer().setOutputFormat(QPrinter::PdfFormat);
    m_window->printer().setOutputFileName(QString());
    action("mnuFilePrint")->trigger();
    QCOMPARE(m_prompts.messages().size(), 1);
    QVERIFY(m_prompts.messages().first().contains(QStringLiteral("Page Setup")));
}

void tst_commands::copyPutsSelectionOnClipboard()
{
    open(book(QStringLiteral("c.txt"), "alpha beta\r\n"));
    TextArea *view = m_window->textArea();
    view->setSelStart(6);
    view->setSelLength(4);
    action("mnuEditCopy")->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("beta"));
    view->collapseSelection();
    action("mnuEditCopy")->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QString());
}

// Answers the Options dialog once it is open: lines per page, then OK.
static void answerOptions(const QString &linesPerPage)
{
    QTimer::singleShot(0, [linesPerPage] {
        QWidget *dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        dialog->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(linesPerPage);
        dialog->findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
    });
}

void tst_commands::optionsReloadsBookWithNewPageSize()
{
    open(book(QStringLiteral("o.txt"), TestFiles::lines(40))); // 3 pages of 15
    m_window->findChild<QLineEdit *>(QStringLiteral("PageNumber"))->setText(QStringLiteral("3"));
    m_prompts.reset();
    answerOptions(QStringLiteral("10"));
    action("mnuViewOptions")->trigger();

    QCOMPARE(m_data.LinesPerPage, qint16(10));
    QCOMPARE(m_prompts.messages(), QStringList {QStringLiteral("NO Such Page")});
    QCOMPARE(m_window->findChild<QLineEdit *>(QStringLiteral("PageTotal"))->text(),
             QStringLiteral("4"));
    QCOMPARE(pageNumber(), QStringLiteral("1"));
    QCOMPARE(m_window->state().currentPage(), 0);
    QVERIFY(m_window->textArea()->text().startsWith(QStringLiteral("line 1\n")));
}

void tst_commands::optionsWithoutChangeDoesNothing()
{
    // No book: a new page size is stored, and nothing is loaded or reported.
    answerOptions(QStringLiteral("20"));
    action("mnuViewOptions")->trigger();
    QCOMPARE(m_data.LinesPerPage, qint16(20));
    QVERIFY(m_prompts.messages().isEmpty());

    open(book(QStringLiteral("o.txt"), TestFiles::lines(40)));
    m_window->findChild<QLineEdit *>(QStringLiteral("PageNumber"))->setText(QStringLiteral("2"));
    m_prompts.reset();
    answerOptions(QStringLiteral("20"));
    button("Properties")->trigger();
    QVERIFY(m_prompts.messages().isEmpty());
    QCOMPARE(pageNumber(), QStringLiteral("2"));
}

void tst_commands::fontSizeSteps_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<double>("after");
    QTest::addColumn<QString>("message");

    QTest::newRow("10 smaller") << 10.0 << QByteArray("back") << 8.0 << QString();
    QTest::newRow("9 smaller") << 9.0 << QByteArray("back") << 9.0
                               << QStringLiteral("min font size achived");
    QTest::newRow("8 smaller") << 8.0 << QByteArray("back") << 8.0
                               << QStringLiteral("min font size achived");
    QTest::newRow("28 larger") << 28.0 << QByteArray("forward") << 30.0 << QString();
    QTest::newRow("29 larger") << 29.0 << QByteArray("forward") << 29.0
                               << QStringLiteral("max font size achived");
    QTest::newRow("30 larger") << 30.0 << QByteArray("forward") << 30.0
                               << QStringLiteral("max font size achived");
}

void tst_commands::fontSizeSteps()
{
    QFETCH(double, start);
    QFETCH(QByteArray, key);
    QFETCH(double, after);
    QFETCH(QString, message);

    open(book(QStringLiteral("s.txt"), TestFiles::lines(30)));
    TextArea *view = m_window->textArea();
    view->selectWholeText();
    view->setSelFontSize(start);
    view->collapseSelection();
    m_prompts.reset();

    button(key.constData())->trigger();
    view->selectWholeText();
    QCOMPARE(view->selFontSize().value_or(-1), after);
    QCOMPARE(m_prompts.messages(), message.isEmpty() ? QStringList() : QStringList {message});
    // The next page keeps the size.
    QTest::keyClick(view, Qt::Key_Right);
    view->selectWholeText();
    QCOMPARE(view->selFontSize().value_or(-1), after);
}

void tst_commands::mixedSizesMeetTheBounds()
{
    open(book(QStringLiteral("m.txt"), "small big\r\n"));
    TextArea *view = m_window->textArea();
    view->setSelStart(6);
    view->setSelLength(3);
    view->setSelFontSize(20);
    m_prompts.reset();
    button("back")->trigger();
    button("forward")->trigger();
    QCOMPARE(m_prompts.messages(),
             (QStringList {QStringLiteral("min font size achived"),
                           QStringLiteral("max font size achived")}));
    view->selectWholeText();
    QVERIFY(!view->selFontSize().has_value());
    QCOMPARE(view->selLength(), view->text().size());
}

void tst_commands::boldTogglesWholeText()
{
    open(book(QStringLiteral("b.txt"), "some bold words\r\n"));
    TextArea *view = m_window->textArea();
    view->setSelStart(5);
    view->setSelLength(4);
    view->setSelBold(true);
    // Selected text that is partly bold turns bold off for the whole text...
    view->setSelStart(0);
    view->setSelLength(10);
    button("Bold")->trigger();
    view->selectWholeText();
    QCOMPARE(view->selBold(), std::optional<bool>(false));
    view->collapseSelection();
    // ...and a second press turns it on for the whole text, leaving nothing selected.
    button("Bold")->trigger();
    QCOMPARE(view->selLength(), 0);
    QCOMPARE(view->selStart(), 0);
    view->selectWholeText();
    QCOMPARE(view->selBold(), std::optional<bool>(true));
}

void tst_commands::colourCommandsWithoutBook()
{
    m_prompts.colors.enqueue(QColor(Qt::yellow));
    button("Back")->trigger();
    QCOMPARE(m_window->textArea()->backColor(), QColor(Qt::yellow));

    m_prompts.colors.enqueue(QColor(Qt::red));
    button("Front")->trigger();
    QVERIFY(m_prompts.messages().isEmpty());
    TextArea *view = m_window->textArea();
    view->selectWholeText();
    QCOMPARE(view->selColor().value_or(QColor()), QColor(Qt::red));

    // A cancelled dialog changes nothing.
    button("Front")->trigger();
    QCOMPARE(m_prompts.lastInitialColor, QColor(Qt::red));
    view->selectWholeText();
    QCOMPARE(view->selColor().value_or(QColor()), QColor(Qt::red));
}

void tst_commands::textColourOnAnyPage()
{
    open(book(QStringLiteral("one.txt"), "only page\r\n"));
    m_prompts.reset();
    m_prompts.colors.enqueue(QColor(Qt::blue));
    button("Front")->trigger();
    QVERIFY(m_prompts.messages().isEmpty());
    QCOMPARE(pageNumber(), QStringLiteral("1"));
    QCOMPARE(m_window->state().currentPage(), 0);
    TextArea *view = m_window->textArea();
    view->selectWholeText();
    QCOMPARE(view->selColor().value_or(QColor()), QColor(Qt::blue));
}

void tst_commands::fontDialogWritesSettings()
{
    open(book(QStringLiteral("f.txt"), TestFiles::lines(20)));
    QFont chosen(QStringLiteral("DejaVu Serif"));
    chosen.setPointSize(9);
    chosen.setItalic(true);
    m_prompts.fonts.enqueue(chosen);
    action("mnuFont")->trigger();
    QCOMPARE(m_data.FontSize, qint16(9));
    QCOMPARE(m_data.FontItalic, VTrue);
    QCOMPARE(m_data.FontBold, VFalse);
    QCOMPARE(m_data.FontName, chosen.family());
    QCOMPARE(m_window->textArea()->selLength(), 0);

    // 9 steps by two and stops at 29.
    for (int i = 0; i < 12; ++i)
        button("forward")->trigger();
    TextArea *view = m_window->textArea();
    view->selectWholeText();
    QCOMPARE(view->selFontSize().value_or(-1), 29.0);
}

QTEST_MAIN(tst_commands)
#include "tst_commands.moc"

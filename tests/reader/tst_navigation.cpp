// Choosing and turning pages through the real reader window: the page-number box, the arrow
// keys in the page view and the view's right-click menu.
#include "reader/TextArea.h"
#include "reader/frmMain.h"
#include "support/ReaderFixture.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

class tst_navigation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void pageNumberBox_data();
    void pageNumberBox();
    void typedNumberShowsPage();
    void withoutBook_data();
    void withoutBook();
    void arrowsAtTheEnds_data();
    void arrowsAtTheEnds();
    void rightThenLeft();
    void heldKeyTurnsSeveralPages();
    void arrowStillMovesCaret();
    void rightClickOpensEditMenu_data();
    void rightClickOpensEditMenu();

private:
    // Opens a book of `pages` pages of 15 lines.
    void openBook(int pages);
    // The first line of page number `page` of such a book.
    static QString firstLineOf(int page)
    {
        return QStringLiteral("line %1\n").arg((page - 1) * 15 + 1);
    }
    TextArea *view() const { return m_fx.window()->textArea(); }

    ReaderFixture m_fx;
};

void tst_navigation::init()
{
    m_fx.init();
    m_fx.start();
}

void tst_navigation::cleanup()
{
    m_fx.close();
}

void tst_navigation::openBook(int pages)
{
    m_fx.window()->openBook(m_fx.writeBook(QStringLiteral("book.txt"), pages * 15));
    QCOMPARE(m_fx.window()->state().lastPageIndex(), pages - 1);
    m_fx.prompts.reset();
}

// Each row types its texts one after the other into the box of a 3-page book at page 1.
void tst_navigation::pageNumberBox_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<int>("page"); // the page the view shows, from 1
    QTest::addColumn<int>("currentPage"); // the reader's index
    QTest::addColumn<QString>("box"); // the box's text at the end

    const QString noPage = QStringLiteral("NO Such Page");
    QTest::newRow("3 shows page 3") << QStringList {u"3"_qs} << QStringList {} << 3 << 2 << u"3"_qs;
    QTest::newRow("4 after 3 is refused, page 3 stays")
        << QStringList {u"3"_qs, u"4"_qs} << QStringList {noPage} << 3 << 2 << u"4"_qs;
    QTest::newRow("0") << QStringList {u"0"_qs} << QStringList {noPage} << 1 << 0 << u"0"_qs;
    QTest::newRow("negative") << QStringList {u"2"_qs, u"-1"_qs} << QStringList {noPage} << 2 << 1
                              << u"-1"_qs;
    QTest::newRow("2.9 rounds down")
        << QStringList {u"2.9"_qs} << QStringList {} << 2 << 1 << u"2.9"_qs;
    QTest::newRow("3.9 rounds down")
        << QStringList {u"3.9"_qs} << QStringList {} << 3 << 2 << u"3.9"_qs;
    QTest::newRow("0.5 is below page 1")
        << QStringList {u"0.5"_qs} << QStringList {noPage} << 1 << 0 << u"0.5"_qs;
    QTest::newRow("blanks around a number")
        << QStringList {u" 2 "_qs} << QStringList {} << 2 << 1 << u" 2 "_qs;
    QTest::newRow("a word empties the box")
        << QStringList {u"2"_qs, u"two"_qs} << QStringList {u"please enter a page number"_qs} << 2
        << 1 << QString();
    QTest::newRow("emptied by hand")
        << QStringList {u"2"_qs, QString()} << QStringList {} << 2 << 1 << QString();
    QTest::newRow("far beyond 16 bits") << QStringList {u"2"_qs, u"99999999999"_qs}
                                        << QStringList {noPage} << 2 << 1 << u"99999999999"_qs;
    QTest::newRow("one past 32767")
        << QStringList {u"32769"_qs} << QStringList {noPage} << 1 << 0 << u"32769"_qs;
    QTest::newRow("far below 16 bits")
        << QStringList {u"-99999999999"_qs} << QStringList {noPage} << 1 << 0 << u"-99999999999"_qs;
    QTest::newRow("refused twice falls back to the page shown")
        << QStringList {u"2"_qs, u"7"_qs, u"0"_qs} << QStringList {noPage, noPage} << 2 << 1
        << u"0"_qs;
}

void tst_navigation::pageNumberBox()
{
    QFETCH(QStringList, typed);
    QFETCH(QStringList, messages);
    QFETCH(int, page);
    QFETCH(int, currentPage);
    QFETCH(QString, box);

    openBook(3);
    for (const QString &text : std::as_const(typed))
        m_fx.setPageNumber(text);

    QCOMPARE(m_fx.messages(), messages);
    QVERIFY2(m_fx.viewText().startsWith(firstLineOf(page)), qPrintable(m_fx.viewText()));
    QCOMPARE(m_fx.window()->state().currentPage(), currentPage);
    QCOMPARE(m_fx.pageNumberText(), box);
    // The next page turn starts from the page on show.
    QTest::keyClick(view(), Qt::Key_Left);
    if (page > 1)
        QVERIFY(m_fx.viewText().startsWith(firstLineOf(page - 1)));
    else
        QCOMPARE(m_fx.messages().last(), u"Begin of the Book"_qs);
}

void tst_navigation::typedNumberShowsPage()
{
    openBook(3);
    auto *box = m_fx.find<QLineEdit>(QStringLiteral("PageNumber"));
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("3"));
    QVERIFY(m_fx.viewText().startsWith(firstLineOf(3)));
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QCOMPARE(box->text(), QString());
    QVERIFY(m_fx.messages().isEmpty());
    QVERIFY(m_fx.viewText().startsWith(firstLineOf(3)));
}

void tst_navigation::withoutBook_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("a number") << u"2"_qs << QStringList {u"please open a book first"_qs};
    QTest::newRow("a word") << u"two"_qs << QStringList {u"please open a book first"_qs};
    QTest::newRow("empty") << QString() << QStringList {};
}

void tst_navigation::withoutBook()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, messages);
    m_fx.setPageNumber(u"x"_qs);
    m_fx.prompts.reset();
    m_fx.setPageNumber(typed);
    QCOMPARE(m_fx.messages(), messages);
    QCOMPARE(m_fx.pageNumberText(), typed);
    QCOMPARE(m_fx.viewText(), frmMain::Hint);
}

void tst_navigation::arrowsAtTheEnds_data()
{
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("startPage");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("message");
    QTest::newRow("Right on the last page")
        << 3 << 3 << int(Qt::Key_Right) << u"End of the Book"_qs;
    QTest::newRow("Left on the first page")
        << 3 << 1 << int(Qt::Key_Left) << u"Begin of the Book"_qs;
    QTest::newRow("Right on a book of one page")
        << 1 << 1 << int(Qt::Key_Right) << u"End of the Book"_qs;
}

void tst_navigation::arrowsAtTheEnds()
{
    QFETCH(int, pages);
    QFETCH(int, startPage);
    QFETCH(int, key);
    QFETCH(QString, message);
    openBook(pages);
    m_fx.setPageNumber(QString::number(startPage));
    QTest::keyClick(view(), Qt::Key(key));
    QCOMPARE(m_fx.messages(), QStringList {message});
    QVERIFY(m_fx.viewText().startsWith(firstLineOf(startPage)));
    QCOMPARE(m_fx.window()->state().currentPage(), startPage - 1);
    QCOMPARE(m_fx.pageNumberText(), QString::number(startPage));
}

void tst_navigation::rightThenLeft()
{
    openBook(2);
    QTest::keyClick(view(), Qt::Key_Right);
    QVERIFY(m_fx.viewText().startsWith(firstLineOf(2)));
    QCOMPARE(m_fx.pageNumberText(), u"2"_qs);
    QTest::keyClick(view(), Qt::Key_Left);
    QVERIFY(m_fx.viewText().startsWith(firstLineOf(1)));
    QCOMPARE(m_fx.pageNumberText(), u"1"_qs);
    QCOMPARE(m_fx.window()->state().currentPage(), 0);
    QVERIFY(m_fx.messages().isEmpty());
}

// A key held down arrives as repeated presses and one release.
void tst_navigation::heldKeyTurnsSeveralPages()
{
    openBook(6);
    for (int i = 0; i < 4; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), i > 0);
        QApplication::sendEvent(view(), &press);
    }
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(view(), &release);
    QVERIFY(m_fx.viewText().startsWith(firstLineOf(5)));
    QCOMPARE(m_fx.window()->state().currentPage(), 4);

    // Shift is ignored; held past the end, each further press meets the end again.
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(view(), Qt::Key_Right, Qt::ShiftModifier);
    QVERIFY(m_fx.viewText().startsWith(firstLineOf(6)));
    QCOMPARE(m_fx.messages(), QStringList(2, u"End of the Book"_qs));
}

void tst_navigation::arrowStillMovesCaret()
{
    openBook(3);
    QTest::keyClick(view(), Qt::Key_Right);
    QVERIFY(m_fx.viewText().startsWith(firstLineOf(2)));
    // The new page puts the caret at its start; the key then moves it on by one.
    QCOMPARE(view()->textCursor().position(), 1);
    QTest::keyClick(view(), Qt::Key_Up); // not a page key: only the caret moves
    QVERIFY(m_fx.viewText().startsWith(firstLineOf(2)));
    QTest::keyClick(view(), Qt::Key_End);
    QTest::keyClick(view(), Qt::Key_Right);
    QVERIFY(m_fx.viewText().startsWith(firstLineOf(3)));
    QCOMPARE(view()->textCursor().position(), 1);
    QVERIFY(m_fx.messages().isEmpty());
}

void tst_navigation::rightClickOpensEditMenu_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("opens");
    QTest::newRow("right") << int(Qt::RightButton) << true;
    QTest::newRow("left") << int(Qt::LeftButton) << false;
    QTest::newRow("middle") << int(Qt::MiddleButton) << false;
}

void tst_navigation::rightClickOpensEditMenu()
{
    QFETCH(int, button);
    QFETCH(bool, opens);
    openBook(2);
    auto *menu = m_fx.find<QMenu>(QStringLiteral("mnuEdit"));
    QVERIFY(menu);
    QVERIFY(!menu->isVisible());
    QTest::mouseClick(view()->viewport(), Qt::MouseButton(button), {}, QPoint(20, 20));
    if (opens)
        QTRY_VERIFY(menu->isVisible());
    else
        QVERIFY(!menu->isVisible());
    menu->close();
    QVERIFY(m_fx.viewText().startsWith(firstLineOf(1)));
    QVERIFY(m_fx.messages().isEmpty());
}

QTEST_MAIN(tst_navigation)
#include "tst_navigation.moc"

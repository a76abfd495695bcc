// The page view's contract with the reader: formats survive a change of page, selections and
// find work in character offsets, and the view is read-only to typing but not to the caret.
#include "reader/TextArea.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

namespace {

// The key codes keyDown announced; a modifier held down is announced as a key of its own.
QList<int> announcedKeys(const QSignalSpy &spy)
{
    QList<int> keys;
    for (const QList<QVariant> &args : spy) {
        const int key = args.at(0).toInt();
        if (key != Qt::Key_Shift && key != Qt::Key_Control)
            keys.append(key);
    }
    return keys;
}

// Formats the whole text the way the reader applies its page format.
void formatWholeText(TextArea &view)
{
    view.selectWholeText();
    view.setSelColor(QColor(0x12, 0x34, 0x56));
    view.setSelFontSize(21);
    view.setSelFontName(QStringLiteral("Pagelark Serif"));
    view.setSelBold(true);
    view.setSelItalic(true);
    view.collapseSelection();
}

} // namespace

class tst_textarea : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formatSurvivesANewPage_data();
    void formatSurvivesANewPage();
    void newPageShowsFromItsStart();
    void emptyFontNameKeepsTheFont();
    void mixedSelectionHasNoValue();
    void selection();
    void lineEndsAreOneCharacter();
    void find_data();
    void find();
    void findMissLeavesTheSelection();
    void backColor();
    void typingChangesNothing_data();
    void typingChangesNothing();
    void arrowsMoveTheCaretAndAreAnnounced();
    void rightButtonIsAnnounced();
};

void tst_textarea::formatSurvivesANewPage_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");

    QTest::newRow("page to page") << QStringLiteral("first page\r\nline 2\r\n")
                                  << QStringLiteral("second page\r\nline 2\r\nline 3\r\n");
    QTest::newRow("from an empty view") << QString() << QStringLiteral("a page\r\n");
    QTest::newRow("to an empty page") << QStringLiteral("a page\r\n") << QStringLiteral("\r\n");
}

void tst_textarea::formatSurvivesANewPage()
{
    QFETCH(QString, before);
    QFETCH(QString, after);

    TextArea view;
    view.setText(before);
    formatWholeText(view);
    view.setText(after);
    view.setText(before); // and back and forth, as turning pages does
    view.setText(after);

    view.selectWholeText();
    QCOMPARE(view.selColor(), std::optional<QColor>(QColor(0x12, 0x34, 0x56)));
    QCOMPARE(view.selFontSize(), std::optional<double>(21));
    QCOMPARE(view.selFontName(), std::optional<QString>(QStringLiteral("Pagelark Serif")));
    QCOMPARE(view.selBold(), std::optional<bool>(true));
    QCOMPARE(view.selItalic(), std::optional<bool>(true));
    QCOMPARE(view.selUnderline(), std::optional<bool>(false));
    // Setting a page leaves the caret at its start with nothing selected.
    view.setText(after);
    QCOMPARE(view.selStart(), 0);
    QCOMPARE(view.selLength(), 0);
}

void tst_textarea::newPageShowsFromItsStart()
{
    TextArea view;
    view.resize(200, 100);
    view.show();
    const QString page = QStringLiteral("a line\r\n").repeated(40);
    view.setText(page);
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    QVERIFY(view.verticalScrollBar()->value() > 0);
    view.setText(page + page);
    QCOMPARE(view.verticalScrollBar()->value(), 0);
}

void tst_textarea::emptyFontNameKeepsTheFont()
{
    TextArea view;
    view.setText(QStringLiteral("text"));
    view.selectWholeText();
    view.setSelFontName(QStringLiteral("Pagelark Serif"));
    view.setSelFontName(QString());
    view.setSelFontSize(0); // a size of 0, as an unread settings record holds, changes nothing
    QCOMPARE(view.selFontName(), std::optional<QString>(QStringLiteral("Pagelark Serif")));
    const std::optional<double> size = view.selFontSize();
    QVERIFY(size && *size > 0);
}

void tst_textarea::mixedSelectionHasNoValue()
{
    TextArea view;
    view.setText(QStringLiteral("bold plain\r\nnext"));
    view.setSelStart(0);
    view.setSelLength(4);
    view.setSelBold(true);
    view.setSelFontSize(30);

    view.selectWholeText();
    QCOMPARE(view.selBold(), std::nullopt);
    QCOMPARE(view.selFontSize(), std::nullopt);
    QVERIFY(view.selItalic().has_value()); // the same everywhere

    view.setSelStart(0);
    view.setSelLength(4);
    QCOMPARE(view.selBold(), std::optional<bool>(true));
    view.setSelStart(5);
    view.setSelLength(20);
    QCOMPARE(view.selBold(), std::optional<bool>(false));
}

void tst_textarea::selection()
{
    TextArea view;
    view.setText(QStringLiteral("one two\r\nthree"));
    QCOMPARE(view.selectedText(), QString());

    view.setSelStart(4);
    view.setSelLength(9);
    QCOMPARE(view.selectedText(), QStringLiteral("two\nthree"));

    // Out-of-range values are held to the text.
    view.setSelStart(-3);
    QCOMPARE(view.selStart(), 0);
    view.setSelLength(1000);
    QCOMPARE(view.selLength(), view.text().size());
    view.setSelStart(1000);
    QCOMPARE(view.selStart(), view.text().size());
    QCOMPARE(view.selectedText(), QString());

    view.selectWholeText();
    QCOMPARE(view.selectedText(), QStringLiteral("one two\nthree"));
    view.collapseSelection();
    QCOMPARE(view.selStart(), 0);
    QCOMPARE(view.selectedText(), QString());
}

void tst_textarea::lineEndsAreOneCharacter()
{
    TextArea view;
    view.setText(QStringLiteral("a\r\nb\rc\nd\r\n"));
    QCOMPARE(view.text(), QStringLiteral("a\nb\nc\nd\n"));
    view.setSelStart(6);
    view.setSelLength(1);
    QCOMPARE(view.selectedText(), QStringLiteral("d"));
}

void tst_textarea::find_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("position");

    QTest::newRow("any case") << QStringLiteral("cat") << 0 << 4;
    QTest::newRow("inside a word") << QStringLiteral("AT") << 0 << 5;
    QTest::newRow("from a later start") << QStringLiteral("cat") << 5 << 13;
    QTest::newRow("from the match itself") << QStringLiteral("cat") << 4 << 4;
    QTest::newRow("past the last match") << QStringLiteral("cat") << 14 << -1;
    QTest::newRow("miss") << QStringLiteral("dog") << 0 << -1;
    QTest::newRow("start past the end") << QStringLiteral("cat") << 1000 << -1;
    QTest::newRow("negative start") << QStringLiteral("the") << -5 << 0;
}

void tst_textarea::find()
{
    QFETCH(QString, what);
    QFETCH(int, start);
    QFETCH(int, position);

    TextArea view;
    view.setText(QStringLiteral("The Cat sat.\r\nCATALOGUE\r\n"));
    QCOMPARE(view.find(what, start), position);
    if (position >= 0) {
        QCOMPARE(view.selStart(), position);
        QCOMPARE(view.selectedText().toLower(), what.toLower());
    }
}

void tst_textarea::findMissLeavesTheSelection()
{
    TextArea view;
    view.setText(QStringLiteral("some text"));
    view.setSelStart(2);
    view.setSelLength(3);
    QCOMPARE(view.find(QStringLiteral("absent"), 0), -1);
    QCOMPARE(view.find(QString(), 0), -1);
    QCOMPARE(view.selStart(), 2);
    QCOMPARE(view.selectedText(), QStringLiteral("me "));
}

void tst_textarea::backColor()
{
    TextArea view;
    view.setBackColor(QColor(0xFF, 0xF0, 0xD0));
    view.setText(QStringLiteral("page"));
    QCOMPARE(view.backColor(), QColor(0xFF, 0xF0, 0xD0));
}

void tst_textarea::typingChangesNothing_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");

    QTest::newRow("letter") << int(Qt::Key_A) << Qt::KeyboardModifiers();
    QTest::newRow("Enter") << int(Qt::Key_Return) << Qt::KeyboardModifiers();
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << Qt::KeyboardModifiers();
    QTest::newRow("Delete") << int(Qt::Key_Delete) << Qt::KeyboardModifiers();
    QTest::newRow("paste") << int(Qt::Key_V) << Qt::KeyboardModifiers(Qt::ControlModifier);
    QTest::newRow("cut") << int(Qt::Key_X) << Qt::KeyboardModifiers(Qt::ControlModifier);
}

void tst_textarea::typingChangesNothing()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);

    TextArea view;
    view.show();
    view.setText(QStringLiteral("a page\r\n"));
    view.selectWholeText();
    QSignalSpy keys(&view, &TextArea::keyDown);
    QTest::keyClick(&view, Qt::Key(key), modifiers);
    QCOMPARE(view.text(), QStringLiteral("a page\n"));
    QCOMPARE(announcedKeys(keys), QList<int> {key});
}

void tst_textarea::arrowsMoveTheCaretAndAreAnnounced()
{
    TextArea view;
    view.show();
    view.setText(QStringLiteral("abc"));
    QSignalSpy keys(&view, &TextArea::keyDown);

    QTest::keyClick(&view, Qt::Key_Right);
    QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(view.selStart(), 1);
    QCOMPARE(view.selectedText(), QStringLiteral("b"));
    QTest::keyClick(&view, Qt::Key_Left);
    QCOMPARE(view.selLength(), 0);

    QCOMPARE(announcedKeys(keys),
             (QList<int> {int(Qt::Key_Right), int(Qt::Key_Right), int(Qt::Key_Left)}));
    const auto shifted = std::find_if(keys.begin(), keys.end(), [](const QList<QVariant> &args) {
        return args.at(0).toInt() == Qt::Key_Right
            && args.at(1).value<Qt::KeyboardModifiers>() == Qt::ShiftModifier;
    });
    QVERIFY(shifted != keys.end());
}

void tst_textarea::rightButtonIsAnnounced()
{
    TextArea view;
    view.resize(200, 100);
    view.show();
    view.setText(QStringLiteral("a page"));
    QSignalSpy presses(&view, &TextArea::mouseDown);
    QTest::mousePress(view.viewport(), Qt::RightButton, {}, QPoint(10, 10));
    QTest::mouseRelease(view.viewport(), Qt::RightButton, {}, QPoint(10, 10));
    QCOMPARE(presses.size(), 1);
    QVERIFY(presses.at(0).at(0).value<Qt::MouseButtons>() & Qt::RightButton);
    QCOMPARE(presses.at(0).at(2).toPoint(), QPoint(10, 10));
}

QTEST_MAIN(tst_textarea)
#include "tst_textarea.moc"

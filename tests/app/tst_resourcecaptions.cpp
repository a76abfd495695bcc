// The caption loader on real widgets: ids become texts, everything else stays as designed.
#include "app/Captions.h"
#include "app/StringTable.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QToolBar>

class tst_resourcecaptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void conversions_data();
    void conversions();
    void builtInTable();
    void window();
    void secondCallResetsTaggedCaptionsOnly();
};

void tst_resourcecaptions::conversions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("strict"); // -1: the conversion fails
    QTest::addColumn<int>("lenient");

    QTest::newRow("number") << QStringLiteral("1001") << 1001 << 1001;
    QTest::newRow("blanks") << QStringLiteral(" 1001 ") << 1001 << 1001;
    QTest::newRow("half to even up") << QStringLiteral("1001.5") << 1002 << 1002;
    QTest::newRow("half to even down") << QStringLiteral("1000.5") << 1000 << 1000;
    QTest::newRow("word") << QStringLiteral("abc") << -1 << 0;
    QTest::newRow("empty") << QString() << -1 << 0;
    QTest::newRow("number then words") << QStringLiteral("1017 and more") << -1 << 1017;
    QTest::newRow("separator") << QStringLiteral("-") << -1 << 0;
    QTest::newRow("too large") << QStringLiteral("40000") << -1 << -1;
}

void tst_resourcecaptions::conversions()
{
    QFETCH(QString, text);
    QFETCH(int, strict);
    QFETCH(int, lenient);
    QCOMPARE(StringTable::strictNumber(text).value_or(-1), strict);
    QCOMPARE(StringTable::leadingNumber(text).value_or(-1), lenient);
}

void tst_resourcecaptions::builtInTable()
{
    const StringTable &table = StringTable::builtIn();
    QCOMPARE(table.size(), 34);
    QCOMPARE(table.lookup(1016).value_or(QString()), QStringLiteral("&About "));
    QCOMPARE(table.lookup(1033).value_or(QString()), QStringLiteral("File System"));
    QVERIFY(!table.lookup(20).has_value());
}

void tst_resourcecaptions::window()
{
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Pagelark"));
    QMenu *file = window.menuBar()->addMenu(QStringLiteral("1000"));
    QAction *open = file->addAction(QStringLiteral("1001"));
    QAction *separator = file->addSeparator();
    QAction *literal = file->addAction(QStringLiteral("Keep me"));
    QToolBar *toolBar = window.addToolBar(QStringLiteral("bar"));
    QAction *find = toolBar->addAction(QStringLiteral("Find"));
    find->setToolTip(QStringLiteral("1020"));
    QAction *bold = toolBar->addAction(QStringLiteral("Bold"));
    bold->setToolTip(QStringLiteral("Bold"));

    auto *central = new QWidget(&window);
    window.setCentralWidget(central);
    auto *unknown = new QLabel(QStringLiteral("stays"), central);
    unknown->setProperty("Tag", QStringLiteral("999"));
    auto *wordy = new QLabel(QStringLiteral("stays too"), central);
    wordy->setProperty("Tag", QStringLiteral("title"));
    auto *button = new QPushButton(QStringLiteral("design"), central);
    button->setToolTip(QStringLiteral("1017 and more"));
    button->setProperty("Tag", QStringLiteral("1023"));
    auto *missing = new QPushButton(QStringLiteral("design"), central);
    missing->setToolTip(QStringLiteral("4000 ids"));
    auto *tabs = new QTabBar(central);
    tabs->addTab(QStringLiteral("design tab"));
    tabs->setTabData(0, QStringLiteral("1009"));
    tabs->setTabToolTip(0, QStringLiteral("Set Options"));
    QFont odd(QStringLiteral("Monospace"), 17);
    unknown->setFont(odd);

    LoadResourceCaptions(&window);

    QCOMPARE(window.windowTitle(), QStringLiteral("Pagelark")); // no Tag
    QCOMPARE(file->title(), QStringLiteral("&File"));
    QCOMPARE(open->text(), QStringLiteral("&Open..."));
    QVERIFY(separator->isSeparator());
    QCOMPARE(literal->text(), QStringLiteral("Keep me"));
    QCOMPARE(find->toolTip(), QStringLiteral("Find"));
    QCOMPARE(bold->toolTip(), QStringLiteral("Bold"));
    QCOMPARE(unknown->text(), QStringLiteral("stays"));
    QCOMPARE(wordy->text(), QStringLiteral("stays too"));
    QCOMPARE(button->text(), QStringLiteral("OK"));
    QCOMPARE(button->toolTip(), QStringLiteral("Open"));
    QCOMPARE(missing->toolTip(), QStringLiteral("4000 ids"));
    QCOMPARE(tabs->tabText(0), QStringLiteral("&View"));
    QCOMPARE(tabs->tabToolTip(0), QStringLiteral("Set Options"));
    QCOMPARE(unknown->font(), window.font());
}

void tst_resourcecaptions::secondCallResetsTaggedCaptionsOnly()
{
    QWidget window;
    window.setProperty("Tag", QStringLiteral("1021"));
    auto *title = new QLabel(&window);
    title->setProperty("Tag", QStringLiteral("1026"));
    auto *menuBar = new QMenuBar(&window);
    QMenu *help = menuBar->addMenu(QStringLiteral("1015"));

    LoadResourceCaptions(&window);
    QCOMPARE(window.windowTitle(), QStringLiteral("About Pagelark"));
    title->setText(QStringLiteral("Pagelark"));
    help->setTitle(QStringLiteral("Renamed"));
    LoadResourceCaptions(&window);
    QCOMPARE(title->text(), QStringLiteral("Application Title"));
    QCOMPARE(help->title(), QStringLiteral("Renamed"));
}

QTEST_MAIN(tst_resourcecaptions)
#include "tst_resourcecaptions.moc"

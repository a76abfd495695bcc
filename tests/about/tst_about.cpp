// The About box: reading registry values as text, finding and starting the system information
// tool, and the dialog as the user meets it.
#include "about/SysInfo.h"
#include "about/frmAbout.h"
#include "app/AppInfo.h"
#include "support/FakeDesktop.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kKey = QStringLiteral("SOFTWARE\\Test\\Key");
const QString kValue = QStringLiteral("Value");
const QString kUnavailable = QStringLiteral("System Information Is Unavailable At This Time");

// Value kinds the data rows ask for besides the registry's own types.
constexpr int kNoValue = -1;
constexpr int kNoKey = -2;

QByteArray dword(quint32 number)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char((number >> (8 * i)) & 0xFF);
    return bytes;
}

} // namespace

class tst_about : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void getKeyValue_data();
    void getKeyValue();

    void startSysInfo_data();
    void startSysInfo();

    void opensOnLinksTabWithCaptions();
    void enterAndEscClose_data();
    void enterAndEscClose();
    void linkOpensHomePage();

private:
    QPushButton *button(frmAbout &about, const char *name)
    {
        return about.findChild<QPushButton *>(QLatin1String(name));
    }
    QLabel *label(frmAbout &about, const char *name)
    {
        return about.findChild<QLabel *>(QLatin1String(name));
    }

    ScriptedPrompts m_prompts;
    FakeRegistry m_registry;
    FakeLauncher m_launcher;
};

void tst_about::getKeyValue_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("keyVal"); // on entry it is "before"

    const QByteArray full(1024, 'x');
    QTest::newRow("string") << int(Registry::StringValue) << QByteArray("/usr/bin/tool\0", 14)
                            << false << true << QStringLiteral("/usr/bin/tool");
    QTest::newRow("string cut at first NUL")
        << int(Registry::StringValue) << QByteArray("abc\0def\0", 8) << false << true
        << QStringLiteral("abc");
    QTest::newRow("string filling the buffer")
        << int(Registry::StringValue) << full << false << true << QString::fromLatin1(full);
    QTest::newRow("string too long for the buffer")
        << int(Registry::StringValue) << full + 'x' << false << false << QString();
    QTest::newRow("number with zero bytes") << int(Registry::DWordValue) << dword(0xAB001200)
                                            << false << true << QStringLiteral("&hAB001200");
    QTest::newRow("number zero") << int(Registry::DWordValue) << dword(0) << false << true
                                 << QStringLiteral("&h0");
    QTest::newRow("binary keeps the text") << int(Registry::BinaryValue) << QByteArray("zz\0", 3)
                                           << false << true << QStringLiteral("before");
    QTest::newRow("expandable string keeps the text")
        << int(Registry::ExpandStringValue) << QByteArray("%HOME%\0", 7) << false << true
        << QStringLiteral("before");
    QTest::newRow("missing value") << kNoValue << QByteArray() << false << false << QString();
    QTest::newRow("missing key") << kNoKey << QByteArray() << false << false << QString();
    QTest::newRow("read-only key refuses the open")
        << int(Registry::StringValue) << QByteArray("/usr/bin/tool\0", 14) << true << false
        << QString();
}

void tst_about::getKeyValue()
{
    QFETCH(int, type);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, readOnly);
    QFETCH(bool, result);
    QFETCH(QString, keyVal);

    FakeRegistry registry;
    if (type >= 0)
        registry.setValue(kKey, kValue, quint32(type), bytes);
    else if (type == kNoValue)
        registry.setValue(kKey, QStringLiteral("Other"), Registry::StringValue, "x\0");
    if (readOnly)
        registry.setReadOnly(kKey);

    QString value = QStringLiteral("before");
    QCOMPARE(SysInfo::GetKeyValue(registry, Registry::LocalMachine, kKey, kValue, value), result);
    QCOMPARE(value, keyVal);
    // The key is closed once, whether or not it opened (a failed open closes handle 0).
    QCOMPARE(registry.opened, QStringList {kKey});
    QCOMPARE(registry.closed.size(), 1);
    const bool opened = type != kNoKey && !readOnly;
    QCOMPARE(registry.closed.first() != 0, opened);
}

void tst_about::startSysInfo_data()
{
    QTest::addColumn<QString>("first"); // the tool's path; empty: no such key
    QTest::addColumn<int>("firstType");
    QTest::addColumn<bool>("firstReadOnly");
    QTest::addColumn<QString>("second"); // the tool's folder, %1 the test folder; empty: none
    QTest::addColumn<int>("tool"); // in the test folder: 0 nothing, 1 the file, 2 a folder
    QTest::addColumn<bool>("failStart");
    QTest::addColumn<QStringList>("starts"); // %1 the test folder
    QTest::addColumn<bool>("unavailable");

    const int str = Registry::StringValue;
    const QString tool = QStringLiteral("%1/MSINFO32.EXE");
    QTest::newRow("both entries missing")
        << QString() << str << false << QString() << 0 << false << QStringList() << true;
    QTest::newRow("second entry, tool in its folder")
        << QString() << str << false << QStringLiteral("%1") << 1 << false << QStringList {tool}
        << false;
    QTest::newRow("second entry ending in a separator")
        << QString() << str << false << QStringLiteral("%1/") << 1 << false << QStringList {tool}
        << false;
    QTest::newRow("second entry, no tool in its folder")
        << QString() << str << false << QStringLiteral("%1") << 0 << false << QStringList() << true;
    QTest::newRow("second entry, tool's name is a folder")
        << QString() << str << false << QStringLiteral("%1") << 2 << false << QStringList() << true;
    QTest::newRow("second entry, start fails") << QString() << str << false << QStringLiteral("%1")
                                               << 1 << true << QStringList {tool} << true;
    QTest::newRow("first entry started unchanged, untested")
        << QStringLiteral("/no/such folder/info tool") << str << false << QStringLiteral("%1") << 1
        << false << QStringList {QStringLiteral("/no/such folder/info tool")} << false;
    QTest::newRow("first entry fails to start: no second try")
        << QStringLiteral("/no/such/tool") << str << false << QStringLiteral("%1") << 1 << true
        << QStringList {QStringLiteral("/no/such/tool")} << true;
    QTest::newRow("first entry of another type starts an empty path")
        << QStringLiteral("ignored") << int(Registry::BinaryValue) << false << QString() << 0
        << true << QStringList {QString()} << true;
    QTest::newRow("first key readable only") << QStringLiteral("/usr/bin/tool") << str << true
                                             << QString() << 0 << false << QStringList() << true;
}

void tst_about::startSysInfo()
{
    QFETCH(QString, first);
    QFETCH(int, firstType);
    QFETCH(bool, firstReadOnly);
    QFETCH(QString, second);
    QFETCH(int, tool);
    QFETCH(bool, failStart);
    QFETCH(QStringList, starts);
    QFETCH(bool, unavailable);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString toolPath = folder.path() + QStringLiteral("/MSINFO32.EXE");
    if (tool == 1)
        TestFiles::write(toolPath, "#!/bin/sh\n");
    else if (tool == 2)
        QVERIFY(QDir().mkpath(toolPath));

    FakeRegistry registry;
    if (!first.isEmpty()) {
        registry.setValue(SysInfo::pathKey(), SysInfo::pathValue(), quint32(firstType),
                          first.toLocal8Bit() + '\0');
        if (firstReadOnly)
            registry.setReadOnly(SysInfo::pathKey());
    }
    if (!second.isEmpty())
        registry.setString(
            SysInfo::locationKey(), SysInfo::locationValue(),
            QString(second).replace(QStringLiteral("%1"), folder.path()).toLocal8Bit());
    ScriptedPrompts prompts;
    FakeLauncher launcher;
    launcher.failStart = failStart;

    frmAbout about(prompts, registry, launcher, nullptr);
    about.show();
    button(about, "cmdSysInfo")->click();

    QStringList started;
    for (const FakeLauncher::Start &start : std::as_const(launcher.starts)) {
        QVERIFY(start.arguments.isEmpty());
        started << start.program;
    }
    starts.replaceInStrings(QStringLiteral("%1"), folder.path());
    QCOMPARE(started, starts);
    QCOMPARE(prompts.messages(), unavailable ? QStringList {kUnavailable} : QStringList());
    if (unavailable) {
        const ScriptedPrompts::Call &call = prompts.calls.first();
        QCOMPARE(call.buttons, Prompts::Buttons::Ok);
        QCOMPARE(call.icon, Prompts::Icon::None);
        QVERIFY(call.title.isEmpty()); // the program's title
    }
    QVERIFY(about.isVisible()); // the message leaves the dialog open
    QCOMPARE(registry.opened.size(), registry.closed.size());
}

void tst_about::opensOnLinksTabWithCaptions()
{
    frmAbout about(m_prompts, m_registry, m_launcher, nullptr);
    auto *tabs = about.findChild<QTabWidget *>(QStringLiteral("SSTab1"));
    QVERIFY(tabs);
    QCOMPARE(tabs->tabText(tabs->currentIndex()), QStringLiteral("Links"));
    QCOMPARE(about.windowTitle(), QStringLiteral("About Pagelark"));
    QCOMPARE(button(about, "cmdOK")->text(), QStringLiteral("OK"));
    QCOMPARE(button(about, "cmdSysInfo")->text(), QStringLiteral("&System Info..."));
    QCOMPARE(label(about, "lblDisclaimer")->text(), QStringLiteral("Warning: ..."));
    QCOMPARE(label(about, "lblTitle")->text(), AppInfo::title());
    // The version is the project's, as the build states it.
    QCOMPARE(label(about, "lblVersion")->text(), QStringLiteral("Version ") + AppInfo::version());
    QCOMPARE(label(about, "lblLink")->text(), frmAbout::homePage());
    QVERIFY(!label(about, "lblDescription")->text().isEmpty());
    QCOMPARE(label(about, "lblCredit")->text().count(u'\n'), 2);
}

void tst_about::enterAndEscClose_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Esc") << int(Qt::Key_Escape);
}

void tst_about::enterAndEscClose()
{
    QFETCH(int, key);
    frmAbout about(m_prompts, m_registry, m_launcher, nullptr);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::keyClick(&about, Qt::Key(key));
    QTRY_VERIFY(!about.isVisible());
    QCOMPARE(about.result(), int(QDialog::Accepted)); // both press OK
}

void tst_about::linkOpensHomePage()
{
    m_launcher.urls.clear();
    frmAbout about(m_prompts, m_registry, m_launcher, nullptr);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QLabel *link = label(about, "lblLink");
    QVERIFY(link->isVisible());
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(m_launcher.urls, QList<QUrl> {QUrl(frmAbout::homePage())});
    // A shell that opens nothing is not reported.
    m_launcher.failOpen = true;
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(m_launcher.urls.size(), 2);
    QVERIFY(m_prompts.messages().isEmpty());
}

QTEST_MAIN(tst_about)
#include "tst_about.moc"

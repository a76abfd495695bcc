// The desktop's registry and launcher, on programs of the test's own found through PATH.
#include "about/SysInfo.h"
#include "about/frmAbout.h"
#include "platform/Launcher.h"
#include "platform/Registry.h"
#include "support/FakeDesktop.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class tst_desktop : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void registryAnswersSystemInformationKey();
    void registryWithoutProgramHasNoKey();
    void registryPathTooLongForBuffer();
    void aboutStartsProgramFromPath();

    void textEditorPickedFromPath_data();
    void textEditorPickedFromPath();
    void startPassesEachArgumentWhole();
    void startOfMissingProgramFails();

    void helpPageCandidates();

private:
    // An executable shell script named name in folder.
    QString program(const QString &folder, const QString &name,
                    const QByteArray &body = QByteArray("exit 0\n"));
    // PATH names folder alone.
    void pathTo(const QString &folder) { qputenv("PATH", QFile::encodeName(folder)); }

    QByteArray m_path;
    QTemporaryDir m_root;
    QString m_bin;
};

void tst_desktop::initTestCase()
{
    m_path = qgetenv("PATH");
    QVERIFY(m_root.isValid());
}

void tst_desktop::init()
{
    m_bin = m_root.path() + QStringLiteral("/bin");
    QDir(m_bin).removeRecursively();
    QVERIFY(QDir().mkpath(m_bin));
    pathTo(m_bin);
    qunsetenv("PAGELARK_HELP_DIR");
}

void tst_desktop::cleanupTestCase()
{
    qputenv("PATH", m_path);
    qunsetenv("PAGELARK_HELP_DIR");
}

QString tst_desktop::program(const QString &folder, const QString &name, const QByteArray &body)
{
    const QString path = TestFiles::write(folder + u'/' + name, "#!/bin/sh\n" + body);
    QFile::setPermissions(
        path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
    return path;
}

void tst_desktop::registryAnswersSystemInformationKey()
{
    program(m_bin, QStringLiteral("kinfocenter"));
    const QString first = program(m_bin, QStringLiteral("hardinfo"));
    DesktopRegistry registry;
    QString value;
    // The open asks for write rights too; the desktop's key does not refuse them.
    QVERIFY(SysInfo::GetKeyValue(registry, Registry::LocalMachine, SysInfo::pathKey(),
                                 SysInfo::pathValue(), value));
    QCOMPARE(value, first); // the first of the list found on PATH
    QVERIFY(!SysInfo::GetKeyValue(registry, Registry::LocalMachine, SysInfo::locationKey(),
                                  SysInfo::locationValue(), value));
    QVERIFY(value.isEmpty());
    QVERIFY(!SysInfo::GetKeyValue(registry, Registry::LocalMachine, SysInfo::pathKey(),
                                  QStringLiteral("Other"), value));
}

void tst_desktop::registryWithoutProgramHasNoKey()
{
    DesktopRegistry registry;
    Registry::Key key = 99;
    QCOMPARE(registry.openKey(Registry::LocalMachine, SysInfo::pathKey(), SysInfo::KeyAccess, key),
             long(Registry::FileNotFound));
    QCOMPARE(key, Registry::Key(0));
    // A program installed meanwhile is found at the next lookup.
    program(m_bin, QStringLiteral("lxtask"));
    QString value;
    QVERIFY(SysInfo::GetKeyValue(registry, Registry::LocalMachine, SysInfo::pathKey(),
                                 SysInfo::pathValue(), value));
    QCOMPARE(QFileInfo(value).fileName(), QStringLiteral("lxtask"));
}

void tst_desktop::registryPathTooLongForBuffer()
{
    QString folder = m_root.path();
    while (folder.size() < int(SysInfo::ValueBufferSize))
        folder += QStringLiteral("/") + QString(200, u'f');
    QVERIFY(QDir().mkpath(folder));
    program(folder, QStringLiteral("hardinfo"));
    pathTo(folder);
    DesktopRegistry registry;
    QString value = QStringLiteral("before");
    QVERIFY(!SysInfo::GetKeyValue(registry, Registry::LocalMachine, SysInfo::pathKey(),
                                  SysInfo::pathValue(), value));
    QVERIFY(value.isEmpty());
}

void tst_desktop::aboutStartsProgramFromPath()
{
    const QString tool = program(m_bin, QStringLiteral("gnome-system-monitor"));
    DesktopRegistry registry;
    ScriptedPrompts prompts;
    FakeLauncher launcher;
    frmAbout about(prompts, registry, launcher, nullptr);
    about.findChild<QPushButton *>(QStringLiteral("cmdSysInfo"))->click();
    QCOMPARE(launcher.starts.size(), 1);
    QCOMPARE(launcher.starts.first().program, tool);
    QVERIFY(prompts.messages().isEmpty());

    // Without such a program, and with the real launcher, the user is told once.
    QFile::remove(tool);
    DesktopLauncher desktop;
    frmAbout bare(prompts, registry, desktop, nullptr);
    bare.findChild<QPushButton *>(QStringLiteral("cmdSysInfo"))->click();
    QCOMPARE(prompts.messages(),
             QStringList {QStringLiteral("System Information Is Unavailable At This Time")});
}

void tst_desktop::textEditorPickedFromPath_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("none") << QStringList() << QString();
    QTest::newRow("one") << QStringList {QStringLiteral("mousepad")} << QStringLiteral("mousepad");
    QTest::newRow("first of the list wins")
        << QStringList {QStringLiteral("kate"), QStringLiteral("gedit")} << QStringLiteral("gedit");
    // The desktop's opener could hand the book back to this reader.
    QTest::newRow("opener is no editor") << QStringList {QStringLiteral("xdg-open")} << QString();
}

void tst_desktop::textEditorPickedFromPath()
{
    QFETCH(QStringList, installed);
    QFETCH(QString, chosen);
    for (const QString &name : std::as_const(installed))
        program(m_bin, name);
    const QString editor = DesktopLauncher().textEditor();
    QCOMPARE(editor, chosen.isEmpty() ? QString() : m_bin + u'/' + chosen);
}

void tst_desktop::startPassesEachArgumentWhole()
{
    const QString folder = m_root.path() + QStringLiteral("/a folder 'with' blanks");
    const QString out = m_root.path() + QStringLiteral("/argv.txt");
    QFile::remove(out);
    // Writes its arguments one a line, then a last line, so that a half-written file is not
    // taken for the whole.
    const QString script = program(folder, QStringLiteral("show args"),
                                   "PATH=/usr/bin:/bin; out=\"$1\"; shift; for a in \"$@\"; do "
                                   "printf '%s\\n' \"$a\"; done > \"$out.part\""
                                   "; echo end >> \"$out.part\"; mv \"$out.part\" \"$out\"\n");
    const QString book = QStringLiteral("/books/My \"best\" book; $(rm -rf x) & more.txt");
    QString why;
    QVERIFY2(DesktopLauncher().startProgram(script, {out, book}, &why), qPrintable(why));
    QTRY_VERIFY(QFileInfo::exists(out));
    QCOMPARE(TestFiles::read(out), book.toUtf8() + "\nend\n");
}

void tst_desktop::startOfMissingProgramFails()
{
    DesktopLauncher launcher;
    QString why;
    QVERIFY(!launcher.startProgram(m_bin + QStringLiteral("/no such program"), {}, &why));
    QVERIFY(!why.isEmpty());
    why.clear();
    QVERIFY(!launcher.startProgram(QString(), {}, &why));
    QVERIFY(!why.isEmpty());
}

void tst_desktop::helpPageCandidates()
{
    const QString page = QStringLiteral("/help/index.html");
    const QStringList candidates = HelpPageCandidates();
    QVERIFY(candidates.size() >= 2);
    QCOMPARE(candidates.first(), QCoreApplication::applicationDirPath() + page);
    // A build that was never installed shows the page of its source tree.
    QCOMPARE(candidates.last(), QStringLiteral(PAGELARK_SOURCE_DIR "/resources") + page);
    QVERIFY(QFileInfo(HelpPagePath()).isFile());
    QVERIFY(candidates.contains(HelpPagePath()));

    // A folder named by PAGELARK_HELP_DIR is the one place looked in, page or no page.
    qputenv("PAGELARK_HELP_DIR", QFile::encodeName(m_root.path()));
    QCOMPARE(HelpPageCandidates(), QStringList {m_root.path() + QStringLiteral("/index.html")});
    QCOMPARE(HelpPagePath(), m_root.path() + QStringLiteral("/index.html"));
}

QTEST_MAIN(tst_desktop)
#include "tst_desktop.moc"

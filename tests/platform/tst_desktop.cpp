// The desktop layer on programs of the test's own found through PATH: the system information
// tool the registry names, the text editor, a program's arguments; and captions fitted to
// their controls.
#include "about/SysInfo.h"
#include "platform/FitText.h"
#include "platform/Launcher.h"
#include "platform/Prompts.h"
#include "platform/Registry.h"
#include "support/ReaderFixture.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_desktop : public QObject
{
    Q_OBJECT

    // An executable script in the one folder on PATH.
    QString install(const QString &name, const QByteArray &script = "#!/bin/sh\n")
    {
        const QString path = TestFiles::write(m_bin + u'/' + name, script);
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
        return path;
    }

    QByteArray m_path;
    QTemporaryDir m_root;
    QString m_bin;

private Q_SLOTS:
    void initTestCase() { m_path = qgetenv("PATH"); }
    void cleanupTestCase() { qputenv("PATH", m_path); }
    void init()
    {
        m_bin = m_root.filePath(u"bin"_s);
        QDir(m_bin).removeRecursively();
        QVERIFY(QDir().mkpath(m_bin));
        qputenv("PATH", QFile::encodeName(m_bin));
    }

    // The registry names the first system information tool found, the launcher the first editor.
    void programsFoundOnPath_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("tool"); // empty: unavailable
        QTest::addColumn<QString>("editor");
        QTest::newRow("first of each list wins")
            << QStringList {u"kinfocenter"_s, u"hardinfo"_s, u"kate"_s, u"gedit"_s} << u"hardinfo"_s
            << u"gedit"_s;
        // The desktop's opener could hand the book back to this reader.
        QTest::newRow("the opener is no editor")
            << QStringList {u"xdg-open"_s} << QString() << QString();
    }

    void programsFoundOnPath()
    {
        QFETCH(QStringList, installed);
        QFETCH(QString, tool);
        QFETCH(QString, editor);
        for (const QString &name : std::as_const(installed))
            install(name);
        const auto onPath = [this](const QString &name) {
            return name.isEmpty() ? QString() : m_bin + u'/' + name;
        };
        QCOMPARE(DesktopLauncher().textEditor(), onPath(editor));
        DesktopRegistry registry;
        QString named;
        QCOMPARE(SysInfo::GetKeyValue(registry, Registry::LocalMachine, SysInfo::pathKey(),
                                      SysInfo::pathValue(), named),
                 !tool.isEmpty());
        QCOMPARE(named, onPath(tool));
    }

    // A path with blanks, quotes and shell characters reaches the program as one argument. The
    // program renames its output into place last, so that a half-written file is never read.
    void argumentsStayWhole()
    {
        const QString out = m_root.filePath(u"argv.txt"_s);
        const QString script = install(u"show args"_s,
                                       "#!/bin/sh\nout=\"$1\"; shift; for a in \"$@\"; do "
                                       "printf '%s\\n' \"$a\"; done > \"$out.part\"; "
                                       "/bin/mv \"$out.part\" \"$out\"\n");
        const QString book = u"/books/My \"best\" book; $(rm -rf x) & more.txt"_s;
        QString why;
        QVERIFY2(DesktopLauncher().startProgram(script, {out, book}, &why), qPrintable(why));
        QTRY_VERIFY(QFile::exists(out));
        QCOMPARE(TestFiles::read(out), book.toUtf8() + '\n');
        QVERIFY(!DesktopLauncher().startProgram(m_bin + u"/no such program"_s, {}, &why));
    }

    // Once a message box closes, the window it was shown over is active again, so that its
    // shortcuts work, also where no window manager gives it back.
    void windowActiveAfterAMessage()
    {
        QWidget window;
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        ReaderFixture::answerModal([](QWidget *dialog) { dialog->close(); });
        QtPrompts().tell(&window, u"NO Such Page"_s);
        QTRY_COMPARE(QApplication::activeWindow(), &window);
    }

    // A caption that does not fit its control shrinks until it fits, but not below 6.5 points.
    void captionsFit()
    {
        QWidget window;
        window.setFont(QFont(window.font().family(), 10));
        auto *check = new QCheckBox(u"Load Last Book At StartUp"_s, &window);
        check->resize(check->sizeHint().width() * 9 / 10, check->sizeHint().height());
        auto *hopeless = new QLabel(check->text(), &window);
        hopeless->resize(10, 10);
        FitText::shrinkToFit(&window);
        QVERIFY(check->font().pointSizeF() < 10 && check->sizeHint().width() <= check->width());
        QCOMPARE(hopeless->font().pointSizeF(), 6.5);
    }
};

PAGELARK_TEST(tst_desktop);
#include "tst_desktop.moc"

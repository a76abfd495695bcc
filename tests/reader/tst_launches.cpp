// The reader's launches through the real window: the book to the text editor, the help page to
// the desktop's handler, and the About box.
#include "about/frmAbout.h"
#include "support/FakeDesktop.h"
#include "support/ReaderFixture.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class tst_launches : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void openWithPassesBookAsOneArgument();
    void openWithReports_data();
    void openWithReports();

    void helpOpensPageFromBuildTree();
    void helpOpensPageFileUrl();
    void helpReports_data();
    void helpReports();

    void aboutOpensModally();

private:
    QString openBlankBook();

    ReaderFixture m_fx;
    FakeLauncher m_launcher;
    FakeRegistry m_registry;
};

void tst_launches::init()
{
    m_fx.init();
    m_launcher = FakeLauncher();
    m_launcher.editor = QStringLiteral("/usr/bin/some editor");
    m_registry = FakeRegistry();
    qunsetenv("PAGELARK_HELP_DIR");
    m_fx.start()->setDesktop(&m_launcher, &m_registry);
}

void tst_launches::cleanup()
{
    m_fx.close();
    qunsetenv("PAGELARK_HELP_DIR");
}

// A book whose path has blanks, quotes and shell characters, opened by File > Open.
QString tst_launches::openBlankBook()
{
    const QString path = m_fx.writeBook(QStringLiteral("My 'best' \"book\" & $(more).txt"), 40);
    m_fx.prompts.files.enqueue(path);
    m_fx.trigger(QStringLiteral("mnuFileOpen"));
    return path;
}

void tst_launches::openWithPassesBookAsOneArgument()
{
    QVERIFY(!m_fx.action(QStringLiteral("menuOpenWith"))->isEnabled());
    const QString book = openBlankBook();
    QVERIFY(m_fx.action(QStringLiteral("menuOpenWith"))->isEnabled());
    m_fx.trigger(QStringLiteral("menuOpenWith"));
    QCOMPARE(m_launcher.starts.size(), 1);
    QCOMPARE(m_launcher.starts.first().program, m_launcher.editor);
    QCOMPARE(m_launcher.starts.first().arguments, QStringList {book});
    QVERIFY(m_fx.messages().isEmpty());
}

void tst_launches::openWithReports_data()
{
    QTest::addColumn<bool>("editor");
    QTest::addColumn<int>("starts");
    QTest::addColumn<QString>("message"); // how the message starts
    QTest::newRow("no editor") << false << 0
                               << QStringLiteral("No text editor was found to open the book");
    QTest::newRow("editor fails to start")
        << true << 1 << QStringLiteral("The text editor could not be started");
}

void tst_launches::openWithReports()
{
    QFETCH(bool, editor);
    QFETCH(int, starts);
    QFETCH(QString, message);
    openBlankBook();
    if (!editor)
        m_launcher.editor.clear();
    m_launcher.failStart = true;
    m_fx.trigger(QStringLiteral("menuOpenWith"));
    QCOMPARE(m_launcher.starts.size(), starts);
    QCOMPARE(m_fx.messages().size(), 1);
    QVERIFY2(m_fx.messages().first().startsWith(message), qPrintable(m_fx.messages().first()));
}

void tst_launches::helpOpensPageFromBuildTree()
{
    m_fx.trigger(QStringLiteral("mnuHelpTopic"));
    QCOMPARE(m_launcher.urls.size(), 1);
    const QUrl url = m_launcher.urls.first();
    QVERIFY(url.isLocalFile());
    QVERIFY(url.toLocalFile().endsWith(QStringLiteral("/help/index.html")));
    QVERIFY(TestFiles::read(url.toLocalFile()).contains("<title>Pagelark Help</title>"));
    QVERIFY(m_fx.messages().isEmpty());
}

void tst_launches::helpOpensPageFileUrl()
{
    QTemporaryDir folder;
    const QString page =
        TestFiles::write(folder.path() + QStringLiteral("/my help/index.html"), "<p>help</p>");
    qputenv("PAGELARK_HELP_DIR", QFile::encodeName(folder.path() + QStringLiteral("/my help")));
    QTest::keyClick(m_fx.window(), Qt::Key_F1);
    QCOMPARE(m_launcher.urls, QList<QUrl> {QUrl::fromLocalFile(page)});
    QVERIFY(m_fx.messages().isEmpty());
}

void tst_launches::helpReports_data()
{
    QTest::addColumn<bool>("page");
    QTest::addColumn<int>("opened");
    QTest::addColumn<QString>("message");
    QTest::newRow("page missing") << false << 0 << QStringLiteral("The help page was not found");
    QTest::newRow("no handler") << true << 1
                                << QStringLiteral("No program was found to show the help page");
}

void tst_launches::helpReports()
{
    QFETCH(bool, page);
    QFETCH(int, opened);
    QFETCH(QString, message);
    QTemporaryDir folder;
    if (page)
        TestFiles::write(folder.path() + QStringLiteral("/index.html"), "<p>help</p>");
    qputenv("PAGELARK_HELP_DIR", QFile::encodeName(folder.path()));
    m_launcher.failOpen = true;
    m_fx.trigger(QStringLiteral("mnuHelpTopic"));
    QCOMPARE(m_launcher.urls.size(), opened);
    QCOMPARE(m_fx.messages().size(), 1);
    QVERIFY2(m_fx.messages().first().startsWith(message), qPrintable(m_fx.messages().first()));
    QVERIFY(m_fx.messages().first().contains(folder.path() + QStringLiteral("/index.html")));
}

void tst_launches::aboutOpensModally()
{
    QPointer<QWidget> seen;
    bool modal = false;
    QWidget *owner = nullptr;
    bool linkUsesFakes = false;
    // Runs inside the dialog's own event loop, as the user would.
    QTimer closer;
    closer.setInterval(0);
    connect(&closer, &QTimer::timeout, this, [&] {
        auto *about = qobject_cast<frmAbout *>(QApplication::activeModalWidget());
        if (!about)
            return;
        closer.stop();
        seen = about;
        modal = about->isModal();
        owner = about->parentWidget();
        about->lblLink_Click();
        linkUsesFakes = m_launcher.urls == QList<QUrl> {QUrl(frmAbout::homePage())};
        about->findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
    });
    closer.start();
    m_fx.trigger(QStringLiteral("mnuHelpAbout"));
    QVERIFY(!closer.isActive());
    QVERIFY(modal);
    QCOMPARE(owner, m_fx.window());
    QVERIFY(linkUsesFakes);
    QVERIFY(seen.isNull()); // the dialog lives only while it is shown
    QVERIFY(m_fx.messages().isEmpty());
}

QTEST_MAIN(tst_launches)
#include "tst_launches.moc"

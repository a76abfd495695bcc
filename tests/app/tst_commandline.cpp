// Books from outside the window: the command line of the real program, and files dropped onto
// the reader window. Both open a book as File > Open does and leave LastBook alone.
#include "support/ReaderFixture.h"
#include "support/TestFiles.h"

#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QTest>
#include <QUrl>

class tst_commandline : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_reader.init(); }
    void cleanup() { m_reader.close(); }

    void versionAndHelpNeedNoDisplay();
    void bookFromOutsideKeepsLastBook_data();
    void bookFromOutsideKeepsLastBook();
    void droppedAddressIsRefused();

private:
    bool drop(const QList<QUrl> &urls);

    ReaderFixture m_reader;
};

void tst_commandline::versionAndHelpNeedNoDisplay()
{
    for (const QString &option : {QStringLiteral("--version"), QStringLiteral("--help")}) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(PAGELARK_PROGRAM), {option});
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
        if (option == QLatin1String("--version"))
            QCOMPARE(out.trimmed(), QStringLiteral("Pagelark 1.0.0"));
        else
            QVERIFY2(out.contains(QStringLiteral("[BOOK]")), qPrintable(out));
    }
}

bool tst_commandline::drop(const QList<QUrl> &urls)
{
    QMimeData mime;
    mime.setUrls(urls);
    const QPoint at = m_reader.window()->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_reader.window(), &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent dropped(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_reader.window(), &dropped);
    return dropped.isAccepted();
}

void tst_commandline::bookFromOutsideKeepsLastBook_data()
{
    QTest::addColumn<bool>("dropped");
    QTest::newRow("command line") << false;
    QTest::newRow("dropped") << true;
}

void tst_commandline::bookFromOutsideKeepsLastBook()
{
    QFETCH(bool, dropped);
    const QString book = m_reader.writeBook(QStringLiteral("Sea Voyage.txt"), 40);
    const QString gone = m_reader.booksFolder() + QStringLiteral("/gone.txt");
    frmMain *window = m_reader.start();
    m_reader.data.LastBook = QStringLiteral("/books/before.txt");

    const auto open = [&](const QString &path) {
        if (dropped)
            QVERIFY(drop({QUrl::fromLocalFile(path)}));
        else
            window->openBook(path);
    };
    open(book);
    QVERIFY(window->state().bookOpened());
    QCOMPARE(m_reader.find<QLabel>(QStringLiteral("lblTitle"))->text(),
             QStringLiteral("Sea Voyage"));
    QCOMPARE(m_reader.find<QLineEdit>(QStringLiteral("PageTotal"))->text(), QStringLiteral("3"));
    QCOMPARE(m_reader.data.LastBook, QStringLiteral("/books/before.txt"));
    QVERIFY(m_reader.messages().isEmpty());

    // A book that cannot be opened gets the loader's message, as from File > Open.
    open(gone);
    QCOMPARE(m_reader.messages(), QStringList {QStringLiteral("Previous open file not exist")});
    QCOMPARE(m_reader.data.LastBook, QStringLiteral("/books/before.txt"));
}

void tst_commandline::droppedAddressIsRefused()
{
    m_reader.start();
    QVERIFY(!drop({QUrl(QStringLiteral("https://example.org/book.txt"))}));
    QVERIFY(!drop({}));
    QVERIFY(!m_reader.window()->state().bookOpened());
    QVERIFY(m_reader.messages().isEmpty());
}

QTEST_MAIN(tst_commandline)
#include "tst_commandline.moc"

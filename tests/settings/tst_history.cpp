// Where the reader left each book and the books opened last, kept in a store of their own; and
// where the window reopens on the screens present.
#include "settings/BookHistory.h"
#include "settings/WindowPlacement.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_history : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    // Every name comes back as it was, a book is known by any path to it, and only the newest
    // MaxBooks places and MaxRecent books are kept.
    void placesComeBackNewestFirst()
    {
        const QString odd =
            TestFiles::write(m_dir.filePath(u"tab\there %25 \u00E9\nline.txt"_s), "x");
        const QString book = TestFiles::write(m_dir.filePath(u"book.txt"_s), "x");
        QVERIFY(QFile::link(book, m_dir.filePath(u"link.txt"_s)));
        BookHistory history;
        history.load(m_dir.filePath(u"history"_s));
        for (int i = 0; i < BookHistory::MaxBooks + 2; ++i) {
            history.remember({m_dir.filePath(u"gone %1.txt"_s.arg(i)), i, i, {}});
            history.addRecent(m_dir.filePath(u"gone %1.txt"_s.arg(i)));
        }
        history.remember({odd, 7, 42, u"windows-1251"_s});
        history.remember({m_dir.filePath(u"link.txt"_s), 1, 15, {}});
        history.addRecent(odd);
        history.addRecent(m_dir.filePath(u"link.txt"_s));
        history.refused(m_dir.filePath(u"gone %1.txt"_s.arg(BookHistory::MaxBooks + 1)));
        QVERIFY(history.save());

        BookHistory read;
        read.load(m_dir.filePath(u"history"_s));
        QCOMPARE(
            read.recent().mid(0, 3),
            (QStringList {book, odd, m_dir.filePath(u"gone %1.txt"_s.arg(BookHistory::MaxBooks))}));
        QCOMPARE(read.recent().size(), BookHistory::MaxRecent - 1);
        QCOMPARE(read.place(book)->line, 15);
        const std::optional<BookHistory::Place> known = read.place(odd);
        QVERIFY(known && known->size == 7 && known->line == 42);
        QCOMPARE(known->encoding, u"windows-1251"_s);
        QVERIFY(!read.place(m_dir.filePath(u"gone 3.txt"_s)));
        QVERIFY(read.place(m_dir.filePath(u"gone 4.txt"_s)));
    }

    void damagedStore_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("known"); // of a.txt, b.txt, c.txt

        const QByteArray head = "Pagelark books 1\nplace\t1\t10\t\t/a.txt\n";
        const auto row = [&](const char *name, const QByteArray &tail, const QStringList &known) {
            QTest::newRow(name) << QByteArray(head + tail) << known;
        };
        row("whole", "place\t1\t20\t\t/b.txt\n", {u"a"_s, u"b"_s});
        row("cut short", "place\t1\t2", {u"a"_s});
        row("a field not a number", "place\tx\t20\t\t/b.txt\nplace\t1\t30\t\t/c.txt\n", {u"a"_s});
        row("a line of another kind", "garbage\nplace\t1\t30\t\t/c.txt\n", {u"a"_s});
        QTest::newRow("another format")
            << QByteArray("Pagelark books 2\nplace\t1\t10\t\t/a.txt\n") << QStringList();
        QTest::newRow("binary") << QByteArray("\0\xFF\x01", 3) << QStringList();
    }

    // A damaged store gives what it holds whole up to the damage, and nothing else.
    void damagedStore()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, known);
        const QString file = TestFiles::write(m_dir.filePath(u"damaged"_s), bytes);
        BookHistory history;
        history.load(file);
        QStringList found;
        for (const QString &name : {u"a"_s, u"b"_s, u"c"_s}) {
            if (history.place(u"/"_s + name + u".txt"_s))
                found << name;
        }
        QCOMPARE(found, known);
    }

    void placement_data()
    {
        QTest::addColumn<QRect>("wanted");
        QTest::addColumn<QRect>("placed");
        QTest::newRow("over the right edge")
            << QRect(700, 100, 600, 400) << QRect(400, 100, 600, 400);
        QTest::newRow("above the top") << QRect(100, -50, 600, 400) << QRect(100, 0, 600, 400);
        QTest::newRow("larger than the screen")
            << QRect(-20, -20, 1500, 1000) << QRect(0, 0, 1000, 800);
        QTest::newRow("mostly on the second screen")
            << QRect(900, 100, 600, 400) << QRect(1000, 100, 600, 400);
        QTest::newRow("on a screen no longer there")
            << QRect(3000, 100, 600, 400) << QRect(400, 100, 600, 400);
    }

    // Screens: 1000 x 800 at the left, 1600 x 900 beside it.
    void placement()
    {
        QFETCH(QRect, wanted);
        QFETCH(QRect, placed);
        QCOMPARE(WindowPlacement::fit(wanted, {QRect(0, 0, 1000, 800), QRect(1000, 0, 1600, 900)}),
                 placed);
    }
};

PAGELARK_TEST(tst_history);
#include "tst_history.moc"

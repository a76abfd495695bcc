// Where the reader left each book and the books opened last, kept in a store of their own; and
// where the window reopens on the screens present.
#include "settings/BookHistory.h"
#include "settings/WindowPlacement.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QFile>
#include <QFileInfo>
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
        BookHistory::Place marked {odd, 7, 42, u"windows-1251"_s};
        marked.bookmarks = {{{3, u"\tA\n line %25"_s}, u"named\tso"_s},
                            {{9, QString()}, QString()}};
        marked.chapters = {{{5, u"Chapter V"_s}}, {{1, u"Chapter and verse"_s}}, u"^Part \\d+$"_s};
        history.remember(marked);
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
        QStringList kept;
        for (const Bookmark &mark : known->bookmarks)
            kept << u"%1 %2 %3"_s.arg(mark.at.line).arg(mark.at.text, mark.name);
        for (const auto &[sign, list] :
             {std::pair(u'+', known->chapters.marked), {u'-', known->chapters.unmarked}}) {
            for (const LineAnchor &at : list)
                kept << QString(QChar(sign)) + u"%1 %2"_s.arg(at.line).arg(at.text);
        }
        kept << known->chapters.pattern;
        QCOMPARE(kept,
                 (QStringList {u"3 \tA\n line %25 named\tso"_s, u"9  "_s, u"+5 Chapter V"_s,
                               u"-1 Chapter and verse"_s, u"^Part \\d+$"_s}));
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
        QTest::newRow("a bookmark cut short")
            << QByteArray("Pagelark books 2\nplace\t5\t1\t10\t\t/a.txt\nmark\t3\t=x\t=y\n"
                          "mark\t4\t=x\nplace\t6\t1\t10\t\t/b.txt\n")
            << QStringList {u"a"_s};
        QTest::newRow("another format")
            << QByteArray("Pagelark books 9\nplace\t1\t10\t\t/a.txt\n") << QStringList();
        QTest::newRow("times, then a time not a number")
            << QByteArray("Pagelark books 2\nplace\t5\t1\t10\t\t/a.txt\nrecent\tx\t/a.txt\n"
                          "place\t6\t1\t10\t\t/b.txt\n")
            << QStringList {u"a"_s};
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

    // Two readers share one store, each writing it whole in turn. Steps: A< or B< reads the
    // store, A> or B> writes it; Ax5 leaves book x at line 5, A+x opens it (a recent book), A-x
    // finds it gone, A0 clears the recent books. Then a third reader reads the store.
    void twoReadersShareTheStore_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("read"); // places by book, then the recent books, newest first
        QTest::newRow("places of two books") << "A< B< Ax5 By9 A> B>"
                                             << "x5 y9 |";
        QTest::newRow("one book: the later change wins, whoever writes last")
            << "A< B< Ax5 Bx9 B> A>"
            << "x9 |";
        QTest::newRow("recent books of both") << "A< B< A+x B+y B> A>"
                                              << "| y x";
        QTest::newRow("a clear forgets what was opened before it") << "A+x A> B< B+y A0 A> B>"
                                                                   << "|";
        QTest::newRow("what is opened after a clear stays") << "A< B< A+x A> A0 A> B+y B>"
                                                            << "| y";
        QTest::newRow("a book found gone stays off the list") << "A+x A+y A> B< A-x A> B>"
                                                              << "| y";
        QTest::newRow("a book gone, then opened again") << "A+x A> B< A-x A> B+x B>"
                                                        << "| x";
    }

    void twoReadersShareTheStore()
    {
        QFETCH(QString, steps);
        QFETCH(QString, read);
        const QString file = m_dir.filePath(u"shared history"_s);
        QFile::remove(file);
        const auto book = [this](QChar name) {
            return m_dir.filePath(u"gone/"_s + name);
        };
        BookHistory readers[2];
        for (BookHistory &reader : readers)
            reader.load(file);
        for (const QString &step : steps.split(u' ')) {
            BookHistory &reader = readers[step.at(0) == u'B'];
            const QChar what = step.at(1);
            if (what == u'<')
                reader.load(file);
            else if (what == u'>')
                QVERIFY(reader.save());
            else if (what == u'+')
                reader.addRecent(book(step.at(2)));
            else if (what == u'-')
                reader.refused(book(step.at(2)));
            else if (what == u'0')
                reader.clearRecent();
            else
                reader.remember({book(what), 0, step.mid(2).toInt(), {}});
        }
        BookHistory third;
        third.load(file);
        QStringList seen;
        for (const QChar name : {u'x', u'y'}) {
            if (const auto place = third.place(book(name)))
                seen << QString(name) + QString::number(place->line);
        }
        seen << u"|"_s;
        for (const QString &path : third.recent())
            seen << QFileInfo(path).fileName();
        QCOMPARE(seen.join(u' '), read);
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

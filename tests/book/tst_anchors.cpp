// Lines found by number and by place in a text's bytes, places kept by a line's text that
// survive lines added or removed above them, and the reader's chapter marks kept so.
#include "book/BookContents.h"
#include "book/Bookmarks.h"
#include "book/LineAnchor.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A line whose text is "L" and its number, in a book of lines "line 1", "line 2"...
QByteArray book(int lines, const QByteArray &insertedAtStart = {})
{
    return insertedAtStart + TestFiles::lines(lines);
}

} // namespace

class tst_anchors : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every line of random texts of every kind of line end, found both ways, against the lines a
    // plain reading finds: their starts, one after each line end, CR LF being one.
    void linesBothWays()
    {
        QRandomGenerator random(5);
        const char *const pieces[] = {"\r\n", "\r", "\n", "ab", "\xC3\xA9", "x"};
        for (int round = 0; round < 40; ++round) {
            QByteArray text;
            for (int n = random.bounded(1, 5000); n > 0; --n)
                text += pieces[random.bounded(6)];
            QList<qsizetype> starts;
            for (qsizetype i = 0; i < text.size(); ++i) {
                if (i == 0 || (text[i - 1] == '\n' || (text[i - 1] == '\r' && text[i] != '\n')))
                    starts << i;
            }
            const LineIndex lines(text);
            QCOMPARE(lines.lineCount(), starts.size());
            for (qint64 line = 0; line < starts.size(); ++line) {
                const qsizetype start = starts[line];
                QCOMPARE(lines.offsetOf(text, line), start);
                const qsizetype next = line + 1 < starts.size() ? starts[line + 1] : text.size();
                QCOMPARE(lines.lineAt(text, next - 1), line);
                QByteArray bytes = text.mid(start, next - start);
                while (bytes.endsWith('\n') || bytes.endsWith('\r'))
                    bytes.chop(1);
                QCOMPARE(lines.lineBytes(text, line).toByteArray(), bytes);
            }
            QCOMPARE(lines.offsetOf(text, starts.size()), text.size());
        }
    }

    void anchors_data()
    {
        QTest::addColumn<QByteArray>("now"); // the book as it is now
        QTest::addColumn<int>("kept"); // the line the anchor was taken at, in 3000 lines
        QTest::addColumn<int>("found"); // -1: gone
        QTest::newRow("unchanged") << book(3000) << 1500 << 1500;
        QTest::newRow("lines added above") << book(3000, "new\n\nlines\r\n") << 1500 << 1503;
        QTest::newRow("lines removed above") << book(3000).mid(8) << 1500 << 1499; // "line 1\r\n"
        QTest::newRow("the line's text gone")
            << QByteArray(book(3000)).replace("\r\nline 1501\r\n", "\r\nchanged\r\n") << 1500 << -1;
        QTest::newRow("moved too far")
            << QByteArray("\n").repeated(2100) + book(3000) << 1500 << -1;
        QTest::newRow("the nearest of two") << book(3000) + "line 1501\n" << 1400 << 1400;
        QTest::newRow("a book now shorter") << book(100) << 1500 << -1;
    }

    void anchors()
    {
        QFETCH(QByteArray, now);
        QFETCH(int, kept);
        QFETCH(int, found);
        const QByteArray before = book(3000);
        const LineAnchor anchor =
            LineAnchor::of(before, TextEncoding::Utf8, LineIndex(before), kept);
        QCOMPARE(anchor.text, u"line %1"_s.arg(kept + 1));
        const std::optional<qint64> at = anchor.locate(now, TextEncoding::Utf8, LineIndex(now));
        QCOMPARE(at.value_or(-1), found);
    }

    void chapterMarks_data()
    {
        QTest::addColumn<QByteArray>("added"); // lines put before the book since the marks
        QTest::addColumn<QString>("marks"); // +LINE:TEXT a chapter, -LINE:TEXT none, | between
        QTest::addColumn<QString>("entries"); // each entry's line and title
        QTest::newRow("the pattern's")
            << QByteArray() << QString() << u"2 Chapter 1|5 Chapter 2|6 Chapter and verse"_s;
        QTest::newRow("a line marked as none, one as a chapter")
            << QByteArray() << u"-6:Chapter and verse|+4:Interlude"_s
            << u"2 Chapter 1|4 Interlude|5 Chapter 2"_s;
        QTest::newRow("in a book with lines added above")
            << QByteArray("new\r\nlines\r\n") << u"-6:Chapter and verse|+4:Interlude"_s
            << u"4 Chapter 1|6 Interlude|7 Chapter 2"_s;
        QTest::newRow("marks of lines gone, one twice")
            << QByteArray() << u"+4:Prelude|-5:Chapter 9|+2:Chapter 1"_s
            << u"2 Chapter 1|5 Chapter 2|6 Chapter and verse"_s;
    }

    // Chapters found by the pattern "^Chapter", set right by the reader's marks.
    void chapterMarks()
    {
        QFETCH(QByteArray, added);
        QFETCH(QString, marks);
        QFETCH(QString, entries);
        ChapterMarks kept {{}, {}, u"^Chapter"_s};
        for (const QString &mark : marks.split(u'|', Qt::SkipEmptyParts)) {
            const LineAnchor at {mark.mid(1).section(u':', 0, 0).toInt(), mark.section(u':', 1)};
            (mark.startsWith(u'+') ? kept.marked : kept.unmarked).append(at);
        }
        const QByteArray book = added
            + "Title\r\n\r\nChapter 1\r\ntext\r\nInterlude\r\nChapter 2\r\nChapter and "
              "verse\r\nend\r\n";
        const BookContents contents(book, 0, TextEncoding::Utf8, kept);
        QStringList seen;
        for (const Chapter &entry : contents.entries()) {
            seen << u"%1 %2"_s.arg(entry.line).arg(entry.title);
            QVERIFY(book.mid(entry.offset).startsWith(QByteArray(entry.title.toUtf8() + "\r\n")));
        }
        QCOMPARE(seen.join(u'|'), entries);
    }

    // Bookmarks in a book with lines added above them: each where its text is now, in the book's
    // order; one whose text has gone stays at its old line, shown as moved.
    void bookmarksFoundAgain()
    {
        const QByteArray book = QByteArray("new\nlines\nabove\n") + TestFiles::lines(30);
        const BookContents lines(book, 0, TextEncoding::Utf8, {});
        const QList<Bookmark> kept = {{{20, u"line 21"_s}, u"c"_s},
                                      {{5, u"line 6"_s}, u"a"_s},
                                      {{9, u"a line since removed"_s}, u"b"_s}};
        QStringList seen;
        for (const Bookmarks::Place &place : Bookmarks::locate(kept, lines))
            seen << u"%1 %2%3 %4"_s.arg(kept[place.index].name)
                        .arg(place.line)
                        .arg(place.moved ? u" moved"_s : QString())
                        .arg(QString::fromLatin1(book.mid(place.offset, 7)));
        QCOMPARE(seen.join(u'|'), u"a 8 line 6\r|b 9 moved line 7\r|c 23 line 21"_s);
    }

    // A long line is kept by its first characters, blanks at its start left out.
    void longLineText()
    {
        const QByteArray line = "   \t" + QByteArray("word ").repeated(40);
        QCOMPARE(LineAnchor::textOf(line, TextEncoding::Utf8),
                 QString::fromLatin1(QByteArray("word ").repeated(12)));
    }
};

PAGELARK_TEST(tst_anchors);
#include "tst_anchors.moc"

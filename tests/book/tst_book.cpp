// The book and the reader's book state: pages cut from a file's bytes (line ends, the last line,
// page sizes and their limits, the two encodings), and the loads, page numbers, Next and
// Previous, Search and Next as the window drives them, with what each has the window say.
#include "book/BaseName.h"
#include "book/BookState.h"
#include "book/LineEnds.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <numeric>

namespace {

// Bytes read at a number of lines a page; "|" ends each page, and a refused book leaves the one
// before.
// clang-format off
struct PagesRow { QByteArray bytes; int linesPerPage; Book::Status status; QString pages; };
// clang-format on

// The book's pages, each ended by "|".
QString pagesOf(const Book &book)
{
    QString pages;
    for (int i = 0; i < book.pageCount(); ++i)
        pages += book.pageText(i) + u'|';
    return pages;
}

// The window's side: says what an answer asks for on one line, putting a new page number into
// the box and running the box's handler as the window does.
struct Reader
{
    QString said(const BookState::Answer &answer)
    {
        QStringList parts {answer.message};
        if (answer.pageNumber)
            parts << u'[' + *answer.pageNumber + u']'
                  << said(state.PageNumber_Change(*answer.pageNumber));
        if (answer.showPage)
            parts << QStringLiteral("page %1").arg(*answer.showPage + 1);
        if (answer.matchAt)
            parts << QStringLiteral("at %1").arg(*answer.matchAt);
        parts.removeAll(QString());
        return parts.join(u" / ");
    }
    // "start:" opens a book as start-up does, to jump to the page after index 2 once it is read.
    QString open(const QString &path, int linesPerPage, bool atStartup)
    {
        state.openBook(path);
        state.setOpenAtStartup(atStartup);
        const BookState::LoadAnswer answer = state.LoadBook(linesPerPage, 2);
        if (!answer.loaded)
            return answer.message;
        const Book &book = state.book();
        // Chapters by a pattern, whatever the rules make of a short book.
        contents = BookContents(book.heldBytes(), book.textStart(), book.bytesEncoding(),
                                {{}, {}, u"^Chapter \\d"_qs});
        const QString pages = QStringLiteral("%1 pages").arg(book.pageCount());
        return answer.jumpTo ? pages + u" / " + said({{}, *answer.jumpTo, {}, {}}) : pages;
    }

    BookState state;
    BookContents contents;
};

// Search and Next from the list of every match in the book, each page's text as the view shows
// it: Search selects the first of them; Next the first after the one selected when that is on
// the page shown, else the first from the start of the page shown. A search without a match
// leaves nothing selected.
struct PlainSearch
{
    using Match = std::pair<int, int>; // page, position

    QString find(bool next)
    {
        if (text.isEmpty()) // nothing searched for yet
            return {};
        QList<Match> matches;
        for (int p = 0; p < views.size(); ++p) {
            for (int at = 0; (at = int(views[p].indexOf(text, at, Qt::CaseInsensitive))) >= 0; ++at)
                matches << Match {p, at};
        }
        const Match after = next && selected && selected->first == current
            ? *selected
            : Match {next ? current : 0, -1};
        const auto found =
            std::find_if(matches.begin(), matches.end(), [&](const Match &m) { return m > after; });
        if (found == matches.end()) {
            selected.reset();
            return next ? u"Reach End of Book"_qs : u"string not found"_qs;
        }
        selected = *found;
        current = found->first;
        return QStringLiteral("[%1] / page %1 / at %2").arg(current + 1).arg(found->second);
    }

    QStringList views;
    QString text;
    int current = 0;
    std::optional<Match> selected;
};

// Letters whose case folding is not plain ASCII's, and a character beyond the plane.
const QString kUtf8Letters = u"aAkK\u212AsS\u017F\u00E9\u00C9\u03C3\u03C2\u03A3iI\u0130\u0131"
                             u"\u00DF\u1E9E \u00B5\u039C\U00010428\U00010400"_qs;
const QString k1252Letters =
    u"aAkKsS\u0160\u0161\u00E9\u00C9\u00FF\u0178\u00B5\u00DF\u20AC\u0081 iI\u0152\u0153"_qs;

} // namespace

class tst_book : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void pages_data();
    void pages();
    void pagesMatchAPlainReading();
    void oneSequenceAnywhere();
    void lineEndsInLongRuns();
    void everyByteComesBackUnchanged();
    void script_data();
    void script();
    void searchMatchesAPlainReading();
    void title();
    void largerThanTheReaderTakes();

private:
    QTemporaryDir m_dir;
};

void tst_book::initTestCase()
{
    TestFiles::write(m_dir.filePath(u"45.txt"_qs), TestFiles::lines(45, "\n"));
    TestFiles::write(m_dir.filePath(u"30.txt"_qs), TestFiles::lines(30));
    TestFiles::write(m_dir.filePath(u"32768.txt"_qs), TestFiles::lines(32768));
    TestFiles::write(m_dir.filePath(u"empty.txt"_qs), {});
    // Chapters beginning on lines 3, 9 and 10: on pages 1, 3 and 4 at 3 lines a page.
    QByteArray chapters = "A Book\n\n";
    for (const char *chapter : {"Chapter 1\n", "one\n", "\n", "\n", "\n", "\n", "Chapter 2\n",
                                "Chapter 3\n", "three\n", "\n", "\n"})
        chapters += chapter;
    TestFiles::write(m_dir.filePath(u"chapters.txt"_qs), chapters);
    TestFiles::write(m_dir.filePath(u"nul.txt"_qs), QByteArray("text\0more", 9));
    TestFiles::write(m_dir.filePath(u"sea.txt"_qs),
                     "one book\ntwo\nthree BOOK book\nfour\nfive\n"
                     "six\nseven\neight\nnine\nten book\n");
    QVERIFY(QDir(m_dir.path()).mkdir(u"shelf"_qs));
}

void tst_book::pages_data()
{
    QTest::addColumn<PagesRow>("row");
    const auto ok = Book::Status::Loaded;
    const QString kept = u"kept\r\n|"_qs;
    QTest::newRow("CR LF, lone CR, lone LF")
        << PagesRow {"a\r\nb\rc\nd", 1, ok, u"a\r\n|b\r\n|c\r\n|d\r\n|"_qs};
    QTest::newRow("ends with CR LF CR LF: an empty last line")
        << PagesRow {"a\r\nb\r\n\r\n", 2, ok, u"a\r\nb\r\n|\r\n|"_qs};
    QTest::newRow("no terminator") << PagesRow {"only", 15, ok, u"only\r\n|"_qs};
    QTest::newRow("empty file") << PagesRow {{}, 15, ok, {}};
    QTest::newRow("UTF-8, mark dropped")
        << PagesRow {"\xEF\xBB\xBF" + QByteArray("caf\xC3\xA9\n\xE2\x82\xAC"), 1, ok,
                     u"caf\u00E9\r\n|\u20AC\r\n|"_qs};
    QTest::newRow("not UTF-8: Windows-1252") << PagesRow {
        "caf\xE9\r\n\x80 \x93q\x94", 1, ok, u"caf\u00E9\r\n|\u20AC \u201Cq\u201D\r\n|"_qs};
    // As the book shows them, its lines end in CR LF.
    const QString lines = QString::fromLatin1(TestFiles::lines(32767));
    QTest::newRow("40000 pages, past 16-bit numbers")
        << PagesRow {TestFiles::lines(40000, "\n"), 1, ok,
                     QString::fromLatin1(TestFiles::lines(40000)).replace(u"\r\n"_qs, u"\r\n|"_qs)};
    QTest::newRow("below 1 line a page: one page of 32767 lines")
        << PagesRow {TestFiles::lines(32767, "\r"), 0, ok, lines + u'|'};
    QTest::newRow("more pages than an index the book's size keeps")
        << PagesRow {QByteArray(1100000, '\n'), 1, Book::Status::TooManyPages, kept};
    QTest::newRow("one page of 32768 lines")
        << PagesRow {TestFiles::lines(32768, "\n"), -5, Book::Status::TooManyLines, kept};
    QTest::newRow("NUL after many lines") << PagesRow {
        TestFiles::lines(40000) + QByteArray("end\0", 4), 15, Book::Status::NotText, kept};
    // Every byte value in turn puts each NUL where UTF-16 has the high byte of a character, but
    // the characters that reading makes are controls, not text.
    QByteArray everyByte(256, '\0');
    std::iota(everyByte.begin(), everyByte.end(), char(0));
    QTest::newRow("binary bytes, NULs at even places")
        << PagesRow {everyByte.repeated(10), 15, Book::Status::NotText, kept};
}

void tst_book::pages()
{
    QFETCH(PagesRow, row);
    Book book;
    QCOMPARE(book.loadBytes("kept\n", 15).status, Book::Status::Loaded);
    QCOMPARE(book.loadBytes(row.bytes, row.linesPerPage).status, row.status);
    QCOMPARE(pagesOf(book), row.pages);
    QCOMPARE(book.pageText(book.pageCount()), QString());
}

// Random bytes of line ends, long and short lines and UTF-8 sequences, whole or spoiled, read
// line by line the plain way, must give the book's pages and encoding, wherever they fall
// against the blocks the book's scans work in.
void tst_book::pagesMatchAPlainReading()
{
    static const char *const pieces[] = {
        "\r",   "\n",   "\r\n", "x",           "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80",
        "\x80", "\xFF", "\xC3", "\xED\xA0\x80"};
    QRandomGenerator random(31);
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = random.bounded(8) == 0 ? "\xEF\xBB\xBF" : "";
        const int length = random.bounded(0, 300);
        const bool utf8 = random.bounded(2); // a UTF-8 book, or one of any bytes
        while (bytes.size() < length) {
            const int piece = random.bounded(utf8 ? 7 : 11);
            bytes +=
                piece == 3 ? QByteArray(random.bounded(1, 70), 'x') : QByteArray(pieces[piece]);
        }
        const int linesPerPage = random.bounded(-1, 6);

        // The mark is dropped from UTF-8 only; in any other encoding it is three characters.
        QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
        const bool valid = !bytes.isEmpty() && QByteArrayView(body).isValidUtf8();
        if (!valid)
            body = bytes;
        QList<QByteArray> lines = body.replace("\r\n", "\n").replace('\r', '\n').split('\n');
        if (lines.last().isEmpty())
            lines.removeLast();
        // Bytes that are no UTF-8 are read in the code page the detector names, or Windows-1252.
        Book book;
        QCOMPARE(book.loadBytes(bytes, linesPerPage).status, Book::Status::Loaded);
        QVERIFY2((book.encoding() == TextEncoding::Utf8) == valid, bytes.toHex(' ').constData());
        QString expected;
        const int size = linesPerPage < 1 ? qMax(1, int(lines.size())) : linesPerPage;
        for (int i = 0; i < lines.size(); ++i) {
            expected +=
                QStringDecoder(TextCodec::charsetName(book.encoding()).toLatin1().constData())
                    .decode(lines[i]);
            expected += (i + 1) % size && i + 1 < lines.size() ? u"\r\n"_qs : u"\r\n|"_qs;
        }
        QVERIFY2(pagesOf(book) == expected, bytes.toHex(' ').constData());
    }
}

// One sequence, whole or broken, in a run of ASCII is judged alike wherever it falls against the
// blocks the UTF-8 check reads and the ASCII runs it skips, the end of the text included.
void tst_book::oneSequenceAnywhere()
{
    for (const char *sequence : {"\xF0\x9F\x98\x80", "\xC3", "\xE2\x82", "\xF0\x9F\x98", "\x80",
                                 "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF"}) {
        for (int at = 0; at < 200; ++at) {
            for (const int length : {at + int(qstrlen(sequence)), 260}) {
                QByteArray bytes(length, 'x');
                bytes.replace(at, qstrlen(sequence), sequence);
                QVERIFY2((TextCodec::detect(bytes) == TextEncoding::Utf8)
                             == QByteArrayView(bytes).isValidUtf8(),
                         bytes.toHex(' ').constData());
            }
        }
    }
}

// HTML pages count their lines this way; runs of line ends alone are where its counters fill.
void tst_book::lineEndsInLongRuns()
{
    for (const auto &[unit, ends] : {std::pair("\n", 1), {"\r", 1}, {"\r\n", 1}, {"\r\r\n\n", 3}}) {
        const QByteArray bytes = QByteArray(unit).repeated(20011);
        QCOMPARE(LineEnds::countLineEnds(bytes.constBegin(), bytes.constEnd()), 20011 * ends);
    }
}

// Windows-1252 shows one character for every byte, the five bytes it leaves undefined included,
// and a page written back gives the file's bytes.
void tst_book::everyByteComesBackUnchanged()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = TextCodec::decode(all, TextEncoding::Windows1252);
    QCOMPARE(text.size(), 256);
    QCOMPARE(TextCodec::encode(text, TextEncoding::Windows1252), all);
    for (const char16_t undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        QCOMPARE(text.at(undefined), QChar(undefined));
}

void tst_book::script_data()
{
    // Steps: open:FILE[/LINES A PAGE] (15 unless given), start:FILE, #BOX TEXT, + Next,
    // - Previous, ?TEXT Search, n Next match, P the match before, @LOCALE the user's locale (says
    // nothing), kKEY a page key by its name (PgUp, Shift+Space, Ctrl+End...), w+ and w- the wheel,
    // rLINE the line the next open resumes at, ! whether Search may ask, s the status bar's share,
    // b the open book's file name, > and < the next and the previous chapter, h the chapter shown.
    // In a box text "~" stands for a blank. What each step has said follows,
    // "|" between steps; paths in messages read DIR.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("said");

    QTest::newRow("typed numbers, words, an emptied box; by the locale's rules or the C locale's")
        << "open:45.txt #3 #3.9 #2.9 #4 #0 #0.5 #99999 #-1e300 #nan #two # #~~ + @de_DE #2,9 #3.5 "
           "#1e1"
        << "3 pages|page 3|page 3|page 2|NO Such Page|NO Such Page|NO Such Page|NO Such Page|"
           "NO Such Page|please enter a page number / []|please enter a page number / []||"
           "please enter a page number / []|[3] / page 3|page 2|page 3|NO Such Page";
    QTest::newRow("no book, no search")
        << "#3 #two # + - ?x n ! open:30.txt !"
        << "please open a book first|please open a book first||End of the Book|Begin of the Book|"
           "||please open a book first|2 pages|";
    // Buttons, page keys and the wheel turn alike; only the wheel says nothing at either end.
    QTest::newRow("Next and Previous at both ends, by buttons, keys and the wheel")
        << "open:30.txt - kPgUp kHome w- + + kPgDown kSpace kCtrl+End w+ kShift+Space kSpace kPgUp "
           "kEnd kHome w+ -"
        << "2 pages|Begin of the Book|Begin of the Book|Begin of the Book||[2] / page 2|End of the "
           "Book|End of the Book|End of the Book|End of the Book||[1] / page 1|[2] / page 2|[1] / "
           "page 1|[2] / page 2|[1] / page 1|[2] / page 2|[1] / page 1";
    QTest::newRow("start-up jump, spent by a failed start-up")
        << "start:45.txt start:30.txt start:empty.txt start:missing.txt open:45.txt"
        << "3 pages / [3] / page 3|2 pages / [3] / NO Such Page|0 pages|"
           "Previous open file not exist\nDIR/missing.txt|3 pages";
    QTest::newRow("a refused book leaves the open one as it was")
        << "open:45.txt #2 open:nul.txt b #1 + + open:shelf open:32768.txt/0 b open:empty.txt #1"
        << "3 pages|page 2|This file is not a plain-text book (it holds NUL bytes):\nDIR/nul.txt|"
           "45.txt|page 1|[2] / page 2|[3] / page 3|This is a folder, not a book:\nDIR/shelf|The "
           "book has more than 32767 lines, too many for one page:\nDIR/32768.txt\nChoose a "
           "number of lines per page in View > Options.|45.txt|0 pages|NO Such Page";
    QTest::newRow("pages past 32767: numbers, keys, share, search, resuming")
        << "open:32768.txt/1 #32768 - s ?32768 r32767 open:32768.txt/1 kEnd s"
        << "32768 pages|page 32768|[32767] / page 32767|page 32767 of 32768 \u00B7 100%|"
           "[32768] / page 32768 / at 5|32768 pages / [32768] / page 32768|End of the Book|"
           "page 32768 of 32768 \u00B7 100%";
    QTest::newRow("with none open, the refused book is named but numbers are refused")
        << "open:missing.txt b #1 + open:45.txt b"
        << "Previous open file not exist\nDIR/missing.txt|missing.txt|please open a book first|"
           "End of the Book|3 pages|45.txt";
    QTest::newRow("Search and Next through the book")
        << "open:sea.txt/2 n ?Book n n n n n ?xyz n"
        << "5 pages||[1] / page 1 / at 4|[2] / page 2 / at 6|[2] / page 2 / at 11|[5] / page 5 "
           "/ at 9|Reach End of Book|[5] / page 5 / at 9|string not found|Reach End of Book";
    QTest::newRow("the match before, from the one selected or the end of the page shown")
        << "open:sea.txt/2 ?book P n n n P P #5 P P"
        << "5 pages|[1] / page 1 / at 4|Reach Begin of Book|[1] / page 1 / at 4|[2] / page 2 / "
           "at 6|[2] / page 2 / at 11|[2] / page 2 / at 6|[1] / page 1 / at 4|page 5|[5] / page "
           "5 / at 9|[2] / page 2 / at 11";
    QTest::newRow("a new book searches afresh; Next from the page shown; a cancelled Search")
        << "open:sea.txt/2 ?book open:sea.txt/2 n #3 n ? n"
        << "5 pages|[1] / page 1 / at 4|5 pages|[1] / page 1 / at 4|page 3|[5] / page 5 / at 9||";
    QTest::newRow("chapters: the next, the start of this one or the one before, no word at ends")
        << "open:chapters.txt/3 h > h > h > h > < h < < h < #2 h < > > >"
        << "5 pages|Chapter 1|[3] / page 3|Chapter 2|[4] / page 4|Chapter 3||Chapter 3||[3] / "
           "page 3|Chapter 2|[1] / page 1||Chapter 1||page 2|Chapter 1|[1] / page 1|[3] / page 3|"
           "[4] / page 4|";
    QTest::newRow("resumed at the page that holds the line, if the book has it")
        << "r20 open:45.txt r44 open:45.txt/10 r45 open:45.txt r3 start:45.txt s #3 s #2 s"
        << "3 pages / [2] / page 2|5 pages / [5] / page 5|3 pages|3 pages|page 1 of 3 \u00B7 33%|"
           "page 3|page 3 of 3 \u00B7 100%|page 2|page 2 of 3 \u00B7 67%";
}

void tst_book::script()
{
    QFETCH(QString, steps);
    QFETCH(QString, said);

    const auto restore = qScopeGuard([locale = QLocale()] { QLocale::setDefault(locale); });
    Reader reader;
    QStringList saying;
    for (const QString &step : steps.split(u' ')) {
        if (step.startsWith(u'@'))
            QLocale::setDefault(QLocale(step.mid(1)));
        else if (step == u"+")
            saying << reader.said(reader.state.CommandNext_Click());
        else if (step == u"-")
            saying << reader.said(reader.state.CommandPre_Click());
        else if (step == u"P")
            saying << reader.said(reader.state.mnuToolsFindPrevious_Click());
        else if (step == u"n")
            saying << reader.said(reader.state.mnuToolsFindNext_Click());
        else if (step.startsWith(u'?'))
            saying << reader.said(reader.state.mnuToolsFind_Click(step.mid(1)));
        else if (step.startsWith(u'#'))
            saying << reader.said(reader.state.PageNumber_Change(step.mid(1).replace(u'~', u' ')));
        else if (const QKeyCombination key = QKeySequence(step.mid(1))[0]; step.startsWith(u'k'))
            saying << reader.said(*reader.state.pageKey(key.key(), key.keyboardModifiers()));
        else if (step.startsWith(u'w'))
            saying << reader.said(reader.state.turnQuietly(step == u"w+" ? 1 : -1));
        else if (step.startsWith(u'r'))
            reader.state.resumeAt(step.mid(1).toInt());
        else if (step == u"!")
            saying << reader.said(reader.state.searchRefusal().value_or(BookState::Answer()));
        else if (step == u"s")
            saying << reader.state.pageShare();
        else if (step == u"b")
            saying << QFileInfo(reader.state.bookPath()).fileName();
        else if (step == u">" || step == u"<")
            saying << reader.said(step == u">" ? reader.state.nextChapter(reader.contents)
                                               : reader.state.previousChapter(reader.contents));
        else if (step == u"h")
            saying << reader.contents.entries()
                          .value(reader.state.chapterShown(reader.contents))
                          .title;
        else {
            const QStringList file = step.section(u':', 1).split(u'/');
            const int linesPerPage = file.size() > 1 ? file[1].toInt() : 15;
            saying << reader.open(m_dir.filePath(file[0]), linesPerPage, step.startsWith(u"start"))
                          .replace(m_dir.path(), u"DIR"_qs);
        }
    }
    QCOMPARE(saying.join(u'|'), said);
}

// Random lines of letters that fold in unusual ways, every kind of line end, random pages shown
// between the commands, and needles cut from the text with their case changed.
void tst_book::searchMatchesAPlainReading()
{
    const QString path = m_dir.filePath(u"random.txt"_qs);
    for (const bool utf8 : {true, false}) {
        QRandomGenerator random(utf8);
        QStringList letters;
        for (const char32_t c : (utf8 ? kUtf8Letters : k1252Letters).toUcs4())
            letters << QString::fromUcs4(&c, 1);
        for (int round = 0; round < 120; ++round) {
            const QString text = TestFiles::randomLines(random, letters, 5 + random.bounded(60));
            // Saved by Qt's converters; the Windows-1252 book ends in a letter that is no UTF-8.
            const QByteArray saved = utf8 ? text.toUtf8() : QStringEncoder("windows-1252")(text);
            TestFiles::write(path, utf8 ? saved : saved + "\xE9");
            const int linesPerPage = 1 + random.bounded(4);
            // Read in the encoding it was saved in: a few bytes may tell the detector another.
            Reader reader;
            if (!utf8)
                reader.state.chooseEncoding(TextEncoding::Windows1252);
            QVERIFY(reader.open(path, linesPerPage, false).endsWith(u"pages"));
            // The pages as the view shows them, from the text written: a line end each "\n".
            PlainSearch plain;
            QStringList lines =
                QString(text).replace(u"\r\n"_qs, u"\n"_qs).replace(u'\r', u'\n').split(u'\n');
            if (utf8)
                lines.removeLast(); // the text ends with a line end
            else
                lines.last() = u"\u00E9"_qs;
            for (int line = 0; line < lines.size(); line += linesPerPage)
                plain.views << lines.mid(line, linesPerPage).join(u'\n') + u'\n';
            for (int step = 0; step < 40; ++step) {
                const int action = random.bounded(4);
                if (action == 0) {
                    plain.text.clear();
                    for (const QChar c :
                         text.mid(random.bounded(text.size()), random.bounded(1, 7)))
                        plain.text += random.bounded(2) ? c.toUpper() : c.toLower();
                    QCOMPARE(reader.said(reader.state.mnuToolsFind_Click(plain.text)),
                             plain.find(false));
                } else if (action == 1) {
                    plain.current = random.bounded(int(plain.views.size()));
                    reader.said(reader.state.PageNumber_Change(QString::number(plain.current + 1)));
                } else {
                    QCOMPARE(reader.said(reader.state.mnuToolsFindNext_Click()), plain.find(true));
                }
            }
        }
    }
}

// A book's title is its file name without the last extension.
void tst_book::title()
{
    QCOMPARE(BaseName(u"/my.books/b.c.txt"_qs), u"b.c"_qs);
    QCOMPARE(BaseName(u"notes"_qs), u"notes"_qs);
}

// A file larger than the reader takes is refused before a byte of it is read, with its size.
void tst_book::largerThanTheReaderTakes()
{
    const QString path = m_dir.filePath(u"huge.txt"_qs);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(Book::largestBook() + 1))
        QSKIP("no room for a sparse file that large here");
    file.close();
    Book book;
    const Book::LoadResult result = book.load(path, 15);
    QFile::remove(path);
    QCOMPARE(result.status, Book::Status::TooLarge);
    QVERIFY(BookState::loadFailureMessage(result, path, 15)
                .startsWith(u"The book is too large to open:\n"_qs + path + u"\nIt holds "_qs));
}

PAGELARK_TEST(tst_book);
#include "tst_book.moc"

// The small rules of a book: its title from its path, and how a typed page number is read.
#include "book/BaseName.h"
#include "book/PageNumberRule.h"

#include <QTest>

Q_DECLARE_METATYPE(PageNumberRule::Kind)

class tst_bookrules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void baseName_data();
    void baseName();
    void pageNumber_data();
    void pageNumber();
    void pageNumberInOtherLocales_data();
    void pageNumberInOtherLocales();
};

void tst_bookrules::baseName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("title");

    QTest::newRow("last extension only") << QStringLiteral("/a/b.c.txt") << QStringLiteral("b.c");
    QTest::newRow("dots in the name")
        << QStringLiteral("/a/War.and.Peace.txt") << QStringLiteral("War.and.Peace");
    QTest::newRow("no folder") << QStringLiteral("b.c.txt") << QStringLiteral("b.c");
    QTest::newRow("no extension") << QStringLiteral("/books/notes") << QStringLiteral("notes");
    QTest::newRow("dot in the folder only")
        << QStringLiteral("/my.books/notes") << QStringLiteral("notes");
    QTest::newRow("blanks") << QStringLiteral("/a/My Book.html") << QStringLiteral("My Book");
    QTest::newRow("empty") << QString() << QString();
}

void tst_bookrules::baseName()
{
    QFETCH(QString, path);
    QFETCH(QString, title);
    QCOMPARE(BaseName(path), title);
}

void tst_bookrules::pageNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<PageNumberRule::Kind>("kind");
    QTest::addColumn<int>("index"); // the page index asked for; -100 for none in range

    using K = PageNumberRule::Kind;
    QTest::newRow("3") << QStringLiteral("3") << K::Numeric << 2;
    QTest::newRow("3.9 rounds down") << QStringLiteral("3.9") << K::Numeric << 2;
    QTest::newRow("2.9") << QStringLiteral("2.9") << K::Numeric << 1;
    QTest::newRow("0.5 is index -1") << QStringLiteral("0.5") << K::Numeric << -1;
    QTest::newRow("0") << QStringLiteral("0") << K::Numeric << -1;
    QTest::newRow("-0.5 rounds towards minus infinity")
        << QStringLiteral("-0.5") << K::Numeric << -2;
    QTest::newRow("blanks around") << QStringLiteral(" 12 ") << K::Numeric << 11;
    QTest::newRow("sign") << QStringLiteral("+4") << K::Numeric << 3;
    QTest::newRow("32768 is the last index") << QStringLiteral("32768") << K::Numeric << 32767;
    QTest::newRow("1e10 has no index") << QStringLiteral("1e10") << K::Numeric << -100;
    QTest::newRow("-1e10 has no index") << QStringLiteral("-1e10") << K::Numeric << -100;
    QTest::newRow("32769 has no index") << QStringLiteral("32769") << K::Numeric << -100;
    QTest::newRow("word") << QStringLiteral("twelve") << K::NotNumeric << -100;
    QTest::newRow("number and word") << QStringLiteral("3 pages") << K::NotNumeric << -100;
    QTest::newRow("blanks only") << QStringLiteral("  ") << K::NotNumeric << -100;
    QTest::newRow("infinity") << QStringLiteral("inf") << K::NotNumeric << -100;
    QTest::newRow("not a number") << QStringLiteral("nan") << K::NotNumeric << -100;
    QTest::newRow("empty") << QString() << K::Empty << -100;
}

void tst_bookrules::pageNumber()
{
    QFETCH(QString, text);
    QFETCH(PageNumberRule::Kind, kind);
    QFETCH(int, index);

    const PageNumberRule::Reading reading = PageNumberRule::read(text, QLocale::c());
    QCOMPARE(reading.kind, kind);
    if (kind != PageNumberRule::Kind::Numeric)
        return;
    const std::optional<int> asked = PageNumberRule::pageIndex(reading.value);
    if (index == -100)
        QVERIFY(!asked.has_value());
    else
        QCOMPARE(asked, std::optional<int>(index));
}

void tst_bookrules::pageNumberInOtherLocales_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("index");

    QTest::newRow("de: decimal comma") << QStringLiteral("de_DE") << QStringLiteral("2,9") << 1;
    QTest::newRow("de: decimal point too") << QStringLiteral("de_DE") << QStringLiteral("2.9") << 1;
    QTest::newRow("fr") << QStringLiteral("fr_FR") << QStringLiteral("3,5") << 2;
    QTest::newRow("en") << QStringLiteral("en_US") << QStringLiteral("3.5") << 2;
}

void tst_bookrules::pageNumberInOtherLocales()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(int, index);

    const PageNumberRule::Reading reading = PageNumberRule::read(text, QLocale(locale));
    QCOMPARE(reading.kind, PageNumberRule::Kind::Numeric);
    QCOMPARE(PageNumberRule::pageIndex(reading.value), std::optional<int>(index));
}

QTEST_GUILESS_MAIN(tst_bookrules)
#include "tst_bookrules.moc"

// The reading layout's file, read from any text and written beside config.ini; the colour
// schemes' contrast, worked out here from the WCAG 2 formula.
#include "settings/ColorScheme.h"
#include "settings/ReadingLayout.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QtMath>

using namespace Qt::StringLiterals;

namespace {

// WCAG 2's relative luminance of a 0x00BBGGRR colour.
double luminance(quint32 color)
{
    const auto channel = [color](int shift) {
        const double c = ((color >> shift) & 0xFF) / 255.0;
        return c <= 0.03928 ? c / 12.92 : qPow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(0) + 0.7152 * channel(8) + 0.0722 * channel(16);
}

} // namespace

class tst_layout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsAnyText_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("fields"); // fitPages sideMargin lineSpacing

        const QByteArray head = "Pagelark layout 1\n";
        QTest::newRow("empty") << QByteArray() << u"0 0 100"_s;
        QTest::newRow("all") << head + "fitPages=1\nsideMargin=60\nlineSpacing=150\n"
                             << u"1 60 150"_s;
        QTest::newRow("CR LF, blanks") << head + "sideMargin = 7\r\nlineSpacing= 110 \r\n"
                                       << u"0 7 110"_s;
        QTest::newRow("some") << head + "lineSpacing=200" << u"0 0 200"_s;
        QTest::newRow("no header") << QByteArray("fitPages=1\nsideMargin=60\n") << u"0 0 100"_s;
        QTest::newRow("other header")
            << QByteArray("Pagelark books 2\nsideMargin=60\n") << u"0 0 100"_s;
        QTest::newRow("too large") << head + "sideMargin=201\nlineSpacing=9999999999999\n"
                                   << u"0 200 200"_s;
        QTest::newRow("too small") << head + "sideMargin=-5\nlineSpacing=99\n" << u"0 0 100"_s;
        QTest::newRow("not numbers") << head + "fitPages=yes\nsideMargin=6O\nlineSpacing=\n"
                                     << u"0 0 100"_s;
        QTest::newRow("fit not 0 or 1") << head + "fitPages=2\nsideMargin=3\n" << u"0 3 100"_s;
        QTest::newRow("unknown, odd lines") << head + "colour=9\n\n=\nsideMargin\nsideMargin=4=5\n"
                                            << u"0 0 100"_s;
        QTest::newRow("last wins") << head + "sideMargin=1\nsideMargin=2\nfitPages=1\nfitPages=0\n"
                                   << u"0 2 100"_s;
        QTest::newRow("binary") << QByteArray("\0\xFF\n\x01=\x02", 6) << u"0 0 100"_s;
    }
    void readsAnyText()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, fields);
        const ReadingLayout read = ReadingLayout::fromText(text);
        QCOMPARE(u"%1 %2 %3"_s.arg(read.fitPages).arg(read.sideMargin).arg(read.lineSpacing),
                 fields);
    }

    // The file sits beside config.ini and leaves its bytes alone; a missing one gives the
    // defaults, a folder in its place is not written over.
    void roundTripBesideConfig()
    {
        QTemporaryDir dir;
        const QString config = TestFiles::write(dir.filePath(u"Pagelark/config.ini"_s), "record");
        const QString file = ReadingLayout::fileBeside(config);
        QCOMPARE(QFileInfo(file).absolutePath(), QFileInfo(config).absolutePath());
        QVERIFY(file != config);
        QVERIFY(ReadingLayout::load(file) == ReadingLayout());

        const ReadingLayout chosen {true, 60, 150};
        QVERIFY(chosen.save(file));
        QVERIFY(ReadingLayout::load(file) == chosen);
        QCOMPARE(TestFiles::read(config), QByteArray("record"));

        QVERIFY(QDir().mkpath(dir.filePath(u"folder"_s)));
        QString error;
        QVERIFY(!chosen.save(dir.filePath(u"folder"_s), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(ReadingLayout::load(dir.filePath(u"folder"_s)) == ReadingLayout());
    }

    void schemesReadWell_data()
    {
        QTest::addColumn<double>("least"); // contrast ratio
        QTest::addColumn<bool>("dark"); // light text on a dark ground

        QTest::newRow("Day") << 7.0 << false;
        QTest::newRow("Sepia") << 4.5 << false;
        QTest::newRow("Night") << 7.0 << true;
    }
    void schemesReadWell()
    {
        QFETCH(double, least);
        QFETCH(bool, dark);
        const QList<ColorScheme> &all = ColorScheme::all();
        const auto it = std::find_if(all.begin(), all.end(), [](const ColorScheme &s) {
            return s.name == QLatin1String(QTest::currentDataTag());
        });
        QVERIFY(it != all.end());
        const double text = luminance(it->text);
        const double ground = luminance(it->background);
        const double ratio = (qMax(text, ground) + 0.05) / (qMin(text, ground) + 0.05);
        QVERIFY2(ratio >= least, qPrintable(QString::number(ratio)));
        QCOMPARE(text > ground, dark);
    }
};

PAGELARK_TEST(tst_layout);
#include "tst_layout.moc"

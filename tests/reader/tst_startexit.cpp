// Whole sessions through the real reader window: start, read, leave, come back.
#include "platform/Drives.h"
#include "reader/FilePanel.h"
#include "reader/TextArea.h"
#include "reader/frmMain.h"
#include "settings/RecordCodec.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

class OneDrive : public Drives
{
public:
    QList<DriveInfo> list() const override
    {
        return {{QStringLiteral("/"), QStringLiteral("/"), DriveInfo::Type::Fixed, true}};
    }
};

} // namespace

class tst_startexit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void firstStartWritesDefaultsAtExit();
    void reopensLastBookAtLastPage_data();
    void reopensLastBookAtLastPage();
    void deletedFavouriteIsReportedOnce();
    void placementIsWrittenInTwips();
    void mixedFormatKeepsPreviousFields();
    void nullTextColourKeepsViewColour();

private:
    std::unique_ptr<frmMain> start();
    QString configFile() const { return m_dir.filePath(QStringLiteral("Pagelark/config.ini")); }

    QTemporaryDir m_dir;
    ScriptedPrompts m_prompts;
    GlobalData m_data;
    OneDrive m_drives;
};

void tst_startexit::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("Pagelark"));
    QCoreApplication::setApplicationName(QStringLiteral("Pagelark"));
}

void tst_startexit::init()
{
    QFile::remove(configFile());
    m_prompts.reset();
    m_data = GlobalData();
}

std::unique_ptr<frmMain> tst_startexit::start()
{
    m_data = GlobalData();
    auto window = std::make_unique<frmMain>(m_prompts, m_data, m_drives);
    window->Form_Load(configFile());
    window->show();
    return window;
}

void tst_startexit::firstStartWritesDefaultsAtExit()
{
    auto window = start();
    QVERIFY(QFile::exists(configFile()));
    QCOMPARE(window->textArea()->text(), frmMain::Hint);
    window->close();

    const QByteArray bytes = TestFiles::read(configFile());
    QVERIFY(bytes.size() >= 36);
    GlobalData saved;
    QCOMPARE(RecordCodec::decode(bytes, saved), RecordCodec::FieldCount);
    QCOMPARE(saved.LinesPerPage, qint16(15));
    QCOMPARE(saved.BackColor, VariantValue::fromLong(0xFFFFFF));
    QCOMPARE(saved.ForeColor, VariantValue::fromLong(0));
    QCOMPARE(saved.FontSize, qint16(12));
    QCOMPARE(saved.FavoriteSet, VFalse);
    QCOMPARE(saved.LoadLastBook, VFalse);
    QVERIFY(m_prompts.messages().isEmpty());
}

void tst_startexit::reopensLastBookAtLastPage_data()
{
    QTest::addColumn<qint16>("loadLastBook");
    QTest::addColumn<QString>("pageAtNextStart");
    QTest::newRow("true is -1") << qint16(-1) << QStringLiteral("3");
    QTest::newRow("1 is not true") << qint16(1) << QString();
}

void tst_startexit::reopensLastBookAtLastPage()
{
    QFETCH(qint16, loadLastBook);
    QFETCH(QString, pageAtNextStart);
    const QString folder = m_dir.filePath(QStringLiteral("shelf"));
    TestFiles::write(folder + QStringLiteral("/story.txt"), TestFiles::lines(100));

    {
        auto window = start();
        FilePanel *panel = window->filePanel();
        QVERIFY(panel->setFolder(folder));
        QTRY_COMPARE(panel->listedFiles(), QStringList {QStringLiteral("story.txt")});
        panel->File1_DblClick(QStringLiteral("story.txt"));
        QCOMPARE(m_data.LastBook, folder + QStringLiteral("/story.txt"));
        QTest::keyClick(window->textArea(), Qt::Key_Right);
        QTest::keyClick(window->textArea(), Qt::Key_Right);
        QCOMPARE(window->state().currentPage(), 2);
        m_data.LoadLastBook = loadLastBook;
        window->close();
    }

    auto window = start();
    QCOMPARE(window->findChild<QLineEdit *>(QStringLiteral("PageNumber"))->text(), pageAtNextStart);
    if (!pageAtNextStart.isEmpty()) {
        QCOMPARE(window->state().currentPage(), 2);
        QVERIFY(window->textArea()->text().startsWith(QStringLiteral("line 31\n")));
    }
    QVERIFY(m_prompts.messages().isEmpty());
}

void tst_startexit::deletedFavouriteIsReportedOnce()
{
    const QString folder = m_dir.filePath(QStringLiteral("favourite"));
    QDir().mkpath(folder);
    {
        auto window = start();
        QVERIFY(window->filePanel()->setFolder(folder));
        window->findChild<QPushButton *>(QStringLiteral("cmdFavorit"))->click();
        window->close();
    }
    {
        auto window = start();
        QCOMPARE(window->filePanel()->folder(), folder);
        window->close();
    }
    QVERIFY(m_prompts.messages().isEmpty());
    QVERIFY(QDir(folder).removeRecursively());
    {
        auto window = start();
        QCOMPARE(m_prompts.messages(),
                 QStringList {QStringLiteral("Favorit path not exist, reset to default")});
        window->close();
    }
    m_prompts.reset();
    auto window = start();
    QVERIFY(m_prompts.messages().isEmpty());
}

void tst_startexit::placementIsWrittenInTwips()
{
    QSettings store(QStringLiteral("Pagelark"), QStringLiteral("Pagelark"));
    store.clear();
    store.sync();
    {
        auto window = start();
        window->close();
    }
    store.sync();
    store.beginGroup(QStringLiteral("Settings"));
    const QString width = store.value(QStringLiteral("MainWidth")).toString();
    QVERIFY(!width.isEmpty());
    bool ok = false;
    QVERIFY(width.toDouble(&ok) >= 8000 && ok);
    for (const char *key : {"MainLeft", "MainTop", "MainHeight"})
        QVERIFY(store.contains(QLatin1String(key)));
    store.endGroup();

    store.clear();
    store.sync();
    auto window = start();
    window->showMinimized();
    if (!window->isMinimized())
        QSKIP("this platform does not minimize windows");
    window->close();
    store.sync();
    QVERIFY(!store.contains(QStringLiteral("Settings/MainWidth")));
    QVERIFY(QFile::exists(configFile()));
}

void tst_startexit::mixedFormatKeepsPreviousFields()
{
    auto window = start();
    m_data.FontBold = VTrue;
    window->openBook(TestFiles::write(m_dir.filePath(QStringLiteral("m.txt")), "half bold\r\n"));
    TextArea *view = window->textArea();
    view->selectWholeText();
    view->setSelBold(false);
    view->setSelStart(0);
    view->setSelLength(4);
    view->setSelBold(true);
    view->collapseSelection();
    window->close();
    GlobalData saved;
    RecordCodec::decode(TestFiles::read(configFile()), saved);
    QCOMPARE(saved.FontBold, VTrue);
    QCOMPARE(saved.FontItalic, VFalse);
}

void tst_startexit::nullTextColourKeepsViewColour()
{
    GlobalData stored = GlobalData::defaults();
    stored.ForeColor = {VariantValue::Null, 0};
    TestFiles::write(configFile(), RecordCodec::encode(stored));
    auto window = start();
    QCOMPARE(m_data.ForeColor.type, quint16(VariantValue::Null));
    TextArea *view = window->textArea();
    view->selectWholeText();
    QCOMPARE(view->selColor().value_or(QColor()), view->palette().color(QPalette::Text));
    view->collapseSelection();
}

QTEST_MAIN(tst_startexit)
#include "tst_startexit.moc"

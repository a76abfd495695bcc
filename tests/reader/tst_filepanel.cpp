// The file system panel of the reader window: drives, folders and books chained, the clicks on
// a book, and the favourite folder across a restart.
#include "reader/FilePanel.h"
#include "reader/frmMain.h"
#include "support/ReaderFixture.h"
#include "support/TestFiles.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

class tst_filepanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void drivesAreListed();
    void choosingADriveShowsItsFoldersAndBooks();
    void driveNotReady();
    void unreadableFolder_data();
    void unreadableFolder();
    void clickShowsFullPath_data();
    void clickShowsFullPath();
    void clickOnListShowsPathUntilNextPage();
    void doubleClickOpensBook();
    void favouriteComesBackAtNextStart();

private:
    FilePanel *panel() const { return m_fx.window()->filePanel(); }
    QComboBox *drives() const { return m_fx.find<QComboBox>(u"Drive1"_qs); }
    QTreeView *folders() const { return m_fx.find<QTreeView>(u"Dir1"_qs); }
    QListView *files() const { return m_fx.find<QListView>(u"File1"_qs); }
    QString drive() const { return QDir::cleanPath(m_fx.driveRoot()); }
    // Picks the drive at index in Drive1 as the user does.
    void pickDrive(int index);
    // The File1 entry named name, once the list has read it.
    QModelIndex listed(const QString &name) const;

    ReaderFixture m_fx;
};

void tst_filepanel::init()
{
    m_fx.init();
    for (const QString &name : {u"a.txt"_qs, u"b.html"_qs, u"c.htm"_qs, u"d.md"_qs, u"e.txt.bak"_qs,
                                u"f.htmlx"_qs, u"g"_qs})
        TestFiles::write(m_fx.driveRoot() + name, "x\n");
    QDir(m_fx.driveRoot()).mkpath(u"sub/inner"_qs);
    m_fx.writeBook(u"book.txt"_qs, 40, drive() + u"/sub"_qs);
    m_fx.start();
}

void tst_filepanel::cleanup()
{
    m_fx.close();
}

void tst_filepanel::pickDrive(int index)
{
    drives()->setCurrentIndex(index);
    Q_EMIT drives()->activated(index);
}

QModelIndex tst_filepanel::listed(const QString &name) const
{
    const auto *model = static_cast<QFileSystemModel *>(files()->model());
    const QString path = panel()->folder() + u'/' + name;
    if (!QTest::qWaitFor([&] { return panel()->listedFiles().contains(name); }))
        return {};
    return model->index(path);
}

void tst_filepanel::drivesAreListed()
{
    QStringList shown;
    for (int i = 0; i < drives()->count(); ++i)
        shown.append(drives()->itemText(i));
    QCOMPARE(shown, (QStringList {u"/"_qs, u"drive"_qs, u"card"_qs}));
    QVERIFY(m_fx.messages().isEmpty());
}

void tst_filepanel::choosingADriveShowsItsFoldersAndBooks()
{
    pickDrive(1);
    QCOMPARE(panel()->drive(), m_fx.driveRoot());
    QCOMPARE(panel()->folder(), drive());
    // Only books are listed.
    QTRY_COMPARE(panel()->listedFiles(), (QStringList {u"a.txt"_qs, u"b.html"_qs, u"c.htm"_qs}));
    QVERIFY(m_fx.messages().isEmpty());

    // A click on a folder in Dir1 moves File1 to it.
    const auto *model = static_cast<QFileSystemModel *>(folders()->model());
    QTRY_VERIFY(model->index(drive() + u"/sub"_qs).isValid());
    const QModelIndex sub = model->index(drive() + u"/sub"_qs);
    QTRY_VERIFY(!folders()->visualRect(sub).isEmpty());
    QTest::mouseClick(folders()->viewport(), Qt::LeftButton, {},
                      folders()->visualRect(sub).center());
    QCOMPARE(panel()->folder(), drive() + u"/sub"_qs);
    QTRY_COMPARE(panel()->listedFiles(), QStringList {u"book.txt"_qs});
    QCOMPARE(panel()->drive(), m_fx.driveRoot());

    // Back to the first drive: its root folder and its books.
    pickDrive(0);
    QCOMPARE(panel()->drive(), u"/"_qs);
    QCOMPARE(panel()->folder(), u"/"_qs);
}

void tst_filepanel::driveNotReady()
{
    pickDrive(1);
    const QString folder = panel()->folder();
    pickDrive(2);
    QCOMPARE(m_fx.messages(), QStringList {u"The drive card is not ready."_qs});
    QCOMPARE(drives()->currentIndex(), 1);
    QCOMPARE(panel()->drive(), m_fx.driveRoot());
    QCOMPARE(panel()->folder(), folder);
    QTRY_COMPARE(panel()->listedFiles(), (QStringList {u"a.txt"_qs, u"b.html"_qs, u"c.htm"_qs}));
}

// Each row makes a folder that cannot be read and asks the panel for it, as a folder of Dir1 or
// as the root of a drive that says it is ready.
void tst_filepanel::unreadableFolder_data()
{
    QTest::addColumn<bool>("asDrive");
    QTest::addColumn<bool>("removed"); // else a regular file stands where the folder was
    QTest::newRow("folder that is a file") << false << false;
    QTest::newRow("removed folder") << false << true;
    QTest::newRow("drive whose root is a file") << true << false;
    QTest::newRow("drive whose root was removed") << true << true;
}

void tst_filepanel::unreadableFolder()
{
    QFETCH(bool, asDrive);
    QFETCH(bool, removed);

    const QString bad = drive() + u"/bad"_qs;
    if (removed) {
        QVERIFY(QDir().mkpath(bad));
    } else {
        TestFiles::write(bad, "not a folder\n");
    }
    if (asDrive) {
        m_fx.close();
        m_fx.drives.drives.append({bad + u'/', u"bad"_qs, DriveInfo::Type::Fixed, true});
        m_fx.start();
    }
    pickDrive(1);
    QTRY_COMPARE(panel()->listedFiles(), (QStringList {u"a.txt"_qs, u"b.html"_qs, u"c.htm"_qs}));
    if (removed)
        QVERIFY(QDir(bad).removeRecursively());

    if (asDrive)
        pickDrive(3);
    else
        panel()->Dir1_Change(bad);

    QCOMPARE(m_fx.messages(),
             QStringList {u"The folder %1 cannot be read."_qs.arg(QDir::toNativeSeparators(bad))});
    QCOMPARE(drives()->currentIndex(), 1);
    QCOMPARE(panel()->drive(), m_fx.driveRoot());
    QCOMPARE(panel()->folder(), drive());
    const auto *model = static_cast<QFileSystemModel *>(folders()->model());
    QCOMPARE(model->filePath(folders()->currentIndex()), drive());
    QTRY_COMPARE(panel()->listedFiles(), (QStringList {u"a.txt"_qs, u"b.html"_qs, u"c.htm"_qs}));
}

void tst_filepanel::clickShowsFullPath_data()
{
    QTest::addColumn<QString>("folder"); // empty: the test drive's root folder
    QTest::addColumn<QString>("expected"); // with "%1" for the test drive's root
    QTest::newRow("root folder") << u"/"_qs << u"/a.txt"_qs;
    QTest::newRow("a drive's root") << QString() << u"%1/a.txt"_qs;
    QTest::newRow("a folder") << u"%1/sub"_qs << u"%1/sub/a.txt"_qs;
}

void tst_filepanel::clickShowsFullPath()
{
    QFETCH(QString, folder);
    QFETCH(QString, expected);
    pickDrive(folder == u"/" ? 0 : 1);
    if (!folder.isEmpty())
        QVERIFY(panel()->setFolder(folder.arg(drive())));
    panel()->File1_Click(u"a.txt"_qs);
    QCOMPARE(m_fx.viewText(), expected.arg(drive()));
    QCOMPARE(m_fx.window()->state().bookPath(), QString());
}

void tst_filepanel::clickOnListShowsPathUntilNextPage()
{
    const QString book = drive() + u"/sub/book.txt"_qs;
    m_fx.window()->openBook(book);
    QVERIFY(m_fx.window()->state().bookOpened());
    const QString page = m_fx.viewText();
    pickDrive(1);
    const QModelIndex a = listed(u"a.txt"_qs);
    QVERIFY(a.isValid());
    QTest::mouseClick(files()->viewport(), Qt::LeftButton, {}, files()->visualRect(a).center());
    QCOMPARE(m_fx.viewText(), drive() + u"/a.txt"_qs);
    QCOMPARE(m_fx.window()->state().bookPath(), book);
    QCOMPARE(m_fx.pageNumberText(), u"1"_qs);
    m_fx.setPageNumber(u"1"_qs);
    m_fx.window()->PageNumber_Change();
    QCOMPARE(m_fx.viewText(), page);
}

void tst_filepanel::doubleClickOpensBook()
{
    pickDrive(1);
    QVERIFY(panel()->setFolder(drive() + u"/sub"_qs));
    const QModelIndex book = listed(u"book.txt"_qs);
    QVERIFY(book.isValid());
    const QPoint at = files()->visualRect(book).center();
    QTest::mouseClick(files()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(files()->viewport(), Qt::LeftButton, {}, at);
    const QString path = drive() + u"/sub/book.txt"_qs;
    QCOMPARE(m_fx.window()->state().bookPath(), path);
    QVERIFY(m_fx.window()->state().bookOpened());
    QCOMPARE(m_fx.data.LastBook, path);
    QVERIFY(m_fx.viewText().startsWith(u"line 1\n"_qs));
    QVERIFY(m_fx.messages().isEmpty());
}

void tst_filepanel::favouriteComesBackAtNextStart()
{
    pickDrive(1);
    const QString favourite = drive() + u"/sub/inner"_qs;
    QVERIFY(panel()->setFolder(favourite));
    QTest::mouseClick(m_fx.find<QPushButton>(u"cmdFavorit"_qs), Qt::LeftButton);
    QCOMPARE(m_fx.data.FavoritePath, favourite);
    QCOMPARE(m_fx.data.FavoriteDrive, m_fx.driveRoot());
    QCOMPARE(m_fx.data.FavoriteSet, VTrue);
    QVERIFY(m_fx.messages().isEmpty());

    // Another folder on show at exit does not replace the favourite.
    pickDrive(0);
    m_fx.close();
    m_fx.start();
    QVERIFY(m_fx.messages().isEmpty());
    QCOMPARE(m_fx.data.FavoriteSet, VTrue);
    QCOMPARE(panel()->folder(), favourite);
    QCOMPARE(panel()->drive(), m_fx.driveRoot());
    QCOMPARE(drives()->currentIndex(), 1);
    const auto *model = static_cast<QFileSystemModel *>(folders()->model());
    QTRY_COMPARE(model->filePath(folders()->currentIndex()), favourite);
}

QTEST_MAIN(tst_filepanel)
#include "tst_filepanel.moc"

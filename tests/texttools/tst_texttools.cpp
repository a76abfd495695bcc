// The Text File Tools window through its controls: the folder tree, the selection list and the
// three operations, on real files in a temporary folder.
#include "app/FileChecks.h"
#include "support/FakeDrives.h"
#include "support/FileSizeLimit.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "texttools/HtmlPage.h"
#include "texttools/frmTextTool.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <memory>
#include <optional>
#include <unistd.h>

using Call = ScriptedPrompts::Call;

class tst_texttools : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void opensOnceAndFresh();
    void treeKeysImagesAndOneTimeFilling();
    void unreadyDriveIsReportedOnce();
    void unlistableFolderChangesNothing();
    void selectionListAddsAndRemoves();

    void deleteAsksThenReportsEachFile();
    void deleteKeepsWhatCannotBeDeleted();

    void conversionWritesPages();
    void conversionChecks_data();
    void conversionChecks();
    void secondRunNestsNewhtml();
    void stopDuringSecondOfThreeFiles();
    void closingStopsTheRunFirst();
    void conversionFailuresStopTheRun_data();
    void conversionFailuresStopTheRun();

    void combineChecks_data();
    void combineChecks();
    void combineOutputFolderIsRoot();
    void combineLayoutAndProgress();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void failedCombineLeavesTargetWhole_data();
    void failedCombineLeavesTargetWhole();
    void htmlOptionSkipsTheNameQuestion();

private:
    QString path(const QString &name) const { return m_root + name; }
    QString file(const QString &name, const QByteArray &bytes = "text\r\n")
    {
        return TestFiles::write(path(name), bytes);
    }
    template<typename T> T *child(const char *name) const
    {
        T *widget = m_window->findChild<T *>(QString::fromLatin1(name));
        Q_ASSERT(widget);
        return widget;
    }
    void chooseOutput(const QString &folder);
    void select(const QStringList &paths);
    QTreeWidgetItem *expand(const QString &key);
    QStringList statusesOf(const std::function<void()> &action);
    QString pageOf(const QString &folder, const QString &base) const
    {
        return folder + QStringLiteral("/") + base + QStringLiteral(".html");
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_root; // the temporary folder, ending in "/": the test's drive
    ScriptedPrompts m_prompts;
    FakeDrives m_drives;
    std::unique_ptr<frmTextTool> m_window;
};

void tst_texttools::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_root = m_dir->path() + u'/';
    m_prompts.reset();
    m_drives.drives = {{m_root, m_root, DriveInfo::Type::Fixed, true}};
    m_window = std::make_unique<frmTextTool>(m_prompts, m_drives);
}

void tst_texttools::cleanup()
{
    m_window.reset();
    m_dir.reset();
}

void tst_texttools::chooseOutput(const QString &folder)
{
    QVERIFY(m_window->setFileListPath(folder));
    child<QPushButton>("cmdSelect")->click();
}

void tst_texttools::select(const QStringList &paths)
{
    for (const QString &p : paths)
        m_window->addToSelection(p);
}

QTreeWidgetItem *tst_texttools::expand(const QString &key)
{
    QTreeWidgetItem *node = m_window->nodeByKey(key);
    if (node)
        node->setExpanded(true);
    return node;
}

QStringList tst_texttools::statusesOf(const std::function<void()> &action)
{
    QSignalSpy spy(m_window.get(), &frmTextTool::statusShown);
    action();
    QStringList texts;
    for (const QList<QVariant> &args : spy)
        texts.append(args.at(0).toString());
    return texts;
}

void tst_texttools::opensOnceAndFresh()
{
    ScriptedPrompts prompts;
    QPointer<frmTextTool> first = frmTextTool::showSingle(prompts, m_drives);
    QVERIFY(first && first->isVisible() && !first->parentWidget());
    QVERIFY(!first->isModal());
    first->addToSelection(path(QStringLiteral("a.txt")));
    QCOMPARE(frmTextTool::showSingle(prompts, m_drives), first.data());
    QCOMPARE(first->selectedFiles().size(), 1);

    first->findChild<QPushButton *>(QStringLiteral("cmdDone"))->click();
    QTRY_VERIFY(first.isNull());
    QPointer<frmTextTool> second = frmTextTool::showSingle(prompts, m_drives);
    QVERIFY(second->selectedFiles().isEmpty());
    QCOMPARE(second->windowTitle(), QStringLiteral("Text File Tools"));
    QVERIFY(second->findChild<QRadioButton *>(QStringLiteral("Option1"))->isChecked());
    QVERIFY(!second->findChild<QPushButton *>(QStringLiteral("cmdStop"))->isEnabled());
    QVERIFY(second->findChild<QLineEdit *>(QStringLiteral("outPutBox"))->text().isEmpty());
    QVERIFY(second->findChild<QLineEdit *>(QStringLiteral("outPutBox"))->isReadOnly());
    QCOMPARE(second->fileListPath(), QDir::currentPath());
    second->close();
    QTRY_VERIFY(second.isNull());
}

void tst_texttools::treeKeysImagesAndOneTimeFilling()
{
    QDir().mkpath(path(QStringLiteral("Books/Old/Older")));
    QDir().mkpath(path(QStringLiteral("books")));
    QDir().mkpath(path(QStringLiteral("usb")));
    m_drives.drives = {
        {m_root, QStringLiteral("Root Disk"), DriveInfo::Type::Fixed, true},
        {path(QStringLiteral("usb/")), QStringLiteral("Usb"), DriveInfo::Type::Removable, true},
        {path(QStringLiteral("cd/")), QStringLiteral("cd"), DriveInfo::Type::CdRom, false},
        {path(QStringLiteral("net/")), QStringLiteral("net"), DriveInfo::Type::Other, true},
    };
    m_window->FillDriveTree();
    QTreeWidget *tree = child<QTreeWidget>("tvwFolders");
    QCOMPARE(tree->topLevelItemCount(), 4);
    const int images[] = {2, 1, 3, 2};
    for (int i = 0; i < 4; ++i) {
        QTreeWidgetItem *drive = tree->topLevelItem(i);
        QCOMPARE(drive->data(0, frmTextTool::KeyRole).toString(), m_drives.drives.at(i).rootPath);
        QCOMPARE(drive->text(0), m_drives.drives.at(i).displayName);
        QCOMPARE(drive->data(0, frmTextTool::ImageRole).toInt(), images[i]);
        QCOMPARE(drive->childCount(), 1); // the expand button, also on the empty "usb"
    }

    QTreeWidgetItem *root = expand(m_root);
    QCOMPARE(root->childCount(), 3);
    const QStringList names = {QStringLiteral("Books"), QStringLiteral("books"),
                               QStringLiteral("usb")};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(root->child(i)->text(0), names.at(i));
        QCOMPARE(root->child(i)->data(0, frmTextTool::KeyRole).toString(),
                 m_root + names.at(i) + u'/');
        QCOMPARE(root->child(i)->data(0, frmTextTool::ImageRole).toInt(), 4);
    }
    QTreeWidgetItem *withSub = root->child(0);
    QCOMPARE(withSub->childCount(), 1);
    QCOMPARE(withSub->data(0, frmTextTool::ExpandedImageRole).toInt(), 5);
    QCOMPARE(root->child(1)->childCount(), 0);
    QCOMPARE(root->child(1)->data(0, frmTextTool::ExpandedImageRole).toInt(), 0);

    QTreeWidgetItem *old = expand(path(QStringLiteral("Books/")))->child(0);
    QCOMPARE(old->data(0, frmTextTool::KeyRole).toString(), path(QStringLiteral("Books/Old/")));
    expand(path(QStringLiteral("Books/Old/")));
    QCOMPARE(old->child(0)->data(0, frmTextTool::KeyRole).toString(),
             path(QStringLiteral("Books/Old/Older/")));

    // Filled once: new folders, a second expansion or a collapse add nothing.
    QDir().mkpath(path(QStringLiteral("later/x")));
    root->setExpanded(false);
    root->setExpanded(true);
    m_window->tvwFolders_Expand(root);
    QCOMPARE(root->childCount(), 3);
    QVERIFY(m_prompts.calls.isEmpty());
}

void tst_texttools::unreadyDriveIsReportedOnce()
{
    m_drives.drives.append(
        {path(QStringLiteral("cd/")), QStringLiteral("cd"), DriveInfo::Type::CdRom, false});
    m_window->FillDriveTree();
    QTreeWidgetItem *cd = expand(path(QStringLiteral("cd/")));
    QCOMPARE(m_prompts.calls.size(), 1);
    const Call call = m_prompts.calls.at(0);
    QCOMPARE(call.text, QStringLiteral("Device not avaible!"));
    QCOMPARE(call.title, QStringLiteral("Notaline v1.3"));
    QCOMPARE(call.icon, Prompts::Icon::Critical);
    QCOMPARE(cd->childCount(), 0);
    cd->setExpanded(false);
    cd->setExpanded(true);
    QCOMPARE(m_prompts.calls.size(), 1);
    QVERIFY(m_window->cursor().shape() != Qt::WaitCursor);
}

void tst_texttools::unlistableFolderChangesNothing()
{
    file(QStringLiteral("a.txt"));
    m_drives.drives.append(
        {path(QStringLiteral("gone/")), QStringLiteral("gone"), DriveInfo::Type::Fixed, true});
    m_drives.drives.append(
        {path(QStringLiteral("a.txt/")), QStringLiteral("file"), DriveInfo::Type::Fixed, true});
    m_window->FillDriveTree();
    QListWidget *files = child<QListWidget>("File1");
    m_window->tvwFolders_NodeClick(m_window->nodeByKey(m_root));
    QCOMPARE(files->count(), 1);
    for (const QString &key : {path(QStringLiteral("gone/")), path(QStringLiteral("a.txt/"))}) {
        QTreeWidgetItem *node = expand(key);
        QCOMPARE(node->childCount(), 0);
        m_window->tvwFolders_NodeClick(node);
        QCOMPARE(m_window->fileListPath(), m_dir->path());
        QCOMPARE(files->count(), 1);
    }
    QVERIFY(m_prompts.calls.isEmpty());
}

void tst_texttools::selectionListAddsAndRemoves()
{
    file(QStringLiteral("b.txt"));
    file(QStringLiteral("a.txt"));
    file(QStringLiteral("notes.md"));
    QDir().mkpath(path(QStringLiteral("empty")));
    QListWidget *files = child<QListWidget>("File1");
    QListWidget *list = child<QListWidget>("fileList");

    m_window->tvwFolders_NodeClick(m_window->nodeByKey(m_root));
    QCOMPARE(files->count(), 2);
    QCOMPARE(files->item(0)->text(), QStringLiteral("a.txt"));
    files->setCurrentRow(1);
    m_window->File1_DblClick();
    m_window->File1_DblClick();
    child<QPushButton>("cmdSelAll")->click();
    const QString a = path(QStringLiteral("a.txt"));
    const QString b = path(QStringLiteral("b.txt"));
    QCOMPARE(m_window->selectedFiles(), (QStringList {b, b, a, b}));

    QVERIFY(m_window->setFileListPath(path(QStringLiteral("empty"))));
    child<QPushButton>("cmdSelAll")->click();
    QCOMPARE(list->count(), 4);

    list->setCurrentRow(2);
    m_window->fileList_DblClick();
    QCOMPARE(m_window->selectedFiles(), (QStringList {b, b, b}));
    list->setCurrentRow(-1);
    m_window->fileList_DblClick();
    QCOMPARE(list->count(), 3);
    list->setCurrentRow(0);
    child<QPushButton>("cmdRemove")->click();
    QCOMPARE(list->count(), 0);

    child<QPushButton>("cmdSelect")->click();
    QCOMPARE(child<QLineEdit>("outPutBox")->text(), path(QStringLiteral("empty")));
}

void tst_texttools::deleteAsksThenReportsEachFile()
{
    const QStringList paths = {file(QStringLiteral("1.txt")), file(QStringLiteral("2.txt")),
                               file(QStringLiteral("3.txt"))};
    select(paths);
    // Cancel: nothing changes.
    QVERIFY(statusesOf([&] { child<QPushButton>("cmdDelete")->click(); }).isEmpty());
    QCOMPARE(m_prompts.calls.at(0).text, QStringLiteral("Really Delete all Selected Files?"));
    QCOMPARE(m_prompts.calls.at(0).title, QStringLiteral("Confirm"));
    QCOMPARE(m_prompts.calls.at(0).buttons, Prompts::Buttons::OkCancel);
    QCOMPARE(m_prompts.calls.at(0).icon, Prompts::Icon::None);
    QCOMPARE(m_window->selectedFiles(), paths);
    QVERIFY(QFile::exists(paths.at(0)));

    m_prompts.answers.enqueue(Prompts::Answer::Ok);
    const QStringList statuses = statusesOf([&] { child<QPushButton>("cmdDelete")->click(); });
    QCOMPARE(statuses,
             (QStringList {paths.at(1), paths.at(2), QString(),
                           QStringLiteral("All selected files deleted")}));
    QVERIFY(m_window->selectedFiles().isEmpty());
    for (const QString &p : paths)
        QVERIFY(!QFile::exists(p));
}

void tst_texttools::deleteKeepsWhatCannotBeDeleted()
{
    const QString a = file(QStringLiteral("a.txt"));
    const QString gone = path(QStringLiteral("gone.txt"));
    const QString folder = path(QStringLiteral("folder.txt"));
    QDir().mkpath(folder + QStringLiteral("/inner"));
    const QString b = file(QStringLiteral("b.txt"));
    select({a, gone, folder, b, a});
    m_prompts.answers.enqueue(Prompts::Answer::Ok);
    const QStringList statuses = statusesOf([&] { child<QPushButton>("cmdDelete")->click(); });
    QCOMPARE(m_window->selectedFiles(), (QStringList {gone, folder, a}));
    QVERIFY(!QFile::exists(a));
    QVERIFY(!QFile::exists(b));
    QVERIFY(QFileInfo::exists(folder + QStringLiteral("/inner")));
    QCOMPARE(statuses.at(0), gone);
    QCOMPARE(statuses.at(3), a);
    const QString last = statuses.last();
    QVERIFY2(last.contains(gone) && last.contains(folder) && last.contains(a), qPrintable(last));
    QVERIFY(!last.contains(b));
}

void tst_texttools::conversionWritesPages()
{
    const QString story = file(QStringLiteral("story.txt"), "Hello\r\n\r\nWorld\r\n");
    const QString empty = file(QStringLiteral("empty.txt"), "");
    const QString plain = file(QStringLiteral("a<b.txt"), "one line");
    select({story, empty, plain});
    chooseOutput(m_dir->path());
    child<QRadioButton>("Option2")->setChecked(true);
    QList<qsizetype> items;
    m_window->conversionStepHook = [&](int file, qsizetype) {
        if (file == 0)
            items.append(child<QProgressBar>("ProgressBar1")->maximum());
        QVERIFY(!child<QPushButton>("cmdExecute")->isEnabled());
        QVERIFY(!child<QPushButton>("cmdDone")->isEnabled());
        QVERIFY(child<QPushButton>("cmdStop")->isEnabled());
    };
    child<QPushButton>("cmdExecute")->click();

    const QString folder = path(QStringLiteral("newhtml"));
    QCOMPARE(items, (QList<qsizetype> {4, 4, 4, 4}));
    const QByteArray I = kLineIndentation;
    const QByteArray expected =
        "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; "
        "charset=windows-1252\">\r\n<title>story</title>\r\n</head>\r\n<body leftmargin=64 "
        "style=\"border-left: medium solid rgb(111,0,221); border-top: medium solid "
        "rgb(84,0,168)\">\r\n<br><font color=\"navy\"><H2>story</H2></font>\r\n<p "
        "align=\"justify\">"
        + I + "Hello\r\n<br>" + I + "World\r\n<br>" + I
        + "</p>\r\n<hr color=rgb(84,0,168)>\r\n<br><br><br><br>\r\n</body>\r\n</html>\r\n";
    QCOMPARE(TestFiles::read(pageOf(folder, QStringLiteral("story"))), expected);
    QCOMPARE(TestFiles::read(pageOf(folder, QStringLiteral("empty"))),
             HtmlPage::build("", QStringLiteral("empty")));
    QVERIFY(
        TestFiles::read(pageOf(folder, QStringLiteral("a<b"))).contains("<title>a&lt;b</title>"));
    QCOMPARE(child<QProgressBar>("ProgressBar1")->maximum(), 1);
    QCOMPARE(child<QProgressBar>("ProgressBar1")->value(), 1);
    QCOMPARE(child<QLineEdit>("outPutBox")->text(), folder);
    QCOMPARE(m_window->statusText(), QStringLiteral("Done..."));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("txt tools"));
    QVERIFY(!child<QPushButton>("cmdStop")->isEnabled());
    QVERIFY(child<QPushButton>("cmdExecute")->isEnabled());
    QVERIFY(m_window->cursor().shape() != Qt::WaitCursor);
    QVERIFY(m_prompts.calls.isEmpty());
}

void tst_texttools::conversionChecks_data()
{
    QTest::addColumn<bool>("withFile");
    QTest::addColumn<bool>("withOutput");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("status");

    const QString none = QStringLiteral("Needs at least one file to convert");
    const QString noPath = QStringLiteral("Action Ignored, Need new file path");
    QTest::newRow("no file") << false << true << QStringList {none} << QString();
    QTest::newRow("no output folder") << true << false << QStringList {} << noPath;
    QTest::newRow("neither") << false << false << QStringList {none} << noPath;
}

void tst_texttools::conversionChecks()
{
    QFETCH(bool, withFile);
    QFETCH(bool, withOutput);
    QFETCH(QStringList, messages);
    QFETCH(QString, status);
    if (withFile)
        select({file(QStringLiteral("a.txt"))});
    if (withOutput)
        chooseOutput(m_dir->path());
    m_window->StopFlag = true;
    m_window->text2html();
    QCOMPARE(m_prompts.messages(), messages);
    QCOMPARE(m_window->statusText(), status);
    QVERIFY(!m_window->StopFlag);
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("newhtml"))));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Text File Tools"));
}

void tst_texttools::secondRunNestsNewhtml()
{
    select({file(QStringLiteral("a.txt")), file(QStringLiteral("b.txt"))});
    chooseOutput(m_dir->path());
    QDir().mkdir(path(QStringLiteral("newhtml")));
    const QString exists =
        QStringLiteral("directory already exist, create new directory action ignored");
    QStringList statuses = statusesOf([&] { m_window->text2html(); });
    QCOMPARE(statuses, (QStringList {exists, exists, QStringLiteral("Done...")}));
    QVERIFY(QFile::exists(pageOf(path(QStringLiteral("newhtml")), QStringLiteral("b"))));

    statuses = statusesOf([&] { m_window->text2html(); });
    const QString nested = path(QStringLiteral("newhtml/newhtml"));
    QCOMPARE(statuses, (QStringList {exists, QStringLiteral("Done...")}));
    QCOMPARE(child<QLineEdit>("outPutBox")->text(), nested);
    QVERIFY(QFile::exists(pageOf(nested, QStringLiteral("a"))));
    QVERIFY(QFile::exists(pageOf(nested, QStringLiteral("b"))));
}

void tst_texttools::stopDuringSecondOfThreeFiles()
{
    select({file(QStringLiteral("1.txt"), "a\r\nb\r\n"),
            file(QStringLiteral("2.txt"), "a\r\nb\r\n"),
            file(QStringLiteral("3.txt"), "a\r\nb\r\n")});
    chooseOutput(m_dir->path());
    child<QRadioButton>("Option2")->setChecked(true);
    int passesAfterStop = 0;
    m_window->conversionStepHook = [&](int file, qsizetype item) {
        if (m_window->StopFlag)
            ++passesAfterStop;
        if (file == 1 && item == 0)
            QTest::mouseClick(child<QPushButton>("cmdStop"), Qt::LeftButton);
    };
    child<QPushButton>("cmdExecute")->click();

    QCOMPARE(m_prompts.calls.size(), 1);
    QCOMPARE(m_prompts.calls.at(0).text, QStringLiteral("Convertation Aborted By User!"));
    QCOMPARE(m_prompts.calls.at(0).title, QStringLiteral("Warning!"));
    QCOMPARE(m_prompts.calls.at(0).icon, Prompts::Icon::Exclamation);
    QCOMPARE(passesAfterStop, 0);
    const QString folder = path(QStringLiteral("newhtml"));
    QVERIFY(QFile::exists(pageOf(folder, QStringLiteral("1"))));
    QVERIFY(!QFile::exists(pageOf(folder, QStringLiteral("2"))));
    QVERIFY(!QFile::exists(pageOf(folder, QStringLiteral("3"))));
    QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 1);
    QCOMPARE(m_window->statusText(), QStringLiteral("Done..."));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("txt tools"));
    QVERIFY(!child<QPushButton>("cmdStop")->isEnabled());
    QVERIFY(child<QPushButton>("cmdDelete")->isEnabled());
}

void tst_texttools::closingStopsTheRunFirst()
{
    select({file(QStringLiteral("1.txt"), "a\r\nb\r\n"), file(QStringLiteral("2.txt"))});
    chooseOutput(m_dir->path());
    m_window->show();
    bool visibleAfterClose = false;
    m_window->conversionStepHook = [&](int file, qsizetype item) {
        if (file == 0 && item == 0) {
            m_window->close();
            visibleAfterClose = m_window->isVisible();
        }
    };
    m_window->text2html();
    QVERIFY(visibleAfterClose);
    QVERIFY(!m_window->isVisible());
    QVERIFY(!QFileInfo::exists(pageOf(path(QStringLiteral("newhtml")), QStringLiteral("1"))));
    QVERIFY(m_prompts.calls.isEmpty());
}

void tst_texttools::conversionFailuresStopTheRun_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("source gone") << QStringLiteral("source");
    QTest::newRow("page cannot be written") << QStringLiteral("page");
    QTest::newRow("folder cannot be made") << QStringLiteral("folder");
    QTest::newRow("read-only folder") << QStringLiteral("read-only");
    QTest::newRow("full disk") << QStringLiteral("full");
}

namespace {

// A folder this process may not write into; root writes anywhere, so there is none for root.
bool makeReadOnly(const QString &folder)
{
    return geteuid() != 0
        && QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
}

} // namespace

void tst_texttools::conversionFailuresStopTheRun()
{
    QFETCH(QString, fault);
    const QString first = fault == QLatin1String("source") ? path(QStringLiteral("gone.txt"))
                                                           : file(QStringLiteral("first.txt"));
    select({first, file(QStringLiteral("second.txt"))});
    QString output = m_dir->path();
    if (fault == QLatin1String("read-only")) {
        output = path(QStringLiteral("locked"));
        QDir().mkpath(output);
        if (!makeReadOnly(output))
            QSKIP("every folder is writable for this user");
    }
    chooseOutput(output);
    if (fault == QLatin1String("page"))
        QDir().mkpath(path(QStringLiteral("newhtml/first.html")));
    if (fault == QLatin1String("folder"))
        file(QStringLiteral("newhtml"), "a file");
    {
        std::optional<FileSizeLimit> full;
        if (fault == QLatin1String("full"))
            QVERIFY(full.emplace(64).isActive());
        m_window->text2html();
    }
    QFile::setPermissions(output, QFile::permissions(m_dir->path()));

    QCOMPARE(m_prompts.calls.size(), 1);
    const QString report = m_prompts.calls.at(0).text;
    QVERIFY2(report.startsWith(QStringLiteral("Conversion stopped")), qPrintable(report));
    const QString pages = output + QStringLiteral("/newhtml");
    QVERIFY2(report.contains(fault == QLatin1String("source") ? first : pages), qPrintable(report));
    QCOMPARE(m_window->statusText(), report);
    QVERIFY(!QFileInfo::exists(pageOf(pages, QStringLiteral("second"))));
    if (fault == QLatin1String("full"))
        QVERIFY(!QFileInfo::exists(pageOf(pages, QStringLiteral("first"))));
    QVERIFY(m_window->cursor().shape() != Qt::WaitCursor);
    QVERIFY(!m_window->isConverting());
    QVERIFY(child<QPushButton>("cmdExecute")->isEnabled());
}

void tst_texttools::combineChecks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("listed"); // names in the folder; "*" prefix: made as a link
    QTest::addColumn<bool>("withOutput");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("status");

    const QString two = QStringLiteral("Needs at least two files to compile");
    const QString itself =
        QStringLiteral("Can't combine file into itself, please enter a new file name");
    const QString noName = QStringLiteral("Action Ignored, New File Name Not Entered");
    const QString noPath = QStringLiteral("Action Ignored, Need new file path");
    const QString done = QStringLiteral("Combine Files Done");
    const QStringList ab = {QStringLiteral("a.txt"), QStringLiteral("b.txt")};

    QTest::newRow("no name") << QString() << ab << true << QStringList {} << noName;
    QTest::newRow("no name, no folder")
        << QString() << QStringList {} << false << QStringList {} << noPath;
    QTest::newRow("one file") << QStringLiteral("n.txt") << QStringList {QStringLiteral("a.txt")}
                              << true << QStringList {two} << QString();
    QTest::newRow("one file, no folder")
        << QStringLiteral("n.txt") << QStringList {} << false << QStringList {two} << noPath;
    QTest::newRow("one file that is the target")
        << QStringLiteral("a.txt") << QStringList {QStringLiteral("a.txt")} << true
        << QStringList {two, itself} << QString();
    QTest::newRow("target listed twice")
        << QStringLiteral("a.txt")
        << QStringList {QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("a.txt")}
        << true << QStringList {itself, itself} << QString();
    QTest::newRow("target through a link")
        << QStringLiteral("a.txt")
        << QStringList {QStringLiteral("*link.txt"), QStringLiteral("b.txt")} << true
        << QStringList {itself} << QString();
    QTest::newRow("target by another spelling")
        << QStringLiteral("a.txt")
        << QStringList {QStringLiteral("sub/../a.txt"), QStringLiteral("b.txt")} << true
        << QStringList {itself} << QString();
    QTest::newRow("other letter case is another file")
        << QStringLiteral("A.txt") << ab << true << QStringList {} << done;
}

void tst_texttools::combineChecks()
{
    QFETCH(QString, name);
    QFETCH(QStringList, listed);
    QFETCH(bool, withOutput);
    QFETCH(QStringList, messages);
    QFETCH(QString, status);
    const QString a = file(QStringLiteral("a.txt"), "a\r\n");
    file(QStringLiteral("b.txt"), "b");
    QDir().mkpath(path(QStringLiteral("sub")));
    QVERIFY(QFile::link(a, path(QStringLiteral("link.txt"))));
    QStringList paths;
    for (QString entry : listed)
        paths.append(path(entry.remove(u'*')));
    select(paths);
    if (withOutput)
        chooseOutput(m_dir->path());
    m_prompts.inputs.enqueue(name);
    child<QPushButton>("cmdExecute")->click();

    QCOMPARE(m_prompts.calls.at(0).kind, Call::Input);
    QCOMPARE(m_prompts.calls.at(0).text,
             QStringLiteral("please enter the new file name(Example: newfile.txt)"));
    QCOMPARE(m_prompts.calls.at(0).title, QStringLiteral("Enter New File Name"));
    QCOMPARE(m_prompts.messages(), messages);
    QCOMPARE(m_window->statusText(), status);
    QCOMPARE(TestFiles::read(a), QByteArray("a\r\n"));
    if (status != QLatin1String("Combine Files Done"))
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 3);
    else
        QCOMPARE(TestFiles::read(path(name)), QByteArray("a\r\nb\r\n"));
}

void tst_texttools::combineOutputFolderIsRoot()
{
    m_drives.drives = {{QStringLiteral("/"), QStringLiteral("/"), DriveInfo::Type::Fixed, true}};
    m_window->FillDriveTree();
    m_window->tvwFolders_NodeClick(m_window->nodeByKey(QStringLiteral("/")));
    QCOMPARE(m_window->fileListPath(), QStringLiteral("/"));
    child<QPushButton>("cmdSelect")->click();
    QCOMPARE(child<QLineEdit>("outPutBox")->text(), QStringLiteral("/"));
    // Names that cannot be taken, so that nothing reaches the real root even on a fault.
    const QString name =
        QStringLiteral("pagelark-test-%1.txt").arg(QCoreApplication::applicationPid());
    select({QStringLiteral("/") + name, m_root + QStringLiteral("x.txt")});
    m_prompts.inputs.enqueue(name);
    child<QPushButton>("cmdExecute")->click();
    QCOMPARE(m_prompts.messages(),
             QStringList {
                 QStringLiteral("Can't combine file into itself, please enter a new file name")});
    QVERIFY(!QFileInfo::exists(QStringLiteral("/") + name));
}

void tst_texttools::combineLayoutAndProgress()
{
    const QStringList paths = {file(QStringLiteral("1.txt"), "x\r\n"),
                               file(QStringLiteral("2.txt"), "y"),
                               file(QStringLiteral("3.txt"), "\xE9z")};
    select(paths);
    chooseOutput(m_dir->path());
    m_prompts.inputs.enqueue(QStringLiteral("all"));
    const QStringList statuses = statusesOf([&] { child<QPushButton>("cmdExecute")->click(); });
    QCOMPARE(TestFiles::read(path(QStringLiteral("all"))), QByteArray("x\r\ny\r\n\xE9z\r\n"));
    QCOMPARE(
        statuses,
        (QStringList {QStringLiteral("wait please"),
                      QStringLiteral("wait please ") + paths.at(1) + QStringLiteral(" Combined"),
                      QStringLiteral("wait please ") + paths.at(2) + QStringLiteral(" Combined"),
                      QStringLiteral("Combine Files Done")}));
    QCOMPARE(child<QProgressBar>("ProgressBar1")->maximum(), 2);
    QCOMPARE(child<QProgressBar>("ProgressBar1")->value(), 2);
    QCOMPARE(m_prompts.messages(), QStringList());
    QVERIFY(m_window->cursor().shape() != Qt::WaitCursor);
}

void tst_texttools::overwriteQuestion_data()
{
    QTest::addColumn<Prompts::Answer>("answer");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("status");
    QTest::newRow("yes") << Prompts::Answer::Yes << QByteArray("a\r\nb\r\n")
                         << QStringLiteral("Combine Files Done");
    QTest::newRow("no") << Prompts::Answer::No << QByteArray("old")
                        << QStringLiteral("Skipped file, file already existed");
}

void tst_texttools::overwriteQuestion()
{
    QFETCH(Prompts::Answer, answer);
    QFETCH(QByteArray, content);
    QFETCH(QString, status);
    select({file(QStringLiteral("a.txt"), "a\r\n"), file(QStringLiteral("b.txt"), "b")});
    const QString target = file(QStringLiteral("out.txt"), "old");
    chooseOutput(m_dir->path());
    m_prompts.inputs.enqueue(QStringLiteral("out.txt"));
    m_prompts.answers.enqueue(answer);
    child<QPushButton>("cmdExecute")->click();
    QCOMPARE(m_prompts.calls.size(), 2);
    const Call question = m_prompts.calls.at(1);
    QCOMPARE(question.text,
             QStringLiteral("File ") + target
                 + QStringLiteral(" allready exists!\r\nDo you want to overwrite it?"));
    QCOMPARE(question.title, QStringLiteral("Warning!"));
    QCOMPARE(question.buttons, Prompts::Buttons::YesNo);
    QCOMPARE(question.icon, Prompts::Icon::Exclamation);
    QCOMPARE(TestFiles::read(target), content);
    QCOMPARE(m_window->statusText(), status);
}

void tst_texttools::failedCombineLeavesTargetWhole_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("missing");
    QTest::newRow("a source gone") << QStringLiteral("out.txt") << QStringLiteral("gone.txt");
    QTest::newRow("target is a folder") << QStringLiteral("folder") << QString();
    QTest::newRow("read-only folder") << QStringLiteral("out.txt") << QStringLiteral("read-only");
    QTest::newRow("full disk") << QStringLiteral("out.txt") << QStringLiteral("full");
}

void tst_texttools::failedCombineLeavesTargetWhole()
{
    QFETCH(QString, name);
    QFETCH(QString, missing);
    // A gone source is named as such; a full disk or a locked folder stops the target's write.
    const bool sourceGone = missing.endsWith(QLatin1String(".txt"));
    const bool readOnly = missing == QLatin1String("read-only");
    const QString output = readOnly ? path(QStringLiteral("locked")) : m_dir->path();
    QDir().mkpath(output);
    const QString target = TestFiles::write(output + QStringLiteral("/out.txt"), "old");
    if (readOnly && !makeReadOnly(output))
        QSKIP("every folder is writable for this user");
    QDir().mkpath(path(QStringLiteral("folder/inner")));
    select({file(QStringLiteral("a.txt"), QByteArray(200, 'a')),
            sourceGone ? path(missing) : file(QStringLiteral("b.txt"))});
    chooseOutput(output);
    m_prompts.inputs.enqueue(name);
    m_prompts.answers.enqueue(Prompts::Answer::Yes);
    {
        std::optional<FileSizeLimit> full;
        if (missing == QLatin1String("full"))
            QVERIFY(full.emplace(64).isActive());
        child<QPushButton>("cmdExecute")->click();
    }
    QFile::setPermissions(output, QFile::permissions(m_dir->path()));
    const QString report = m_prompts.messages().constLast();
    QVERIFY2(report.startsWith(QStringLiteral("Combine stopped")), qPrintable(report));
    QVERIFY(report.contains(sourceGone ? path(missing) : output + u'/' + name));
    QCOMPARE(m_window->statusText(), report);
    QCOMPARE(TestFiles::read(target), QByteArray("old"));
    QVERIFY(QFileInfo(path(QStringLiteral("folder/inner"))).isDir());
    QCOMPARE(QDir(output).entryList(QDir::Files).size(), readOnly ? 1 : (sourceGone ? 2 : 3));
    QVERIFY(m_window->cursor().shape() != Qt::WaitCursor);
}

void tst_texttools::htmlOptionSkipsTheNameQuestion()
{
    select({file(QStringLiteral("a.txt"))});
    chooseOutput(m_dir->path());
    child<QRadioButton>("Option2")->setChecked(true);
    child<QPushButton>("cmdExecute")->click();
    QVERIFY(m_prompts.calls.isEmpty());
    QVERIFY(QFile::exists(pageOf(path(QStringLiteral("newhtml")), QStringLiteral("a"))));
}

QTEST_MAIN(tst_texttools)
#include "tst_texttools.moc"

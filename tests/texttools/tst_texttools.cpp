// The Text File Tools window through its controls, found by name, on real files: a selection
// built in the tree, then Combine, TXT2HTML stopped while it yields, and Delete.
#include "support/FakeDrives.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"
#include "texttools/frmTextTool.h"

#include <QAbstractButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

using namespace Qt::StringLiterals;

class tst_texttools : public QObject
{
    Q_OBJECT

    template<typename T = QAbstractButton> T *child(const char *name) const
    {
        return m_window->findChild<T *>(QLatin1String(name));
    }
    QString text(const char *name) const
    {
        return child<QObject>(name)->property("text").toString();
    }
    QString path(const QString &name) const { return m_dir->filePath(name); }
    // Every "*.txt" file of the test's drive into the list, and the drive as the output folder.
    void selectAll()
    {
        QTreeWidget *tree = child<QTreeWidget>("tvwFolders");
        Q_EMIT tree->itemClicked(tree->topLevelItem(0), 0);
        child("cmdSelAll")->click();
        child("cmdSelect")->click();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedPrompts m_prompts;
    FakeDrives m_drives;
    std::unique_ptr<frmTextTool> m_window;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_prompts.reset();
        m_drives.drives = {{m_dir->path() + u'/', u"disk"_s, DriveInfo::Type::Fixed, true},
                           {path(u"cd/"_s), u"cd"_s, DriveInfo::Type::CdRom, false}};
        for (const char *name : {"a.txt", "b.txt", "Books/notes.md"})
            TestFiles::write(path(QLatin1String(name)), "a\r\n");
        m_window = std::make_unique<frmTextTool>(m_prompts, m_drives);
    }

    void cleanup() { m_window.reset(); }

    void selectionThroughTreeAndLists()
    {
        QTreeWidget *tree = child<QTreeWidget>("tvwFolders");
        for (QTreeWidgetItem *drive : {tree->topLevelItem(0), tree->topLevelItem(1)}) {
            drive->setExpanded(true);
            m_window->tvwFolders_Expand(drive); // once filled, adds nothing
        }
        QCOMPARE(tree->topLevelItem(0)->childCount(), 1);
        QCOMPARE(tree->topLevelItem(0)->child(0)->data(0, frmTextTool::KeyRole).toString(),
                 path(u"Books/"_s));
        QCOMPARE(m_prompts.calls.at(0).title + u'|' + m_prompts.messages().join(u'|'),
                 u"Notaline v1.3|Device not avaible!"_s);

        selectAll();
        QCOMPARE(m_window->selectedFiles(), (QStringList {path(u"a.txt"_s), path(u"b.txt"_s)}));
        QCOMPARE(text("outPutBox"), m_dir->path());
    }

    void combineAsksBeforeReplacing()
    {
        const QString all = TestFiles::write(path(u"all"_s), "old");
        selectAll();
        m_prompts.inputs << u"all"_s << u"all"_s << u"all"_s;
        m_prompts.answers << Prompts::Answer::No << Prompts::Answer::Yes << Prompts::Answer::Yes;
        child("cmdExecute")->click();
        const ScriptedPrompts::Call name = m_prompts.calls.at(0), question = m_prompts.calls.at(1);
        QCOMPARE(name.title + u'|' + name.text,
                 u"Enter New File Name|please enter the new file name(Example: newfile.txt)"_s);
        QVERIFY(question.title == u"Warning!" && question.buttons == Prompts::Buttons::YesNo
                && question.icon == Prompts::Icon::Exclamation && question.text.contains(all));
        QCOMPARE(text("StatusBar1Panel1"), u"Skipped file, file already existed"_s);
        QCOMPARE(TestFiles::read(all), "old");

        child("cmdExecute")->click();
        QCOMPARE(text("StatusBar1Panel1"), u"Combine Files Done"_s);
        QCOMPARE(TestFiles::read(all), "a\r\na\r\n\r\n");

        QFile::remove(path(u"b.txt"_s));
        child("cmdExecute")->click();
        QVERIFY(text("StatusBar1Panel1").startsWith(u"Combine stopped, cannot read "_s));
        QCOMPARE(m_prompts.messages().constLast(), text("StatusBar1Panel1"));
    }

    void conversionStopsWhileItYields_data()
    {
        QTest::addColumn<bool>("byClosing");
        QTest::newRow("Stop pressed") << false;
        QTest::newRow("window closed") << true;
    }

    void conversionStopsWhileItYields()
    {
        QFETCH(bool, byClosing);
        // The run yields before each file, so the button is pressed before the first page is
        // written, however fast the machine.
        selectAll();
        child("Option2")->click();
        m_window->show();
        QTimer::singleShot(0, m_window.get(), [&] {
            byClosing ? void(m_window->close()) : child("cmdStop")->click();
        });
        child("cmdExecute")->click();
        QCOMPARE(QDir(path(u"newhtml"_s)).entryList(QDir::Files), QStringList());
        QCOMPARE(m_prompts.messages(),
                 byClosing ? QStringList() : QStringList {u"Convertation Aborted By User!"_s});
        for (const ScriptedPrompts::Call &call : m_prompts.calls)
            QVERIFY(call.title == u"Warning!" && call.icon == Prompts::Icon::Exclamation);
        QCOMPARE(m_window->isVisible(), !byClosing);
        QCOMPARE(text("StatusBar1Panel1") + m_window->windowTitle(), u"Done...txt tools"_s);
        QCOMPARE(text("outPutBox"), path(u"newhtml"_s));
        QVERIFY(!child("cmdStop")->isEnabled() && child("cmdExecute")->isEnabled());
    }

    void deleteKeepsWhatItCannotDelete()
    {
        selectAll();
        child("cmdDelete")->click(); // answered Cancel
        QCOMPARE(m_prompts.calls.at(0).text, u"Really Delete all Selected Files?"_s);
        QCOMPARE(m_prompts.calls.at(0).buttons, Prompts::Buttons::OkCancel);
        QVERIFY(QFile::remove(path(u"a.txt"_s)));
        m_prompts.answers << Prompts::Answer::Ok;
        child("cmdDelete")->click();
        QCOMPARE(m_window->selectedFiles(), QStringList {path(u"a.txt"_s)});
    }
};

PAGELARK_TEST(tst_texttools);
#include "tst_texttools.moc"

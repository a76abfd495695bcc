// The About box: the system information tool found through the registry and started, or the
// message that it is unavailable. The dialog over the reader window: tests/reader.
#include "about/SysInfo.h"
#include "about/frmAbout.h"
#include "support/FakeDesktop.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFiles.h"
#include "support/TestMain.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The registry's two entries, each null when missing; %1 stands for a folder that holds
// MSINFO32.EXE when `tool` says so. `started` is the program started, null for none.
struct Row
{
    QByteArray first;
    QString second;
    bool tool;
    bool failStart;
    QString started;
};

} // namespace

class tst_about : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startSysInfo_data()
    {
        QTest::addColumn<Row>("row");
        const QString tool = u"%1/MSINFO32.EXE"_s;
        QTest::newRow("no entries") << Row {{}, {}, true, false, {}};
        QTest::newRow("second entry, a folder") << Row {{}, u"%1/"_s, true, false, tool};
        QTest::newRow("no tool in its folder") << Row {{}, u"%1"_s, false, false, {}};
        QTest::newRow("first entry started as it is")
            << Row {"/no/such dir/info", u"%1"_s, true, false, u"/no/such dir/info"_s};
        QTest::newRow("first entry fails: no second try")
            << Row {"/no/tool", u"%1"_s, true, true, u"/no/tool"_s};
    }

    void startSysInfo()
    {
        QFETCH(Row, row);
        const QTemporaryDir folder;
        if (row.tool)
            TestFiles::write(folder.filePath(u"MSINFO32.EXE"_s), "#!/bin/sh\n");
        FakeRegistry registry;
        if (!row.first.isNull())
            registry.set(SysInfo::pathKey() + u'\\' + SysInfo::pathValue(), row.first);
        if (!row.second.isNull())
            registry.set(SysInfo::locationKey() + u'\\' + SysInfo::locationValue(),
                         row.second.arg(folder.path()).toLocal8Bit());
        ScriptedPrompts prompts;
        FakeLauncher launcher;
        launcher.failStart = row.failStart;
        frmAbout about(prompts, registry, launcher, nullptr);
        about.findChild<QPushButton *>(u"cmdSysInfo"_s)->click();
        const QList<QStringList> starts {{QString(row.started).replace(u"%1"_s, folder.path())}};
        QCOMPARE(launcher.starts, row.started.isNull() ? QList<QStringList>() : starts);
        QCOMPARE(prompts.messages(),
                 row.started.isNull() || row.failStart
                     ? QStringList {u"System Information Is Unavailable At This Time"_s}
                     : QStringList());
    }
};

PAGELARK_TEST(tst_about);
#include "tst_about.moc"

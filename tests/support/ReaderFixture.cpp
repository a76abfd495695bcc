#include "support/ReaderFixture.h"

#include "app/AppInfo.h"
#include "settings/RecordCodec.h"
#include "settings/SettingsFile.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The placement store reads $XDG_CONFIG_HOME once per process, so every fixture of a run shares
// one temporary folder, and the variable names its config folder from the first fixture on.
QString ReaderFixture::under(const QString &name)
{
    static const QTemporaryDir root;
    return root.filePath(name);
}

ReaderFixture::ReaderFixture()
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(under(QStringLiteral("config"))));
}

void ReaderFixture::init()
{
    m_window.reset();
    prompts.reset();
    launcher = FakeLauncher();
    launcher.editor = QStringLiteral("/usr/bin/text editor");
    registry = FakeRegistry();
    drives.drives = {{QStringLiteral("/"), QStringLiteral("/"), DriveInfo::Type::Fixed, true},
                     {driveRoot(), QStringLiteral("drive"), DriveInfo::Type::Fixed, true},
                     {under(QStringLiteral("card/")), QStringLiteral("card"),
                      DriveInfo::Type::Removable, false}};
    for (const QString &folder : {under(QStringLiteral("config")), booksFolder(), driveRoot()}) {
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
    }
    QSettings(AppInfo::title(), AppInfo::title()).clear();
}

frmMain *ReaderFixture::start()
{
    m_window.reset();
    data = GlobalData();
    m_window =
        std::make_unique<frmMain>(prompts, data, frmMain::Desktop {drives, launcher, registry});
    m_window->Form_Load(ConfigFilePath());
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        QTest::qFail("the reader window was not shown", __FILE__, __LINE__);
    return m_window.get();
}

void ReaderFixture::close()
{
    if (m_window)
        m_window->close();
    m_window.reset();
}

QString ReaderFixture::text(const QString &name) const
{
    if (const auto *edit = find<QLineEdit>(name))
        return edit->text();
    const auto *label = find<QLabel>(name);
    return label ? label->text() : QStringLiteral("<no control %1>").arg(name);
}

// Gives up after a few seconds, so that a dialog that never opens fails only its test. A check
// that fails in the answer returns from it before the dialog is closed: the dialog is closed
// here, so that the test ends at once with its failure rather than waiting for the program's
// timeout; an answer that leaves the dialog open fails the test too.
void ReaderFixture::answerModal(std::function<void(QWidget *)> answer)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout,
                     [timer, answer = std::move(answer), tries = 0]() mutable {
                         QWidget *dialog = QApplication::activeModalWidget();
                         if (!dialog && ++tries < 500)
                             return;
                         timer->stop();
                         timer->deleteLater();
                         if (!dialog) {
                             QTest::qFail("no dialog opened", __FILE__, __LINE__);
                             return;
                         }
                         const QPointer<QWidget> open = dialog;
                         answer(dialog);
                         if (!open || !open->isVisible())
                             return;
                         if (!QTest::currentTestFailed())
                             QTest::qFail("the answer left the dialog open", __FILE__, __LINE__);
                         if (auto *modal = qobject_cast<QDialog *>(open.data()))
                             modal->reject();
                         else
                             open->close();
                     });
    timer->start(10);
}

QString ReaderFixture::writeBook(const QString &name, int lines, const QString &folder) const
{
    return TestFiles::write((folder.isEmpty() ? booksFolder() : folder) + u'/' + name,
                            TestFiles::lines(lines));
}

void ReaderFixture::writeConfig(const GlobalData &record) const
{
    TestFiles::write(ConfigFilePath(), RecordCodec::encode(record));
}

GlobalData ReaderFixture::savedConfig() const
{
    GlobalData record;
    RecordCodec::decode(TestFiles::read(ConfigFilePath()), record);
    return record;
}

#include "support/ReaderFixture.h"

#include "app/AppInfo.h"
#include "reader/TextArea.h"
#include "settings/RecordCodec.h"
#include "settings/SettingsFile.h"
#include "support/TestFiles.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QSettings>
#include <QTest>

namespace {

QList<DriveInfo> standardDrives(const QString &drive, const QString &card)
{
    return {{QStringLiteral("/"), QStringLiteral("/"), DriveInfo::Type::Fixed, true},
            {drive, QStringLiteral("drive"), DriveInfo::Type::Fixed, true},
            {card, QStringLiteral("card"), DriveInfo::Type::Removable, false}};
}

} // namespace

ReaderFixture::ReaderFixture()
{
    // The placement store reads its folder once per run, so the variable is set before any
    // window is built and stays for the whole run.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configFolder()));
}

ReaderFixture::~ReaderFixture() = default;

void ReaderFixture::init()
{
    m_window.reset();
    prompts.reset();
    data = GlobalData();
    drives.drives = standardDrives(driveRoot(), cardRoot());
    QDir(configFolder()).removeRecursively();
    QDir(booksFolder()).removeRecursively();
    QDir(driveRoot()).removeRecursively();
    for (const QString &folder : {configFolder(), booksFolder(), driveRoot(), cardRoot()})
        QDir().mkpath(folder);
    QSettings store(AppInfo::title(), AppInfo::title());
    store.clear();
    store.sync();
}

frmMain *ReaderFixture::start()
{
    m_window.reset();
    data = GlobalData();
    m_window = std::make_unique<frmMain>(prompts, data, drives);
    m_window->Form_Load(ConfigFilePath());
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get()))
        qWarning("the reader window was not exposed");
    return m_window.get();
}

void ReaderFixture::close()
{
    if (!m_window)
        return;
    m_window->close();
    m_window.reset();
}

QAction *ReaderFixture::action(const QString &name) const
{
    return find<QAction>(name);
}

void ReaderFixture::trigger(const QString &name) const
{
    QAction *item = action(name);
    if (!item)
        qFatal("no action %s", qPrintable(name));
    item->trigger();
}

QString ReaderFixture::viewText() const
{
    return m_window ? m_window->textArea()->text() : QString();
}

QString ReaderFixture::pageNumberText() const
{
    const auto *box = find<QLineEdit>(QStringLiteral("PageNumber"));
    return box ? box->text() : QString();
}

void ReaderFixture::setPageNumber(const QString &text) const
{
    find<QLineEdit>(QStringLiteral("PageNumber"))->setText(text);
}

QString ReaderFixture::writeBook(const QString &name, int lines, const QString &folder) const
{
    const QString in = folder.isEmpty() ? booksFolder() : folder;
    return TestFiles::write(in + u'/' + name, TestFiles::lines(lines));
}

QString ReaderFixture::booksFolder() const
{
    return m_root.filePath(QStringLiteral("books"));
}

QString ReaderFixture::driveRoot() const
{
    return m_root.filePath(QStringLiteral("drive")) + u'/';
}

QString ReaderFixture::cardRoot() const
{
    return m_root.filePath(QStringLiteral("card")) + u'/';
}

QString ReaderFixture::configFolder() const
{
    return m_root.filePath(QStringLiteral("config"));
}

QString ReaderFixture::configFile() const
{
    return configFolder() + QStringLiteral("/Pagelark/config.ini");
}

QString ReaderFixture::placementFile() const
{
    return configFolder() + QStringLiteral("/Pagelark/Pagelark.conf");
}

QByteArray ReaderFixture::configBytes() const
{
    return TestFiles::read(configFile());
}

void ReaderFixture::writeConfig(const GlobalData &record) const
{
    TestFiles::write(configFile(), RecordCodec::encode(record));
}

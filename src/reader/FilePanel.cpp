#include "reader/FilePanel.h"

#include "app/FileChecks.h"
#include "platform/Prompts.h"
#include "reader/SidePanel.h"
#include "reader/Twips.h"
#include "settings/GlobalData.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QListView>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QToolButton>
#include <QTreeView>

namespace {

// Books, and the compressed files and archives that may hold them.
const QStringList kBookPatterns = {
    QStringLiteral("*.txt"),  QStringLiteral("*.html"), QStringLiteral("*.htm"),
    QStringLiteral("*.gz"),   QStringLiteral("*.bz2"),  QStringLiteral("*.xz"),
    QStringLiteral("*.zst"),  QStringLiteral("*.lz4"),  QStringLiteral("*.zip"),
    QStringLiteral("*.7z"),   QStringLiteral("*.tar"),  QStringLiteral("*.tgz"),
    QStringLiteral("*.tbz2"), QStringLiteral("*.txz")};

QString cleanFolder(const QString &folder)
{
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    return clean.isEmpty() ? QStringLiteral("/") : clean;
}

QString withSlash(const QString &path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

} // namespace

// The folders of one drive under the drive's root folder, which is their one top entry: of the
// folders above and beside it only those that lead to it are kept.
class DriveFolders : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    QFileSystemModel *files() const { return static_cast<QFileSystemModel *>(sourceModel()); }
    QString filePath(const QModelIndex &index) const
    {
        return files()->filePath(mapToSource(index));
    }
    QModelIndex index(const QString &path) const { return mapFromSource(files()->index(path)); }
    using QSortFilterProxyModel::index;

    void setRoot(const QString &root)
    {
        m_root = withSlash(root);
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        const QString path = withSlash(files()->filePath(files()->index(row, 0, parent)));
        return path.startsWith(m_root) || m_root.startsWith(path);
    }

private:
    QString m_root = QStringLiteral("/");
};

FilePanel::FilePanel(Prompts &prompts, GlobalData &data, const Drives &drives, QWidget *parent)
    : QGroupBox(QStringLiteral("File System"), parent),
      m_prompts(prompts),
      m_data(data),
      m_drives(drives)
{
    setObjectName(QStringLiteral("frmFile"));
    cmdCloseFile = SidePanel::dress(this, "cmdCloseFile", QStringLiteral("Close File View"));

    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));

    auto *folders = new QFileSystemModel(this);
    folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    folders->setReadOnly(true);
    m_folders = new DriveFolders(this);
    m_folders->setSourceModel(folders);
    Dir1 = new QTreeView(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setModel(m_folders);
    for (int column = 1; column < m_folders->columnCount(); ++column)
        Dir1->hideColumn(column);
    Dir1->header()->hide();
    Dir1->setIndentation(10);

    m_files = new QFileSystemModel(this);
    m_files->setFilter(QDir::Files);
    m_files->setNameFilters(kBookPatterns);
    m_files->setNameFilterDisables(false);
    m_files->setReadOnly(true);
    File1 = new QListView(this);
    File1->setObjectName(QStringLiteral("File1"));
    File1->setModel(m_files);

    cmdFavorit = new QPushButton(QStringLiteral("Favorit"), this);
    cmdFavorit->setObjectName(QStringLiteral("cmdFavorit"));
    cmdFavorit->setToolTip(QStringLiteral("Add this as favorit book folder"));

    Twips::place(cmdCloseFile, 1800, 0, 255, 255);
    Twips::place(Drive1, 240, 360, 1695, 315);
    Twips::place(Dir1, 120, 840, 1815, 2340);
    Twips::place(File1, 120, 3240, 1815, m_fileListHeight);
    Twips::place(cmdFavorit, 360, m_favoritTop, 1335, 375);

    connect(cmdCloseFile, &QToolButton::clicked, this, &FilePanel::closeClicked);
    connect(Drive1, &QComboBox::activated, this, &FilePanel::Drive1_Change);
    connect(Dir1, &QTreeView::clicked, this,
            [this](const QModelIndex &index) { Dir1_Change(m_folders->filePath(index)); });
    connect(Dir1, &QTreeView::activated, this,
            [this](const QModelIndex &index) { Dir1_Change(m_folders->filePath(index)); });
    connect(File1, &QListView::clicked, this,
            [this](const QModelIndex &index) { File1_Click(m_files->fileName(index)); });
    // A book opens on a double click or Enter only, whatever the desktop's style says about
    // activating items with one click.
    connect(File1, &QListView::doubleClicked, this,
            [this](const QModelIndex &index) { File1_DblClick(m_files->fileName(index)); });
    File1->installEventFilter(this);
    connect(cmdFavorit, &QPushButton::clicked, this, &FilePanel::cmdFavorit_Click);
    // The folder model reads in the background: show the current folder once its parents are in.
    connect(folders, &QFileSystemModel::directoryLoaded, this, &FilePanel::showCurrentFolder);
    // Sorting the rows read later moves the folder; keep it in sight.
    connect(m_folders, &QAbstractItemModel::layoutChanged, this,
            [this] { Dir1->scrollTo(Dir1->currentIndex(), QAbstractItemView::PositionAtCenter); });

    fillDrives();
    const QString start = cleanFolder(QDir::currentPath());
    m_driveIndex = driveIndexOf(start);
    Drive1->setCurrentIndex(m_driveIndex);
    if (!setFolder(start))
        setFolder(drive());
}

void FilePanel::fillDrives()
{
    m_driveList = m_drives.list();
    Drive1->clear();
    for (const DriveInfo &drive : std::as_const(m_driveList))
        Drive1->addItem(drive.displayName, drive.rootPath);
}

// The volume holding path: the one with the longest root that path starts with.
int FilePanel::driveIndexOf(const QString &path) const
{
    int best = -1;
    qsizetype bestLength = -1;
    const QString withSlash = path.endsWith(u'/') ? path : path + u'/';
    for (int i = 0; i < m_driveList.size(); ++i) {
        const QString &root = m_driveList[i].rootPath;
        if (withSlash.startsWith(root) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    return best < 0 && !m_driveList.isEmpty() ? 0 : best;
}

QString FilePanel::drive() const
{
    if (m_driveIndex < 0 || m_driveIndex >= m_driveList.size())
        return QStringLiteral("/");
    return m_driveList[m_driveIndex].rootPath;
}

bool FilePanel::readable(const QString &folder)
{
    const QFileInfo info(folder);
    if (info.isDir() && info.isReadable() && QDir(folder).isReadable())
        return true;
    m_prompts.tell(
        this,
        QStringLiteral("The folder %1 cannot be read.").arg(QDir::toNativeSeparators(folder)));
    return false;
}

bool FilePanel::setDrive(const QString &root)
{
    int index = -1;
    for (int i = 0; i < m_driveList.size(); ++i) {
        if (m_driveList[i].rootPath == root || m_driveList[i].displayName == root)
            index = i;
    }
    if (index < 0) {
        m_prompts.tell(this, QStringLiteral("The drive %1 is not available.").arg(root));
        return false;
    }
    if (index == m_driveIndex)
        return true;
    const DriveInfo &chosen = m_driveList[index];
    if (!chosen.ready) {
        m_prompts.tell(this, QStringLiteral("The drive %1 is not ready.").arg(chosen.displayName));
        return false;
    }
    const int previous = m_driveIndex;
    m_driveIndex = index;
    if (!setFolder(chosen.rootPath)) {
        m_driveIndex = previous;
        Drive1->setCurrentIndex(previous);
        return false;
    }
    Drive1->setCurrentIndex(index);
    return true;
}

void FilePanel::Drive1_Change(int index)
{
    if (index < 0 || index >= m_driveList.size())
        return;
    if (!setDrive(m_driveList[index].rootPath))
        Drive1->setCurrentIndex(m_driveIndex);
}

bool FilePanel::setFolder(const QString &folder)
{
    const QString clean = cleanFolder(folder);
    if (!readable(clean))
        return false;
    m_folder = clean;

    // The view's top is the root folder's parent, so the root shows as the one top entry.
    const QString root = drive();
    m_folders->files()->setRootPath(root);
    m_folders->setRoot(root);
    const QString above = cleanFolder(root) == QLatin1String("/")
        ? QString()
        : QFileInfo(cleanFolder(root)).absolutePath();
    Dir1->setRootIndex(m_folders->index(above));
    showCurrentFolder();

    m_files->setRootPath(clean);
    File1->setRootIndex(m_files->index(clean));
    return true;
}

// Selects the folder on show in Dir1 with its parents opened.
void FilePanel::showCurrentFolder()
{
    const QModelIndex current = m_folders->index(m_folder);
    if (!current.isValid())
        return;
    for (QModelIndex parent = current.parent(); parent.isValid(); parent = parent.parent())
        Dir1->expand(parent);
    if (Dir1->currentIndex() != current)
        Dir1->setCurrentIndex(current);
    Dir1->scrollTo(current, QAbstractItemView::PositionAtCenter);
}

void FilePanel::Dir1_Change(const QString &folder)
{
    if (folder.isEmpty() || cleanFolder(folder) == m_folder)
        return;
    if (!setFolder(folder))
        Dir1->setCurrentIndex(m_folders->index(m_folder));
}

void FilePanel::File1_Click(const QString &name)
{
    Q_EMIT fileClicked(FullPathOf(m_folder, name));
}

void FilePanel::File1_DblClick(const QString &name)
{
    Q_EMIT fileDoubleClicked(FullPathOf(m_folder, name));
}

void FilePanel::cmdFavorit_Click()
{
    m_data.FavoritePath = m_folder;
    m_data.FavoriteDrive = drive();
    m_data.FavoriteSet = VTrue;
}

void FilePanel::RestoreFavoritFolder()
{
    if (m_data.FavoriteSet == VFalse)
        return;
    if (!DirExists(m_data.FavoritePath)) {
        m_prompts.tell(this, QStringLiteral("Favorit path not exist, reset to default"));
        m_data.FavoriteSet = VFalse;
        return;
    }
    const int index = driveIndexOf(m_data.FavoritePath);
    if (index >= 0)
        m_driveIndex = index;
    Drive1->setCurrentIndex(m_driveIndex);
    setFolder(m_data.FavoritePath);
}

void FilePanel::setFileListHeight(double twips)
{
    const double before = m_fileListHeight;
    m_fileListHeight = qMax(0.0, twips);
    m_favoritTop += m_fileListHeight - before;
    Twips::place(File1, 120, 3240, 1815, m_fileListHeight);
    Twips::place(cmdFavorit, 360, m_favoritTop, 1335, 375);
}

bool FilePanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == File1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && File1->currentIndex().isValid()) {
            File1_DblClick(m_files->fileName(File1->currentIndex()));
            return true;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

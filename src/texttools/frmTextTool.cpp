// The tools window's life, its folder tree and the building of the selection list.
#include "texttools/frmTextTool.h"

#include "app/FileChecks.h"
#include "platform/BusyCursor.h"
#include "platform/Drives.h"
#include "platform/FitText.h"
#include "platform/Prompts.h"
#include "texttools/FolderListing.h"

#include <QCloseEvent>
#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>

#include <algorithm>

QPointer<frmTextTool> frmTextTool::s_instance;

namespace {

enum Image { NoImage = 0, RemovableImage, FixedImage, CdRomImage, FolderImage, OpenFolderImage };

int imageOf(DriveInfo::Type type)
{
    switch (type) {
    case DriveInfo::Type::Removable:
        return RemovableImage;
    case DriveInfo::Type::CdRom:
        return CdRomImage;
    default:
        return FixedImage;
    }
}

// Each image's icon from the desktop's theme, or the style's own where the theme has none.
QIcon iconOf(int image, const QStyle *style)
{
    static const struct
    {
        const char *name;
        QStyle::StandardPixmap fallback;
    } icons[] = {{"drive-harddisk", QStyle::SP_DriveHDIcon},
                 {"drive-removable-media", QStyle::SP_DriveFDIcon},
                 {"drive-harddisk", QStyle::SP_DriveHDIcon},
                 {"drive-optical", QStyle::SP_DriveCDIcon},
                 {"folder", QStyle::SP_DirClosedIcon},
                 {"folder-open", QStyle::SP_DirOpenIcon}};
    const auto &icon = icons[image >= 0 && image <= OpenFolderImage ? image : 0];
    return QIcon::fromTheme(QLatin1String(icon.name), style->standardIcon(icon.fallback));
}

// A child without text or key: it gives its node an expand button until the node is filled.
void addPlaceholder(QTreeWidgetItem *node)
{
    node->addChild(new QTreeWidgetItem());
}

// A new node with its text, key and image, and no expanded image until it has children to show.
QTreeWidgetItem *setUpNode(QTreeWidgetItem *node, const QString &key, const QString &name,
                           int image, const QStyle *style)
{
    node->setText(0, name);
    node->setData(0, frmTextTool::KeyRole, key);
    node->setData(0, frmTextTool::ImageRole, image);
    node->setData(0, frmTextTool::ExpandedImageRole, int(NoImage));
    node->setIcon(0, iconOf(image, style));
    return node;
}

bool isPlaceholder(const QTreeWidgetItem *node)
{
    return node && node->text(0).isEmpty() && !node->data(0, frmTextTool::KeyRole).isValid();
}

// The form in which File1 reports its folder: no final "/" except on the root folder.
QString listPathOf(const QString &key)
{
    QString path = key;
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

} // namespace

frmTextTool::frmTextTool(Prompts &prompts, const Drives &drives, QWidget *parent)
    : QWidget(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                  | Qt::WindowCloseButtonHint),
      m_prompts(prompts),
      m_drives(drives)
{
    setObjectName(QStringLiteral("frmTextTool"));
    buildControls();

    connect(tvwFolders, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *node) {
        tvwFolders_Expand(node);
        showExpandedImage(node, true);
    });
    connect(tvwFolders, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem *node) { showExpandedImage(node, false); });
    connect(tvwFolders, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *node) { tvwFolders_NodeClick(node); });
    connect(File1, &QListWidget::itemDoubleClicked, this, &frmTextTool::File1_DblClick);
    connect(fileList, &QListWidget::itemDoubleClicked, this, &frmTextTool::fileList_DblClick);
    connect(cmdSelAll, &QPushButton::clicked, this, &frmTextTool::cmdSelAll_Click);
    connect(cmdRemove, &QPushButton::clicked, this, &frmTextTool::cmdRemove_Click);
    connect(cmdSelect, &QPushButton::clicked, this, &frmTextTool::cmdSelect_Click);
    connect(cmdDone, &QPushButton::clicked, this, &frmTextTool::cmdDone_Click);
    connect(cmdExecute, &QPushButton::clicked, this, &frmTextTool::cmdExecute_Click);
    connect(cmdStop, &QPushButton::clicked, this, &frmTextTool::cmdStop_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmTextTool::cmdDelete_Click);

    Form_Load();
    FitText::shrinkToFit(this);
}

frmTextTool::~frmTextTool() = default;

frmTextTool *frmTextTool::showSingle(Prompts &prompts, const Drives &drives)
{
    if (!s_instance) {
        s_instance = new frmTextTool(prompts, drives);
        s_instance->setAttribute(Qt::WA_DeleteOnClose);
    }
    s_instance->show();
    s_instance->raise();
    s_instance->activateWindow();
    return s_instance;
}

void frmTextTool::Form_Load()
{
    FillDriveTree();
    cmdStop->setEnabled(false);
    // Until a node is clicked File1 lists the current folder.
    setFileListPath(QDir::currentPath());
}

void frmTextTool::FillDriveTree()
{
    tvwFolders->clear();
    const QList<DriveInfo> drives = m_drives.list();
    for (const DriveInfo &drive : drives)
        addPlaceholder(setUpNode(new QTreeWidgetItem(tvwFolders), drive.rootPath, drive.displayName,
                                 imageOf(drive.type), style()));
}

void frmTextTool::tvwFolders_Expand(QTreeWidgetItem *node)
{
    if (!node || !isPlaceholder(node->child(0)))
        return;
    BusyCursor busy(this);
    delete node->takeChild(0);
    const QString path = node->data(0, KeyRole).toString();
    const QList<DriveInfo> drives = node->parent() ? QList<DriveInfo>() : m_drives.list();
    if (std::any_of(drives.cbegin(), drives.cend(),
                    [&](const DriveInfo &d) { return d.rootPath == path && !d.ready; })) {
        m_prompts.message(this,
                          {QStringLiteral("Device not avaible!"), QStringLiteral("Notaline v1.3"),
                           Prompts::Buttons::Ok, Prompts::Icon::Critical});
        return;
    }
    // A folder that cannot be listed is left empty without a word, as the desktop's lists do.
    const std::optional<QStringList> names = FolderListing::subfolders(path);
    if (!names)
        return;
    for (const QString &name : *names) {
        const QString key = path + name + u'/';
        QTreeWidgetItem *child =
            setUpNode(new QTreeWidgetItem(node), key, name, FolderImage, style());
        if (FolderListing::hasSubfolders(key)) {
            addPlaceholder(child);
            child->setData(0, ExpandedImageRole, int(OpenFolderImage));
        }
    }
}

void frmTextTool::showExpandedImage(QTreeWidgetItem *node, bool expanded)
{
    const int open = node->data(0, ExpandedImageRole).toInt();
    const int image = expanded && open ? open : node->data(0, ImageRole).toInt();
    node->setIcon(0, iconOf(image, style()));
}

void frmTextTool::tvwFolders_NodeClick(QTreeWidgetItem *node)
{
    if (node && node->data(0, KeyRole).isValid())
        setFileListPath(node->data(0, KeyRole).toString());
}

bool frmTextTool::setFileListPath(const QString &folder)
{
    const std::optional<QStringList> names = FolderListing::textFiles(folder);
    if (!names)
        return false;
    m_filePath = listPathOf(folder);
    File1->clear();
    File1->addItems(*names);
    return true;
}

QStringList frmTextTool::selectedFiles() const
{
    QStringList paths;
    for (int i = 0; i < fileList->count(); ++i)
        paths.append(fileList->item(i)->text());
    return paths;
}

void frmTextTool::File1_DblClick()
{
    const QListWidgetItem *item = File1->currentItem();
    if (item)
        fileList->addItem(FullPathOf(m_filePath, item->text()));
}

void frmTextTool::cmdSelAll_Click()
{
    const int count = File1->count();
    for (int i = 0; i < count; ++i)
        fileList->addItem(FullPathOf(m_filePath, File1->item(i)->text()));
}

void frmTextTool::fileList_DblClick()
{
    const int row = fileList->currentRow();
    if (row != -1)
        delete fileList->takeItem(row);
}

void frmTextTool::cmdRemove_Click()
{
    fileList->clear();
}

void frmTextTool::cmdSelect_Click()
{
    outPutBox->setText(m_filePath);
}

void frmTextTool::cmdDone_Click()
{
    close();
}

void frmTextTool::closeEvent(QCloseEvent *event)
{
    // A conversion is still on the stack below the event loop it yields to: stop it, and close
    // once it has come back.
    if (m_converting) {
        StopFlag = true;
        m_closeAfterRun = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

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
#include <QTreeWidgetItemIterator>

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

QIcon iconOf(int image, const QStyle *style)
{
    switch (image) {
    case RemovableImage:
        return QIcon::fromTheme(QStringLiteral("drive-removable-media"),
                                style->standardIcon(QStyle::SP_DriveFDIcon));
    case CdRomImage:
        return QIcon::fromTheme(QStringLiteral("drive-optical"),
                                style->standardIcon(QStyle::SP_DriveCDIcon));
    case FolderImage:
        return QIcon::fromTheme(QStringLiteral("folder"),
                                style->standardIcon(QStyle::SP_DirClosedIcon));
    case OpenFolderImage:
        return QIcon::fromTheme(QStringLiteral("folder-open"),
                                style->standardIcon(QStyle::SP_DirOpenIcon));
    default:
        return QIcon::fromTheme(QStringLiteral("drive-harddisk"),
                                style->standardIcon(QStyle::SP_DriveHDIcon));
    }
}

// A child without text or key: it gives its node an expand button until the node is filled.
void addPlaceholder(QTreeWidgetItem *node)
{
    node->addChild(new QTreeWidgetItem());
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
    for (const DriveInfo &drive : drives) {
        auto *node = new QTreeWidgetItem(tvwFolders);
        node->setText(0, drive.displayName);
        node->setData(0, KeyRole, drive.rootPath);
        const int image = imageOf(drive.type);
        node->setData(0, ImageRole, image);
        node->setData(0, ExpandedImageRole, int(NoImage));
        node->setIcon(0, iconOf(image, style()));
        addPlaceholder(node);
    }
}

QTreeWidgetItem *frmTextTool::addFolderNode(QTreeWidgetItem *parent, const QString &key,
                                            const QString &name)
{
    auto *node = new QTreeWidgetItem(parent);
    node->setText(0, name);
    node->setData(0, KeyRole, key);
    node->setData(0, ImageRole, int(FolderImage));
    node->setData(0, ExpandedImageRole, int(NoImage));
    node->setIcon(0, iconOf(FolderImage, style()));
    return node;
}

void frmTextTool::tvwFolders_Expand(QTreeWidgetItem *node)
{
    if (!node || !isPlaceholder(node->child(0)))
        return;
    BusyCursor busy(this);
    delete node->takeChild(0);
    const QString path = node->data(0, KeyRole).toString();
    if (!node->parent()) {
        const QList<DriveInfo> drives = m_drives.list();
        for (const DriveInfo &drive : drives) {
            if (drive.rootPath == path && !drive.ready) {
                Prompts::Message message;
                message.text = QStringLiteral("Device not avaible!");
                message.title = QStringLiteral("Notaline v1.3");
                message.icon = Prompts::Icon::Critical;
                m_prompts.message(this, message);
                return;
            }
        }
    }
    // A folder that cannot be listed is left empty without a word, as the desktop's lists do.
    const std::optional<QStringList> names = FolderListing::subfolders(path);
    if (!names)
        return;
    for (const QString &name : *names) {
        const QString key = path + name + u'/';
        QTreeWidgetItem *child = addFolderNode(node, key, name);
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

QTreeWidgetItem *frmTextTool::nodeByKey(const QString &key) const
{
    for (QTreeWidgetItemIterator it(tvwFolders); *it; ++it) {
        if ((*it)->data(0, KeyRole).toString() == key)
            return *it;
    }
    return nullptr;
}

void frmTextTool::addToSelection(const QString &path)
{
    fileList->addItem(path);
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
        addToSelection(FullPathOf(m_filePath, item->text()));
}

void frmTextTool::cmdSelAll_Click()
{
    const int count = File1->count();
    for (int i = 0; i < count; ++i)
        addToSelection(FullPathOf(m_filePath, File1->item(i)->text()));
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

void frmTextTool::setStatus(const QString &text)
{
    StatusBar1Panel1->setText(text);
    Q_EMIT statusShown(text);
}

QString frmTextTool::statusText() const
{
    return StatusBar1Panel1->text();
}

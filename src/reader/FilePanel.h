#pragma once

#include "platform/Drives.h"

#include <QGroupBox>

class QComboBox;
class DriveFolders;
class QFileSystemModel;
class QListView;
class QPushButton;
class QToolButton;
class QTreeView;
class Prompts;
struct GlobalData;

// The file system panel beside the page view: drives, the folders of the chosen drive under its
// root folder and the books of the chosen folder, chained so that a drive shows its folders and
// a folder its books.
// A click on a book asks the reader to show its path, a double click to open it; the
// "Favorit" button records the folder on show as the favourite. Opening books is the reader's.
class FilePanel : public QGroupBox
{
    Q_OBJECT
    Q_DISABLE_COPY(FilePanel)

public:
    FilePanel(Prompts &prompts, GlobalData &data, const Drives &drives, QWidget *parent);

    // The drive value: the root folder of the volume shown in Drive1.
    QString drive() const;
    // Shows the volume whose root is root; false (nothing changed) when it cannot be read.
    bool setDrive(const QString &root);
    // The folder of Dir1, also the folder File1 lists.
    QString folder() const { return m_folder; }
    // Shows folder and its books; false (nothing changed) when it cannot be read.
    bool setFolder(const QString &folder);

    // Opens the panel at the favourite folder, or reports that it has gone and forgets it.
    void RestoreFavoritFolder();

    void Drive1_Change(int index);
    void Dir1_Change(const QString &folder);
    void File1_Click(const QString &name);
    void File1_DblClick(const QString &name);
    void cmdFavorit_Click();

    // Lays the panel out from its height, as the reader window's resize rule asks:
    // File1 height, the favourite button kept below it. Heights in twips.
    void setFileListHeight(double twips);

Q_SIGNALS:
    void fileClicked(const QString &fullPath);
    void fileDoubleClicked(const QString &fullPath);
    void closeClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillDrives();
    int driveIndexOf(const QString &path) const;
    bool readable(const QString &folder);
    void showCurrentFolder();

    Prompts &m_prompts;
    GlobalData &m_data;
    const Drives &m_drives;
    QList<DriveInfo> m_driveList;
    QString m_folder;
    int m_driveIndex = -1;
    double m_fileListHeight = 3210;
    double m_favoritTop = 6600;

    QToolButton *cmdCloseFile = nullptr;
    QComboBox *Drive1 = nullptr;
    QTreeView *Dir1 = nullptr;
    QListView *File1 = nullptr;
    QPushButton *cmdFavorit = nullptr;
    DriveFolders *m_folders = nullptr;
    QFileSystemModel *m_files = nullptr;
};

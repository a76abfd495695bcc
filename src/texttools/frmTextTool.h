#pragma once

#include "texttools/ToolProgress.h"

#include <QPointer>
#include <QWidget>

class Drives;
class Prompts;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

// The Text File Tools window: a lazily filled tree of the drives and their folders, the "*.txt"
// files of the folder last clicked, an ordered selection list and an output folder, and the
// three operations on the whole list: Combine, TXT2HTML and Delete. Their rules and runs are the
// core's (CombineCommand, HtmlConversion, deleteListedFiles); this window asks the user, shows
// what they report, lends them its progress bar and events, and keeps the lists.
class frmTextTool : public QWidget, private ToolProgress
{
    Q_OBJECT
    Q_DISABLE_COPY(frmTextTool)

public:
    // The roles a tree node keeps: its key (the folder's full path ending in "/"; none on a
    // placeholder), its image and its expanded image (1 removable, 2 fixed, 3 CD-ROM, 4 folder,
    // 5 open folder; 0 none).
    enum NodeRole { KeyRole = Qt::UserRole, ImageRole, ExpandedImageRole };

    frmTextTool(Prompts &prompts, const Drives &drives, QWidget *parent = nullptr);
    ~frmTextTool() override;

    // The one window, created on first use and brought forward afterwards; modeless, no owner.
    // prompts and drives must outlive it.
    static frmTextTool *showSingle(Prompts &prompts, const Drives &drives);

    void FillDriveTree();
    void tvwFolders_Expand(QTreeWidgetItem *node);
    void tvwFolders_NodeClick(QTreeWidgetItem *node);
    void File1_DblClick();
    void cmdSelAll_Click();
    void fileList_DblClick();
    void cmdRemove_Click();
    void cmdSelect_Click();
    void cmdDone_Click();
    void cmdExecute_Click();
    void cmdStop_Click();
    void cmdDelete_Click();

    void text2html();

    // Shows folder's "*.txt" files in File1; false, File1 unchanged, when it cannot be listed.
    bool setFileListPath(const QString &folder);
    // The entries of fileList, in order.
    QStringList selectedFiles() const;

    bool StopFlag = false;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void setTabOrder();
    void Form_Load();
    void setRunning(bool running);
    void runCombine();
    void showNotices(const ToolNotices &notices);
    void reportFailure(const QString &text);
    void showExpandedImage(QTreeWidgetItem *node, bool expanded);

    // The tools' runs show their progress and status here; a conversion's yield runs the events
    // and answers whether Stop was pressed (or the window closed) meanwhile.
    void setRange(int maximum) override;
    void setValue(int value) override;
    void setStatus(const QString &text) override;
    bool yield() override;

    Prompts &m_prompts;
    const Drives &m_drives;
    // The folder File1 lists: a path without a final "/", except the root folder "/".
    QString m_filePath;
    bool m_converting = false;
    bool m_closeAfterRun = false;

    QTreeWidget *tvwFolders = nullptr;
    QListWidget *File1 = nullptr;
    QPushButton *cmdSelAll = nullptr;
    QPushButton *cmdRemove = nullptr;
    QListWidget *fileList = nullptr;
    QPushButton *cmdSelect = nullptr;
    QLineEdit *outPutBox = nullptr;
    QPushButton *cmdDone = nullptr;
    QPushButton *cmdDelete = nullptr;
    QPushButton *cmdExecute = nullptr;
    QPushButton *cmdStop = nullptr;
    QRadioButton *Option1 = nullptr;
    QRadioButton *Option2 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QLabel *StatusBar1Panel1 = nullptr;

    static QPointer<frmTextTool> s_instance;
};

#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

#include <functional>

class Drives;
class Prompts;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTreeWidget;
class QTreeWidgetItem;

// The Text File Tools window: a lazily filled tree of the drives and their folders, the "*.txt"
// files of the folder last clicked, an ordered selection list and an output folder, and the
// three operations on the whole list: Combine, TXT2HTML and Delete. Building pages, combining,
// reading and deleting files are the core's (HtmlPage, Combiner, TextFileIO, deleteListedFile);
// this window asks, reports and keeps the lists.
class frmTextTool : public QWidget
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

    // The folder File1 lists: a path without a final "/", except the root folder "/".
    QString fileListPath() const { return m_filePath; }
    // Shows folder's "*.txt" files in File1; false, File1 unchanged, when it cannot be listed.
    bool setFileListPath(const QString &folder);
    // The entries of fileList, in order.
    QStringList selectedFiles() const;
    void addToSelection(const QString &path);
    QString statusText() const;
    QTreeWidgetItem *nodeByKey(const QString &key) const;
    bool isConverting() const { return m_converting; }

    // Runs after each line item a conversion adds, with the index of the file and of the item:
    // where a test presses Stop or closes the window at a chosen point.
    std::function<void(int file, qsizetype item)> conversionStepHook;

    bool StopFlag = false;

Q_SIGNALS:
    // Each text put into the status bar, also when it repeats the one on show.
    void statusShown(const QString &text);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void setTabOrder();
    void Form_Load();
    void setStatus(const QString &text);
    void setRunning(bool running);
    void runCombine();
    QTreeWidgetItem *addFolderNode(QTreeWidgetItem *parent, const QString &key,
                                   const QString &name);
    void showExpandedImage(QTreeWidgetItem *node, bool expanded);
    // One file's page; false when the run must stop (Stop, or a failure already reported).
    bool convertOne(int index, const QString &source, const QString &folder);
    void reportConversionFailure(const QString &text);

    Prompts &m_prompts;
    const Drives &m_drives;
    QString m_filePath;
    bool m_converting = false;
    bool m_closeAfterRun = false;
    QElapsedTimer m_sinceYield;

    QTreeWidget *tvwFolders = nullptr;
    QLabel *Label1 = nullptr;
    QListWidget *File1 = nullptr;
    QPushButton *cmdSelAll = nullptr;
    QPushButton *cmdRemove = nullptr;
    QListWidget *fileList = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *cmdSelect = nullptr;
    QLineEdit *outPutBox = nullptr;
    QPushButton *cmdDone = nullptr;
    QPushButton *cmdDelete = nullptr;
    QPushButton *cmdExecute = nullptr;
    QPushButton *cmdStop = nullptr;
    QRadioButton *Option1 = nullptr;
    QRadioButton *Option2 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QLabel *StatusBar1Panel1 = nullptr;

    static QPointer<frmTextTool> s_instance;
};

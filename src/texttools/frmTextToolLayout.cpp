// The tools window's controls, their captions and places, and the tab order.
#include "texttools/frmTextTool.h"

#include "platform/OleColor.h"
#include "reader/Twips.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTreeWidget>

namespace {

// The design client area; the window keeps this size.
constexpr double kClientWidth = 8760;
constexpr double kClientHeight = 6780;
// The option buttons' background, system colour 22.
constexpr quint32 kOptionBackground = OleColor::SystemFlag + 22;

void setBackground(QWidget *widget, quint32 ole)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, OleColor::toQColor(ole));
    widget->setPalette(palette);
}

template<typename T>
T *make(QWidget *parent, const char *name, double left, double top, double width, double height)
{
    T *widget = new T(parent);
    widget->setObjectName(QString::fromLatin1(name));
    Twips::place(widget, left, top, width, height);
    return widget;
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, double left, double top,
                  double width, double height)
{
    QLabel *label = make<QLabel>(parent, name, left, top, width, height);
    label->setText(text);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setBackground(label, OleColor::InfoBackground);
    return label;
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &text, double left,
                        double top, double width, double height)
{
    QPushButton *button = make<QPushButton>(parent, name, left, top, width, height);
    button->setText(text);
    button->setAutoDefault(false);
    return button;
}

} // namespace

void frmTextTool::buildControls()
{
    setWindowTitle(QStringLiteral("Text File Tools"));
    setFixedSize(Twips::toPixels(kClientWidth, this), Twips::toPixels(kClientHeight, this));
    setBackground(this, OleColor::WindowBackground);

    tvwFolders = make<QTreeWidget>(this, "tvwFolders", 240, 240, 2055, 3495);
    tvwFolders->setHeaderHidden(true);
    tvwFolders->header()->setStretchLastSection(false);
    tvwFolders->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);

    makeLabel(this, "Label1", QStringLiteral("Double Click To Select File"), 240, 3840, 2055, 255);
    File1 = make<QListWidget>(this, "File1", 240, 4080, 2055, 2040);

    cmdSelAll = makeButton(this, "cmdSelAll", QStringLiteral(">>"), 2280, 960, 855, 495);
    cmdSelAll->setToolTip(QStringLiteral("Select All Files From This Directory"));
    cmdRemove = makeButton(this, "cmdRemove", QStringLiteral("<<"), 2280, 1920, 855, 375);
    cmdRemove->setToolTip(QStringLiteral("Remove All Selected File"));

    fileList = make<QListWidget>(this, "fileList", 3120, 120, 5415, 2790);
    makeLabel(this, "Label3",
              QStringLiteral("Doublt Click On File Name To Remove File. File will be "
                             "combined in the order of list."),
              3120, 3000, 5415, 375);
    makeLabel(this, "Label2",
              QStringLiteral("Out Put Directory, select a directory from the treeview "
                             "and click on \"select\" button. For TXT2HTML, the program "
                             "will create a new directory called \"newhtml\" in the "
                             "selected directory to store new html files. "),
              3720, 3600, 4455, 855);

    cmdSelect = makeButton(this, "cmdSelect", QStringLiteral("Select"), 2640, 4080, 975, 375);
    outPutBox = make<QLineEdit>(this, "outPutBox", 2640, 4560, 5535, 495);
    outPutBox->setReadOnly(true);

    cmdDone = makeButton(this, "cmdDone", QStringLiteral("Done"), 2760, 5280, 1215, 375);
    cmdDelete = makeButton(this, "cmdDelete", QStringLiteral("Delete"), 2760, 5760, 1215, 375);
    cmdDelete->setToolTip(QStringLiteral("delete Selected Files"));
    cmdExecute = makeButton(this, "cmdExecute", QStringLiteral("Execute"), 4320, 5280, 1095, 375);
    cmdStop = makeButton(this, "cmdStop", QStringLiteral("Stop"), 4320, 5760, 1095, 375);
    // The window shows the hourglass while converting; Stop keeps the arrow it is pressed with.
    cmdStop->setCursor(Qt::ArrowCursor);

    Option1 = make<QRadioButton>(this, "Option1", 5880, 5160, 1215, 375);
    Option1->setText(QStringLiteral("Combine"));
    setBackground(Option1, kOptionBackground);
    Option1->setChecked(true);
    Option2 = make<QRadioButton>(this, "Option2", 5880, 5760, 1215, 375);
    Option2->setText(QStringLiteral("TXT2HTML"));
    setBackground(Option2, kOptionBackground);

    ProgressBar1 = make<QProgressBar>(this, "ProgressBar1", 0, 6240, 8775, 255);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    auto *StatusBar1 = make<QStatusBar>(this, "StatusBar1", 0, 6525, 8760, 255);
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1Panel1 = new QLabel(StatusBar1);
    StatusBar1Panel1->setTextFormat(Qt::PlainText); // a file name is shown as it is
    StatusBar1Panel1->setObjectName(QStringLiteral("StatusBar1Panel1"));
    StatusBar1->addWidget(StatusBar1Panel1, 1);

    setTabOrder();
}

void frmTextTool::setTabOrder()
{
    // The focusable controls in the order of their tab indexes; labels, the progress bar and
    // the status bar take no focus.
    const QList<QWidget *> order = {tvwFolders, File1,     cmdDone,   cmdExecute, Option1,
                                    Option2,    outPutBox, cmdSelect, fileList,   cmdSelAll,
                                    cmdRemove,  cmdDelete, cmdStop};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

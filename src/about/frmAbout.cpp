#include "about/frmAbout.h"

#include "about/SysInfo.h"
#include "app/AppInfo.h"
#include "app/Captions.h"
#include "app/FileChecks.h"
#include "platform/FitText.h"
#include "platform/Launcher.h"
#include "platform/Prompts.h"
#include "reader/Twips.h"

#include <QCursor>
#include <QEvent>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QUrl>

namespace {

constexpr double kClientWidth = 5895;
constexpr double kClientHeight = 3705;
constexpr int kLinksTab = 2;

QLabel *makeLabel(QWidget *parent, const char *name, const QString &caption, double left,
                  double top, double width, double height)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Twips::place(label, left, top, width, height);
    return label;
}

QLabel *makePicture(QWidget *parent, const char *name, const QString &image, double left,
                    double top, double width, double height)
{
    auto *picture = new QLabel(parent);
    picture->setObjectName(QLatin1String(name));
    Twips::place(picture, left, top, width, height);
    const int side = qMin(picture->width(), picture->height());
    picture->setPixmap(QIcon(image).pixmap(side, side));
    picture->setAlignment(Qt::AlignCenter);
    return picture;
}

QGroupBox *makeFrame(QWidget *parent, const char *name, const QString &caption, double left,
                     double top, double width, double height)
{
    auto *frame = new QGroupBox(caption, parent);
    frame->setObjectName(QLatin1String(name));
    Twips::place(frame, left, top, width, height);
    return frame;
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption, double left,
                        double top, double width, double height)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    Twips::place(button, left, top, width, height);
    return button;
}

} // namespace

frmAbout::frmAbout(Prompts &prompts, Registry &registry, Launcher &launcher, QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_prompts(prompts),
      m_registry(registry),
      m_launcher(launcher)
{
    setObjectName(QStringLiteral("frmAbout"));
    setProperty("Tag", QStringLiteral("1021"));
    setWindowTitle(QStringLiteral("About ") + AppInfo::title());
    setModal(true);
    setFixedSize(Twips::toPixels(kClientWidth, this), Twips::toPixels(kClientHeight, this));
    buildControls();

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    lblLink->installEventFilter(this);

    Form_Load();
    FitText::growToHold(this);
}

QString frmAbout::homePage()
{
    return QStringLiteral("https://pagelark.org/");
}

void frmAbout::buildControls()
{
    picIcon =
        makePicture(this, "picIcon", QStringLiteral(":/icons/pagelark.svg"), 240, 240, 540, 540);
    lblTitle =
        makeLabel(this, "lblTitle", QStringLiteral("Application Title"), 1050, 240, 4092, 480);
    lblTitle->setProperty("Tag", QStringLiteral("1026"));

    // Made before the tab control, so that the tab control covers it.
    lblDisclaimer =
        makeLabel(this, "lblDisclaimer", QStringLiteral("Warning: ..."), 255, 2625, 3870, 825);
    lblDisclaimer->setProperty("Tag", QStringLiteral("1024"));

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    Twips::place(SSTab1, 0, 1080, 4215, 2535);
    auto *aboutTab = new QWidget;
    auto *creditTab = new QWidget;
    auto *linksTab = new QWidget;
    SSTab1->addTab(aboutTab, QStringLiteral("About"));
    SSTab1->addTab(creditTab, QStringLiteral("Credit"));
    SSTab1->addTab(linksTab, QStringLiteral("Links"));

    // The frames' places are measured from the tab control's top, tab row included; a page
    // starts below the row.
    const double row = Twips::fromPixels(SSTab1->tabBar()->sizeHint().height(), this);
    Frame1 = makeFrame(aboutTab, "Frame1", QStringLiteral("About"), 120, 720 - row, 3975, 1695);
    lblVersion = makeLabel(Frame1, "lblVersion", QString(), 360, 480, 3495, 495);
    lblDescription = makeLabel(Frame1, "lblDescription", QString(), 240, 1080, 3615, 495);

    Frame2 = makeFrame(creditTab, "Frame2", QStringLiteral("Credit"), 120, 480 - row, 3975, 1815);
    lblCredit = makeLabel(Frame2, "lblCredit", QString(), 120, 480, 3735, 1215);

    Frame3 = makeFrame(linksTab, "Frame3", QStringLiteral("HomePage"), 120, 480 - row, 3975, 1815);
    lblLink = makeLabel(Frame3, "lblLink", QString(), 120, 480, 3735, 615);
    QPalette blue = lblLink->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255)); // 0x00FF0000 in 0x00BBGGRR
    lblLink->setPalette(blue);
    // The globe's centre is the pointer's hot spot; without an SVG reader the hand stands in.
    const QPixmap globe = QIcon(QStringLiteral(":/icons/globe.svg")).pixmap(32, 32);
    lblLink->setCursor(globe.isNull() ? QCursor(Qt::PointingHandCursor) : QCursor(globe, 16, 16));

    SSTab1->setCurrentIndex(kLinksTab);

    Picture1 =
        makePicture(this, "Picture1", QStringLiteral(":/icons/picture1.svg"), 4800, 1800, 630, 525);

    cmdOK = makeButton(this, "cmdOK", QStringLiteral("OK"), 4440, 2640, 1467, 345);
    cmdOK->setProperty("Tag", QStringLiteral("1023"));
    cmdOK->setDefault(true);
    cmdSysInfo =
        makeButton(this, "cmdSysInfo", QStringLiteral("&System Info..."), 4440, 3120, 1452, 345);
    cmdSysInfo->setProperty("Tag", QStringLiteral("1022"));
}

void frmAbout::Form_Load()
{
    LoadResourceCaptions(this);
    lblVersion->setText(QStringLiteral("Version ") + QString::number(AppInfo::versionMajor()) + u'.'
                        + QString::number(AppInfo::versionMinor()) + u'.'
                        + QString::number(AppInfo::versionPatch()));
    lblTitle->setText(AppInfo::title());
    lblDescription->setText(
        QStringLiteral("Reads books held as plain-text files, one page at a time."));
    lblCredit->setText(QStringLiteral("Programming: the Pagelark developers\n"
                                      "Design: the Pagelark developers\n"
                                      "Language: C++ with Qt"));
    lblLink->setText(homePage());
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::lblLink_Click()
{
    ShellOpen(this, lblLink->text());
}

void frmAbout::StartSysInfo()
{
    QString path;
    if (GetKeyValue(Registry::LocalMachine, SysInfo::pathKey(), SysInfo::pathValue(), path)) {
        // The first key names the program itself: it is started as it is, untested.
        if (m_launcher.startProgram(path, {}))
            return;
    } else if (GetKeyValue(Registry::LocalMachine, SysInfo::locationKey(), SysInfo::locationValue(),
                           path)) {
        // The second key names the tool's folder, which may or may not end in a separator.
        const QString program = FullPathOf(path, SysInfo::programFile());
        if (FileExists(program) && m_launcher.startProgram(program, {}))
            return;
    }
    m_prompts.tell(this, QStringLiteral("System Information Is Unavailable At This Time"));
}

bool frmAbout::GetKeyValue(Registry::Key KeyRoot, const QString &KeyName, const QString &SubKeyRef,
                           QString &KeyVal)
{
    return SysInfo::GetKeyValue(m_registry, KeyRoot, KeyName, SubKeyRef, KeyVal);
}

void frmAbout::ShellOpen(QWidget *owner, const QString &target)
{
    Q_UNUSED(owner); // the desktop places the handler's window itself
    m_launcher.openUrl(QUrl::fromUserInput(target)); // a failure is silent
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblLink && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton
        && lblLink->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint())) {
        lblLink_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// Esc presses OK, as Enter does.
void frmAbout::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdOK->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

#include "settings/frmOptions.h"

#include "platform/FitText.h"
#include "platform/Prompts.h"
#include "reader/Twips.h"
#include "settings/GlobalData.h"
#include "settings/LinesPerPageRule.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QToolBar>

namespace {

constexpr double kClientWidth = 6255;
constexpr double kClientHeight = 4365;
// Where a panel waits while its tab is not selected.
constexpr double kPanelAway = -20000;
constexpr double kPanelShown = 210;

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption, double left,
                        double top, double width, double height)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    // No button is the default: Enter in the text box or on a check box must not close the
    // dialog, and a QDialog would otherwise make the first button the default when shown.
    button->setAutoDefault(false);
    button->setDefault(false);
    Twips::place(button, left, top, width, height);
    return button;
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &caption, double left,
                  double top, double width, double height)
{
    // No buddy: clicking the text does not toggle the box beside it.
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    Twips::place(label, left, top, width, height);
    return label;
}

QCheckBox *makeCheckBox(QWidget *parent, const char *name, double left, double top, double width,
                        double height)
{
    auto *box = new QCheckBox(parent);
    box->setObjectName(QLatin1String(name));
    Twips::place(box, left, top, width, height);
    return box;
}

VBool isSet(const QCheckBox *box)
{
    // A greyed box counts as set, as a checked one does.
    return box->checkState() != Qt::Unchecked ? VTrue : VFalse;
}

} // namespace

frmOptions::frmOptions(Prompts &prompts, GlobalData &data, QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_prompts(prompts),
      m_data(data)
{
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    setFixedSize(Twips::toPixels(kClientWidth, this), Twips::toPixels(kClientHeight, this));
    buildControls();

    connect(Check1, &QCheckBox::stateChanged, this, &frmOptions::Check1_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
    connect(cmdApply, &QPushButton::clicked, this, &frmOptions::cmdApply_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOptions::cmdCancel_Click);
    connect(CmdDefault, &QPushButton::clicked, this, &frmOptions::CmdDefault_Click);
    connect(tbsOptions, &QTabBar::currentChanged, this, &frmOptions::tbsOptions_Click);

    // The window's key preview: it sees the keys of every control first.
    const QList<QWidget *> controls = findChildren<QWidget *>();
    for (QWidget *control : controls)
        control->installEventFilter(this);

    Form_Load();
    FitText::shrinkToFit(this);
    FitText::growToHold(this);
}

void frmOptions::buildControls()
{
    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Twips::place(Toolbar1, 0, 0, kClientWidth, 630);

    tbsOptions = new QTabBar(this);
    tbsOptions->setObjectName(QStringLiteral("tbsOptions"));
    const int tab = tbsOptions->addTab(QStringLiteral("Pagelark Property"));
    tbsOptions->setTabData(tab, QStringLiteral("Group1"));
    tbsOptions->setTabToolTip(tab, QStringLiteral("Set Options for Pagelark"));
    Twips::place(tbsOptions, 120, 720, 5775, 3015);

    Frame1 = new QGroupBox(QStringLiteral("Property"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Twips::place(Frame1, 360, 1200, 5172, 2412);

    Check1 = makeCheckBox(Frame1, "Check1", 600, 480, 372, 252);
    Label1 = makeLabel(Frame1, "Label1", QStringLiteral("Load Last Book At StartUp"), 1200, 480,
                       2292, 252);
    Check2 = makeCheckBox(Frame1, "Check2", 600, 840, 372, 252);
    Label2 =
        makeLabel(Frame1, "Label2", QStringLiteral("Jump To Last Read Page"), 1200, 840, 1932, 252);
    Text1 = new QLineEdit(QStringLiteral("23"), Frame1);
    Text1->setObjectName(QStringLiteral("Text1"));
    Twips::place(Text1, 600, 1320, 372, 372);
    Label3 =
        makeLabel(Frame1, "Label3",
                  QStringLiteral("Number of Lines per Page(Will reload the book from page one)"),
                  1320, 1320, 1812, 612);
    Label3->setWordWrap(true);

    // Placeholders for tabs the dialog does not have yet: off-screen and disabled.
    for (int index = 1; index <= 3; ++index) {
        auto *panel = new QWidget(this);
        panel->setObjectName(QStringLiteral("picOptions%1").arg(index));
        Twips::place(panel, kPanelAway, 480, 5685, 3780);
        panel->setEnabled(false);
        auto *sample = new QGroupBox(QStringLiteral("Sample %1").arg(index + 1), panel);
        sample->setObjectName(QStringLiteral("fraSample%1").arg(index + 1));
        Twips::place(sample, 120, 120, 5445, 3540);
        picOptions[index] = panel;
    }

    CmdDefault = makeButton(this, "CmdDefault", QStringLiteral("Default"), 1080, 3840, 1212, 372);
    cmdOK = makeButton(this, "cmdOK", QStringLiteral("OK"), 2400, 3840, 1095, 375);
    cmdCancel = makeButton(this, "cmdCancel", QStringLiteral("Cancel"), 3720, 3840, 1095, 375);
    cmdApply = makeButton(this, "cmdApply", QStringLiteral("Apply"), 4920, 3840, 1095, 375);

    setTabOrder(tbsOptions, Check1);
    setTabOrder(Check1, Check2);
    setTabOrder(Check2, Text1);
    setTabOrder(Text1, CmdDefault);
    setTabOrder(CmdDefault, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    setTabOrder(cmdCancel, cmdApply);
}

void frmOptions::centreOnScreen()
{
    const QScreen *screen = this->screen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize outer = frameGeometry().size();
    move(area.x() + int((area.width() - outer.width()) / 2.0),
         area.y() + int((area.height() - outer.height()) / 2.0));
}

void frmOptions::showEvent(QShowEvent *event)
{
    // The window's frame is known only once it is on the screen; centre it again with it.
    if (!m_centred) {
        m_centred = true;
        centreOnScreen();
    }
    QDialog::showEvent(event);
}

void frmOptions::Form_Load()
{
    centreOnScreen();

    if (m_data.LoadLastBook == VTrue) {
        Check1->setChecked(true);
        Check2->setEnabled(true);
        if (m_data.JumpToLastPage == VTrue)
            Check2->setChecked(true);
    } else {
        // The stored JumpToLastPage is not shown while the book is not reopened.
        Check2->setEnabled(false);
        Check1->setChecked(false);
        Check2->setChecked(false);
    }
    Text1->setText(QString::number(m_data.LinesPerPage));
    tbsOptions->setFocus();
}

void frmOptions::Check1_Click()
{
    // Disabling leaves Check2 as it is: its value is still stored.
    Check2->setEnabled(Check1->checkState() == Qt::Checked);
}

void frmOptions::cmdOK_Click()
{
    if (storeOptions())
        accept();
}

void frmOptions::cmdApply_Click()
{
    storeOptions();
}

void frmOptions::cmdCancel_Click()
{
    reject();
}

void frmOptions::CmdDefault_Click()
{
    Check2->setChecked(false);
    Check1->setChecked(false);
    Text1->setText(QStringLiteral("23"));
}

bool frmOptions::Form_KeyDown(int key, Qt::KeyboardModifiers shift)
{
    if (key != Qt::Key_Tab || (shift & ~Qt::KeypadModifier) != Qt::ControlModifier)
        return false;
    const int current = tbsOptions->currentIndex();
    const int next = current >= tbsOptions->count() - 1 ? 0 : current + 1;
    if (next == current)
        tbsOptions_Click(); // reselecting a tab is a selection too
    else
        tbsOptions->setCurrentIndex(next);
    return true;
}

void frmOptions::tbsOptions_Click()
{
    // Tab n shows panel n - 1; the first tab's options live in Frame1, which is always shown.
    const int selected = tbsOptions->currentIndex() + 1;
    for (int index = 0; index < tbsOptions->count(); ++index) {
        if (index >= int(picOptions.size()) || !picOptions[index])
            continue;
        QWidget *panel = picOptions[index];
        const bool shown = index == selected - 1;
        const QRect at = panel->geometry();
        panel->move(Twips::toPixels(shown ? kPanelShown : kPanelAway, panel), at.y());
        panel->setEnabled(shown);
    }
}

bool frmOptions::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (Form_KeyDown(key->key(), key->modifiers()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmOptions::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdCancel->click();
        return;
    }
    if (Form_KeyDown(event->key(), event->modifiers()))
        return;
    QDialog::keyPressEvent(event);
}

// A refused number gets its warning and another try; cancelling the try returns to the dialog
// with the number stored before, and nothing is stored.
bool frmOptions::storeOptions()
{
    for (;;) {
        const LinesPerPageRule::Result lines = LinesPerPageRule::check(Text1->text());
        if (lines.verdict == LinesPerPageRule::Verdict::Ok) {
            m_data.LoadLastBook = isSet(Check1);
            m_data.JumpToLastPage = isSet(Check2);
            m_data.LinesPerPage = lines.value;
            return true;
        }
        m_prompts.tell(this,
                       lines.verdict == LinesPerPageRule::Verdict::TooLarge
                           ? QStringLiteral("Warning: line per page can't be larger than 32767, "
                                            "please enter another number")
                           : QStringLiteral("Warning: line per page can't be smaller than 1, "
                                            "please enter another number"));
        const std::optional<QString> another =
            m_prompts.askLine(this, QStringLiteral("Please enter another number"), QString());
        if (!another) {
            Text1->setText(QString::number(m_data.LinesPerPage));
            return false;
        }
        Text1->setText(*another);
    }
}

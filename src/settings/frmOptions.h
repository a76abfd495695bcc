#pragma once

#include <QDialog>

#include <array>

struct GlobalData;
class Prompts;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;
class QToolBar;

// The Options dialog: edits whether the last book is reopened at start-up, whether it opens at
// the last page read, and the lines per page. It reads and writes the settings record in memory
// only; re-paging the open book after a change is left to the caller once the dialog is closed.
class frmOptions : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(frmOptions)

public:
    frmOptions(Prompts &prompts, GlobalData &data, QWidget *parent);

public Q_SLOTS:
    void Form_Load();
    void Check1_Click();
    void cmdOK_Click();
    void cmdApply_Click();
    void cmdCancel_Click();
    void CmdDefault_Click();
    void tbsOptions_Click();
    // True when the key was the window's own (Ctrl+Tab) and the control must not see it.
    bool Form_KeyDown(int key, Qt::KeyboardModifiers shift);

protected:
    // Sees every key before the control with the focus, as the window's key preview.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void centreOnScreen();
    // The flags first, then the lines per page, asked for again until it is usable.
    // False when the user cancelled the lines-per-page warning loop; nothing is stored then.
    bool storeOptions();

    Prompts &m_prompts;
    GlobalData &m_data;
    bool m_centred = false;

    QToolBar *Toolbar1 = nullptr;
    QTabBar *tbsOptions = nullptr;
    QGroupBox *Frame1 = nullptr;
    QCheckBox *Check1 = nullptr;
    QLabel *Label1 = nullptr;
    QCheckBox *Check2 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Label3 = nullptr;
    // Indexes 1 to 3; index 0 has no panel.
    std::array<QWidget *, 4> picOptions {};
    QPushButton *CmdDefault = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdApply = nullptr;
};

#pragma once

#include "platform/Registry.h"

#include <QDialog>

class Launcher;
class Prompts;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;

// The About box: title, version, description, credits and the home page link, and a button
// that starts the desktop's system information tool. It keeps no state between openings and
// reads no settings; the caller shows it modally and deletes it.
class frmAbout : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(frmAbout)

public:
    frmAbout(Prompts &prompts, Registry &registry, Launcher &launcher, QWidget *parent);

    static QString homePage();

    // Finds the system information tool through the registry and starts it, or tells the user
    // that it is unavailable.
    void StartSysInfo();
    bool GetKeyValue(Registry::Key KeyRoot, const QString &KeyName, const QString &SubKeyRef,
                     QString &KeyVal);

public Q_SLOTS:
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void lblLink_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildControls();
    void ShellOpen(QWidget *owner, const QString &target);

    Prompts &m_prompts;
    Registry &m_registry;
    Launcher &m_launcher;

    QLabel *picIcon = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblDisclaimer = nullptr;
    QTabWidget *SSTab1 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDescription = nullptr;
    QGroupBox *Frame2 = nullptr;
    QLabel *lblCredit = nullptr;
    QGroupBox *Frame3 = nullptr;
    QLabel *lblLink = nullptr;
    QLabel *Picture1 = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;
};

#include "app/Startup.h"

#include "platform/Prompts.h"
#include "reader/frmMain.h"
#include "settings/SettingsFile.h"

QPointer<frmMain> MainForm;

void Main()
{
    static QtPrompts prompts;
    MainForm = new frmMain(prompts, TheGlobalData());
    MainForm->setAttribute(Qt::WA_DeleteOnClose);
    MainForm->Form_Load(ConfigFilePath());
    MainForm->show();
}

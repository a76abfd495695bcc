// The reader window's menu and toolbar commands.
#include "reader/frmMain.h"

#include "platform/Prompts.h"
#include "reader/TextArea.h"

#include <QAction>

void frmMain::tbToolBar_ButtonClick(QAction *button)
{
    const QString key = button->property("Key").toString();
    if (key == QLatin1String("Open"))
        mnuFileOpen_Click();
}

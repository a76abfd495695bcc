#pragma once

#include <QPointer>

class frmMain;

// The one reader window, set by Main.
extern QPointer<frmMain> MainForm;

// Creates the reader window with the real dialogs and the process's settings record, runs its
// start-up and shows it. The event loop then keeps the program alive until the window closes.
void Main();

#pragma once

#include "menub.h"
#include "oxeldialog.h"

class Dialogs;
class QApplication;

// The main window with its menu bar above the tabs, as the program shows it. Building it runs
// the welcome dialog and the first load, asked through `dialogs`.
class MainWindow
{
public:
    explicit MainWindow(Dialogs& dialogs);

    OxelDialog& window() { return m_window; }
    MenuB& menuBar() { return m_menu; }

private:
    OxelDialog m_window;
    // Declared last, so it goes before the window it belongs to.
    MenuB m_menu;
};

// The program: builds the main window, shows it maximised and runs the application until the
// window is closed or the user quits. Returns the exit code, 0 however the window was left.
int runTarvane(QApplication& app, Dialogs& dialogs);

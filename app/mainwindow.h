#pragma once

#include "menub.h"
#include "oxeldialog.h"

#include <QStringList>

class Dialogs;
class QApplication;

// The main window with its menu bar above the tabs, as the program shows it. Building it runs
// the welcome dialog and the first load, asked through `dialogs`, or loads `startPath`.
class MainWindow
{
public:
    explicit MainWindow(Dialogs& dialogs, const QString& startPath = QString());

    OxelDialog& window() { return m_window; }
    MenuB& menuBar() { return m_menu; }

private:
    OxelDialog m_window;
    // Declared last, so it goes before the window it belongs to.
    MenuB m_menu;
};

// The program, given its command line (`arguments`, the program's name first): "--help" and
// "--version" print and return 0; a corpus file named opens without the welcome dialog. Then builds
// the main window, shows it as the settings file left it (maximised the first time) and runs the
// application until the window is closed or the user quits, and keeps the window's geometry and
// current tab. Returns the exit code: 0 however the window was left, 1 for a command line it does
// not understand.
int runTarvane(QApplication& app, Dialogs& dialogs, const QStringList& arguments);

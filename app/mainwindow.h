#pragma once

#include "app/oxeldialog.h"
#include "menu/menub.h"

#include <QStringList>
#include <optional>

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

// Answers "--help" and "--version" before the application of windows is made, as it must be for a
// program started without a display, which that application needs: prints the answer and returns 0
// when `arguments` ask one of them and read as the program's own; without a display, a line that does
// not read is told there too, and 1 returned. Otherwise prints nothing and
// returns none: runTarvane reads them once the toolkit has taken its own options out of argv.
// `argc` and `argv` are main's, from which `arguments` were decoded.
std::optional<int> answerWithoutWindow(int& argc, char** argv, const QStringList& arguments);

// The program, given its command line (`arguments`, the program's name first): "--help" and
// "--version" print and return 0; a corpus file named opens without the welcome dialog. Then builds
// the main window, shows it as the settings file left it (maximised the first time) and runs the
// application until the window is closed or the user quits, and keeps the window's geometry and
// current tab. Returns the exit code: 0 however the window was left, 1 for a command line it does
// not understand.
int runTarvane(QApplication& app, Dialogs& dialogs, const QStringList& arguments);

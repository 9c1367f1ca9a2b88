#include "mainwindow.h"

#include "qtfrench.h"
#include "windowflags.h"

#include <QApplication>
#include <QGridLayout>
#include <QTranslator>

MainWindow::MainWindow(Dialogs& dialogs)
    : m_window(dialogs, nullptr, nullptr, true, framedWindowFlags), m_menu(m_window, "menu")
{
    m_window.arrangeWindow()->addWidget(&m_menu, 0, 0);
}

int runTarvane(QApplication& app, Dialogs& dialogs)
{
    // Qt's own dialogs speak French like the rest of the program, whatever the system locale.
    QTranslator qtTranslator;
    installQtFrench(qtTranslator);

    MainWindow mainWindow(dialogs);
    // The application's loop, not the dialog's own: "&Quitter" ends it through the application.
    // The window ending in any way ends it too, as a hidden window would leave it running.
    QObject::connect(&mainWindow.window(), &QDialog::finished, &app, &QCoreApplication::quit);
    mainWindow.window().showMaximized();
    app.exec();
    return 0;
}

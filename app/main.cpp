#include "menub.h"
#include "oxeldialog.h"
#include "qtdialogs.h"
#include "qtfrench.h"
#include "windowflags.h"
#include "windowmenuhost.h"

#include <QApplication>
#include <QGridLayout>
#include <QTranslator>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Qt's own dialogs speak French like the rest of the program, whatever the system locale.
    QTranslator qtTranslator;
    installQtFrench(qtTranslator);

    QtDialogs dialogs;
    OxelDialog window(dialogs, nullptr, nullptr, true, framedWindowFlags);
    WindowMenuHost host(window);

    QGridLayout* grid = window.arrangeWindow();
    MenuB menu(host, "menu");
    grid->addWidget(&menu, 0, 0);

    window.showMaximized();
    window.exec();
    return 0;
}

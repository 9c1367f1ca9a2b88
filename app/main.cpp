#include "oxeldialog.h"
#include "qtdialogs.h"
#include "windowflags.h"

#include <QApplication>
#include <QGridLayout>
#include <QTabWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QtDialogs dialogs;
    OxelDialog window(dialogs, nullptr, nullptr, true, framedWindowFlags);

    auto* grid = new QGridLayout(&window);
    grid->setContentsMargins(0, 0, 0, 0);
    // Row 0 is kept for the menu bar.
    grid->addWidget(window.Onglets, 1, 0);

    window.showMaximized();
    window.exec();
    return 0;
}

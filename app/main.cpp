#include "oxeldialog.h"
#include "qtdialogs.h"
#include "windowflags.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QtDialogs dialogs;
    OxelDialog window(dialogs, nullptr, nullptr, true, framedWindowFlags);

    window.arrangeWindow();
    window.showMaximized();
    window.exec();
    return 0;
}

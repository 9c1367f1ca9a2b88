#include "mainwindow.h"
#include "qtdialogs.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QtDialogs dialogs;
    return runTarvane(app, dialogs, QApplication::arguments());
}

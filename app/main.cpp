#include "mainwindow.h"
#include "nativename.h"
#include "qtdialogs.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QtDialogs dialogs;
    // The arguments as the system gave them: a file name that is not UTF-8 still names its file.
    // (The toolkit has taken its own options out of argv.)
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(nativename::decode(QByteArray(argv[i])));
    return runTarvane(app, dialogs, arguments);
}

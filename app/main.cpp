#include "app/mainwindow.h"
#include "corpus/nativename.h"
#include "forms/qtdialogs.h"

#include <QApplication>

namespace {

// The arguments as the system gave them: a file name that is not UTF-8 still names its file.
QStringList decodedArguments(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(nativename::decode(QByteArray(argv[i])));
    return arguments;
}

} // namespace

int main(int argc, char* argv[])
{
    // "--help" and "--version" are answered before the application of windows, which needs a display.
    if (const std::optional<int> answered = answerWithoutWindow(argc, argv, decodedArguments(argc, argv)))
        return *answered;
    QApplication app(argc, argv);
    QtDialogs dialogs;
    // Read again: the toolkit has taken its own options out of argv.
    return runTarvane(app, dialogs, decodedArguments(argc, argv));
}

#include "app/mainwindow.h"

#include "app/qtfrench.h"
#include "forms/windowflags.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QGridLayout>
#include <QTranslator>
#include <algorithm>
#include <cstdio>

MainWindow::MainWindow(Dialogs& dialogs, const QString& startPath)
    : m_window(dialogs, OxelDialog::Unstarted(), nullptr, nullptr, true, framedWindowFlags), m_menu(m_window, "menu")
{
    m_window.arrangeWindow()->addWidget(&m_menu, 0, 0);
    // A long first load shows the window whole, menu bar and all.
    m_window.start(startPath);
}

namespace {

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// The program's options and its one argument, as the parser reads them.
class CommandLine
{
public:
    CommandLine()
    {
        QCoreApplication::setApplicationVersion(QStringLiteral(TARVANE_VERSION));
        m_parser.setApplicationDescription(
            QStringLiteral("Tarvane : lire et chercher dans un corpus encyclopédique XML."));
        m_parser.addOption(m_help);
        m_parser.addOption(m_version);
        m_parser.addPositionalArgument(QStringLiteral("fichier"),
                                       QStringLiteral("Corpus XML à ouvrir directement, sans la fenêtre d'accueil."),
                                       QStringLiteral("[fichier.xml]"));
    }

    // False, with an error to tell, for options it does not know or more than one file.
    bool read(const QStringList& arguments)
    {
        return m_parser.parse(arguments) && m_parser.positionalArguments().size() <= 1;
    }
    QString error() const
    {
        return m_parser.positionalArguments().size() > 1 ? QStringLiteral("Un seul fichier peut être ouvert à la fois.")
                                                         : m_parser.errorText();
    }
    bool asksAnswer() const { return m_parser.isSet(m_help) || m_parser.isSet(m_version); }
    // What "--help" or "--version" prints.
    QString answer() const
    {
        return m_parser.isSet(m_help) ? m_parser.helpText()
                                      : QStringLiteral("Tarvane %1\n").arg(QCoreApplication::applicationVersion());
    }
    QString startPath() const { return m_parser.positionalArguments().value(0); }

private:
    QCommandLineParser m_parser;
    const QCommandLineOption m_help{QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                    QStringLiteral("Affiche cette aide et s'arrête.")};
    const QCommandLineOption m_version{QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                       QStringLiteral("Affiche la version et s'arrête.")};
};

// Whether the application of windows has somewhere to show them: a display, or a platform named.
bool hasPlatform(const QStringList& arguments)
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        if (!qEnvironmentVariableIsEmpty(name))
            return true;
    }
    return std::any_of(arguments.cbegin(), arguments.cend(),
                       [](const QString& argument) { return argument.startsWith(QLatin1String("-platform")); });
}

} // namespace

std::optional<int> answerWithoutWindow(int& argc, char** argv, const QStringList& arguments)
{
    {
        CommandLine first;
        const bool read = first.read(arguments);
        // A line that does not read may still hold the toolkit's own options, which only the application
        // of windows takes out: it is left to it, unless there is no display for it to start on.
        if (read ? !first.asksAnswer() : hasPlatform(arguments))
            return std::nullopt;
    }
    // An application without windows needs no display; the parser's own words are translated through it,
    // so the line is read again once it is there.
    const QCoreApplication application(argc, argv);
    QTranslator qtTranslator;
    installQtFrench(qtTranslator);
    CommandLine commandLine;
    if (!commandLine.read(arguments)) {
        print(stderr, QStringLiteral("tarvane : %1\nVoyez « tarvane --help ».\n").arg(commandLine.error()));
        return 1;
    }
    print(stdout, commandLine.answer());
    return 0;
}

int runTarvane(QApplication& app, Dialogs& dialogs, const QStringList& arguments)
{
    // Qt's own dialogs speak French like the rest of the program, whatever the system locale.
    QTranslator qtTranslator;
    installQtFrench(qtTranslator);

    CommandLine commandLine;
    if (!commandLine.read(arguments)) {
        print(stderr, QStringLiteral("tarvane : %1\nVoyez « tarvane --help ».\n").arg(commandLine.error()));
        return 1;
    }
    if (commandLine.asksAnswer()) {
        print(stdout, commandLine.answer());
        return 0;
    }
    const QString startPath = commandLine.startPath();

    MainWindow mainWindow(dialogs, startPath);
    OxelDialog& window = mainWindow.window();
    // The application's loop, not the dialog's own: "&Quitter" ends it through the application.
    // The window ending in any way ends it too, as a hidden window would leave it running.
    QObject::connect(&window, &QDialog::finished, &app, &QCoreApplication::quit);
    if (!window.isVisible())
        window.showAsLeft();
    app.exec();
    window.saveLayout();
    return 0;
}

#include "mainwindow.h"

#include "qtfrench.h"
#include "windowflags.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QGridLayout>
#include <QTranslator>
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

} // namespace

int runTarvane(QApplication& app, Dialogs& dialogs, const QStringList& arguments)
{
    // Qt's own dialogs speak French like the rest of the program, whatever the system locale.
    QTranslator qtTranslator;
    installQtFrench(qtTranslator);

    QCoreApplication::setApplicationVersion(QStringLiteral(TARVANE_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Tarvane : lire et chercher dans un corpus encyclopédique XML."));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Affiche cette aide et s'arrête."));
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Affiche la version et s'arrête."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("fichier"),
                                 QStringLiteral("Corpus XML à ouvrir directement, sans la fenêtre d'accueil."),
                                 QStringLiteral("[fichier.xml]"));
    if (!parser.parse(arguments) || parser.positionalArguments().size() > 1) {
        const QString error = parser.positionalArguments().size() > 1
                                  ? QStringLiteral("Un seul fichier peut être ouvert à la fois.")
                                  : parser.errorText();
        print(stderr, QStringLiteral("tarvane : %1\nVoyez « tarvane --help ».\n").arg(error));
        return 1;
    }
    if (parser.isSet(help)) {
        print(stdout, parser.helpText());
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, QStringLiteral("Tarvane %1\n").arg(QCoreApplication::applicationVersion()));
        return 0;
    }
    const QString startPath = parser.positionalArguments().value(0);

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

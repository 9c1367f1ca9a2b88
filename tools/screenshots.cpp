// Renders the main window, one picture per tab, on a stock corpus with a search and a cascade
// done, driving the window through its own widgets as a user would, then a formatted article of the
// corpus given second (a generated dictionary). Run in a copy of data/.
#include "app/mainwindow.h"
#include "forms/dialogs.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QTextStream>

namespace {

// Chooses the first stock corpus at start and cancels everything else.
class StockCorpusDialogs : public Dialogs
{
public:
    QString openFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&) override { return {}; }
    void warning(const QString& caption, const QString& text, const QString& details) override
    {
        QTextStream(stderr) << caption << ": " << text << ' ' << details << '\n';
    }
    bool question(QWidget*, const QString&, const QString&) override { return false; }
    QColor colour(QWidget*, const QColor&) override { return {}; }
    std::optional<QFont> font(QWidget*, const QFont&) override { return std::nullopt; }
    bool printSetup(QWidget*, QPrinter&) override { return false; }
    int welcomeChoice(QWidget*) override { return 2; }
    std::optional<std::vector<ElementRole>> elementRoles(QWidget*, const std::vector<RoleRow>&) override
    {
        return std::nullopt;
    }
};

// Picks the entry of that text, as a user choosing it in the list would.
bool choose(QComboBox* combo, const QString& text)
{
    const int index = combo->findText(text);
    if (index < 0) {
        QTextStream(stderr) << combo->objectName() << ": no entry \"" << text << "\"\n";
        return false;
    }
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());

    StockCorpusDialogs dialogs;
    MainWindow mainWindow(dialogs);
    OxelDialog& window = mainWindow.window();
    window.resize(1100, 720);
    window.show();

    window.Txt_Corpus->setText(QStringLiteral("son"));
    window.Txt_Rech->setText(QStringLiteral("vent"));
    window.Bt_Rech->click();
    choose(window.Lst_B11, QStringLiteral("instrument")) && choose(window.Lst_B12, QStringLiteral("vent")) &&
        choose(window.Lst_B13, QStringLiteral("flûte"));

    const QStringList names{QStringLiteral("corpus.png"), QStringLiteral("recherche-simple.png"),
                            QStringLiteral("recherche-croisee.png")};
    int failures = 0;
    const auto save = [&](QWidget& widget, const QString& name) {
        QApplication::processEvents();
        const QString path = out.filePath(name);
        if (!widget.grab().save(path)) {
            QTextStream(stderr) << "cannot write " << path << '\n';
            ++failures;
        }
    };
    for (int tab = 0; tab < names.size(); ++tab) {
        window.Onglets->setCurrentIndex(tab);
        save(window, names[tab]);
    }

    // Reading: the search within the examples, its second mark reached, a word found in the article.
    window.Onglets->setCurrentIndex(1);
    window.Lst_Dans->setCurrentIndex(window.Lst_Dans->findData(QStringLiteral("exemple")));
    window.Bt_Rech->click();
    window.simplePane().nextMark();
    window.simplePane().openFind();
    if (auto* find = window.tab_2->findChild<QLineEdit*>(QStringLiteral("Txt_Trouver")))
        find->setText(QStringLiteral("le"));
    save(window, QStringLiteral("lecture.png"));
    window.simplePane().closeFind();

    // The concordance of that search.
    window.showConcordance();
    if (auto* concordance = window.findChild<QWidget*>(QStringLiteral("Concordance"))) {
        concordance->resize(1000, 320);
        save(*concordance, QStringLiteral("concordance.png"));
    }
    // Accents ignored: "flute a bec" finds and marks "flûte à bec"; the Options menu is drawn open.
    if (auto* accents = mainWindow.menuBar().findChild<QAction*>(QStringLiteral("actionAccents")))
        accents->setChecked(true);
    window.Lst_Dans->setCurrentIndex(0);
    window.Lst_Type->setCurrentIndex(2);
    window.Txt_Rech->setText(QStringLiteral("flute a bec"));
    window.Bt_Rech->click();
    QApplication::processEvents();
    QPixmap picture = window.grab();
    for (QMenu* menu : mainWindow.menuBar().findChildren<QMenu*>()) {
        if (menu->title() != QLatin1String("&Options"))
            continue;
        QMenuBar* bar = mainWindow.menuBar().innerBar();
        menu->adjustSize();
        const QPoint at = bar->mapTo(&window, bar->actionGeometry(menu->menuAction()).bottomLeft());
        QPainter painter(&picture);
        painter.drawPixmap(at, menu->grab());
    }
    const QString optionsPath = out.filePath(QStringLiteral("options.png"));
    if (!picture.save(optionsPath)) {
        QTextStream(stderr) << "cannot write " << optionsPath << '\n';
        ++failures;
    }

    // An article of a generated dictionary as the window formats it: its second, with quotations.
    if (argc > 2) {
        if (auto* accents = mainWindow.menuBar().findChild<QAction*>(QStringLiteral("actionAccents")))
            accents->setChecked(false);
        window.openCorpus(QString::fromLocal8Bit(argv[2]));
        window.Onglets->setCurrentIndex(0);
        window.Txt_Corpus->clear();
        window.resize(1024, 700);
        window.Lst_Corpus->setCurrentIndex(window.Lst_Corpus->model()->index(1, 0));
        save(window, QStringLiteral("mise-en-forme.png"));
    }
    return failures == 0 ? 0 : 1;
}

#include "app/mainwindow.h"
#include "forms/articleview.h"
#include "forms/concordancewindow.h"
#include "menu/menub.h"
#include "search/concordance.h"
#include "search/fulltextsearch.h"
#include "search/searchreport.h"
#include "tests/scripteddialogs.h"
#include "tests/testcorpus.h"
#include "tests/testfiles.h"
#include "tests/windowreading.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

using namespace windowreading;

namespace {

// The rows of the table as shown, cells joined by " | ".
QStringList shownRows(const QTableView* table)
{
    QStringList rows;
    const QAbstractItemModel* model = table->model();
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c)
            cells << model->index(r, c).data().toString();
        rows << cells.join(QStringLiteral(" | "));
    }
    return rows;
}

QAction* menuAction(const MenuB& bar, const QString& text)
{
    for (QAction* top : bar.innerBar()->actions()) {
        if (!top->menu())
            continue;
        for (QAction* action : top->menu()->actions()) {
            if (action->text() == text)
                return action;
        }
    }
    return nullptr;
}

const QString vent =
    QStringLiteral("VENT | VENT Le vent souffle sur la plaine. Un | vent | d'ouest, puis le vent tombe");
const QString ventAgain = QStringLiteral("VENT | la plaine. Un vent d'ouest, puis le | vent | tombe");
const QString tempete = QStringLiteral("TEMPÊTE | TEMPÊTE Le | vent | forcit : la tempête gronde enfin. Vent violent");
const QString aquilon = QStringLiteral("AQUILON | AQUILON Il souffle le | vent | du nord");

// Three articles of one formula `repeats` times over: whole contexts shared within and across articles.
QByteArray formulas(int repeats)
{
    QByteArray text = "vent va vite";
    for (int i = 1; i < repeats; ++i)
        text += " vent va vite";
    QByteArray xml = "<corpus>\n";
    for (const char* title : {"A", "B", "C"})
        xml += "<article><vedette>" + QByteArray(title) + "</vedette> <texte>" + text + "</texte></article>\n";
    return xml + "</corpus>\n";
}

// Tabs, line breaks and spaces of every kind, in the title and around the occurrences.
const QByteArray spaces = "<corpus>\n"
                          "<article><vedette>DEUX&#9;MOTS</vedette> <texte>Un  souffle&#9;de&#13;&#10;vent&#160;froid,"
                          "&#x2028;puis le vent.</texte></article>\n"
                          "</corpus>\n";

// Each row shown as its article's title and where its occurrence starts.
QStringList shownPlaces(const Concordance& concordance)
{
    QStringList places;
    for (int r = 0; r < concordance.occurrenceCount(); ++r)
        places << concordance.cell(r, Concordance::TitleColumn) + u'@' +
                      QString::number(concordance.occurrence(r).start);
    return places;
}

// Where a click on a header section lands.
QPoint sectionCentre(const QHeaderView* header, int section)
{
    return {header->sectionViewportPosition(section) + header->sectionSize(section) / 2, header->height() / 2};
}

} // namespace

class TestConcordance : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void scopesOffered();
    void scopedSearch_data();
    void scopedSearch();
    void scopedReport();
    void scopedCountComesBack();
    void concordanceRows();
    void openingCancelled();
    void noSearchYet();
    void concordanceSort_data();
    void concordanceSort();
    void equalContexts_data();
    void equalContexts();
    void headerClick_data();
    void headerClick();
    void doubleClickShowsOccurrence();
    void placedBeside_data();
    void placedBeside();
    void exportTable_data();
    void exportTable();
    void exportedCells_data();
    void exportedCells();
    void contextsAtEdges_data();
    void contextsAtEdges();

private:
    // Loads the fixture and runs a simple search, within `element` unless empty.
    void search(MainWindow& main, const QString& query, int mode, const QString& element);
    ConcordanceWindow* openConcordance(MainWindow& main);
    // The stock corpus the window opens becomes `xml`.
    void useCorpus(const QByteArray& xml);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
    ScriptedDialogs m_dialogs;
};

void TestConcordance::init()
{
    m_dialogs = ScriptedDialogs();
    m_dialogs.welcome = 2;
    m_previousDir = QDir::currentPath();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QVERIFY(QFile::copy(QFINDTESTDATA("data/exemples.xml"), QStringLiteral("EV_Sons.xml")));
}

void TestConcordance::useCorpus(const QByteArray& xml)
{
    QVERIFY(QFile::remove(QStringLiteral("EV_Sons.xml")));
    testfiles::write(QStringLiteral("EV_Sons.xml"), xml);
}

void TestConcordance::cleanup()
{
    QDir::setCurrent(m_previousDir);
}

void TestConcordance::search(MainWindow& main, const QString& query, int mode, const QString& element)
{
    OxelDialog& window = main.window();
    window.Onglets->setCurrentIndex(1);
    window.Txt_Rech->setText(query);
    window.Lst_Type->setCurrentIndex(mode);
    window.Chk_Cs->setChecked(false);
    window.Lst_Dans->setCurrentIndex(element.isEmpty() ? 0 : window.Lst_Dans->findText(element));
    QTest::mouseClick(window.Bt_Rech, Qt::LeftButton);
}

ConcordanceWindow* TestConcordance::openConcordance(MainWindow& main)
{
    QAction* action = menuAction(main.menuBar(), QStringLiteral("&Concordance"));
    if (!action)
        return nullptr;
    action->trigger();
    return main.window().concordanceWindow();
}

void TestConcordance::scopesOffered()
{
    MainWindow main(m_dialogs);
    const QComboBox* scopes = main.window().Lst_Dans;
    QStringList items;
    for (int i = 0; i < scopes->count(); ++i)
        items << scopes->itemText(i);
    QCOMPARE(items, QStringList({"Tout l'article", "article", "definition", "exemple", "terme", "vedette"}));
    QCOMPARE(scopes->currentIndex(), 0);
    QVERIFY(!scopes->isEditable());
}

void TestConcordance::scopedSearch_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("element"); // empty: the whole article
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QStringList>("marked"); // in the first hit
    QTest::addColumn<bool>("accents");       // "Ignorer les accents" checked

    QTest::newRow("tous, whole article") << "vent" << 0 << "" << QStringList{"VENT", "BRISE", "TEMPÊTE", "AQUILON"}
                                         << "4" << QStringList{"VENT", "vent", "vent", "vent"} << false;
    QTest::newRow("tous, within exemple") << "vent" << 0 << "exemple" << QStringList{"VENT", "TEMPÊTE", "AQUILON"}
                                          << "3 (dans « exemple »)" << QStringList{"vent", "vent"} << false;
    QTest::newRow("tous, nested exemple only") << "tempête" << 0 << "exemple" << QStringList{"TEMPÊTE"}
                                               << "1 (dans « exemple »)" << QStringList{"tempête"} << false;
    QTest::newRow("tous, two terms, one nested") << "vent tempête" << 0 << "exemple" << QStringList{"TEMPÊTE"}
                                                 << "1 (dans « exemple »)" << QStringList{"vent", "tempête"} << false;
    QTest::newRow("tous, terms in two elements") << "souffle nord" << 0 << "exemple" << QStringList{"AQUILON"}
                                                 << "1 (dans « exemple »)" << QStringList{"souffle", "nord"} << false;
    QTest::newRow("tous, within definition") << "vent" << 0 << "definition" << QStringList{"VENT", "BRISE", "TEMPÊTE"}
                                             << "3 (dans « definition »)" << QStringList{"vent"} << false;
    QTest::newRow("auMoinsUn, within exemple") << "brise tempête" << 1 << "exemple" << QStringList{"BRISE", "TEMPÊTE"}
                                               << "2 (dans « exemple »)" << QStringList{"brise"} << false;
    QTest::newRow("auMoinsUn, whole article") << "brise tempête" << 1 << "" << QStringList{"BRISE", "TEMPÊTE"} << "2"
                                              << QStringList{"BRISE", "brise"} << false;
    QTest::newRow("exact, whole article") << "le vent" << 2 << "" << QStringList{"VENT", "TEMPÊTE", "AQUILON"} << "3"
                                          << QStringList{"Le vent", "le vent"} << false;
    QTest::newRow("exact, crossing an edge") << "le vent" << 2 << "exemple" << QStringList{"VENT", "TEMPÊTE"}
                                             << "2 (dans « exemple »)" << QStringList{"le vent"} << false;
    QTest::newRow("exact, element without it")
        << "le vent" << 2 << "vedette" << QStringList{} << "0 (dans « vedette »)" << QStringList{} << false;
    // Accents ignored within an element: only the folded matches lying in it are found and marked.
    QTest::newRow("tous, accents kept, within exemple")
        << "tempete" << 0 << "exemple" << QStringList{} << "0 (dans « exemple »)" << QStringList{} << false;
    QTest::newRow("tous, accents ignored, within exemple") << "tempete" << 0 << "exemple" << QStringList{"TEMPÊTE"}
                                                           << "1 (dans « exemple »)" << QStringList{"tempête"} << true;
    QTest::newRow("tous, accents ignored, within vedette") << "tempete" << 0 << "vedette" << QStringList{"TEMPÊTE"}
                                                           << "1 (dans « vedette »)" << QStringList{"TEMPÊTE"} << true;
    QTest::newRow("auMoinsUn, accents ignored, outside the element")
        << "leger" << 1 << "exemple" << QStringList{} << "0 (dans « exemple »)" << QStringList{} << true;
    QTest::newRow("auMoinsUn, accents ignored, within definition")
        << "leger" << 1 << "definition" << QStringList{"BRISE"} << "1 (dans « definition »)" << QStringList{"léger"}
        << true;
    QTest::newRow("exact, accents ignored, within exemple")
        << "la tempete" << 2 << "exemple" << QStringList{"TEMPÊTE"} << "1 (dans « exemple »)"
        << QStringList{"la tempête"} << true;
    QTest::newRow("exact, accents ignored, crossing an edge")
        << "tempete le" << 2 << "" << QStringList{"TEMPÊTE"} << "1" << QStringList{"TEMPÊTE Le"} << true;
    QTest::newRow("exact, accents ignored, not within exemple")
        << "tempete le" << 2 << "exemple" << QStringList{} << "0 (dans « exemple »)" << QStringList{} << true;
}

void TestConcordance::scopedSearch()
{
    QFETCH(QString, query);
    QFETCH(int, mode);
    QFETCH(QString, element);
    QFETCH(QStringList, titles);
    QFETCH(QString, count);
    QFETCH(QStringList, marked);
    QFETCH(bool, accents);
    MainWindow main(m_dialogs);
    main.window().setIgnoreAccents(accents);
    search(main, query, mode, element);
    const OxelDialog& window = main.window();
    QCOMPARE(listed(window.Lst_Art), titles);
    QCOMPARE(window.Txt_Nb->text(), count);
    QCOMPARE(markedPieces(window.Txt_Art), marked);
}

void TestConcordance::scopedReport()
{
    MainWindow main(m_dialogs);
    search(main, QStringLiteral("vent"), 0, QStringLiteral("exemple"));
    main.window().simplePane().selectRow(1);
    QCOMPARE(searchreport::text(searchreport::Kind::Simple, main.window().resultSimple()),
             QStringLiteral(
                 "     ..:: Tarvane ::..\n---------------------------\nType de Recherche : Simple \n\n"
                 "Critères de recherche : vent\nOptions : Tous les mots \nDans : exemple\n"
                 "Casse : ignorée\nNombre d'articles : 3\n---------------------------\nVENT\nTEMPÊTE\nAQUILON\n"));
    // The whole article adds no line.
    search(main, QStringLiteral("vent"), 0, QString());
    QVERIFY(!searchreport::text(searchreport::Kind::Simple, main.window().resultSimple()).contains(u"Dans"));
    // Back to the scoped search: its count says its scope again.
    main.window().simplePane().back();
    QCOMPARE(main.window().Txt_Nb->text(), QStringLiteral("3 (dans « exemple »)"));
}

void TestConcordance::scopedCountComesBack()
{
    MainWindow main(m_dialogs);
    OxelDialog& window = main.window();
    search(main, QStringLiteral("vent"), 0, QStringLiteral("exemple"));
    search(main, QStringLiteral("brise"), 0, QString());
    QCOMPARE(window.Txt_Nb->text(), QStringLiteral("1"));
    // Back to the first search's article: its list comes back, and its count says where it looked.
    main.menuBar().previousArticle();
    QCOMPARE(listed(window.Lst_Art), QStringList({"VENT", "TEMPÊTE", "AQUILON"}));
    QCOMPARE(window.Txt_Nb->text(), QStringLiteral("3 (dans « exemple »)"));
}

void TestConcordance::concordanceRows()
{
    MainWindow main(m_dialogs);
    search(main, QStringLiteral("vent"), 0, QStringLiteral("exemple"));
    ConcordanceWindow* concordance = openConcordance(main);
    QVERIFY(concordance);
    QCOMPARE(concordance->objectName(), QStringLiteral("Concordance"));
    QVERIFY(concordance->isVisible());
    QTableView* table = concordance->findChild<QTableView*>(QStringLiteral("Tab_Conc"));
    QCOMPARE(table, concordance->table());
    QCOMPARE(shownRows(table), QStringList({vent, ventAgain, tempete, aquilon}));
    QCOMPARE(concordance->countLabel()->text(), QStringLiteral("4 occurrences dans 3 articles"));
    QCOMPARE(table->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Contexte gauche"));
    QCOMPARE(table->model()->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignHorizontal_Mask,
             Qt::AlignRight);

    // Opened again after another search, it follows it.
    search(main, QStringLiteral("brise"), 0, QString());
    QCOMPARE(openConcordance(main), concordance);
    QCOMPARE(shownRows(table), QStringList({"BRISE |  | BRISE | Petit vent léger. La brise du soir",
                                            "BRISE | BRISE Petit vent léger. La | brise | du soir"}));
    QCOMPARE(concordance->countLabel()->text(), QStringLiteral("2 occurrences dans 1 article"));

    // Another corpus loaded: nothing of the last one stays listed, nor held.
    main.window().openCorpus(QStringLiteral("EV_Sons.xml"));
    QCOMPARE(shownRows(table), QStringList());
    QCOMPARE(concordance->countLabel()->text(), QStringLiteral("0 occurrence dans 0 article"));

    // Escape closes it, as it closes the program's other windows.
    QTest::keyClick(table, Qt::Key_Escape);
    QVERIFY(!concordance->isVisible());
}

// The marks are found on a worker behind a progress window: cancelled, the window does not open, and
// neither the old rows nor the new are held.
void TestConcordance::openingCancelled()
{
    MainWindow main(m_dialogs);
    search(main, QStringLiteral("vent"), 0, QStringLiteral("exemple"));
    const qsizetype asked = m_dialogs.progressLabels.size();
    m_dialogs.cancelAtStep = m_dialogs.progressSteps;
    QVERIFY(!openConcordance(main) || !main.window().concordanceWindow()->isVisible());
    QCOMPARE(m_dialogs.progressLabels.mid(asked), QStringList({"Ouverture de la concordance…"}));
    ConcordanceWindow* concordance = main.window().concordanceWindow();
    QVERIFY(concordance);
    QCOMPARE(concordance->concordance().occurrenceCount(), 0);
    QCOMPARE(concordance->countLabel()->text(), QStringLiteral("0 occurrence dans 0 article"));

    // Not cancelled, it opens with the search's rows.
    m_dialogs.cancelAtStep = -1;
    QCOMPARE(openConcordance(main), concordance);
    QVERIFY(concordance->isVisible());
    QCOMPARE(concordance->countLabel()->text(), QStringLiteral("4 occurrences dans 3 articles"));
    QVERIFY(concordance->exportButton()->isEnabled());

    // Cancelled once open: the window stays, with nothing listed.
    search(main, QStringLiteral("brise"), 0, QString());
    m_dialogs.cancelAtStep = m_dialogs.progressSteps;
    openConcordance(main);
    QVERIFY(concordance->isVisible());
    QCOMPARE(concordance->concordance().occurrenceCount(), 0);
    QVERIFY(!concordance->exportButton()->isEnabled());
}

void TestConcordance::noSearchYet()
{
    MainWindow main(m_dialogs);
    OxelDialog& window = main.window();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    // Ctrl+K before any simple search: a warning, no window.
    QTest::keyClick(window.Txt_Rech, Qt::Key_K, Qt::ControlModifier);
    QCOMPARE(m_dialogs.warnings.size(), 1);
    QCOMPARE(m_dialogs.warnings[0].caption, QStringLiteral("Concordance"));
    QCOMPARE(m_dialogs.warnings[0].text,
             QStringLiteral("Aucune recherche pour l'instant : lancez d'abord une recherche simple."));
    QVERIFY(!window.concordanceWindow());

    search(main, QStringLiteral("brise"), 0, QString());
    QTest::keyClick(window.Txt_Rech, Qt::Key_K, Qt::ControlModifier);
    QCOMPARE(m_dialogs.warnings.size(), 1);
    QVERIFY(window.concordanceWindow() && window.concordanceWindow()->isVisible());
}

void TestConcordance::concordanceSort_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<QStringList>("rows");
    // Read forward, the left contexts would sort AQUILON, la plaine, TEMPÊTE, VENT.
    QTest::newRow("left context, backwards") << 1 << false << QStringList{ventAgain, aquilon, tempete, vent};
    QTest::newRow("left context, backwards, descending") << 1 << true << QStringList{vent, tempete, aquilon, ventAgain};
    QTest::newRow("right context") << 3 << false << QStringList{vent, aquilon, tempete, ventAgain};
    QTest::newRow("title, equal ones in text order") << 0 << false << QStringList{aquilon, tempete, vent, ventAgain};
}

void TestConcordance::concordanceSort()
{
    QFETCH(int, column);
    QFETCH(bool, descending);
    QFETCH(QStringList, rows);
    MainWindow main(m_dialogs);
    search(main, QStringLiteral("vent"), 0, QStringLiteral("exemple"));
    ConcordanceWindow* concordance = openConcordance(main);
    QVERIFY(concordance);
    QTableView* table = concordance->table();
    // As a click on the header does.
    table->horizontalHeader()->setSortIndicator(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    QCOMPARE(shownRows(table), rows);
}

void TestConcordance::equalContexts_data()
{
    QTest::addColumn<int>("repeats"); // of the formula in each article
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<QStringList>("places"); // the first rows
    // Left: "a" (the title) at the first occurrence, then "vite va vent a", "vite va vent vite va vent a",
    // then the same eight words from the fourth on. Right: eight words up to the last two occurrences,
    // "va vite vent va vite" and "va vite" (whose key holds it whole).
    QTest::newRow("left context") << 7 << 1 << false
                                  << QStringList{"A@2",  "B@2",  "C@2",  "A@15", "B@15", "C@15", "A@28",
                                                 "B@28", "C@28", "A@41", "A@54", "A@67", "A@80", "B@41",
                                                 "B@54", "B@67", "B@80", "C@41", "C@54", "C@67", "C@80"};
    QTest::newRow("left context, descending")
        << 7 << 1 << true
        << QStringList{"A@41", "A@54", "A@67", "A@80", "B@41", "B@54", "B@67", "B@80", "C@41", "C@54", "C@67",
                       "C@80", "C@28", "B@28", "A@28", "C@15", "B@15", "A@15", "C@2",  "B@2",  "A@2"};
    QTest::newRow("right context") << 7 << 3 << false
                                   << QStringList{"A@80", "B@80", "C@80", "A@67", "B@67", "C@67", "A@2",
                                                  "A@15", "A@28", "A@41", "A@54", "B@2",  "B@15", "B@28",
                                                  "B@41", "B@54", "C@2",  "C@15", "C@28", "C@41", "C@54"};
    QTest::newRow("right context, descending")
        << 7 << 3 << true
        << QStringList{"A@2",  "A@15", "A@28", "A@41", "A@54", "B@2",  "B@15", "B@28", "B@41", "B@54", "C@2",
                       "C@15", "C@28", "C@41", "C@54", "A@67", "B@67", "C@67", "A@80", "B@80", "C@80"};
    QTest::newRow("occurrence, descending")
        << 7 << 2 << true
        << QStringList{"A@2",  "A@15", "A@28", "A@41", "A@54", "A@67", "A@80", "B@2",  "B@15", "B@28", "B@41",
                       "B@54", "B@67", "B@80", "C@2",  "C@15", "C@28", "C@41", "C@54", "C@67", "C@80"};
    QTest::newRow("title, descending") << 7 << 0 << true
                                       << QStringList{"C@2", "C@15", "C@28", "C@41", "C@54", "C@67", "C@80",
                                                      "B@2", "B@15", "B@28", "B@41", "B@54", "B@67", "B@80",
                                                      "A@2", "A@15", "A@28", "A@41", "A@54", "A@67", "A@80"};
    // Enough rows for the keys, the sort and the equal contexts to be shared between two threads.
    QTest::newRow("right context, 75,000 rows")
        << 25000 << 3 << false
        << QStringList{"A@324989", "B@324989", "C@324989", "A@324976", "B@324976", "C@324976", "A@2", "A@15", "A@28"};
    // Three runs of one title, each too small to be shared: the runs are.
    QTest::newRow("title, descending, 75,000 rows") << 25000 << 0 << true << QStringList{"C@2", "C@15", "C@28", "C@41"};
}

void TestConcordance::equalContexts()
{
    QFETCH(int, repeats);
    QFETCH(int, column);
    QFETCH(bool, descending);
    QFETCH(QStringList, places);
    useCorpus(formulas(repeats));
    MainWindow main(m_dialogs);
    search(main, QStringLiteral("vent"), 0, QString());
    ConcordanceWindow* concordance = openConcordance(main);
    QVERIFY(concordance);
    concordance->table()->horizontalHeader()->setSortIndicator(column,
                                                               descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    QCOMPARE(shownPlaces(concordance->concordance()).mid(0, places.size()), places);
}

void TestConcordance::headerClick_data()
{
    QTest::addColumn<QList<int>>("clicks"); // header sections, in turn
    QTest::addColumn<bool>("cancelLast");   // the user cancels the last click's sort
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("indicator");
    QTest::addColumn<bool>("descending"); // the indicator's order

    QTest::newRow("left context") << QList<int>{1} << false << QStringList{ventAgain, aquilon, tempete, vent} << 1
                                  << false;
    QTest::newRow("twice: descending") << QList<int>{1, 1} << false << QStringList{vent, tempete, aquilon, ventAgain}
                                       << 1 << true;
    QTest::newRow("cancelled: text order kept")
        << QList<int>{1} << true << QStringList{vent, ventAgain, tempete, aquilon} << -1 << false;
    QTest::newRow("cancelled: the earlier sort kept")
        << QList<int>{3, 1} << true << QStringList{vent, aquilon, tempete, ventAgain} << 3 << false;
    QTest::newRow("cancelled flip: ascending kept")
        << QList<int>{1, 1} << true << QStringList{ventAgain, aquilon, tempete, vent} << 1 << false;
}

void TestConcordance::headerClick()
{
    QFETCH(QList<int>, clicks);
    QFETCH(bool, cancelLast);
    QFETCH(QStringList, rows);
    QFETCH(int, indicator);
    QFETCH(bool, descending);
    MainWindow main(m_dialogs);
    OxelDialog& window = main.window();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    search(main, QStringLiteral("vent"), 0, QStringLiteral("exemple"));
    ConcordanceWindow* concordance = openConcordance(main);
    QVERIFY(concordance);
    QVERIFY(QTest::qWaitForWindowExposed(concordance));
    QHeaderView* header = concordance->table()->horizontalHeader();
    const qsizetype asked = m_dialogs.progressLabels.size();
    for (qsizetype i = 0; i < clicks.size(); ++i) {
        // The progress window's first answer, before the sort starts.
        if (cancelLast && i == clicks.size() - 1)
            m_dialogs.cancelAtStep = m_dialogs.progressSteps;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, sectionCentre(header, clicks.at(i)));
    }
    QCOMPARE(shownRows(concordance->table()), rows);
    QCOMPARE(header->sortIndicatorSection(), indicator);
    QCOMPARE(header->sortIndicatorOrder(), descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    QCOMPARE(m_dialogs.progressLabels.mid(asked), QStringList(clicks.size(), QStringLiteral("Tri de la concordance…")));
}

void TestConcordance::doubleClickShowsOccurrence()
{
    MainWindow main(m_dialogs);
    OxelDialog& window = main.window();
    search(main, QStringLiteral("vent"), 0, QStringLiteral("exemple"));
    ConcordanceWindow* concordance = openConcordance(main);
    QVERIFY(concordance);
    QVERIFY(QTest::qWaitForWindowExposed(concordance));
    QTableView* table = concordance->table();
    table->horizontalHeader()->setSortIndicator(1, Qt::AscendingOrder);
    // Another search since: the concordance's comes back.
    window.Onglets->setCurrentIndex(0);
    search(main, QStringLiteral("brise"), 0, QString());
    QCOMPARE(listed(window.Lst_Art), QStringList{"BRISE"});

    const QModelIndex third = table->model()->index(2, 2); // TEMPÊTE's "vent"
    // A double-click as the toolkit delivers it: a click, then the second press.
    const QPoint at = table->visualRect(third).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(window.Onglets->currentIndex(), 1);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(listed(window.Lst_Art), QStringList({"VENT", "TEMPÊTE", "AQUILON"}));
    QCOMPARE(window.Txt_Nb->text(), QStringLiteral("3 (dans « exemple »)"));
    QCOMPARE(window.Lst_Art->currentIndex().row(), 1);
    const QTextCursor cursor = window.Txt_Art->textCursor();
    QCOMPARE(window.Txt_Art->articlePosition(cursor.selectionStart()), 11);
    QCOMPARE(cursor.selectedText(), QStringLiteral("vent"));
    QCOMPARE(shownArticle(window.Txt_Art),
             QStringLiteral("TEMPÊTE Le vent forcit : la tempête gronde enfin. Vent violent."));

    // The occurrence chosen is the current mark: F3 goes on from it.
    search(main, QStringLiteral("vent"), 0, QString());
    concordance = openConcordance(main);
    int second = -1;
    for (int row = 0; row < table->model()->rowCount(); ++row) {
        if (concordance->concordance().cell(row, Concordance::TitleColumn) == QStringLiteral("TEMPÊTE") &&
            concordance->concordance().cell(row, Concordance::HitColumn) == QStringLiteral("Vent"))
            second = row;
    }
    QVERIFY(second >= 0);
    const QPoint secondAt = table->visualRect(table->model()->index(second, 2)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, secondAt);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, secondAt);
    QLabel* marks = window.tab_2->findChild<QLabel*>(QStringLiteral("Txt_Occ"));
    QCOMPARE(marks->text(), QStringLiteral("2 / 2"));
    QCOMPARE(window.Txt_Art->textCursor().selectedText(), QStringLiteral("Vent"));
    window.simplePane().nextMark();
    QCOMPARE(marks->text(), QStringLiteral("1 / 2"));
    QCOMPARE(window.Txt_Art->articlePosition(window.Txt_Art->textCursor().selectionStart()), 11);

    // By the keyboard: Enter on a row shows its occurrence as a double-click does.
    table->setCurrentIndex(table->model()->index(second, 0));
    QTest::keyClick(table, Qt::Key_Return);
    QCOMPARE(marks->text(), QStringLiteral("2 / 2"));
    QCOMPARE(window.Txt_Art->textCursor().selectedText(), QStringLiteral("Vent"));
    // Tab leaves the rows for the window's button, rather than moving from cell to cell.
    concordance->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(concordance));
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), concordance->exportButton());
}

void TestConcordance::placedBeside_data()
{
    QTest::addColumn<QRect>("main");
    QTest::addColumn<QRect>("room");
    QTest::addColumn<QRect>("beside"); // null: left where it is
    const QRect screen(0, 0, 1920, 1080);
    QTest::newRow("room on the right") << QRect(0, 20, 1000, 700) << screen << QRect(1000, 20, 900, 500);
    QTest::newRow("room on the left") << QRect(1100, 0, 820, 700) << screen << QRect(200, 0, 900, 500);
    QTest::newRow("narrower than it likes") << QRect(0, 0, 1300, 700) << screen << QRect(1300, 0, 620, 500);
    QTest::newRow("kept on the screen") << QRect(0, 900, 1000, 180) << screen << QRect(1000, 580, 900, 500);
    QTest::newRow("maximised: no room") << screen << screen << QRect();
    QTest::newRow("1024 wide: no room") << QRect(0, 0, 800, 700) << QRect(0, 0, 1024, 700) << QRect();
}

void TestConcordance::placedBeside()
{
    QFETCH(QRect, main);
    QFETCH(QRect, room);
    QFETCH(QRect, beside);
    QCOMPARE(ConcordanceWindow::besideRect(main, room).value_or(QRect()), beside);
}

void TestConcordance::exportTable_data()
{
    QTest::addColumn<QString>("answer");   // the file dialog's
    QTest::addColumn<QString>("existing"); // made before, with the text "ancien"
    QTest::addColumn<QList<bool>>("replies");
    QTest::addColumn<bool>("cancel"); // at the progress window's first answer
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes"); // in `file` afterwards
    QTest::addColumn<QString>("warning");
    QTest::addColumn<int>("progress");      // progress windows asked for
    QTest::addColumn<QStringList>("files"); // in the folder afterwards: no temporary left

    const QByteArray table = "Article\tContexte gauche\tOccurrence\tContexte droit\n"
                             "VENT\tla plaine. Un vent d'ouest, puis le\tvent\ttombe\n"
                             "AQUILON\tAQUILON Il souffle le\tvent\tdu nord\n"
                             "TEMPÊTE\tTEMPÊTE Le\tvent\tforcit : la tempête gronde enfin. Vent violent\n"
                             "VENT\tVENT Le vent souffle sur la plaine. Un\tvent\td'ouest, puis le vent tombe\n";
    const QString unwritable = QStringLiteral("Impossible d'écrire sur ce fichier");
    QTest::newRow("tsv added") << "conc"
                               << "" << QList<bool>{} << false << "conc.tsv" << table << "" << 1
                               << QStringList{"conc.tsv", "EV_Sons.xml", "oxel.conf"};
    QTest::newRow("tsv kept") << "export.tsv"
                              << "" << QList<bool>{} << false << "export.tsv" << table << "" << 1
                              << QStringList{"EV_Sons.xml", "export.tsv", "oxel.conf"};
    QTest::newRow("an extension of its own kept") << "notes.txt"
                                                  << "" << QList<bool>{} << false << "notes.txt" << table << "" << 1
                                                  << QStringList{"EV_Sons.xml", "notes.txt", "oxel.conf"};
    QTest::newRow("a dot in the folder's name only") << "a.b/export"
                                                     << "" << QList<bool>{} << false << "a.b/export.tsv" << table << ""
                                                     << 1 << QStringList{"EV_Sons.xml", "oxel.conf"};
    QTest::newRow("completed name exists, kept")
        << "conc"
        << "conc.tsv" << QList<bool>{false} << false << "conc.tsv" << QByteArray("ancien") << "" << 0
        << QStringList{"conc.tsv", "EV_Sons.xml", "oxel.conf"};
    QTest::newRow("completed name exists, replaced") << "conc"
                                                     << "conc.tsv" << QList<bool>{true} << false << "conc.tsv" << table
                                                     << "" << 1 << QStringList{"conc.tsv", "EV_Sons.xml", "oxel.conf"};
    QTest::newRow("wildcard refused") << "c*.tsv"
                                      << "" << QList<bool>{} << false << "c*.tsv" << QByteArray("<missing>")
                                      << "Un nom de fichier ne peut contenir ni « * » ni « ? »" << 0
                                      << QStringList{"EV_Sons.xml", "oxel.conf"};
    QTest::newRow("a folder in its place, refused before any row")
        << "dossier.tsv"
        << "" << QList<bool>{} << false << "dossier.tsv" << QByteArray("<missing>") << unwritable << 0
        << QStringList{"EV_Sons.xml", "oxel.conf"};
    QTest::newRow("no such folder, refused before any row")
        << "absent/conc.tsv"
        << "" << QList<bool>{} << false << "absent/conc.tsv" << QByteArray("<missing>") << unwritable << 0
        << QStringList{"EV_Sons.xml", "oxel.conf"};
    QTest::newRow("cancelled: no file") << "conc.tsv"
                                        << "" << QList<bool>{} << true << "conc.tsv" << QByteArray("<missing>") << ""
                                        << 1 << QStringList{"EV_Sons.xml", "oxel.conf"};
    QTest::newRow("cancelled: the earlier file whole")
        << "conc.tsv"
        << "conc.tsv" << QList<bool>{} << true << "conc.tsv" << QByteArray("ancien") << "" << 1
        << QStringList{"conc.tsv", "EV_Sons.xml", "oxel.conf"};
}

void TestConcordance::exportTable()
{
    QFETCH(QString, answer);
    QFETCH(QString, existing);
    QFETCH(QList<bool>, replies);
    QFETCH(bool, cancel);
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, warning);
    QFETCH(int, progress);
    QFETCH(QStringList, files);
    MainWindow main(m_dialogs);
    search(main, QStringLiteral("vent"), 0, QStringLiteral("exemple"));
    ConcordanceWindow* concordance = openConcordance(main);
    QVERIFY(concordance);
    concordance->table()->horizontalHeader()->setSortIndicator(1, Qt::AscendingOrder);
    if (!existing.isEmpty())
        testfiles::write(existing, "ancien");
    QVERIFY(QDir().mkdir(QStringLiteral("dossier.tsv")));
    QVERIFY(QDir().mkdir(QStringLiteral("a.b")));
    m_dialogs.saveAnswers = {answer};
    m_dialogs.questionAnswers = replies;
    const qsizetype asked = m_dialogs.progressLabels.size();
    if (cancel)
        m_dialogs.cancelAtStep = m_dialogs.progressSteps;
    QCOMPARE(concordance->exportButton()->text(), QStringLiteral("Exporter…"));
    // By the keyboard, as a click would: Enter on the focused button.
    concordance->exportButton()->setFocus();
    QTest::keyClick(concordance->exportButton(), Qt::Key_Return);
    QCOMPARE(m_dialogs.saveRequests.size(), 1);
    QCOMPARE(m_dialogs.saveRequests.first().filter, QStringLiteral("Fichiers TSV (*.tsv)"));
    QCOMPARE(m_dialogs.questions.size(), replies.size());
    QCOMPARE(testfiles::read(file), bytes);
    QCOMPARE(m_dialogs.warnings.isEmpty() ? QString() : m_dialogs.warnings.first().text, warning);
    QCOMPARE(m_dialogs.progressLabels.mid(asked),
             QStringList(progress, QStringLiteral("Exportation de la concordance…")));
    QCOMPARE(QDir().entryList(QDir::Files | QDir::Hidden), files);
    QCOMPARE(QDir(QStringLiteral("a.b")).entryList(QDir::Files | QDir::Hidden),
             file.startsWith(QLatin1String("a.b/")) ? QStringList{"export.tsv"} : QStringList());
}

void TestConcordance::exportedCells_data()
{
    QTest::addColumn<QByteArray>("corpus");
    QTest::addColumn<int>("column"); // sorted by; -1: the order of the text
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray header = "Article\tContexte gauche\tOccurrence\tContexte droit\n";
    QTest::newRow("tabs and line breaks in cells")
        << spaces << -1
        << header + "DEUX MOTS\tDEUX MOTS Un souffle de\tvent\tfroid, puis le vent\n"
                    "DEUX MOTS\tMOTS Un souffle de vent froid, puis le\tvent\t\n";
    QTest::newRow("equal contexts, right context")
        << formulas(7) << 3
        << header + "A\tva vite vent va vite vent va vite\tvent\tva vite\n"
                    "B\tva vite vent va vite vent va vite\tvent\tva vite\n"
                    "C\tva vite vent va vite vent va vite\tvent\tva vite\n"
                    "A\tva vite vent va vite vent va vite\tvent\tva vite vent va vite\n";
}

void TestConcordance::exportedCells()
{
    QFETCH(QByteArray, corpus);
    QFETCH(int, column);
    QFETCH(QByteArray, bytes);
    useCorpus(corpus);
    MainWindow main(m_dialogs);
    search(main, QStringLiteral("vent"), 0, QString());
    ConcordanceWindow* concordance = openConcordance(main);
    QVERIFY(concordance);
    concordance->table()->horizontalHeader()->setSortIndicator(column, Qt::AscendingOrder);
    m_dialogs.saveAnswers = {QStringLiteral("conc.tsv")};
    concordance->exportTable();
    const QByteArray written = testfiles::read(QStringLiteral("conc.tsv"));
    QCOMPARE(written.left(bytes.size()), bytes);
    // The same lines made a row at a time, as the pieces of a long export are.
    const Concordance& model = concordance->concordance();
    QString rows = model.tabSeparatedHeader();
    for (int row = 0; row < model.occurrenceCount();)
        row = model.appendTabSeparated(rows, row, 1);
    QCOMPARE(rows.toUtf8(), written);
}

void TestConcordance::contextsAtEdges_data()
{
    // Articles whose blocks meet without whitespace: words end at their edges.
    QTest::addColumn<QByteArray>("articles");
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("sortColumn"); // -1: not sorted
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("headword joined to the text")
        << QByteArray("<a><vedette>ART0</vedette><texte>vent souffle, le vent tombe</texte></a>") << "vent" << -1
        << QStringList{"ART0 | ART0 | vent | souffle, le vent tombe", "ART0 | ART0vent souffle, le | vent | tombe"};
    QTest::newRow("eight words counted across edges")
        << QByteArray("<a><t>a</t><t>b</t><t>c</t><t>d</t><t>e</t><t>f</t><t>g</t><t>h</t><t>i</t><t>j</t>"
                      "<t>vent</t><t>k</t></a>")
        << "vent" << -1 << QStringList{"a | cdefghij | vent | k"};
    // Read as one word, the first left context would be "zabcdefghijkl", after the second's.
    QTest::newRow("left context sorted by the words the edges part")
        << QByteArray("<a><v>abcdefghijklm</v><t> vent</t></a><a><v>z</v><t>abcdefghijkl vent</t></a>") << "vent" << 1
        << QStringList{"z | zabcdefghijkl | vent | ", "abcdefghijklm | abcdefghijklm | vent | "};
    // Read as one word, the second right context would be "abcdefghijklz", after the first's.
    QTest::newRow("right context sorted by the words the edges part")
        << QByteArray("<a><t>vent abcdefghijklm</t></a><a><t>vent abcdefghijkl</t><v>z</v></a>") << "vent" << 3
        << QStringList{"vent abcdefghijkl |  | vent | abcdefghijklz", "vent abcdefghijklm |  | vent | abcdefghijklm"};
}

void TestConcordance::contextsAtEdges()
{
    QFETCH(QByteArray, articles);
    QFETCH(QString, query);
    QFETCH(int, sortColumn);
    QFETCH(QStringList, rows);
    const CorpusDocument corpus = testcorpus::of("<r>" + articles + "</r>");
    Concordance concordance;
    concordance.setResult(fullTextSearch(corpus, query, SearchMode::AnyTerm, false));
    if (sortColumn >= 0)
        concordance.sort(sortColumn);
    QStringList actual;
    for (int row = 0; row < concordance.occurrenceCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < Concordance::ColumnCount; ++column)
            cells << concordance.cell(row, column);
        actual << cells.join(QStringLiteral(" | "));
    }
    QCOMPARE(actual, rows);
}

QTEST_MAIN(TestConcordance)
#include "tst_concordance.moc"

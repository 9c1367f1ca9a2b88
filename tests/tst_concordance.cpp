#include "articleview.h"
#include "concordance.h"
#include "concordancewindow.h"
#include "mainwindow.h"
#include "menub.h"
#include "scripteddialogs.h"
#include "searchreport.h"
#include "testfiles.h"
#include "windowreading.h"

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
    void noSearchYet();
    void concordanceSort_data();
    void concordanceSort();
    void doubleClickShowsOccurrence();
    void exportTable_data();
    void exportTable();

private:
    // Loads the fixture and runs a simple search, within `element` unless empty.
    void search(MainWindow& main, const QString& query, int mode, const QString& element);
    ConcordanceWindow* openConcordance(MainWindow& main);

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
    QCOMPARE(searchreport::text(searchreport::Kind::Simple, main.window().resultSimple()),
             QStringLiteral(
                 "     ..:: Tarvane ::..\n---------------------------\nType de Recherche : Simple \n\n"
                 "Critères de recherche : vent\nOptions : Tous les mots \nDans : exemple\n"
                 "Casse : ignorée\nNombre d'articles : 3\n---------------------------\nVENT\nTEMPÊTE\nAQUILON\n"));
    // The whole article adds no line.
    search(main, QStringLiteral("vent"), 0, QString());
    QVERIFY(!searchreport::text(searchreport::Kind::Simple, main.window().resultSimple()).contains(u"Dans"));
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
    QCOMPARE(listed(window.Lst_Art), QStringList({"VENT", "TEMPÊTE", "AQUILON"}));
    QCOMPARE(window.Txt_Nb->text(), QStringLiteral("3 (dans « exemple »)"));
    QCOMPARE(window.Lst_Art->currentIndex().row(), 1);
    const QTextCursor cursor = window.Txt_Art->textCursor();
    QCOMPARE(cursor.selectionStart(), 11);
    QCOMPARE(cursor.selectedText(), QStringLiteral("vent"));
    QCOMPARE(window.Txt_Art->toPlainText(),
             QStringLiteral("TEMPÊTE Le vent forcit : la tempête gronde enfin. Vent violent."));
}

void TestConcordance::exportTable_data()
{
    QTest::addColumn<QString>("answer");   // the file dialog's
    QTest::addColumn<QString>("existing"); // made before, with the text "ancien"
    QTest::addColumn<QList<bool>>("replies");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes"); // in `file` afterwards
    QTest::addColumn<QString>("warning");

    const QByteArray table = "Article\tContexte gauche\tOccurrence\tContexte droit\n"
                             "VENT\tla plaine. Un vent d'ouest, puis le\tvent\ttombe\n"
                             "AQUILON\tAQUILON Il souffle le\tvent\tdu nord\n"
                             "TEMPÊTE\tTEMPÊTE Le\tvent\tforcit : la tempête gronde enfin. Vent violent\n"
                             "VENT\tVENT Le vent souffle sur la plaine. Un\tvent\td'ouest, puis le vent tombe\n";
    QTest::newRow("txt added") << "conc"
                               << "" << QList<bool>{} << "conc.txt" << table << "";
    QTest::newRow("name kept") << "conc.txt"
                               << "" << QList<bool>{} << "conc.txt" << table << "";
    QTest::newRow("completed name exists, kept")
        << "conc"
        << "conc.txt" << QList<bool>{false} << "conc.txt" << QByteArray("ancien") << "";
    QTest::newRow("completed name exists, replaced") << "conc"
                                                     << "conc.txt" << QList<bool>{true} << "conc.txt" << table << "";
    QTest::newRow("wildcard refused") << "c*.txt"
                                      << "" << QList<bool>{} << "c*.txt" << QByteArray("<missing>")
                                      << "Un nom de fichier ne peut contenir ni « * » ni « ? »";
    QTest::newRow("failed write said") << "dossier.txt"
                                       << "" << QList<bool>{} << "dossier.txt" << QByteArray("<missing>")
                                       << "Impossible d'écrire sur ce fichier";
}

void TestConcordance::exportTable()
{
    QFETCH(QString, answer);
    QFETCH(QString, existing);
    QFETCH(QList<bool>, replies);
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, warning);
    MainWindow main(m_dialogs);
    search(main, QStringLiteral("vent"), 0, QStringLiteral("exemple"));
    ConcordanceWindow* concordance = openConcordance(main);
    QVERIFY(concordance);
    concordance->table()->horizontalHeader()->setSortIndicator(1, Qt::AscendingOrder);
    if (!existing.isEmpty())
        testfiles::write(existing, "ancien");
    QVERIFY(QDir().mkdir(QStringLiteral("dossier.txt")));
    m_dialogs.saveAnswers = {answer};
    m_dialogs.questionAnswers = replies;
    QCOMPARE(concordance->exportButton()->text(), QStringLiteral("Exporter…"));
    QTest::mouseClick(concordance->exportButton(), Qt::LeftButton);
    QCOMPARE(m_dialogs.saveRequests.size(), 1);
    QCOMPARE(m_dialogs.saveRequests.first().filter, QStringLiteral("Fichiers Texte (*.txt)"));
    QCOMPARE(m_dialogs.questions.size(), replies.size());
    QCOMPARE(testfiles::read(file), bytes);
    QCOMPARE(m_dialogs.warnings.isEmpty() ? QString() : m_dialogs.warnings.first().text, warning);
}

QTEST_MAIN(TestConcordance)
#include "tst_concordance.moc"

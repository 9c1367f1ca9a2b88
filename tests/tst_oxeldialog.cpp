#include "oxeldialog.h"
#include "resultlistmodel.h"
#include "scripteddialogs.h"
#include "testfiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

namespace {

const QString warningCaption = QStringLiteral("Probleme lors de l'ouverture du fichier XML");

QStringList listed(const QListView* list)
{
    QStringList rows;
    for (int r = 0; r < list->model()->rowCount(); ++r)
        rows << list->model()->index(r, 0).data().toString();
    return rows;
}

QStringList items(const QComboBox* combo)
{
    QStringList result;
    for (int i = 0; i < combo->count(); ++i)
        result << combo->itemText(i);
    return result;
}

const QStringList petitTitles{"VENT", "ÉCHO", "SON", "", "SON", "CLOCHE"};

// The pieces of the view's text shown marked (red).
QStringList markedPieces(const QTextEdit* view)
{
    QStringList pieces;
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().foreground().color() == QColor(Qt::red))
                pieces << it.fragment().text();
        }
    }
    return pieces;
}

// A choice as the user makes it: the entry becomes current, then the box reports its activation.
void choose(QComboBox* combo, const QString& text)
{
    const int index = combo->findText(text);
    QVERIFY2(index >= 0, qPrintable(combo->objectName() + QStringLiteral(" has no ") + text));
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

struct BoxState
{
    QStringList items;
    bool enabled;
};

BoxState state(const QComboBox* combo)
{
    return {items(combo), combo->isEnabled()};
}

} // namespace

class TestOxelDialog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void noChoiceOpensEmpty();
    void stockChoice_data();
    void stockChoice();
    void personalChoiceStartsOnLastPath();
    void personalCancelOffersRetry();
    void failures_data();
    void failures();
    void twoFailuresThenSuccess();
    void abandonedLoadEmptiesRecords();
    void emptyCorpusLoadsSilently();
    void secondLoadReplacesEverything();
    void colourSetting_data();
    void colourSetting();
    void applyRewritesPathOnly();
    void titleFilter();
    void clicksShowArticles_data();
    void clicksShowArticles();
    void simpleSearch_data();
    void simpleSearch();
    void crossCascade();
    void longElementNameSearchesWholeName();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
    ScriptedDialogs m_dialogs;
};

void TestOxelDialog::init()
{
    m_dialogs = ScriptedDialogs();
    m_previousDir = QDir::currentPath();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QVERIFY(QFile::copy(QFINDTESTDATA("data/petit.xml"), QStringLiteral("EV_Sons.xml")));
    QVERIFY(QFile::copy(QFINDTESTDATA("data/petit.xml"), QStringLiteral("petit.xml")));
    testfiles::write(QStringLiteral("EV_Inventaire.xml"),
                     "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<inventaire>\n<ouvrage><titre>LEXIQUE</titre>"
                     "<texte>Liste de mots \xE0 d\xE9\x66inir.</texte></ouvrage>\n"
                     "<ouvrage><titre>ATLAS</titre><texte>Cartes.</texte></ouvrage>\n</inventaire>\n");
}

void TestOxelDialog::cleanup()
{
    QDir::setCurrent(m_previousDir);
    QVERIFY(!QApplication::overrideCursor());
}

void TestOxelDialog::noChoiceOpensEmpty()
{
    m_dialogs.welcome = 0;
    OxelDialog window(m_dialogs);
    QVERIFY(window.corpusPath().isEmpty());
    QCOMPARE(window.windowTitle(), QStringLiteral("Encyclopedie Valmorine"));
    for (QListView* list : {window.Lst_Corpus, window.Lst_Art, window.Lst_Art_Cro})
        QCOMPARE(list->model()->rowCount(), 0);
    for (QComboBox* combo : window.ButtonGroup13->findChildren<QComboBox*>())
        QCOMPARE(combo->count(), 0);
    QCOMPARE(window.Txt_Nb->text(), QStringLiteral("0"));
    QCOMPARE(window.txt_nbcro->text(), QStringLiteral("0"));
    QCOMPARE(window.focusWidget(), window.Txt_Rech);
    QVERIFY(m_dialogs.warnings.isEmpty());
    QVERIFY(!QFile::exists(QStringLiteral("oxel.conf")));
}

void TestOxelDialog::stockChoice_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QStringList>("elements");
    QTest::newRow("sounds") << 2 << "EV_Sons.xml" << petitTitles
                            << QStringList{"- INDIFFERENT -", "article", "auteur", "categorie", "definition",
                                           "domaine",         "renvoi",  "terme",  "texte",     "vedette"};
    QTest::newRow("dictionaries") << 3 << "EV_Inventaire.xml" << QStringList{"LEXIQUE", "ATLAS"}
                                  << QStringList{"- INDIFFERENT -", "ouvrage", "texte", "titre"};
}

void TestOxelDialog::stockChoice()
{
    QFETCH(int, code);
    QFETCH(QString, path);
    QFETCH(QStringList, titles);
    QFETCH(QStringList, elements);
    testfiles::write(QStringLiteral("oxel.conf"), "chemin=/perso/dernier.xml\ncouleur=\npolice=\n");
    m_dialogs.welcome = code;
    OxelDialog window(m_dialogs);

    QCOMPARE(window.corpusPath(), path);
    QCOMPARE(window.windowTitle(), QStringLiteral("..:: Tarvane - Qt ::..    ") + path);
    QCOMPARE(window.corpus().articleCount(), titles.size());
    for (QListView* list : {window.Lst_Corpus, window.Lst_Art, window.Lst_Art_Cro}) {
        QCOMPARE(listed(list), titles);
        QCOMPARE(list->currentIndex().row(), 0);
    }
    QCOMPARE(window.Txt_Nb->text(), QString::number(titles.size()));
    QCOMPARE(window.txt_nbcro->text(), QString::number(titles.size()));
    QVERIFY(window.TxtView_Corpus->toPlainText().contains(titles.first()));
    QCOMPARE(window.Txt_Art->toPlainText(), window.corpus().articles().front().text);
    for (QComboBox* combo : {window.Lst_B11, window.Lst_B21, window.Lst_B31}) {
        QCOMPARE(items(combo), elements);
        QCOMPARE(combo->currentIndex(), 0);
        QVERIFY(combo->isEnabled());
    }
    for (QComboBox* combo :
         {window.Lst_B12, window.Lst_B13, window.Lst_B22, window.Lst_B23, window.Lst_B32, window.Lst_B33})
        QVERIFY(!combo->isEnabled());
    QCOMPARE(window.focusWidget(), window.Txt_Rech);
    QCOMPARE(testfiles::read(QStringLiteral("oxel.conf")),
             QByteArray("chemin=/perso/dernier.xml\ncouleur=\npolice=\n"));
    QVERIFY(m_dialogs.warnings.isEmpty());
    QVERIFY(m_dialogs.openRequests.isEmpty());
}

void TestOxelDialog::personalChoiceStartsOnLastPath()
{
    const QString personal = m_dir->filePath(QStringLiteral("petit.xml"));
    testfiles::write(QStringLiteral("oxel.conf"), "chemin=/ancien.xml\ncouleur=red\nchemin=/dernier.xml\n");
    m_dialogs.welcome = 1;
    m_dialogs.openAnswers = {personal};
    OxelDialog window(m_dialogs);
    QCOMPARE(m_dialogs.openRequests.size(), 1);
    QCOMPARE(m_dialogs.openRequests[0].startPath, QStringLiteral("/dernier.xml"));
    QCOMPARE(m_dialogs.openRequests[0].filter, QStringLiteral("*.xml"));
    QCOMPARE(window.corpusPath(), personal);
    QCOMPARE(listed(window.Lst_Corpus), petitTitles);
    QCOMPARE(testfiles::read(QStringLiteral("oxel.conf")),
             ("chemin=" + personal + "\ncouleur=red\npolice=\n").toUtf8());
}

void TestOxelDialog::personalCancelOffersRetry()
{
    m_dialogs.welcome = 1;
    m_dialogs.openAnswers = {QString(), QStringLiteral("petit.xml")};
    OxelDialog window(m_dialogs);
    QCOMPARE(m_dialogs.openRequests.size(), 2);
    QCOMPARE(m_dialogs.openRequests[0].startPath, QString()); // no settings file yet
    QCOMPARE(m_dialogs.openRequests[1].filter, QStringLiteral("Fichiers XML (*.xml)"));
    QCOMPARE(m_dialogs.warnings.size(), 1);
    QCOMPARE(m_dialogs.warnings[0].caption, warningCaption);
    QCOMPARE(m_dialogs.warnings[0].text, QStringLiteral("Selectionnez un fichier XML"));
    QVERIFY(m_dialogs.warnings[0].waitCursor);
    QCOMPARE(window.corpusPath(), QStringLiteral("petit.xml"));
    QCOMPARE(window.corpus().articleCount(), 6);
    QCOMPARE(window.windowTitle(), QStringLiteral("..:: Tarvane - Qt ::..    petit.xml"));
    QCOMPARE(testfiles::read(QStringLiteral("oxel.conf")), QByteArray("chemin=petit.xml\ncouleur=\npolice=\n"));
}

void TestOxelDialog::failures_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << "absent.xml" << QByteArray() << "Selectionnez un fichier XML";
    QTest::newRow("directory") << "dossier.xml" << QByteArray() << "Impossible de lire le fichier";
    QTest::newRow("not xml") << "texte.xml" << QByteArray("Ceci n'est pas du XML")
                             << "Impossible de décoder le fichier XML";
    QTest::newRow("truncated") << "coupe.xml" << QByteArray("<c><a><t>VENT</t></a><a>")
                               << "Impossible de décoder le fichier XML";
    QTest::newRow("binary") << "image.xml" << QByteArray("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\xFF\xD8", 18)
                            << "Impossible de décoder le fichier XML";
}

void TestOxelDialog::failures()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, contents);
    QFETCH(QString, message);
    if (fileName == QLatin1String("dossier.xml"))
        QVERIFY(QDir().mkdir(fileName));
    else if (!contents.isEmpty())
        testfiles::write(fileName, contents);

    m_dialogs.welcome = 0;
    OxelDialog window(m_dialogs);
    window.setCorpusPath(fileName);
    window.loadCorpus();

    QCOMPARE(m_dialogs.warnings.size(), 1);
    QCOMPARE(m_dialogs.warnings[0].caption, warningCaption);
    QCOMPARE(m_dialogs.warnings[0].text, message);
    QCOMPARE(m_dialogs.openRequests.size(), 1); // the retry dialog, cancelled
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(window.corpus().articleCount(), 0);
    QCOMPARE(window.windowTitle(), QStringLiteral("Encyclopedie Valmorine"));
    // The settings file already names the file that failed.
    QCOMPARE(testfiles::read(QStringLiteral("oxel.conf")), ("chemin=" + fileName + "\ncouleur=\npolice=\n").toUtf8());
}

void TestOxelDialog::twoFailuresThenSuccess()
{
    testfiles::write(QStringLiteral("mauvais.xml"), "<pas fini");
    m_dialogs.welcome = 1;
    m_dialogs.openAnswers = {QStringLiteral("absent.xml"), QStringLiteral("mauvais.xml"), QStringLiteral("petit.xml")};
    OxelDialog window(m_dialogs);
    QCOMPARE(m_dialogs.warnings.size(), 2);
    QCOMPARE(m_dialogs.warnings[0].text, QStringLiteral("Selectionnez un fichier XML"));
    QCOMPARE(m_dialogs.warnings[1].text, QStringLiteral("Impossible de décoder le fichier XML"));
    QVERIFY(m_dialogs.warnings[1].waitCursor);
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(window.corpus().articleCount(), 6);
    QVERIFY(window.windowTitle().endsWith(QLatin1String("petit.xml")));
}

void TestOxelDialog::abandonedLoadEmptiesRecords()
{
    m_dialogs.welcome = 2;
    OxelDialog window(m_dialogs);
    QCOMPARE(window.resultCorpus().count(), 6);
    window.Txt_Corpus->setText(QStringLiteral("son"));

    window.setCorpusPath(QStringLiteral("absent.xml"));
    window.loadCorpus();
    for (const SearchResult* result : {&window.resultSimple(), &window.resultCorpus(), &window.resultCroisee()})
        QCOMPARE(result->count(), 0);
    for (QListView* list : {window.Lst_Corpus, window.Lst_Art, window.Lst_Art_Cro})
        QCOMPARE(list->model()->rowCount(), 0);
    for (QTextEdit* view : {window.TxtView_Corpus, window.Txt_Art, window.Txt_Art_Cro})
        QVERIFY(view->toPlainText().isEmpty());
    QCOMPARE(window.Txt_Nb->text(), QStringLiteral("0"));
    QCOMPARE(window.Lst_B11->count(), 0);
    // The caption still names the corpus of the last successful load.
    QCOMPARE(window.windowTitle(), QStringLiteral("..:: Tarvane - Qt ::..    EV_Sons.xml"));
    // Filtering afterwards refers to no discarded article.
    window.Txt_Corpus->setText(QStringLiteral("vent"));
    QCOMPARE(window.Lst_Corpus->model()->rowCount(), 0);
}

void TestOxelDialog::emptyCorpusLoadsSilently()
{
    testfiles::write(QStringLiteral("vide.xml"), "<?xml version=\"1.0\"?>\n<corpus>\n  <!-- rien -->\n</corpus>\n");
    m_dialogs.welcome = 1;
    m_dialogs.openAnswers = {QStringLiteral("vide.xml")};
    OxelDialog window(m_dialogs);
    QVERIFY(m_dialogs.warnings.isEmpty());
    QCOMPARE(window.Lst_Art->model()->rowCount(), 0);
    QCOMPARE(window.Txt_Nb->text(), QStringLiteral("0"));
    QCOMPARE(window.txt_nbcro->text(), QStringLiteral("0"));
    QCOMPARE(items(window.Lst_B11), QStringList{"- INDIFFERENT -"});
}

void TestOxelDialog::secondLoadReplacesEverything()
{
    m_dialogs.welcome = 2;
    OxelDialog window(m_dialogs);
    window.Lst_B12->setEnabled(true);
    window.Txt_Corpus->setText(QStringLiteral("son"));
    window.setCorpusPath(QStringLiteral("EV_Inventaire.xml"));
    window.loadCorpus();
    QCOMPARE(listed(window.Lst_Art_Cro), QStringList({"LEXIQUE", "ATLAS"}));
    QCOMPARE(listed(window.Lst_Corpus), QStringList({"LEXIQUE", "ATLAS"})); // the field's text stays, unapplied
    QCOMPARE(window.Txt_Corpus->text(), QStringLiteral("son"));
    QCOMPARE(window.corpus().articles().front().number, 0);
    QVERIFY(!window.Lst_B12->isEnabled());
    QCOMPARE(window.Txt_Art->toPlainText(), QStringLiteral("LEXIQUEListe de mots à définir."));
}

void TestOxelDialog::colourSetting_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("valid") << QByteArray("couleur=#336699\npolice=Courier\n") << QColor(0x33, 0x66, 0x99);
    QTest::newRow("named") << QByteArray("couleur=darkseagreen\n") << QColor(QStringLiteral("darkseagreen"));
    QTest::newRow("invalid") << QByteArray("couleur=pas une couleur\n") << QColor(Qt::lightGray);
    QTest::newRow("empty") << QByteArray("couleur=\n") << QColor(Qt::lightGray);
    QTest::newRow("blank before =") << QByteArray("couleur =red\n") << QColor(Qt::lightGray);
}

void TestOxelDialog::colourSetting()
{
    QFETCH(QByteArray, settings);
    QFETCH(QColor, colour);
    testfiles::write(QStringLiteral("oxel.conf"), settings);
    m_dialogs.welcome = 2;
    OxelDialog window(m_dialogs);
    QCOMPARE(window.palette().color(QPalette::Button), colour);
    QCOMPARE(window.Txt_Art->font().family(), QStringLiteral("Arial")); // the font setting applies nothing here
}

void TestOxelDialog::applyRewritesPathOnly()
{
    testfiles::write(QStringLiteral("oxel.conf"), "chemin=/x.xml\ncouleur=red\npolice=Courier\n");
    m_dialogs.welcome = 0;
    OxelDialog window(m_dialogs);
    window.setCorpusPath(QStringLiteral("petit.xml"));
    window.slotBt_Appliquer();
    QCOMPARE(window.colourName(), QString());
    QCOMPARE(window.fontFamily(), QString());
    QCOMPARE(window.palette().color(QPalette::Button), QColor(Qt::lightGray));
    QCOMPARE(testfiles::read(QStringLiteral("oxel.conf")), QByteArray("chemin=petit.xml\ncouleur=\npolice=\n"));
    QCOMPARE(window.corpus().articleCount(), 6);
}

void TestOxelDialog::titleFilter()
{
    m_dialogs.welcome = 2;
    OxelDialog window(m_dialogs);
    QTest::keyClicks(window.Txt_Corpus, QStringLiteral("so"));
    QCOMPARE(listed(window.Lst_Corpus), QStringList({"SON", "SON"}));
    QCOMPARE(window.Lst_Corpus->currentIndex().row(), 0);
    QCOMPARE(window.TxtView_Corpus->toPlainText(), window.corpus().articles()[2].text);
    QCOMPARE(modeName(window.resultCorpus().mode()), QStringLiteral("Corpus"));

    QTest::keyClicks(window.Txt_Corpus, QStringLiteral("x"));
    QCOMPARE(window.Lst_Corpus->model()->rowCount(), 0);
    QVERIFY(window.TxtView_Corpus->toPlainText().isEmpty());

    window.Txt_Corpus->clear();
    QCOMPARE(listed(window.Lst_Corpus), petitTitles);
    QCOMPARE(window.TxtView_Corpus->toPlainText(), window.corpus().articles()[0].text);
}

void TestOxelDialog::clicksShowArticles_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("view");
    QTest::newRow("corpus") << 0 << "Lst_Corpus"
                            << "TxtView_Corpus";
    QTest::newRow("simple") << 1 << "Lst_Art"
                            << "Txt_Art";
    QTest::newRow("cross") << 2 << "Lst_Art_Cro"
                           << "Txt_Art_Cro";
}

void TestOxelDialog::clicksShowArticles()
{
    QFETCH(int, tab);
    QFETCH(QString, list);
    QFETCH(QString, view);
    m_dialogs.welcome = 2;
    OxelDialog window(m_dialogs);
    auto* listView = window.findChild<QListView*>(list);
    auto* textView = window.findChild<QTextEdit*>(view);
    window.arrangeWindow();
    window.Onglets->setCurrentIndex(tab);
    window.resize(1000, 800);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QModelIndex index5 = listView->model()->index(5, 0);
    listView->scrollTo(index5);
    const QRect row5 = listView->visualRect(index5);
    QVERIFY(listView->viewport()->rect().contains(row5.center()));
    QTest::mouseClick(listView->viewport(), Qt::LeftButton, {}, row5.center());
    QCOMPARE(textView->toPlainText(), window.corpus().articles()[5].text);

    // Below the last row: nothing changes.
    QVERIFY(listView->viewport()->height() > 6 * row5.height());
    QTest::mouseClick(listView->viewport(), Qt::LeftButton, {}, QPoint(5, listView->viewport()->height() - 2));
    QCOMPARE(textView->toPlainText(), window.corpus().articles()[5].text);
}

void TestOxelDialog::simpleSearch_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QStringList>("marked"); // in the first hit

    QTest::newRow("all terms, case ignored")
        << "vent" << 0 << false << QStringList{"VENT", "ÉCHO"} << QStringList{"VENT", "vent"};
    QTest::newRow("case respected") << "son" << 0 << true << QStringList{"SON", "CLOCHE"} << QStringList{"son"};
    QTest::newRow("case ignored") << "son" << 0 << false << QStringList{"ÉCHO", "SON", "SON", "CLOCHE"}
                                  << QStringList{"Son", "SON"};
    QTest::newRow("any term") << "cloche bronze" << 1 << false << QStringList{"CLOCHE"}
                              << QStringList{"CLOCHE", "bronze", "cloche", "cloche"};
    QTest::newRow("exact phrase") << "le vent" << 2 << false << QStringList{"VENT", "ÉCHO"} << QStringList{"le vent"};
    QTest::newRow("no hit") << "tonnerre" << 0 << false << QStringList() << QStringList();
    QTest::newRow("empty query lists all") << "" << 0 << false << petitTitles << QStringList();
    QTest::newRow("spaces only, exact, lists all") << "   " << 2 << false << petitTitles << QStringList();
}

void TestOxelDialog::simpleSearch()
{
    QFETCH(QString, query);
    QFETCH(int, mode);
    QFETCH(bool, caseSensitive);
    QFETCH(QStringList, titles);
    QFETCH(QStringList, marked);
    m_dialogs.welcome = 2;
    OxelDialog window(m_dialogs);
    QTest::keyClicks(window.Txt_Rech, query);
    window.Lst_Type->setCurrentIndex(mode);
    window.Chk_Cs->setChecked(caseSensitive);
    QTest::mouseClick(window.Bt_Rech, Qt::LeftButton);

    QCOMPARE(listed(window.Lst_Art), titles);
    QCOMPARE(window.Txt_Nb->text(), QString::number(titles.size()));
    if (titles.isEmpty()) {
        QVERIFY(window.Txt_Art->toPlainText().isEmpty());
        return;
    }
    QCOMPARE(window.Lst_Art->currentIndex().row(), 0);
    QCOMPARE(window.Txt_Art->toPlainText(), window.resultSimple().hits().first()->text);
    QCOMPARE(markedPieces(window.Txt_Art), marked);

    // The same search again shows the first hit again.
    window.Lst_Art->setCurrentIndex(window.Lst_Art->model()->index(titles.size() - 1, 0));
    QTest::mouseClick(window.Bt_Rech, Qt::LeftButton);
    QCOMPARE(listed(window.Lst_Art), titles);
    QCOMPARE(window.Lst_Art->currentIndex().row(), 0);
}

void TestOxelDialog::crossCascade()
{
    QVERIFY(QFile::copy(QFINDTESTDATA("data/croisee.xml"), QStringLiteral("croisee.xml")));
    m_dialogs.welcome = 1;
    m_dialogs.openAnswers = {QStringLiteral("croisee.xml")};
    OxelDialog window(m_dialogs);
    QCOMPARE(window.corpus().articleCount(), 7);
    const QString I = QStringLiteral("- INDIFFERENT -");
    const QStringList elements{I,      "article", "b",      "definition", "domaine", "instrument",
                               "note", "p",       "renvoi", "texte",      "vedette"};
    const QList<QComboBox*> rows[] = {{window.Lst_B11, window.Lst_B12, window.Lst_B13},
                                      {window.Lst_B21, window.Lst_B22, window.Lst_B23},
                                      {window.Lst_B31, window.Lst_B32, window.Lst_B33}};
    for (const QList<QComboBox*>& row : rows) {
        QCOMPARE(items(row[0]), elements);
        QVERIFY(row[0]->isEnabled());
        QVERIFY(!row[1]->isEnabled());
        QVERIFY(!row[2]->isEnabled());
    }
    QSignalSpy progress(window.LoadCroisee, &QProgressBar::valueChanged);
    const auto hits = [&window] { return listed(window.Lst_Art_Cro); };

    // Row 1: an element, one of its values, one of the texts carrying that value.
    choose(window.Lst_B11, "instrument");
    QCOMPARE(hits(), QStringList({"HARPE", "TAMBOUR", "FLÛTE"}));
    QCOMPARE(window.txt_nbcro->text(), QStringLiteral("3"));
    QCOMPARE(window.Lst_Art_Cro->currentIndex().row(), 0);
    QCOMPARE(window.Txt_Art_Cro->toPlainText(), window.corpus().articles()[0].text);
    QCOMPARE(items(window.Lst_B12), QStringList({I, "bois", "corde", "percussion", "pipeau", "vent"}));
    QVERIFY(window.Lst_B12->isEnabled());
    QVERIFY(!window.Lst_B13->isEnabled());
    QCOMPARE(window.LoadCroisee->maximum(), 7);
    QCOMPARE(progress.first().at(0).toInt(), 0);
    QCOMPARE(progress.last().at(0).toInt(), 7);
    QCOMPARE(window.LoadCroisee->value(), -1); // reset: no progress shown

    choose(window.Lst_B12, "corde");
    QCOMPARE(hits(), QStringList({"HARPE"}));
    QCOMPARE(state(window.Lst_B13).items, QStringList({I, "harpe", "lyre"}));
    QVERIFY(window.Lst_B13->isEnabled());

    choose(window.Lst_B13, "lyre");
    QCOMPARE(hits(), QStringList({"HARPE"}));
    QCOMPARE(modeName(window.resultCroisee().mode()), QStringLiteral("croisee"));
    QCOMPARE(markedPieces(window.Txt_Art_Cro), QStringList({"lyre"}));

    // Row 2 narrows the hits of row 1.
    choose(window.Lst_B21, "domaine");
    QCOMPARE(hits(), QStringList({"HARPE"}));
    QCOMPARE(items(window.Lst_B22), QStringList({I, "musique"}));
    QVERIFY(!window.Lst_B23->isEnabled());
    choose(window.Lst_B22, "musique");
    QCOMPARE(items(window.Lst_B23), QStringList({I, "musique"}));
    choose(window.Lst_B23, "musique");
    QCOMPARE(hits(), QStringList({"HARPE"}));
    QCOMPARE(window.resultCroisee().matchedValues(), QStringList({"lyre", "musique", "musique"}));
    QCOMPARE(markedPieces(window.Txt_Art_Cro), QStringList({"musique", "lyre"}));

    // Row 3: a value that no attribute carries leaves the third box empty and disabled.
    choose(window.Lst_B31, "vedette");
    QCOMPARE(items(window.Lst_B32), QStringList({I, "HARPE"}));
    choose(window.Lst_B32, "HARPE");
    QCOMPARE(hits(), QStringList({"HARPE"}));
    QCOMPARE(items(window.Lst_B33), QStringList());
    QVERIFY(!window.Lst_B33->isEnabled());
    QCOMPARE(window.resultCroisee().criteriaDescription(),
             QStringLiteral(" instrument --> corde --> lyre \n\t2º :  domaine --> musique --> musique \n\t3º :  "
                            "vedette --> HARPE \n\t"));

    // A new first choice discards rows 2 and 3.
    choose(window.Lst_B11, "domaine");
    QCOMPARE(hits(), QStringList({"HARPE", "TAMBOUR", "FLÛTE"}));
    QCOMPARE(items(window.Lst_B12), QStringList({I, "lutherie", "musique"}));
    QVERIFY(!window.Lst_B13->isEnabled());
    QCOMPARE(items(window.Lst_B13), QStringList());
    for (QComboBox* first : {window.Lst_B21, window.Lst_B31}) {
        QCOMPARE(first->currentText(), I);
        QVERIFY(first->isEnabled());
    }
    for (QComboBox* box : {window.Lst_B22, window.Lst_B23, window.Lst_B32, window.Lst_B33}) {
        QCOMPARE(box->count(), 0);
        QVERIFY(!box->isEnabled());
    }

    // Nothing chosen in row 1: its empty boxes constrain nothing.
    choose(window.Lst_B11, I);
    QCOMPARE(hits().size(), 7);
    QCOMPARE(items(window.Lst_B12), QStringList());
    QVERIFY(!window.Lst_B12->isEnabled());
    QVERIFY(window.Lst_B21->isEnabled());
    QVERIFY(window.resultCroisee().criteriaDescription().isEmpty());
    choose(window.Lst_B21, "instrument");
    QCOMPARE(hits(), QStringList({"HARPE", "TAMBOUR", "FLÛTE"}));
    QCOMPARE(items(window.Lst_B22), QStringList({I, "bois", "corde", "percussion", "pipeau", "vent"}));

    // A choice that nothing matches empties the list and the view.
    choose(window.Lst_B22, "vent");
    choose(window.Lst_B23, "flûte");
    QCOMPARE(hits(), QStringList({"FLÛTE"}));
    choose(window.Lst_B31, "note");
    QCOMPARE(hits(), QStringList());
    QCOMPARE(window.txt_nbcro->text(), QStringLiteral("0"));
    QVERIFY(window.Txt_Art_Cro->toPlainText().isEmpty());
    QCOMPARE(window.LoadCroisee->value(), -1);

    // Row 3 down to its last box, which only searches.
    choose(window.Lst_B31, "instrument");
    QCOMPARE(hits(), QStringList({"FLÛTE"}));
    QCOMPARE(items(window.Lst_B32), QStringList({I, "bois", "pipeau", "vent"}));
    choose(window.Lst_B32, "bois");
    QCOMPARE(items(window.Lst_B33), QStringList({I, "flûte"}));
    QList<QPair<QStringList, bool>> before;
    for (const QList<QComboBox*>& row : rows) {
        for (QComboBox* box : row)
            before.append({items(box), box->isEnabled()});
    }
    choose(window.Lst_B33, "flûte");
    QCOMPARE(hits(), QStringList({"FLÛTE"}));
    QList<QPair<QStringList, bool>> after;
    for (const QList<QComboBox*>& row : rows) {
        for (QComboBox* box : row)
            after.append({items(box), box->isEnabled()});
    }
    QCOMPARE(after, before);
    QCOMPARE(window.resultCroisee().matchedValues(), QStringList({"flûte", "flûte"}));
}

void TestOxelDialog::longElementNameSearchesWholeName()
{
    const QByteArray name(60, 'n');
    testfiles::write(QStringLiteral("long.xml"),
                     "<r><a><t>UN</t><" + name + ">valeur</" + name + "></a><a><t>DEUX</t></a></r>");
    m_dialogs.welcome = 1;
    m_dialogs.openAnswers = {QStringLiteral("long.xml")};
    OxelDialog window(m_dialogs);
    QCOMPARE(window.corpus().articleCount(), 2);
    choose(window.Lst_B11, QString(50, u'n'));
    QCOMPARE(listed(window.Lst_Art_Cro), QStringList({"UN"}));
    QCOMPARE(items(window.Lst_B12), QStringList({"- INDIFFERENT -", "valeur"}));
    QCOMPARE(window.resultCroisee().criteriaDescription(), QStringLiteral(" ") + QString(47, u'n') + "... ");
}

QTEST_MAIN(TestOxelDialog)
#include "tst_oxeldialog.moc"

#include "app/oxeldialog.h"
#include "corpus/corpusstore.h"
#include "corpus/settingsfile.h"
#include "forms/articleview.h"
#include "forms/resultlistmodel.h"
#include "menu/menub.h"
#include "search/searchreport.h"
#include "tests/scripteddialogs.h"
#include "tests/testfiles.h"
#include "tests/windowreading.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

using namespace windowreading;

namespace {

const QString warningCaption = QStringLiteral("Probleme lors de l'ouverture du fichier XML");

const QStringList petitTitles{"VENT", "ÉCHO", "SON", "", "SON", "CLOCHE"};
// Articles of lecture.xml, in document order.
const QStringList lectureTitles{"AVOIR", "ÊTRE",      "CHAUSSON AUX POMMES", "DE",  "POMME",
                                "Être",  "POMMERAIE", "PÂTE BRISÉE",         "PÂTE"};

// The article's characters selected, without what the view puts in.
QString selected(const ArticleView* view)
{
    const QTextCursor cursor = view->textCursor();
    return view->articleText(cursor.selectionStart(), cursor.selectionEnd());
}

// Double-clicks the `at`-th occurrence (from 0) of `word` in the view's text, in its middle.
void doubleClickWord(QTextEdit* view, const QString& word, int at = 0)
{
    qsizetype position = -1;
    for (int i = 0; i <= at; ++i)
        position = view->toPlainText().indexOf(word, position + 1);
    QVERIFY2(position >= 0, qPrintable(word));
    QTextCursor cursor(view->document());
    cursor.setPosition(int(position + word.size() / 2));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->cursorRect(cursor).center());
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
    void longLoadShowsProgress();
    void cancelledLoadLeavesNoCorpus();
    void colourSetting_data();
    void colourSetting();
    void applyRewritesPathOnly();
    void clicksShowArticles_data();
    void clicksShowArticles();
    void searchWithoutCorpusSaysSo_data();
    void searchWithoutCorpusSaysSo();
    void cancelledSearchKeepsResult_data();
    void cancelledSearchKeepsResult();
    void articleViewsAreReadOnly_data();
    void articleViewsAreReadOnly();
    void crossCascade();
    void longElementNameSearchesWholeName();
    void valuesShownOnOneLine();
    void firstMarkScrolledIntoView();
    void hiddenTabCatchesUp();
    void movingBetweenMarks_data();
    void movingBetweenMarks();
    void findInArticle_data();
    void findInArticle();
    void findFollowsCaseOption();
    void findAcrossBlocks();
    void history_data();
    void history();
    void historyBringsBackTitleList();
    void clickAfterRefillStands();
    void lookUpWord_data();
    void lookUpWord();
    void lookUpWordAtEdge();
    void splitters();

private:
    // The window on lecture.xml, shown and active, on `tab`.
    std::unique_ptr<OxelDialog> readingWindow(int tab);
    // Forgets the load's progress, whose steps follow the clock, so that a search's can be counted.
    void forgetLoadProgress()
    {
        m_dialogs.progressLabels.clear();
        m_dialogs.progressSteps = 0;
    }

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
    // The program's data and cache folders too are the test's own.
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir->path() + QStringLiteral("/donnees")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(m_dir->path() + QStringLiteral("/cache")));
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
    // Typing goes to the tab shown.
    QCOMPARE(window.focusWidget(), window.Txt_Corpus);
    // The window says how to open a corpus, until one is.
    QCOMPARE(window.TxtView_Corpus->placeholderText(),
             QStringLiteral("Aucun corpus ouvert. Choisissez-en un avec Fichier > Ouvrir (Ctrl+O)."));
    QVERIFY(m_dialogs.warnings.isEmpty());
    QVERIFY(!QFile::exists(QStringLiteral("oxel.conf")));
    window.setCorpusPath(QStringLiteral("petit.xml"));
    window.loadCorpus();
    QCOMPARE(window.TxtView_Corpus->placeholderText(), QString());
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
    // The hidden tabs lay out their article when first shown.
    for (const ArticleView* hidden : {window.Txt_Art, window.Txt_Art_Cro}) {
        QVERIFY(hidden->document()->isEmpty());
        QVERIFY(hidden->article().isEmpty());
    }
    QCOMPARE(window.simplePane().shownRow(), 0);
    QCOMPARE(window.crossPane().shownRow(), 0);
    for (QComboBox* combo : {window.Lst_B11, window.Lst_B21, window.Lst_B31}) {
        QCOMPARE(items(combo), elements);
        QCOMPARE(combo->currentIndex(), 0);
        QVERIFY(combo->isEnabled());
    }
    for (QComboBox* combo :
         {window.Lst_B12, window.Lst_B13, window.Lst_B22, window.Lst_B23, window.Lst_B32, window.Lst_B33})
        QVERIFY(!combo->isEnabled());
    QCOMPARE(window.focusWidget(), window.Txt_Corpus);
    QCOMPARE(testfiles::read(QStringLiteral("oxel.conf")),
             QByteArray("chemin=/perso/dernier.xml\ncouleur=\npolice=\n"));
    QVERIFY(m_dialogs.warnings.isEmpty());
    QVERIFY(m_dialogs.openRequests.isEmpty());

    window.Onglets->setCurrentIndex(2);
    QCOMPARE(shownArticle(window.Txt_Art_Cro), window.corpus().articles().front().text);
    QVERIFY(window.Txt_Art->document()->isEmpty());
    window.Onglets->setCurrentIndex(1);
    QCOMPARE(shownArticle(window.Txt_Art), window.corpus().articles().front().text);
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
    QTest::addColumn<QString>("why"); // after the file's name
    QTest::newRow("missing") << "absent.xml" << QByteArray() << "Selectionnez un fichier XML"
                             << "aucun fichier de ce nom";
    QTest::newRow("directory") << "dossier.xml" << QByteArray() << "Impossible de lire le fichier"
                               << "c'est un dossier";
    QTest::newRow("not xml") << "texte.xml" << QByteArray("Ceci n'est pas du XML")
                             << "Impossible de décoder le fichier XML"
                             << "ligne 1, colonne 1 : erreur de syntaxe";
    QTest::newRow("truncated") << "coupe.xml" << QByteArray("<c><a><t>VENT</t></a><a>")
                               << "Impossible de décoder le fichier XML"
                               << "ligne 1, colonne 25 : document inachevé ou sans élément";
    QTest::newRow("tags crossed") << "croise.xml" << QByteArray("<c>\n<a><t>VENT</a></t>\n</c>")
                                  << "Impossible de décoder le fichier XML"
                                  << "ligne 2, colonne 13 : la balise de fin ne correspond pas à la balise ouverte";
    QTest::newRow("binary") << "image.xml" << QByteArray("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\xFF\xD8", 18)
                            << "Impossible de décoder le fichier XML"
                            << "ligne 1, colonne 1 : caractère ou balise non valide";
}

void TestOxelDialog::failures()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, contents);
    QFETCH(QString, message);
    QFETCH(QString, why);
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
    // Which file, and why.
    QCOMPARE(m_dialogs.warnings[0].details, QStringLiteral("Fichier : %1\nRaison : %2").arg(fileName, why));
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
    window.Onglets->setCurrentIndex(1);
    QCOMPARE(shownArticle(window.Txt_Art), QStringLiteral("LEXIQUEListe de mots à définir."));
}

void TestOxelDialog::longLoadShowsProgress()
{
    m_dialogs.welcome = 0;
    OxelDialog window(m_dialogs);
    window.arrangeWindow();
    QVERIFY(!window.isVisible());
    window.setProgressDelay(std::chrono::milliseconds(0));
    // A close asked for while the corpus loads waits for the end of the load.
    QTimer::singleShot(0, &window, &QWidget::close);
    // Loaded before the window shows, as from the command line: a load that lasts shows it first.
    window.openCorpus(QStringLiteral("petit.xml"));
    QCOMPARE(window.corpus().articleCount(), 6);
    QCOMPARE(m_dialogs.progressLabels, QStringList({"Ouverture du corpus…"}));
    QVERIFY(!window.isLoading());
    QCOMPARE(listed(window.Lst_Corpus), petitTitles);
    QTRY_VERIFY(!window.isVisible());
}

void TestOxelDialog::cancelledLoadLeavesNoCorpus()
{
    m_dialogs.welcome = 2;
    OxelDialog window(m_dialogs);
    QCOMPARE(window.corpus().articleCount(), 6);
    QVERIFY(QFile::copy(QFINDTESTDATA("data/lecture.xml"), QStringLiteral("lecture.xml")));
    m_dialogs.cancelAtStep = m_dialogs.progressSteps;
    window.openCorpus(QStringLiteral("lecture.xml"));
    QCOMPARE(m_dialogs.progressLabels.last(), QStringLiteral("Ouverture du corpus…"));
    // Neither the corpus before nor a warning, nor another file to choose: the window says how to open one.
    QCOMPARE(window.corpus().articleCount(), 0);
    for (QListView* list : {window.Lst_Corpus, window.Lst_Art, window.Lst_Art_Cro})
        QCOMPARE(list->model()->rowCount(), 0);
    QVERIFY(m_dialogs.warnings.isEmpty());
    QVERIFY(m_dialogs.openRequests.isEmpty());
    QCOMPARE(window.TxtView_Corpus->placeholderText(),
             QStringLiteral("Aucun corpus ouvert. Choisissez-en un avec Fichier > Ouvrir (Ctrl+O)."));
    QCOMPARE(SettingsFile().values({SettingsFile::pathKey}), QStringList({"lecture.xml"}));
    // Not cancelled, the same file loads.
    window.openCorpus(QStringLiteral("lecture.xml"));
    QCOMPARE(listed(window.Lst_Corpus), lectureTitles);
    QCOMPARE(window.TxtView_Corpus->placeholderText(), QString());
}

void TestOxelDialog::colourSetting_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("family"); // of the article views
    QTest::newRow("valid") << QByteArray("couleur=#336699\npolice=Courier\n") << QColor(0x33, 0x66, 0x99) << "Courier";
    QTest::newRow("named") << QByteArray("couleur=darkseagreen\n") << QColor(QStringLiteral("darkseagreen")) << "Arial";
    QTest::newRow("invalid") << QByteArray("couleur=pas une couleur\n") << QColor(Qt::lightGray) << "Arial";
    QTest::newRow("empty") << QByteArray("couleur=\n") << QColor(Qt::lightGray) << "Arial";
    QTest::newRow("blank before =") << QByteArray("couleur =red\n") << QColor(Qt::lightGray) << "Arial";
}

void TestOxelDialog::colourSetting()
{
    QFETCH(QByteArray, settings);
    QFETCH(QColor, colour);
    QFETCH(QString, family);
    testfiles::write(QStringLiteral("oxel.conf"), settings);
    m_dialogs.welcome = 2;
    OxelDialog window(m_dialogs);
    QCOMPARE(window.palette().color(QPalette::Button), colour);
    QCOMPARE(window.Txt_Art->font().family(), family);
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

namespace {

// One row a tab: its index, its list and its article view.
void addEachTab()
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

} // namespace

void TestOxelDialog::clicksShowArticles_data()
{
    addEachTab();
}

void TestOxelDialog::clicksShowArticles()
{
    QFETCH(int, tab);
    QFETCH(QString, list);
    QFETCH(QString, view);
    m_dialogs.welcome = 2;
    OxelDialog window(m_dialogs);
    auto* listView = window.findChild<QListView*>(list);
    auto* textView = window.findChild<ArticleView*>(view);
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
    QCOMPARE(shownArticle(textView), window.corpus().articles()[5].text);

    // Below the last row: nothing changes.
    QVERIFY(listView->viewport()->height() > 6 * row5.height());
    QTest::mouseClick(listView->viewport(), Qt::LeftButton, {}, QPoint(5, listView->viewport()->height() - 2));
    QCOMPARE(shownArticle(textView), window.corpus().articles()[5].text);
}

void TestOxelDialog::searchWithoutCorpusSaysSo_data()
{
    QTest::addColumn<int>("welcome");
    QTest::addColumn<QString>("path"); // loaded after the start, when not empty
    QTest::newRow("no choice") << 0 << "";
    QTest::newRow("failed load") << 2 << "absent.xml";
}

void TestOxelDialog::searchWithoutCorpusSaysSo()
{
    QFETCH(int, welcome);
    QFETCH(QString, path);
    m_dialogs.welcome = welcome;
    OxelDialog window(m_dialogs);
    if (!path.isEmpty()) {
        window.setCorpusPath(path);
        window.loadCorpus();
    }
    const qsizetype warned = m_dialogs.warnings.size();
    QTest::keyClicks(window.Txt_Rech, QStringLiteral("vent"));
    QTest::mouseClick(window.Bt_Rech, Qt::LeftButton);

    QCOMPARE(m_dialogs.warnings.size(), warned + 1);
    QCOMPARE(m_dialogs.warnings.last().caption, QStringLiteral("Recherche Simple"));
    QCOMPARE(m_dialogs.warnings.last().text, QStringLiteral("Aucun corpus chargé"));
    QVERIFY(!m_dialogs.warnings.last().waitCursor);
    QVERIFY(window.resultSimple().mode() == SearchMode::AllArticles);
    QVERIFY(window.resultSimple().terms().isEmpty());
    QCOMPARE(window.Lst_Art->model()->rowCount(), 0);
    QCOMPARE(window.Txt_Nb->text(), QStringLiteral("0"));

    // The title filter runs at every keystroke: it stays silent.
    QTest::keyClicks(window.Txt_Corpus, QStringLiteral("so"));
    QCOMPARE(m_dialogs.warnings.size(), warned + 1);
}

void TestOxelDialog::cancelledSearchKeepsResult_data()
{
    QTest::addColumn<int>("cancelAt"); // the call to the progress, counted from 0, at which the user cancels
    QTest::newRow("before the first article") << 0;
    QTest::newRow("midway") << 3;
    QTest::newRow("at the last article") << 6;
}

void TestOxelDialog::cancelledSearchKeepsResult()
{
    QFETCH(int, cancelAt);
    const QString searching = QStringLiteral("Recherche en cours…");
    {
        m_dialogs.welcome = 2;
        OxelDialog window(m_dialogs);
        forgetLoadProgress();
        window.Onglets->setCurrentIndex(1);
        QTest::keyClicks(window.Txt_Rech, QStringLiteral("cloche bronze"));
        window.Lst_Type->setCurrentIndex(1);
        QTest::mouseClick(window.Bt_Rech, Qt::LeftButton);
        QCOMPARE(listed(window.Lst_Art), QStringList({"CLOCHE"}));
        QCOMPARE(m_dialogs.progressLabels, QStringList({searching}));
        QCOMPARE(m_dialogs.progressSteps, 7); // (0, 6), then one per article
        const QString shown = shownArticle(window.Txt_Art);

        m_dialogs.cancelAtStep = m_dialogs.progressSteps + cancelAt;
        window.Txt_Rech->clear();
        QTest::keyClicks(window.Txt_Rech, QStringLiteral("son"));
        QTest::mouseClick(window.Bt_Rech, Qt::LeftButton);
        QCOMPARE(m_dialogs.progressLabels, QStringList({searching, searching}));
        QCOMPARE(m_dialogs.progressSteps, 7 + cancelAt + 1);
        QCOMPARE(window.resultSimple().terms(), QStringList({"cloche", "bronze"}));
        QCOMPARE(listed(window.Lst_Art), QStringList({"CLOCHE"}));
        QCOMPARE(window.Txt_Nb->text(), QStringLiteral("1"));
        QCOMPARE(shownArticle(window.Txt_Art), shown);
        QCOMPARE(markedPieces(window.Txt_Art), QStringList({"CLOCHE", "bronze", "cloche", "cloche"}));

        // Not cancelled, the same search runs to its end.
        QTest::mouseClick(window.Bt_Rech, Qt::LeftButton);
        QCOMPARE(listed(window.Lst_Art), QStringList({"ÉCHO", "SON", "SON", "CLOCHE"}));
    }
    {
        QVERIFY(QFile::copy(QFINDTESTDATA("data/croisee.xml"), QStringLiteral("croisee.xml")));
        m_dialogs = ScriptedDialogs();
        m_dialogs.welcome = 1;
        m_dialogs.openAnswers = {QStringLiteral("croisee.xml")};
        OxelDialog window(m_dialogs);
        forgetLoadProgress();
        window.Onglets->setCurrentIndex(2);
        choose(window.Lst_B11, "instrument");
        QCOMPARE(listed(window.Lst_Art_Cro), QStringList({"HARPE", "TAMBOUR", "FLÛTE"}));
        QCOMPARE(m_dialogs.progressSteps, 8);
        choose(window.Lst_B12, "corde");
        QCOMPARE(listed(window.Lst_Art_Cro), QStringList({"HARPE"}));
        const QString shown = shownArticle(window.Txt_Art_Cro);
        const QStringList offered = items(window.Lst_B13);
        QCOMPARE(offered, QStringList({"- INDIFFERENT -", "harpe", "lyre"}));

        // The choice would reset the value boxes of its row: cancelled, the grid stays as it was.
        m_dialogs.cancelAtStep = m_dialogs.progressSteps + cancelAt;
        choose(window.Lst_B11, "domaine");
        QCOMPARE(m_dialogs.progressLabels, QStringList({searching, searching, searching}));
        QCOMPARE(listed(window.Lst_Art_Cro), QStringList({"HARPE"}));
        QCOMPARE(window.txt_nbcro->text(), QStringLiteral("1"));
        QCOMPARE(shownArticle(window.Txt_Art_Cro), shown);
        QCOMPARE(window.resultCroisee().count(), 1);
        QCOMPARE(window.LoadCroisee->value(), -1); // no progress left shown
        QCOMPARE(window.Lst_B11->currentText(), QStringLiteral("instrument"));
        QCOMPARE(window.Lst_B12->currentText(), QStringLiteral("corde"));
        QVERIFY(window.Lst_B13->isEnabled());
        QCOMPARE(items(window.Lst_B13), offered);

        // Not cancelled, the same choice runs and resets its row.
        choose(window.Lst_B11, "domaine");
        QCOMPARE(window.Lst_B12->currentText(), QStringLiteral("- INDIFFERENT -"));
        QVERIFY(!window.Lst_B13->isEnabled());
    }
}

void TestOxelDialog::articleViewsAreReadOnly_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("view");
    QTest::addColumn<QString>("before"); // the control that Shift+Tab reaches
    QTest::addColumn<QString>("after");  // the control that Tab reaches
    QTest::newRow("corpus") << 0 << "TxtView_Corpus"
                            << "Lst_Corpus"
                            << "qt_tabwidget_tabbar";
    QTest::newRow("simple") << 1 << "Txt_Art"
                            << "Lst_Art"
                            << "qt_tabwidget_tabbar";
    QTest::newRow("cross") << 2 << "Txt_Art_Cro"
                           << "Lst_Art_Cro"
                           << "qt_tabwidget_tabbar";
}

void TestOxelDialog::articleViewsAreReadOnly()
{
    QFETCH(int, tab);
    QFETCH(QString, view);
    QFETCH(QString, before);
    QFETCH(QString, after);
    m_dialogs.welcome = 2;
    OxelDialog window(m_dialogs);
    window.arrangeWindow();
    window.Onglets->setCurrentIndex(tab);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* textView = window.findChild<ArticleView*>(view);
    const QString article = window.corpus().articles()[0].text;
    QCOMPARE(shownArticle(textView), article);

    textView->setFocus();
    QTest::keyClicks(textView, QStringLiteral("abc"));
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Space})
        QTest::keyClick(textView, key);
    QTest::keyClick(textView, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(shownArticle(textView), article);

    // The keyboard still moves through the text, selects and copies it.
    QTest::keyClick(textView, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(textView->textCursor().position(), textView->document()->characterCount() - 1);
    QTest::keyClick(textView, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(textView->textCursor().position(), 0);
    QTest::keyClick(textView, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(selected(textView), article.left(1));
    QTest::keyClick(textView, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(selected(textView), article);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(textView, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), article);
    QCOMPARE(shownArticle(textView), article);

    // Tab and Shift+Tab leave the view.
    QTest::keyClick(textView, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), after);
    textView->setFocus();
    QTest::keyClick(textView, Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget()->objectName(), before);
    QCOMPARE(shownArticle(textView), article);
}

void TestOxelDialog::crossCascade()
{
    QVERIFY(QFile::copy(QFINDTESTDATA("data/croisee.xml"), QStringLiteral("croisee.xml")));
    m_dialogs.welcome = 1;
    m_dialogs.openAnswers = {QStringLiteral("croisee.xml")};
    OxelDialog window(m_dialogs);
    window.Onglets->setCurrentIndex(2);
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
    // The progress of a choice is the searches' own; the bar is not shown idle.
    QVERIFY(window.LoadCroisee->isHidden());
    const auto hits = [&window] { return listed(window.Lst_Art_Cro); };

    // Row 1: an element, one of its values, one of the texts carrying that value.
    choose(window.Lst_B11, "instrument");
    QCOMPARE(hits(), QStringList({"HARPE", "TAMBOUR", "FLÛTE"}));
    QCOMPARE(window.txt_nbcro->text(), QStringLiteral("3"));
    QCOMPARE(window.Lst_Art_Cro->currentIndex().row(), 0);
    QCOMPARE(shownArticle(window.Txt_Art_Cro), window.corpus().articles()[0].text);
    QCOMPARE(items(window.Lst_B12), QStringList({I, "bois", "corde", "percussion", "pipeau", "vent"}));
    QVERIFY(window.Lst_B12->isEnabled());
    QVERIFY(!window.Lst_B13->isEnabled());
    QVERIFY(window.LoadCroisee->isHidden());

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

void TestOxelDialog::valuesShownOnOneLine()
{
    testfiles::write(QStringLiteral("lignes.xml"), "<r><a><t>UN</t><e>\n  vent\n  du \t nord </e></a>"
                                                   "<a><t>DEUX</t><e>calme</e></a><a><t>TROIS</t><e>\nsud</e></a>"
                                                   "<a><t>QUATRE</t><e>" +
                                                       QByteArray(900, 'y') + "</e></a></r>");
    m_dialogs.welcome = 1;
    m_dialogs.openAnswers = {QStringLiteral("lignes.xml")};
    OxelDialog window(m_dialogs);
    window.Onglets->setCurrentIndex(2);
    choose(window.Lst_B11, QStringLiteral("e"));
    // Texts are searched without whitespace at either end; inside, it stays as written. A long
    // value is cut for the box; the tooltip and the search keep it whole.
    QCOMPARE(items(window.Lst_B12),
             QStringList({"- INDIFFERENT -", "calme", "sud", "vent du nord", QString(200, u'y') + u'\u2026'}));
    QCOMPARE(window.Lst_B12->itemData(4, Qt::ToolTipRole).toString(), QString(900, u'y'));
    QCOMPARE(window.Lst_B12->itemData(3, Qt::ToolTipRole).toString(), QStringLiteral("vent\n  du \t nord"));
    QCOMPARE(window.Lst_B12->itemData(2, Qt::ToolTipRole).toString(), QStringLiteral("sud"));

    // The choice searches and marks the value as it stands in the text.
    choose(window.Lst_B12, QStringLiteral("vent du nord"));
    QCOMPARE(window.Lst_B12->currentText(), QStringLiteral("vent du nord"));
    QCOMPARE(listed(window.Lst_Art_Cro), QStringList({"UN"}));
    QCOMPARE(window.resultCroisee().matchedValues(), QStringList({"vent\n  du \t nord"}));
    QCOMPARE(markedPieces(window.Txt_Art_Cro), QStringList({"vent", "  du \t nord"})); // one piece per line
}

// The window with its menu bar, as the program builds and runs it.
#include "app/mainwindow.h"
#include "corpus/settingsfile.h"
#include "forms/resultpane.h"
#include "menu/menub.h"

#include <QAction>
#include <QProcess>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <functional>

namespace {

// The visible main window, once the program shows it.
OxelDialog* shownMainWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<OxelDialog*>(widget); window && window->isVisible())
            return window;
    }
    return nullptr;
}

} // namespace

std::unique_ptr<OxelDialog> TestOxelDialog::readingWindow(int tab)
{
    if (!QFile::exists(QStringLiteral("lecture.xml")))
        QFile::copy(QFINDTESTDATA("data/lecture.xml"), QStringLiteral("lecture.xml"));
    m_dialogs.welcome = 1;
    m_dialogs.openAnswers = {QStringLiteral("lecture.xml")};
    auto window = std::make_unique<OxelDialog>(m_dialogs);
    // Its menu bar, which carries the keys of the tabs' reading.
    window->arrangeWindow()->addWidget(new MenuB(*window, "menu"), 0, 0);
    window->Onglets->setCurrentIndex(tab);
    window->resize(1000, 600);
    window->show();
    if (!QTest::qWaitForWindowActive(window.get()))
        return nullptr;
    return window;
}

void TestOxelDialog::firstMarkScrolledIntoView()
{
    const auto window = readingWindow(1);
    QVERIFY(window);
    QCOMPARE(window->corpus().articleCount(), 9);
    window->Txt_Rech->setText(QStringLiteral("pomme"));
    window->Bt_Rech->click();
    // The title of POMME ends where its text begins: "POMME" is a word of it.
    QCOMPARE(listed(window->Lst_Art), QStringList({"DE", "POMME"}));
    ArticleView* view = window->Txt_Art;
    QApplication::processEvents();
    // The first mark stands 101 lines down: the view has moved to it.
    QVERIFY(view->verticalScrollBar()->value() > 0);
    QTextCursor mark(view->document());
    mark.setPosition(int(view->toPlainText().indexOf(QStringLiteral("pomme de terre"))));
    QVERIFY(view->viewport()->rect().contains(view->cursorRect(mark)));
    // Near the middle, not on the last line.
    const int height = view->viewport()->height();
    QVERIFY2(std::abs(view->cursorRect(mark).center().y() - height / 2) < height / 4,
             qPrintable(QStringLiteral("%1 of %2").arg(view->cursorRect(mark).center().y()).arg(height)));
    QCOMPARE(window->tab_2->findChild<QLabel*>(QStringLiteral("Txt_Occ"))->text(), QStringLiteral("1 / 4"));

    // An article without marks: top of the text, an empty label.
    window->Txt_Rech->setText(QStringLiteral("pommier"));
    window->Bt_Rech->click();
    QCOMPARE(listed(window->Lst_Art), QStringList({"POMME"}));
    QCOMPARE(view->verticalScrollBar()->value(), 0);
    QCOMPARE(window->tab_2->findChild<QLabel*>(QStringLiteral("Txt_Occ"))->text(), QStringLiteral("1 / 1"));
    window->Lst_Art->setCurrentIndex(window->Lst_Art->model()->index(0, 0));
    window->Onglets->setCurrentIndex(0);
    QCOMPARE(window->tab->findChild<QLabel*>(QStringLiteral("Txt_Occ"))->text(), QString());
    QVERIFY(!window->tab->findChild<QToolButton*>(QStringLiteral("Bt_Suiv"))->isEnabled());
}

void TestOxelDialog::hiddenTabCatchesUp()
{
    {
        // A tab never shown yet, sized only as it shows.
        const auto first = readingWindow(0);
        QVERIFY(first);
        first->Txt_Rech->setText(QStringLiteral("pomme"));
        first->Bt_Rech->click();
        QVERIFY(first->Txt_Art->document()->isEmpty());
        first->Onglets->setCurrentIndex(1);
        QCOMPARE(first->tab_2->findChild<QLabel*>(QStringLiteral("Txt_Occ"))->text(), QStringLiteral("1 / 4"));
        QCOMPARE(selected(first->Txt_Art), QString());
        QVERIFY(first->Txt_Art->verticalScrollBar()->value() > 0);
        QVERIFY(first->Txt_Art->viewport()->rect().contains(first->Txt_Art->cursorRect()));
    }
    const auto window = readingWindow(1);
    QVERIFY(window);
    ArticleView* view = window->Txt_Art;
    auto* label = window->tab_2->findChild<QLabel*>(QStringLiteral("Txt_Occ"));
    auto* field = window->tab_2->findChild<QLineEdit*>(QStringLiteral("Txt_Trouver"));
    QVERIFY(label && field);
    window->Lst_Art->setCurrentIndex(window->Lst_Art->model()->index(4, 0)); // POMME
    QTest::keyClick(window->Lst_Art, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(field, QStringLiteral("la"));

    // A search run while its tab is hidden: listed at once, laid out when the tab is shown.
    window->Onglets->setCurrentIndex(0);
    window->Txt_Rech->setText(QStringLiteral("pomme"));
    window->Bt_Rech->click();
    // The title of POMME ends where its text begins: "POMME" is a word of it.
    QCOMPARE(listed(window->Lst_Art), QStringList({"DE", "POMME"}));
    QCOMPARE(window->simplePane().shownRow(), 0);
    QVERIFY(view->document()->isEmpty());
    QCOMPARE(label->text(), QString());

    window->Onglets->setCurrentIndex(1);
    QApplication::processEvents();
    QCOMPARE(shownArticle(view), window->resultSimple().hits().first()->text);
    QCOMPARE(markedPieces(view), QStringList({"pomme", "pomme", "Pomme", "pomme"}));
    QVERIFY(field->isVisible());
    QCOMPARE(label->text(), QStringLiteral("1 / 2"));
    QCOMPARE(view->extraSelections().size(), 2);
    QCOMPARE(selected(view), QStringLiteral("la"));
    // Far down the article: the view has moved to it.
    QVERIFY(view->verticalScrollBar()->value() > 0);
    QVERIFY(view->viewport()->rect().contains(view->cursorRect()));
    field->clear();
    QCOMPARE(label->text(), QStringLiteral("1 / 4"));
    window->Lst_Art->setFocus();
    QTest::keyClick(window->Lst_Art, Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(shownArticle(view), QStringLiteral("POMMEFruit du pommier."));
}

void TestOxelDialog::movingBetweenMarks_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("steps");      // F (F3), B (Shift+F3), N (Bt_Suiv), P (Bt_Prec)
    QTest::addColumn<QStringList>("labels"); // Txt_Occ after each step
    QTest::addColumn<QStringList>("chosen"); // the selected text after each step
    QTest::newRow("F3 forward, wrapping") << 1 << "FFFF" << QStringList{"2 / 4", "3 / 4", "4 / 4", "1 / 4"}
                                          << QStringList{"pomme", "Pomme", "pomme", "pomme"};
    QTest::newRow("Shift+F3 wraps back") << 1 << "BB" << QStringList{"4 / 4", "3 / 4"} << QStringList{"pomme", "Pomme"};
    QTest::newRow("buttons") << 1 << "NNPPP" << QStringList{"2 / 4", "3 / 4", "2 / 4", "1 / 4", "4 / 4"}
                             << QStringList{"pomme", "Pomme", "pomme", "pomme", "pomme"};
}

void TestOxelDialog::movingBetweenMarks()
{
    QFETCH(int, tab);
    QFETCH(QString, steps);
    QFETCH(QStringList, labels);
    QFETCH(QStringList, chosen);
    const auto window = readingWindow(tab);
    QVERIFY(window);
    window->Txt_Rech->setText(QStringLiteral("pomme"));
    window->Bt_Rech->click();
    QWidget* page = window->Onglets->currentWidget();
    auto* label = page->findChild<QLabel*>(QStringLiteral("Txt_Occ"));
    auto* next = page->findChild<QToolButton*>(QStringLiteral("Bt_Suiv"));
    auto* previous = page->findChild<QToolButton*>(QStringLiteral("Bt_Prec"));
    QVERIFY(label && next && previous);
    QCOMPARE(label->text(), QStringLiteral("1 / 4"));
    window->Lst_Art->setFocus();
    for (int i = 0; i < steps.size(); ++i) {
        switch (steps[i].toLatin1()) {
        case 'F':
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
            break;
        case 'B':
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3, Qt::ShiftModifier);
            break;
        case 'N':
            QTest::mouseClick(next, Qt::LeftButton);
            break;
        default:
            QTest::mouseClick(previous, Qt::LeftButton);
        }
        QCOMPARE(label->text(), labels[i]);
        QCOMPARE(selected(window->Txt_Art), chosen[i]);
    }
}

void TestOxelDialog::findInArticle_data()
{
    addEachTab();
}

void TestOxelDialog::findInArticle()
{
    QFETCH(int, tab);
    QFETCH(QString, list);
    QFETCH(QString, view);
    const auto window = readingWindow(tab);
    QVERIFY(window);
    auto* listView = window->findChild<QListView*>(list);
    auto* textView = window->findChild<ArticleView*>(view);
    QWidget* page = window->Onglets->currentWidget();
    auto* label = page->findChild<QLabel*>(QStringLiteral("Txt_Occ"));
    auto* field = page->findChild<QLineEdit*>(QStringLiteral("Txt_Trouver"));
    QVERIFY(label && field);
    QVERIFY(!field->isVisible());
    listView->setCurrentIndex(listView->model()->index(3, 0)); // DE
    listView->setFocus();
    const QString searched = window->Txt_Nb->text();

    QTest::keyClick(listView, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(field->isVisible());
    QCOMPARE(QApplication::focusWidget(), field);
    // Incremental and whole-word: "pomm" is in no word of its own.
    QTest::keyClicks(field, QStringLiteral("pomm"));
    QCOMPARE(label->text(), QString());
    QCOMPARE(textView->extraSelections().size(), 0);
    QTest::keyClicks(field, QStringLiteral("e"));
    QCOMPARE(label->text(), QStringLiteral("1 / 4"));
    QCOMPARE(selected(textView), QStringLiteral("pomme"));
    QCOMPARE(textView->extraSelections().size(), 4);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(label->text(), QStringLiteral("2 / 4"));
    QTest::keyClick(field, Qt::Key_F3);
    QCOMPARE(label->text(), QStringLiteral("3 / 4"));
    QCOMPARE(selected(textView), QStringLiteral("Pomme"));
    QTest::keyClick(field, Qt::Key_Enter);
    QTest::keyClick(field, Qt::Key_Enter);
    QCOMPARE(label->text(), QStringLiteral("1 / 4"));
    // Enter stayed in the bar: no search ran.
    QCOMPARE(window->Txt_Nb->text(), searched);

    QTest::keyClick(field, Qt::Key_Escape);
    QVERIFY(!field->isVisible());
    QVERIFY(window->isVisible());
    QCOMPARE(textView->extraSelections().size(), 0);
    QCOMPARE(label->text(), QString());
    QCOMPARE(QApplication::focusWidget(), textView);
}

void TestOxelDialog::findFollowsCaseOption()
{
    const auto window = readingWindow(1);
    QVERIFY(window);
    window->Lst_Art->setCurrentIndex(window->Lst_Art->model()->index(3, 0)); // DE
    QTest::keyClick(window->Lst_Art, Qt::Key_F, Qt::ControlModifier);
    auto* field = window->tab_2->findChild<QLineEdit*>(QStringLiteral("Txt_Trouver"));
    auto* label = window->tab_2->findChild<QLabel*>(QStringLiteral("Txt_Occ"));
    QTest::keyClicks(field, QStringLiteral("Pomme"));
    QCOMPARE(label->text(), QStringLiteral("1 / 4"));
    window->Chk_Cs->setChecked(true);
    QCOMPARE(label->text(), QStringLiteral("1 / 1"));
    QCOMPARE(selected(window->Txt_Art), QStringLiteral("Pomme"));
    // Another article while the bar is open: its words are found.
    window->Lst_Art->setCurrentIndex(window->Lst_Art->model()->index(4, 0)); // POMME
    QCOMPARE(label->text(), QString());
    window->Chk_Cs->setChecked(false);
    // Its title, a block of its own before "Fruit du pommier.".
    QCOMPARE(label->text(), QStringLiteral("1 / 1"));
    QCOMPARE(selected(window->Txt_Art), QStringLiteral("POMME"));
    // The accent option: "pate" finds "PATE" and, folded, the title "PÂTE".
    window->Lst_Art->setCurrentIndex(window->Lst_Art->model()->index(7, 0)); // PÂTE BRISÉE
    field->clear();
    QTest::keyClicks(field, QStringLiteral("pate"));
    QCOMPARE(label->text(), QStringLiteral("1 / 1"));
    window->setIgnoreAccents(true);
    field->clear();
    QTest::keyClicks(field, QStringLiteral("pate"));
    QCOMPARE(label->text(), QStringLiteral("1 / 2"));
    QCOMPARE(selected(window->Txt_Art), QStringLiteral("PÂTE"));
}

void TestOxelDialog::findAcrossBlocks()
{
    const auto window = readingWindow(1);
    QVERIFY(window);
    window->Lst_Art->setCurrentIndex(window->Lst_Art->model()->index(4, 0)); // POMME
    QTest::keyClick(window->Lst_Art, Qt::Key_F, Qt::ControlModifier);
    auto* field = window->tab_2->findChild<QLineEdit*>(QStringLiteral("Txt_Trouver"));
    auto* label = window->tab_2->findChild<QLabel*>(QStringLiteral("Txt_Occ"));
    QVERIFY(field && label);
    // A space of the words typed stands for the edge between the title and the text.
    QTest::keyClicks(field, QStringLiteral("pomme fruit"));
    QCOMPARE(label->text(), QStringLiteral("1 / 1"));
    QCOMPARE(selected(window->Txt_Art), QStringLiteral("POMMEFruit"));
    field->clear();
    QTest::keyClicks(field, QStringLiteral("pommefruit"));
    QCOMPARE(label->text(), QString());
    window->setIgnoreAccents(true);
    field->clear();
    QTest::keyClicks(field, QStringLiteral("fruit"));
    QCOMPARE(label->text(), QStringLiteral("1 / 1"));
    QCOMPARE(selected(window->Txt_Art), QStringLiteral("Fruit"));
    field->clear();
    QTest::keyClicks(field, QStringLiteral("pomme fruit"));
    QCOMPARE(label->text(), QStringLiteral("1 / 1"));
    QCOMPARE(selected(window->Txt_Art), QStringLiteral("POMMEFruit"));
}

void TestOxelDialog::history_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<bool>("mouse");
    QTest::newRow("corpus, keys") << 0 << false;
    QTest::newRow("simple, mouse") << 1 << true;
    QTest::newRow("cross, keys") << 2 << false;
    QTest::newRow("cross, mouse") << 2 << true;
}

void TestOxelDialog::history()
{
    QFETCH(int, tab);
    QFETCH(bool, mouse);
    const auto window = readingWindow(tab);
    QVERIFY(window);
    QListView* list = QList<QListView*>{window->Lst_Corpus, window->Lst_Art, window->Lst_Art_Cro}[tab];
    ArticleView* view = QList<ArticleView*>{window->TxtView_Corpus, window->Txt_Art, window->Txt_Art_Cro}[tab];
    const auto& articles = window->corpus().articles();
    const auto go = [&](bool back) {
        if (mouse)
            QTest::mouseClick(view->viewport(), back ? Qt::BackButton : Qt::ForwardButton, {}, QPoint(5, 5));
        else
            QTest::keyClick(list, back ? Qt::Key_Left : Qt::Key_Right, Qt::AltModifier);
    };
    list->setFocus();
    for (const int row : {2, 5, 4})
        list->setCurrentIndex(list->model()->index(row, 0));
    go(true);
    QCOMPARE(shownArticle(view), articles[5].text);
    QCOMPARE(list->currentIndex().row(), 5);
    go(true);
    go(true);
    QCOMPARE(shownArticle(view), articles[0].text);
    go(true); // nothing before the first
    QCOMPARE(shownArticle(view), articles[0].text);
    go(false);
    QCOMPARE(shownArticle(view), articles[2].text);
    QCOMPARE(list->currentIndex().row(), 2);
    // A new article drops what lay ahead.
    list->setCurrentIndex(list->model()->index(6, 0));
    go(false);
    QCOMPARE(shownArticle(view), articles[6].text);
    go(true);
    QCOMPARE(shownArticle(view), articles[2].text);
    // Another tab's history is its own.
    window->Onglets->setCurrentIndex((tab + 1) % 3);
    QTest::keyClick(window->Onglets->currentWidget()->findChild<ArticleView*>(), Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(shownArticle(view), articles[2].text);
}

void TestOxelDialog::historyBringsBackTitleList()
{
    const auto window = readingWindow(0);
    QVERIFY(window);
    QTest::keyClicks(window->Txt_Corpus, QStringLiteral("pomme"));
    QCOMPARE(listed(window->Lst_Corpus), QStringList({"CHAUSSON AUX POMMES", "POMME", "POMMERAIE"}));
    window->Lst_Corpus->setCurrentIndex(window->Lst_Corpus->model()->index(2, 0));
    window->Txt_Corpus->clear();
    QCOMPARE(listed(window->Lst_Corpus), lectureTitles);
    QTest::keyClick(window->Lst_Corpus, Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(shownArticle(window->TxtView_Corpus), QStringLiteral("POMMERAIELieu planté de pommiers."));
    QCOMPARE(listed(window->Lst_Corpus), QStringList({"CHAUSSON AUX POMMES", "POMME", "POMMERAIE"}));
    QCOMPARE(window->Lst_Corpus->currentIndex().row(), 2);
    QCOMPARE(window->Txt_Corpus->text(), QStringLiteral("pomme"));
    // Typing the filter showed one article per key: back once more reaches the one before typing.
    QTest::keyClick(window->Lst_Corpus, Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(shownArticle(window->TxtView_Corpus), QStringLiteral("CHAUSSON AUX POMMESPâtisserie."));
    QTest::keyClick(window->Lst_Corpus, Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(shownArticle(window->TxtView_Corpus), QStringLiteral("AVOIRVerbe auxiliaire. Voy. ÊTRE."));
    QCOMPARE(window->Txt_Corpus->text(), QString());
}

// A click on the title list just after it refills (the filter cleared) is the user's: the list does
// not go back to its first row, and the history keeps the article clicked.
void TestOxelDialog::clickAfterRefillStands()
{
    // More titles than one slice of the list's layout.
    QByteArray many("<r>");
    for (int i = 0; i < 30000; ++i)
        many += "<a><t>T" + QByteArray::number(i) + "</t>pomme</a>";
    testfiles::write(QStringLiteral("lecture.xml"), many + "</r>");
    const auto window = readingWindow(0);
    QVERIFY(window);
    QListView* list = window->Lst_Corpus;
    const auto& articles = window->corpus().articles();
    QTest::keyClicks(window->Txt_Corpus, QStringLiteral("T29"));
    QApplication::processEvents();
    window->Txt_Corpus->clear();
    // No event between the refill and the click.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(3, 0)).center());
    QApplication::processEvents();
    QTest::qWait(50);
    QCOMPARE(list->currentIndex().row(), 3);
    QCOMPARE(shownArticle(window->TxtView_Corpus), articles[3].text);
    window->corpusPane().back();
    window->corpusPane().forward();
    QCOMPARE(shownArticle(window->TxtView_Corpus), articles[3].text);
}

void TestOxelDialog::lookUpWord_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("row"); // the article double-clicked in
    QTest::addColumn<QString>("word");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("accents"); // "Ignorer les accents" checked
    QTest::newRow("one title, from the simple tab") << 1 << 1 << "AVOIR" << QStringList{"AVOIR"} << "AVOIR"
                                                    << "AVOIRVerbe auxiliaire. Voy. ÊTRE." << false;
    QTest::newRow("two titles, case ignored, from the cross tab")
        << 2 << 0 << "ÊTRE" << QStringList{"ÊTRE", "Être"} << "ÊTRE"
        << "ÊTREVerbe. Voy. AVOIR ; des pommes." << false;
    QTest::newRow("no title: the filter holds the word")
        << 0 << 1 << "pommes" << QStringList{"CHAUSSON AUX POMMES"} << "pommes"
        << "CHAUSSON AUX POMMESPâtisserie." << false;
    // Nothing by that word: the tabs and the history stay as they were.
    QTest::newRow("no title holds it") << 1 << 3 << "reinette" << QStringList{} << ""
                                       << "" << false;
    QTest::newRow("accents ignored: the equal title, not the filter")
        << 1 << 7 << "PATE" << QStringList{"PÂTE"} << "PATE"
        << "PÂTEFarine pétrie." << true;
    QTest::newRow("accents kept: no title, none holds it") << 1 << 7 << "PATE" << QStringList{} << ""
                                                           << "" << false;
    // The title ends where the text's block begins: each is a word of its own.
    QTest::newRow("the title joined to its text") << 1 << 4 << "POMME" << QStringList{"POMME"} << "POMME"
                                                  << "POMMEFruit du pommier." << false;
    QTest::newRow("the text joined to its title") << 1 << 4 << "Fruit" << QStringList{} << ""
                                                  << "" << false;
}

void TestOxelDialog::lookUpWord()
{
    QFETCH(int, tab);
    QFETCH(int, row);
    QFETCH(QString, word);
    QFETCH(QStringList, titles);
    QFETCH(QString, filter);
    QFETCH(QString, shown);
    QFETCH(bool, accents);
    const auto window = readingWindow(tab);
    QVERIFY(window);
    window->setIgnoreAccents(accents);
    QListView* list = QList<QListView*>{window->Lst_Corpus, window->Lst_Art, window->Lst_Art_Cro}[tab];
    ArticleView* view = QList<ArticleView*>{window->TxtView_Corpus, window->Txt_Art, window->Txt_Art_Cro}[tab];
    list->setCurrentIndex(list->model()->index(row, 0));
    const QStringList before = listed(window->Lst_Corpus);
    const QString shownBefore = shownArticle(window->TxtView_Corpus);
    doubleClickWord(view, word);
    if (titles.isEmpty()) {
        QCOMPARE(window->Onglets->currentIndex(), tab);
        QCOMPARE(listed(window->Lst_Corpus), before);
        QCOMPARE(shownArticle(window->TxtView_Corpus), shownBefore);
        QCOMPARE(window->Txt_Corpus->text(), filter);
        QCOMPARE(QToolTip::text(), QStringLiteral("Aucun article « %1 »").arg(word));
        return;
    }
    QCOMPARE(window->Onglets->currentIndex(), 0);
    QCOMPARE(listed(window->Lst_Corpus), titles);
    QCOMPARE(window->Txt_Corpus->text(), filter);
    QCOMPARE(shownArticle(window->TxtView_Corpus), shown);
    // The report says the rule the titles were found by.
    QCOMPARE(searchreport::text(searchreport::Kind::Corpus, window->resultCorpus())
                 .contains(QStringLiteral("\nAccents : ignorés\n")),
             accents);
}

void TestOxelDialog::lookUpWordAtEdge()
{
    const auto window = readingWindow(1);
    QVERIFY(window);
    window->Lst_Art->setCurrentIndex(window->Lst_Art->model()->index(4, 0)); // POMME
    ArticleView* view = window->Txt_Art;
    QCOMPARE(shownArticle(view), QStringLiteral("POMMEFruit du pommier."));
    QTextCursor edge(view->document());
    edge.setPosition(5);
    const QPoint at = view->cursorRect(edge).center();
    // On the right half of the title's last letter: the title.
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at - QPoint(2, 0));
    QCOMPARE(window->Onglets->currentIndex(), 0);
    QCOMPARE(window->Txt_Corpus->text(), QStringLiteral("POMME"));
    QCOMPARE(listed(window->Lst_Corpus), QStringList({"POMME"}));
    // On the left half of the text's first letter: the text's first word, which no title holds.
    window->Onglets->setCurrentIndex(1);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at + QPoint(2, 0));
    QCOMPARE(window->Onglets->currentIndex(), 1);
    QCOMPARE(QToolTip::text(), QStringLiteral("Aucun article « Fruit »"));
}

void TestOxelDialog::splitters()
{
    const auto window = readingWindow(1);
    QVERIFY(window);
    const QList<QSplitter*> splitters{window->Split_Corpus, window->Split_Simple, window->Split_Cro};
    const QList<QWidget*> lists{window->Panneau_Titres, window->Lst_Art, window->Lst_Art_Cro};
    for (int tab = 0; tab < 3; ++tab) {
        window->Onglets->setCurrentIndex(tab);
        QApplication::processEvents();
        QSplitter* splitter = splitters[tab];
        QCOMPARE(splitter->count(), 2);
        QCOMPARE(splitter->widget(0), lists[tab]);
        QCOMPARE(splitter->widget(1)->findChild<ArticleView*>()->parentWidget(), splitter->widget(1));
        // The article takes the room; the list keeps its width and may grow.
        QVERIFY(splitter->sizes()[0] >= 250);
        QVERIFY(splitter->sizes()[1] > splitter->sizes()[0]);
        const int total = splitter->sizes()[0] + splitter->sizes()[1];
        splitter->setSizes({400, total - 400});
        QCOMPARE(lists[tab]->width(), 400);
    }
    QVERIFY(window->splitterSizes().startsWith(QStringLiteral("400,")));
    const QString kept = window->splitterSizes();
    QCOMPARE(kept.split(QLatin1Char(';')).size(), 3);
    window->setSplitterSizes(QStringLiteral("300,500;n'importe;350,450"));
    QCOMPARE(window->Split_Corpus->sizes()[0], 300);
    QCOMPARE(window->Split_Simple->sizes()[0], 400);
    QCOMPARE(window->Split_Cro->sizes()[0], 350);
    window->setSplitterSizes(QStringLiteral("1,2"));
    QCOMPARE(window->Split_Corpus->sizes()[0], 300);

    // A tab not on screen since the start keeps the sizes read for it: its splitter was never laid out.
    {
        m_dialogs.welcome = 0;
        OxelDialog fresh(m_dialogs);
        fresh.resize(1200, 800);
        fresh.setSplitterSizes(QStringLiteral("300,700;310,690;320,680"));
        fresh.Onglets->setCurrentIndex(2);
        fresh.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fresh));
        QVERIFY2(fresh.splitterSizes().startsWith(QStringLiteral("300,700;310,690;")),
                 qPrintable(fresh.splitterSizes()));
        fresh.Onglets->setCurrentIndex(1);
        QApplication::processEvents();
        // Once shown, its own sizes.
        fresh.Split_Simple->setSizes({500, 500});
        const QStringList written = fresh.splitterSizes().split(QLatin1Char(';'));
        QCOMPARE(written.value(0), QStringLiteral("300,700"));
        QVERIFY(written.value(1) != QStringLiteral("310,690"));
    }

    // At 1024 × 700 the results take most of each tab's height, the grid's tab too.
    window->resize(1024, 700);
    for (int tab = 0; tab < 3; ++tab) {
        window->Onglets->setCurrentIndex(tab);
        QApplication::processEvents();
        const QWidget* page = window->Onglets->currentWidget();
        QVERIFY2(splitters[tab]->height() * 10 >= page->height() * 6,
                 qPrintable(QStringLiteral("%1 of %2").arg(splitters[tab]->height()).arg(page->height())));
    }
}

class TestMainWindow : public TestOxelDialog
{
    Q_OBJECT
private slots:
    void colour_data();
    void colour();
    void font_data();
    void font();
    void storedFontAtNextStart();
    void openAnotherCorpus();
    void openBeforeAnyCorpus();
    void browseKeepsPathOnly();
    void textWithoutArticle_data();
    void textWithoutArticle();
    void escapeKeepsTheWindow();
    void keyboardBrowsing();
    void accentsOption();
    void formatting();
    void keptIndex();
    void unwritableCache();
    void zoom();
    void commandLine_data();
    void commandLine();
    void commandLineOfTheProgram_data();
    void commandLineOfTheProgram();
    void programKeepsAppearance();
    void layoutKept();
    void programEnds_data();
    void programEnds(); // last: it runs the application's own loop
};

namespace {

QList<QByteArray> settingsLines()
{
    return testfiles::read(QStringLiteral("oxel.conf")).split('\n');
}

QList<qreal> viewSizes(const OxelDialog& window)
{
    return {window.TxtView_Corpus->font().pointSizeF(), window.Txt_Art->font().pointSizeF(),
            window.Txt_Art_Cro->font().pointSizeF()};
}

// Runs the program on `arguments`; once it shows its window, `look` sees it, then the window is
// closed. Returns the exit code.
int runProgram(ScriptedDialogs& dialogs, const QStringList& arguments, const std::function<void(OxelDialog&)>& look)
{
    bool looked = false;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        OxelDialog* window = shownMainWindow();
        if (looked || !window || !window->isActiveWindow())
            return;
        looked = true;
        look(*window);
        window->close();
    });
    user.start(20);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&] {
        if (OxelDialog* window = shownMainWindow())
            window->done(0);
        QCoreApplication::quit();
    });
    deadline.start(10000);
    return runTarvane(*qApp, dialogs, arguments);
}

} // namespace

void TestMainWindow::accentsOption()
{
    ScriptedDialogs dialogs;
    dialogs.welcome = 2;
    {
        MainWindow main(dialogs);
        OxelDialog& window = main.window();
        auto* accents = window.findChild<QAction*>(QStringLiteral("actionAccents"));
        QVERIFY(accents);
        QVERIFY(accents->isCheckable());
        QVERIFY(!accents->isChecked());
        window.Txt_Corpus->setText(QStringLiteral("echo"));
        QCOMPARE(listed(window.Lst_Corpus), QStringList());
        // Both terms: "l'oreille" finds "l’oreille" whatever the option, the accents of "réfléchi" count.
        window.Txt_Rech->setText(QStringLiteral("reflechi l'oreille"));
        window.Lst_Type->setCurrentIndex(0);
        window.Bt_Rech->click();
        QCOMPARE(listed(window.Lst_Art), QStringList());

        accents->trigger();
        QVERIFY(window.ignoresAccents());
        QVERIFY(settingsLines().contains("accents=1"));
        // The title filter and the last search follow at once; the marks cover the text's characters.
        QCOMPARE(listed(window.Lst_Corpus), QStringList({"ÉCHO"}));
        QCOMPARE(listed(window.Lst_Art), QStringList({"ÉCHO"}));
        window.Onglets->setCurrentIndex(1);
        QCOMPARE(markedPieces(window.Txt_Art), QStringList({"réfléchi", "l’oreille"}));

        window.Lst_Type->setCurrentIndex(2);
        window.Txt_Rech->setText(QStringLiteral("revient a l'oreille"));
        window.Bt_Rech->click();
        QCOMPARE(markedPieces(window.Txt_Art), QStringList({"revient à l’oreille"}));
        // The case rule applies on its own.
        window.Lst_Type->setCurrentIndex(0);
        window.Chk_Cs->setChecked(true);
        window.Txt_Rech->setText(QStringLiteral("l'Echo"));
        window.Bt_Rech->click();
        QCOMPARE(listed(window.Lst_Art), QStringList());
        window.Txt_Rech->setText(QStringLiteral("l'echo"));
        window.Bt_Rech->click();
        QCOMPARE(listed(window.Lst_Art), QStringList({"ÉCHO"}));
        QCOMPARE(markedPieces(window.Txt_Art), QStringList({"l'écho"}));
    }
    // The choice survives a restart, and is undone as it was made.
    MainWindow next(dialogs);
    auto* accents = next.window().findChild<QAction*>(QStringLiteral("actionAccents"));
    QVERIFY(accents->isChecked());
    next.window().Txt_Corpus->setText(QStringLiteral("echo"));
    QCOMPARE(listed(next.window().Lst_Corpus), QStringList({"ÉCHO"}));
    accents->trigger();
    QVERIFY(!next.window().ignoresAccents());
    QVERIFY(settingsLines().contains("accents=0"));
    QCOMPARE(listed(next.window().Lst_Corpus), QStringList());
}

namespace {

// How the view shows the article's character at `position`: its size step and weight.
QString lookAt(const ArticleView* view, qsizetype position)
{
    QTextCursor cursor(view->document());
    cursor.setPosition(view->viewPosition(position) + 1);
    const QTextCharFormat format = cursor.charFormat();
    return QStringLiteral("%1/%2")
        .arg(format.property(QTextFormat::FontSizeAdjustment).toInt())
        .arg(format.fontWeight() == QFont::Bold ? "gras" : "normal");
}

} // namespace

void TestMainWindow::formatting()
{
    testfiles::write(QStringLiteral("oxel.conf"), "chemin=\ncouleur=\npolice=\ninconnue=gardee\n");
    ScriptedDialogs dialogs;
    dialogs.welcome = 2;
    const QString vent = QStringLiteral("VENT");
    {
        MainWindow main(dialogs);
        OxelDialog& window = main.window();
        auto* plain = window.findChild<QAction*>(QStringLiteral("actionTexteBrut"));
        auto* layout = window.findChild<QAction*>(QStringLiteral("actionMiseEnForme"));
        QVERIFY(plain && layout);
        QVERIFY(plain->isCheckable() && !plain->isChecked());
        const QString article = window.corpus().articles()[0].text;
        const qsizetype title = article.indexOf(vent);
        // Formatted by default: the title bold and larger, on a line of its own.
        QCOMPARE(shownArticle(window.TxtView_Corpus), article);
        QVERIFY(window.TxtView_Corpus->toPlainText() != article);
        QCOMPARE(lookAt(window.TxtView_Corpus, title), QStringLiteral("1/gras"));

        // Cancelled, the roles stay and nothing is kept.
        layout->trigger();
        QStringList rows;
        for (const RoleRow& row : dialogs.roleRows)
            rows << QStringLiteral("%1 %2 %3").arg(row.name).arg(row.count).arg(ElementRoles::roleName(row.role));
        QCOMPARE(rows, QStringList({"vedette 6 Titre", "definition 5 Paragraphe", "domaine 5 Paragraphe",
                                    "categorie 1 Paragraphe", "renvoi 1 Paragraphe", "terme 1 Italique",
                                    "texte 1 Paragraphe", "auteur 1 Paragraphe"}));
        QCOMPARE(lookAt(window.TxtView_Corpus, title), QStringLiteral("1/gras"));
        QVERIFY(!QFile::exists(QStringLiteral("donnees/Tarvane/mise-en-forme")));

        // Accepted, the shown articles follow at once.
        dialogs.roleAnswers = QHash<QString, ElementRole>{{QStringLiteral("vedette"), ElementRole::Bold}};
        layout->trigger();
        QCOMPARE(lookAt(window.TxtView_Corpus, title), QStringLiteral("0/gras"));
        window.Onglets->setCurrentIndex(1);
        QCOMPARE(lookAt(window.Txt_Art, title), QStringLiteral("0/gras"));

        // Plain text is the article as written, character for character, in every view.
        plain->trigger();
        QCOMPARE(window.Txt_Art->toPlainText(), article);
        QCOMPARE(lookAt(window.Txt_Art, title), QStringLiteral("0/normal"));
        window.Onglets->setCurrentIndex(0);
        QCOMPARE(window.TxtView_Corpus->toPlainText(), article);
        QCOMPARE(settingsLines().mid(0, 4), QList<QByteArray>({"chemin=", "couleur=", "police=", "inconnue=gardee"}));
        QVERIFY(settingsLines().contains("texte_brut=1"));
    }
    // The next start keeps both, for this corpus only.
    MainWindow next(dialogs);
    OxelDialog& window = next.window();
    auto* plain = window.findChild<QAction*>(QStringLiteral("actionTexteBrut"));
    QVERIFY(plain->isChecked());
    const QString article = window.corpus().articles()[0].text;
    QCOMPARE(window.TxtView_Corpus->toPlainText(), article);
    plain->trigger();
    QVERIFY(settingsLines().contains("texte_brut=0"));
    QCOMPARE(lookAt(window.TxtView_Corpus, article.indexOf(vent)), QStringLiteral("0/gras"));
    window.openCorpus(QStringLiteral("petit.xml"));
    QCOMPARE(window.corpus().articles()[0].text, article);
    QCOMPARE(lookAt(window.TxtView_Corpus, article.indexOf(vent)), QStringLiteral("1/gras"));
    window.openCorpus(QStringLiteral("EV_Sons.xml"));
    QCOMPARE(lookAt(window.TxtView_Corpus, article.indexOf(vent)), QStringLiteral("0/gras"));
}

namespace {

// What a search for "vent" shows: the hits, the count, the marks of the first.
QStringList searchShown(OxelDialog& window)
{
    window.Onglets->setCurrentIndex(1);
    window.Txt_Rech->setText(QStringLiteral("vent"));
    window.Bt_Rech->click();
    return listed(window.Lst_Art) + QStringList{window.Txt_Nb->text()} + markedPieces(window.Txt_Art);
}

} // namespace

void TestMainWindow::keptIndex()
{
    testfiles::write(QStringLiteral("oxel.conf"), "chemin=\ncouleur=\npolice=\ninconnue=gardee\n");
    ScriptedDialogs dialogs;
    dialogs.welcome = 2;
    const QString store = corpusstore::storePath(corpusstore::defaultFolder(), QStringLiteral("EV_Sons.xml"));
    QVERIFY(store.startsWith(QDir::currentPath() + QStringLiteral("/cache/")));
    QStringList parsed;
    {
        MainWindow main(dialogs);
        OxelDialog& window = main.window();
        QVERIFY(!window.loadedFromStore());
        QCOMPARE(window.waitForIndex(), QString());
        QVERIFY(QFile::exists(store));
        parsed = searchShown(window);
        QCOMPARE(parsed, QStringList({"VENT", "ÉCHO", "2", "VENT", "vent"}));
    }
    {
        // The first text of the store spoilt since: found as it is shown, the store goes, the file is
        // read again and its store written anew.
        QByteArray spoilt = testfiles::read(store);
        spoilt[64] = char(spoilt[64] ^ 0x10);
        testfiles::write(store, spoilt);
        MainWindow next(dialogs);
        OxelDialog& window = next.window();
        QTRY_VERIFY(!window.loadedFromStore());
        QCOMPARE(window.waitForIndex(), QString());
        QCOMPARE(searchShown(window), parsed);
        QVERIFY(testfiles::read(store) != spoilt);
    }
    {
        // The next start reads the store: the same hits, count and marks.
        MainWindow next(dialogs);
        OxelDialog& window = next.window();
        QVERIFY(window.loadedFromStore());
        QCOMPARE(searchShown(window), parsed);
        auto* index = window.findChild<QAction*>(QStringLiteral("actionIndex"));
        QVERIFY(index && index->isCheckable() && index->isChecked());
        // Off: the store goes; the settings keep the choice after the first lines, and every other line.
        index->trigger();
        QVERIFY(!QFile::exists(store));
        const QList<QByteArray> lines = settingsLines();
        QVERIFY(lines.at(0).startsWith("chemin=") && lines.at(1) == "couleur=" && lines.at(2) == "police=");
        QVERIFY(lines.contains("inconnue=gardee") && lines.contains("index=0"));
    }
    {
        // Off, a start parses and keeps nothing; on again, the store is written.
        MainWindow next(dialogs);
        OxelDialog& window = next.window();
        QVERIFY(!window.loadedFromStore());
        QCOMPARE(window.waitForIndex(), QString());
        QVERIFY(!QFile::exists(store));
        auto* index = window.findChild<QAction*>(QStringLiteral("actionIndex"));
        QVERIFY(!index->isChecked());
        index->trigger();
        QCOMPARE(window.waitForIndex(), QString());
        QVERIFY(QFile::exists(store));
        QVERIFY(settingsLines().contains("index=1"));
        QCOMPARE(searchShown(window), parsed);
    }
    QVERIFY(dialogs.warnings.isEmpty());
}

void TestMainWindow::unwritableCache()
{
    // A file where the cache folder should be: the corpus opens as ever, without a word.
    testfiles::write(QStringLiteral("oxel.conf"), "chemin=\ncouleur=\npolice=\ninconnue=gardee\n");
    testfiles::write(QStringLiteral("cache"), "a file");
    ScriptedDialogs dialogs;
    dialogs.welcome = 2;
    for (int start = 0; start < 2; ++start) {
        MainWindow main(dialogs);
        OxelDialog& window = main.window();
        QCOMPARE(window.corpus().articleCount(), 6);
        QVERIFY(!window.loadedFromStore());
        QVERIFY(!window.waitForIndex().isEmpty());
        QCOMPARE(searchShown(window).mid(0, 2), QStringList({"VENT", "ÉCHO"}));
    }
    QVERIFY(dialogs.warnings.isEmpty());
    QCOMPARE(testfiles::read(QStringLiteral("cache")), QByteArray("a file"));
    QVERIFY(settingsLines().contains("inconnue=gardee"));
}

void TestMainWindow::zoom()
{
    ScriptedDialogs dialogs;
    dialogs.welcome = 2;
    qreal base = 0;
    {
        MainWindow main(dialogs);
        OxelDialog& window = main.window();
        base = window.Txt_Art->font().pointSizeF();
        QVERIFY(base > 0);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(window.Txt_Rech, Qt::Key_Plus, Qt::ControlModifier);
        QTest::keyClick(window.Txt_Rech, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(viewSizes(window), QList<qreal>({base + 2, base + 2, base + 2}));
        QTest::keyClick(window.Txt_Rech, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(viewSizes(window), QList<qreal>({base + 1, base + 1, base + 1}));
        QVERIFY(settingsLines().contains("zoom=1"));

        // The wheel with Ctrl over any view, a notch a step; without Ctrl it scrolls.
        const auto turn = [&window](QTextEdit* view, int delta, Qt::KeyboardModifiers modifiers) {
            QWheelEvent wheel(QPointF(5, 5), view->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta), Qt::NoButton,
                              modifiers, Qt::NoScrollPhase, false);
            QApplication::sendEvent(view->viewport(), &wheel);
        };
        turn(window.Txt_Art_Cro, 240, Qt::ControlModifier);
        QCOMPARE(viewSizes(window), QList<qreal>({base + 3, base + 3, base + 3}));
        turn(window.TxtView_Corpus, 60, Qt::ControlModifier);
        QCOMPARE(viewSizes(window), QList<qreal>({base + 3, base + 3, base + 3}));
        turn(window.TxtView_Corpus, -180, Qt::ControlModifier);
        QCOMPARE(viewSizes(window), QList<qreal>({base + 2, base + 2, base + 2}));
        turn(window.Txt_Art, 120, Qt::NoModifier);
        QCOMPARE(viewSizes(window), QList<qreal>({base + 2, base + 2, base + 2}));

        // A font chosen keeps the zoom; Ctrl+0 goes back to the font's own size.
        dialogs.fontAnswers = {QFont(QStringLiteral("DejaVu Serif"), 15)};
        main.menuBar().police();
        QCOMPARE(viewSizes(window), QList<qreal>({17, 17, 17}));
        QTest::keyClick(window.Txt_Rech, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(viewSizes(window), QList<qreal>({15, 15, 15}));
        QVERIFY(settingsLines().contains("zoom=0"));
        QTest::keyClick(window.Txt_Rech, Qt::Key_Minus, Qt::ControlModifier);
    }
    // The zoom is kept; the size of the font chosen is not, as before.
    MainWindow next(dialogs);
    QCOMPARE(next.window().articleZoom(), -1);
    QCOMPARE(viewSizes(next.window()), QList<qreal>({base - 1, base - 1, base - 1}));
    QCOMPARE(next.window().Txt_Art->font().family(), QStringLiteral("DejaVu Serif"));
}

void TestMainWindow::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("before"); // the settings file; none when null
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("corpusPath"); // of the window shown; none when null
    QTest::addColumn<QStringList>("warnings");
    QTest::addColumn<QByteArray>("lines"); // the settings file's first lines; no file when null
    QTest::addColumn<QString>("colour");   // of the window shown

    const QByteArray none;
    const QString grey = QStringLiteral("#c0c0c0");
    // The welcome dialog, when asked, chooses "EV_Inventaire.xml".
    QTest::newRow("no file: the welcome dialog") << QStringList{"tarvane"} << none << 0 << "EV_Inventaire.xml"
                                                 << QStringList() << QByteArray("chemin=\ncouleur=\npolice=") << grey;
    QTest::newRow("a file opens without the welcome dialog")
        << QStringList{"tarvane", "petit.xml"} << none << 0 << "petit.xml" << QStringList()
        << QByteArray("chemin=petit.xml\ncouleur=\npolice=") << grey;
    QTest::newRow("a file that fails: the message, then the welcome dialog")
        << QStringList{"tarvane", "absent.xml"} << none << 0 << "EV_Inventaire.xml"
        << QStringList{"Selectionnez un fichier XML"} << QByteArray("chemin=absent.xml\ncouleur=\npolice=") << grey;
    // The user's appearance is kept on every way into a load.
    const QByteArray appearance("chemin=/avant.xml\ncouleur=#ffe4c4\npolice=DejaVu Serif\nfutur=1\n");
    QTest::newRow("a file keeps the colour and the font")
        << QStringList{"tarvane", "petit.xml"} << appearance << 0 << "petit.xml" << QStringList()
        << QByteArray("chemin=petit.xml\ncouleur=#ffe4c4\npolice=DejaVu Serif\nfutur=1") << "#ffe4c4";
    QTest::newRow("a file that fails keeps them too")
        << QStringList{"tarvane", "absent.xml"} << appearance << 0 << "EV_Inventaire.xml"
        << QStringList{"Selectionnez un fichier XML"}
        << QByteArray("chemin=absent.xml\ncouleur=#ffe4c4\npolice=DejaVu Serif\nfutur=1") << "#ffe4c4";
    QTest::newRow("the welcome dialog keeps them")
        << QStringList{"tarvane"} << appearance << 0 << "EV_Inventaire.xml" << QStringList()
        << QByteArray("chemin=/avant.xml\ncouleur=#ffe4c4\npolice=DejaVu Serif\nfutur=1") << "#ffe4c4";
    // A name that is not UTF-8 opens its file; it cannot be written down, so "chemin" stays.
    QTest::newRow("a name that is not UTF-8")
        << QStringList{"tarvane", QString::fromUtf16(u"caf\xDCE9.xml")} << appearance << 0
        << QString::fromUtf16(u"caf\xDCE9.xml") << QStringList()
        << QByteArray("chemin=/avant.xml\ncouleur=#ffe4c4\npolice=DejaVu Serif\nfutur=1") << "#ffe4c4";
    QTest::newRow("--help") << QStringList{"tarvane", "--help"} << none << 0 << QString() << QStringList() << none
                            << QString();
    QTest::newRow("--version") << QStringList{"tarvane", "--version"} << none << 0 << QString() << QStringList() << none
                               << QString();
    QTest::newRow("unknown option") << QStringList{"tarvane", "--inconnue"} << none << 1 << QString() << QStringList()
                                    << none << QString();
    QTest::newRow("two files") << QStringList{"tarvane", "petit.xml", "EV_Sons.xml"} << none << 1 << QString()
                               << QStringList() << none << QString();
}

void TestMainWindow::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, before);
    QFETCH(int, exitCode);
    QFETCH(QString, corpusPath);
    QFETCH(QStringList, warnings);
    QFETCH(QByteArray, lines);
    QFETCH(QString, colour);
    if (!before.isNull())
        testfiles::write(QStringLiteral("oxel.conf"), before);
    // A copy of "petit.xml" under a Latin-1 name, which no QString names.
    const QByteArray petit = testfiles::read(QStringLiteral("petit.xml"));
    FILE* latin1 = std::fopen("caf\xE9.xml", "wb");
    QVERIFY(latin1);
    std::fwrite(petit.constData(), 1, size_t(petit.size()), latin1);
    std::fclose(latin1);
    ScriptedDialogs dialogs;
    dialogs.welcome = 3;
    QString shown;
    QString shownColour;
    int articles = -1;
    QString family;
    QStringList typedInto; // the focus after the load, then after Ctrl+Tab twice, then from the article
    QCOMPARE(runProgram(dialogs, arguments,
                        [&](OxelDialog& window) {
                            shown = window.corpusPath();
                            shownColour = window.palette().color(QPalette::Window).name();
                            articles = window.corpus().articleCount();
                            family = window.TxtView_Corpus->font().family();
                            for (int i = 0; i < 3; ++i) {
                                QWidget* focus = QApplication::focusWidget();
                                typedInto << (focus ? focus->objectName() : QString());
                                if (focus)
                                    QTest::keyClick(focus, Qt::Key_Tab, Qt::ControlModifier);
                            }
                            // The grid's boxes let Ctrl+Tab through, as every field does.
                            typedInto << QString::number(window.Onglets->currentIndex());
                            window.Onglets->setCurrentIndex(1);
                            window.Lst_Dans->setFocus();
                            QTest::keyClick(window.Lst_Dans, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
                            typedInto << QString::number(window.Onglets->currentIndex());
                            // From an article too, as after reading it or closing the find bar.
                            window.Onglets->setCurrentIndex(1);
                            window.Txt_Art->setFocus();
                            QTest::keyClick(window.Txt_Art, Qt::Key_Tab, Qt::ControlModifier);
                            typedInto << QString::number(window.Onglets->currentIndex());
                            // From the tab bar: its arrows keep the focus there, Ctrl+Tab takes it along.
                            QTabBar* bar = window.Onglets->tabBar();
                            bar->setFocus();
                            QTest::keyClick(bar, Qt::Key_Left);
                            typedInto << (bar->hasFocus() ? QStringLiteral("bar") : QString());
                            QTest::keyClick(bar, Qt::Key_Tab, Qt::ControlModifier);
                            typedInto << QApplication::focusWidget()->objectName();
                        }),
             exitCode);
    QCOMPARE(shown, corpusPath);
    QStringList warned;
    for (const ScriptedDialogs::Warning& warning : dialogs.warnings)
        warned << warning.text;
    QCOMPARE(warned, warnings);
    QVERIFY(dialogs.openRequests.isEmpty()); // no file dialog after a failure
    if (lines.isNull()) {
        QVERIFY(!QFile::exists(QStringLiteral("oxel.conf")));
        return;
    }
    const QList<QByteArray> expected = lines.split('\n');
    QCOMPARE(settingsLines().mid(0, expected.size()), expected);
    QCOMPARE(shownColour, colour);
    QVERIFY(articles > 0);
    // What is typed after a load goes into the tab's field, and Ctrl+Tab takes it along.
    QCOMPARE(typedInto, QStringList({"Txt_Corpus", "Txt_Rech", "Lst_B11", "0", "0", "2", "bar", "Lst_B11"}));
    if (before.contains("DejaVu"))
        QCOMPARE(family, QStringLiteral("DejaVu Serif"));
}

void TestMainWindow::commandLineOfTheProgram_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<bool>("display");    // a platform to show windows on
    QTest::addColumn<QString>("printed"); // a line of the output
    QTest::newRow("--help") << "--help" << true << "Tarvane : lire et chercher dans un corpus encyclopédique XML.";
    QTest::newRow("--version") << "--version" << true << "Tarvane " TARVANE_VERSION;
    // As from a terminal without a graphical session: the application of windows could not start.
    QTest::newRow("--help without a display")
        << "--help" << false << "Tarvane : lire et chercher dans un corpus encyclopédique XML.";
    QTest::newRow("--version without a display") << "--version" << false << "Tarvane " TARVANE_VERSION;
    QTest::newRow("-v without a display") << "-v" << false << "Tarvane " TARVANE_VERSION;
    // A mistake on the command line is told, on the error output, display or not.
    QTest::newRow("unknown option without a display")
        << "--inconnue" << false << "tarvane : Option inconnue \"inconnue\".";
    QTest::newRow("unknown option") << "--inconnue" << true << "tarvane : Option inconnue \"inconnue\".";
}

void TestMainWindow::commandLineOfTheProgram()
{
    QFETCH(QString, option);
    QFETCH(bool, display);
    QFETCH(QString, printed);
    QProcess program;
    if (!display) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        program.setProcessEnvironment(environment);
    }
    program.start(QStringLiteral(TARVANE_EXECUTABLE), {option});
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    const bool mistake = printed.startsWith(QLatin1String("tarvane : "));
    QCOMPARE(program.exitCode(), mistake ? 1 : 0);
    const QStringList lines =
        QString::fromUtf8(mistake ? program.readAllStandardError() : program.readAllStandardOutput())
            .split(QLatin1Char('\n'));
    QVERIFY2(lines.contains(printed), qPrintable(lines.join(QLatin1Char('|'))));
    QVERIFY(!QFile::exists(QStringLiteral("oxel.conf")));
}

// The built program, as a desktop starts it on a file: the settings it writes as the corpus opens
// keep the user's colour, font and other lines.
void TestMainWindow::programKeepsAppearance()
{
    testfiles::write(QStringLiteral("oxel.conf"), "chemin=/avant.xml\ncouleur=#ffe4c4\npolice=DejaVu Serif\nzoom=2\n");
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TARVANE_EXECUTABLE), {QStringLiteral("petit.xml")});
    QVERIFY(program.waitForStarted(10000));
    QByteArray written;
    QTRY_VERIFY_WITH_TIMEOUT((written = testfiles::read(QStringLiteral("oxel.conf"))).startsWith("chemin=petit.xml"),
                             10000);
    // What the load writes is written once; nothing later rewrites these lines while it runs.
    QTest::qWait(300);
    program.kill();
    program.waitForFinished(10000);
    QCOMPARE(testfiles::read(QStringLiteral("oxel.conf")),
             QByteArray("chemin=petit.xml\ncouleur=#ffe4c4\npolice=DejaVu Serif\nzoom=2\n"));
}

void TestMainWindow::layoutKept()
{
    ScriptedDialogs dialogs;
    dialogs.welcome = 2;
    bool firstMaximised = false;
    QCOMPARE(runProgram(dialogs, {QStringLiteral("tarvane")},
                        [&](OxelDialog& window) {
                            firstMaximised = window.isMaximized();
                            window.Onglets->setCurrentIndex(2);
                            window.showNormal();
                            window.setGeometry(40, 50, 900, 640);
                            QApplication::processEvents();
                            const QList<int> sizes = window.Split_Cro->sizes();
                            window.Split_Cro->setSizes({300, sizes.value(0) + sizes.value(1) - 300});
                        }),
             0);
    QVERIFY(firstMaximised); // the first time, as before
    QVERIFY(settingsLines().contains("onglet=2"));
    const QList<QByteArray> lines = settingsLines();
    QVERIFY(std::any_of(lines.cbegin(), lines.cend(),
                        [](const QByteArray& line) { return line.startsWith("geometrie=") && line.size() > 20; }));
    QVERIFY(std::any_of(lines.cbegin(), lines.cend(), [](const QByteArray& line) {
        return line.startsWith("separateurs=") && line.contains(";300,");
    }));
    QCOMPARE(settingsLines().mid(0, 3), QList<QByteArray>({"chemin=", "couleur=", "police="}));

    int tab = -1;
    bool maximised = true;
    QSize size;
    int splitter = 0;
    QCOMPARE(runProgram(dialogs, {QStringLiteral("tarvane")},
                        [&](OxelDialog& window) {
                            tab = window.Onglets->currentIndex();
                            maximised = window.isMaximized();
                            size = window.size();
                            splitter = window.Split_Cro->sizes().value(0);
                        }),
             0);
    QCOMPARE(tab, 2);
    QVERIFY(!maximised);
    QCOMPARE(size, QSize(900, 640));
    QCOMPARE(splitter, 300);

    // Sizes written by hand are held to the window's width, and written back so.
    QCOMPARE(SettingsFile().setValue(QStringLiteral("separateurs"),
                                     QStringLiteral("2147483647,750;2147483647,1;1,2147483647")),
             SettingsFile::Outcome::Written);
    QList<int> shown;
    QCOMPARE(runProgram(dialogs, {QStringLiteral("tarvane")},
                        [&](OxelDialog& window) { shown = window.Split_Cro->sizes(); }),
             0);
    QCOMPARE(shown.size(), 2);
    QVERIFY(shown[0] > 0 && shown[1] > 0 && shown[0] + shown[1] <= 900);
    const QList<QByteArray> after = settingsLines();
    const auto written = std::find_if(after.cbegin(), after.cend(),
                                      [](const QByteArray& line) { return line.startsWith("separateurs="); });
    QVERIFY(written != after.cend());
    const QList<QByteArray> sizes = written->mid(12).replace(';', ',').split(',');
    QCOMPARE(sizes.size(), 6);
    for (const QByteArray& size : sizes)
        QVERIFY2(size.toInt() > 0 && size.toInt() <= 900, written->constData());
}

void TestMainWindow::colour_data()
{
    QTest::addColumn<QList<QColor>>("answers");
    QTest::addColumn<QColor>("applied");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<qint64>("sizeLimit"); // none when 0
    QTest::addColumn<QStringList>("warnings");
    QTest::newRow("chosen") << QList<QColor>{QColor(0x33, 0x66, 0x99)} << QColor(0x33, 0x66, 0x99) << "#336699"
                            << QByteArray("chemin=\ncouleur=#336699\npolice=\n") << qint64(0) << QStringList();
    // A cancel changes nothing, on screen or in the settings file.
    QTest::newRow("cancelled") << QList<QColor>{} << QColor(Qt::red) << "" << QByteArray("<missing>") << qint64(0)
                               << QStringList();
    // A file-size limit fails every write of the settings, as a full disk would, even for root.
    QTest::newRow("not stored, said so") << QList<QColor>{QColor(0x33, 0x66, 0x99)} << QColor(0x33, 0x66, 0x99)
                                         << "#336699" << QByteArray("<missing>") << qint64(8)
                                         << QStringList{"Impossible d'enregistrer les réglages"};
}

void TestMainWindow::colour()
{
    QFETCH(QList<QColor>, answers);
    QFETCH(QColor, applied);
    QFETCH(QString, name);
    QFETCH(QByteArray, settings);
    QFETCH(qint64, sizeLimit);
    QFETCH(QStringList, warnings);
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    OxelDialog& window = main.window();
    dialogs.colourAnswers = answers;
    window.setPalette(QPalette(QColor(Qt::red)));
    {
        std::optional<testfiles::FileSizeLimit> fullDisk;
        if (sizeLimit > 0)
            fullDisk.emplace(rlim_t(sizeLimit));
        main.menuBar().couleur();
    }
    QStringList warned;
    for (const ScriptedDialogs::Warning& warning : dialogs.warnings) {
        QCOMPARE(warning.caption, QStringLiteral("Réglages"));
        warned << warning.text;
    }
    QCOMPARE(warned, warnings);
    QCOMPARE(dialogs.colourStarts, QList<QColor>{QColor(192, 192, 192)});
    QCOMPARE(window.colourName(), name);
    QCOMPARE(testfiles::read(QStringLiteral("oxel.conf")), settings);
    for (QWidget* widget : {static_cast<QWidget*>(&window), static_cast<QWidget*>(window.TxtView_Corpus),
                            static_cast<QWidget*>(window.Txt_Art), static_cast<QWidget*>(window.Txt_Art_Cro)}) {
        QCOMPARE(widget->palette().color(QPalette::Button), applied);
        QCOMPARE(widget->palette().color(QPalette::Window), applied);
    }
}

void TestMainWindow::font_data()
{
    QTest::addColumn<QList<std::optional<QFont>>>("answers");
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QByteArray>("settings");
    QTest::newRow("chosen") << QList<std::optional<QFont>>{QFont(QStringLiteral("DejaVu Serif"), 15, QFont::Bold)}
                            << "DejaVu Serif" << 15 << true << "DejaVu Serif"
                            << QByteArray("chemin=\ncouleur=\npolice=DejaVu Serif\n");
    QTest::newRow("cancelled") << QList<std::optional<QFont>>{} << "Courier" << 9 << false << ""
                               << QByteArray("<missing>");
}

void TestMainWindow::font()
{
    QFETCH(QList<std::optional<QFont>>, answers);
    QFETCH(QString, family);
    QFETCH(int, points);
    QFETCH(bool, bold);
    QFETCH(QString, stored);
    QFETCH(QByteArray, settings);
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    OxelDialog& window = main.window();
    for (QTextEdit* view : {window.TxtView_Corpus, window.Txt_Art, window.Txt_Art_Cro})
        view->setFont(QFont(QStringLiteral("Courier"), 9));
    dialogs.fontAnswers = answers;
    main.menuBar().police();
    QCOMPARE(dialogs.fontStarts.size(), 1);
    QCOMPARE(dialogs.fontStarts[0].family(), QStringLiteral("Times"));
    QCOMPARE(dialogs.fontStarts[0].pointSize(), 12);
    QCOMPARE(dialogs.fontStarts[0].weight(), QFont::Normal);
    QVERIFY(!dialogs.fontStarts[0].italic());
    QCOMPARE(window.fontFamily(), stored);
    QCOMPARE(testfiles::read(QStringLiteral("oxel.conf")), settings);
    for (QTextEdit* view : {window.TxtView_Corpus, window.Txt_Art, window.Txt_Art_Cro}) {
        QCOMPARE(view->font().family(), family);
        QCOMPARE(view->font().pointSize(), points);
        QCOMPARE(view->font().bold(), bold);
    }
    QCOMPARE(window.Txt_Rech->font().family(), QStringLiteral("Arial")); // the views only
}

void TestMainWindow::openAnotherCorpus()
{
    ScriptedDialogs dialogs;
    dialogs.welcome = 2;
    MainWindow main(dialogs);
    OxelDialog& window = main.window();
    MenuB& bar = main.menuBar();
    QVERIFY(QFile::copy(QFINDTESTDATA("data/petit.xml"), QStringLiteral("autre.xml")));
    window.Txt_Corpus->setText(QStringLiteral("cloche"));
    QCOMPARE(window.Lst_Corpus->model()->rowCount(), 1);

    testfiles::write(QStringLiteral("oxel.conf"), "avant");
    bar.open(); // cancelled
    QCOMPARE(window.corpusPath(), QStringLiteral("EV_Sons.xml"));
    QCOMPARE(testfiles::read(QStringLiteral("oxel.conf")), QByteArray("avant"));

    dialogs.openAnswers = {QStringLiteral("autre.xml")};
    bar.open();
    QCOMPARE(dialogs.openRequests.size(), 2);
    // In the folder of the corpus shown, a stock one here.
    QCOMPARE(dialogs.openRequests[1].startPath, QDir::currentPath());
    QCOMPARE(dialogs.openRequests[1].filter, QStringLiteral("Fichiers XML (*.xml)"));
    QCOMPARE(window.corpusPath(), QStringLiteral("autre.xml"));
    QCOMPARE(testfiles::read(QStringLiteral("oxel.conf")), QByteArray("chemin=autre.xml\ncouleur=\npolice=\navant\n"));
    QCOMPARE(window.windowTitle(), QStringLiteral("..:: Tarvane - Qt ::..    autre.xml"));
    QCOMPARE(window.Lst_Corpus->model()->rowCount(), 6); // reloaded: every article again

    // The same file again is loaded again; a failed one names itself in the settings file.
    dialogs.openAnswers = {QStringLiteral("absent.xml")};
    bar.open();
    QCOMPARE(dialogs.warnings.size(), 1);
    QCOMPARE(dialogs.warnings[0].text, QStringLiteral("Selectionnez un fichier XML"));
    QCOMPARE(testfiles::read(QStringLiteral("oxel.conf")), QByteArray("chemin=absent.xml\ncouleur=\npolice=\navant\n"));
}

// "Ouvrir" with no corpus loaded yet keeps the colour and the font, and opens a file whose name is
// not UTF-8 from the name the dialog gives for it.
void TestMainWindow::openBeforeAnyCorpus()
{
    testfiles::write(QStringLiteral("oxel.conf"),
                     "chemin=/avant.xml\ncouleur=#ffe4c4\npolice=DejaVu Serif\nfutur=\x01\n");
    const QByteArray petit = testfiles::read(QStringLiteral("petit.xml"));
    FILE* latin1 = std::fopen("caf\xE9.xml", "wb");
    QVERIFY(latin1);
    std::fwrite(petit.constData(), 1, size_t(petit.size()), latin1);
    std::fclose(latin1);
    ScriptedDialogs dialogs;
    dialogs.welcome = 0;
    MainWindow main(dialogs);
    OxelDialog& window = main.window();
    QCOMPARE(window.corpus().articleCount(), 0);

    dialogs.openAnswers = {QStringLiteral("caf\uFFFD.xml")};
    main.menuBar().open();
    QCOMPARE(window.corpus().articleCount(), 6);
    QCOMPARE(window.windowTitle(), QStringLiteral("..:: Tarvane - Qt ::..    caf\uFFFD.xml"));
    QCOMPARE(testfiles::read(QStringLiteral("oxel.conf")),
             QByteArray("chemin=/avant.xml\ncouleur=#ffe4c4\npolice=DejaVu Serif\nfutur=\x01\n"));

    dialogs.openAnswers = {QStringLiteral("petit.xml")};
    main.menuBar().open();
    QCOMPARE(testfiles::read(QStringLiteral("oxel.conf")),
             QByteArray("chemin=petit.xml\ncouleur=#ffe4c4\npolice=DejaVu Serif\nfutur=\x01\n"));
    QCOMPARE(window.palette().color(QPalette::Window).name(), QStringLiteral("#ffe4c4"));
    QCOMPARE(window.TxtView_Corpus->font().family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(dialogs.warnings.size(), 0);
}

void TestMainWindow::browseKeepsPathOnly()
{
    ScriptedDialogs dialogs;
    dialogs.welcome = 2;
    OxelDialog window(dialogs);
    testfiles::write(QStringLiteral("oxel.conf"), "avant");
    window.slotBt_ParcClick(); // cancelled
    QCOMPARE(window.corpusPath(), QStringLiteral("EV_Sons.xml"));
    dialogs.openAnswers = {QStringLiteral("/ailleurs/autre.xml")};
    window.slotBt_ParcClick();
    QCOMPARE(dialogs.openRequests.size(), 2);
    QCOMPARE(dialogs.openRequests[1].startPath, QString());
    QCOMPARE(dialogs.openRequests[1].filter, QStringLiteral("Fichiers XML (*.xml)"));
    QCOMPARE(window.corpusPath(), QStringLiteral("/ailleurs/autre.xml"));
    QCOMPARE(window.corpus().articleCount(), 6); // nothing loaded
    QCOMPARE(testfiles::read(QStringLiteral("oxel.conf")), QByteArray("avant"));
    window.saveSettings();
    QCOMPARE(testfiles::read(QStringLiteral("oxel.conf")),
             QByteArray("chemin=/ailleurs/autre.xml\ncouleur=\npolice=\navant\n"));
}

void TestMainWindow::escapeKeepsTheWindow()
{
    ScriptedDialogs dialogs;
    OxelDialog window(dialogs);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(window.focusWidget(), Qt::Key_Escape);
    QVERIFY(window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Rejected));
    window.close(); // the close button still closes it
    QVERIFY(!window.isVisible());
}

void TestMainWindow::keyboardBrowsing()
{
    ScriptedDialogs dialogs;
    dialogs.welcome = 2;
    OxelDialog window(dialogs);
    window.arrangeWindow();
    window.resize(900, 700);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const auto& articles = window.corpus().articles();

    struct Tab
    {
        int index;
        QListView* list;
        ArticleView* view;
    };
    for (const Tab& tab : {Tab{0, window.Lst_Corpus, window.TxtView_Corpus}, Tab{1, window.Lst_Art, window.Txt_Art},
                           Tab{2, window.Lst_Art_Cro, window.Txt_Art_Cro}}) {
        window.Onglets->setCurrentIndex(tab.index);
        tab.list->setFocus();
        QCOMPARE(tab.list->currentIndex().row(), 0);
        QTest::keyClick(tab.list, Qt::Key_Down);
        QCOMPARE(shownArticle(tab.view), articles[1].text);
        QTest::keyClick(tab.list, Qt::Key_End);
        QCOMPARE(shownArticle(tab.view), articles[5].text);
        QTest::keyClick(tab.list, Qt::Key_Home);
        QCOMPARE(shownArticle(tab.view), articles[0].text);
        QTest::keyClick(tab.list, Qt::Key_PageDown);
        QCOMPARE(shownArticle(tab.view), articles[size_t(tab.list->currentIndex().row())].text);
        QVERIFY(tab.list->currentIndex().row() > 0);

        // A click moves the current row and shows the article once.
        QSignalSpy shown(tab.view, &QTextEdit::textChanged);
        const QRect row3 = tab.list->visualRect(tab.list->model()->index(3, 0));
        QTest::mouseClick(tab.list->viewport(), Qt::LeftButton, {}, row3.center());
        QCOMPARE(tab.list->currentIndex().row(), 3);
        QCOMPARE(shownArticle(tab.view), articles[3].text);
        const qsizetype oneClick = shown.count();
        shown.clear();
        ResultPane::showArticle(tab.index == 0 ? window.resultCorpus() : window.resultSimple(), 2, tab.view);
        QCOMPARE(oneClick, shown.count());
    }
}

void TestMainWindow::storedFontAtNextStart()
{
    ScriptedDialogs dialogs;
    dialogs.welcome = 2;
    {
        MainWindow main(dialogs);
        dialogs.fontAnswers = {QFont(QStringLiteral("DejaVu Serif"), 15, QFont::Bold)};
        main.menuBar().police();
    }
    // The next start shows the family stored, not the default font.
    MainWindow next(dialogs);
    for (QTextEdit* view : {next.window().TxtView_Corpus, next.window().Txt_Art, next.window().Txt_Art_Cro})
        QCOMPARE(view->font().family(), QStringLiteral("DejaVu Serif"));
    QCOMPARE(next.window().Txt_Rech->font().family(), QStringLiteral("Arial"));
}

void TestMainWindow::textWithoutArticle_data()
{
    QTest::addColumn<int>("welcome");
    QTest::addColumn<QString>("search");
    QTest::newRow("no corpus loaded") << 0 << QString();
    QTest::newRow("a search that found nothing") << 2 << "introuvable";
}

void TestMainWindow::textWithoutArticle()
{
    QFETCH(int, welcome);
    QFETCH(QString, search);
    ScriptedDialogs dialogs;
    dialogs.welcome = welcome;
    MainWindow main(dialogs);
    OxelDialog& window = main.window();
    window.Onglets->setCurrentIndex(1);
    window.Txt_Rech->setText(search);
    window.Bt_Rech->click();
    dialogs.saveAnswers = {QStringLiteral("texte")};
    // Without a corpus the search has already said so.
    const qsizetype earlier = dialogs.warnings.size();
    main.menuBar().saveT();
    QVERIFY(dialogs.saveRequests.isEmpty());
    QCOMPARE(dialogs.warnings.size(), earlier + 1);
    QCOMPARE(dialogs.warnings.last().caption, QStringLiteral("Enregistrer le texte"));
    QCOMPARE(dialogs.warnings.last().text, QStringLiteral("Aucun article affiché"));
    QVERIFY(!QFile::exists(QStringLiteral("texte.txt")));
}

void TestMainWindow::programEnds_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("&Quitter") << "quitter";
    QTest::newRow("Ctrl+Q") << "ctrl+q";
    QTest::newRow("close button") << "close";
}

void TestMainWindow::programEnds()
{
    QFETCH(QString, how);
    ScriptedDialogs dialogs;
    dialogs.welcome = 2;
    bool acted = false;
    bool timedOut = false;
    // Once the program shows its window and the window is active, the user ends it.
    QTimer user;
    connect(&user, &QTimer::timeout, [&] {
        OxelDialog* window = shownMainWindow();
        if (acted || !window || !window->isActiveWindow())
            return;
        acted = true;
        if (how == QLatin1String("quitter")) {
            for (QAction* action : window->findChildren<QAction*>()) {
                if (action->text() == QLatin1String("&Quitter"))
                    action->trigger();
            }
        } else if (how == QLatin1String("ctrl+q")) {
            QTest::keyClick(window->focusWidget(), Qt::Key_Q, Qt::ControlModifier);
        } else {
            window->close();
        }
    });
    user.start(20);
    // A program that did not end is ended here, so that the test fails instead of hanging.
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, [&] {
        timedOut = true;
        if (OxelDialog* window = shownMainWindow())
            window->done(0);
        QCoreApplication::quit();
    });
    deadline.start(10000);

    QCOMPARE(runTarvane(*qApp, dialogs, {QStringLiteral("tarvane")}), 0);
    QVERIFY(acted);
    QVERIFY(!timedOut);
    QVERIFY(!shownMainWindow());
}

QTEST_MAIN(TestMainWindow)
#include "tst_oxeldialog.moc"

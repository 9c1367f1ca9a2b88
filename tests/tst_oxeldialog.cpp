#include "oxeldialog.h"
#include "resultlistmodel.h"
#include "scripteddialogs.h"
#include "testfiles.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
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
    QCOMPARE(window.resultCorpus().mode(), QStringLiteral("Corpus"));

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

QTEST_MAIN(TestOxelDialog)
#include "tst_oxeldialog.moc"

#include "app/mainwindow.h"
#include "forms/articleview.h"
#include "forms/gui_base.h"
#include "forms/resultpane.h"
#include "menu/menub.h"
#include "menu/menuhost.h"
#include "menu/menuicons.h"
#include "tests/scripteddialogs.h"
#include "tests/testcorpus.h"
#include "tests/testfiles.h"

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTimer>
#include <array>
#include <functional>

namespace {

// Articles owned by the test, numbered in order.
std::vector<ArticleEntry> articles(const QStringList& titles, const QStringList& texts = {})
{
    std::vector<ArticleEntry> entries(size_t(titles.size()));
    for (qsizetype i = 0; i < titles.size(); ++i) {
        entries[size_t(i)].title = titles[i];
        entries[size_t(i)].number = int(i);
        entries[size_t(i)].text = i < texts.size() ? texts[i] : QString();
    }
    return entries;
}

// The mode that reports name so.
SearchMode modeNamed(const QString& name)
{
    for (const SearchMode mode :
         {SearchMode::AllTerms, SearchMode::AnyTerm, SearchMode::ExactPhrase, SearchMode::Titles, SearchMode::Cross}) {
        if (modeName(mode) == name)
            return mode;
    }
    return SearchMode::AllArticles;
}

SearchResult record(const std::vector<ArticleEntry>& entries, const QString& mode, const QString& query,
                    const QString& description = {})
{
    SearchResult result;
    result.setMode(modeNamed(mode));
    result.splitTerms(query);
    result.appendCriteriaDescription(description);
    for (const ArticleEntry& entry : entries)
        result.addHit(entry);
    return result;
}

QByteArray utf16WithBom(const QString& text)
{
    const QString withBom = QChar(0xFEFF) + text;
    return QByteArray(reinterpret_cast<const char*>(withBom.utf16()), withBom.size() * 2);
}

// The main form with records set by hand, dispatched by tab as the window does. It starts on the
// Corpus tab showing its one article.
struct FakeHost : MenuHost
{
    GUI_Base form;
    const std::vector<ArticleEntry> entries = articles({"VENT"}, {QStringLiteral("Le vent.")});
    SearchResult corpus = record(entries, QString(), QString());
    SearchResult simple;
    SearchResult croisee;
    // The row of its record that each tab's view shows.
    std::array<int, 3> shown{0, -1, -1};
    mutable ScriptedDialogs scripted;

    QWidget& mainWindow() override { return form; }
    std::optional<Tab> currentTab() const override
    {
        switch (form.Onglets->currentIndex()) {
        case 0:
            return Tab{form.TxtView_Corpus, &corpus, shown[0], searchreport::Kind::Corpus};
        case 1:
            return Tab{form.Txt_Art, &simple, shown[1], searchreport::Kind::Simple};
        case 2:
            return Tab{form.Txt_Art_Cro, &croisee, shown[2], searchreport::Kind::Cross};
        default:
            return std::nullopt;
        }
    }
    // What these do is the window's: its suite tests them through the menu bar.
    void setBackground(const QString&) override {}
    void setArticleFont(const QFont&) override {}
    void openCorpus(const QString&) override {}
    bool ignoresAccents() const override { return false; }
    void setIgnoreAccents(bool) override {}
    bool showsPlainText() const override { return false; }
    bool keepsIndex() const override { return true; }
    void setKeepsIndex(bool) override {}
    void setShowsPlainText(bool) override {}
    void chooseRoles() override {}
    void showConcordance() override { ++concordances; }
    int concordances = 0;
    Dialogs& dialogs() const override { return scripted; }
    // The panes are the window's: its suites press their keys.
    ResultPane* currentPane() override { return nullptr; }
    QString path;
    const QString& corpusPath() const override { return path; }
    const SearchResult& resultSimple() const override { return simple; }
    int zoom = 0;
    int articleZoom() const override { return zoom; }
    void setArticleZoom(int steps) override { zoom = steps; }
};

void setUpPdf(QPrinter& printer, const QString& fileName)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
}

// The non-empty lines of a PDF's text, as pdftotext reads them.
QStringList pdfLines(const QString& fileName)
{
    QProcess process;
    // Layout mode keeps lines apart: otherwise a line ending in a hyphen is joined to the next.
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), fileName, QStringLiteral("-")});
    if (!process.waitForFinished(20000) || process.exitCode() != 0)
        return {QStringLiteral("<pdftotext failed>")};
    QStringList lines;
    for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed().remove(QLatin1Char('\f'));
        if (!trimmed.isEmpty())
            lines << trimmed;
    }
    return lines;
}

// The first page of a PDF, as pdftoppm renders it at 50 dots an inch.
QImage pdfPage(const QString& fileName)
{
    QProcess process;
    process.start(QStringLiteral("pdftoppm"),
                  {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-f"), QStringLiteral("1"),
                   QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-png"), fileName});
    if (!process.waitForFinished(20000) || process.exitCode() != 0)
        return {};
    return QImage::fromData(process.readAllStandardOutput(), "PNG");
}

bool hasColour(const QImage& image, const std::function<bool(const QColor&)>& wanted)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (wanted(image.pixelColor(x, y)))
                return true;
        }
    }
    return false;
}

// Runs a slot that opens a modal window, and reads that window before closing it.
struct ModalLook
{
    QString caption;
    QSize size;
    QString text;
    bool modal = false;
    QWidget* parent = nullptr;
};

ModalLook lookAtModal(QObject* receiver, const char* slot)
{
    ModalLook look;
    QTimer::singleShot(0, [&look] {
        QWidget* window = QApplication::activeModalWidget();
        if (!window)
            return;
        look.caption = window->windowTitle();
        look.size = window->size();
        look.modal = window->isModal();
        look.parent = window->parentWidget();
        if (auto* browser = window->findChild<QTextBrowser*>())
            look.text = browser->toPlainText();
        window->close();
    });
    QMetaObject::invokeMethod(receiver, slot);
    return look;
}

const QByteArray reportHead("     ..:: Tarvane ::..\n---------------------------\n");

} // namespace

class TestMenuB : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void menus_data();
    void menus();
    void barAboveTheTabs();
    void pictures_data();
    void pictures();

    void reports_data();
    void reports();
    void workedExample();
    void fileNames_data();
    void fileNames();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void failedWrites_data();
    void failedWrites();
    void fullDiskKeepsOldFile_data();
    void fullDiskKeepsOldFile();
    void textExport();

    void printsTheReport();
    void printsTheArticleAsShownAndKeepsTheSetup();
    void openStartsInTheCorpusFolder_data();
    void openStartsInTheCorpusFolder();
    void concordanceBeforeAnySearch();

    void selectAndCopy_data();
    void selectAndCopy();
    void pages_data();
    void pages();

    void shortcuts();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
};

void TestMenuB::init()
{
    m_previousDir = QDir::currentPath();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QVERIFY(QFile::copy(QFINDTESTDATA("data/petit.xml"), QStringLiteral("EV_Sons.xml")));
}

void TestMenuB::cleanup()
{
    QDir::setCurrent(m_previousDir);
}

void TestMenuB::menus_data()
{
    QTest::addColumn<int>("menu");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shortcuts");
    QTest::addColumn<bool>("icon");
    QTest::newRow("Ouvrir") << 0 << 0 << "&Ouvrir"
                            << "Ctrl+O" << true;
    QTest::newRow("Enregistrer la recherche") << 0 << 1 << "&Enregistrer la recherche"
                                              << "Ctrl+S" << true;
    QTest::newRow("Enregistrer le texte") << 0 << 2 << "&Enregistrer le texte"
                                          << "" << false;
    QTest::newRow("separator 1") << 0 << 3 << ""
                                 << "" << false;
    QTest::newRow("Imprimer la recherche") << 0 << 4 << "&Imprimer la recherche"
                                           << "Ctrl+P" << false;
    QTest::newRow("Imprimer l'article") << 0 << 5 << "Imprimer l'&article"
                                        << "Ctrl+Shift+P" << false;
    QTest::newRow("separator 2") << 0 << 6 << ""
                                 << "" << false;
    QTest::newRow("Quitter") << 0 << 7 << "&Quitter"
                             << "Ctrl+Q" << false;
    QTest::newRow("Selectionner tout") << 1 << 0 << "&Selectionner tout"
                                       << "Ctrl+A" << false;
    QTest::newRow("Copier") << 1 << 1 << "&Copier"
                            << "Ctrl+C" << false;
    QTest::newRow("Concordance") << 1 << 2 << "&Concordance"
                                 << "Ctrl+K" << false;
    QTest::newRow("separator 3") << 1 << 3 << ""
                                 << "" << false;
    QTest::newRow("Rechercher dans l'article") << 1 << 4 << "&Rechercher dans l'article"
                                               << "Ctrl+F" << false;
    QTest::newRow("Occurrence suivante") << 1 << 5 << "Occurrence &suivante"
                                         << "F3" << false;
    QTest::newRow("Occurrence précédente") << 1 << 6 << "Occurrence &précédente"
                                           << "Shift+F3" << false;
    QTest::newRow("Couleur") << 2 << 0 << "&Couleur"
                             << "" << false;
    QTest::newRow("Police") << 2 << 1 << "&Police"
                            << "" << false;
    QTest::newRow("separator 4") << 2 << 2 << ""
                                 << "" << false;
    QTest::newRow("Ignorer les accents") << 2 << 3 << "Ignorer les &accents"
                                         << "" << false;
    QTest::newRow("separator 4b") << 2 << 4 << ""
                                  << "" << false;
    QTest::newRow("Texte brut") << 2 << 5 << "Texte &brut"
                                << "" << false;
    QTest::newRow("Mise en forme") << 2 << 6 << "&Mise en forme…"
                                   << "" << false;
    QTest::newRow("separator 4c") << 2 << 7 << ""
                                  << "" << false;
    QTest::newRow("Garder un index du corpus") << 2 << 8 << "Garder un &index du corpus"
                                               << "" << false;
    QTest::newRow("Précédent") << 3 << 0 << "&Précédent"
                               << "Alt+Left" << false;
    QTest::newRow("Suivant") << 3 << 1 << "&Suivant"
                             << "Alt+Right" << false;
    QTest::newRow("separator 5") << 3 << 2 << ""
                                 << "" << false;
    QTest::newRow("Zoom avant, with = for + without Shift") << 3 << 3 << "Zoom &avant"
                                                            << "Ctrl++; Ctrl+=" << false;
    QTest::newRow("Zoom arrière") << 3 << 4 << "Zoom a&rrière"
                                  << "Ctrl+-" << false;
    QTest::newRow("Taille normale") << 3 << 5 << "&Taille normale"
                                    << "Ctrl+0" << false;
    QTest::newRow("Aide") << 4 << 0 << "&Aide"
                          << "F1" << false;
    QTest::newRow("A propos") << 4 << 1 << "A &propos"
                              << "" << false;
}

void TestMenuB::menus()
{
    QFETCH(int, menu);
    QFETCH(int, item);
    QFETCH(QString, text);
    QFETCH(QString, shortcuts);
    QFETCH(bool, icon);
    FakeHost host;
    MenuB bar(host, "menu");
    QCOMPARE(bar.objectName(), QStringLiteral("menu"));
    QCOMPARE(bar.parentWidget(), &host.form);
    QVERIFY(bar.actions().isEmpty());
    QCOMPARE(bar.minimumSize(), QSize(100, 22));

    QStringList titles;
    QList<QMenu*> menus;
    for (QAction* action : bar.innerBar()->actions()) {
        if (action->menu()) {
            titles << action->text();
            menus << action->menu();
        }
    }
    QCOMPARE(titles, QStringList({"&Fichier", "&Edition", "&Options", "&Affichage", "&Aide"}));
    QCOMPARE(menus[2]->windowTitle(), QStringLiteral("Options"));
    QCOMPARE(menus[0]->actions().size(), 8);
    QCOMPARE(menus[1]->actions().size(), 7);
    QCOMPARE(menus[2]->actions().size(), 9);
    QCOMPARE(menus[3]->actions().size(), 6);
    QCOMPARE(menus[4]->actions().size(), 2);

    const QAction* action = menus[menu]->actions().at(item);
    QCOMPARE(action->isSeparator(), text.isEmpty());
    QCOMPARE(action->text(), text);
    QCOMPARE(QKeySequence::listToString(action->shortcuts(), QKeySequence::PortableText), shortcuts);
    QCOMPARE(!action->icon().isNull(), icon);
}

void TestMenuB::barAboveTheTabs()
{
    ScriptedDialogs dialogs;
    MainWindow main(dialogs);
    OxelDialog& window = main.window();
    const MenuB& bar = main.menuBar();
    QCOMPARE(bar.objectName(), QStringLiteral("menu"));
    window.resize(800, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(bar.isVisible());
    QVERIFY(bar.height() >= 22);
    QVERIFY(bar.geometry().bottom() < window.Onglets->geometry().top());
    QCOMPARE(bar.width(), 800);
    QCOMPARE(bar.innerBar()->geometry(), QRect(QPoint(0, 0), bar.size()));
    QVERIFY(bar.innerBar()->actionGeometry(bar.innerBar()->actions().constFirst()).height() <= bar.height());
}

void TestMenuB::pictures_data()
{
    QTest::addColumn<bool>("folder");
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QColor>("colour");
    const QColor none(0, 0, 0, 0);
    QTest::newRow("folder corner") << true << QPoint(0, 0) << none;
    QTest::newRow("folder outline") << true << QPoint(1, 4) << QColor(Qt::black);
    QTest::newRow("folder body") << true << QPoint(7, 9) << QColor(Qt::yellow);
    QTest::newRow("folder tab") << true << QPoint(10, 3) << QColor(Qt::yellow);
    QTest::newRow("folder beside the tab") << true << QPoint(4, 3) << none;
    QTest::newRow("folder bottom") << true << QPoint(14, 14) << QColor(Qt::black);
    QTest::newRow("diskette cut corner") << false << QPoint(2, 2) << none;
    QTest::newRow("diskette top") << false << QPoint(3, 2) << QColor(Qt::black);
    QTest::newRow("diskette notch") << false << QPoint(10, 4) << none;
    QTest::newRow("diskette label") << false << QPoint(7, 10) << QColor(Qt::white);
    QTest::newRow("diskette beside the label") << false << QPoint(10, 10) << QColor(Qt::black);
    QTest::newRow("diskette bottom cut") << false << QPoint(12, 13) << none;
}

void TestMenuB::pictures()
{
    QFETCH(bool, folder);
    QFETCH(QPoint, pixel);
    QFETCH(QColor, colour);
    const QImage image = (folder ? menuicons::folder() : menuicons::diskette()).toImage();
    QCOMPARE(image.size(), QSize(16, 16));
    const QColor found = image.pixelColor(pixel);
    if (colour.alpha() == 0)
        QCOMPARE(found.alpha(), 0);
    else
        QCOMPARE(found.rgba(), colour.rgba());
}

void TestMenuB::reports_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("corpus") << 0 << "Corpus"
                            << "son" << QString() << QStringList{"SON", "SON"}
                            << reportHead + "Type de Recherche : Corpus \n\nCritère de recherche : son\n"
                                            "Nombre d'articles : 2\n---------------------------\nSON\nSON\n";
    QTest::newRow("simple, exact, titles in UTF-8")
        << 1 << "exact"
        << "c\xC5\x93ur" << QString()
        << QStringList{"\xC5\x92uvre d\xE2\x80\x99"
                       "art",
                       "\xE1\xBC\x88\xCE\xAE\xCF\x81"}
        << reportHead + "Type de Recherche : Simple \n\nCrit\xC3\xA8res de recherche : c\xC5\x93ur\n"
                        "Options : Expression exacte \nCasse : ignorée\nNombre d'articles : 2\n"
                        "---------------------------\n"
                        "\xC5\x92uvre d\xE2\x80\x99"
                        "art\n\xE1\xBC\x88\xCE\xAE\xCF\x81\n";
    QTest::newRow("simple, no search yet")
        << 1 << QString() << QString() << QString() << QStringList{}
        << reportHead + "Type de Recherche : Simple \n\nCritères de recherche : \n"
                        "Options : Nombre d'articles : 0\n---------------------------\n";
    QTest::newRow("cross, two rows") << 2 << "croisee" << QString() << " a --> b --> c \n\t2º :  d "
                                     << QStringList{"GONG"}
                                     << reportHead +
                                            "Type de Recherche : Crois\xC3\xA9"
                                            "e \n\nCritères de recherche : \n"
                                            "\t1\xC2\xBA :  a --> b --> c \n\t2º :  d \n\nNombre d'articles : 1\n"
                                            "---------------------------\nGONG\n";
}

void TestMenuB::reports()
{
    QFETCH(int, tab);
    QFETCH(QString, mode);
    QFETCH(QString, query);
    QFETCH(QString, description);
    QFETCH(QStringList, titles);
    QFETCH(QByteArray, expected);
    FakeHost host;
    MenuB bar(host);
    const std::vector<ArticleEntry> entries = articles(titles);
    const SearchResult result = record(entries, mode, query, description);
    // Only the current tab's record is reported.
    const SearchResult other = record(articles({"AUTRE"}), QStringLiteral("tous"), QStringLiteral("autre"));
    host.corpus = host.simple = host.croisee = other;
    (tab == 0 ? host.corpus : tab == 1 ? host.simple : host.croisee) = result;
    host.form.Onglets->setCurrentIndex(tab);
    host.scripted.saveAnswers = {QStringLiteral("rapport.txt")};
    bar.saveR();
    QCOMPARE(testfiles::read(QStringLiteral("rapport.txt")), expected);
    QCOMPARE(host.scripted.saveRequests.size(), 1);
    QCOMPARE(host.scripted.saveRequests[0].startPath, QString());
    QCOMPARE(host.scripted.saveRequests[0].filter, QStringLiteral("Fichiers Texte (*.txt)"));
    QVERIFY(host.scripted.warnings.isEmpty());
    QVERIFY(host.scripted.questions.isEmpty());
}

void TestMenuB::workedExample()
{
    // vent and orage in "tous" mode, case ignored, found in the articles titled A and B: eleven lines.
    FakeHost host;
    MenuB bar(host);
    const std::vector<ArticleEntry> entries = articles({"A", "B"});
    host.simple = record(entries, QStringLiteral("tous"), QStringLiteral("vent orage"));
    host.form.Onglets->setCurrentIndex(1);
    host.scripted.saveAnswers = {QStringLiteral("exemple")};
    bar.saveR();
    const QByteArray written = testfiles::read(QStringLiteral("exemple.txt"));
    QCOMPARE(written, QByteArray("     ..:: Tarvane ::..\n"
                                 "---------------------------\n"
                                 "Type de Recherche : Simple \n"
                                 "\n"
                                 "Critères de recherche : vent orage\n"
                                 "Options : Tous les mots \n"
                                 "Casse : ignorée\n"
                                 "Nombre d'articles : 2\n"
                                 "---------------------------\n"
                                 "A\n"
                                 "B\n"));
    QCOMPARE(written.count('\n'), 11);
}

void TestMenuB::fileNames_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("refused");
    QTest::newRow("no extension") << "rapport"
                                  << "rapport.txt" << false;
    QTest::newRow("already .txt") << "rapport.txt"
                                  << "rapport.txt" << false;
    QTest::newRow("upper-case extension") << "RAPPORT.TXT"
                                          << "RAPPORT.TXT.txt" << false;
    QTest::newRow("one letter") << "r"
                                << "r.txt" << false;
    QTest::newRow("other extension") << "notes.md"
                                     << "notes.md.txt" << false;
    QTest::newRow("cancel") << ""
                            << "" << false;
    // A name holding a wildcard is never written.
    QTest::newRow("the filter as a name") << "*.txt"
                                          << "" << true;
    QTest::newRow("star alone") << "*"
                                << "" << true;
    QTest::newRow("question mark") << "rapport?.txt"
                                   << "" << true;
}

void TestMenuB::fileNames()
{
    QFETCH(QString, answer);
    QFETCH(QString, written);
    QFETCH(bool, refused);
    for (const char* slot : {"saveR", "saveT"}) {
        FakeHost host;
        MenuB bar(host);
        host.scripted.saveAnswers = {answer};
        QMetaObject::invokeMethod(&bar, slot);
        QCOMPARE(QDir().entryList(QDir::Files),
                 written.isEmpty() ? QStringList{"EV_Sons.xml"} : QStringList({"EV_Sons.xml", written}));
        QCOMPARE(host.scripted.warnings.size(), refused ? 1 : 0);
        if (refused) {
            QCOMPARE(host.scripted.warnings[0].caption, QStringLiteral("Erreur"));
            QCOMPARE(host.scripted.warnings[0].text,
                     QStringLiteral("Un nom de fichier ne peut contenir ni « * » ni « ? »"));
        }
        QVERIFY(host.scripted.questions.isEmpty());
        if (!written.isEmpty())
            QVERIFY(QFile::remove(written));
    }
}

void TestMenuB::overwriteQuestion_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QList<bool>>("replies");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("extended name exists, yes") << "ancien" << QList<bool>{true} << 1 << true;
    QTest::newRow("extended name exists, no") << "ancien" << QList<bool>{false} << 1 << false;
    // The file dialog itself asked about the name it returned.
    QTest::newRow("name as chosen") << "ancien.txt" << QList<bool>{} << 0 << true;
}

void TestMenuB::overwriteQuestion()
{
    QFETCH(QString, answer);
    QFETCH(QList<bool>, replies);
    QFETCH(int, questions);
    QFETCH(bool, replaced);
    for (const char* slot : {"saveR", "saveT"}) {
        testfiles::write(QStringLiteral("ancien.txt"), "mes notes");
        FakeHost host;
        MenuB bar(host);
        host.scripted.saveAnswers = {answer};
        host.scripted.questionAnswers = replies;
        QMetaObject::invokeMethod(&bar, slot);
        QCOMPARE(host.scripted.questions.size(), questions);
        if (questions) {
            QCOMPARE(host.scripted.questions[0].caption, QStringLiteral("Enregistrer"));
            QCOMPARE(host.scripted.questions[0].text,
                     QStringLiteral("Le fichier « ancien.txt » existe déjà.\nVoulez-vous le remplacer ?"));
        }
        QCOMPARE(testfiles::read(QStringLiteral("ancien.txt")) != QByteArray("mes notes"), replaced);
        QVERIFY(host.scripted.warnings.isEmpty());
    }
}

void TestMenuB::failedWrites_data()
{
    QTest::addColumn<QString>("answer");
    QTest::newRow("vanished directory") << "parti/rapport";
    QTest::newRow("a directory of that name") << "dossier.txt";
    QTest::newRow("read-only directory") << "lecture/rapport.txt";
}

void TestMenuB::failedWrites()
{
    QFETCH(QString, answer);
    QVERIFY(QDir().mkdir(QStringLiteral("dossier.txt")));
    QVERIFY(QDir().mkdir(QStringLiteral("lecture")));
    testfiles::write(QStringLiteral("lecture/rapport.txt"), "ancien");
    QVERIFY(QFile::setPermissions(QStringLiteral("lecture"), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    if (QFile(QStringLiteral("lecture/essai")).open(QIODevice::WriteOnly)) {
        QFile::setPermissions(QStringLiteral("lecture"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        if (answer.startsWith(QLatin1String("lecture")))
            QSKIP("Running as a user who can write in a read-only directory");
    }
    for (const char* slot : {"saveR", "saveT"}) {
        FakeHost host;
        MenuB bar(host);
        host.scripted.saveAnswers = {answer};
        QMetaObject::invokeMethod(&bar, slot);
        QCOMPARE(host.scripted.warnings.size(), 1);
        QCOMPARE(host.scripted.warnings[0].caption, QStringLiteral("Erreur"));
        QCOMPARE(host.scripted.warnings[0].text, QStringLiteral("Impossible d'écrire sur ce fichier"));
    }
    QVERIFY(QFileInfo(QStringLiteral("dossier.txt")).isDir());
    QCOMPARE(testfiles::read(QStringLiteral("lecture/rapport.txt")), QByteArray("ancien"));
    QFile::setPermissions(QStringLiteral("lecture"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void TestMenuB::fullDiskKeepsOldFile_data()
{
    QTest::addColumn<QString>("slot");
    QTest::newRow("report") << "saveR";
    QTest::newRow("text") << "saveT";
}

void TestMenuB::fullDiskKeepsOldFile()
{
    QFETCH(QString, slot);
    FakeHost host;
    MenuB bar(host);
    const std::vector<ArticleEntry> entries =
        articles({"VENT"}, {QStringLiteral("Un texte bien plus long que seize octets.")});
    host.corpus = record(entries, QString(), QString());
    testfiles::write(QStringLiteral("garde.txt"), "ancien");
    host.scripted.saveAnswers = {QStringLiteral("garde.txt")};

    {
        const testfiles::FileSizeLimit fullDisk(16);
        QVERIFY(fullDisk.isSet());
        QMetaObject::invokeMethod(&bar, slot.toLatin1().constData());
    }

    QCOMPARE(host.scripted.warnings.size(), 1);
    QCOMPARE(host.scripted.warnings[0].caption, QStringLiteral("Erreur"));
    QCOMPARE(host.scripted.warnings[0].text, QStringLiteral("Impossible d'écrire sur ce fichier"));
    QCOMPARE(testfiles::read(QStringLiteral("garde.txt")), QByteArray("ancien"));
    QCOMPARE(QDir().entryList(QDir::Files), QStringList({"EV_Sons.xml", "garde.txt"})); // no temporary left
}

void TestMenuB::textExport()
{
    FakeHost host;
    MenuB bar(host);
    const std::vector<ArticleEntry> entries = articles(
        {"VENT", "ORAGE"}, {QStringLiteral("Le vent < la brise.\nSuite"), QStringLiteral("L'orage, le vent !")});
    host.simple = record(entries, QStringLiteral("tous"), QStringLiteral("vent orage"));
    host.corpus = record(entries, QStringLiteral("Corpus"), QStringLiteral("vent"));
    host.croisee = SearchResult();
    const QByteArray bom("\xFF\xFE");

    // The article shown, with the markup around each marked word, as UTF-16 after a byte-order mark.
    host.form.Onglets->setCurrentIndex(1);
    host.shown[1] = 1;
    host.scripted.saveAnswers = {QStringLiteral("simple")};
    bar.saveT();
    const QByteArray simple = testfiles::read(QStringLiteral("simple.txt"));
    QCOMPARE(simple.left(2), bom);
    QCOMPARE(simple, utf16WithBom(QStringLiteral("L'<font color=\"red\"><b><u>orage</u></b></font>, le "
                                                 "<font color=\"red\"><b><u>vent</u></b></font> !")));

    // Nothing marked: the plain text, its line break as it stands.
    host.form.Onglets->setCurrentIndex(0);
    host.shown[0] = 0;
    host.scripted.saveAnswers = {QStringLiteral("corpus")};
    bar.saveT();
    QCOMPARE(testfiles::read(QStringLiteral("corpus.txt")), utf16WithBom(QStringLiteral("Le vent < la brise.\nSuite")));
    QCOMPARE(testfiles::read(QStringLiteral("corpus.txt")).mid(2, 4), QByteArray("L\0e\0", 4));

    // No article shown: the user is told, no name is asked and nothing is written.
    host.form.Onglets->setCurrentIndex(2);
    host.scripted.saveAnswers = {QStringLiteral("vide")};
    bar.saveT();
    QCOMPARE(host.scripted.saveRequests.size(), 2);
    QCOMPARE(host.scripted.warnings.size(), 1);
    QCOMPARE(host.scripted.warnings[0].caption, QStringLiteral("Enregistrer le texte"));
    QCOMPARE(host.scripted.warnings[0].text, QStringLiteral("Aucun article affiché"));
    QVERIFY(!QFile::exists(QStringLiteral("vide.txt")));
    // Nor is anything printed.
    bar.imprT();
    QCOMPARE(host.scripted.warnings.size(), 2);
    QCOMPARE(host.scripted.warnings[1].caption, QStringLiteral("Imprimer l'article"));
    QCOMPARE(host.scripted.warnings[1].text, QStringLiteral("Aucun article affiché"));
    QCOMPARE(host.scripted.printSetups, 0);

    // An article longer than its view shows is saved whole.
    const std::vector<ArticleEntry> longArticle = articles({"LONG"}, {QStringLiteral("abcdefghi\n").repeated(30000)});
    host.form.Onglets->setCurrentIndex(0);
    host.corpus = record(longArticle, QString(), QString());
    host.form.TxtView_Corpus->showArticle(longArticle[0].text, {});
    host.scripted.saveAnswers = {QStringLiteral("long")};
    bar.saveT();
    QCOMPARE(testfiles::read(QStringLiteral("long.txt")), utf16WithBom(QStringLiteral("abcdefghi\n").repeated(30000)));
}

void TestMenuB::printsTheReport()
{
    testfiles::write(QStringLiteral("temp.txt"), "à moi");
    FakeHost host;
    MenuB bar(host);
    const std::vector<ArticleEntry> entries = articles({"VENT", "ÉCHO"});
    host.simple = record(entries, QStringLiteral("auMoinsUn"), QStringLiteral("vent écho"));
    host.form.Onglets->setCurrentIndex(1);
    const QString pdf = m_dir->filePath(QStringLiteral("rapport.pdf"));
    host.scripted.printAnswer = [&pdf](QPrinter& printer) {
        setUpPdf(printer, pdf);
        return true;
    };
    bar.imprR();
    QCOMPARE(host.scripted.printSetups, 1);
    QVERIFY(host.scripted.saveRequests.isEmpty());
    QCOMPARE(pdfLines(pdf),
             QStringList({"..:: Tarvane ::..", "---------------------------", "Type de Recherche : Simple",
                          "Critères de recherche : vent écho", "Options : Au moins un des termes", "Casse : ignorée",
                          "Nombre d'articles : 2", "---------------------------", "VENT", "ÉCHO", "Page 1 / 1"}));
    // The user's own temp.txt is left alone, and no other file appears.
    QCOMPARE(testfiles::read(QStringLiteral("temp.txt")), QByteArray("à moi"));
    QCOMPARE(QDir().entryList(QDir::Files), QStringList({"EV_Sons.xml", "rapport.pdf", "temp.txt"}));
}

void TestMenuB::printsTheArticleAsShownAndKeepsTheSetup()
{
    FakeHost host;
    MenuB bar(host);
    const std::vector<ArticleEntry> entries = articles({"VENT"}, {QStringLiteral("Le vent.\n\tSuite")});
    host.simple = record(entries, QStringLiteral("tous"), QStringLiteral("vent"));
    host.form.Onglets->setCurrentIndex(1);
    host.shown[1] = 0;
    host.form.Txt_Art->setFont(QFont(QStringLiteral("DejaVu Sans"), 40));
    ResultPane::showArticle(host.simple, 0, host.form.Txt_Art);
    // A word the find bar marks, on a yellow ground.
    host.form.Txt_Art->setFoundMarks({{0, 2}});
    const QString pdf = m_dir->filePath(QStringLiteral("texte.pdf"));
    QStringList seen;
    host.scripted.printAnswer = [&](QPrinter& printer) {
        seen << printer.outputFileName();
        setUpPdf(printer, pdf);
        return true;
    };
    bar.imprT();
    // The text as shown, without markup, its marks drawn: the search's in red, the find bar's on yellow.
    QCOMPARE(pdfLines(pdf), QStringList({"Le vent.", "Suite", "Page 1 / 1"}));
    const QImage page = pdfPage(pdf);
    QVERIFY(!page.isNull());
    QVERIFY(hasColour(page, [](const QColor& c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; }));
    QVERIFY(hasColour(page, [](const QColor& c) { return c.red() > 200 && c.green() > 200 && c.blue() < 80; }));
    QVERIFY(QFile::remove(pdf));

    // The next print starts from the setup of the last one; a cancel prints nothing.
    host.scripted.printAnswer = [&](QPrinter& printer) {
        seen << printer.outputFileName();
        return false;
    };
    bar.imprT();
    QCOMPARE(seen, QStringList({QString(), pdf}));
    QVERIFY(!QFile::exists(pdf));
    QVERIFY(!QFile::exists(QStringLiteral("temp.txt")));

    // A formatted article prints as shown: its lines and headings, which the text itself has not.
    const CorpusDocument corpus = testcorpus::of("<r><a><t>VENT</t><s n=\"1\">Air.</s><s n=\"1\">Brise.</s>"
                                                 "<s n=\"1\">Bise.</s><s n=\"2\">Mistral.</s><s n=\"2\">Autan.</s>"
                                                 "</a></r>");
    host.simple = SearchResult();
    host.simple.addHit(corpus.articles().front());
    host.simple.keep(corpus.content());
    host.form.Txt_Art->setRoles(std::make_shared<ElementRoles>(corpus.content()->roles));
    ResultPane::showArticle(host.simple, 0, host.form.Txt_Art);
    host.scripted.printAnswer = [&](QPrinter& printer) {
        setUpPdf(printer, pdf);
        return true;
    };
    bar.imprT();
    QCOMPARE(pdfLines(pdf), QStringList({"VENT", "1", "Air.", "1", "Brise.", "1", "Bise.", "2", "Mistral.", "2",
                                         "Autan.", "Page 1 / 1"}));
}

void TestMenuB::openStartsInTheCorpusFolder_data()
{
    QTest::addColumn<QString>("corpus");
    QTest::addColumn<QString>("startPath");
    QTest::newRow("no corpus yet") << ""
                                   << "";
    QTest::newRow("a personal corpus") << "/srv/corpus/dictionnaire.xml"
                                       << "/srv/corpus";
    QTest::newRow("a name that is not UTF-8")
        << QString::fromUtf16(u"/srv/caf\xDCE9/son.xml") << QString::fromUtf16(u"/srv/caf\xDCE9");
}

void TestMenuB::openStartsInTheCorpusFolder()
{
    QFETCH(QString, corpus);
    QFETCH(QString, startPath);
    FakeHost host;
    MenuB bar(host);
    host.path = corpus;
    bar.open();
    QCOMPARE(host.scripted.openRequests.size(), 1);
    QCOMPARE(host.scripted.openRequests[0].startPath, startPath);
    QCOMPARE(host.scripted.openRequests[0].filter, QStringLiteral("Fichiers XML (*.xml)"));
    // A stock corpus lies in the working folder.
    host.path = QStringLiteral("EV_Sons.xml");
    bar.open();
    QCOMPARE(host.scripted.openRequests[1].startPath, QDir::currentPath());
}

void TestMenuB::concordanceBeforeAnySearch()
{
    FakeHost host;
    MenuB bar(host);
    bar.concordance();
    QCOMPARE(host.concordances, 0);
    QCOMPARE(host.scripted.warnings.size(), 1);
    QCOMPARE(host.scripted.warnings[0].caption, QStringLiteral("Concordance"));
    QCOMPARE(host.scripted.warnings[0].text,
             QStringLiteral("Aucune recherche pour l'instant : lancez d'abord une recherche simple."));

    // A simple search run, whatever it found: its concordance opens.
    host.simple = record({}, QStringLiteral("auMoinsUn"), QStringLiteral("zéphyr"));
    bar.concordance();
    QCOMPARE(host.concordances, 1);
    QCOMPARE(host.scripted.warnings.size(), 1);
}

void TestMenuB::selectAndCopy_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("view");
    QTest::newRow("Corpus") << 0 << "TxtView_Corpus";
    QTest::newRow("Recherche Simple") << 1 << "Txt_Art";
    QTest::newRow("Recherche Croisée") << 2 << "Txt_Art_Cro";
}

void TestMenuB::selectAndCopy()
{
    QFETCH(int, tab);
    QFETCH(QString, view);
    FakeHost host;
    MenuB bar(host);
    const QList<QTextEdit*> views = host.form.findChildren<QTextEdit*>();
    for (QTextEdit* each : views)
        each->setPlainText(each->objectName() + QStringLiteral(" premier\nsecond"));
    host.form.Onglets->setCurrentIndex(tab);
    host.form.Lst_B11->setFocus(); // the focus does not matter
    auto* target = host.form.findChild<QTextEdit*>(view);

    bar.selectAll();
    for (QTextEdit* each : views)
        QCOMPARE(each->textCursor().hasSelection(), each == target);
    bar.copier();
    QCOMPARE(QGuiApplication::clipboard()->text(), view + QStringLiteral(" premier\nsecond"));

    // Nothing selected: the clipboard keeps what it held.
    QGuiApplication::clipboard()->setText(QStringLiteral("à garder"));
    QTextCursor cursor = target->textCursor();
    cursor.clearSelection();
    target->setTextCursor(cursor);
    bar.copier();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("à garder"));

    // An article's own characters, whatever the view shows for its line ends.
    auto* articleView = qobject_cast<ArticleView*>(target);
    QVERIFY(articleView);
    articleView->showArticle(QStringLiteral("souffle\r\nle vent."), {});
    bar.selectAll();
    bar.copier();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("souffle\r\nle vent."));
}

void TestMenuB::pages_data()
{
    QTest::addColumn<QString>("slot");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");
    QTest::newRow("help") << "aide"
                          << "aide.html"
                          << "..:: Tarvane - Qt - Aide ::.." << QSize(600, 500);
    QTest::newRow("about") << "about"
                           << "about.html"
                           << "..:: Tarvane - Qt - A propos ::.." << QSize(500, 300);
}

void TestMenuB::pages()
{
    QFETCH(QString, slot);
    QFETCH(QString, file);
    QFETCH(QString, caption);
    QFETCH(QSize, size);
    FakeHost host;
    MenuB bar(host);

    // Missing page: the window opens empty.
    ModalLook look = lookAtModal(&bar, slot.toLatin1().constData());
    QCOMPARE(look.caption, caption);
    QCOMPARE(look.text, QString());

    testfiles::write(file, "<html><body><p>Le premier\nmot, puis\r\nle second</p>\n<p>D\xC3\xA9"
                           "but</p></body></html>");
    look = lookAtModal(&bar, slot.toLatin1().constData());
    QCOMPARE(look.caption, caption);
    QCOMPARE(look.size, size);
    QVERIFY(look.modal);
    QCOMPARE(look.parent, &host.form);
    // Line breaks of the file stay white space between words.
    QCOMPARE(look.text, QStringLiteral("Le premier mot, puis le second\nDébut"));
    QVERIFY(!QApplication::activeModalWidget());
}

void TestMenuB::shortcuts()
{
    ScriptedDialogs dialogs;
    dialogs.welcome = 2;
    MainWindow main(dialogs);
    OxelDialog& window = main.window();
    window.resize(900, 700);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    // Ctrl+S saves the report, not the article text.
    dialogs.saveAnswers = {QStringLiteral("raccourci")};
    QTest::keyClick(window.focusWidget(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(dialogs.saveRequests.size(), 1);
    QCOMPARE(testfiles::read(QStringLiteral("raccourci.txt")).left(reportHead.size()), reportHead);
    QTest::keyClick(window.focusWidget(), Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(dialogs.printSetups, 1);
    // Ctrl+Shift+P prints the article shown, once.
    QVERIFY(window.currentTab() && window.currentTab()->shownRow >= 0);
    QTest::keyClick(window.focusWidget(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(dialogs.printSetups, 2);
    QVERIFY(dialogs.warnings.isEmpty());
    // Ctrl+O starts in the folder of the corpus shown, here the working folder.
    QTest::keyClick(window.focusWidget(), Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(dialogs.openRequests.size(), 1);
    QCOMPARE(dialogs.openRequests[0].startPath, QDir::currentPath());
    // Ctrl+K before any search says so, and opens no window.
    QTest::keyClick(window.focusWidget(), Qt::Key_K, Qt::ControlModifier);
    QCOMPARE(dialogs.warnings.size(), 1);
    QCOMPARE(dialogs.warnings[0].caption, QStringLiteral("Concordance"));
    QVERIFY(!window.concordanceWindow());

    // With the cross-search tab showing, select all acts on its view, wherever the focus is.
    window.Onglets->setCurrentIndex(2);
    window.Lst_B11->setFocus();
    QTest::keyClick(window.Lst_B11, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(window.Txt_Art_Cro->textCursor().selection().toPlainText(), window.Txt_Art_Cro->toPlainText());
    QVERIFY(!window.Txt_Art_Cro->toPlainText().isEmpty());

    testfiles::write(QStringLiteral("aide.html"), "<p>Aide</p>");
    QString opened;
    QTimer::singleShot(0, [&opened] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = modal->windowTitle();
            modal->close();
        }
    });
    QTest::keyClick(window.Lst_B11, Qt::Key_F1);
    QCOMPARE(opened, QStringLiteral("..:: Tarvane - Qt - Aide ::.."));
}

QTEST_MAIN(TestMenuB)
#include "tst_menub.moc"

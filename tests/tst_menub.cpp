#include "gui_base.h"
#include "menub.h"
#include "menuhost.h"
#include "menuicons.h"
#include "oxeldialog.h"
#include "resultview.h"
#include "scripteddialogs.h"
#include "testfiles.h"
#include "windowmenuhost.h"

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTimer>
#include <csignal>
#include <sys/resource.h>

namespace {

// A window of the main form with records set by hand.
struct FakeHost : MenuHost
{
    GUI_Base window;
    SearchResult corpus;
    SearchResult simple;
    SearchResult croisee;
    ScriptedDialogs scripted;
    QStringList calls;

    GUI_Base& form() override { return window; }
    const SearchResult& resultCorpus() const override { return corpus; }
    const SearchResult& resultSimple() const override { return simple; }
    const SearchResult& resultCroisee() const override { return croisee; }
    void setCorpusPath(const QString& path) override { calls << QStringLiteral("path ") + path; }
    void setColourName(const QString& name) override { calls << QStringLiteral("colour ") + name; }
    void setFontFamily(const QString& family) override { calls << QStringLiteral("font ") + family; }
    void saveSettings() override { calls << QStringLiteral("save"); }
    void loadCorpus() override { calls << QStringLiteral("load"); }
    Dialogs& dialogs() override { return scripted; }
};

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
    void printsTheArticleTextAndKeepsTheSetup();

    void selectAndCopy_data();
    void selectAndCopy();
    void colour_data();
    void colour();
    void font_data();
    void font();
    void pages_data();
    void pages();
    void openAnotherCorpus();
    void browseKeepsPathOnly();

    void shortcuts();
    void escapeKeepsTheWindow();
    void keyboardBrowsing();
    void quitEndsTheApplication(); // last: the application's loops end here

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
    QTest::addColumn<QString>("shortcut");
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
    QTest::newRow("separator 2") << 0 << 5 << ""
                                 << "" << false;
    QTest::newRow("Quitter") << 0 << 6 << "&Quitter"
                             << "Ctrl+Q" << false;
    QTest::newRow("Selectionner tout") << 1 << 0 << "&Selectionner tout"
                                       << "Ctrl+A" << false;
    QTest::newRow("Copier") << 1 << 1 << "&Copier"
                            << "Ctrl+C" << false;
    QTest::newRow("Couleur") << 2 << 0 << "&Couleur"
                             << "" << false;
    QTest::newRow("Police") << 2 << 1 << "&Police"
                            << "" << false;
    QTest::newRow("Aide") << 3 << 0 << "&Aide"
                          << "F1" << false;
    QTest::newRow("A propos") << 3 << 1 << "A &propos"
                              << "" << false;
}

void TestMenuB::menus()
{
    QFETCH(int, menu);
    QFETCH(int, item);
    QFETCH(QString, text);
    QFETCH(QString, shortcut);
    QFETCH(bool, icon);
    FakeHost host;
    MenuB bar(host, "menu");
    QCOMPARE(bar.objectName(), QStringLiteral("menu"));
    QCOMPARE(bar.parentWidget(), &host.window);
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
    QCOMPARE(titles, QStringList({"&Fichier", "&Edition", "&Options", "&Aide"}));
    QCOMPARE(menus[2]->windowTitle(), QStringLiteral("Options"));
    QCOMPARE(menus[0]->actions().size(), 7);
    QCOMPARE(menus[1]->actions().size(), 2);
    QCOMPARE(menus[2]->actions().size(), 2);
    QCOMPARE(menus[3]->actions().size(), 2);

    const QAction* action = menus[menu]->actions().at(item);
    QCOMPARE(action->isSeparator(), text.isEmpty());
    QCOMPARE(action->text(), text);
    QCOMPARE(action->shortcut().toString(QKeySequence::PortableText), shortcut);
    QCOMPARE(!action->icon().isNull(), icon);
}

void TestMenuB::barAboveTheTabs()
{
    ScriptedDialogs dialogs;
    OxelDialog window(dialogs);
    WindowMenuHost host(window);
    QGridLayout* grid = window.arrangeWindow();
    MenuB bar(host, "menu");
    grid->addWidget(&bar, 0, 0);
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
                        "Options : Expression exacte \nNombre d'articles : 2\n---------------------------\n"
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
    host.window.Onglets->setCurrentIndex(tab);
    host.scripted.saveAnswers = {QStringLiteral("rapport.txt")};
    bar.saveR();
    QCOMPARE(testfiles::read(QStringLiteral("rapport.txt")), expected);
    QCOMPARE(host.scripted.saveRequests.size(), 1);
    QCOMPARE(host.scripted.saveRequests[0].startPath, QStringLiteral("*.txt"));
    QCOMPARE(host.scripted.saveRequests[0].filter, QStringLiteral("Fichiers Texte (*.txt)"));
    QVERIFY(host.scripted.warnings.isEmpty());
    QVERIFY(host.scripted.questions.isEmpty());
}

void TestMenuB::workedExample()
{
    // vent and orage in "tous" mode, found in the articles titled A and B: ten lines.
    FakeHost host;
    MenuB bar(host);
    const std::vector<ArticleEntry> entries = articles({"A", "B"});
    host.simple = record(entries, QStringLiteral("tous"), QStringLiteral("vent orage"));
    host.window.Onglets->setCurrentIndex(1);
    host.scripted.saveAnswers = {QStringLiteral("exemple")};
    bar.saveR();
    const QByteArray written = testfiles::read(QStringLiteral("exemple.txt"));
    QCOMPARE(written, QByteArray("     ..:: Tarvane ::..\n"
                                 "---------------------------\n"
                                 "Type de Recherche : Simple \n"
                                 "\n"
                                 "Critères de recherche : vent orage\n"
                                 "Options : Tous les mots \n"
                                 "Nombre d'articles : 2\n"
                                 "---------------------------\n"
                                 "A\n"
                                 "B\n"));
    QCOMPARE(written.count('\n'), 10);
}

void TestMenuB::fileNames_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("written");
    QTest::newRow("no extension") << "rapport"
                                  << "rapport.txt";
    QTest::newRow("already .txt") << "rapport.txt"
                                  << "rapport.txt";
    QTest::newRow("upper-case extension") << "RAPPORT.TXT"
                                          << "RAPPORT.TXT.txt";
    QTest::newRow("one letter") << "r"
                                << "r.txt";
    QTest::newRow("other extension") << "notes.md"
                                     << "notes.md.txt";
    QTest::newRow("cancel") << ""
                            << "";
}

void TestMenuB::fileNames()
{
    QFETCH(QString, answer);
    QFETCH(QString, written);
    for (const char* slot : {"saveR", "saveT"}) {
        FakeHost host;
        MenuB bar(host);
        host.scripted.saveAnswers = {answer};
        QMetaObject::invokeMethod(&bar, slot);
        QCOMPARE(QDir().entryList(QDir::Files),
                 written.isEmpty() ? QStringList{"EV_Sons.xml"} : QStringList({"EV_Sons.xml", written}));
        QVERIFY(host.scripted.warnings.isEmpty());
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
    showResultArticle(host.corpus, 0, host.window.TxtView_Corpus);
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
    host.window.Onglets->setCurrentIndex(1);
    showResultArticle(host.simple, 1, host.window.Txt_Art);
    host.scripted.saveAnswers = {QStringLiteral("simple")};
    bar.saveT();
    const QByteArray simple = testfiles::read(QStringLiteral("simple.txt"));
    QCOMPARE(simple.left(2), bom);
    QCOMPARE(simple, utf16WithBom(QStringLiteral("L'<font color=\"red\"><b><u>orage</u></b></font>, le "
                                                 "<font color=\"red\"><b><u>vent</u></b></font> !")));

    // Nothing marked: the plain text, its line break as it stands.
    host.window.Onglets->setCurrentIndex(0);
    showResultArticle(host.corpus, 0, host.window.TxtView_Corpus);
    host.scripted.saveAnswers = {QStringLiteral("corpus")};
    bar.saveT();
    QCOMPARE(testfiles::read(QStringLiteral("corpus.txt")), utf16WithBom(QStringLiteral("Le vent < la brise.\nSuite")));
    QCOMPARE(testfiles::read(QStringLiteral("corpus.txt")).mid(2, 4), QByteArray("L\0e\0", 4));

    // An empty view: the byte-order mark alone.
    host.window.Onglets->setCurrentIndex(2);
    showResultArticle(host.croisee, 0, host.window.Txt_Art_Cro);
    host.scripted.saveAnswers = {QStringLiteral("vide")};
    bar.saveT();
    QCOMPARE(testfiles::read(QStringLiteral("vide.txt")), bom);
}

void TestMenuB::printsTheReport()
{
    testfiles::write(QStringLiteral("temp.txt"), "à moi");
    FakeHost host;
    MenuB bar(host);
    const std::vector<ArticleEntry> entries = articles({"VENT", "ÉCHO"});
    host.simple = record(entries, QStringLiteral("auMoinsUn"), QStringLiteral("vent écho"));
    host.window.Onglets->setCurrentIndex(1);
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
                          "Critères de recherche : vent écho", "Options : Au moins un des termes",
                          "Nombre d'articles : 2", "---------------------------", "VENT", "ÉCHO"}));
    // The user's own temp.txt is left alone, and no other file appears.
    QCOMPARE(testfiles::read(QStringLiteral("temp.txt")), QByteArray("à moi"));
    QCOMPARE(QDir().entryList(QDir::Files), QStringList({"EV_Sons.xml", "rapport.pdf", "temp.txt"}));
}

void TestMenuB::printsTheArticleTextAndKeepsTheSetup()
{
    FakeHost host;
    MenuB bar(host);
    const std::vector<ArticleEntry> entries = articles({"VENT"}, {QStringLiteral("Le vent.\n\tSuite")});
    host.simple = record(entries, QStringLiteral("tous"), QStringLiteral("vent"));
    host.window.Onglets->setCurrentIndex(1);
    showResultArticle(host.simple, 0, host.window.Txt_Art);
    const QString pdf = m_dir->filePath(QStringLiteral("texte.pdf"));
    QStringList seen;
    host.scripted.printAnswer = [&](QPrinter& printer) {
        seen << printer.outputFileName();
        setUpPdf(printer, pdf);
        return true;
    };
    bar.imprT();
    // Printing the text prints the markup as plain characters.
    QCOMPARE(pdfLines(pdf), QStringList({"Le <font color=\"red\"><b><u>vent</u></b></font>.", "Suite"}));
    QVERIFY(QFile::remove(pdf));

    // The next print starts from the setup of the last one; a cancel prints nothing.
    host.scripted.printAnswer = [&](QPrinter& printer) {
        seen << printer.outputFileName();
        return false;
    };
    bar.imprR();
    QCOMPARE(seen, QStringList({QString(), pdf}));
    QVERIFY(!QFile::exists(pdf));
    QVERIFY(!QFile::exists(QStringLiteral("temp.txt")));
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
    const QList<QTextEdit*> views = host.window.findChildren<QTextEdit*>();
    for (QTextEdit* each : views)
        each->setPlainText(each->objectName() + QStringLiteral(" premier\nsecond"));
    host.window.Onglets->setCurrentIndex(tab);
    host.window.Lst_B11->setFocus(); // the focus does not matter
    auto* target = host.window.findChild<QTextEdit*>(view);

    bar.selectAll();
    for (QTextEdit* each : views)
        QCOMPARE(each->textCursor().hasSelection(), each == target);
    bar.copier();
    QCOMPARE(QGuiApplication::clipboard()->text(), view + QStringLiteral(" premier\nsecond"));

    QTextCursor cursor = target->textCursor();
    cursor.clearSelection();
    target->setTextCursor(cursor);
    bar.copier();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString());
}

void TestMenuB::colour_data()
{
    QTest::addColumn<QList<QColor>>("answers");
    QTest::addColumn<QColor>("applied");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("settings");
    QTest::newRow("chosen") << QList<QColor>{QColor(0x33, 0x66, 0x99)} << QColor(0x33, 0x66, 0x99) << "#336699"
                            << QByteArray("chemin=\ncouleur=#336699\npolice=\n");
    QTest::newRow("cancelled: light grey")
        << QList<QColor>{} << QColor(192, 192, 192) << "#c0c0c0" << QByteArray("chemin=\ncouleur=#c0c0c0\npolice=\n");
}

void TestMenuB::colour()
{
    QFETCH(QList<QColor>, answers);
    QFETCH(QColor, applied);
    QFETCH(QString, name);
    QFETCH(QByteArray, settings);
    ScriptedDialogs dialogs;
    OxelDialog window(dialogs);
    WindowMenuHost host(window);
    MenuB bar(host);
    dialogs.colourAnswers = answers;
    window.setPalette(QPalette(QColor(Qt::red)));
    bar.couleur();
    QCOMPARE(dialogs.colourStarts, QList<QColor>{QColor(192, 192, 192)});
    QCOMPARE(window.colourName(), name);
    QCOMPARE(testfiles::read(QStringLiteral("oxel.conf")), settings);
    for (QWidget* widget : {static_cast<QWidget*>(&window), static_cast<QWidget*>(window.TxtView_Corpus),
                            static_cast<QWidget*>(window.Txt_Art), static_cast<QWidget*>(window.Txt_Art_Cro)}) {
        QCOMPARE(widget->palette().color(QPalette::Button), applied);
        QCOMPARE(widget->palette().color(QPalette::Window), applied);
    }
}

void TestMenuB::font_data()
{
    QTest::addColumn<QList<std::optional<QFont>>>("answers");
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QByteArray>("settings");
    QTest::newRow("chosen") << QList<std::optional<QFont>>{QFont(QStringLiteral("DejaVu Serif"), 15, QFont::Bold)}
                            << "DejaVu Serif" << 15 << true << QByteArray("chemin=\ncouleur=\npolice=DejaVu Serif\n");
    QTest::newRow("cancelled: Times 12") << QList<std::optional<QFont>>{} << "Times" << 12 << false
                                         << QByteArray("chemin=\ncouleur=\npolice=Times\n");
}

void TestMenuB::font()
{
    QFETCH(QList<std::optional<QFont>>, answers);
    QFETCH(QString, family);
    QFETCH(int, points);
    QFETCH(bool, bold);
    QFETCH(QByteArray, settings);
    ScriptedDialogs dialogs;
    OxelDialog window(dialogs);
    WindowMenuHost host(window);
    MenuB bar(host);
    dialogs.fontAnswers = answers;
    bar.police();
    QCOMPARE(dialogs.fontStarts.size(), 1);
    QCOMPARE(dialogs.fontStarts[0].family(), QStringLiteral("Times"));
    QCOMPARE(dialogs.fontStarts[0].pointSize(), 12);
    QCOMPARE(dialogs.fontStarts[0].weight(), QFont::Normal);
    QVERIFY(!dialogs.fontStarts[0].italic());
    QCOMPARE(window.fontFamily(), family);
    QCOMPARE(testfiles::read(QStringLiteral("oxel.conf")), settings);
    for (QTextEdit* view : {window.TxtView_Corpus, window.Txt_Art, window.Txt_Art_Cro}) {
        QCOMPARE(view->font().family(), family);
        QCOMPARE(view->font().pointSize(), points);
        QCOMPARE(view->font().bold(), bold);
    }
    QCOMPARE(window.Txt_Rech->font().family(), QStringLiteral("Arial")); // the views only
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
    QCOMPARE(look.parent, &host.window);
    // Line breaks of the file stay white space between words.
    QCOMPARE(look.text, QStringLiteral("Le premier mot, puis le second\nDébut"));
    QVERIFY(!QApplication::activeModalWidget());
}

void TestMenuB::openAnotherCorpus()
{
    ScriptedDialogs dialogs;
    dialogs.welcome = 2;
    OxelDialog window(dialogs);
    WindowMenuHost host(window);
    MenuB bar(host);
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
    QCOMPARE(dialogs.openRequests[1].startPath, QStringLiteral("*.xml"));
    QCOMPARE(dialogs.openRequests[1].filter, QStringLiteral("Fichiers XML (*.xml)"));
    QCOMPARE(window.corpusPath(), QStringLiteral("autre.xml"));
    QCOMPARE(testfiles::read(QStringLiteral("oxel.conf")), QByteArray("chemin=autre.xml\ncouleur=\npolice=\n"));
    QCOMPARE(window.windowTitle(), QStringLiteral("..:: Tarvane - Qt ::..    autre.xml"));
    QCOMPARE(window.Lst_Corpus->model()->rowCount(), 6); // reloaded: every article again

    // The same file again is loaded again; a failed one names itself in the settings file.
    dialogs.openAnswers = {QStringLiteral("absent.xml")};
    bar.open();
    QCOMPARE(dialogs.warnings.size(), 1);
    QCOMPARE(dialogs.warnings[0].text, QStringLiteral("Selectionnez un fichier XML"));
    QCOMPARE(testfiles::read(QStringLiteral("oxel.conf")), QByteArray("chemin=absent.xml\ncouleur=\npolice=\n"));
}

void TestMenuB::browseKeepsPathOnly()
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
             QByteArray("chemin=/ailleurs/autre.xml\ncouleur=\npolice=\n"));
}

void TestMenuB::shortcuts()
{
    ScriptedDialogs dialogs;
    dialogs.welcome = 2;
    OxelDialog window(dialogs);
    WindowMenuHost host(window);
    QGridLayout* grid = window.arrangeWindow();
    MenuB bar(host, "menu");
    grid->addWidget(&bar, 0, 0);
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
    QTest::keyClick(window.focusWidget(), Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(dialogs.openRequests.size(), 1);

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

void TestMenuB::escapeKeepsTheWindow()
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

void TestMenuB::keyboardBrowsing()
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
        QTextEdit* view;
    };
    for (const Tab& tab : {Tab{0, window.Lst_Corpus, window.TxtView_Corpus}, Tab{1, window.Lst_Art, window.Txt_Art},
                           Tab{2, window.Lst_Art_Cro, window.Txt_Art_Cro}}) {
        window.Onglets->setCurrentIndex(tab.index);
        tab.list->setFocus();
        QCOMPARE(tab.list->currentIndex().row(), 0);
        QTest::keyClick(tab.list, Qt::Key_Down);
        QCOMPARE(tab.view->toPlainText(), articles[1].text);
        QTest::keyClick(tab.list, Qt::Key_End);
        QCOMPARE(tab.view->toPlainText(), articles[5].text);
        QTest::keyClick(tab.list, Qt::Key_Home);
        QCOMPARE(tab.view->toPlainText(), articles[0].text);
        QTest::keyClick(tab.list, Qt::Key_PageDown);
        QCOMPARE(tab.view->toPlainText(), articles[size_t(tab.list->currentIndex().row())].text);
        QVERIFY(tab.list->currentIndex().row() > 0);

        // A click moves the current row and shows the article once.
        QSignalSpy shown(tab.view, &QTextEdit::textChanged);
        const QRect row3 = tab.list->visualRect(tab.list->model()->index(3, 0));
        QTest::mouseClick(tab.list->viewport(), Qt::LeftButton, {}, row3.center());
        QCOMPARE(tab.list->currentIndex().row(), 3);
        QCOMPARE(tab.view->toPlainText(), articles[3].text);
        const qsizetype oneClick = shown.count();
        shown.clear();
        showResultArticle(tab.index == 0 ? window.resultCorpus() : window.resultSimple(), 2, tab.view);
        QCOMPARE(oneClick, shown.count());
    }
}

void TestMenuB::quitEndsTheApplication()
{
    FakeHost host;
    MenuB bar(host);
    QAction* quit = nullptr;
    for (QAction* action : bar.findChildren<QMenu*>().constFirst()->actions()) {
        if (action->text() == QLatin1String("&Quitter"))
            quit = action;
    }
    QVERIFY(quit);
    QTimer::singleShot(0, quit, &QAction::trigger);
    bool timedOut = false;
    QTimer::singleShot(5000, [&timedOut] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!timedOut);
}

QTEST_MAIN(TestMenuB)
#include "tst_menub.moc"

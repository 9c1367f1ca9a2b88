// Each tab on its own, over the form and a corpus read from a fixture: what its inputs list and show,
// under the rules the tab owns (the filter and Enter; the search, its scope and the accent option; a
// choice in the grid).
#include "corpus/corpusdocument.h"
#include "forms/corpustab.h"
#include "forms/crosssearchtab.h"
#include "forms/gui_base.h"
#include "forms/simplesearchtab.h"
#include "search/titlefilter.h"
#include "tests/scripteddialogs.h"
#include "tests/testcorpus.h"
#include "tests/windowreading.h"

#include <QSignalSpy>
#include <QTest>

using namespace windowreading;

namespace {

const QStringList lectureTitles{"AVOIR", "ÊTRE",      "CHAUSSON AUX POMMES", "DE",  "POMME",
                                "Être",  "POMMERAIE", "PÂTE BRISÉE",         "PÂTE"};
const QStringList petitTitles{"VENT", "ÉCHO", "SON", "", "SON", "CLOCHE"};
const QString I = QStringLiteral("- INDIFFERENT -");

} // namespace

class TestTabs : public QObject
{
    Q_OBJECT
private slots:
    void corpusTab_data();
    void corpusTab();
    void corpusTabLookUp_data();
    void corpusTabLookUp();
    void simpleSearchTab_data();
    void simpleSearchTab();
    void crossSearchTab_data();
    void crossSearchTab();
};

void TestTabs::corpusTab_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accents"); // ignored, once typed: the list follows
    QTest::addColumn<bool>("enter");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("shown");
    QTest::newRow("filter: case ignored, anywhere")
        << "pomme" << false << false << QStringList{"CHAUSSON AUX POMMES", "POMME", "POMMERAIE"} << 0
        << "CHAUSSON AUX POMMESPâtisserie.";
    QTest::newRow("filter: nothing holds it") << "zzz" << false << false << QStringList{} << -1 << "";
    QTest::newRow("filter: emptied, every title")
        << "" << false << false << lectureTitles << 0 << "AVOIRVerbe auxiliaire. Voy. ÊTRE.";
    QTest::newRow("filter: accents kept") << "pate" << false << false << QStringList{} << -1 << "";
    QTest::newRow("filter: accents ignored")
        << "pate" << true << false << QStringList{"PÂTE BRISÉE", "PÂTE"} << 0 << "PÂTE BRISÉEVoy. PATE.";
    QTest::newRow("Enter: the equal title")
        << "pomme" << false << true << QStringList{"CHAUSSON AUX POMMES", "POMME", "POMMERAIE"} << 1
        << "POMMEFruit du pommier.";
    QTest::newRow("Enter: the one title holding it")
        << "pommeraie" << false << true << QStringList{"POMMERAIE"} << 0 << "POMMERAIELieu planté de pommiers.";
    QTest::newRow("Enter: the first that starts with it")
        << "pom" << false << true << QStringList{"CHAUSSON AUX POMMES", "POMME", "POMMERAIE"} << 1
        << "POMMEFruit du pommier.";
    QTest::newRow("Enter: spaces as in the filter")
        << " chausson   aux " << false << true << QStringList{"CHAUSSON AUX POMMES"} << 0
        << "CHAUSSON AUX POMMESPâtisserie.";
    QTest::newRow("Enter: the first listed")
        << "aux" << false << true << QStringList{"CHAUSSON AUX POMMES"} << 0 << "CHAUSSON AUX POMMESPâtisserie.";
    QTest::newRow("Enter: two equal titles, case ignored")
        << "être" << false << true << QStringList{"ÊTRE", "Être"} << 0 << "ÊTREVerbe. Voy. AVOIR ; des pommes.";
    QTest::newRow("Enter: nothing listed") << "zzz" << false << true << QStringList{} << -1 << "";
    QTest::newRow("Enter: the equal title, accents ignored")
        << "pate" << true << true << QStringList{"PÂTE BRISÉE", "PÂTE"} << 1 << "PÂTEFarine pétrie.";
}

void TestTabs::corpusTab()
{
    QFETCH(QString, typed);
    QFETCH(bool, accents);
    QFETCH(bool, enter);
    QFETCH(QStringList, titles);
    QFETCH(int, row);
    QFETCH(QString, shown);
    GUI_Base form;
    const CorpusDocument corpus = testcorpus::ofFile(QFINDTESTDATA("data/lecture.xml"));
    CorpusTab tab(form, corpus);
    QCOMPARE(listed(form.Lst_Corpus), QStringList());
    tab.showCorpus();
    QCOMPARE(listed(form.Lst_Corpus), lectureTitles);
    QCOMPARE(tab.entry(), form.Txt_Corpus);
    // The form's own slot is the window's to forward: here the tab is told directly, as it would be.
    {
        const QSignalBlocker quiet(form.Txt_Corpus);
        form.Txt_Corpus->setText(QStringLiteral("x") + typed);
        tab.filter();
        form.Txt_Corpus->setText(typed);
    }
    tab.filter();
    tab.setIgnoreAccents(accents);
    if (enter)
        QTest::keyClick(form.Txt_Corpus, Qt::Key_Return);
    QCOMPARE(listed(form.Lst_Corpus), titles);
    QCOMPARE(form.Lst_Corpus->currentIndex().row(), row);
    QCOMPARE(form.TxtView_Corpus->toPlainText(), shown);
    QCOMPARE(form.Txt_Corpus->text(), typed);
}

void TestTabs::corpusTabLookUp_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("accents");
    QTest::addColumn<QStringList>("titles"); // empty: the look-up failed, the tab as it was
    QTest::addColumn<QString>("filter");
    QTest::newRow("the equal titles") << "être" << false << QStringList{"ÊTRE", "Être"} << "être";
    QTest::newRow("no equal title: those holding it")
        << "pommes" << false << QStringList{"CHAUSSON AUX POMMES"} << "pommes";
    QTest::newRow("none holds it") << "reinette" << false << QStringList{} << "pâte";
    QTest::newRow("accents ignored: the equal title") << "PATE" << true << QStringList{"PÂTE"} << "PATE";
    QTest::newRow("accents kept: none") << "PATE" << false << QStringList{} << "pâte";
}

void TestTabs::corpusTabLookUp()
{
    QFETCH(QString, word);
    QFETCH(bool, accents);
    QFETCH(QStringList, titles);
    QFETCH(QString, filter);
    GUI_Base form;
    const CorpusDocument corpus = testcorpus::ofFile(QFINDTESTDATA("data/lecture.xml"));
    CorpusTab tab(form, corpus);
    tab.showCorpus();
    tab.setIgnoreAccents(accents);
    {
        const QSignalBlocker quiet(form.Txt_Corpus);
        form.Txt_Corpus->setText(QStringLiteral("pâte"));
    }
    tab.filter();
    const QStringList before = listed(form.Lst_Corpus);
    QSignalSpy shown(&tab, &CorpusTab::wantsShown);
    QSignalSpy failed(&tab, &CorpusTab::lookUpFailed);
    tab.lookUpWord(word);
    QCOMPARE(listed(form.Lst_Corpus), titles.isEmpty() ? before : titles);
    QCOMPARE(form.Txt_Corpus->text(), filter);
    QCOMPARE(shown.size(), titles.isEmpty() ? 0 : 1);
    QCOMPARE(failed.size(), titles.isEmpty() ? 1 : 0);
    // Back goes to the list before the look-up, with the text that made it.
    if (!titles.isEmpty()) {
        tab.pane().back();
        QCOMPARE(listed(form.Lst_Corpus), before);
        QCOMPARE(form.Txt_Corpus->text(), QStringLiteral("pâte"));
    }
}

void TestTabs::simpleSearchTab_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QString>("scope"); // an element, or the whole article when empty
    QTest::addColumn<bool>("accents");  // ignored, once searched: the search runs again
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QStringList>("marked"); // in the first hit

    QTest::newRow("all terms, case ignored")
        << "vent" << 0 << false << "" << false << QStringList{"VENT", "ÉCHO"} << "2" << QStringList{"VENT", "vent"};
    QTest::newRow("case respected") << "son" << 0 << true << "" << false << QStringList{"SON", "CLOCHE"} << "2"
                                    << QStringList{"son"};
    QTest::newRow("case ignored") << "son" << 0 << false << "" << false << QStringList{"ÉCHO", "SON", "SON", "CLOCHE"}
                                  << "4" << QStringList{"Son", "SON"};
    QTest::newRow("any term") << "cloche bronze" << 1 << false << "" << false << QStringList{"CLOCHE"} << "1"
                              << QStringList{"CLOCHE", "bronze", "cloche", "cloche"};
    QTest::newRow("exact phrase") << "le vent" << 2 << false << "" << false << QStringList{"VENT", "ÉCHO"} << "2"
                                  << QStringList{"le vent"};
    QTest::newRow("no hit") << "tonnerre" << 0 << false << "" << false << QStringList() << "0" << QStringList();
    QTest::newRow("empty query lists all") << "" << 0 << false << "" << false << petitTitles << "6" << QStringList();
    QTest::newRow("spaces only, exact, lists all")
        << "   " << 2 << false << "" << false << petitTitles << "6" << QStringList();
    QTest::newRow("within an element") << "son" << 0 << false << "vedette" << false << QStringList{"SON", "SON"}
                                       << "2 (dans « vedette »)" << QStringList{"SON"};
    QTest::newRow("within an element, none")
        << "bronze" << 0 << false << "domaine" << false << QStringList() << "0 (dans « domaine »)" << QStringList();
    QTest::newRow("accents kept") << "echo" << 0 << false << "" << false << QStringList() << "0" << QStringList();
    QTest::newRow("accents ignored: searched again")
        << "echo" << 0 << false << "" << true << QStringList{"ÉCHO"} << "1" << QStringList{"ÉCHO", "écho"};
    QTest::newRow("accents ignored, within an element")
        << "echo" << 0 << false << "definition" << true << QStringList{"ÉCHO"} << "1 (dans « definition »)"
        << QStringList{"écho"};
    QTest::newRow("apostrophes match each other")
        << "l’on" << 2 << false << "" << false << QStringList{"VENT"} << "1" << QStringList{"l'on"};
}

void TestTabs::simpleSearchTab()
{
    QFETCH(QString, query);
    QFETCH(int, mode);
    QFETCH(bool, caseSensitive);
    QFETCH(QString, scope);
    QFETCH(bool, accents);
    QFETCH(QStringList, titles);
    QFETCH(QString, count);
    QFETCH(QStringList, marked);
    GUI_Base form;
    const CorpusDocument corpus = testcorpus::ofFile(QFINDTESTDATA("data/petit.xml"));
    ScriptedDialogs dialogs;
    SimpleSearchTab tab(form, corpus, dialogs);
    QCOMPARE(tab.entry(), form.Txt_Rech);
    tab.showCorpus(allArticles(corpus), corpus.elementChoices());
    QCOMPARE(listed(form.Lst_Art), petitTitles);
    form.Txt_Rech->setText(query);
    form.Lst_Type->setCurrentIndex(mode);
    form.Chk_Cs->setChecked(caseSensitive);
    if (!scope.isEmpty()) {
        form.Lst_Dans->setCurrentIndex(form.Lst_Dans->findData(scope));
        QVERIFY(form.Lst_Dans->currentIndex() > 0);
    }
    tab.search();
    tab.setIgnoreAccents(accents);
    QCOMPARE(listed(form.Lst_Art), titles);
    QCOMPARE(form.Txt_Nb->text(), count);
    QVERIFY(dialogs.warnings.isEmpty());
    if (titles.isEmpty()) {
        QVERIFY(form.Txt_Art->toPlainText().isEmpty());
        return;
    }
    QCOMPARE(form.Lst_Art->currentIndex().row(), 0);
    QCOMPARE(form.Txt_Art->toPlainText(), tab.pane().record().hits().first()->text);
    QCOMPARE(markedPieces(form.Txt_Art), marked);

    // The same search again shows the first hit again; Back to it keeps its count, scope included.
    form.Lst_Art->setCurrentIndex(form.Lst_Art->model()->index(int(titles.size()) - 1, 0));
    tab.search();
    QCOMPARE(form.Lst_Art->currentIndex().row(), 0);
    form.Txt_Rech->setText(QStringLiteral("tonnerre"));
    tab.search();
    QCOMPARE(form.Txt_Nb->text(), scope.isEmpty() ? "0" : QStringLiteral("0 (dans « %1 »)").arg(scope));
    tab.pane().back();
    QCOMPARE(listed(form.Lst_Art), titles);
    QCOMPARE(form.Txt_Nb->text(), count);
}

void TestTabs::crossSearchTab_data()
{
    QTest::addColumn<QStringList>("choices"); // "row column value", in the order chosen
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QStringList>("offered"); // by the box the last choice refilled
    QTest::addColumn<QStringList>("marked");  // in the first hit
    QTest::newRow("an element") << QStringList{"0 0 instrument"} << QStringList{"HARPE", "TAMBOUR", "FLÛTE"}
                                << QStringList{I, "bois", "corde", "percussion", "pipeau", "vent"} << QStringList{};
    QTest::newRow("an element, a value") << QStringList{"0 0 instrument", "0 1 corde"} << QStringList{"HARPE"}
                                         << QStringList{I, "harpe", "lyre"} << QStringList{};
    QTest::newRow("an element, a value, a text") << QStringList{"0 0 instrument", "0 1 corde", "0 2 lyre"}
                                                 << QStringList{"HARPE"} << QStringList{} << QStringList{"lyre"};
    QTest::newRow("a second row narrows the first")
        << QStringList{"0 0 instrument", "1 0 domaine", "1 1 lutherie"} << QStringList{"FLÛTE"}
        << QStringList{I, "lutherie"} << QStringList{"lutherie"};
    QTest::newRow("a new first choice resets its row")
        << QStringList{"0 0 instrument", "0 1 corde", "0 0 domaine"} << QStringList{"HARPE", "TAMBOUR", "FLÛTE"}
        << QStringList{I, "lutherie", "musique"} << QStringList{};
    QTest::newRow("nothing chosen: every article")
        << QStringList{"0 0 instrument", "0 0 " + I} << QStringList{"HARPE", "TAMBOUR", "FLÛTE", "SILENCE", "", "", ""}
        << QStringList{} << QStringList{};
}

void TestTabs::crossSearchTab()
{
    QFETCH(QStringList, choices);
    QFETCH(QStringList, titles);
    QFETCH(QStringList, offered);
    QFETCH(QStringList, marked);
    GUI_Base form;
    const CorpusDocument corpus = testcorpus::ofFile(QFINDTESTDATA("data/croisee.xml"));
    ScriptedDialogs dialogs;
    CrossSearchTab tab(form, corpus, dialogs);
    QCOMPARE(tab.entry(), form.Lst_B11);
    tab.showCorpus(allArticles(corpus), corpus.elementChoices());
    const QList<QComboBox*> boxes{form.Lst_B11, form.Lst_B12, form.Lst_B13, form.Lst_B21, form.Lst_B22,
                                  form.Lst_B23, form.Lst_B31, form.Lst_B32, form.Lst_B33};
    QComboBox* refilled = nullptr;
    for (const QString& choice : choices) {
        const int row = choice.section(QLatin1Char(' '), 0, 0).toInt();
        const int column = choice.section(QLatin1Char(' '), 1, 1).toInt();
        QComboBox* box = boxes.at(row * 3 + column);
        const int index = box->findText(choice.section(QLatin1Char(' '), 2));
        QVERIFY2(index >= 0, qPrintable(choice));
        box->setCurrentIndex(index);
        tab.choose(row, column, index);
        refilled = column < 2 ? boxes.at(row * 3 + column + 1) : nullptr;
    }
    QCOMPARE(listed(form.Lst_Art_Cro), titles);
    QCOMPARE(form.txt_nbcro->text(), QString::number(titles.size()));
    QCOMPARE(dialogs.progressLabels, QStringList(choices.size(), QStringLiteral("Recherche en cours…")));
    if (refilled)
        QCOMPARE(items(refilled), offered);
    QCOMPARE(markedPieces(form.Txt_Art_Cro), marked);
    // An idle bar takes no room.
    QVERIFY(form.LoadCroisee->isHidden());
}

QTEST_MAIN(TestTabs)
#include "tst_tabs.moc"

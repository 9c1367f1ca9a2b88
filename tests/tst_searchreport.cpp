#include "search/searchreport.h"
#include "tests/testcorpus.h"

#include <QTest>

using searchreport::Kind;

Q_DECLARE_METATYPE(Kind)

class TestSearchReport : public QObject
{
    Q_OBJECT
private slots:
    void layouts_data();
    void layouts();
    void fullCrossGrid();
    void hitsInOrderWithRepeatedTitles();
};

void TestSearchReport::layouts_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<SearchMode>("mode");
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<bool>("accents"); // ignored
    QTest::addColumn<QString>("scope");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QString>("expected");

    const QString head = "     ..:: Tarvane ::..\n---------------------------\n";
    QTest::newRow("simple, all terms: two words, two hits")
        << Kind::Simple << SearchMode::AllTerms << "vent orage" << false << false << QString() << QString()
        << QStringList{"A", "B"}
        << head + "Type de Recherche : Simple \n\nCritères de recherche : vent orage\nOptions : Tous les mots \n"
                  "Casse : ignorée\nNombre d'articles : 2\n---------------------------\nA\nB\n";
    QTest::newRow("simple, at least one term")
        << Kind::Simple << SearchMode::AnyTerm << "  cloche   " << false << false << QString() << QString()
        << QStringList{"CLOCHE"}
        << head + "Type de Recherche : Simple \n\nCritères de recherche : cloche\n"
                  "Options : Au moins un des termes \nCasse : ignorée\nNombre d'articles : 1\n"
                  "---------------------------\nCLOCHE\n";
    QTest::newRow("simple, exact phrase")
        << Kind::Simple << SearchMode::ExactPhrase << "son grave" << false << false << QString() << QString()
        << QStringList{"SON"}
        << head + "Type de Recherche : Simple \n\nCritères de recherche : son grave\n"
                  "Options : Expression exacte \nCasse : ignorée\nNombre d'articles : 1\n---------------------------\n"
                  "SON\n";
    QTest::newRow("simple, case respected")
        << Kind::Simple << SearchMode::AllTerms << "Vent" << true << false << QString() << QString()
        << QStringList{"VENT"}
        << head + "Type de Recherche : Simple \n\nCritères de recherche : Vent\nOptions : Tous les mots \n"
                  "Casse : respectée\nNombre d'articles : 1\n---------------------------\nVENT\n";
    QTest::newRow("simple, accents ignored")
        << Kind::Simple << SearchMode::ExactPhrase << "flute a bec" << false << true << QString() << QString()
        << QStringList{"FLÛTE"}
        << head + "Type de Recherche : Simple \n\nCritères de recherche : flute a bec\n"
                  "Options : Expression exacte \nCasse : ignorée\nAccents : ignorés\nNombre d'articles : 1\n"
                  "---------------------------\nFLÛTE\n";
    QTest::newRow("simple, within an element, case respected, accents ignored")
        << Kind::Simple << SearchMode::AnyTerm << "ete" << true << true << "exemple" << QString() << QStringList{"ÉTÉ"}
        << head + "Type de Recherche : Simple \n\nCritères de recherche : ete\n"
                  "Options : Au moins un des termes \nDans : exemple\nCasse : respectée\nAccents : ignorés\n"
                  "Nombre d'articles : 1\n---------------------------\nÉTÉ\n";
    QTest::newRow("simple, before any search: options run into the count")
        << Kind::Simple << SearchMode::AllArticles << QString() << false << true << QString() << QString()
        << QStringList{"VENT", "ÉCHO"}
        << head + "Type de Recherche : Simple \n\nCritères de recherche : \n"
                  "Options : Nombre d'articles : 2\n---------------------------\nVENT\nÉCHO\n";
    QTest::newRow("simple, no hits") << Kind::Simple << SearchMode::AllTerms << "zéphyr" << false << false << QString()
                                     << QString() << QStringList()
                                     << head + "Type de Recherche : Simple \n\nCritères de recherche : zéphyr\n"
                                               "Options : Tous les mots \nCasse : ignorée\nNombre d'articles : 0\n"
                                               "---------------------------\n";
    QTest::newRow("corpus: singular criterion, no options")
        << Kind::Corpus << SearchMode::Titles << "so n" << false << false << QString() << QString()
        << QStringList{"SON"}
        << head + "Type de Recherche : Corpus \n\nCritère de recherche : so n\nNombre d'articles : 1\n"
                  "---------------------------\nSON\n";
    QTest::newRow("corpus, accents ignored")
        << Kind::Corpus << SearchMode::Titles << "echo" << false << true << QString() << QString()
        << QStringList{"ÉCHO"}
        << head + "Type de Recherche : Corpus \n\nCritère de recherche : echo\nAccents : ignorés\n"
                  "Nombre d'articles : 1\n---------------------------\nÉCHO\n";
    QTest::newRow("corpus: every article, titles kept as they are")
        << Kind::Corpus << SearchMode::AllArticles << QString() << false << true << QString() << QString()
        << QStringList{"Œuvre d’art", "Ἀήρ", "", "<b>&amp;</b>"}
        << head + "Type de Recherche : Corpus \n\nCritère de recherche : \nNombre d'articles : 4\n"
                  "---------------------------\nŒuvre d’art\nἈήρ\n\n<b>&amp;</b>\n";
    QTest::newRow("cross: one criterion")
        << Kind::Cross << SearchMode::Cross << QString() << true << false << QString() << " a " << QStringList{"X"}
        << head + "Type de Recherche : Croisée \n\nCritères de recherche : \n\t1º :  a \n\n"
                  "Nombre d'articles : 1\n---------------------------\nX\n";
    QTest::newRow("cross: no criterion") << Kind::Cross << SearchMode::AllArticles << QString() << false << false
                                         << QString() << QString() << QStringList()
                                         << head +
                                                "Type de Recherche : Croisée \n\nCritères de recherche : \n\t1º : \n\n"
                                                "Nombre d'articles : 0\n---------------------------\n";
}

void TestSearchReport::layouts()
{
    QFETCH(Kind, kind);
    QFETCH(SearchMode, mode);
    QFETCH(QString, query);
    QFETCH(bool, caseSensitive);
    QFETCH(bool, accents);
    QFETCH(QString, scope);
    QFETCH(QString, description);
    QFETCH(QStringList, titles);
    QFETCH(QString, expected);
    SearchResult result = testcorpus::record(mode, query, caseSensitive, {}, titles);
    result.setIgnoreAccents(accents);
    result.setScope({scope});
    result.appendCriteriaDescription(description);
    QCOMPARE(searchreport::text(kind, result), expected);
}

void TestSearchReport::fullCrossGrid()
{
    SearchResult result = testcorpus::record(SearchMode::Cross, {}, false, {}, {"GONG", "TAMBOUR"});
    result.appendCriteriaDescription(
        QStringLiteral(" a --> b --> c \n\t2º :  d --> e --> f \n\t3º :  g --> h --> k \n\t"));
    // Three criteria lines, each opened by a tab, then a line holding only a tab, then an empty line.
    QCOMPARE(searchreport::text(Kind::Cross, result), QStringLiteral("     ..:: Tarvane ::..\n"
                                                                     "---------------------------\n"
                                                                     "Type de Recherche : Croisée \n"
                                                                     "\n"
                                                                     "Critères de recherche : \n"
                                                                     "\t1º :  a --> b --> c \n"
                                                                     "\t2º :  d --> e --> f \n"
                                                                     "\t3º :  g --> h --> k \n"
                                                                     "\t\n"
                                                                     "\n"
                                                                     "Nombre d'articles : 2\n"
                                                                     "---------------------------\n"
                                                                     "GONG\n"
                                                                     "TAMBOUR\n"));
}

void TestSearchReport::hitsInOrderWithRepeatedTitles()
{
    // Two articles of one title give two lines; one article added twice in a row stands once.
    const SearchResult articles = testcorpus::record(SearchMode::AllArticles, {}, false, {}, {"SON", "VENT", "SON"});
    SearchResult result;
    result.addHit(*articles.hits()[2]);
    result.addHit(*articles.hits()[2]);
    result.addHit(*articles.hits()[1]);
    result.addHit(*articles.hits()[0]);
    QCOMPARE(searchreport::text(Kind::Corpus, result),
             QStringLiteral("     ..:: Tarvane ::..\n---------------------------\nType de Recherche : Corpus \n\n"
                            "Critère de recherche : \nNombre d'articles : 3\n---------------------------\n"
                            "SON\nVENT\nSON\n"));
}

QTEST_APPLESS_MAIN(TestSearchReport)
#include "tst_searchreport.moc"

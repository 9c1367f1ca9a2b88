#include "search/fulltextsearch.h"
#include "search/highlighter.h"
#include "search/patternfinder.h"
#include "search/termmatcher.h"
#include "search/wordboundary.h"
#include "tests/testcorpus.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

// One article element per text.
CorpusDocument corpusOf(const QStringList& texts)
{
    QByteArray xml = "<r>";
    for (const QString& text : texts)
        xml += "<a>" + text.toHtmlEscaped().toUtf8() + "</a>";
    xml += "</r>";
    return testcorpus::of(xml);
}

QList<int> numbers(const SearchResult& result)
{
    QList<int> list;
    for (const ArticleEntry* entry : result.hits())
        list << entry->number;
    return list;
}

// The 1,000 terms of a long query: "mot0" to "mot999".
QStringList thousandTerms()
{
    QStringList terms;
    for (int i = 0; i < 1000; ++i)
        terms << QStringLiteral("mot%1").arg(i);
    return terms;
}

} // namespace

class TestFullTextSearch : public QObject
{
    Q_OBJECT
private slots:
    void search_data();
    void search();
    void blockEdges_data();
    void blockEdges();
    void recordKeepsQuery();
    void accentsIgnored_data();
    void accentsIgnored();
    void queryModes();
    void finderAgreesWithQt_data();
    void finderAgreesWithQt();
    void termMatcher_data();
    void termMatcher();
    void onePassAgreesWithPerTerm_data();
    void onePassAgreesWithPerTerm();
    void phraseAcrossEdgesAgrees();
    void automatonTooLargeForTable();
    void longQuery_data();
    void longQuery();
    void progressStops();
};

void TestFullTextSearch::search_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("query");
    QTest::addColumn<SearchMode>("mode");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QList<int>>("hits");

    const SearchMode all = SearchMode::AllTerms;
    const SearchMode any = SearchMode::AnyTerm;
    const SearchMode exact = SearchMode::ExactPhrase;
    const QStringList two{"le son", "le vent"};

    QTest::newRow("empty query, all terms") << two << "" << all << false << QList<int>{0, 1};
    QTest::newRow("empty query, exact") << two << "" << exact << false << QList<int>{0, 1};
    QTest::newRow("empty query, any term") << two << "" << any << false << QList<int>{};
    QTest::newRow("spaces only, exact") << two << "   " << exact << false << QList<int>{0, 1};
    QTest::newRow("spaces only, all terms") << two << "   " << all << true << QList<int>{0, 1};
    QTest::newRow("spaces only, any term") << two << "   " << any << true << QList<int>{};
    QTest::newRow("every-article mode finds nothing")
        << two << "son" << SearchMode::AllArticles << false << QList<int>{};
    QTest::newRow("title mode finds nothing") << two << "son" << SearchMode::Titles << false << QList<int>{};

    // Apostrophes match each other with accents kept; the accents still count.
    const QStringList quotes{"de l'eau claire", "de l’eau claire", "de l‘eau claire", "de L'EAU claire", "l eau"};
    QTest::newRow("l’eau finds l'eau, all terms") << quotes << "l’eau" << all << false << QList<int>{0, 1, 2, 3};
    QTest::newRow("l’eau finds l'eau, any term, case respected")
        << quotes << "l’eau" << any << true << QList<int>{0, 1, 2};
    QTest::newRow("l’eau finds l'eau, exact") << quotes << "l’eau claire" << exact << false << QList<int>{0, 1, 2, 3};
    QTest::newRow("l'eau finds l’eau, all terms, case respected")
        << quotes << "l'eau" << all << true << QList<int>{0, 1, 2};
    QTest::newRow("l'eau finds l’eau, any term") << quotes << "l'eau" << any << false << QList<int>{0, 1, 2, 3};
    QTest::newRow("l'eau finds l’eau, exact, case respected")
        << quotes << "de l'eau" << exact << true << QList<int>{0, 1, 2};
    QTest::newRow("l‘EAU finds every apostrophe") << quotes << "l‘EAU" << any << false << QList<int>{0, 1, 2, 3};
    QTest::newRow("apostrophe among many terms")
        << quotes << "l’eau de claire" << all << false << QList<int>{0, 1, 2, 3};
    QTest::newRow("apostrophe folded, accents kept: l'été")
        << QStringList{"l’été", "l'ete"} << "l'été" << any << false << QList<int>{0};
    QTest::newRow("apostrophe folded, accents kept: l’ete")
        << QStringList{"l’été", "l'ete"} << "l’ete" << all << false << QList<int>{1};
    QTest::newRow("apostrophe folded, accents kept: exact")
        << QStringList{"l’été chaud", "l'ete chaud"} << "l’ete chaud" << exact << true << QList<int>{1};

    QTest::newRow("any: second term only") << two << "cloche vent" << any << false << QList<int>{1};
    QTest::newRow("any: listed once") << QStringList{"son et vent"} << "son vent" << any << false << QList<int>{0};
    QTest::newRow("all: every term needed")
        << QStringList{"le son et le vent", "le son"} << "vent son" << all << false << QList<int>{0};
    QTest::newRow("all: term only inside words")
        << QStringList{"le sonnet et le vent", "unisson, vent"} << "son vent" << all << false << QList<int>{};

    QTest::newRow("hyphen joins") << QStringList{"son-et-lumière", "porte-son"} << "son" << any << false
                                  << QList<int>{};
    QTest::newRow("brackets, slash, dash and ellipsis separate")
        << QStringList{"[Le vent]", "vent/orage", "le vent—", "le vent…", "vent-orage", "le vent\u2010x"} << "vent"
        << any << false << QList<int>{0, 1, 2, 3};
    QTest::newRow("line break and tab separate")
        << QStringList{"le son\ngrave", "le\tson."} << "son" << any << false << QList<int>{0, 1};
    QTest::newRow("guillemets and parentheses") << QStringList{"«son»", "(son)", "« son »", "«\u00A0son\u00A0»"}
                                                << "son" << any << false << QList<int>{0, 1, 2, 3};
    QTest::newRow("first and last word") << QStringList{"son grave", "le son", "son"} << "son" << any << false
                                         << QList<int>{0, 1, 2};
    QTest::newRow("whole after a part") << QStringList{"sonate, son"} << "son" << all << true << QList<int>{0};
    QTest::newRow("overlapping phrase") << QStringList{"ba a a", "ba a b"} << "a a" << exact << false << QList<int>{0};
    QTest::newRow("overlapping term") << QStringList{"aaa aa", "aaaa"} << "aa" << any << true << QList<int>{0};

    QTest::newRow("case ignored") << QStringList{"Le SON.", "le Son"} << "son" << any << false << QList<int>{0, 1};
    QTest::newRow("case respected") << QStringList{"Le SON.", "le son"} << "son" << any << true << QList<int>{1};
    QTest::newRow("accents never ignored")
        << QStringList{"le sôn", "le SÔN", "le son"} << "sôn" << any << false << QList<int>{0, 1};
    QTest::newRow("accent missing from query") << QStringList{"l'écho"} << "echo" << any << false << QList<int>{};
    QTest::newRow("capital accented letter") << QStringList{"L'ÉCHO"} << "écho" << any << false << QList<int>{0};
    QTest::newRow("ligature") << QStringList{"ŒUVRE complète"} << "œuvre" << any << false << QList<int>{0};
    QTest::newRow("Greek final sigma") << QStringList{"le ΛΌΓΟΣ grec"} << "λόγος" << any << false << QList<int>{0};
    QTest::newRow("beyond the basic plane")
        << QStringList{"le 𝔄 gothique", "le 𝔅"} << "𝔄" << any << false << QList<int>{0};

    QTest::newRow("trailing comma is part of the term")
        << QStringList{"le son, puis", "le son puis", "le son,puis"} << "son," << any << false << QList<int>{0};
    QTest::newRow("apostrophe separates") << QStringList{"l'eau", "l’eau"} << "eau" << any << false << QList<int>{0, 1};
    QTest::newRow("term with apostrophe")
        << QStringList{"de l'eau", "de leau"} << "l'eau" << any << false << QList<int>{0};

    QTest::newRow("exact: query spaces collapse")
        << QStringList{"un son grave"} << " son   grave " << exact << false << QList<int>{0};
    QTest::newRow("exact: one space in the text")
        << QStringList{"son  grave", "son\ngrave", "son grave"} << "son grave" << exact << false << QList<int>{2};
    QTest::newRow("exact: words apart") << QStringList{"grave son", "son et grave"} << "son grave" << exact << false
                                        << QList<int>{};
    QTest::newRow("exact: case ignored") << QStringList{"Son Grave."} << "son grave" << exact << false << QList<int>{0};
    QTest::newRow("exact: case respected") << QStringList{"Son Grave."} << "son grave" << exact << true << QList<int>{};

    QTest::newRow("long text, long word")
        << QStringList{QString(30, u'x') + " résonance " + QString(5, u'y'), QString(40, u'x') + "résonance"}
        << "RÉSONANCE" << any << false << QList<int>{0};
    QTest::newRow("markup characters are text")
        << QStringList{"a <b> & c", "a b"} << "<b>" << any << true << QList<int>{0};
}

void TestFullTextSearch::search()
{
    QFETCH(QStringList, texts);
    QFETCH(QString, query);
    QFETCH(SearchMode, mode);
    QFETCH(bool, caseSensitive);
    QFETCH(QList<int>, hits);
    const CorpusDocument corpus = corpusOf(texts);
    QCOMPARE(corpus.articleCount(), texts.size());
    const SearchResult result = fullTextSearch(corpus, query, mode, caseSensitive);
    QCOMPARE(numbers(result), hits);
    QCOMPARE(result.count(), hits.size());
}

void TestFullTextSearch::blockEdges_data()
{
    QTest::addColumn<QByteArray>("articles"); // as written in the file
    QTest::addColumn<QString>("query");
    QTest::addColumn<SearchMode>("mode");
    QTest::addColumn<bool>("accents"); // ignored
    QTest::addColumn<QString>("scope");
    QTest::addColumn<QList<int>>("hits");
    QTest::addColumn<QStringList>("marked"); // in every hit, in order

    const SearchMode all = SearchMode::AllTerms;
    const SearchMode any = SearchMode::AnyTerm;
    const SearchMode exact = SearchMode::ExactPhrase;
    const QByteArray arch = "<a><titre>arch</titre><resume>Afficher le nom</resume></a>";
    const QByteArray art0 = "<a><vedette>ART0</vedette><texte>vent souffle, le vent tombe</texte></a>";
    const QByteArray ete = "<a><t>ÉTÉ</t><d>chaud et sec</d></a>";
    // Long enough to be read in parts side by side, the edge far from the start.
    const QByteArray longer = "<a><p>" + QByteArray("mot ").repeated(100) + "arch</p><p>Afficher " +
                              QByteArray("mot ").repeated(100) + "</p></a>";

    QTest::newRow("title before the summary")
        << arch << "arch" << any << false << "" << QList<int>{0} << QStringList{"arch"};
    QTest::newRow("summary after the title")
        << arch << "afficher" << all << false << "" << QList<int>{0} << QStringList{"Afficher"};
    QTest::newRow("the joined form is no word")
        << arch << "archAfficher" << any << false << "" << QList<int>{} << QStringList{};
    QTest::newRow("headword before the text")
        << art0 << "vent" << any << false << "" << QList<int>{0} << QStringList{"vent", "vent"};
    QTest::newRow("exact: phrase across the edge")
        << arch << "arch afficher" << exact << false << "" << QList<int>{0} << QStringList{"archAfficher"};
    QTest::newRow("exact: the joined form is no phrase")
        << arch << "archAfficher" << exact << false << "" << QList<int>{} << QStringList{};
    QTest::newRow("three terms, one pass")
        << arch << "arch afficher nom" << all << false << "" << QList<int>{0} << QStringList{"arch", "Afficher", "nom"};
    QTest::newRow("three terms, read in parts")
        << longer << "arch afficher absent" << any << false << "" << QList<int>{0} << QStringList{"arch", "Afficher"};
    QTest::newRow("accents: word before the edge")
        << ete << "ete" << any << true << "" << QList<int>{0} << QStringList{"ÉTÉ"};
    QTest::newRow("accents: exact across the edge")
        << ete << "ete chaud" << exact << true << "" << QList<int>{0} << QStringList{"ÉTÉchaud"};
    QTest::newRow("accents: exact across the edge, read in parts")
        << longer << "arch afficher mot" << exact << true << "" << QList<int>{0} << QStringList{"archAfficher mot"};
    QTest::newRow("accents: the joined form is no word")
        << ete << "etechaud" << any << true << "" << QList<int>{} << QStringList{};
    QTest::newRow("scope: word after the edge")
        << QByteArray("<a><t>arch</t><r><p>Afficher</p><p>le nom</p></r></a>") << "afficher" << all << false << "r"
        << QList<int>{0} << QStringList{"Afficher"};
    QTest::newRow("scope: phrase across an edge inside it")
        << QByteArray("<a><t>arch</t><r><p>Afficher</p><p>le nom</p></r></a>") << "afficher le" << exact << false << "r"
        << QList<int>{0} << QStringList{"Afficherle"};
    QTest::newRow("scope: phrase across its own edge")
        << QByteArray("<a><t>arch</t><r><p>Afficher</p><p>le nom</p></r></a>") << "arch afficher" << exact << false
        << "r" << QList<int>{} << QStringList{};
    QTest::newRow("scope, accents: phrase across an edge inside it")
        << QByteArray("<a><t>été</t><r><p>Été</p><p>chaud</p></r></a>") << "ete chaud" << exact << true << "r"
        << QList<int>{0} << QStringList{"Étéchaud"};
    QTest::newRow("nested blocks") << QByteArray("<a><s><p>un</p><p>deux</p></s><s><p>trois</p></s></a>") << "deux"
                                   << any << false << "" << QList<int>{0} << QStringList{"deux"};
    QTest::newRow("empty element between two words") << QByteArray("<a><b>arch</b><br/><c>vent</c></a>") << "vent"
                                                     << any << false << "" << QList<int>{0} << QStringList{"vent"};
    QTest::newRow("comment between two blocks") << QByteArray("<a><b>arch</b><!-- c --><c>vent</c></a>") << "arch"
                                                << any << false << "" << QList<int>{0} << QStringList{"arch"};
    QTest::newRow("inline markup joins")
        << QByteArray("<a><p>XVI<sup>e</sup> siècle</p><p>le <i>vent</i>s</p></a><a><p>le vent</p></a>") << "xvie vent"
        << any << false << "" << QList<int>{0, 1} << QStringList{"XVIe", "vent"};
    QTest::newRow("mixed content at several depths")
        << QByteArray("<a><p>x<b><c>un</c><d>deux</d></b>y</p><q>fin</q></a>") << "x un deux y fin" << all << false
        << "" << QList<int>{0} << QStringList{"x", "un", "deux", "y", "fin"};
}

void TestFullTextSearch::blockEdges()
{
    QFETCH(QByteArray, articles);
    QFETCH(QString, query);
    QFETCH(SearchMode, mode);
    QFETCH(bool, accents);
    QFETCH(QString, scope);
    QFETCH(QList<int>, hits);
    QFETCH(QStringList, marked);
    const CorpusDocument corpus = testcorpus::of("<r>" + articles + "</r>");
    const SearchResult result = fullTextSearch(corpus, query, mode, false, accents, SearchScope{scope});
    QCOMPARE(numbers(result), hits);
    QStringList pieces;
    for (int hit = 0; hit < result.count(); ++hit) {
        const QString& text = result.hits().at(hit)->text;
        for (const highlighter::Range& range : highlighter::hitRanges(result, hit))
            pieces << text.mid(range.start, range.length);
    }
    QCOMPARE(pieces, marked);
}

void TestFullTextSearch::accentsIgnored_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("query");
    QTest::addColumn<SearchMode>("mode");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QStringList>("marked"); // empty: not found
    QTest::addColumn<bool>("foundWithAccents");

    const SearchMode all = SearchMode::AllTerms;
    const SearchMode any = SearchMode::AnyTerm;
    const SearchMode exact = SearchMode::ExactPhrase;
    const QStringList none;

    QTest::newRow("ete finds été") << "un été chaud"
                                   << "ete" << any << false << QStringList{"été"} << false;
    QTest::newRow("été finds ete") << "un ete chaud"
                                   << "été" << any << false << QStringList{"ete"} << false;
    QTest::newRow("oeil finds œil") << "un œil ouvert"
                                    << "oeil" << any << false << QStringList{"œil"} << false;
    QTest::newRow("œil finds oeil") << "un oeil ouvert"
                                    << "œil" << any << false << QStringList{"oeil"} << false;
    QTest::newRow("l’eau finds l'eau") << "de l'eau claire"
                                       << "l’eau" << any << false << QStringList{"l'eau"} << true;
    QTest::newRow("l'eau finds l’eau") << "de l’eau claire"
                                       << "l'eau" << any << false << QStringList{"l’eau"} << true;
    QTest::newRow("l'eau finds l‘eau") << "de l‘eau claire"
                                       << "l'eau" << any << false << QStringList{"l‘eau"} << true;
    QTest::newRow("cedilla") << "le garçon"
                             << "garcon" << any << false << QStringList{"garçon"} << false;
    QTest::newRow("æ") << "ex æquo"
                       << "aequo" << any << false << QStringList{"æquo"} << false;
    QTest::newRow("Latin Extended-A") << "de Dvořák"
                                      << "dvorak" << any << false << QStringList{"Dvořák"} << false;
    QTest::newRow("no decomposition: stroke kept") << "à Łódź"
                                                   << "lodz" << any << false << none << false;
    QTest::newRow("stroke matches stroke") << "à Łódź"
                                           << "łodz" << any << false << QStringList{"Łódź"} << false;
    QTest::newRow("beyond Extended-A kept") << "le ǎ"
                                            << "a" << any << false << none << false;
    QTest::newRow("combining accent kept") << "un e\u0301te\u0301"
                                           << "ete" << any << false << none << false;
    QTest::newRow("same text still found") << "un été"
                                           << "été" << any << false << QStringList{"été"} << true;

    QTest::newRow("case ignored, capital ligature") << "un ŒIL"
                                                    << "oeil" << any << false << QStringList{"ŒIL"} << false;
    QTest::newRow("case respected, capital ligature") << "un Œil"
                                                      << "oeil" << any << true << none << false;
    QTest::newRow("case respected, capitals typed") << "un Œil"
                                                    << "OEil" << any << true << QStringList{"Œil"} << false;
    QTest::newRow("case respected, accent apart") << "ÉTÉ et été"
                                                  << "ete" << any << true << QStringList{"été"} << false;

    QTest::newRow("boundary of the text: letter after") << "des cœurs"
                                                        << "coeur" << any << false << none << false;
    QTest::newRow("inside a ligature: start") << "un bœuf"
                                              << "euf" << any << false << none << false;
    QTest::newRow("inside a ligature: end") << "un œ seul"
                                            << "o" << any << false << none << false;
    QTest::newRow("the ligature alone") << "un œ seul"
                                        << "oe" << any << false << QStringList{"œ"} << false;
    QTest::newRow("marks after a ligature") << "œuvre et œil, l’œil"
                                            << "oeil" << any << false << QStringList{"œil", "œil"} << false;

    QTest::newRow("all terms") << "œil et été"
                               << "oeil ete" << all << false << QStringList{"œil", "été"} << false;
    QTest::newRow("all terms, one missing") << "œil et hiver"
                                            << "oeil ete" << all << false << none << false;
    QTest::newRow("three terms, one pass") << "de l’eau"
                                           << "oeil ete eau" << any << false << QStringList{"eau"} << true;
    QTest::newRow("exact phrase") << "dès l’été chaud"
                                  << "l'ete chaud" << exact << false << QStringList{"l’été chaud"} << false;
    QTest::newRow("exact phrase, words apart") << "l’été très chaud"
                                               << "l'ete chaud" << exact << false << none << false;
    // Rare letters are screened eight units at a time; the automaton reads only around them.
    QTest::newRow("screen: word across eight units") << "123456 abreuvèr, fin"
                                                     << "abreuver" << any << false << QStringList{"abreuvèr"} << false;
    QTest::newRow("screen: letter last of eight") << "12345 Abreuver, fin"
                                                  << "abreuver" << any << false << QStringList{"Abreuver"} << true;
    QTest::newRow("screen: letter first of eight") << "123456 abreuver, fin"
                                                   << "abreuver" << any << false << QStringList{"abreuver"} << true;
    QTest::newRow("screen: ligature before the letter") << "des œuvres, l’ŒUVRE pie"
                                                        << "oeuvre" << any << false << QStringList{"ŒUVRE"} << false;
    QTest::newRow("screen: ligature opening the text") << "œuvre pie"
                                                       << "oeuvre" << any << false << QStringList{"œuvre"} << false;
    QTest::newRow("screen: letter opening the text") << "bœuf gras et bœufs"
                                                     << "boeuf" << any << false << QStringList{"bœuf"} << false;
    QTest::newRow("screen: letter closing the text") << "un œuf"
                                                     << "oeuf" << any << false << QStringList{"œuf"} << false;
    QTest::newRow("screen: accented capital, case ignored") << "un ŽÈLE ardent"
                                                            << "zele" << any << false << QStringList{"ŽÈLE"} << false;
    QTest::newRow("screen: accented capital, case respected") << "ŽELE et Žele"
                                                              << "Zele" << any << true << QStringList{"Žele"} << false;
    QTest::newRow("screen: surrogate pairs beside the letter")
        << "𝔄zèle zèle𝔄 zèle"
        << "zele" << any << false << QStringList{"zèle"} << false;
    QTest::newRow("long text read in parts")
        << QString(300, u'x') + " œil " + QString(300, u'y') + " Été " + QString(300, u'z') << "ete oeil" << all
        << false << QStringList{"œil", "Été"} << false;
}

void TestFullTextSearch::accentsIgnored()
{
    QFETCH(QString, text);
    QFETCH(QString, query);
    QFETCH(SearchMode, mode);
    QFETCH(bool, caseSensitive);
    QFETCH(QStringList, marked);
    QFETCH(bool, foundWithAccents);
    const CorpusDocument corpus = corpusOf({text});
    QCOMPARE(fullTextSearch(corpus, query, mode, caseSensitive).count(), foundWithAccents ? 1 : 0);
    const SearchResult result = fullTextSearch(corpus, query, mode, caseSensitive, true);
    QVERIFY(result.ignoresAccents());
    QCOMPARE(result.count(), marked.isEmpty() ? 0 : 1);
    if (marked.isEmpty())
        return;
    QStringList pieces;
    for (const highlighter::Range& range : highlighter::ranges(result, text, result.hits().front()->edges))
        pieces << text.mid(range.start, range.length);
    QCOMPARE(pieces, marked);
}

void TestFullTextSearch::recordKeepsQuery()
{
    const SearchResult result =
        fullTextSearch(corpusOf({"le son"}), QStringLiteral("  le  Son "), SearchMode::ExactPhrase, true);
    QCOMPARE(result.terms(), QStringList({"le", "Son"}));
    QCOMPARE(modeName(result.mode()), QStringLiteral("exact"));
    QVERIFY(result.caseSensitive());
    QCOMPARE(result.count(), 0);
}

void TestFullTextSearch::queryModes()
{
    QCOMPARE(modeName(queryMode(0)), QStringLiteral("tous"));
    QCOMPARE(modeName(queryMode(1)), QStringLiteral("auMoinsUn"));
    QCOMPARE(modeName(queryMode(2)), QStringLiteral("exact"));
    QCOMPARE(modeName(queryMode(3)), QString());
    QCOMPARE(modeName(queryMode(-1)), QString());
}

void TestFullTextSearch::finderAgreesWithQt_data()
{
    QTest::addColumn<QString>("alphabet");
    QTest::addColumn<bool>("caseSensitive");
    // Letters with case variants beyond two (k, K and the Kelvin sign), accents, and a surrogate pair.
    const QString letters = QStringLiteral("aAbkK\u212A éÉßẞ\U0001D504");
    QTest::newRow("case respected") << letters << true;
    QTest::newRow("case ignored") << letters << false;
    QTest::newRow("two letters, case ignored") << QStringLiteral("aA") << false;
}

void TestFullTextSearch::finderAgreesWithQt()
{
    // Every start position, every pattern length, texts long enough for the eight-wide screening.
    QFETCH(QString, alphabet);
    QFETCH(bool, caseSensitive);
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    QRandomGenerator random(20261207);
    const auto randomText = [&](int length) {
        QString text;
        while (text.size() < length) {
            const QChar c = alphabet.at(random.bounded(int(alphabet.size())));
            text += c;
            if (c.isHighSurrogate())
                text += alphabet.at(alphabet.indexOf(c) + 1);
        }
        return text;
    };
    for (int round = 0; round < 300; ++round) {
        const QString text = randomText(int(random.bounded(40)));
        const QString pattern = random.bounded(3) == 0 && text.size() > 4
                                    ? text.mid(random.bounded(int(text.size()) - 3), 1 + random.bounded(3))
                                    : randomText(1 + int(random.bounded(5)));
        const PatternFinder finder(pattern, cs);
        for (qsizetype from = 0; from <= text.size(); ++from) {
            const qsizetype expected = QStringView(text).indexOf(pattern, from, cs);
            if (finder.indexIn(text, from) != expected)
                QFAIL(qPrintable(QStringLiteral("\"%1\" in \"%2\" from %3").arg(pattern, text).arg(from)));
        }
    }
}

void TestFullTextSearch::termMatcher_data()
{
    QTest::addColumn<QStringList>("terms");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found"); // "term@start", by distinct term then start
    QTest::addColumn<bool>("any");
    QTest::addColumn<bool>("all");

    QTest::newRow("prefixes of one another") << QStringList{"a", "ab", "abc"} << true << "abc ab a abcd"
                                             << QStringList{"a@7", "ab@4", "abc@0"} << true << true;
    QTest::newRow("suffixes of one another")
        << QStringList{"abc", "bc", "c"} << true << "abc bc c" << QStringList{"abc@0", "bc@4", "c@7"} << true << true;
    QTest::newRow("overlapping occurrences of one term")
        << QStringList{"a a", "a"} << true << "a a a" << QStringList{"a a@0", "a@0", "a@2", "a@4"} << true << true;
    QTest::newRow("whole after an overlapping part")
        << QStringList{"ab a"} << true << "ab ab a" << QStringList{"ab a@3"} << true << true;
    QTest::newRow("part, then whole") << QStringList{"aa", "b"} << true << "aaa aa" << QStringList{"aa@4"} << true
                                      << false;
    QTest::newRow("only inside words") << QStringList{"son", "vent"} << false << "sonate unisson ventôse"
                                       << QStringList{} << false << false;
    QTest::newRow("equal under case folding, case ignored")
        << QStringList{"Son", "son", "SON"} << false << "le SON, son" << QStringList{"Son@3", "Son@8"} << true << true;
    QTest::newRow("equal under case folding, case kept")
        << QStringList{"Son", "son", "SON"} << true << "le SON, son" << QStringList{"son@8", "SON@3"} << true << false;
    QTest::newRow("the same term twice") << QStringList{"vent", "vent"} << true << "vent" << QStringList{"vent@0"}
                                         << true << true;
    QTest::newRow("three case variants of k")
        << QStringList{"k", "x"} << false << "K \u212A k" << QStringList{"k@0", "k@2", "k@4"} << true << false;
    QTest::newRow("sharp s") << QStringList{"ß", "a"} << false << "ẞ a" << QStringList{"ß@0", "a@2"} << true << true;
    QTest::newRow("surrogate pair, case kept")
        << QStringList{"𝔄", "le"} << true << "le 𝔄 gothique 𝔄𝔄" << QStringList{"𝔄@3", "le@0"} << true << true;
    QTest::newRow("surrogate pair folded, case ignored") << QStringList{"\U00010428", "b"} << false << "a \U00010400 b"
                                                         << QStringList{"\U00010428@2", "b@5"} << true << true;
    QTest::newRow("surrogate pair not folded, case kept")
        << QStringList{"\U00010428", "b"} << true << "a \U00010400 b" << QStringList{"b@5"} << true << false;
    QTest::newRow("hyphen joins") << QStringList{"son", "et"} << false << "son-et son" << QStringList{"son@7"} << true
                                  << false;
    QTest::newRow("hyphen inside a term")
        << QStringList{"porte-son", "son"} << false << "la porte-son." << QStringList{"porte-son@3"} << true << false;
    QTest::newRow("separators inside terms") << QStringList{"«son»", "son", "l'eau"} << false << "un «son». l'eau"
                                             << QStringList{"«son»@3", "son@4", "l'eau@10"} << true << true;
    QTest::newRow("term ending in a separator")
        << QStringList{"son,", "vent"} << false << "le son, puis le son,puis" << QStringList{"son,@3"} << true << false;
    QTest::newRow("first and last word") << QStringList{"son", "vent"} << false << "son et vent"
                                         << QStringList{"son@0", "vent@7"} << true << true;
    QTest::newRow("empty text") << QStringList{"son", "vent"} << false << "" << QStringList{} << false << false;
    QTest::newRow("term longer than the text")
        << QStringList{"sonorité", "vent"} << false << "sono" << QStringList{} << false << false;
    QTest::newRow("no terms") << QStringList{} << false << "son" << QStringList{} << false << true;
}

void TestFullTextSearch::termMatcher()
{
    QFETCH(QStringList, terms);
    QFETCH(bool, caseSensitive);
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    QFETCH(bool, any);
    QFETCH(bool, all);
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    // One scan per term, as the single-pattern search does, and one pass for all: the same answers.
    for (const TermMatcher::Method method : {TermMatcher::Method::PerTerm, TermMatcher::Method::OnePass}) {
        const TermMatcher matcher(terms, cs, method);
        QCOMPARE(matcher.usesOnePass(), method == TermMatcher::Method::OnePass && !terms.isEmpty());
        QStringList listed;
        const std::vector<QList<qsizetype>> starts = matcher.occurrences(text, {});
        QCOMPARE(starts.size(), size_t(matcher.termCount()));
        for (int term = 0; term < matcher.termCount(); ++term) {
            for (const qsizetype start : starts[size_t(term)])
                listed << QStringView(text).mid(start, matcher.termLength(term)).toString() + QLatin1Char('@') +
                              QString::number(start);
        }
        // Named by the text found, which is the term itself unless case is ignored.
        if (!caseSensitive) {
            for (QString& entry : listed) {
                for (const QString& term : terms) {
                    const qsizetype at = entry.lastIndexOf(QLatin1Char('@'));
                    if (QStringView(entry).left(at).compare(term, Qt::CaseInsensitive) == 0) {
                        entry = term + entry.mid(at);
                        break;
                    }
                }
            }
        }
        QCOMPARE(listed, found);
        QCOMPARE(matcher.matches(text, {}, false), any);
        QCOMPARE(matcher.matches(text, {}, true), all);
        // A long text is read in parts side by side: the text, between spaces, across each place of a part's end.
        for (qsizetype shift = 0; shift <= text.size(); ++shift) {
            const QString padded = QString(400 + shift, u' ') + text + QString(400 + text.size() - shift, u' ');
            QCOMPARE(matcher.matches(padded, {}, false), any);
            QCOMPARE(matcher.matches(padded, {}, true), all);
        }
        // With a limit of one, each list holds at most the term's first occurrence, and every first
        // occurrence that starts before the earliest full list's is there.
        const std::vector<QList<qsizetype>> first = matcher.occurrences(text, {}, 1);
        qsizetype horizon = text.size() + 1;
        for (const QList<qsizetype>& list : first) {
            if (!list.isEmpty())
                horizon = std::min(horizon, list.constFirst());
        }
        for (int term = 0; term < matcher.termCount(); ++term) {
            const QList<qsizetype>& every = starts[size_t(term)];
            const QList<qsizetype>& limited = first[size_t(term)];
            QVERIFY(limited.isEmpty() || (!every.isEmpty() && limited == every.first(1)));
            if (!every.isEmpty() && every.constFirst() < horizon)
                QCOMPARE(limited, every.first(1));
        }
    }
}

void TestFullTextSearch::onePassAgreesWithPerTerm_data()
{
    QTest::addColumn<bool>("caseSensitive");
    QTest::newRow("case respected") << true;
    QTest::newRow("case ignored") << false;
}

void TestFullTextSearch::onePassAgreesWithPerTerm()
{
    // Random texts of letters with case variants, separators, hyphens and a surrogate pair, some long
    // enough to be read in parts; terms cut from them or made up.
    QFETCH(bool, caseSensitive);
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const QString alphabet = QStringLiteral("aAbkK\u212A, '-.\U0001D504\U00010400\U00010428");
    QRandomGenerator random(20261208);
    const auto randomText = [&](int length) {
        QString text;
        while (text.size() < length) {
            const QChar c = alphabet.at(random.bounded(int(alphabet.size())));
            text += c;
            if (c.isHighSurrogate())
                text += alphabet.at(alphabet.indexOf(c) + 1);
        }
        return text;
    };
    for (int round = 0; round < 400; ++round) {
        const QString text = randomText(round % 4 == 0 ? 300 + int(random.bounded(300)) : int(random.bounded(40)));
        QStringList terms;
        const int count = 1 + int(random.bounded(6));
        for (int i = 0; i < count; ++i) {
            QString term = random.bounded(2) == 0 && text.size() > 4
                               ? text.mid(random.bounded(int(text.size()) - 3), 1 + random.bounded(4))
                               : randomText(1 + int(random.bounded(4)));
            term.remove(QLatin1Char(' '));
            if (!term.isEmpty())
                terms << term;
        }
        // Half of the texts with block edges, anywhere but inside a character.
        std::vector<quint32> offsets;
        for (qsizetype p = 1; round % 2 == 1 && p < text.size(); ++p) {
            if (random.bounded(6) == 0 && !(text.at(p - 1).isHighSurrogate() && text.at(p).isLowSurrogate()))
                offsets.push_back(quint32(p));
        }
        const BlockEdges edges(offsets.data(), quint32(offsets.size()));
        const TermMatcher perTerm(terms, cs, TermMatcher::Method::PerTerm);
        const TermMatcher onePass(terms, cs, TermMatcher::Method::OnePass);
        const auto where = [&] { return qPrintable(terms.join(QLatin1Char('|')) + QStringLiteral(" in ") + text); };
        QVERIFY2(perTerm.occurrences(text, edges) == onePass.occurrences(text, edges), where());
        QVERIFY2(perTerm.matches(text, edges, true) == onePass.matches(text, edges, true), where());
        QVERIFY2(perTerm.matches(text, edges, false) == onePass.matches(text, edges, false), where());
    }
}

void TestFullTextSearch::phraseAcrossEdgesAgrees()
{
    // A phrase across block edges, found by the automaton that reads through folded forms (which reads
    // each edge as a space) and by the single-pattern search (which tries each space at each edge):
    // on texts that fold to themselves, the same answer. Some texts are long enough to be screened.
    QRandomGenerator random(20261209);
    const QString alphabet = QStringLiteral("abAB  ,-");
    for (int round = 0; round < 150; ++round) {
        const int length = round % 5 == 0 ? 200 + int(random.bounded(200)) : 2 + int(random.bounded(30));
        QString text;
        while (text.size() < length)
            text += alphabet.at(random.bounded(int(alphabet.size())));
        std::vector<quint32> offsets;
        for (qsizetype p = 1; p < text.size(); ++p) {
            if (random.bounded(4) == 0)
                offsets.push_back(quint32(p));
        }
        const BlockEdges edges(offsets.data(), quint32(offsets.size()));
        QStringList words;
        for (int i = 0, count = 2 + int(random.bounded(2)); i < count; ++i) {
            QString word;
            for (int k = 0, size = 1 + int(random.bounded(3)); k < size; ++k)
                word += alphabet.at(random.bounded(5)); // letters, or a space that ends the word
            words << word.trimmed();
        }
        const QString phrase = words.join(QLatin1Char(' ')).simplified();
        if (phrase.isEmpty())
            continue;
        for (const Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
            const TermMatcher folded({phrase}, cs, TermMatcher::Method::OnePass, TermMatcher::Accents::Ignored);
            const bool found = wordboundary::containsWholeWord(text, edges, PatternFinder(phrase, cs));
            QVERIFY2(folded.matches(text, edges, true) == found, qPrintable(phrase + QStringLiteral(" in ") + text));
        }
    }
}

void TestFullTextSearch::automatonTooLargeForTable()
{
    // 40,000 terms of ten letters: the automaton follows its fail links instead of a table.
    QStringList terms;
    for (int i = 0; i < 40000; ++i) {
        QString term;
        for (int n = i, k = 0; k < 10; ++k, n /= 7)
            term += QChar(u'a' + (n % 7) * 3 + k % 3);
        terms << term;
    }
    QCOMPARE(terms.at(0), QStringLiteral("abcabcabca"));
    QCOMPARE(terms.at(1), QStringLiteral("dbcabcabca"));
    QCOMPARE(terms.at(8), QStringLiteral("decabcabca"));
    const QString text =
        QStringLiteral("abcabcabca, xdbcabcabca dbcabcabca-x (decabcabca) abcabcabcab decabcabca abcabcabca");
    const TermMatcher matcher(terms, Qt::CaseSensitive, TermMatcher::Method::OnePass);
    QVERIFY(matcher.usesOnePass());
    const std::vector<QList<qsizetype>> found = matcher.occurrences(text, {});
    QCOMPARE(found.size(), size_t(40000));
    QCOMPARE(found[0], QList<qsizetype>({0, 73}));
    QCOMPARE(found[1], QList<qsizetype>());
    QCOMPARE(found[8], QList<qsizetype>({38, 62}));
    qsizetype total = 0;
    for (const QList<qsizetype>& list : found)
        total += list.size();
    QCOMPARE(total, 4);
    QVERIFY(matcher.matches(text, {}, false));
    QVERIFY(!matcher.matches(text, {}, true));
    QVERIFY(matcher.matches(QStringLiteral("(decabcabca)"), {}, false));
    QVERIFY(!matcher.matches(QStringLiteral("decabcabca-"), {}, false));
}

void TestFullTextSearch::longQuery_data()
{
    QTest::addColumn<SearchMode>("mode");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QList<int>>("hits");
    QTest::newRow("any term, case kept") << SearchMode::AnyTerm << true << QList<int>{0, 2, 5, 6, 7};
    QTest::newRow("any term, case ignored") << SearchMode::AnyTerm << false << QList<int>{0, 2, 3, 5, 6, 7};
    QTest::newRow("all terms, case kept") << SearchMode::AllTerms << true << QList<int>{6};
    QTest::newRow("all terms, case ignored") << SearchMode::AllTerms << false << QList<int>{6, 7};
}

void TestFullTextSearch::longQuery()
{
    // A query of 1,000 terms finds what each of its terms finds.
    QFETCH(SearchMode, mode);
    QFETCH(bool, caseSensitive);
    QFETCH(QList<int>, hits);
    const QStringList terms = thousandTerms();
    QStringList upper = terms;
    for (QString& term : upper)
        term = term.toUpper();
    upper[500] = QStringLiteral("mot500");
    const CorpusDocument corpus = corpusOf({
        "le mot999.",                     // 0: the last term
        "mot1000 mot12x xmot3 mot-4",     // 1: none whole
        "(mot0) et mot0",                 // 2: the first term
        "un MOT42 ici",                   // 3: another case
        "mot5-mot6 mot7\u2010",           // 4: hyphens join
        "mot1000 mot100",                 // 5: a term, prefix of a longer word beside it
        terms.join(QLatin1Char(' ')),     // 6: every term
        upper.join(QStringLiteral(", ")), // 7: every term, in capitals but one
        "mot 1 mo t2",                    // 8: none
    });
    const SearchResult result = fullTextSearch(corpus, terms.join(QLatin1Char(' ')), mode, caseSensitive);
    QCOMPARE(numbers(result), hits);
}

void TestFullTextSearch::progressStops()
{
    const CorpusDocument corpus = corpusOf({"le son", "le vent", "son"});
    QList<QPair<int, int>> calls;
    const auto record = [&calls](int stopAt) {
        return [&calls, stopAt](int visited, int total) {
            calls.append({visited, total});
            return visited != stopAt;
        };
    };
    const std::optional<SearchResult> whole =
        fullTextSearch(corpus, QStringLiteral("son"), SearchMode::AnyTerm, false, false, record(-1));
    QVERIFY(whole);
    QCOMPARE(numbers(*whole), QList<int>({0, 2}));
    const QList<QPair<int, int>> every{{0, 3}, {1, 3}, {2, 3}, {3, 3}};
    QCOMPARE(calls, every);

    calls.clear();
    QVERIFY(!fullTextSearch(corpus, QStringLiteral("son"), SearchMode::AnyTerm, false, false, record(1)));
    const QList<QPair<int, int>> two{{0, 3}, {1, 3}};
    QCOMPARE(calls, two);
}

QTEST_GUILESS_MAIN(TestFullTextSearch)
#include "tst_fulltextsearch.moc"

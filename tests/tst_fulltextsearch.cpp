#include "fulltextsearch.h"
#include "patternfinder.h"
#include "testcorpus.h"

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

} // namespace

class TestFullTextSearch : public QObject
{
    Q_OBJECT
private slots:
    void search_data();
    void search();
    void recordKeepsQuery();
    void queryModes();
    void finderAgreesWithQt_data();
    void finderAgreesWithQt();
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

QTEST_GUILESS_MAIN(TestFullTextSearch)
#include "tst_fulltextsearch.moc"

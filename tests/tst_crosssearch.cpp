#include "corpus/corpusfile.h"
#include "search/crosssearch.h"
#include "tests/testcorpus.h"

#include <QTest>

namespace {

const QString I = QStringLiteral("- INDIFFERENT -");

CorpusDocument corpusOf(const QByteArray& xml)
{
    return testcorpus::of(xml);
}

CorpusDocument fixture()
{
    return testcorpus::ofFile(QFINDTESTDATA("data/croisee.xml"));
}

// The given criteria, then "- INDIFFERENT -" up to nine.
QStringList nine(QStringList criteria)
{
    while (criteria.size() < 9)
        criteria.append(I);
    return criteria;
}

QStringList strings(const std::vector<QStringView>& views)
{
    QStringList list;
    for (const QStringView view : views)
        list << view.toString();
    return list;
}

QStringList ids(const SearchResult& result)
{
    QStringList list;
    for (const ArticleEntry* entry : result.hits())
        list << QStringLiteral("c%1").arg(entry->number + 1);
    return list;
}

} // namespace

class TestCrossSearch : public QObject
{
    Q_OBJECT
private slots:
    void search_data();
    void search();
    void ownCorpus_data();
    void ownCorpus();
    void longTexts();
    void valuesInReadersOrder();
    void valuesDifferingInTheMiddle();
    void progress();
    void emptyCorpus();
    void describe_data();
    void describe();
};

void TestCrossSearch::search_data()
{
    QTest::addColumn<QStringList>("criteria");
    QTest::addColumn<QString>("element"); // what to collect; no collection when null
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("hits");
    QTest::addColumn<QStringList>("matched");
    QTest::addColumn<QStringList>("values");

    const QString none;
    QTest::newRow("all indifferent") << nine({}) << I << "" << QStringList{"c1", "c2", "c3", "c4", "c5", "c6", "c7"}
                                     << QStringList() << QStringList();
    QTest::newRow("element, attribute values offered") << nine({"instrument"}) << "instrument"
                                                       << "" << QStringList{"c1", "c2", "c3"} << QStringList()
                                                       << QStringList{"bois", "corde", "percussion", "pipeau", "vent"};
    QTest::newRow("element without attributes offers texts")
        << nine({"domaine"}) << "vedette"
        << "" << QStringList{"c1", "c2", "c3"} << QStringList() << QStringList{"FLÛTE", "HARPE", "TAMBOUR"};
    QTest::newRow("unknown element") << nine({"cithare"}) << "cithare"
                                     << "" << QStringList() << QStringList() << QStringList();
    QTest::newRow("attribute value, texts offered")
        << nine({"instrument", "corde"}) << "instrument"
        << "corde" << QStringList{"c1"} << QStringList() << QStringList{"harpe", "lyre"};
    QTest::newRow("value offered by several attributes")
        << nine({"instrument", "bois"}) << "instrument"
        << "bois" << QStringList{"c1", "c3"} << QStringList() << QStringList{"flûte", "harpe"};
    QTest::newRow("text of the element") << nine({"instrument", "corde", "harpe"}) << none << none << QStringList{"c1"}
                                         << QStringList{"harpe"} << QStringList();
    QTest::newRow("value found as a text") << nine({"instrument", "pipeau"}) << none << none << QStringList{"c3"}
                                           << QStringList{"pipeau"} << QStringList();
    QTest::newRow("value and text on different elements") << nine({"instrument", "bois", "lyre"}) << none << none
                                                          << QStringList{"c1"} << QStringList{"lyre"} << QStringList();
    QTest::newRow("each matching element counts")
        << nine({"instrument", "tambour"}) << none << none << QStringList{"c2"} << QStringList{"tambour", "tambour"}
        << QStringList();
    QTest::newRow("matches of failed articles stay")
        << nine({"instrument", "tambour", I, "vedette", "HARPE"}) << none << none << QStringList()
        << QStringList{"tambour", "tambour"} << QStringList();
    QTest::newRow("criterion that is a tag name")
        << nine({"domaine", "note"}) << none << none << QStringList{"c2"} << QStringList() << QStringList();
    QTest::newRow("attribute names are not values")
        << nine({"instrument", "famille"}) << none << none << QStringList() << QStringList() << QStringList();
    QTest::newRow("case respected") << nine({"instrument", "Corde"}) << none << none << QStringList() << QStringList()
                                    << QStringList();
    QTest::newRow("whitespace between children kept")
        << nine({"definition"}) << "definition"
        << "" << QStringList{"c1"} << QStringList() << QStringList{"5° Se disait"};
    QTest::newRow("text with whitespace between children found")
        << nine({"definition", "5° Se disait"}) << none << none << QStringList{"c1"} << QStringList{"5° Se disait"}
        << QStringList();
    QTest::newRow("mixed content") << nine({"texte"}) << "texte"
                                   << "" << QStringList{"c4"} << QStringList() << QStringList{"Rien, absolument rien."};
    QTest::newRow("whitespace-only text is not offered") << nine({"renvoi"}) << "renvoi"
                                                         << "" << QStringList{"c3"} << QStringList() << QStringList();
    QTest::newRow("empty criterion needs a child node")
        << nine({""}) << none << none << QStringList{"c1", "c2", "c3", "c4", "c7"} << QStringList() << QStringList();
    QTest::newRow("empty boxes after indifferent constrain nothing")
        << nine({I, "", "", "domaine"}) << "domaine"
        << "" << QStringList{"c1", "c2", "c3"} << QStringList() << QStringList{"lutherie", "musique"};
    QTest::newRow("value after empty criterion fails")
        << nine({"", "musique"}) << none << none << QStringList() << QStringList() << QStringList();
    QTest::newRow("rows narrow each other")
        << nine({"domaine", "musique", I, "instrument", "percussion"}) << none << none << QStringList{"c2"}
        << QStringList{"musique", "musique"} << QStringList();
    QTest::newRow("indifferent element collects nothing")
        << nine({I}) << I << "" << QStringList{"c1", "c2", "c3", "c4", "c5", "c6", "c7"} << QStringList()
        << QStringList();
}

void TestCrossSearch::search()
{
    QFETCH(QStringList, criteria);
    QFETCH(QString, element);
    QFETCH(QString, value);
    QFETCH(QStringList, hits);
    QFETCH(QStringList, matched);
    QFETCH(QStringList, values);

    const CorpusDocument corpus = fixture();
    QCOMPARE(corpus.articleCount(), 7);
    std::optional<CrossFill> fill;
    if (!element.isNull())
        fill = CrossFill{element, value};
    const CrossSearchOutcome outcome = crossSearch(corpus, criteria, fill);
    QCOMPARE(ids(outcome.result), hits);
    QCOMPARE(outcome.result.count(), hits.size());
    QCOMPARE(outcome.result.matchedValues(), matched);
    QCOMPARE(modeName(outcome.result.mode()), matched.isEmpty() ? QString() : QStringLiteral("croisee"));
    QVERIFY(outcome.result.caseSensitive());
    QCOMPARE(strings(outcome.values), values);
}

void TestCrossSearch::ownCorpus_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QStringList>("criteria");
    QTest::addColumn<QString>("element"); // what to collect; no collection when null
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("hits");
    QTest::addColumn<QStringList>("matched");
    QTest::addColumn<QStringList>("values");

    const QString none;
    const QByteArray indented =
        "<r><a>\n  <instrument>\n      orgue\n    </instrument>\n</a>"
        "<a><instrument>orgue</instrument></a><a><instrument> grand\n orgue </instrument></a></r>";
    QTest::newRow("indented text offered once")
        << indented << nine({"instrument"}) << "instrument"
        << "" << QStringList{"c1", "c2", "c3"} << QStringList() << QStringList{"grand\n orgue", "orgue"};
    QTest::newRow("indented text found with the plain one")
        << indented << nine({"instrument", "orgue"}) << none << none << QStringList{"c1", "c2"}
        << QStringList{"orgue", "orgue"} << QStringList();
    QTest::newRow("inner whitespace kept") << indented << nine({"instrument", "grand orgue"}) << none << none
                                           << QStringList() << QStringList() << QStringList();
    const QByteArray spaced = "<r><a><x k=\"v\">&#xA0;orgue\xE3\x80\x80</x><x k=\"v\">orgue</x>"
                              "<x k=\"v\"> &#x2003; </x></a></r>";
    QTest::newRow("texts of a value trimmed") << spaced << nine({"x", "v"}) << "x"
                                              << "v" << QStringList{"c1"} << QStringList() << QStringList{"orgue"};
    QTest::newRow("each trimmed match counts") << spaced << nine({"x", "orgue"}) << none << none << QStringList{"c1"}
                                               << QStringList{"orgue", "orgue"} << QStringList();
    // U+FEFF is a character of the value or text, never a byte-order mark to drop.
    const QByteArray marked = "<r><a><x k=\"&#xFEFF;v\">&#xFEFF;t</x></a><a><x k=\"v\">t</x></a></r>";
    QTest::newRow("leading U+FEFF kept in values")
        << marked << nine({"x"}) << "x"
        << "" << QStringList{"c1", "c2"} << QStringList() << QStringList{"v", QStringLiteral("\uFEFFv")};
    QTest::newRow("value with leading U+FEFF finds its own article")
        << marked << nine({"x", QStringLiteral("\uFEFFv")}) << "x" << QStringLiteral("\uFEFFv") << QStringList{"c1"}
        << QStringList() << QStringList{QStringLiteral("\uFEFFt")};
    QTest::newRow("text with leading U+FEFF finds its own article")
        << marked << nine({"x", "t"}) << none << none << QStringList{"c2"} << QStringList{"t"} << QStringList();
}

void TestCrossSearch::ownCorpus()
{
    QFETCH(QByteArray, xml);
    QFETCH(QStringList, criteria);
    QFETCH(QString, element);
    QFETCH(QString, value);
    QFETCH(QStringList, hits);
    QFETCH(QStringList, matched);
    QFETCH(QStringList, values);

    const CorpusDocument corpus = corpusOf(xml);
    QVERIFY(corpus.articleCount() > 0);
    std::optional<CrossFill> fill;
    if (!element.isNull())
        fill = CrossFill{element, value};
    const CrossSearchOutcome outcome = crossSearch(corpus, criteria, fill);
    QCOMPARE(ids(outcome.result), hits);
    QCOMPARE(outcome.result.matchedValues(), matched);
    QCOMPARE(strings(outcome.values), values);
}

void TestCrossSearch::longTexts()
{
    // Texts that agree in their first 12,000 characters are one value, offered cut.
    const QByteArray common(12000, 'a');
    const CorpusDocument corpus = corpusOf("<r><art><cit>" + common + "b</cit><cit>" + common +
                                           "c</cit></art><art><cit>" + QByteArray(13000, 'z') + "</cit></art></r>");
    QCOMPARE(corpus.articleCount(), 2);
    const CrossSearchOutcome offered = crossSearch(corpus, nine({"cit"}), CrossFill{QStringLiteral("cit"), QString()});
    QCOMPARE(strings(offered.values), QStringList({QString(12000, u'a'), QString(12000, u'z')}));

    const CrossSearchOutcome chosen = crossSearch(corpus, nine({"cit", QString(12000, u'a')}), std::nullopt);
    QCOMPARE(chosen.result.count(), 1);
    QCOMPARE(chosen.result.matchedValues(), QStringList({QString(12000, u'a'), QString(12000, u'a')}));
}

void TestCrossSearch::valuesInReadersOrder()
{
    // Ties on the first letters, prefixes, capitals, accents, texts that part only after 290 units,
    // and letters outside the table of weights.
    const QStringList texts{"abcdefghij1",
                            "abcdefghij",
                            "abcdefghijk",
                            "abcdefgh",
                            "Abcdefghij",
                            "é",
                            "z",
                            "abcdefghij",
                            "ÉTYMOLOGIE",
                            "SYNONYME",
                            "Étymologie",
                            QString(290, u'x') + "b",
                            QString(290, u'x') + "a",
                            QString(290, u'x'),
                            "abcdefghijklmnopqrs",
                            "abcdefghijklmnopqrr",
                            "\U0001D504",
                            "\uFB01"};
    QByteArray xml = "<r>";
    for (const QString& text : texts)
        xml += "<a><v>" + text.toUtf8() + "</v></a>";
    xml += "</r>";
    const CorpusDocument corpus = corpusOf(xml);
    QCOMPARE(corpus.articleCount(), texts.size());
    const CrossSearchOutcome outcome = crossSearch(corpus, nine({"v"}), CrossFill{QStringLiteral("v"), QString()});
    // A mathematical capital is a capital A for the reader; "ﬁ" reads as "fi".
    const QStringList expected{"\U0001D504",
                               "abcdefgh",
                               "abcdefghij",
                               "Abcdefghij",
                               "abcdefghij1",
                               "abcdefghijk",
                               "abcdefghijklmnopqrr",
                               "abcdefghijklmnopqrs",
                               "é",
                               "Étymologie",
                               "ÉTYMOLOGIE",
                               "\uFB01",
                               "SYNONYME",
                               QString(290, u'x'),
                               QString(290, u'x') + "a",
                               QString(290, u'x') + "b",
                               "z"};
    QCOMPARE(strings(outcome.values), expected);
}

void TestCrossSearch::valuesDifferingInTheMiddle()
{
    // Long texts that agree but in their middle, each twice: every one offered once, in order.
    const QString opening(100, u'a');
    const QString closing(100, u'z');
    QByteArray xml = "<r>";
    for (int copy = 0; copy < 2; ++copy) {
        for (int i = 999; i >= 0; --i)
            xml += "<a><v>" + (opening + QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0')) + closing).toUtf8() +
                   "</v></a>";
    }
    xml += "</r>";
    const CorpusDocument corpus = corpusOf(xml);
    QCOMPARE(corpus.articleCount(), 2000);
    const CrossSearchOutcome outcome = crossSearch(corpus, nine({"v"}), CrossFill{QStringLiteral("v"), QString()});
    const QStringList values = strings(outcome.values);
    QCOMPARE(values.size(), 1000);
    QCOMPARE(values.first(), opening + QStringLiteral("000") + closing);
    QCOMPARE(values.at(1), opening + QStringLiteral("001") + closing);
    QCOMPARE(values.at(500), opening + QStringLiteral("500") + closing);
    QCOMPARE(values.last(), opening + QStringLiteral("999") + closing);
    for (qsizetype i = 1; i < values.size(); ++i)
        QVERIFY(values.at(i - 1) < values.at(i));
}

void TestCrossSearch::progress()
{
    const CorpusDocument corpus = fixture();
    QList<QPair<int, int>> calls;
    const CrossSearchOutcome whole =
        crossSearch(corpus, nine({"domaine"}), std::nullopt, [&calls](int visited, int total) {
            calls.append({visited, total});
            return true;
        });
    const QList<QPair<int, int>> expected{{0, 7}, {1, 7}, {2, 7}, {3, 7}, {4, 7}, {5, 7}, {6, 7}, {7, 7}};
    QCOMPARE(calls, expected);
    QVERIFY(!whole.stopped);

    // Stopped at the third call: no further article is visited.
    calls.clear();
    const CrossSearchOutcome stopped =
        crossSearch(corpus, nine({"domaine"}), std::nullopt, [&calls](int visited, int total) {
            calls.append({visited, total});
            return visited < 2;
        });
    QVERIFY(stopped.stopped);
    const QList<QPair<int, int>> threeCalls{{0, 7}, {1, 7}, {2, 7}};
    QCOMPARE(calls, threeCalls);
}

void TestCrossSearch::emptyCorpus()
{
    QList<QPair<int, int>> calls;
    const CrossSearchOutcome outcome =
        crossSearch(corpusOf("<r/>"), nine({"a", "b"}), CrossFill{QStringLiteral("a"), QStringLiteral("b")},
                    [&calls](int visited, int total) {
                        calls.append({visited, total});
                        return true;
                    });
    QCOMPARE(outcome.result.count(), 0);
    QVERIFY(outcome.values.empty());
    const QList<QPair<int, int>> once{{0, 0}};
    QCOMPARE(calls, once);
    QCOMPARE(outcome.result.criteriaDescription(), QStringLiteral(" a --> b \n\t2º : "));
}

void TestCrossSearch::describe_data()
{
    QTest::addColumn<QStringList>("criteria");
    QTest::addColumn<QString>("description");
    const QString E;
    QTest::newRow("nine texts") << QStringList{"a", "b", "c", "d", "e", "f", "g", "h", "k"}
                                << " a --> b --> c \n\t2º :  d --> e --> f \n\t3º :  g --> h --> k \n\t";
    QTest::newRow("one") << nine({"a"}) << " a ";
    QTest::newRow("two") << nine({"a", "b"}) << " a --> b \n\t2º : ";
    QTest::newRow("three") << nine({"a", "b", "c"}) << " a --> b --> c \n\t2º : ";
    QTest::newRow("empty third") << nine({"a", "b", E, "d"}) << " a --> b \n\t2º :  d ";
    QTest::newRow("indifferent then empty") << nine({"a", I, E, "d"}) << " a \n\t2º :  d ";
    QTest::newRow("empty first row") << nine({I, E, E, "d"}) << "\n\t2º : \n\t3º :  d ";
    QTest::newRow("all indifferent") << nine({}) << "";
    QTest::newRow("long criterion cut") << nine({QString(60, u'x')})
                                        << QStringLiteral(" ") + QString(47, u'x') + QStringLiteral("... ");
    QTest::newRow("fifty characters kept")
        << nine({QString(50, u'y')}) << QStringLiteral(" ") + QString(50, u'y') + QStringLiteral(" ");
    QTest::newRow("indifferent rows then third row")
        << QStringList{"a", I, E, I, E, E, "g", "h", I} << " a \n\t2º : \n\t3º : \n\t g --> h \n\t";
}

void TestCrossSearch::describe()
{
    QFETCH(QStringList, criteria);
    QFETCH(QString, description);
    SearchResult result;
    result.describeCriteria(criteria);
    QCOMPARE(result.criteriaDescription(), description);
}

QTEST_GUILESS_MAIN(TestCrossSearch)
#include "tst_crosssearch.moc"

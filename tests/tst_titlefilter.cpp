#include "search/crosssearch.h"
#include "search/fulltextsearch.h"
#include "search/titlefilter.h"
#include "search/titleindex.h"
#include "search/titlelookup.h"
#include "tests/testcorpus.h"

#include <QRandomGenerator>
#include <QTest>

class TestTitleFilter : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void filter_data();
    void filter();
    void typed_data();
    void typed();
    void typedAtRandom();
    void manyTitles();
    void lookUp_data();
    void lookUp();
    void allArticlesListsEveryArticle();
    void recordsKeepTheirArticles();

private:
    CorpusDocument m_corpus;
};

void TestTitleFilter::initTestCase()
{
    m_corpus = testcorpus::of("<c>"
                              "<a><t>Vent du nord</t></a>"
                              "<a><t>ÉCHO</t></a>"
                              "<a><t>écho lointain</t></a>"
                              "<a><t>SON</t></a>"
                              "<a><t>SON</t></a>"
                              "<a><t>Vent  du sud</t></a>"
                              "<a><t></t><x>sans titre</x></a>"
                              "<a><t>Œuvre</t></a>"
                              "<a><t>Cœur d'œuvre</t></a>"
                              "<a><t>De l’eau</t></a>"
                              "</c>");
    QCOMPARE(m_corpus.articleCount(), 10);
}

void TestTitleFilter::filter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ignoreAccents");
    QTest::addColumn<QList<int>>("numbers");

    QTest::newRow("empty lists all") << "" << false << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    QTest::newRow("spaces only list all") << "   " << false << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    QTest::newRow("case ignored") << "vent" << false << QList<int>{0, 5};
    QTest::newRow("upper finds lower") << "LOINTAIN" << false << QList<int>{2};
    QTest::newRow("accent significant") << "echo" << false << QList<int>{};
    QTest::newRow("one accented letter, either case") << "É" << false << QList<int>{1, 2};
    QTest::newRow("one ligature, either case") << "œ" << false << QList<int>{7, 8};
    QTest::newRow("accented either case") << "écho" << false << QList<int>{1, 2};
    QTest::newRow("runs of spaces count as one") << "vent    du" << false << QList<int>{0};
    QTest::newRow("leading and trailing spaces ignored") << "  son " << false << QList<int>{3, 4};
    QTest::newRow("same title twice") << "SON" << false << QList<int>{3, 4};
    QTest::newRow("substring anywhere") << "ord" << false << QList<int>{0};
    QTest::newRow("no match") << "zzz" << false << QList<int>{};

    QTest::newRow("accents ignored: plain finds accented") << "echo" << true << QList<int>{1, 2};
    QTest::newRow("accents ignored: accented finds plain") << "vènt" << true << QList<int>{0, 5};
    QTest::newRow("accents ignored: ligature") << "oeuvre" << true << QList<int>{7, 8};
    QTest::newRow("accents ignored: ligature typed") << "œuvre" << true << QList<int>{7, 8};
    QTest::newRow("accents ignored: inside a ligature") << "e" << true << QList<int>{0, 1, 2, 5, 6, 7, 8, 9};
    QTest::newRow("accents ignored: apostrophe") << "l'eau" << true << QList<int>{9};
    QTest::newRow("accents kept: apostrophe") << "l'eau" << false << QList<int>{9};
    QTest::newRow("accents kept: typographic apostrophe") << "d’Œ" << false << QList<int>{8};
    QTest::newRow("accents ignored: typographic apostrophe") << "d’oe" << true << QList<int>{8};
}

void TestTitleFilter::filter()
{
    QFETCH(QString, text);
    QFETCH(bool, ignoreAccents);
    QFETCH(QList<int>, numbers);
    const SearchResult result = titleFilter(m_corpus, text, ignoreAccents);
    QList<int> found;
    for (const ArticleEntry* entry : result.hits())
        found << entry->number;
    QCOMPARE(found, numbers);
    QCOMPARE(result.count(), numbers.size());
    QCOMPARE(modeName(result.mode()), QStringLiteral("Corpus"));
    QVERIFY(!result.caseSensitive());
    QCOMPARE(result.ignoresAccents(), ignoreAccents);
}

// Past a few hundred thousand titles, the two halves are looked through at once: the hits come in
// the corpus's order all the same, from every title and from those of the pattern before.
void TestTitleFilter::manyTitles()
{
    QByteArray xml("<c>");
    for (int n = 0; n < 300000; ++n)
        xml += n % 3 == 0 ? "<a><t>Écho</t></a>" : n % 3 == 1 ? "<a><t>écume</t></a>" : "<a><t>vent</t></a>";
    xml += "</c>";
    const CorpusDocument corpus = testcorpus::of(xml);
    QCOMPARE(corpus.articleCount(), 300000);
    TitleFilter filter{TitleIndex(corpus.content())};
    for (const auto& [typed, remainder] :
         {std::pair{"é", -1}, std::pair{"éc", -1}, std::pair{"éch", 0}, std::pair{"écu", 1}, std::pair{"v", 2}}) {
        const SearchResult result = filter.filter(QString::fromUtf8(typed), false);
        QCOMPARE(result.count(), remainder < 0 ? 200000 : 100000);
        int previous = -1;
        bool inOrder = true;
        bool right = true;
        for (const ArticleEntry* entry : result.hits()) {
            inOrder = inOrder && entry->number > previous;
            right = right && (remainder < 0 ? entry->number % 3 != 2 : entry->number % 3 == remainder);
            previous = entry->number;
        }
        QVERIFY2(inOrder && right, typed);
    }
}

namespace {

// The titles of a record's hits, joined by "|".
QString titlesOf(const SearchResult& result)
{
    QStringList titles;
    for (const ArticleEntry* entry : result.hits())
        titles << entry->title;
    return titles.join(QLatin1Char('|'));
}

} // namespace

void TestTitleFilter::typed_data()
{
    // The box's successive contents, and the titles listed after each.
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("ignoreAccents");
    QTest::addColumn<QStringList>("found");

    const QString all = QStringLiteral("Vent du nord|ÉCHO|écho lointain|SON|SON|Vent  du sud|sans titre|Œuvre|"
                                       "Cœur d'œuvre|De l’eau");
    QTest::newRow("typed then erased") << QStringList{"v",      "ve",      "ven",      "vent",      "vent ",
                                                      "vent d", "vent du", "vent du ", "vent du s", "vent du",
                                                      "vent",   "ve",      "v",        ""}
                                       << false
                                       << QStringList{"Vent du nord|Vent  du sud|Œuvre|Cœur d'œuvre",
                                                      "Vent du nord|Vent  du sud",
                                                      "Vent du nord|Vent  du sud",
                                                      "Vent du nord|Vent  du sud",
                                                      "Vent du nord|Vent  du sud",
                                                      "Vent du nord",
                                                      "Vent du nord",
                                                      "Vent du nord",
                                                      "",
                                                      "Vent du nord",
                                                      "Vent du nord|Vent  du sud",
                                                      "Vent du nord|Vent  du sud",
                                                      "Vent du nord|Vent  du sud|Œuvre|Cœur d'œuvre",
                                                      all};
    QTest::newRow("changed elsewhere than at the end")
        << QStringList{"so", "du", "dun", "du", "d", "écho l", "cho l", "cho", "ÉCHO", "ÉCHO L", "vnt", "vent"} << false
        << QStringList{"SON|SON",
                       "Vent du nord|Vent  du sud",
                       "",
                       "Vent du nord|Vent  du sud",
                       "Vent du nord|Vent  du sud|Cœur d'œuvre|De l’eau",
                       "écho lointain",
                       "écho lointain",
                       "ÉCHO|écho lointain",
                       "ÉCHO|écho lointain",
                       "écho lointain",
                       "",
                       "Vent du nord|Vent  du sud"};
    QTest::newRow("accents ignored: a ligature typed after its first letter")
        << QStringList{"o", "œ", "œu", "oeuv", "oeu", "oe", "o", "", "e", "ec", "éch", "écho "} << true
        << QStringList{"Vent du nord|ÉCHO|écho lointain|SON|SON|Œuvre|Cœur d'œuvre",
                       "Œuvre|Cœur d'œuvre",
                       "Œuvre|Cœur d'œuvre",
                       "Œuvre|Cœur d'œuvre",
                       "Œuvre|Cœur d'œuvre",
                       "Œuvre|Cœur d'œuvre",
                       "Vent du nord|ÉCHO|écho lointain|SON|SON|Œuvre|Cœur d'œuvre",
                       all,
                       "Vent du nord|ÉCHO|écho lointain|Vent  du sud|sans titre|Œuvre|Cœur d'œuvre|De l’eau",
                       "ÉCHO|écho lointain",
                       "ÉCHO|écho lointain",
                       "ÉCHO|écho lointain"};
    QTest::newRow("accents ignored: apostrophes")
        << QStringList{"d", "d'", "d'o", "d'", "d", "de", "de ", "de l", "de l’"} << true
        << QStringList{"Vent du nord|Vent  du sud|Cœur d'œuvre|De l’eau",
                       "Cœur d'œuvre",
                       "Cœur d'œuvre",
                       "Cœur d'œuvre",
                       "Vent du nord|Vent  du sud|Cœur d'œuvre|De l’eau",
                       "De l’eau",
                       "De l’eau",
                       "De l’eau",
                       "De l’eau"};
}

void TestTitleFilter::typed()
{
    QFETCH(QStringList, texts);
    QFETCH(bool, ignoreAccents);
    QFETCH(QStringList, found);
    QCOMPARE(found.size(), texts.size());
    TitleFilter filter(TitleIndex(m_corpus.content()));
    for (qsizetype i = 0; i < texts.size(); ++i) {
        const SearchResult result = filter.filter(texts.at(i), ignoreAccents);
        QCOMPARE(titlesOf(result), found.at(i));
        QCOMPARE(result.terms(), texts.at(i).split(QLatin1Char(' '), Qt::SkipEmptyParts));
        QCOMPARE(result.ignoresAccents(), ignoreAccents);
    }
}

void TestTitleFilter::typedAtRandom()
{
    // Letters appended and erased at random, the accent option switched now and then: each step
    // lists what a filter of that text alone lists.
    const QString letters = QStringLiteral("  aAdeEéÉcChnNoOœŒrsStuUv'’");
    QRandomGenerator random(14);
    TitleFilter filter(TitleIndex(m_corpus.content()));
    QString text;
    bool ignoreAccents = false;
    for (int step = 0; step < 2000; ++step) {
        const quint32 roll = random.bounded(100);
        if (roll < 3)
            ignoreAccents = !ignoreAccents;
        else if (roll < 40 && !text.isEmpty())
            text.chop(1);
        else if (text.size() < 8)
            text += letters.at(random.bounded(int(letters.size())));
        const QString typed = titlesOf(filter.filter(text, ignoreAccents));
        QVERIFY2(typed == titlesOf(titleFilter(m_corpus, text, ignoreAccents)), qPrintable(text));
    }
}

void TestTitleFilter::lookUp_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QList<int>>("numbers"); // the articles of that whole title
    QTest::addColumn<int>("best");           // the best row among all titles
    QTest::newRow("case ignored") << "son" << QList<int>{3, 4} << 3;
    QTest::newRow("accents kept") << "echo" << QList<int>{} << 0;
    QTest::newRow("typographic apostrophe typed") << "cœur d’œuvre" << QList<int>{8} << 8;
    QTest::newRow("straight apostrophe typed") << "DE L'EAU" << QList<int>{9} << 9;
    QTest::newRow("start of a title with an apostrophe") << "de l'" << QList<int>{} << 9;
}

void TestTitleFilter::lookUp()
{
    QFETCH(QString, word);
    QFETCH(QList<int>, numbers);
    QFETCH(int, best);
    const SearchResult lookedUp = titlelookup::titleLookUp(m_corpus, word);
    QList<int> found;
    for (const ArticleEntry* entry : lookedUp.hits())
        found.append(int(entry - m_corpus.articles().data()));
    QCOMPARE(found, numbers);
    QCOMPARE(titlelookup::bestTitleRow(allArticles(m_corpus), word), best);
}

void TestTitleFilter::allArticlesListsEveryArticle()
{
    const SearchResult result = allArticles(m_corpus);
    QCOMPARE(result.count(), 10);
    QVERIFY(modeName(result.mode()).isEmpty());
    QVERIFY(result.terms().isEmpty());
    for (int i = 0; i < 10; ++i)
        QCOMPARE(result.hits().at(i), &m_corpus.articles()[size_t(i)]);
    QCOMPARE(allArticles(CorpusDocument()).count(), 0);
}

void TestTitleFilter::recordsKeepTheirArticles()
{
    // Whatever a record points into outlives the document it came from, whatever is cleared first.
    auto corpus = std::make_unique<CorpusDocument>(
        testcorpus::of("<c><a><t>VENT</t><x>le vent souffle</x></a><a><t>SON</t><x>le son</x></a></c>"));
    const std::weak_ptr<const CorpusContent> loaded = corpus->content();
    QStringList criteria(9, CorpusDocument::anyValue);
    criteria[0] = QStringLiteral("x");
    const QList<SearchResult> records{allArticles(*corpus), titleFilter(*corpus, QStringLiteral("son")),
                                      fullTextSearch(*corpus, QStringLiteral("vent"), SearchMode::AnyTerm, false)};
    const CrossSearchOutcome outcome = crossSearch(*corpus, criteria, CrossFill{QStringLiteral("x"), QString()});
    corpus->clearArticles();
    QCOMPARE(corpus->articleCount(), 0);
    QCOMPARE(corpus->elementNames(), QStringList({"c", "a", "t", "x"}));
    corpus.reset();
    QVERIFY(!loaded.expired());
    QCOMPARE(records[0].hits().at(1)->title, QStringLiteral("SON"));
    QCOMPARE(records[1].hits().at(0)->title, QStringLiteral("SON"));
    QCOMPARE(records[2].hits().at(0)->text, QStringLiteral("VENTle vent souffle"));
    QCOMPARE(outcome.result.hits().at(1)->title, QStringLiteral("SON"));
    QCOMPARE(outcome.values.size(), size_t(2));
    QCOMPARE(outcome.values[0].toString(), QStringLiteral("le son"));
    QCOMPARE(outcome.values[1].toString(), QStringLiteral("le vent souffle"));
    for (const SearchResult& record : records + QList<SearchResult>{outcome.result})
        QVERIFY(record.content() == outcome.content);
}

QTEST_GUILESS_MAIN(TestTitleFilter)
#include "tst_titlefilter.moc"

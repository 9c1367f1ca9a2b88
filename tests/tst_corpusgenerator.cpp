#include "bench/benchtable.h"
#include "bench/corpusgenerator.h"
#include "corpus/corpusdocument.h"
#include "corpus/corpusfile.h"
#include "tests/testcorpus.h"
#include "tests/testfiles.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A vocabulary of its own, so that the output does not depend on the machine's word list.
const QStringList words{"de",      "la",      "maison",  "eau",    "arbre",  "été",     "ombre",  "hiver",
                        "chemin",  "lumière", "horloge", "île",    "pierre", "rivière", "usage",  "vent",
                        "forêt",   "âme",     "océan",   "écorce", "jardin", "musique", "cloche", "soleil",
                        "livre",   "encre",   "théâtre", "orgue",  "voile",  "navire",  "sel",    "métal",
                        "gravure", "outil",   "verre",   "harpe",  "mesure", "grain",   "plume",  "argile"};

constexpr qint64 oneMb = 1000000;

} // namespace

Q_DECLARE_METATYPE(CorpusGenerator::Profile)
Q_DECLARE_METATYPE(CorpusGenerator::Spacing)

class TestCorpusGenerator : public QObject
{
    Q_OBJECT
private slots:
    void sameSeedSameBytes_data();
    void sameSeedSameBytes();
    void seedsDiffer();
    void packedKeepsTheWords_data();
    void packedKeepsTheWords();
    void wellFormedWithPlausibleArticles_data();
    void wellFormedWithPlausibleArticles();
    void textFeatures();
    void stopsJustPastTheSize();
    void wordList();
    void stats_data();
    void stats();
    void aims_data();
    void aims();
};

void TestCorpusGenerator::sameSeedSameBytes_data()
{
    QTest::addColumn<CorpusGenerator::Profile>("profile");
    QTest::addColumn<CorpusGenerator::Spacing>("spacing");
    QTest::newRow("encyclopedia") << CorpusGenerator::Profile::Encyclopedia << CorpusGenerator::Spacing::Spaced;
    QTest::newRow("dictionary") << CorpusGenerator::Profile::Dictionary << CorpusGenerator::Spacing::Spaced;
    QTest::newRow("encyclopedia, packed") << CorpusGenerator::Profile::Encyclopedia << CorpusGenerator::Spacing::Packed;
    QTest::newRow("dictionary, packed") << CorpusGenerator::Profile::Dictionary << CorpusGenerator::Spacing::Packed;
}

void TestCorpusGenerator::sameSeedSameBytes()
{
    QFETCH(CorpusGenerator::Profile, profile);
    QFETCH(CorpusGenerator::Spacing, spacing);
    const QByteArray first = CorpusGenerator::generate(words, 7, oneMb, profile, spacing);
    const QByteArray second = CorpusGenerator::generate(words, 7, oneMb, profile, spacing);
    QCOMPARE(first.size(), second.size());
    QVERIFY(first == second);
}

void TestCorpusGenerator::seedsDiffer()
{
    const QByteArray seven = CorpusGenerator::generate(words, 7, 200000);
    const QByteArray eight = CorpusGenerator::generate(words, 8, 200000);
    QVERIFY(seven != eight);
    // Not merely shifted by a constant: the first article already differs.
    QVERIFY(seven.left(600) != eight.left(600));
}

void TestCorpusGenerator::packedKeepsTheWords_data()
{
    QTest::addColumn<CorpusGenerator::Profile>("profile");
    QTest::addColumn<int>("minEdges"); // kept in each article, at least
    QTest::newRow("encyclopedia") << CorpusGenerator::Profile::Encyclopedia << 2;
    QTest::newRow("dictionary") << CorpusGenerator::Profile::Dictionary << 3;
}

void TestCorpusGenerator::packedKeepsTheWords()
{
    // Packed, the same articles hold the same words, which then meet at block edges.
    QFETCH(CorpusGenerator::Profile, profile);
    QFETCH(int, minEdges);
    const CorpusDocument spaced = testcorpus::of(CorpusGenerator::generate(words, 3, 200000, profile));
    const CorpusDocument packed =
        testcorpus::of(CorpusGenerator::generate(words, 3, 200000, profile, CorpusGenerator::Spacing::Packed));
    QVERIFY(packed.articleCount() >= spaced.articleCount());
    const auto wordsOf = [](const ArticleEntry& entry) {
        QStringList found;
        const quint32* edge = entry.edges.begin();
        qsizetype start = -1;
        for (qsizetype p = 0; p <= entry.text.size(); ++p) {
            const bool atEdge = edge != entry.edges.end() && qsizetype(*edge) == p;
            if (atEdge)
                ++edge;
            const bool letter = p < entry.text.size() && entry.text.at(p).isLetterOrNumber();
            if (start >= 0 && (!letter || atEdge)) {
                found << entry.text.mid(start, p - start);
                start = -1;
            }
            if (letter && start < 0)
                start = p;
        }
        return found;
    };
    for (int n = 0; n < spaced.articleCount(); ++n) {
        const ArticleEntry& a = spaced.articles()[size_t(n)];
        const ArticleEntry& b = packed.articles()[size_t(n)];
        QCOMPARE(b.title, a.title);
        QCOMPARE(wordsOf(b), wordsOf(a));
        QVERIFY(a.edges.isEmpty());
        QVERIFY2(b.edges.size() >= minEdges, qPrintable(b.text));
    }
}

void TestCorpusGenerator::wellFormedWithPlausibleArticles_data()
{
    QTest::addColumn<CorpusGenerator::Profile>("profile");
    QTest::addColumn<int>("minArticles");
    QTest::addColumn<int>("maxArticles");
    QTest::addColumn<double>("minElementsPerArticle");
    QTest::addColumn<double>("maxElementsPerArticle");
    QTest::addColumn<int>("longerThan");
    QTest::addColumn<QStringList>("shown");
    // About 800 articles a MB, as in a real encyclopedia.
    QTest::newRow("encyclopedia") << CorpusGenerator::Profile::Encyclopedia << 500 << 1200 << 12.0 << 17.0 << 12000
                                  << QStringList({"- INDIFFERENT -", "article", "auteur", "categorie", "date",
                                                  "definition", "domaine", "exemple", "renvoi", "terme", "vedette"});
    // Short articles with 15 to 20 elements each, as in a large French dictionary.
    QTest::newRow("dictionary") << CorpusGenerator::Profile::Dictionary << 700 << 1400 << 15.0 << 20.0 << 2500
                                << QStringList({"- INDIFFERENT -", "article", "categorie", "cit", "definition",
                                                "etymologie", "historique", "indication", "mot", "prononciation",
                                                "remarque", "renvoi", "sens", "terme", "vedette"});
}

void TestCorpusGenerator::wellFormedWithPlausibleArticles()
{
    QFETCH(CorpusGenerator::Profile, profile);
    QFETCH(int, minArticles);
    QFETCH(int, maxArticles);
    QFETCH(double, minElementsPerArticle);
    QFETCH(double, maxElementsPerArticle);
    QFETCH(int, longerThan);
    QFETCH(QStringList, shown);
    const QByteArray bytes = CorpusGenerator::generate(words, 1, oneMb, profile);
    const CorpusDocument corpus = testcorpus::of(bytes);
    QVERIFY2(corpus.articleCount() >= minArticles && corpus.articleCount() <= maxArticles,
             qPrintable(QString::number(corpus.articleCount())));
    QCOMPARE(bytes.count("<article "), corpus.articleCount());
    // Every element has an end tag; the XML declaration and the root are not the articles'.
    const double elementsPerArticle =
        static_cast<double>(bytes.count('<') - bytes.count("</") - 2) / static_cast<double>(corpus.articleCount());
    QVERIFY2(elementsPerArticle >= minElementsPerArticle && elementsPerArticle <= maxElementsPerArticle,
             qPrintable(QString::number(elementsPerArticle)));
    QSet<QString> titles;
    qsizetype longest = 0;
    for (const ArticleEntry& entry : corpus.articles()) {
        QVERIFY(!entry.title.isEmpty());
        QCOMPARE(entry.title, entry.title.toUpper());
        titles.insert(entry.title);
        longest = std::max(longest, entry.text.size());
    }
    // Headwords come from the whole vocabulary: the 40 words and the 48 function words, less the
    // two they share; with 800 articles every one of them is drawn, most of them many times.
    QCOMPARE(titles.size(), 86);
    QVERIFY2(longest > longerThan, qPrintable(QString::number(longest)));
    QStringList names;
    for (const ElementChoice& choice : corpus.elementChoices())
        names << choice.shown;
    QCOMPARE(names, shown);
}

void TestCorpusGenerator::textFeatures()
{
    const QString text = QString::fromUtf8(CorpusGenerator::generate(words, 3, 300000));
    QVERIFY(text.startsWith(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<encyclopedie>\n<article "
                                           "id=\"a000000\" lettre=\"")));
    QVERIFY(text.endsWith(QStringLiteral("</article>\n</encyclopedie>\n")));
    QVERIFY(text.contains(QStringLiteral("« ")));
    QVERIFY(text.contains(QStringLiteral(" »")));
    QVERIFY(text.contains(QRegularExpression(QStringLiteral(" [ldnsjc]'[aeiouhéâîôy]"))));
    QVERIFY(text.contains(QRegularExpression(QStringLiteral(" (qu|[ldnsjc])’[aeiouhéâîôy]"))));
    QVERIFY(text.contains(QStringLiteral(" (")));
    QVERIFY(text.contains(QStringLiteral("&amp;")));
    QVERIFY(text.contains(QRegularExpression(QStringLiteral("<renvoi cible=\"[^\"]+\">voyez <terme>"))));
    // "lettre" files accented headwords under the plain letter.
    QVERIFY(!text.contains(QStringLiteral("lettre=\"É\"")));
    QVERIFY(!text.contains(QStringLiteral("lettre=\"Â\"")));
}

void TestCorpusGenerator::stopsJustPastTheSize()
{
    const QByteArray bytes = CorpusGenerator::generate(words, 5, 500000);
    QVERIFY(bytes.size() >= 500000);
    // The last article is the only one past the mark; none is longer than about 40,000 bytes.
    QVERIFY(bytes.size() < 560000);
}

void TestCorpusGenerator::wordList()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mots"));
    testfiles::write(path,
                     "a\n\xC3\xA0\nabaisser\r\nParis\naujourd'hui\nc-\xC3\xA0-d\n\n  \n\xC3\xA9t\xC3\xA9\nNASA\n");
    QCOMPARE(CorpusGenerator::readWordList(path), QStringList({"a", "à", "abaisser", "été"}));
    QVERIFY(CorpusGenerator::readWordList(dir.filePath(QStringLiteral("absent"))).isEmpty());
}

void TestCorpusGenerator::stats_data()
{
    QTest::addColumn<QList<double>>("samples");
    QTest::addColumn<double>("median");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::newRow("one") << QList<double>{4.0} << 4.0 << 4.0 << 4.0;
    QTest::newRow("odd, unsorted") << QList<double>{9.0, 1.0, 5.0} << 5.0 << 1.0 << 9.0;
    QTest::newRow("even: mean of the middle two") << QList<double>{8.0, 2.0, 4.0, 6.0} << 5.0 << 2.0 << 8.0;
    QTest::newRow("none") << QList<double>{} << 0.0 << 0.0 << 0.0;
}

void TestCorpusGenerator::stats()
{
    QFETCH(QList<double>, samples);
    QFETCH(double, median);
    QFETCH(double, min);
    QFETCH(double, max);
    const Stats stats = Stats::of(samples);
    QCOMPARE(stats.median, median);
    QCOMPARE(stats.min, min);
    QCOMPARE(stats.max, max);
    QCOMPARE(stats.samples, samples.size());
}

void TestCorpusGenerator::aims_data()
{
    QTest::addColumn<QList<double>>("samples");
    QTest::addColumn<QString>("reference");
    QTest::addColumn<double>("referenceValue");
    QTest::addColumn<double>("factor");
    QTest::addColumn<bool>("onMax");
    QTest::addColumn<bool>("met");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QString>("aim");
    QTest::newRow("half the reference, met") << QList<double>{40.0, 50.0, 90.0} << "xmllint" << 100.0 << 0.5 << false
                                             << true << 0.5 << QStringLiteral("≤ 0.5 × ref.");
    QTest::newRow("half the reference, missed") << QList<double>{40.0, 51.0, 60.0} << "xmllint" << 100.0 << 0.5 << false
                                                << false << 0.51 << QStringLiteral("≤ 0.5 × ref.");
    QTest::newRow("absolute, median") << QList<double>{10.0, 20.0, 30.0} << QString() << 0.0 << 20.0 << false << true
                                      << 0.0 << QStringLiteral("≤ 20 ms");
    QTest::newRow("absolute, worst sample") << QList<double>{10.0, 12.0, 17.0} << QString() << 0.0 << 16.0 << true
                                            << false << 0.0 << QStringLiteral("max ≤ 16 ms");
}

void TestCorpusGenerator::aims()
{
    QFETCH(QList<double>, samples);
    QFETCH(QString, reference);
    QFETCH(double, referenceValue);
    QFETCH(double, factor);
    QFETCH(bool, onMax);
    QFETCH(bool, met);
    QFETCH(double, ratio);
    QFETCH(QString, aim);
    const Measurement row{
        QStringLiteral("row"), QStringLiteral("ms"), Stats::of(samples), reference, referenceValue, factor, onMax};
    QCOMPARE(row.met(), met);
    QCOMPARE(row.ratio(), ratio);
    QCOMPARE(row.aimText(), aim);
    BenchTable table;
    table.add(row);
    QVERIFY(table.toMarkdown().endsWith(met ? QStringLiteral("| ok |\n") : QStringLiteral("| MISSED |\n")));
}

QTEST_APPLESS_MAIN(TestCorpusGenerator)
#include "tst_corpusgenerator.moc"

#include "search/highlighter.h"
#include "tests/testcorpus.h"

#include <QTest>

using highlighter::Range;

namespace {

// A record of the given mode over one article holding `text`.
SearchResult oneArticle(const QString& text, SearchMode mode, const QString& query, bool caseSensitive)
{
    return testcorpus::record(mode, query, caseSensitive, {text});
}

// The text with each marked range written as [..].
QString marked(const QString& text, const QList<Range>& ranges)
{
    QString out = text;
    for (auto it = ranges.crbegin(); it != ranges.crend(); ++it) {
        out.insert(it->start + it->length, QLatin1Char(']'));
        out.insert(it->start, QLatin1Char('['));
    }
    return out;
}

} // namespace

class TestHighlighter : public QObject
{
    Q_OBJECT
private slots:
    void marks_data();
    void marks();
    void crossValuesMarkInsideWords();
    void firstRangesStopAtLimit_data();
    void firstRangesStopAtLimit();
    void marksBeforeEnd_data();
    void marksBeforeEnd();
    void markupTermsDoNotBreakDisplay_data();
    void markupTermsDoNotBreakDisplay();
    void markedText_data();
    void markedText();
    void addHitAndTerms();
    void findWordsAtEdges_data();
    void findWordsAtEdges();
};

void TestHighlighter::marks_data()
{
    QTest::addColumn<SearchMode>("mode");
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    const SearchMode any = SearchMode::AnyTerm;
    QTest::newRow("comma then parentheses") << any << "son" << false << "Le son, puis (son) ici."
                                            << "Le [son], puis ([son]) ici.";
    QTest::newRow("two close occurrences") << any << "son" << false << "son son son"
                                           << "[son] [son] [son]";
    QTest::newRow("whole shortly after non-whole") << any << "son" << false << "sonar son"
                                                   << "sonar [son]";
    QTest::newRow("inside longer words") << any << "son" << false << "sonate, unisson, sonné"
                                         << "sonate, unisson, sonné";
    QTest::newRow("start and end") << any << "son" << false << "son et son"
                                   << "[son] et [son]";
    QTest::newRow("keeps the text's case") << any << "son" << false << "Le SON."
                                           << "Le [SON].";
    QTest::newRow("case respected") << SearchMode::AllTerms << "son" << true << "Le SON et le son."
                                    << "Le SON et le [son].";
    QTest::newRow("two terms") << SearchMode::AllTerms << "vent son" << false << "Le vent, le son."
                               << "Le [vent], le [son].";
    QTest::newRow("hyphen and line break") << any << "son" << false << "son-et\nson\n"
                                           << "son-et\n[son]\n";
    QTest::newRow("square brackets") << any << "vent" << false << "[Le vent]"
                                     << "[Le [vent]]";
    QTest::newRow("slash, dash and ellipsis separate, hyphens join")
        << any << "vent" << false << "vent/orage, vent— vent… vent-orage vent\u2010x"
        << "[vent]/orage, [vent]— [vent]… vent-orage vent\u2010x";
    QTest::newRow("exact phrase as one piece")
        << SearchMode::ExactPhrase << "son  grave" << false << "un son grave, son ou grave"
        << "un [son grave], son ou grave";
    QTest::newRow("exact needs one space") << SearchMode::ExactPhrase << "son grave" << false << "son\ngrave son  grave"
                                           << "son\ngrave son  grave";
    QTest::newRow("overlapping terms merge") << any << "l'eau eau" << false << "de l'eau."
                                             << "de [l'eau].";
    QTest::newRow("many terms, overlapping ones merge") << any << "a\u00A0a a b c" << false << "a a a, a\u00A0a a"
                                                        << "[a] [a] [a], [a\u00A0a] [a]";
    QTest::newRow("many terms, one inside another")
        << SearchMode::AllTerms << "l'eau eau de la" << false << "de l'eau, la Eau-de-vie"
        << "[de] [l'eau], [la] Eau-de-vie";
    QTest::newRow("l’eau marks every apostrophe as written") << any << "l’eau" << false << "de l'eau, L‘EAU et l’eau"
                                                             << "de [l'eau], [L‘EAU] et [l’eau]";
    QTest::newRow("l'eau marks l’eau, case respected")
        << SearchMode::AllTerms << "l'eau de" << true << "de l’eau, L’EAU"
        << "[de] [l’eau], L’EAU";
    QTest::newRow("exact phrase, typographic apostrophe")
        << SearchMode::ExactPhrase << "l’eau claire" << false << "de L'eau claire"
        << "de [L'eau claire]";
    QTest::newRow("exact phrase, straight apostrophe, case respected")
        << SearchMode::ExactPhrase << "l'eau claire" << true << "L’eau claire et l’eau claire"
        << "L’eau claire et [l’eau claire]";
    QTest::newRow("apostrophe folded, accents kept") << any << "l'été" << false << "l’ete et l’été"
                                                     << "l’ete et [l’été]";
    QTest::newRow("title mode marks nothing") << SearchMode::Titles << "son" << false << "le son"
                                              << "le son";
    QTest::newRow("every-article record marks nothing") << SearchMode::AllArticles << "son" << false << "le son"
                                                        << "le son";
}

void TestHighlighter::marks()
{
    QFETCH(SearchMode, mode);
    QFETCH(QString, query);
    QFETCH(bool, caseSensitive);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const SearchResult one = oneArticle(text, mode, query, caseSensitive);
    QCOMPARE(marked(text, highlighter::ranges(one, text, {})), expected);
}

void TestHighlighter::crossValuesMarkInsideWords()
{
    const QString text = QStringLiteral("sonate et Son");
    SearchResult one = oneArticle(text, SearchMode::Cross, QString(), true);
    one.addMatchedValue(QStringLiteral("son"));
    QCOMPARE(marked(text, highlighter::ranges(one, text, {})), QStringLiteral("[son]ate et Son"));
}

void TestHighlighter::firstRangesStopAtLimit_data()
{
    QTest::addColumn<SearchMode>("mode");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("expected");

    const SearchMode any = SearchMode::AnyTerm;
    const SearchMode cross = SearchMode::Cross;
    QTest::newRow("below the limit") << any << "a"
                                     << "a a a a" << 5 << "[a] [a] [a] [a]";
    QTest::newRow("at the limit") << any << "a"
                                  << "a a a a" << 4 << "[a] [a] [a] [a]";
    QTest::newRow("one over the limit") << any << "a"
                                        << "a a a a" << 3 << "[a] [a] [a] a";
    QTest::newRow("first only") << any << "a"
                                << "a a a a" << 1 << "[a] a a a";
    QTest::newRow("none") << any << "a"
                          << "a a a a" << 0 << "a a a a";
    QTest::newRow("non-whole occurrences not counted") << any << "a"
                                                       << "ab a ab a a" << 2 << "ab [a] ab [a] a";
    QTest::newRow("two terms interleaved") << any << "a b"
                                           << "a b a b a b" << 2 << "[a] [b] a b a b";
    QTest::newRow("one term over, the other under") << any << "a b"
                                                    << "a a a b" << 2 << "[a] [a] a b";
    QTest::newRow("many terms under the limit") << any << "a b c d"
                                                << "d c b a a" << 2 << "[d] [c] b a a";
    QTest::newRow("many terms, one over the limit") << any << "a b c d"
                                                    << "a a a b c d" << 2 << "[a] [a] a b c d";
    QTest::newRow("many terms, a long one cut") << any << "a b c d a\u00A0b\u00A0c"
                                                << "a\u00A0b\u00A0c a a a" << 2 << "[a\u00A0b\u00A0c] [a] a a";
    QTest::newRow("adjacent matches all found") << cross << ""
                                                << "aaaaaa" << 3 << "[aaaaaa]";
    // Where the matches stop being looked for, the range they form has no known end.
    QTest::newRow("adjacent matches cut") << cross << ""
                                          << "aaaaaa" << 2 << "aaaaaa";
    QTest::newRow("adjacent matches then a gap") << cross << ""
                                                 << "aaaa aa aa" << 3 << "[aaaa] [aa] aa";
}

void TestHighlighter::firstRangesStopAtLimit()
{
    QFETCH(SearchMode, mode);
    QFETCH(QString, query);
    QFETCH(QString, text);
    QFETCH(int, limit);
    QFETCH(QString, expected);
    SearchResult one = oneArticle(text, mode, query, false);
    if (mode == SearchMode::Cross)
        one.addMatchedValue(QStringLiteral("aa"));
    QCOMPARE(marked(text, highlighter::firstRanges(one, text, {}, limit)), expected);
}

void TestHighlighter::marksBeforeEnd_data()
{
    QTest::addColumn<SearchMode>("mode");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("more");

    const SearchMode any = SearchMode::AnyTerm;
    const SearchMode cross = SearchMode::Cross;
    QTest::newRow("all before the end") << any << "a"
                                        << "a a a a" << 100 << 10 << "[a] [a] [a] [a]" << false;
    QTest::newRow("others past the end") << any << "a"
                                         << "a a a a" << 3 << 10 << "[a] [a] a a" << true;
    QTest::newRow("a mark across the end is kept") << any << "aa"
                                                   << "aa aa" << 1 << 10 << "[aa] aa" << true;
    QTest::newRow("limit reached") << any << "a"
                                   << "a a a a" << 100 << 2 << "[a] [a] a a" << true;
    QTest::newRow("exactly the limit") << any << "a"
                                       << "a a" << 100 << 2 << "[a] [a]" << false;
    QTest::newRow("a phrase across the end") << SearchMode::ExactPhrase << "b c"
                                             << "a b c b c" << 3 << 10 << "a [b c] b c" << true;
    QTest::newRow("thousands of marks before the end")
        << any << "a" << QStringLiteral("a ").repeated(3000) + QStringLiteral("b a") << 6000 << 100000
        << QStringLiteral("[a] ").repeated(3000) + QStringLiteral("b a") << true;
    QTest::newRow("thousands of marks, none after")
        << any << "a" << QStringLiteral("a ").repeated(3000) + QStringLiteral("b") << 6000 << 100000
        << QStringLiteral("[a] ").repeated(3000) + QStringLiteral("b") << false;
    QTest::newRow("adjacent matches all found") << cross << ""
                                                << "aaaaaa" << 100 << 3 << "[aaaaaa]" << false;
    // Where the matches stop being looked for, the range they form has no known end.
    QTest::newRow("adjacent matches cut") << cross << ""
                                          << "aaaaaaaaaa" << 100 << 2 << "aaaaaaaaaa" << true;
}

void TestHighlighter::marksBeforeEnd()
{
    QFETCH(SearchMode, mode);
    QFETCH(QString, query);
    QFETCH(QString, text);
    QFETCH(int, end);
    QFETCH(int, limit);
    QFETCH(QString, expected);
    QFETCH(bool, more);
    SearchResult one = oneArticle(text, mode, query, false);
    if (mode == SearchMode::Cross)
        one.addMatchedValue(QStringLiteral("aa"));
    const highlighter::Marks marks = highlighter::hitRangesBefore(one, 0, end, limit);
    QCOMPARE(marked(text, marks.ranges), expected);
    QCOMPARE(marks.more, more);
}

void TestHighlighter::markupTermsDoNotBreakDisplay_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("expected");
    QTest::newRow("red") << "son red"
                         << "[son] [red]";
    QTest::newRow("font") << "son font"
                          << "[son] red";
    QTest::newRow("u b") << "u b son"
                         << "[son] red";
}

void TestHighlighter::markupTermsDoNotBreakDisplay()
{
    // Terms are looked for in the text, never in the markup put around earlier terms.
    QFETCH(QString, query);
    QFETCH(QString, expected);
    const QString text = QStringLiteral("son red");
    const SearchResult one = oneArticle(text, SearchMode::AnyTerm, query, false);
    QCOMPARE(marked(text, highlighter::ranges(one, text, {})), expected);
    QCOMPARE(highlighter::markedText(one, 0).count(highlighter::openingMarkup), expected.count(QLatin1Char('[')));
}

void TestHighlighter::markedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<SearchMode>("mode");
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QString>("expected");
    QTest::newRow("two terms, markup left unescaped")
        << "Le vent, l'orage & <le> Vent." << SearchMode::AllTerms << "vent orage" << false
        << "Le <font color=\"red\"><b><u>vent</u></b></font>, l'<font color=\"red\"><b><u>orage</u></b></font>"
           " & <le> <font color=\"red\"><b><u>Vent</u></b></font>.";
    QTest::newRow("case-sensitive leaves the capital")
        << "vent Vent" << SearchMode::AnyTerm << "vent" << true << "<font color=\"red\"><b><u>vent</u></b></font> Vent";
    QTest::newRow("exact phrase, one piece") << "(son grave) son" << SearchMode::ExactPhrase << "son grave" << false
                                             << "(<font color=\"red\"><b><u>son grave</u></b></font>) son";
    QTest::newRow("nothing marked: the plain text, line breaks kept")
        << "a <b>\nc" << SearchMode::AllTerms << "zzz" << false << "a <b>\nc";
    QTest::newRow("title filter marks nothing") << "son" << SearchMode::Titles << "son" << false << "son";
    QTest::newRow("word before a slash") << "[Le vent/orage]" << SearchMode::AllTerms << "vent" << false
                                         << "[Le <font color=\"red\"><b><u>vent</u></b></font>/orage]";
}

void TestHighlighter::markedText()
{
    QFETCH(QString, text);
    QFETCH(SearchMode, mode);
    QFETCH(QString, query);
    QFETCH(bool, caseSensitive);
    QFETCH(QString, expected);
    const SearchResult one = oneArticle(text, mode, query, caseSensitive);
    QCOMPARE(highlighter::markedText(one, 0), expected);
    QCOMPARE(highlighter::markedText(one, 1), QString());
    QCOMPARE(highlighter::markedText(SearchResult(), 0), QString());
}

void TestHighlighter::addHitAndTerms()
{
    ArticleEntry a;
    a.number = 0;
    ArticleEntry b;
    b.number = 1;
    SearchResult result;
    for (const ArticleEntry* entry : {&a, &a, &b, &a, &a})
        result.addHit(*entry);
    QCOMPARE(result.count(), 3);
    QCOMPARE(result.hits(), QList<const ArticleEntry*>({&a, &b, &a}));

    result.splitTerms(QStringLiteral("  le\tson   grave  "));
    QCOMPARE(result.terms(), QStringList({"le\tson", "grave"}));
    QCOMPARE(result.phrase(), QStringLiteral("le\tson grave"));
}

void TestHighlighter::findWordsAtEdges_data()
{
    // What the find bar finds in an article whose blocks meet without whitespace.
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QString>("expected");
    QTest::newRow("word before the edge") << "arch" << true << "[arch]Afficher le nom, archAfficher";
    QTest::newRow("word after the edge, case ignored") << "afficher" << false << "arch[Afficher] le nom, archAfficher";
    QTest::newRow("phrase across the edge") << "arch afficher" << false << "[archAfficher] le nom, archAfficher";
    QTest::newRow("the joined form is found where no edge is")
        << "archafficher" << false << "archAfficher le nom, [archAfficher]";
}

void TestHighlighter::findWordsAtEdges()
{
    QFETCH(QString, word);
    QFETCH(bool, caseSensitive);
    QFETCH(QString, expected);
    const QString text = QStringLiteral("archAfficher le nom, archAfficher");
    const quint32 edges[] = {4};
    const QList<Range> found = highlighter::wordRanges(text, BlockEdges(edges, 1), word,
                                                       caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive, false);
    QCOMPARE(marked(text, found), expected);
}

QTEST_GUILESS_MAIN(TestHighlighter)
#include "tst_highlighter.moc"

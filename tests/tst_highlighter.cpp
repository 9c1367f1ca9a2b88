#include "highlighter.h"
#include "wordboundary.h"

#include <QTest>

using highlighter::Range;

namespace {

// A record of the given mode over one article holding `text`.
struct OneArticle
{
    ArticleEntry entry;
    SearchResult result;

    OneArticle(const QString& text, const QString& mode, const QString& query, bool caseSensitive)
    {
        entry.text = text;
        result.setMode(mode);
        result.splitTerms(query);
        result.setCaseSensitive(caseSensitive);
        result.addHit(entry);
    }
};

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
    void separators_data();
    void separators();
    void wholeWord_data();
    void wholeWord();
    void marks_data();
    void marks();
    void crossValuesMarkInsideWords();
    void firstRangesStopAtLimit_data();
    void firstRangesStopAtLimit();
    void htmlShowsTextAsWritten();
    void markupTermsDoNotBreakDisplay_data();
    void markupTermsDoNotBreakDisplay();
    void plainWhenNothingMarked();
    void emptyRecord();
    void markedText_data();
    void markedText();
    void addHitAndTerms();
};

void TestHighlighter::separators_data()
{
    QTest::addColumn<QChar>("c");
    QTest::addColumn<bool>("separates");
    const QString yes = QStringLiteral("',?;. :!()\"«»\t\n\r\u00A0\u202F\u2009\u3000’‘“”");
    for (QChar c : yes)
        QTest::addRow("U+%04X separates", c.unicode()) << c << true;
    const QString no = QStringLiteral("-a1éœ_/&<\u2010");
    for (QChar c : no)
        QTest::addRow("U+%04X joins", c.unicode()) << c << false;
}

void TestHighlighter::separators()
{
    QFETCH(QChar, c);
    QFETCH(bool, separates);
    QCOMPARE(wordboundary::isSeparator(c), separates);
}

void TestHighlighter::wholeWord_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<bool>("found");

    QTest::newRow("between spaces") << "le son grave"
                                    << "son" << true << true;
    QTest::newRow("start of text") << "son grave"
                                   << "son" << true << true;
    QTest::newRow("end of text") << "le son"
                                 << "son" << true << true;
    QTest::newRow("whole text") << "son"
                                << "son" << true << true;
    QTest::newRow("inside a word") << "les sonates"
                                   << "son" << true << false;
    QTest::newRow("accented neighbour") << "sonné"
                                        << "son" << true << false;
    QTest::newRow("hyphen joins") << "son-et-lumière"
                                  << "son" << true << false;
    QTest::newRow("before line feed") << "le son\ngrave"
                                      << "son" << true << true;
    QTest::newRow("after tab") << "le\tson."
                               << "son" << true << true;
    QTest::newRow("guillemets with nbsp") << "«\u00A0son\u00A0»"
                                          << "son" << true << true;
    QTest::newRow("typographic apostrophe") << "l’écho"
                                            << "écho" << true << true;
    QTest::newRow("parentheses") << "(son)"
                                 << "son" << true << true;
    QTest::newRow("second occurrence whole") << "sonar, son"
                                             << "son" << true << true;
    QTest::newRow("case ignored") << "Le SON."
                                  << "son" << false << true;
    QTest::newRow("case respected") << "Le SON."
                                    << "son" << true << false;
    QTest::newRow("accents never ignored") << "le sôn"
                                           << "son" << false << false;
    QTest::newRow("empty pattern") << "son"
                                   << "" << true << false;
    QTest::newRow("pattern with comma") << "le son, puis"
                                        << "son," << true << true;
}

void TestHighlighter::wholeWord()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(bool, caseSensitive);
    QFETCH(bool, found);
    QCOMPARE(wordboundary::containsWholeWord(text, pattern, caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive),
             found);
}

void TestHighlighter::marks_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    const QString any = QStringLiteral("auMoinsUn");
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
    QTest::newRow("case respected") << "tous"
                                    << "son" << true << "Le SON et le son."
                                    << "Le SON et le [son].";
    QTest::newRow("two terms") << "tous"
                               << "vent son" << false << "Le vent, le son."
                               << "Le [vent], le [son].";
    QTest::newRow("hyphen and line break") << any << "son" << false << "son-et\nson\n"
                                           << "son-et\n[son]\n";
    QTest::newRow("exact phrase as one piece") << "exact"
                                               << "son  grave" << false << "un son grave, son ou grave"
                                               << "un [son grave], son ou grave";
    QTest::newRow("exact needs one space") << "exact"
                                           << "son grave" << false << "son\ngrave son  grave"
                                           << "son\ngrave son  grave";
    QTest::newRow("overlapping terms merge") << any << "l'eau eau" << false << "de l'eau."
                                             << "de [l'eau].";
    QTest::newRow("title mode marks nothing") << "Corpus"
                                              << "son" << false << "le son"
                                              << "le son";
    QTest::newRow("empty mode marks nothing") << ""
                                              << "son" << false << "le son"
                                              << "le son";
    QTest::newRow("unknown mode marks nothing") << "autre"
                                                << "son" << false << "le son"
                                                << "le son";
}

void TestHighlighter::marks()
{
    QFETCH(QString, mode);
    QFETCH(QString, query);
    QFETCH(bool, caseSensitive);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const OneArticle one(text, mode, query, caseSensitive);
    QCOMPARE(marked(text, highlighter::ranges(one.result, text)), expected);
}

void TestHighlighter::crossValuesMarkInsideWords()
{
    OneArticle one(QStringLiteral("sonate et Son"), QStringLiteral("croisee"), QString(), true);
    one.result.addMatchedValue(QStringLiteral("son"));
    QCOMPARE(marked(one.entry.text, highlighter::ranges(one.result, one.entry.text)),
             QStringLiteral("[son]ate et Son"));
}

void TestHighlighter::firstRangesStopAtLimit_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("expected");

    const QString any = QStringLiteral("auMoinsUn");
    const QString cross = QStringLiteral("croisee");
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
    QFETCH(QString, mode);
    QFETCH(QString, query);
    QFETCH(QString, text);
    QFETCH(int, limit);
    QFETCH(QString, expected);
    OneArticle one(text, mode, query, false);
    if (mode == QStringLiteral("croisee"))
        one.result.addMatchedValue(QStringLiteral("aa"));
    QCOMPARE(marked(text, highlighter::firstRanges(one.result, text, limit)), expected);
}

void TestHighlighter::htmlShowsTextAsWritten()
{
    const QString text = QStringLiteral("a < b & c\n« son »");
    const QString html = highlighter::toHtml(text, {{12, 3}});
    QCOMPARE(html, QStringLiteral("<p style=\"white-space:pre-wrap\">a &lt; b &amp; c\n« ") +
                       highlighter::openingMarkup + QStringLiteral("son") + highlighter::closingMarkup +
                       QStringLiteral(" »</p>"));
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
    const OneArticle one(text, QStringLiteral("auMoinsUn"), query, false);
    QCOMPARE(marked(text, highlighter::ranges(one.result, text)), expected);
    const highlighter::Rendering rendering = highlighter::render(one.result, 0);
    QVERIFY(rendering.rich);
    QCOMPARE(rendering.text.count(highlighter::openingMarkup), expected.count(QLatin1Char('[')));
}

void TestHighlighter::plainWhenNothingMarked()
{
    const OneArticle one(QStringLiteral("a <b> c"), QStringLiteral("tous"), QStringLiteral("zzz"), false);
    const highlighter::Rendering rendering = highlighter::render(one.result, 0);
    QVERIFY(!rendering.rich);
    QCOMPARE(rendering.text, QStringLiteral("a <b> c"));
}

void TestHighlighter::emptyRecord()
{
    const highlighter::Rendering rendering = highlighter::render(SearchResult(), 0);
    QVERIFY(rendering.text.isEmpty());
    QVERIFY(!rendering.rich);
}

void TestHighlighter::markedText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QString>("expected");
    QTest::newRow("two terms, markup left unescaped")
        << "Le vent, l'orage & <le> Vent."
        << "tous"
        << "vent orage" << false
        << "Le <font color=\"red\"><b><u>vent</u></b></font>, l'<font color=\"red\"><b><u>orage</u></b></font>"
           " & <le> <font color=\"red\"><b><u>Vent</u></b></font>.";
    QTest::newRow("case-sensitive leaves the capital")
        << "vent Vent"
        << "auMoinsUn"
        << "vent" << true << "<font color=\"red\"><b><u>vent</u></b></font> Vent";
    QTest::newRow("exact phrase, one piece")
        << "(son grave) son"
        << "exact"
        << "son grave" << false << "(<font color=\"red\"><b><u>son grave</u></b></font>) son";
    QTest::newRow("nothing marked: the plain text, line breaks kept") << "a <b>\nc"
                                                                      << "tous"
                                                                      << "zzz" << false << "a <b>\nc";
    QTest::newRow("title filter marks nothing") << "son"
                                                << "Corpus"
                                                << "son" << false << "son";
}

void TestHighlighter::markedText()
{
    QFETCH(QString, text);
    QFETCH(QString, mode);
    QFETCH(QString, query);
    QFETCH(bool, caseSensitive);
    QFETCH(QString, expected);
    const OneArticle one(text, mode, query, caseSensitive);
    QCOMPARE(highlighter::markedText(one.result, 0), expected);
    QCOMPARE(highlighter::markedText(one.result, 1), QString());
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

QTEST_GUILESS_MAIN(TestHighlighter)
#include "tst_highlighter.moc"

#include "corpus/corpusdocument.h"
#include "corpus/corpusfile.h"
#include "tests/testcorpus.h"

#include <QTest>

namespace {

CorpusDocument corpusOf(const QByteArray& xml)
{
    return testcorpus::of(xml);
}

QStringList titles(const CorpusDocument& corpus)
{
    QStringList result;
    for (const ArticleEntry& entry : corpus.articles())
        result << entry.title;
    return result;
}

} // namespace

class TestArticleIndex : public QObject
{
    Q_OBJECT
private slots:
    void titleRule_data();
    void titleRule();
    void articles_data();
    void articles();
    void articleTextKeepsWhitespace();
    void numbersRestartOnRebuild();
    void elementNames();
    void elementChoices_data();
    void elementChoices();
    void fixtureFile();
    void elements_data();
    void elements();
    void articleTextAsWritten();
    void blockEdges_data();
    void blockEdges();
    void roles_data();
    void roles();
};

void TestArticleIndex::titleRule_data()
{
    QTest::addColumn<QByteArray>("article");
    QTest::addColumn<QString>("title");

    QTest::newRow("heading first") << QByteArray("<art><titre>VENT</titre><texte>s. m.</texte></art>") << "VENT";
    QTest::newRow("heading after indentation")
        << QByteArray("<art>\n  <titre>VENT</titre>\n  <texte>s. m.</texte>\n</art>") << "VENT";
    QTest::newRow("nested first children")
        << QByteArray("<art><entete><vedette><mot>ÉCHO</mot></vedette></entete><texte>x</texte></art>") << "ÉCHO";
    QTest::newRow("empty heading then sibling")
        << QByteArray("<art><titre></titre><soustitre>CLOCHE</soustitre><texte>x</texte></art>") << "CLOCHE";
    QTest::newRow("blank heading counts as empty")
        << QByteArray("<art><titre>  \n </titre><soustitre>CLOCHE</soustitre></art>") << "CLOCHE";
    QTest::newRow("empty heading, sibling with children")
        << QByteArray("<art><titre/><bloc><mot>ORGUE</mot><x>y</x></bloc></art>") << "ORGUE";
    QTest::newRow("text only") << QByteArray("<art>Le son grave.</art>") << "Le son grave.";
    QTest::newRow("mixed content, text first") << QByteArray("<art>Le <b>son</b> grave</art>") << "Le son grave";
    QTest::newRow("whole text empty") << QByteArray("<art><titre/><texte/></art>") << "";
    QTest::newRow("empty article") << QByteArray("<art/>") << "";
    QTest::newRow("leaf and siblings empty, text elsewhere")
        << QByteArray("<art><a><b/><c/></a><d>loin</d></art>") << "";
    QTest::newRow("cdata title") << QByteArray("<art><titre><![CDATA[A & B]]></titre></art>") << "A & B";
    QTest::newRow("entities decoded") << QByteArray("<art><titre>L&apos;&#201;T&#xC9; &lt;x&gt;</titre></art>")
                                      << "L'ÉTÉ <x>";
    QTest::newRow("comment after empty heading")
        << QByteArray("<art><titre/><!-- illisible --><texte>x</texte></art>") << "";
    QTest::newRow("comment first") << QByteArray("<art><!-- note --><titre>A</titre> <texte>b</texte></art>") << "Ab";
    QTest::newRow("attributes only") << QByteArray("<art><renvoi cible=\"SON\"/><titre>SON</titre></art>") << "SON";
    QTest::newRow("leading U+FEFF kept") << QByteArray("<art>&#xFEFF;Le son</art>") << QStringLiteral("\uFEFFLe son");
}

void TestArticleIndex::titleRule()
{
    QFETCH(QByteArray, article);
    QFETCH(QString, title);
    const CorpusDocument corpus = corpusOf("<corpus>" + article + "</corpus>");
    QCOMPARE(corpus.articleCount(), 1);
    QCOMPARE(corpus.articles().front().title, title);
}

void TestArticleIndex::articles_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QStringList>("titles");

    QTest::newRow("three in order") << QByteArray("<c><a><t>UN</t></a><a><t>DEUX</t></a><a><t>TROIS</t></a></c>")
                                    << QStringList{"UN", "DEUX", "TROIS"};
    QTest::newRow("same title twice") << QByteArray("<c><a><t>SON</t></a><a><t>SON</t></a></c>")
                                      << QStringList{"SON", "SON"};
    QTest::newRow("comment between articles")
        << QByteArray("<c><a><t>UN</t></a><a><t>DEUX</t></a><!-- fin ? --><a><t>TROIS</t></a></c>")
        << QStringList{"UN", "DEUX", "TROIS"};
    QTest::newRow("processing instruction and stray text")
        << QByteArray("<c><?page 2?><a><t>UN</t></a>texte égaré<a><t>DEUX</t></a></c>") << QStringList{"UN", "DEUX"};
    QTest::newRow("no articles") << QByteArray("<c>juste du texte</c>") << QStringList{};
    QTest::newRow("empty document element") << QByteArray("<c/>") << QStringList{};
}

void TestArticleIndex::articles()
{
    QFETCH(QByteArray, xml);
    QFETCH(QStringList, titles);
    const CorpusDocument corpus = corpusOf(xml);
    QCOMPARE(::titles(corpus), titles);
    QCOMPARE(corpus.articleCount(), titles.size());
    for (int i = 0; i < corpus.articleCount(); ++i)
        QCOMPARE(corpus.articles()[size_t(i)].number, i);
}

void TestArticleIndex::articleTextKeepsWhitespace()
{
    const CorpusDocument corpus =
        corpusOf("<c><a>\n<titre>VENT</titre>\n<texte>s. m. <i>Air</i> <b>agité</b>.</texte>\n</a></c>");
    QCOMPARE(corpus.articles().front().text, QStringLiteral("\nVENT\ns. m. Air agité.\n"));
    QCOMPARE(corpus.articles().front().title, QStringLiteral("VENT"));
}

void TestArticleIndex::numbersRestartOnRebuild()
{
    CorpusDocument corpus = corpusOf("<c><a><t>UN</t></a><a><t>DEUX</t></a></c>");
    std::optional<CorpusContent> other = corpusfile::parse("<d><b><t>AUTRE</t></b></d>");
    QVERIFY(other);
    corpus.clearArticles();
    QCOMPARE(corpus.articleCount(), 0);
    QCOMPARE(corpus.elementIndex().articleCount(), 0);
    corpus.setContent(std::move(*other));
    QCOMPARE(titles(corpus), QStringList{"AUTRE"});
    QCOMPARE(corpus.articles().front().number, 0);
}

void TestArticleIndex::elementNames()
{
    const CorpusDocument corpus = corpusOf("<ev:c xmlns:ev=\"urn:x\"><a><t>x</t><t/></a><a><ev:t/></a></ev:c>");
    QCOMPARE(corpus.elementNames(), QStringList({"ev:c", "a", "t", "ev:t"}));
}

void TestArticleIndex::elementChoices_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<QStringList>("names"); // what each choice searches, when not what it shows
    const QString any = CorpusDocument::anyValue;
    const QByteArray longName(60, 'n');

    QTest::newRow("distinct sorted without root") << QByteArray("<corpus><b/><a><b/><corpus/></a><B/><é/><z/></corpus>")
                                                  << QStringList{any, "a", "b", "B", "é", "z"} << QStringList();
    QTest::newRow("accented capitals in the reader's order")
        << QByteArray("<r><SYNONYME/><ÉTYMOLOGIE/><DEFINITION/><étymologie/></r>")
        << QStringList{any, "DEFINITION", "étymologie", "ÉTYMOLOGIE", "SYNONYME"} << QStringList();
    QTest::newRow("prefix before longer")
        << QByteArray("<r><titre2/><titre/></r>") << QStringList{any, "titre", "titre2"} << QStringList();
    // Both long names are offered, each searching its own element.
    QTest::newRow("long names cut") << QByteArray("<r><" + longName + "/><" + longName + "x/><" + longName + "/></r>")
                                    << QStringList{any, QString(50, QLatin1Char('n')), QString(50, QLatin1Char('n'))}
                                    << QStringList{any, QString(60, QLatin1Char('n')),
                                                   QString(60, QLatin1Char('n')) + "x"};
    QTest::newRow("long root listed cut")
        << QByteArray("<" + longName + "><a/></" + longName + ">")
        << QStringList{any, "a", QString(50, QLatin1Char('n'))} << QStringList{any, "a", QString(60, QLatin1Char('n'))};
    QTest::newRow("root only") << QByteArray("<r/>") << QStringList{any} << QStringList();
}

void TestArticleIndex::elementChoices()
{
    QFETCH(QByteArray, xml);
    QFETCH(QStringList, choices);
    QFETCH(QStringList, names);
    QStringList shown;
    QStringList searched;
    for (const ElementChoice& choice : corpusOf(xml).elementChoices()) {
        shown << choice.shown;
        searched << choice.name;
    }
    QCOMPARE(shown, choices);
    QCOMPARE(searched, names.isEmpty() ? choices : names);
}

void TestArticleIndex::fixtureFile()
{
    const QString path = QFINDTESTDATA("data/petit.xml");
    QVERIFY(!path.isEmpty());
    corpusfile::Result read = corpusfile::read(path);
    QCOMPARE(read.status, corpusfile::Status::Ok);
    CorpusDocument corpus;
    corpus.setContent(std::move(*read.content));
    QCOMPARE(titles(corpus), QStringList({"VENT", "ÉCHO", "SON", "", "SON", "CLOCHE"}));
    QVERIFY(corpus.articles()[0].text.contains(QStringLiteral("VENT\n")));
}

void TestArticleIndex::elements_data()
{
    QTest::addColumn<QByteArray>("article");
    QTest::addColumn<QStringList>("elements"); // name=text|values, in document order
    QTest::addColumn<bool>("hasChildNode");

    QTest::newRow("flat") << QByteArray("<art><t>VENT</t><d a=\"1\" b=\"x\">air</d></art>")
                          << QStringList{"t=VENT|", "d=air|1,x"} << true;
    QTest::newRow("nested, whitespace kept") << QByteArray("<art><d><p>5°</p> <p>Se disait</p></d></art>")
                                             << QStringList{"d=5° Se disait|", "p=5°|", "p=Se disait|"} << true;
    QTest::newRow("mixed content and cdata")
        << QByteArray("<art>Le <b>son</b><![CDATA[ <grave> ]]><i/>fin</art>") << QStringList{"b=son|", "i=|"} << true;
    QTest::newRow("surrogate pairs before")
        << QByteArray("<art>𝔄𝔅<x>é</x><y>𝔄b</y></art>") << QStringList{"x=é|", "y=𝔄b|"} << true;
    QTest::newRow("entities") << QByteArray("<art><x v=\"&lt;&amp;\">&#233;&amp;</x></art>") << QStringList{"x=é&|<&"}
                              << true;
    QTest::newRow("comment and instruction")
        << QByteArray("<art><x>a<!-- c --><?p i?>b</x></art>") << QStringList{"x=ab|"} << true;
    QTest::newRow("comment only") << QByteArray("<art><!-- c --></art>") << QStringList() << true;
    QTest::newRow("whitespace only") << QByteArray("<art>  \n </art>") << QStringList() << false;
    QTest::newRow("empty") << QByteArray("<art/>") << QStringList() << false;
    QTest::newRow("deep") << QByteArray("<art><a><b><c>x</c>y</b>z</a>w</art>")
                          << QStringList{"a=xyz|", "b=xy|", "c=x|"} << true;
    // Texts without whitespace at either end; inner whitespace as written.
    QTest::newRow("indented text trimmed")
        << QByteArray("<art>\n  <instrument>\n      orgue\n    </instrument>\n</art>")
        << QStringList{"instrument=orgue|"} << true;
    QTest::newRow("trimmed across children") << QByteArray("<art><d>\n <p> grand\n orgue </p>\n <p/> \n</d></art>")
                                             << QStringList{"d=grand\n orgue|", "p=grand\n orgue|", "p=|"} << true;
    QTest::newRow("unicode spaces trimmed")
        << QByteArray("<art><x>&#xA0;\xE3\x80\x80orgue&#x2003;&#x85;</x></art>") << QStringList{"x=orgue|"} << true;
    QTest::newRow("whitespace-only element empty")
        << QByteArray("<art><x> \n&#xA0;</x><y><![CDATA[  ]]></y></art>") << QStringList{"x=|", "y=|"} << true;
    QTest::newRow("leading U+FEFF kept") << QByteArray("<art><x k=\"&#xFEFF;v\">&#xFEFF;t</x><y k=\"v\">t</y></art>")
                                         << QStringList{QStringLiteral("x=\uFEFFt|\uFEFFv"), "y=t|v"} << true;
}

void TestArticleIndex::elements()
{
    QFETCH(QByteArray, article);
    QFETCH(QStringList, elements);
    QFETCH(bool, hasChildNode);
    const CorpusDocument corpus = corpusOf("<r>" + article + "<next><n>1</n></next></r>");
    QCOMPARE(corpus.articleCount(), 2);
    const ElementIndex& index = corpus.elementIndex();
    const ElementIndex::Article found = index.article(0);
    const QString& text = corpus.articles()[0].text;
    QStringList actual;
    for (const ElementIndex::Element* e = found.begin; e != found.end; ++e) {
        QStringList values;
        for (quint32 i = 0; i < e->valueCount; ++i)
            values << index.value(index.values(*e)[i]);
        const ElementIndex::TextRange range = found.texts[e - found.begin];
        actual << index.name(found.names[e - found.begin]) + "=" + text.mid(range.start, range.end - range.start) +
                      "|" + values.join(QLatin1Char(','));
    }
    QCOMPARE(actual, elements);
    QCOMPARE(found.hasChildNode, hasChildNode);
    // The next article's elements are its own.
    const ElementIndex::Article next = index.article(1);
    QCOMPARE(next.end - next.begin, 1);
    QCOMPARE(index.name(next.names[0]), QStringLiteral("n"));
}

void TestArticleIndex::articleTextAsWritten()
{
    // Every character of the article's text nodes, whitespace between elements included.
    const CorpusDocument petit = testcorpus::ofFile(QFINDTESTDATA("data/petit.xml"));
    QCOMPARE(petit.articleCount(), 6);
    QCOMPARE(petit.articles()[2].text,
             QStringLiteral("\n    SON\n    Le son est une vibration <audible> & mesurable.\n    physique\n  "));
    QCOMPARE(petit.articles()[3].text, QStringLiteral("\n    \n    \n  "));
    const CorpusDocument croisee = testcorpus::ofFile(QFINDTESTDATA("data/croisee.xml"));
    QCOMPARE(croisee.articles()[3].text, QStringLiteral("SILENCE Rien, absolument rien."));
    QCOMPARE(croisee.articles()[6].text, QString());
}

void TestArticleIndex::blockEdges_data()
{
    QTest::addColumn<QByteArray>("article");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("edges");

    QTest::newRow("title then summary") << QByteArray("<art><titre>arch</titre><resume>Afficher le nom</resume></art>")
                                        << "archAfficher le nom" << QList<int>{4};
    QTest::newRow("headword then text") << QByteArray("<art><vedette>ART0</vedette><texte>vent souffle</texte></art>")
                                        << "ART0vent souffle" << QList<int>{4};
    QTest::newRow("headword, pronunciation, text")
        << QByteArray("<art><hw>abandon</hw><pr>(a-ban'don)</pr><def>To give up</def></art>")
        << "abandon(a-ban'don)To give up" << QList<int>{7, 18};
    QTest::newRow("nested blocks") << QByteArray("<art><sec><p>un</p><p>deux</p></sec><sec><p>trois</p></sec></art>")
                                   << "undeuxtrois" << QList<int>{2, 6};
    QTest::newRow("empty element between two words")
        << QByteArray("<art><a>arch</a><b/><c>vent</c></art>") << "archvent" << QList<int>{4};
    QTest::newRow("comment between two blocks")
        << QByteArray("<art><a>arch</a><!-- note --><b>vent</b></art>") << "archvent" << QList<int>{4};
    QTest::newRow("instruction between two blocks")
        << QByteArray("<art><a>arch</a><?page 2?><b>vent</b></art>") << "archvent" << QList<int>{4};
    QTest::newRow("inline markup joins") << QByteArray("<art><p>XVI<sup>e</sup> siècle</p><p>le <i>vent</i>s</p></art>")
                                         << "XVIe sièclele vents" << QList<int>{11};
    QTest::newRow("mixed content at several depths")
        << QByteArray("<art><p>x<b><c>un</c><d>deux</d></b>y<e>z</e></p><q>fin</q></art>") << "xundeuxyzfin"
        << QList<int>{1, 3, 7, 9};
    QTest::newRow("article with text of its own: inline children")
        << QByteArray("<art>Le <b>son</b>grave<i>ment</i></art>") << "Le songravement" << QList<int>{};
    QTest::newRow("cdata is text of its own")
        << QByteArray("<art><a>x</a><![CDATA[y]]><b>z</b></art>") << "xyz" << QList<int>{};
    QTest::newRow("whitespace between blocks: nothing kept")
        << QByteArray("<art>\n <titre>VENT</titre>\n <texte>s. m.</texte>\n</art>") << "\n VENT\n s. m.\n"
        << QList<int>{};
    QTest::newRow("whitespace inside the blocks: nothing kept")
        << QByteArray("<art><t>VENT </t><d> air</d></art>") << "VENT  air" << QList<int>{};
    QTest::newRow("the article's ends: nothing kept") << QByteArray("<art><a>x</a></art>") << "x" << QList<int>{};
    QTest::newRow("beside punctuation: kept")
        << QByteArray("<art><a>vent.</a><b>Air</b></art>") << "vent.Air" << QList<int>{5};
}

void TestArticleIndex::blockEdges()
{
    QFETCH(QByteArray, article);
    QFETCH(QString, text);
    QFETCH(QList<int>, edges);
    const CorpusDocument corpus = corpusOf("<r>" + article + "<next><a>un</a><b>deux</b></next></r>");
    QCOMPARE(corpus.articleCount(), 2);
    const ArticleEntry& entry = corpus.articles()[0];
    QCOMPARE(entry.text, text);
    QList<int> actual;
    for (const quint32 edge : entry.edges)
        actual << int(edge);
    QCOMPARE(actual, edges);
    // The article sees the index's own list, and the next article its own.
    QCOMPARE(corpus.elementIndex().edges(0).begin(), entry.edges.begin());
    QCOMPARE(corpus.articles()[1].edges.size(), 1);
    QCOMPARE(*corpus.articles()[1].edges.begin(), 2u);
}

void TestArticleIndex::roles_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QStringList>("roles"); // name=role, with its heading's attribute, in the index's order

    QTest::newRow("title, short and long inline in mixed content")
        << QByteArray("<r><a><v>VENT</v>, <c>s. m.</c> <d>" + QByteArray(100, 'x') +
                      "</d></a>"
                      "<a><v>SON</v>, <c>s. m.</c> <d>" +
                      QByteArray(70, 'y') + "</d></a></r>")
        << QStringList{"v=Titre", "c=Italique", "d=Normal"};
    QTest::newRow("children of element-only content are paragraphs")
        << QByteArray("<r><a><t>UN</t>\n <s><d>air</d> <e>ex.</e></s></a></r>")
        << QStringList{"t=Titre", "s=Paragraphe", "d=Paragraphe", "e=Paragraphe"};
    QTest::newRow("short values that repeat make headings")
        << QByteArray(
               "<r><a><t>A</t><s n=\"1\">x</s><s n=\"2\">y</s><s n=\"1\">z</s><s n=\"1\">w</s><s n=\"2\">v</s></a></r>")
        << QStringList{"t=Titre", "s=Intertitre(n)"};
    QTest::newRow("identifiers make no headings")
        << QByteArray("<r><a><t>A</t><s id=\"s1\">x</s><s id=\"s2\">y</s><s id=\"s3\">z</s></a></r>")
        << QStringList{"t=Titre", "s=Paragraphe"};
    QTest::newRow("long values make no headings")
        << QByteArray("<r><a><t>A</t><s k=\"" + QByteArray(41, 'k') + "\">x</s><s k=\"" + QByteArray(41, 'k') +
                      "\">y</s><s k=\"" + QByteArray(41, 'k') + "\">z</s></a></r>")
        << QStringList{"t=Titre", "s=Paragraphe"};
    QTest::newRow("forty characters of two bytes still short")
        << QByteArray("<r><a><t>A</t><s k=\"" + QString(40, QChar(u'é')).toUtf8() + "\">x</s><s k=\"" +
                      QString(40, QChar(u'é')).toUtf8() + "\">y</s><s k=\"" + QString(40, QChar(u'é')).toUtf8() +
                      "\">z</s></a></r>")
        << QStringList{"t=Titre", "s=Intertitre(k)"};
    QTest::newRow("the attribute on most elements heads")
        << QByteArray("<r><a><t>A</t><s n=\"1\" g=\"x\">x</s><s n=\"1\">y</s><s n=\"1\" g=\"x\">z</s>"
                      "<s n=\"1\">w</s><s n=\"1\" g=\"x\">v</s></a></r>")
        << QStringList{"t=Titre", "s=Intertitre(n)"};
    QTest::newRow("HTML names in their meaning")
        << QByteArray("<r><a>A <b>b</b><strong>s</strong><i>i</i><em>e</em><u>u</u><sup>2</sup><sub>3</sub><br/>"
                      "<p>" +
                      QByteArray(100, 'p') + "</p></a></r>")
        << QStringList{"b=Gras",       "strong=Gras", "i=Italique",       "em=Italique", "u=Souligné",
                       "sup=Exposant", "sub=Indice",  "br=Saut de ligne", "p=Paragraphe"};
    QTest::newRow("most occurrences decide")
        << QByteArray("<r><a><t>A</t><x>un</x><x>deux</x></a><a><t>B</t> et <x>trois</x></a></r>")
        << QStringList{"t=Titre", "x=Paragraphe"};
    QTest::newRow("title nested in a block")
        << QByteArray("<r><a><h><t>A</t><g>n.</g></h><d>air</d></a><a><h><t>B</t></h><d>eau</d></a></r>")
        << QStringList{"h=Paragraphe", "t=Titre", "g=Paragraphe", "d=Paragraphe"};
}

void TestArticleIndex::roles()
{
    QFETCH(QByteArray, xml);
    QFETCH(QStringList, roles);
    const CorpusDocument corpus = corpusOf(xml);
    const ElementIndex& index = corpus.elementIndex();
    const ElementRoles& guessed = corpus.content()->roles;
    QStringList actual;
    for (quint32 name = 0; name < index.nameCount(); ++name) {
        QString role = index.name(name) + "=" + ElementRoles::roleName(guessed.role(name));
        if (guessed.role(name) == ElementRole::Heading)
            role += "(" + index.attributeName(guessed.headingAttribute(name)) + ")";
        actual << role;
    }
    QCOMPARE(actual, roles);
}

QTEST_GUILESS_MAIN(TestArticleIndex)
#include "tst_articleindex.moc"

#include "corpus/corpusfile.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// The text of the first article of a parsed document, or "<refused>".
QString firstArticleText(const QByteArray& bytes)
{
    const std::optional<CorpusContent> content = corpusfile::parse(bytes);
    if (!content)
        return QStringLiteral("<refused>");
    return content->articles.empty() ? QStringLiteral("<no article>") : content->articles.front().text;
}

} // namespace

class TestXmlDecoder : public QObject
{
    Q_OBJECT
private slots:
    void decodes_data();
    void decodes();
    void rejects_data();
    void rejects();
    void entities_data();
    void entities();
    void externalEntityIsNeverRead();
    void piecesCutAnywhere_data();
    void piecesCutAnywhere();
};

// Bytes of "<r><a>été œ</a></r>" in several encodings, with and without declarations.
void TestXmlDecoder::decodes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const QString ete = QStringLiteral("été œ");

    QTest::newRow("utf8 plain") << QByteArray("<r><a>\xC3\xA9t\xC3\xA9 \xC5\x93</a></r>") << ete;
    QTest::newRow("utf8 bom") << QByteArray("\xEF\xBB\xBF<r><a>\xC3\xA9t\xC3\xA9 \xC5\x93</a></r>") << ete;
    QTest::newRow("utf8 declared")
        << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?><r><a>\xC3\xA9t\xC3\xA9 \xC5\x93</a></r>") << ete;
    QTest::newRow("latin1 declared") << QByteArray(
                                            "<?xml version='1.0' encoding='ISO-8859-1'?><r><a>\xE9t\xE9 oe</a></r>")
                                     << QStringLiteral("été oe");
    QTest::newRow("cp1252 declared")
        << QByteArray("<?xml version=\"1.0\" encoding=\"windows-1252\"?><r><a>\xE9t\xE9 \x9C</a></r>") << ete;
    QTest::newRow("declared spaces around =")
        << QByteArray("<?xml version=\"1.0\" encoding = \"latin1\" ?><r><a>\xE9t\xE9 oe</a></r>")
        << QStringLiteral("été oe");
    QTest::newRow("latin9 declared via codec")
        << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-15\"?><r><a>\xE9t\xE9 \xBD</a></r>") << ete;
    QTest::newRow("bom wins over declaration")
        << QByteArray(
               "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r><a>\xC3\xA9t\xC3\xA9 \xC5\x93</a></r>")
        << ete;

    const QString xml = QStringLiteral("<r><a>été œ</a></r>");
    QByteArray utf16le("\xFF\xFE", 2);
    QByteArray utf16be("\xFE\xFF", 2);
    for (QChar c : xml) {
        utf16le.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
        utf16be.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    }
    QTest::newRow("utf16le bom") << utf16le << ete;
    QTest::newRow("utf16be bom") << utf16be << ete;

    // Without a declaration, or declared UTF-8: UTF-8 where the bytes are, Windows-1252 elsewhere.
    QTest::newRow("one stray latin1 byte among utf8")
        << QByteArray("<r><a>\xC3\xA9t\xC3\xA9 \xE0 \xC5\x93</a></r>") << QStringLiteral("été à œ");
    QTest::newRow("latin1 undeclared") << QByteArray("<r><a>\xE9t\xE9 \xE0 l'\xE9\x63ole</a></r>")
                                       << QStringLiteral("été à l'école");
    QTest::newRow("cp1252 undeclared") << QByteArray("<r><a>\x8C\x80 \x93\x9C\x94</a></r>") << QStringLiteral("Œ€ “œ”");
    QTest::newRow("declared utf8 holding latin1")
        << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?><r><a>\xE9t\xE9</a></r>") << QStringLiteral("été");
    QTest::newRow("surrogate pair in utf8")
        << QByteArray("<r><a>\xF0\x9D\x94\x84</a></r>") << QStringLiteral("\U0001D504");
}

void TestXmlDecoder::decodes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(firstArticleText(bytes), text);
}

void TestXmlDecoder::rejects_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("plain text") << QByteArray("Ceci n'est pas du XML.");
    QTest::newRow("truncated") << QByteArray("<corpus><article><titre>VENT</titre>");
    QTest::newRow("mismatched tags") << QByteArray("<corpus><article></corpus></article>");
    QTest::newRow("two document elements") << QByteArray("<a/><b/>");
    QTest::newRow("text after document element") << QByteArray("<a/>texte");
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1A\n\x00\x00\x00\rIHDR\x00\x00", 18);
    QTest::newRow("nul inside") << QByteArray("<a>x\0y</a>", 10);
    QTest::newRow("unknown encoding") << QByteArray("<?xml version=\"1.0\" encoding=\"x-nowhere\"?><a/>");

    // Nothing is replaced silently.
    QByteArray loneSurrogate("\xFF\xFE<\0r\0>\0\x00\xD8x\0<\0/\0r\0>\0", 20);
    QTest::newRow("utf16 lone surrogate") << loneSurrogate;
    QTest::newRow("undefined byte in declared cp1252")
        << QByteArray("<?xml version=\"1.0\" encoding=\"windows-1252\"?><r><a>\x81</a></r>");
    QTest::newRow("invalid bytes in declared shift_jis")
        << QByteArray("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><r><a>\x81\x20</a></r>");
    QTest::newRow("high byte in declared ascii")
        << QByteArray("<?xml version=\"1.0\" encoding=\"US-ASCII\"?><r><a>\xE9</a></r>");

    // Not well-formed XML 1.0.
    QTest::newRow("undeclared entity") << QByteArray("<r><a>&eacute;</a></r>");
    QTest::newRow("bare ampersand") << QByteArray("<r><a>A & B</a></r>");
    QTest::newRow("duplicate attribute") << QByteArray("<r><a x=\"1\" x=\"2\"/></r>");
    QTest::newRow("less-than in attribute") << QByteArray("<r><a x=\"<\"/></r>");
    QTest::newRow("control character") << QByteArray("<r><a>\x01</a></r>");
    QTest::newRow("surrogate reference") << QByteArray("<r><a>&#xD800;</a></r>");
    QTest::newRow("nul reference") << QByteArray("<r><a>AB&#0;CD</a></r>");
    QTest::newRow("billion laughs") << QByteArray(
        "<!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
        "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\"><!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">"
        "<!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\"><!ENTITY h \"&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;\">"
        "<!ENTITY i \"&h;&h;&h;&h;&h;&h;&h;&h;&h;&h;\">]><r><a>&i;</a></r>");
}

void TestXmlDecoder::rejects()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!corpusfile::parse(bytes));
}

void TestXmlDecoder::entities_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("predefined and numeric")
        << QByteArray("<r><a>&lt;&amp;&gt;&apos;&quot;&#233;&#xE9;</a></r>") << QStringLiteral("<&>'\"éé");
    QTest::newRow("declared in the document")
        << QByteArray("<!DOCTYPE r [<!ENTITY e \"\xC3\xA9t\xC3\xA9\"><!ENTITY f \"&e; &amp; <b>gras</b>\">]>"
                      "<r><a>&e;, &f;</a></r>")
        << QStringLiteral("été, été & gras");
    QTest::newRow("declared outside the file, kept as written")
        << QByteArray("<!DOCTYPE r SYSTEM \"dico.dtd\"><r><a>caf&eacute; cr&egrave;me</a></r>")
        << QStringLiteral("caf&eacute; cr&egrave;me");
    QTest::newRow("character references beyond the basic plane")
        << QByteArray("<r><a>&#x1D504;</a></r>") << QStringLiteral("\U0001D504");
}

void TestXmlDecoder::entities()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(firstArticleText(bytes), text);
}

void TestXmlDecoder::externalEntityIsNeverRead()
{
    QTemporaryDir dir;
    QFile secret(dir.filePath(QStringLiteral("secret.txt")));
    QVERIFY(secret.open(QIODevice::WriteOnly));
    secret.write("CONFIDENTIEL");
    secret.close();
    const QByteArray xml = "<?xml version=\"1.0\"?>\n<!DOCTYPE corpus [<!ENTITY s SYSTEM \"file://" +
                           secret.fileName().toUtf8() + "\">]>\n<corpus><article>avant &s; après</article></corpus>";
    QCOMPARE(firstArticleText(xml), QStringLiteral("avant  après"));
}

void TestXmlDecoder::piecesCutAnywhere_data()
{
    // Files read in pieces: what the end of a piece cuts must come out whole.
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QByteArray>("cut"); // bytes that straddle the first piece's end
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("utf16");
    QTest::newRow("utf8 sequence") << QByteArray() << QByteArray("\xF0\x9D\x94\x84\xC3\xA9")
                                   << QStringLiteral("\U0001D504é") << false;
    QTest::newRow("utf8 with a stray latin1 byte")
        << QByteArray() << QByteArray("\xC3\xA9\xE9\xC3\xA9") << QStringLiteral("ééé") << false;
    QTest::newRow("utf16 surrogate pair")
        << QByteArray("\xFF\xFE") << QByteArray() << QStringLiteral("\U0001D504") << true;
}

void TestXmlDecoder::piecesCutAnywhere()
{
    QFETCH(QByteArray, head);
    QFETCH(QByteArray, cut);
    QFETCH(QString, text);
    QFETCH(bool, utf16);
    for (int shift = 0; shift < 6; ++shift) {
        // The first article's text fills the first piece, up to `shift` bytes before its end.
        QByteArray xml;
        QByteArray filler;
        if (utf16) {
            const QString before = QStringLiteral("<r><a>");
            const qsizetype units = (corpusfile::pieceSize - head.size()) / 2 - before.size() - 1 + shift % 2;
            const QString document = before + QString(units, u'x') + text + QStringLiteral("</a><a>fin</a></r>");
            xml = head;
            for (const QChar c : document)
                xml.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
            QCOMPARE(firstArticleText(xml), QString(units, u'x') + text);
        } else {
            const QByteArray before = "<r><a>";
            filler = QByteArray(corpusfile::pieceSize - before.size() - cut.size() / 2 - shift + 3, 'x');
            xml = before + filler + cut + "</a><a>fin</a></r>";
            QCOMPARE(firstArticleText(xml), QString::fromLatin1(filler) + text);
        }
    }
}

QTEST_GUILESS_MAIN(TestXmlDecoder)
#include "tst_xmldecoder.moc"

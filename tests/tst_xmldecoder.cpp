#include "corpusfile.h"
#include "xmldecoder.h"
#include "xmlnodes.h"

#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

class TestXmlDecoder : public QObject
{
    Q_OBJECT
private slots:
    void decodes_data();
    void decodes();
    void rejects_data();
    void rejects();
    void latin1WithoutDeclaration();
    void externalEntityIsNeverRead();
    void fileStatus();
};

// Bytes of "<a>été</a>" in several encodings, with and without declarations.
void TestXmlDecoder::decodes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const QString ete = QStringLiteral("été œ");

    QTest::newRow("utf8 plain") << QByteArray("<a>\xC3\xA9t\xC3\xA9 \xC5\x93</a>") << ete;
    QTest::newRow("utf8 bom") << QByteArray("\xEF\xBB\xBF<a>\xC3\xA9t\xC3\xA9 \xC5\x93</a>") << ete;
    QTest::newRow("utf8 declared") << QByteArray(
                                          "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xC3\xA9t\xC3\xA9 \xC5\x93</a>")
                                   << ete;
    QTest::newRow("latin1 declared") << QByteArray("<?xml version='1.0' encoding='ISO-8859-1'?><a>\xE9t\xE9 oe</a>")
                                     << QStringLiteral("été oe");
    QTest::newRow("cp1252 declared") << QByteArray(
                                            "<?xml version=\"1.0\" encoding=\"windows-1252\"?><a>\xE9t\xE9 \x9C</a>")
                                     << ete;
    QTest::newRow("declared spaces around =")
        << QByteArray("<?xml version=\"1.0\" encoding = \"latin1\" ?><a>\xE9t\xE9 oe</a>") << QStringLiteral("été oe");
    QTest::newRow("latin9 declared via codec")
        << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-15\"?><a>\xE9t\xE9 \xBD</a>") << ete;
    QTest::newRow("bom wins over declaration")
        << QByteArray("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xC3\xA9t\xC3\xA9 \xC5\x93</a>")
        << ete;

    const QString xml = QStringLiteral("<a>été œ</a>");
    QByteArray utf16le("\xFF\xFE", 2);
    QByteArray utf16be("\xFE\xFF", 2);
    for (QChar c : xml) {
        utf16le.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
        utf16be.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    }
    QTest::newRow("utf16le bom") << utf16le << ete;
    QTest::newRow("utf16be bom") << utf16be << ete;
}

void TestXmlDecoder::decodes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const std::shared_ptr<XmlTree> tree = corpusfile::parse(bytes);
    QVERIFY(tree);
    QCOMPARE(xmlnodes::fullText(tree->documentElement()), text);
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
}

void TestXmlDecoder::rejects()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!corpusfile::parse(bytes));
}

void TestXmlDecoder::latin1WithoutDeclaration()
{
    QVERIFY(!xmldecoder::isValidUtf8("\xE9t\xE9", 3));
    const std::shared_ptr<XmlTree> tree = corpusfile::parse(QByteArray("<a>\xE9t\xE9 \xE0 l'\xE9\x63ole</a>"));
    QVERIFY(tree);
    QCOMPARE(xmlnodes::fullText(tree->documentElement()), QStringLiteral("été à l'école"));
}

void TestXmlDecoder::externalEntityIsNeverRead()
{
    QTemporaryDir dir;
    QFile secret(dir.filePath(QStringLiteral("secret.txt")));
    QVERIFY(secret.open(QIODevice::WriteOnly));
    secret.write("CONFIDENTIEL");
    secret.close();
    const QByteArray xml = "<?xml version=\"1.0\"?>\n<!DOCTYPE corpus [<!ENTITY s SYSTEM \"file://" +
                           secret.fileName().toUtf8() + "\">]>\n<corpus><article>&s;</article></corpus>";
    const std::shared_ptr<XmlTree> tree = corpusfile::parse(xml);
    QVERIFY(tree);
    QVERIFY(!xmlnodes::fullText(tree->documentElement()).contains(QStringLiteral("CONFIDENTIEL")));
}

void TestXmlDecoder::fileStatus()
{
    QTemporaryDir dir;
    QCOMPARE(corpusfile::read(QString()).status, corpusfile::Status::Missing);
    QCOMPARE(corpusfile::read(dir.filePath(QStringLiteral("absent.xml"))).status, corpusfile::Status::Missing);
    QCOMPARE(corpusfile::read(dir.path()).status, corpusfile::Status::Unreadable);

    QFile good(dir.filePath(QStringLiteral("bon.xml")));
    QVERIFY(good.open(QIODevice::WriteOnly));
    good.write("<corpus><article><titre>VENT</titre></article></corpus>");
    good.close();
    const corpusfile::Result ok = corpusfile::read(good.fileName());
    QCOMPARE(ok.status, corpusfile::Status::Ok);
    QCOMPARE(ok.elementNames, QStringList({"corpus", "article", "titre"}));

    if (geteuid() != 0) { // root reads anything
        QVERIFY(good.setPermissions(QFileDevice::WriteOwner));
        QCOMPARE(corpusfile::read(good.fileName()).status, corpusfile::Status::Unreadable);
    }
}

QTEST_GUILESS_MAIN(TestXmlDecoder)
#include "tst_xmldecoder.moc"

#include "bench/corpusgenerator.h"
#include "corpus/corpusfile.h"
#include "corpus/nativename.h"
#include "tests/testfiles.h"

#include <QTest>
#include <algorithm>
#include <limits>
#include <unistd.h>

namespace {

using corpusbuilder::BatchLimit;

constexpr quint32 unbounded = std::numeric_limits<quint32>::max();

// The first difference between two readings of a corpus, field by field, or empty.
QString difference(const CorpusContent& actual, const CorpusContent& expected)
{
    if (actual.rootName != expected.rootName || actual.elementNames != expected.elementNames)
        return QStringLiteral("root or element names");
    if (actual.articles.size() != expected.articles.size())
        return QStringLiteral("article count %1, expected %2")
            .arg(actual.articles.size())
            .arg(expected.articles.size());
    for (size_t i = 0; i < actual.articles.size(); ++i) {
        const ArticleEntry& a = actual.articles[i];
        const ArticleEntry& e = expected.articles[i];
        if (a.title != e.title || a.number != e.number || a.text != e.text ||
            !std::equal(a.edges.begin(), a.edges.end(), e.edges.begin(), e.edges.end()))
            return QStringLiteral("article %1").arg(i);
    }
    const ElementIndex& a = actual.elements;
    const ElementIndex& e = expected.elements;
    if (a.nameCount() != e.nameCount() || a.articleCount() != e.articleCount())
        return QStringLiteral("index sizes");
    for (quint32 id = 0; id < a.nameCount(); ++id) {
        if (a.name(id) != e.name(id) || a.nameId(a.name(id)) != id)
            return QStringLiteral("name %1").arg(id);
    }
    for (int n = 0; n < a.articleCount(); ++n) {
        const ElementIndex::Article x = a.article(n);
        const ElementIndex::Article y = e.article(n);
        if (x.hasChildNode != y.hasChildNode || x.end - x.begin != y.end - y.begin)
            return QStringLiteral("index of article %1").arg(n);
        for (const ElementIndex::Element *p = x.begin, *q = y.begin; p != x.end; ++p, ++q) {
            const ElementIndex::TextRange r = x.texts[p - x.begin];
            const ElementIndex::TextRange s = y.texts[q - y.begin];
            bool same = p->prefix == q->prefix && p->hash == q->hash && x.names[p - x.begin] == y.names[q - y.begin] &&
                        r.start == s.start && r.end == s.end && p->valueCount == q->valueCount;
            for (quint32 v = 0; same && v < p->valueCount; ++v) {
                const quint32 id = a.values(*p)[v];
                same = id == e.values(*q)[v] && a.value(id) == e.value(id) && a.valueId(a.value(id)) == id;
            }
            if (!same)
                return QStringLiteral("element %1 of article %2").arg(p - x.begin).arg(n);
        }
    }
    return {};
}

} // namespace

class TestCorpusFile : public QObject
{
    Q_OBJECT
private slots:
    void fileStatus();
    void progressFollowsBytesRead_data();
    void progressFollowsBytesRead();
    void batchBoundaries_data();
    void batchBoundaries();
    void nativeNames_data();
    void nativeNames();
};

void TestCorpusFile::fileStatus()
{
    const testfiles::WorkingDirectory dir;
    QVERIFY(dir.isValid());
    QCOMPARE(corpusfile::read(QString()).status, corpusfile::Status::Missing);
    QCOMPARE(corpusfile::read(QStringLiteral("absent.xml")).status, corpusfile::Status::Missing);
    QCOMPARE(corpusfile::read(dir.path()).status, corpusfile::Status::Unreadable);

    const QString good = QStringLiteral("bon.xml");
    testfiles::write(good, "<corpus><article><titre>VENT</titre></article></corpus>");
    const corpusfile::Result ok = corpusfile::read(good);
    QCOMPARE(ok.status, corpusfile::Status::Ok);
    QVERIFY(ok.content);
    QCOMPARE(ok.content->elementNames, QStringList({"corpus", "article", "titre"}));

    if (geteuid() != 0) { // root reads anything
        QVERIFY(QFile::setPermissions(good, QFileDevice::WriteOwner));
        QCOMPARE(corpusfile::read(good).status, corpusfile::Status::Unreadable);
    }
}

void TestCorpusFile::progressFollowsBytesRead_data()
{
    QTest::addColumn<QByteArray>("declaration");
    QTest::addColumn<int>("stopAt"); // the report that answers "stop", -1 for none
    QTest::addColumn<corpusfile::Status>("status");
    QTest::addColumn<int>("reports");
    QTest::newRow("UTF-8 to its end") << QByteArray() << -1 << corpusfile::Status::Ok << 2;
    QTest::newRow("UTF-8 stopped after its first piece") << QByteArray() << 0 << corpusfile::Status::Stopped << 1;
    QTest::newRow("UTF-8 stopped after its last piece") << QByteArray() << 1 << corpusfile::Status::Stopped << 2;
    const QByteArray latin1("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>");
    QTest::newRow("decoded to its end") << latin1 << -1 << corpusfile::Status::Ok << 2;
    QTest::newRow("decoded, stopped after its first piece") << latin1 << 0 << corpusfile::Status::Stopped << 1;
    QTest::newRow("decoded, stopped after its last piece") << latin1 << 1 << corpusfile::Status::Stopped << 2;
}

void TestCorpusFile::progressFollowsBytesRead()
{
    QFETCH(QByteArray, declaration);
    QFETCH(int, stopAt);
    QFETCH(corpusfile::Status, status);
    QFETCH(int, reports);
    const testfiles::WorkingDirectory dir;
    QVERIFY(dir.isValid());
    // One piece and 29 bytes past it.
    const QByteArray body =
        "<r><a><t>T</t><x>" + QByteArray(corpusfile::pieceSize - declaration.size(), 'y') + "</x></a></r>";
    testfiles::write(QStringLiteral("long.xml"), declaration + body);
    QList<std::pair<qint64, qint64>> told;
    const corpusfile::Result read =
        corpusfile::read(QStringLiteral("long.xml"), {}, [&told, stopAt](qint64 done, qint64 total) {
            told.append({done, total});
            return told.size() - 1 != stopAt;
        });
    QCOMPARE(read.status, status);
    QCOMPARE(read.content.has_value(), status == corpusfile::Status::Ok);
    QCOMPARE(read.why, QString());
    QCOMPARE(told, (QList<std::pair<qint64, qint64>>{{1048576, 1048605}, {1048605, 1048605}}).first(reports));
}

void TestCorpusFile::batchBoundaries_data()
{
    // Articles go to the second thread in batches; where a batch ends must change nothing.
    QTest::addColumn<QString>("file"); // in tests/data, or empty for a generated corpus of 5 MB
    QTest::addColumn<quint32>("bytes");
    QTest::addColumn<quint32>("nodes");
    const QStringList fixtures{"petit.xml", "croisee.xml", "lecture.xml", ""};
    for (const QString& file : fixtures) {
        const QByteArray name = file.isEmpty() ? QByteArray("generated") : file.toUtf8();
        QTest::newRow((name + ", one article a batch").constData()) << file << 0u << 0u;
        QTest::newRow((name + ", 4 kB a batch").constData()) << file << 4096u << unbounded;
        QTest::newRow((name + ", 5 nodes a batch").constData()) << file << unbounded << 5u;
        QTest::newRow((name + ", a single batch").constData()) << file << unbounded << unbounded;
    }
}

void TestCorpusFile::batchBoundaries()
{
    QFETCH(QString, file);
    QFETCH(quint32, bytes);
    QFETCH(quint32, nodes);
    const testfiles::WorkingDirectory dir;
    QString path = QStringLiteral("genere.xml");
    if (file.isEmpty()) {
        // Past the 4 MB of a read piece, and several batches at the default limit.
        const QStringList words{"vent", "orgue", "cloche", "été", "écho", "son", "harpe", "flûte", "de", "la"};
        static const QByteArray generated = CorpusGenerator::generate(words, 11, 5000000);
        testfiles::write(path, generated);
    } else {
        path = QFINDTESTDATA("data/" + file);
    }
    const corpusfile::Result expected = corpusfile::read(path);
    QCOMPARE(expected.status, corpusfile::Status::Ok);
    QVERIFY(expected.content->articles.size() >= 6);
    const corpusfile::Result actual = corpusfile::read(path, BatchLimit{bytes, nodes});
    QCOMPARE(actual.status, corpusfile::Status::Ok);
    QCOMPARE(difference(*actual.content, *expected.content), QString());
}

void TestCorpusFile::nativeNames_data()
{
    QTest::addColumn<QByteArray>("bytes"); // the name on disk
    QTest::addColumn<QString>("name");     // as the program holds it
    QTest::addColumn<QString>("shown");    // as a dialog gives it

    QTest::newRow("ascii") << QByteArray("vent.xml") << "vent.xml"
                           << "vent.xml";
    QTest::newRow("utf8") << QByteArray("\xC3\xA9t\xC3\xA9 \xF0\x9F\x8E\xB5.xml") << "été 🎵.xml"
                          << "été 🎵.xml";
    QTest::newRow("a latin1 byte") << QByteArray("caf\xE9.xml") << QString::fromUtf16(u"caf\xDCE9.xml")
                                   << "caf\uFFFD.xml";
    QTest::newRow("a cut sequence") << QByteArray("a\xC3.xml") << QString::fromUtf16(u"a\xDCC3.xml") << "a\uFFFD.xml";
    QTest::newRow("an encoded surrogate")
        << QByteArray("\xED\xA0\x80.xml") << QString::fromUtf16(u"\xDCED\xDCA0\xDC80.xml") << "\uFFFD\uFFFD\uFFFD.xml";
}

// A file whose name is not UTF-8 opens by the name the program holds, and by the name a dialog
// gives for it; the name goes back to its bytes.
void TestCorpusFile::nativeNames()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QString, shown);
    const testfiles::WorkingDirectory dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir().mkdir(QStringLiteral("dossier")));
    const QByteArray path = "dossier/" + bytes;
    FILE* file = std::fopen(path.constData(), "w");
    QVERIFY(file);
    std::fputs("<corpus><article><titre>VENT</titre>souffle</article></corpus>", file);
    std::fclose(file);

    QCOMPARE(nativename::decode(bytes), name);
    QCOMPARE(nativename::encode(name), bytes);
    QCOMPARE(nativename::shown(name), shown);
    const QString held = QStringLiteral("dossier/") + name;
    QCOMPARE(corpusfile::read(held).status, corpusfile::Status::Ok);
    QCOMPARE(nativename::resolve(QStringLiteral("dossier/") + shown), held);
    QCOMPARE(nativename::resolve(dir.path() + QStringLiteral("/dossier/") + shown),
             dir.path() + QLatin1Char('/') + held);
    // A name that stands for nothing stays as given.
    QCOMPARE(nativename::resolve(QStringLiteral("dossier/x") + shown), QStringLiteral("dossier/x") + shown);
}

QTEST_GUILESS_MAIN(TestCorpusFile)
#include "tst_corpusfile.moc"

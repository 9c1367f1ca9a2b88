#include "bench/corpusgenerator.h"
#include "corpus/corpusfile.h"
#include "corpus/corpusstore.h"
#include "corpus/storewriter.h"
#include "tests/testfiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <sys/mount.h>
#include <thread>

namespace {

QString fixture(const QString& name)
{
    return name.startsWith(QLatin1String("EV_")) ? QFINDTESTDATA(QStringLiteral("../data/") + name)
                                                 : QFINDTESTDATA(QStringLiteral("data/") + name);
}

// Every field of two contents, one by one; the first difference fails the test.
void compareContents(const CorpusContent& stored, const CorpusContent& parsed)
{
    QCOMPARE(stored.rootName, parsed.rootName);
    QCOMPARE(stored.elementNames, parsed.elementNames);
    QCOMPARE(stored.articles.size(), parsed.articles.size());
    for (size_t a = 0; a < parsed.articles.size(); ++a) {
        const ArticleEntry& s = stored.articles[a];
        const ArticleEntry& p = parsed.articles[a];
        QCOMPARE(s.title, p.title);
        QCOMPARE(s.number, p.number);
        QCOMPARE(s.text, p.text);
        QCOMPARE(std::vector<quint32>(s.edges.begin(), s.edges.end()),
                 std::vector<quint32>(p.edges.begin(), p.edges.end()));
    }
    const ElementIndex& si = stored.elements;
    const ElementIndex& pi = parsed.elements;
    QCOMPARE(si.names(), pi.names());
    QCOMPARE(si.allValues(), pi.allValues());
    QCOMPARE(si.attributeNames(), pi.attributeNames());
    for (const QString& name : pi.names())
        QCOMPARE(si.nameId(name), pi.nameId(name));
    for (const QString& value : pi.allValues())
        QCOMPARE(si.valueId(value), pi.valueId(value));
    QCOMPARE(si.nameId(QStringLiteral("no such name")), ElementIndex::none);
    QCOMPARE(si.articleCount(), pi.articleCount());
    for (int a = 0; a < pi.articleCount(); ++a) {
        const ElementIndex::Article sa = si.article(a);
        const ElementIndex::Article pa = pi.article(a);
        QCOMPARE(sa.end - sa.begin, pa.end - pa.begin);
        QCOMPARE(sa.hasChildNode, pa.hasChildNode);
        for (qsizetype e = 0; e < pa.end - pa.begin; ++e) {
            const ElementIndex::Element& se = sa.begin[e];
            const ElementIndex::Element& pe = pa.begin[e];
            QCOMPARE(sa.names[e], pa.names[e]);
            QCOMPARE(sa.texts[e].start, pa.texts[e].start);
            QCOMPARE(sa.texts[e].end, pa.texts[e].end);
            QCOMPARE(se.hash, pe.hash);
            QVERIFY(se.prefix == pe.prefix);
            QCOMPARE(se.valueCount, pe.valueCount);
            for (quint32 v = 0; v < pe.valueCount; ++v) {
                QCOMPARE(si.value(si.values(se)[v]), pi.value(pi.values(pe)[v]));
                QCOMPARE(si.attributeName(si.attributes(se)[v]), pi.attributeName(pi.attributes(pe)[v]));
            }
        }
    }
    QCOMPARE(stored.elementStats.size(), parsed.elementStats.size());
    for (size_t n = 0; n < parsed.elementStats.size(); ++n) {
        const ElementStats& s = stored.elementStats[n];
        const ElementStats& p = parsed.elementStats[n];
        QCOMPARE(s.count, p.count);
        QCOMPARE(s.blockCount, p.blockCount);
        QCOMPARE(s.titleCount, p.titleCount);
        QCOMPARE(s.textLength, p.textLength);
        QCOMPARE(s.attributes.size(), p.attributes.size());
        for (size_t a = 0; a < p.attributes.size(); ++a) {
            QCOMPARE(s.attributes[a].attribute, p.attributes[a].attribute);
            QCOMPARE(s.attributes[a].count, p.attributes[a].count);
            QCOMPARE(s.attributes[a].distinct, p.attributes[a].distinct);
            QCOMPARE(s.attributes[a].longest, p.attributes[a].longest);
        }
        QCOMPARE(stored.roles.role(quint32(n)), parsed.roles.role(quint32(n)));
        QCOMPARE(stored.roles.headingAttribute(quint32(n)), parsed.roles.headingAttribute(quint32(n)));
    }
}

// A copy of a content's index tables, to be spoilt one number at a time.
struct OwnedTables
{
    explicit OwnedTables(const ElementIndex& index)
    {
        const ElementIndex::Tables& t = index.tables();
        elements.assign(t.elements, t.elements + t.elementCount);
        elementNames.assign(t.elementNames, t.elementNames + t.elementCount);
        elementTexts.assign(t.elementTexts, t.elementTexts + t.elementCount);
        elementValues.assign(t.elementValues, t.elementValues + t.elementValueCount);
        valueAttributes.assign(t.valueAttributes, t.valueAttributes + t.elementValueCount);
        articles.assign(t.articles, t.articles + t.articleCount);
        edges.assign(t.edges, t.edges + t.edgeCount);
        nameSlots.assign(t.nameSlots, t.nameSlots + t.nameSlotCount);
        valueSlots.assign(t.valueSlots, t.valueSlots + t.valueSlotCount);
    }
    ElementIndex::Tables tables() const
    {
        return {
            elements.data(),           elementNames.data(),    elementTexts.data(),           quint32(elements.size()),
            elementValues.data(),      valueAttributes.data(), quint32(elementValues.size()), articles.data(),
            quint32(articles.size()),  edges.data(),           quint32(edges.size()),         nameSlots.data(),
            quint32(nameSlots.size()), valueSlots.data(),      quint32(valueSlots.size())};
    }

    std::vector<ElementIndex::Element> elements;
    std::vector<quint32> elementNames;
    std::vector<ElementIndex::TextRange> elementTexts;
    std::vector<quint32> elementValues;
    std::vector<quint32> valueAttributes;
    std::vector<ElementIndex::ArticleRange> articles;
    std::vector<quint32> edges;
    std::vector<ElementIndex::IdSlot> nameSlots;
    std::vector<ElementIndex::IdSlot> valueSlots;
};

using Spoil = std::function<void(OwnedTables&, std::vector<ElementStats>&)>;
using Change = std::function<void(QByteArray&)>;

// Flips a bit in the first byte of the section numbered `id` of the store.
Change flipInSection(quint32 id)
{
    return [id](QByteArray& b) {
        quint64 tableOffset = 0;
        std::memcpy(&tableOffset, b.constData() + b.size() - 24, sizeof tableOffset);
        quint64 offset = 0;
        std::memcpy(&offset, b.constData() + tableOffset + 32 * (id - 1) + 8, sizeof offset);
        b[qsizetype(offset)] = char(b[qsizetype(offset)] ^ 1);
    };
}

// The bytes of a store, with one number changed and the checksums made again, as written.
QByteArray spoiltStore(const CorpusContent& good, const QString& corpusPath, const corpusstore::Identity& identity,
                       const QString& storePath, const Spoil& spoil)
{
    OwnedTables owned(good.elements);
    std::vector<ElementStats> stats = good.elementStats;
    spoil(owned, stats);
    CorpusContent bad;
    bad.rootName = good.rootName;
    bad.elementNames = good.elementNames;
    bad.articles = good.articles;
    bad.elementStats = std::move(stats);
    bad.elements = ElementIndex::over(owned.tables(), good.elements.names(), good.elements.allValues(),
                                      good.elements.attributeNames());
    if (!corpusstore::write(storePath, bad, corpusPath, identity).isEmpty())
        return {};
    return testfiles::read(storePath);
}

} // namespace

Q_DECLARE_METATYPE(Spoil)
Q_DECLARE_METATYPE(Change)

class TestCorpusStore : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void sameContentAsParse_data();
    void sameContentAsParse();
    void textsChecked_data();
    void textsChecked();
    void refused_data();
    void refused();
    void spoiltNumbersRefused_data();
    void spoiltNumbersRefused();
    void unwritableFolder();
    void fullDisk_data();
    void fullDisk();
    void stoppedWriteLeavesNothing();
    void twoWritersAtOnce();
    void writerStoppedLeavesTheStoreBefore();
    void trimKeepsRecentStores();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_corpus;
    QString m_store;
    CorpusContent m_parsed;
    corpusstore::Identity m_identity;
};

void TestCorpusStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_corpus = m_dir->filePath(QStringLiteral("corpus.xml"));
    m_store = m_dir->filePath(QStringLiteral("cache/corpus.store"));
    QVERIFY(QFile::copy(fixture(QStringLiteral("EV_Sons.xml")), m_corpus));
    corpusfile::Result read = corpusfile::read(m_corpus);
    QVERIFY(read.content);
    m_parsed = std::move(*read.content);
    m_identity = *corpusstore::identify(m_corpus);
}

void TestCorpusStore::sameContentAsParse_data()
{
    QTest::addColumn<QByteArray>("xml");
    for (const QString name :
         {"EV_Sons.xml", "EV_Inventaire.xml", "croisee.xml", "exemples.xml", "lecture.xml", "petit.xml"})
        QTest::newRow(qPrintable(name)) << testfiles::read(fixture(name));
    const QStringList words{"de", "la", "vent", "eau", "arbre", "été", "ombre", "cloche", "soleil", "orgue"};
    QTest::newRow("generated dictionary")
        << CorpusGenerator::generate(words, 1, 2000000, CorpusGenerator::Profile::Dictionary);
    QTest::newRow("generated encyclopedia") << CorpusGenerator::generate(words, 2, 2000000);
}

void TestCorpusStore::sameContentAsParse()
{
    QFETCH(QByteArray, xml);
    testfiles::write(m_corpus, xml);
    corpusfile::Result read = corpusfile::read(m_corpus);
    QVERIFY(read.content);
    const corpusstore::Identity identity = *corpusstore::identify(m_corpus);
    QCOMPARE(corpusstore::write(m_store, *read.content, m_corpus, identity), QString());
    std::optional<CorpusContent> stored = corpusstore::open(m_store, m_corpus, identity);
    QVERIFY(stored);
    compareContents(*stored, *read.content);
    // Read from bytes, as the fuzz target reads it.
    std::optional<CorpusContent> fromBytes = corpusstore::fromBytes(testfiles::read(m_store), m_corpus, identity);
    QVERIFY(fromBytes);
    compareContents(*fromBytes, *read.content);

    // The texts written while the file is read: the load's content takes them from there, and the
    // store completed after it is the same file.
    const QByteArray written = testfiles::read(m_store);
    QVERIFY(QFile::remove(m_store));
    corpusstore::Draft draft(m_store);
    draft.begin(identity);
    corpusfile::Result drafted = corpusfile::read(m_corpus, {}, {}, &draft);
    QVERIFY(drafted.content);
    compareContents(*drafted.content, *read.content);
    QCOMPARE(draft.complete(*drafted.content, m_corpus, nullptr), QString());
    QCOMPARE(testfiles::read(m_store), written);
}

void TestCorpusStore::refused_data()
{
    QTest::addColumn<Change>("spoil");
    QTest::addColumn<bool>("staleIdentity");
    QTest::addColumn<bool>("otherCorpus");
    const Change none = [](QByteArray&) {};
    QTest::newRow("the file changed since") << none << true << false;
    QTest::newRow("the store of another file") << none << false << true;
    QTest::newRow("empty") << Change([](QByteArray& b) { b.clear(); }) << false << false;
    QTest::newRow("truncated by one byte") << Change([](QByteArray& b) { b.chop(1); }) << false << false;
    QTest::newRow("truncated by half") << Change([](QByteArray& b) { b.truncate(b.size() / 2); }) << false << false;
    QTest::newRow("a byte more") << Change([](QByteArray& b) { b.append('\0'); }) << false << false;
    QTest::newRow("another magic") << Change([](QByteArray& b) { b[0] = 'X'; }) << false << false;
    QTest::newRow("another version") << Change([](QByteArray& b) { b[8] = char(b[8] + 1); }) << false << false;
    // The sections after the texts: the titles and other strings, the first elements' records.
    QTest::newRow("a bit flipped in the strings") << flipInSection(5) << false << false;
    QTest::newRow("a bit flipped in the elements") << flipInSection(7) << false << false;
    QTest::newRow("a bit flipped in the table")
        << Change([](QByteArray& b) { b[b.size() - 60] = char(b[b.size() - 60] ^ 4); }) << false << false;
    QTest::newRow("a bit flipped in the trailer")
        << Change([](QByteArray& b) { b[b.size() - 1] = char(b[b.size() - 1] ^ 0x80); }) << false << false;
}

void TestCorpusStore::textsChecked_data()
{
    QTest::addColumn<bool>("first"); // a bit flipped in the first text, or in the last
    QTest::newRow("a bit flipped in the first text") << true;
    QTest::newRow("a bit flipped in the last text") << false;
}

// The texts, most of a store, are checked as they are used: the store opens, and a text that is
// not as written fails its article's check and the whole check, not those of texts in other blocks.
void TestCorpusStore::textsChecked()
{
    QFETCH(bool, first);
    const QStringList words{"de", "la", "vent", "eau", "arbre", "été", "ombre", "cloche", "soleil", "orgue"};
    testfiles::write(m_corpus, CorpusGenerator::generate(words, 4, 3000000));
    const corpusfile::Result read = corpusfile::read(m_corpus);
    QVERIFY(read.content);
    const corpusstore::Identity identity = *corpusstore::identify(m_corpus);
    QCOMPARE(corpusstore::write(m_store, *read.content, m_corpus, identity), QString());
    QByteArray bytes = testfiles::read(m_store);
    qsizetype textBytes = 0;
    for (const ArticleEntry& article : read.content->articles)
        textBytes += 2 * article.text.size();
    QVERIFY(textBytes > 2 << 20);
    const int last = int(read.content->articles.size()) - 1;
    const int spoilt = first ? 0 : last;
    const qsizetype at = first ? 64 : 64 + textBytes - 1;
    bytes[at] = char(bytes[at] ^ 0x10);
    testfiles::write(m_store, bytes);

    std::optional<CorpusContent> stored = corpusstore::open(m_store, m_corpus, identity);
    QVERIFY(stored);
    QVERIFY(stored->textCheck);
    std::atomic<int> told{0};
    stored->textCheck->onFailure([&told] { ++told; });
    // Its own thread checks every block while this one asks for some: each block is checked once.
    stored->textCheck->start();
    QVERIFY(stored->textHolds(first ? last : 0));
    QVERIFY(!stored->textHolds(spoilt));
    QVERIFY(!stored->textCheck->all());
    QCOMPARE(told.load(), 1);
    QVERIFY(!corpusstore::fromBytes(bytes, m_corpus, identity));
}

void TestCorpusStore::refused()
{
    QFETCH(Change, spoil);
    QFETCH(bool, staleIdentity);
    QFETCH(bool, otherCorpus);
    QCOMPARE(corpusstore::write(m_store, m_parsed, m_corpus, m_identity), QString());
    QVERIFY(corpusstore::open(m_store, m_corpus, m_identity));
    QByteArray bytes = testfiles::read(m_store);
    spoil(bytes);
    testfiles::write(m_store, bytes);
    corpusstore::Identity identity = m_identity;
    if (staleIdentity) {
        // The same size, the same bytes, touched since.
        QFile file(m_corpus);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
        file.close();
        identity = *corpusstore::identify(m_corpus);
        QVERIFY(identity != m_identity);
    }
    const QString corpus = otherCorpus ? m_dir->filePath(QStringLiteral("other.xml")) : m_corpus;
    QVERIFY(!corpusstore::open(m_store, corpus, identity));
    QVERIFY(!corpusstore::fromBytes(bytes, corpus, identity));
}

void TestCorpusStore::spoiltNumbersRefused_data()
{
    QTest::addColumn<Spoil>("spoil");
    const auto row = [](const char* name, Spoil spoil) { QTest::newRow(name) << spoil; };
    row("an element's name past the names", [](OwnedTables& t, auto&) { t.elementNames[3] = 1000000; });
    row("an element's values past the values", [](OwnedTables& t, auto&) {
        t.elements[2].firstValue = quint32(t.elementValues.size());
        t.elements[2].valueCount = 1;
    });
    row("a count of values wrapping around", [](OwnedTables& t, auto&) {
        t.elements[2].firstValue = 1;
        t.elements[2].valueCount = 0xFFFFFFFF;
    });
    row("a value past the values", [](OwnedTables& t, auto&) { t.elementValues[0] = 1000000; });
    row("an attribute past the attributes", [](OwnedTables& t, auto&) { t.valueAttributes[0] = 1000000; });
    row("an element's text past its article's", [](OwnedTables& t, auto&) { t.elementTexts[1].end = 10000000; });
    row("an element's text ending before it starts", [](OwnedTables& t, auto&) {
        t.elementTexts[1] = {t.elementTexts[1].end + 1, t.elementTexts[1].end};
    });
    row("articles' elements out of order",
        [](OwnedTables& t, auto&) { t.articles[1].firstElement = t.articles[2].firstElement + 1; });
    row("an article past the elements",
        [](OwnedTables& t, auto&) { t.articles.back().firstElement = quint32(t.elements.size()) + 1; });
    row("not 0 or 1 for the child nodes", [](OwnedTables& t, auto&) { t.articles[0].hasChildNode = 2; });
    row("an edge past its article's text", [](OwnedTables& t, auto&) { t.edges.push_back(10000000); });
    row("a table of names without a free slot", [](OwnedTables& t, auto&) {
        for (auto& slot : t.nameSlots)
            slot.id = 0;
    });
    row("a name slot past the names", [](OwnedTables& t, auto&) {
        for (auto& slot : t.nameSlots) {
            if (slot.id == ElementIndex::none) {
                slot.id = 1000000;
                break;
            }
        }
    });
    row("a table of values not a power of two", [](OwnedTables& t, auto&) { t.valueSlots.pop_back(); });
    row("the counts of an attribute past the attributes", [](OwnedTables&, std::vector<ElementStats>& stats) {
        stats[0].attributes.push_back({1000000, 1, 1, 1});
    });
}

void TestCorpusStore::spoiltNumbersRefused()
{
    QFETCH(Spoil, spoil);
    const QByteArray bytes = spoiltStore(m_parsed, m_corpus, m_identity, m_store, spoil);
    QVERIFY(!bytes.isEmpty());
    QVERIFY(!corpusstore::open(m_store, m_corpus, m_identity));
    QVERIFY(!corpusstore::fromBytes(bytes, m_corpus, m_identity));
    // Unspoilt, the same way, it is taken.
    QVERIFY(!spoiltStore(m_parsed, m_corpus, m_identity, m_store, [](OwnedTables&, auto&) {}).isEmpty());
    QVERIFY(corpusstore::open(m_store, m_corpus, m_identity));
}

void TestCorpusStore::unwritableFolder()
{
    // A file where the folder should be: nothing can be made there, not even by root.
    const QString blocked = m_dir->filePath(QStringLiteral("blocked"));
    testfiles::write(blocked, "a file");
    const QString store = blocked + QStringLiteral("/cache/corpus.store");
    QVERIFY(!corpusstore::write(store, m_parsed, m_corpus, m_identity).isEmpty());
    QVERIFY(!corpusstore::open(store, m_corpus, m_identity));
    QCOMPARE(testfiles::read(blocked), QByteArray("a file"));
}

void TestCorpusStore::fullDisk_data()
{
    QTest::addColumn<bool>("whileLoading");
    QTest::addColumn<QByteArray>("room");
    QTest::newRow("written after the load") << false << QByteArray("32k");
    // The texts that could not go into the store stay with their articles, those that did are read
    // back: the load gives the whole corpus. Room for one block of texts, not two.
    QTest::newRow("written while loading") << true << QByteArray("1536k");
}

void TestCorpusStore::fullDisk()
{
    QFETCH(bool, whileLoading);
    QFETCH(QByteArray, room);
    const QString small = m_dir->filePath(QStringLiteral("small"));
    QVERIFY(QDir().mkpath(small));
    if (::mount("tarvane-test", small.toLocal8Bit().constData(), "tmpfs", 0, ("size=" + room).constData()) != 0)
        QSKIP("A small tmpfs cannot be mounted here");
    const QString store = small + QStringLiteral("/corpus.store");
    // An earlier store of another corpus stays whole.
    testfiles::write(small + QStringLiteral("/earlier.store"), QByteArray(1000, 'e'));
    QString why;
    if (whileLoading) {
        // Texts of several blocks, so that some went to the disk before it was full.
        const QStringList words{"de", "la", "vent", "eau", "arbre", "été", "ombre", "cloche", "soleil", "orgue"};
        testfiles::write(m_corpus, CorpusGenerator::generate(words, 3, 3000000));
        const corpusfile::Result parsed = corpusfile::read(m_corpus);
        QVERIFY(parsed.content);
        corpusstore::Draft draft(store);
        draft.begin(*corpusstore::identify(m_corpus));
        const corpusfile::Result read = corpusfile::read(m_corpus, {}, {}, &draft);
        QVERIFY(read.content);
        QVERIFY(!draft.ok());
        compareContents(*read.content, *parsed.content);
        why = draft.complete(*read.content, m_corpus, nullptr);
    } else {
        why = corpusstore::write(store, m_parsed, m_corpus, m_identity);
    }
    const QStringList left = QDir(small).entryList(QDir::Files | QDir::Hidden);
    const QByteArray earlier = testfiles::read(small + QStringLiteral("/earlier.store"));
    ::umount(small.toLocal8Bit().constData());
    QVERIFY(!why.isEmpty());
    QCOMPARE(left, QStringList{"earlier.store"});
    QCOMPARE(earlier, QByteArray(1000, 'e'));
}

void TestCorpusStore::stoppedWriteLeavesNothing()
{
    const std::atomic<bool> stop{true};
    QVERIFY(!corpusstore::write(m_store, m_parsed, m_corpus, m_identity, &stop).isEmpty());
    QCOMPARE(QDir(QFileInfo(m_store).absolutePath()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void TestCorpusStore::twoWritersAtOnce()
{
    QString first;
    QString second;
    std::thread one([&] { first = corpusstore::write(m_store, m_parsed, m_corpus, m_identity); });
    std::thread two([&] { second = corpusstore::write(m_store, m_parsed, m_corpus, m_identity); });
    one.join();
    two.join();
    QCOMPARE(first, QString());
    QCOMPARE(second, QString());
    QCOMPARE(QDir(QFileInfo(m_store).absolutePath()).entryList(QDir::Files | QDir::Hidden),
             QStringList{"corpus.store"});
    std::optional<CorpusContent> stored = corpusstore::open(m_store, m_corpus, m_identity);
    QVERIFY(stored);
    compareContents(*stored, m_parsed);
}

void TestCorpusStore::writerStoppedLeavesTheStoreBefore()
{
    auto content = std::make_shared<const CorpusContent>(std::move(m_parsed));
    StoreWriter writer;
    writer.start(content, m_corpus, m_identity, m_store, corpusstore::defaultLimit);
    QCOMPARE(writer.wait(), QString());
    const QByteArray written = testfiles::read(m_store);
    // Stopped at once, as when the program ends during a write: the store before stays whole.
    writer.start(content, m_corpus, m_identity, m_store, corpusstore::defaultLimit);
    writer.stop();
    QCOMPARE(QDir(QFileInfo(m_store).absolutePath()).entryList(QDir::Files | QDir::Hidden),
             QStringList{"corpus.store"});
    QCOMPARE(testfiles::read(m_store), written);
    std::optional<CorpusContent> stored = corpusstore::open(m_store, m_corpus, m_identity);
    QVERIFY(stored);
    compareContents(*stored, *content);
}

void TestCorpusStore::trimKeepsRecentStores()
{
    const QString folder = m_dir->filePath(QStringLiteral("stores"));
    QVERIFY(QDir().mkpath(folder));
    const QDateTime now = QDateTime::currentDateTime();
    const auto make = [&](const QString& name, int size, int minutesAgo) {
        const QString path = folder + QLatin1Char('/') + name;
        testfiles::write(path, QByteArray(size, 'x'));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(now.addSecs(-60 * minutesAgo), QFileDevice::FileModificationTime));
    };
    make(QStringLiteral("newest.store"), 400, 1);
    make(QStringLiteral("older.store"), 400, 10);
    make(QStringLiteral("oldest.store"), 400, 100);
    make(QStringLiteral("kept.store"), 900, 1000);
    make(QStringLiteral("left.store.AbCdEf"), 10, 60 * 48);
    make(QStringLiteral("writing.store.GhIjKl"), 10, 1);
    make(QStringLiteral("notes.txt"), 10, 60 * 48);
    corpusstore::trim(folder, 1000, folder + QStringLiteral("/kept.store"));
    QDir dir(folder);
    dir.setSorting(QDir::Name);
    QCOMPARE(dir.entryList(QDir::Files),
             (QStringList{"kept.store", "newest.store", "notes.txt", "older.store", "writing.store.GhIjKl"}));
}

QTEST_GUILESS_MAIN(TestCorpusStore)
#include "tst_corpusstore.moc"

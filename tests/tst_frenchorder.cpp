#include "corpus/frenchorder.h"

#include <QRandomGenerator>
#include <QTest>

namespace {

QStringList sortedFast(const QStringList& texts)
{
    std::vector<FrenchOrder::Item> items;
    for (const QString& text : texts)
        items.push_back(FrenchOrder::item(text));
    FrenchOrder().sort(items);
    QStringList sorted;
    for (const FrenchOrder::Item& item : items)
        sorted << item.text.toString();
    return sorted;
}

} // namespace

class TestFrenchOrder : public QObject
{
    Q_OBJECT
private slots:
    void order_data();
    void order();
    void sameAsTheCollator_data();
    void sameAsTheCollator();
};

void TestFrenchOrder::order_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("sorted");
    QTest::newRow("accented capital among the others")
        << QStringList{"SYNONYME", "ÉTYMOLOGIE", "DEFINITION"} << QStringList{"DEFINITION", "ÉTYMOLOGIE", "SYNONYME"};
    QTest::newRow("letters before accents before case")
        << QStringList{"Été", "zèbre", "été", "Eden", "ete", "école", "abricot", "éte"}
        << QStringList{"abricot", "école", "Eden", "ete", "éte", "été", "Été", "zèbre"};
    QTest::newRow("ligatures read as two letters") << QStringList{"cœur", "coffre", "coeur", "coefficient", "Cœur"}
                                                   << QStringList{"coefficient", "coeur", "cœur", "Cœur", "coffre"};
    QTest::newRow("punctuation and spaces before letters") << QStringList{"leau", "l’eau", "le au", "l'eau", "l-eau"}
                                                           << QStringList{"l-eau", "l'eau", "l’eau", "le au", "leau"};
    QTest::newRow("digits before letters, one by one")
        << QStringList{"b", "10", "9", "A", "2"} << QStringList{"10", "2", "9", "A", "b"};
    QTest::newRow("prefix first") << QStringList{"titre2", "titres", "titre", "Titre"}
                                  << QStringList{"titre", "Titre", "titre2", "titres"};
    // The collator sees the two spellings of "é" as one: code points part them.
    QTest::newRow("canonical equivalents by code point") << QStringList{"\u00E9t\u00E9", "e\u0301te\u0301", "ete"}
                                                         << QStringList{"ete", "e\u0301te\u0301", "\u00E9t\u00E9"};
    QTest::newRow("other scripts after Latin") << QStringList{"ωμέγα", "zèbre", "Ἀήρ", "альфа", "ALPHA"}
                                               << QStringList{"ALPHA", "zèbre", "Ἀήρ", "ωμέγα", "альфа"};
    QTest::newRow("ties on the first eight letters")
        << QStringList{"abcdefghij1", "abcdefghij", "Abcdefghij", "abcdefgh", "abcdéfghij"}
        << QStringList{"abcdefgh", "abcdefghij", "Abcdefghij", "abcdéfghij", "abcdefghij1"};
    QTest::newRow("one text") << QStringList{"seul"} << QStringList{"seul"};
    QTest::newRow("none") << QStringList() << QStringList();
}

void TestFrenchOrder::order()
{
    QFETCH(QStringList, texts);
    QFETCH(QStringList, sorted);
    QCOMPARE(sortedFast(texts), sorted);
    QStringList one = texts;
    std::sort(one.begin(), one.end(), FrenchOrder());
    QCOMPARE(one, sorted);
}

void TestFrenchOrder::sameAsTheCollator_data()
{
    QTest::addColumn<QString>("letters");
    QTest::addColumn<int>("longest");
    QTest::newRow("French letters, case and accents") << "aAbeEéÉèêëcçÇoOœŒ" << 12;
    QTest::newRow("with punctuation and white space") << "aeEé ,-'’«»\t\n.:;!?()" << 16;
    QTest::newRow("digits, ligatures, soft hyphen") << "0123456789aAeæÆßsij\u0133\u00AD" << 12;
    QTest::newRow("combining accents, other scripts") << "aeE\u0301\u0300\u0391\u03B1\u0430\u00F8\u0142" << 10;
    QTest::newRow("long ties") << "aAéb" << 80;
    // Every letter of the table of weights, and its punctuation, each placed by the collator's answers.
    QString latin;
    for (char16_t unit = 0xA0; unit < 0x250; ++unit)
        latin += QChar(unit);
    QTest::newRow("Latin-1 and Latin Extended") << latin << 4;
    QString punctuation = QStringLiteral("a.");
    for (char16_t unit = 0x2000; unit < 0x2070; ++unit)
        punctuation += QChar(unit);
    QTest::newRow("general punctuation") << punctuation << 4;
}

// Many texts of a few letters, so that they tie long and often: the sort through the table of
// weights places them as the collator, then the code points, do.
void TestFrenchOrder::sameAsTheCollator()
{
    QFETCH(QString, letters);
    QFETCH(int, longest);
    QRandomGenerator random(12345);
    const FrenchOrder order;
    for (int round = 0; round < 40; ++round) {
        QStringList texts;
        const int count = 1 + int(random.bounded(300));
        for (int i = 0; i < count; ++i) {
            QString text;
            const int length = int(random.bounded(longest + 1));
            for (int k = 0; k < length; ++k)
                text += letters.at(random.bounded(letters.size()));
            texts << text;
        }
        QStringList byCollator = texts;
        std::sort(byCollator.begin(), byCollator.end(),
                  [&order](const QString& a, const QString& b) { return order.compare(a, b) < 0; });
        QCOMPARE(sortedFast(texts), byCollator);
    }
}

QTEST_APPLESS_MAIN(TestFrenchOrder)
#include "tst_frenchorder.moc"

#include "search/patternfinder.h"
#include "search/wordboundary.h"

#include <QTest>

class TestWordBoundary : public QObject
{
    Q_OBJECT
private slots:
    void separators_data();
    void separators();
    void wholeWord_data();
    void wholeWord();
    void blockEdges_data();
    void blockEdges();
};

void TestWordBoundary::separators_data()
{
    QTest::addColumn<uint>("c");
    QTest::addColumn<bool>("separates");
    const QString yes = QStringLiteral("',?;. :!()\"«»\t\n\r\u00A0\u202F\u2009\u3000’‘“”_/&<[]{}—–…*+=@#§°");
    for (QChar c : yes)
        QTest::addRow("U+%04X separates", c.unicode()) << uint(c.unicode()) << true;
    const QString no = QStringLiteral("-\u2010\u2011aZ19éœßΣж\u0301\u0327²½");
    for (QChar c : no)
        QTest::addRow("U+%04X joins", c.unicode()) << uint(c.unicode()) << false;
    QTest::newRow("U+1D504 (letter) joins") << 0x1D504u << false;
    QTest::newRow("U+1D7CE (digit) joins") << 0x1D7CEu << false;
    QTest::newRow("U+1F600 (emoji) separates") << 0x1F600u << true;
}

void TestWordBoundary::separators()
{
    QFETCH(uint, c);
    QFETCH(bool, separates);
    QCOMPARE(wordboundary::isSeparator(char32_t(c)), separates);
}

void TestWordBoundary::wholeWord_data()
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
    QTest::newRow("square brackets") << "[Le vent]"
                                     << "vent" << true << true;
    QTest::newRow("slash") << "vent/orage"
                           << "vent" << true << true;
    QTest::newRow("em dash") << "vent—"
                             << "vent" << true << true;
    QTest::newRow("ellipsis") << "vent…"
                              << "vent" << true << true;
    QTest::newRow("hyphen-minus joins") << "vent-orage"
                                        << "vent" << true << false;
    QTest::newRow("hyphen U+2010 joins") << "vent\u2010x"
                                         << "vent" << true << false;
    QTest::newRow("non-breaking hyphen joins") << "x\u2011vent"
                                               << "vent" << true << false;
    QTest::newRow("combining mark joins") << "le vent\u0301"
                                          << "vent" << true << false;
    QTest::newRow("digit joins") << "vent2"
                                 << "vent" << true << false;
    QTest::newRow("letter beyond the basic plane joins") << "\U0001D504vent"
                                                         << "vent" << true << false;
    QTest::newRow("emoji separates") << "\U0001F600vent\U0001F600"
                                     << "vent" << true << true;
    QTest::newRow("splitting a surrogate pair is not whole")
        << "a \U0001D504 b" << QString(QChar(0xDD04)) << true << false;
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

void TestWordBoundary::wholeWord()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(bool, caseSensitive);
    QFETCH(bool, found);
    const PatternFinder finder(pattern, caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
    QCOMPARE(wordboundary::containsWholeWord(text, {}, finder), found);
}

void TestWordBoundary::blockEdges_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<quint32>>("edges");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QStringList>("found"); // each whole occurrence as "text@start"

    QTest::newRow("word before an edge") << "archAfficher le nom" << QList<quint32>{4} << "arch" << true
                                         << QStringList{"arch@0"};
    QTest::newRow("word after an edge") << "archAfficher le nom" << QList<quint32>{4} << "Afficher" << true
                                        << QStringList{"Afficher@4"};
    QTest::newRow("the joined form is no word")
        << "archAfficher le nom" << QList<quint32>{4} << "archAfficher" << true << QStringList{};
    QTest::newRow("without the edge, one word")
        << "archAfficher le nom" << QList<quint32>{} << "arch" << true << QStringList{};
    QTest::newRow("phrase across an edge")
        << "archAfficher le nom" << QList<quint32>{4} << "arch Afficher" << true << QStringList{"archAfficher@0"};
    QTest::newRow("phrase across an edge, case ignored")
        << "archAfficher le nom" << QList<quint32>{4} << "ARCH afficher le" << false
        << QStringList{"archAfficher le@0"};
    QTest::newRow("phrase with its own space")
        << "arch Afficher" << QList<quint32>{} << "arch Afficher" << true << QStringList{"arch Afficher@0"};
    QTest::newRow("phrase across two edges")
        << "unDeuxTrois un" << QList<quint32>{2, 6} << "un deux trois" << false << QStringList{"unDeuxTrois@0"};
    QTest::newRow("phrase, an edge inside a word of it")
        << "arch Afficher" << QList<quint32>{2} << "arch Afficher" << true << QStringList{};
    QTest::newRow("phrase, an edge left as it is inside a word")
        << "archAfficher" << QList<quint32>{2, 4} << "arch Afficher" << true << QStringList{};
    QTest::newRow("phrase, the second occurrence across")
        << "le vent, leVent" << QList<quint32>{11} << "le vent" << false << QStringList{"le vent@0", "leVent@9"};
    QTest::newRow("edge beside a separator changes nothing")
        << "le son,puis" << QList<quint32>{7} << "son," << true << QStringList{};
    QTest::newRow("phrase space at an edge beside a separator")
        << "arch,Afficher" << QList<quint32>{5} << "arch, Afficher" << true << QStringList{};
    QTest::newRow("hyphen before an edge") << "porte-son" << QList<quint32>{6} << "son" << true << QStringList{"son@6"};
    QTest::newRow("hyphenated word parted by an edge")
        << "porte-son" << QList<quint32>{6} << "porte-son" << true << QStringList{};
    QTest::newRow("letter beyond the basic plane before an edge")
        << "\U0001D504vent" << QList<quint32>{2} << "vent" << true << QStringList{"vent@2"};
    QTest::newRow("emoji before an edge")
        << "\U0001F600vent" << QList<quint32>{2} << "vent" << true << QStringList{"vent@2"};
    QTest::newRow("edges at the ends") << "vent" << QList<quint32>{0, 4} << "vent" << true << QStringList{"vent@0"};
}

void TestWordBoundary::blockEdges()
{
    QFETCH(QString, text);
    QFETCH(QList<quint32>, edges);
    QFETCH(QString, pattern);
    QFETCH(bool, caseSensitive);
    QFETCH(QStringList, found);
    const BlockEdges blockEdges(edges.constData(), quint32(edges.size()));
    const PatternFinder finder(pattern, caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive);
    QStringList listed;
    for (wordboundary::Occurrence next = wordboundary::findWholeWord(text, blockEdges, finder); next.start >= 0;
         next = wordboundary::findWholeWord(text, blockEdges, finder, next.start + next.length))
        listed << text.mid(next.start, next.length) + QLatin1Char('@') + QString::number(next.start);
    QCOMPARE(listed, found);
    QCOMPARE(wordboundary::containsWholeWord(text, blockEdges, finder), !found.isEmpty());
}

QTEST_GUILESS_MAIN(TestWordBoundary)
#include "tst_wordboundary.moc"

#include "patternfinder.h"
#include "wordboundary.h"

#include <QTest>

class TestWordBoundary : public QObject
{
    Q_OBJECT
private slots:
    void separators_data();
    void separators();
    void wholeWord_data();
    void wholeWord();
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

QTEST_GUILESS_MAIN(TestWordBoundary)
#include "tst_wordboundary.moc"

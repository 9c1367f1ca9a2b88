#include "bench/corpusgenerator.h"
#include "corpus/corpusdocument.h"
#include "corpus/corpusfile.h"
#include "forms/articleview.h"
#include "forms/backgroundpalette.h"
#include "forms/gui_base.h"
#include "forms/resultlistmodel.h"
#include "forms/resultpane.h"
#include "search/fulltextsearch.h"
#include "tests/testcorpus.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>

namespace {

struct Fixture
{
    std::vector<ArticleEntry> entries;
    SearchResult result;

    explicit Fixture(const QStringList& texts)
    {
        entries.resize(size_t(texts.size()));
        for (int i = 0; i < texts.size(); ++i) {
            entries[size_t(i)].number = i;
            entries[size_t(i)].title = QStringLiteral("Titre %1").arg(i);
            entries[size_t(i)].text = texts[i];
        }
        for (const ArticleEntry& entry : entries)
            result.addHit(entry);
    }
};

// The characters shown red, bold and underlined, each marked run written as [..].
QString markedRuns(const QTextEdit& view)
{
    QString out;
    for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const bool marked = format.foreground().color() == QColor(Qt::red) && format.fontWeight() == QFont::Bold &&
                                format.fontUnderline();
            out += marked ? QLatin1Char('[') + fragment.text() + QLatin1Char(']') : fragment.text();
        }
        if (block.next().isValid())
            out += QLatin1Char('\n');
    }
    return out;
}

// The article's characters the view marks, each run as [start, end) of the article.
QList<std::pair<qsizetype, qsizetype>> markedArticleRanges(const ArticleView& view)
{
    QList<std::pair<qsizetype, qsizetype>> ranges;
    for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().foreground().color() != QColor(Qt::red))
                continue;
            const qsizetype start = view.articlePosition(it.fragment().position());
            const qsizetype end = view.articlePosition(it.fragment().position() + it.fragment().length());
            if (!ranges.isEmpty() && ranges.last().second == start)
                ranges.last().second = end;
            else if (end > start)
                ranges.append({start, end});
        }
    }
    return ranges;
}

} // namespace

class TestResultPane : public QObject
{
    Q_OBJECT
private slots:
    void fillsListAndCount();
    void emptyRecord();
    void showsMarkedWords_data();
    void showsMarkedWords();
    void plainTextShownAsWritten();
    void nextArticleNotColoured();
    void millionMatchesShowFirstHundredThousand();
    void rowPastTheLaidOutPartIsScrolledTo();
    void occurrenceLabel_data();
    void occurrenceLabel();
    void displayCopy_data();
    void displayCopy();
    void copyGivesArticleCharacters_data();
    void copyGivesArticleCharacters();
    void palette();
    void formattedDisplay_data();
    void formattedDisplay();
    void formattedMarksAsPlain_data();
    void formattedMarksAsPlain();
    void structureOfCorpora_data();
    void structureOfCorpora();
};

void TestResultPane::fillsListAndCount()
{
    Fixture fixture({"a", "b", "c"});
    QListView list;
    QLabel count;
    ArticleView view;
    ResultPane pane(&list, &count, &view);
    auto* model = qobject_cast<ResultListModel*>(list.model());
    QVERIFY(model);
    QSignalSpy resets(model, &QAbstractItemModel::modelReset);
    pane.show(fixture.result);
    QCOMPARE(resets.size(), 1);
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(model->index(2, 0).data().toString(), QStringLiteral("Titre 2"));
    QCOMPARE(model->index(3, 0).data(), QVariant());
    QCOMPARE(count.text(), QStringLiteral("3"));
    QCOMPARE(pane.record().count(), 3);
    QCOMPARE(pane.view(), &view);
    QCOMPARE(pane.shownRow(), 0);
    QCOMPARE(view.toPlainText(), QStringLiteral("a"));
    QVERIFY(!list.currentIndex().isValid());

    // Moving the current row shows that hit; no row shows nothing new.
    pane.makeFirstRowCurrent();
    QCOMPARE(list.currentIndex().row(), 0);
    list.setCurrentIndex(model->index(2, 0));
    QCOMPARE(pane.shownRow(), 2);
    QCOMPARE(view.toPlainText(), QStringLiteral("c"));
    pane.showClicked(model->index(1, 0));
    QCOMPARE(pane.shownRow(), 1);
    QCOMPARE(view.toPlainText(), QStringLiteral("b"));
    pane.showClicked(QModelIndex());
    QCOMPARE(pane.shownRow(), 1);

    // A new result with the first row made current shows its first hit once.
    QSignalSpy shown(&view, &QTextEdit::textChanged);
    pane.show(fixture.result, ResultPane::CurrentRow::First);
    QCOMPARE(list.currentIndex().row(), 0);
    QCOMPARE(pane.shownRow(), 0);
    QCOMPARE(view.toPlainText(), QStringLiteral("a"));
    const qsizetype once = shown.size();
    pane.showClicked(model->index(0, 0));
    QCOMPARE(shown.size(), once);
}

void TestResultPane::emptyRecord()
{
    QListView list;
    QLabel count(QStringLiteral("12"));
    ArticleView view;
    view.setPlainText(QStringLiteral("ancien texte"));
    ResultPane pane(&list, &count, &view);
    pane.show(SearchResult(), ResultPane::CurrentRow::First);
    QCOMPARE(list.model()->rowCount(), 0);
    QCOMPARE(count.text(), QStringLiteral("0"));
    QVERIFY(view.toPlainText().isEmpty());
    QVERIFY(!list.currentIndex().isValid());
    QCOMPARE(pane.shownRow(), -1);
}

void TestResultPane::showsMarkedWords_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("shown");

    QTest::newRow("one word") << "Le son grave."
                              << "son"
                              << "Le [son] grave.";
    QTest::newRow("markup characters in text") << "a <b> & son"
                                               << "son"
                                               << "a <b> & [son]";
    QTest::newRow("line breaks kept") << "son\nvent\n\nson"
                                      << "son"
                                      << "[son]\nvent\n\n[son]";
    QTest::newRow("spaces kept") << "  son   vent"
                                 << "vent"
                                 << "  son   [vent]";
    QTest::newRow("leading and trailing line breaks") << "\n  son\n"
                                                      << "son"
                                                      << "\n  [son]\n";
    QTest::newRow("several line breaks at both ends") << "\n\nson\n\n"
                                                      << "son"
                                                      << "\n\n[son]\n\n";
    QTest::newRow("tab kept") << "son\tvent"
                              << "vent"
                              << "son\t[vent]";
    QTest::newRow("term red") << "red son"
                              << "son red"
                              << "[red] [son]";
    // "\r\n" shows as one break, the "\r" as a space before it: no later position moves.
    QTest::newRow("crlf before the word") << "souffle\r\nle vent."
                                          << "vent"
                                          << "souffle \nle [vent].";
    QTest::newRow("three crlf before the word") << "a\r\nb\r\n\r\nle vent."
                                                << "vent"
                                                << "a \nb \n \nle [vent].";
    QTest::newRow("lone cr before the word") << "souffle\rle vent."
                                             << "vent"
                                             << "souffle\nle [vent].";
    QTest::newRow("cr, then crlf, before the word") << "souffle\r\r\nle vent."
                                                    << "vent"
                                                    << "souffle\n \nle [vent].";
    QTest::newRow("after a run broken for display")
        << QString(300, QLatin1Char('x')) + QStringLiteral(" le vent.") << "vent"
        << QString(256, QLatin1Char('x')) + QStringLiteral("\n") + QString(44, QLatin1Char('x')) +
               QStringLiteral(" le [vent].");
}

void TestResultPane::showsMarkedWords()
{
    QFETCH(QString, text);
    QFETCH(QString, query);
    QFETCH(QString, shown);
    Fixture fixture({text});
    fixture.result.setMode(SearchMode::AnyTerm);
    fixture.result.splitTerms(query);
    ArticleView view;
    ResultPane::showArticle(fixture.result, 0, &view);
    QCOMPARE(markedRuns(view), shown);
}

void TestResultPane::plainTextShownAsWritten()
{
    Fixture fixture({"<b>pas gras</b> &amp;\n« x »", "deux"});
    ArticleView view;
    ResultPane::showArticle(fixture.result, 0, &view);
    QCOMPARE(view.toPlainText(), fixture.entries[0].text);
    ResultPane::showArticle(fixture.result, 1, &view);
    QCOMPARE(view.toPlainText(), QStringLiteral("deux"));
}

void TestResultPane::nextArticleNotColoured()
{
    Fixture fixture({"son au début", "rien ici"});
    fixture.result.setMode(SearchMode::AllTerms);
    fixture.result.splitTerms(QStringLiteral("son"));
    ArticleView view;
    ResultPane::showArticle(fixture.result, 0, &view);
    QCOMPARE(markedRuns(view), QStringLiteral("[son] au début"));
    ResultPane::showArticle(fixture.result, 1, &view);
    QCOMPARE(markedRuns(view), QStringLiteral("rien ici"));
    fixture.result.setMode(SearchMode::Titles);
    ResultPane::showArticle(fixture.result, 0, &view);
    QCOMPARE(markedRuns(view), QStringLiteral("son au début"));
}

void TestResultPane::millionMatchesShowFirstHundredThousand()
{
    // "a" a million times, in lines of 50, each one a whole word: 2,000,000 characters.
    QString text;
    text.reserve(2000000);
    for (int i = 1; i <= 1000000; ++i) {
        text += QLatin1Char('a');
        text += i % 50 == 0 ? QLatin1Char('\n') : QLatin1Char(' ');
    }
    Fixture fixture({text});
    fixture.result.setMode(SearchMode::AnyTerm);
    fixture.result.splitTerms(QStringLiteral("a"));
    ArticleView view;
    ResultPane::showArticle(fixture.result, 0, &view);
    // The view shows the first 250,000 characters, then says so.
    QCOMPARE(view.shownLength(), 250000);
    QVERIFY(view.toPlainText() ==
            text.left(250000) + QStringLiteral("\n\nArticle tronqué à l'affichage : 250\u202F000 caractères sur "
                                               "2\u202F000\u202F000"));

    const auto markedAt = [&view](int position) {
        QTextCursor cursor(view.document());
        cursor.setPosition(position + 1);
        const QTextCharFormat format = cursor.charFormat();
        return format.foreground().color() == QColor(Qt::red) && format.fontWeight() == QFont::Bold &&
               format.fontUnderline();
    };
    QVERIFY(markedAt(0));
    QVERIFY(!markedAt(1));
    QVERIFY(markedAt(2));
    QVERIFY(markedAt(100000));
    QVERIFY(markedAt(199998)); // the 100,000th match
    QVERIFY(!markedAt(199999));
    QVERIFY(!markedAt(200000)); // the 100,001st
    QVERIFY(!markedAt(249998));

    int marks = 0;
    for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().fontUnderline())
                marks += int(it.fragment().length());
        }
    }
    QCOMPARE(marks, 100000);
}

void TestResultPane::rowPastTheLaidOutPartIsScrolledTo()
{
    // A long list is laid out a slice at a time after it is shown; a row chosen past the part laid out
    // is still scrolled into sight at once.
    Fixture fixture(QStringList(120000, QStringLiteral("x")));
    QListView list;
    QLabel count;
    ArticleView view;
    ResultPane pane(&list, &count, &view);
    list.resize(300, 200);
    list.show();
    pane.show(fixture.result);
    pane.selectRow(110000);
    QCOMPARE(list.currentIndex().row(), 110000);
    QVERIFY(list.viewport()->rect().intersects(list.visualRect(list.currentIndex())));
}

void TestResultPane::occurrenceLabel_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("tip");
    const QString tip = QStringLiteral("Seules les occurrences marquées dans la partie affichée sont comptées");
    QTest::newRow("no mark") << "rien ici"
                             << ""
                             << "";
    QTest::newRow("three marks") << "son, (son) et son"
                                 << "1 / 3"
                                 << "";
    // 300,000 characters: the second mark stands beyond the 250,000 shown.
    QTest::newRow("a mark beyond the part shown") << QStringLiteral("son ") + QString(150000, u'x') + QLatin1Char(' ') +
                                                         QString(149990, u'y') + QStringLiteral(" son")
                                                  << "1 / 1+" << tip;
    QTest::newRow("100,001 marks in the part shown")
        << QStringLiteral("a ").repeated(100001) << "1 / 100\u202F000+" << tip;
    QTest::newRow("100,000 marks") << QStringLiteral("a ").repeated(100000) << "1 / 100\u202F000"
                                   << "";
}

void TestResultPane::occurrenceLabel()
{
    QFETCH(QString, text);
    QFETCH(QString, label);
    QFETCH(QString, tip);
    Fixture fixture({text});
    fixture.result.setMode(SearchMode::AnyTerm);
    fixture.result.splitTerms(QStringLiteral("son a"));
    QWidget page;
    auto* row = new QHBoxLayout(&page);
    QListView list;
    QLabel count;
    ArticleView view;
    ResultPane pane(&list, &count, &view, nullptr, {row, 0, nullptr, nullptr});
    pane.show(fixture.result);
    auto* shown = page.findChild<QLabel*>(QStringLiteral("Txt_Occ"));
    QVERIFY(shown);
    QCOMPARE(shown->text(), label);
    QCOMPARE(shown->toolTip(), tip);
    QCOMPARE(page.findChild<QToolButton*>(QStringLiteral("Bt_Suiv"))->isEnabled(), !label.isEmpty());
}

void TestResultPane::displayCopy_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    const QString x256(256, QLatin1Char('x'));
    const QString word(200, QLatin1Char('w'));
    QTest::newRow("word of 256 characters") << x256 + QStringLiteral(" fin") << x256 + QStringLiteral(" fin");
    QTest::newRow("word of 600 characters")
        << QString(600, QLatin1Char('x'))
        << x256 + QStringLiteral("\n") + x256 + QStringLiteral("\n") + QString(88, u'x');
    QTest::newRow("word of 257 characters, then a line feed")
        << QString(257, QLatin1Char('x')) + QStringLiteral("\nfin") << x256 + QStringLiteral("\nx\nfin");
    QTest::newRow("surrogate pair not parted") << QString(255, QLatin1Char('x')) + QStringLiteral("𝄞yy")
                                               << QString(255, QLatin1Char('x')) + QStringLiteral("𝄞\nyy");
    // 21 words of 200 and their spaces: 4,221 characters; broken at the last space before 4,096.
    QTest::newRow("line over 4096 characters")
        << (word + QLatin1Char(' ')).repeated(21).chopped(1)
        << (word + QLatin1Char(' ')).repeated(19) + word + QStringLiteral("\n") + word;
    QTest::newRow("line of 4096 characters") << QStringLiteral("aaaaaaaaaaaaaaa ").repeated(256).chopped(1) + u'a'
                                             << QStringLiteral("aaaaaaaaaaaaaaa ").repeated(256).chopped(1) + u'a';
    // 25,000 lines of nine letters: 250,000 characters shown of 250,010.
    QTest::newRow("cut after 250,000 characters")
        << QStringLiteral("abcdefghi\n").repeated(25001)
        << QStringLiteral("abcdefghi\n").repeated(25000) +
               QStringLiteral("\n\nArticle tronqué à l'affichage : 250\u202F000 caractères sur 250\u202F010");
    QTest::newRow("cut before a surrogate pair")
        << QStringLiteral("abcdefghi\n").repeated(24999) + QString(9, QLatin1Char('b')) + QStringLiteral("𝄞c")
        << QStringLiteral("abcdefghi\n").repeated(24999) + QString(9, QLatin1Char('b')) +
               QStringLiteral("\n\nArticle tronqué à l'affichage : 249\u202F999 caractères sur 250\u202F002");
}

void TestResultPane::displayCopy()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    ArticleView view;
    view.showArticle(text, {});
    QCOMPARE(view.toPlainText(), shown);
}

void TestResultPane::copyGivesArticleCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("from"); // in the view
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("copied");

    QTest::newRow("across a crlf") << "souffle\r\nle vent." << 5 << 12 << "le\r\nle ";
    QTest::newRow("across a lone cr") << "souffle\rle vent." << 5 << 11 << "le\rle ";
    QTest::newRow("across a break put into a word")
        << QString(300, QLatin1Char('x')) + QStringLiteral("yz") << 250 << 260 << QString(9, QLatin1Char('x'));
    QTest::newRow("from a break put into a word")
        << QString(256, QLatin1Char('x')) + QStringLiteral("yz") << 256 << 259 << "yz";
    QTest::newRow("across a line broken at a space")
        << (QString(200, QLatin1Char('w')) + QLatin1Char(' ')).repeated(21).chopped(1) << 4017 << 4022 << "ww ww";
    QTest::newRow("everything of a cut article, note included")
        << QStringLiteral("abcdefghi\n").repeated(25001) << 0 << 250100
        << QStringLiteral("abcdefghi\n").repeated(25000);
}

void TestResultPane::copyGivesArticleCharacters()
{
    QFETCH(QString, text);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, copied);
    ArticleView view;
    view.showArticle(text, {});
    QTextCursor cursor(view.document());
    cursor.setPosition(from);
    cursor.setPosition(std::min(to, view.document()->characterCount() - 1), QTextCursor::KeepAnchor);
    view.setTextCursor(cursor);

    QGuiApplication::clipboard()->clear();
    view.copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), copied);
    // The keyboard copies the same.
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), copied);
    // Text set another way is copied as it stands.
    view.setPlainText(QStringLiteral("a\r\nb"));
    view.selectAll();
    view.copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("a\nb"));
}

void TestResultPane::formattedDisplay_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("display");    // the view's text
    QTest::addColumn<QStringList>("styled"); // role:text, then the headings as heading:text

    QTest::newRow("title and header apart")
        << QByteArray("<r><a><titre>A(a)</titre><entete>3e pers. sing.</entete></a></r>") << "A(a)\n3e pers. sing."
        << QStringList{"Titre:A(a)"};
    QTest::newRow("indentation shrinks to one break")
        << QByteArray("<r><a>\n  <t>UN</t>\n  <d>air</d>\n</a></r>") << "   UN   \nair " << QStringList{"Titre:UN"};
    QTest::newRow("nested blocks make no blank lines")
        << QByteArray("<r><a><t>UN</t><s><d>air</d><e>ex.</e></s></a></r>") << "UN\nair\nex."
        << QStringList{"Titre:UN"};
    QTest::newRow("mixed content keeps its whitespace and line ends")
        << QByteArray("<r><a><v>VENT</v>, <c>s. m.</c>\n<d>Air qui va.</d></a><a><v>SON</v>, <c>s. m.</c></a></r>")
        << "VENT, s. m.\nAir qui va." << QStringList{"Titre:VENT", "Italique:s. m.", "Italique:Air qui va."};
    QTest::newRow("heading from an attribute")
        << QByteArray("<r><a><t>A</t><s n=\"1\">un</s><s n=\"2\">deux</s><s n=\"1\">trois</s><s n=\"1\">x</s>"
                      "<s n=\"2\">y</s></a></r>")
        << "A\n1\nun\n2\ndeux\n1\ntrois\n1\nx\n2\ny"
        << QStringList{"Titre:A", "heading:1", "heading:2", "heading:1", "heading:1", "heading:2"};
    QTest::newRow("no heading that repeats the text")
        << QByteArray("<r><a><t>A</t><c g=\"adj.\">adj.</c><c g=\"adj.\">adj.</c><c g=\"adj.\">n.</c></a></r>")
        << "A\nadj.\nadj.\nadj.\nn." << QStringList{"Titre:A", "heading:adj."};
    QTest::newRow("HTML names") << QByteArray(
                                       "<r><a>E = m<i>c</i><sup>2</sup><br/>et <b>gras</b><p>Alinéa.</p></a></r>")
                                << "E = mc2\net gras\nAlinéa." << QStringList{"Italique:c", "Exposant:2", "Gras:gras"};
}

void TestResultPane::formattedDisplay()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, display);
    QFETCH(QStringList, styled);
    const CorpusDocument corpus = testcorpus::of(xml);
    QVERIFY(corpus.articleCount() > 0);
    const ArticleEntry& article = corpus.articles().front();
    ArticleView view;
    view.setRoles(std::make_shared<ElementRoles>(corpus.content()->roles));
    view.showArticle(article.text, article.edges, {}, &corpus.elementIndex(), 0);
    QCOMPARE(view.toPlainText(), display);
    const ArticleDisplay shown = ArticleDisplay::formatted(article.text, article.text.size(), 4096, 256,
                                                           corpus.elementIndex(), 0, corpus.content()->roles);
    QStringList actual;
    for (const ArticleDisplay::Styled& each : shown.styled())
        actual << ElementRoles::roleName(each.role) + ":" +
                      shown.text().mid(each.range.start, each.range.end - each.range.start);
    for (const ArticleDisplay::Range& heading : shown.headings())
        actual << "heading:" + shown.text().mid(heading.start, heading.end - heading.start);
    QCOMPARE(actual, styled);
    // All of it copied is the article, none of what the view put in.
    view.selectAll();
    QGuiApplication::clipboard()->clear();
    view.copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), article.text);
    // Every character of the article stands where the view says, for itself or as a space.
    for (qsizetype i = 0; i < article.text.size(); ++i) {
        const QChar c = shown.text().at(view.viewPosition(i));
        QVERIFY2(c == article.text.at(i) || (c == u' ' && article.text.at(i).isSpace()),
                 qPrintable(QString::number(i)));
        QCOMPARE(view.articlePosition(view.viewPosition(i)), i);
    }
}

void TestResultPane::formattedMarksAsPlain_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("mode");

    const QList<std::pair<const char*, const char*>> queries{
        {"EV_Sons.xml", "vent son"},   {"EV_Sons.xml", "de la"},       {"EV_Sons.xml", "le vent"},
        {"EV_Inventaire.xml", "bois"}, {"petit.xml", "vent cloche"},   {"croisee.xml", "vent"},
        {"exemples.xml", "son"},       {"lecture.xml", "pomme fruit"}, {"EV_Sons.xml", "s. m"},
    };
    for (const auto& [file, query] : queries) {
        for (const int mode : {int(SearchMode::AllTerms), int(SearchMode::AnyTerm), int(SearchMode::ExactPhrase)})
            QTest::addRow("%s, %s, %s", file, query, qPrintable(modeName(SearchMode(mode)))) << file << query << mode;
    }
}

void TestResultPane::formattedMarksAsPlain()
{
    QFETCH(QString, file);
    QFETCH(QString, query);
    QFETCH(int, mode);
    // The stock corpora lie with the program's data, the others with the suites'.
    const QString path = QFINDTESTDATA((file.startsWith("EV_") ? "../data/" : "data/") + file);
    QVERIFY(!path.isEmpty());
    const CorpusDocument corpus = testcorpus::ofFile(path);
    QVERIFY(corpus.articleCount() > 0);
    const SearchResult record = fullTextSearch(corpus, query, SearchMode(mode), false);
    ArticleView plain;
    ArticleView formatted;
    formatted.setRoles(std::make_shared<ElementRoles>(corpus.content()->roles));
    for (int row = 0; row < record.count(); ++row) {
        ResultPane::showArticle(record, row, &plain);
        ResultPane::showArticle(record, row, &formatted);
        QVERIFY(formatted.document()->toHtml() != plain.document()->toHtml());
        QCOMPARE(markedArticleRanges(formatted), markedArticleRanges(plain));
    }
}

void TestResultPane::structureOfCorpora_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QStringList>("lines"); // names each of whose elements starts a line
    QTest::addColumn<QStringList>("roles"); // name=role

    QFile sounds(QFINDTESTDATA("../data/EV_Sons.xml"));
    QVERIFY(sounds.open(QIODevice::ReadOnly));
    QTest::newRow("EV_Sons") << sounds.readAll() << QStringList{"definition"}
                             << QStringList{"vedette=Titre", "definition=Normal", "exemple=Italique", "auteur=Italique",
                                            "categorie=Italique"};
    const QStringList words{"de", "la", "vent", "eau", "arbre", "été", "ombre", "cloche", "soleil", "orgue"};
    using Generator = CorpusGenerator;
    QTest::newRow("generated dictionary") << Generator::generate(words, 1, 300000, Generator::Profile::Dictionary)
                                          << QStringList{"sens", "definition", "cit", "remarque", "etymologie"}
                                          << QStringList{"vedette=Titre", "definition=Paragraphe", "cit=Intertitre",
                                                         "prononciation=Italique", "mot=Italique"};
    QTest::newRow("generated dictionary, packed")
        << Generator::generate(words, 1, 300000, Generator::Profile::Dictionary, Generator::Spacing::Packed)
        << QStringList{"vedette", "sens", "definition", "cit", "remarque", "etymologie"}
        << QStringList{"vedette=Titre", "sens=Intertitre", "definition=Paragraphe", "cit=Intertitre", "mot=Italique"};
    QTest::newRow("generated encyclopedia") << Generator::generate(words, 1, 300000) << QStringList{"definition"}
                                            << QStringList{"vedette=Titre", "definition=Normal", "auteur=Italique"};
}

void TestResultPane::structureOfCorpora()
{
    QFETCH(QByteArray, xml);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, roles);
    const CorpusDocument corpus = testcorpus::of(xml);
    QVERIFY(corpus.articleCount() > 10);
    const ElementIndex& index = corpus.elementIndex();
    const ElementRoles& guessed = corpus.content()->roles;
    for (const QString& role : roles) {
        const QStringList parts = role.split(u'=');
        QCOMPARE(parts.first() + "=" + ElementRoles::roleName(guessed.role(index.nameId(parts.first()))), role);
    }
    // Each element of those names starts a line: only spaces between it and the line's start.
    int starts = 0;
    for (int a = 0; a < corpus.articleCount(); ++a) {
        const QString& text = corpus.articles()[size_t(a)].text;
        const ArticleDisplay shown = ArticleDisplay::formatted(text, text.size(), 4096, 256, index, a, guessed);
        const ElementIndex::Article article = index.article(a);
        for (const ElementIndex::Element* e = article.begin; e != article.end; ++e) {
            const size_t k = size_t(e - article.begin);
            if (!lines.contains(index.name(article.names[k])) || article.texts[k].start == article.texts[k].end)
                continue;
            qsizetype at = shown.viewPosition(article.texts[k].start);
            while (at > 0 && (shown.text().at(at - 1) == u' ' || shown.text().at(at - 1) == u'\t'))
                --at;
            QVERIFY2(at == 0 || shown.text().at(at - 1) == u'\n' || shown.text().at(at - 1) == QChar::LineSeparator,
                     qPrintable(index.name(article.names[k]) + " in article " + QString::number(a)));
            ++starts;
        }
    }
    QVERIFY(starts > corpus.articleCount());
}

void TestResultPane::palette()
{
    QCOMPARE(backgroundPalette(QStringLiteral("#102030")).color(QPalette::Button), QColor(0x10, 0x20, 0x30));
    QCOMPARE(backgroundPalette(QStringLiteral("n'importe")).color(QPalette::Button), QColor(Qt::lightGray));
    QCOMPARE(backgroundPalette(QString()).color(QPalette::Button), QColor(Qt::lightGray));
}

QTEST_MAIN(TestResultPane)
#include "tst_resultpane.moc"

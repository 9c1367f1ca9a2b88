#include "menu/textprinter.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

using textprinter::Placement;

namespace {

// A printer drawing a 600 × 825 point page without margins into a PDF: 800 × 1100 units at
// screen resolution.
void setUpPdf(QPrinter& printer, const QString& fileName)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(QSizeF(600, 825), QPageSize::Point));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
}

// The text of each page of a PDF, as pdftotext reads it.
QStringList pdfPages(const QString& fileName, const QStringList& options = {})
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), options + QStringList{fileName, QStringLiteral("-")});
    if (!process.waitForFinished(20000) || process.exitCode() != 0)
        return {QStringLiteral("<pdftotext failed>")};
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

} // namespace

class TestTextPrinter : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void paginate_data();
    void paginate();
    void lines_data();
    void lines();
    void printsPages_data();
    void printsPages();
    void longLinesStayOnThePage();
    void documentPages_data();
    void documentPages();

private:
    QFont m_font;
};

void TestTextPrinter::initTestCase()
{
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(), "pdftotext (poppler-utils)");
    // The printer draws in the application font: make its line spacing known.
    m_font = QFont(QStringLiteral("DejaVu Sans"));
    m_font.setPixelSize(12);
    QApplication::setFont(m_font);
}

void TestTextPrinter::paginate_data()
{
    QTest::addColumn<QList<int>>("heights");
    QTest::addColumn<int>("pageHeight");
    QTest::addColumn<int>("row");
    QTest::addColumn<Placement>("expected");
    const QList<int> seventy(70, 16);
    QTest::newRow("first row") << seventy << 1100 << 0 << Placement{0, 10};
    QTest::newRow("second row") << seventy << 1100 << 1 << Placement{0, 26};
    QTest::newRow("last row of the page: y 1072") << seventy << 1100 << 67 << Placement{0, 1082};
    QTest::newRow("y 1088 starts a page") << seventy << 1100 << 68 << Placement{1, 10};
    QTest::newRow("then on") << seventy << 1100 << 69 << Placement{1, 26};
    const QList<int> four(4, 16);
    // y 16: 26 is not above 40, so the row is drawn although its box ends at 42.
    QTest::newRow("box below the limit still drawn") << four << 50 << 1 << Placement{0, 26};
    QTest::newRow("y 32 breaks") << four << 50 << 2 << Placement{1, 10};
    QTest::newRow("mixed heights break on the top") << QList<int>{16, 40, 16} << 70 << 2 << Placement{1, 10};
    QTest::newRow("mixed heights, second row") << QList<int>{16, 40, 16} << 70 << 1 << Placement{0, 26};
    // A page too short for the test: no empty first page, one row a page.
    QTest::newRow("tiny page, first row") << four << 15 << 0 << Placement{0, 10};
    QTest::newRow("tiny page, last row") << four << 15 << 3 << Placement{3, 10};
}

void TestTextPrinter::paginate()
{
    QFETCH(QList<int>, heights);
    QFETCH(int, pageHeight);
    QFETCH(int, row);
    QFETCH(Placement, expected);
    const QList<Placement> placements = textprinter::paginate(heights, pageHeight);
    QCOMPARE(placements.size(), heights.size());
    QCOMPARE(placements.at(row).page, expected.page);
    QCOMPARE(placements.at(row).top, expected.top);
}

void TestTextPrinter::lines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("empty") << "" << QStringList();
    QTest::newRow("one line, no end") << "a" << QStringList{"a"};
    QTest::newRow("final line end adds nothing") << "a\nb\n" << QStringList{"a", "b"};
    QTest::newRow("empty lines kept") << "a\n\n\nb" << QStringList{"a", "", "", "b"};
    QTest::newRow("only a line end") << "\n" << QStringList{""};
    QTest::newRow("CR LF") << "a\r\nb\r\n" << QStringList{"a", "b"};
    QTest::newRow("tabs and markup stay") << "\t1º : x\n<b>y</b>" << QStringList{"\t1º : x", "<b>y</b>"};
}

void TestTextPrinter::lines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, expected);
    QCOMPARE(textprinter::lines(text), expected);
}

void TestTextPrinter::printsPages_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<QList<int>>("perPage");
    // 1100 units high less the band of two lines for the page number, line spacing 14: y 0 to 1050
    // on a page, 76 lines.
    QTest::newRow("one line") << 1 << QList<int>{1};
    QTest::newRow("a full page") << 76 << QList<int>{76};
    QTest::newRow("one more") << 77 << QList<int>{76, 1};
    QTest::newRow("three pages") << 200 << QList<int>{76, 76, 48};
}

void TestTextPrinter::printsPages()
{
    QFETCH(int, lineCount);
    QFETCH(QList<int>, perPage);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("p.pdf"));
    QPrinter printer(QPrinter::ScreenResolution);
    setUpPdf(printer, pdf);
    QCOMPARE(printer.height(), 1100);
    QCOMPARE(printer.width(), 800);
    QCOMPARE(QFontMetrics(m_font, &printer).lineSpacing(), 14);

    QString text;
    for (int i = 1; i <= lineCount; ++i)
        text += QStringLiteral("ligne%1\n").arg(i);
    QCOMPARE(textprinter::print(text, printer), perPage.size());

    const QStringList pages = pdfPages(pdf);
    QCOMPARE(pages.size(), perPage.size());
    int next = 1;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        const QStringList found = pages[p].split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        // The lines, then the page number.
        QCOMPARE(found.size(), perPage[p] + 1);
        QCOMPARE(found.first(), QStringLiteral("ligne%1").arg(next));
        QCOMPARE(found.at(perPage[p] - 1), QStringLiteral("ligne%1").arg(next + perPage[p] - 1));
        QCOMPARE(found.last(), QStringLiteral("Page %1 / %2").arg(p + 1).arg(perPage.size()));
        next += perPage[p];
    }
}

void TestTextPrinter::longLinesStayOnThePage()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("l.pdf"));
    QPrinter printer(QPrinter::ScreenResolution);
    setUpPdf(printer, pdf);
    QString line;
    for (int i = 0; i < 300; ++i)
        line += QStringLiteral("mot%1 ").arg(i, 3, 10, QLatin1Char('0'));
    QCOMPARE(textprinter::print(QStringLiteral("avant\n") + line + QStringLiteral("\naprès\n"), printer), 1);

    // Every word is printed, inside the 600-point page.
    const QString words = pdfPages(pdf, {QStringLiteral("-bbox")}).join(QString());
    const QRegularExpression word(QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"[0-9.]+\" xMax=\"([0-9.]+)\""
                                                 "[^>]*>([^<]*)</word>"));
    QStringList printed;
    for (const QRegularExpressionMatch& match : word.globalMatch(words)) {
        QVERIFY2(match.captured(1).toDouble() >= 7.0, qPrintable(match.captured(3))); // the left margin
        QVERIFY2(match.captured(2).toDouble() <= 600.0, qPrintable(match.captured(3)));
        printed << match.captured(3);
    }
    QCOMPARE(printed.size(), 306);
    QCOMPARE(printed.first(), QStringLiteral("avant"));
    QCOMPARE(printed.at(300), QStringLiteral("mot299"));
    QCOMPARE(printed.at(301), QStringLiteral("après"));
    QCOMPARE(printed.mid(302), QStringList({"Page", "1", "/", "1"}));
}

void TestTextPrinter::documentPages_data()
{
    QTest::addColumn<int>("lineCount");
    QTest::addColumn<int>("pageCount");
    QTest::newRow("one line") << 1 << 1;
    QTest::newRow("three pages") << 200 << 3;
}

void TestTextPrinter::documentPages()
{
    QFETCH(int, lineCount);
    QFETCH(int, pageCount);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("d.pdf"));
    QPrinter printer(QPrinter::ScreenResolution);
    setUpPdf(printer, pdf);
    QStringList lines;
    for (int i = 1; i <= lineCount; ++i)
        lines << QStringLiteral("ligne%1").arg(i);
    QTextDocument document(lines.join(QLatin1Char('\n')));
    document.setDefaultFont(m_font);
    QCOMPARE(textprinter::printDocument(document, printer), pageCount);

    // Every line once, in order, and each page ends with its number.
    const QStringList pages = pdfPages(pdf);
    QCOMPARE(pages.size(), pageCount);
    QStringList printed;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        QStringList found = pages[p].split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(found.takeLast(), QStringLiteral("Page %1 / %2").arg(p + 1).arg(pageCount));
        printed << found;
    }
    QCOMPARE(printed, lines);
}

QTEST_MAIN(TestTextPrinter)
#include "tst_textprinter.moc"

#include "corpus/corpusfile.h"
#include "search/titlefilter.h"

#include <QFile>
#include <QImage>
#include <QTest>

// The files the program finds in its working directory.
class TestStockData : public QObject
{
    Q_OBJECT
private slots:
    void corpus_data();
    void corpus();
    void pictures_data();
    void pictures();
    void pages_data();
    void pages();
};

void TestStockData::corpus_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("emptyTitle");
    // Both have an empty title element; in the first a comment follows it, so the title stays empty.
    QTest::newRow("sounds") << "EV_Sons.xml" << true;
    QTest::newRow("dictionaries") << "EV_Inventaire.xml" << false;
}

void TestStockData::corpus()
{
    QFETCH(QString, fileName);
    QFETCH(bool, emptyTitle);
    const QString path = QFINDTESTDATA(QStringLiteral("../data/") + fileName);
    QVERIFY(!path.isEmpty());
    corpusfile::Result read = corpusfile::read(path);
    QCOMPARE(read.status, corpusfile::Status::Ok);
    CorpusDocument corpus;
    corpus.setContent(std::move(*read.content));
    QVERIFY2(corpus.articleCount() >= 40, qPrintable(QString::number(corpus.articleCount())));
    QStringList titles;
    for (const ArticleEntry& entry : corpus.articles()) {
        QVERIFY(!entry.text.trimmed().isEmpty());
        titles << entry.title;
    }
    // An article whose title element is empty.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.contains("<vedette />"));
    QCOMPARE(titles.contains(QString()), emptyTitle);
    QVERIFY(titles.removeDuplicates() > 0); // a title shared by two articles
    QVERIFY(corpus.elementChoices().size() > 5);
    QCOMPARE(titleFilter(corpus, QString()).count(), corpus.articleCount());
}

void TestStockData::pictures_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QSize>("size");
    QTest::newRow("logo") << "logo.png" << QSize(412, 156);
    QTest::newRow("bouton1") << "bouton1.png" << QSize();
    QTest::newRow("bouton2") << "bouton2.png" << QSize();
    QTest::newRow("bouton3") << "bouton3.png" << QSize();
}

void TestStockData::pictures()
{
    QFETCH(QString, fileName);
    QFETCH(QSize, size);
    const QImage image(QFINDTESTDATA(QStringLiteral("../data/pngs/") + fileName));
    QVERIFY(!image.isNull());
    if (size.isValid())
        QCOMPARE(image.size(), size);
}

void TestStockData::pages_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("welcome") << "accueil.html";
    QTest::newRow("help") << "aide.html";
    QTest::newRow("about") << "about.html";
}

void TestStockData::pages()
{
    QFETCH(QString, fileName);
    QFile page(QFINDTESTDATA(QStringLiteral("../data/") + fileName));
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(page.readAll());
    QVERIFY(text.contains(QLatin1String("charset")));
    QVERIFY(text.contains(QLatin1String("Valmorine")));
}

QTEST_MAIN(TestStockData)
#include "tst_stockdata.moc"

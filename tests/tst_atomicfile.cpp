#include "corpus/atomicfile.h"
#include "corpus/atomicwriter.h"
#include "tests/testfiles.h"

#include <QDir>
#include <QTest>

class TestAtomicFile : public QObject
{
    Q_OBJECT
private slots:
    void write_data();
    void write();
    void pieces_data();
    void pieces();
};

void TestAtomicFile::write_data()
{
    QTest::addColumn<QString>("before"); // what stands at the path: "file", "nothing", "directory"
    QTest::addColumn<QString>("path");
    QTest::addColumn<qint64>("sizeLimit"); // -1: none
    QTest::addColumn<bool>("written");
    QTest::addColumn<QByteArray>("after");  // the file's bytes afterwards
    QTest::addColumn<QStringList>("files"); // in the folder afterwards: no half-written copy left

    const QByteArray old("ancien contenu\n");
    const QByteArray fresh("chemin=/un/chemin/bien/plus/long/que/seize/octets.xml\n");
    QTest::newRow("new file") << "nothing"
                              << "f.txt" << qint64(-1) << true << fresh << QStringList{"f.txt"};
    QTest::newRow("replaces a file") << "file"
                                     << "f.txt" << qint64(-1) << true << fresh << QStringList{"f.txt"};
    QTest::newRow("disk full half-way") << "file"
                                        << "f.txt" << qint64(16) << false << old << QStringList{"f.txt"};
    QTest::newRow("nothing can be written") << "file"
                                            << "f.txt" << qint64(0) << false << old << QStringList{"f.txt"};
    QTest::newRow("no such folder") << "nothing"
                                    << "absent/f.txt" << qint64(-1) << false << QByteArray("<missing>")
                                    << QStringList();
    QTest::newRow("a directory in its place")
        << "directory"
        << "f.txt" << qint64(-1) << false << QByteArray("<missing>") << QStringList();
}

void TestAtomicFile::write()
{
    QFETCH(QString, before);
    QFETCH(QString, path);
    QFETCH(qint64, sizeLimit);
    QFETCH(bool, written);
    QFETCH(QByteArray, after);
    QFETCH(QStringList, files);
    const testfiles::WorkingDirectory dir;
    QVERIFY(dir.isValid());
    if (before == QLatin1String("file"))
        testfiles::write(path, "ancien contenu\n");
    else if (before == QLatin1String("directory"))
        QVERIFY(QDir().mkdir(path));

    QString reason;
    {
        const testfiles::FileSizeLimit limit(sizeLimit < 0 ? RLIM_INFINITY : rlim_t(sizeLimit));
        QVERIFY(limit.isSet());
        reason = atomicfile::write(path, "chemin=/un/chemin/bien/plus/long/que/seize/octets.xml\n");
    }
    QCOMPARE(reason.isEmpty(), written);
    QCOMPARE(testfiles::read(path), after);
    QCOMPARE(QDir().entryList(QDir::Files | QDir::Hidden), files);
}

void TestAtomicFile::pieces_data()
{
    QTest::addColumn<bool>("earlier"); // a file "f.tsv" holding "ancien" stands there before
    QTest::addColumn<QString>("path");
    QTest::addColumn<qint64>("sizeLimit"); // -1: none
    QTest::addColumn<bool>("commit");      // false: discarded once written
    QTest::addColumn<QString>("refused");  // by open(), or by commit()
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QStringList>("files");

    QTest::newRow("written and committed")
        << false << "f.tsv" << qint64(-1) << true << "" << QByteArray("un\ndeux\n") << QStringList{"f.tsv"};
    QTest::newRow("replaces a file") << true << "f.tsv" << qint64(-1) << true << "" << QByteArray("un\ndeux\n")
                                     << QStringList{"f.tsv"};
    QTest::newRow("discarded: nothing left")
        << false << "f.tsv" << qint64(-1) << false << "" << QByteArray("<missing>") << QStringList();
    QTest::newRow("discarded: the earlier file whole")
        << true << "f.tsv" << qint64(-1) << false << "" << QByteArray("ancien") << QStringList{"f.tsv"};
    QTest::newRow("disk full half-way") << true << "f.tsv" << qint64(4) << true << "commit" << QByteArray("ancien")
                                        << QStringList{"f.tsv"};
    QTest::newRow("no such folder: refused at open")
        << false << "absent/f.tsv" << qint64(-1) << true << "open" << QByteArray("<missing>") << QStringList();
}

void TestAtomicFile::pieces()
{
    QFETCH(bool, earlier);
    QFETCH(QString, path);
    QFETCH(qint64, sizeLimit);
    QFETCH(bool, commit);
    QFETCH(QString, refused);
    QFETCH(QByteArray, after);
    QFETCH(QStringList, files);
    const testfiles::WorkingDirectory dir;
    QVERIFY(dir.isValid());
    if (earlier)
        testfiles::write(path, "ancien");
    {
        const testfiles::FileSizeLimit limit(sizeLimit < 0 ? RLIM_INFINITY : rlim_t(sizeLimit));
        QVERIFY(limit.isSet());
        AtomicWriter file(path);
        const bool opened = file.open().isEmpty();
        QCOMPARE(opened, refused != QLatin1String("open"));
        if (opened) {
            file.write("un\n");
            file.write("deux\n");
            if (commit)
                QCOMPARE(file.commit().isEmpty(), refused.isEmpty());
            else
                file.discard();
        }
    }
    QCOMPARE(testfiles::read(path), after);
    QCOMPARE(QDir().entryList(QDir::Files | QDir::Hidden), files);
}

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"

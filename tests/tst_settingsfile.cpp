#include "corpus/settingsfile.h"
#include "tests/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <optional>
#include <sys/resource.h>

class TestSettingsFile : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void reading_data();
    void reading();
    void missingFile();
    void saving_data();
    void saving();
    void roundTrip_data();
    void roundTrip();
    void pathOnly_data();
    void pathOnly();
    void otherKeys_data();
    void otherKeys();
    void writeFailures_data();
    void writeFailures();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void TestSettingsFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_path = m_dir->filePath(QStringLiteral("oxel.conf"));
}

void TestSettingsFile::reading_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("plain") << QByteArray("chemin=/a.xml\ncouleur=#ff0000\npolice=Verdana\n") << "couleur"
                           << "#ff0000";
    QTest::newRow("crlf stripped") << QByteArray("chemin=/a.xml\r\ncouleur=red\r\n") << "chemin"
                                   << "/a.xml";
    QTest::newRow("last match wins") << QByteArray("police=A\npolice=B\n") << "police"
                                     << "B";
    QTest::newRow("no such line") << QByteArray("chemin=x\n") << "police"
                                  << "";
    QTest::newRow("blank kept after =") << QByteArray("police= Arial\n") << "police"
                                        << " Arial";
    QTest::newRow("blank before = gives =value") << QByteArray("couleur =red\n") << "couleur"
                                                 << "=red";
    QTest::newRow("any character after key") << QByteArray("chemin:/b.xml\n") << "chemin"
                                             << "/b.xml";
    QTest::newRow("case-sensitive key") << QByteArray("Chemin=/b.xml\n") << "chemin"
                                        << "";
    QTest::newRow("last line without line end") << QByteArray("couleur=blue") << "couleur"
                                                << "blue";
    QTest::newRow("utf8 line") << QByteArray("chemin=/données/été.xml\n") << "chemin"
                               << "/données/été.xml";
    QTest::newRow("other key: line with =") << QByteArray("zoomx=5\nzoom=2\n") << "zoom"
                                            << "2";
    QTest::newRow("other key: longer key is another") << QByteArray("zoomx=5\n") << "zoom"
                                                      << "";
    QTest::newRow("latin1 line") << QByteArray("chemin=/donn\xE9\x65s.xml\npolice=Verdana\n") << "chemin"
                                 << "/données.xml";
    QTest::newRow("control bytes: no value") << QByteArray("police=Ver\x01\x64\x61na\n") << "police"
                                             << "";
    QTest::newRow("a lone CR is no line end") << QByteArray("police=A\rpolice=B\n") << "police"
                                              << "";
    QTest::newRow("40,000 characters") << "zoom=" + QByteArray(40000, '7') + "\n"
                                       << "zoom" << QString(40000, QLatin1Char('7'));
}

void TestSettingsFile::reading()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, key);
    QFETCH(QString, value);
    testfiles::write(m_path, contents);
    QCOMPARE(SettingsFile(m_path).value(key), value);
}

void TestSettingsFile::missingFile()
{
    const SettingsFile settings(m_path);
    QCOMPARE(settings.value(SettingsFile::pathKey), QString());
    QCOMPARE(settings.values({SettingsFile::colourKey, SettingsFile::fontKey}), QStringList({"", ""}));
}

void TestSettingsFile::saving_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("corpusPath");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("no file, personal") << QByteArray() << "/home/a/b.xml"
                                       << QByteArray("chemin=/home/a/b.xml\ncouleur=#112233\npolice=Arial\n");
    QTest::newRow("no file, stock") << QByteArray() << "EV_Sons.xml"
                                    << QByteArray("chemin=\ncouleur=#112233\npolice=Arial\n");
    QTest::newRow("stock keeps previous path") << QByteArray("chemin=/perso.xml\ncouleur=x\n") << "EV_Inventaire.xml"
                                               << QByteArray("chemin=/perso.xml\ncouleur=#112233\npolice=Arial\n");
    QTest::newRow("stock reads only the first line") << QByteArray("couleur=x\nchemin=/perso.xml\n") << "EV_Sons.xml"
                                                     << QByteArray("chemin=\ncouleur=#112233\npolice=Arial\n");
    QTest::newRow("stock under a directory is personal")
        << QByteArray("chemin=/perso.xml\n") << "/data/EV_Sons.xml"
        << QByteArray("chemin=/data/EV_Sons.xml\ncouleur=#112233\npolice=Arial\n");
    QTest::newRow("other keys kept, repeated ones dropped")
        << QByteArray("chemin=/a\nchemin=/b\nautre=1\n") << "/c.xml"
        << QByteArray("chemin=/c.xml\ncouleur=#112233\npolice=Arial\nautre=1\n");
    QTest::newRow("other keys kept in their order, after the three")
        << QByteArray("chemin=/a\nzoom=2\ncouleur=x\nfutur=été\npolice=y\n") << "/c.xml"
        << QByteArray("chemin=/c.xml\ncouleur=#112233\npolice=Arial\nzoom=2\nfutur=été\n");
    // Unknown lines go back byte for byte, whatever they hold.
    QTest::newRow("stray and control bytes kept")
        << QByteArray("zoom=2\n\x80\x81\n\x01x\x7F\x1B[0m\n") << "/c.xml"
        << QByteArray("chemin=/c.xml\ncouleur=#112233\npolice=Arial\nzoom=2\n\x80\x81\n\x01x\x7F\x1B[0m\n");
    QTest::newRow("a line holding a lone CR kept")
        << QByteArray("futur=a\rb\n") << "/c.xml"
        << QByteArray("chemin=/c.xml\ncouleur=#112233\npolice=Arial\nfutur=a\rb\n");
    QTest::newRow("a line holding U+0085 kept")
        << QByteArray("futur=a\xC2\x85\x62\n") << "/c.xml"
        << QByteArray("chemin=/c.xml\ncouleur=#112233\npolice=Arial\nfutur=a\xC2\x85\x62\n");
    QTest::newRow("a latin1 line kept as latin1")
        << QByteArray("note=\xE9t\xE9\n") << "/c.xml"
        << QByteArray("chemin=/c.xml\ncouleur=#112233\npolice=Arial\nnote=\xE9t\xE9\n");
    QTest::newRow("a 40,000-character line kept")
        << "futur=" + QByteArray(40000, 'f') + "\n"
        << "/c.xml"
        << "chemin=/c.xml\ncouleur=#112233\npolice=Arial\nfutur=" + QByteArray(40000, 'f') + "\n";
    // A path that would not read back the same leaves "chemin" as it was.
    QTest::newRow("a name that is not UTF-8 keeps the previous path")
        << QByteArray("chemin=/perso.xml\nzoom=1\n") << QString::fromUtf16(u"/caf\xDCE9.xml")
        << QByteArray("chemin=/perso.xml\ncouleur=#112233\npolice=Arial\nzoom=1\n");
    QTest::newRow("a line break in the path keeps the previous path")
        << QByteArray("chemin=/perso.xml\n") << "/a.xml\nzoom=40"
        << QByteArray("chemin=/perso.xml\ncouleur=#112233\npolice=Arial\n");
    QTest::newRow("the previous path kept byte for byte")
        << QByteArray("chemin=/donn\xE9\x65s.xml\n") << "EV_Sons.xml"
        << QByteArray("chemin=/donn\xE9\x65s.xml\ncouleur=#112233\npolice=Arial\n");
    QTest::newRow("blank lines dropped") << QByteArray("\nzoom=2\n\n") << "/c.xml"
                                         << QByteArray("chemin=/c.xml\ncouleur=#112233\npolice=Arial\nzoom=2\n");
    QTest::newRow("stock keeps previous path and other keys")
        << QByteArray("chemin=/perso.xml\ncouleur=x\npolice=y\naccents=1\n") << "EV_Sons.xml"
        << QByteArray("chemin=/perso.xml\ncouleur=#112233\npolice=Arial\naccents=1\n");
    QTest::newRow("written as utf8") << QByteArray() << "/été/«x».xml"
                                     << QByteArray("chemin=/été/«x».xml\ncouleur=#112233\npolice=Arial\n");
}

void TestSettingsFile::saving()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, corpusPath);
    QFETCH(QByteArray, after);
    if (!before.isEmpty())
        testfiles::write(m_path, before);
    QCOMPARE(SettingsFile(m_path).save(corpusPath, QStringLiteral("#112233"), QStringLiteral("Arial")),
             SettingsFile::Outcome::Written);
    QCOMPARE(testfiles::read(m_path), after);
}

void TestSettingsFile::roundTrip_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("ascii") << "/home/user/corpus.xml";
    QTest::newRow("latin1") << "/home/user/donnée à lire.xml";
    QTest::newRow("beyond latin1") << "/home/用户/Œuvre — ’’.xml";
    QTest::newRow("emoji") << "/tmp/🎵.xml";
}

void TestSettingsFile::roundTrip()
{
    QFETCH(QString, path);
    const SettingsFile settings(m_path);
    QCOMPARE(settings.save(path, QStringLiteral("vert"), QStringLiteral("Liberation Sérif")),
             SettingsFile::Outcome::Written);
    QCOMPARE(settings.value(SettingsFile::pathKey), path);
    QCOMPARE(settings.value(SettingsFile::fontKey), QStringLiteral("Liberation Sérif"));
}

void TestSettingsFile::pathOnly_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("corpusPath");
    QTest::addColumn<QByteArray>("after");
    const QByteArray three("chemin=/old\ncouleur=red\npolice=Arial\n");
    QTest::newRow("personal") << three << "/a/b.xml" << QByteArray("chemin=/a/b.xml");
    QTest::newRow("stock") << three << "EV_Sons.xml" << QByteArray();
    QTest::newRow("personal, other keys kept") << three + "zoom=3\nfutur=x\n"
                                               << "/a/b.xml" << QByteArray("chemin=/a/b.xml\nzoom=3\nfutur=x\n");
    QTest::newRow("stock, other keys kept") << three + "zoom=3\n"
                                            << "EV_Sons.xml" << QByteArray("zoom=3");
}

void TestSettingsFile::pathOnly()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, corpusPath);
    QFETCH(QByteArray, after);
    testfiles::write(m_path, before);
    QCOMPARE(SettingsFile(m_path).savePathOnly(corpusPath), SettingsFile::Outcome::Written);
    QCOMPARE(testfiles::read(m_path), after);
}

void TestSettingsFile::otherKeys_data()
{
    QTest::addColumn<QByteArray>("before"); // no file when null
    QTest::addColumn<QByteArray>("after");
    const QByteArray three("chemin=/a.xml\ncouleur=red\npolice=Arial\n");
    // The three lines always come first, as earlier versions read them.
    QTest::newRow("no file") << QByteArray() << QByteArray("chemin=\ncouleur=\npolice=\nzoom=2\naccents=1\n");
    QTest::newRow("the three put first, as readers see them")
        << QByteArray("futur=x\npolice=A\ncouleur=red\npolice=B\n")
        << QByteArray("chemin=\ncouleur=red\npolice=B\nfutur=x\nzoom=2\naccents=1\n");
    QTest::newRow("after the three") << three << three + "zoom=2\naccents=1\n";
    QTest::newRow("replaced in place, others kept") << three + "accents=0\nfutur=x\nzoom=-1\n"
                                                    << three + "accents=1\nfutur=x\nzoom=2\n";
    QTest::newRow("a repeated key written once") << three + "zoom=1\nzoom=3\n" << three + "zoom=2\naccents=1\n";
    QTest::newRow("a longer key is another key") << three + "zoomx=1\n" << three + "zoomx=1\nzoom=2\naccents=1\n";
    QTest::newRow("after a line without line end")
        << QByteArray("chemin=/a.xml\ncouleur=\npolice=")
        << QByteArray("chemin=/a.xml\ncouleur=\npolice=\nzoom=2\naccents=1\n");
}

void TestSettingsFile::otherKeys()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    if (!before.isNull())
        testfiles::write(m_path, before);
    const SettingsFile settings(m_path);
    QCOMPARE(settings.setValues(
                 {{QStringLiteral("zoom"), QStringLiteral("2")}, {QStringLiteral("accents"), QStringLiteral("1")}}),
             SettingsFile::Outcome::Written);
    QCOMPARE(testfiles::read(m_path), after);
    QCOMPARE(settings.values({QStringLiteral("zoom"), QStringLiteral("accents")}), QStringList({"2", "1"}));
}

void TestSettingsFile::writeFailures_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("before"); // no file when null
    QTest::addColumn<qint64>("sizeLimit");  // none when 0
    QTest::addColumn<bool>("written");
    QTest::addColumn<QByteArray>("after");

    const QByteArray old("chemin=/old.xml\ncouleur=red\npolice=Arial\n");
    const QByteArray saved("chemin=/un/chemin/bien/plus/long/que/seize/octets.xml\ncouleur=#abcdef\npolice=Verdana\n");
    // No room for the temporary file beside it, even for root: its name would be too long.
    const QString crowded = QString(251, QLatin1Char('o')) + QStringLiteral(".cnf");
    // A file-size limit makes a write fail half-way, as a full disk would, even for root.
    QTest::newRow("full disk keeps the old file") << "oxel.conf" << old << qint64(16) << false << old;
    QTest::newRow("no room beside it: rewritten in place") << crowded << old << qint64(0) << true << saved;
    QTest::newRow("rewritten in place, shorter than before")
        << crowded << QByteArray("chemin=/old.xml\ncouleur=red\npolice=") + QByteArray(200, 'x') + "\n"
        << qint64(0) << true << saved;
    // Writing over the old file from its start would have cut it at 64 bytes.
    QTest::newRow("rewritten in place, full disk keeps the old file") << crowded << old << qint64(64) << false << old;
}

void TestSettingsFile::writeFailures()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, before);
    QFETCH(qint64, sizeLimit);
    QFETCH(bool, written);
    QFETCH(QByteArray, after);
    const QString path = m_dir->filePath(name);
    if (!before.isNull())
        testfiles::write(path, before);
    bool saved = false;
    {
        std::optional<testfiles::FileSizeLimit> fullDisk;
        if (sizeLimit > 0) {
            fullDisk.emplace(rlim_t(sizeLimit));
            QVERIFY(fullDisk->isSet());
        }
        saved = SettingsFile(path).save(QStringLiteral("/un/chemin/bien/plus/long/que/seize/octets.xml"),
                                        QStringLiteral("#abcdef"),
                                        QStringLiteral("Verdana")) == SettingsFile::Outcome::Written;
    }
    QCOMPARE(saved, written);
    QCOMPARE(testfiles::read(path), after);
    // Nothing is left behind beside it.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             before.isNull() ? QStringList() : QStringList{name});
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"

#include "app/mainwindow.h"
#include "bench/benchtable.h"
#include "bench/childprocess.h"
#include "bench/corpusgenerator.h"
#include "bench/onecore.h"
#include "bench/quietdialogs.h"
#include "corpus/corpusfile.h"
#include "corpus/corpusstore.h"
#include "forms/concordancewindow.h"
#include "forms/resultpane.h"
#include "search/concordance.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QSysInfo>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTextStream>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

namespace {

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

[[noreturn]] void fail(const QString& message)
{
    QTextStream(stderr) << "tarvane_bench: " << message << '\n';
    std::exit(1);
}

double elapsedMs(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Peak resident set of this process so far, in MB (10^6 bytes).
double peakResidentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').constFirst().toDouble() * 1024 / 1e6;
    }
    return 0;
}

QString cpuModel()
{
    QFile info(QStringLiteral("/proc/cpuinfo"));
    if (info.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : info.readAll().split('\n')) {
            if (line.startsWith("model name"))
                return QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
        }
    }
    return QSysInfo::currentCpuArchitecture();
}

// Resident set of this process now, in bytes.
double residentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').constFirst().toDouble() * 1024;
    }
    return 0;
}

// Runs an external tool to the end; returns its wall time in ms and its standard output.
double runTool(const QString& program, const QStringList& arguments, QByteArray* output = nullptr)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit)
        fail(QStringLiteral("%1 did not run (%2)").arg(program, process.errorString()));
    const double ms = elapsedMs(timer);
    // grep -c exits 1 when it counts nothing, which is a count all the same.
    if (process.exitCode() > 1 || (program != QLatin1String("grep") && process.exitCode() != 0))
        fail(QStringLiteral("%1 %2 failed: %3")
                 .arg(program, arguments.join(' '), QString::fromLocal8Bit(process.readAllStandardError())));
    if (output)
        *output = process.readAllStandardOutput().trimmed();
    return ms;
}

Stats timeTool(int reps, const QString& program, const QStringList& arguments, QByteArray* output = nullptr)
{
    QList<double> samples;
    for (int i = 0; i < reps; ++i)
        samples.append(runTool(program, arguments, output));
    return Stats::of(samples);
}

// A program run reps times: its wall time and its own CPU time (user + system), from the kernel.
struct ChildTimes
{
    Stats wall;
    Stats cpu;
};

ChildTimes timeChild(int reps, const QString& program, const QStringList& arguments,
                     const QStringList& environment = {})
{
    QList<double> walls;
    QList<double> cpus;
    for (int i = 0; i < reps; ++i) {
        const ChildProcess::Times times = ChildProcess::run(program, arguments, environment, true);
        if (times.exitCode != 0)
            fail(QStringLiteral("%1 %2 failed").arg(program, arguments.join(QLatin1Char(' '))));
        walls.append(times.wallMs);
        cpus.append(times.cpuMs);
    }
    return {Stats::of(walls), Stats::of(cpus)};
}

ChildTimes timeXmllint(int reps, const QString& path)
{
    return timeChild(reps, QStringLiteral("xmllint"), {QStringLiteral("--noout"), path},
                     {QStringLiteral("LC_ALL=C.UTF-8")});
}

// Rows for what expat alone, and the least build on it, cost against xmllint: bounds of the load's aim.
void addLoadFloors(BenchTable& table, int reps, const QString& path, const QString& xmllintCpuName, double xmllintCpuMs)
{
    const struct
    {
        const char* mode;
        const char* name;
    } floors[] = {
        {"expat", "least load: expat alone, no handlers, CPU time"},
        {"utf8", "least load: expat, texts copied as UTF-8, a record an element, CPU time"},
        {"utf16", "least load: the same, texts widened to UTF-16, CPU time"},
    };
    for (const auto& floor : floors) {
        // The least a load on expat can cost: tarvane_loadfloor, next to this program.
        const ChildTimes times =
            timeChild(reps, QCoreApplication::applicationDirPath() + QStringLiteral("/tarvane_loadfloor"),
                      {QString::fromLatin1(floor.mode), path});
        Measurement row{
            QString::fromLatin1(floor.name), QStringLiteral("ms"), times.cpu, xmllintCpuName, xmllintCpuMs, 0.5};
        row.bound = true;
        table.add(row);
    }
}

// What counting for the roles of the element names adds to a load: the same read of the file, in
// this process, with and without the counting, one after the other.
Measurement rolesCost(int reps, const QString& path)
{
    QList<double> with;
    QList<double> without;
    for (int rep = 0; rep < reps; ++rep) {
        for (const bool count : {true, false}) {
            corpusbuilder::BatchLimit limit;
            limit.countRoles = count;
            const double before = ChildProcess::selfCpuMs();
            corpusfile::Result read = corpusfile::read(path, limit);
            const double cpu = ChildProcess::selfCpuMs() - before;
            if (read.status != corpusfile::Status::Ok)
                fail(QStringLiteral("the corpus could not be read"));
            (count ? with : without).append(cpu);
        }
    }
    return {QStringLiteral("roles guessed at load: the read of the file, CPU time"),
            QStringLiteral("ms"),
            Stats::of(with),
            QStringLiteral("the same read without counting for the roles, CPU time"),
            Stats::of(without).median,
            1.05};
}

struct Options
{
    QString corpusPath;
    QString dumpPath;
    QString wordsPath;
    double sizeMb = 100;
    quint64 seed = 1;
    int reps = 5;
    QList<CorpusGenerator::Profile> profiles;
    double bigMb = 0;
    QString bigCorpusPath;
    CorpusGenerator::Profile bigProfile = CorpusGenerator::Profile::Encyclopedia;
    QString bigRunPath;  // set in the child process that measures the big corpus
    QString openRunPath; // set in the child process that measures the memory of a second open
    QList<int> concordanceRows;
    int concordanceRun = 0; // set in the child process that measures a concordance of that many rows
};

Options parseOptions(const QApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Times loading, title filtering and highlighted display on a generated corpus, next to "
                       "xmllint and grep on the same data, and prints one table."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("size-mb"), QStringLiteral("Size of the generated corpus in MB."),
                      QStringLiteral("N"), QStringLiteral("100")});
    parser.addOption(
        {QStringLiteral("seed"), QStringLiteral("Seed of the generator."), QStringLiteral("S"), QStringLiteral("1")});
    parser.addOption({QStringLiteral("reps"), QStringLiteral("Repetitions of every measurement."), QStringLiteral("R"),
                      QStringLiteral("5")});
    parser.addOption({QStringLiteral("corpus"),
                      QStringLiteral("Corpus file to use; generated there and kept when it does not exist."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("dump"),
                      QStringLiteral("Where to keep the text dump (one article a line) that grep reads."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("words"), QStringLiteral("Word list for the generator."), QStringLiteral("FILE"),
                      QStringLiteral("/usr/share/dict/french")});
    parser.addOption({QStringLiteral("profile"),
                      QStringLiteral("Corpus profile: encyclopedia, dictionary or both, each with its table."),
                      QStringLiteral("P"), QStringLiteral("both")});
    parser.addOption({QStringLiteral("big-mb"),
                      QStringLiteral("Also measure the load, the memory and the title filter on a corpus of N MB, in a "
                                     "process of their own (0: not at all)."),
                      QStringLiteral("N"), QStringLiteral("0")});
    parser.addOption({QStringLiteral("big-corpus"),
                      QStringLiteral("The big corpus to use rather than one generated in a temporary directory."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("big-profile"), QStringLiteral("Profile of the generated big corpus."),
                      QStringLiteral("P"), QStringLiteral("encyclopedia")});
    QCommandLineOption bigRun(QStringLiteral("big-run"), QStringLiteral("Internal: measure the big corpus FILE."),
                              QStringLiteral("FILE"));
    bigRun.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(bigRun);
    parser.addOption({QStringLiteral("concordance-rows"),
                      QStringLiteral("Also sort and export concordances of these many rows (comma-separated, 0: none), "
                                     "each on a corpus of its own, in a process of its own."),
                      QStringLiteral("N,N"), QStringLiteral("1000000,10000000")});
    QCommandLineOption concordanceRun(QStringLiteral("concordance-run"),
                                      QStringLiteral("Internal: measure a concordance of N rows."),
                                      QStringLiteral("N"));
    concordanceRun.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(concordanceRun);
    QCommandLineOption openRun(QStringLiteral("open-run"),
                               QStringLiteral("Internal: open FILE from its store and tell the memory held."),
                               QStringLiteral("FILE"));
    openRun.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(openRun);
    parser.process(app);

    Options options;
    bool sizeOk = false;
    bool seedOk = false;
    bool repsOk = false;
    options.sizeMb = parser.value(QStringLiteral("size-mb")).toDouble(&sizeOk);
    options.seed = parser.value(QStringLiteral("seed")).toULongLong(&seedOk);
    options.reps = parser.value(QStringLiteral("reps")).toInt(&repsOk);
    bool bigOk = false;
    options.bigMb = parser.value(QStringLiteral("big-mb")).toDouble(&bigOk);
    const QString profile = parser.value(QStringLiteral("profile"));
    bool profileOk = profile == QLatin1String("both");
    if (profileOk) {
        options.profiles = {CorpusGenerator::Profile::Encyclopedia, CorpusGenerator::Profile::Dictionary};
    } else {
        options.profiles = {CorpusGenerator::profileFromName(profile, &profileOk)};
    }
    bool bigProfileOk = false;
    options.bigProfile = CorpusGenerator::profileFromName(parser.value(QStringLiteral("big-profile")), &bigProfileOk);
    if (!sizeOk || options.sizeMb <= 0 || !seedOk || !repsOk || options.reps < 1 || !bigOk || options.bigMb < 0 ||
        !profileOk || !bigProfileOk)
        parser.showHelp(2);
    options.corpusPath = parser.value(QStringLiteral("corpus"));
    options.dumpPath = parser.value(QStringLiteral("dump"));
    options.wordsPath = parser.value(QStringLiteral("words"));
    options.bigCorpusPath = parser.value(QStringLiteral("big-corpus"));
    options.bigRunPath = parser.value(bigRun);
    options.openRunPath = parser.value(openRun);
    for (const QString& rows : parser.value(QStringLiteral("concordance-rows")).split(QLatin1Char(','))) {
        bool rowsOk = false;
        const int count = rows.toInt(&rowsOk);
        if (!rowsOk || count < 0)
            parser.showHelp(2);
        if (count > 0)
            options.concordanceRows.append(count);
    }
    if (parser.isSet(concordanceRun))
        options.concordanceRun = parser.value(concordanceRun).toInt();
    return options;
}

// The dictionary's files sit next to the encyclopedia's: c.xml, c.dictionary.xml.
QString profilePath(const QString& path, CorpusGenerator::Profile profile)
{
    if (path.isEmpty() || profile == CorpusGenerator::Profile::Encyclopedia)
        return path;
    const QFileInfo info(path);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    return info.dir().filePath(info.completeBaseName() + QLatin1Char('.') + CorpusGenerator::profileName(profile) +
                               suffix);
}

// The packed variant of a corpus sits next to it: c.xml, c.packed.xml.
QString packedPath(const QString& path)
{
    const QFileInfo info(path);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".packed") + suffix);
}

// The generator runs in its own process so that its memory stays out of this one's peak.
void generateCorpus(const Options& options, CorpusGenerator::Profile profile, double sizeMb, const QString& path,
                    CorpusGenerator::Spacing spacing = CorpusGenerator::Spacing::Spaced)
{
    const QString generator = QCoreApplication::applicationDirPath() + QStringLiteral("/tarvane_gencorpus");
    QStringList arguments{QStringLiteral("--size-mb"),
                          QString::number(sizeMb),
                          QStringLiteral("--seed"),
                          QString::number(options.seed),
                          QStringLiteral("--words"),
                          options.wordsPath,
                          QStringLiteral("--profile"),
                          CorpusGenerator::profileName(profile),
                          path};
    if (spacing == CorpusGenerator::Spacing::Packed)
        arguments.prepend(QStringLiteral("--packed"));
    QByteArray said;
    const double ms = runTool(generator, arguments, &said);
    out() << "generated in " << QString::number(ms / 1000, 'f', 1) << " s: " << said << '\n';
}

// Work a load leaves for later (a layout finished on timers) is part of its cost: the events are
// processed until 100 ms pass without an iteration taking CPU time worth the name. Returns the
// process's CPU time at the end of the last busy iteration.
double settledCpuMs()
{
    double settled = ChildProcess::selfCpuMs();
    double previous = settled;
    QElapsedTimer quiet;
    QElapsedTimer overall;
    quiet.start();
    overall.start();
    while (quiet.elapsed() < 100 && overall.elapsed() < 20000) {
        QCoreApplication::processEvents();
        QThread::msleep(2);
        const double now = ChildProcess::selfCpuMs();
        if (now - previous > 0.5) {
            settled = now;
            quiet.restart();
        }
        previous = now;
    }
    return settled;
}

class Window
{
public:
    Window()
    {
        m_window = std::make_unique<MainWindow>(m_dialogs);
        m_window->window().showMaximized();
        QCoreApplication::processEvents();
    }

    OxelDialog& operator*() const { return m_window->window(); }
    OxelDialog* operator->() const { return &m_window->window(); }

    struct LoadTimes
    {
        double wallMs = 0;
        double cpuMs = 0; // user + system, every thread of the process, until the window is idle
    };

    // The whole load as the user waits for it: from the file to the filled lists, combo boxes
    // and first articles, painted. The file is parsed (its store goes first); the CPU time counts
    // the store written after it, on its own thread.
    LoadTimes load(const QString& path)
    {
        QFile::remove(corpusstore::storePath(corpusstore::defaultFolder(), path));
        return open(path, false);
    }
    // The same from the store the last load wrote, as at the next start.
    LoadTimes reopen(const QString& path) { return open(path, true); }

    QuietDialogs& dialogs() { return m_dialogs; }

private:
    LoadTimes open(const QString& path, bool fromStore)
    {
        QElapsedTimer timer;
        const double cpuBefore = ChildProcess::selfCpuMs();
        timer.start();
        OxelDialog& window = m_window->window();
        window.setCorpusPath(path);
        window.loadCorpus();
        QCoreApplication::processEvents();
        const double wallMs = elapsedMs(timer);
        const QString notStored = window.waitForIndex();
        const LoadTimes times{wallMs, settledCpuMs() - cpuBefore};
        if (!m_dialogs.warnings.isEmpty())
            fail(QStringLiteral("the load failed: ") + m_dialogs.warnings.join(QStringLiteral("; ")));
        if (!notStored.isEmpty())
            fail(QStringLiteral("the store was not written: ") + notStored);
        if (window.loadedFromStore() != fromStore)
            fail(fromStore ? QStringLiteral("the store was not read") : QStringLiteral("the file was not parsed"));
        return times;
    }

    QuietDialogs m_dialogs;
    std::unique_ptr<MainWindow> m_window;
};

// A line of /proc/self/status, in MB.
double statusMb(const QByteArray& key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key + ':'))
            return line.mid(key.size() + 1).trimmed().split(' ').constFirst().toDouble() * 1024 / 1e6;
    }
    return 0;
}

// In a process of its own: a fresh window opens the file from its store; prints "RssAnon VmRSS" in MB.
int runOpen(const Options& options)
{
    Window window;
    window.reopen(options.openRunPath);
    QTextStream(stdout) << statusMb("RssAnon") << ' ' << statusMb("VmRSS") << '\n';
    return 0;
}

// What a second open of `path` holds in a fresh process: RssAnon and VmRSS, in MB.
std::pair<double, double> openMemory(const QString& path)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--open-run"), path});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        fail(QStringLiteral("the second open in a process of its own failed"));
    const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
    if (figures.size() != 2)
        fail(QStringLiteral("the second open told no memory"));
    return {figures.at(0).toDouble(), figures.at(1).toDouble()};
}

// Words of every fourth article's text by frequency, most frequent first; ties by text.
QStringList wordsByFrequency(const CorpusDocument& corpus)
{
    QHash<QString, int> counts;
    for (std::size_t i = 0; i < corpus.articles().size(); i += 4) {
        const QString& text = corpus.articles()[i].text;
        // A word also ends where one block of the article meets the next.
        const BlockEdges& edges = corpus.articles()[i].edges;
        const quint32* edge = edges.begin();
        qsizetype start = -1;
        for (qsizetype p = 0; p <= text.size(); ++p) {
            const bool atEdge = edge != edges.end() && qsizetype(*edge) == p;
            if (atEdge)
                ++edge;
            const bool letter = p < text.size() && text.at(p).isLetter();
            if (start >= 0 && (!letter || atEdge)) {
                ++counts[text.mid(start, p - start)];
                start = -1;
            }
            if (letter && start < 0)
                start = p;
        }
    }
    QList<std::pair<int, QString>> ranked;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        ranked.append({-it.value(), it.key()});
    std::sort(ranked.begin(), ranked.end());
    QStringList words;
    for (const auto& [count, word] : ranked)
        words.append(word);
    return words;
}

// Articles whose one <citation> text is long and differs from the others only in its middle, as
// numbered quotations of one formula do: a choice of that element offers every one of them.
void writeMiddleDifferingCorpus(const QString& path, int articles)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fail(QStringLiteral("cannot write ") + path);
    const QByteArray opening =
        "Se dit d'un son qui se prolonge sous la voûte, comme l'écho d'une cloche lointaine, n° ";
    const QByteArray closing =
        ", et qui s'éteint lentement dans le silence du soir, ainsi que le rapportent les anciens.";
    file.write("<corpus>\n");
    for (int i = 0; i < articles; ++i) {
        const QByteArray number = QByteArray::number(i);
        file.write("<article><vedette>SON " + number + "</vedette><citation>" + opening + number + closing +
                   "</citation></article>\n");
    }
    file.write("</corpus>\n");
    if (!file.flush())
        fail(QStringLiteral("cannot write ") + path);
}

void writeDump(const CorpusDocument& corpus, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fail(QStringLiteral("cannot write ") + path);
    for (const ArticleEntry& entry : corpus.articles()) {
        QString line = entry.text;
        line.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
        file.write(line.toUtf8());
        file.write("\n");
    }
    if (!file.flush())
        fail(QStringLiteral("cannot write ") + path);
}

// The title filter, typed letter by letter and erased, each keystroke with its list refresh.
QList<double> timeTitleFilter(OxelDialog& w, const QString& typed, int reps)
{
    w.Onglets->setCurrentIndex(0);
    QCoreApplication::processEvents();
    QList<double> keystrokes;
    for (int rep = 0; rep < reps; ++rep) {
        w.Txt_Corpus->clear();
        QCoreApplication::processEvents();
        for (const QChar c : typed) {
            QElapsedTimer timer;
            timer.start();
            w.Txt_Corpus->insert(QString(c));
            QCoreApplication::processEvents();
            keystrokes.append(elapsedMs(timer));
        }
        for (qsizetype i = 0; i < typed.size(); ++i) {
            QElapsedTimer timer;
            timer.start();
            w.Txt_Corpus->backspace();
            QCoreApplication::processEvents();
            keystrokes.append(elapsedMs(timer));
        }
    }
    if (w.resultCorpus().count() != w.corpus().articleCount())
        fail(QStringLiteral("the emptied title filter does not list every article"));
    return keystrokes;
}

// What the block edges of the corpus hold in its element index, in bytes an article: where each
// article's list starts, and each edge kept.
double edgeBytesPerArticle(const CorpusDocument& corpus)
{
    const ElementIndex& index = corpus.elementIndex();
    double bytes = 0;
    for (int n = 0; n < index.articleCount(); ++n)
        bytes += sizeof(quint32) * (1 + double(index.edges(n).size()));
    return index.articleCount() > 0 ? bytes / index.articleCount() : 0;
}

// A title of the middle of the corpus, as typed: eight letters at most.
QString typedTitle(const CorpusDocument& corpus)
{
    return corpus.articles()[corpus.articles().size() / 2].title.toLower().left(8);
}

QString heading(const QString& what)
{
    return QStringLiteral("Tarvane benchmark, %1, %2 UTC\nmachine: %3, %4 cores, Qt %5, %6 platform\n")
        .arg(what, QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd hh:mm")), cpuModel())
        .arg(QThread::idealThreadCount())
        .arg(QString::fromLatin1(qVersion()), QGuiApplication::platformName());
}

// The corpus's first articles, their markup kept, until they hold bytes: once as they are, once inside
// one article (each an <entree> of it). Returns the articles taken.
int writeOneAndManyMarked(const QString& corpusPath, qint64 bytes, const QString& onePath, const QString& manyPath)
{
    QFile corpus(corpusPath);
    if (!corpus.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read ") + corpusPath);
    const QByteArray all = corpus.read(bytes + (1 << 20));
    const qsizetype start = all.indexOf("<article");
    qsizetype end = all.indexOf("</article>", start + bytes);
    end = end < 0 ? all.lastIndexOf("</article>") : end;
    if (start < 0 || end < 0)
        fail(QStringLiteral("no articles in ") + corpusPath);
    QByteArray articles = all.mid(start, end + 10 - start);
    const int taken = static_cast<int>(articles.count("</article>"));
    QFile many(manyPath);
    QFile one(onePath);
    if (!one.open(QIODevice::WriteOnly | QIODevice::Truncate) || !many.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fail(QStringLiteral("cannot write ") + onePath);
    many.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<corpus>\n" + articles + "\n</corpus>\n");
    articles.replace("<article", "<entree").replace("</article>", "</entree>");
    one.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<corpus>\n<article><vedette>GRAND</vedette><texte>" +
              articles + "</texte></article>\n</corpus>\n");
    if (!one.flush() || !many.flush())
        fail(QStringLiteral("cannot write ") + onePath);
    return taken;
}

// The texts of the first articles, each with its title, until they hold textBytes of UTF-8: once as one
// article whose text is all of them, once as as many articles. Returns the articles taken.
int writeOneAndMany(const CorpusDocument& corpus, qint64 textBytes, const QString& onePath, const QString& manyPath)
{
    QFile one(onePath);
    QFile many(manyPath);
    if (!one.open(QIODevice::WriteOnly | QIODevice::Truncate) || !many.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fail(QStringLiteral("cannot write ") + onePath);
    one.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<corpus>\n<article><vedette>GRAND</vedette><texte>");
    many.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<corpus>\n");
    qint64 written = 0;
    int taken = 0;
    while (written < textBytes) {
        const ArticleEntry& entry = corpus.articles()[static_cast<std::size_t>(taken) % corpus.articles().size()];
        const QByteArray text = entry.text.toHtmlEscaped().toUtf8();
        one.write(text);
        one.write("\n");
        many.write("<article><vedette>" + entry.title.toHtmlEscaped().toUtf8() + "</vedette><texte>" + text +
                   "</texte></article>\n");
        written += text.size() + 1;
        ++taken;
    }
    one.write("</texte></article>\n</corpus>\n");
    many.write("</corpus>\n");
    if (!one.flush() || !many.flush())
        fail(QStringLiteral("cannot write ") + onePath);
    return taken;
}

// The load, the memory and the title filter on a big corpus, in a process of its own so that its peak
// memory is that corpus's alone.
int runBig(const Options& options)
{
    QTemporaryDir workDir;
    if (!workDir.isValid() || !QDir::setCurrent(workDir.path()))
        fail(QStringLiteral("no temporary directory"));
    const QString path = options.bigRunPath;
    const double fileMb = static_cast<double>(QFileInfo(path).size()) / 1e6;
    const QString size = QStringLiteral("%1 MB").arg(fileMb, 0, 'f', 0);
    // xmllint first: at gigabytes it holds several times the file, more than is left beside the windows.
    const ChildTimes xmllint = timeXmllint(std::min(options.reps, 2), path);
    const double peakBeforeLoading = peakResidentMb();
    Window window;
    const Window::LoadTimes first = window.load(path);
    const double peakAfterFirst = peakResidentMb();
    const Window::LoadTimes reload = window.load(path);
    const double peakAfterReload = peakResidentMb();
    const CorpusDocument& corpus = window->corpus();
    if (corpus.articleCount() == 0)
        fail(QStringLiteral("the corpus has no articles"));
    const QString typed = typedTitle(corpus);
    const QList<double> keystrokes = timeTitleFilter(*window, typed, options.reps);
    // The next start: the same file from the store the load over the first wrote, in a fresh window.
    const double storeMb =
        static_cast<double>(QFileInfo(corpusstore::storePath(corpusstore::defaultFolder(), path)).size()) / 1e6;
    Window second;
    const Window::LoadTimes reopened = second.reopen(path);
    const QList<double> reopenedKeystrokes = timeTitleFilter(*second, typed, options.reps);

    const QString cpuName = QStringLiteral("xmllint --noout, CPU time");
    const QString fileSize = QStringLiteral("corpus file size");
    BenchTable table;
    table.add({size + QStringLiteral(": whole load, first, CPU time, its store written"), QStringLiteral("ms"),
               Stats::of({first.cpuMs}), cpuName, xmllint.cpu.median, 0, false, false, true});
    table.add({size + QStringLiteral(": whole load, over the first, CPU time, its store written"), QStringLiteral("ms"),
               Stats::of({reload.cpuMs}), cpuName, xmllint.cpu.median, 0, false, false, true});
    table.add({size + QStringLiteral(": whole load, first, wall time"), QStringLiteral("ms"), Stats::of({first.wallMs}),
               QStringLiteral("xmllint --noout"), xmllint.wall.median, 0, false, false, true});
    table.add({size + QStringLiteral(": second open, from the store, wall time"), QStringLiteral("ms"),
               Stats::of({reopened.wallMs}), QString(), 0, 1000});
    table.add({size + QStringLiteral(": title filter keystroke after a second open"), QStringLiteral("ms"),
               Stats::of(reopenedKeystrokes), QString(), 0, 16, true});
    table.add(
        {size + QStringLiteral(": store size"), QStringLiteral("MB"), Stats::of({storeMb}), fileSize, fileMb, 2.5});
    table.add({size + QStringLiteral(": title filter keystroke (%1 titles)").arg(corpus.articleCount()),
               QStringLiteral("ms"), Stats::of(keystrokes), QString(), 0, 16, true});
    table.add({size + QStringLiteral(": peak memory after first load"), QStringLiteral("MB"),
               Stats::of({peakAfterFirst}), fileSize, fileMb, 1.2});
    table.add({size + QStringLiteral(": peak memory after reload"), QStringLiteral("MB"), Stats::of({peakAfterReload}),
               fileSize, fileMb, 3});
    out() << "\n## Big corpus\n\n"
          << heading(size) << "corpus: " << path << ", " << QString::number(fileMb, 'f', 1) << " MB, "
          << corpus.articleCount() << " articles; one load and one over it; peak memory before loading "
          << QString::number(peakBeforeLoading, 'f', 1) << " MB\n"
          << "typed in the title filter: \"" << typed << "\", then erased; xmllint --noout "
          << QString::number(xmllint.wall.median, 'f', 1) << " ms, CPU time "
          << QString::number(xmllint.cpu.median, 'f', 1) << " ms (median of " << xmllint.cpu.samples << ")\n\n"
          << table.toMarkdown();
    out().flush();
    return 0;
}

// Articles of one formula repeated: every occurrence of "vent" but the few near an article's ends has
// the same contexts as all the others.
void writeFormulaCorpus(const QString& path, int articles, int repeats)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        fail(QStringLiteral("cannot write ") + path);
    QByteArray text;
    for (int i = 0; i < repeats; ++i)
        text += i == 0 ? "vent souffle fort" : " vent souffle fort";
    file.write("<corpus>\n");
    for (int i = 0; i < articles; ++i) {
        file.write("<article><vedette>SOUFFLE " + QByteArray::number(i + 1) + "</vedette> <texte>" + text +
                   "</texte></article>\n");
    }
    file.write("</corpus>\n");
    if (!file.flush())
        fail(QStringLiteral("cannot write ") + path);
}

// While it lives, a timer ticks every 10 ms: the longest interval between two ticks (from the start, and
// up to the call of longestMs) is the longest the window went without handling its events.
class EventLoopWatch
{
public:
    EventLoopWatch()
    {
        m_ticks.setTimerType(Qt::PreciseTimer);
        m_ticks.setInterval(10);
        QObject::connect(&m_ticks, &QTimer::timeout, &m_ticks, [this] { tick(); });
        m_clock.start();
        m_ticks.start();
    }
    double longestMs()
    {
        tick();
        return m_longest;
    }

private:
    void tick()
    {
        const double now = elapsedMs(m_clock);
        m_longest = std::max(m_longest, now - m_last);
        m_last = now;
    }

    QTimer m_ticks;
    QElapsedTimer m_clock;
    double m_last = 0;
    double m_longest = 0;
};

// The peak resident set counts from now on (Linux: clear_refs); false when it cannot be reset.
bool resetPeakResident()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

// The pending events, and those that follow them within `quietMs`.
void settle(int quietMs)
{
    QElapsedTimer quiet;
    quiet.start();
    while (quiet.elapsed() < quietMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, quietMs);
        QThread::msleep(1);
    }
}

// A concordance of `rows` rows (about), opened, sorted by its contexts and exported through the window's
// own code, on a corpus of its own made first, in a process of its own so that its memory is its own.
int runConcordance(const Options& options)
{
    QTemporaryDir workDir;
    if (!workDir.isValid() || !QDir::setCurrent(workDir.path()))
        fail(QStringLiteral("no temporary directory"));
    const int wanted = options.concordanceRun;
    const int repeats = std::min(wanted, 1000);
    const int articles = std::max(1, wanted / repeats);
    const QString path = workDir.filePath(QStringLiteral("formulas.xml"));
    writeFormulaCorpus(path, articles, repeats);
    Window window;
    window.dialogs().realProgress = true;
    window.load(path);
    OxelDialog& w = *window;
    w.Onglets->setCurrentIndex(1);
    w.Txt_Rech->setText(QStringLiteral("vent"));
    w.Lst_Type->setCurrentIndex(0);
    w.Chk_Cs->setChecked(false);
    w.slotBtRechClick();
    QCoreApplication::processEvents();

    const double before = residentBytes();
    QElapsedTimer timer;
    double openBlock = 0;
    {
        EventLoopWatch watch;
        timer.start();
        w.showConcordance();
        QCoreApplication::processEvents();
        openBlock = watch.longestMs();
    }
    const double openMs = elapsedMs(timer);
    ConcordanceWindow* concordance = w.concordanceWindow();
    const int rows = concordance->concordance().occurrenceCount();
    if (rows == 0)
        fail(QStringLiteral("the concordance is empty"));
    const double perRow = 1.0 / rows;
    settle(50);

    // A click on the left context's header, then on the right context's, as many times as asked.
    QHeaderView* header = concordance->table()->horizontalHeader();
    QList<double> sorts;
    QList<double> sortBlocks;
    for (int rep = 0; rep < options.reps; ++rep) {
        for (const int column : {int(Concordance::LeftColumn), int(Concordance::RightColumn)}) {
            EventLoopWatch watch;
            timer.start();
            header->setSortIndicator(column, Qt::AscendingOrder);
            QCoreApplication::processEvents();
            sorts.append(elapsedMs(timer));
            sortBlocks.append(watch.longestMs());
            if (header->sortIndicatorSection() != column)
                fail(QStringLiteral("the sort did not end"));
            settle(50);
        }
    }
    const double sortedGrowth = (residentBytes() - before) * perRow;

    // "Exporter…" with a file name given, in the order of the last sort.
    const QString exported = workDir.filePath(QStringLiteral("concordance.tsv"));
    QList<double> exports;
    QList<double> exportBlocks;
    QList<double> exportGrowth;
    qint64 exportedBytes = 0;
    for (int rep = 0; rep < options.reps; ++rep) {
        QFile::remove(exported);
        window.dialogs().saveAnswer = exported;
        const double rssBefore = residentBytes();
        const bool peakReset = resetPeakResident();
        EventLoopWatch watch;
        timer.start();
        concordance->exportTable();
        QCoreApplication::processEvents();
        exports.append(elapsedMs(timer));
        exportBlocks.append(watch.longestMs());
        exportGrowth.append(((peakReset ? peakResidentMb() * 1e6 : residentBytes()) - rssBefore) * perRow);
        exportedBytes = QFileInfo(exported).size();
        if (exportedBytes <= 0 || !window.dialogs().warnings.isEmpty())
            fail(QStringLiteral("the export failed"));
        settle(50);
    }
    QFile::remove(exported);

    const QString what = QStringLiteral("%1 rows").arg(rows);
    BenchTable table;
    Measurement opened{QStringLiteral("concordance of %1 opened").arg(what),
                       QStringLiteral("ms"),
                       Stats::of({openMs}),
                       QString(),
                       0,
                       0};
    opened.told = true;
    table.add(opened);
    table.add({QStringLiteral("concordance of %1 opened, longest the window went without its events").arg(what),
               QStringLiteral("ms"), Stats::of({openBlock}), QString(), 0, 100, true});
    Measurement sorted{
        QStringLiteral("concordance of %1 sorted by left or right context, click to rows shown").arg(what),
        QStringLiteral("ms"),
        Stats::of(sorts),
        QString(),
        0,
        1000,
        true};
    // Only a million rows are aimed at a second.
    sorted.told = rows > 1000000;
    table.add(sorted);
    table.add({QStringLiteral("concordance of %1 sorted, longest the window went without its events").arg(what),
               QStringLiteral("ms"), Stats::of(sortBlocks), QString(), 0, 100, true});
    table.add({QStringLiteral("concordance of %1: resident growth after opening and sorting, bytes per row").arg(what),
               QStringLiteral("B"), Stats::of({sortedGrowth}), QString(), 0, 64});
    Measurement exportTime{QStringLiteral("concordance of %1 exported (%2 MB), click to file written")
                               .arg(what)
                               .arg(double(exportedBytes) / 1e6, 0, 'f', 0),
                           QStringLiteral("ms"),
                           Stats::of(exports),
                           QString(),
                           0,
                           0};
    exportTime.told = true;
    table.add(exportTime);
    table.add({QStringLiteral("concordance of %1 exported, longest the window went without its events").arg(what),
               QStringLiteral("ms"), Stats::of(exportBlocks), QString(), 0, 100, true});
    table.add({QStringLiteral("concordance of %1 exported, peak resident growth, bytes per row").arg(what),
               QStringLiteral("B"), Stats::of(exportGrowth), QString(), 0, 64, true});
    out() << "\n## Concordance of " << what << "\n\n"
          << heading(what) << "corpus: " << articles << " articles, each \"vent souffle fort\" " << repeats
          << " times (" << QString::number(double(QFileInfo(path).size()) / 1e6, 'f', 1)
          << " MB); search \"vent\", tous; " << options.reps << " repetitions; the real progress window\n\n"
          << table.toMarkdown();
    out().flush();
    return 0;
}

int runProfile(const Options& options, CorpusGenerator::Profile profile)
{
    // The window reads and writes its settings file in the working directory: keep it out of the user's.
    QTemporaryDir workDir;
    if (!workDir.isValid() || !QDir::setCurrent(workDir.path()))
        fail(QStringLiteral("no temporary directory"));
    const QString profileName = CorpusGenerator::profileName(profile);
    QString corpusPath = options.corpusPath.isEmpty()
                             ? workDir.filePath(QStringLiteral("corpus.xml"))
                             : QFileInfo(profilePath(options.corpusPath, profile)).absoluteFilePath();
    if (!QFileInfo::exists(corpusPath))
        generateCorpus(options, profile, options.sizeMb, corpusPath);
    const QString dumpPath = options.dumpPath.isEmpty()
                                 ? workDir.filePath(QStringLiteral("articles.txt"))
                                 : QFileInfo(profilePath(options.dumpPath, profile)).absoluteFilePath();
    const double fileMb = static_cast<double>(QFileInfo(corpusPath).size()) / 1e6;
    const int reps = options.reps;
    BenchTable table;

    // Loads: each repetition opens a fresh window, loads, then loads again over the first load.
    const double peakBeforeLoading = peakResidentMb();
    QList<double> firstLoads;
    QList<double> reloads;
    QList<double> firstLoadsCpu;
    QList<double> reloadsCpu;
    double peakAfterFirst = 0;
    double peakAfterReload = 0;
    QList<double> unstoredLoadsCpu;
    std::unique_ptr<Window> window;
    for (int rep = 0; rep < reps; ++rep) {
        window.reset();
        window = std::make_unique<Window>();
        const Window::LoadTimes first = window->load(corpusPath);
        firstLoads.append(first.wallMs);
        firstLoadsCpu.append(first.cpuMs);
        if (rep == 0)
            peakAfterFirst = peakResidentMb();
        const Window::LoadTimes reload = window->load(corpusPath);
        reloads.append(reload.wallMs);
        reloadsCpu.append(reload.cpuMs);
        if (rep == 0)
            peakAfterReload = peakResidentMb();
        // The first load with no store kept, in turn with the others: what writing the store costs on
        // top of the parse.
        Window unstored;
        unstored->setKeepsIndex(false);
        unstoredLoadsCpu.append(unstored.load(corpusPath).cpuMs);
        QFile::remove(QStringLiteral("oxel.conf"));
    }
    // The same load with every thread of the process on one core, as when the other cores are busy.
    QList<double> oneCoreLoads;
    QList<double> oneCoreLoadsCpu;
    {
        const OneCore oneCore;
        if (!oneCore.pinned())
            fail(QStringLiteral("cannot confine the process to one core"));
        for (int rep = 0; rep < reps; ++rep) {
            const Window::LoadTimes times = window->load(corpusPath);
            oneCoreLoads.append(times.wallMs);
            oneCoreLoadsCpu.append(times.cpuMs);
        }
    }
    // The same file opened again, unchanged, from the store the last load wrote: a fresh window
    // each time, as at the next start.
    const double storeMb =
        static_cast<double>(QFileInfo(corpusstore::storePath(corpusstore::defaultFolder(), corpusPath)).size()) / 1e6;
    QList<double> secondOpens;
    QList<double> secondOpensCpu;
    std::unique_ptr<Window> reopened;
    for (int rep = 0; rep < reps; ++rep) {
        reopened.reset();
        reopened = std::make_unique<Window>();
        const Window::LoadTimes times = reopened->reopen(corpusPath);
        secondOpens.append(times.wallMs);
        secondOpensCpu.append(times.cpuMs);
    }
    const auto [openRssAnonMb, openVmRssMb] = openMemory(corpusPath);

    OxelDialog& w = **window;
    const CorpusDocument& corpus = w.corpus();
    if (corpus.articleCount() == 0)
        fail(QStringLiteral("the corpus has no articles"));

    const QString typed = typedTitle(corpus);
    const QList<double> keystrokes = timeTitleFilter(w, typed, reps);

    // The longest article, shown with every whole-word occurrence of the most frequent word marked.
    const QStringList frequentWords = wordsByFrequency(corpus);
    const auto longest =
        std::max_element(corpus.articles().cbegin(), corpus.articles().cend(),
                         [](const ArticleEntry& a, const ArticleEntry& b) { return a.text.size() < b.text.size(); });
    SearchResult marked;
    marked.addHit(*longest);
    marked.keep(corpus.content());
    marked.splitTerms(frequentWords.constFirst());
    marked.setMode(SearchMode::AnyTerm);
    marked.setCaseSensitive(false);
    w.Onglets->setCurrentIndex(1);
    QCoreApplication::processEvents();
    // Formatted, as the window shows it by default, then as plain text.
    const auto timeDisplays = [&w, &marked, reps] {
        QList<double> times;
        for (int rep = 0; rep < reps; ++rep) {
            w.Txt_Art->clear();
            QCoreApplication::processEvents();
            QElapsedTimer timer;
            timer.start();
            ResultPane::showArticle(marked, 0, w.Txt_Art);
            QCoreApplication::processEvents();
            times.append(elapsedMs(timer));
        }
        return times;
    };
    if (!w.Txt_Art->isFormatted())
        fail(QStringLiteral("the articles are not formatted"));
    const QList<double> displays = timeDisplays();
    w.setShowsPlainText(true);
    const QList<double> plainDisplays = timeDisplays();
    w.setShowsPlainText(false);
    // What the formatting keeps with the corpus: the attribute of each value, beside it.
    qint64 attributeBytes = 0;
    for (int a = 0; a < corpus.elementIndex().articleCount(); ++a) {
        const ElementIndex::Article article = corpus.elementIndex().article(a);
        for (const ElementIndex::Element* e = article.begin; e != article.end; ++e)
            attributeBytes += qint64(e->valueCount) * qint64(sizeof(quint32));
    }
    const Measurement rolesRead = rolesCost(reps, corpusPath);

    // Huge articles in the same view: each step (showing, going to the end, the events left) is a
    // time the window does not answer.
    const auto hugeStepsIn = [reps](OxelDialog& w, const SearchResult& record) {
        QList<double> steps;
        for (int rep = 0; rep < reps; ++rep) {
            w.Txt_Art->clear();
            QCoreApplication::processEvents();
            QElapsedTimer timer;
            timer.start();
            ResultPane::showArticle(record, 0, w.Txt_Art);
            QCoreApplication::processEvents();
            steps.append(elapsedMs(timer));
            timer.start();
            QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
            QCoreApplication::sendEvent(w.Txt_Art, &end);
            steps.append(elapsedMs(timer));
            timer.start();
            QCoreApplication::processEvents();
            steps.append(elapsedMs(timer));
        }
        return steps;
    };
    const auto hugeSteps = [&w, &hugeStepsIn](const SearchResult& record) { return hugeStepsIn(w, record); };
    ArticleEntry hugeWord;
    hugeWord.title = QStringLiteral("MOT");
    hugeWord.text = QString(1000000, QLatin1Char('x'));
    SearchResult hugeWordRecord;
    hugeWordRecord.addHit(hugeWord);
    const QList<double> hugeWordSteps = hugeSteps(hugeWordRecord);
    ArticleEntry hugeArticle;
    hugeArticle.title = QStringLiteral("GRAND");
    hugeArticle.text =
        longest->text.repeated(32000000 / std::max<qsizetype>(1, longest->text.size()) + 1).left(32000000);
    SearchResult hugeRecord;
    hugeRecord.addHit(hugeArticle);
    hugeRecord.splitTerms(frequentWords.constFirst());
    hugeRecord.setMode(SearchMode::AnyTerm);
    hugeRecord.setCaseSensitive(false);
    const QList<double> hugeArticleSteps = hugeSteps(hugeRecord);

    // References, on the same data and the same machine.
    writeDump(corpus, dumpPath);
    const ChildTimes xmllintTimes = timeXmllint(reps, corpusPath);
    const Stats xmllint = xmllintTimes.wall;
    // Words searched: the most frequent, one of middle rank, a rare one.
    QStringList searchWords{frequentWords.constFirst()};
    if (frequentWords.size() > 200)
        searchWords.append(frequentWords.at(200));
    // A rare word of the prose, not a headword in capitals.
    for (qsizetype i = frequentWords.size() * 3 / 4; i < frequentWords.size(); ++i) {
        if (frequentWords.at(i) == frequentWords.at(i).toLower()) {
            searchWords.append(frequentWords.at(i));
            break;
        }
    }
    struct GrepReference
    {
        QString what;
        Stats time;
        QByteArray count;
    };
    QList<GrepReference> wordReferences;
    for (const QString& word : searchWords) {
        GrepReference exact{QStringLiteral("grep -c -w -F '%1'").arg(word), {}, {}};
        exact.time =
            timeTool(reps, QStringLiteral("grep"),
                     {QStringLiteral("-c"), QStringLiteral("-w"), QStringLiteral("-F"), word, dumpPath}, &exact.count);
        GrepReference folded{QStringLiteral("grep -c -w -F -i '%1'").arg(word), {}, {}};
        folded.time = timeTool(
            reps, QStringLiteral("grep"),
            {QStringLiteral("-c"), QStringLiteral("-w"), QStringLiteral("-F"), QStringLiteral("-i"), word, dumpPath},
            &folded.count);
        wordReferences << exact << folded;
    }
    QList<GrepReference> elementReferences;
    for (const QString& element :
         {QStringLiteral("terme"), QStringLiteral("auteur"), QStringLiteral("definition"), QStringLiteral("renvoi")}) {
        GrepReference reference{QStringLiteral("grep -c -F '<%1'").arg(element), {}, {}};
        reference.time = timeTool(reps, QStringLiteral("grep"),
                                  {QStringLiteral("-c"), QStringLiteral("-F"), QLatin1Char('<') + element, corpusPath},
                                  &reference.count);
        elementReferences << reference;
    }

    // Simple searches through the search button, list and first hit included, each mode and case rule,
    // against grep for the same word (or phrase) on the dump.
    w.Onglets->setCurrentIndex(1);
    QCoreApplication::processEvents();
    QStringList queries = searchWords;
    if (searchWords.size() > 1)
        queries.append(searchWords.at(0) + QLatin1Char(' ') + searchWords.at(1));
    const auto grepWords = [&](const QString& query, bool caseSensitive) {
        QStringList arguments{QStringLiteral("-c"), QStringLiteral("-w"), QStringLiteral("-F")};
        if (!caseSensitive)
            arguments << QStringLiteral("-i");
        return timeTool(reps, QStringLiteral("grep"), arguments << query << dumpPath);
    };
    const QStringList modeNames{QStringLiteral("tous"), QStringLiteral("auMoinsUn"), QStringLiteral("exact")};
    QList<Measurement> searchRows;
    // Times the search button for one query, mode and case rule; the times and the number of hits.
    const auto timeSearchIn = [reps](OxelDialog& on, const QString& query, int mode, bool caseSensitive) {
        on.Txt_Rech->setText(query);
        on.Lst_Type->setCurrentIndex(mode);
        on.Chk_Cs->setChecked(caseSensitive);
        QList<double> times;
        int hits = 0;
        for (int rep = 0; rep < reps; ++rep) {
            QElapsedTimer timer;
            timer.start();
            on.slotBtRechClick();
            QCoreApplication::processEvents();
            times.append(elapsedMs(timer));
            hits = on.resultSimple().count();
        }
        return std::make_pair(Stats::of(times), hits);
    };
    const auto timeSearch = [&](const QString& query, int mode, bool caseSensitive) {
        return timeSearchIn(w, query, mode, caseSensitive);
    };
    for (const QString& query : queries) {
        for (const bool caseSensitive : {true, false}) {
            const Stats reference = grepWords(query, caseSensitive);
            for (int mode = 0; mode < 3; ++mode) {
                const auto [time, hits] = timeSearch(query, mode, caseSensitive);
                searchRows.append(
                    {QStringLiteral("search \"%1\", %2, %3 (%4 hits)")
                         .arg(query, modeNames.at(mode),
                              caseSensitive ? QStringLiteral("case kept") : QStringLiteral("case ignored"))
                         .arg(hits),
                     QStringLiteral("ms"), time,
                     QStringLiteral("grep -c -w -F%1 '%2'")
                         .arg(caseSensitive ? QString() : QStringLiteral(" -i"), query),
                     reference.median, 1.5});
            }
        }
    }
    // The same searches after a second open, from the store, against after a parse.
    QList<Measurement> reopenedRows;
    (*reopened)->Onglets->setCurrentIndex(w.Onglets->currentIndex());
    QCoreApplication::processEvents();
    for (const QString& query : queries) {
        const auto [parsedTime, parsedHits] = timeSearch(query, 0, false);
        const auto [storedTime, storedHits] = timeSearchIn(**reopened, query, 0, false);
        if (storedHits != parsedHits)
            fail(QStringLiteral("\"%1\": %2 hits after a second open, %3 after a parse")
                     .arg(query)
                     .arg(storedHits)
                     .arg(parsedHits));
        reopenedRows.append({QStringLiteral("search \"%1\", tous, case ignored, after a second open (%2 hits)")
                                 .arg(query)
                                 .arg(storedHits),
                             QStringLiteral("ms"), storedTime, QStringLiteral("the same after a parse"),
                             parsedTime.median, 1.05});
    }
    reopened.reset();
    // Accents ignored: the text read through its folded forms, never copied, against grep ignoring case.
    w.setIgnoreAccents(true);
    for (const QString& query : queries) {
        const Stats reference = grepWords(query, false);
        for (const bool caseSensitive : {true, false}) {
            for (int mode = 0; mode < 3; ++mode) {
                const auto [time, hits] = timeSearch(query, mode, caseSensitive);
                searchRows.append(
                    {QStringLiteral("folded search \"%1\", %2, %3, accents ignored (%4 hits)")
                         .arg(query, modeNames.at(mode),
                              caseSensitive ? QStringLiteral("case kept") : QStringLiteral("case ignored"))
                         .arg(hits),
                     QStringLiteral("ms"), time, QStringLiteral("grep -c -w -F -i '%1'").arg(query), reference.median,
                     1.5});
            }
        }
    }
    w.setIgnoreAccents(false);

    // A long query: 1,000 words spread over the word list, any of them, each case rule. Its cost must not
    // grow with the number of terms: the aim is three times the single rare word's search (one automaton step a
    // unit against a screen of eight units at once).
    QStringList listWords;
    {
        QFile list(options.wordsPath);
        if (!list.open(QIODevice::ReadOnly | QIODevice::Text))
            fail(QStringLiteral("cannot read ") + options.wordsPath);
        QStringList all;
        for (const QByteArray& line : list.readAll().split('\n')) {
            const QString word = QString::fromUtf8(line).trimmed();
            if (!word.isEmpty() && !word.contains(QLatin1Char(' ')))
                all.append(word);
        }
        constexpr int termCount = 1000;
        for (int i = 0; i < termCount && !all.isEmpty(); ++i)
            listWords.append(all.at(static_cast<qsizetype>(i) * all.size() / termCount));
    }
    const QString rareWord = searchWords.constLast();
    const auto rowNamed = [&searchRows](const QString& start) {
        for (const Measurement& row : std::as_const(searchRows)) {
            if (row.name.startsWith(start))
                return row;
        }
        return Measurement{};
    };
    for (const bool caseSensitive : {true, false}) {
        const QString caseRule = caseSensitive ? QStringLiteral("case kept") : QStringLiteral("case ignored");
        const Measurement single = rowNamed(QStringLiteral("search \"%1\", auMoinsUn, %2").arg(rareWord, caseRule));
        const auto [times, hits] = timeSearch(listWords.join(QLatin1Char(' ')), 1, caseSensitive);
        searchRows.append({QStringLiteral("search of %1 words of the list, auMoinsUn, %2 (%3 hits)")
                               .arg(listWords.size())
                               .arg(caseRule)
                               .arg(hits),
                           QStringLiteral("ms"), times,
                           QStringLiteral("search \"%1\", auMoinsUn, %2").arg(rareWord, caseRule), single.value.median,
                           3});
    }

    // The same searches within an element: the frequent and the rare word, in the examples and the
    // definitions, each against the search of the same query in the whole article.
    for (const QString& element : {QStringLiteral("exemple"), QStringLiteral("definition"), QStringLiteral("cit")}) {
        const int scope = w.Lst_Dans->findText(element);
        if (scope < 0)
            continue;
        for (const QString& word : {searchWords.constFirst(), rareWord}) {
            for (int mode = 0; mode < 3; mode += 2) {
                const Measurement whole =
                    rowNamed(QStringLiteral("search \"%1\", %2, case ignored").arg(word, modeNames.at(mode)));
                w.Lst_Dans->setCurrentIndex(scope);
                const auto [times, hits] = timeSearch(word, mode, false);
                searchRows.append({QStringLiteral("search \"%1\" within %2, %3, case ignored (%4 hits)")
                                       .arg(word, element, modeNames.at(mode))
                                       .arg(hits),
                                   QStringLiteral("ms"), times, whole.name.section(QLatin1Char('('), 0, 0).trimmed(),
                                   whole.value.median, 1.5});
            }
        }
    }
    w.Lst_Dans->setCurrentIndex(0);

    // The concordance of the three most frequent words in the whole article (about half a million
    // occurrences on 100 MB): opened from the menu's command, then sorted by its left context and by
    // its right context, each time painted.
    QList<Measurement> concordanceRows;
    {
        const QString concordanceQuery = QStringList(frequentWords.mid(0, 3)).join(QLatin1Char(' '));
        w.Txt_Rech->setText(concordanceQuery);
        w.Lst_Type->setCurrentIndex(1);
        w.Chk_Cs->setChecked(true);
        w.slotBtRechClick();
        QCoreApplication::processEvents();
        QList<double> opens;
        QList<double> sorts;
        double grown = 0;
        int occurrences = 0;
        double held = 0;
        for (int rep = 0; rep < reps; ++rep) {
            if (w.concordanceWindow())
                w.concordanceWindow()->showResult(SearchResult());
            QCoreApplication::processEvents();
            const double before = residentBytes();
            QElapsedTimer timer;
            timer.start();
            w.showConcordance();
            QCoreApplication::processEvents();
            opens.append(elapsedMs(timer));
            ConcordanceWindow* window = w.concordanceWindow();
            QHeaderView* header = window->table()->horizontalHeader();
            for (const int column : {int(Concordance::LeftColumn), int(Concordance::RightColumn)}) {
                timer.start();
                header->setSortIndicator(column, Qt::AscendingOrder);
                QCoreApplication::processEvents();
                sorts.append(elapsedMs(timer));
            }
            occurrences = window->concordance().occurrenceCount();
            held = double(window->concordance().heldBytes());
            if (rep == 0)
                grown = residentBytes() - before;
        }
        const double perOccurrence = occurrences > 0 ? 1.0 / occurrences : 0;
        const QString what = QStringLiteral("\"%1\", auMoinsUn, %2 occurrences").arg(concordanceQuery).arg(occurrences);
        concordanceRows.append({QStringLiteral("concordance opened (%1)").arg(what), QStringLiteral("ms"),
                                Stats::of(opens), QString(), 0, 1000});
        concordanceRows.append({QStringLiteral("concordance sorted by left or right context (%1)").arg(what),
                                QStringLiteral("ms"), Stats::of(sorts), QString(), 0, 1000, true});
        concordanceRows.append({QStringLiteral("concordance rows held, bytes per occurrence"), QStringLiteral("B"),
                                Stats::of({held * perOccurrence}), QString(), 0, 64});
        concordanceRows.append({QStringLiteral("resident growth after opening and sorting, bytes per occurrence"),
                                QStringLiteral("B"), Stats::of({grown * perOccurrence}), QString(), 0, 64});
        w.concordanceWindow()->close();
    }

    // Cross-search choices, one per column, each refilling the next box, against grep for the element.
    w.Onglets->setCurrentIndex(2);
    QCoreApplication::processEvents();
    const auto elementReference = [&elementReferences](const QString& element) {
        for (const GrepReference& reference : elementReferences) {
            if (reference.what.contains(QLatin1Char('<') + element + QLatin1Char('\'')))
                return reference;
        }
        return GrepReference{};
    };
    QList<Measurement> crossRows;
    // As a choice in the box: it becomes the current entry, then the box reports it.
    const auto timeChoice = [reps](OxelDialog& on, QComboBox* combo, int index, void (OxelDialog::*slot)(int)) {
        QList<double> times;
        for (int rep = 0; rep < reps; ++rep) {
            QElapsedTimer timer;
            timer.start();
            combo->setCurrentIndex(index);
            (on.*slot)(index);
            QCoreApplication::processEvents();
            times.append(elapsedMs(timer));
        }
        return Stats::of(times);
    };
    const auto choose = [&](const QString& what, QComboBox* combo, int index, void (OxelDialog::*slot)(int),
                            const QString& element) {
        const Stats times = timeChoice(w, combo, index, slot);
        const GrepReference reference = elementReference(element);
        crossRows.append({QStringLiteral("cross choice: %1 (%2 hits)").arg(what).arg(w.resultCroisee().count()),
                          QStringLiteral("ms"), times, reference.what, reference.time.median, 1.5});
    };
    for (const QString& element : {QStringLiteral("terme"), QStringLiteral("renvoi"), QStringLiteral("definition")}) {
        const int index = w.Lst_B11->findText(element);
        if (index < 0)
            continue;
        choose(QStringLiteral("column 1 \"%1\"").arg(element), w.Lst_B11, index, &OxelDialog::slotLstBal11Click,
               element);
        crossRows.last().name += QStringLiteral(", %1 values offered").arg(std::max(0, w.Lst_B12->count() - 1));
    }
    // The definition chain: a value, then a text of those that carry it.
    if (w.Lst_B12->count() > 1) {
        const int value = std::max(1, w.Lst_B12->findText(QStringLiteral("propre")));
        choose(QStringLiteral("column 2 \"%1\"").arg(w.Lst_B12->itemText(value)), w.Lst_B12, value,
               &OxelDialog::slotLstBal12Click, QStringLiteral("definition"));
        crossRows.last().name += QStringLiteral(", %1 texts offered").arg(std::max(0, w.Lst_B13->count() - 1));
    }
    if (w.Lst_B13->count() > 1) {
        choose(QStringLiteral("column 3, a definition of %1 characters").arg(w.Lst_B13->itemText(1).size()), w.Lst_B13,
               1, &OxelDialog::slotLstBal13Click, QStringLiteral("definition"));
    }

    // The same corpus packed: its elements side by side without spaces, as machine-written XML has them,
    // so that its words meet at block edges throughout. Its loads, searches and marks against the same
    // on the corpus above, in the same run.
    QList<Measurement> packedRows;
    {
        const QString path =
            options.corpusPath.isEmpty() ? workDir.filePath(QStringLiteral("packed.xml")) : packedPath(corpusPath);
        if (!QFileInfo::exists(path))
            generateCorpus(options, profile, options.sizeMb, path, CorpusGenerator::Spacing::Packed);
        QList<double> loadsCpu;
        std::unique_ptr<Window> packed;
        for (int rep = 0; rep < reps; ++rep) {
            packed.reset();
            packed = std::make_unique<Window>();
            loadsCpu.append(packed->load(path).cpuMs);
        }
        OxelDialog& p = **packed;
        const CorpusDocument& packedCorpus = p.corpus();
        const double spacedLoad = Stats::of(firstLoadsCpu).median;
        packedRows.append({QStringLiteral("packed: whole load, first, CPU time (%1 articles, %2 MB)")
                               .arg(packedCorpus.articleCount())
                               .arg(static_cast<double>(QFileInfo(path).size()) / 1e6, 0, 'f', 1),
                           QStringLiteral("ms"), Stats::of(loadsCpu), QStringLiteral("whole load, first, CPU time"),
                           spacedLoad, 1.05});
        qint64 edges = 0;
        for (const ArticleEntry& entry : packedCorpus.articles())
            edges += entry.edges.size();
        packedRows.append(
            {QStringLiteral("packed: block edges in the index, bytes an article (%1 edges kept)").arg(edges),
             QStringLiteral("B"), Stats::of({edgeBytesPerArticle(packedCorpus)}), QString(), 0, 64});
        packedRows.append({QStringLiteral("block edges in the index, bytes an article, the corpus above"),
                           QStringLiteral("B"), Stats::of({edgeBytesPerArticle(corpus)}), QString(), 0, 64});

        // The longest article with the most frequent word marked, as above.
        const auto longestPacked = std::max_element(
            packedCorpus.articles().cbegin(), packedCorpus.articles().cend(),
            [](const ArticleEntry& a, const ArticleEntry& b) { return a.text.size() < b.text.size(); });
        SearchResult packedMarked;
        packedMarked.addHit(*longestPacked);
        packedMarked.splitTerms(frequentWords.constFirst());
        packedMarked.setMode(SearchMode::AnyTerm);
        packedMarked.setCaseSensitive(false);
        p.Onglets->setCurrentIndex(1);
        QCoreApplication::processEvents();
        QList<double> packedDisplays;
        for (int rep = 0; rep < reps; ++rep) {
            p.Txt_Art->clear();
            QCoreApplication::processEvents();
            QElapsedTimer timer;
            timer.start();
            ResultPane::showArticle(packedMarked, 0, p.Txt_Art);
            QCoreApplication::processEvents();
            packedDisplays.append(elapsedMs(timer));
        }
        packedRows.append({QStringLiteral("packed: longest article highlighted (%1 chars, %2 edges)")
                               .arg(longestPacked->text.size())
                               .arg(longestPacked->edges.size()),
                           QStringLiteral("ms"), Stats::of(packedDisplays),
                           QStringLiteral("longest article highlighted"), Stats::of(displays).median, 1.05});

        // The frequent word, the rare one and the phrase, case ignored, with accents kept and ignored.
        for (const bool folded : {false, true}) {
            p.setIgnoreAccents(folded);
            for (const QString& query : queries) {
                for (int mode = 0; mode < 3; mode += 2) {
                    const QString what =
                        QStringLiteral("%1search \"%2\", %3, case ignored")
                            .arg(folded ? QStringLiteral("folded ") : QString(), query, modeNames.at(mode));
                    const Measurement spaced = rowNamed(what);
                    const auto [time, hits] = timeSearchIn(p, query, mode, false);
                    packedRows.append({QStringLiteral("packed: %1 (%2 hits)").arg(what).arg(hits), QStringLiteral("ms"),
                                       time, what, spaced.value.median, 1.05});
                }
            }
        }
        p.setIgnoreAccents(false);
    }

    // Distinct long texts that agree but in their middle must be told apart as fast as any others,
    // in a corpus of their own.
    {
        constexpr int middleDiffering = 20000;
        const QString path = workDir.filePath(QStringLiteral("middle.xml"));
        writeMiddleDifferingCorpus(path, middleDiffering);
        Window other;
        other.load(path);
        OxelDialog& o = *other;
        o.Onglets->setCurrentIndex(2);
        QCoreApplication::processEvents();
        const int index = o.Lst_B11->findText(QStringLiteral("citation"));
        if (index < 0)
            fail(QStringLiteral("no citation element offered"));
        const Stats times = timeChoice(o, o.Lst_B11, index, &OxelDialog::slotLstBal11Click);
        const int offered = std::max(0, o.Lst_B12->count() - 1);
        if (offered != middleDiffering)
            fail(QStringLiteral("%1 of %2 distinct citations offered").arg(offered).arg(middleDiffering));
        crossRows.append({QStringLiteral("cross choice: column 1 \"citation\", %1 texts differing only in their "
                                         "middle (%2 hits)")
                              .arg(offered)
                              .arg(o.resultCroisee().count()),
                          QStringLiteral("ms"), times, QString(), 0, 100});
    }

    // One article holding the texts of many (32 MB of them, or the corpus's size when smaller), against the
    // same texts as so many articles, each load in a fresh window.
    // The same with the articles' markup kept: one article holding 32 MB of them as its elements.
    const qint64 oneArticleBytes = std::min<qint64>(32000000, QFileInfo(corpusPath).size());
    const auto timeOneAndMany = [&workDir, reps](const QString& one, const QString& many) {
        QList<double> oneCpu;
        QList<double> manyCpu;
        for (int rep = 0; rep < reps; ++rep) {
            for (const bool single : {false, true}) {
                Window fresh;
                (single ? oneCpu : manyCpu).append(fresh.load(workDir.filePath(single ? one : many)).cpuMs);
            }
        }
        return std::make_pair(Stats::of(oneCpu), Stats::of(manyCpu));
    };
    const int manyArticles = writeOneAndMany(corpus, oneArticleBytes, workDir.filePath(QStringLiteral("one.xml")),
                                             workDir.filePath(QStringLiteral("many.xml")));
    const auto [oneArticleCpu, manyArticlesCpu] = timeOneAndMany(QStringLiteral("one.xml"), QStringLiteral("many.xml"));
    const int manyMarked =
        writeOneAndManyMarked(corpusPath, oneArticleBytes, workDir.filePath(QStringLiteral("onex.xml")),
                              workDir.filePath(QStringLiteral("manyx.xml")));
    const auto [oneMarkedCpu, manyMarkedCpu] = timeOneAndMany(QStringLiteral("onex.xml"), QStringLiteral("manyx.xml"));
    // That single article of marked-up entries, formatted and marked, in a window of its own.
    QList<double> formattedHugeSteps;
    QList<double> plainMarkedHugeSteps;
    {
        Window single;
        single.load(workDir.filePath(QStringLiteral("onex.xml")));
        OxelDialog& s = *single;
        s.Onglets->setCurrentIndex(1);
        QCoreApplication::processEvents();
        SearchResult record;
        record.addHit(s.corpus().articles().front());
        record.keep(s.corpus().content());
        record.splitTerms(frequentWords.constFirst());
        record.setMode(SearchMode::AnyTerm);
        formattedHugeSteps = hugeStepsIn(s, record);
        // The same as plain text: what laying out the part shown costs, whatever the formatting.
        s.setShowsPlainText(true);
        plainMarkedHugeSteps = hugeStepsIn(s, record);
        s.setShowsPlainText(false);
    }

    const QString xmllintName = QStringLiteral("xmllint --noout");
    const QString xmllintCpuName = QStringLiteral("xmllint --noout, CPU time");
    // A parse's bound is known (the least load, below): its rows are told against xmllint, with no aim.
    const auto told = [&table](const QString& name, const QList<double>& samples, const QString& reference,
                               double referenceValue) {
        table.add({name, QStringLiteral("ms"), Stats::of(samples), reference, referenceValue, 0, false, false, true});
    };
    told(QStringLiteral("whole load, first"), firstLoads, xmllintName, xmllint.median);
    told(QStringLiteral("whole load, over the first"), reloads, xmllintName, xmllint.median);
    told(QStringLiteral("whole load, first, no store kept, CPU time"), unstoredLoadsCpu, xmllintCpuName,
         xmllintTimes.cpu.median);
    table.add({QStringLiteral("whole load, first, CPU time"), QStringLiteral("ms"), Stats::of(firstLoadsCpu),
               QStringLiteral("the same with no store kept"), Stats::of(unstoredLoadsCpu).median, 1.1});
    told(QStringLiteral("whole load, over the first, CPU time"), reloadsCpu, xmllintCpuName, xmllintTimes.cpu.median);
    told(QStringLiteral("whole load on one core, CPU time"), oneCoreLoadsCpu, xmllintCpuName, xmllintTimes.cpu.median);
    told(QStringLiteral("whole load on one core, wall time"), oneCoreLoads, xmllintCpuName, xmllintTimes.cpu.median);
    addLoadFloors(table, reps, corpusPath, xmllintCpuName, xmllintTimes.cpu.median);
    table.add({QStringLiteral("second open, from the store"), QStringLiteral("ms"), Stats::of(secondOpens), xmllintName,
               xmllint.median, 0.05});
    table.add({QStringLiteral("second open, from the store, CPU time"), QStringLiteral("ms"), Stats::of(secondOpensCpu),
               xmllintCpuName, xmllintTimes.cpu.median, 0.05, false, false, true});
    table.add({QStringLiteral("anonymous memory (RssAnon) after a second open, in a process of its own"),
               QStringLiteral("MB"), Stats::of({openRssAnonMb}), QStringLiteral("corpus file size"), fileMb, 0.5});
    table.add({QStringLiteral("resident memory (VmRSS) after a second open, the mapped store's pages included"),
               QStringLiteral("MB"), Stats::of({openVmRssMb}), QStringLiteral("corpus file size"), fileMb, 0, false,
               false, true});
    table.add({QStringLiteral("store size"), QStringLiteral("MB"), Stats::of({storeMb}),
               QStringLiteral("corpus file size"), fileMb, 2.5});
    const QString oneArticleSize = QStringLiteral("%1 MB").arg(static_cast<double>(oneArticleBytes) / 1e6, 0, 'f', 0);
    table.add({QStringLiteral("a %1 single article, whole load, CPU time").arg(oneArticleSize), QStringLiteral("ms"),
               oneArticleCpu, QStringLiteral("the same texts as %1 articles, CPU time").arg(manyArticles),
               manyArticlesCpu.median, 2});
    table.add({QStringLiteral("a %1 single article of marked-up entries, whole load, CPU time").arg(oneArticleSize),
               QStringLiteral("ms"), oneMarkedCpu,
               QStringLiteral("the same bytes as %1 articles, CPU time").arg(manyMarked), manyMarkedCpu.median, 2});
    table.add({QStringLiteral("title filter keystroke (%1 titles)").arg(corpus.articleCount()), QStringLiteral("ms"),
               Stats::of(keystrokes), QString(), 0, 16, true});
    table.add({QStringLiteral("longest article formatted and highlighted (%1 chars)").arg(longest->text.size()),
               QStringLiteral("ms"), Stats::of(displays), QString(), 0, 20});
    table.add({QStringLiteral("longest article highlighted, plain text"), QStringLiteral("ms"),
               Stats::of(plainDisplays), QString(), 0, 20});
    table.add(rolesRead);
    table.add({QStringLiteral("a 1 MB unbreakable word shown, each step"), QStringLiteral("ms"),
               Stats::of(hugeWordSteps), QString(), 0, 100, true});
    table.add({QStringLiteral("a 32 MB article shown and scrolled, each step"), QStringLiteral("ms"),
               Stats::of(hugeArticleSteps), QString(), 0, 100, true});
    table.add({QStringLiteral("a %1 article of marked-up entries formatted, shown and scrolled, each step")
                   .arg(oneArticleSize),
               QStringLiteral("ms"), Stats::of(formattedHugeSteps), QString(), 0, 100, true});
    table.add({QStringLiteral("the same article as plain text, shown and scrolled, each step"), QStringLiteral("ms"),
               Stats::of(plainMarkedHugeSteps), QString(), 0, 100, true});
    for (const Measurement& row : searchRows + reopenedRows + concordanceRows + crossRows + packedRows)
        table.add(row);
    const QString fileSize = QStringLiteral("corpus file size");
    table.add({QStringLiteral("peak memory after first load"), QStringLiteral("MB"), Stats::of({peakAfterFirst}),
               fileSize, fileMb, 3});
    table.add({QStringLiteral("peak memory after reload"), QStringLiteral("MB"), Stats::of({peakAfterReload}), fileSize,
               fileMb, 3});
    table.add({QStringLiteral("kept for the formatting: the attribute of each value"), QStringLiteral("MB"),
               Stats::of({double(attributeBytes) / 1e6}), QStringLiteral("peak memory after first load"),
               peakAfterFirst, 0.1});

    out() << "\n## Profile: " << profileName << "\n\n"
          << heading(profileName) << "corpus: " << corpusPath << ", " << QString::number(fileMb, 'f', 1) << " MB, "
          << corpus.articleCount() << " articles; " << reps << " repetitions; peak memory before loading "
          << QString::number(peakBeforeLoading, 'f', 1) << " MB\n"
          << "typed in the title filter: \"" << typed << "\", then erased; marked word: \""
          << frequentWords.constFirst() << "\"\n\n"
          << table.toMarkdown() << "\nReferences (ms; grep on the text dump " << dumpPath
          << ", one article a line, or on the corpus file):\n\n"
          << "| reference | median | min | max | count |\n|---|---:|---:|---:|---:|\n"
          << QStringLiteral("| %1 | %2 | %3 | %4 | — |\n")
                 .arg(xmllintName)
                 .arg(xmllint.median, 0, 'f', 1)
                 .arg(xmllint.min, 0, 'f', 1)
                 .arg(xmllint.max, 0, 'f', 1)
          << QStringLiteral("| %1 | %2 | %3 | %4 | — |\n")
                 .arg(xmllintCpuName)
                 .arg(xmllintTimes.cpu.median, 0, 'f', 1)
                 .arg(xmllintTimes.cpu.min, 0, 'f', 1)
                 .arg(xmllintTimes.cpu.max, 0, 'f', 1);
    for (const GrepReference& reference : wordReferences + elementReferences) {
        out() << QStringLiteral("| %1 | %2 | %3 | %4 | %5 |\n")
                     .arg(reference.what)
                     .arg(reference.time.median, 0, 'f', 1)
                     .arg(reference.time.min, 0, 'f', 1)
                     .arg(reference.time.max, 0, 'f', 1)
                     .arg(QString::fromLatin1(reference.count));
    }
    out().flush();
    window.reset();
    return 0;
}

// Runs this program again for one part of the run: a fresh process has a peak memory of its own.
void runSelf(const QStringList& arguments)
{
    out().flush();
    const ChildProcess::Times times = ChildProcess::run(QCoreApplication::applicationFilePath(), arguments);
    if (times.exitCode != 0)
        fail(QStringLiteral("the run with %1 failed").arg(arguments.join(QLatin1Char(' '))));
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // The stores of the corpora measured go to a folder of the run's own, which its children share.
    std::optional<QTemporaryDir> cache;
    if (qEnvironmentVariableIsEmpty("TARVANE_BENCH_CACHE")) {
        cache.emplace();
        qputenv("TARVANE_BENCH_CACHE", QFile::encodeName(cache->path()));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache->path()));
    }
    const Options options = parseOptions(app);
    if (!options.bigRunPath.isEmpty())
        return runBig(options);
    if (options.concordanceRun > 0)
        return runConcordance(options);
    if (!options.openRunPath.isEmpty())
        return runOpen(options);
    const bool big = options.bigMb > 0 || !options.bigCorpusPath.isEmpty();
    if (options.profiles.size() == 1 && !big && options.concordanceRows.isEmpty())
        return runProfile(options, options.profiles.constFirst());

    const QStringList common{QStringLiteral("--size-mb"),
                             QString::number(options.sizeMb),
                             QStringLiteral("--seed"),
                             QString::number(options.seed),
                             QStringLiteral("--reps"),
                             QString::number(options.reps),
                             QStringLiteral("--words"),
                             options.wordsPath,
                             QStringLiteral("--concordance-rows"),
                             QStringLiteral("0")};
    for (const CorpusGenerator::Profile profile : options.profiles) {
        QStringList arguments = common;
        arguments << QStringLiteral("--profile") << CorpusGenerator::profileName(profile);
        if (!options.corpusPath.isEmpty())
            arguments << QStringLiteral("--corpus") << options.corpusPath;
        if (!options.dumpPath.isEmpty())
            arguments << QStringLiteral("--dump") << options.dumpPath;
        runSelf(arguments);
    }
    if (big) {
        QTemporaryDir workDir;
        QString path = options.bigCorpusPath.isEmpty() ? workDir.filePath(QStringLiteral("big.xml"))
                                                       : QFileInfo(options.bigCorpusPath).absoluteFilePath();
        if (!QFileInfo::exists(path) && options.bigMb <= 0)
            fail(QStringLiteral("no file %1, and no --big-mb to generate it").arg(path));
        if (!QFileInfo::exists(path))
            generateCorpus(options, options.bigProfile, options.bigMb, path);
        runSelf(QStringList(common) << QStringLiteral("--big-run") << path);
    }
    for (const int rows : options.concordanceRows)
        runSelf(QStringList(common) << QStringLiteral("--concordance-run") << QString::number(rows));
    return 0;
}

#include "bench/corpusgenerator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes a French-like corpus for the benchmark."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("size-mb"), QStringLiteral("Size of the corpus in MB (10^6 bytes)."),
                      QStringLiteral("N"), QStringLiteral("100")});
    parser.addOption(
        {QStringLiteral("seed"), QStringLiteral("Seed of the generator."), QStringLiteral("S"), QStringLiteral("1")});
    parser.addOption({QStringLiteral("words"), QStringLiteral("Word list, one word a line."), QStringLiteral("FILE"),
                      QStringLiteral("/usr/share/dict/french")});
    parser.addOption({QStringLiteral("profile"),
                      QStringLiteral("encyclopedia (long, lightly marked articles) or dictionary (short, densely "
                                     "marked ones)."),
                      QStringLiteral("P"), QStringLiteral("encyclopedia")});
    parser.addOption({QStringLiteral("packed"),
                      QStringLiteral("Elements side by side in a block meet without spaces or punctuation between "
                                     "them, as machine-written XML has them.")});
    parser.addPositionalArgument(QStringLiteral("output"), QStringLiteral("The XML file to write."));
    parser.process(app);

    QTextStream err(stderr);
    bool sizeOk = false;
    bool seedOk = false;
    const double sizeMb = parser.value(QStringLiteral("size-mb")).toDouble(&sizeOk);
    const quint64 seed = parser.value(QStringLiteral("seed")).toULongLong(&seedOk);
    bool profileOk = false;
    const CorpusGenerator::Profile profile =
        CorpusGenerator::profileFromName(parser.value(QStringLiteral("profile")), &profileOk);
    if (parser.positionalArguments().size() != 1 || !sizeOk || sizeMb <= 0 || !seedOk || !profileOk) {
        err << parser.helpText();
        return 2;
    }
    const QStringList words = CorpusGenerator::readWordList(parser.value(QStringLiteral("words")));
    if (words.isEmpty()) {
        err << "No words in " << parser.value(QStringLiteral("words")) << " (Debian package wfrench)\n";
        return 1;
    }
    QFile out(parser.positionalArguments().constFirst());
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        err << "Cannot write " << out.fileName() << '\n';
        return 1;
    }
    const CorpusGenerator::Spacing spacing =
        parser.isSet(QStringLiteral("packed")) ? CorpusGenerator::Spacing::Packed : CorpusGenerator::Spacing::Spaced;
    const qint64 articles =
        CorpusGenerator(words, seed, profile, spacing).write(out, static_cast<qint64>(sizeMb * 1e6));
    if (!out.flush() || out.error() != QFileDevice::NoError) {
        err << "Write error on " << out.fileName() << '\n';
        return 1;
    }
    QTextStream(stdout) << out.fileName() << ": " << out.size() << " bytes, " << articles << " articles\n";
    return 0;
}

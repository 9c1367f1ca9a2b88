// Any bytes as the settings file: what is read is clean text; a file that is not one of settings is
// never written; in one that is, what is written back reads back the same and every other line is
// kept byte for byte.
#include "corpus/settingsfile.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

bool isClean(const QString& value)
{
    for (const QChar c : value) {
        if ((c.unicode() < 0x20 && c != QLatin1Char('\t')) || c.unicode() == 0x7F)
            return false;
    }
    return true;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return file.readAll();
}

// The lines of other keys than the three, as the file holds them.
QList<QByteArray> otherLines(const QByteArray& bytes)
{
    QList<QByteArray> kept;
    for (const QByteArray& line : bytes.split('\n')) {
        if (!line.isEmpty() && line != "\r" && !line.startsWith("chemin") && !line.startsWith("couleur") &&
            !line.startsWith("police"))
            kept.append(line);
    }
    return kept;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("oxel.conf"));
    const QByteArray before(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(before);
    }
    const SettingsFile settings(path);
    const QStringList keys{SettingsFile::pathKey, SettingsFile::colourKey, SettingsFile::fontKey};
    const QStringList read = settings.values(keys);
    for (const QString& value : read) {
        if (!isClean(value))
            std::abort();
    }
    // A personal path is written as it is; a stock name keeps the first line's path instead.
    const QString corpusPath = SettingsFile::isStockCorpus(read[0]) ? QStringLiteral("/perso.xml") : read[0];
    const SettingsFile::Outcome outcome = settings.save(corpusPath, read[1], read[2]);
    if (settings.kind() == SettingsFile::Kind::Foreign) {
        if (outcome != SettingsFile::Outcome::LeftAlone || readAll(path) != before)
            std::abort();
        return 0;
    }
    if (outcome != SettingsFile::Outcome::Written)
        std::abort();
    if (settings.values(keys) != QStringList({corpusPath, read[1], read[2]}))
        std::abort();
    if (otherLines(readAll(path)) != otherLines(before))
        std::abort();
    return 0;
}

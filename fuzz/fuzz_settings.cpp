// Any bytes as the settings file: what is read is clean text, and what is written back from it
// reads back the same.
#include "settingsfile.h"

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
    return value.size() < SettingsFile::maxLineLength;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("oxel.conf"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
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
    if (!settings.save(corpusPath, read[1], read[2]))
        std::abort();
    if (settings.values(keys) != QStringList({corpusPath, read[1], read[2]}))
        std::abort();
    return 0;
}

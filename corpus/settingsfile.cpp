#include "settingsfile.h"

#include "xmldecoder.h"

#include <QFile>
#include <QSaveFile>

const QString SettingsFile::defaultFileName = QStringLiteral("oxel.conf");
const QString SettingsFile::pathKey = QStringLiteral("chemin");
const QString SettingsFile::colourKey = QStringLiteral("couleur");
const QString SettingsFile::fontKey = QStringLiteral("police");

SettingsFile::SettingsFile(QString fileName) : m_fileName(std::move(fileName)) {}

QStringList SettingsFile::lines() const
{
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray contents = file.readAll();
    QStringList result;
    for (QByteArray line : contents.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        // Written as UTF-8; an older file may hold Latin-1.
        result.append(xmldecoder::isValidUtf8(line.constData(), line.size()) ? QString::fromUtf8(line)
                                                                             : QString::fromLatin1(line));
    }
    if (contents.endsWith('\n'))
        result.removeLast();
    return result;
}

QString SettingsFile::value(const QString& key) const
{
    return values({key}).constFirst();
}

QStringList SettingsFile::values(const QStringList& keys) const
{
    QStringList found(keys.size());
    for (const QString& line : lines()) {
        for (qsizetype i = 0; i < keys.size(); ++i) {
            if (line.startsWith(keys[i]))
                found[i] = line.mid(keys[i].size() + 1);
        }
    }
    return found;
}

bool SettingsFile::isStockCorpus(const QString& path)
{
    return path == QLatin1String("EV_Inventaire.xml") || path == QLatin1String("EV_Sons.xml");
}

bool SettingsFile::save(const QString& corpusPath, const QString& colourName, const QString& fontFamily) const
{
    QString path = corpusPath;
    if (isStockCorpus(corpusPath)) {
        const QStringList current = lines();
        path.clear();
        if (!current.isEmpty() && current.first().startsWith(pathKey))
            path = current.first().mid(pathKey.size() + 1);
    }
    const QString contents = pathKey + QLatin1Char('=') + path + QLatin1Char('\n') + colourKey + QLatin1Char('=') +
                             colourName + QLatin1Char('\n') + fontKey + QLatin1Char('=') + fontFamily +
                             QLatin1Char('\n');
    return write(contents.toUtf8());
}

bool SettingsFile::savePathOnly(const QString& corpusPath) const
{
    return write(isStockCorpus(corpusPath) ? QByteArray() : (pathKey + QLatin1Char('=') + corpusPath).toUtf8());
}

bool SettingsFile::write(const QByteArray& contents) const
{
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // commit() alone does not see a write that failed while flushing (a full disk): check first.
    if (file.write(contents) != contents.size() || !file.flush()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}

#include "settingsfile.h"

#include "atomicfile.h"
#include "regularfile.h"
#include "workingfiles.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>

const QString SettingsFile::defaultFileName = workingfiles::settings;
const QString SettingsFile::pathKey = QStringLiteral("chemin");
const QString SettingsFile::colourKey = QStringLiteral("couleur");
const QString SettingsFile::fontKey = QStringLiteral("police");

SettingsFile::SettingsFile(QString fileName) : m_fileName(std::move(fileName)) {}

namespace {

// A line with a control character comes from a binary file, not from this program.
bool isTextLine(const QByteArray& line)
{
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7F)
            return false;
    }
    return true;
}

QString decodeLine(const QByteArray& line)
{
    // Written as UTF-8; an older file may hold Latin-1.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(line);
    return utf8.hasError() ? QString::fromLatin1(line) : text;
}

// Rewrites an existing regular file where it is, for a folder that takes no new file. The new bytes
// go first after the old ones: if they do not fit (a full disk, a size limit), the file is cut back
// to what it was. Only once they fit are they written over the start, where the room is known.
bool rewriteInPlace(const QString& path, const QByteArray& bytes)
{
    if (!regularfile::isReplaceable(path))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered))
        return false;
    const qint64 oldSize = file.size();
    if (!file.seek(oldSize) || file.write(bytes) != bytes.size()) {
        file.resize(oldSize);
        return false;
    }
    return file.seek(0) && file.write(bytes) == bytes.size() && file.resize(bytes.size());
}

} // namespace

QStringList SettingsFile::lines() const
{
    // Anything but a small regular file (a device, a FIFO, a huge file) holds no settings.
    const regularfile::Result file = regularfile::read(m_fileName, maxFileSize);
    if (file.status != regularfile::Status::Ok)
        return {};
    QStringList result;
    qsizetype start = 0;
    while (start < file.bytes.size()) {
        qsizetype end = file.bytes.indexOf('\n', start);
        if (end < 0)
            end = file.bytes.size();
        QByteArray line = file.bytes.mid(start, end - start);
        start = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        // Lines are kept in place, so that the first line stays the first; one no value could
        // come from reads as empty. The length counts characters, so that a line written back in
        // UTF-8 from a Latin-1 one still reads. Three bytes at most make one UTF-16 unit.
        QString text;
        if (line.size() <= 3 * maxLineLength && isTextLine(line))
            text = decodeLine(line);
        // Bytes read as Latin-1 control characters come from a binary file too: nothing to keep.
        if (std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() >= 0x80 && c.unicode() < 0xA0; }))
            text.clear();
        result.append(text.size() <= maxLineLength ? text : QString());
    }
    return result;
}

namespace {

bool isFirstKey(const QString& key)
{
    return key == SettingsFile::pathKey || key == SettingsFile::colourKey || key == SettingsFile::fontKey;
}

// Keys of later versions name their line with "=", so that one key is never taken for another
// that starts with it.
bool belongsTo(const QString& line, const QString& key)
{
    return line.startsWith(key) && (isFirstKey(key) || line.mid(key.size(), 1) == QLatin1String("="));
}

} // namespace

QString SettingsFile::value(const QString& key) const
{
    return values({key}).constFirst();
}

QStringList SettingsFile::values(const QStringList& keys) const
{
    QStringList found(keys.size());
    for (const QString& line : lines()) {
        for (qsizetype i = 0; i < keys.size(); ++i) {
            if (belongsTo(line, keys[i]))
                found[i] = line.mid(keys[i].size() + 1);
        }
    }
    return found;
}

QStringList SettingsFile::otherLines() const
{
    QStringList kept;
    for (const QString& line : lines()) {
        if (!line.isEmpty() && !belongsTo(line, pathKey) && !belongsTo(line, colourKey) && !belongsTo(line, fontKey))
            kept.append(line);
    }
    return kept;
}

bool SettingsFile::setValues(const QList<std::pair<QString, QString>>& entries) const
{
    QStringList all = lines();
    all.removeAll(QString());
    for (const auto& [key, value] : entries) {
        const QString line = key + QLatin1Char('=') + value;
        bool written = false;
        for (qsizetype i = 0; i < all.size();) {
            if (!belongsTo(all[i], key)) {
                ++i;
            } else if (!written) {
                all[i++] = line;
                written = true;
            } else {
                all.removeAt(i);
            }
        }
        if (!written)
            all.append(line);
    }
    return write((all.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}

bool SettingsFile::isStockCorpus(const QString& path)
{
    return path == workingfiles::inventoryCorpus || path == workingfiles::soundsCorpus;
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
    QString contents = pathKey + QLatin1Char('=') + path + QLatin1Char('\n') + colourKey + QLatin1Char('=') +
                       colourName + QLatin1Char('\n') + fontKey + QLatin1Char('=') + fontFamily + QLatin1Char('\n');
    for (const QString& line : otherLines())
        contents += line + QLatin1Char('\n');
    return write(contents.toUtf8());
}

bool SettingsFile::savePathOnly(const QString& corpusPath) const
{
    QStringList kept = otherLines();
    if (!isStockCorpus(corpusPath))
        kept.prepend(pathKey + QLatin1Char('=') + corpusPath);
    // Alone, the "chemin" line has no line end, as the files of earlier versions.
    QString contents = kept.join(QLatin1Char('\n'));
    if (kept.size() > 1)
        contents += QLatin1Char('\n');
    return write(contents.toUtf8());
}

bool SettingsFile::write(const QByteArray& contents) const
{
    // A folder that takes no new file (read-only, say) cannot hold the replacement beside the old
    // file, which may still be writable.
    return atomicfile::write(m_fileName, contents).isEmpty() || rewriteInPlace(m_fileName, contents);
}

#include "corpus/settingsfile.h"

#include "corpus/atomicfile.h"
#include "corpus/regularfile.h"
#include "corpus/workingfiles.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>

const QString SettingsFile::defaultFileName = workingfiles::settings;
const QString SettingsFile::pathKey = QStringLiteral("chemin");
const QString SettingsFile::colourKey = QStringLiteral("couleur");
const QString SettingsFile::fontKey = QStringLiteral("police");
const QString SettingsFile::accentsKey = QStringLiteral("accents");
const QString SettingsFile::zoomKey = QStringLiteral("zoom");
const QString SettingsFile::geometryKey = QStringLiteral("geometrie");
const QString SettingsFile::tabKey = QStringLiteral("onglet");
const QString SettingsFile::splitterKey = QStringLiteral("separateurs");
const QString SettingsFile::plainTextKey = QStringLiteral("texte_brut");
const QString SettingsFile::indexKey = QStringLiteral("index");

SettingsFile::SettingsFile(QString fileName) : m_fileName(std::move(fileName)) {}

namespace {

bool isFirstKey(const QString& key)
{
    return key == SettingsFile::pathKey || key == SettingsFile::colourKey || key == SettingsFile::fontKey;
}

// Keys of later versions name their line with "=", so that one key is never taken for another
// that starts with it.
bool belongsTo(const QByteArray& line, const QByteArray& key, bool firstKey)
{
    return line.startsWith(key) && (firstKey || (line.size() > key.size() && line.at(key.size()) == '='));
}

bool belongsToFirstKeys(const QByteArray& line)
{
    return line.startsWith("chemin") || line.startsWith("couleur") || line.startsWith("police");
}

QByteArray withoutCarriageReturn(const QByteArray& line)
{
    return line.endsWith('\r') ? line.first(line.size() - 1) : line;
}

// Written as UTF-8; an older file may hold Latin-1. A value with control characters is none the
// program wrote: it reads as empty.
QString decodeValue(const QByteArray& bytes)
{
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7F)
            return {};
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

QByteArray joined(const QList<QByteArray>& lines)
{
    QByteArray contents;
    for (const QByteArray& line : lines)
        contents += line + '\n';
    return contents;
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

SettingsFile::Contents SettingsFile::read() const
{
    Contents contents;
    // Anything but a regular file of text (a device, a FIFO, a picture, a huge file) holds no
    // settings, and is not the program's to replace.
    const regularfile::Result file = regularfile::read(m_fileName, maxFileSize);
    if (file.status == regularfile::Status::Missing)
        return contents;
    contents.kind = Kind::Foreign;
    if (file.status != regularfile::Status::Ok || file.bytes.contains('\0'))
        return contents;
    contents.kind = Kind::Settings;
    const QList<QByteArray> lines = file.bytes.split('\n');
    for (const QByteArray& line : lines) {
        if (!line.isEmpty() && line != "\r")
            contents.lines.append(line);
    }
    return contents;
}

QString SettingsFile::value(const QString& key) const
{
    return values({key}).constFirst();
}

QStringList SettingsFile::values(const QStringList& keys) const
{
    QList<QByteArray> keyBytes;
    for (const QString& key : keys)
        keyBytes.append(key.toUtf8());
    QStringList found(keys.size());
    for (const QByteArray& rawLine : read().lines) {
        const QByteArray line = withoutCarriageReturn(rawLine);
        for (qsizetype i = 0; i < keys.size(); ++i) {
            if (belongsTo(line, keyBytes[i], isFirstKey(keys[i])))
                found[i] = decodeValue(line.mid(keyBytes[i].size() + 1));
        }
    }
    return found;
}

QByteArray SettingsFile::firstPath(const Contents& contents)
{
    if (contents.lines.isEmpty() || !contents.lines.constFirst().startsWith("chemin"))
        return {};
    return withoutCarriageReturn(contents.lines.constFirst()).mid(pathKey.size() + 1);
}

QList<QByteArray> SettingsFile::otherLines(const Contents& contents)
{
    QList<QByteArray> kept;
    for (const QByteArray& line : contents.lines) {
        if (!belongsToFirstKeys(line))
            kept.append(line);
    }
    return kept;
}

bool SettingsFile::isStockCorpus(const QString& path)
{
    return path == workingfiles::inventoryCorpus || path == workingfiles::soundsCorpus;
}

bool SettingsFile::isWritable(const QString& value)
{
    const QByteArray bytes = value.toUtf8();
    return !bytes.contains('\n') && !bytes.endsWith('\r') && decodeValue(bytes) == value;
}

SettingsFile::Outcome SettingsFile::save(const QString& corpusPath, const QString& colourName,
                                         const QString& fontFamily) const
{
    const Contents contents = read();
    if (contents.kind == Kind::Foreign)
        return Outcome::LeftAlone;
    const QByteArray path =
        isStockCorpus(corpusPath) || !isWritable(corpusPath) ? firstPath(contents) : corpusPath.toUtf8();
    const auto line = [](const QString& key, const QString& value) {
        return key.toUtf8() + '=' + (isWritable(value) ? value.toUtf8() : QByteArray());
    };
    QList<QByteArray> lines{pathKey.toUtf8() + '=' + path, line(colourKey, colourName), line(fontKey, fontFamily)};
    lines += otherLines(contents);
    return write(joined(lines));
}

SettingsFile::Outcome SettingsFile::savePathOnly(const QString& corpusPath) const
{
    const Contents contents = read();
    if (contents.kind == Kind::Foreign)
        return Outcome::LeftAlone;
    QList<QByteArray> kept = otherLines(contents);
    if (!isStockCorpus(corpusPath)) {
        const QByteArray path = isWritable(corpusPath) ? corpusPath.toUtf8() : firstPath(contents);
        kept.prepend(pathKey.toUtf8() + '=' + path);
    }
    // Alone, the "chemin" line has no line end, as the files of earlier versions.
    QByteArray bytes = joined(kept);
    if (kept.size() == 1)
        bytes.chop(1);
    return write(bytes);
}

SettingsFile::Outcome SettingsFile::setValues(const QList<std::pair<QString, QString>>& entries) const
{
    Contents contents = read();
    if (contents.kind == Kind::Foreign)
        return Outcome::LeftAlone;
    QList<QByteArray>& all = contents.lines;
    for (const auto& [key, value] : entries) {
        const QByteArray keyBytes = key.toUtf8();
        const QByteArray line = keyBytes + '=' + value.toUtf8();
        bool written = false;
        for (qsizetype i = 0; i < all.size();) {
            if (!belongsTo(withoutCarriageReturn(all[i]), keyBytes, false)) {
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
    return write(joined(withFirstLines(all)));
}

QList<QByteArray> SettingsFile::withFirstLines(const QList<QByteArray>& lines)
{
    const QList<QByteArray> firstKeys{"chemin", "couleur", "police"};
    bool inPlace = lines.size() >= 3;
    for (qsizetype i = 0; inPlace && i < 3; ++i)
        inPlace = lines.at(i).startsWith(firstKeys.at(i));
    if (inPlace)
        return lines;
    // Each key's line as readers see it (the last), else an empty one, put first; the others after.
    QList<QByteArray> first;
    for (const QByteArray& key : firstKeys) {
        QByteArray found = key + '=';
        for (const QByteArray& line : lines) {
            if (line.startsWith(key))
                found = line;
        }
        first.append(found);
    }
    return first + otherLines({Kind::Settings, lines});
}

SettingsFile::Outcome SettingsFile::write(const QByteArray& contents) const
{
    // A folder that takes no new file (read-only, say) cannot hold the replacement beside the old
    // file, which may still be writable.
    if (atomicfile::write(m_fileName, contents).isEmpty() || rewriteInPlace(m_fileName, contents))
        return Outcome::Written;
    return Outcome::NotWritten;
}

#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

// The settings file: "chemin=", "couleur=" and "police=" lines first, then any other "key=value"
// lines, one a key. Readers scan every line, the last match winning; the writers replace the whole
// file at once, so a failed write leaves the old one, and keep every line they do not write
// themselves, so that keys of other versions survive.
// Where the folder takes no new file, an existing file is rewritten in place, and left as it was
// when the new contents do not fit.
// Only a regular file is read or replaced: a directory, FIFO or device in its place is left alone
// and reads as no settings, as do a binary file's lines.
class SettingsFile
{
public:
    static const QString defaultFileName; // "oxel.conf", in the working directory
    static const QString pathKey;         // "chemin"
    static const QString colourKey;       // "couleur"
    static const QString fontKey;         // "police"
    // A larger file (bytes), or a longer line (characters), is not one this program wrote: it
    // is ignored, not read.
    static constexpr qint64 maxFileSize = 1024 * 1024;
    static constexpr qsizetype maxLineLength = 32 * 1024;

    explicit SettingsFile(QString fileName = defaultFileName);

    // A line belongs to "chemin", "couleur" or "police" when it starts with it, and its value is
    // the rest after one more character (normally "="); to any other key when it starts with the
    // key and "=". Missing file or key: empty.
    QString value(const QString& key) const;
    QStringList values(const QStringList& keys) const;

    // The three lines, then the file's other lines. A stock corpus keeps the path of the first
    // line, so that "chemin" always names the last personal corpus. False when the file could not
    // be written either way.
    bool save(const QString& corpusPath, const QString& colourName, const QString& fontFamily) const;
    // The "chemin" line alone, without a line end (no line for a stock corpus): colour and font go
    // back to their defaults. Lines of other keys follow it, kept.
    bool savePathOnly(const QString& corpusPath) const;
    // Writes "key=value" for each entry in the place of the key's line (a key not in the file goes
    // at its end), keeping every other line. Not for the three keys above.
    bool setValues(const QList<std::pair<QString, QString>>& entries) const;
    bool setValue(const QString& key, const QString& value) const { return setValues({{key, value}}); }

    static bool isStockCorpus(const QString& path);

private:
    QStringList lines() const;
    // The lines of other keys than the three, in their order; blank lines are dropped.
    QStringList otherLines() const;
    bool write(const QByteArray& contents) const;

    QString m_fileName;
};

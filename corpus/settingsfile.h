#pragma once

#include <QString>
#include <QStringList>

// The settings file: "chemin=", "couleur=" and "police=" lines. Readers scan every line, the last
// match winning; the writer replaces the whole file at once, so a failed write leaves the old one.
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

    // A line belongs to a key when it starts with it; its value is the rest after one more
    // character (normally "="). Missing file or key: empty.
    QString value(const QString& key) const;
    QStringList values(const QStringList& keys) const;

    // Three lines. A stock corpus keeps the path of the first line, so that "chemin" always
    // names the last personal corpus. False when the file could not be written either way.
    bool save(const QString& corpusPath, const QString& colourName, const QString& fontFamily) const;
    // One "chemin" line without a line end, or an empty file for a stock corpus.
    bool savePathOnly(const QString& corpusPath) const;

    static bool isStockCorpus(const QString& path);

private:
    QStringList lines() const;
    bool write(const QByteArray& contents) const;

    QString m_fileName;
};

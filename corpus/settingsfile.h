#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

// The settings file: "chemin=", "couleur=" and "police=" lines first, then any other "key=value"
// lines, one a key. Readers scan every line, the last match winning; the writers replace the whole
// file at once, so a failed write leaves the old one, and keep every line they do not write
// themselves byte for byte, whatever its length or bytes, so that keys of other versions survive.
// Where the folder takes no new file, an existing file is rewritten in place, and left as it was
// when the new contents do not fit.
// A file that is not one of settings (binary, a directory, FIFO or device, unreadable, huge) reads
// as no settings and is never written over: what it holds is not the program's to lose.
class SettingsFile
{
public:
    static const QString defaultFileName; // "oxel.conf", in the working directory
    static const QString pathKey;         // "chemin"
    static const QString colourKey;       // "couleur"
    static const QString fontKey;         // "police"
    // The keys after the first three lines.
    static const QString accentsKey;   // "accents": 1 when accents are ignored
    static const QString zoomKey;      // "zoom": steps of the article views' size, 0 the font's own
    static const QString geometryKey;  // "geometrie": the window's geometry, as the toolkit saves it
    static const QString tabKey;       // "onglet": the current tab
    static const QString splitterKey;  // "separateurs": the splitters' positions, "list,article" a tab, ";" between
    static const QString plainTextKey; // "texte_brut": 1 when articles show as plain text
    static const QString indexKey;     // "index": 0 when no store of the corpus is kept
    // A larger file (bytes) is not one this program wrote.
    static constexpr qint64 maxFileSize = 64 * 1024 * 1024;

    enum class Kind
    {
        Missing,
        Settings,
        Foreign, // not a settings file: left alone
    };
    enum class Outcome
    {
        Written,
        NotWritten, // the disk or the folder refused it; an earlier file stays whole
        LeftAlone,  // not a settings file
    };

    explicit SettingsFile(QString fileName = defaultFileName);

    const QString& fileName() const { return m_fileName; }
    Kind kind() const { return read().kind; }

    // A line belongs to "chemin", "couleur" or "police" when it starts with it, and its value is
    // the rest after one more character (normally "="); to any other key when it starts with the
    // key and "=". Missing file or key, or a value holding control characters: empty.
    QString value(const QString& key) const;
    QStringList values(const QStringList& keys) const;

    // The three lines, then the file's other lines. A stock corpus, or a path that would not read
    // back the same (bytes that are not UTF-8, a line break), keeps the path of the first line, so
    // that "chemin" always names the last personal corpus that can be named.
    Outcome save(const QString& corpusPath, const QString& colourName, const QString& fontFamily) const;
    // The "chemin" line alone, without a line end (no line for a stock corpus): colour and font go
    // back to their defaults. Lines of other keys follow it, kept.
    Outcome savePathOnly(const QString& corpusPath) const;
    // Writes "key=value" for each entry in the place of the key's line (a key not in the file goes
    // at its end), keeping every other line. Not for the three keys above, whose lines it puts
    // first when they are not (empty when missing).
    Outcome setValues(const QList<std::pair<QString, QString>>& entries) const;
    Outcome setValue(const QString& key, const QString& value) const { return setValues({{key, value}}); }

    static bool isStockCorpus(const QString& path);
    // Whether `value` written on a line reads back as itself.
    static bool isWritable(const QString& value);

private:
    struct Contents
    {
        Kind kind = Kind::Missing;
        QList<QByteArray> lines; // as in the file, without their "\n"; blank lines left out
    };
    Contents read() const;
    // The value of the first line when it is a "chemin" line, as its bytes.
    static QByteArray firstPath(const Contents& contents);
    // The lines of other keys than the three, in their order.
    static QList<QByteArray> otherLines(const Contents& contents);
    // The lines with "chemin", "couleur" and "police" first, in that order, as earlier versions read them.
    static QList<QByteArray> withFirstLines(const QList<QByteArray>& lines);
    Outcome write(const QByteArray& contents) const;

    QString m_fileName;
};

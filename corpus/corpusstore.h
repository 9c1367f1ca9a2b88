#pragma once

#include "corpus/corpuscontent.h"

#include <QByteArray>
#include <QString>
#include <atomic>
#include <memory>
#include <optional>

// A corpus kept on disk after its first load: what the parse built (articles, element index, the
// counts of each name), in one file that a later open of the same, unchanged corpus maps instead of
// parsing it again. The texts are then used where they lie in the mapping, which lasts as long as the
// program. A store is a cache: anything wrong in it, and it is only ignored.
namespace corpusstore {

// What tells a corpus file unchanged since its store was written, as version control checks its
// working files: size, modification and change times to the nanosecond, inode and device.
struct Identity
{
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    quint64 inode = 0;
    quint64 device = 0;
    bool operator==(const Identity& other) const;
    bool operator!=(const Identity& other) const { return !(*this == other); }
};

// Of the file at `path` as it is now; nothing when it cannot be seen.
std::optional<Identity> identify(const QString& path);

// The folder of the stores: the user's cache folder.
QString defaultFolder();
// The store of the corpus at `corpusPath` (made absolute) in `folder`.
QString storePath(const QString& folder, const QString& corpusPath);

// A store being written while its corpus is read: the articles' texts go into it as the load makes
// them, so that they are never held whole in memory; the rest follows once the load is done. Until
// then it is a temporary file beside the store, which goes with the draft unless completed.
class Draft
{
public:
    // Of the store at `path`: its temporary is made at once.
    explicit Draft(const QString& path);
    ~Draft();
    Draft(const Draft&) = delete;
    Draft& operator=(const Draft&) = delete;

    // Whether every write so far went through.
    bool ok() const;
    // Starts the store of the corpus as `identity` says it is when read.
    void begin(const Identity& identity);
    // Back to no text, for a second read of the file.
    void restart();
    // Appends an article's text; false when it could not be written, and then neither it nor any
    // text after it is in the draft: they stay with their articles.
    bool add(const QChar* units, qsizetype count);
    // The units of the texts added.
    quint64 units() const;
    // After the last text: the texts added, one after the other, where they lie for as long as the
    // program runs: mapped from the file, or read back into memory (storage()) when a write failed.
    // Throws std::bad_alloc when neither can be had.
    const QChar* texts();
    // What holds texts() when they are not mapped; nothing otherwise.
    std::shared_ptr<const void> storage() const;
    // Writes the rest of the store of `content`, whose texts are those added, then gives the file
    // its name. Stops, leaving nothing, once `stop` is set. Returns why it failed, empty on success.
    QString complete(const CorpusContent& content, const QString& corpusPath, const std::atomic<bool>* stop = nullptr);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// Writes `content`, the corpus at `corpusPath` as it was when `identity` was taken, into the store
// at `path`: a temporary file beside it, then a rename, so that a store in use is never changed and
// nothing partial is ever left. Stops, leaving nothing, once `stop` is set. Returns why it failed,
// empty on success.
QString write(const QString& path, const CorpusContent& content, const QString& corpusPath, const Identity& identity,
              const std::atomic<bool>* stop = nullptr);

// The content kept in the store at `path`, when it is one of the corpus at `corpusPath` as
// `identity` says it is now, and every part of it holds: its format, the checksum of each part and
// every number in it. Nothing otherwise. The articles' texts alone are checked as they are used, by
// the content's textCheck, which the caller starts.
std::optional<CorpusContent> open(const QString& path, const QString& corpusPath, const Identity& identity);

// The same from bytes in memory, which the content keeps, the texts checked too.
std::optional<CorpusContent> fromBytes(const QByteArray& bytes, const QString& corpusPath, const Identity& identity);

// The stores of `folder` go, the least recently used first, until they take at most `limit`
// bytes; `keep` stays whatever its size. Leftovers of writes that never ended go too.
void trim(const QString& folder, qint64 limit, const QString& keep = {});

// Marks the store as used now, for trim().
void touch(const QString& path);

// What trim() keeps by default: 8 GB.
inline constexpr qint64 defaultLimit = qint64(8) << 30;

} // namespace corpusstore

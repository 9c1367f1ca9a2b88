#pragma once

#include "corpus/corpuscontent.h"

#include <QByteArray>
#include <QString>
#include <atomic>
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

// Writes `content`, the corpus at `corpusPath` as it was when `identity` was taken, into the store
// at `path`: a temporary file beside it, then a rename, so that a store in use is never changed and
// nothing partial is ever left. Stops, leaving nothing, once `stop` is set. Returns why it failed,
// empty on success.
QString write(const QString& path, const CorpusContent& content, const QString& corpusPath, const Identity& identity,
              const std::atomic<bool>* stop = nullptr);

// The content kept in the store at `path`, when it is one of the corpus at `corpusPath` as
// `identity` says it is now, and every part of it holds: its format, the checksum of each part and
// every number in it. Nothing otherwise.
std::optional<CorpusContent> open(const QString& path, const QString& corpusPath, const Identity& identity);

// The same from bytes in memory, which the content keeps.
std::optional<CorpusContent> fromBytes(const QByteArray& bytes, const QString& corpusPath, const Identity& identity);

// The stores of `folder` go, the least recently used first, until they take at most `limit`
// bytes; `keep` stays whatever its size. Leftovers of writes that never ended go too.
void trim(const QString& folder, qint64 limit, const QString& keep = {});

// Marks the store as used now, for trim().
void touch(const QString& path);

// What trim() keeps by default: 8 GB.
inline constexpr qint64 defaultLimit = qint64(8) << 30;

} // namespace corpusstore

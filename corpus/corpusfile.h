#pragma once

#include "corpus/corpusbuilder.h"
#include "corpus/corpuscontent.h"

#include <QString>
#include <functional>
#include <optional>

// Reads a corpus file from disk: existence, reading, decoding, one parse into articles and index.
// Memory: an allocation that fails anywhere in a read (on either thread of the parse, inside expat,
// while decoding), or an article past what the index can number, ends that read with OutOfMemory
// and drops all of it; it never ends the program.
namespace corpusfile {

enum class Status
{
    Ok,
    Missing,    // no such file, or an empty path
    Unreadable, // a directory, or no permission to read
    Malformed,  // not well-formed XML, unknown encoding, binary data
    OutOfMemory,
    Stopped, // the progress asked the read to stop: nothing is kept, and nothing is wrong with the file
};

struct Result
{
    Status status = Status::Missing;
    std::optional<CorpusContent> content;
    // Why a file was refused, in French, for a reader: "ligne 3, colonne 7 : balise non fermée".
    QString why;
};

// Files are read and parsed in pieces of this size, so that they are never held whole.
inline constexpr qsizetype pieceSize = 1 << 20;

// Told, from the thread that reads, the bytes of the file read so far and its size, after each piece;
// answers whether the read goes on.
using Progress = std::function<bool(qint64 done, qint64 total)>;

// The articles' texts go into `draft`, when given, as they are read, and the content's texts lie there
// after (see corpusstore::Draft); the draft is then completed, or dropped, by the caller.
Result read(const QString& path, corpusbuilder::BatchLimit limit = {}, const Progress& progress = {},
            corpusstore::Draft* draft = nullptr);

// Decodes and parses the bytes of an XML file; nothing when they are not one well-formed document,
// or when memory runs out.
std::optional<CorpusContent> parse(QByteArray bytes, corpusbuilder::BatchLimit limit = {});

} // namespace corpusfile

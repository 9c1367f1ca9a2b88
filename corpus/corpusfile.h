#pragma once

#include "corpuscontent.h"

#include <QString>
#include <optional>

// Reads a corpus file from disk: existence, reading, decoding, one parse into articles and index.
namespace corpusfile {

enum class Status
{
    Ok,
    Missing,    // no such file, or an empty path
    Unreadable, // a directory, or no permission to read
    Malformed,  // not well-formed XML, unknown encoding, binary data
};

struct Result
{
    Status status = Status::Missing;
    std::optional<CorpusContent> content;
};

// Files are read and parsed in pieces of this size, so that they are never held whole.
inline constexpr qsizetype pieceSize = 4 << 20;

Result read(const QString& path);

// Decodes and parses the bytes of an XML file; nothing when they are not one well-formed document.
std::optional<CorpusContent> parse(QByteArray bytes);

} // namespace corpusfile

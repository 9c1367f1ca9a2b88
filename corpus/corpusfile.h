#pragma once

#include "xmltree.h"

#include <QString>
#include <QStringList>
#include <memory>

// Reads a corpus file from disk: existence, reading, decoding, one parse, the element names.
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
    std::shared_ptr<const XmlTree> tree;
    QStringList elementNames;
};

Result read(const QString& path);

// Parses UTF-8 or other XML bytes; null when they are not one well-formed document.
std::shared_ptr<XmlTree> parse(QByteArray bytes);

} // namespace corpusfile

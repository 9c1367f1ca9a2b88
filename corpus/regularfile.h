#pragma once

#include <QByteArray>
#include <QString>

class QFile;

// Reads a whole file only when it is a regular file. A device (/dev/zero, /dev/urandom) would be
// read without end and a FIFO would block in open() or read(): neither is ever opened for reading
// in a way that can block, nor read.
namespace regularfile {

enum class Status
{
    Ok,
    Missing,    // no such path, or an empty path
    Unreadable, // not a regular file (directory, FIFO, device, socket), no permission, or a read error
    TooLarge,   // larger than the limit given; nothing was read
};

struct Result
{
    Status status = Status::Missing;
    QByteArray bytes; // the whole file when Ok, else empty
};

inline constexpr qint64 noLimit = -1;

// `maxSize` in bytes; a file that is (or grows while read) larger gives TooLarge.
Result read(const QString& path, qint64 maxSize = noLimit);

// Opens a regular file for reading into `file`, by the same checks, without reading it.
Status open(const QString& path, QFile& file, qint64 maxSize = noLimit);

// True when `path` names nothing, or (through symbolic links) a regular file: a place where a
// file may be written by replacing it. False for a directory, FIFO, device or socket.
bool isReplaceable(const QString& path);

} // namespace regularfile

#pragma once

#include <QByteArray>
#include <QString>

namespace atomicfile {

// Replaces the file at `path` with `bytes` at once; on failure an earlier file stays whole and the
// reason is returned (empty on success). Only a regular file, or nothing, is ever replaced: a
// directory, FIFO or device in its place is left alone.
QString write(const QString& path, const QByteArray& bytes);

} // namespace atomicfile

#include "atomicfile.h"

#include "regularfile.h"

#include <QSaveFile>

namespace atomicfile {

QString write(const QString& path, const QByteArray& bytes)
{
    // Replacing a device or a FIFO (or through a link, /dev/zero itself) is not ours to do.
    if (!regularfile::isReplaceable(path))
        return QStringLiteral("Not a regular file");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    // commit() alone does not see a write that failed while flushing (a full disk): check first.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace atomicfile

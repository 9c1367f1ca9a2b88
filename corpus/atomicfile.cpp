#include "corpus/atomicfile.h"

#include "corpus/atomicwriter.h"

namespace atomicfile {

QString write(const QString& path, const QByteArray& bytes)
{
    AtomicWriter file(path);
    const QString refused = file.open();
    if (!refused.isEmpty())
        return refused;
    if (!file.write(bytes))
        return file.errorString();
    return file.commit();
}

} // namespace atomicfile

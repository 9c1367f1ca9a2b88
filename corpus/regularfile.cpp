#include "corpus/regularfile.h"

#include "corpus/nativename.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace regularfile {
namespace {

// Closes the descriptor on every way out.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    void release() { m_fd = -1; }

private:
    int m_fd;
};

bool isAbsence(int error)
{
    return error == ENOENT || error == ENOTDIR || error == ENAMETOOLONG;
}

Result failure(Status status)
{
    Result result;
    result.status = status;
    return result;
}

bool exceeds(qint64 size, qint64 maxSize)
{
    return maxSize >= 0 && size > maxSize;
}

} // namespace

Status open(const QString& path, QFile& file, qint64 maxSize)
{
    if (path.isEmpty())
        return Status::Missing;
    const QByteArray name = nativename::encode(path);

    // The type first, so that nothing but a regular file is ever opened.
    struct stat before
    {
    };
    if (::stat(name.constData(), &before) != 0)
        return isAbsence(errno) ? Status::Missing : Status::Unreadable;
    if (!S_ISREG(before.st_mode))
        return Status::Unreadable;
    if (exceeds(before.st_size, maxSize))
        return Status::TooLarge;

    // O_NONBLOCK: should a FIFO take the file's place after the check, open() does not wait for
    // a writer; fstat() then sees what was really opened.
    int fd;
    do {
        fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return isAbsence(errno) ? Status::Missing : Status::Unreadable;
    Descriptor descriptor(fd);
    struct stat opened
    {
    };
    if (::fstat(descriptor.get(), &opened) != 0 || !S_ISREG(opened.st_mode))
        return Status::Unreadable;
    if (exceeds(opened.st_size, maxSize))
        return Status::TooLarge;
    if (!file.open(descriptor.get(), QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
        return Status::Unreadable;
    descriptor.release();
    return Status::Ok;
}

Result read(const QString& path, qint64 maxSize)
{
    QFile file;
    const Status status = open(path, file, maxSize);
    if (status != Status::Ok)
        return failure(status);
    const int fd = file.handle();

    Result result;
    try {
        // The size is a hint: the file may grow or shrink while it is read.
        QByteArray bytes(static_cast<qsizetype>(file.size()) + 1, Qt::Uninitialized);
        qsizetype used = 0;
        for (;;) {
            if (used == bytes.size())
                bytes.resize(bytes.size() + qMax<qsizetype>(bytes.size() / 2, 64 * 1024));
            const ssize_t got = ::read(fd, bytes.data() + used, static_cast<size_t>(bytes.size() - used));
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                return failure(Status::Unreadable);
            }
            if (got == 0)
                break;
            used += got;
            if (exceeds(used, maxSize))
                return failure(Status::TooLarge);
        }
        bytes.truncate(used);
        result.bytes = std::move(bytes);
    } catch (const std::bad_alloc&) {
        return failure(Status::Unreadable);
    }
    result.status = Status::Ok;
    return result;
}

bool isReplaceable(const QString& path)
{
    struct stat info
    {
    };
    if (::stat(nativename::encode(path).constData(), &info) != 0)
        return errno == ENOENT;
    return S_ISREG(info.st_mode);
}

} // namespace regularfile

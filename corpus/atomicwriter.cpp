#include "corpus/atomicwriter.h"

#include "corpus/regularfile.h"

AtomicWriter::AtomicWriter(const QString& path) : m_path(path), m_file(path) {}

AtomicWriter::~AtomicWriter()
{
    discard();
}

QString AtomicWriter::open()
{
    // Replacing a device or a FIFO (or through a link, /dev/zero itself) is not ours to do.
    if (!regularfile::isReplaceable(m_path))
        m_error = QStringLiteral("Not a regular file");
    else if (!m_file.open(QIODevice::WriteOnly))
        m_error = m_file.errorString();
    return m_error;
}

bool AtomicWriter::write(const QByteArray& bytes)
{
    if (!m_error.isEmpty() || !m_file.isOpen()) {
        if (m_error.isEmpty())
            m_error = QStringLiteral("Not open");
        return false;
    }
    if (m_file.write(bytes) != bytes.size()) {
        m_error = m_file.errorString();
        return false;
    }
    return true;
}

QString AtomicWriter::commit()
{
    if (!m_error.isEmpty() || !m_file.isOpen()) {
        discard();
        return m_error.isEmpty() ? QStringLiteral("Not open") : m_error;
    }
    // commit() alone does not see a write that failed while flushing (a full disk): check first.
    if (!m_file.flush()) {
        m_error = m_file.errorString();
        discard();
        return m_error;
    }
    if (!m_file.commit())
        m_error = m_file.errorString();
    return m_error;
}

void AtomicWriter::discard()
{
    if (!m_file.isOpen())
        return;
    m_file.cancelWriting();
    // Closing a cancelled file removes its temporary.
    m_file.commit();
}

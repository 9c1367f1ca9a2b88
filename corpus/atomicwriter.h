#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

// A file replaced at once, written piece by piece: the pieces go to a temporary file beside it, which
// takes its name on commit. Until then, and after any failure or a discard, an earlier file of that
// name stays whole and no temporary is left. Only a regular file, or nothing, is ever replaced.
// Open it on one thread; it may then be written and committed on another, while nothing else uses it.
class AtomicWriter
{
public:
    explicit AtomicWriter(const QString& path);
    ~AtomicWriter();
    AtomicWriter(const AtomicWriter&) = delete;
    AtomicWriter& operator=(const AtomicWriter&) = delete;

    // Makes the temporary file: whether the destination can be written is known here, before any
    // piece is made. Returns the reason it cannot, empty when it can.
    QString open();
    // False once a piece could not be written; the reason is kept.
    bool write(const QByteArray& bytes);
    // The file takes its name; returns the reason it could not, empty on success.
    QString commit();
    // The temporary goes; the earlier file stays as it was.
    void discard();
    QString errorString() const { return m_error; }

private:
    QString m_path;
    QSaveFile m_file;
    QString m_error;
};

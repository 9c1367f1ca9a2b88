#include "corpus/corpusfile.h"

#include "corpus/corpusbuilder.h"
#include "corpus/regularfile.h"
#include "corpus/xmldecoder.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <new>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace corpusfile {
namespace {

// Gives a device's bytes piece by piece: false at the end or on a read error; rewinds to read again.
// The first piece is given even when empty, so that an empty file is seen and refused.
class Source
{
public:
    explicit Source(QIODevice& device, const Progress* progress = nullptr) : m_device(device), m_progress(progress) {}

    bool next(QByteArray& piece)
    {
        piece.resize(pieceSize);
        const qint64 got = read(piece.data());
        if (got < 0)
            return false;
        piece.resize(got);
        const bool first = !m_started;
        m_started = true;
        if (got == 0 && first)
            (void)report();
        return got > 0 || first;
    }

    // Reads the next piece into `buffer`, which has room for one: its size, less than a piece only at
    // the end, -1 on an error.
    qint64 read(char* buffer)
    {
        qint64 total = 0;
        while (total < pieceSize) {
            const qint64 got = m_device.read(buffer + total, pieceSize - total);
            if (got < 0) {
                failed = true;
                return -1;
            }
            if (got == 0)
                break;
            total += got;
        }
        if (total > 0 && !report()) {
            stopped = true;
            return -1;
        }
        return total;
    }

    qint64 size() const { return m_device.size(); }

    bool rewind()
    {
        m_started = false;
        return m_device.seek(0);
    }

    bool failed = false;
    bool stopped = false; // the progress asked the read to stop
    // Whether the source gave no more for either reason.
    bool ended() const { return failed || stopped; }

private:
    // Whether the read goes on.
    bool report() const { return !m_progress || !*m_progress || (*m_progress)(m_device.pos(), m_device.size()); }

    QIODevice& m_device;
    const Progress* m_progress;
    bool m_started = false;
};

enum class Outcome
{
    Ok,
    Refused,
    ReadError,
    Stopped,
};

// Why the source gave no more: an error, or the reader asked it to stop.
Outcome sourceEnded(const Source& source)
{
    return source.stopped ? Outcome::Stopped : Outcome::ReadError;
}

Outcome parseWith(Source& source, corpusbuilder::BatchLimit limit, corpusstore::Draft* draft, bool mixed,
                  std::optional<CorpusContent>& content, QString& why)
{
    QByteArray piece;
    if (!source.next(piece)) {
        why = QStringLiteral("le fichier est vide");
        return source.ended() ? sourceEnded(source) : Outcome::Refused;
    }
    xmldecoder::StreamDecoder decoder(piece);
    decoder.setMixed(mixed);
    if (draft)
        draft->restart();
    corpusbuilder::StreamParser parser(limit, source.size(), draft);
    QByteArrayView text = QByteArrayView(piece).sliced(decoder.textStart());
    const auto refused = [&why, &parser] {
        why = parser.refusal();
        return Outcome::Refused;
    };
    if (decoder.passesThrough()) {
        // UTF-8 as it is: each piece after the first is read straight into the parser's buffer.
        if (!parser.feed(text, false))
            return refused();
        bool last = false;
        while (!last) {
            char* const buffer = parser.buffer(pieceSize);
            if (!buffer)
                return refused();
            const qint64 got = source.read(buffer);
            if (got < 0)
                return sourceEnded(source);
            // A file gives less than asked only at its end.
            last = got < pieceSize;
            if (!parser.parseBuffer(got, last))
                return refused();
        }
        content = parser.finish();
        return content ? Outcome::Ok : refused();
    }
    // Two buffers in turn, each read into again: a piece taken anew from the system each time costs
    // as much as its parse.
    QByteArray following;
    for (;;) {
        const bool more = source.next(following);
        if (source.ended())
            return sourceEnded(source);
        const std::optional<QByteArrayView> utf8 = decoder.decode(text, !more);
        if (!utf8) {
            why = QStringLiteral("le texte ne se lit pas dans l'encodage que le fichier déclare");
            return Outcome::Refused;
        }
        if (!parser.feed(*utf8, !more))
            return refused();
        if (!more)
            break;
        piece.swap(following);
        text = piece;
    }
    content = parser.finish();
    return content ? Outcome::Ok : refused();
}

Outcome parseSource(Source& source, corpusbuilder::BatchLimit limit, corpusstore::Draft* draft,
                    std::optional<CorpusContent>& content, QString& why)
{
    const Outcome first = parseWith(source, limit, draft, false, content, why);
    if (first != Outcome::Refused)
        return first;
    // Text meant as UTF-8 may hold bytes of an 8-bit encoding: read them as Windows-1252 and try
    // again. For text that was valid UTF-8 this gives the same refusal.
    if (!source.rewind())
        return Outcome::ReadError;
    QByteArray head;
    if (!source.next(head) || !xmldecoder::StreamDecoder(head).meantAsUtf8() || !source.rewind())
        return source.ended() ? sourceEnded(source) : Outcome::Refused;
    return parseWith(source, limit, draft, true, content, why);
}

Result readSource(Source& source, corpusbuilder::BatchLimit limit, corpusstore::Draft* draft = nullptr)
{
    Result result;
    switch (parseSource(source, limit, draft, result.content, result.why)) {
    case Outcome::Ok:
        result.status = Status::Ok;
        break;
    case Outcome::Refused:
        result.status = Status::Malformed;
        break;
    case Outcome::ReadError:
        result.status = Status::Unreadable;
        result.why = QStringLiteral("erreur de lecture du disque");
        break;
    case Outcome::Stopped:
        result.status = Status::Stopped;
        break;
    }
    if (result.status == Status::Ok || result.status == Status::Stopped)
        result.why.clear();
    return result;
}

Result readFile(const QString& path, corpusbuilder::BatchLimit limit, const Progress& progress,
                corpusstore::Draft* draft)
{
    Result result;
    // Only a regular file is read: a directory, a device or a pipe is refused before anything is
    // read, and nothing can block.
    QFile file;
    switch (regularfile::open(path, file)) {
    case regularfile::Status::Ok:
        break;
    case regularfile::Status::Missing:
        result.status = Status::Missing;
        result.why = QStringLiteral("aucun fichier de ce nom");
        return result;
    case regularfile::Status::Unreadable:
    case regularfile::Status::TooLarge: {
        result.status = Status::Unreadable;
        const QFileInfo info(path);
        result.why = info.isDir()                      ? QStringLiteral("c'est un dossier")
                     : info.exists() && !info.isFile() ? QStringLiteral("ce n'est pas un fichier ordinaire")
                                                       : QStringLiteral("lecture non permise");
        return result;
    }
    }

    Source source(file, &progress);
    return readSource(source, limit, draft);
}

} // namespace

std::optional<CorpusContent> parse(QByteArray bytes, corpusbuilder::BatchLimit limit)
{
    try {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        Source source(buffer);
        return readSource(source, limit).content;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

Result read(const QString& path, corpusbuilder::BatchLimit limit, const Progress& progress, corpusstore::Draft* draft)
{
#if defined(__GLIBC__)
    // What an earlier corpus left free goes back to the system first: its texts, freed in between
    // blocks still in use, would otherwise be reused only in part, and the two loads add up.
    malloc_trim(0);
#endif
    try {
        return readFile(path, limit, progress, draft);
    } catch (const std::bad_alloc&) {
        return {Status::OutOfMemory, std::nullopt, QStringLiteral("la mémoire libre ne suffit pas")};
    }
}

} // namespace corpusfile

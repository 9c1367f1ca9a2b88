#include "corpusfile.h"

#include "corpusbuilder.h"
#include "regularfile.h"
#include "xmldecoder.h"

#include <QFile>
#include <functional>

namespace corpusfile {
namespace {

// Gives the bytes piece by piece: false at the end or on a read error; rewinds to read again.
struct Source
{
    std::function<bool(QByteArray& piece)> next;
    std::function<bool()> rewind;
    bool failed = false;
};

enum class Outcome
{
    Ok,
    Refused,
    ReadError,
};

Outcome parseWith(Source& source, bool mixed, std::optional<CorpusContent>& content)
{
    QByteArray piece;
    if (!source.next(piece))
        return source.failed ? Outcome::ReadError : Outcome::Refused;
    xmldecoder::StreamDecoder decoder(piece);
    decoder.setMixed(mixed);
    corpusbuilder::StreamParser parser;
    QByteArrayView text = QByteArrayView(piece).sliced(decoder.textStart());
    for (;;) {
        QByteArray following;
        const bool more = source.next(following);
        if (source.failed)
            return Outcome::ReadError;
        const std::optional<QByteArray> utf8 = decoder.decode(text, !more);
        if (!utf8 || !parser.feed(*utf8, !more))
            return Outcome::Refused;
        if (!more)
            break;
        piece = std::move(following);
        text = piece;
    }
    content = parser.finish();
    return content ? Outcome::Ok : Outcome::Refused;
}

Outcome parseSource(Source& source, std::optional<CorpusContent>& content)
{
    const Outcome first = parseWith(source, false, content);
    if (first != Outcome::Refused)
        return first;
    // Text meant as UTF-8 may hold bytes of an 8-bit encoding: read them as Windows-1252 and try
    // again. For text that was valid UTF-8 this gives the same refusal.
    if (!source.rewind())
        return Outcome::ReadError;
    QByteArray head;
    if (!source.next(head) || !xmldecoder::StreamDecoder(head).meantAsUtf8() || !source.rewind())
        return source.failed ? Outcome::ReadError : Outcome::Refused;
    return parseWith(source, true, content);
}

} // namespace

std::optional<CorpusContent> parse(QByteArray bytes)
{
    qsizetype at = 0;
    bool started = false;
    Source source;
    source.next = [&bytes, &at, &started](QByteArray& piece) {
        const bool first = !started;
        started = true;
        piece = bytes.mid(at, pieceSize);
        at += piece.size();
        return !piece.isEmpty() || first;
    };
    source.rewind = [&at, &started] {
        at = 0;
        started = false;
        return true;
    };
    std::optional<CorpusContent> content;
    parseSource(source, content);
    return content;
}

Result read(const QString& path)
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
        return result;
    case regularfile::Status::Unreadable:
    case regularfile::Status::TooLarge:
        result.status = Status::Unreadable;
        return result;
    }

    Source source;
    bool started = false;
    source.next = [&file, &source, &started](QByteArray& piece) {
        piece = file.read(pieceSize);
        if (file.error() != QFileDevice::NoError) {
            source.failed = true;
            return false;
        }
        // The first piece is given even when empty, so that an empty file is seen and refused.
        const bool first = !started;
        started = true;
        return !piece.isEmpty() || first;
    };
    source.rewind = [&file, &started] {
        started = false;
        return file.seek(0);
    };
    switch (parseSource(source, result.content)) {
    case Outcome::Ok:
        result.status = Status::Ok;
        break;
    case Outcome::Refused:
        result.status = Status::Malformed;
        break;
    case Outcome::ReadError:
        result.status = Status::Unreadable;
        break;
    }
    return result;
}

} // namespace corpusfile

#pragma once

#include <QByteArrayView>
#include <QChar>
#include <QString>

namespace utf8text {

// The character of the valid UTF-8 sequence of two to four bytes at `p`, and its length; length 0
// when the bytes there are not one.
struct Sequence
{
    char32_t code = 0;
    int length = 0;
};
Sequence sequenceAt(const unsigned char* p, const unsigned char* end);

// The text of UTF-8 bytes, every character kept: QString::fromUtf8 drops a leading U+FEFF as a
// byte-order mark, but inside a document it is a character like any other.
QString decode(QByteArrayView utf8);

// Writes the text of UTF-8 bytes at `out`, as decode() gives it, and returns where it ends. It may
// write anywhere in [out, out + utf8.size()), so that much room is needed. Made for the parser's
// text, which is mostly ASCII: blocks of ASCII are widened at once.
QChar* decodeInto(QChar* out, QByteArrayView utf8);

// The same for bytes cut in pieces, in one pass over them all: `cuts` are ascending byte positions,
// none inside a character, and [i] of `units` becomes where the text from cut i on starts. Null
// when the bytes are not all valid UTF-8: then nothing written is meant to be used.
QChar* decodeCut(QChar* out, QByteArrayView utf8, const quint32* cuts, size_t cutCount, quint32* units);

} // namespace utf8text

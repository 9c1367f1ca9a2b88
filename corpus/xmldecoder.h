#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Turns the bytes of an XML file into UTF-8 the way XML readers do: a byte-order mark first,
// else the encoding named in the XML declaration, else UTF-8. Text meant as UTF-8 that is not
// is read byte by byte as Windows-1252 where it is not; any other encoding must decode cleanly.
namespace xmldecoder {

// The file's text as UTF-8 without a byte-order mark; nothing when the encoding is unknown, the
// bytes are invalid in it, or the text holds a NUL character, which no XML document can.
std::optional<QByteArray> toUtf8(QByteArray bytes);

// Whether the bytes are meant as UTF-8 (a UTF-8 byte-order mark, a UTF-8 declaration, or neither a
// declaration nor another mark), and where their text starts.
bool meantAsUtf8(const QByteArray& bytes, qsizetype* textStart);

// UTF-8 where the bytes are; each byte that belongs to no UTF-8 sequence is read as Windows-1252.
QByteArray mixedToUtf8(QByteArrayView bytes);

// The encoding name of the XML declaration at the start of ASCII-compatible bytes, or empty.
QByteArray declaredEncoding(const QByteArray& bytes);

bool isValidUtf8(const char* data, qsizetype size);

} // namespace xmldecoder

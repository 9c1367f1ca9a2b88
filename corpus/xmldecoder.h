#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Turns the bytes of an XML file into UTF-8 the way XML readers do: a byte-order mark first,
// else the encoding named in the XML declaration, else UTF-8; bytes without a declaration that
// are not valid UTF-8 are taken as Latin-1.
namespace xmldecoder {

// The file's text as UTF-8 without a byte-order mark; nothing when the encoding is unknown or
// the text holds a NUL character, which no XML document can.
std::optional<QByteArray> toUtf8(QByteArray bytes);

// The encoding name of the XML declaration at the start of ASCII-compatible bytes, or empty.
QByteArray declaredEncoding(const QByteArray& bytes);

bool isValidUtf8(const char* data, qsizetype size);

} // namespace xmldecoder

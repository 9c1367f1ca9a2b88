#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

namespace utf8text {

// The text of UTF-8 bytes, every character kept: QString::fromUtf8 drops a leading U+FEFF as a
// byte-order mark, but inside a document it is a character like any other.
inline QString decode(QByteArrayView utf8)
{
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(utf8);
}

} // namespace utf8text

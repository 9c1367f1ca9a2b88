#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// File names as the system keeps them: bytes, most often UTF-8 but not always (a name copied from
// an older Latin-1 system). A name that is not UTF-8 keeps each stray byte as a lone surrogate
// (U+DC80 to U+DCFF, which no UTF-8 text holds), so that it goes back to the very same bytes.
namespace nativename {

QString decode(const QByteArray& bytes);
QByteArray encode(QStringView name);

// The name as it can be shown: each stray byte as U+FFFD.
QString shown(QStringView name);

// A name as the toolkit's dialogs give it, where each stray byte became U+FFFD: the one existing
// name it stands for, folder by folder; the name unchanged when it exists, holds no U+FFFD or
// stands for no single name.
QString resolve(const QString& name);

} // namespace nativename

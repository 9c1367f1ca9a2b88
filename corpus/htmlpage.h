#pragma once

#include <QString>

// The pages of the working directory shown as rich text: the welcome, help and about pages.
namespace htmlpage {

// The whole file, decoded by its byte-order mark or charset, UTF-8 by default; its line breaks
// stay as they are. Empty when it is missing, no regular file, or larger than 16 MB.
QString read(const QString& fileName);

} // namespace htmlpage

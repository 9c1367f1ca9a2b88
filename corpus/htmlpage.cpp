#include "corpus/htmlpage.h"

#include "corpus/regularfile.h"

#include <QStringDecoder>

namespace htmlpage {

QString read(const QString& fileName)
{
    // Only a regular file of reasonable size: a device or a pipe of that name must not hang the window.
    const regularfile::Result file = regularfile::read(fileName, 16 << 20);
    if (file.status != regularfile::Status::Ok)
        return {};
    const auto encoding = QStringConverter::encodingForHtml(file.bytes);
    QStringDecoder decoder(encoding.value_or(QStringConverter::Utf8));
    return decoder.decode(file.bytes);
}

} // namespace htmlpage

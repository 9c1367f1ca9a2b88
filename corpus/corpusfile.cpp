#include "corpusfile.h"

#include "corpusbuilder.h"
#include "xmldecoder.h"

#include <QFile>
#include <QFileInfo>

namespace corpusfile {

std::optional<CorpusContent> parse(QByteArray bytes)
{
    qsizetype start = 0;
    if (xmldecoder::meantAsUtf8(bytes, &start)) {
        // The parser checks UTF-8 as it goes: the text is looked at again only when it was refused.
        const QByteArrayView text = QByteArrayView(bytes).sliced(start);
        if (std::optional<CorpusContent> content = corpusbuilder::build(text))
            return content;
        if (xmldecoder::isValidUtf8(text.data(), text.size()))
            return std::nullopt;
        return corpusbuilder::build(xmldecoder::mixedToUtf8(text));
    }
    const std::optional<QByteArray> utf8 = xmldecoder::toUtf8(std::move(bytes));
    if (!utf8)
        return std::nullopt;
    return corpusbuilder::build(*utf8);
}

Result read(const QString& path)
{
    Result result;
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) {
        result.status = Status::Missing;
        return result;
    }
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        result.status = Status::Unreadable;
        return result;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.status = Status::Unreadable;
        return result;
    }
    file.close();
    result.content = parse(std::move(bytes));
    result.status = result.content ? Status::Ok : Status::Malformed;
    return result;
}

} // namespace corpusfile

#pragma once

#include "corpuscontent.h"

#include <QByteArray>
#include <memory>
#include <optional>

// Reads a corpus with a conforming XML 1.0 parser, in one pass, straight into articles, titles and
// the element index: every element child of the document element is an article.
namespace corpusbuilder {

// Takes a document's UTF-8 text piece by piece, as it is read, so the whole file is never held.
class StreamParser
{
public:
    StreamParser();
    ~StreamParser();
    StreamParser(const StreamParser&) = delete;
    StreamParser& operator=(const StreamParser&) = delete;

    // False once the text is known not to be one well-formed document.
    bool feed(QByteArrayView utf8, bool last);
    // After the last piece: the content, or nothing when the document was refused.
    std::optional<CorpusContent> finish();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// Nothing when the UTF-8 text is not one well-formed document. Entities declared in the document
// are expanded (within a bound on the total expansion); nothing outside the text is ever read.
std::optional<CorpusContent> build(QByteArrayView utf8);

} // namespace corpusbuilder

#pragma once

#include "corpuscontent.h"

#include <QByteArray>
#include <optional>

// Reads a corpus with a conforming XML 1.0 parser, in one pass, straight into articles, titles and
// the element index: every element child of the document element is an article.
namespace corpusbuilder {

// Nothing when the UTF-8 text is not one well-formed document. Entities declared in the document
// are expanded (within a bound on the total expansion); nothing outside the text is ever read.
std::optional<CorpusContent> build(QByteArrayView utf8);

} // namespace corpusbuilder

#pragma once

#include "corpus/corpuscontent.h"
#include "corpus/corpusstore.h"

#include <QByteArray>
#include <QtGlobal>
#include <memory>
#include <optional>

// Reads a corpus with a conforming XML 1.0 parser, in one pass, straight into articles, titles and
// the element index: every element child of the document element is an article.
namespace corpusbuilder {

// How much the parser gathers before it hands articles to the second thread: a batch goes once an
// article takes it to either bound. Articles are never split between batches.
struct BatchLimit
{
    quint32 bytes = 1u << 20; // text, names and attribute values, as UTF-8
    quint32 nodes = 1u << 16; // articles and elements
    // Whether the load counts what the roles of the element names are guessed from; off only to
    // measure what the counting costs.
    bool countRoles = true;
};

// Takes a document's UTF-8 text piece by piece, as it is read, so the whole file is never held.
// Entities declared in the document are expanded (within a bound on the total expansion); nothing
// outside the text is ever read.
class StreamParser
{
public:
    // `expectedBytes`, the size of the file when known, sizes the tables once. The articles' texts
    // go into `draft`, when given, as they are made (see corpusstore::Draft).
    explicit StreamParser(BatchLimit limit = {}, qint64 expectedBytes = 0, corpusstore::Draft* draft = nullptr);
    ~StreamParser();
    StreamParser(const StreamParser&) = delete;
    StreamParser& operator=(const StreamParser&) = delete;

    // False once the text is known not to be one well-formed document. Both throw std::bad_alloc,
    // on this thread, when memory ran out in the parser, in its callbacks or on the second thread.
    bool feed(QByteArrayView utf8, bool last);
    // The same without a copy: room for `size` bytes in the parser's own buffer (null once the text
    // was refused), then the parse of the `length` bytes written there.
    char* buffer(qsizetype size);
    bool parseBuffer(qsizetype length, bool last);
    // After the last piece: the content, or nothing when the document was refused.
    std::optional<CorpusContent> finish();
    // Once refused: where the parser stopped, "ligne 3, colonne 7 : …", and what it met there, in
    // French; empty while it has not refused anything.
    QString refusal() const;

private:
    // Whether the parser took the text; throws when it, or a callback, ran out of memory.
    bool parsed(int status);

    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace corpusbuilder

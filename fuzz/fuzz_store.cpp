// Any bytes as a corpus's store: refused, or taken whole, never a crash nor a read out of bounds.
// Every part of what is taken is then walked as the program walks it. (Built for fuzzing, the store's
// checksums are not compared: every other check is what the fuzzer tries.)
#include "corpus/corpusstore.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// The corpus and its identity the seeds (fuzz/store-seeds) were written with.
const corpusstore::Identity seedIdentity{1000, 1700000000000000000, 1700000000000000000, 42, 7};

void check(bool holds)
{
    if (!holds)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<CorpusContent> content =
        corpusstore::fromBytes(bytes, QStringLiteral("/fuzz/corpus.xml"), seedIdentity);
    if (!content)
        return 0;
    const ElementIndex& index = content->elements;
    check(index.articleCount() == static_cast<int>(content->articles.size()));
    quint64 sum = 0;
    for (const ArticleEntry& article : content->articles) {
        for (const QChar c : article.title)
            sum += c.unicode();
        if (!article.text.isEmpty())
            sum += article.text.front().unicode() + article.text.back().unicode();
        for (const quint32 edge : article.edges)
            check(edge <= quint32(article.text.size()));
        const ElementIndex::Article elements = index.article(article.number);
        for (const ElementIndex::Element* e = elements.begin; e != elements.end; ++e) {
            const qsizetype at = e - elements.begin;
            sum += static_cast<quint64>(index.name(elements.names[at]).size());
            const ElementIndex::TextRange range = elements.texts[at];
            sum += static_cast<quint64>(QStringView(article.text).mid(range.start, range.end - range.start).size());
            for (quint32 v = 0; v < e->valueCount; ++v) {
                sum += static_cast<quint64>(index.value(index.values(*e)[v]).size());
                sum += static_cast<quint64>(index.attributeName(index.attributes(*e)[v]).size());
            }
        }
    }
    // Without its checksums, a table may miss a text; what it finds is that text.
    for (const QString& name : index.names()) {
        const quint32 id = index.nameId(name);
        check(id == ElementIndex::none || index.name(id) == name);
    }
    for (const QString& value : index.allValues()) {
        const quint32 id = index.valueId(value);
        check(id == ElementIndex::none || index.value(id) == value);
    }
    for (quint32 n = 0; n < index.nameCount(); ++n)
        sum += content->roles.startsLine(n) ? 1 : 0;
    // Kept, so that the reads above are made.
    static volatile quint64 sink;
    sink = sum;
    return 0;
}

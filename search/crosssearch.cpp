#include "search/crosssearch.h"

#include "corpus/frenchorder.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

struct Criterion
{
    QString text;
    quint32 hash = 0; // as an element's text would have it
    bool any = false;
    quint32 name = ElementIndex::none;
    quint32 value = ElementIndex::none;
};

std::u16string_view units(QStringView text)
{
    return {text.utf16(), static_cast<size_t>(text.size())};
}

// The element's text as the search sees it: cut, and empty when it is only whitespace.
QStringView elementText(const QString& articleText, const ElementIndex::Article& article,
                        const ElementIndex::Element* element)
{
    if (element->hash == 0)
        return {};
    const ElementIndex::TextRange text = article.texts[element - article.begin];
    return QStringView(articleText)
        .mid(text.start, std::min<qsizetype>(text.end - text.start, ElementIndex::textLimit));
}

bool hasElementNamed(const ElementIndex::Article& article, quint32 name)
{
    const quint32* const end = article.names + (article.end - article.begin);
    return std::find(article.names, end, name) != end;
}

// The hash of every unit of a text, eight bytes a step.
quint32 wholeHash(QStringView text)
{
    const char16_t* units = text.utf16();
    const qsizetype n = text.size();
    quint64 h = static_cast<quint64>(n) * 0x9E3779B97F4A7C15ull;
    qsizetype i = 0;
    for (; i + 4 <= n; i += 4) {
        quint64 k;
        std::memcpy(&k, units + i, sizeof k);
        h = (h ^ k) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 32;
    }
    for (; i < n; ++i)
        h = (h ^ units[i]) * 0x100000001B3ull;
    h = (h ^ (h >> 29)) * 0xBF58476D1CE4E5B9ull;
    return static_cast<quint32>(h ^ (h >> 32));
}

struct Slot
{
    quint32 hash = 0;
    quint32 index = 0; // 1 + position in the entries; 0: free
};

// Open addressing on 32-bit hashes, 8 bytes a slot, so that it stays in the cache.
class SlotTable
{
public:
    // The slot of `hash` for which `same` holds, or the free slot where such a slot would go; valid
    // until the next call.
    template <typename Same> Slot& find(quint32 hash, const Same& same)
    {
        if ((m_used + 1) * 2 > m_slots.size())
            grow();
        const size_t mask = m_slots.size() - 1;
        for (size_t i = spread(hash) & mask;; i = (i + 1) & mask) {
            Slot& slot = m_slots[i];
            if (slot.index == 0 || (slot.hash == hash && same(slot)))
                return slot;
        }
    }

    void fill(Slot& slot, quint32 hash, quint32 index)
    {
        slot = {hash, index};
        ++m_used;
    }

private:
    static size_t spread(quint32 hash) { return size_t(hash) * 0x9E3779B97F4A7C15ull >> 20; }

    void grow()
    {
        std::vector<Slot> table(std::max<size_t>(4096, m_slots.size() * 2));
        const size_t mask = table.size() - 1;
        for (const Slot& slot : m_slots) {
            if (slot.index == 0)
                continue;
            size_t i = spread(slot.hash) & mask;
            while (table[i].index != 0)
                i = (i + 1) & mask;
            table[i] = slot;
        }
        m_slots.swap(table);
    }

    std::vector<Slot> m_slots;
    size_t m_used = 0;
};

// The distinct texts offered to the next box, as views into the article texts and the index's
// values. Tens of thousands come in per choice, often the same long text many times, and they lie
// all over the corpus: their signatures, made at load, tell them apart and order them, and a text
// is read again only to confirm a duplicate or to break a tie of its first letters. A
// signature's hash covers only the ends of a long text, so texts that differ only in their middle
// share it: once two distinct texts meet on one signature, the texts of that signature are told
// apart by hashes of their whole text instead, so that none of them piles up in one probe chain.
class TextSet
{
public:
    void insert(QStringView text, const ElementIndex::Signature& signature)
    {
        Slot& first = m_bySignature.find(signature.hash, [](const Slot&) { return true; });
        if (first.index == 0) {
            m_texts.push_back({signature, text});
            m_bySignature.fill(first, signature.hash, count());
            return;
        }
        if ((first.index & shared) == 0) {
            const quint32 known = first.index;
            if (units(m_texts[known - 1].text) == units(text))
                return;
            first.index |= shared;
            const QStringView knownText = m_texts[known - 1].text;
            const quint32 knownHash = wholeHash(knownText);
            m_byText.fill(m_byText.find(knownHash, [](const Slot&) { return false; }), knownHash, known);
        }
        const quint32 hash = wholeHash(text);
        Slot& slot =
            m_byText.find(hash, [&](const Slot& s) { return units(m_texts[s.index - 1].text) == units(text); });
        if (slot.index == 0) {
            m_texts.push_back({signature, text});
            m_byText.fill(slot, hash, count());
        }
    }

    // In the reader's order (FrenchOrder). The texts lie all over the corpus: the first units that
    // their signatures hold place most of them, and a text is read only as far as it ties.
    std::vector<QStringView> sorted() const
    {
        std::vector<FrenchOrder::Item> items;
        items.reserve(m_texts.size());
        for (const Entry& entry : m_texts)
            items.push_back({entry.text, entry.signature.prefix, 0});
        FrenchOrder().sort(items);
        std::vector<QStringView> texts;
        texts.reserve(items.size());
        for (const FrenchOrder::Item& item : items)
            texts.push_back(item.text);
        return texts;
    }

private:
    struct Entry
    {
        ElementIndex::Signature signature;
        QStringView text;
    };

    // Marks the slot of a signature met by distinct texts.
    static constexpr quint32 shared = 0x80000000u;

    quint32 count() const { return static_cast<quint32>(m_texts.size()); }

    SlotTable m_bySignature;
    SlotTable m_byText;
    std::vector<Entry> m_texts;
};

class Collector
{
public:
    Collector(const ElementIndex& index, const CrossFill& fill)
        : m_index(index), m_name(index.nameId(fill.element)), m_hasValue(!fill.value.isEmpty()),
          m_value(m_hasValue ? index.valueId(fill.value) : ElementIndex::none)
    {
    }

    void collect(const ElementIndex::Article& article, const QString& articleText)
    {
        if (m_name == ElementIndex::none || (m_hasValue && m_value == ElementIndex::none))
            return;
        for (const ElementIndex::Element* x = article.begin; x != article.end; ++x) {
            if (article.names[x - article.begin] != m_name)
                continue;
            const quint32* values = m_index.values(*x);
            if (!m_hasValue && x->valueCount == 0) {
                takeText(articleText, article, x);
            } else if (!m_hasValue) {
                for (quint32 i = 0; i < x->valueCount; ++i)
                    takeValue(values[i]);
            } else if (std::find(values, values + x->valueCount, m_value) != values + x->valueCount) {
                takeText(articleText, article, x);
            }
        }
    }

    std::vector<QStringView> values() { return m_taken.sorted(); }

private:
    void takeText(const QString& articleText, const ElementIndex::Article& article,
                  const ElementIndex::Element* element)
    {
        if (element->hash != 0) {
            m_taken.insert(elementText(articleText, article, element),
                           ElementIndex::Signature{element->hash, element->prefix});
        }
    }

    void takeValue(quint32 value)
    {
        const QString& text = m_index.value(value);
        if (!text.isEmpty())
            m_taken.insert(text, ElementIndex::signature(text));
    }

    const ElementIndex& m_index;
    const quint32 m_name;
    const bool m_hasValue;
    const quint32 m_value;
    // Views into the article texts and the index's values, which outlive the search.
    TextSet m_taken;
};

} // namespace

CrossSearchOutcome crossSearch(const CorpusDocument& corpus, const QStringList& criteria,
                               const std::optional<CrossFill>& fill, const CrossProgress& progress)
{
    const ElementIndex& index = corpus.elementIndex();
    std::vector<Criterion> tests;
    for (const QString& text : criteria) {
        Criterion c;
        c.text = text;
        c.any = text == CorpusDocument::anyValue;
        c.hash = ElementIndex::signature(text).hash;
        if (!c.any && !text.isEmpty()) {
            c.name = index.nameId(text);
            c.value = index.valueId(text);
        }
        tests.push_back(std::move(c));
    }

    CrossSearchOutcome outcome;
    outcome.content = corpus.content();
    SearchResult& result = outcome.result;
    result.keep(corpus.content());
    result.setCaseSensitive(true);
    std::optional<Collector> collector;
    if (fill)
        collector.emplace(index, *fill);

    const std::vector<ArticleEntry>& articles = corpus.articles();
    const int total = static_cast<int>(articles.size());
    if (progress && !progress(0, total)) {
        outcome.stopped = true;
        return outcome;
    }
    for (int n = 0; n < total; ++n) {
        if (progress && !progress(n + 1, total)) {
            outcome.stopped = true;
            return outcome;
        }
        const ArticleEntry& entry = articles[static_cast<size_t>(n)];
        const ElementIndex::Article article = index.article(n);
        // A text not as its store wrote it passes nothing: the window reads the file again.
        bool pass = outcome.content->textHolds(n);
        quint32 current = ElementIndex::none;
        for (const Criterion& c : tests) {
            if (!pass)
                break;
            pass = false;
            if (c.any) {
                pass = true;
            } else if (c.name != ElementIndex::none && hasElementNamed(article, c.name)) {
                current = c.name;
                pass = true;
            } else if (c.text.isEmpty() && article.hasChildNode) {
                current = ElementIndex::none;
                pass = true;
            } else if (current != ElementIndex::none) {
                // Every element of the current name is visited, even after a match: each text match counts.
                for (const ElementIndex::Element* x = article.begin; x != article.end; ++x) {
                    if (article.names[x - article.begin] != current)
                        continue;
                    const quint32* values = index.values(*x);
                    if (c.value != ElementIndex::none &&
                        std::find(values, values + x->valueCount, c.value) != values + x->valueCount)
                        pass = true;
                    if (x->hash == c.hash && elementText(entry.text, article, x) == c.text) {
                        pass = true;
                        result.addMatchedValue(c.text);
                        result.setMode(SearchMode::Cross);
                    }
                }
            }
        }
        if (pass) {
            result.addHit(entry);
            if (collector)
                collector->collect(article, entry.text);
        }
    }
    if (collector)
        outcome.values = collector->values();
    result.describeCriteria(criteria);
    return outcome;
}

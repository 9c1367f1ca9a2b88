#include "crosssearch.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

struct Criterion
{
    QString text;
    bool any = false;
    quint32 name = ElementIndex::none;
    quint32 value = ElementIndex::none;
};

std::u16string_view units(QStringView text)
{
    return {text.utf16(), static_cast<size_t>(text.size())};
}

bool isXmlSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// The element's text as the search sees it: cut, and empty when it is only whitespace.
QStringView elementText(const QString& articleText, const ElementIndex::Element& element)
{
    const QStringView text =
        QStringView(articleText)
            .mid(element.textStart, std::min<qsizetype>(element.textEnd - element.textStart, crossTextLimit));
    return std::all_of(text.begin(), text.end(), isXmlSpace) ? QStringView() : text;
}

bool hasElementNamed(const ElementIndex::Article& article, quint32 name)
{
    return std::any_of(article.begin, article.end, [name](const ElementIndex::Element& e) { return e.name == name; });
}

// The distinct texts offered to the next box, as views into the article texts and the index's
// values. Tens of thousands come in per choice, often the same long text many times. Each text is
// hashed by its length and its first and last characters, so that long texts are told apart without
// being read in full; texts with equal hashes are then compared in full. The open-addressing table
// keeps 8 bytes a slot, so that it stays in the cache.
class TextSet
{
public:
    void insert(QStringView text)
    {
        if ((m_texts.size() + 1) * 2 > m_slots.size())
            grow();
        const quint64 hash = hashOf(text);
        const auto tag = static_cast<quint32>(hash >> 32);
        const size_t mask = m_slots.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot& slot = m_slots[i];
            if (slot.index == 0) {
                m_texts.push_back(text);
                m_hashes.push_back(hash);
                m_keys.push_back(prefixKey(text));
                slot = {tag, static_cast<quint32>(m_texts.size())};
                return;
            }
            if (slot.tag == tag && units(m_texts[slot.index - 1]) == units(text))
                return;
        }
    }

    // The texts in ascending order of UTF-16 code units. They lie all over the corpus: each is first
    // ordered by its first four units, read while it was in the cache, and compared in full only on ties.
    std::vector<QStringView> sorted()
    {
        struct Keyed
        {
            quint64 key;
            QStringView text;
        };
        std::vector<Keyed> keyed;
        keyed.reserve(m_texts.size());
        for (const QStringView text : m_texts)
            keyed.push_back({m_keys[keyed.size()], text});
        std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
            return a.key != b.key ? a.key < b.key : units(a.text) < units(b.text);
        });
        std::vector<QStringView> texts;
        texts.reserve(keyed.size());
        for (const Keyed& k : keyed)
            texts.push_back(k.text);
        return texts;
    }

private:
    struct Slot
    {
        quint32 tag = 0;
        quint32 index = 0; // 1 + position in m_texts; 0: free
    };

    // The first four units, so that keys order as the texts do: a shorter text has zeros after its end,
    // and ties (a unit 0, or equal first units) are broken by the full comparison.
    static quint64 prefixKey(QStringView text)
    {
        quint64 key = 0;
        for (qsizetype i = 0; i < 4; ++i)
            key = (key << 16) | (i < text.size() ? text[i].unicode() : 0u);
        return key;
    }

    static quint64 hashOf(QStringView text)
    {
        const qsizetype n = text.size();
        quint64 h = static_cast<quint64>(n) * 0x9E3779B97F4A7C15ull;
        const auto mix = [&h](QStringView part) {
            for (const QChar c : part)
                h = (h ^ c.unicode()) * 0x100000001B3ull;
        };
        if (n <= 64) {
            mix(text);
        } else {
            mix(text.first(32));
            mix(text.last(32));
        }
        return h ^ (h >> 29);
    }

    void grow()
    {
        std::vector<Slot> table(std::max<size_t>(4096, m_slots.size() * 2));
        const size_t mask = table.size() - 1;
        for (quint32 index = 1; index <= m_texts.size(); ++index) {
            const quint64 hash = m_hashes[index - 1];
            size_t i = hash & mask;
            while (table[i].index != 0)
                i = (i + 1) & mask;
            table[i] = {static_cast<quint32>(hash >> 32), index};
        }
        m_slots.swap(table);
    }

    std::vector<Slot> m_slots;
    std::vector<QStringView> m_texts;
    std::vector<quint64> m_hashes;
    std::vector<quint64> m_keys;
};

class Collector
{
public:
    Collector(const ElementIndex& index, const CrossFill& fill)
        : m_index(index), m_name(index.nameId(fill.element)), m_hasValue(!fill.value.isEmpty()),
          m_value(m_hasValue ? index.valueId(fill.value) : ElementIndex::none)
    {
    }

    // The texts lie far apart in memory: they are asked for an article ahead of their reading.
    void prefetch(const ElementIndex::Article& article, const QString& articleText) const
    {
        for (const ElementIndex::Element* x = article.begin; x != article.end; ++x) {
            if (x->name == m_name)
                __builtin_prefetch(articleText.constData() + x->textStart);
        }
    }

    void collect(const ElementIndex::Article& article, const QString& articleText)
    {
        if (m_name == ElementIndex::none || (m_hasValue && m_value == ElementIndex::none))
            return;
        for (const ElementIndex::Element* x = article.begin; x != article.end; ++x) {
            if (x->name != m_name)
                continue;
            const quint32* values = m_index.values(*x);
            if (!m_hasValue && x->valueCount == 0) {
                take(elementText(articleText, *x));
            } else if (!m_hasValue) {
                for (quint32 i = 0; i < x->valueCount; ++i)
                    take(m_index.value(values[i]));
            } else if (std::find(values, values + x->valueCount, m_value) != values + x->valueCount) {
                take(elementText(articleText, *x));
            }
        }
    }

    std::vector<QStringView> values() { return m_taken.sorted(); }

private:
    void take(QStringView value)
    {
        // Each text once before sorting: the same long text may stand in thousands of articles.
        if (!value.isEmpty())
            m_taken.insert(value);
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
        if (!c.any && !text.isEmpty()) {
            c.name = index.nameId(text);
            c.value = index.valueId(text);
        }
        tests.push_back(std::move(c));
    }

    CrossSearchOutcome outcome;
    SearchResult& result = outcome.result;
    result.setCaseSensitive(true);
    std::optional<Collector> collector;
    if (fill)
        collector.emplace(index, *fill);

    const std::vector<ArticleEntry>& articles = corpus.articles();
    const int total = static_cast<int>(articles.size());
    if (progress)
        progress(0, total);
    for (int n = 0; n < total; ++n) {
        if (progress)
            progress(n + 1, total);
        const ArticleEntry& entry = articles[static_cast<size_t>(n)];
        const ElementIndex::Article article = index.article(n);
        if (collector && n + 1 < total)
            collector->prefetch(index.article(n + 1), articles[static_cast<size_t>(n) + 1].text);
        bool pass = true;
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
                    if (x->name != current)
                        continue;
                    const quint32* values = index.values(*x);
                    if (c.value != ElementIndex::none &&
                        std::find(values, values + x->valueCount, c.value) != values + x->valueCount)
                        pass = true;
                    if (elementText(entry.text, *x) == c.text) {
                        pass = true;
                        result.addMatchedValue(c.text);
                        result.setMode(searchmode::cross);
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

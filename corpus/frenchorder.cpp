#include "corpus/frenchorder.h"

#include <QLocale>
#include <QString>
#include <algorithm>
#include <limits>
#include <utility>

namespace {

QCollator frenchCollator()
{
    QCollator collator{QLocale(QLocale::French)};
    collator.setCaseSensitivity(Qt::CaseSensitive);
    collator.setNumericMode(false);
    collator.setIgnorePunctuation(false);
    return collator;
}

// Questions about the collator's primary weights (the letters without accents or case), which it
// compares first, answered by comparing texts followed by a letter.
class WeightProbe
{
public:
    WeightProbe() : m_collator(frenchCollator()) {}

    int compare(const QString& x, const QString& y) const { return m_collator.compare(x, y); }

    // x and y have the same weights: x followed by a higher letter comes after y followed by a lower
    // one, both ways round. One pair of letters is fooled by a text whose last weight lies between
    // them; two pairs are not.
    bool same(const QString& x, const QString& y) const
    {
        for (const auto& [low, high] : {std::pair(u'a', u'b'), std::pair(u'c', u'd')}) {
            if (compare(x + QChar(high), y + QChar(low)) <= 0 || compare(y + QChar(high), x + QChar(low)) <= 0)
                return false;
        }
        return true;
    }

    // For texts of one weight each: x's comes first.
    bool before(const QString& x, const QString& y) const
    {
        return compare(x + QLatin1Char('b'), y + QLatin1Char('a')) < 0;
    }

private:
    QCollator m_collator;
};

// For the units whose weights were worked out, their place in the order of the weights: 0 when the
// collator passes over the unit, two ranks (the second in the high half) for a letter it reads as
// two ("œ" as "oe"), `unknown` for the others, which only the collator compares.
class PrimaryRanks
{
public:
    static constexpr quint32 unknown = 0xFFFFFFFF;

    PrimaryRanks();
    quint32 operator[](char16_t unit) const { return unit < m_ranks.size() ? m_ranks[unit] : unknown; }

private:
    std::array<quint32, 0x2070> m_ranks;
};

PrimaryRanks::PrimaryRanks()
{
    m_ranks.fill(unknown);
    const WeightProbe probe;
    // Latin, its white space and punctuation; not the combining marks, which may join what precedes.
    const auto worked = [](char16_t unit) {
        const QChar::Category category = QChar(unit).category();
        return (unit < 0x250 || (unit >= 0x2000 && unit < 0x2070)) && category != QChar::Other_NotAssigned &&
               category != QChar::Mark_NonSpacing && category != QChar::Mark_Enclosing &&
               category != QChar::Mark_SpacingCombining;
    };
    std::vector<char16_t> ascii;
    std::vector<char16_t> others;
    for (char16_t unit = 0; unit < m_ranks.size(); ++unit) {
        if (!worked(unit))
            continue;
        if (probe.same(QString(QChar(unit)), QString()))
            m_ranks[unit] = 0;
        else
            (unit < 0x80 ? ascii : others).push_back(unit);
    }

    // Each weight met, as one text of it; `order` lists them from the first weight, and `of` gives
    // each unit's one or two.
    std::vector<QString> weights;
    std::vector<int> order;
    std::vector<std::array<int, 2>> of(m_ranks.size(), {-1, -1});
    const auto fail = [this] { m_ranks.fill(unknown); };

    // The ASCII characters first, by an insertion sort, which stays defined whatever the answers.
    for (size_t i = 1; i < ascii.size(); ++i) {
        for (size_t j = i; j > 0 && probe.before(QString(QChar(ascii[j])), QString(QChar(ascii[j - 1]))); --j)
            std::swap(ascii[j], ascii[j - 1]);
    }
    for (const char16_t unit : ascii) {
        const QString text(QChar{unit});
        if (!order.empty() && probe.same(weights[size_t(order.back())], text)) {
            of[unit][0] = order.back();
            continue;
        }
        // Answers that do not make a strict order leave every unit to the collator.
        if (!order.empty() &&
            (!probe.before(weights[size_t(order.back())], text) || probe.before(text, weights[size_t(order.back())]))) {
            fail();
            return;
        }
        of[unit][0] = int(weights.size());
        order.push_back(int(weights.size()));
        weights.push_back(text);
    }
    if (order.empty()) {
        fail();
        return;
    }
    // Four of the highest ASCII weight: a text of two weights, the first x, comes before x followed by
    // these unless its second is higher still, which no Latin letter has.
    const QString highest = weights[size_t(order.back())].repeated(4);

    const auto twoLetters = [](char16_t unit) -> QString {
        switch (unit) {
        case 0x00C6: // Æ
        case 0x00E6: // æ
            return QStringLiteral("ae");
        case 0x00DF: // ß
            return QStringLiteral("ss");
        case 0x0152: // Œ
        case 0x0153: // œ
            return QStringLiteral("oe");
        default: {
            QString decomposed;
            for (const QChar c : QString(QChar(unit)).normalized(QString::NormalizationForm_KD)) {
                if (c.category() != QChar::Mark_NonSpacing)
                    decomposed += c;
            }
            return decomposed.size() == 2 ? decomposed : QString();
        }
        }
    };
    for (const char16_t unit : others) {
        const QString text(QChar{unit});
        size_t low = 0;
        size_t high = order.size();
        while (low < high) {
            const size_t middle = (low + high) / 2;
            if (probe.before(weights[size_t(order[middle])], text))
                low = middle + 1;
            else
                high = middle;
        }
        if (low < order.size() && probe.same(text, weights[size_t(order[low])])) {
            of[unit][0] = order[low];
            continue;
        }
        const QString two = twoLetters(unit);
        const auto single = [&of](QChar c) {
            return c.unicode() < of.size() && of[c.unicode()][1] < 0 ? of[c.unicode()][0] : -1;
        };
        if (!two.isEmpty() && single(two.at(0)) >= 0 && single(two.at(1)) >= 0 && probe.same(text, two)) {
            of[unit] = {single(two.at(0)), single(two.at(1))};
            continue;
        }
        // A weight of its own, between two known ones, unless it reads as two weights.
        if (low > 0) {
            const QString& below = weights[size_t(order[low - 1])];
            if (!probe.before(below, text) || probe.compare(text, below + highest) <= 0)
                continue;
        }
        if (low < order.size()) {
            const QString& above = weights[size_t(order[low])];
            if (!probe.before(text, above) || probe.compare(text + highest, above) >= 0)
                continue;
        }
        of[unit][0] = int(weights.size());
        order.insert(order.begin() + qsizetype(low), int(weights.size()));
        weights.push_back(text);
    }

    if (order.size() >= 0xFFFF) {
        fail();
        return;
    }
    std::vector<quint32> rank(weights.size());
    for (size_t place = 0; place < order.size(); ++place)
        rank[size_t(order[place])] = quint32(place + 1);
    for (size_t unit = 0; unit < of.size(); ++unit) {
        if (of[unit][0] >= 0)
            m_ranks[unit] = rank[size_t(of[unit][0])] | (of[unit][1] >= 0 ? rank[size_t(of[unit][1])] << 16 : 0);
    }
}

const PrimaryRanks& primaryRanks()
{
    static const PrimaryRanks ranks;
    return ranks;
}

int codePointCompare(QStringView a, QStringView b)
{
    const auto [x, y] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    if (x == a.end())
        return y == b.end() ? 0 : -1;
    if (y == b.end())
        return 1;
    // UTF-16 units in code point order: the surrogates after the rest of the basic plane.
    const auto fixed = [](QChar c) {
        const char16_t u = c.unicode();
        return u >= 0xE000 ? u - 0x800 : u >= 0xD800 ? u + 0x2000 : u;
    };
    return fixed(*x) < fixed(*y) ? -1 : 1;
}

// An item's text as far as it is read, and the ranks of its next eight weights: 32 bytes, as the
// sorts move them many times.
struct Entry
{
    // The next eight ranks, four to a word, the first in the highest bits; 0 past the end of the text.
    std::array<quint64, 2> key{};
    const char16_t* units = nullptr; // the first unit not read
    quint32 left = 0;                // units not read, or `unknown`
    quint32 item = 0;

    // A unit whose rank is not in the table was met (or the text is too long to count): only the
    // collator orders the entry.
    static constexpr quint32 unknown = std::numeric_limits<quint32>::max();
    bool known() const { return left != unknown; }
};

using EntryIt = std::vector<Entry>::iterator;

// Past this many keys, ties are left to the collator.
constexpr int deepest = 32;

// Eight UTF-16 units, four to a word, the first in the highest bits.
using Units = std::array<quint64, 2>;

char16_t unitAt(const Units& units, size_t i)
{
    return char16_t(units[i / 4] >> (48 - 16 * (i % 4)));
}

// Reads the entry's next eight ranks unit by unit, the first eight units from `units`.
void readKey(Entry& e, const PrimaryRanks& ranks, const Units& units)
{
    std::array<quint16, 8> read{};
    size_t count = 0;
    quint32 used = 0;
    while (count < read.size() && used < e.left) {
        const quint32 rank = ranks[used < 8 ? unitAt(units, used) : e.units[used]];
        // A letter read as two that does not fit whole is left to the collator too: it is rare.
        if (rank == PrimaryRanks::unknown || (rank >> 16 && count + 1 == read.size())) {
            e.left = Entry::unknown;
            return;
        }
        ++used;
        if (rank == 0)
            continue;
        read[count++] = quint16(rank);
        if (rank >> 16)
            read[count++] = quint16(rank >> 16);
    }
    e.units += used;
    e.left -= used;
    for (size_t word = 0; word < 2; ++word) {
        e.key[word] = quint64(read[4 * word]) << 48 | quint64(read[4 * word + 1]) << 32 |
                      quint64(read[4 * word + 2]) << 16 | quint64(read[4 * word + 3]);
    }
}

// The same, at once when each of the next eight units has one rank of its own, as most have.
void readSimpleKey(Entry& e, const PrimaryRanks& ranks, const Units& units)
{
    Units key{};
    bool simple = true;
    for (size_t i = 0; i < 8; ++i) {
        const quint32 rank = i < e.left ? ranks[unitAt(units, i)] : 0;
        simple &= i >= e.left || rank - 1 < 0xFFFF;
        key[i / 4] = key[i / 4] << 16 | (rank & 0xFFFF);
    }
    if (!simple) {
        readKey(e, ranks, units);
        return;
    }
    const quint32 used = std::min<quint32>(e.left, 8);
    e.key = key;
    e.units += used;
    e.left -= used;
}

class Sorter
{
public:
    Sorter(const FrenchOrder& order, const std::vector<FrenchOrder::Item>& items)
        : m_order(order), m_items(items), m_ranks(primaryRanks())
    {
    }

    void sort(std::vector<Entry>& entries)
    {
        for (Entry& e : entries)
            readSimpleKey(e, m_ranks, m_items[e.item].prefix);
        order(entries.begin(), entries.end(), 1);
    }

private:
    // The texts lie all over the corpus: their next units are fetched first, by a loop that only
    // copies them, so that the waits for memory overlap; the ranks follow.
    void readKeys(EntryIt begin, EntryIt end) const
    {
        for (EntryIt e = begin; e != end; ++e) {
            std::array<char16_t, 8> copy{};
            std::copy(e->units, e->units + std::min<quint32>(e->left, 8), copy.begin());
            for (size_t word = 0; word < 2; ++word) {
                e->key[word] = quint64(copy[4 * word]) << 48 | quint64(copy[4 * word + 1]) << 32 |
                               quint64(copy[4 * word + 2]) << 16 | quint64(copy[4 * word + 3]);
            }
        }
        for (EntryIt e = begin; e != end; ++e) {
            const Units units = e->key;
            readSimpleKey(*e, m_ranks, units);
        }
    }

    bool before(const Entry& a, const Entry& b) const
    {
        return m_order.compare(m_items[a.item].text, m_items[b.item].text) < 0;
    }

    // Sorts [begin, end), whose keys are read: the texts tie on every rank before them.
    void order(EntryIt begin, EntryIt end, int depth)
    {
        const EntryIt unknown = std::partition(begin, end, [](const Entry& e) { return e.known(); });
        // Long texts often share their first words: a run that still ties needs no sort.
        if (std::adjacent_find(begin, unknown, [](const Entry& a, const Entry& b) { return a.key != b.key; }) !=
            unknown)
            std::sort(begin, unknown, [](const Entry& a, const Entry& b) { return a.key < b.key; });
        const auto less = [this](const Entry& a, const Entry& b) { return before(a, b); };
        for (EntryIt run = begin; run != unknown;) {
            EntryIt next = run + 1;
            while (next != unknown && next->key == run->key)
                ++next;
            if (next - run > 1) {
                // Texts whose weights all tie differ in accents, case or code points only.
                if ((run->key[1] & 0xFFFF) == 0 || depth >= deepest) {
                    std::sort(run, next, less);
                } else {
                    readKeys(run, next);
                    order(run, next, depth + 1);
                }
            }
            run = next;
        }
        if (unknown == end)
            return;
        std::sort(unknown, end, less);
        if ((end - unknown) * 16 >= unknown - begin) {
            std::inplace_merge(begin, unknown, end, less);
            return;
        }
        // A few among many: each found by halves.
        std::vector<Entry> merged;
        merged.reserve(size_t(end - begin));
        EntryIt from = begin;
        for (EntryIt other = unknown; other != end; ++other) {
            const EntryIt at = std::upper_bound(from, unknown, *other, less);
            merged.insert(merged.end(), from, at);
            merged.push_back(*other);
            from = at;
        }
        merged.insert(merged.end(), from, unknown);
        std::move(merged.begin(), merged.end(), begin);
    }

    const FrenchOrder& m_order;
    const std::vector<FrenchOrder::Item>& m_items;
    const PrimaryRanks& m_ranks;
};

} // namespace

FrenchOrder::FrenchOrder() : m_collator(frenchCollator()) {}

int FrenchOrder::compare(QStringView a, QStringView b) const
{
    const int collated = m_collator.compare(a, b);
    return collated != 0 ? (collated < 0 ? -1 : 1) : codePointCompare(a, b);
}

FrenchOrder::Item FrenchOrder::item(QStringView text, qsizetype index)
{
    Item item{text, {}, index};
    for (qsizetype i = 0; i < std::min<qsizetype>(text.size(), 8); ++i)
        item.prefix[size_t(i / 4)] |= quint64(text[i].unicode()) << (48 - 16 * (i % 4));
    return item;
}

void FrenchOrder::sort(std::vector<Item>& items) const
{
    std::vector<Entry> entries(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        const QStringView text = items[i].text;
        entries[i].units = text.utf16();
        entries[i].left = text.size() < qsizetype(Entry::unknown) ? quint32(text.size()) : Entry::unknown;
        entries[i].item = quint32(i);
    }
    Sorter(*this, items).sort(entries);
    std::vector<Item> sorted;
    sorted.reserve(items.size());
    for (const Entry& e : entries)
        sorted.push_back(items[e.item]);
    items.swap(sorted);
}

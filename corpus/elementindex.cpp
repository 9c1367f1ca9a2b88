#include "corpus/elementindex.h"

#include "corpus/utf8text.h"

#include <QHashFunctions>
#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace {

// A hash of a short string, eight bytes at a time.
quint32 hashBytes(std::string_view bytes)
{
    quint64 h = 0x9E3779B97F4A7C15ull ^ bytes.size();
    const char* p = bytes.data();
    size_t n = bytes.size();
    for (; n >= 8; n -= 8, p += 8) {
        quint64 word;
        std::memcpy(&word, p, 8);
        h = (h ^ word) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 32;
    }
    quint64 tail = 0;
    std::memcpy(&tail, p, n);
    h = (h ^ tail) * 0xC4CEB9FE1A85EC53ull;
    return static_cast<quint32>(h >> 32);
}

quint32 hashText(QStringView text)
{
    return static_cast<quint32>(qHash(text, 0));
}

bool isIdentity(const std::vector<quint32>& numbers)
{
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (numbers[i] != i)
            return false;
    }
    return true;
}

} // namespace

namespace {

constexpr quint64 hashStep = 0x100000001B3ull;
// Up to this many units, a text's hash mixes them all; past it, the first and the last half of it.
constexpr qsizetype hashedUnits = 64;

quint64 hashSeed(qsizetype size)
{
    return static_cast<quint64>(size) * 0x9E3779B97F4A7C15ull;
}

// Four units a step: it runs for every element of the corpus.
quint64 mix(quint64 h, const char16_t* p, qsizetype count)
{
    for (; count >= 4; count -= 4, p += 4) {
        h = (h ^ p[0]) * hashStep;
        h = (h ^ p[1]) * hashStep;
        h = (h ^ p[2]) * hashStep;
        h = (h ^ p[3]) * hashStep;
    }
    for (; count > 0; --count, ++p)
        h = (h ^ *p) * hashStep;
    return h;
}

ElementIndex::Signature finishedSignature(quint64 h, QStringView searched)
{
    ElementIndex::Signature signature;
    signature.hash = static_cast<quint32>(h ^ (h >> 32));
    if (signature.hash == 0)
        signature.hash = 1;
    // The first eight units, the first in the highest bits.
    char16_t first[8] = {};
    std::memcpy(first, searched.utf16(),
                static_cast<size_t>(std::min<qsizetype>(searched.size(), 8)) * sizeof(char16_t));
    for (size_t part = 0; part < 2; ++part) {
        signature.prefix[part] = (quint64(first[4 * part]) << 48) | (quint64(first[4 * part + 1]) << 32) |
                                 (quint64(first[4 * part + 2]) << 16) | quint64(first[4 * part + 3]);
    }
    return signature;
}

// The hashes of four texts of at least hashedUnits units, side by side: the same units, the same
// steps, as mix() over each.
std::array<quint64, 4> hashLong(const std::array<QStringView, 4>& texts)
{
    constexpr qsizetype half = hashedUnits / 2;
    std::array<quint64, 4> h;
    std::array<const char16_t*, 4> p;
    for (size_t t = 0; t < 4; ++t) {
        h[t] = hashSeed(texts[t].size());
        p[t] = texts[t].utf16();
    }
    for (int part = 0; part < 2; ++part) {
        for (qsizetype i = 0; i < half; ++i) {
            h[0] = (h[0] ^ p[0][i]) * hashStep;
            h[1] = (h[1] ^ p[1][i]) * hashStep;
            h[2] = (h[2] ^ p[2][i]) * hashStep;
            h[3] = (h[3] ^ p[3][i]) * hashStep;
        }
        for (size_t t = 0; t < 4; ++t)
            p[t] = texts[t].utf16() + texts[t].size() - half;
    }
    return h;
}

} // namespace

ElementIndex::Signature ElementIndex::signature(QStringView searched)
{
    const qsizetype n = searched.size();
    if (n == 0)
        return {};
    const char16_t* const units = searched.utf16();
    quint64 h = hashSeed(n);
    if (n <= hashedUnits) {
        h = mix(h, units, n);
    } else {
        h = mix(h, units, hashedUnits / 2);
        h = mix(h, units + n - hashedUnits / 2, hashedUnits / 2);
    }
    return finishedSignature(h, searched);
}

void ElementIndex::setSignatures(const quint32* elements, const QStringView* searched, size_t count)
{
    const auto store = [this, elements](size_t text, const Signature& textSignature) {
        Element& e = m_elements[elements[text]];
        e.hash = textSignature.hash;
        e.prefix = textSignature.prefix;
    };
    std::array<size_t, 4> waiting{};
    size_t waitingCount = 0;
    for (size_t t = 0; t < count; ++t) {
        if (searched[t].size() < hashedUnits) {
            store(t, signature(searched[t]));
            continue;
        }
        waiting[waitingCount++] = t;
        if (waitingCount < waiting.size())
            continue;
        waitingCount = 0;
        const std::array<quint64, 4> h =
            hashLong({searched[waiting[0]], searched[waiting[1]], searched[waiting[2]], searched[waiting[3]]});
        for (size_t w = 0; w < waiting.size(); ++w)
            store(waiting[w], finishedSignature(h[w], searched[waiting[w]]));
    }
    for (size_t w = 0; w < waitingCount; ++w)
        store(waiting[w], signature(searched[waiting[w]]));
}

ElementIndex::Article ElementIndex::article(int number) const
{
    const Tables& t = m_tables;
    const auto index = static_cast<quint32>(number);
    const quint32 first = t.articles[index].firstElement;
    const quint32 last = index + 1 < t.articleCount ? t.articles[index + 1].firstElement : t.elementCount;
    return {t.elements + first, t.elements + last, t.elementNames + first, t.elementTexts + first,
            t.articles[index].hasChildNode != 0};
}

BlockEdges ElementIndex::edges(int number) const
{
    const Tables& t = m_tables;
    const auto index = static_cast<quint32>(number);
    const quint32 first = t.articles[index].firstEdge;
    const quint32 last = index + 1 < t.articleCount ? t.articles[index + 1].firstEdge : t.edgeCount;
    return {t.edges + first, last - first};
}

ElementIndex ElementIndex::over(const Tables& tables, QStringList names, QStringList values, QStringList attributeNames)
{
    ElementIndex index;
    index.m_tables = tables;
    index.m_names = std::move(names);
    index.m_values = std::move(values);
    index.m_attributeNames = std::move(attributeNames);
    return index;
}

void ElementIndex::refreshTables()
{
    m_tables = {m_elements.data(),
                m_elementNames.data(),
                m_elementTexts.data(),
                static_cast<quint32>(m_elements.size()),
                m_elementValues.data(),
                m_valueAttributes.data(),
                static_cast<quint32>(m_elementValues.size()),
                m_articles.data(),
                static_cast<quint32>(m_articles.size()),
                m_edges.data(),
                static_cast<quint32>(m_edges.size()),
                m_nameSlots.data(),
                static_cast<quint32>(m_nameSlots.size()),
                m_valueSlots.data(),
                static_cast<quint32>(m_valueSlots.size())};
}

void ElementIndex::clear()
{
    *this = ElementIndex();
}

void ElementIndex::reserveFor(qint64 fileBytes)
{
    // An element takes some thirty bytes of markup or more, an article a few hundred.
    const auto bytes = static_cast<size_t>(std::max<qint64>(fileBytes, 0));
    m_elements.reserve(bytes / 24);
    m_elementNames.reserve(bytes / 24);
    m_elementTexts.reserve(bytes / 24);
    m_elementValues.reserve(bytes / 96);
    m_valueAttributes.reserve(bytes / 96);
    m_articles.reserve(bytes / 256);
}

void ElementIndex::beginArticle()
{
    if (m_edges.size() >= none)
        throw std::bad_alloc(); // past what can be numbered: as if memory ran out
    m_articles.push_back({static_cast<quint32>(m_elements.size()), static_cast<quint32>(m_edges.size()), 0});
}

quint32 ElementIndex::Interner::hash(std::string_view utf8) const
{
    const quint32 hash = hashBytes(utf8);
    if (!m_slots.empty())
        __builtin_prefetch(m_slots.data() + (hash & (m_slots.size() - 1)));
    return hash;
}

quint32 ElementIndex::Interner::intern(std::string_view utf8, quint32 hash)
{
    if ((m_count + 1) * 2 > m_slots.size())
        grow();
    const size_t mask = m_slots.size() - 1;
    const auto length = static_cast<quint32>(utf8.size());
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot& slot = m_slots[i];
        if (slot.start == 0) {
            const size_t start = m_bytes.size() + 2 * sizeof(quint32);
            if (m_count == none - 1 || start + utf8.size() > std::numeric_limits<quint32>::max())
                throw std::bad_alloc(); // past what can be numbered: as if memory ran out
            m_texts.append(utf8text::decode(QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size()))));
            m_textHashes.push_back(hashText(m_texts.back()));
            m_bytes.append(reinterpret_cast<const char*>(&m_count), sizeof m_count);
            m_bytes.append(reinterpret_cast<const char*>(&length), sizeof length);
            m_bytes.append(utf8);
            slot = {hash, static_cast<quint32>(start)};
            return m_count++;
        }
        if (slot.hash == hash) {
            const char* const stored = m_bytes.data() + slot.start;
            quint32 header[2];
            std::memcpy(header, stored - sizeof header, sizeof header);
            if (header[1] == length && std::memcmp(stored, utf8.data(), utf8.size()) == 0)
                return header[0];
        }
    }
}

void ElementIndex::Interner::grow()
{
    std::vector<Slot> table(std::max<size_t>(256, m_slots.size() * 2));
    const size_t mask = table.size() - 1;
    for (const Slot& slot : m_slots) {
        if (slot.start == 0)
            continue;
        size_t i = slot.hash & mask;
        while (table[i].start != 0)
            i = (i + 1) & mask;
        table[i] = slot;
    }
    m_slots.swap(table);
}

std::vector<quint32> ElementIndex::buildIds(const QStringList& texts, const std::vector<quint32>* hashes,
                                            std::vector<IdSlot>& table)
{
    const auto count = static_cast<size_t>(texts.size());
    size_t size = 256;
    while (size < count * 2)
        size *= 2;
    table.assign(size, IdSlot());
    std::vector<quint32> first(count);
    const size_t mask = size - 1;
    for (size_t t = 0; t < count; ++t) {
        const QString& text = texts.at(static_cast<qsizetype>(t));
        const quint32 hash = hashes ? (*hashes)[t] : hashText(text);
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            IdSlot& slot = table[i];
            if (slot.id == none) {
                slot = {hash, static_cast<quint32>(t)};
                first[t] = slot.id;
                break;
            }
            if (slot.hash == hash && texts.at(slot.id) == text) {
                first[t] = slot.id;
                break;
            }
        }
    }
    return first;
}

quint32 ElementIndex::findId(const IdSlot* table, quint32 slotCount, const QStringList& texts, QStringView text)
{
    if (slotCount == 0)
        return none;
    const quint32 hash = hashText(text);
    const size_t mask = slotCount - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const IdSlot& slot = table[i];
        if (slot.id == none)
            return none;
        if (slot.hash == hash && texts.at(slot.id) == text)
            return slot.id;
    }
}

quint32 ElementIndex::addElement(quint32 name)
{
    Element element;
    element.firstValue = static_cast<quint32>(m_elementValues.size());
    m_elements.push_back(element);
    m_elementNames.push_back(name);
    m_elementTexts.emplace_back();
    return static_cast<quint32>(m_elements.size() - 1);
}

quint32 ElementIndex::addValue(quint32 element, quint32 attribute, std::string_view value, quint32 hash)
{
    const quint32 id = m_buildValues.intern(value, hash);
    m_elementValues.push_back(id);
    m_valueAttributes.push_back(attribute);
    ++m_elements[element].valueCount;
    return id;
}

void ElementIndex::setElementText(quint32 element, quint32 start, quint32 end)
{
    m_elementTexts[element] = {start, end};
}

void ElementIndex::setEdges(const quint32* edges, size_t count)
{
    m_edges.insert(m_edges.end(), edges, edges + count);
}

void ElementIndex::finish(QStringList names, QStringList attributeNames)
{
    m_attributeNames = std::move(attributeNames);
    // Most corpora keep few edges or none: the room grown for them goes back.
    m_edges.shrink_to_fit();
    m_names = std::move(names);
    m_values = m_buildValues.takeTexts();
    const std::vector<quint32> valueHashes = m_buildValues.takeTextHashes();
    m_buildValues = {};
    const std::vector<quint32> nameIds = buildIds(m_names, nullptr, m_nameSlots);
    if (!isIdentity(nameIds)) {
        for (quint32& name : m_elementNames)
            name = nameIds[name];
    }
    const std::vector<quint32> valueIds = buildIds(m_values, &valueHashes, m_valueSlots);
    if (!isIdentity(valueIds)) {
        for (quint32& value : m_elementValues)
            value = valueIds[value];
    }
    refreshTables();
}

#include "elementindex.h"

#include <algorithm>

ElementIndex::Article ElementIndex::article(int number) const
{
    const auto index = static_cast<size_t>(number);
    const quint32 first = m_articles[index].firstElement;
    const quint32 last =
        index + 1 < m_articles.size() ? m_articles[index + 1].firstElement : static_cast<quint32>(m_elements.size());
    return {m_elements.data() + first, m_elements.data() + last, m_articles[index].hasChildNode};
}

void ElementIndex::clear()
{
    *this = ElementIndex();
}

void ElementIndex::beginArticle(bool hasChildNode)
{
    m_articles.push_back({static_cast<quint32>(m_elements.size()), hasChildNode});
}

quint32 ElementIndex::Interner::intern(std::string_view utf8, QStringList& pool)
{
    if ((m_count + 1) * 2 > m_slots.size())
        grow();
    quint64 hash = 0xcbf29ce484222325ull;
    for (const char c : utf8)
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
    const size_t mask = m_slots.size() - 1;
    for (size_t i = (hash ^ (hash >> 32)) & mask;; i = (i + 1) & mask) {
        Slot& slot = m_slots[i];
        if (!slot.data) {
            const auto id = static_cast<quint32>(pool.size());
            pool.append(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
            slot = {hash, utf8.data(), utf8.size(), id};
            ++m_count;
            return id;
        }
        if (slot.hash == hash && std::string_view(slot.data, slot.size) == utf8)
            return slot.id;
    }
}

void ElementIndex::Interner::grow()
{
    std::vector<Slot> table(std::max<size_t>(256, m_slots.size() * 2));
    const size_t mask = table.size() - 1;
    for (const Slot& slot : m_slots) {
        if (!slot.data)
            continue;
        size_t i = (slot.hash ^ (slot.hash >> 32)) & mask;
        while (table[i].data)
            i = (i + 1) & mask;
        table[i] = slot;
    }
    m_slots.swap(table);
}

quint32 ElementIndex::addElement(std::string_view name, quint32 textStart)
{
    Element element;
    element.name = m_buildNames.intern(name, m_names);
    element.textStart = textStart;
    element.textEnd = textStart;
    element.firstValue = static_cast<quint32>(m_elementValues.size());
    m_elements.push_back(element);
    return static_cast<quint32>(m_elements.size() - 1);
}

void ElementIndex::addValue(quint32 element, std::string_view value)
{
    m_elementValues.push_back(m_buildValues.intern(value, m_values));
    ++m_elements[element].valueCount;
}

namespace {

// Numbers of equal texts made one (two byte sequences can decode alike), the table rebuilt.
std::vector<quint32> canonical(const QStringList& pool, QHash<QString, quint32>& ids)
{
    std::vector<quint32> canon(static_cast<size_t>(pool.size()));
    ids.clear();
    ids.reserve(pool.size());
    for (qsizetype i = 0; i < pool.size(); ++i) {
        const auto found = ids.constFind(pool.at(i));
        if (found != ids.constEnd()) {
            canon[static_cast<size_t>(i)] = found.value();
        } else {
            ids.insert(pool.at(i), static_cast<quint32>(i));
            canon[static_cast<size_t>(i)] = static_cast<quint32>(i);
        }
    }
    return canon;
}

} // namespace

void ElementIndex::finish()
{
    // The views point into the parser's buffer; from here on, names and values are looked up as text.
    m_buildNames = {};
    m_buildValues = {};
    const std::vector<quint32> names = canonical(m_names, m_nameIds);
    for (Element& element : m_elements)
        element.name = names[element.name];
    const std::vector<quint32> values = canonical(m_values, m_valueIds);
    for (quint32& value : m_elementValues)
        value = values[value];
    m_elements.shrink_to_fit();
    m_elementValues.shrink_to_fit();
}

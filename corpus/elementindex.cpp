#include "elementindex.h"

#include "utf8text.h"

#include <algorithm>

namespace {

quint64 hashBytes(std::string_view bytes)
{
    quint64 hash = 0xcbf29ce484222325ull;
    for (const char c : bytes)
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
    return hash;
}

// Numbers of equal texts made one (two byte sequences can decode alike), the table rebuilt.
std::vector<quint32> canonical(const QStringList& pool, ElementIndex::Ids& ids)
{
    std::vector<quint32> canon(static_cast<size_t>(pool.size()));
    ids.clear();
    ids.reserve(static_cast<size_t>(pool.size()));
    for (qsizetype i = 0; i < pool.size(); ++i)
        canon[static_cast<size_t>(i)] = ids.try_emplace(pool.at(i), static_cast<quint32>(i)).first->second;
    return canon;
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

QStringView ElementIndex::searchedText(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    return trimmed.first(std::min(trimmed.size(), textLimit));
}

ElementIndex::Signature ElementIndex::signature(QStringView searched)
{
    Signature signature;
    const qsizetype n = searched.size();
    if (n == 0)
        return signature;
    quint64 h = static_cast<quint64>(n) * 0x9E3779B97F4A7C15ull;
    const auto mix = [&h](QStringView part) {
        for (const QChar c : part)
            h = (h ^ c.unicode()) * 0x100000001B3ull;
    };
    if (n <= 64) {
        mix(searched);
    } else {
        mix(searched.first(32));
        mix(searched.last(32));
    }
    signature.hash = static_cast<quint32>(h ^ (h >> 32));
    if (signature.hash == 0)
        signature.hash = 1;
    for (qsizetype i = 0; i < 8; ++i) {
        quint64& part = signature.prefix[static_cast<size_t>(i / 4)];
        part = (part << 16) | (i < n ? searched[i].unicode() : 0u);
    }
    return signature;
}

ElementIndex::Article ElementIndex::article(int number) const
{
    const auto index = static_cast<size_t>(number);
    const quint32 first = m_articles[index].firstElement;
    const quint32 last =
        index + 1 < m_articles.size() ? m_articles[index + 1].firstElement : static_cast<quint32>(m_elements.size());
    const quint32* names = m_elementNames.size() == m_elements.size() ? m_elementNames.data() + first : nullptr;
    return {m_elements.data() + first, m_elements.data() + last, names, m_articles[index].hasChildNode};
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
    m_elementValues.reserve(bytes / 96);
    m_articles.reserve(bytes / 256);
}

void ElementIndex::beginArticle()
{
    m_articles.push_back({static_cast<quint32>(m_elements.size()), false});
}

quint32 ElementIndex::Interner::intern(std::string_view utf8)
{
    if ((m_strings.size() + 1) * 2 > m_slots.size())
        grow();
    const quint64 hash = hashBytes(utf8);
    const size_t mask = m_slots.size() - 1;
    for (size_t i = (hash ^ (hash >> 32)) & mask;; i = (i + 1) & mask) {
        Slot& slot = m_slots[i];
        if (slot.id == none) {
            slot = {hash, static_cast<quint32>(m_strings.size())};
            m_strings.emplace_back(utf8);
            m_texts.append(utf8text::decode(QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size()))));
            return slot.id;
        }
        if (slot.hash == hash && m_strings[slot.id] == utf8)
            return slot.id;
    }
}

void ElementIndex::Interner::grow()
{
    std::vector<Slot> table(std::max<size_t>(256, m_slots.size() * 2));
    const size_t mask = table.size() - 1;
    for (const Slot& slot : m_slots) {
        if (slot.id == none)
            continue;
        size_t i = (slot.hash ^ (slot.hash >> 32)) & mask;
        while (table[i].id != none)
            i = (i + 1) & mask;
        table[i] = slot;
    }
    m_slots.swap(table);
}

quint32 ElementIndex::addElement(quint32 name)
{
    Element element;
    element.name = name;
    element.firstValue = static_cast<quint32>(m_elementValues.size());
    m_elements.push_back(element);
    m_elementNames.push_back(name);
    return static_cast<quint32>(m_elements.size() - 1);
}

void ElementIndex::addValue(quint32 element, std::string_view value)
{
    m_elementValues.push_back(m_buildValues.intern(value));
    ++m_elements[element].valueCount;
}

ElementIndex::ElementText ElementIndex::elementText(quint32 start, quint32 end, QStringView articleText)
{
    const QStringView whole = articleText.mid(start, end - start);
    const QStringView trimmed = whole.trimmed();
    if (trimmed.isEmpty())
        return {start, start, Signature()};
    const auto trimmedStart = start + static_cast<quint32>(trimmed.data() - whole.data());
    return {trimmedStart, trimmedStart + static_cast<quint32>(trimmed.size()), signature(searchedText(trimmed))};
}

void ElementIndex::setElementText(quint32 element, const ElementText& text)
{
    Element& e = m_elements[element];
    e.textStart = text.start;
    e.textEnd = text.end;
    e.hash = text.signature.hash;
    e.prefix = text.signature.prefix;
}

void ElementIndex::finish(QStringList names)
{
    m_names = std::move(names);
    m_values = m_buildValues.takeTexts();
    m_buildValues = {};
    const std::vector<quint32> nameIds = canonical(m_names, m_nameIds);
    if (!isIdentity(nameIds)) {
        for (size_t i = 0; i < m_elements.size(); ++i) {
            Element& element = m_elements[i];
            element.name = nameIds[element.name];
            m_elementNames[i] = element.name;
        }
    }
    const std::vector<quint32> valueIds = canonical(m_values, m_valueIds);
    if (!isIdentity(valueIds)) {
        for (quint32& value : m_elementValues)
            value = valueIds[value];
    }
}

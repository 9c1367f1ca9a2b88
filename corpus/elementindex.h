#pragma once

#include "corpus/blockedges.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <string>
#include <string_view>
#include <vector>

// Where each element of each article stands, for the cross search: its name, its attribute values
// and its text as a range of the article's text. Built once per load, so a search never reads the
// file again; names and values are stored once and referred to by number.
class ElementIndex
{
public:
    static constexpr quint32 none = ~quint32(0);
    // Texts are compared and offered cut to their first 12,000 characters.
    static constexpr qsizetype textLimit = 12000;

    ElementIndex() = default;
    // Moved, never copied: the tables point into the vectors, whose buffers a move keeps.
    ElementIndex(ElementIndex&&) = default;
    ElementIndex& operator=(ElementIndex&&) = default;
    ElementIndex(const ElementIndex&) = delete;
    ElementIndex& operator=(const ElementIndex&) = delete;
    ~ElementIndex() = default;

    // What tells texts apart and orders them without reading them again: a hash (0 for an empty
    // text) and the first eight UTF-16 units, zero-filled.
    struct Signature
    {
        quint32 hash = 0;
        std::array<quint64, 2> prefix{};
    };
    // Of the text as searches see it: without whitespace (QChar::isSpace) at either end, so that an
    // indented value is the value written on one line, then cut to the limit.
    static Signature signature(QStringView searched);

    struct Element
    {
        // The signature of the searched text.
        std::array<quint64, 2> prefix{};
        quint32 hash = 0;
        quint32 firstValue = 0;
        quint32 valueCount = 0;
        quint32 reserved = 0; // what would be padding, zero, as the store writes it
    };

    // The element's text, without whitespace at either end, is [start, end) of its article's text;
    // empty for an element of whitespace only.
    struct TextRange
    {
        quint32 start = 0;
        quint32 end = 0;
    };

    struct Article
    {
        const Element* begin = nullptr;
        const Element* end = nullptr;
        // The name and the text of each element from `begin` on, packed apart: a walk for one name
        // reads the names alone, then the texts of those it wants, without the rest of each record.
        const quint32* names = nullptr;
        const TextRange* texts = nullptr;
        // Anything in it but whitespace-only text: an element, text, a comment, an instruction.
        bool hasChildNode = false;
    };

    struct ArticleRange
    {
        quint32 firstElement = 0;
        quint32 firstEdge = 0;    // in the edges
        quint32 hasChildNode = 0; // 0 or 1
    };
    // A slot of the tables that find a name or a value by its text (open addressing).
    struct IdSlot
    {
        quint32 hash = 0;
        quint32 id = none; // none: free
    };

    // What a built index reads, wherever it lies: its own vectors, or a store's mapping.
    struct Tables
    {
        const Element* elements = nullptr;
        const quint32* elementNames = nullptr; // the name of each element
        const TextRange* elementTexts = nullptr;
        quint32 elementCount = 0;
        const quint32* elementValues = nullptr;   // the values of the elements, element after element
        const quint32* valueAttributes = nullptr; // beside them
        quint32 elementValueCount = 0;
        const ArticleRange* articles = nullptr;
        quint32 articleCount = 0;
        const quint32* edges = nullptr; // the block edges of every article, article after article
        quint32 edgeCount = 0;
        const IdSlot* nameSlots = nullptr;
        quint32 nameSlotCount = 0; // 0 or a power of two
        const IdSlot* valueSlots = nullptr;
        quint32 valueSlotCount = 0;
    };
    const Tables& tables() const { return m_tables; }
    const QStringList& names() const { return m_names; }
    const QStringList& allValues() const { return m_values; }
    const QStringList& attributeNames() const { return m_attributeNames; }
    // An index over tables that lie elsewhere, which must outlive it; they are taken as they are.
    static ElementIndex over(const Tables& tables, QStringList names, QStringList values, QStringList attributeNames);

    // The number of the element name or attribute value, or `none` when nothing has it.
    quint32 nameId(const QString& name) const
    {
        return findId(m_tables.nameSlots, m_tables.nameSlotCount, m_names, name);
    }
    quint32 valueId(const QString& value) const
    {
        return findId(m_tables.valueSlots, m_tables.valueSlotCount, m_values, value);
    }
    const QString& name(quint32 id) const { return m_names.at(id); }
    quint32 nameCount() const { return static_cast<quint32>(m_names.size()); }
    const QString& value(quint32 id) const { return m_values.at(id); }
    const quint32* values(const Element& element) const { return m_tables.elementValues + element.firstValue; }
    // The attribute that holds each of the element's values, by number, beside values().
    const quint32* attributes(const Element& element) const { return m_tables.valueAttributes + element.firstValue; }
    const QString& attributeName(quint32 id) const { return m_attributeNames.at(id); }

    int articleCount() const { return static_cast<int>(m_tables.articleCount); }
    // The elements below article `number`, in document order, the article itself left out.
    Article article(int number) const;
    // Where in article `number`'s text one block element meets another (see BlockEdges).
    BlockEdges edges(int number) const;

    void clear();

    // Building, article by article. Names come as the numbers the builder gave them with an Interner
    // of its own (their texts come with finish()); values come as UTF-8.
    // First, room for what a file of that many bytes likely holds, so that the tables are never
    // copied as they grow: room never written takes no memory.
    void reserveFor(qint64 fileBytes);
    void beginArticle();
    quint32 addElement(quint32 name);
    // Values in two steps, so that the values of an article are looked up at once (see Interner):
    // the hash of each, then each with its hash and the number of its attribute's name. Returns the
    // value's number while building: equal bytes, equal numbers.
    quint32 valueHash(std::string_view value) const { return m_buildValues.hash(value); }
    quint32 addValue(quint32 element, quint32 attribute, std::string_view value, quint32 hash);
    // Once the article's text is known: where the element's text lies, [start, end) of it, without
    // whitespace at either end; start == end when it has none. The builder trims the texts of all the
    // elements of an article in one pass over it, as trimming each of thousands of nested elements
    // alike would not be linear.
    void setElementText(quint32 element, quint32 start, quint32 end);
    // Then the signatures of elements with text, from their searched texts, each as signature() gives
    // it: the hash of a text is one chain of multiplications, so long texts are hashed four at once.
    void setSignatures(const quint32* elements, const QStringView* searched, size_t count);
    // Then its block edges, sorted, each once.
    void setEdges(const quint32* edges, size_t count);
    void endArticle(bool hasChildNode) { m_articles.back().hasChildNode = hasChildNode ? 1 : 0; }
    // Drops what only the building needed; `names` are the texts of the numbers addElement() was given,
    // `attributeNames` those of the numbers addValue() was given.
    void finish(QStringList names, QStringList attributeNames = {});

    // Numbers UTF-8 strings as they come, each distinct one once, and keeps their texts (open
    // addressing over one buffer of their bytes: it runs for every element and attribute of the corpus).
    class Interner
    {
    public:
        quint32 intern(std::string_view utf8) { return intern(utf8, hash(utf8)); }
        // The same in two steps, so that the slots of several strings can be looked up at once: the
        // hash, which starts fetching the string's slot, then the string's number.
        quint32 hash(std::string_view utf8) const;
        quint32 intern(std::string_view utf8, quint32 hash);
        QStringList takeTexts() { return std::move(m_texts); }
        // The hash of each text, as the tables that find texts hash it: taken while the text is at hand, so that the
        // table of values is built without reading every text again.
        std::vector<quint32> takeTextHashes() { return std::move(m_textHashes); }

    private:
        // Where the string starts is kept in its slot, and its number and length just before its
        // bytes, so that a lookup reads the table and the bytes only: a third place read was one
        // cache miss more.
        struct Slot
        {
            quint32 hash = 0;
            quint32 start = 0; // in m_bytes, after the number and the length; 0: free
        };
        void grow();

        std::vector<Slot> m_slots;
        std::string m_bytes; // each distinct string, after its number and length, four bytes each
        quint32 m_count = 0;
        QStringList m_texts;
        std::vector<quint32> m_textHashes;
    };

private:
    // The number of `text` in `texts` by a table of slots, or none.
    static quint32 findId(const IdSlot* table, quint32 slotCount, const QStringList& texts, QStringView text);
    // The numbers of the distinct texts of a list, found by text (open addressing, built in one pass;
    // not QHash, whose insertion ends the program when memory runs out, where this one throws).
    // Makes equal texts one (two byte sequences can decode alike): gives, for each text of `texts`, the
    // number of its first occurrence. `hashes`, when given, are those of the texts.
    static std::vector<quint32> buildIds(const QStringList& texts, const std::vector<quint32>* hashes,
                                         std::vector<IdSlot>& table);
    // Points the tables at the vectors, once they no longer move.
    void refreshTables();

    Tables m_tables;
    std::vector<Element> m_elements;
    std::vector<quint32> m_elementNames; // the name of each element of m_elements
    std::vector<TextRange> m_elementTexts;
    std::vector<quint32> m_elementValues;
    std::vector<quint32> m_valueAttributes; // beside m_elementValues
    std::vector<ArticleRange> m_articles;
    std::vector<quint32> m_edges; // the block edges of every article, article after article
    QStringList m_names;
    QStringList m_values;
    QStringList m_attributeNames;
    std::vector<IdSlot> m_nameSlots;
    std::vector<IdSlot> m_valueSlots;
    Interner m_buildValues;
};

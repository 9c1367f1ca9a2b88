#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// How the articles' elements are shown. Guessed at load from the corpus's structure, one role for
// each element name; the reader may change any of them. Display only: searches, marks and word
// edges follow the file whatever the roles.
enum class ElementRole : quint8
{
    Normal,
    Title,     // bold and larger; a line of its own when the name is a block
    Paragraph, // a line of its own
    Heading,   // a line of its own, after a small heading: the value of one of its attributes
    Italic,
    Bold,
    SmallCaps,
    Underline,   // u
    Superscript, // sup
    Subscript,   // sub
    LineBreak,   // br
};

// What a load counts of one attribute of one element name.
struct AttributeStats
{
    quint32 attribute = 0; // its number in the element index
    quint64 count = 0;
    // Distinct values, counted up to distinctLimit + 1.
    quint64 distinct = 0;
    // Its longest value, in characters, counted up to headingLimit + 1.
    qsizetype longest = 0;

    static constexpr quint64 distinctLimit = 4096;
    static constexpr qsizetype headingLimit = 40;
};

// What a load counts of one element name, inside the articles.
struct ElementStats
{
    quint64 count = 0;
    quint64 blockCount = 0; // of those whose parent has no text of its own
    quint64 titleCount = 0; // of those that give their article its title
    quint64 textLength = 0; // the length of their texts, without whitespace at either end
    std::vector<AttributeStats> attributes;
};

class ElementRoles
{
public:
    static constexpr quint32 none = ~quint32(0);
    // Inline elements whose texts are this long on average, or shorter, are told apart in italics.
    static constexpr quint64 shortText = 80;

    ElementRoles() = default;
    // The roles of the names of `stats` (by element name number), as guessed from what they count:
    // the names of HTML (b, strong, i, em, u, sup, sub, br, p) in their meaning; the name that most
    // often gives its article its title, the title; a name most often a child of an element without
    // text of its own, a paragraph, with a heading when one of its attributes has short values
    // that repeat; any other, italics when its texts are short, else normal.
    static ElementRoles guess(const QStringList& names, const std::vector<ElementStats>& stats);

    ElementRole role(quint32 name) const { return name < m_roles.size() ? m_roles[name] : ElementRole::Normal; }
    void setRole(quint32 name, ElementRole role);
    // Whether most of the name's elements are children of an element without text of its own.
    bool isBlock(quint32 name) const { return name < m_block.size() && m_block[name]; }
    // The attribute whose value a heading shows, or none.
    quint32 headingAttribute(quint32 name) const { return name < m_heading.size() ? m_heading[name] : none; }
    // Whether an element of this name starts a line of its own.
    bool startsLine(quint32 name) const;

    // The roles a reader can choose, in the order offered, and their French names ("Titre", …).
    static const std::vector<ElementRole>& choices();
    static QString roleName(ElementRole role);
    static std::optional<ElementRole> roleNamed(const QString& name);

private:
    std::vector<ElementRole> m_roles;
    std::vector<bool> m_block;
    std::vector<quint32> m_heading;
};

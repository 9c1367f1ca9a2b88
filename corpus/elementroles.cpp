#include "corpus/elementroles.h"

#include <array>
#include <utility>

namespace {

struct HtmlName
{
    const char16_t* name;
    ElementRole role;
};

constexpr std::array<HtmlName, 9> htmlNames{{
    {u"b", ElementRole::Bold},
    {u"strong", ElementRole::Bold},
    {u"i", ElementRole::Italic},
    {u"em", ElementRole::Italic},
    {u"u", ElementRole::Underline},
    {u"sup", ElementRole::Superscript},
    {u"sub", ElementRole::Subscript},
    {u"br", ElementRole::LineBreak},
    {u"p", ElementRole::Paragraph},
}};

// Short values that repeat: labels, not identifiers.
bool makesHeadings(const AttributeStats& attribute)
{
    return attribute.longest <= AttributeStats::headingLimit && attribute.distinct * 2 < attribute.count;
}

// The attribute a heading would show: among those with short values, the one that makes headings
// and is on the most elements.
quint32 headingCandidate(const ElementStats& stats, bool& makes)
{
    const AttributeStats* best = nullptr;
    for (const AttributeStats& attribute : stats.attributes) {
        if (attribute.longest > AttributeStats::headingLimit)
            continue;
        if (!best ||
            std::pair(makesHeadings(attribute), attribute.count) > std::pair(makesHeadings(*best), best->count))
            best = &attribute;
    }
    makes = best && makesHeadings(*best);
    return best ? best->attribute : ElementRoles::none;
}

} // namespace

ElementRoles ElementRoles::guess(const QStringList& names, const std::vector<ElementStats>& stats)
{
    ElementRoles roles;
    roles.m_roles.assign(stats.size(), ElementRole::Normal);
    roles.m_block.assign(stats.size(), false);
    roles.m_heading.assign(stats.size(), none);
    for (size_t n = 0; n < stats.size(); ++n) {
        const ElementStats& name = stats[n];
        bool makesHeadings = false;
        roles.m_heading[n] = headingCandidate(name, makesHeadings);
        roles.m_block[n] = name.count > 0 && name.blockCount * 2 > name.count;
        ElementRole& role = roles.m_roles[n];
        const QString text = n < size_t(names.size()) ? names.at(qsizetype(n)) : QString();
        const auto html = std::find_if(htmlNames.begin(), htmlNames.end(),
                                       [&text](const HtmlName& h) { return text == QStringView(h.name); });
        if (html != htmlNames.end())
            role = html->role;
        else if (name.count > 0 && name.titleCount * 2 > name.count)
            role = ElementRole::Title;
        else if (roles.m_block[n])
            role = makesHeadings ? ElementRole::Heading : ElementRole::Paragraph;
        else if (name.count > 0 && name.textLength <= shortText * name.count)
            role = ElementRole::Italic;
    }
    return roles;
}

void ElementRoles::setRole(quint32 name, ElementRole role)
{
    if (name < m_roles.size())
        m_roles[name] = role;
}

bool ElementRoles::startsLine(quint32 name) const
{
    switch (role(name)) {
    case ElementRole::Paragraph:
    case ElementRole::Heading:
    case ElementRole::LineBreak:
        return true;
    case ElementRole::Title:
        return isBlock(name);
    default:
        return false;
    }
}

const std::vector<ElementRole>& ElementRoles::choices()
{
    static const std::vector<ElementRole> all{
        ElementRole::Title,       ElementRole::Paragraph, ElementRole::Heading,   ElementRole::Italic,
        ElementRole::Bold,        ElementRole::SmallCaps, ElementRole::Normal,    ElementRole::Underline,
        ElementRole::Superscript, ElementRole::Subscript, ElementRole::LineBreak,
    };
    return all;
}

QString ElementRoles::roleName(ElementRole role)
{
    switch (role) {
    case ElementRole::Normal:
        return QStringLiteral("Normal");
    case ElementRole::Title:
        return QStringLiteral("Titre");
    case ElementRole::Paragraph:
        return QStringLiteral("Paragraphe");
    case ElementRole::Heading:
        return QStringLiteral("Intertitre");
    case ElementRole::Italic:
        return QStringLiteral("Italique");
    case ElementRole::Bold:
        return QStringLiteral("Gras");
    case ElementRole::SmallCaps:
        return QStringLiteral("Petites capitales");
    case ElementRole::Underline:
        return QStringLiteral("Souligné");
    case ElementRole::Superscript:
        return QStringLiteral("Exposant");
    case ElementRole::Subscript:
        return QStringLiteral("Indice");
    case ElementRole::LineBreak:
        return QStringLiteral("Saut de ligne");
    }
    return {};
}

std::optional<ElementRole> ElementRoles::roleNamed(const QString& name)
{
    for (const ElementRole role : choices()) {
        if (roleName(role) == name)
            return role;
    }
    return std::nullopt;
}

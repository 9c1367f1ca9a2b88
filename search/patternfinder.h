#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <vector>

// Finds one pattern in many texts, letter case respected or ignored. Built once per search, so
// scanning a whole corpus costs no set-up per article and no folded copy of any text.
class PatternFinder
{
public:
    PatternFinder(const QString& pattern, Qt::CaseSensitivity cs);

    // Position of the first occurrence at or after `from`, or -1. An empty pattern is never found.
    qsizetype indexIn(QStringView text, qsizetype from = 0) const;

    qsizetype size() const { return m_pattern.size(); }
    // Where the pattern holds a space, in order.
    const std::vector<qsizetype>& spaces() const { return m_spaces; }
    // Whether the `length` characters of the pattern from `part` on stand at `position` of `text`,
    // under the pattern's case rule; false when the text ends before.
    bool partMatchesAt(QStringView text, qsizetype position, qsizetype part, qsizetype length) const;
    // The case folding of every UTF-16 code unit; surrogates are left as they are.
    static const char16_t* caseFolding();
    bool isEmpty() const { return m_pattern.isEmpty(); }

private:
    static constexpr int maxVariants = 3;

    bool matchesAt(const char16_t* at) const;
    qsizetype horspool(QStringView text, qsizetype from) const;

    QString m_pattern; // case-folded when case is ignored
    std::vector<qsizetype> m_spaces;
    Qt::CaseSensitivity m_cs;
    // Case folding outside the 16-bit table (surrogate pairs) is left to Qt.
    bool m_useQt = false;
    // The characters that can stand first and last in an occurrence (one, or the case variants),
    // repeated to fill the array. Candidates are screened on both ends, eight positions at a time.
    bool m_screen = false;
    std::array<char16_t, maxVariants> m_first{};
    std::array<char16_t, maxVariants> m_last{};
    // Fallback: shift by the low byte of the text character under the pattern's last position.
    std::array<qsizetype, 256> m_shift{};
};

#pragma once

#include <QString>
#include <QStringView>

// Folding for searches that ignore accents, the same on the text and on the query: a letter of
// Latin-1 or Latin Extended-A with a canonical decomposition compares as its base letter; œ, æ
// and their capitals as "oe", "ae", "OE", "AE"; the typographic apostrophes ’ and ‘ as '. Every
// other UTF-16 unit stands for itself. Letter case is left alone: the case rule applies apart.
// The search, its marks and the find bar fold the apostrophes alone when they keep accents, so that
// the apostrophes match each other always (search/querymatcher.h).
namespace accentfolding {

enum class Level
{
    Apostrophes, // ’ and ‘ as ', nothing else
    Accents,     // everything above
};

// The folded form of one unit: one unit, or two for œ, æ, Œ and Æ.
struct Expansion
{
    char16_t first;
    char16_t second; // 0 when the unit folds to one unit
    int length() const { return second ? 2 : 1; }
};

Expansion expand(char16_t unit);
// The same at `level`: one unit always at Level::Apostrophes. Inline, so that the automaton's set-up
// at Level::Accents costs what expand(unit) costs.
inline Expansion expand(char16_t unit, Level level)
{
    if (level == Level::Accents)
        return expand(unit);
    return {unit == u'\u2019' || unit == u'\u2018' ? u'\'' : unit, 0};
}

// The whole text folded, unit by unit.
QString fold(QStringView text, Level level = Level::Accents);

// Whether `text` holds ', ’ or ‘.
bool holdsApostrophe(QStringView text);
// Whether `text` holds a surrogate, which the unit-by-unit tables of the search cannot case-fold.
bool hasSurrogates(QStringView text);

} // namespace accentfolding

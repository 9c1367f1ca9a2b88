#include "search/accentfolding.h"

#include <QChar>
#include <algorithm>
#include <memory>

namespace accentfolding {

namespace {

struct Table
{
    char16_t first[0x10000];
    char16_t second[0x10000];
};

const Table& table()
{
    static const std::unique_ptr<Table> folded = [] {
        auto t = std::make_unique<Table>();
        for (char32_t c = 0; c < 0x10000; ++c) {
            t->first[c] = char16_t(c);
            t->second[c] = 0;
        }
        // Latin-1 letters and Latin Extended-A: the base letter of a canonical decomposition.
        for (char32_t c = 0xC0; c <= 0x17F; ++c) {
            if (QChar::decompositionTag(c) != QChar::Canonical)
                continue;
            const QString parts = QChar::decomposition(c);
            if (!parts.isEmpty() && parts.front().isLetter() && parts.front().unicode() < 0x80)
                t->first[c] = parts.front().unicode();
        }
        const auto ligature = [&t](char16_t c, char16_t a, char16_t b) {
            t->first[c] = a;
            t->second[c] = b;
        };
        ligature(u'œ', u'o', u'e');
        ligature(u'Œ', u'O', u'E');
        ligature(u'æ', u'a', u'e');
        ligature(u'Æ', u'A', u'E');
        t->first[u'\u2019'] = u'\'';
        t->first[u'\u2018'] = u'\'';
        return t;
    }();
    return *folded;
}

} // namespace

Expansion expand(char16_t unit)
{
    const Table& t = table();
    return {t.first[unit], t.second[unit]};
}

namespace {

void foldInto(QStringView text, QString& out)
{
    const Table& t = table();
    out.resize(text.size());
    char16_t* to = reinterpret_cast<char16_t*>(out.data());
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.utf16()[i];
        if (t.second[u]) {
            // Rare: room for the second unit is made as it comes.
            out.resize(out.size() + 1);
            to = reinterpret_cast<char16_t*>(out.data());
            to[n++] = t.first[u];
            to[n++] = t.second[u];
        } else {
            to[n++] = t.first[u];
        }
    }
}

} // namespace

QString fold(QStringView text, Level level)
{
    QString out;
    if (level == Level::Accents) {
        foldInto(text, out);
        return out;
    }
    out = text.toString();
    for (QChar& c : out)
        c = QChar(expand(c.unicode(), level).first);
    return out;
}

bool holdsApostrophe(QStringView text)
{
    return std::any_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c == u'\'' || c == u'\u2019' || c == u'\u2018'; });
}

bool hasSurrogates(QStringView text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSurrogate(); });
}

} // namespace accentfolding

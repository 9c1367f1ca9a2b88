#pragma once

#include <QCollator>
#include <QStringView>
#include <array>
#include <vector>

// The order of the lists a French reader looks through: QCollator's for the French locale (letters
// first, then their accents, then their case, so "été" comes before "ÉTYMOLOGIE" and both before
// "SYNONYME"), then the order of code points where it sees no difference, so that distinct texts
// never tie.
class FrenchOrder
{
public:
    // A text to sort, with its first eight UTF-16 units, zero-filled, four to a word and the first in
    // the highest bits, as ElementIndex::Signature keeps them: most texts are placed by these alone,
    // without reading them. `index` is the caller's, carried along.
    struct Item
    {
        QStringView text;
        std::array<quint64, 2> prefix{};
        qsizetype index = 0;
    };

    FrenchOrder();

    // Negative, zero or positive as `a` comes before `b`, is the same text, or comes after it.
    int compare(QStringView a, QStringView b) const;
    bool operator()(QStringView a, QStringView b) const { return compare(a, b) < 0; }

    // The item of a text, its prefix taken from it.
    static Item item(QStringView text, qsizetype index = 0);

    // Sorts in this order. Texts are compared letter by letter through a table of the collator's
    // weights, eight at a time and only as far as they tie, as a sort by code units would read them;
    // the collator itself compares only what the table cannot (texts the same but for accents or
    // case, characters outside Latin and common punctuation).
    void sort(std::vector<Item>& items) const;

private:
    QCollator m_collator;
};

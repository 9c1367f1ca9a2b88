#pragma once

#include <QtGlobal>
#include <algorithm>

// Where an article's text crosses from one block element to another: the starts and ends of the
// elements whose parent has no text of its own (only elements, whitespace, comments or
// instructions), as offsets in the article's text, sorted, each once. Only those between two
// characters that are not whitespace are kept: elsewhere the whitespace already parts the words.
// A view of the element index's list, valid as long as the corpus content it comes from.
class BlockEdges
{
public:
    BlockEdges() = default;
    BlockEdges(const quint32* first, quint32 count) : m_first(first), m_count(count) {}

    const quint32* begin() const { return m_first; }
    const quint32* end() const { return m_first + m_count; }
    qsizetype size() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }

    // The first edge past `position`, or end().
    const quint32* after(qsizetype position) const
    {
        if (position < 0)
            return begin();
        if (m_count == 0 || position >= qsizetype(end()[-1]))
            return end();
        return std::upper_bound(begin(), end(), quint32(position));
    }
    bool contains(qsizetype position) const
    {
        if (m_count == 0 || position < 0 || position > qsizetype(end()[-1]))
            return false;
        return *std::lower_bound(begin(), end(), quint32(position)) == position;
    }

private:
    const quint32* m_first = nullptr;
    quint32 m_count = 0;
};

#include "searchresult.h"

void SearchResult::addHit(const ArticleEntry& entry)
{
    if (!m_hits.isEmpty() && m_hits.constLast()->number == entry.number)
        return;
    m_hits.append(&entry);
}

void SearchResult::splitTerms(const QString& text)
{
    m_terms = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

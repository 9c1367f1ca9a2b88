#include "search/searchresult.h"

QString modeName(SearchMode mode)
{
    switch (mode) {
    case SearchMode::AllArticles:
        break;
    case SearchMode::AllTerms:
        return QStringLiteral("tous");
    case SearchMode::AnyTerm:
        return QStringLiteral("auMoinsUn");
    case SearchMode::ExactPhrase:
        return QStringLiteral("exact");
    case SearchMode::Titles:
        return QStringLiteral("Corpus");
    case SearchMode::Cross:
        return QStringLiteral("croisee");
    }
    return {};
}

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

void SearchResult::describeCriteria(const QStringList& criteria)
{
    static const QString any = QStringLiteral("- INDIFFERENT -");
    static const QString rowBreak = QStringLiteral("\n\t");
    int column = 0;
    int row = 1;
    bool rowEnded = false;
    QString previous;
    for (const QString& criterion : criteria) {
        const QString shown = criterion.size() <= 50 ? criterion : criterion.left(47) + QStringLiteral("...");
        if (shown != any) {
            if (criterion.isEmpty()) {
                // Read from an empty box: the row has nothing more to show.
                column = -1;
                rowEnded = true;
                m_criteriaDescription += rowBreak;
            } else {
                if (column > 0)
                    m_criteriaDescription += QStringLiteral("-->");
                m_criteriaDescription += QLatin1Char(' ') + shown + QLatin1Char(' ');
            }
            if (column == 2) {
                m_criteriaDescription += rowBreak;
                column = -1;
                rowEnded = true;
            }
        } else if (shown != previous && column == 2) {
            m_criteriaDescription += rowBreak;
            column = -1;
            rowEnded = true;
        }
        ++column;
        if (rowEnded)
            ++row;
        if (row == 2) {
            m_criteriaDescription += QStringLiteral("2\u00BA : ");
            row = 3;
        } else if (row == 4) {
            m_criteriaDescription += QStringLiteral("3\u00BA : ");
            row = 5;
        }
        rowEnded = false;
        previous = shown;
    }
}

#pragma once

#include "articleentry.h"

#include <QList>
#include <QString>
#include <QStringList>

// How a record was made; it decides the highlighting and the wording of reports.
namespace searchmode {
inline const QString allTerms = QStringLiteral("tous");
inline const QString anyTerm = QStringLiteral("auMoinsUn");
inline const QString exactPhrase = QStringLiteral("exact");
inline const QString titles = QStringLiteral("Corpus");
inline const QString cross = QStringLiteral("croisee");
} // namespace searchmode

// One tab's result: the hits, in order, and what is needed to highlight and describe them.
// A value type; the hits point at entries owned by the corpus's article index.
class SearchResult
{
public:
    int count() const { return static_cast<int>(m_hits.size()); }
    const QList<const ArticleEntry*>& hits() const { return m_hits; }
    // Never appends the same article twice in a row.
    void addHit(const ArticleEntry& entry);

    // Terms are the text split on the space character, empty pieces dropped.
    void splitTerms(const QString& text);
    QStringList terms() const { return m_terms; }
    // The terms joined with single spaces.
    QString phrase() const { return m_terms.join(QLatin1Char(' ')); }

    QString mode() const { return m_mode; }
    void setMode(const QString& mode) { m_mode = mode; }
    bool caseSensitive() const { return m_caseSensitive; }
    void setCaseSensitive(bool caseSensitive) { m_caseSensitive = caseSensitive; }

    QStringList criteria() const { return m_criteria; }
    void insertCriterion(const QString& criterion, int position) { m_criteria.insert(position, criterion); }
    QString criteriaDescription() const { return m_criteriaDescription; }
    void appendCriteriaDescription(const QString& text) { m_criteriaDescription += text; }
    // Appends the readable form of nine grid criteria: the chosen texts of a row joined by "-->",
    // rows after the first opened by "2º : " and "3º : ", long texts cut to 47 characters and "...".
    void describeCriteria(const QStringList& criteria);
    QStringList matchedValues() const { return m_matchedValues; }
    void addMatchedValue(const QString& value) { m_matchedValues.append(value); }

private:
    QList<const ArticleEntry*> m_hits;
    QStringList m_terms;
    QString m_mode;
    bool m_caseSensitive = false;
    QStringList m_criteria;
    QString m_criteriaDescription;
    QStringList m_matchedValues;
};

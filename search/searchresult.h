#pragma once

#include "corpus/articleentry.h"
#include "corpus/corpuscontent.h"
#include "search/searchscope.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

// How a record was made; it decides the highlighting and the wording of reports.
enum class SearchMode
{
    AllArticles, // every article, nothing marked
    AllTerms,
    AnyTerm,
    ExactPhrase,
    Titles, // the title filter
    Cross,
};

// The mode as reports and saved searches name it: "tous", "auMoinsUn", "exact", "Corpus",
// "croisee", or empty for every article.
QString modeName(SearchMode mode);

// One tab's result: the hits, in order, and what is needed to highlight and describe them.
// A value type. The hits point at entries of a corpus's content, which a record made from a corpus
// keeps alive; each entry brings its text and its block edges, which the marks follow.
class SearchResult
{
public:
    int count() const { return static_cast<int>(m_hits.size()); }
    const QList<const ArticleEntry*>& hits() const { return m_hits; }
    // Never appends the same article twice in a row.
    void addHit(const ArticleEntry& entry);
    // The hits at once, each article once, in order: the list is shared, not copied.
    void setHits(QList<const ArticleEntry*> hits) { m_hits = std::move(hits); }

    // The content the hits point into, kept as long as the record (or a copy of it) lives.
    const std::shared_ptr<const CorpusContent>& content() const { return m_content; }
    void keep(std::shared_ptr<const CorpusContent> content) { m_content = std::move(content); }

    // Terms are the text split on the space character, empty pieces dropped.
    void splitTerms(const QString& text);
    QStringList terms() const { return m_terms; }
    // The terms joined with single spaces.
    QString phrase() const { return m_terms.join(QLatin1Char(' ')); }

    SearchMode mode() const { return m_mode; }
    void setMode(SearchMode mode) { m_mode = mode; }
    bool caseSensitive() const { return m_caseSensitive; }
    void setCaseSensitive(bool caseSensitive) { m_caseSensitive = caseSensitive; }
    // Whether the search, and so the marks, compared letters without their accents.
    bool ignoresAccents() const { return m_ignoreAccents; }
    void setIgnoreAccents(bool ignore) { m_ignoreAccents = ignore; }
    // Where the full-text search looked; its marks lie there too.
    const SearchScope& scope() const { return m_scope; }
    void setScope(SearchScope scope) { m_scope = std::move(scope); }

    QString criteriaDescription() const { return m_criteriaDescription; }
    void appendCriteriaDescription(const QString& text) { m_criteriaDescription += text; }
    // Appends the readable form of nine grid criteria: the chosen texts of a row joined by "-->",
    // rows after the first opened by "2º : " and "3º : ", long texts cut to 47 characters and "...".
    void describeCriteria(const QStringList& criteria);
    QStringList matchedValues() const { return m_matchedValues; }
    void addMatchedValue(const QString& value) { m_matchedValues.append(value); }

private:
    std::shared_ptr<const CorpusContent> m_content;
    QList<const ArticleEntry*> m_hits;
    QStringList m_terms;
    SearchMode m_mode = SearchMode::AllArticles;
    bool m_caseSensitive = false;
    bool m_ignoreAccents = false;
    SearchScope m_scope;
    QString m_criteriaDescription;
    QStringList m_matchedValues;
};

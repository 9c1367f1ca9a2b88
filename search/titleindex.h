#pragma once

#include "corpus/articleentry.h"
#include "corpus/corpuscontent.h"

#include <QList>
#include <QString>
#include <QStringView>
#include <memory>
#include <thread>
#include <vector>

// The titles of one load laid end to end in one buffer, letter case folded, and again in a second
// buffer with accents folded first (search/accentfolding.h), each with the offset where every title
// starts. The title filter scans these rather than one heap string per title. The index keeps the
// content it describes alive, so the hits it gives point into it as long as it lives. Copies share
// the buffers; an index and its copies are used from one thread.
class TitleIndex
{
public:
    // No titles.
    TitleIndex();
    explicit TitleIndex(std::shared_ptr<const CorpusContent> content);

    const std::shared_ptr<const CorpusContent>& content() const { return m_content; }
    // Every article, in document order.
    const QList<const ArticleEntry*>& everyArticle() const { return m_every; }

    // The pattern as it is compared with the buffers; null when it holds surrogates, whose case
    // folding Qt does on whole code points and the buffers do not.
    static QString fold(QStringView pattern, bool ignoreAccents);

    // The articles of `among` (in document order, entries of this index's content) whose title
    // contains `pattern`, letter case ignored and accents too with `ignoreAccents`. `folded` is
    // fold(pattern, ignoreAccents).
    QList<const ArticleEntry*> find(const QString& pattern, const QString& folded, bool ignoreAccents,
                                    const QList<const ArticleEntry*>& among) const;

private:
    struct Buffer
    {
        std::vector<char16_t> units;
        std::vector<qsizetype> starts; // one per title, then the end
        std::vector<quint64> letters;  // per title, the letter classes it holds (letterClass())
    };

    // Titles among `among` holding `folded`, found in the folded buffer.
    QList<const ArticleEntry*> scan(const Buffer& buffer, const QString& folded,
                                    const QList<const ArticleEntry*>& among) const;
    // The titles themselves, folded one by one: patterns with surrogates.
    QList<const ArticleEntry*> scanTitles(const QString& pattern, bool ignoreAccents,
                                          const QList<const ArticleEntry*>& among) const;

    // The buffers, folded on threads of their own from the index's making on, so that the list of
    // titles shows before they are ready; the first search waits for them.
    struct Folded
    {
        Folded() = default;
        Folded(const Folded&) = delete;
        Folded& operator=(const Folded&) = delete;
        ~Folded() { wait(); }
        void wait()
        {
            if (folder.joinable())
                folder.join();
        }
        Buffer cased;
        Buffer plain; // accents folded, then letter case
        std::thread folder;
    };
    // The buffers, once folded.
    const Folded& folded() const;

    std::shared_ptr<const CorpusContent> m_content;
    std::shared_ptr<Folded> m_folded;
    QList<const ArticleEntry*> m_every;
};

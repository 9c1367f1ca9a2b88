#pragma once

#include "bench/prng.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <cstdint>
#include <vector>

class QIODevice;

// Writes a French-like corpus of a given size. The same words, seed, size and profile always give
// the same bytes: all randomness comes from Prng and all weights are integers.
//
// The encyclopedia profile: word frequencies follow a Zipf-like law over a shuffled vocabulary headed by French
// function words; article lengths are very uneven (a few over 12,000 characters); the markup has attributes with few
// and with many distinct values, nested elements and a <terme> element that recurs throughout long articles; the text
// has « guillemets », elisions with both apostrophes, parentheses and &amp;.
//
// The dictionary profile: short articles with dense, nested markup, as in a large French dictionary
// (about 1,160 bytes and 17 elements an article): headword, pronunciation, grammatical category,
// numbered senses with their definitions and quotations, cross-references, etymology.
//
// Either profile may be packed: the elements that stand side by side in a block (the article's
// headword, category and definitions; a sense's definition and quotations) then meet without the
// spaces and punctuation between them, as machine-written XML has them, so that their words meet at
// block edges. The same seed gives the same words either way.
class CorpusGenerator
{
public:
    enum class Profile
    {
        Encyclopedia,
        Dictionary
    };

    enum class Spacing
    {
        Spaced,
        Packed
    };

    CorpusGenerator(const QStringList& words, std::uint64_t seed, Profile profile = Profile::Encyclopedia,
                    Spacing spacing = Spacing::Spaced);

    // Writes articles until at least targetBytes are written, then closes the document.
    // Returns the number of articles.
    qint64 write(QIODevice& out, qint64 targetBytes);

    static QByteArray generate(const QStringList& words, std::uint64_t seed, qint64 targetBytes,
                               Profile profile = Profile::Encyclopedia, Spacing spacing = Spacing::Spaced);

    // "encyclopedia" or "dictionary"; profileFromName sets ok to false on any other name.
    static QString profileName(Profile profile);
    static Profile profileFromName(const QString& name, bool* ok);

    // The words of a list such as /usr/share/dict/french, one a line, UTF-8: those made of
    // small letters only (no proper nouns, no compounds). Empty when the file cannot be read.
    static QStringList readWordList(const QString& path);

private:
    struct Word
    {
        QByteArray text;
        bool vowelStart = false;
    };

    const Word& zipfWord();
    const Word& anyWord();
    QByteArray headword();
    // What sets two elements of a block apart, unless packed.
    void appendBetween(QByteArray& out, const char* separator) const;
    void appendArticle(QByteArray& out, qint64 number);
    void appendDictionaryArticle(QByteArray& out, qint64 number);
    void appendSense(QByteArray& out, int number);
    void appendQuotation(QByteArray& out);
    void appendEtymology(QByteArray& out);
    void appendSentence(QByteArray& out, int count);
    int senseCount();
    void appendParagraph(QByteArray& out, int targetLength);
    void appendPlainWords(QByteArray& out, int count);
    int articleLength();

    Prng m_random;
    Profile m_profile;
    Spacing m_spacing;
    std::vector<Word> m_words;               // by frequency rank
    std::vector<std::uint64_t> m_cumulative; // running sum of the rank weights
    QList<QByteArray> m_authors;
    QByteArray m_previousHeadword;
};

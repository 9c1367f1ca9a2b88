#include "bench/corpusgenerator.h"

#include <QBuffer>
#include <QFile>
#include <QIODevice>
#include <algorithm>
#include <iterator>

namespace {

// The most frequent words of French prose, in rough order; the rest of the vocabulary follows.
const char* const functionWords[] = {"de",    "la",   "le",   "et",    "les",  "des",  "en",    "un",    "du",   "une",
                                     "que",   "est",  "pour", "qui",   "dans", "par",  "il",    "au",    "sur",  "ne",
                                     "se",    "pas",  "plus", "on",    "ce",   "avec", "sont",  "aux",   "ou",   "mais",
                                     "comme", "son",  "sa",   "ses",   "elle", "nous", "leur",  "cette", "fait", "être",
                                     "tout",  "deux", "même", "autre", "dont", "fort", "corps", "partie"};

struct Domain
{
    const char* type;
    const char* label;
};

const Domain domains[] = {{"physique", "Physique"},
                          {"grammaire", "Grammaire"},
                          {"jurisprudence", "Jurisprudence"},
                          {"medecine", "Médecine"},
                          {"botanique", "Botanique"},
                          {"chimie", "Chimie"},
                          {"histoire", "Histoire"},
                          {"geographie", "Géographie"},
                          {"theologie", "Théologie"},
                          {"marine", "Marine"},
                          {"art-militaire", "Art milit."},
                          {"musique", "Musique"},
                          {"architecture", "Architecture"},
                          {"commerce", "Commerce"},
                          {"agriculture", "Agriculture"},
                          {"peinture", "Peinture"},
                          {"mathematiques", "Mathém."},
                          {"astronomie", "Astronomie"},
                          {"anatomie", "Anatomie"},
                          {"morale", "Morale"},
                          {"metaphysique", "Métaphysique"},
                          {"logique", "Logique"},
                          {"pharmacie", "Pharmacie"},
                          {"chirurgie", "Chirurgie"},
                          {"blason", "Blason"},
                          {"venerie", "Vénerie"},
                          {"manege", "Manège"},
                          {"horlogerie", "Horlogerie"},
                          {"menuiserie", "Menuiserie"},
                          {"mythologie", "Mythologie"}};

const char* const grammaticalCategories[] = {"s. m.", "s. f.", "adj.", "v. a.", "v. n.", "adv.", "s. m. pl.", "prép."};
const char* const senses[] = {"propre", "figuré", "technique"};
const char* const elisions[] = {"l", "d", "qu", "n", "s", "j", "c"};
const char* const indications[] = {"Fig.",        "Par extension.",   "Familièrement.",
                                   "Absolument.", "Terme de marine.", "Terme de palais.",
                                   "Vieilli.",    "Poétiquement."};
const char* const languages[] = {"latin", "latin", "latin", "bas-latin", "grec", "italien", "espagnol", "germanique"};
const char* const latinEndings[] = {"us", "um", "are", "ia", "ere", "atus", "ire", "io"};
const char* const romanNumerals[] = {"I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX", "X"};
const QByteArray straightApostrophe = "'";
const QByteArray typographicApostrophe = "\xE2\x80\x99";

constexpr int vocabularyLimit = 40000; // ranks beyond this would almost never be drawn
constexpr int authorCount = 400;
constexpr qint64 flushSize = 1 << 20;

template <typename T, std::size_t N> const T& pick(Prng& random, const T (&items)[N])
{
    return items[random.below(N)];
}

bool startsWithVowel(const QByteArray& word)
{
    static const QByteArray vowels = "aeiouhy";
    if (word.isEmpty())
        return false;
    if (vowels.contains(word.at(0)))
        return true;
    // é, è, ê, â, î, ô in UTF-8
    return word.size() > 1 && static_cast<unsigned char>(word.at(0)) == 0xC3 &&
           QByteArray("\xA9\xA8\xAA\xA2\xAE\xB4").contains(word.at(1));
}

QByteArray upper(const QByteArray& word)
{
    return QString::fromUtf8(word).toUpper().toUtf8();
}

QByteArray capitalised(const QByteArray& word)
{
    QString text = QString::fromUtf8(word);
    if (!text.isEmpty())
        text[0] = text.at(0).toUpper();
    return text.toUtf8();
}

// The unaccented capital that files the headword: É files under E.
QByteArray letterOf(const QByteArray& headword)
{
    const QString text = QString::fromUtf8(headword);
    if (text.isEmpty())
        return "A";
    const QString decomposed = text.left(1).normalized(QString::NormalizationForm_D);
    return decomposed.left(1).toUpper().toUtf8();
}

// A rough syllable split, as the pronunciation of a dictionary writes it: a-bais-ser.
QByteArray pronunciationOf(const QByteArray& headword)
{
    static const QString vowels = QStringLiteral("aeiouyéèêàâîïôûù");
    const QString word = QString::fromUtf8(headword).toLower();
    QString spoken;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const bool consonant = !vowels.contains(word.at(i));
        if (i > 0 && consonant && i + 1 < word.size() && vowels.contains(word.at(i + 1)))
            spoken += QLatin1Char('-');
        spoken += word.at(i);
    }
    return spoken.toUtf8();
}

} // namespace

CorpusGenerator::CorpusGenerator(const QStringList& words, std::uint64_t seed, Profile profile, Spacing spacing)
    : m_random(seed), m_profile(profile), m_spacing(spacing)
{
    QList<QByteArray> rest;
    QList<QByteArray> head;
    for (const char* word : functionWords)
        head.append(word);
    for (const QString& word : words) {
        const QByteArray utf8 = word.toUtf8();
        if (!utf8.isEmpty() && !head.contains(utf8))
            rest.append(utf8);
    }
    // Fisher-Yates with our own generator, so that frequency does not follow the alphabet.
    for (qsizetype i = rest.size() - 1; i > 0; --i)
        std::swap(rest[i], rest[static_cast<qsizetype>(m_random.below(static_cast<std::uint64_t>(i) + 1))]);
    if (rest.size() > vocabularyLimit)
        rest.resize(vocabularyLimit);

    for (const QByteArray& word : head + rest)
        m_words.push_back({word, startsWithVowel(word)});
    // Weight of rank r is proportional to 1 / (r + 3): Zipf's law with exponent 1, flattened at the top.
    std::uint64_t sum = 0;
    for (std::size_t rank = 0; rank < m_words.size(); ++rank) {
        sum += (std::uint64_t(1) << 40) / (rank + 3);
        m_cumulative.push_back(sum);
    }
    for (int i = 0; i < authorCount; ++i) {
        QByteArray name = capitalised(anyWord().text);
        if (m_random.chance(30))
            name = "M. " + name;
        m_authors.append(name);
    }
}

const CorpusGenerator::Word& CorpusGenerator::zipfWord()
{
    const std::uint64_t draw = m_random.below(m_cumulative.back());
    const auto found = std::upper_bound(m_cumulative.begin(), m_cumulative.end(), draw);
    return m_words[static_cast<std::size_t>(std::distance(m_cumulative.begin(), found))];
}

const CorpusGenerator::Word& CorpusGenerator::anyWord()
{
    return m_words[m_random.below(m_words.size())];
}

QByteArray CorpusGenerator::headword()
{
    // Encyclopedias repeat a headword for its several senses.
    if (!m_previousHeadword.isEmpty() && m_random.chance(4))
        return m_previousHeadword;
    m_previousHeadword = upper(anyWord().text);
    return m_previousHeadword;
}

void CorpusGenerator::appendBetween(QByteArray& out, const char* separator) const
{
    if (m_spacing == Spacing::Spaced)
        out += separator;
}

int CorpusGenerator::articleLength()
{
    // Characters of definition text: mostly short, a long tail past 12,000.
    const int bucket = m_random.between(0, 999);
    if (bucket < 640)
        return m_random.between(60, 300);
    if (bucket < 920)
        return m_random.between(300, 1700);
    if (bucket < 990)
        return m_random.between(1700, 8000);
    return m_random.between(12000, 30000);
}

void CorpusGenerator::appendPlainWords(QByteArray& out, int count)
{
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            out += ' ';
        out += zipfWord().text;
    }
}

void CorpusGenerator::appendParagraph(QByteArray& out, int targetLength)
{
    const qsizetype start = out.size();
    bool sentenceStart = true;
    while (out.size() - start < targetLength) {
        if (out.size() > start)
            out += ' ';
        const int roll = m_random.between(0, 999);
        const Word& word = zipfWord();
        QByteArray text = sentenceStart ? capitalised(word.text) : word.text;
        if (roll < 40) {
            out += "<terme>" + text + "</terme>";
        } else if (roll < 48) {
            out += "<renvoi cible=\"" + upper(anyWord().text) + "\">voyez ";
            if (m_random.chance(50)) {
                out += "<terme>" + text + "</terme>";
            } else {
                out += text;
            }
            out += "</renvoi>";
        } else if (roll < 63) {
            out += text + " (";
            appendPlainWords(out, m_random.between(1, 5));
            out += ')';
        } else if (roll < 75) {
            out += text + " \xC2\xAB ";
            appendPlainWords(out, m_random.between(2, 7));
            out += " \xC2\xBB";
        } else if (roll < 80) {
            out += text + " &amp;";
            if (m_random.chance(40))
                out += 'c';
        } else if (roll < 200 && word.vowelStart && !sentenceStart) {
            out += pick(m_random, elisions);
            out += m_random.chance(50) ? straightApostrophe : typographicApostrophe;
            out += text;
        } else {
            out += text;
        }
        sentenceStart = false;
        const int end = m_random.between(0, 99);
        if (end < 7) {
            out += '.';
            sentenceStart = true;
        } else if (end < 15) {
            out += ',';
        } else if (end < 16) {
            out += " ;";
        } else if (end < 17) {
            out += " :";
        }
    }
    if (!sentenceStart)
        out += '.';
}

void CorpusGenerator::appendArticle(QByteArray& out, qint64 number)
{
    const QByteArray head = headword();
    out += "<article id=\"a" + QByteArray::number(number).rightJustified(6, '0') + "\" lettre=\"" + letterOf(head) +
           "\"><vedette>" + head + "</vedette>";
    if (m_random.chance(95)) {
        const char* category = pick(m_random, grammaticalCategories);
        appendBetween(out, ", ");
        out += QByteArray("<categorie gram=\"") + category + "\">" + category + "</categorie>";
    }
    if (m_random.chance(80)) {
        const Domain& domain = pick(m_random, domains);
        appendBetween(out, " ");
        out += QByteArray("<domaine type=\"") + domain.type + "\">(" + domain.label + ".)</domaine>";
    }
    int remaining = articleLength();
    while (remaining > 0) {
        const int paragraph = std::min(remaining, m_random.between(800, 3000));
        appendBetween(out, "\n");
        out += "<definition sens=\"";
        out += m_random.chance(75) ? senses[0] : pick(m_random, senses);
        out += "\">";
        appendParagraph(out, paragraph);
        out += "</definition>";
        remaining -= paragraph;
    }
    if (m_random.chance(45)) {
        appendBetween(out, "\n");
        out += "<exemple>\xC2\xAB ";
        appendPlainWords(out, m_random.between(3, 12));
        out += " \xC2\xBB</exemple>";
    }
    if (m_random.chance(70)) {
        const QByteArray& author = m_authors.at(static_cast<qsizetype>(m_random.below(authorCount)));
        appendBetween(out, " ");
        out += "<auteur nom=\"" + author + "\">(" + author + ")</auteur>";
    }
    if (m_random.chance(60)) {
        const QByteArray year = QByteArray::number(m_random.between(1700, 1789));
        appendBetween(out, " ");
        out += "<date annee=\"" + year + "\">[" + year + "]</date>";
    }
    out += "</article>\n";
}

int CorpusGenerator::senseCount()
{
    // Most words have one or two senses; a few common ones have dozens.
    const int bucket = m_random.between(0, 999);
    if (bucket < 440)
        return 1;
    if (bucket < 690)
        return 2;
    if (bucket < 840)
        return 3;
    if (bucket < 970)
        return m_random.between(4, 6);
    return m_random.between(7, 24);
}

void CorpusGenerator::appendSentence(QByteArray& out, int count)
{
    for (int i = 0; i < count; ++i) {
        const Word& word = zipfWord();
        if (i > 0)
            out += m_random.chance(8) ? ", " : " ";
        out += i == 0 ? capitalised(word.text) : word.text;
    }
    out += '.';
}

void CorpusGenerator::appendQuotation(QByteArray& out)
{
    const QByteArray& author = m_authors.at(static_cast<qsizetype>(m_random.below(authorCount)));
    out += "<cit aut=\"" + author + '"';
    if (m_random.chance(60)) {
        out += " ref=\"" + capitalised(anyWord().text) + ", ";
        out += pick(m_random, romanNumerals);
        out += ", " + QByteArray::number(m_random.between(1, 30)) + '"';
    }
    out += ">\xC2\xAB ";
    appendSentence(out, m_random.between(3, 15));
    out += " \xC2\xBB</cit>";
}

void CorpusGenerator::appendSense(QByteArray& out, int number)
{
    appendBetween(out, "\n");
    out += "<sens n=\"" + QByteArray::number(number) + "\">";
    if (m_random.chance(30)) {
        out += "<indication>";
        out += pick(m_random, indications);
        out += "</indication>";
        appendBetween(out, " ");
    }
    out += "<definition>";
    appendParagraph(out, m_random.chance(90) ? m_random.between(30, 130) : m_random.between(130, 600));
    out += "</definition>";
    const int bucket = m_random.between(0, 99);
    const int quotations = bucket < 30 ? 0 : bucket < 75 ? 1 : bucket < 93 ? 2 : m_random.between(3, 4);
    for (int i = 0; i < quotations; ++i) {
        appendBetween(out, " ");
        appendQuotation(out);
    }
    if (m_random.chance(12)) {
        const QByteArray target = upper(anyWord().text);
        appendBetween(out, " ");
        out += "<renvoi cible=\"" + target + "\">Voy. " + target + "</renvoi>";
    }
    out += "</sens>";
}

void CorpusGenerator::appendEtymology(QByteArray& out)
{
    appendBetween(out, "\n");
    out += "<etymologie>";
    const int sources = m_random.chance(70) ? 1 : m_random.between(2, 3);
    for (int i = 0; i < sources; ++i) {
        out += i == 0 ? "Du " : " ; ";
        const char* language = pick(m_random, languages);
        out += QByteArray(language) + " <mot lang=\"" + language + "\">" + anyWord().text;
        out += pick(m_random, latinEndings);
        out += "</mot>";
    }
    if (m_random.chance(40)) {
        out += ", ";
        appendPlainWords(out, m_random.between(3, 10));
    }
    out += ".</etymologie>";
}

void CorpusGenerator::appendDictionaryArticle(QByteArray& out, qint64 number)
{
    const QByteArray head = headword();
    out += "<article id=\"d" + QByteArray::number(number).rightJustified(6, '0') + "\"><vedette>" + head + "</vedette>";
    appendBetween(out, " ");
    out += "<prononciation>(" + pronunciationOf(head) + ")</prononciation>";
    const char* category = pick(m_random, grammaticalCategories);
    appendBetween(out, ", ");
    out += QByteArray("<categorie gram=\"") + category + "\">" + category + "</categorie>";
    const int senses = senseCount();
    for (int n = 1; n <= senses; ++n)
        appendSense(out, n);
    if (m_random.chance(10)) {
        appendBetween(out, "\n");
        out += "<remarque>";
        appendParagraph(out, m_random.between(80, 400));
        out += "</remarque>";
    }
    if (m_random.chance(20)) {
        appendBetween(out, "\n");
        out += "<historique>";
        const int quotations = m_random.between(1, 3);
        for (int i = 0; i < quotations; ++i) {
            if (i > 0)
                appendBetween(out, " ");
            appendQuotation(out);
        }
        out += "</historique>";
    }
    if (m_random.chance(85))
        appendEtymology(out);
    if (m_random.chance(30)) {
        const QByteArray target = upper(anyWord().text);
        appendBetween(out, " ");
        out += "<renvoi cible=\"" + target + "\">" + target + "</renvoi>";
    }
    out += "</article>\n";
}

qint64 CorpusGenerator::write(QIODevice& out, qint64 targetBytes)
{
    const bool dictionary = m_profile == Profile::Dictionary;
    QByteArray buffer = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    buffer += dictionary ? "<dictionnaire>\n" : "<encyclopedie>\n";
    qint64 written = 0;
    qint64 articles = 0;
    while (written + buffer.size() < targetBytes) {
        if (dictionary)
            appendDictionaryArticle(buffer, articles++);
        else
            appendArticle(buffer, articles++);
        if (buffer.size() >= flushSize) {
            written += out.write(buffer);
            buffer.clear();
        }
    }
    buffer += dictionary ? "</dictionnaire>\n" : "</encyclopedie>\n";
    out.write(buffer);
    return articles;
}

QByteArray CorpusGenerator::generate(const QStringList& words, std::uint64_t seed, qint64 targetBytes, Profile profile,
                                     Spacing spacing)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    CorpusGenerator(words, seed, profile, spacing).write(buffer, targetBytes);
    return buffer.data();
}

QString CorpusGenerator::profileName(Profile profile)
{
    return profile == Profile::Dictionary ? QStringLiteral("dictionary") : QStringLiteral("encyclopedia");
}

CorpusGenerator::Profile CorpusGenerator::profileFromName(const QString& name, bool* ok)
{
    *ok = name == profileName(Profile::Encyclopedia) || name == profileName(Profile::Dictionary);
    return name == profileName(Profile::Dictionary) ? Profile::Dictionary : Profile::Encyclopedia;
}

QStringList CorpusGenerator::readWordList(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList words;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& line : lines) {
        const QString word = QString::fromUtf8(line).trimmed();
        const bool smallLetters =
            !word.isEmpty() && std::all_of(word.cbegin(), word.cend(), [](QChar c) { return c.isLower(); });
        if (smallLetters)
            words.append(word);
    }
    return words;
}

#include "search/searchreport.h"

namespace searchreport {

namespace {

const QString separator = QStringLiteral("---------------------------\n");

QString optionsText(SearchMode mode)
{
    switch (mode) {
    case SearchMode::AllTerms:
        return QStringLiteral("Tous les mots \n");
    case SearchMode::AnyTerm:
        return QStringLiteral("Au moins un des termes \n");
    case SearchMode::ExactPhrase:
        return QStringLiteral("Expression exacte \n");
    case SearchMode::AllArticles:
    case SearchMode::Titles:
    case SearchMode::Cross:
        break;
    }
    // Any other mode writes nothing, not even a line end: the count follows on the same line.
    return {};
}

// The rules of letters a search followed; nothing before any search, where the count follows the
// options on their line.
QString caseLine(const SearchResult& result)
{
    return result.caseSensitive() ? QStringLiteral("Casse : respectée\n") : QStringLiteral("Casse : ignorée\n");
}

QString accentsLine(const SearchResult& result)
{
    return result.ignoresAccents() ? QStringLiteral("Accents : ignorés\n") : QString();
}

QString countAndTitles(const SearchResult& result)
{
    QString out =
        QStringLiteral("Nombre d'articles : ") + QString::number(result.count()) + QLatin1Char('\n') + separator;
    for (const ArticleEntry* hit : result.hits())
        out += hit->title + QLatin1Char('\n');
    return out;
}

} // namespace

QString header()
{
    return QStringLiteral("     ..:: Tarvane ::..\n") + separator;
}

QString text(Kind kind, const SearchResult& result)
{
    QString out = header();
    const QString terms = result.terms().join(QLatin1Char(' '));
    switch (kind) {
    case Kind::Corpus:
        out += QStringLiteral("Type de Recherche : Corpus \n\n");
        out += QStringLiteral("Critère de recherche : ") + terms + QLatin1Char('\n');
        if (result.mode() == SearchMode::Titles)
            out += accentsLine(result);
        break;
    case Kind::Simple:
        out += QStringLiteral("Type de Recherche : Simple \n\n");
        out += QStringLiteral("Critères de recherche : ") + terms + QLatin1Char('\n');
        out += QStringLiteral("Options : ") + optionsText(result.mode());
        if (!result.scope().isWholeArticle())
            out += QStringLiteral("Dans : ") + result.scope().element + QLatin1Char('\n');
        if (!optionsText(result.mode()).isEmpty())
            out += caseLine(result) + accentsLine(result);
        break;
    case Kind::Cross:
        out += QStringLiteral("Type de Recherche : Croisée \n\n");
        out += QStringLiteral("Critères de recherche : \n");
        out += QStringLiteral("\t1º : ") + result.criteriaDescription() + QStringLiteral("\n\n");
        break;
    }
    return out + countAndTitles(result);
}

} // namespace searchreport

#pragma once

#include "search/searchreport.h"

#include <QString>
#include <optional>

class Dialogs;
class QFont;
class QTextEdit;
class QWidget;
class ResultPane;
class SearchResult;

// What the menu bar reaches of the main window. The window lives above the menu in the dependency
// order, so the menu talks to it through this interface, which the window implements.
class MenuHost
{
public:
    // The current tab as the per-tab commands see it.
    struct Tab
    {
        QTextEdit* view = nullptr;
        const SearchResult* record = nullptr;
        // The row of `record` that `view` shows, -1 when it shows none.
        int shownRow = -1;
        searchreport::Kind kind = searchreport::Kind::Corpus;
    };

    virtual ~MenuHost() = default;

    // The main window: parent of the menu bar and of the help pages.
    virtual QWidget& mainWindow() = 0;
    // None when no tab of the three is current.
    virtual std::optional<Tab> currentTab() const = 0;
    // The current tab's reading: its find bar, its marks, the articles it has shown. None when no
    // tab of the three is current.
    virtual ResultPane* currentPane() = 0;
    // The corpus file loaded or asked for last; empty before any.
    virtual const QString& corpusPath() const = 0;
    // The record of "Recherche Simple", which the concordance lists.
    virtual const SearchResult& resultSimple() const = 0;

    // Applies the background colour to the window and stores it in the settings file.
    virtual void setBackground(const QString& colourName) = 0;
    // Applies the font to the three article views and stores its family in the settings file.
    virtual void setArticleFont(const QFont& font) = 0;
    // Stores the path in the settings file, then loads it and refreshes every tab.
    virtual void openCorpus(const QString& path) = 0;
    // Whether the searches, the title filter and the marks compare letters without their accents.
    virtual bool ignoresAccents() const = 0;
    // Stores the choice in the settings file; the title filter and the last search follow it.
    virtual void setIgnoreAccents(bool ignore) = 0;
    // Whether articles show as plain text rather than with their structure; kept in the settings.
    virtual bool showsPlainText() const = 0;
    virtual void setShowsPlainText(bool plain) = 0;
    // Lets the user change the roles of the corpus's element names ("Mise en forme").
    virtual void chooseRoles() = 0;
    // Whether a store of the corpus is kept, so that it opens at once the next time; kept in the
    // settings. Turning it off deletes the store of the corpus open.
    virtual bool keepsIndex() const = 0;
    virtual void setKeepsIndex(bool keep) = 0;

    // Shows the concordance window over the last simple search.
    virtual void showConcordance() = 0;

    // The article views' size, in steps of one point from the chosen font's; setting it stores it.
    virtual int articleZoom() const = 0;
    virtual void setArticleZoom(int steps) = 0;

    virtual Dialogs& dialogs() const = 0;
};

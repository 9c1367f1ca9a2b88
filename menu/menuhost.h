#pragma once

#include "searchresult.h"

#include <QString>

class Dialogs;
class GUI_Base;

// What the menu bar needs of the main window. The window lives above the menu in the dependency
// order, so the menu talks to it through this interface and the window's side implements it.
class MenuHost
{
public:
    virtual ~MenuHost() = default;

    // The main window itself: its tabs, article views and palette. Parent of the menu bar.
    virtual GUI_Base& form() = 0;

    virtual const SearchResult& resultCorpus() const = 0;
    virtual const SearchResult& resultSimple() const = 0;
    virtual const SearchResult& resultCroisee() const = 0;

    virtual void setCorpusPath(const QString& path) = 0;
    virtual void setColourName(const QString& name) = 0;
    virtual void setFontFamily(const QString& family) = 0;
    // Rewrites the settings file from the path, colour and font family.
    virtual void saveSettings() = 0;
    // Loads the corpus path and refreshes every tab.
    virtual void loadCorpus() = 0;

    virtual Dialogs& dialogs() = 0;
};

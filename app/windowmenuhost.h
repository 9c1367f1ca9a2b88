#pragma once

#include "menuhost.h"

class OxelDialog;

// The main window as the menu bar sees it.
class WindowMenuHost final : public MenuHost
{
public:
    explicit WindowMenuHost(OxelDialog& window) : m_window(window) {}

    GUI_Base& form() override;
    const SearchResult& resultCorpus() const override;
    const SearchResult& resultSimple() const override;
    const SearchResult& resultCroisee() const override;
    void setCorpusPath(const QString& path) override;
    void setColourName(const QString& name) override;
    void setFontFamily(const QString& family) override;
    void saveSettings() override;
    void loadCorpus() override;
    Dialogs& dialogs() override;

private:
    OxelDialog& m_window;
};

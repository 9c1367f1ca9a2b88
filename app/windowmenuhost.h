#pragma once

#include "menuhost.h"

class OxelDialog;

// The main window as the menu bar sees it.
class WindowMenuHost final : public MenuHost
{
public:
    explicit WindowMenuHost(OxelDialog& window) : m_window(window) {}

    QWidget& window() override;
    std::optional<Tab> currentTab() const override;
    void setBackground(const QString& colourName) override;
    void setArticleFont(const QFont& font) override;
    void openCorpus(const QString& path) override;
    Dialogs& dialogs() override;

private:
    OxelDialog& m_window;
};

#include "windowmenuhost.h"

#include "articlefont.h"
#include "oxeldialog.h"
#include "resultview.h"

#include <QTabWidget>
#include <QTextEdit>

QWidget& WindowMenuHost::window()
{
    return m_window;
}

std::optional<MenuHost::Tab> WindowMenuHost::currentTab() const
{
    const auto tab = [](QTextEdit* view, const SearchResult& record, searchreport::Kind kind) {
        return Tab{view, &record, shownRow(view), kind};
    };
    switch (m_window.Onglets->currentIndex()) {
    case 0:
        return tab(m_window.TxtView_Corpus, m_window.resultCorpus(), searchreport::Kind::Corpus);
    case 1:
        return tab(m_window.Txt_Art, m_window.resultSimple(), searchreport::Kind::Simple);
    case 2:
        return tab(m_window.Txt_Art_Cro, m_window.resultCroisee(), searchreport::Kind::Cross);
    default:
        return std::nullopt;
    }
}

void WindowMenuHost::setBackground(const QString& colourName)
{
    m_window.setColourName(colourName);
    m_window.saveSettings();
    m_window.setPalette(backgroundPalette(colourName));
}

void WindowMenuHost::setArticleFont(const QFont& font)
{
    m_window.setFontFamily(font.family());
    m_window.saveSettings();
    articlefont::apply(m_window, font);
}

void WindowMenuHost::openCorpus(const QString& path)
{
    m_window.setCorpusPath(path);
    // The settings file names the new corpus while it loads.
    m_window.saveSettings();
    m_window.loadCorpus();
}

Dialogs& WindowMenuHost::dialogs()
{
    return m_window.dialogs();
}

#include "windowmenuhost.h"

#include "oxeldialog.h"

GUI_Base& WindowMenuHost::form()
{
    return m_window;
}

const SearchResult& WindowMenuHost::resultCorpus() const
{
    return m_window.resultCorpus();
}

const SearchResult& WindowMenuHost::resultSimple() const
{
    return m_window.resultSimple();
}

const SearchResult& WindowMenuHost::resultCroisee() const
{
    return m_window.resultCroisee();
}

void WindowMenuHost::setCorpusPath(const QString& path)
{
    m_window.setCorpusPath(path);
}

void WindowMenuHost::setColourName(const QString& name)
{
    m_window.setColourName(name);
}

void WindowMenuHost::setFontFamily(const QString& family)
{
    m_window.setFontFamily(family);
}

void WindowMenuHost::saveSettings()
{
    m_window.saveSettings();
}

void WindowMenuHost::loadCorpus()
{
    m_window.loadCorpus();
}

Dialogs& WindowMenuHost::dialogs()
{
    return m_window.dialogs();
}

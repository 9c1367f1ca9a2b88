#pragma once

#include "menu/menuhost.h"

#include <QMenuBar>
#include <QPrinter>
#include <optional>

// The menu bar above the tabs: "&Fichier", "&Edition", "&Options", "&Affichage" and "&Aide". Its
// per-tab commands act on the current tab of the main window: its article view, its result record
// and its reading (the find bar, the marks, the articles shown), whose keys are the bar's alone.
class MenuB : public QMenuBar
{
    Q_OBJECT
public:
    // The bar becomes a child of the host's window.
    explicit MenuB(MenuHost& host, const char* name = nullptr);
    ~MenuB() override;

    // The bar that carries the four menus; MenuB itself holds no items.
    QMenuBar* innerBar() const { return m_innerBar; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    void open();
    void saveR();
    void saveT();
    void imprR();
    void imprT();
    void selectAll();
    void copier();
    // Opens the concordance of the last simple search; before any, says there is none.
    void concordance();
    // The current tab's reading.
    void findInArticle();
    void nextOccurrence();
    void previousOccurrence();
    void previousArticle();
    void nextArticle();
    // The size of the three article views.
    void zoomIn();
    void zoomOut();
    void normalSize();
    void couleur();
    void police();
    void about();
    void aide();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildMenus();
    // The report of the current tab.
    QString reportText() const;
    // The current tab when it shows an article; none, after telling the user under the command's
    // caption, when it shows none.
    std::optional<MenuHost::Tab> tabWithArticle(const QString& command) const;
    // Asks for a file name ending in ".txt"; empty when the user cancelled, gave a wildcard name
    // or would not replace an existing file.
    QString chooseTextFile();
    // Replaces the file at once; on any failure the user is told and an earlier file stays whole.
    void writeTextFile(const QString& fileName, const QByteArray& bytes);

    MenuHost& m_host;
    QMenuBar* m_innerBar = nullptr;
    // Kept for the whole run, so that the print setup carries over from one print to the next.
    QPrinter m_printer;
};

#pragma once

#include <QMenuBar>
#include <QPrinter>
#include <optional>

class MenuHost;

// The menu bar above the tabs: "&Fichier", "&Edition", "&Options" and "&Aide". Its per-tab
// commands act on the current tab of the main window: its article view and its result record.
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
    // Opens the concordance of the last simple search.
    void concordance();
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
    // The article the current tab shows, with its marks' markup; none, after telling the user
    // under the command's caption, when it shows none.
    std::optional<QString> articleText(const QString& command) const;
    // Asks for a file name ending in ".txt"; empty when the user cancelled, gave a wildcard name
    // or would not replace an existing file.
    QString chooseTextFile();
    // Replaces the file at once; on any failure the user is told and an earlier file stays whole.
    void writeTextFile(const QString& fileName, const QByteArray& bytes);
    void print(const QString& text);

    MenuHost& m_host;
    QMenuBar* m_innerBar = nullptr;
    // Kept for the whole run, so that the print setup carries over from one print to the next.
    QPrinter m_printer;
};

#include "menu/menub.h"

#include "corpus/workingfiles.h"
#include "forms/dialogs.h"
#include "forms/resultpane.h"
#include "forms/textfilechoice.h"
#include "forms/xmlfilechoice.h"
#include "menu/menuhost.h"
#include "menu/menuicons.h"
#include "menu/pagewindow.h"
#include "menu/textprinter.h"
#include "search/highlighter.h"
#include "search/searchreport.h"

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QFont>
#include <QMenu>
#include <QResizeEvent>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <memory>

namespace {

QAction* addItem(QMenu* menu, const QString& text, const QKeySequence& shortcut = {}, const QIcon& icon = {})
{
    QAction* action = menu->addAction(icon, text);
    action->setShortcut(shortcut);
    return action;
}

// An item with several keys, the first shown.
QAction* addItem(QMenu* menu, const QString& text, const QList<QKeySequence>& shortcuts)
{
    QAction* action = menu->addAction(text);
    action->setShortcuts(shortcuts);
    return action;
}

} // namespace

MenuB::MenuB(MenuHost& host, const char* name)
    : QMenuBar(&host.mainWindow()), m_host(host), m_printer(QPrinter::ScreenResolution)
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    buildMenus();
    setMinimumSize(100, 22);
}

MenuB::~MenuB() = default;

void MenuB::buildMenus()
{
    const QIcon folder(menuicons::folder());
    const QIcon diskette(menuicons::diskette());

    auto* file = new QMenu(QStringLiteral("&Fichier"), this);
    connect(addItem(file, QStringLiteral("&Ouvrir"), QKeySequence(Qt::CTRL | Qt::Key_O), folder), &QAction::triggered,
            this, &MenuB::open);
    connect(addItem(file, QStringLiteral("&Enregistrer la recherche"), QKeySequence(Qt::CTRL | Qt::Key_S), diskette),
            &QAction::triggered, this, &MenuB::saveR);
    connect(addItem(file, QStringLiteral("&Enregistrer le texte")), &QAction::triggered, this, &MenuB::saveT);
    file->addSeparator();
    connect(addItem(file, QStringLiteral("&Imprimer la recherche"), QKeySequence(Qt::CTRL | Qt::Key_P)),
            &QAction::triggered, this, &MenuB::imprR);
    connect(addItem(file, QStringLiteral("Imprimer l'&article"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)),
            &QAction::triggered, this, &MenuB::imprT);
    file->addSeparator();
    connect(addItem(file, QStringLiteral("&Quitter"), QKeySequence(Qt::CTRL | Qt::Key_Q)), &QAction::triggered,
            QCoreApplication::instance(), &QCoreApplication::quit);

    auto* edit = new QMenu(QStringLiteral("&Edition"), this);
    connect(addItem(edit, QStringLiteral("&Selectionner tout"), QKeySequence(Qt::CTRL | Qt::Key_A)),
            &QAction::triggered, this, &MenuB::selectAll);
    connect(addItem(edit, QStringLiteral("&Copier"), QKeySequence(Qt::CTRL | Qt::Key_C)), &QAction::triggered, this,
            &MenuB::copier);
    connect(addItem(edit, QStringLiteral("&Concordance"), QKeySequence(Qt::CTRL | Qt::Key_K)), &QAction::triggered,
            this, &MenuB::concordance);
    edit->addSeparator();
    // The keys of the current tab's reading live here alone: the panes have none of their own.
    connect(addItem(edit, QStringLiteral("&Rechercher dans l'article"), QKeySequence(QKeySequence::Find)),
            &QAction::triggered, this, &MenuB::findInArticle);
    connect(addItem(edit, QStringLiteral("Occurrence &suivante"), QKeySequence(Qt::Key_F3)), &QAction::triggered, this,
            &MenuB::nextOccurrence);
    connect(addItem(edit, QStringLiteral("Occurrence &précédente"), QKeySequence(Qt::SHIFT | Qt::Key_F3)),
            &QAction::triggered, this, &MenuB::previousOccurrence);

    auto* options = new QMenu(QStringLiteral("&Options"), this);
    options->setWindowTitle(QStringLiteral("Options"));
    connect(addItem(options, QStringLiteral("&Couleur")), &QAction::triggered, this, &MenuB::couleur);
    connect(addItem(options, QStringLiteral("&Police")), &QAction::triggered, this, &MenuB::police);
    options->addSeparator();
    QAction* accents = addItem(options, QStringLiteral("Ignorer les &accents"));
    accents->setObjectName(QStringLiteral("actionAccents"));
    accents->setCheckable(true);
    accents->setChecked(m_host.ignoresAccents());
    connect(accents, &QAction::toggled, this, [this](bool ignore) { m_host.setIgnoreAccents(ignore); });
    options->addSeparator();
    QAction* plain = addItem(options, QStringLiteral("Texte &brut"));
    plain->setObjectName(QStringLiteral("actionTexteBrut"));
    plain->setCheckable(true);
    plain->setChecked(m_host.showsPlainText());
    connect(plain, &QAction::toggled, this, [this](bool on) { m_host.setShowsPlainText(on); });
    QAction* layout = addItem(options, QStringLiteral("&Mise en forme…"));
    layout->setObjectName(QStringLiteral("actionMiseEnForme"));
    connect(layout, &QAction::triggered, this, [this] { m_host.chooseRoles(); });
    options->addSeparator();
    QAction* index = addItem(options, QStringLiteral("Garder un &index du corpus"));
    index->setObjectName(QStringLiteral("actionIndex"));
    index->setCheckable(true);
    index->setChecked(m_host.keepsIndex());
    connect(index, &QAction::toggled, this, [this](bool on) { m_host.setKeepsIndex(on); });

    auto* view = new QMenu(QStringLiteral("&Affichage"), this);
    connect(addItem(view, QStringLiteral("&Précédent"), QKeySequence(Qt::ALT | Qt::Key_Left)), &QAction::triggered,
            this, &MenuB::previousArticle);
    connect(addItem(view, QStringLiteral("&Suivant"), QKeySequence(Qt::ALT | Qt::Key_Right)), &QAction::triggered, this,
            &MenuB::nextArticle);
    view->addSeparator();
    // The toolkit's standard keys (Ctrl++ and Ctrl+-), and "=" for keyboards where "+" needs Shift.
    connect(addItem(view, QStringLiteral("Zoom &avant"),
                    QKeySequence::keyBindings(QKeySequence::ZoomIn) << QKeySequence(Qt::CTRL | Qt::Key_Equal)),
            &QAction::triggered, this, &MenuB::zoomIn);
    connect(addItem(view, QStringLiteral("Zoom a&rrière"), QKeySequence::keyBindings(QKeySequence::ZoomOut)),
            &QAction::triggered, this, &MenuB::zoomOut);
    connect(addItem(view, QStringLiteral("&Taille normale"), QKeySequence(Qt::CTRL | Qt::Key_0)), &QAction::triggered,
            this, &MenuB::normalSize);

    auto* help = new QMenu(QStringLiteral("&Aide"), this);
    connect(addItem(help, QStringLiteral("&Aide"), QKeySequence(Qt::Key_F1)), &QAction::triggered, this, &MenuB::aide);
    connect(addItem(help, QStringLiteral("A &propos")), &QAction::triggered, this, &MenuB::about);

    m_innerBar = new QMenuBar(this);
    m_innerBar->addMenu(file);
    m_innerBar->addMenu(edit);
    m_innerBar->addMenu(options);
    m_innerBar->addMenu(view);
    m_innerBar->addSeparator();
    m_innerBar->addMenu(help);
}

QSize MenuB::sizeHint() const
{
    return m_innerBar->sizeHint().expandedTo(minimumSize());
}

QSize MenuB::minimumSizeHint() const
{
    return m_innerBar->minimumSizeHint().expandedTo(minimumSize());
}

void MenuB::resizeEvent(QResizeEvent* event)
{
    QMenuBar::resizeEvent(event);
    m_innerBar->setGeometry(QRect(QPoint(0, 0), event->size()));
}

QString MenuB::reportText() const
{
    const std::optional<MenuHost::Tab> tab = m_host.currentTab();
    return tab ? searchreport::text(tab->kind, *tab->record) : searchreport::header();
}

std::optional<MenuHost::Tab> MenuB::tabWithArticle(const QString& command) const
{
    std::optional<MenuHost::Tab> tab = m_host.currentTab();
    if (!tab || tab->shownRow < 0) {
        m_host.dialogs().warning(command, QStringLiteral("Aucun article affiché"));
        return std::nullopt;
    }
    return tab;
}

QString MenuB::chooseTextFile()
{
    return textfilechoice::choose(m_host.dialogs(), this);
}

void MenuB::writeTextFile(const QString& fileName, const QByteArray& bytes)
{
    textfilechoice::write(m_host.dialogs(), fileName, bytes);
}

void MenuB::saveR()
{
    const QString name = chooseTextFile();
    if (!name.isEmpty())
        writeTextFile(name, reportText().toUtf8());
}

void MenuB::saveT()
{
    const std::optional<MenuHost::Tab> tab = tabWithArticle(QStringLiteral("Enregistrer le texte"));
    if (!tab)
        return;
    const QString name = chooseTextFile();
    if (name.isEmpty())
        return;
    // The article with its marks' markup, in UTF-16 in the machine's byte order, after a byte-order mark.
    const QString text = QChar(QChar::ByteOrderMark) + highlighter::markedText(*tab->record, tab->shownRow);
    writeTextFile(name, QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * qsizetype(2)));
}

void MenuB::imprR()
{
    if (m_host.dialogs().printSetup(nullptr, m_printer))
        textprinter::print(reportText(), m_printer);
}

void MenuB::imprT()
{
    const std::optional<MenuHost::Tab> tab = tabWithArticle(QStringLiteral("Imprimer l'article"));
    if (!tab || !m_host.dialogs().printSetup(nullptr, m_printer))
        return;
    // The article as the view shows it, laid out anew for the page: a copy, which also takes the words
    // the find bar marks, drawn over the text rather than in it.
    const std::unique_ptr<QTextDocument> copy(tab->view->document()->clone());
    for (const QTextEdit::ExtraSelection& mark : tab->view->extraSelections()) {
        QTextCursor cursor(copy.get());
        cursor.setPosition(mark.cursor.selectionStart());
        cursor.setPosition(mark.cursor.selectionEnd(), QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(mark.format);
    }
    textprinter::printDocument(*copy, m_printer);
}

void MenuB::open()
{
    // The dialog opens in the folder of the corpus read last.
    const QString& current = m_host.corpusPath();
    const QString chosen = xmlfilechoice::choose(m_host.dialogs(), this,
                                                 current.isEmpty() ? QString() : QFileInfo(current).absolutePath());
    if (!chosen.isEmpty())
        m_host.openCorpus(chosen);
}

void MenuB::selectAll()
{
    if (const std::optional<MenuHost::Tab> tab = m_host.currentTab())
        tab->view->selectAll();
}

void MenuB::copier()
{
    // The view copies what it shows of the article as the article's own characters; with nothing
    // selected it leaves the clipboard, which holds the user's, alone.
    if (const std::optional<MenuHost::Tab> tab = m_host.currentTab())
        tab->view->copy();
}

void MenuB::concordance()
{
    // Before any simple search, an empty window would say nothing of why.
    const SearchMode mode = m_host.resultSimple().mode();
    if (mode != SearchMode::AllTerms && mode != SearchMode::AnyTerm && mode != SearchMode::ExactPhrase) {
        m_host.dialogs().warning(
            QStringLiteral("Concordance"),
            QStringLiteral("Aucune recherche pour l'instant : lancez d'abord une recherche simple."));
        return;
    }
    m_host.showConcordance();
}

void MenuB::findInArticle()
{
    if (ResultPane* pane = m_host.currentPane())
        pane->openFind();
}

void MenuB::nextOccurrence()
{
    if (ResultPane* pane = m_host.currentPane())
        pane->nextMark();
}

void MenuB::previousOccurrence()
{
    if (ResultPane* pane = m_host.currentPane())
        pane->previousMark();
}

void MenuB::previousArticle()
{
    if (ResultPane* pane = m_host.currentPane())
        pane->back();
}

void MenuB::nextArticle()
{
    if (ResultPane* pane = m_host.currentPane())
        pane->forward();
}

void MenuB::zoomIn()
{
    m_host.setArticleZoom(m_host.articleZoom() + 1);
}

void MenuB::zoomOut()
{
    m_host.setArticleZoom(m_host.articleZoom() - 1);
}

void MenuB::normalSize()
{
    m_host.setArticleZoom(0);
}

void MenuB::couleur()
{
    // A cancelled dialog gives no valid colour and changes nothing.
    const QColor colour = m_host.dialogs().colour(nullptr, QColor(Qt::lightGray));
    if (colour.isValid())
        m_host.setBackground(colour.name());
}

void MenuB::police()
{
    const QFont start(QStringLiteral("Times"), 12, QFont::Normal, false);
    if (const std::optional<QFont> font = m_host.dialogs().font(nullptr, start))
        m_host.setArticleFont(*font);
}

void MenuB::about()
{
    createPageWindow(&m_host.mainWindow(), QStringLiteral("..:: Tarvane - Qt - A propos ::.."), workingfiles::aboutPage,
                     QSize(500, 300))
        ->exec();
}

void MenuB::aide()
{
    createPageWindow(&m_host.mainWindow(), QStringLiteral("..:: Tarvane - Qt - Aide ::.."), workingfiles::helpPage,
                     QSize(600, 500))
        ->exec();
}

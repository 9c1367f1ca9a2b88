#include "menub.h"

#include "dialogs.h"
#include "gui_base.h"
#include "highlighter.h"
#include "menuhost.h"
#include "menuicons.h"
#include "pagewindow.h"
#include "resultview.h"
#include "searchreport.h"
#include "textprinter.h"
#include "workingfiles.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFileInfo>
#include <QMenu>
#include <QResizeEvent>
#include <QSaveFile>
#include <QTabWidget>
#include <QTextDocumentFragment>
#include <QTextEdit>

namespace {

const QString textFilter = QStringLiteral("Fichiers Texte (*.txt)");
const QString xmlFilter = QStringLiteral("Fichiers XML (*.xml)");

QAction* addItem(QMenu* menu, const QString& text, const QKeySequence& shortcut = {}, const QIcon& icon = {})
{
    QAction* action = menu->addAction(icon, text);
    action->setShortcut(shortcut);
    return action;
}

} // namespace

MenuB::MenuB(MenuHost& host, const char* name)
    : QMenuBar(&host.form()), m_host(host), m_printer(QPrinter::ScreenResolution)
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
    file->addSeparator();
    connect(addItem(file, QStringLiteral("&Quitter"), QKeySequence(Qt::CTRL | Qt::Key_Q)), &QAction::triggered,
            QCoreApplication::instance(), &QCoreApplication::quit);

    auto* edit = new QMenu(QStringLiteral("&Edition"), this);
    connect(addItem(edit, QStringLiteral("&Selectionner tout"), QKeySequence(Qt::CTRL | Qt::Key_A)),
            &QAction::triggered, this, &MenuB::selectAll);
    connect(addItem(edit, QStringLiteral("&Copier"), QKeySequence(Qt::CTRL | Qt::Key_C)), &QAction::triggered, this,
            &MenuB::copier);

    auto* options = new QMenu(QStringLiteral("&Options"), this);
    options->setWindowTitle(QStringLiteral("Options"));
    connect(addItem(options, QStringLiteral("&Couleur")), &QAction::triggered, this, &MenuB::couleur);
    connect(addItem(options, QStringLiteral("&Police")), &QAction::triggered, this, &MenuB::police);

    auto* help = new QMenu(QStringLiteral("&Aide"), this);
    connect(addItem(help, QStringLiteral("&Aide"), QKeySequence(Qt::Key_F1)), &QAction::triggered, this, &MenuB::aide);
    connect(addItem(help, QStringLiteral("A &propos")), &QAction::triggered, this, &MenuB::about);

    m_innerBar = new QMenuBar(this);
    m_innerBar->addMenu(file);
    m_innerBar->addMenu(edit);
    m_innerBar->addMenu(options);
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

std::optional<MenuB::Tab> MenuB::currentTab() const
{
    GUI_Base& form = m_host.form();
    switch (form.Onglets->currentIndex()) {
    case 0:
        return Tab{form.TxtView_Corpus, &m_host.resultCorpus(), searchreport::Kind::Corpus};
    case 1:
        return Tab{form.Txt_Art, &m_host.resultSimple(), searchreport::Kind::Simple};
    case 2:
        return Tab{form.Txt_Art_Cro, &m_host.resultCroisee(), searchreport::Kind::Cross};
    default:
        return std::nullopt;
    }
}

QString MenuB::reportText() const
{
    const std::optional<Tab> tab = currentTab();
    return tab ? searchreport::text(tab->kind, *tab->record) : searchreport::header();
}

QString MenuB::articleText() const
{
    const std::optional<Tab> tab = currentTab();
    return tab ? highlighter::markedText(*tab->record, shownRow(tab->view)) : QString();
}

QString MenuB::chooseTextFile()
{
    Dialogs& dialogs = m_host.dialogs();
    QString name = dialogs.saveFileName(this, QStringLiteral("*.txt"), textFilter);
    if (name.isEmpty())
        return {};
    if (!name.endsWith(QLatin1String(".txt"))) {
        name += QLatin1String(".txt");
        // The file dialog asked about the name it was given, not about this one.
        if (QFileInfo::exists(name) &&
            !dialogs.question(this, QStringLiteral("Enregistrer"),
                              QStringLiteral("Le fichier « %1 » existe déjà.\nVoulez-vous le remplacer ?")
                                  .arg(QFileInfo(name).fileName())))
            return {};
    }
    return name;
}

void MenuB::writeTextFile(const QString& fileName, const QByteArray& bytes)
{
    QSaveFile file(fileName);
    bool written = file.open(QIODevice::WriteOnly);
    if (written) {
        // commit() alone may miss a write that failed while flushing (a full disk): check first.
        written = file.write(bytes) == bytes.size() && file.flush();
        if (!written)
            file.cancelWriting();
        written = file.commit() && written;
    }
    if (!written)
        m_host.dialogs().warning(QStringLiteral("Erreur"), QStringLiteral("Impossible d'écrire sur ce fichier"));
}

void MenuB::saveR()
{
    const QString name = chooseTextFile();
    if (!name.isEmpty())
        writeTextFile(name, reportText().toUtf8());
}

void MenuB::saveT()
{
    const QString name = chooseTextFile();
    if (name.isEmpty())
        return;
    // UTF-16 in the machine's byte order, after a byte-order mark.
    const QString text = QChar(QChar::ByteOrderMark) + articleText();
    writeTextFile(name, QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * qsizetype(2)));
}

void MenuB::print(const QString& text)
{
    if (!m_host.dialogs().printSetup(nullptr, m_printer))
        return;
    textprinter::print(text, m_printer);
}

void MenuB::imprR()
{
    print(reportText());
}

void MenuB::imprT()
{
    print(articleText());
}

void MenuB::open()
{
    const QString chosen = m_host.dialogs().openFileName(this, QStringLiteral("*.xml"), xmlFilter);
    if (chosen.isEmpty())
        return;
    m_host.setCorpusPath(chosen);
    // The settings file names the new corpus while it loads.
    m_host.saveSettings();
    m_host.loadCorpus();
}

void MenuB::selectAll()
{
    if (const std::optional<Tab> tab = currentTab())
        tab->view->selectAll();
}

void MenuB::copier()
{
    if (const std::optional<Tab> tab = currentTab())
        QGuiApplication::clipboard()->setText(tab->view->textCursor().selection().toPlainText());
}

void MenuB::couleur()
{
    const QColor lightGray(Qt::lightGray);
    QColor colour = m_host.dialogs().colour(nullptr, lightGray);
    if (!colour.isValid())
        colour = lightGray;
    m_host.setColourName(colour.name());
    m_host.saveSettings();
    m_host.form().setPalette(backgroundPalette(colour.name()));
}

void MenuB::police()
{
    const QFont start(QStringLiteral("Times"), 12, QFont::Normal, false);
    // A cancelled dialog applies its start font like a chosen one.
    const QFont font = m_host.dialogs().font(nullptr, start).value_or(start);
    m_host.setFontFamily(font.family());
    m_host.saveSettings();
    GUI_Base& form = m_host.form();
    for (QTextEdit* view : {form.TxtView_Corpus, form.Txt_Art, form.Txt_Art_Cro}) {
        view->setFont(font);
        view->update();
    }
}

void MenuB::about()
{
    createPageWindow(&m_host.form(), QStringLiteral("..:: Tarvane - Qt - A propos ::.."), workingfiles::aboutPage,
                     QSize(500, 300))
        ->exec();
}

void MenuB::aide()
{
    createPageWindow(&m_host.form(), QStringLiteral("..:: Tarvane - Qt - Aide ::.."), workingfiles::helpPage,
                     QSize(600, 500))
        ->exec();
}

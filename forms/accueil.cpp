#include "accueil.h"

#include "ui_accueil.h"

#include <QPixmap>

accueil::accueil(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags)
    : QDialog(parent, flags), m_ui(std::make_unique<Ui::accueil>())
{
    setObjectName(name ? QString::fromLatin1(name) : QStringLiteral("accueil"));
    setModal(modal);
    m_ui->setupUi(this);
    pic = m_ui->pic;
    bt2 = m_ui->bt2;
    bt3 = m_ui->bt3;
    bt1 = m_ui->bt1;
    Txt = m_ui->Txt;
    TextLabel1 = m_ui->TextLabel1;

    QPixmap placeholder(100, 100);
    placeholder.fill(Qt::white);
    pic->setPixmap(placeholder);

    languageChange();
    resize(QSize(871, 401).expandedTo(minimumSizeHint()));

    connect(bt2, &QPushButton::clicked, this, &accueil::bt2Click);
    connect(bt3, &QPushButton::clicked, this, &accueil::bt3Click);
    connect(bt1, &QPushButton::clicked, this, &accueil::bt1Click);
}

accueil::~accueil() = default;

void accueil::languageChange()
{
    m_ui->retranslateUi(this);
}

void accueil::bt1Click()
{
    qWarning("accueil::bt1Click(): Not implemented yet");
}

void accueil::bt2Click()
{
    qWarning("accueil::bt2Click(): Not implemented yet");
}

void accueil::bt3Click()
{
    qWarning("accueil::bt3Click(): Not implemented yet");
}

#include "forms/accueil.h"

#include <QPixmap>

accueil::accueil(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags) : QDialog(parent, flags)
{
    setObjectName(name ? QString::fromLatin1(name) : QStringLiteral("accueil"));
    setModal(modal);
    setupUi(this);

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
    retranslateUi(this);
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

#include "forms/gui_base.h"

namespace {

void notImplemented(const char* signature)
{
    qWarning("GUI_Base::%s: Not implemented yet", signature);
}

} // namespace

GUI_Base::GUI_Base(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags) : QDialog(parent, flags)
{
    setObjectName(name ? QString::fromLatin1(name) : QStringLiteral("GUI_Base"));
    setModal(modal);
    setupUi(this);

    languageChange();
    resize(QSize(614, 512).expandedTo(minimumSizeHint()));

    connect(Lst_Art, &QListView::clicked, this, &GUI_Base::slotLstArtClick);
    connect(Bt_Rech, &QPushButton::clicked, this, &GUI_Base::slotBtRechClick);
    connect(Lst_Corpus, &QListView::clicked, this, &GUI_Base::slotLstCorClick);
    connect(Txt_Corpus, &QLineEdit::textChanged, this, &GUI_Base::slotCorpusEnter);
    connect(Lst_B12, &QComboBox::activated, this, &GUI_Base::slotLstBal12Click);
    connect(Lst_B11, &QComboBox::activated, this, &GUI_Base::slotLstBal11Click);
    connect(Lst_B21, &QComboBox::activated, this, &GUI_Base::slotLstBal21Click);
    connect(Lst_B22, &QComboBox::activated, this, &GUI_Base::slotLstBal22Click);
    connect(Lst_B31, &QComboBox::activated, this, &GUI_Base::slotLstBal31Click);
    connect(Lst_B32, &QComboBox::activated, this, &GUI_Base::slotLstBal32Click);
    connect(Lst_Art_Cro, &QListView::clicked, this, &GUI_Base::slotLstCroClick);
    connect(Lst_B13, &QComboBox::activated, this, &GUI_Base::slotLstBal13Click);
    connect(Lst_B23, &QComboBox::activated, this, &GUI_Base::slotLstBal23Click);
    connect(Lst_B33, &QComboBox::activated, this, &GUI_Base::slotLstBal33Click);
}

GUI_Base::~GUI_Base() = default;

void GUI_Base::languageChange()
{
    retranslateUi(this);
    Txt_Nb->setText(QStringLiteral("0"));
    txt_nbcro->setText(QStringLiteral("0"));
    Lst_Type->clear();
    Lst_Type->addItems({tr("Tous les termes"), tr("Au moins un des termes"), tr("Expression exacte")});
}

void GUI_Base::slotBtRechClick()
{
    notImplemented("slotBtRechClick()");
}

void GUI_Base::slotBt_Appliquer()
{
    notImplemented("slotBt_Appliquer()");
}

void GUI_Base::slotBt_ParcClick()
{
    notImplemented("slotBt_ParcClick()");
}

void GUI_Base::slotCorpusEnter()
{
    notImplemented("slotCorpusEnter()");
}

void GUI_Base::slotLstArtClick(const QModelIndex&)
{
    notImplemented("slotLstArtClick(const QModelIndex&)");
}

void GUI_Base::slotLstBal11Click(int)
{
    notImplemented("slotLstBal11Click(int)");
}

void GUI_Base::slotLstBal12Click(int)
{
    notImplemented("slotLstBal12Click(int)");
}

void GUI_Base::slotLstBal13Click(int)
{
    notImplemented("slotLstBal13Click(int)");
}

void GUI_Base::slotLstBal21Click(int)
{
    notImplemented("slotLstBal21Click(int)");
}

void GUI_Base::slotLstBal22Click(int)
{
    notImplemented("slotLstBal22Click(int)");
}

void GUI_Base::slotLstBal23Click(int)
{
    notImplemented("slotLstBal23Click(int)");
}

void GUI_Base::slotLstBal31Click(int)
{
    notImplemented("slotLstBal31Click(int)");
}

void GUI_Base::slotLstBal32Click(int)
{
    notImplemented("slotLstBal32Click(int)");
}

void GUI_Base::slotLstBal33Click(int)
{
    notImplemented("slotLstBal33Click(int)");
}

void GUI_Base::slotLstCorClick(const QModelIndex&)
{
    notImplemented("slotLstCorClick(const QModelIndex&)");
}

void GUI_Base::slotLstCroClick(const QModelIndex&)
{
    notImplemented("slotLstCroClick(const QModelIndex&)");
}

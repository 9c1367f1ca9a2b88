#include "gui_base.h"

#include "listpopupstyle.h"
#include "resultlistmodel.h"
#include "ui_gui_base.h"

namespace {

void notImplemented(const char* signature)
{
    qWarning("GUI_Base::%s: Not implemented yet", signature);
}

} // namespace

GUI_Base::GUI_Base(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags)
    : QDialog(parent, flags), m_ui(std::make_unique<Ui::GUI_Base>())
{
    setObjectName(name ? QString::fromLatin1(name) : QStringLiteral("GUI_Base"));
    setModal(modal);
    m_ui->setupUi(this);

    Onglets = m_ui->Onglets;
    tab = m_ui->tab;
    Txt_Corpus = m_ui->Txt_Corpus;
    Lst_Corpus = m_ui->Lst_Corpus;
    TxtView_Corpus = m_ui->TxtView_Corpus;
    tab_2 = m_ui->tab_2;
    Txt_Rech = m_ui->Txt_Rech;
    TextLabel1 = m_ui->TextLabel1;
    Txt_Nb = m_ui->Txt_Nb;
    Bt_Rech = m_ui->Bt_Rech;
    Lst_Type = m_ui->Lst_Type;
    Chk_Cs = m_ui->Chk_Cs;
    Lst_Art = m_ui->Lst_Art;
    Txt_Art = m_ui->Txt_Art;
    tab_3 = m_ui->tab_3;
    ButtonGroup13 = m_ui->ButtonGroup13;
    Lst_B12 = m_ui->Lst_B12;
    Lst_B13 = m_ui->Lst_B13;
    Lst_B22 = m_ui->Lst_B22;
    Lst_B23 = m_ui->Lst_B23;
    Lst_B33 = m_ui->Lst_B33;
    Lst_B31 = m_ui->Lst_B31;
    Lst_B32 = m_ui->Lst_B32;
    Lst_B21 = m_ui->Lst_B21;
    Lst_B11 = m_ui->Lst_B11;
    TextLabel1_3 = m_ui->TextLabel1_3;
    txt_nbcro = m_ui->txt_nbcro;
    LoadCroisee = m_ui->LoadCroisee;
    Lst_Art_Cro = m_ui->Lst_Art_Cro;
    Txt_Art_Cro = m_ui->Txt_Art_Cro;

    for (QListView* list : {Lst_Corpus, Lst_Art, Lst_Art_Cro})
        list->setModel(new ResultListModel(list));
    auto* criteriaStyle = new ListPopupStyle;
    criteriaStyle->setParent(this);
    for (QComboBox* combo : {Lst_B11, Lst_B12, Lst_B13, Lst_B21, Lst_B22, Lst_B23, Lst_B31, Lst_B32, Lst_B33})
        combo->setStyle(criteriaStyle);

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

    setTabOrder(Txt_Rech, Bt_Rech);
    setTabOrder(Bt_Rech, Lst_Art);
    setTabOrder(Lst_Art, Onglets);
}

GUI_Base::~GUI_Base() = default;

void GUI_Base::languageChange()
{
    m_ui->retranslateUi(this);
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

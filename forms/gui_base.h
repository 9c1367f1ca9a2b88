#pragma once

#include <QDialog>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTextEdit;
class ResultListModel;

namespace Ui {
class GUI_Base;
}

// The main search form: three tabs ("Corpus", "Recherche Simple", "Recherche Croisée"), their
// widgets and the connections to the slots that the main window overrides.
class GUI_Base : public QDialog
{
    Q_OBJECT
public:
    explicit GUI_Base(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                      Qt::WindowFlags flags = {});
    ~GUI_Base() override;

    QTabWidget* Onglets;
    QWidget* tab;
    QLineEdit* Txt_Corpus;
    QListView* Lst_Corpus;
    QTextEdit* TxtView_Corpus;
    QWidget* tab_2;
    QLineEdit* Txt_Rech;
    QLabel* TextLabel1;
    QLabel* Txt_Nb;
    QPushButton* Bt_Rech;
    QComboBox* Lst_Type;
    QCheckBox* Chk_Cs;
    QListView* Lst_Art;
    QTextEdit* Txt_Art;
    QWidget* tab_3;
    QGroupBox* ButtonGroup13;
    QComboBox* Lst_B12;
    QComboBox* Lst_B13;
    QComboBox* Lst_B22;
    QComboBox* Lst_B23;
    QComboBox* Lst_B33;
    QComboBox* Lst_B31;
    QComboBox* Lst_B32;
    QComboBox* Lst_B21;
    QComboBox* Lst_B11;
    QLabel* TextLabel1_3;
    QLabel* txt_nbcro;
    QProgressBar* LoadCroisee;
    QListView* Lst_Art_Cro;
    QTextEdit* Txt_Art_Cro;

public slots:
    virtual void slotBtRechClick();
    virtual void slotBt_Appliquer();
    virtual void slotBt_ParcClick();
    virtual void slotCorpusEnter();
    virtual void slotLstArtClick(const QModelIndex& index);
    virtual void slotLstBal11Click(int index);
    virtual void slotLstBal12Click(int index);
    virtual void slotLstBal13Click(int index);
    virtual void slotLstBal21Click(int index);
    virtual void slotLstBal22Click(int index);
    virtual void slotLstBal23Click(int index);
    virtual void slotLstBal31Click(int index);
    virtual void slotLstBal32Click(int index);
    virtual void slotLstBal33Click(int index);
    virtual void slotLstCorClick(const QModelIndex& index);
    virtual void slotLstCroClick(const QModelIndex& index);

protected slots:
    // Sets every text again; the counts go back to "0" and the query mode to its first item.
    virtual void languageChange();

private:
    std::unique_ptr<Ui::GUI_Base> m_ui;
};

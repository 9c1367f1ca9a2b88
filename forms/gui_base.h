#pragma once

#include "ui_gui_base.h"

#include <QDialog>

// The main search form: three tabs ("Corpus", "Recherche Simple", "Recherche Croisée"), their
// widgets and the connections to the slots that the main window overrides. The widgets are the
// generated form's members, named as the widgets.
class GUI_Base : public QDialog, public Ui::GUI_Base
{
    Q_OBJECT
public:
    explicit GUI_Base(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                      Qt::WindowFlags flags = {});
    ~GUI_Base() override;

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
};

#pragma once

#include "ui_accueil.h"

#include <QDialog>

// The welcome form: a picture, the welcome text, and one button per corpus source. The widgets
// are the generated form's members, named as the widgets.
class accueil : public QDialog, public Ui::accueil
{
    Q_OBJECT
public:
    explicit accueil(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                     Qt::WindowFlags flags = {});
    ~accueil() override;

public slots:
    virtual void bt1Click();
    virtual void bt2Click();
    virtual void bt3Click();

protected slots:
    virtual void languageChange();
};

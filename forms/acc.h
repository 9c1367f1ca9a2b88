#pragma once

#include "forms/accueil.h"

// The welcome dialog: pictures, background colour and welcome page from the working directory.
// It ends with 1 for "Fichier personnel", 2 for the sounds, 3 for the dictionaries.
class Acc : public accueil
{
    Q_OBJECT
public:
    static const QString caption; // "..:: Tarvane - Qt ::.."

    explicit Acc(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false, Qt::WindowFlags flags = {});

public slots:
    void bt1Click() override;
    void bt2Click() override;
    void bt3Click() override;
};

#pragma once

#include "forms/dialogs.h"

#include <QDialog>
#include <memory>
#include <vector>

namespace Ui {
class MiseEnForme;
}

// "Mise en forme": one line per element name of the corpus, with its count and its display role,
// and a list of the roles that sets the role of every selected line at once.
class MiseEnForme : public QDialog
{
    Q_OBJECT
public:
    explicit MiseEnForme(const std::vector<RoleRow>& rows, QWidget* parent = nullptr);
    ~MiseEnForme() override;

    // The role of each row, in the order the rows were given, whatever the table's sort.
    std::vector<ElementRole> roles() const { return m_roles; }

private:
    void showCurrentRole();
    void applyRole(int choice);

    std::unique_ptr<Ui::MiseEnForme> m_ui;
    std::vector<ElementRole> m_roles;
};

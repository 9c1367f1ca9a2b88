#include "forms/miseenforme.h"

#include "ui_miseenforme.h"

#include <QLocale>
#include <QPushButton>
#include <algorithm>

namespace {

enum Column
{
    NameColumn,
    CountColumn,
    RoleColumn,
};

// The name cell keeps the row's place in the given rows, so that roles still land on their row
// once the table is sorted.
constexpr int RowIndexRole = Qt::UserRole;
// The count cell keeps its number: its grouped text would sort "9" after "10 000".
constexpr int CountRole = Qt::UserRole;

class CountItem : public QTableWidgetItem
{
public:
    explicit CountItem(quint64 count) : QTableWidgetItem(QLocale(QLocale::French).toString(count))
    {
        setData(CountRole, count);
        setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    bool operator<(const QTableWidgetItem& other) const override
    {
        return data(CountRole).toULongLong() < other.data(CountRole).toULongLong();
    }
};

QTableWidgetItem* readOnly(QTableWidgetItem* item)
{
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

int choiceOf(ElementRole role)
{
    const std::vector<ElementRole>& choices = ElementRoles::choices();
    const auto found = std::find(choices.begin(), choices.end(), role);
    return found == choices.end() ? -1 : static_cast<int>(found - choices.begin());
}

} // namespace

MiseEnForme::MiseEnForme(const std::vector<RoleRow>& rows, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::MiseEnForme>())
{
    m_ui->setupUi(this);

    for (const ElementRole role : ElementRoles::choices())
        m_ui->Lst_Role->addItem(ElementRoles::roleName(role));

    QTableWidget* const table = m_ui->Tab_Roles;
    table->setRowCount(static_cast<int>(rows.size()));
    m_roles.reserve(rows.size());
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        const RoleRow& given = rows[static_cast<std::size_t>(row)];
        auto* const name = new QTableWidgetItem(given.name);
        name->setData(RowIndexRole, row);
        table->setItem(row, NameColumn, readOnly(name));
        table->setItem(row, CountColumn, readOnly(new CountItem(given.count)));
        table->setItem(row, RoleColumn, readOnly(new QTableWidgetItem(ElementRoles::roleName(given.role))));
        m_roles.push_back(given.role);
    }
    QHeaderView* const header = table->horizontalHeader();
    header->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(CountColumn, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(RoleColumn, QHeaderView::ResizeToContents);
    // Rows a line of text high, so that some twenty names show without scrolling.
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    // The header's default indicator may name a column, which enabling the sort would apply: the rows
    // first come in the order given, until the reader clicks a header.
    header->setSortIndicator(-1, Qt::AscendingOrder);
    table->setSortingEnabled(true);

    // The platform's own texts may carry a mnemonic or be in English.
    m_ui->Btn_Boutons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    m_ui->Btn_Boutons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    m_ui->Btn_Boutons->button(QDialogButtonBox::Ok)->setDefault(true);

    connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &MiseEnForme::showCurrentRole);
    // Only a choice of the reader's applies; the list following the current row does not.
    connect(m_ui->Lst_Role, &QComboBox::activated, this, &MiseEnForme::applyRole);

    m_ui->Lst_Role->setEnabled(!rows.empty());
    if (!rows.empty())
        table->setCurrentCell(0, NameColumn);
    table->setFocus();
}

MiseEnForme::~MiseEnForme() = default;

void MiseEnForme::showCurrentRole()
{
    const QTableWidgetItem* const name = m_ui->Tab_Roles->item(m_ui->Tab_Roles->currentRow(), NameColumn);
    if (name)
        m_ui->Lst_Role->setCurrentIndex(choiceOf(m_roles[name->data(RowIndexRole).toUInt()]));
}

void MiseEnForme::applyRole(int choice)
{
    if (choice < 0)
        return;
    const ElementRole role = ElementRoles::choices()[static_cast<std::size_t>(choice)];
    QTableWidget* const table = m_ui->Tab_Roles;
    // The name cells first: a table sorted by role moves its rows as each role cell changes.
    QList<QTableWidgetItem*> names;
    for (const QModelIndex& index : table->selectionModel()->selectedRows(NameColumn))
        names.append(table->item(index.row(), NameColumn));
    // Nothing selected (a Ctrl+click can leave it so): the list shows the current row, so that one.
    if (names.isEmpty() && table->currentRow() >= 0)
        names.append(table->item(table->currentRow(), NameColumn));
    for (QTableWidgetItem* const name : std::as_const(names)) {
        m_roles[name->data(RowIndexRole).toUInt()] = role;
        table->item(name->row(), RoleColumn)->setText(ElementRoles::roleName(role));
    }
}

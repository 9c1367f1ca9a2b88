#include "forms/concordancewindow.h"

#include "corpus/atomicwriter.h"
#include "forms/dialogs.h"
#include "forms/textfilechoice.h"
#include "search/concordance.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <new>

namespace {

// A left context too long for its column loses its far end, not the words next to the occurrence.
class LeftElidingDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->textElideMode = Qt::ElideLeft;
    }
};

} // namespace

ConcordanceWindow::ConcordanceWindow(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_dialogs(dialogs), m_task(dialogs), m_model(new Concordance(this)),
      m_count(new QLabel(this)), m_table(new QTableView(this)),
      m_export(new QPushButton(QStringLiteral("Exporter…"), this))
{
    setObjectName(QStringLiteral("Concordance"));
    setWindowTitle(QStringLiteral("Concordance"));
    m_count->setObjectName(QStringLiteral("Txt_NbConc"));
    m_table->setObjectName(QStringLiteral("Tab_Conc"));
    m_export->setObjectName(QStringLiteral("Bt_Exporter"));

    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    // Tab leaves the table for "Exporter…", as in every other window; the arrows move between rows.
    m_table->setTabKeyNavigation(false);
    m_table->setItemDelegateForColumn(Concordance::LeftColumn, new LeftElidingDelegate(m_table));
    // Rows of one height, columns of set widths: nothing is measured over half a million rows.
    m_table->verticalHeader()->setVisible(false);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(Concordance::TitleColumn, 140);
    m_table->setColumnWidth(Concordance::LeftColumn, 320);
    m_table->setColumnWidth(Concordance::HitColumn, 110);
    // Until a header is clicked the rows stay in the order of the text. The view's own sorting would
    // call the model at once, on this thread: a click is followed here instead.
    QHeaderView* header = m_table->horizontalHeader();
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setSortIndicatorShown(true);
    header->setSectionsClickable(true);
    connect(header, &QHeaderView::sortIndicatorChanged, this, &ConcordanceWindow::sortBy);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_count, 1);
    bottom->addWidget(m_export);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addLayout(bottom);
    resize(preferred);

    // A double-click, or Enter on the row: the toolkit's activation covers both.
    connect(m_table, &QTableView::activated, this, &ConcordanceWindow::chooseRow);
    connect(m_export, &QPushButton::clicked, this, &ConcordanceWindow::exportTable);
    showResult(SearchResult());
}

ConcordanceWindow::~ConcordanceWindow() = default;

bool ConcordanceWindow::showResult(SearchResult record)
{
    // A sort or an export still reading the rows ends first.
    m_task.stop();
    ++m_shown;
    m_sortColumn = -1;
    m_sortOrder = Qt::AscendingOrder;
    showSortIndicator();
    // The rows shown go first, so that the old and the new are never held at once.
    m_model->setResult(SearchResult(), {});
    std::optional<Concordance::Rows> rows;
    if (record.count() == 0) {
        rows.emplace();
    } else {
        // Millions of marks take seconds to find: the window stays painted, and the reader may cancel.
        try {
            // Over this window once it is on screen, over the main window before.
            QWidget* const over = isVisible() || !parentWidget() ? this : parentWidget();
            m_task.run(over, QStringLiteral("Ouverture de la concordance…"), [&](TaskControl& control) {
                rows = Concordance::rowsOf(record, &control);
                return rows.has_value();
            });
        } catch (const std::bad_alloc&) {
            rows.reset();
            sayNoMemory();
        }
    }
    if (rows)
        m_model->setResult(std::move(record), std::move(*rows));
    m_count->setText(countText(m_model->occurrenceCount(), m_model->articleCount()));
    m_export->setEnabled(m_model->occurrenceCount() > 0);
    return rows.has_value();
}

void ConcordanceWindow::placeBeside(const QWidget& main)
{
    const QScreen* screen = main.screen();
    if (!screen)
        return;
    if (const std::optional<QRect> place = besideRect(main.frameGeometry(), screen->availableGeometry()))
        setGeometry(*place);
}

std::optional<QRect> ConcordanceWindow::besideRect(const QRect& main, const QRect& room)
{
    const int right = room.right() - main.right();
    const int left = main.left() - room.left();
    const int width = std::min(std::max(right, left), preferred.width());
    if (width < narrowest)
        return std::nullopt;
    const int height = std::min(preferred.height(), room.height());
    const int top = std::clamp(main.top(), room.top(), room.bottom() + 1 - height);
    return QRect(right >= left ? main.right() + 1 : main.left() - width, top, width, height);
}

QString ConcordanceWindow::countText(int occurrences, int articles)
{
    const QLocale french(QLocale::French);
    return QStringLiteral("%1 %2 dans %3 %4")
        .arg(french.toString(occurrences),
             occurrences > 1 ? QStringLiteral("occurrences") : QStringLiteral("occurrence"), french.toString(articles),
             articles > 1 ? QStringLiteral("articles") : QStringLiteral("article"));
}

void ConcordanceWindow::showSortIndicator()
{
    QHeaderView* header = m_table->horizontalHeader();
    const QSignalBlocker quiet(header);
    header->setSortIndicator(m_sortColumn, m_sortOrder);
}

void ConcordanceWindow::sayNoMemory()
{
    m_dialogs.warning(QStringLiteral("Concordance"), QStringLiteral("Mémoire insuffisante"));
}

void ConcordanceWindow::sortBy(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= Concordance::ColumnCount || m_task.isRunning()) {
        showSortIndicator();
        return;
    }
    const quint64 shown = m_shown;
    std::optional<std::vector<quint32>> rows;
    bool sorted = false;
    try {
        sorted = m_task.run(this, QStringLiteral("Tri de la concordance…"), [&](TaskControl& control) {
            rows = m_model->sortedOrder(column, order, control);
            return rows.has_value();
        });
    } catch (const std::bad_alloc&) {
        sayNoMemory();
    }
    // Other rows were shown meanwhile: this order is not theirs.
    if (shown != m_shown)
        return;
    if (!sorted) {
        showSortIndicator();
        return;
    }
    m_sortColumn = column;
    m_sortOrder = order;
    showSortIndicator();
    m_model->setOrder(std::move(*rows));
}

void ConcordanceWindow::exportTable()
{
    if (m_task.isRunning())
        return;
    const QString name = textfilechoice::choose(m_dialogs, this, textfilechoice::Kind::Table);
    if (name.isEmpty())
        return;
    // A destination that cannot be written is said at once, before any row is made.
    AtomicWriter file(name);
    if (!file.open().isEmpty()) {
        textfilechoice::sayUnwritable(m_dialogs);
        return;
    }
    const Concordance& model = *m_model;
    bool failed = false;
    try {
        m_task.run(this, QStringLiteral("Exportation de la concordance…"), [&](TaskControl& control) {
            // About a megabyte of text at a time, whatever the rows hold.
            constexpr qsizetype pieceUnits = 1 << 19;
            const int rows = model.occurrenceCount();
            control.setTotal(rows);
            QString text = model.tabSeparatedHeader();
            text.reserve(pieceUnits + 4096);
            int row = 0;
            do {
                if (control.cancelled())
                    return false;
                const int next = model.appendTabSeparated(text, row, pieceUnits);
                if (!file.write(text.toUtf8())) {
                    failed = true;
                    return false;
                }
                control.advance(next - row);
                row = next;
                text.resize(0);
            } while (row < rows);
            if (control.cancelled())
                return false;
            failed = !file.commit().isEmpty();
            return !failed;
        });
    } catch (const std::bad_alloc&) {
        sayNoMemory();
    }
    // Cancelled or failed, the temporary goes with `file`.
    if (failed)
        textfilechoice::sayUnwritable(m_dialogs);
}

void ConcordanceWindow::chooseRow(const QModelIndex& index)
{
    if (!index.isValid() || index.row() >= m_model->occurrenceCount())
        return;
    const Concordance::Occurrence& o = m_model->occurrence(index.row());
    emit occurrenceChosen(m_model->result(), int(o.hit), o.start, o.length);
}

void ConcordanceWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    // The keys go back to the window it was opened from, whatever the window manager does.
    if (event->isAccepted() && parentWidget())
        parentWidget()->window()->activateWindow();
}

void ConcordanceWindow::keyPressEvent(QKeyEvent* event)
{
    // A window of its own, not a dialog: Escape closes it as it would close one.
    if (event->matches(QKeySequence::Cancel)) {
        close();
        return;
    }
    // Nor does Enter press a button of a plain window: on "Exporter…" it does, as in a dialog.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && focusWidget() == m_export) {
        m_export->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

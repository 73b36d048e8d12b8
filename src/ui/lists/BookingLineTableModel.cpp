#include "ui/lists/BookingLineTableModel.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <QTimer>

#include "ui/GXGradientPainting.h"

namespace ch {

class BookingLineTableModel::Controller : public CTransactionDetailTableController {
public:
    explicit Controller(BookingLineTableModel& model) : mModel(model) {}
    void analysisArrayChanged() override { mModel.resetRows(); }
    void reloadTable() override { mModel.scheduleReset(); }

private:
    BookingLineTableModel& mModel;
};

BookingLineTableModel::BookingLineTableModel(std::vector<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), mController(std::make_unique<Controller>(*this)), mColumns(std::move(columns))
{
}

BookingLineTableModel::~BookingLineTableModel() = default;

CTransactionDetailTableController& BookingLineTableModel::controller() const
{
    return *mController;
}

void BookingLineTableModel::attach(QTableView* view)
{
    view->setModel(this);
    QHeaderView* header = view->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::DescendingOrder);
    connect(header, &QHeaderView::sectionClicked, view, [this, header](int section) {
        if (section < 0 || section >= columnCount()) return;
        mController->didClickTableColumn(mColumns[static_cast<std::size_t>(section)].identifier.toStdString());
        using Indicator = CTransactionDetailTableController::SortIndicator;
        const bool sorted = mController->lastColumn() == mColumns[static_cast<std::size_t>(section)].identifier.toStdString();
        if (sorted && mController->sortIndicator() != Indicator::None)
            header->setSortIndicator(section, mController->sortIndicator() == Indicator::Descending ? Qt::DescendingOrder
                                                                                                  : Qt::AscendingOrder);
    });
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, view, [this, view] {
        const QModelIndexList rows = view->selectionModel()->selectedRows();
        mController->setSelectedRow(rows.isEmpty() ? std::nullopt : std::optional<int>(rows.first().row()));
    });
    connect(view, &QAbstractItemView::doubleClicked, view, [this] { mController->modifyTransactionAsked(); });
}

int BookingLineTableModel::columnOf(const QString& identifier) const
{
    for (std::size_t i = 0; i < mColumns.size(); ++i)
        if (mColumns[i].identifier == identifier) return static_cast<int>(i);
    return -1;
}

void BookingLineTableModel::resetRows()
{
    beginResetModel();
    mRows = static_cast<int>(mController->numberOfRows());
    mController->setSelectedRow(std::nullopt);
    endResetModel();
}

void BookingLineTableModel::scheduleReset()
{
    if (mReloadScheduled) return;
    mReloadScheduled = true;
    QTimer::singleShot(0, this, [this] {
        mReloadScheduled = false;
        resetRows();
    });
}

int BookingLineTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : mRows;
}

int BookingLineTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(mColumns.size());
}

QVariant BookingLineTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= mRows || index.column() >= columnCount()) return {};
    if (role != Qt::DisplayRole && role != Qt::ForegroundRole && role != Qt::TextAlignmentRole) return {};
    const StyledText value = mController->objectValue(
        mColumns[static_cast<std::size_t>(index.column())].identifier.toStdString(), index.row());
    if (role == Qt::DisplayRole) return QString::fromStdString(value.plainText());
    if (role == Qt::TextAlignmentRole)
        return value.alignment == StyledText::Alignment::Right ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter))
                                                               : QVariant();
    // Black is "no colour of its own": the view's text colour, dark themes included.
    if (value.runs.empty() || !value.runs.front().colour) return {};
    const Colour& colour = *value.runs.front().colour;
    if (colour.red == 0 && colour.green == 0 && colour.blue == 0) return {};
    return toQColor(colour);
}

QVariant BookingLineTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount()) return {};
    return mColumns[static_cast<std::size_t>(section)].heading;
}

} // namespace ch

#include "ui/lists/ItemTableModel.h"

#include "ui/lists/GXTableAncestor.h"

namespace ch {

ItemTableModel::ItemTableModel(CNonVisualDataItemArrayController& controller, std::vector<ItemColumn> columns,
                               QObject* parent)
    : QAbstractTableModel(parent), mController(controller), mColumns(std::move(columns))
{
    mController.setWillArrangeHandler([this] {
        if (mResetting) return;
        mResetting = true;
        beginResetModel();
    });
    mController.setArrangedHandler([this] {
        if (!mResetting) return;
        mResetting = false;
        endResetModel();
    });
}

ItemTableModel::~ItemTableModel()
{
    mController.setWillArrangeHandler({});
    mController.setArrangedHandler({});
}

int ItemTableModel::columnOf(const QString& identifier) const
{
    for (std::size_t i = 0; i < mColumns.size(); ++i)
        if (mColumns[i].identifier == identifier) return static_cast<int>(i);
    return -1;
}

CNonVisualDataItem::Ptr ItemTableModel::itemAt(int row) const
{
    return row < 0 ? nullptr : mController.arrangedObjectAt(static_cast<std::size_t>(row));
}

void ItemTableModel::valuesChanged()
{
    const int rows = rowCount();
    if (rows > 0 && !mColumns.empty()) emit dataChanged(index(0, 0), index(rows - 1, columnCount() - 1));
}

int ItemTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(mController.arrangedCount());
}

int ItemTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(mColumns.size());
}

QVariant ItemTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.column() >= static_cast<int>(mColumns.size())) return {};
    const auto item = itemAt(index.row());
    const ItemColumn& column = mColumns[static_cast<std::size_t>(index.column())];
    if (!item || !column.value) return {};
    return column.value(*item, role);
}

QVariant ItemTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(mColumns.size())) return {};
    if (role == Qt::DisplayRole) return mColumns[static_cast<std::size_t>(section)].heading;
    if (role == GXTableAncestor::kImageOnlyRole) return mColumns[static_cast<std::size_t>(section)].imageOnly;
    return {};
}

void ItemTableModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= static_cast<int>(mColumns.size())) return;
    const ItemColumn& described = mColumns[static_cast<std::size_t>(column)];
    if (!described.sortValue) return;
    mController.setSortDescriptors(
        {{described.identifier.toStdString(), order == Qt::AscendingOrder, described.sortValue, described.objectSortValue}});
}

} // namespace ch

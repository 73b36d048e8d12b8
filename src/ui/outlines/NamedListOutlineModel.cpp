#include "ui/outlines/NamedListOutlineModel.h"

#include <QMimeData>

#include "platform/gui/pasteboard_types.h"

namespace ch {

NamedListOutlineModel::NamedListOutlineModel(CNamedListTableController& controller, std::vector<Column> columns,
                                             IconLookup icons, QObject* parent)
    : QAbstractItemModel(parent), mController(controller), mColumns(std::move(columns)), mIcons(std::move(icons))
{
}

void NamedListOutlineModel::reload()
{
    beginResetModel();
    endResetModel();
}

CNonVisualDataItem* NamedListOutlineModel::itemOf(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<CNonVisualDataItem*>(index.internalPointer()) : nullptr;
}

CNonVisualDataItem::Ptr NamedListOutlineModel::itemAt(const QModelIndex& index) const
{
    CNonVisualDataItem* item = itemOf(index);
    return item ? item->shared_from_this() : nullptr;
}

CNonVisualDataItem::Ptr NamedListOutlineModel::childOf(const CNonVisualDataItem* parent, int row) const
{
    if (row < 0) return nullptr;
    const CNonVisualDataItem::Ptr parentItem =
        parent ? const_cast<CNonVisualDataItem*>(parent)->shared_from_this() : nullptr;
    return mController.child(static_cast<std::size_t>(row), parentItem);
}

QModelIndex NamedListOutlineModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column < 0 || column >= columnCount() || row < 0 || row >= rowCount(parent)) return {};
    const CNonVisualDataItem::Ptr item = childOf(itemOf(parent), row);
    return item ? createIndex(row, column, item.get()) : QModelIndex();
}

QModelIndex NamedListOutlineModel::indexOf(const CNonVisualDataItem* item, int column) const
{
    if (!item) return {};
    const CNonVisualDataItem::Ptr parent = item->mParent();
    const std::size_t count = mController.numberOfChildrenOfItem(parent.get());
    for (std::size_t row = 0; row < count; ++row)
        if (mController.child(row, parent).get() == item) return createIndex(static_cast<int>(row), column, const_cast<CNonVisualDataItem*>(item));
    return {};
}

QModelIndex NamedListOutlineModel::parent(const QModelIndex& child) const
{
    const CNonVisualDataItem* item = itemOf(child);
    const CNonVisualDataItem::Ptr parent = item ? item->mParent() : nullptr;
    return parent ? indexOf(parent.get()) : QModelIndex();
}

int NamedListOutlineModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != 0) return 0;
    return static_cast<int>(mController.numberOfChildrenOfItem(itemOf(parent)));
}

int NamedListOutlineModel::columnCount(const QModelIndex&) const
{
    return static_cast<int>(mColumns.size());
}

bool NamedListOutlineModel::hasChildren(const QModelIndex& parent) const
{
    return rowCount(parent) > 0;
}

int NamedListOutlineModel::columnOf(const QString& identifier) const
{
    for (std::size_t i = 0; i < mColumns.size(); ++i)
        if (mColumns[i].identifier == identifier) return static_cast<int>(i);
    return -1;
}

QVariant NamedListOutlineModel::data(const QModelIndex& index, int role) const
{
    CNonVisualDataItem* item = itemOf(index);
    if (!item || index.column() >= columnCount()) return {};
    const QString& identifier = mColumns[static_cast<std::size_t>(index.column())].identifier;
    if (role == Qt::DecorationRole && identifier == QLatin1String("name") && mIcons) {
        const QIcon icon = mIcons(item->getIconName());
        return icon.isNull() ? QVariant() : QVariant(icon);
    }
    if (role == Qt::TextAlignmentRole && identifier != QLatin1String("name") && identifier != QLatin1String("lcur") &&
        identifier != QLatin1String("fcur"))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    const CNamedListTableController::CellValue value =
        mController.objectValueForTableColumn(identifier.toStdString(), *item);
    if (const auto* text = std::get_if<std::string>(&value)) return QString::fromStdString(*text);
    if (const auto* number = std::get_if<long>(&value)) return QVariant::fromValue(static_cast<qlonglong>(*number));
    return {};
}

QVariant NamedListOutlineModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columnCount()) return {};
    return mColumns[static_cast<std::size_t>(section)].heading;
}

Qt::ItemFlags NamedListOutlineModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractItemModel::flags(index);
    if (CNonVisualDataItem* item = itemOf(index)) {
        flags |= Qt::ItemIsDropEnabled;
        if (mController.canItemBeDragged(item)) flags |= Qt::ItemIsDragEnabled;
    }
    return flags;
}

QStringList NamedListOutlineModel::mimeTypes() const
{
    return {kNonvisualPboardType, QStringLiteral("text/plain")};
}

QMimeData* NamedListOutlineModel::mimeData(const QModelIndexList& indexes) const
{
    // Only the first dragged row, and only when it may be dragged.
    CNonVisualDataItem* item = indexes.isEmpty() ? nullptr : itemOf(indexes.first());
    if (!item || !mController.canItemBeDragged(item)) return nullptr;
    return objectDragData(CNamedListTableController::calculateKeyForObject(*item->getSourceItem()), item->getName(),
                          mController.document());
}

bool NamedListOutlineModel::canDropMimeData(const QMimeData* data, Qt::DropAction, int row, int,
                                            const QModelIndex& parent) const
{
    // Onto a row only, never between rows, and only from these books.
    if (!data || row >= 0 || !data->hasFormat(kNonvisualPboardType)) return false;
    if (data->data(kDocumentPboardType) != documentMarker(mController.document())) return false;
    return mController.validateDrop(data->data(kNonvisualPboardType).toStdString(), itemAt(parent));
}

bool NamedListOutlineModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                         const QModelIndex& parent)
{
    if (!canDropMimeData(data, action, row, column, parent)) return false;
    const CNonVisualDataItem::Ptr moved = mController.acceptDrop(data->data(kNonvisualPboardType).toStdString(), itemAt(parent));
    if (!moved) return false;
    reload();
    emit itemRelocated(indexOf(moved.get()));
    return true;
}

} // namespace ch

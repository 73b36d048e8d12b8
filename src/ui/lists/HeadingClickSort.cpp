#include "ui/lists/HeadingClickSort.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

#include <vector>

#include "ui/lists/ItemTableModel.h"

namespace ch {

void sortOnHeadingClick(QTableView& table)
{
    QHeaderView* heading = table.horizontalHeader();
    table.setSortingEnabled(false);
    heading->setSectionsClickable(true);
    // The order of the last click is kept here, not read back from the
    // heading's indicator, which the heading may flip by itself.
    QObject::connect(heading, &QHeaderView::sectionClicked, &table, [&table, heading](int column) {
        const bool again = table.property("sortedColumn").isValid() && table.property("sortedColumn").toInt() == column;
        const bool ascending = !(again && table.property("sortedAscending").toBool());
        table.setProperty("sortedColumn", column);
        table.setProperty("sortedAscending", ascending);
        const Qt::SortOrder order = ascending ? Qt::AscendingOrder : Qt::DescendingOrder;
        heading->setSortIndicatorShown(true);
        heading->setSortIndicator(column, order);
        auto* items = qobject_cast<ItemTableModel*>(table.model());
        if (!items) {
            if (table.model()) table.model()->sort(column, order);
            return;
        }
        // The rows selected before stay selected in their new places.
        std::vector<CNonVisualDataItem::Ptr> selected;
        if (table.selectionModel())
            for (const QModelIndex& row : table.selectionModel()->selectedRows()) selected.push_back(items->itemAt(row.row()));
        items->sort(column, order);
        if (!table.selectionModel()) return;
        QItemSelection reselect;
        for (const auto& item : selected)
            if (const auto row = item ? items->controller().arrangedRowOf(item.get()) : std::nullopt)
                reselect.select(items->index(static_cast<int>(*row), 0), items->index(static_cast<int>(*row), 0));
        table.selectionModel()->select(reselect, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        if (!reselect.isEmpty()) table.scrollTo(reselect.indexes().first());
    });
}

} // namespace ch

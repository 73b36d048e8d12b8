#include "ui/lists/HeadingClickSort.h"

#include <QHeaderView>
#include <QTableView>

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
        if (table.model()) table.model()->sort(column, order);
    });
}

} // namespace ch

#pragma once
// A click on a table's column heading sorts the rows by that column:
// ascending first, descending when the same heading is clicked again. The
// model decides what the column sorts by (a column without a sort value
// keeps the order). The selected rows stay selected.

class QTableView;

namespace ch {

void sortOnHeadingClick(QTableView& table);

} // namespace ch

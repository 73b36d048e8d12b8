#pragma once
// The columns of the pages' lists: transactions (status, date, description,
// from, to, amount, currency) and the booking lines of an account or
// category (status, date, description, account, amount, balance). The
// status column holds images only.

#include <functional>
#include <optional>
#include <vector>

#include "ui/lists/ItemTableModel.h"

namespace ch {

std::vector<ItemColumn> transactionListColumns();
std::vector<ItemColumn> recurringListColumns();
// A line's running balance in the list a page shows; none: the balance the
// line keeps (in its own account's or category's list).
using LineBalance = std::function<std::optional<double>(const CNonVisualDataItem&)>;
std::vector<ItemColumn> bookingLineColumns(LineBalance balanceOf = {});

// Sort keys by name, for the controllers of the pages.
SortDescriptor sortByTransactionDate(bool ascending);   // "mDate"
SortDescriptor sortByLineDate(bool ascending);          // "transactionDateAsNumber"
SortDescriptor sortByLineId(bool ascending);            // "getId"
SortDescriptor sortByName(bool ascending);              // "getName"

} // namespace ch

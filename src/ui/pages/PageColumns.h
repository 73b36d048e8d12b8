#pragma once
// Cells shared by the upper tables of the accounts and categories pages.

#include <QVariant>

#include <optional>

#include "ui/lists/ItemTableModel.h"

namespace ch {

// An amount right-aligned, negatives in red.
QVariant pageAmountCell(std::optional<double> amount, int role);
// The object's name with its icon.
ItemColumn nameWithIconColumn();

} // namespace ch

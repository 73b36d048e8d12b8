#pragma once
// A table of the credit-card page's spendings or payments that paints in
// yellow the rows linked to what is selected in the other table: the rows
// whose id (payments: the transaction's id; spendings: the payment they
// refer to) equals the table's reference id. Without a reference id no row
// is painted; the others keep the alternating row colours.

#include <functional>
#include <optional>

#include "ui/lists/GXTableAncestor.h"

namespace ch {

class CNonVisualDataItem;

class CCreditCardTransactionTableView : public GXTableAncestor {
    Q_OBJECT

public:
    using RowId = std::function<std::optional<long>(const CNonVisualDataItem&)>;

    // The model set on the table must be an ItemTableModel.
    CCreditCardTransactionTableView(RowId rowId, QWidget* parent = nullptr);

    std::optional<long> referenceId() const { return mReferenceId; }
    // Keeps the id and redraws the rows.
    void setReferenceId(std::optional<long> id);

    // Whether the row is painted as linked.
    bool isRowHighlighted(int row) const;

private:
    RowId mRowId;
    std::optional<long> mReferenceId;
};

} // namespace ch

#pragma once
// CV2TransactionTableView: the transaction table of the pages. A click on
// a row in the leftmost column (as the columns are now arranged) asks the
// page to toggle that transaction's status; any other click - another
// column, below the last row, an empty table - tells the page so, which
// keeps the double click after a status click from opening a sheet.

#include "ui/lists/GXTableAncestor.h"

namespace ch {

class CV2TransactionTableView : public GXTableAncestor {
    Q_OBJECT

public:
    using GXTableAncestor::GXTableAncestor;

signals:
    void flagTransaction();
    void clickedInOtherColumn();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace ch

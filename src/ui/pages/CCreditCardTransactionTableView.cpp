#include "ui/pages/CCreditCardTransactionTableView.h"

#include <QStyledItemDelegate>

#include "ui/lists/ItemTableModel.h"
#include "ui/pages/CreditCardBook.h"

namespace ch {

namespace {

// Paints the background of linked rows yellow.
class LinkedRowDelegate : public QStyledItemDelegate {
public:
    explicit LinkedRowDelegate(CCreditCardTransactionTableView& table) : QStyledItemDelegate(&table), mTable(table) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (mTable.isRowHighlighted(index.row())) option->backgroundBrush = QBrush(Qt::yellow);
    }

private:
    CCreditCardTransactionTableView& mTable;
};

} // namespace

CCreditCardTransactionTableView::CCreditCardTransactionTableView(RowId rowId, QWidget* parent)
    : GXTableAncestor(parent), mRowId(std::move(rowId))
{
    setItemDelegate(new LinkedRowDelegate(*this));
}

void CCreditCardTransactionTableView::setReferenceId(std::optional<long> id)
{
    mReferenceId = id;
    viewport()->update();
}

bool CCreditCardTransactionTableView::isRowHighlighted(int row) const
{
    const auto* items = dynamic_cast<const ItemTableModel*>(model());
    const CNonVisualDataItem::Ptr item = items ? items->itemAt(row) : nullptr;
    return item && isLinkedRow(mReferenceId, mRowId(*item));
}

} // namespace ch

#include "ui/outlines/CNonVisualOutlineView.h"

#include <QItemSelectionModel>
#include <QKeyEvent>

#include "bridge/CAccTItem.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/CMxpTItem.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/foundation/CErrorManager.h"
#include "ui/outlines/NamedListOutlineModel.h"

namespace ch {

namespace {

constexpr long kCannotComplete = 251;
constexpr long kSelectFirst = 252;

} // namespace

RowTransaction transactionForRow(const CNonVisualDataItem* item, bool moneyIn)
{
    RowTransaction request;
    CNonVisual* object = item ? item->getSourceItem() : nullptr;
    if (!object) return request;
    if (dynamic_cast<const CAcnTItem*>(item)) {
        (moneyIn ? request.toAccount : request.fromAccount) = object;
    } else if (dynamic_cast<const CExpTItem*>(item)) {
        // By the kind of the category's group.
        const auto* category = dynamic_cast<const CExpenseType*>(object);
        const CMasterExpenseType* group = category ? category->Get_mMasterExpensetypePtr() : nullptr;
        request.category = object;
        switch (group ? group->Get_mMasterExpenseType() : -1) {
        case group_kind::kIncome: request.type = 1; break;
        case group_kind::kExpense: request.type = 0; break;
        case group_kind::kTransfer: request.type = 2; break;
        default: request.type = 3; break;
        }
    }
    return request;
}

CNonVisualOutlineView::CNonVisualOutlineView(QWidget* parent) : QTreeView(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

NamedListOutlineModel* CNonVisualOutlineView::outlineModel() const
{
    return dynamic_cast<NamedListOutlineModel*>(model());
}

CNonVisualDataItem::Ptr CNonVisualOutlineView::getCurrentItem() const
{
    NamedListOutlineModel* items = outlineModel();
    if (!items || !selectionModel()) return nullptr;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : items->itemAt(rows.first());
}

MenuItemValidation CNonVisualOutlineView::validateMenuItem(int tag) const
{
    const CNonVisualDataItem::Ptr item = getCurrentItem();
    return item ? item->validateMenuItem(tag) : MenuItemValidation{false, std::nullopt};
}

void CNonVisualOutlineView::deleteSelected()
{
    if (const auto item = getCurrentItem(); item && mDelegate) mDelegate->deleteObject(item, this);
}

void CNonVisualOutlineView::modifyObject()
{
    if (const auto item = getCurrentItem(); item && mDelegate) mDelegate->modifyObject(item, this);
}

void CNonVisualOutlineView::addEmptyTransaction()
{
    if (mDelegate) mDelegate->askTransactionInput(nullptr, nullptr, nullptr, 3);
}

void CNonVisualOutlineView::addTransaction(bool moneyIn)
{
    if (!mDelegate) return;
    const CNonVisualDataItem::Ptr item = getCurrentItem();
    const RowTransaction request = transactionForRow(item.get(), moneyIn);
    mDelegate->askTransactionInput(request.fromAccount, request.toAccount, request.category, request.type);
}

bool CNonVisualOutlineView::insertObject(bool below, bool asGroup)
{
    // A pending edit of a cell ends first.
    if (QWidget* editor = indexWidget(currentIndex())) commitData(editor);
    const CNonVisualDataItem::Ptr item = getCurrentItem();
    if (!item || !mDelegate) return false;
    if (!mDelegate->insertObjectWithReferenceNode(item, below, this, asGroup)) return false;
    NamedListOutlineModel* items = outlineModel();
    if (!items) return true;
    // Show the new object: inside the reference row, or beside it.
    const CNonVisualDataItem::Ptr parent = below ? item : item->mParent();
    items->reload();
    if (parent) {
        QModelIndex shown = items->indexOf(parent.get());
        for (QModelIndex up = shown; up.isValid(); up = up.parent()) expand(up);
    }
    return true;
}

bool CNonVisualTable::itemIsSelected() const
{
    return selectionModel() && !selectionModel()->selectedRows().isEmpty();
}

bool CNonVisualTable::itemCanBeDeleted() const
{
    const CNonVisualDataItem::Ptr item = getCurrentItem();
    return item && item->objectCanBeDeleted();
}

void CNonVisualTable::deleteSelected()
{
    if (!getCurrentItem()) {
        CErrorManager::RaiseInfo(kSelectFirst);
        return;
    }
    CNonVisualOutlineView::deleteSelected();
}

void CNonVisualTable::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) && !getCurrentItem()) {
        deleteSelected();
        event->accept();
        return;
    }
    CNonVisualOutlineView::keyPressEvent(event);
}

void CNonVisualTable::newCategory()
{
    const CNonVisualDataItem::Ptr item = getCurrentItem();
    if (dynamic_cast<const CMxpTItem*>(item.get()))
        newObjectBelow();
    else if (dynamic_cast<const CExpTItem*>(item.get()))
        newObject();
    else
        CErrorManager::RaiseInfo(kCannotComplete);
}

void CNonVisualTable::newAccount()
{
    const CNonVisualDataItem::Ptr item = getCurrentItem();
    if (dynamic_cast<const CAccTItem*>(item.get()))
        newObjectBelow();
    else if (dynamic_cast<const CAcnTItem*>(item.get()))
        newObject();
    else
        CErrorManager::RaiseInfo(kCannotComplete);
}

} // namespace ch

#include "ui/pages/DocumentOutlineDelegate.h"

#include "bridge/CAccTItem.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/CMxpTItem.h"
#include "ui/WindowDocument.h"

namespace ch {

void DocumentOutlineDelegate::deleteObject(const CNonVisualDataItem::Ptr& item, QAbstractItemView*)
{
    // Through the deletion command: asked first, journaled, announced, so
    // that every list of the window lets the object go.
    if (item) mDocument.deleteObjectWithAsking(item, true);
}

void DocumentOutlineDelegate::modifyObject(const CNonVisualDataItem::Ptr& item, QAbstractItemView*)
{
    mDocument.modifyObject(item);
}

bool DocumentOutlineDelegate::insertObjectWithReferenceNode(const CNonVisualDataItem::Ptr& reference, bool below,
                                                            QAbstractItemView*, bool asGroup)
{
    if (!reference || !reference->getSourceItem()) return false;
    const std::optional<long> id = reference->getId();
    if (!id) return false;
    ObjectSheetParameters parameters;
    parameters.document = &mDocument.books();
    parameters.dialogAction = 1;
    parameters.name = "??";
    // A new group goes inside the row (below), beside it, or - beside a
    // top-level one - to the top level.
    auto groupParent = [&](std::optional<long> parentOfReference) -> std::optional<long> {
        if (below) return id;
        return reference->isRootItem() ? std::nullopt : parentOfReference;
    };

    if (const auto type = std::dynamic_pointer_cast<CAccTItem>(reference)) {
        if (below && !asGroup) {
            mDocument.initiateAccountCreationWithMasterType(static_cast<ObjectIdT>(*id));
            return true;
        }
        parameters.masterAccountType = type->getMasterType();
        parameters.accountType = groupParent(type->getParentType());
        mDocument.createNewAccountTypeAsked(parameters);
        return true;
    }
    if (const auto account = std::dynamic_pointer_cast<CAcnTItem>(reference)) {
        const std::optional<long> typeId = account->getAccountTypeId();
        if (!typeId) return false;
        mDocument.initiateAccountCreationWithMasterType(static_cast<ObjectIdT>(*typeId));
        return true;
    }
    if (const auto category = std::dynamic_pointer_cast<CExpTItem>(reference)) {
        const std::optional<long> groupId = category->getMasterExpenseTypeId();
        if (!groupId) return false;
        mDocument.initiateExpenseTypeCreationWithParentType(static_cast<ObjectIdT>(*groupId));
        return true;
    }
    if (const auto group = std::dynamic_pointer_cast<CMxpTItem>(reference)) {
        if (below && !asGroup) {
            mDocument.initiateExpenseTypeCreationWithParentType(static_cast<ObjectIdT>(*id));
            return true;
        }
        parameters.systemExpenseType = group->getMasterTypeAsObject();
        parameters.masterExpenseType = groupParent(group->mParentId());
        mDocument.createNewMasterExpenseTypeAsked(parameters);
        return true;
    }
    return false;
}

void DocumentOutlineDelegate::askTransactionInput(CNonVisual* fromAccount, CNonVisual* toAccount,
                                                  CNonVisual* category, int type)
{
    TransactionSheetRequest request;
    request.fromAccount = fromAccount;
    request.toAccount = toAccount;
    request.expenseType = category;
    request.type = type;
    mDocument.askTransactionInput(request);
}

} // namespace ch

#include "ui/sheets/SideBarDrops.h"

#include <charconv>

#include "bridge/BridgeDocument.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CNonVisualDataItemController.h"
#include "bridge/CTrnSItem.h"
#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/CNonvisualExaminator.h"
#include "platform/core/localized_strings.h"
#include "ui/TransactionStateCommands.h"
#include "ui/sheets/CommandSink.h"
#include "ui/sheets/Relocation.h"
#include "ui/sheets/SheetDocument.h"

namespace ch {

CNonVisual* SideBarDrops::objectWithKey(std::string_view key) const
{
    CDocAccounting* books = mDocument.books();
    if (!books || key.size() < 5)
        return nullptr;
    const std::string_view type = key.substr(0, 4);
    long id = 0;
    const auto [end, error] = std::from_chars(key.data() + 4, key.data() + key.size(), id);
    if (error != std::errc() || end != key.data() + key.size())
        return nullptr;
    const auto objectId = static_cast<ObjectIdT>(id);
    if (type == "AcnT")
        return books->GetAccountForID(objectId);
    if (type == "AccT")
        return books->GetAccountTypeForId(objectId);
    if (type == "ExpT")
        return books->GetExpenseTypeForID(objectId);
    if (type == "MxpT")
        return books->GetMasterExpenseTypeForId(objectId);
    if (type == "TrnS") {
        auto item = mDocument.bridge().getTransactionForId(objectId);
        return item ? item->getSourceItem() : nullptr;
    }
    return nullptr;
}

SideBarDrops::Header SideBarDrops::headerOf(const CNonVisualDataItem& node)
{
    const std::string title = node.getName();
    if (title == localized("CREDITCARDBUTTON"))
        return Header::CreditCards;
    if (title == localized("VATPERIODTITLE") || title == localized("VATTROOTTITLE"))
        return Header::VAT;
    return Header::None;
}

bool SideBarDrops::validateDrop(const CNonVisualDataItem* node, const std::optional<std::string>& key) const
{
    if (!node || !key)
        return false;
    CNonVisual* dropped = objectWithKey(*key);
    if (!dropped)
        return false;
    if (CNonVisual* receiver = node->getSourceItem())
        return receiver->IsSubItemAcceptable(dropped->Get_ObjectType(), dropped);
    switch (headerOf(*node)) {
    case Header::CreditCards:
        return CNonvisualExaminator::isAccount(dropped) && CNonvisualExaminator::isDebtAccount(dropped);
    case Header::VAT:
        return CNonvisualExaminator::isTransaction(dropped);
    case Header::None:
        return false;
    }
    return false;
}

bool SideBarDrops::acceptDrop(const CNonVisualDataItem* node, const std::optional<std::string>& key)
{
    if (!validateDrop(node, key))
        return false;
    CNonVisual* dropped = objectWithKey(*key);
    if (CNonVisual* receiver = node->getSourceItem()) {
        if (!relocateObject(mDocument.commands(), *dropped, *receiver))
            return false;
        if (selectionChanged)
            selectionChanged();
        return true;
    }
    if (headerOf(*node) == Header::CreditCards) {
        // Through the document's command: the journal keeps it.
        const auto account = mDocument.bridge().dataItemController().accountItemForAccount(dropped);
        if (!account || !sendCreditCard(mDocument.commands(), account))
            return false;
        if (creditCardsChanged)
            creditCardsChanged();
        return true;
    }
    auto transaction = mDocument.bridge().getTransactionForId(dropped->Get_Id());
    return transaction && setAsVATBalancePayment && setAsVATBalancePayment(transaction);
}

} // namespace ch

#include "business/BookingLines.h"

#include "bridge/BridgeDocument.h"
#include "bridge/CAcoWItem.h"
#include "bridge/CCurRItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/CNonVisualDataItemController.h"
#include "bridge/CTrnSItem.h"
#include "business/BusinessDocument.h"
#include "model/CAccountOwner.h"
#include "model/CDocAccounting.h"
#include "model/CTransaction.h"
#include "model/CExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/CNonvisualExaminator.h"

namespace ch::business {

Value lineDictionary(const char* type, long accountId, long currencyId, double amount)
{
    Dictionary line;
    line.set("AccountId", Value(accountId));
    line.set("CurrencyId", Value(currencyId));
    line.set("Amount", Value(amount));
    line.set("ObjectType", Value(type));
    return Value(std::move(line));
}

long homeCurrencyId(BusinessDocument& document)
{
    std::shared_ptr<CCurRItem> home = document.bridgeDocument().getHomeCurrency();
    return home ? home->getId().value_or(0) : 0;
}

double localAmountOf(const std::shared_ptr<CDebetItem>& line)
{
    return line ? line->getLocalAmount().value_or(0.0) : 0.0;
}

bool isExpenseCategory(BusinessDocument& document, long categoryId)
{
    // The category's kind, not the sign of its total: a credit note turns
    // the VAT category's total below 0, and its payment must still release
    // its VAT.
    BridgeDocument& books = document.bridgeDocument();
    return CNonvisualExaminator::isExpense(
        books.accounting()->GetExpenseTypeForID(static_cast<ObjectIdT>(categoryId)));
}

namespace {

std::shared_ptr<CAcoWItem> ownerWithOpenInvoiceAccount(BusinessDocument& document, long accountId, bool customer)
{
    BridgeDocument& books = document.bridgeDocument();
    const CNamedListArray* owners = books.accounting()->mAccountOwnerList.get();
    for (ArrayIndexT i = 1; owners && i <= static_cast<ArrayIndexT>(owners->GetCount()); ++i) {
        std::shared_ptr<CAcoWItem> owner = books.dataItemController().accountOwnerItemForAccountOwner(owners->ObjectAt(i));
        if (!owner) continue;
        if (customer && owner->isCustomer() && owner->openDebitInvoiceAccount() == accountId) return owner;
        if (!customer && owner->isSupplier() && owner->openCreditInvoiceAccount() == accountId) return owner;
    }
    return nullptr;
}

} // namespace

std::shared_ptr<CAcoWItem> getCustomerForOpenInvoiceAccountId(BusinessDocument& document, long accountId)
{
    return ownerWithOpenInvoiceAccount(document, accountId, true);
}

std::shared_ptr<CAcoWItem> getSupplierForOpenInvoiceAccountId(BusinessDocument& document, long accountId)
{
    return ownerWithOpenInvoiceAccount(document, accountId, false);
}

std::shared_ptr<CTrnSItem> insertTransactionOfType(BusinessDocument& document, int type)
{
    BridgeDocument& books = document.bridgeDocument();
    CTransaction* made = books.accounting()->InsertTransaction(1, 0, static_cast<EnumT>(type));
    return made ? books.dataItemController().transactionItemForTrnS(made) : nullptr;
}

std::shared_ptr<CTrnSItem> unlinkedCopyOf(BusinessDocument& document, CTrnSItem& transaction)
{
    BridgeDocument& books = document.bridgeDocument();
    CTransaction* made =
        books.accounting()->CreateTransactionFromCopy(static_cast<CTransaction*>(transaction.getSourceItem()));
    return made ? books.dataItemController().transactionItemForTrnS(made) : nullptr;
}

} // namespace ch::business

#include "ui/sheets/OwnerSheetLogic.h"

#include "bridge/CAcoWItem.h"
#include "document/arguments/CAcoWArguments.h"
#include "model/CAccount.h"
#include "model/CDocAccounting.h"
#include "model/foundation/CErrorManager.h"
#include "ui/sheets/CommandSink.h"
#include "ui/sheets/SheetDocument.h"

namespace ch {

namespace {

bool none(const std::optional<long>& id)
{
    return !id || *id < 1;
}

} // namespace

void OwnerSheetLogic::initialize(const SheetParameters& parameters)
{
    mDocument = parameters.document();
    if (!mDocument)
        return;
    mTemporaryItem = std::make_shared<CAcoWItem>();
    mItemToModify = parameters.itemAs<CAcoWItem>(sheet_key::kOwnerToModify);
    if (mItemToModify) {
        mTemporaryItem->synchronizeWithObject(*mItemToModify);
        return;
    }
    mTemporaryItem->setGetName(parameters.text(sheet_key::kPartnerName).value_or(""));
    if (const auto address = parameters.text(sheet_key::kPartnerAddress))
        mTemporaryItem->setOfficialAddress(*address);
}

bool OwnerSheetLogic::canCreateSupplierAccounts() const
{
    return !mItemToModify ||
           (none(mItemToModify->openCreditInvoiceAccount()) && none(mItemToModify->creditorAccount()));
}

bool OwnerSheetLogic::canCreateCustomerAccounts() const
{
    return !mItemToModify ||
           (none(mItemToModify->openDebitInvoiceAccount()) && none(mItemToModify->debitorAccount()));
}

bool OwnerSheetLogic::checkAccountOwnerIsThis(std::optional<long> accountId) const
{
    CDocAccounting* books = mDocument ? mDocument->books() : nullptr;
    if (!mItemToModify || !books)
        return true;
    const CAccount* account = accountId ? books->GetAccountForID(static_cast<ObjectIdT>(*accountId)) : nullptr;
    if (!account)
        return true;
    return mItemToModify->getId() == account->Get_mAccountOwnerId();
}

bool OwnerSheetLogic::checkContents(bool selectSupplierAccounts, bool selectCustomerAccounts) const
{
    if (!mTemporaryItem)
        return false;
    const CAcoWItem& item = *mTemporaryItem;
    if (mItemToModify) {
        const bool suppliersOk = !selectSupplierAccounts || (checkAccountOwnerIsThis(item.openCreditInvoiceAccount()) &&
                                                             checkAccountOwnerIsThis(item.creditorAccount()));
        const bool customersOk = !selectCustomerAccounts || (checkAccountOwnerIsThis(item.openDebitInvoiceAccount()) &&
                                                             checkAccountOwnerIsThis(item.debitorAccount()));
        if (!suppliersOk || !customersOk) {
            CErrorManager::RaiseError(265);
            return false;
        }
    }
    // An owner without a name could not be told from the others.
    if (item.getName().empty()) {
        CErrorManager::RaiseError(202);
        return false;
    }
    return true;
}

void OwnerSheetLogic::dialogClosed(int returnCode, const SheetParameters& context, bool createSupplierAccounts,
                                   bool createCustomerAccounts)
{
    if (returnCode <= 0 || !mDocument || !mTemporaryItem)
        return;
    arguments::CAcoWArguments arguments;
    const int action = static_cast<int>(context.number(sheet_key::kDialogAction).value_or(kActionCreate));
    if (action == kActionModify && mItemToModify) {
        mTemporaryItem->getCAcoWArgumentsWithOwnerData(arguments);
        arguments.createSupplierOpenInvoices = createSupplierAccounts;
        arguments.createCustomerOpenInvoices = createCustomerAccounts;
        mDocument->commands().executeCommand(command::kModifyOwner, mItemToModify, &arguments);
    } else if (action == 0 || action == kActionCreate) {
        mTemporaryItem->getCAcoWArgumentsWithOwnerData(arguments);
        arguments.idKey = -1;
        arguments.createSupplierOpenInvoices = createSupplierAccounts;
        arguments.createCustomerOpenInvoices = createCustomerAccounts;
        const long newId = mDocument->commands().executeCommand(command::kNewOwner, nullptr, &arguments);
        // A refused creation leaves the import line as it was.
        if (newId >= 1)
            if (const auto line = context.importLine()) {
                line->setMCounterPartyId(newId);
                mDocument->completeBankImport();
            }
    }
}

} // namespace ch

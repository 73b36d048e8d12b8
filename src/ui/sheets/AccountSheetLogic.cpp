#include "ui/sheets/AccountSheetLogic.h"

#include "bridge/CAcnTItem.h"
#include "document/arguments/AccountArguments.h"
#include "model/foundation/CErrorManager.h"
#include "ui/sheets/BookLists.h"
#include "ui/sheets/CommandSink.h"
#include "ui/sheets/SheetCallbacks.h"
#include "ui/sheets/SheetDocument.h"

namespace ch {

void AccountSheetLogic::initialize(const SheetParameters& parameters)
{
    mDocument = parameters.document();
    if (!mDocument)
        return;
    CDocAccounting* books = mDocument->books();
    mAction = static_cast<int>(parameters.number(sheet_key::kDialogAction).value_or(kActionCreate));
    mItemToModify = parameters.itemAs<CAcnTItem>(sheet_key::kAccountToModify);
    mTemporaryItem = std::make_shared<CAcnTItem>();
    mListsAccountTypes = true;
    mAccountTypeChoosable = true;
    if (const auto kind = parameters.text(sheet_key::kAccountType)) {
        mAccountTypeChoosable = false;
        mListsAccountTypes = *kind == "OWNPROPERTY" || *kind == "P&L";
    }
    if (!mItemToModify) {
        CAcnTItem& item = *mTemporaryItem;
        if (const auto number = parameters.text(sheet_key::kBankAccountNr))
            item.setGetBankAccountNumber(*number);
        item.setGetNameOnly(parameters.text(sheet_key::kName).value_or(""));
        item.setGetAccountOwnerId(parameters.number(sheet_key::kOwnerId).value_or(book_defaults::meOwnerId(books)));
        item.setGetCurrencyId(
            parameters.number(sheet_key::kCurrencyId).value_or(book_defaults::homeCurrencyId(books)));
        if (const auto typeId = parameters.number(sheet_key::kAccountType))
            item.setGetAccountTypeId(*typeId);
        else if (const auto kind = parameters.text(sheet_key::kAccountType)) {
            if (*kind == "OWNPROPERTY")
                item.setGetAccountTypeId(1);
            else if (*kind == "P&L")
                item.setGetAccountTypeId(3);
        }
        const auto special = parameters.number(sheet_key::kAccountSpecialType);
        if (special)
            item.setSpecialType(static_cast<int>(*special));
        if (special == kCreditCard) {
            mPage = 1;
            item.setSpecialSubType(0);
        } else {
            mPage = 0;
        }
    } else {
        mTemporaryItem->synchronizeWithObject(*mItemToModify);
        mPage = mTemporaryItem->specialType() == kCreditCard ? 1 : 0;
    }
}

bool AccountSheetLogic::checkContents() const
{
    if (!mTemporaryItem)
        return false;
    const CAcnTItem& item = *mTemporaryItem;
    if (!item.getCurrencyId() || *item.getCurrencyId() < 1) {
        CErrorManager::RaiseError(200);
        return false;
    }
    if (!item.getAccountTypeId() || *item.getAccountTypeId() < 1) {
        CErrorManager::RaiseError(203);
        return false;
    }
    const std::string name = item.getNameOnly();
    if (name.empty()) {
        CErrorManager::RaiseError(202);
        return false;
    }
    if (nameInUse(mDocument ? mDocument->books() : nullptr, NamedKind::Account, name, mItemToModify.get())) {
        CErrorManager::RaiseError(266);
        return false;
    }
    return true;
}

void AccountSheetLogic::dialogClosed(int returnCode, const SheetParameters& context)
{
    if (returnCode <= 0 || !mDocument || !mTemporaryItem)
        return;
    const CAcnTItem& item = *mTemporaryItem;
    arguments::AccountArguments arguments(
        item.getId(), item.getNameOnly(), item.getDescription(), item.getAccountTypeId(), item.getCurrencyId(),
        item.getAccountNumber(), item.getAccountOwnerId(), item.getDefaultExensetypeId(),
        item.getBankAccountNumber(), item.getFiscalPct(), item.newBalance());
    arguments.specialType = item.specialType();
    arguments.specialSubType = item.specialSubType();
    const int action = static_cast<int>(context.number(sheet_key::kDialogAction).value_or(kActionCreate));
    if (action == kActionCreate) {
        const long newId = mDocument->commands().executeCommand(command::kNewAccount, nullptr, &arguments);
        // A refused creation is not passed on as if it had made an account.
        if (newId >= 1) {
            if (const auto line = context.importLine()) {
                line->setMOtherAccountId(newId);
                mDocument->completeBankImport();
            }
            sheet_callbacks::afterAccount(context, mDocument, newId, action);
        }
    } else if (action == kActionModify && mItemToModify) {
        mDocument->commands().executeCommand(command::kModifyAccount, mItemToModify, &arguments);
        sheet_callbacks::afterAccount(context, mDocument, std::nullopt, action);
    }
    mDocument->refreshAnalysisArrays();
    mDocument->updateChangeCount();
}

} // namespace ch

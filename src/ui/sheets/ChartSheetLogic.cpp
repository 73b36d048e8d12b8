#include "ui/sheets/ChartSheetLogic.h"

#include "bridge/CAccTItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/CMxpTItem.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "model/CAccount.h"
#include "model/CDocAccounting.h"
#include "model/CMasterExpenseType.h"
#include "model/CNonvisualExaminator.h"
#include "model/foundation/CErrorManager.h"
#include "ui/sheets/BookLists.h"
#include "ui/sheets/CommandSink.h"
#include "ui/sheets/SheetCallbacks.h"
#include "ui/sheets/SheetDocument.h"

namespace ch {

namespace {

const Colour kWhite{1.0, 1.0, 1.0, 1.0};

bool refuse(long error)
{
    CErrorManager::RaiseError(error);
    return false;
}

int actionOf(const SheetParameters& parameters)
{
    return static_cast<int>(parameters.number(sheet_key::kDialogAction).value_or(kActionCreate));
}

} // namespace

// --- category

void CategorySheetLogic::initialize(const SheetParameters& parameters)
{
    mDocument = parameters.document();
    if (!mDocument)
        return;
    mTemporaryItem = std::make_shared<CExpTItem>();
    mItemToModify = parameters.itemAs<CExpTItem>(sheet_key::kExpenseTypeToModify);
    mImportLine = parameters.importLine();
    CExpTItem& item = *mTemporaryItem;
    if (mItemToModify) {
        item.synchronizeWithObject(*mItemToModify);
        return;
    }
    item.setGetName(parameters.text(sheet_key::kName).value_or(""));
    item.setBalance(0.0);
    item.setTaxDeductiblePct(100.0);
    item.setDescription("");
    item.setGetColor(kWhite);
    if (const auto group = parameters.number(sheet_key::kMasterExpenseType)) {
        item.setMasterExpenseTypeId(*group);
        item.setAskMasterType(false);
    } else {
        item.setAskMasterType(true);
    }
}

bool CategorySheetLogic::checkContents() const
{
    if (!mTemporaryItem)
        return false;
    const CExpTItem& item = *mTemporaryItem;
    CDocAccounting* books = mDocument->books();
    const auto groupId = item.getMasterExpenseTypeId();
    CMasterExpenseType* group =
        groupId && books ? books->GetMasterExpenseTypeForId(static_cast<ObjectIdT>(*groupId)) : nullptr;
    if (!group)
        return refuse(204);
    if (item.getName().empty())
        return refuse(202);
    if (nameInUse(books, NamedKind::Category, item.getName(), mItemToModify.get()))
        return refuse(266);
    if (mImportLine && mImportLine->mOtherAccountId() && books) {
        const CNonVisual* account = books->GetAccountForID(static_cast<ObjectIdT>(*mImportLine->mOtherAccountId()));
        if (account) {
            const bool transferGroup = CNonvisualExaminator::isTransfer(group);
            if (CNonvisualExaminator::isPropertyAccount(account) && !transferGroup)
                return refuse(208);
            if (!CNonvisualExaminator::isPropertyAccount(account) && transferGroup)
                return refuse(231);
        }
    }
    return true;
}

void CategorySheetLogic::dialogClosed(int returnCode, const SheetParameters& context)
{
    if (returnCode <= 0 || !mDocument || !mTemporaryItem)
        return;
    const CExpTItem& item = *mTemporaryItem;
    arguments::CategoryParameters parameters;
    parameters.name = item.getName();
    parameters.description = item.description();
    parameters.mMasterTypeId = item.getMasterExpenseTypeId();
    parameters.mParentId = item.getMasterExpenseTypeId();
    parameters.mColor = item.getColor();
    parameters.mTaxDeductiblePct = item.getTaxDeductiblePct();
    const int action = actionOf(context);
    if (action == 0 || action == kActionCreate) {
        parameters.idKey = -1;
        const long newId = mDocument->commands().executeCommand(command::kNewCategory, nullptr, &parameters);
        if (newId >= 1) {
            if (const auto line = context.importLine()) {
                line->setMExpenseTypeId(newId, true);
                mDocument->completeBankImport();
            }
            sheet_callbacks::afterCategory(context, mDocument, newId);
        }
    } else if (action == kActionModify && mItemToModify) {
        parameters.idKey = mItemToModify->getId();
        mDocument->commands().executeCommand(command::kModifyCategory, mItemToModify, &parameters);
        sheet_callbacks::afterCategory(context, mDocument, mItemToModify->getId().value_or(-1));
    }
}

// --- account type

void AccountTypeSheetLogic::initialize(const SheetParameters& parameters)
{
    mDocument = parameters.document();
    if (!mDocument)
        return;
    mTemporaryItem = std::make_shared<CAccTItem>();
    mItemToModify = parameters.itemAs<CAccTItem>(sheet_key::kAccountTypeToModify);
    CAccTItem& item = *mTemporaryItem;
    if (mItemToModify) {
        item.synchronizeWithObject(*mItemToModify);
        return;
    }
    item.setGetNameOnly("");
    item.setGetDescription("");
    item.setGetMasterType(parameters.number(sheet_key::kMasterAccountType));
    if (const auto parent = parameters.number(sheet_key::kAccountType))
        item.setGetParentType(*parent);
}

bool AccountTypeSheetLogic::checkContents() const
{
    if (!mTemporaryItem)
        return false;
    const std::string name = mTemporaryItem->getNameOnly();
    if (name.empty())
        return refuse(202);
    if (nameInUse(mDocument->books(), NamedKind::AccountType, name, mItemToModify.get()))
        return refuse(266);
    return true;
}

void AccountTypeSheetLogic::dialogClosed(int returnCode, const SheetParameters& context)
{
    if (returnCode <= 0 || !mDocument || !mTemporaryItem)
        return;
    const CAccTItem& item = *mTemporaryItem;
    arguments::AccountTypeArguments arguments;
    arguments.accountTypeName = item.getNameOnly();
    arguments.accountTypeDescription = item.getDescription();
    arguments.theMasterType = static_cast<int>(item.getMasterType().value_or(0));
    arguments.theAccountTypeId = item.getParentType().value_or(-1);
    arguments.accountingNumber = item.getAccountNumber();
    const int action = actionOf(context);
    if (action == kActionCreate) {
        arguments.accountTypeId = -1;
        mDocument->commands().executeCommand(command::kNewAccountType, nullptr, &arguments);
    } else if (action == kActionModify && mItemToModify) {
        arguments.accountTypeId = mItemToModify->getId();
        mDocument->commands().executeCommand(command::kModifyAccountType, mItemToModify, &arguments);
    }
    sheet_callbacks::toDocument(context, mDocument);
    mDocument->updateChangeCount();
}

// --- category group

void CategoryGroupSheetLogic::initialize(const SheetParameters& parameters)
{
    mDocument = parameters.document();
    if (!mDocument)
        return;
    mTemporaryItem = std::make_shared<CMxpTItem>();
    mItemToModify = parameters.itemAs<CMxpTItem>(sheet_key::kMasterExpenseTypeToModify);
    CMxpTItem& item = *mTemporaryItem;
    const int action = actionOf(parameters);
    if (mItemToModify && action == kActionModify) {
        item.synchronizeWithObject(*mItemToModify);
    } else if (!mItemToModify && action == kActionCreate) {
        item.setGetName(parameters.text(sheet_key::kName).value_or(""));
        item.setMBalance(0.0);
        item.setMColor(kWhite);
        if (const auto kind = parameters.number(sheet_key::kSystemExpenseType))
            item.setMMasterType(static_cast<int>(*kind));
        if (const auto parent = parameters.number(sheet_key::kMasterExpenseType))
            item.setMParentId(*parent);
    }
}

bool CategoryGroupSheetLogic::kindMayChange() const
{
    return !mItemToModify || (mItemToModify->canSystemTypeBeModified() && mItemToModify->canItemBeRelocated());
}

bool CategoryGroupSheetLogic::checkContents() const
{
    if (!mTemporaryItem)
        return false;
    const CMxpTItem& item = *mTemporaryItem;
    if (!item.getMasterTypeAsObject())
        return refuse(204);
    if (item.getName().empty())
        return refuse(202);
    if (nameInUse(mDocument->books(), NamedKind::CategoryGroup, item.getName(), mItemToModify.get()))
        return refuse(266);
    return true;
}

void CategoryGroupSheetLogic::dialogClosed(int returnCode, const SheetParameters& context)
{
    if (returnCode <= 0 || !mDocument || !mTemporaryItem)
        return;
    const CMxpTItem& item = *mTemporaryItem;
    arguments::CategoryGroupParameters parameters;
    parameters.name = item.getName();
    parameters.mParentId = item.mParentId();
    parameters.mMasterType = item.getMasterTypeAsObject();
    parameters.mBalance = item.getBalance();
    parameters.mColor = item.mColor();
    const int action = actionOf(context);
    if (action == kActionModify && mItemToModify) {
        parameters.idKey = mItemToModify->getId();
        mDocument->commands().executeCommand(command::kModifyCategoryGroup, mItemToModify, &parameters);
    } else if (action == kActionCreate) {
        parameters.idKey = -1;
        mDocument->commands().executeCommand(command::kNewCategoryGroup, nullptr, &parameters);
    }
    sheet_callbacks::toDocument(context, mDocument);
    mDocument->updateChangeCount();
}

} // namespace ch

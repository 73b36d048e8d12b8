#include "document/ChartOperationsOfDocument.h"

#include "bridge/CAccTItem.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CCurRItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/CMxpTItem.h"
#include "document/DocumentNotifications.h"
#include "document/MyDocument.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "document/arguments/CurrencyArguments.h"
#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/foundation/CDate.h"
#include "model/foundation/CNSStringToCString.h"

namespace ch {
namespace {

struct NameText {
    char text[35] = {};
};
struct DescriptionText {
    char text[256] = {};
};

NameText nameText(const std::optional<std::string>& name)
{
    NameText out;
    CNSStringToCString::convertStringToNameT(name.value_or(""), out.text);
    return out;
}

DescriptionText descriptionText(const std::optional<std::string>& description)
{
    DescriptionText out;
    CNSStringToCString::convertStringToDescriptionT(description.value_or(""), out.text);
    return out;
}

TextRef textRef(const std::optional<std::string>& text)
{
    return text ? TextRef(*text) : std::nullopt;
}

RGBColor modelColour(const Colour& colour)
{
    auto components = colour.components16();
    return RGBColor{components[0], components[1], components[2]};
}

} // namespace

std::shared_ptr<CCurRItem> ChartOperationsOfDocument::insertCurrency()
{
    CCurrency* currency = mDocument.accounting()->InsertCurrency(
        -1, "????", std::string_view("????"), "????????", std::string_view("????????"), 1, currency_type::kCurrency, 1,
        1.0, 0, 0, -1, -1);
    return currency ? mDocument.dataItemController().currencyItemForCurrency(currency) : nullptr;
}

void ChartOperationsOfDocument::setCurrencyValues(CCurRItem& currency, const arguments::CurrencyArguments& args)
{
    currency.setMShortName(textRef(args.symbol));
    currency.setMDescription(textRef(args.description));
    currency.setMDiffAccount(args.fluctuationPlAccountId);
    currency.setMDiffExpType(args.fluctuationsReasonCodeId);
    currency.setMBaseCurrency(args.baseCurrencyId ? std::optional<int>(static_cast<int>(*args.baseCurrencyId))
                                                  : std::nullopt);
    currency.setInternetSymbol(textRef(args.internetSymbol));
}

CommandOutcome ChartOperationsOfDocument::createCurrency(const arguments::CurrencyArguments& args)
{
    std::shared_ptr<CCurRItem> currency = insertCurrency();
    if (!currency) return CommandOutcome::unchanged(-1);
    long quantity = args.conversionQuantity.value_or(0);
    // Kept in double: a rate in single precision is off by cents on large sums.
    double factor = args.conversionFactor.value_or(0.0);
    setCurrencyValues(*currency, args);
    auto& currencies = mDocument.mCurrencyArray();
    currencies.insert(currencies.begin(), currency);
    mDocument.operations().rates->changeRateForCurrency(*currency, quantity, factor, CDate::GetNowAsDateT());
    mDocument.notificationCenter().post(GXCCurrencyCreatedNotification, currency);
    return CommandOutcome::changed(1);
}

CommandOutcome ChartOperationsOfDocument::modifyCurrency(CCurRItem& currency, const arguments::CurrencyArguments& args)
{
    setCurrencyValues(currency, args);
    return CommandOutcome::changed(1);
}

std::shared_ptr<CCurRItem> ChartOperationsOfDocument::insertShare()
{
    // The model makes the share's portfolio and result accounts with it.
    CCurrency* share = mDocument.accounting()->InsertStockCurrency(-1, "New", std::string_view("NEW"));
    return share ? mDocument.dataItemController().currencyItemForCurrency(share) : nullptr;
}

CommandOutcome ChartOperationsOfDocument::createShare(const arguments::CShareArguments& args)
{
    std::shared_ptr<CCurRItem> share = insertShare();
    if (!share) return CommandOutcome::unchanged(-1);
    long quantity = args.conversionQuantity.value_or(0);
    double factor = args.conversionFactor.value_or(0.0);
    share->setMBaseCurrency(args.baseCurrencyId ? std::optional<int>(static_cast<int>(*args.baseCurrencyId))
                                                : std::nullopt);
    setShareValues(*share, args);
    auto& shares = mDocument.mShareArray();
    shares.insert(shares.begin(), share);
    // The first rate announces the share; there is no creation notice of its own.
    mDocument.operations().rates->changeRateForCurrency(*share, quantity, factor, CDate::GetNowAsDateT());
    return CommandOutcome::changed(1);
}

CommandOutcome ChartOperationsOfDocument::modifyShare(CCurRItem& share, const arguments::CShareArguments& args)
{
    // A share's base currency stays as created.
    setShareValues(share, args);
    return CommandOutcome::changed(1);
}

void ChartOperationsOfDocument::setShareValues(CCurRItem& share, const arguments::CShareArguments& args)
{
    share.setMShortName(textRef(args.symbol));
    share.setMDescription(textRef(args.description));
    share.setMDiffExpType(args.fluctuationsReasonCodeId);
    share.setMComissionAccountId(args.comissionPLAccountId);
    share.setMComissionExpenseTypeId(args.comissionReasonCodeId);
    share.setMDividentAccountIdFrom(args.dividendSourcePLAccountId);
    share.setMDividentAccountIdTo(args.dividendDestinationPropertyAccountId);
    share.setMDividentExpenseTypeId(args.dividendReasonCodId);
}

CommandOutcome ChartOperationsOfDocument::modifyAccountType(CAccTItem& type, const arguments::AccountTypeArguments& args)
{
    type.synchronizeWithParameters(args);
    mDocument.notificationCenter().post(GXCAccountTypeModifiedNotification, type.shared_from_this());
    return CommandOutcome::changed(1);
}

CommandOutcome ChartOperationsOfDocument::createAccountType(const arguments::AccountTypeArguments& args)
{
    NameText name = nameText(args.accountTypeName);
    DescriptionText description = descriptionText(args.accountTypeDescription);
    CAccType* type = mDocument.accounting()->InsertAccountType(
        static_cast<ObjectIdT>(args.accountTypeId.value_or(-1)), name.text, textRef(args.accountTypeName),
        description.text, textRef(args.accountTypeDescription), args.theMasterType,
        static_cast<ObjectIdT>(args.theAccountTypeId.value_or(-1)));
    if (!type) return CommandOutcome::unchanged(0);
    type->Put_StringrefDesc(textRef(args.accountTypeDescription));
    type->Put_StringrefName(textRef(args.accountTypeName));
    if (args.accountingNumber) {
        type->Put_mAccountNumber(nameText(args.accountingNumber).text);
        type->Put_StringRefAccountingNumber(*args.accountingNumber);
    }
    auto item = mDocument.dataItemController().accountTypeItemForAccountType(type);
    mDocument.notificationCenter().post(GXCAccountTypeCreatedNotification, item);
    return CommandOutcome::changed(1);
}

CommandOutcome ChartOperationsOfDocument::modifyAccount(CAcnTItem& account, const arguments::AccountArguments& args)
{
    account.synchronizeWithArguments(args);
    auto item = mDocument.dataItemController().accountItemForAccount(account.getSourceItem());
    mDocument.notificationCenter().post(GXCAccountModifiedNotification, item);
    return CommandOutcome::changed(account.getId().value_or(-1));
}

CommandOutcome ChartOperationsOfDocument::createAccount(const arguments::AccountArguments& args)
{
    NameText name = nameText(args.name);
    DescriptionText description = descriptionText(args.description);
    CAccount* account = mDocument.accounting()->InsertAccount(
        static_cast<ObjectIdT>(args.idKey.value_or(-1)), name.text, textRef(args.name), description.text,
        textRef(args.description), static_cast<ObjectIdT>(args.accountTypeId.value_or(0)),
        static_cast<ObjectIdT>(args.currencyId.value_or(0)), nullptr);
    if (!account) return CommandOutcome::unchanged(-1);
    account->Put_StringrefName(textRef(args.name));
    account->Put_StringrefDesc(textRef(args.description));
    if (args.accountingNumber && !args.accountingNumber->empty()) {
        account->Put_mAccountNumber(nameText(args.accountingNumber).text);
        account->Put_StringRefAccountingNumber(*args.accountingNumber);
    }
    if (args.ownerId && *args.ownerId > 0) account->Put_mAccountOwnerId(static_cast<ObjectIdT>(*args.ownerId));
    if (args.defaultCategory && *args.defaultCategory >= 0)
        account->Put_mDefaultExpenseType(static_cast<ObjectIdT>(*args.defaultCategory));
    if (args.bankAccountNumber && !args.bankAccountNumber->empty()) {
        char number[20] = {};
        CNSStringToCString::convertStringToAccountNumberT(*args.bankAccountNumber, number);
        account->Put_mNumber(number);
        account->Put_StringRefBankAccountNumber(*args.bankAccountNumber);
    }
    if (args.allocableExpenses) account->Put_mFiscalPct(*args.allocableExpenses);
    if (args.newBalance && *args.newBalance != 0.0) account->AdjustBlanceTo(*args.newBalance, false);

    auto item = mDocument.dataItemController().accountItemForAccount(account);
    item->setSpecialType(args.specialType);
    item->setSpecialSubType(args.specialSubType);
    if (item->specialType() == 1) mDocument.setMCreditCardArray();
    mDocument.notificationCenter().post(GXCAccountCreatedNotification, item);
    return CommandOutcome::changed(account->Get_Id());
}

CommandOutcome ChartOperationsOfDocument::modifyCategory(CExpTItem& category, const arguments::CategoryParameters& args)
{
    category.synchronizeWithParameters(args);
    return CommandOutcome::changed(0);
}

CommandOutcome ChartOperationsOfDocument::createCategory(const arguments::CategoryParameters& args)
{
    NameText name = nameText(args.name);
    DescriptionText description = descriptionText(args.description);
    CMasterExpenseType* group =
        args.mParentId ? mDocument.getMasterExpenseTypeForId(static_cast<ObjectIdT>(*args.mParentId)) : nullptr;
    CExpenseType* category = mDocument.accounting()->InsertExpenseType(
        -1, name.text, textRef(args.name), description.text, textRef(args.description),
        static_cast<ObjectIdT>(args.mMasterTypeId.value_or(0)), std::string_view(), group, 100.0);
    if (!category) return CommandOutcome::unchanged(-1);
    category->Put_StringrefName(textRef(args.name));
    category->Put_StringrefDesc(textRef(args.description));
    if (args.mColor) category->Put_Color(modelColour(*args.mColor));
    if (args.mTaxDeductiblePct) category->Put_mTaxDeductiblePct(*args.mTaxDeductiblePct);
    auto item = mDocument.dataItemController().categoryItemForCategory(category);
    mDocument.notificationCenter().post(GXCCategoryCreatedNotification, item);
    return CommandOutcome::changed(category->Get_Id());
}

CommandOutcome ChartOperationsOfDocument::modifyCategoryGroup(CMxpTItem& group,
                                                              const arguments::CategoryGroupParameters& args)
{
    group.synchronizeWithParameters(args);
    // The kind changes only where the sheet offers it: a top-level group
    // that holds nothing yet and is not one of the fixed default groups,
    // which stand for their kinds. It then moves to its new kind in the side
    // bar.
    if (args.mMasterType && *args.mMasterType != group.getMasterType() && group.canSystemTypeBeModified() &&
        group.canItemBeRelocated()) {
        group.setMMasterType(args.mMasterType);
        if (group.getMasterType() == *args.mMasterType)
            mDocument.notificationCenter().post(GXCObjectRemovedFromRootNotification,
                                                mDocument.dataItemController().dataItemForObject(group.getSourceItem()));
    }
    return CommandOutcome::changed(1);
}

CommandOutcome ChartOperationsOfDocument::createCategoryGroup(const arguments::CategoryGroupParameters& args)
{
    NameText name = nameText(args.name);
    // Without a parent the group is its own parent: a top-level group.
    CMasterExpenseType* group = mDocument.accounting()->InsertMasterExpenseType(
        -1, name.text, textRef(args.name), nullptr, std::nullopt,
        static_cast<MasterExpenseTypeT>(args.mMasterType.value_or(0)),
        static_cast<ObjectIdT>(args.mParentId.value_or(-1)));
    if (!group) return CommandOutcome::unchanged(-1);
    group->Put_StringrefName(textRef(args.name));
    if (args.mColor) group->Put_Color(modelColour(*args.mColor));
    auto item = mDocument.dataItemController().categoryTypeItemForCategoryType(group);
    mDocument.notificationCenter().post(GXCCategoryTypeCreatedNotification, item);
    return CommandOutcome::changed(group->Get_Id());
}

} // namespace ch

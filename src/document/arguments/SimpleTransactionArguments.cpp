#include "document/arguments/SimpleTransactionArguments.h"

#include <utility>

#include "bridge/BridgeDocument.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/CNonVisualDataItemController.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CPreference.h"
#include "platform/core/localized_strings.h"

namespace ch::arguments {

namespace {

bool isAssetOrDebt(const std::shared_ptr<CAcnTItem>& account)
{
    return account && (account->isProperty() || account->isDebt());
}

std::shared_ptr<CAcnTItem> accountItem(BridgeDocument& document, std::optional<long> id)
{
    return id ? document.getAccountItemForId(static_cast<ObjectIdT>(*id)) : nullptr;
}

std::shared_ptr<CExpTItem> categoryItem(BridgeDocument& document, std::optional<long> id)
{
    CDocAccounting* root = document.accounting();
    CExpenseType* category = root && id ? root->GetExpenseTypeForID(static_cast<ObjectIdT>(*id)) : nullptr;
    return category ? document.dataItemController().categoryItemForCategory(category) : nullptr;
}

} // namespace

SimpleTransactionArguments::SimpleTransactionArguments(std::optional<long> date, std::optional<long> ourAccountId)
    : mDate(date), mOurAccountId(ourAccountId)
{
}

template <typename T>
void SimpleTransactionArguments::change(T& field, T value, const char* key, bool titleDepends)
{
    if (field == value)
        return;
    field = std::move(value);
    announce(key);
    if (titleDepends)
        setActionTitle();
}

void SimpleTransactionArguments::setActionToPerform(std::uint8_t action)
{
    change(mActionToPerform, action, "actionToPerform");
}

void SimpleTransactionArguments::setName(std::optional<std::string> name)
{
    change(mName, std::move(name), "name");
}

void SimpleTransactionArguments::setDescription(std::optional<std::string> description)
{
    change(mDescription, std::move(description), "description");
}

void SimpleTransactionArguments::setDate(std::optional<long> date)
{
    change(mDate, date, "date");
}

void SimpleTransactionArguments::setAmount(std::optional<double> amount)
{
    change(mAmount, amount, "amount", true);
}

void SimpleTransactionArguments::setOurAccountId(std::optional<long> id)
{
    change(mOurAccountId, id, "ourAccountId", true);
}

void SimpleTransactionArguments::setOtherAccountId(std::optional<long> id)
{
    change(mOtherAccountId, id, "otherAccountId", true);
}

void SimpleTransactionArguments::setReasonId(std::optional<long> id)
{
    change(mReasonId, id, "reasonId");
}

// ------------------------------------------------------------------ the entry

std::shared_ptr<CAcnTItem> SimpleTransactionArguments::getAccountWhenOurAccount(
    const std::shared_ptr<CAcnTItem>& ourAccount, const std::shared_ptr<CAcnTItem>& otherAccount,
    std::optional<double> amount, bool asFrom)
{
    const bool positive = amount.value_or(0.0) >= 0.0;
    std::shared_ptr<CAcnTItem> from;
    if (ourAccount && ourAccount->isProperty())
        from = positive ? otherAccount : ourAccount;
    else if (ourAccount && ourAccount->isDebt())
        from = positive ? ourAccount : otherAccount;
    else if (otherAccount && otherAccount->isProperty())
        from = positive ? otherAccount : ourAccount;
    else
        from = positive ? ourAccount : otherAccount;
    if (asFrom)
        return from;
    return from != ourAccount ? ourAccount : otherAccount;
}

std::shared_ptr<CAcnTItem> SimpleTransactionArguments::getAccount(BridgeDocument& document, bool asFrom) const
{
    return getAccountWhenOurAccount(accountItem(document, mOurAccountId), accountItem(document, mOtherAccountId),
                                    mAmount, asFrom);
}

std::optional<long> SimpleTransactionArguments::accountId(BridgeDocument& document, bool asFrom) const
{
    const std::shared_ptr<CAcnTItem> account = getAccount(document, asFrom);
    if (!account)
        return std::nullopt;
    const std::optional<ObjectIdT> id = account->getId();
    return id ? std::optional<long>(*id) : std::nullopt;
}

std::uint8_t SimpleTransactionArguments::getTransactionType(BridgeDocument& document) const
{
    const std::shared_ptr<CAcnTItem> from = getAccount(document, true);
    const std::shared_ptr<CAcnTItem> to = getAccount(document, false);
    if (!from || !to)
        return kIncomplete;
    if (isAssetOrDebt(from))
        return isAssetOrDebt(to) ? kTransfer : kExpense;
    return isAssetOrDebt(to) ? kIncome : kTransfer;
}

double SimpleTransactionArguments::absoluteAmount() const
{
    const double amount = mAmount.value_or(0.0);
    return amount >= 0.0 ? amount : -amount;
}

std::optional<long> SimpleTransactionArguments::category(BridgeDocument& document) const
{
    if (const std::shared_ptr<CAcnTItem> other = accountItem(document, mOtherAccountId)) {
        const std::optional<long> defaultCategory = other->getDefaultExensetypeId();
        if (categoryItem(document, defaultCategory))
            return defaultCategory;
    }
    const CDocAccounting* root = document.accounting();
    const CPreference* settings = root ? root->mPreference : nullptr;
    if (!settings)
        return std::nullopt;
    switch (getTransactionType(document)) {
    case kIncome: return settings->Get_mDefExpTUnspecifiedIncome();
    case kExpense: return settings->Get_mDefExpTUnspecifiedExpense();
    default: return settings->Get_mDefExpTUnspecifiedTransfer();
    }
}

double SimpleTransactionArguments::categoryAmount(BridgeDocument& document) const
{
    const double amount = absoluteAmount();
    const std::shared_ptr<CExpTItem> item = categoryItem(document, category(document));
    if (!item)
        return amount;
    const bool expense = item->isExpense().value_or(false);
    const bool income = item->isIncome().value_or(false);
    const std::uint8_t type = getTransactionType(document);
    if ((type == kExpense && !expense && income) || (type == kIncome && !income && expense))
        return -amount;
    return amount;
}

void SimpleTransactionArguments::reset()
{
    setAmount(0.0);
    setName(std::string());
    setOtherAccountId(std::nullopt);
}

std::string SimpleTransactionArguments::actionTitle() const
{
    std::string title = localized("STORE") + " ";
    switch (mParentDocument ? getTransactionType(*mParentDocument) : kIncomplete) {
    case kIncome: return title + localized("incomeMxpTName");
    case kExpense: return title + localized("expenseMxpTName");
    case kTransfer: return title + localized("transferMxpTName");
    default: return title;
    }
}

void SimpleTransactionArguments::setActionTitle()
{
    announce("actionTitle");
}

std::optional<ch::SimpleTransactionArguments> SimpleTransactionArguments::transactionValues(
    BridgeDocument& document) const
{
    const std::optional<long> from = fromAccountId(document);
    const std::optional<long> to = toAccountId(document);
    const std::optional<long> categoryId = category(document);
    if (!from || !to || !categoryId)
        return std::nullopt;
    ch::SimpleTransactionArguments values;
    values.absoluteAmount = absoluteAmount();
    values.fromAccountId = *from;
    values.toAccountId = *to;
    values.category = *categoryId;
    values.categoryAmount = categoryAmount(document);
    values.transactionType = getTransactionType(document);
    values.name = mName;
    values.description = mDescription;
    values.date = mDate;
    return values;
}

// ------------------------------------------------------------------ text form

void SimpleTransactionArguments::addEntries(Dictionary& dictionary) const
{
    dictionary.set("ActionToPerform", int(mActionToPerform));
    putPresent(dictionary, "TransactionName", mName);
    putPresent(dictionary, "TransactionDescription", mDescription);
    putPresent(dictionary, "TransactionDate", mDate);
    putPresent(dictionary, "TransactionAmount", mAmount);
    if (mOurAccountId) {
        putPresent(dictionary, "OurAccountId", mOurAccountId);
        putPresent(dictionary, "OtherAccountId", mOtherAccountId);
    }
    putPresent(dictionary, "ReasonCodeId", mReasonId);
}

bool SimpleTransactionArguments::recoverFromDictionary(const Dictionary& dictionary)
{
    auto integer = [&](std::string_view key) -> std::optional<long> {
        return getIntegerFromDictionary(dictionary, key);
    };
    setActionToPerform(static_cast<std::uint8_t>(getIntegerFromDictionary(dictionary, "ActionToPerform").value_or(0)));
    setName(getTextFromDictionary(dictionary, "TransactionName"));
    setDescription(getTextFromDictionary(dictionary, "TransactionDescription"));
    setDate(getDateFromDictionary(dictionary, "TransactionDate"));
    setAmount(getNumberFromDictionary(dictionary, "TransactionAmount"));
    setOurAccountId(integer("OurAccountId"));
    setOtherAccountId(integer("OtherAccountId"));
    setReasonId(integer("ReasonCodeId"));
    return true;
}

} // namespace ch::arguments

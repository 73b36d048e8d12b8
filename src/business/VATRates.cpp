#include "business/VATRates.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "bridge/BridgeDocument.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CPrfRItem.h"
#include "bridge/DeveloperLog.h"
#include "business/BusinessArrays.h"
#include "business/BusinessDocument.h"
#include "business/VATRateArguments.h"
#include "document/DocumentNotifications.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "model/CAccount.h"
#include "model/CAccountOwner.h"
#include "model/CDebit.h"
#include "model/CNamedListArray.h"
#include "model/CTransaction.h"
#include "model/CDocAccounting.h"
#include "model/foundation/CErrorManager.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"
#include "platform/core/notification_center.h"

namespace ch::business {

namespace {

constexpr long kDeleteQuestion = 226;
// Names the rate and what goes with it: its accounts and their bookings.
constexpr long kDeleteWithBookingsQuestion = 562;

std::string text(const std::optional<std::string>& value)
{
    return value.value_or(std::string());
}

} // namespace

bool createVATRateWithArguments(BusinessDocument& document, const arguments::VATRateArguments& arguments)
{
    std::shared_ptr<GXVATRate> rate = GXVATRate::makeWithArguments(arguments, &document);
    auto& rates = document.businessArrays().VATRateArray;
    rates.insert(rates.begin(), rate);
    document.bridgeDocument().notificationCenter().post(GXCNewVatRateCreatedNotification,
                                                        std::static_pointer_cast<Observable>(rate));
    document.bridgeDocument().updateChangeCount();
    return true;
}

bool updateVATRate(BusinessDocument& document, const std::shared_ptr<GXVATRate>& rate,
                   const arguments::VATRateArguments& arguments)
{
    rate->synchronizeWithArguments(arguments);
    document.bridgeDocument().updateChangeCount();
    document.bridgeDocument().notificationCenter().post(GXCVatRateUpdatedNotification,
                                                        std::static_pointer_cast<Observable>(rate));
    return true;
}

namespace {

// The accounts only this rate uses, each once, and how many transactions
// are booked on them.
struct RateDeletion {
    std::vector<std::shared_ptr<CAcnTItem>> accounts;
    std::size_t transactions = 0;
};

RateDeletion whatGoesWith(BusinessDocument& document, const GXVATRate& rate)
{
    RateDeletion deletion;
    BridgeDocument& bridge = document.bridgeDocument();
    for (const std::optional<long>& id : {rate.accountIdPaid(), rate.accountIdReceived(), rate.accountIdReconciled()}) {
        if (!id || accountIsUsedByVATRate(document, *id, &rate))
            continue;
        std::shared_ptr<CAcnTItem> account = bridge.getAccountItemForId(static_cast<ObjectIdT>(*id));
        if (account && std::find(deletion.accounts.begin(), deletion.accounts.end(), account) == deletion.accounts.end())
            deletion.accounts.push_back(std::move(account));
    }
    std::unordered_set<const CTransaction*> booked;
    for (const std::shared_ptr<CAcnTItem>& item : deletion.accounts) {
        const auto* account = dynamic_cast<const CAccount*>(item->getSourceItem());
        if (!account) continue;
        for (const CNamedListArray* lines : {account->Get_mDebitlist(), account->Get_mCreditList()})
            for (ArrayIndexT i = 1; lines && i <= static_cast<ArrayIndexT>(lines->GetCount()); ++i)
                if (const auto* line = static_cast<const CDebit*>(lines->ObjectAt(i)); line && line->Get_mTransactionPtr())
                    booked.insert(line->Get_mTransactionPtr());
        for (const CTransaction* waiting : account->WaitingTransactionsOnIt()) booked.insert(waiting);
    }
    deletion.transactions = booked.size();
    return deletion;
}

} // namespace

bool confirmVATRateDeletion(BusinessDocument& document, const GXVATRate& rate)
{
    const RateDeletion deletion = whatGoesWith(document, rate);
    if (deletion.transactions == 0) return CErrorManager::AskQuestion(kDeleteQuestion);
    std::string accounts;
    for (const std::shared_ptr<CAcnTItem>& account : deletion.accounts)
        accounts += (accounts.empty() ? "" : ", ") + ("\u201C" + account->getName() + "\u201D");
    const std::string goes =
        formatMessage(localized("VATRATEDELETIONBOOKINGS"), {std::to_string(deletion.transactions), accounts});
    return CErrorManager::AskQuestionWithTexts(kDeleteWithBookingsQuestion, ButtonKey("CANCEL"), ButtonKey("OK"),
                                               text(rate.name()), goes);
}

void performDeleteVATRate(BusinessDocument& document, const std::shared_ptr<GXVATRate>& rate, bool withAsking)
{
    if (!rate || !rate->objectCanBeDeletedWithMessage(withAsking))
        return;
    // One question for the whole: a Cancel to it changes nothing, and no
    // question per account can stop the deletion half-way.
    if (withAsking && !confirmVATRateDeletion(document, *rate))
        return;
    const CErrorManager::QuestionsAnswered answered;

    // All the accounts must be deletable before any goes, or a refusal
    // half-way would leave the rate's bookings partly deleted.
    BridgeDocument& bridge = document.bridgeDocument();
    const std::vector<std::shared_ptr<CAcnTItem>> accounts = whatGoesWith(document, *rate).accounts;
    for (const std::shared_ptr<CAcnTItem>& account : accounts)
        if (!account->objectCanBeDeletedWithMessage(true, nullptr))
            return;

    bridge.notificationCenter().post(GXCVatRateWillBeDeletedNotification, std::static_pointer_cast<Observable>(rate));
    for (const std::shared_ptr<CAcnTItem>& account : accounts)
        document.performDeleteAccountSelf(account);

    const std::string key = rate->calculateKey();
    auto& rates = document.businessArrays().VATRateArray;
    rates.erase(std::remove(rates.begin(), rates.end(), rate), rates.end());
    // Only the business array knows the rate is gone: the file must be saved.
    bridge.updateChangeCount();
    bridge.notificationCenter().post(GXCVatRateDeletedNotification, key);
}

ObjectIdT createAccountForVATRate(BusinessDocument& document, const GXVATRate& rate, bool isPaid, bool isReceived,
                                  bool isReconciled)
{
    CPrfRItem* settings = document.preferenceItem();
    const char* labelKey = nullptr;
    std::optional<long> accountType;
    if (isPaid) {
        labelKey = "VATRECEIVED";
        if (settings) accountType = settings->mVatPaidAccT();
    } else if (isReceived) {
        labelKey = "VATPAID";
        if (settings) accountType = settings->mVATReceivedAccT();
    } else if (isReconciled) {
        labelKey = "VATBALANCE";
        if (settings) accountType = settings->mVatBalanceAcnT();
    } else {
        return -1;
    }
    const std::string label = localized(labelKey);
    const std::string rateName = text(rate.name());

    CDocAccounting* root = document.bridgeDocument().accounting();
    std::optional<long> homeCurrency;
    std::optional<long> ownOwner;
    if (root) {
        CNonVisual* currency = nullptr;
        homeCurrency = root->Get_HomeCurrency(currency);
        if (const CAccountOwner* me = root->Get_Me())
            ownOwner = me->Get_Id();
    }
    const arguments::AccountArguments arguments(-1, label + " : " + rateName, rateName + " : " + label, accountType,
                                                homeCurrency, std::nullopt, ownOwner, -1, std::nullopt, 100.0, 0.0);
    return document.createAccountWithArguments(arguments);
}

ObjectIdT createCategoryInvoicedNotReceivedForVATRate(BusinessDocument& document, const GXVATRate& rate)
{
    const std::string label = localized("VATINVOICEDNOTRECEIVEDNAME");
    arguments::CategoryParameters parameters;
    parameters.idKey = -1;
    parameters.name = label + " : " + text(rate.name());
    parameters.description = label + " : " + text(rate.description());
    parameters.mBalance = 0.0;
    parameters.mMasterTypeId = 1;
    parameters.mParentId = -1;
    parameters.mTaxDeductiblePct = 0.0;
    return document.createCategoryWithArguments(parameters);
}

std::shared_ptr<GXVATRate> VATRateWithId(BusinessDocument& document, std::optional<long> id, bool alwaysReturnOne)
{
    return std::dynamic_pointer_cast<GXVATRate>(
        ch::objectFromArray(document.businessArrays().VATRateArray, id, alwaysReturnOne));
}

std::shared_ptr<GXVATRate> getDefaultVATRateForOrder(BusinessDocument& document, int order)
{
    if (order != 0)
        return nullptr;
    return VATRateWithId(document, 1, true);
}

std::shared_ptr<GXVATRate> VATRateForAccountId(BusinessDocument& document, long accountId, bool asPayable)
{
    for (const std::shared_ptr<GXVATRate>& rate : document.businessArrays().VATRateArray) {
        const std::optional<long>& id = asPayable ? rate->accountIdReceived() : rate->accountIdPaid();
        if (id && *id == accountId)
            return rate;
    }
    return nullptr;
}

std::shared_ptr<GXVATRate> VATRateForAccountIdPayable(BusinessDocument& document, long accountId)
{
    return VATRateForAccountId(document, accountId, false);
}

std::shared_ptr<GXVATRate> VATRateForAccountIdReceivable(BusinessDocument& document, long accountId)
{
    return VATRateForAccountId(document, accountId, true);
}

bool accountIsUsedByVATRate(BusinessDocument& document, long accountId, const GXVATRate* ignoring)
{
    for (const std::shared_ptr<GXVATRate>& rate : document.businessArrays().VATRateArray) {
        if (rate.get() == ignoring)
            continue;
        for (const std::optional<long>& id :
             {rate->accountIdPaid(), rate->accountIdReceived(), rate->accountIdReconciled()})
            if (id && *id == accountId)
                return true;
    }
    return false;
}

std::shared_ptr<GXVATRate> VATRateForObjectKey(BusinessDocument& document, std::string_view key)
{
    if (!key.starts_with(GXVATRate::kObjectType))
        return nullptr;
    return VATRateWithId(document, Value(key.substr(4)).toInt(), false);
}

} // namespace ch::business

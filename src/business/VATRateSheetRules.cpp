#include "business/VATRateSheetRules.h"

#include "bridge/BridgeDocument.h"
#include "bridge/CAcnTItem.h"
#include "business/BusinessDocument.h"
#include "business/GXVATRate.h"
#include "business/VATRateArguments.h"
#include "business/VATRates.h"

namespace ch::business {

namespace {

constexpr long kNameMissing = 202;
constexpr long kValueMissing = 129;
constexpr long kPercentageOutOfRange = 272;
constexpr long kUsedByAnotherRate = 273;
constexpr long kAccountHasBookings = 274;

bool hasBookings(BusinessDocument& document, long accountId)
{
    std::shared_ptr<CAcnTItem> account =
        document.bridgeDocument().getAccountItemForId(static_cast<ObjectIdT>(accountId));
    return account && account->hasTransactions();
}

bool outOfRange(double percentage)
{
    return percentage < 0.0 || percentage > 100.0;
}

} // namespace

VATRateSheetCheck checkVATRateSheet(BusinessDocument& document, const arguments::VATRateArguments& arguments,
                                    const GXVATRate* modifying)
{
    using Field = VATRateSheetField;
    if (!arguments.name || arguments.name->empty())
        return {kNameMissing, Field::Name};
    if (!arguments.fiscalPCT)
        return {kValueMissing, Field::Percentage};
    if (outOfRange(*arguments.fiscalPCT))
        return {kPercentageOutOfRange, Field::Percentage};
    if (!arguments.rate)
        return {kValueMissing, Field::Rate};
    if (outOfRange(*arguments.rate))
        return {kPercentageOutOfRange, Field::Rate};

    // A rate being made has no old accounts: they compare as 0.
    const long oldPaid = modifying ? modifying->accountIdPaid().value_or(0) : 0;
    const long oldReceived = modifying ? modifying->accountIdReceived().value_or(0) : 0;
    if (arguments.createAccounts.value_or(false)) {
        if (modifying && hasBookings(document, oldPaid))
            return {kAccountHasBookings, Field::PaidAccount};
        if (modifying && hasBookings(document, oldReceived))
            return {kAccountHasBookings, Field::ReceivedAccount};
        return {};
    }
    if (!arguments.accountIdPaid)
        return {kValueMissing, Field::PaidAccount};
    if (!arguments.accountIdReceived)
        return {kValueMissing, Field::ReceivedAccount};
    if (*arguments.accountIdPaid != oldPaid) {
        if (accountIsUsedByVATRate(document, *arguments.accountIdPaid, modifying))
            return {kUsedByAnotherRate, Field::PaidAccount};
        if (hasBookings(document, oldPaid))
            return {kAccountHasBookings, Field::PaidAccount};
    }
    if (*arguments.accountIdReceived != oldReceived) {
        if (accountIsUsedByVATRate(document, *arguments.accountIdReceived, modifying))
            return {kUsedByAnotherRate, Field::ReceivedAccount};
        if (hasBookings(document, oldReceived))
            return {kAccountHasBookings, Field::ReceivedAccount};
    }
    return {};
}

VATRateSheetChoices VATRateSheetChoicesFor(const arguments::VATRateArguments& arguments)
{
    const bool newRate = arguments.idKey.value_or(-1) < 0;
    VATRateSheetChoices choices;
    choices.createAccountsPossible = newRate;
    choices.createReconciliationAccountPossible = newRate;
    choices.createCategoryInvoicedNotReceivedPossible = newRate;
    choices.selectAccountsPossible = !arguments.createAccounts.value_or(false);
    choices.selectReconciliationAccountPossible = !arguments.createAccountReconciled.value_or(false);
    choices.selectCategoryInvoicedNotReceivedPossible = !arguments.createCategoryInvoicedNotReceived.value_or(false);
    return choices;
}

} // namespace ch::business

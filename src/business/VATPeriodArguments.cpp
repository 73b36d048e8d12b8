#include "business/VATPeriodArguments.h"

namespace ch::arguments {

void VATPeriodArguments::addEntries(Dictionary& dictionary) const
{
    dictionary.set("idKey", idKey.value_or(-1));
    dictionary.set("name", name.value_or(std::string()));
    putPresent(dictionary, "description", description);
    putPresent(dictionary, "objectType", type);
    putPresent(dictionary, "StartDate", startDate);
    putPresent(dictionary, "EndDate", endDate);
    putPresent(dictionary, "AmountPaid", amountPaid);
    putPresent(dictionary, "AmountPaidCancelled", amountPaidCancelled);
    putPresent(dictionary, "AmountReceived", amountReceived);
    putPresent(dictionary, "AmountReceivedCancelled", amountReceivedCancelled);
    putPresent(dictionary, "AmountPrepaid", amountPrepaid);
    putPresent(dictionary, "BalanceAmount", balanceAmount);
    putPresent(dictionary, "PaymentAmountNextPeriod", paymentAmountNextPeriod);
    putPresent(dictionary, "ClosingTransactionId", closingTransactionId);
    putPresent(dictionary, "ClosingDate", closingDate);
    putPresent(dictionary, "Status", status);
}

bool VATPeriodArguments::recoverFromDictionary(const Dictionary& dictionary)
{
    idKey = getObjectIdAsNumberFromDictionary(dictionary, "idKey");
    name = getTextFromDictionary(dictionary, "name");
    description = getTextFromDictionary(dictionary, "description");
    type = getTextFromDictionary(dictionary, "objectType");
    startDate = getDateFromDictionary(dictionary, "StartDate");
    endDate = getDateFromDictionary(dictionary, "EndDate");
    amountPaid = geDoubleFromDictionary(dictionary, "AmountPaid");
    amountPaidCancelled = geDoubleFromDictionary(dictionary, "AmountPaidCancelled");
    amountReceived = geDoubleFromDictionary(dictionary, "AmountReceived");
    amountReceivedCancelled = geDoubleFromDictionary(dictionary, "AmountReceivedCancelled");
    amountPrepaid = geDoubleFromDictionary(dictionary, "AmountPrepaid");
    balanceAmount = geDoubleFromDictionary(dictionary, "BalanceAmount");
    paymentAmountNextPeriod = geDoubleFromDictionary(dictionary, "PaymentAmountNextPeriod");
    closingTransactionId = getObjectIdAsNumberFromDictionary(dictionary, "ClosingTransactionId");
    closingDate = getDateFromDictionary(dictionary, "ClosingDate");
    status = getTextFromDictionary(dictionary, "Status");
    return true;
}

} // namespace ch::arguments

#include "business/PaymentArguments.h"

namespace ch::arguments {

void PaymentArguments::addEntries(Dictionary& dictionary) const
{
    putPresent(dictionary, "name", paymentName);
    dictionary.set("thirdPartyId", Value(thirdPartyId.value_or(-1)));
    putPresent(dictionary, "paymentReference", paymentReference);
    dictionary.set("amountPaid", Value(paymentAmount.value_or(0.0)));
    putPresent(dictionary, "paymentCategoryId", paymentCategoryId);
    putPresent(dictionary, "paymentDate", paymentDate);
    putPresent(dictionary, "ownerType", paymentOwnerType);
}

bool PaymentArguments::recoverFromDictionary(const Dictionary& dictionary)
{
    paymentName = getTextFromDictionary(dictionary, "name");
    thirdPartyId = getObjectIdAsNumberFromDictionary(dictionary, "thirdPartyId");
    paymentReference = getTextFromDictionary(dictionary, "paymentReference");
    paymentAmount = getNumberFromDictionary(dictionary, "amountPaid");
    paymentCategoryId = getObjectIdAsNumberFromDictionary(dictionary, "paymentCategoryId");
    paymentDate = getDateFromDictionary(dictionary, "paymentDate");
    paymentOwnerType = getTextFromDictionary(dictionary, "ownerType");
    return true;
}

void SplitPaymentArguments::addEntries(Dictionary& dictionary) const
{
    putPresent(dictionary, "name", paymentName);
    putPresent(dictionary, "originalAmount", originalAmount);
    putPresent(dictionary, "splitAmount", splitAmount);
    putPresent(dictionary, "leftoverAmount", leftOverAmount);
    putPresent(dictionary, "OwnerType", ownerType);
}

bool SplitPaymentArguments::recoverFromDictionary(const Dictionary& dictionary)
{
    paymentName = getTextFromDictionary(dictionary, "name");
    originalAmount = getNumberFromDictionary(dictionary, "originalAmount");
    splitAmount = getNumberFromDictionary(dictionary, "splitAmount");
    leftOverAmount = getNumberFromDictionary(dictionary, "leftoverAmount");
    ownerType = getTextFromDictionary(dictionary, "OwnerType");
    return true;
}

} // namespace ch::arguments

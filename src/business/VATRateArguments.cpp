#include "business/VATRateArguments.h"

namespace ch::arguments {

namespace {

// The flags travel as numbers and come back through the id reader.
std::optional<bool> flagFromDictionary(const Dictionary& dictionary, std::string_view key)
{
    std::optional<long> number = CArgumentAncestor::getObjectIdAsNumberFromDictionary(dictionary, key);
    if (!number)
        return std::nullopt;
    return *number != 0;
}

} // namespace

void VATRateArguments::addEntries(Dictionary& dictionary) const
{
    dictionary.set("idKey", idKey.value_or(-1));
    dictionary.set("name", name.value_or(std::string()));
    putPresent(dictionary, "description", description);
    putPresent(dictionary, "objectType", type);
    putPresent(dictionary, "rate", rate);
    putPresent(dictionary, "fiscalPCT", fiscalPCT);
    putPresent(dictionary, "accountIdPaidVAT", accountIdPaid);
    putPresent(dictionary, "accountIdReceivedVAT", accountIdReceived);
    putPresent(dictionary, "accountIdReconciled", accountIdReconciled);
    putPresent(dictionary, "createAccounts", createAccounts);
    putPresent(dictionary, "createReconciledAccount", createAccountReconciled);
    putPresent(dictionary, "CreateCategoryInvoicedNotReceived", createCategoryInvoicedNotReceived);
    putPresent(dictionary, "CategoryVATInvoicedNotReceivedId", categoryInvoicedNotReceivedId);
    putPresent(dictionary, "keyPaid", keyPaid);
    putPresent(dictionary, "keyPaidCancelled", keyPaidCancelled);
    putPresent(dictionary, "keyReceived", keyReceived);
    putPresent(dictionary, "keyReceivedCancelled", keyReceivedCancelled);
}

bool VATRateArguments::recoverFromDictionary(const Dictionary& dictionary)
{
    idKey = getObjectIdAsNumberFromDictionary(dictionary, "idKey");
    name = getTextFromDictionary(dictionary, "name");
    description = getTextFromDictionary(dictionary, "description");
    type = getTextFromDictionary(dictionary, "objectType");
    rate = geDoubleFromDictionary(dictionary, "rate");
    fiscalPCT = geDoubleFromDictionary(dictionary, "fiscalPCT");
    accountIdPaid = getObjectIdAsNumberFromDictionary(dictionary, "accountIdPaidVAT");
    accountIdReceived = getObjectIdAsNumberFromDictionary(dictionary, "accountIdReceivedVAT");
    accountIdReconciled = getObjectIdAsNumberFromDictionary(dictionary, "accountIdReconciled");
    createAccounts = flagFromDictionary(dictionary, "createAccounts");
    createAccountReconciled = flagFromDictionary(dictionary, "createReconciledAccount");
    createCategoryInvoicedNotReceived = flagFromDictionary(dictionary, "CreateCategoryInvoicedNotReceived");
    categoryInvoicedNotReceivedId = getObjectIdAsNumberFromDictionary(dictionary, "CategoryVATInvoicedNotReceivedId");
    keyPaid = getTextFromDictionary(dictionary, "keyPaid");
    keyPaidCancelled = getTextFromDictionary(dictionary, "keyPaidCancelled");
    keyReceived = getTextFromDictionary(dictionary, "keyReceived");
    keyReceivedCancelled = getTextFromDictionary(dictionary, "keyReceivedCancelled");
    return true;
}

} // namespace ch::arguments

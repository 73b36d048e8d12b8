#include "document/arguments/ImportTransactionArguments.h"

namespace ch::arguments {

void ImportTransactionArguments::addEntries(Dictionary& dictionary) const
{
    putPresent(dictionary, "ImportedName", name);
    putPresent(dictionary, "ImportedDescription", transactionDescription);
    putPresent(dictionary, "ImpportedDate", valueDate);
    putPresent(dictionary, "ImportedAmount", amount);
    putPresent(dictionary, "ImportedCurrencyId", currencyId);
    putPresent(dictionary, "ImportedFromAccountId", fromAccountId);
    putPresent(dictionary, "ImportedToAccountId", toAccountId);
    putPresent(dictionary, "ImportedReasonCodeId", expenseTypeId);
    dictionary.set("ImportedUnbalancedIndicator", unbalanced);
    putPresent(dictionary, "ImportedTransactionType", transactionType);
}

bool ImportTransactionArguments::recoverFromDictionary(const Dictionary& dictionary)
{
    name = getTextFromDictionary(dictionary, "ImportedName");
    transactionDescription = getTextFromDictionary(dictionary, "ImportedDescription");
    valueDate = getDateFromDictionary(dictionary, "ImpportedDate");
    amount = getNumberFromDictionary(dictionary, "ImportedAmount");
    currencyId = getObjectIdAsNumberFromDictionary(dictionary, "ImportedCurrencyId");
    fromAccountId = getObjectIdAsNumberFromDictionary(dictionary, "ImportedFromAccountId");
    toAccountId = getObjectIdAsNumberFromDictionary(dictionary, "ImportedToAccountId");
    expenseTypeId = getObjectIdAsNumberFromDictionary(dictionary, "ImportedReasonCodeId");
    unbalanced = getIntegerFromDictionary(dictionary, "ImportedUnbalancedIndicator").value_or(0) != 0;
    transactionType = getIntegerFromDictionary(dictionary, "ImportedTransactionType");
    return true;
}

} // namespace ch::arguments

#include "document/arguments/ShareTradeArguments.h"

namespace ch::arguments {

namespace {

// A Boolean kept as the whole number 1 or 0 and read back as an id.
std::optional<bool> flagFromDictionary(const Dictionary& dictionary, std::string_view key)
{
    const std::optional<long> number = CArgumentAncestor::getObjectIdAsNumberFromDictionary(dictionary, key);
    return number ? std::optional<bool>(*number != 0) : std::nullopt;
}

} // namespace

void BuySellSharesParameters::addEntries(Dictionary& dictionary) const
{
    putPresent(dictionary, "unitPrice", price);
    putPresent(dictionary, "commission", commission);
    putPresent(dictionary, "quantity", quantity);
    putPresent(dictionary, "totalValue", totalValue);
    putPresent(dictionary, "fromAccountId", fromAccountId);
    putPresent(dictionary, "commissionAccountId", commissionAccountId);
    putPresent(dictionary, "name", description);
    putPresent(dictionary, "updateSharePriceInd", updateRateInd);
    putPresent(dictionary, "transactionDate", transactionDate);
    putPresent(dictionary, "isBuyInd", isBuyInd);
}

bool BuySellSharesParameters::recoverFromDictionary(const Dictionary& dictionary)
{
    price = getNumberFromDictionary(dictionary, "unitPrice");
    commission = getNumberFromDictionary(dictionary, "commission");
    quantity = getNumberFromDictionary(dictionary, "quantity");
    totalValue = getNumberFromDictionary(dictionary, "totalValue");
    fromAccountId = getObjectIdAsNumberFromDictionary(dictionary, "fromAccountId");
    commissionAccountId = getObjectIdAsNumberFromDictionary(dictionary, "commissionAccountId");
    description = getTextFromDictionary(dictionary, "name");
    updateRateInd = flagFromDictionary(dictionary, "updateSharePriceInd");
    transactionDate = getDateFromDictionary(dictionary, "transactionDate");
    isBuyInd = flagFromDictionary(dictionary, "isBuyInd");
    return true;
}

void RegisterDividendParameters::addEntries(Dictionary& dictionary) const
{
    putPresent(dictionary, "transactionDate", transactionDate);
    putPresent(dictionary, "dividendAmount", dividend);
    putPresent(dictionary, "taxAmount", tax);
    putPresent(dictionary, "fromAccountId", fromAccountId);
    putPresent(dictionary, "toAccountId", toAccountId);
    putPresent(dictionary, "forCategoryId", forAccountId);
    putPresent(dictionary, "taxesAccountId", taxesAccountId);
    putPresent(dictionary, "taxesCategoryId", taxesCategoryId);
    putPresent(dictionary, "name", description);
}

bool RegisterDividendParameters::recoverFromDictionary(const Dictionary& dictionary)
{
    transactionDate = getDateFromDictionary(dictionary, "transactionDate");
    dividend = getNumberFromDictionary(dictionary, "dividendAmount");
    tax = getNumberFromDictionary(dictionary, "taxAmount");
    fromAccountId = getObjectIdAsNumberFromDictionary(dictionary, "fromAccountId");
    toAccountId = getObjectIdAsNumberFromDictionary(dictionary, "toAccountId");
    forAccountId = getObjectIdAsNumberFromDictionary(dictionary, "forCategoryId");
    taxesAccountId = getObjectIdAsNumberFromDictionary(dictionary, "taxesAccountId");
    taxesCategoryId = getObjectIdAsNumberFromDictionary(dictionary, "taxesCategoryId");
    description = getTextFromDictionary(dictionary, "name");
    return true;
}

} // namespace ch::arguments

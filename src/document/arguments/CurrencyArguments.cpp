#include "document/arguments/CurrencyArguments.h"

namespace ch::arguments {

void CurrencyArguments::addEntries(Dictionary& dictionary) const
{
    dictionary.set("action", int(actionToPerform));
    putPresent(dictionary, "name", symbol);
    putPresent(dictionary, "description", description);
    putPresent(dictionary, "baseCurrencyId", baseCurrencyId);
    putPresent(dictionary, "conversionQuantity", conversionQuantity);
    putPresent(dictionary, "conversionFactor", conversionFactor);
    putPresent(dictionary, "PLAccountId", fluctuationPlAccountId);
    putPresent(dictionary, "fluctuationsReasonCodeId", fluctuationsReasonCodeId);
    putPresent(dictionary, "internetLookupSymbol", internetSymbol);
}

bool CurrencyArguments::recoverFromDictionary(const Dictionary& dictionary)
{
    actionToPerform = static_cast<std::uint8_t>(getIntegerFromDictionary(dictionary, "action").value_or(0));
    symbol = getTextFromDictionary(dictionary, "name");
    description = getTextFromDictionary(dictionary, "description");
    baseCurrencyId = getObjectIdAsNumberFromDictionary(dictionary, "baseCurrencyId");
    conversionQuantity = getObjectIdAsNumberFromDictionary(dictionary, "conversionQuantity");
    conversionFactor = getNumberFromDictionary(dictionary, "conversionFactor");
    fluctuationPlAccountId = getObjectIdAsNumberFromDictionary(dictionary, "PLAccountId");
    fluctuationsReasonCodeId = getObjectIdAsNumberFromDictionary(dictionary, "fluctuationsReasonCodeId");
    internetSymbol = getTextFromDictionary(dictionary, "internetLookupSymbol");
    return true;
}

void CShareArguments::addEntries(Dictionary& dictionary) const
{
    CurrencyArguments::addEntries(dictionary);
    putPresent(dictionary, "portfolioAccountId", portfolioAccountId);
    putPresent(dictionary, "commissionPLAccountId", comissionPLAccountId);
    putPresent(dictionary, "commissionCategoryCodeId", comissionReasonCodeId);
    putPresent(dictionary, "dividendSourcePLAccountId", dividendSourcePLAccountId);
    putPresent(dictionary, "dividendDestinationAssetAccountId", dividendDestinationPropertyAccountId);
    putPresent(dictionary, "dividendReasonCodeId", dividendReasonCodId);
}

bool CShareArguments::recoverFromDictionary(const Dictionary& dictionary)
{
    CurrencyArguments::recoverFromDictionary(dictionary);
    portfolioAccountId = getObjectIdAsNumberFromDictionary(dictionary, "portfolioAccountId");
    comissionPLAccountId = getObjectIdAsNumberFromDictionary(dictionary, "commissionPLAccountId");
    comissionReasonCodeId = getObjectIdAsNumberFromDictionary(dictionary, "commissionCategoryCodeId");
    dividendSourcePLAccountId = getObjectIdAsNumberFromDictionary(dictionary, "dividendSourcePLAccountId");
    dividendDestinationPropertyAccountId =
        getObjectIdAsNumberFromDictionary(dictionary, "dividendDestinationAssetAccountId");
    dividendReasonCodId = getObjectIdAsNumberFromDictionary(dictionary, "dividendReasonCodeId");
    return true;
}

void CurrencyRateParameters::addEntries(Dictionary& dictionary) const
{
    putPresent(dictionary, "quantity", quantity);
    putPresent(dictionary, "rate", factor);
    putPresent(dictionary, "startDate", dateStart);
    putPresent(dictionary, "intermediateCurrencySymbol", otherCurrenySymbol);
    // The journal lists the entry under this name.
    dictionary.set("name", "Rate Change");
}

bool CurrencyRateParameters::recoverFromDictionary(const Dictionary& dictionary)
{
    acknowledgeKey(dictionary, "name");
    quantity = getObjectIdAsNumberFromDictionary(dictionary, "quantity");
    factor = getNumberFromDictionary(dictionary, "rate");
    dateStart = getDateFromDictionary(dictionary, "startDate");
    otherCurrenySymbol = getTextFromDictionary(dictionary, "intermediateCurrencySymbol");
    return true;
}

} // namespace ch::arguments

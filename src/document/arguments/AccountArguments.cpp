#include "document/arguments/AccountArguments.h"

#include <utility>

namespace ch::arguments {

void AccountTypeArguments::addEntries(Dictionary& dictionary) const
{
    putPresent(dictionary, "idKey", accountTypeId);
    putPresent(dictionary, "name", accountTypeName);
    putPresent(dictionary, "description", accountTypeDescription);
    putPresent(dictionary, "accountingNumber", accountingNumber);
    dictionary.set("systemType", theMasterType);
    putPresent(dictionary, "parentType", theAccountTypeId);
}

bool AccountTypeArguments::recoverFromDictionary(const Dictionary& dictionary)
{
    accountTypeId = getObjectIdAsNumberFromDictionary(dictionary, "idKey");
    accountTypeName = getTextFromDictionary(dictionary, "name");
    accountTypeDescription = getTextFromDictionary(dictionary, "description");
    accountingNumber = getTextFromDictionary(dictionary, "accountingNumber");
    theMasterType = getIntegerFromDictionary(dictionary, "systemType").value_or(0);
    theAccountTypeId = getObjectIdAsNumberFromDictionary(dictionary, "parentType");
    return true;
}

AccountArguments::AccountArguments(std::optional<long> idKey_, std::optional<std::string> name_,
                                   std::optional<std::string> description_, std::optional<long> accountTypeId_,
                                   std::optional<long> currencyId_, std::optional<std::string> accountingNumber_,
                                   std::optional<long> ownerId_, std::optional<long> defaultCategory_,
                                   std::optional<std::string> bankAccountNumber_,
                                   std::optional<double> allowableExpenses_, std::optional<double> newBalance_)
    : idKey(idKey_), accountTypeId(accountTypeId_)
{
    name = std::move(name_);
    description = std::move(description_);
    currencyId = currencyId_;
    accountingNumber = std::move(accountingNumber_);
    ownerId = ownerId_;
    defaultCategory = defaultCategory_;
    bankAccountNumber = std::move(bankAccountNumber_);
    allocableExpenses = allowableExpenses_;
    newBalance = newBalance_;
}

void AccountArguments::addEntries(Dictionary& dictionary) const
{
    dictionary.set("idKey", idKey.value_or(-1));
    putPresent(dictionary, "name", name);
    putPresent(dictionary, "description", description);
    putPresent(dictionary, "accountTypeId", accountTypeId);
    putPresent(dictionary, "currencyId", currencyId);
    putPresent(dictionary, "accountingNumber", accountingNumber);
    putPresent(dictionary, "ownerId", ownerId);
    putPresent(dictionary, "defaultCategoryId", defaultCategory);
    putPresent(dictionary, "bankAccountNumber", bankAccountNumber);
    putPresent(dictionary, "allocableExpenses", allocableExpenses);
    putPresent(dictionary, "balance", newBalance);
    putPresent(dictionary, "specialType", specialType);
    putPresent(dictionary, "specialSubType", specialSubType);
}

bool AccountArguments::recoverFromDictionary(const Dictionary& dictionary)
{
    idKey = getObjectIdAsNumberFromDictionary(dictionary, "idKey");
    name = getTextFromDictionary(dictionary, "name");
    description = getTextFromDictionary(dictionary, "description");
    accountTypeId = getObjectIdAsNumberFromDictionary(dictionary, "accountTypeId");
    currencyId = getObjectIdAsNumberFromDictionary(dictionary, "currencyId");
    accountingNumber = getTextFromDictionary(dictionary, "accountingNumber");
    ownerId = getObjectIdAsNumberFromDictionary(dictionary, "ownerId");
    defaultCategory = getObjectIdAsNumberFromDictionary(dictionary, "defaultCategoryId");
    bankAccountNumber = getTextFromDictionary(dictionary, "bankAccountNumber");
    allocableExpenses = getNumberFromDictionary(dictionary, "allocableExpenses");
    newBalance = getNumberFromDictionary(dictionary, "balance");
    specialType = getIntegerFromDictionary(dictionary, "specialType");
    specialSubType = getIntegerFromDictionary(dictionary, "specialSubType");
    return true;
}

} // namespace ch::arguments

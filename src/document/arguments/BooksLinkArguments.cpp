#include "document/arguments/BooksLinkArguments.h"

namespace ch::arguments {

void NewBudgetArguments::addEntries(Dictionary& dictionary) const
{
    dictionary.set("ObjectName", name.value_or(""));
    putPresent(dictionary, "comment", comment);
    putPresent(dictionary, "base", base);
    putPresent(dictionary, "baseMonth", baseMonth);
    putPresent(dictionary, "period", period);
    putPresent(dictionary, "nrOfYears", nrOfYears);
    putPresent(dictionary, "nrOfMonths", nrOfMonths);
    putPresent(dictionary, "baseBudgetId", baseBudgetId);
}

bool NewBudgetArguments::recoverFromDictionary(const Dictionary& dictionary)
{
    name = getTextFromDictionary(dictionary, "ObjectName");
    comment = getTextFromDictionary(dictionary, "comment");
    base = getObjectIdAsNumberFromDictionary(dictionary, "base");
    baseMonth = getDateFromDictionary(dictionary, "baseMonth");
    period = getObjectIdAsNumberFromDictionary(dictionary, "period");
    nrOfYears = getObjectIdAsNumberFromDictionary(dictionary, "nrOfYears");
    nrOfMonths = getObjectIdAsNumberFromDictionary(dictionary, "nrOfMonths");
    baseBudgetId = getObjectIdAsNumberFromDictionary(dictionary, "baseBudgetId");
    return name.has_value();
}

void TransactionLinkArguments::addEntries(Dictionary& dictionary) const
{
    dictionary.set("ObjectName", name.value_or(""));
    putPresent(dictionary, "linkedId", linkedId);
    putPresent(dictionary, "linkedName", linkedName);
}

bool TransactionLinkArguments::recoverFromDictionary(const Dictionary& dictionary)
{
    name = getTextFromDictionary(dictionary, "ObjectName");
    linkedId = getObjectIdAsNumberFromDictionary(dictionary, "linkedId");
    linkedName = getTextFromDictionary(dictionary, "linkedName");
    return name.has_value();
}

void ObjectStateArguments::addEntries(Dictionary& dictionary) const
{
    dictionary.set("ObjectName", name.value_or(""));
    putPresent(dictionary, "status", status);
    putPresent(dictionary, "isCreditCard", isCreditCard);
}

bool ObjectStateArguments::recoverFromDictionary(const Dictionary& dictionary)
{
    name = getTextFromDictionary(dictionary, "ObjectName");
    status = getObjectIdAsNumberFromDictionary(dictionary, "status");
    isCreditCard = getBooleanFromDictionary(dictionary, "isCreditCard");
    return name.has_value();
}

} // namespace ch::arguments

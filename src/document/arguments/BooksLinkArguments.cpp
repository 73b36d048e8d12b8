#include "document/arguments/BooksLinkArguments.h"

namespace ch::arguments {

void NamedBooksArguments::addEntries(Dictionary& dictionary) const
{
    dictionary.set("ObjectName", name.value_or(""));
    addOwnEntries(dictionary);
}

bool NamedBooksArguments::recoverFromDictionary(const Dictionary& dictionary)
{
    name = getTextFromDictionary(dictionary, "ObjectName");
    recoverOwnEntries(dictionary);
    return name.has_value();
}

void NewBudgetArguments::addOwnEntries(Dictionary& dictionary) const
{
    putPresent(dictionary, "comment", comment);
    putPresent(dictionary, "base", base);
    putPresent(dictionary, "baseMonth", baseMonth);
    putPresent(dictionary, "period", period);
    putPresent(dictionary, "nrOfYears", nrOfYears);
    putPresent(dictionary, "nrOfMonths", nrOfMonths);
    putPresent(dictionary, "baseBudgetId", baseBudgetId);
}

void NewBudgetArguments::recoverOwnEntries(const Dictionary& dictionary)
{
    comment = getTextFromDictionary(dictionary, "comment");
    base = getObjectIdAsNumberFromDictionary(dictionary, "base");
    baseMonth = getDateFromDictionary(dictionary, "baseMonth");
    period = getObjectIdAsNumberFromDictionary(dictionary, "period");
    nrOfYears = getObjectIdAsNumberFromDictionary(dictionary, "nrOfYears");
    nrOfMonths = getObjectIdAsNumberFromDictionary(dictionary, "nrOfMonths");
    baseBudgetId = getObjectIdAsNumberFromDictionary(dictionary, "baseBudgetId");
}

void TransactionLinkArguments::addOwnEntries(Dictionary& dictionary) const
{
    putPresent(dictionary, "linkedId", linkedId);
    putPresent(dictionary, "linkedName", linkedName);
    putPresent(dictionary, "periodStart", periodStart);
    putPresent(dictionary, "periodEnd", periodEnd);
}

void TransactionLinkArguments::recoverOwnEntries(const Dictionary& dictionary)
{
    linkedId = getObjectIdAsNumberFromDictionary(dictionary, "linkedId");
    linkedName = getTextFromDictionary(dictionary, "linkedName");
    periodStart = getDateFromDictionary(dictionary, "periodStart");
    periodEnd = getDateFromDictionary(dictionary, "periodEnd");
}

void ObjectStateArguments::addOwnEntries(Dictionary& dictionary) const
{
    putPresent(dictionary, "status", status);
    putPresent(dictionary, "isCreditCard", isCreditCard);
}

void ObjectStateArguments::recoverOwnEntries(const Dictionary& dictionary)
{
    status = getObjectIdAsNumberFromDictionary(dictionary, "status");
    isCreditCard = getBooleanFromDictionary(dictionary, "isCreditCard");
}

void BookSettingArguments::addOwnEntries(Dictionary& dictionary) const
{
    putPresent(dictionary, "value", value);
}

void BookSettingArguments::recoverOwnEntries(const Dictionary& dictionary)
{
    value = getObjectIdAsNumberFromDictionary(dictionary, "value");
}

} // namespace ch::arguments

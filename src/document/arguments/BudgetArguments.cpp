#include "document/arguments/BudgetArguments.h"

#include <utility>

namespace ch::arguments {

ModifyBudgetDetailArguments::ModifyBudgetDetailArguments(double from, double xFrom, double to, double xTo,
                                                         std::string comment, bool blocked, int month)
{
    budgetFrom = from;
    budgetXFrom = xFrom;
    budgetTo = to;
    budgetXTo = xTo;
    budgetComment = std::move(comment);
    doNotUpdate = blocked;
    zeroBasedMonth = month;
}

ModifyBudgetXRefArguments::ModifyBudgetXRefArguments(double from, double xFrom, double to, double xTo,
                                                     std::string comment, bool blocked, int month, int first,
                                                     int last)
    : ModifyBudgetDetailArguments(from, xFrom, to, xTo, std::move(comment), blocked, month)
{
    zeroBasedMonthFrom = first;
    zeroBasedMonthTo = last;
}

NewBudgetXRefArguments::NewBudgetXRefArguments(double from, double xFrom, double to, double xTo, std::string comment,
                                               bool blocked, int month, int first, int last, ObjectIdT account,
                                               ObjectIdT category)
    : ModifyBudgetXRefArguments(from, xFrom, to, xTo, std::move(comment), blocked, month, first, last)
{
    accountId = account;
    expenseTypeId = category;
}

ch::ModifyBudgetDetailArguments ModifyBudgetDetailArguments::detailRecord() const
{
    return {budgetTo, budgetXTo, budgetFrom, budgetXFrom, budgetComment, doNotUpdate, zeroBasedMonth};
}

ch::ModifyBudgetXRefArguments ModifyBudgetXRefArguments::xrefRecord() const
{
    ch::ModifyBudgetXRefArguments record;
    static_cast<ch::ModifyBudgetDetailArguments&>(record) = detailRecord();
    record.zeroBasedMonthFrom = zeroBasedMonthFrom;
    record.zeroBasedMonthTo = zeroBasedMonthTo;
    return record;
}

ch::NewBudgetXRefArguments NewBudgetXRefArguments::newXRefRecord() const
{
    ch::NewBudgetXRefArguments record;
    static_cast<ch::ModifyBudgetXRefArguments&>(record) = xrefRecord();
    record.accountId = accountId;
    record.expenseTypeId = expenseTypeId;
    return record;
}

TransferBudgetXRefArguments::TransferBudgetXRefArguments(double amount, int month, ObjectIdT account,
                                                         ObjectIdT category, ObjectIdT toAccount)
{
    transferAmount = amount;
    zeroBasedPeriod = month;
    fromAccountId = account;
    expenseTypeId = category;
    toAccountId = toAccount;
}

ModifyBudgetHeaderArguments::ModifyBudgetHeaderArguments(std::string name, std::string comment, bool blocked)
{
    budgetName = std::move(name);
    budgetComment = std::move(comment);
    doNotUpdate = blocked;
}

// --- the journal form

namespace {

template <typename T>
bool readInto(T& field, const std::optional<T>& value)
{
    if (!value) return false;
    field = *value;
    return true;
}

bool readId(ObjectIdT& field, const std::optional<long>& value)
{
    if (!value) return false;
    field = static_cast<ObjectIdT>(*value);
    return true;
}

} // namespace

void ModifyBudgetDetailArguments::addEntries(Dictionary& dictionary) const
{
    dictionary.set("budgetFrom", Value(budgetFrom));
    dictionary.set("budgetXFrom", Value(budgetXFrom));
    dictionary.set("budgetTo", Value(budgetTo));
    dictionary.set("budgetXTo", Value(budgetXTo));
    dictionary.set("budgetComment", Value(budgetComment));
    dictionary.set("doNotUpdate", Value(doNotUpdate));
    dictionary.set("zeroBasedMonth", Value(static_cast<long>(zeroBasedMonth)));
}

bool ModifyBudgetDetailArguments::recoverFromDictionary(const Dictionary& dictionary)
{
    // Every value must be there: an entry of an earlier run holds none.
    bool whole = readInto(budgetFrom, getNumberFromDictionary(dictionary, "budgetFrom"));
    whole = readInto(budgetXFrom, getNumberFromDictionary(dictionary, "budgetXFrom")) && whole;
    whole = readInto(budgetTo, getNumberFromDictionary(dictionary, "budgetTo")) && whole;
    whole = readInto(budgetXTo, getNumberFromDictionary(dictionary, "budgetXTo")) && whole;
    budgetComment = getTextFromDictionary(dictionary, "budgetComment").value_or("");
    whole = readInto(doNotUpdate, getBooleanFromDictionary(dictionary, "doNotUpdate")) && whole;
    whole = readInto(zeroBasedMonth, getIntegerFromDictionary(dictionary, "zeroBasedMonth")) && whole;
    return whole;
}

void ModifyBudgetXRefArguments::addEntries(Dictionary& dictionary) const
{
    ModifyBudgetDetailArguments::addEntries(dictionary);
    dictionary.set("zeroBasedMonthFrom", Value(static_cast<long>(zeroBasedMonthFrom)));
    dictionary.set("zeroBasedMonthTo", Value(static_cast<long>(zeroBasedMonthTo)));
}

bool ModifyBudgetXRefArguments::recoverFromDictionary(const Dictionary& dictionary)
{
    bool whole = ModifyBudgetDetailArguments::recoverFromDictionary(dictionary);
    whole = readInto(zeroBasedMonthFrom, getIntegerFromDictionary(dictionary, "zeroBasedMonthFrom")) && whole;
    whole = readInto(zeroBasedMonthTo, getIntegerFromDictionary(dictionary, "zeroBasedMonthTo")) && whole;
    return whole;
}

void NewBudgetXRefArguments::addEntries(Dictionary& dictionary) const
{
    ModifyBudgetXRefArguments::addEntries(dictionary);
    dictionary.set("accountId", Value(static_cast<long>(accountId)));
    dictionary.set("expenseTypeId", Value(static_cast<long>(expenseTypeId)));
}

bool NewBudgetXRefArguments::recoverFromDictionary(const Dictionary& dictionary)
{
    bool whole = ModifyBudgetXRefArguments::recoverFromDictionary(dictionary);
    whole = readId(accountId, getObjectIdAsNumberFromDictionary(dictionary, "accountId")) && whole;
    whole = readId(expenseTypeId, getObjectIdAsNumberFromDictionary(dictionary, "expenseTypeId")) && whole;
    return whole;
}

void DeleteBudgetXRefArguments::addEntries(Dictionary& dictionary) const
{
    dictionary.set("budgetId", Value(static_cast<long>(budgetId)));
}

bool DeleteBudgetXRefArguments::recoverFromDictionary(const Dictionary& dictionary)
{
    return readId(budgetId, getObjectIdAsNumberFromDictionary(dictionary, "budgetId"));
}

void TransferBudgetXRefArguments::addEntries(Dictionary& dictionary) const
{
    dictionary.set("transferAmount", Value(transferAmount));
    dictionary.set("zeroBasedPeriod", Value(static_cast<long>(zeroBasedPeriod)));
    dictionary.set("fromAccountId", Value(static_cast<long>(fromAccountId)));
    dictionary.set("toAccountId", Value(static_cast<long>(toAccountId)));
    dictionary.set("expenseTypeId", Value(static_cast<long>(expenseTypeId)));
}

bool TransferBudgetXRefArguments::recoverFromDictionary(const Dictionary& dictionary)
{
    bool whole = readInto(transferAmount, getNumberFromDictionary(dictionary, "transferAmount"));
    whole = readInto(zeroBasedPeriod, getIntegerFromDictionary(dictionary, "zeroBasedPeriod")) && whole;
    whole = readId(fromAccountId, getObjectIdAsNumberFromDictionary(dictionary, "fromAccountId")) && whole;
    whole = readId(toAccountId, getObjectIdAsNumberFromDictionary(dictionary, "toAccountId")) && whole;
    whole = readId(expenseTypeId, getObjectIdAsNumberFromDictionary(dictionary, "expenseTypeId")) && whole;
    return whole;
}

void ModifyBudgetHeaderArguments::addEntries(Dictionary& dictionary) const
{
    dictionary.set("budgetName", Value(budgetName));
    dictionary.set("budgetComment", Value(budgetComment));
    dictionary.set("doNotUpdate", Value(doNotUpdate));
}

bool ModifyBudgetHeaderArguments::recoverFromDictionary(const Dictionary& dictionary)
{
    bool whole = readInto(budgetName, getTextFromDictionary(dictionary, "budgetName"));
    budgetComment = getTextFromDictionary(dictionary, "budgetComment").value_or("");
    whole = readInto(doNotUpdate, getBooleanFromDictionary(dictionary, "doNotUpdate")) && whole;
    return whole;
}

} // namespace ch::arguments

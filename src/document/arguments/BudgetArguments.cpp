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

} // namespace ch::arguments

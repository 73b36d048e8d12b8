#pragma once
// Argument objects of the budget commands 0, 1, 2, 4 and 5. Each gives the
// bridge's record of the same name, which the budget items apply.
//
// They add no keys of their own: the journal keeps only the class name, and
// reading one back is refused, so a journaled budget command is never
// replayed (its budget lines cannot be named in the journal).

#include <string>

#include "bridge/BudgetArgumentRecords.h"
#include "document/arguments/CArgumentAncestor.h"

namespace ch::arguments {

// The journal form of every budget argument object: the class name alone.
class BudgetArgumentBase : public CArgumentAncestor {
public:
    bool recoverFromDictionary(const Dictionary&) override { return false; }

protected:
    void addEntries(Dictionary&) const override {}
};

// Command 0.
class ModifyBudgetDetailArguments : public BudgetArgumentBase {
public:
    double budgetTo = 0.0;
    double budgetXTo = 0.0;
    double budgetFrom = 0.0;
    double budgetXFrom = 0.0;
    std::string budgetComment;
    bool doNotUpdate = false;
    int zeroBasedMonth = 0;

    ModifyBudgetDetailArguments() = default;
    ModifyBudgetDetailArguments(double budgetFrom, double budgetXFrom, double budgetTo, double budgetXTo,
                                std::string budgetComment, bool doNotUpdate, int zeroBasedMonth);

    std::string argumentClass() const override { return "ModifyBudgetDetailArguments"; }
    ch::ModifyBudgetDetailArguments detailRecord() const;
};

// Command 1: a detail change over the months zeroBasedMonthFrom..zeroBasedMonthTo.
class ModifyBudgetXRefArguments : public ModifyBudgetDetailArguments {
public:
    int zeroBasedMonthFrom = 0;
    int zeroBasedMonthTo = 0;

    ModifyBudgetXRefArguments() = default;
    ModifyBudgetXRefArguments(double budgetFrom, double budgetXFrom, double budgetTo, double budgetXTo,
                              std::string budgetComment, bool doNotUpdate, int zeroBasedMonth,
                              int zeroBasedMonthFrom, int zeroBasedMonthTo);

    std::string argumentClass() const override { return "ModifyBudgetXRefArguments"; }
    ch::ModifyBudgetXRefArguments xrefRecord() const;
};

// Command 2: new cross-references of an account and a category.
class NewBudgetXRefArguments : public ModifyBudgetXRefArguments {
public:
    ObjectIdT accountId = 0;
    ObjectIdT expenseTypeId = 0;

    NewBudgetXRefArguments() = default;
    NewBudgetXRefArguments(double budgetFrom, double budgetXFrom, double budgetTo, double budgetXTo,
                           std::string budgetComment, bool doNotUpdate, int zeroBasedMonth, int zeroBasedMonthFrom,
                           int zeroBasedMonthTo, ObjectIdT accountId, ObjectIdT reasonCodeId);

    std::string argumentClass() const override { return "NewBudgetXRefArguments"; }
    ch::NewBudgetXRefArguments newXRefRecord() const;
};

// Command 4.
class TransferBudgetXRefArguments : public BudgetArgumentBase, public ch::TransferBudgetXRefArguments {
public:
    TransferBudgetXRefArguments() = default;
    TransferBudgetXRefArguments(double amount, int zeroBasedMonth, ObjectIdT accountId, ObjectIdT reasonCodeId,
                                ObjectIdT toAccountId);

    std::string argumentClass() const override { return "TransferBudgetXRefArguments"; }
};

// Command 5.
class ModifyBudgetHeaderArguments : public BudgetArgumentBase, public ch::ModifyBudgetHeaderArguments {
public:
    ModifyBudgetHeaderArguments() = default;
    ModifyBudgetHeaderArguments(std::string budgetName, std::string budgetComment, bool doNotUpdate);

    std::string argumentClass() const override { return "ModifyBudgetHeaderArguments"; }
};

} // namespace ch::arguments

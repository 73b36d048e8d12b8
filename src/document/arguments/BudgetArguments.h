#pragma once
// Argument objects of the budget commands 0 to 5. Each but command 3's gives
// the bridge's record of the same name, which the budget items apply.
//
// Each writes its values, so that a replay after a crash makes the change
// again on the budget (or line) the entry's key names; journals of earlier
// runs, which hold the class name alone, still read and are not replayed.

#include <string>

#include "bridge/BudgetArgumentRecords.h"
#include "document/arguments/CArgumentAncestor.h"

namespace ch::arguments {

// What the budget argument objects share: none is rebuilt from an entry
// without its values.
class BudgetArgumentBase : public CArgumentAncestor {
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
    bool recoverFromDictionary(const Dictionary& dictionary) override;
    ch::ModifyBudgetDetailArguments detailRecord() const;

protected:
    void addEntries(Dictionary& dictionary) const override;
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
    bool recoverFromDictionary(const Dictionary& dictionary) override;
    ch::ModifyBudgetXRefArguments xrefRecord() const;

protected:
    void addEntries(Dictionary& dictionary) const override;
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
    bool recoverFromDictionary(const Dictionary& dictionary) override;
    ch::NewBudgetXRefArguments newXRefRecord() const;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

// Command 3 as the journal keeps it: the budget page hands the budget item
// itself, which has no text form, so the entry names the budget by its id.
class DeleteBudgetXRefArguments : public BudgetArgumentBase {
public:
    ObjectIdT budgetId = 0;

    DeleteBudgetXRefArguments() = default;
    explicit DeleteBudgetXRefArguments(ObjectIdT budget) : budgetId(budget) {}

    std::string argumentClass() const override { return "DeleteBudgetXRefArguments"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

// Command 4.
class TransferBudgetXRefArguments : public BudgetArgumentBase, public ch::TransferBudgetXRefArguments {
public:
    TransferBudgetXRefArguments() = default;
    TransferBudgetXRefArguments(double amount, int zeroBasedMonth, ObjectIdT accountId, ObjectIdT reasonCodeId,
                                ObjectIdT toAccountId);

    std::string argumentClass() const override { return "TransferBudgetXRefArguments"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

// Command 5.
class ModifyBudgetHeaderArguments : public BudgetArgumentBase, public ch::ModifyBudgetHeaderArguments {
public:
    ModifyBudgetHeaderArguments() = default;
    ModifyBudgetHeaderArguments(std::string budgetName, std::string budgetComment, bool doNotUpdate);

    std::string argumentClass() const override { return "ModifyBudgetHeaderArguments"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

} // namespace ch::arguments

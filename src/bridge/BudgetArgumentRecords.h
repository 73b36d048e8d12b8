#pragma once
// What the budget items read of the argument objects that the budget sheets
// fill (commands 0, 1, 2, 4 and 5 carry the same objects). "To" is money
// reaching the account side (in), "from" money leaving it (out); "X" the
// one-off part.

#include <string>

#include "model/foundation/ModelTypes.h"

namespace ch {

// Command 0: one month of a budget line.
struct ModifyBudgetDetailArguments {
    double budgetTo = 0.0;
    double budgetXTo = 0.0;
    double budgetFrom = 0.0;
    double budgetXFrom = 0.0;
    std::string budgetComment;
    bool doNotUpdate = false;
    int zeroBasedMonth = 0;
};

// Command 1: a cross-reference, over the months zeroBasedMonthFrom to
// zeroBasedMonthTo.
struct ModifyBudgetXRefArguments : ModifyBudgetDetailArguments {
    int zeroBasedMonthFrom = 0;
    int zeroBasedMonthTo = 0;
};

// Command 2: new cross-references between an account and a category.
struct NewBudgetXRefArguments : ModifyBudgetXRefArguments {
    ObjectIdT accountId = 0;
    ObjectIdT expenseTypeId = 0;
};

// Command 4: a transfer between two accounts on a transfer category.
struct TransferBudgetXRefArguments {
    int zeroBasedPeriod = 0;
    ObjectIdT fromAccountId = 0;
    ObjectIdT toAccountId = 0;
    ObjectIdT expenseTypeId = 0;
    double transferAmount = 0.0;
};

// Command 5: the budget's name, comment and blocked flag.
struct ModifyBudgetHeaderArguments {
    std::string budgetName;
    std::string budgetComment;
    bool doNotUpdate = false;
};

} // namespace ch

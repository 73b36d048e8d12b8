#pragma once
// CUnallocatedBudget: while one transaction is added to a budget, how much of
// one of its account lines still waits to be tied to a category. The budget
// header makes one record per account line, the category lines take from
// them in turn, and what is left goes to the unspecified-transfer category.
// The records live only while that one transaction is added.

#include <vector>

namespace ch {

class CAccount;
class CBudgetDetail;

class CUnallocatedBudget {
public:
    CUnallocatedBudget() = default;
    CUnallocatedBudget(CAccount* account, CBudgetDetail* detail, double fromAmount, double toAmount)
        : mAccount(account), mDetail(detail), mFromAmount(fromAmount), mToAmount(toAmount)
    {
    }
    virtual ~CUnallocatedBudget() = default;

    CAccount* mAccount = nullptr;       // the account of the booking line
    CBudgetDetail* mDetail = nullptr;   // that account's detail in the budget
    double mFromAmount = 0.0;           // home-currency amount that left the account, not yet tied
    double mToAmount = 0.0;             // home-currency amount that reached it, not yet tied
};

// The records of one transaction, in the order of its lines.
using UnallocatedBudgets = std::vector<CUnallocatedBudget>;

} // namespace ch

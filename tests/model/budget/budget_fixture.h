#pragma once
// A set of books for the budget tests: the default books with a bank and a
// savings account, a credit card (a debt), groceries and rent (expenses),
// salary and a bonus (income), today fixed at 15 March 2024 and the
// accounting year starting in January.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "../booking_fixture.h"
#include "model/budget/CBudgetDetail.h"
#include "model/budget/CBudgetHeader.h"
#include "model/budget/CBudgetMonth.h"
#include "model/budget/CBudgetXRef.h"

namespace ch::test {

class BudgetTest : public BookingTest {
protected:
    BudgetTest()
    {
        root.mPreference->Put_mCurrentYearStart(1);
        bank = AddAccount("Bank", books::kOwnPropertyType);
        savings = AddAccount("Savings", books::kOwnPropertyType);
        card = AddAccount("Card", books::kDebtType);
        groceries = AddCategory("Groceries", group_kind::kExpense);
        rent = AddCategory("Rent", group_kind::kExpense);
        salary = AddCategory("Salary", group_kind::kIncome);
        bonus = AddCategory("Bonus", group_kind::kIncome);
        transfer = Category(books::kTransferCategory);
    }

    CTransaction* Spend(CAccount* from, double amount, DateT date, CExpenseType* category,
                        bool oneOff = false)
    {
        CTransaction* t = Book(from, Account(books::kExpenseAccount), amount, date, category->Get_Id());
        t->Put_mb_budgetOneOff(oneOff);
        return t;
    }
    CTransaction* Earn(CAccount* to, double amount, DateT date, CExpenseType* category)
    {
        return Book(Account(books::kIncomeAccount), to, amount, date, category->Get_Id());
    }

    CBudgetHeader* Make(BudgetBaseT base, BudgetPeriodT period, ObjectIdT baseId = 0, DateT baseMonth = 0,
                        long years = 0)
    {
        return root.MakeNewBudget(base, baseMonth, period, years, 0, baseId, "Plan", "Budget");
    }
    // An empty budget for the current year, for edits made by hand.
    CBudgetHeader* Empty() { return Make(budget_base::kEmpty, budget_period::kCurrentYear); }

    static CBudgetDetail* Detail(CBudgetHeader* budget, CNonVisual* object)
    {
        return budget->Get_BudgetDetail(object, false);
    }
    static double Figure(CBudgetHeader* budget, CNonVisual* object, BudgetItemTypeT figure, long period)
    {
        CBudgetDetail* detail = Detail(budget, object);
        return detail ? detail->GetBudgettedNumber(figure, period) : -12345.0;
    }
    // The cross-reference of an account and a category in a period, or null.
    static CBudgetXRef* XRef(CBudgetHeader* budget, CAccount* account, CExpenseType* category, long period)
    {
        CBudgetDetail* detail = Detail(budget, category);
        CNamedListArray* list = detail ? detail->GetXRefsForZeroBasedPeriod(static_cast<int>(period)) : nullptr;
        for (ArrayIndexT i = 1; list && i <= static_cast<ArrayIndexT>(list->GetCount()); ++i) {
            auto* xref = static_cast<CBudgetXRef*>(list->ObjectAt(i));
            if (xref->Get_mAccountId() == account->Get_Id()) return xref;
        }
        return nullptr;
    }

    static std::string FirstDifference(const ByteVector& a, const ByteVector& b)
    {
        std::size_t i = 0;
        while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
        if (i == a.size() && i == b.size()) return std::string();
        return "sizes " + std::to_string(a.size()) + "/" + std::to_string(b.size()) +
               ", first difference at byte " + std::to_string(i);
    }

    CAccount* bank = nullptr;
    CAccount* savings = nullptr;
    CAccount* card = nullptr;
    CExpenseType* groceries = nullptr;
    CExpenseType* rent = nullptr;
    CExpenseType* salary = nullptr;
    CExpenseType* bonus = nullptr;
    CExpenseType* transfer = nullptr;
};

} // namespace ch::test

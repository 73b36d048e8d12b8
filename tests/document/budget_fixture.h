#pragma once
// Books with a year of bookings behind them for the budget tests: today is
// 15 March 2009; in 2008 the own account paid the expense category in
// January and February and received income in January, and the own account
// moved money to a second own account ("Épargne") on the transfer category.
// budget() is made from last year's bookings for the current year.

#include <memory>

#include "bridge/CBuDdItem.h"
#include "bridge/CBuDhItem.h"
#include "bridge/CBuDxItem.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CTransactionArguments.h"
#include "document_fixture.h"
#include "model/ModelCodes.h"
#include "model/budget/CBudgetDetail.h"
#include "model/budget/CBudgetHeader.h"

namespace ch::test {

inline constexpr ObjectIdT kTransferCategory = 3;

class BudgetBooksTest : public DocumentTest {
protected:
    BudgetBooksTest()
    {
        arguments::AccountArguments savings(std::nullopt, "Épargne", std::nullopt, books::kOwnPropertyType,
                                            books::kEUR, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                                            std::nullopt, std::nullopt);
        savingsId = executor().executeCommand(13, nullptr, savings);
        book(books::kDefaultAccount, books::kExpenseAccount, books::kExpenseCategory, 100.0, 20080110, "Food");
        book(books::kDefaultAccount, books::kExpenseAccount, books::kExpenseCategory, 120.0, 20080210, "Food");
        book(books::kIncomeAccount, books::kDefaultAccount, books::kIncomeCategory, 500.0, 20080120, "Pay");
        book(books::kDefaultAccount, savingsId, kTransferCategory, 50.0, 20080125, "Put aside");
    }

    void book(ObjectIdT from, ObjectIdT to, ObjectIdT category, double amount, DateT date, const char* name)
    {
        arguments::CTransactionArguments values;
        values.mTransactionDictionary = transactionDictionary(from, to, category, amount, date, name);
        executor().executeCommand(23, nullptr, values);
    }

    std::shared_ptr<CBuDhItem> makeBudget()
    {
        return document->makeNewBudget(budget_base::kLastYear, 0, budget_period::kCurrentYear, 0, 0, std::nullopt,
                                       "", "Household");
    }

    static std::shared_ptr<CBuDdItem> accountLine(CBuDhItem& budget, ObjectIdT id)
    {
        return budget.getDetailForType(type::kAccount, id);
    }
    static std::shared_ptr<CBuDdItem> categoryLine(CBuDhItem& budget, ObjectIdT id)
    {
        return budget.getDetailForType(type::kExpenseType, id);
    }
    // The cross-reference item of the category in the month of a line; null when none.
    static std::shared_ptr<CBuDxItem> xrefOf(CBuDdItem& line, int month, ObjectIdT otherId)
    {
        for (const std::shared_ptr<CBuDxItem>& xref : line.xRefForPeriod(month))
            if (xref->reasonId() == otherId || xref->accountId() == otherId) return xref;
        return nullptr;
    }

    ObjectIdT savingsId = 0;
};

} // namespace ch::test

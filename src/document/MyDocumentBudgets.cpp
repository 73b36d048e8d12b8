// The document's budget items and the making of new budgets.

#include "bridge/CBuDhItem.h"
#include "document/MyDocument.h"
#include "model/CDocAccounting.h"
#include "model/CNamedListArray.h"
#include "model/budget/CBudgetHeader.h"
#include "model/foundation/CNSStringToCString.h"

namespace ch {
namespace {

std::shared_ptr<CBuDhItem> budgetItem(CBudgetHeader* budget, MyDocument& document)
{
    auto item = std::make_shared<CBuDhItem>(budget);
    item->setParentDocument(&document);
    return item;
}

} // namespace

bool MyDocument::initializeBudgetArrayController()
{
    mBudgets.clear();
    CNamedListArray* budgets = theDocument->mBudgetList.get();
    const auto count = budgets ? static_cast<ArrayIndexT>(budgets->GetCount()) : 0;
    for (ArrayIndexT i = 1; i <= count; ++i)
        mBudgets.push_back(budgetItem(static_cast<CBudgetHeader*>(budgets->ObjectAt(i)), *this));
    return true;
}

std::shared_ptr<CBuDhItem> MyDocument::makeNewBudget(BudgetBaseT base, DateT baseMonth, BudgetPeriodT period,
                                                     long nrOfYears, long nrOfMonths,
                                                     std::optional<long> baseBudgetId, std::string_view comment,
                                                     std::string_view name)
{
    char cName[kNameSize] = {};
    CNSStringToCString::convertStringToNameT(name, cName);
    char cComment[kDescriptionSize] = {};
    CNSStringToCString::convertStringToDescriptionT(comment, cComment);
    CBudgetHeader* budget = theDocument->MakeNewBudget(base, baseMonth, period, nrOfYears, nrOfMonths,
                                                       baseBudgetId.value_or(-1), cComment, cName);
    updateChangeCount();
    if (!budget) return nullptr;
    mBudgets.push_back(budgetItem(budget, *this));
    return mBudgets.back();
}

} // namespace ch

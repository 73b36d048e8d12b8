#pragma once
// CBuDhItem: the item of a budget ('BuDh'). It reads and writes the budget's
// dates, totals, comment and flags, finds the item of a budget line, names
// the months, and carries the budget page's edits into the model: a changed
// header, new cross-references, deletions and transfers. Edits answer 1 or
// -1 (refused by the model, or the budget or a line is missing).

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "bridge/BudgetArgumentRecords.h"
#include "bridge/CNonVisualDataItem.h"

namespace ch {

class CBudgetHeader;
class CBuDdItem;
class CBuDxItem;

class CBuDhItem : public CNonVisualDataItem {
public:
    explicit CBuDhItem(CBudgetHeader* budget);

    // --- properties (bound: the model; detached: the kept values)
    std::optional<long> mStartDate() const;
    std::optional<long> mEndDate() const;
    std::optional<long> mAangemaaktOp() const;   // created on
    std::optional<long> mBerekendOp() const;     // actuals calculated on
    std::optional<long> mAangepastOp() const;    // modified on
    std::optional<double> mBeginBudget() const;
    std::optional<double> mEndBudget() const;
    std::optional<double> mBeginActual() const;
    std::optional<double> mEndActual() const;
    std::optional<std::string> mComment() const;
    bool mBlocked() const;
    std::optional<long> mBaseBudgetId() const;
    void setMComment(std::optional<std::string_view> comment);
    void setMBlocked(bool blocked);
    // Stamps today, whatever date is given.
    void setMAangepastOp();

    // --- lines
    // The line of an account, account folder, category or category group
    // item (folders map to their kind's line); null when it has none.
    std::shared_ptr<CBuDdItem> getDetailForObject(const CNonVisualDataItem& object) const;
    // A new item for the line of 'AcnT' or 'ExpT' and the id; null when none.
    std::shared_ptr<CBuDdItem> getDetailForType(FourCharCode type, long id) const;
    // The short date text of the first day of month n for the column
    // identifier "n"; none for a negative number or text that is no integer.
    std::optional<std::string> budgetTitleForColum(std::string_view identifier) const;

    // --- edits
    void updateActuals();
    int modifyBudgetWithNewValues(const ModifyBudgetHeaderArguments& values);
    int addXRefWithParams(const NewBudgetXRefArguments& values);
    // The account line and the category line of the cross-reference must both
    // exist; -1 otherwise.
    int deleteBudgetXRef(CBuDxItem& xref);
    int modifyTransferXRefWithNewValues(const TransferBudgetXRefArguments& values);

private:
    CBudgetHeader* budget() const;

    std::optional<std::string> mKeptComment;
    bool mKeptBlocked = false;
};

} // namespace ch

#pragma once
// CBuDdItem: the item of one budget line ('BuDd'), the budget of one account
// or one category. Every look-up of a line makes a new item, so each item
// keeps its own cache of the cross-reference items per month; the cache is
// dropped month by month when a change may have altered the lists.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bridge/BudgetArgumentRecords.h"
#include "bridge/CNonVisualDataItem.h"
#include "model/budget/BudgetTypes.h"

namespace ch {

class CBudgetDetail;
class CBuDxItem;

class CBuDdItem : public CNonVisualDataItem {
public:
    using XRefList = std::vector<std::shared_ptr<CBuDxItem>>;

    explicit CBuDdItem(CBudgetDetail* detail);

    bool isAccountBudget() const;
    bool isReasoncodeBudget() const;
    bool isTransferReasonBudget() const;
    // 'AcnT' or 'ExtD'; 0 when detached.
    FourCharCode getBudgettedObjectType() const;
    // The id of the account or category it budgets; none when detached.
    std::optional<long> budgettedId() const;
    bool getMBlocked(int month) const;
    std::optional<std::string> mComment() const;
    // The figure of the month; none when detached.
    std::optional<double> getBudgettedAmountWithType(BudgetItemTypeT figure, int month) const;

    // The month's cross-references, made on first request and kept until
    // reset; empty for a month outside 0 to 11 or when detached.
    const XRefList& xRefForPeriod(int month);
    // Drops the kept lists of months first..last.
    void resetXRefArraysFromPeriod(int first, int last);
    // 1 when the model deleted the cross-reference, -1 when it refused.
    int deleteXRef(CBuDxItem& xref);
    // The model's answer (1 done; 0 or -1 refused); -1 when detached.
    long modify(const ModifyBudgetDetailArguments& values);

private:
    CBudgetDetail* detail() const;

    std::map<int, XRefList> xRefDictionary;
    std::optional<std::string> mKeptComment;
};

} // namespace ch

#include "bridge/CBuDdItem.h"

#include "bridge/BudgetText.h"
#include "bridge/CBuDxItem.h"
#include "model/CNamedListArray.h"
#include "model/budget/CBudgetDetail.h"
#include "model/budget/CBudgetXRef.h"

namespace ch {

CBuDdItem::CBuDdItem(CBudgetDetail* detail) : CNonVisualDataItem(detail) {}

CBudgetDetail* CBuDdItem::detail() const
{
    return static_cast<CBudgetDetail*>(getSourceItem());
}

bool CBuDdItem::isAccountBudget() const
{
    return getBudgettedObjectType() == CBudgetDetail::kAccountDetail;
}

bool CBuDdItem::isReasoncodeBudget() const
{
    return getBudgettedObjectType() == CBudgetDetail::kCategoryDetail;
}

bool CBuDdItem::isTransferReasonBudget() const
{
    return detail() && detail()->isTransferReasonBudget();
}

FourCharCode CBuDdItem::getBudgettedObjectType() const
{
    return detail() ? detail()->Get_BudgettedObjectType() : 0;
}

std::optional<long> CBuDdItem::budgettedId() const
{
    if (!detail()) return std::nullopt;
    return detail()->Get_BudgettedId();
}

bool CBuDdItem::getMBlocked(int month) const
{
    return detail() ? detail()->Get_mBlocked(month) : false;
}

std::optional<std::string> CBuDdItem::mComment() const
{
    if (!detail()) return mKeptComment;
    char comment[kDescriptionSize] = {};
    detail()->Get_mComment(comment);
    return budgetModelText(comment);
}

std::optional<double> CBuDdItem::getBudgettedAmountWithType(BudgetItemTypeT figure, int month) const
{
    if (!detail()) return std::nullopt;
    return detail()->GetBudgettedNumber(figure, month);
}

const CBuDdItem::XRefList& CBuDdItem::xRefForPeriod(int month)
{
    auto found = xRefDictionary.find(month);
    if (found != xRefDictionary.end()) return found->second;
    XRefList list;
    CNamedListArray* xrefs = detail() ? detail()->GetXRefsForZeroBasedPeriod(month) : nullptr;
    const auto count = xrefs ? static_cast<ArrayIndexT>(xrefs->GetCount()) : 0;
    for (ArrayIndexT i = 1; i <= count; ++i)
        list.push_back(std::make_shared<CBuDxItem>(static_cast<CBudgetXRef*>(xrefs->ObjectAt(i))));
    return xRefDictionary.emplace(month, std::move(list)).first->second;
}

void CBuDdItem::resetXRefArraysFromPeriod(int first, int last)
{
    for (int month = first; month <= last; ++month) xRefDictionary.erase(month);
}

int CBuDdItem::deleteXRef(CBuDxItem& xref)
{
    auto* model = static_cast<CBudgetXRef*>(xref.getSourceItem());
    if (!detail() || !model) return -1;
    xref.keepValues();
    return detail()->DeleteXRef(model) ? 1 : -1;
}

long CBuDdItem::modify(const ModifyBudgetDetailArguments& values)
{
    if (!detail()) return -1;
    const std::string comment = budgetCommentToModel(values.budgetComment);
    return detail()->modify(values.budgetTo, values.budgetXTo, values.budgetFrom, values.budgetXFrom, comment.c_str(),
                            values.zeroBasedMonth, values.doNotUpdate);
}

} // namespace ch

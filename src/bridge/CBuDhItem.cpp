#include "bridge/CBuDhItem.h"

#include <charconv>

#include "bridge/BudgetText.h"
#include "bridge/CBuDdItem.h"
#include "bridge/CBuDxItem.h"
#include "bridge/CNSStringDateTBridge.h"
#include "model/ModelCodes.h"
#include "model/budget/CBudgetDetail.h"
#include "model/budget/CBudgetHeader.h"

namespace ch {

CBuDhItem::CBuDhItem(CBudgetHeader* budget) : CNonVisualDataItem(budget) {}

CBudgetHeader* CBuDhItem::budget() const
{
    return static_cast<CBudgetHeader*>(getSourceItem());
}

std::optional<long> CBuDhItem::mStartDate() const
{
    if (!budget()) return std::nullopt;
    return budget()->Get_mStartDate();
}
std::optional<long> CBuDhItem::mEndDate() const
{
    if (!budget()) return std::nullopt;
    return budget()->Get_mEndDate();
}
std::optional<long> CBuDhItem::mAangemaaktOp() const
{
    if (!budget()) return std::nullopt;
    return budget()->Get_mAangemaaktOp();
}
std::optional<long> CBuDhItem::mBerekendOp() const
{
    if (!budget()) return std::nullopt;
    return budget()->Get_mBerekendOp();
}
std::optional<long> CBuDhItem::mAangepastOp() const
{
    if (!budget()) return std::nullopt;
    return budget()->Get_mAangepastOp();
}
std::optional<double> CBuDhItem::mBeginBudget() const
{
    if (!budget()) return std::nullopt;
    return budget()->Get_mBeginBudget();
}
std::optional<double> CBuDhItem::mEndBudget() const
{
    if (!budget()) return std::nullopt;
    return budget()->Get_mEndBudget();
}
std::optional<double> CBuDhItem::mBeginActual() const
{
    if (!budget()) return std::nullopt;
    return budget()->Get_mBeginActual();
}
std::optional<double> CBuDhItem::mEndActual() const
{
    if (!budget()) return std::nullopt;
    return budget()->Get_mEndActual();
}
std::optional<long> CBuDhItem::mBaseBudgetId() const
{
    if (!budget()) return std::nullopt;
    return budget()->Get_mBaseBudgetId();
}

std::optional<std::string> CBuDhItem::mComment() const
{
    if (!budget()) return mKeptComment;
    char comment[kDescriptionSize] = {};
    budget()->Get_mComment(comment);
    return budgetModelText(comment);
}

bool CBuDhItem::mBlocked() const
{
    return budget() ? budget()->Get_mBlocked() : mKeptBlocked;
}

void CBuDhItem::setMComment(std::optional<std::string_view> comment)
{
    const std::string text(comment.value_or(std::string_view()));
    if (budget()) budget()->Put_mComment(budgetCommentToModel(text).c_str());
    mKeptComment = text;
    announce("mComment");
}

void CBuDhItem::setMBlocked(bool blocked)
{
    if (budget()) budget()->Put_mBlocked(blocked);
    mKeptBlocked = blocked;
    announce("mBlocked");
}

void CBuDhItem::setMAangepastOp()
{
    if (budget()) budget()->Put_mAangepastOp();
    announce("mAangepastOp");
}

std::shared_ptr<CBuDdItem> CBuDhItem::getDetailForObject(const CNonVisualDataItem& object) const
{
    FourCharCode type = object.getObjectType();
    if (type == type::kAccountType) type = type::kAccount;
    if (type == type::kMasterExpenseType) type = type::kExpenseType;
    const std::optional<ObjectIdT> id = object.getId();
    return id ? getDetailForType(type, *id) : nullptr;
}

std::shared_ptr<CBuDdItem> CBuDhItem::getDetailForType(FourCharCode type, long id) const
{
    CBudgetDetail* detail = budget() ? budget()->Get_BudgetDetailForOsTypeAndId(type, id) : nullptr;
    return detail ? std::make_shared<CBuDdItem>(detail) : nullptr;
}

std::optional<std::string> CBuDhItem::budgetTitleForColum(std::string_view identifier) const
{
    long month = 0;
    const char* end = identifier.data() + identifier.size();
    auto [rest, error] = std::from_chars(identifier.data(), end, month);
    if (identifier.empty() || error != std::errc() || rest != end || month < 0 || !budget()) return std::nullopt;
    return CNSStringDateTBridge::dateTToNSString(budget()->getDateForIndex(month));
}

void CBuDhItem::updateActuals()
{
    if (budget()) budget()->UpdateActuals();
}

int CBuDhItem::modifyBudgetWithNewValues(const ModifyBudgetHeaderArguments& values)
{
    setMComment(values.budgetComment);
    setGetName(values.budgetName);
    setMBlocked(values.doNotUpdate);
    return 1;
}

int CBuDhItem::addXRefWithParams(const NewBudgetXRefArguments& values)
{
    if (!budget()) return -1;
    const std::string comment = budgetCommentToModel(values.budgetComment);
    if (!budget()->AddNewXRef(values.budgetFrom, values.budgetXFrom, values.budgetTo, values.budgetXTo,
                              budget()->getDateForIndex(values.zeroBasedMonth), values.accountId,
                              values.expenseTypeId, comment.c_str(), values.zeroBasedMonthFrom,
                              values.zeroBasedMonthTo))
        return -1;
    return 1;
}

int CBuDhItem::deleteBudgetXRef(CBuDxItem& xref)
{
    const std::optional<long> accountId = xref.accountId();
    const std::optional<long> reasonId = xref.reasonId();
    if (!accountId || !reasonId) return -1;
    std::shared_ptr<CBuDdItem> accountLine = getDetailForType(type::kAccount, *accountId);
    std::shared_ptr<CBuDdItem> categoryLine = getDetailForType(type::kExpenseType, *reasonId);
    if (!accountLine || !categoryLine) return -1;
    return accountLine->deleteXRef(xref);
}

int CBuDhItem::modifyTransferXRefWithNewValues(const TransferBudgetXRefArguments& values)
{
    if (!budget()) return -1;
    return budget()->AddNewTransfer(values.transferAmount, budget()->getDateForIndex(values.zeroBasedPeriod),
                                    values.fromAccountId, values.toAccountId, values.expenseTypeId)
               ? 1
               : -1;
}

} // namespace ch

#include "bridge/CBuDxItem.h"

#include "bridge/BudgetText.h"
#include "model/CAccount.h"
#include "model/CExpenseType.h"
#include "model/budget/CBudgetXRef.h"

namespace ch {

CBuDxItem::CBuDxItem(CBudgetXRef* xref) : CNonVisualDataItem(xref)
{
    keepValues();
}

CBudgetXRef* CBuDxItem::xref() const
{
    return static_cast<CBudgetXRef*>(getSourceItem());
}

void CBuDxItem::keepValues()
{
    const CBudgetXRef* x = xref();
    if (!x) return;
    mKept.budgetFrom = x->Get_mBudgetFrom();
    mKept.budgetTo = x->Get_mBudgetTo();
    mKept.xtraBudgetFrom = x->Get_mXtraBudgetFrom();
    mKept.xtraBudgetTo = x->Get_mXtraBudgetTo();
    mKept.actualFrom = x->Get_mActualFrom();
    mKept.actualTo = x->Get_mActualTo();
    mKept.xtraActualFrom = x->Get_mXtraActualFrom();
    mKept.xtraActualTo = x->Get_mXtraActualTo();
    mKept.accountName = budgetObjectName(x->Get_mAccount());
    mKept.reasonName = budgetObjectName(x->Get_mExpenseType());
    mKept.accountId = x->Get_mAccountId();
    mKept.reasonId = x->Get_mExpenseTypeId();
    mKept.transfer = x->isTransferBudget();
    mKept.blocked = x->Get_mBlocked();
}

std::optional<double> CBuDxItem::mBudgetFrom() const { return xref() ? xref()->Get_mBudgetFrom() : mKept.budgetFrom; }
std::optional<double> CBuDxItem::mBudgetTo() const { return xref() ? xref()->Get_mBudgetTo() : mKept.budgetTo; }
std::optional<double> CBuDxItem::mXtraBudgetFrom() const
{
    return xref() ? xref()->Get_mXtraBudgetFrom() : mKept.xtraBudgetFrom;
}
std::optional<double> CBuDxItem::mXtraBudgetTo() const
{
    return xref() ? xref()->Get_mXtraBudgetTo() : mKept.xtraBudgetTo;
}
std::optional<double> CBuDxItem::mActualFrom() const { return xref() ? xref()->Get_mActualFrom() : mKept.actualFrom; }
std::optional<double> CBuDxItem::mActualTo() const { return xref() ? xref()->Get_mActualTo() : mKept.actualTo; }
std::optional<double> CBuDxItem::mXtraActualFrom() const
{
    return xref() ? xref()->Get_mXtraActualFrom() : mKept.xtraActualFrom;
}
std::optional<double> CBuDxItem::mXtraActualTo() const
{
    return xref() ? xref()->Get_mXtraActualTo() : mKept.xtraActualTo;
}

// No line is passed as the one to skip, so both lines recompute.
void CBuDxItem::setMBudgetFrom(std::optional<double> amount)
{
    if (xref() && amount) xref()->Put_mBudgetFrom(*amount, nullptr);
    if (amount) mKept.budgetFrom = *amount;
    announce("mBudgetFrom");
}
void CBuDxItem::setMBudgetTo(std::optional<double> amount)
{
    if (xref() && amount) xref()->Put_mBudgetTo(*amount, nullptr);
    if (amount) mKept.budgetTo = *amount;
    announce("mBudgetTo");
}
void CBuDxItem::setMXtraBudgetFrom(std::optional<double> amount)
{
    if (xref() && amount) xref()->Put_mBudgetXtraFrom(*amount, nullptr);
    if (amount) mKept.xtraBudgetFrom = *amount;
    announce("mXtraBudgetFrom");
}
void CBuDxItem::setMXtraBudgetTo(std::optional<double> amount)
{
    if (xref() && amount) xref()->Put_mBudgetXtraTo(*amount, nullptr);
    if (amount) mKept.xtraBudgetTo = *amount;
    announce("mXtraBudgetTo");
}

std::string CBuDxItem::accountName() const
{
    return xref() ? budgetObjectName(xref()->Get_mAccount()) : mKept.accountName;
}
std::string CBuDxItem::reasonName() const
{
    return xref() ? budgetObjectName(xref()->Get_mExpenseType()) : mKept.reasonName;
}
std::optional<long> CBuDxItem::accountId() const
{
    return xref() ? std::optional<long>(xref()->Get_mAccountId()) : mKept.accountId;
}
std::optional<long> CBuDxItem::reasonId() const
{
    return xref() ? std::optional<long>(xref()->Get_mExpenseTypeId()) : mKept.reasonId;
}
bool CBuDxItem::isTransferBudget() const { return xref() ? xref()->isTransferBudget() : mKept.transfer; }
bool CBuDxItem::getMBlocked() const { return xref() ? xref()->Get_mBlocked() : mKept.blocked; }

std::optional<std::string> CBuDxItem::mComment() const
{
    if (!xref()) return std::nullopt;
    char comment[kDescriptionSize] = {};
    xref()->Get_mComment(comment);
    return budgetModelText(comment);
}

bool CBuDxItem::modify(const ModifyBudgetXRefArguments& values)
{
    if (!xref()) return false;
    const std::string comment = budgetCommentToModel(values.budgetComment);
    const bool done = xref()->modify(values.budgetTo, values.budgetXTo, values.budgetFrom, values.budgetXFrom,
                                     comment.c_str(), values.zeroBasedMonth, values.doNotUpdate,
                                     values.zeroBasedMonthFrom, values.zeroBasedMonthTo);
    keepValues();
    return done;
}

} // namespace ch

#include "model/budget/CBudgetXRef.h"

#include <cstring>

#include "model/CAccount.h"
#include "model/CExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/budget/BudgetLookups.h"
#include "model/budget/CBudgetDetail.h"
#include "model/budget/CBudgetHeader.h"
#include "model/foundation/CDate.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/LStream.h"

namespace ch {

CBudgetXRef::CBudgetXRef(CDocAccounting* document, CAccount* account, CExpenseType* category,
                         CBudgetDetail* accountDetail, CBudgetDetail* categoryDetail, long period)
    : CNonVisual(-1, document)
{
    SetDefaults();
    Put_Document(document);
    if (account) mAccountId = account->Get_Id();
    if (category) mExpenseTypeId = category->Get_Id();
    mAccountDetail = accountDetail;
    if (accountDetail) mAccountDetailId = accountDetail->Get_Id();
    mExpenseTypeDetail = categoryDetail;
    if (categoryDetail) mExpenseTypeDetailId = categoryDetail->Get_Id();
    mPeriod = period;
}

CBudgetXRef::CBudgetXRef(ObjectIdT id, CDocAccounting* document)
    : CNonVisual(id, document)
{
    SetDefaults();
    Put_Document(document);
}

CBudgetXRef::CBudgetXRef(const CBudgetXRef& source, CDocAccounting* document)
    : CNonVisual(-1, document)
{
    SetDefaults();
    CopyFromObject(&source);
    Put_Document(document);
}

CBudgetXRef::CBudgetXRef(LStream* stream, CDocAccounting* document, FourCharCode version)
    : CNonVisual(stream, version, document)
{
    SetDefaults();
    Put_Document(document);
    stream->ReadObjectIdT(mAccountId);
    stream->ReadObjectIdT(mExpenseTypeId);
    stream->ReadObjectIdT(mAccountDetailId);
    stream->ReadObjectIdT(mExpenseTypeDetailId);
    for (double* amount : {&mBudgetFrom, &mBudgetTo, &mXtraBudgetFrom, &mXtraBudgetTo, &mActualFrom,
                           &mActualTo, &mXtraActualFrom, &mXtraActualTo})
        stream->ReadAmountT(*amount);
    stream->ReadCString(mComment);
    EnumT blocked = 0;
    stream->ReadEnumT(blocked);
    mBlocked = blocked != 0;
    // The period travels in the date encoding; the reading detail checks its range.
    DateT period = 0;
    stream->ReadDateT(period);
    mPeriod = period;
}

void CBudgetXRef::SetDefaults()
{
    mBlocked = false;
    mAccountDetail = nullptr;
    mExpenseTypeDetail = nullptr;
    mBudgetFrom = mBudgetTo = mXtraBudgetFrom = mXtraBudgetTo = 0.0;
    mActualFrom = mActualTo = mXtraActualFrom = mXtraActualTo = 0.0;
    mComment[0] = '\0';
    SetObjectType(type::kBudgetXRef);
}

// --- amounts

bool CBudgetXRef::Put_mBudgetFrom(double amount, CBudgetDetail* caller)
{
    mBudgetFrom = amount;
    return SynchroUp(budget_item::kBudgetOut, 0, caller);
}

bool CBudgetXRef::Put_mBudgetTo(double amount, CBudgetDetail* caller)
{
    mBudgetTo = amount;
    return SynchroUp(budget_item::kBudgetIn, 0, caller);
}

bool CBudgetXRef::Put_mBudgetXtraFrom(double amount, CBudgetDetail* caller)
{
    mXtraBudgetFrom = amount;
    return SynchroUp(budget_item::kBudgetExtraOut, 0, caller);
}

bool CBudgetXRef::Put_mBudgetXtraTo(double amount, CBudgetDetail* caller)
{
    mXtraBudgetTo = amount;
    return SynchroUp(budget_item::kBudgetExtraIn, 0, caller);
}

bool CBudgetXRef::AddAmounts(double from, double to, unsigned char actuals, unsigned char oneOff)
{
    if (actuals && oneOff) {
        mXtraActualFrom += from;
        mXtraActualTo += to;
    } else if (actuals) {
        mActualFrom += from;
        mActualTo += to;
    } else if (oneOff) {
        mXtraBudgetFrom += from;
        mXtraBudgetTo += to;
    } else {
        mBudgetFrom += from;
        mBudgetTo += to;
    }
    return true;
}

void CBudgetXRef::ClearActuals()
{
    mActualFrom = mActualTo = mXtraActualFrom = mXtraActualTo = 0.0;
}

bool CBudgetXRef::SynchroUp(BudgetItemTypeT figure, long, CBudgetDetail* caller)
{
    if (mAccountDetail && mAccountDetail != caller) mAccountDetail->SynchroXRef(this, false, figure);
    if (mExpenseTypeDetail && mExpenseTypeDetail != caller)
        mExpenseTypeDetail->SynchroXRef(this, true, figure);
    return true;
}

bool CBudgetXRef::modify(double in, double extraIn, double out, double extraOut,
                         const char* comment, int, bool blocked, int firstPeriod, int lastPeriod)
{
    if (!IsBudgetPeriod(firstPeriod) || !IsBudgetPeriod(lastPeriod)) return false;
    if (!mAccountDetail) return true;
    for (int period = firstPeriod; period <= lastPeriod; ++period) {
        CNamedListArray* list = mAccountDetail->GetXRefsForZeroBasedPeriod(period);
        CBudgetXRef* target = nullptr;
        for (ArrayIndexT i = 1; list && i <= static_cast<ArrayIndexT>(list->GetCount()); ++i) {
            auto* candidate = static_cast<CBudgetXRef*>(list->ObjectAt(i));
            if (candidate->mExpenseTypeDetailId == mExpenseTypeDetailId) {
                target = candidate;
                break;
            }
        }
        if (!target || target->Get_mBlocked()) continue;

        if (out != target->mBudgetFrom) target->Put_mBudgetFrom(out, nullptr);
        if (in != target->mBudgetTo) target->Put_mBudgetTo(in, nullptr);
        if (extraOut != target->mXtraBudgetFrom) target->Put_mBudgetXtraFrom(extraOut, nullptr);
        if (extraIn != target->mXtraBudgetTo) target->Put_mBudgetXtraTo(extraIn, nullptr);
        // The comment and the flag belong to the cross-reference being edited.
        if (comment) Put_mComment(comment);
        if (blocked) mBlocked = true;
    }
    return true;
}

// --- state

bool CBudgetXRef::Get_mBlocked() const
{
    if (mBlocked) return true;
    if (mExpenseTypeDetail && mExpenseTypeDetail->Get_mBlocked(mPeriod)) return true;
    return mAccountDetail && mAccountDetail->Get_mBlocked(mPeriod);
}

bool CBudgetXRef::Put_mBlocked(unsigned char blocked)
{
    mBlocked = blocked != 0;
    return true;
}

void CBudgetXRef::Get_mComment(char (&out)[kDescriptionSize]) const
{
    std::memcpy(out, mComment, sizeof mComment);
}

bool CBudgetXRef::Put_mComment(const char* comment)
{
    if (!comment) return false;
    CopyToField(mComment, comment);
    return true;
}

CBudgetHeader* CBudgetXRef::Header() const
{
    return mExpenseTypeDetail ? mExpenseTypeDetail->GetHeader() : nullptr;
}

DateT CBudgetXRef::Get_StartDate() const
{
    CBudgetHeader* header = Header();
    return header ? CDate::AddMonthsToDateT(header->Get_mStartDate(), mPeriod) : 0;
}

bool CBudgetXRef::isTransferBudget() const
{
    CExpenseType* category = Get_mExpenseType();
    return category && category->IsTransfer();
}

// --- what it ties

CAccount* CBudgetXRef::Get_mAccount() const
{
    return BudgetAccount(mDocument, mAccountId);
}

CExpenseType* CBudgetXRef::Get_mExpenseType() const
{
    return BudgetCategory(mDocument, mExpenseTypeId);
}

void CBudgetXRef::Get_mAccountName(char (&out)[kNameSize]) const
{
    out[0] = '\0';
    if (CAccount* account = Get_mAccount()) account->CNonVisual::Get_Name(out);
}

void CBudgetXRef::Get_mReasonName(char (&out)[kNameSize]) const
{
    out[0] = '\0';
    if (CExpenseType* category = Get_mExpenseType()) category->Get_Name(out);
}

bool CBudgetXRef::PutAccountDetailPointer(CBudgetDetail* detail)
{
    if (detail && detail->Get_Id() != mAccountDetailId) return false;
    mAccountDetail = detail;
    return true;
}

bool CBudgetXRef::PutExpenseTypeDetailPointer(CBudgetDetail* detail)
{
    if (detail && detail->Get_Id() != mExpenseTypeDetailId) return false;
    mExpenseTypeDetail = detail;
    return true;
}

// --- deletion

bool CBudgetXRef::CanBeDeleted() const
{
    if (Get_mBlocked()) {
        CErrorManager::RaiseError(192);
        return false;
    }
    if (isTransferBudget()) {
        CErrorManager::RaiseError(197);
        return false;
    }
    if (mActualFrom != 0.0 || mActualTo != 0.0 || mXtraActualFrom != 0.0 || mXtraActualTo != 0.0) {
        CErrorManager::RaiseError(196);
        return false;
    }
    return true;
}

bool CBudgetXRef::BeforeDelete()
{
    if (!CanBeDeleted()) return false;
    if (mBudgetFrom != 0.0 || mBudgetTo != 0.0 || mXtraBudgetFrom != 0.0 || mXtraBudgetTo != 0.0) {
        CErrorManager::RaiseError(195);
        return false;
    }
    return true;
}

// --- persistence

void CBudgetXRef::PutStream(LStream* stream)
{
    CNonVisual::PutStream(stream);
    stream->WriteObjectIdT(mAccountId);
    stream->WriteObjectIdT(mExpenseTypeId);
    stream->WriteObjectIdT(mAccountDetailId);
    stream->WriteObjectIdT(mExpenseTypeDetailId);
    for (double amount : {mBudgetFrom, mBudgetTo, mXtraBudgetFrom, mXtraBudgetTo, mActualFrom,
                          mActualTo, mXtraActualFrom, mXtraActualTo})
        stream->WriteAmountTT(amount);
    stream->WriteCString(mComment);
    stream->WriteEnumT(mBlocked ? 1 : 0);
    stream->WriteDateT(static_cast<DateT>(mPeriod));
}

bool CBudgetXRef::Export(LStream* stream, char) const
{
    CNonVisual::Export(stream, 'A');
    return false;
}

} // namespace ch

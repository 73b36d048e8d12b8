#include "model/budget/CBudgetHeader.h"

#include <vector>

#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/CPreference.h"
#include "model/CTransaction.h"
#include "model/ModelComparators.h"
#include "model/budget/BudgetLookups.h"
#include "model/budget/CBudgetDetail.h"
#include "model/budget/CBudgetHierarchyRoot.h"
#include "model/budget/CBudgetMonth.h"
#include "model/budget/CBudgetXRef.h"
#include "model/foundation/CDate.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/LStream.h"

namespace ch {

namespace {

// The comment of a budget nobody has described yet (0xC9 is the ellipsis in Mac Roman).
constexpr const char* kSystemComment = "Created by the system\xC9";

std::unique_ptr<CNamedListArray> NewList()
{
    return std::make_unique<CNamedListArray>(new LNamedlistArrayComparator, false);
}

template <typename T>
std::vector<T*> ObjectsOf(const CNamedListArray& list)
{
    std::vector<T*> objects;
    objects.reserve(list.GetCount());
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list.GetCount()); ++i)
        objects.push_back(static_cast<T*>(list.ObjectAt(i)));
    return objects;
}

// The last day of the year that begins on start.
DateT YearEnd(DateT start)
{
    return CDate::AddDaysTo(CDate::AddYearsTo(start, 1), -1);
}

} // namespace

// --- construction

CBudgetHeader::CBudgetHeader(CDocAccounting* document)
    : CNonVisual(-1, document)
{
    Put_Document(document);
    SetDefaults();
}

CBudgetHeader::CBudgetHeader(ObjectIdT id, CDocAccounting* document)
    : CNonVisual(id, document)
{
    Put_Document(document);
    SetDefaults();
}

CBudgetHeader::CBudgetHeader(const CBudgetHeader& source, CDocAccounting* document)
    : CNonVisual(-1, document)
{
    Put_Document(document);
    SetDefaults();
    CopyFromObject(&source);
    SetObjectType(type::kBudgetHeader);
}

CBudgetHeader::CBudgetHeader(LStream* stream, CDocAccounting* document, FourCharCode version)
    : CNonVisual(stream, version, document)
{
    Put_Document(document);
    SetDefaults();
    std::vector<std::unique_ptr<CBudgetDetail>> read;
    try {
        for (DateT* date : {&mStartDate, &mEndDate, &mAangemaaktOp, &mBerekendOp, &mAangepastOp})
            stream->ReadDateT(*date);
        for (double* amount : {&mBeginBudget, &mEndBudget, &mBeginActual, &mEndActual})
            stream->ReadAmountT(*amount);
        stream->ReadCString(mComment);
        EnumT blocked = 0;
        stream->ReadEnumT(blocked);
        mBlocked = blocked != 0;
        stream->ReadObjectIdT(mBaseBudgetId);

        FourCharCode tag = 0;
        while (stream->PeekBigOsType(tag) == 4 && tag == type::kBudgetDetail)
            read.push_back(std::make_unique<CBudgetDetail>(stream, document, version));
    } catch (...) {
        // A damaged record: nothing of it may stay behind.
        for (auto& detail : read) detail->DeleteDetail(false);
        ReleaseDetails();
        throw;
    }

    // Details keep the order they were written in, so that a budget reads
    // back exactly as it was. A detail of a kind no budget has is dropped,
    // and counted with the cross-references its details could not keep.
    for (auto& detail : read) {
        mLinesNotKept += detail->XRefsNotKept();
        if (FileDetail(detail.get())) {
            detail.release();
        } else {
            ++mLinesNotKept;
            detail->DeleteDetail(false);
        }
    }
    LinkAccountDetailsToXRefs();
    // A cross-reference whose account detail the budget does not hold
    // counts in no account's figures.
    for (CBudgetDetail* detail : ObjectsOf<CBudgetDetail>(*mExpenseTypeDetails)) {
        for (int period = 0; period < kBudgetPeriods; ++period) {
            const CNamedListArray* xrefs = detail->GetXRefsForZeroBasedPeriod(period);
            for (ArrayIndexT i = 1; i <= CountOf(xrefs); ++i) {
                const auto* xref = static_cast<const CBudgetXRef*>(xrefs->ObjectAt(i));
                if (!xref->Get_AccountDetailPointer()) ++mLinesNotKept;
            }
        }
    }
}

CBudgetHeader::~CBudgetHeader()
{
    ReleaseDetails();
}

void CBudgetHeader::ReleaseDetails()
{
    // Every cross-reference goes with the first of its two details to go.
    for (CNamedListArray* list : {mExpenseTypeDetails.get(), mAccountDetails.get()}) {
        if (!list) continue;
        const std::vector<CBudgetDetail*> details = ObjectsOf<CBudgetDetail>(*list);
        for (CBudgetDetail* detail : details) detail->DeleteDetail(false);
    }
    for (CNamedListArray* list : {mExpenseTypeDetails.get(), mAccountDetails.get(), mDetailFolders.get()}) {
        if (!list) continue;
        const std::vector<CNonVisual*> objects = ObjectsOf<CNonVisual>(*list);
        list->StopBroadcasting();
        list->RemoveItemsAt(list->GetCount(), 1);
        list->StartBroadcasting();
        for (CNonVisual* object : objects) delete object;
    }
}

void CBudgetHeader::SetDefaults()
{
    mBlocked = false;
    if (!mExpenseTypeDetails) mExpenseTypeDetails = NewList();
    if (!mAccountDetails) mAccountDetails = NewList();
    if (!mDetailFolders) mDetailFolders = NewList();

    SetObjectType(type::kBudgetHeader);
    mStartDate = mEndDate = 0;
    mAangemaaktOp = mBerekendOp = mAangepastOp = CDate::GetNowAsDateT();
    mBeginBudget = mEndBudget = mBeginActual = mEndActual = 0.0;
    CopyToField(mComment, kSystemComment);
    mBaseBudgetId = 0;
    BuildFolderRoots();
}

void CBudgetHeader::BuildFolderRoots()
{
    // Rebuilt on every reading and never written: they take no ids of the books.
    auto* accountRoot = new CBudgetHierarchyRoot(kTemporaryId, mDocument);
    accountRoot->Put_Document(mDocument);
    accountRoot->PutContentsType(type::kAccountType);
    auto* groupRoot = new CBudgetHierarchyRoot(kTemporaryId, mDocument);
    groupRoot->Put_Document(mDocument);
    groupRoot->PutContentsType(type::kMasterExpenseType);

    if (mDocument) {
        // The top-level balance-sheet account types and the top-level groups.
        for (CNonVisual* object : ObjectsOf<CNonVisual>(*mDocument->mAccountTypeList)) {
            if (object->Get_ObjectType() != type::kAccountType) continue;
            if (static_cast<CAccType*>(object)->thisIsAProfitAndLossAccount() || !object->IsRootItem())
                continue;
            accountRoot->AddContentsElement(object);
        }
        for (CNonVisual* object : ObjectsOf<CNonVisual>(*mDocument->mMasterExpenseTypeList)) {
            if (object->Get_ObjectType() == type::kMasterExpenseType && object->IsRootItem())
                groupRoot->AddContentsElement(object);
        }
    }
    mDetailFolders->InsertObjectAt(accountRoot, 1);
    mDetailFolders->InsertObjectAt(groupRoot, 1);
}

bool CBudgetHeader::FileDetail(CBudgetDetail* detail)
{
    CNamedListArray* list = detail->IsAccountDetail()    ? mAccountDetails.get()
                            : detail->IsCategoryDetail() ? mExpenseTypeDetails.get()
                                                         : nullptr;
    if (!list) return false;
    detail->Put_Header(this);
    list->AppendObject(detail);
    return true;
}

DateT CBudgetHeader::CurrentPeriodStart() const
{
    DateT start = mDocument && mDocument->mPreference ? mDocument->mPreference->Get_mCurrentPeriodStart() : 0;
    if (CDate::IsValidDate(start)) return start;
    // Without settings: the calendar year of today.
    return CDate::GetYearFromDateT(CDate::GetNowAsDateT()) * 10000 + 101;
}

// --- making a budget

void CBudgetHeader::Initialize(BudgetBaseT base, DateT baseMonth, BudgetPeriodT period,
                               long nrOfYears, long, CBudgetHeader* baseBudget)
{
    const DateT cps = CurrentPeriodStart();
    mAangemaaktOp = mBerekendOp = mAangepastOp = CDate::GetNowAsDateT();
    mBeginBudget = mEndBudget = mBeginActual = mEndActual = 0.0;
    // Only the id is kept: the base budget is looked up again whenever needed.
    if (baseBudget) mBaseBudgetId = baseBudget->Get_Id();

    DateT start = 0;
    switch (period) {
    case budget_period::kNextYear: start = CDate::AddYearsTo(cps, 1); break;
    case budget_period::kCurrentYear: start = cps; break;
    case budget_period::kYearAfterNext: start = CDate::AddYearsTo(cps, 2); break;
    case budget_period::kYearsAhead: start = CDate::AddYearsTo(cps, nrOfYears); break;
    default: break;
    }

    DateT input = 0;
    switch (base) {
    case budget_base::kLastYear: input = CDate::AddYearsTo(cps, -1); break;
    case budget_base::kOneMonth: input = CDate::GetFirstDayOfMonth(baseMonth); break;
    case budget_base::kCurrentYear: input = cps; break;
    case budget_base::kBaseBudget:
        if (baseBudget) {
            start = CDate::AddDaysTo(baseBudget->Get_mEndDate(), 1);
            mBeginBudget = baseBudget->Get_mEndBudget();
            mEndBudget = 0.0;
        }
        break;
    default: break;
    }
    // Kinds that name no dates (a budget to follow, but none given): the
    // year after the base budget, or else the current year.
    if (start == 0) start = baseBudget ? CDate::AddDaysTo(baseBudget->Get_mEndDate(), 1) : cps;
    mStartDate = start;
    mEndDate = YearEnd(start);

    if (mDocument) {
        for (CNonVisual* object : ObjectsOf<CNonVisual>(*mDocument->mAccountList)) {
            if (object->Get_ObjectType() != type::kAccount) continue;
            if (static_cast<CAccount*>(object)->thisIsAProfitAndLossAccount()) continue;
            Get_BudgetDetail(object, true);
        }
    }

    for (long n = 0; n < kBudgetPeriods; ++n) {
        const DateT target = CDate::AddMonthsToDateT(mStartDate, n);
        if (base == budget_base::kLastYear || base == budget_base::kCurrentYear)
            MakeBudgetFromInputMonth(CDate::AddMonthsToDateT(input, n), target, 0);
        else if (base == budget_base::kOneMonth)
            MakeBudgetFromInputMonth(input, target, 0);
    }
    UpdateActuals();
}

// --- plain fields

void CBudgetHeader::Get_mComment(char (&out)[kDescriptionSize]) const
{
    CopyToField(out, mComment);
}

bool CBudgetHeader::Put_mStartDate(DateT date)
{
    mStartDate = date;
    return true;
}

bool CBudgetHeader::Put_mEndDate(DateT date)
{
    mEndDate = date;
    return true;
}

bool CBudgetHeader::Put_mBerekendOp(DateT date)
{
    mBerekendOp = date;
    return true;
}

bool CBudgetHeader::Put_mAangepastOp()
{
    mAangepastOp = CDate::GetNowAsDateT();
    return true;
}

bool CBudgetHeader::Put_mBeginBudget(double amount)
{
    mBeginBudget = amount;
    return true;
}

bool CBudgetHeader::Put_mEndBudget(double amount)
{
    mEndBudget = amount;
    return true;
}

bool CBudgetHeader::Put_mBeginActual(double amount)
{
    mBeginActual = amount;
    return true;
}

bool CBudgetHeader::Put_mEndActual(double amount)
{
    mEndActual = amount;
    return true;
}

bool CBudgetHeader::Put_mComment(const char* comment)
{
    CopyToField(mComment, comment);
    return true;
}

bool CBudgetHeader::Put_mBlocked(unsigned char blocked)
{
    mBlocked = blocked != 0;
    return true;
}

bool CBudgetHeader::Put_mBaseBudgetId(ObjectIdT id)
{
    mBaseBudgetId = id;
    return true;
}

// --- look-ups

CBudgetDetail* CBudgetHeader::Get_BudgetDetailForOsTypeAndId(FourCharCode typeCode, ObjectIdT id) const
{
    CNamedListArray* list = typeCode == type::kExpenseType ? mExpenseTypeDetails.get()
                            : typeCode == type::kAccount   ? mAccountDetails.get()
                                                           : nullptr;
    return list ? static_cast<CBudgetDetail*>(list->GetValueForId(id)) : nullptr;
}

CBudgetDetail* CBudgetHeader::Get_BudgetDetail(CNonVisual* object, bool create)
{
    if (!object) return nullptr;
    const FourCharCode typeCode = object->Get_ObjectType();
    CNamedListArray* list = typeCode == type::kExpenseType ? mExpenseTypeDetails.get()
                            : typeCode == type::kAccount   ? mAccountDetails.get()
                                                           : nullptr;
    if (!list) return nullptr;
    auto* detail = static_cast<CBudgetDetail*>(list->GetValueForId(object->Get_Id()));
    if (!detail && create) {
        detail = new CBudgetDetail(object, 0, this, mDocument);
        list->InsertObjectAt(detail, 1);
    }
    return detail;
}

bool CBudgetHeader::BudgetExistsForObject(CNonVisual* object, bool) const
{
    if (!object) return false;
    return Get_BudgetDetailForOsTypeAndId(object->Get_ObjectType(), object->Get_Id()) != nullptr;
}

CBudgetHeader* CBudgetHeader::GetBaseBudget() const
{
    if (mBaseBudgetId <= 0 || mBaseBudgetId == Get_Id()) return nullptr;
    return BudgetForId(mDocument, mBaseBudgetId);
}

long CBudgetHeader::getIndexForDate(long date) const
{
    long value = date;
    if (value >= 1000000) value /= 100;   // a full date: YYYYMM
    const long startMonth = CDate::GetMonthFromDateT(mStartDate);
    // A value below 12 is a month number; the year plays no part either way.
    const long month = value < 12 ? value : value % 100;
    long index = month - startMonth;
    if (startMonth > month) index += 12;
    return index;
}

DateT CBudgetHeader::getDateForIndex(long period) const
{
    return CDate::AddMonthsToDateT(mStartDate, period);
}

CNamedListArray* CBudgetHeader::RootContents(FourCharCode contentsType) const
{
    for (CNonVisual* object : ObjectsOf<CNonVisual>(*mDetailFolders)) {
        auto* root = static_cast<CBudgetHierarchyRoot*>(object);
        if (root->Get_ContentsType() == contentsType) return root->Get_DetailFolders();
    }
    return nullptr;
}

CNamedListArray* CBudgetHeader::Get_BudgettedRootAccT() const
{
    return RootContents(type::kAccountType);
}

CNamedListArray* CBudgetHeader::Get_BudgettedRootMxpT() const
{
    return RootContents(type::kMasterExpenseType);
}

// --- filling from bookings

bool CBudgetHeader::MakeBudgetFromInputMonth(DateT inputDate, DateT targetDate, unsigned char actuals)
{
    if (!mDocument) return false;
    const DateT month = inputDate / 100;
    const CNamedListArray& transactions = *mDocument->mTransactionList;
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(transactions.GetCount()); ++i) {
        CNonVisual* object = transactions.ObjectAt(i);
        if (object->Get_ObjectType() != type::kTransaction) continue;
        auto* transaction = static_cast<CTransaction*>(object);
        if (transaction->Get_mDate() / 100 != month) continue;
        const bool oneOff = transaction->Get_mb_budgetOneOff();
        // A one-off belongs to no plan, only to what happened.
        if (oneOff && !actuals) continue;
        AddTransactionToBudget(transaction, targetDate, actuals, oneOff);
    }
    return true;
}

long CBudgetHeader::AddTransactionToBudget(CTransaction* transaction, DateT targetDate,
                                           unsigned char actuals, unsigned char oneOff)
{
    if (!transaction) return 0;
    CNamedListArray& categoryLines = *transaction->GetExpenseTypeList();
    if (categoryLines.GetCount() == 1 &&
        !static_cast<CDebit*>(categoryLines.ObjectAt(1))->Get_mAccountPtr())
        return -1;

    UnallocatedBudgets records;
    for (CDebit* line : ObjectsOf<CDebit>(*transaction->GetDebitList())) {
        if (auto record = AddAccount(line, 'F', targetDate, actuals, oneOff)) records.push_back(*record);
    }
    for (CDebit* line : ObjectsOf<CDebit>(*transaction->GetCreditList())) {
        if (auto record = AddAccount(line, 'T', targetDate, actuals, oneOff)) records.push_back(*record);
    }
    // The records are shared: what one category line takes is gone for the next.
    for (CExptypeDetail* line : ObjectsOf<CExptypeDetail>(categoryLines)) {
        AddExpenseType(line, targetDate, actuals, oneOff);
        AllocateUnallocated(line, transaction, targetDate, actuals, records, oneOff);
    }

    double leftFrom = 0.0, leftTo = 0.0;
    for (const CUnallocatedBudget& record : records) {
        leftFrom += record.mFromAmount;
        leftTo += record.mToAmount;
    }
    if (IsNegligibleAmount(leftFrom) && IsNegligibleAmount(leftTo)) return 1;

    // What no category explains is an unspecified transfer.
    CExpenseType* unspecified = mDocument ? mDocument->GetUnspecifiedTransfer() : nullptr;
    if (!unspecified) return 1;
    CBudgetDetail* detail = Get_BudgetDetailForOsTypeAndId(type::kExpenseType, unspecified->Get_Id());
    if (!detail) {
        detail = new CBudgetDetail(unspecified, 'E', targetDate, this, mDocument, actuals, oneOff);
        mExpenseTypeDetails->InsertObjectAt(detail, 1);
    }
    detail->AllocateUnspecifiedTransfers(transaction, targetDate, actuals, records, oneOff);
    return 1;
}

std::optional<CUnallocatedBudget> CBudgetHeader::AddAccount(CDebit* line, char direction,
                                                            DateT targetDate, unsigned char actuals,
                                                            unsigned char oneOff)
{
    CNonVisual* object = line ? line->Get_mAccountPtr() : nullptr;
    if (!object || object->Get_ObjectType() != type::kAccount) return std::nullopt;
    auto* account = static_cast<CAccount*>(object);
    if (account->thisIsAProfitAndLossAccount()) return std::nullopt;

    const double amount = line->Get_mLocalAmount();
    CBudgetDetail* detail = Get_BudgetDetailForOsTypeAndId(type::kAccount, account->Get_Id());
    if (!detail) {
        detail = new CBudgetDetail(account->Get_Id(), line, direction, targetDate, this, mDocument,
                                   actuals, oneOff);
        mAccountDetails->InsertObjectAt(detail, 1);
    } else {
        detail->AddAmount(targetDate, amount, direction, actuals, oneOff);
    }
    return CUnallocatedBudget(account, detail, direction == 'F' ? amount : 0.0,
                              direction == 'T' ? amount : 0.0);
}

bool CBudgetHeader::AddExpenseType(CExptypeDetail* line, DateT targetDate, unsigned char actuals,
                                   unsigned char oneOff)
{
    CNonVisual* category = line ? line->Get_mAccountPtr() : nullptr;
    if (!category || category->Get_ObjectType() != type::kExpenseType) return false;
    CBudgetDetail* detail = Get_BudgetDetailForOsTypeAndId(type::kExpenseType, category->Get_Id());
    if (!detail) {
        detail = new CBudgetDetail(category->Get_Id(), line, 'E', targetDate, this, mDocument,
                                   actuals, oneOff);
        mExpenseTypeDetails->InsertObjectAt(detail, 1);
    } else {
        detail->AddAmount(targetDate, line->Get_mLocalAmount(), 'E', actuals, oneOff);
    }
    return true;
}

bool CBudgetHeader::AllocateUnallocated(CExptypeDetail* line, CTransaction* transaction,
                                        DateT targetDate, unsigned char actuals,
                                        UnallocatedBudgets& records, unsigned char oneOff)
{
    CNonVisual* category = line ? line->Get_mAccountPtr() : nullptr;
    if (!category || category->Get_ObjectType() != type::kExpenseType) return false;
    CBudgetDetail* detail = Get_BudgetDetailForOsTypeAndId(type::kExpenseType, category->Get_Id());
    if (!detail) return false;
    return detail->AllocateUnallocated(line->Get_mLocalAmount(), transaction, targetDate, actuals,
                                       records, oneOff);
}

// --- recalculation and chaining

bool CBudgetHeader::UpdateActuals()
{
    // Everything booked is booked again: the cross-references too start from 0.
    for (CNamedListArray* list : {mAccountDetails.get(), mExpenseTypeDetails.get()}) {
        for (CBudgetDetail* detail : ObjectsOf<CBudgetDetail>(*list)) {
            detail->InitializeNumbers(1);
            detail->ClearXRefActuals();
        }
    }
    for (long n = 0; n < kBudgetPeriods; ++n) {
        const DateT month = CDate::AddMonthsToDateT(mStartDate, n);
        MakeBudgetFromInputMonth(month, month, 1);
    }
    mBerekendOp = CDate::GetNowAsDateT();
    mBeginActual = mEndActual = 0.0;
    Finalize();
    return true;
}

bool CBudgetHeader::Finalize()
{
    using namespace budget_item;
    // The opening position is what the account held before the first day:
    // bookings of that day belong to period 0's movements.
    const DateT dayBefore = CDate::AddDaysTo(mStartDate, -1);
    const std::vector<CBudgetDetail*> accountDetails = ObjectsOf<CBudgetDetail>(*mAccountDetails);
    const std::vector<CBudgetDetail*> categoryDetails = ObjectsOf<CBudgetDetail>(*mExpenseTypeDetails);
    for (CBudgetDetail* detail : accountDetails) {
        double opening = 0.0;
        CNonVisual* object = detail->GetObject();
        if (object && object->Get_ObjectType() == type::kAccount) {
            double b2 = 0, b3 = 0, b4 = 0;
            static_cast<CAccount*>(object)->Get_BalanceInPeriod(opening, b2, b3, b4, dayBefore, dayBefore,
                                                               dayBefore, dayBefore, true, 0, 0, 0, 0);
        }
        detail->GetMonth(0)->Put_ActualStart(opening);
        detail->Finalize();
    }

    CBudgetHeader* base = GetBaseBudget();
    if (base && CDate::MonthsBetween(base->Get_mStartDate(), mStartDate, false) < 13) {
        const long last = base->getIndexForDate(CDate::AddMonthsToDateT(mStartDate, -1));
        if (last >= 1 && last <= 11) {
            // This budget continues where the base budget's period `last` ends.
            for (CBudgetDetail* detail : categoryDetails) {
                CBudgetMonth* first = detail->GetMonth(0);
                CBudgetDetail* previous =
                    base->Get_BudgetDetailForOsTypeAndId(type::kExpenseType, detail->Get_BudgettedId());
                first->Put_BudgetStart(previous ? previous->GetBudgettedNumber(kBudgetEnd, last) : 0.0);
                first->Put_ActualStart(previous ? previous->GetBudgettedNumber(kActualEnd, last) : 0.0);
                detail->Finalize();
            }
            for (CBudgetDetail* detail : accountDetails) {
                CBudgetDetail* previous =
                    base->Get_BudgetDetailForOsTypeAndId(type::kAccount, detail->Get_BudgettedId());
                detail->GetMonth(0)->Put_BudgetStart(
                    previous ? previous->GetBudgettedNumber(kBudgetEnd, last) : 0.0);
                detail->Finalize();
            }
            return true;
        }
    }

    mBaseBudgetId = -1;
    for (CBudgetDetail* detail : categoryDetails) {
        detail->GetMonth(0)->Put_BudgetStart(0.0);
        detail->GetMonth(0)->Put_ActualStart(0.0);
        detail->Finalize();
    }
    for (CBudgetDetail* detail : accountDetails) {
        CBudgetMonth* first = detail->GetMonth(0);
        first->Put_BudgetStart(first->Get_ActualStart());
        detail->Finalize();
    }
    return true;
}

void CBudgetHeader::LinkAccountDetailsToXRefs()
{
    for (CBudgetDetail* detail : ObjectsOf<CBudgetDetail>(*mExpenseTypeDetails))
        detail->LinkAccountDetailsToXRefs(mAccountDetails.get());
}

// --- edits

bool CBudgetHeader::AddNewTransfer(double amount, DateT date, ObjectIdT fromAccountId,
                                   ObjectIdT toAccountId, ObjectIdT categoryId)
{
    return AddNewTransfer(amount, date, BudgetAccount(mDocument, fromAccountId),
                          BudgetAccount(mDocument, toAccountId), BudgetCategory(mDocument, categoryId));
}

bool CBudgetHeader::AddNewTransfer(double amount, DateT date, CAccount* from, CAccount* to,
                                   CExpenseType* category)
{
    if (mBlocked) {
        CErrorManager::RaiseError(192);
        return false;
    }
    if (!IsBudgetPeriod(getIndexForDate(date))) {
        CErrorManager::RaiseError(193);
        return false;
    }
    if (!from || !to || !category) return false;

    CBudgetDetail* fromDetail = Get_BudgetDetail(from, true);
    CBudgetDetail* toDetail = Get_BudgetDetail(to, true);
    CBudgetDetail* categoryDetail = Get_BudgetDetail(category, true);
    if (fromDetail->Get_mBlocked() || toDetail->Get_mBlocked() || categoryDetail->Get_mBlocked()) {
        CErrorManager::RaiseError(192);
        return false;
    }

    CBudgetXRef* out = fromDetail->AddOrReplaceXRef(categoryDetail, date, 0, 0, 0, 0, 0);
    CBudgetXRef* in = toDetail->AddOrReplaceXRef(categoryDetail, date, 0, 0, 0, 0, 0);
    if (!out || !in) return false;
    // Both sides grow by the amount, and the smaller one catches up with the other.
    const double f = out->Get_mBudgetFrom();
    const double t = in->Get_mBudgetTo();
    double newFrom = amount, newTo = amount;
    if (f < t)
        newTo = (t - f) + amount;
    else if (f > t)
        newFrom = (f - t) + amount;
    fromDetail->AddOrReplaceXRef(categoryDetail, date, newFrom, kKeepBudgetAmount, kKeepBudgetAmount,
                                 kKeepBudgetAmount, 1);
    toDetail->AddOrReplaceXRef(categoryDetail, date, kKeepBudgetAmount, kKeepBudgetAmount, newTo,
                               kKeepBudgetAmount, 1);
    return true;
}

bool CBudgetHeader::AddNewXRef(double budgetFrom, double xtraBudgetFrom, double budgetTo,
                               double xtraBudgetTo, DateT date, ObjectIdT accountId,
                               ObjectIdT categoryId, const char* comment, int firstPeriod,
                               int lastPeriod)
{
    if (mBlocked) {
        CErrorManager::RaiseError(192);
        return false;
    }
    if ((firstPeriod == lastPeriod && !IsBudgetPeriod(getIndexForDate(date))) ||
        !IsBudgetPeriod(firstPeriod) || !IsBudgetPeriod(lastPeriod)) {
        CErrorManager::RaiseError(193);
        return false;
    }
    CAccount* account = BudgetAccount(mDocument, accountId);
    CExpenseType* category = BudgetCategory(mDocument, categoryId);
    if (!account || !category) return false;

    CBudgetDetail* accountDetail = Get_BudgetDetail(account, true);
    CBudgetDetail* categoryDetail = Get_BudgetDetail(category, true);
    for (int period = firstPeriod; period <= lastPeriod; ++period) {
        CBudgetXRef* xref =
            accountDetail->AddOrReplaceXRef(categoryDetail, getDateForIndex(period), budgetFrom,
                                            xtraBudgetFrom, budgetTo, xtraBudgetTo, 1);
        if (xref) xref->Put_mComment(comment);
    }
    return true;
}

// --- lifecycle

bool CBudgetHeader::BeforeDelete()
{
    if (mBlocked) {
        CErrorManager::RaiseError(192);
        return false;
    }
    const std::vector<CBudgetDetail*> accountDetails = ObjectsOf<CBudgetDetail>(*mAccountDetails);
    const std::vector<CBudgetDetail*> categoryDetails = ObjectsOf<CBudgetDetail>(*mExpenseTypeDetails);
    bool deletable = true;
    for (const auto* details : {&accountDetails, &categoryDetails}) {
        for (CBudgetDetail* detail : *details) deletable = deletable && detail->CanBeDeleted();
    }
    if (deletable) {
        for (CBudgetDetail* detail : accountDetails) detail->DeleteDetail(false);
        for (CBudgetDetail* detail : categoryDetails) detail->DeleteDetail(false);
    }
    // What is left goes with the header.
    return true;
}

void CBudgetHeader::PutStream(LStream* stream)
{
    CNonVisual::PutStream(stream);
    for (DateT date : {mStartDate, mEndDate, mAangemaaktOp, mBerekendOp, mAangepastOp})
        stream->WriteDateT(date);
    for (double amount : {mBeginBudget, mEndBudget, mBeginActual, mEndActual})
        stream->WriteAmountTT(amount);
    stream->WriteCString(mComment);
    stream->WriteEnumT(mBlocked ? 1 : 0);
    stream->WriteObjectIdT(mBaseBudgetId);
    for (CBudgetDetail* detail : ObjectsOf<CBudgetDetail>(*mExpenseTypeDetails)) detail->PutStream(stream);
    for (CBudgetDetail* detail : ObjectsOf<CBudgetDetail>(*mAccountDetails)) detail->PutStream(stream);
}

bool CBudgetHeader::Export(LStream* stream, char) const
{
    CNonVisual::Export(stream, 'A');
    return false;
}

} // namespace ch

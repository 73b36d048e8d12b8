#include "model/budget/CBudgetDetail.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/ModelComparators.h"
#include "model/budget/BudgetLookups.h"
#include "model/budget/CBudgetHeader.h"
#include "model/budget/CBudgetMonth.h"
#include "model/budget/CBudgetXRef.h"
#include "model/foundation/AmountRounding.h"
#include "model/foundation/CErrorManager.h"
#include "model/foundation/LStream.h"
#include "platform/core/user_defaults.h"

namespace ch {

namespace {

// Silences a header while a change is spread over several cross-references;
// the previous state comes back afterwards.
class BroadcastPause {
public:
    explicit BroadcastPause(LBroadcaster* broadcaster)
        : mBroadcaster(broadcaster), mWasBroadcasting(broadcaster && broadcaster->IsBroadcasting())
    {
        if (mBroadcaster) mBroadcaster->StopBroadcasting();
    }
    ~BroadcastPause()
    {
        if (mBroadcaster && mWasBroadcasting) mBroadcaster->StartBroadcasting();
    }
    BroadcastPause(const BroadcastPause&) = delete;
    BroadcastPause& operator=(const BroadcastPause&) = delete;

private:
    LBroadcaster* mBroadcaster;
    bool mWasBroadcasting;
};

// Booking amounts are matched in whole cents (the value times 100, truncated).
std::int64_t Cents(double amount)
{
    return static_cast<std::int64_t>(amount * 100.0);
}

// The xref at a position of a period list.
CBudgetXRef* XRefAt(const CNamedListArray& list, ArrayIndexT index)
{
    return static_cast<CBudgetXRef*>(list.ObjectAt(index));
}

std::vector<CBudgetXRef*> XRefsOf(const CNamedListArray& list)
{
    std::vector<CBudgetXRef*> xrefs;
    xrefs.reserve(list.GetCount());
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list.GetCount()); ++i)
        xrefs.push_back(XRefAt(list, i));
    return xrefs;
}

// A spreadable share limited to what the record holds and to what is left.
double CappedShare(double share, double recordAmount, double left)
{
    if (std::fabs(share) > std::fabs(recordAmount)) share = recordAmount;
    if (share > 0.0 && left >= 0.0 && share > left) share = left;
    return share;
}

} // namespace

// --- construction

CBudgetDetail::CBudgetDetail(CDocAccounting* document)
    : CNonVisual(-1, document)
{
    SetDefaults(true);
    Put_Document(document);
}

CBudgetDetail::CBudgetDetail(CNonVisual* object, DateT, CBudgetHeader* header,
                             CDocAccounting* document, bool)
    : CNonVisual(object ? object->Get_Id() : -1, document)
{
    // A detail always has its twelve periods.
    SetDefaults(true);
    Put_Document(document);
    ForObject(object, header);
}

CBudgetDetail::CBudgetDetail(CNonVisual* object, char, DateT, CBudgetHeader* header,
                             CDocAccounting* document, unsigned char, unsigned char)
    : CNonVisual(object ? object->Get_Id() : -1, document)
{
    SetDefaults(true);
    Put_Document(document);
    ForObject(object, header);
}

CBudgetDetail::CBudgetDetail(ObjectIdT id, CDebit* line, char direction, DateT date,
                             CBudgetHeader* header, CDocAccounting* document,
                             unsigned char actuals, unsigned char oneOff)
    : CNonVisual(line && line->Get_mAccountPtr() ? line->Get_mAccountPtr()->Get_Id() : id, document)
{
    SetDefaults(true);
    Put_Document(document);
    CNonVisual* object = line ? line->Get_mAccountPtr() : nullptr;
    ForObject(object, header);
    if (line) AddAmount(date, line->Get_mLocalAmount(), direction, actuals, oneOff);
}

CBudgetDetail::CBudgetDetail(const CBudgetDetail& source, CDocAccounting* document)
    : CNonVisual(-1, document)
{
    SetDefaults(true);
    CopyFromObject(&source);
    SetObjectType(type::kBudgetDetail);
    Put_Document(document);
}

CBudgetDetail::CBudgetDetail(LStream* stream, CDocAccounting* document, FourCharCode version)
    : CNonVisual(stream, version, document)
{
    SetDefaults(false);
    Put_Document(document);
    stream->ReadObjectIdT(mHeaderId);
    FourCharCode budgetted = 0;
    stream->ReadBigOsType(budgetted);
    // Older files name the budgeted kind by a line's code; a detail knows two kinds.
    if (budgetted == type::kAccount || budgetted == type::kDebit || budgetted == type::kCredit)
        mBudgettedType = kAccountDetail;
    else if (budgetted == type::kExpenseTypeDetail || budgetted == type::kExpenseType)
        mBudgettedType = kCategoryDetail;
    else
        mBudgettedType = budgetted;
    stream->ReadObjectIdT(mBudgettedId);
    stream->ReadCString(mComment);
    EnumT blocked = 0;
    stream->ReadEnumT(blocked);
    mBlocked = blocked != 0;
    for (auto& month : mMonths) month = std::make_unique<CBudgetMonth>(stream, document, version);

    // A category detail carries its cross-references. They are kept in the
    // order written; one that names another detail or no period of the
    // budget is damaged: it is not kept, and counted for the reader to tell.
    if (!IsCategoryDetail()) return;
    std::vector<std::unique_ptr<CBudgetXRef>> read;
    FourCharCode tag = 0;
    while (stream->PeekBigOsType(tag) == 4 && tag == type::kBudgetXRef)
        read.push_back(std::make_unique<CBudgetXRef>(stream, document, version));
    for (auto& xref : read) {
        if (!IsBudgetPeriod(xref->Get_mPeriod()) || !xref->PutExpenseTypeDetailPointer(this)) {
            ++mXRefsNotKept;
            continue;
        }
        mXRefs[xref->Get_mPeriod()]->AppendObject(xref.release());
    }
}

CBudgetDetail::~CBudgetDetail() = default;

void CBudgetDetail::SetDefaults(bool withMonths)
{
    SetObjectType(type::kBudgetDetail);
    mComment[0] = '\0';
    mBlocked = false;
    if (withMonths) {
        for (auto& month : mMonths) {
            month = std::make_unique<CBudgetMonth>(mDocument);
            month->InitializeNumbers(0);
        }
    }
    for (auto& list : mXRefs)
        list = std::make_unique<CNamedListArray>(new LNamedlistArrayComparator, false);
}

void CBudgetDetail::ForObject(CNonVisual* object, CBudgetHeader* header)
{
    if (object) {
        mBudgettedId = object->Get_Id();
        mBudgettedType =
            object->Get_ObjectType() == type::kExpenseType ? kCategoryDetail : object->Get_ObjectType();
    }
    Put_Header(header);
}

// --- what it budgets

CNonVisual* CBudgetDetail::GetObject() const
{
    if (!mDocument) return nullptr;
    switch (mBudgettedType) {
    case type::kAccount:
        return BudgetAccount(mDocument, mBudgettedId);
    case type::kExpenseType:
    case type::kExpenseTypeDetail:
        return BudgetCategory(mDocument, mBudgettedId);
    case type::kAccountType:
        return mDocument->mAccountTypeList->GetValueForId(mBudgettedId);
    case type::kMasterExpenseType:
        return mDocument->mMasterExpenseTypeList->GetValueForId(mBudgettedId);
    default:
        return nullptr;
    }
}

CAccount* CBudgetDetail::Account() const
{
    return IsAccountDetail() ? BudgetAccount(mDocument, mBudgettedId) : nullptr;
}

CExpenseType* CBudgetDetail::Category() const
{
    return IsCategoryDetail() ? BudgetCategory(mDocument, mBudgettedId) : nullptr;
}

bool CBudgetDetail::isTransferReasonBudget() const
{
    CExpenseType* category = Category();
    return category && category->IsTransfer();
}

double CBudgetDetail::MovementSign() const
{
    CExpenseType* category = Category();
    return category && category->IsExpense(false) ? -1.0 : 1.0;
}

// --- the header

CBudgetHeader* CBudgetDetail::GetHeader() const
{
    return mHeader ? mHeader : BudgetForId(mDocument, mHeaderId);
}

void CBudgetDetail::Put_Header(CBudgetHeader* header)
{
    mHeader = header;
    if (header) mHeaderId = header->Get_Id();
}

long CBudgetDetail::getIndexForDate(long date) const
{
    CBudgetHeader* header = GetHeader();
    return header ? header->getIndexForDate(date) : -1;
}

DateT CBudgetDetail::getDateForIndex(long period) const
{
    CBudgetHeader* header = GetHeader();
    return header ? header->getDateForIndex(period) : 0;
}

// --- figures

double CBudgetDetail::GetBudgettedNumber(BudgetItemTypeT figure, long period) const
{
    using namespace budget_item;
    if (!IsBudgetPeriod(period)) return -1.0;
    const CBudgetMonth& month = *mMonths[period];
    if (figure >= kBudgetStart && figure <= kActualEnd) return month.Get_Figure(figure);
    if (figure == kMovementDifference)
        return (month.Get_ActualIn() + month.Get_XtraActualIn() - month.Get_ActualOut() -
                month.Get_XtraActualOut()) -
               (month.Get_BudgetIn() + month.Get_BudgetExtraIn() - month.Get_BudgetOut() -
                month.Get_BudgetExtraOut());
    if (figure == kEndDifference) return month.Get_BudgetEnd() - month.Get_ActualEnd();
    return -1.0;
}

CBudgetMonth* CBudgetDetail::GetMonth(long period) const
{
    return IsBudgetPeriod(period) ? mMonths[period].get() : nullptr;
}

void CBudgetDetail::InitializeNumbers(unsigned char actualsOnly)
{
    for (auto& month : mMonths) month->InitializeNumbers(actualsOnly);
}

bool CBudgetDetail::AddAmount(DateT date, double amount, char direction, unsigned char actuals,
                              unsigned char oneOff)
{
    using namespace budget_item;
    const long period = getIndexForDate(date);
    if (!IsBudgetPeriod(period)) return false;
    CBudgetMonth& month = *mMonths[period];
    CNonVisual* object = GetObject();
    if (!object) return true;

    BudgetItemTypeT figure = -1;
    if (object->Get_ObjectType() == type::kExpenseType) {
        auto* category = static_cast<CExpenseType*>(object);
        // A transfer category books nothing.
        if (category->IsIncome(true) || category->IsExpense(true))
            figure = !actuals ? kBudgetIn : oneOff ? kXtraActualIn : kActualIn;
    } else if (object->Get_ObjectType() == type::kAccount) {
        if (direction == 'F')
            figure = !actuals ? kBudgetOut : oneOff ? kXtraActualOut : kActualOut;
        else if (direction == 'T')
            figure = !actuals ? kBudgetIn : oneOff ? kXtraActualIn : kActualIn;
    }
    if (figure >= 0) month.Put_Figure(figure, month.Get_Figure(figure) + amount);
    return true;
}

bool CBudgetDetail::Finalize()
{
    CNonVisual* object = GetObject();
    const bool debt = object && object->Get_ObjectType() == type::kAccount &&
                      static_cast<CAccount*>(object)->thisIsADebtAccount();
    for (long p = 0; p < kBudgetPeriods; ++p) {
        CBudgetMonth& month = *mMonths[p];
        if (p > 0) {
            month.Put_BudgetStart(mMonths[p - 1]->Get_BudgetEnd());
            month.Put_ActualStart(mMonths[p - 1]->Get_ActualEnd());
        }
        if (!object) {
            month.Put_BudgetEnd(0.0);
            month.Put_ActualEnd(0.0);
        } else if (debt) {
            // A debt grows when money leaves through it and shrinks when money comes in.
            month.Put_BudgetEnd(month.Get_BudgetStart() - month.Get_BudgetIn() -
                                month.Get_BudgetExtraIn() + month.Get_BudgetOut() +
                                month.Get_BudgetExtraOut());
            month.Put_ActualEnd(month.Get_ActualStart() - month.Get_ActualIn() -
                                month.Get_XtraActualIn() + month.Get_ActualOut() +
                                month.Get_XtraActualOut());
        } else {
            month.Put_BudgetEnd(month.Get_BudgetStart() + month.Get_BudgetIn() +
                                month.Get_BudgetExtraIn() - month.Get_BudgetOut() -
                                month.Get_BudgetExtraOut());
            month.Put_ActualEnd(month.Get_ActualStart() + month.Get_ActualIn() +
                                month.Get_XtraActualIn() - month.Get_ActualOut() -
                                month.Get_XtraActualOut());
        }
    }
    return true;
}

// --- state

bool CBudgetDetail::Get_mBlocked() const
{
    if (mBlocked) return true;
    CBudgetHeader* header = GetHeader();
    return header && header->Get_mBlocked();
}

bool CBudgetDetail::Get_mBlocked(long period) const
{
    if (!IsBudgetPeriod(period)) return true;
    return mMonths[period]->Get_mBlocked() || Get_mBlocked();
}

bool CBudgetDetail::Put_mBlocked(unsigned char blocked)
{
    mBlocked = blocked != 0;
    return true;
}

void CBudgetDetail::Get_mComment(char (&out)[kDescriptionSize]) const
{
    std::memcpy(out, mComment, sizeof mComment);
}

bool CBudgetDetail::Put_mComment(const char* comment)
{
    if (!comment) return false;
    CopyToField(mComment, comment);
    return true;
}

// --- cross-references

CNamedListArray* CBudgetDetail::GetXRefsForZeroBasedPeriod(int period) const
{
    return IsBudgetPeriod(period) ? mXRefs[period].get() : nullptr;
}

CNamedListArray* CBudgetDetail::GetXRefs(DateT date) const
{
    return GetXRefsForZeroBasedPeriod(static_cast<int>(getIndexForDate(date)));
}

bool CBudgetDetail::AddXRef(CBudgetXRef* xref, long period)
{
    if (!xref || !IsBudgetPeriod(period)) return false;
    return mXRefs[period]->InsertObjectAt(xref, 1) > 0;
}

bool CBudgetDetail::RemoveXRefLink(CBudgetXRef* xref)
{
    if (!xref || !IsBudgetPeriod(xref->Get_mPeriod())) return false;
    return mXRefs[xref->Get_mPeriod()]->RemoveObject(xref);
}

bool CBudgetDetail::LinkAccountXRef(CBudgetXRef* xref)
{
    if (!xref || !IsBudgetPeriod(xref->Get_mPeriod())) return false;
    if (!xref->PutAccountDetailPointer(this)) return false;
    return AddXRef(xref, xref->Get_mPeriod());
}

void CBudgetDetail::LinkAccountDetailsToXRefs(CNamedListArray* accountDetails)
{
    if (!accountDetails) return;
    for (auto& list : mXRefs) {
        for (CBudgetXRef* xref : XRefsOf(*list)) {
            if (xref->Get_AccountDetailPointer()) continue;
            auto* detail = static_cast<CBudgetDetail*>(accountDetails->GetValueForId(xref->Get_AccountDetailId()));
            if (detail && detail->IsAccountDetail()) detail->LinkAccountXRef(xref);
        }
    }
}

void CBudgetDetail::ClearXRefActuals()
{
    for (auto& list : mXRefs) {
        for (CBudgetXRef* xref : XRefsOf(*list)) xref->ClearActuals();
    }
}

bool CBudgetDetail::SynchroXRef(CBudgetXRef* xref, bool, BudgetItemTypeT figure)
{
    if (!xref || !IsBudgetPeriod(xref->Get_mPeriod())) return false;
    const long period = xref->Get_mPeriod();
    double sumFrom = 0.0, sumTo = 0.0, sumXtraFrom = 0.0, sumXtraTo = 0.0;
    const CNamedListArray& list = *mXRefs[period];
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list.GetCount()); ++i) {
        const CBudgetXRef* each = XRefAt(list, i);
        sumFrom += each->Get_mBudgetFrom();
        sumTo += each->Get_mBudgetTo();
        sumXtraFrom += each->Get_mXtraBudgetFrom();
        sumXtraTo += each->Get_mXtraBudgetTo();
    }

    CBudgetMonth& month = *mMonths[period];
    if (IsCategoryDetail()) {
        const double sign = MovementSign();
        month.Put_BudgetOut(0.0);
        month.Put_BudgetExtraOut(0.0);
        if (isTransferReasonBudget()) {
            month.Put_BudgetIn(sumTo * sign);
            month.Put_BudgetExtraIn(sumXtraTo * sign);
        } else {
            month.Put_BudgetIn((sumTo - sumFrom) * sign);
            month.Put_BudgetExtraIn((sumXtraTo - sumXtraFrom) * sign);
        }
    } else if (IsAccountDetail()) {
        month.Put_BudgetIn(sumTo);
        month.Put_BudgetExtraIn(sumXtraTo);
        month.Put_BudgetOut(sumFrom);
        month.Put_BudgetExtraOut(sumXtraFrom);
    }
    Finalize();
    Announce(figure, period);
    return true;
}

void CBudgetDetail::Announce(BudgetItemTypeT figure, long period) const
{
    CBudgetHeader* header = GetHeader();
    if (!header) return;
    BudgetChangeRecord record{static_cast<std::uint8_t>(figure), static_cast<std::int32_t>(period)};
    header->BroadcastMessage(msg::kItemInserted, &record);
}

long CBudgetDetail::GetXRefAmounts(bool includeTransfers, long period, double& spreadTo,
                                   double& fixedTo, double& spreadFrom, double& fixedFrom,
                                   unsigned char extra) const
{
    spreadTo = fixedTo = spreadFrom = fixedFrom = 0.0;
    if (!IsBudgetPeriod(period)) return 0;
    long spreadable = 0;
    const CNamedListArray& list = *mXRefs[period];
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list.GetCount()); ++i) {
        const CBudgetXRef* xref = XRefAt(list, i);
        const double to = extra ? xref->Get_mXtraBudgetTo() : xref->Get_mBudgetTo();
        const double from = extra ? xref->Get_mXtraBudgetFrom() : xref->Get_mBudgetFrom();
        if (xref->Get_mBlocked() || (!includeTransfers && xref->isTransferBudget())) {
            fixedTo += to;
            fixedFrom += from;
        } else {
            spreadTo += to;
            spreadFrom += from;
            ++spreadable;
        }
    }
    return spreadable;
}

bool CBudgetDetail::Put_BudgetIn(long period, double value)
{
    return SpreadAccountFigure(period, value, budget_item::kBudgetIn);
}

bool CBudgetDetail::Put_BudgetExtraIn(long period, double value)
{
    return SpreadAccountFigure(period, value, budget_item::kBudgetExtraIn);
}

bool CBudgetDetail::Put_BudgetOut(long period, double value)
{
    return SpreadAccountFigure(period, value, budget_item::kBudgetOut);
}

bool CBudgetDetail::Put_BudgetExtraOut(long period, double value)
{
    return SpreadAccountFigure(period, value, budget_item::kBudgetExtraOut);
}

bool CBudgetDetail::SpreadAccountFigure(long period, double value, BudgetItemTypeT figure)
{
    using namespace budget_item;
    if (!IsBudgetPeriod(period)) return false;
    const bool extra = figure == kBudgetExtraIn || figure == kBudgetExtraOut;
    const bool toSide = figure == kBudgetIn || figure == kBudgetExtraIn;
    double spreadTo = 0, fixedTo = 0, spreadFrom = 0, fixedFrom = 0;
    const long spreadable = GetXRefAmounts(false, period, spreadTo, fixedTo, spreadFrom, fixedFrom, extra);
    if (spreadable == 0) {
        CErrorManager::RaiseError(189);
        return false;
    }
    mMonths[period]->Put_Figure(figure, value);
    Finalize();

    {
        BroadcastPause pause(GetHeader());
        const double spread = toSide ? spreadTo : spreadFrom;
        const double part = value - (toSide ? fixedTo : fixedFrom);
        for (CBudgetXRef* xref : XRefsOf(*mXRefs[period])) {
            if (xref->Get_mBlocked() || xref->isTransferBudget()) continue;
            double current = 0.0;
            switch (figure) {
            case kBudgetIn: current = xref->Get_mBudgetTo(); break;
            case kBudgetExtraIn: current = xref->Get_mXtraBudgetTo(); break;
            case kBudgetOut: current = xref->Get_mBudgetFrom(); break;
            default: current = xref->Get_mXtraBudgetFrom(); break;
            }
            const double share = spread != 0.0 ? current * part / spread : part / spreadable;
            // This detail already holds the new figure: only the partner recomputes.
            switch (figure) {
            case kBudgetIn: xref->Put_mBudgetTo(share, this); break;
            case kBudgetExtraIn: xref->Put_mBudgetXtraTo(share, this); break;
            case kBudgetOut: xref->Put_mBudgetFrom(share, this); break;
            default: xref->Put_mBudgetXtraFrom(share, this); break;
            }
        }
    }
    Announce(kBudgetIn, period);
    return true;
}

bool CBudgetDetail::Put_BudgetMove(long period, double value)
{
    return SpreadMovement(period, value, false);
}

bool CBudgetDetail::Put_BudgetExtraMove(long period, double value)
{
    return SpreadMovement(period, value, true);
}

bool CBudgetDetail::SpreadMovement(long period, double value, bool extra)
{
    if (!Category() || !IsBudgetPeriod(period)) return false;
    double spreadTo = 0, fixedTo = 0, spreadFrom = 0, fixedFrom = 0;
    const long spreadable = GetXRefAmounts(false, period, spreadTo, fixedTo, spreadFrom, fixedFrom, extra);
    if (spreadable == 0) {
        CErrorManager::RaiseError(189);
        return false;
    }
    const double sign = MovementSign();
    mMonths[period]->Put_Figure(extra ? budget_item::kBudgetExtraIn : budget_item::kBudgetIn,
                                sign * value);
    Finalize();

    {
        BroadcastPause pause(GetHeader());
        const double net = spreadTo - spreadFrom;
        // Blocked cross-references keep their amounts: the others carry the
        // rest, so that the period's figure stays the sum of all of them.
        const double part = value - (fixedTo - fixedFrom);
        for (CBudgetXRef* xref : XRefsOf(*mXRefs[period])) {
            if (xref->Get_mBlocked() || xref->isTransferBudget()) continue;
            const double to = extra ? xref->Get_mXtraBudgetTo() : xref->Get_mBudgetTo();
            const double from = extra ? xref->Get_mXtraBudgetFrom() : xref->Get_mBudgetFrom();
            if (net != 0.0) {
                if (spreadTo != 0.0) {
                    if (extra) xref->Put_mBudgetXtraTo(to * part / net, this);
                    else xref->Put_mBudgetTo(to * part / net, this);
                }
                if (spreadFrom != 0.0) {
                    if (extra) xref->Put_mBudgetXtraFrom(from * part / net, this);
                    else xref->Put_mBudgetFrom(from * part / net, this);
                }
            } else {
                // Nothing to go by: an equal share each, as money in.
                if (extra) {
                    xref->Put_mBudgetXtraTo(part / spreadable, nullptr);
                    xref->Put_mBudgetXtraFrom(0.0, nullptr);
                } else {
                    xref->Put_mBudgetTo(part / spreadable, nullptr);
                    xref->Put_mBudgetFrom(0.0, nullptr);
                }
            }
        }
    }
    Announce(budget_item::kBudgetIn, period);
    return true;
}

long CBudgetDetail::modify(double in, double extraIn, double out, double extraOut,
                           const char* comment, int period, bool blocked)
{
    if (!IsBudgetPeriod(period)) return 0;
    CBudgetMonth& month = *mMonths[period];
    month.Put_mBlocked(blocked);
    month.Put_mComment(comment);

    // The sheet shows each figure rounded to the decimals of the display
    // (half a cent up): one given back as shown is no change, and spreading
    // it again would move the cross-references' shares.
    const int decimals =
        static_cast<int>(std::clamp<std::int64_t>(UserDefaults::standard().integerForKey(kNumberOfDecimalsKey), 0, 4));
    auto shown = [decimals](double held) { return roundedAmount(held, decimals); };
    auto changed = [&](double given, double held) { return !sameAmount(given, shown(held), decimals); };
    if (IsAccountDetail()) {
        if (changed(in, month.Get_BudgetIn())) Put_BudgetIn(period, in);
        if (changed(extraIn, month.Get_BudgetExtraIn())) Put_BudgetExtraIn(period, extraIn);
        if (changed(out, month.Get_BudgetOut())) Put_BudgetOut(period, out);
        if (changed(extraOut, month.Get_BudgetExtraOut())) Put_BudgetExtraOut(period, extraOut);
        return 1;
    }
    if (IsCategoryDetail()) {
        // The period shows in - out; an expense category's cross-references
        // carry the movement negated.
        const double sign = MovementSign();
        if (!sameAmount(in - out, shown(month.Get_BudgetIn()) - shown(month.Get_BudgetOut()), decimals))
            Put_BudgetMove(period, (in - out) * sign);
        if (!sameAmount(extraIn - extraOut, shown(month.Get_BudgetExtraIn()) - shown(month.Get_BudgetExtraOut()),
                        decimals))
            Put_BudgetExtraMove(period, (extraIn - extraOut) * sign);
        return 1;
    }
    return -1;
}

CBudgetXRef* CBudgetDetail::SearchOrCreateXRef(CAccount* account, CExpenseType* category,
                                               DateT date, unsigned char)
{
    if (!account || !category) return nullptr;
    const long period = getIndexForDate(date);
    if (!IsBudgetPeriod(period)) return nullptr;
    const CNamedListArray& list = *mXRefs[period];
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(list.GetCount()); ++i) {
        CBudgetXRef* xref = XRefAt(list, i);
        if (xref->Get_mAccountId() == account->Get_Id() &&
            xref->Get_mExpenseTypeId() == category->Get_Id())
            return xref;
    }

    // A new cross-reference needs both details; the missing one is made.
    CBudgetHeader* header = GetHeader();
    if (!header) return nullptr;
    const bool isAccountSide = IsAccountDetail() && mBudgettedId == account->Get_Id();
    const bool isCategorySide = IsCategoryDetail() && mBudgettedId == category->Get_Id();
    if (!isAccountSide && !isCategorySide) return nullptr;
    CBudgetDetail* accountDetail = isAccountSide ? this : header->Get_BudgetDetail(account, true);
    CBudgetDetail* categoryDetail = isCategorySide ? this : header->Get_BudgetDetail(category, true);
    if (!accountDetail || !categoryDetail) return nullptr;

    auto* xref = new CBudgetXRef(mDocument, account, category, accountDetail, categoryDetail, period);
    accountDetail->AddXRef(xref, period);
    categoryDetail->AddXRef(xref, period);
    return xref;
}

CBudgetXRef* CBudgetDetail::AddOrReplaceXRef(CBudgetDetail* other, DateT date, double from,
                                             double xtraFrom, double to, double xtraTo,
                                             unsigned char store)
{
    if (!other) {
        CErrorManager::RaiseError(194);
        return nullptr;
    }
    if (Get_mBlocked() || other->Get_mBlocked()) {
        CErrorManager::RaiseError(192);
        return nullptr;
    }
    CAccount* account = nullptr;
    CExpenseType* category = nullptr;
    if (other->IsCategoryDetail() && IsAccountDetail()) {
        account = Account();
        category = other->Category();
    } else if (other->IsAccountDetail() && IsCategoryDetail()) {
        account = other->Account();
        category = Category();
    }
    if (!account || !category) {
        CErrorManager::RaiseError(194);
        return nullptr;
    }

    CBudgetXRef* xref = SearchOrCreateXRef(account, category, date);
    if (!xref || !store) return xref;
    if (from != kKeepBudgetAmount) xref->Put_mBudgetFrom(from, nullptr);
    if (xtraFrom != kKeepBudgetAmount) xref->Put_mBudgetXtraFrom(xtraFrom, nullptr);
    if (to != kKeepBudgetAmount) xref->Put_mBudgetTo(to, nullptr);
    if (xtraTo != kKeepBudgetAmount) xref->Put_mBudgetXtraTo(xtraTo, nullptr);
    return xref;
}

bool CBudgetDetail::AllocateUnallocated(double amount, CTransaction*, DateT date,
                                        unsigned char actuals, UnallocatedBudgets& records,
                                        unsigned char oneOff)
{
    CExpenseType* category = Category();
    if (!category) return false;
    bool expense = category->IsExpense(false) != 0;
    bool income = category->IsIncome(false);
    const bool transfer = category->IsTransfer();
    double rest = amount;
    if (amount < 0.0) {
        // A refund runs the other way.
        rest = -amount;
        if (income || expense) {
            income = !income;
            expense = !expense;
        }
    }

    double totalFrom = 0.0, totalTo = 0.0;
    for (const CUnallocatedBudget& record : records) {
        totalFrom += record.mFromAmount;
        totalTo += record.mToAmount;
    }
    if (totalFrom == 0.0 && totalTo == 0.0) return true;

    auto book = [&](CUnallocatedBudget& record, double from, double to) {
        if (from == 0.0 && to == 0.0) return;
        if (CBudgetXRef* xref = SearchOrCreateXRef(record.mAccount, category, date))
            xref->AddAmounts(from, to, actuals, oneOff);
        record.mFromAmount -= from;
        record.mToAmount -= to;
    };

    // A line whose amount one account carried exactly is tied to that account.
    bool fromTaken = false, toTaken = false;
    for (CUnallocatedBudget& record : records) {
        if (rest == 0.0) break;
        double from = 0.0, to = 0.0;
        if (Cents(record.mFromAmount) == Cents(rest)) {
            if (expense) {
                from = record.mFromAmount;
                rest = 0.0;
            } else if (transfer && !fromTaken) {
                from = record.mFromAmount;
                fromTaken = true;
            }
        } else if (Cents(record.mToAmount) == Cents(rest)) {
            if (income) {
                to = record.mToAmount;
                rest = 0.0;
            } else if (transfer && !toTaken) {
                to = record.mToAmount;
                toTaken = true;
            }
        }
        book(record, from, to);
    }

    // Otherwise every account carries its share of the rest as it stood when
    // this pass began, never more than it holds nor than is left.
    const double restAtStart = rest;
    for (CUnallocatedBudget& record : records) {
        double from = 0.0, to = 0.0;
        if (restAtStart != 0.0 && totalFrom != 0.0 && record.mFromAmount != 0.0)
            from = CappedShare(restAtStart / totalFrom * record.mFromAmount, record.mFromAmount, rest);
        rest -= from;
        if (restAtStart != 0.0 && totalTo != 0.0 && record.mToAmount != 0.0)
            to = CappedShare(restAtStart / totalTo * record.mToAmount, record.mToAmount, rest);
        rest -= to;
        book(record, from, to);
    }
    return true;
}

bool CBudgetDetail::AllocateUnspecifiedTransfers(CTransaction*, DateT date, unsigned char actuals,
                                                 UnallocatedBudgets& records, unsigned char oneOff)
{
    CExpenseType* category = Category();
    if (!category) return false;
    for (CUnallocatedBudget& record : records) {
        if (IsNegligibleAmount(record.mFromAmount) && IsNegligibleAmount(record.mToAmount)) continue;
        if (CBudgetXRef* xref = SearchOrCreateXRef(record.mAccount, category, date))
            xref->AddAmounts(record.mFromAmount, record.mToAmount, actuals, oneOff);
        record.mFromAmount = 0.0;
        record.mToAmount = 0.0;
    }
    return true;
}

// --- deletion

bool CBudgetDetail::DeleteXRef(CBudgetXRef* xref)
{
    if (!xref || !IsBudgetPeriod(xref->Get_mPeriod())) return false;
    if (mXRefs[xref->Get_mPeriod()]->FetchIndexOfObject(xref) == 0) return false;
    if (!xref->CanBeDeleted()) return false;

    // Zeroed through the setters so that both details recompute.
    xref->Put_mBudgetFrom(0.0, nullptr);
    xref->Put_mBudgetTo(0.0, nullptr);
    xref->Put_mBudgetXtraFrom(0.0, nullptr);
    xref->Put_mBudgetXtraTo(0.0, nullptr);
    if (CBudgetDetail* accountDetail = xref->Get_AccountDetailPointer()) accountDetail->RemoveXRefLink(xref);
    if (CBudgetDetail* categoryDetail = xref->Get_ExpenseTypeDetailPointer())
        categoryDetail->RemoveXRefLink(xref);
    RemoveXRefLink(xref);
    // It is out of every list now: it must go whatever it answers.
    if (!xref->DeleteSelf()) delete xref;
    return true;
}

bool CBudgetDetail::CanBeDeleted() const
{
    if (Get_mBlocked()) return false;
    for (const auto& list : mXRefs) {
        for (CBudgetXRef* xref : XRefsOf(*list)) {
            if (xref->Get_mBlocked()) return false;
        }
    }
    return true;
}

bool CBudgetDetail::DeleteDetail(bool check)
{
    if (check && !CanBeDeleted()) return false;
    for (auto& list : mXRefs) {
        const std::vector<CBudgetXRef*> xrefs = XRefsOf(*list);
        list->RemoveItemsAt(list->GetCount(), 1);
        for (CBudgetXRef* xref : xrefs) {
            CBudgetDetail* accountDetail = xref->Get_AccountDetailPointer();
            CBudgetDetail* categoryDetail = xref->Get_ExpenseTypeDetailPointer();
            if (accountDetail && accountDetail != this) accountDetail->RemoveXRefLink(xref);
            if (categoryDetail && categoryDetail != this) categoryDetail->RemoveXRefLink(xref);
            delete xref;
        }
    }
    return true;
}

// --- persistence

void CBudgetDetail::PutStream(LStream* stream)
{
    CNonVisual::PutStream(stream);
    stream->WriteObjectIdT(mHeaderId);
    stream->WriteBigOsType(mBudgettedType);
    stream->WriteObjectIdT(mBudgettedId);
    stream->WriteCString(mComment);
    stream->WriteEnumT(mBlocked ? 1 : 0);
    for (auto& month : mMonths) month->PutStream(stream);
    // The category detail writes the cross-references it shares with the accounts.
    if (!IsCategoryDetail()) return;
    for (auto& list : mXRefs) {
        for (CBudgetXRef* xref : XRefsOf(*list)) xref->PutStream(stream);
    }
}

bool CBudgetDetail::Export(LStream* stream, char) const
{
    CNonVisual::Export(stream, 'A');
    return false;
}

} // namespace ch

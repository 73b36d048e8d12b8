#include "model/CAnalysisArray.h"

#include <cstring>

#include "model/CAccount.h"
#include "model/CDebit.h"
#include "model/CExpenseType.h"
#include "model/foundation/CDate.h"

namespace ch {

CAnalysisArray::CAnalysisArray() = default;

CAnalysisArray::CAnalysisArray(LComparator* comparator, bool keepSorted)
    : CNamedListArray(comparator, keepSorted)
{
}

long CAnalysisArray::InitFromObject(CNonVisual* object, bool recursive)
{
    if (GetCount() > 0) RemoveItemsAt(GetCount(), 1);
    mOwners = 0;
    mRunningBalances.clear();
    return AddObject(object, recursive);
}

long CAnalysisArray::AddObject(CNonVisual* object, bool recursive)
{
    if (!object) return 0;
    auto addChildren = [this](const CNamedListArray* children, bool childRecursive) {
        if (!children) return;
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(children->GetCount()); ++i)
            AddObject(children->ObjectAt(i), childRecursive);
    };
    FourCharCode kind = object->Get_ObjectType();
    if (kind == type::kAccount || kind == type::kExpenseType) ++mOwners;
    if (kind == type::kAccount) {
        auto* account = static_cast<CAccount*>(object);
        AddArray(account->Get_mCreditList(), false);
        AddArray(account->Get_mDebitlist(), false);
    } else if (kind == type::kExpenseType) {
        AddArray(static_cast<CExpenseType*>(object)->Get_Bookings(), false);
    } else if (kind == type::kAccountType) {
        addChildren(object->Get_Details(), false);
        if (recursive) addChildren(object->Get_DetailFolders(), recursive);
    } else if (kind == type::kMasterExpenseType) {
        // A group always brings its whole subtree.
        addChildren(object->Get_Details(), false);
        addChildren(object->Get_DetailFolders(), recursive);
    }
    return 0;
}

long CAnalysisArray::AddArray(CNamedListArray* lines, bool)
{
    if (!lines || lines->GetCount() == 0) return 0;
    bool wasBroadcasting = IsBroadcasting();
    StopBroadcasting();
    // A keep-sorted list takes the lines in one go and sorts once: the same
    // order as one sorted insertion each, without moving the list per line.
    bool keepSorted = IsKeepSorted();
    if (keepSorted) SetKeepSorted(false);
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(lines->GetCount()); ++i) {
        CNonVisual* line = lines->ObjectAt(i);
        InsertItemsAt(1, kLastIndex, &line, sizeof line);
    }
    if (keepSorted) SetKeepSorted(true);
    if (wasBroadcasting) StartBroadcasting();
    return 0;
}

void CAnalysisArray::Finalize()
{
    SetNotSorted();
    Sort();
    FinalizeInOrder();
}

void CAnalysisArray::FinalizeInOrder()
{
    SetSortedFlag(true);
    mRunningBalances.clear();
    mRunningBalances.reserve(GetCount());
    // The lines of one account or category: their own object's list.
    const bool ownList = mOwners == 1;
    double balance = 0.0;
    // Oldest first: with the default order that is from the last line up.
    for (ArrayIndexT i = static_cast<ArrayIndexT>(GetCount()); i >= 1; --i) {
        CDebit* line = LineAt(this, i);
        balance += BalanceChangeOf(*line);
        mRunningBalances[line] = balance;
        if (ownList) line->Put_LocalBalance(balance);
    }
}

std::optional<double> CAnalysisArray::RunningBalanceOf(const CNonVisual* line) const
{
    const auto found = mRunningBalances.find(line);
    if (found == mRunningBalances.end()) return std::nullopt;
    return found->second;
}

double CAnalysisArray::BalanceChangeOf(const CDebit& line)
{
    CNonVisual* object = line.Get_mAccountPtr();
    const FourCharCode lineType = line.Get_ObjectType();
    if (object && object->Get_ObjectType() == type::kAccount) {
        const double sign = static_cast<CAccount*>(object)->thisIsAPropretyAccount() ? 1.0 : -1.0;
        if (lineType == type::kDebit) return -sign * line.Get_mLocalAmount();
        if (lineType == type::kCredit) return sign * line.Get_mLocalAmount();
        return 0.0;
    }
    if (object && object->Get_ObjectType() == type::kExpenseType) return line.Get_mLocalAmount();
    return 0.0;
}

DateT CAnalysisArray::getEarliestDate() const
{
    DateT earliest = kNeverDate;
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(GetCount()); ++i) {
        DateT date = LineAt(this, i)->Get_mDate();
        if (date < earliest) earliest = date;
    }
    return earliest == kNeverDate ? 0 : earliest;
}

std::uint32_t CAnalysisArray::getEarliestAndLastDate(DateT& earliest, DateT& last) const
{
    earliest = kNeverDate;
    last = 0;
    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(GetCount()); ++i) {
        DateT date = LineAt(this, i)->Get_mDate();
        if (date < earliest) earliest = date;
        if (date > last) last = date;
    }
    if (earliest == kNeverDate) earliest = 0;
    if (last == kNeverDate) last = CDate::GetNowAsDateT();
    return GetCount();
}

} // namespace ch

#include "model/CAnalysisArray.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <utility>

#include "model/CAccount.h"
#include "model/CDebit.h"
#include "model/CExpenseType.h"
#include "model/CTransaction.h"
#include "model/foundation/CDate.h"

namespace ch {

namespace {

// The keys the date order sorts lines by: the transaction's date, then the line's id.
std::pair<DateT, ObjectIdT> DateAndIdOf(const CDebit* line)
{
    const CTransaction* transaction = line->Get_mTransactionPtr();
    return {transaction ? transaction->Get_mDate() : 0, line->Get_Id()};
}

} // namespace

CAnalysisArray::CAnalysisArray() = default;

CAnalysisArray::CAnalysisArray(LComparator* comparator, bool keepSorted)
    : CNamedListArray(comparator, keepSorted)
{
}

long CAnalysisArray::InitFromObject(CNonVisual* object, bool recursive)
{
    if (GetCount() > 0) RemoveItemsAt(GetCount(), 1);
    mOwners = 0;
    mBalances.clear();
    mBalancesByLine.clear();
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
    const auto count = static_cast<ArrayIndexT>(GetCount());
    mBalances.resize(static_cast<std::size_t>(count));
    mBalancesByLine.clear();
    // The lines of one account or category: their own object's list.
    const bool ownList = mOwners == 1;
    double balance = 0.0;
    // Oldest first: with the default order that is from the last line up.
    for (ArrayIndexT i = count; i >= 1; --i) {
        CDebit* line = LineAt(this, i);
        balance += BalanceChangeOf(*line);
        const auto [date, id] = DateAndIdOf(line);
        mBalances[static_cast<std::size_t>(i - 1)] = {date, id, line, balance};
        if (ownList) line->Put_LocalBalance(balance);
    }
}

std::optional<double> CAnalysisArray::RunningBalanceOf(const CNonVisual* line) const
{
    if (!line || mBalances.empty()) return std::nullopt;
    const FourCharCode kind = line->Get_ObjectType();
    if (kind == type::kDebit || kind == type::kCredit || kind == type::kExpenseTypeDetail) {
        // Newest first by date, then id: where the line stood when finalized.
        const auto key = DateAndIdOf(static_cast<const CDebit*>(line));
        auto at = std::partition_point(mBalances.begin(), mBalances.end(), [&key](const LineBalance& entry) {
            return std::pair(entry.date, entry.id) > key;
        });
        for (; at != mBalances.end() && at->date == key.first && at->id == key.second; ++at)
            if (at->line == line) return at->balance;
    }
    // Any other order, or a line moved since: by address. The stable sort
    // keeps a line listed twice answering with its newest place.
    if (mBalancesByLine.empty()) {
        mBalancesByLine = mBalances;
        std::stable_sort(mBalancesByLine.begin(), mBalancesByLine.end(),
                         [](const LineBalance& a, const LineBalance& b) { return std::less<>()(a.line, b.line); });
    }
    const auto found = std::lower_bound(mBalancesByLine.begin(), mBalancesByLine.end(), line,
                                        [](const LineBalance& entry, const CNonVisual* wanted) {
                                            return std::less<>()(entry.line, wanted);
                                        });
    if (found == mBalancesByLine.end() || found->line != line) return std::nullopt;
    return found->balance;
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

#include "model/CAccountArray.h"

#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/ModelComparators.h"
#include "platform/core/unicode.h"

namespace ch {

CAccountArray::CAccountArray(LComparator* comparator, bool keepSorted)
    : CSubListArray(comparator, keepSorted, kSubListCount)
{
    // Accounts note every change of their display name: an import making
    // many accounts finds and places them by halving.
    TrackNameOrder();
    for (std::size_t i = 0; i < SubListCount(); ++i) SubList(i)->TrackNameOrder();
}

CAccountArray::Kind CAccountArray::KindOf(const CNonVisual* account)
{
    Kind kind;
    auto* asAccount = dynamic_cast<const CAccount*>(account);
    if (!asAccount) return kind;
    const CAccType* accountType = asAccount->Get_mAccountTypePtr();
    if (!accountType) return kind;
    kind.profitAndLoss = accountType->thisIsAProfitAndLossAccount();
    kind.property = accountType->thisIsAPropretyAccount();
    kind.debt = accountType->thisIsADebtAccount();
    return kind;
}

bool CAccountArray::Belongs(std::size_t list, const Kind& kind)
{
    switch (list) {
    case kProfitAndLoss:
        return kind.profitAndLoss;
    case kProperty:
        return kind.property;
    case kNotProfitAndLoss:
        return !kind.profitAndLoss;
    case kDebt:
        return kind.debt;
    default:
        return false;
    }
}

ArrayIndexT CAccountArray::InsertItemsAt(std::uint32_t count, ArrayIndexT atIndex, const void* item,
                                         std::uint32_t size)
{
    ArrayIndexT result = CNamedListArray::InsertItemsAt(count, atIndex, item, size);
    CNonVisual* object = ObjectFromItem(item);
    // A refused account lives in no list at all.
    if (result <= 0 || !object) return result;

    const Kind kind = KindOf(object);
    for (std::size_t list = 0; list < kSubListCount; ++list) {
        bool all = list == kAll1 || list == kAll2 || list == kAll3;
        if (all || Belongs(list, kind)) FileInto(list, count, atIndex, item, size);
    }
    return result;
}

void CAccountArray::RemoveFromSubList(CAccount* account, long oldKind, bool wasProfitAndLoss,
                                      bool wasProperty)
{
    if (!account) return;
    const Kind before{wasProfitAndLoss, wasProperty, oldKind == kWasDebt};
    const Kind now = KindOf(static_cast<CNonVisual*>(account));
    for (std::size_t list : {kProfitAndLoss, kProperty, kNotProfitAndLoss, kDebt}) {
        if (Belongs(list, before) && !Belongs(list, now)) Leave(list, static_cast<CNonVisual*>(account));
    }
}

void CAccountArray::SwitchList(CAccount* account, long oldKind, bool wasProfitAndLoss, bool wasProperty)
{
    if (!account) return;
    RemoveFromSubList(account, oldKind, wasProfitAndLoss, wasProperty);
    auto* object = static_cast<CNonVisual*>(account);
    if (!InFullList(object)) return;
    const Kind before{wasProfitAndLoss, wasProperty, oldKind == kWasDebt};
    const Kind now = KindOf(object);
    for (std::size_t list : {kProfitAndLoss, kProperty, kNotProfitAndLoss, kDebt}) {
        if (Belongs(list, now) && !Belongs(list, before)) JoinBeforeLast(list, object);
    }
}

ObjectIdT CAccountArray::GetIdForAccountNr(TextRef number, CNonVisual*& account,
                                           ArrayIndexT& position) const
{
    position = 1;
    if (!number) return -1;
    auto count = static_cast<ArrayIndexT>(GetCount());
    for (ArrayIndexT i = 1; i <= count; ++i) {
        CNonVisual* object = ObjectAt(i);
        const auto* candidate = dynamic_cast<const CAccount*>(object);
        if (!candidate) continue;
        if (equalsCaseInsensitive(candidate->Get_StringRefBankAccountNumber(), *number)) {
            position = i;
            account = object;
            return object->Get_Id();
        }
    }
    return -1;
}

std::unique_ptr<CNamedListArray> CAccountArray::GetNonPL() const
{
    auto list = std::make_unique<CNamedListArray>(new LNamedlistArrayComparator, false);
    auto count = static_cast<ArrayIndexT>(GetCount());
    for (ArrayIndexT i = 1; i <= count; ++i) {
        CNonVisual* object = ObjectAt(i);
        if (!KindOf(object).profitAndLoss) list->InsertObjectAt(object, 1);
    }
    list->Sort();
    return list;
}

} // namespace ch

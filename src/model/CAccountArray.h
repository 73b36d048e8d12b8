#pragma once
// CAccountArray: the document's list of accounts, with sub-lists by kind: the
// profit-and-loss, property, not-profit-and-loss and debt accounts, and three
// lists of every account. An account's kind is that of its account type (an
// account without a type is only "not profit and loss"); it is read when the
// account is inserted, and a change of type reaches the sub-lists through
// SwitchList.

#include <memory>

#include "model/CSubListArray.h"

namespace ch {

class CAccount;

class CAccountArray : public CSubListArray {
public:
    enum SubListIndex : std::size_t {
        kProfitAndLoss,
        kProperty,       // the document's list of property accounts
        kAll1,
        kAll2,
        kAll3,
        kNotProfitAndLoss,
        kDebt,
        kSubListCount
    };
    // The oldKind of SwitchList for a former debt account.
    static constexpr long kWasDebt = 2;

    // The root makes it with the name comparator and keep-sorted off.
    CAccountArray(LComparator* comparator, bool keepSorted);

    // The full list's insertion (an account whose id is listed is refused),
    // then the sub-lists the account belongs to; the full list's result.
    ArrayIndexT InsertItemsAt(std::uint32_t count, ArrayIndexT atIndex, const void* item,
                              std::uint32_t size = 0) override;

    // After an account's type was replaced: it leaves the kind sub-lists it
    // belonged to (oldKind kWasDebt, wasProfitAndLoss, wasProperty) and no
    // longer belongs to, and joins, before their last entry, those it now
    // belongs to. The all-account lists are not touched.
    void SwitchList(CAccount* account, long oldKind, bool wasProfitAndLoss, bool wasProperty);
    // The leaving part of SwitchList.
    void RemoveFromSubList(CAccount* account, long oldKind, bool wasProfitAndLoss, bool wasProperty);

    // The first account whose bank-account-number text equals the text
    // ignoring case: sets account and its 1-based position, returns its id.
    // None: -1, position 1, account untouched.
    ObjectIdT GetIdForAccountNr(TextRef number, CNonVisual*& account, ArrayIndexT& position) const;
    // A new list of the accounts that are not profit-and-loss accounts, by
    // name; the caller owns it.
    std::unique_ptr<CNamedListArray> GetNonPL() const;

    CNamedListArray* Get_SubList(SubListIndex index) const { return SubList(index); }

private:
    struct Kind {
        bool profitAndLoss = false;
        bool property = false;
        bool debt = false;
    };
    static Kind KindOf(const CNonVisual* account);
    // The kind sub-lists (not the all-account lists) an account of that kind belongs to.
    static bool Belongs(std::size_t list, const Kind& kind);
};

} // namespace ch

#pragma once
// CExpenseTypeArray: the document's list of categories, with six sub-lists by
// standing: income, expense, income never negative, expense never negative,
// income or expense, and transfers. Without the strict flag a category's
// income or expense standing follows the sign of its balance, so bookings
// move categories between the sub-lists (SwitchList, from CExpenseType::AddTo);
// a move to another group files a category anew (Refile).

#include "model/CSubListArray.h"

namespace ch {

class CExpenseType;

class CExpenseTypeArray : public CSubListArray {
public:
    enum SubListIndex : std::size_t {
        kIncome,
        kExpense,
        kIncomeNeverNegative,
        kExpenseNeverNegative,
        kIncomeOrExpense,
        kTransfers,
        kSubListCount
    };

    // The sub-lists are ordered by name, with keep-sorted as given.
    CExpenseTypeArray(LComparator* comparator, bool keepSorted);

    // The full list's insertion (a category whose id is listed is refused),
    // then the sub-lists of its standing; a category without a group is filed
    // nowhere else. The full list's result.
    ArrayIndexT InsertItemsAt(std::uint32_t count, ArrayIndexT atIndex, const void* item,
                              std::uint32_t size = 0) override;

    CNamedListArray* GetTransfers() const { return SubList(kTransfers); }
    CNamedListArray* Get_SubList(SubListIndex index) const { return SubList(index); }

    // A category whose income or expense standing changed (wasExpense and
    // wasIncome: the standing before) moves between the sub-lists.
    void SwitchList(CExpenseType* category, bool wasExpense, bool wasIncome);
    void RemoveFromSubList(CExpenseType* category, CNamedListArray* subList);
    // A category of the list that changed group leaves every sub-list and is
    // filed again as on insertion.
    void Refile(CExpenseType* category);

private:
    // Files a category into the sub-lists of its standing, the way the full list got it.
    void File(CExpenseType* category, std::uint32_t count, ArrayIndexT atIndex, const void* item,
              std::uint32_t size);
};

} // namespace ch

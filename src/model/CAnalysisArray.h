#pragma once
// CAnalysisArray: the flat, date-ordered list of the booking lines of one
// account, category, account type or category group (with the lines of the
// objects below it). It is the line table of an account or category, what
// charts and reports walk over a period, and it keeps the running balance of
// each of its lines. A line is in the lists of several objects (its account,
// the account's type, the types above it) with a running balance in each:
// the list keeps its own. Only the list of one account or category writes
// it into its lines too, as the running balance in their own object's list.
//
// It holds line pointers and owns neither the lines nor the objects: it must
// not outlive the document's lines. Main thread only.

#include <optional>
#include <unordered_map>
#include <vector>

#include "model/CNamedListArray.h"

namespace ch {

class CDebit;

// Running balances by line (the line tables of currencies and item arrays).
using RunningBalanceMap = std::unordered_map<const CNonVisual*, double>;

class CAnalysisArray : public CNamedListArray {
public:
    // No comparator of its own until one is set.
    CAnalysisArray();
    // The list owns the comparator (a CTransactionDetailComparator or a variant).
    CAnalysisArray(LComparator* comparator, bool keepSorted);

    // Empties the list, then AddObject. 0.
    long InitFromObject(CNonVisual* object, bool recursive);
    // Adds the lines of an account (credit, then debit lines), a category (its
    // bookings), an account type (its accounts; its sub-types only when
    // recursive) or a category group (its categories and always its
    // sub-groups). Other objects add nothing. 0.
    long AddObject(CNonVisual* object, bool recursive);
    // Appends every line of the list, without broadcasting. 0.
    long AddArray(CNamedListArray* lines, bool unused);
    // Sorts by the comparator and works out each line's running balance,
    // walking from the last (oldest) line to the first.
    void Finalize();
    // The same for lines the caller has put in the comparator's order: taken
    // as sorted, only the balances are worked out (a sort would reach every
    // line's transaction again just to find them in order).
    void FinalizeInOrder();
    // The running balance of a line in this list, as the last finalizing
    // left it; none for a line it did not finalize. Found by halving while
    // the line keeps the date and id it was finalized with.
    std::optional<double> RunningBalanceOf(const CNonVisual* line) const;
    // What the line adds to the running balance of a list: an account line
    // signed by its side and by whether the account is a property account, a
    // category line its amount; 0 for a line of neither.
    static double BalanceChangeOf(const CDebit& line);
    // The earliest line date; 0 for an empty list.
    DateT getEarliestDate() const;
    // Both dates in one pass (earliest 0 when empty; a latest of 99999999
    // becomes today); the number of lines.
    std::uint32_t getEarliestAndLastDate(DateT& earliest, DateT& last) const;

private:
    // A line's running balance, with the keys it was finalized in order of.
    struct LineBalance {
        DateT date;
        ObjectIdT id;
        const CNonVisual* line;
        double balance;
    };
    // Beside the lines, in the order the last finalizing found them: a
    // list of 100,000 lines takes one allocation, not one per line.
    std::vector<LineBalance> mBalances;
    // The same by line address, made on the first look-up the keys cannot
    // answer (an order other than newest first, a line's date since moved).
    mutable std::vector<LineBalance> mBalancesByLine;
    // The accounts and categories whose lines the list holds.
    int mOwners = 0;
};

} // namespace ch

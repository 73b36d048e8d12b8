#pragma once
// Running balances over a list of line items: oldest first (by transaction
// date, then line id), a property account's credit lines add and its debit
// lines subtract their home-currency amounts (any other account the reverse),
// category lines add. Each line gets the balance after it: in the list's own
// map, or, for the list of one account's lines, in the lines themselves (the
// running balance in their own account).

#include "bridge/AccountAncestor.h"
#include "model/CAnalysisArray.h"

namespace ch {

class GXDebetItemArrayFinalizer {
public:
    // Sorts a copy of the list, sets the balances and answers the sorted
    // list. With a map, the balances go there and the lines keep theirs; in
    // the accounts' own currencies when asked (the lines of one currency).
    static LineItemArray finalizeArray(const LineItemArray& items, RunningBalanceMap* balances = nullptr,
                                       bool inAccountCurrency = false);
    // Model lines in the order finalizeArray puts their items in.
    static void sortModelLines(std::vector<CNonVisual*>& lines);
};

} // namespace ch

#pragma once
// Running balances over a list of line items: oldest first (by transaction
// date, then line id), a property account's credit lines add and its debit
// lines subtract their home-currency amounts (any other account the reverse),
// category lines add. Each item with a line gets the balance after it.

#include "bridge/AccountAncestor.h"

namespace ch {

class GXDebetItemArrayFinalizer {
public:
    // Sorts a copy of the list, sets the balances and answers the sorted list.
    static LineItemArray finalizeArray(const LineItemArray& items);
    // Model lines in the order finalizeArray puts their items in.
    static void sortModelLines(std::vector<CNonVisual*>& lines);
};

} // namespace ch

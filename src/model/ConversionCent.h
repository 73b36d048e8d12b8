#pragma once
// Lines in another currency than the home one are each converted and rounded
// to the cent, so the category lines can differ from what the accounts' lines
// give by a cent a line, with nothing typed wrong.

#include "model/foundation/ModelTypes.h"

namespace ch {

class CDebit;
class CNamedListArray;
class CTransaction;

// The line of the list with the largest home-currency amount, passing over
// lines in the currency `passedOver` (0: none); null when none is left.
CDebit* LargestLine(const CNamedListArray* lines, ObjectIdT passedOver = 0);

// When the category lines differ from the accounts' lines by no more than
// that rounding leaves, the largest category line takes the difference, in
// whichever direction its kind counts it. True when they agree afterwards.
bool CategoryLinesTakeConversionCent(CTransaction& transaction);

// After a change of home currency, each line converted and rounded on its
// own: the largest line of the side with more lines takes what the two sides
// differ by, and the largest category line what the category lines differ
// from the accounts' lines by, when that is no more than the rounding
// leaves. Only the lines' home-currency amounts move: the caller puts the
// balances they count in right afterwards. True when everything agrees.
bool LinesTakeNewHomeCents(CTransaction& transaction);

} // namespace ch

#pragma once
// Lines in another currency than the home one are each converted and rounded
// to the cent, so the category lines can differ from what the accounts' lines
// give by a cent a line, with nothing typed wrong.

namespace ch {

class CTransaction;

// When the category lines differ from the accounts' lines by no more than
// that rounding leaves, the largest category line takes the difference, in
// whichever direction its kind counts it. True when they agree afterwards.
bool CategoryLinesTakeConversionCent(CTransaction& transaction);

} // namespace ch

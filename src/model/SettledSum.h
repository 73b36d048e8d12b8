#pragma once
// Amounts added up in binary floating point carry an error in their last
// bits that depends on the order of the additions, and reading the books
// adds the lines in another order than they were booked. A figure derived
// from such a total (a monthly average that lands on half a cent, the sign
// of a total that is nothing) then differs after reading. A total kept
// settled to a millionth is the same whatever the order: no amount a person
// books is that fine.

#include <cmath>

namespace ch {

inline double SettledSum(double total)
{
    const double settled = std::round(total * 1e6) / 1e6;
    return settled == 0.0 ? 0.0 : settled;   // no negative zero
}

} // namespace ch

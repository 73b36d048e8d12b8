#include "bridge/CLevelCounters.h"

#include <algorithm>

#include "model/foundation/AmountRounding.h"

namespace ch {

bool CLevelCounters::setResultAtIndex(unsigned short index, double value)
{
    if (index >= kResultCount) return false;
    mResults[index] = value;
    return true;
}

double CLevelCounters::resultAtIndex(unsigned short index) const
{
    return index < kResultCount ? mResults[index] : 0.0;
}

void CLevelCounters::reset()
{
    mResults.fill(0.0);
}

void CLevelCounters::addCounters(const CLevelCounters& other)
{
    for (unsigned short i = 0; i < kResultCount; ++i) mResults[i] += other.resultAtIndex(i);
}

void CLevelCounters::subtractCounters(const CLevelCounters& other)
{
    for (unsigned short i = 0; i < kResultCount; ++i) mResults[i] -= other.resultAtIndex(i);
}

template <class Compare>
CLevelCounters CLevelCounters::compared(int n, int columns, bool againstZero, Compare compare) const
{
    CLevelCounters result;
    if (n < 1) return result;
    const int filled = std::clamp(columns, 0, static_cast<int>(kResultCount));
    for (int i = 0; i + n < filled; ++i) {
        // Amounts are kept to the cent: a remainder below it is no earlier amount.
        if (againstZero || roundedAmount(mResults[i + n], 2) != 0.0)
            result.mResults[i] = compare(mResults[i], mResults[i + n]);
    }
    return result;
}

CLevelCounters CLevelCounters::differenceCounters(int n, int columns) const
{
    return compared(n, columns, true, [](double now, double before) { return now - before; });
}

CLevelCounters CLevelCounters::pctDifferenceCounters(int n, int columns) const
{
    return compared(n, columns, false, [](double now, double before) { return now / before * 100.0; });
}

double CLevelCounters::zeroMinOneMinTussenHaakjesTwoMinTree() const
{
    return (mResults[0] - mResults[1]) - (mResults[2] - mResults[3]);
}

} // namespace ch

#include "bridge/CLevelCounters.h"

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
CLevelCounters CLevelCounters::compared(int n, Compare compare) const
{
    CLevelCounters result;
    if (n < 1) return result;
    const auto count = static_cast<int>(kResultCount);
    for (int i = 0; i < count; ++i) {
        // The last filled column has no earlier period beside it: 0.
        if (i + n + 1 < count && mResults[i + n] != 0.0)
            result.mResults[i] = compare(mResults[i], mResults[i + n]);
    }
    return result;
}

CLevelCounters CLevelCounters::differenceCounters(int n) const
{
    return compared(n, [](double now, double before) { return now - before; });
}

CLevelCounters CLevelCounters::pctDifferenceCounters(int n) const
{
    return compared(n, [](double now, double before) { return now / before * 100.0; });
}

double CLevelCounters::zeroMinOneMinTussenHaakjesTwoMinTree() const
{
    return (mResults[0] - mResults[1]) - (mResults[2] - mResults[3]);
}

} // namespace ch

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

} // namespace ch

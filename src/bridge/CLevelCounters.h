#pragma once
// Twelve numbered results, all 0 at first: the answer to a query of balances
// over several periods (the account and category items fill the first four).
// Results are doubles: single precision would lose the cents of amounts above
// about 100,000.

#include <array>
#include <cstddef>

namespace ch {

class CLevelCounters {
public:
    static constexpr std::size_t kResultCount = 12;

    // Stores the value as result `index` and answers true for an index below
    // 12; answers false (nothing stored) for a higher index.
    bool setResultAtIndex(unsigned short index, double value);
    // The result at the index; 0 for an index of 12 or more.
    double resultAtIndex(unsigned short index) const;

private:
    std::array<double, kResultCount> mResults{};
};

} // namespace ch

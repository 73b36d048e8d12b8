#pragma once
// Twelve numbered results, all 0 at first: the answer to a query of balances
// over several periods (the account and category items fill the first four),
// and the running totals a report carries from its lines to its totals, one
// result per period column.
// Results are doubles: single precision would lose the cents of amounts above
// about 100,000, and the sums of many lines would drift.

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

    // All twelve results back to 0.
    void reset();
    // Element by element, over all twelve results.
    void addCounters(const CLevelCounters& other);
    void subtractCounters(const CLevelCounters& other);

    // Each column compared with the column n places after it (the period n
    // lengths earlier), for n of 1 or more: result i − result (i + n), where
    // i + n + 1 < 12 and result (i + n) is not 0; otherwise 0.
    CLevelCounters differenceCounters(int n) const;
    // The same test; result i ÷ result (i + n) × 100, the ratio in percent
    // (110 is a rise of a tenth).
    CLevelCounters pctDifferenceCounters(int n) const;
    // (result 0 − result 1) − (result 2 − result 3).
    double zeroMinOneMinTussenHaakjesTwoMinTree() const;

private:
    template <class Compare>
    CLevelCounters compared(int n, Compare compare) const;

    std::array<double, kResultCount> mResults{};
};

} // namespace ch

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
    // lengths earlier), for n of 1 or more, where that column is among the
    // first `columns` filled ones (without a count: i + n + 1 < 12); other
    // results are 0. The change is result i − result (i + n), also from an
    // earlier period of 0.
    CLevelCounters differenceCounters(int n, int columns = kResultCount - 1) const;
    // Result i ÷ result (i + n) × 100, the ratio in percent (110 is a rise of
    // a tenth), where result (i + n) is not 0 at cent precision: a sum that
    // cancels to a binary remainder such as 2.8e-17 counts as 0.
    CLevelCounters pctDifferenceCounters(int n, int columns = kResultCount - 1) const;
    // (result 0 − result 1) − (result 2 − result 3).
    double zeroMinOneMinTussenHaakjesTwoMinTree() const;

private:
    template <class Compare>
    CLevelCounters compared(int n, int columns, bool againstZero, Compare compare) const;

    std::array<double, kResultCount> mResults{};
};

} // namespace ch

#pragma once
// The comparators that order the model's object lists. Each compares two
// items that are object pointers and answers -1, 0 or 1; equal keys compare
// equal, so their order follows the array's insertion and sort rules.

#include <cstdint>

#include "model/foundation/LComparator.h"

namespace ch {

// By display name, ignoring case.
class LNamedlistArrayComparator : public LComparator {
public:
    std::int32_t Compare(const void* item1, const void* item2, std::uint32_t size1,
                         std::uint32_t size2) const override;
    LComparator* Clone() const override;
};

// Transactions by date, newest first.
class CTransactionComparator : public LComparator {
public:
    std::int32_t Compare(const void* item1, const void* item2, std::uint32_t size1,
                         std::uint32_t size2) const override;
    LComparator* Clone() const override;
};

// Currency rates by the date from which they hold, newest first.
class CCurrencyHistoryComparator : public LComparator {
public:
    std::int32_t Compare(const void* item1, const void* item2, std::uint32_t size1,
                         std::uint32_t size2) const override;
    LComparator* Clone() const override;
};

// By amount, largest first; 0 when either amount is not a number.
class LValueComparator : public LComparator {
public:
    std::int32_t Compare(const void* item1, const void* item2, std::uint32_t size1,
                         std::uint32_t size2) const override;
    LComparator* Clone() const override;
};

} // namespace ch

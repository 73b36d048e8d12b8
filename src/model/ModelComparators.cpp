#include "model/ModelComparators.h"

#include <cmath>
#include <cstring>

#include "model/CNonVisual.h"
#include "platform/core/unicode.h"

namespace ch {

namespace {

const CNonVisual* ObjectOf(const void* item)
{
    const CNonVisual* object = nullptr;
    std::memcpy(&object, item, sizeof object);
    return object;
}

template <typename T>
std::int32_t Sign(T value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

// Newest first: 1 when the second date is later.
std::int32_t NewestFirst(const void* item1, const void* item2)
{
    DateT first = ObjectOf(item1)->Get_SortDate();
    DateT second = ObjectOf(item2)->Get_SortDate();
    return second > first ? 1 : (second < first ? -1 : 0);
}

} // namespace

std::int32_t LNamedlistArrayComparator::Compare(const void* item1, const void* item2,
                                                std::uint32_t, std::uint32_t) const
{
    return Sign(compareCaseInsensitive(ObjectOf(item1)->Get_StringrefName(),
                                       ObjectOf(item2)->Get_StringrefName()));
}

LComparator* LNamedlistArrayComparator::Clone() const
{
    return new LNamedlistArrayComparator;
}

std::int32_t CTransactionComparator::Compare(const void* item1, const void* item2,
                                             std::uint32_t, std::uint32_t) const
{
    return NewestFirst(item1, item2);
}

LComparator* CTransactionComparator::Clone() const
{
    return new CTransactionComparator;
}

std::int32_t CCurrencyHistoryComparator::Compare(const void* item1, const void* item2,
                                                 std::uint32_t, std::uint32_t) const
{
    return NewestFirst(item1, item2);
}

LComparator* CCurrencyHistoryComparator::Clone() const
{
    return new CCurrencyHistoryComparator;
}

std::int32_t LValueComparator::Compare(const void* item1, const void* item2, std::uint32_t,
                                       std::uint32_t) const
{
    double first = ObjectOf(item1)->Get_Amount();
    double second = ObjectOf(item2)->Get_Amount();
    if (std::isnan(first) || std::isnan(second)) return 0;
    return second > first ? 1 : (first > second ? -1 : 0);
}

LComparator* LValueComparator::Clone() const
{
    return new LValueComparator;
}

} // namespace ch

#pragma once
// CCcoNItem: the item of one dated rate of a currency's history ('CcoN'); a
// temporary item of the rate-history table, never registered.

#include <optional>
#include <string>

#include "bridge/CNonVisualDataItem.h"

namespace ch {

class CCcoNItem : public CNonVisualDataItem {
public:
    using CNonVisualDataItem::CNonVisualDataItem;

    std::string mCurrencySymbol() const;
    std::optional<int> mValidFrom() const;
    std::string mValidFromAsString() const;
    std::optional<int> mConversionQuantity() const;
    std::optional<double> mConversionFactor() const;
    std::optional<double> mMaxFactor() const;
    std::optional<double> mMinFactor() const;
};

} // namespace ch

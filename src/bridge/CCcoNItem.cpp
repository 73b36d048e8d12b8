#include "bridge/CCcoNItem.h"

#include "bridge/CNSStringDateTBridge.h"
#include "model/CCurrencyRate.h"

namespace ch {

namespace {

const CCurrencyRate* rateOf(const CNonVisualDataItem& item)
{
    return static_cast<const CCurrencyRate*>(item.getSourceItem());
}

} // namespace

std::string CCcoNItem::mCurrencySymbol() const
{
    const CCurrencyRate* rate = rateOf(*this);
    if (!rate) return {};
    char name[kNameSize] = {};
    return rate->Get_CurrencyName(name) ? MacRomanToUnicode(name) : std::string();
}

std::optional<int> CCcoNItem::mValidFrom() const
{
    const CCurrencyRate* rate = rateOf(*this);
    return rate ? std::optional<int>(rate->Get_mValidFrom()) : std::nullopt;
}

std::string CCcoNItem::mValidFromAsString() const
{
    const CCurrencyRate* rate = rateOf(*this);
    return rate ? CNSStringDateTBridge::dateTToNSString(rate->Get_mValidFrom()) : std::string();
}

std::optional<int> CCcoNItem::mConversionQuantity() const
{
    const CCurrencyRate* rate = rateOf(*this);
    return rate ? std::optional<int>(rate->Get_mConversionQuantity()) : std::nullopt;
}

std::optional<double> CCcoNItem::mConversionFactor() const
{
    const CCurrencyRate* rate = rateOf(*this);
    return rate ? std::optional<double>(rate->Get_mConversionFactor()) : std::nullopt;
}

std::optional<double> CCcoNItem::mMaxFactor() const
{
    const CCurrencyRate* rate = rateOf(*this);
    return rate ? std::optional<double>(rate->Get_mMaxFactor()) : std::nullopt;
}

std::optional<double> CCcoNItem::mMinFactor() const
{
    const CCurrencyRate* rate = rateOf(*this);
    return rate ? std::optional<double>(rate->Get_mMinFactor()) : std::nullopt;
}

} // namespace ch

#include "model/CCurrencyArray.h"

#include <cstring>

#include "platform/core/unicode.h"

namespace ch {

CCurrencyArray::CCurrencyArray(LComparator* comparator, bool keepSorted)
    : CSubListArray(comparator, keepSorted, kSubListCount)
{
}

std::size_t CCurrencyArray::ListOf(CurrencyTypeT currencyType)
{
    switch (currencyType) {
    case currency_type::kShare:
        return kShares;
    case 2:
        return kType2;
    case 3:
        return kType3;
    case currency_type::kCurrency:
        return kCurrencies;
    default:
        return kSubListCount;
    }
}

ArrayIndexT CCurrencyArray::InsertItemsAt(std::uint32_t count, ArrayIndexT atIndex, const void* item,
                                          std::uint32_t size)
{
    ArrayIndexT result = CNamedListArray::InsertItemsAt(count, atIndex, item, size);
    CNonVisual* object = ObjectFromItem(item);
    auto* currency = dynamic_cast<CCurrency*>(object);
    if (result <= 0 || !currency) return result;
    std::size_t list = ListOf(currency->Get_mCurrencyType());
    if (list != kSubListCount) FileInto(list, count, atIndex, item, size);
    return result;
}

void CCurrencyArray::SwitchList(CCurrency* currency, CurrencyTypeT oldType)
{
    if (!currency || currency->Get_mCurrencyType() == oldType) return;
    RemoveFromSubList(currency, oldType);
    std::size_t list = ListOf(currency->Get_mCurrencyType());
    if (list != kSubListCount && InFullList(currency)) JoinBeforeLast(list, currency);
}

void CCurrencyArray::RemoveFromSubList(CCurrency* currency, CurrencyTypeT currencyType)
{
    std::size_t list = ListOf(currencyType);
    if (currency && list != kSubListCount) Leave(list, currency);
}

template <typename TextOf>
ObjectIdT CCurrencyArray::Find(TextRef text, CCurrency*& found, ArrayIndexT& position,
                               TextOf textOf) const
{
    position = 1;
    if (!text) return -1;
    auto count = static_cast<ArrayIndexT>(GetCount());
    for (ArrayIndexT i = 1; i <= count; ++i) {
        CNonVisual* object = ObjectAt(i);
        auto* currency = dynamic_cast<CCurrency*>(object);
        if (!currency) continue;
        if (equalsCaseInsensitive(textOf(*currency), *text)) {
            found = currency;
            position = i;
            return currency->Get_Id();
        }
    }
    return -1;
}

ObjectIdT CCurrencyArray::GetCurrencyForName(TextRef text, CCurrency*& found, ArrayIndexT& position) const
{
    return Find(text, found, position, [](const CCurrency& c) -> const std::string& { return c.Get_StringrefDesc(); });
}

ObjectIdT CCurrencyArray::GetCurrencyForDisplayName(TextRef text, CCurrency*& found,
                                                    ArrayIndexT& position) const
{
    return Find(text, found, position, [](const CCurrency& c) -> const std::string& { return c.Get_StringrefName(); });
}

ObjectIdT CCurrencyArray::GetCurrencyForSymbol(TextRef text, CCurrency*& found, ArrayIndexT& position) const
{
    return Find(text, found, position,
                [](const CCurrency& c) -> const std::string& { return c.Get_ShortStringRefName(); });
}

} // namespace ch

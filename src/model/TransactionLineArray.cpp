#include "model/TransactionLineArray.h"

namespace ch {

namespace {

constexpr std::uint32_t kItemsPerLine = 3;

// Item index of the array, exactly the size of value, into value.
template <typename T>
bool FetchExactly(const LVariableArray& array, ArrayIndexT index, T& value)
{
    if (array.GetItemSize(index) != sizeof(T)) return false;
    std::uint32_t size = sizeof(T);
    return array.FetchItemAt(index, &value, size) && size == sizeof(T);
}

} // namespace

TransactionLineArray::TransactionLineArray(std::initializer_list<TransactionLineItem> lines)
{
    for (const TransactionLineItem& line : lines) AddLine(line);
}

void TransactionLineArray::AddLine(const TransactionLineItem& line)
{
    AddItem(&line.accountId, sizeof line.accountId);
    AddItem(&line.currencyId, sizeof line.currencyId);
    AddItem(&line.amount, sizeof line.amount);
}

std::uint32_t LineCountOf(const LVariableArray* array)
{
    return array ? array->GetCount() / kItemsPerLine : 0;
}

bool FetchLineAt(const LVariableArray& array, std::uint32_t k, TransactionLineItem& outLine)
{
    if (k == 0 || k > LineCountOf(&array)) return false;
    const auto first = static_cast<ArrayIndexT>((k - 1) * kItemsPerLine + 1);
    TransactionLineItem line;
    if (!FetchExactly(array, first, line.accountId) || !FetchExactly(array, first + 1, line.currencyId) ||
        !FetchExactly(array, first + 2, line.amount))
        return false;
    outLine = line;
    return true;
}

} // namespace ch

#include "bridge/GXDebetItemArrayFinalizer.h"

#include <algorithm>
#include <vector>

#include "bridge/CDebetItem.h"
#include "model/CAccount.h"
#include "model/CDebit.h"

namespace ch {

namespace {

// Oldest first, then by line id; lines of one day keep their entry order.
// Each line's date and id are read once, then the positions are sorted.
struct Key {
    long date;
    long id;
    std::size_t position;
};

void sortKeys(std::vector<Key>& keys)
{
    std::stable_sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
        return a.date != b.date ? a.date < b.date : a.id < b.id;
    });
}

} // namespace

LineItemArray GXDebetItemArrayFinalizer::finalizeArray(const LineItemArray& items, RunningBalanceMap* balances,
                                                       bool inAccountCurrency)
{
    std::vector<Key> keys;
    keys.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::shared_ptr<CDebetItem>& item = items[i];
        keys.push_back({item ? item->transactionDateAsNumber().value_or(0) : 0,
                        item ? item->getId().value_or(0) : 0, i});
    }
    sortKeys(keys);
    LineItemArray sorted;
    sorted.reserve(items.size());
    for (const Key& key : keys) sorted.push_back(items[key.position]);

    double balance = 0.0;
    for (const std::shared_ptr<CDebetItem>& item : sorted) {
        if (!item || !item->getSourceItem()) continue;
        double amount = item->getLocalAmount().value_or(0.0);
        const FourCharCode lineType = item->getType();
        if (CNonVisual* object = item->accountObject()) {
            if (object->Get_ObjectType() == type::kAccount) {
                auto* account = static_cast<CAccount*>(object);
                const bool property = account->thisIsAPropretyAccount();
                if (inAccountCurrency && lineType != type::kExpenseTypeDetail)
                    amount = account->LineAmountInOwnCurrency(*static_cast<const CDebit*>(item->getSourceItem()));
                if (lineType == type::kCredit) balance += property ? amount : -amount;
                else if (lineType == type::kDebit) balance += property ? -amount : amount;
            } else if (object->Get_ObjectType() == type::kExpenseType) {
                balance += amount;
            }
        }
        if (balances) (*balances)[item->getSourceItem()] = balance;
        else item->setCumulativeAmount(balance);
    }
    return sorted;
}

void GXDebetItemArrayFinalizer::sortModelLines(std::vector<CNonVisual*>& lines)
{
    std::vector<Key> keys;
    keys.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto* line = static_cast<const CDebit*>(lines[i]);
        keys.push_back({line->Get_mDate(), line->Get_Id(), i});
    }
    sortKeys(keys);
    std::vector<CNonVisual*> sorted;
    sorted.reserve(lines.size());
    for (const Key& key : keys) sorted.push_back(lines[key.position]);
    lines = std::move(sorted);
}

} // namespace ch

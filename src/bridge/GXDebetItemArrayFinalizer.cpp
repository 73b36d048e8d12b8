#include "bridge/GXDebetItemArrayFinalizer.h"

#include <algorithm>

#include "bridge/CDebetItem.h"
#include "model/CAccount.h"

namespace ch {

LineItemArray GXDebetItemArrayFinalizer::finalizeArray(const LineItemArray& items)
{
    LineItemArray sorted = items;
    // Oldest first, then by line id; lines of one day keep their entry order.
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const std::shared_ptr<CDebetItem>& a, const std::shared_ptr<CDebetItem>& b) {
                         const long dateA = a ? a->transactionDateAsNumber().value_or(0) : 0;
                         const long dateB = b ? b->transactionDateAsNumber().value_or(0) : 0;
                         if (dateA != dateB) return dateA < dateB;
                         const long idA = a ? a->getId().value_or(0) : 0;
                         const long idB = b ? b->getId().value_or(0) : 0;
                         return idA < idB;
                     });

    double balance = 0.0;
    for (const std::shared_ptr<CDebetItem>& item : sorted) {
        if (!item || !item->getSourceItem()) continue;
        const double amount = item->getLocalAmount().value_or(0.0);
        const FourCharCode lineType = item->getType();
        if (CNonVisual* object = item->accountObject()) {
            if (object->Get_ObjectType() == type::kAccount) {
                const bool property = static_cast<CAccount*>(object)->thisIsAPropretyAccount();
                if (lineType == type::kCredit) balance += property ? amount : -amount;
                else if (lineType == type::kDebit) balance += property ? -amount : amount;
            } else if (object->Get_ObjectType() == type::kExpenseType) {
                balance += amount;
            }
        }
        item->setCumulativeAmount(balance);
    }
    return sorted;
}

} // namespace ch

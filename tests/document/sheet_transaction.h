#pragma once
// A simple transaction as the transaction sheet makes it: on a temporary
// transaction of the books, read back as the dictionary of the command. With
// a second category, the category line is split in two as the sheet's + does:
// `secondShare` of the amount (to the cent) goes to the second category.

#include <cmath>
#include <memory>
#include <string>

#include "bridge/ArgumentRecords.h"
#include "bridge/CDebetItem.h"
#include "bridge/CTrnSItem.h"
#include "document/MyDocument.h"
#include "model/CTransaction.h"

namespace ch::test {

inline Dictionary sheetTransactionDictionary(MyDocument& books, ObjectIdT from, ObjectIdT to, ObjectIdT category,
                                             double amount, DateT date, const std::string& name,
                                             ObjectIdT second = 0, double secondShare = 0.0)
{
    std::shared_ptr<CTrnSItem> temporary = books.makeEmptyTransactionOfType(transaction_type::kOther);
    SimpleTransactionArguments values;
    values.absoluteAmount = amount;
    values.fromAccountId = from;
    values.toAccountId = to;
    values.category = category;
    values.categoryAmount = amount;
    values.name = name;
    values.date = date;
    temporary->setEqualToSimpleTransactionArguments(values);
    if (second) {
        LineItemArray lines = temporary->mForList();
        if (!lines.empty()) {
            const std::shared_ptr<CDebetItem>& first = lines.front();
            const double whole = first->getForeignAmount().value_or(0.0);
            const double part = std::round(whole * secondShare * 100.0) / 100.0;
            first->setGetForeignAmount(whole - part);
            if (auto line = temporary->addDetailWithType(type::kExpenseTypeDetail)) {
                line->setAccount(second);
                line->setCurrencyId(first->currencyId());
                line->setGetForeignAmount(part);
            }
        }
    }
    return temporary->dictionaryRepresentation();
}

} // namespace ch::test

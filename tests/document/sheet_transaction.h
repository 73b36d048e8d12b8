#pragma once
// A simple transaction as the transaction sheet makes it: on a temporary
// transaction of the books, read back as the dictionary of the command.

#include <memory>
#include <string>

#include "bridge/ArgumentRecords.h"
#include "bridge/CTrnSItem.h"
#include "document/MyDocument.h"
#include "model/CTransaction.h"

namespace ch::test {

inline Dictionary sheetTransactionDictionary(MyDocument& books, ObjectIdT from, ObjectIdT to, ObjectIdT category,
                                             double amount, DateT date, const std::string& name)
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
    return temporary->dictionaryRepresentation();
}

} // namespace ch::test

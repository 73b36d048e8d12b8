#include "document/ImportOperationsOfDocument.h"

#include "bridge/CTrnSItem.h"
#include "document/MyDocument.h"
#include "document/arguments/ImportTransactionArguments.h"
#include "model/CDocAccounting.h"
#include "model/CNamedListArray.h"
#include "model/CTransaction.h"
#include "model/TransactionLineArray.h"
#include "model/foundation/CNSStringToCString.h"

namespace ch {

CommandOutcome ImportOperationsOfDocument::importTransactionWithArguments(
    const arguments::ImportTransactionArguments& args)
{
    char name[kNameSize] = {};
    char description[kDescriptionSize] = {};
    CNSStringToCString::convertStringToNameT(args.name.value_or(""), name);
    CNSStringToCString::convertStringToDescriptionT(args.transactionDescription.value_or(""), description);
    // A split statement line hands its lines on each side.
    const TransactionLineArray debits = arguments::lineArrayOf(args.debitLines);
    const TransactionLineArray credits = arguments::lineArrayOf(args.creditLines);
    const TransactionLineArray categories = arguments::lineArrayOf(args.categoryLines);
    auto given = [](const std::vector<arguments::ImportedLine>& lines, const TransactionLineArray& array) {
        return lines.empty() ? nullptr : &array;
    };
    CTransaction* made = mDocument.accounting()->ImportTransaction(
        name, args.name ? TextRef(*args.name) : std::nullopt, description,
        args.transactionDescription ? TextRef(*args.transactionDescription) : std::nullopt,
        static_cast<DateT>(args.valueDate.value_or(0)), args.amount.value_or(0.0),
        static_cast<ObjectIdT>(args.currencyId.value_or(0)), static_cast<ObjectIdT>(args.fromAccountId.value_or(0)),
        static_cast<ObjectIdT>(args.toAccountId.value_or(0)), static_cast<ObjectIdT>(args.expenseTypeId.value_or(0)),
        args.unbalanced, transaction_type::kOther, given(args.debitLines, debits), given(args.creditLines, credits),
        given(args.categoryLines, categories));
    // Lines that do not balance leave the transaction out of the books: the
    // statement line is not booked and stays for the person to see.
    if (!made || mDocument.accounting()->mTransactionList->FetchIndexOfObject(made) == 0)
        return CommandOutcome::unchanged(-1);
    std::shared_ptr<CTrnSItem> item = mDocument.dataItemController().transactionItemForTrnS(made);
    if (args.transactionType) item->setMTransactionType(*args.transactionType);
    return CommandOutcome::changed(made->Get_Id());
}

} // namespace ch

#pragma once
// What the statement readers and the import lines need of the document they
// import into: its books, to complete the lines against; the pending import
// list, which a correction of one line completes again as a whole; the
// commands that create accounts, category groups and categories while a QIF
// file is read (13, 17, 15); and command 31, which books one line.
//
// The document implements it with its commands, so that every change is
// journalled; BooksImportDocument (below the readers) works on the books
// directly, for tools and tests without a document.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/arguments/ImportTransactionArguments.h"
#include "model/CMasterExpenseType.h"
#include "model/foundation/ModelTypes.h"

namespace ch {

class CDocAccounting;
class StatementLine;

// What command 31 books for one import line.
struct ImportedTransaction {
    std::string name;          // the line's title
    std::string description;
    DateT valueDate = 0;
    double amount = 0.0;       // the absolute amount
    ObjectIdT currencyId = 0;
    ObjectIdT fromAccountId = 0;
    ObjectIdT toAccountId = 0;
    ObjectIdT categoryId = 0;
    // A split line's booking lines on each side; empty for a plain line.
    std::vector<arguments::ImportedLine> debitLines;
    std::vector<arguments::ImportedLine> creditLines;
    std::vector<arguments::ImportedLine> categoryLines;
};

class ImportDocument {
public:
    virtual ~ImportDocument() = default;

    // The books the lines are completed against.
    virtual CDocAccounting& books() = 0;

    // Completes every pending line again (after a line changed something that
    // other lines depend on: an account's name or number, an owner, a symbol).
    virtual void completeBankImport() = 0;
    // Gives this own account to every pending line whose statement names no
    // own account number (shorter than 2 characters).
    virtual void setOwnAccountIdForImport(ObjectIdT accountId) = 0;
    // Whether another pending line than that one is already matched with the
    // booked transaction as its duplicate (two identical purchases in a
    // statement against one booked purchase: one of them is new).
    virtual bool duplicateTakenByOtherLine(ObjectIdT transactionId, const StatementLine* line) = 0;

    // Command 13: a new account; its id, or 0 when none was made.
    virtual ObjectIdT insertAccount(std::string_view name, std::string_view description,
                                    ObjectIdT accountTypeId, ObjectIdT currencyId) = 0;
    // Command 13 as well: a new credit card, an account of the (debt) type
    // marked as a card, in the home currency; its id, or 0.
    virtual ObjectIdT insertCreditCard(std::string_view name, std::string_view description,
                                       ObjectIdT accountTypeId) = 0;
    // Command 17: a new category group of the kind below the parent group
    // (for a top-level group the parent id is the kind); its id, or -1.
    virtual ObjectIdT createCategoryGroup(std::string_view name, MasterExpenseTypeT kind,
                                          ObjectIdT parentId) = 0;
    // Command 15: a new category of the kind in the group (-1: none named);
    // its id, or 0.
    virtual ObjectIdT createCategory(std::string_view name, std::string_view description,
                                     MasterExpenseTypeT kind, ObjectIdT groupId) = 0;

    // Command 31: books the transaction; its id, or 0 when none was booked.
    virtual ObjectIdT importTransaction(const ImportedTransaction& transaction) = 0;
    // The import run that booked a transaction (its lines' stamp); none for
    // a transaction that no import booked.
    virtual std::optional<std::int64_t> importTimeStampOfTransaction(ObjectIdT transactionId) = 0;
    virtual void setImportTimeStampOfTransaction(ObjectIdT transactionId, std::int64_t stamp) = 0;
};

} // namespace ch

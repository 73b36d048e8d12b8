#pragma once
// BooksImportDocument: the import document of a set of books without a
// document window around it: the pending list lives here, and accounts,
// category groups, categories and transactions are made directly in the
// books (no commands, no journal). Tools, benchmarks and tests import
// through it; the application's document implements ImportDocument with its
// commands instead.

#include <cstdint>
#include <optional>
#include <unordered_map>

#include "document/PendingImport.h"
#include "import/ImportDocument.h"

namespace ch {

class BooksImportDocument : public ImportDocument {
public:
    explicit BooksImportDocument(CDocAccounting& books) : mBooks(books) {}

    PendingImport& pending() { return mPending; }

    CDocAccounting& books() override { return mBooks; }
    void completeBankImport() override { mPending.completeBankImport(); }
    void setOwnAccountIdForImport(ObjectIdT accountId) override { mPending.setOwnAccountIdForImport(accountId); }
    bool duplicateTakenByOtherLine(ObjectIdT transactionId, const StatementLine* line) override
    {
        return mPending.duplicateTakenByOtherLine(transactionId, line);
    }
    ObjectIdT insertAccount(std::string_view name, std::string_view description, ObjectIdT accountTypeId,
                            ObjectIdT currencyId) override;
    ObjectIdT insertCreditCard(std::string_view name, std::string_view description, ObjectIdT accountTypeId) override;
    ObjectIdT createCategoryGroup(std::string_view name, MasterExpenseTypeT kind, ObjectIdT parentId) override;
    // A category whose group is not named goes into the top-level group of its kind.
    ObjectIdT createCategory(std::string_view name, std::string_view description, MasterExpenseTypeT kind,
                             ObjectIdT groupId) override;
    // Books as the model's import does: one line of the amount on each side,
    // posted; a transaction the model refuses stays unlinked (and 0 is answered).
    ObjectIdT importTransaction(const ImportedTransaction& transaction) override;
    std::optional<std::int64_t> importTimeStampOfTransaction(ObjectIdT transactionId) override;
    void setImportTimeStampOfTransaction(ObjectIdT transactionId, std::int64_t stamp) override;

private:
    CDocAccounting& mBooks;
    PendingImport mPending;
    std::unordered_map<ObjectIdT, std::int64_t> mStamps;
};

} // namespace ch

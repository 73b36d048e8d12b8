#pragma once
// DocumentImport: a document as the statement readers and their lines see
// it. Everything that changes the books runs as the document's command
// (13 a new account, 17 a new category group, 15 a new category, 31 a
// booked line), so an import is journaled and replayed like any edit; the
// pending list is the document's own.

#include <optional>

#include "import/ImportDocument.h"

namespace ch {

class MyDocument;

class DocumentImport : public ImportDocument {
public:
    explicit DocumentImport(MyDocument& document) : mDocument(document) {}

    CDocAccounting& books() override;
    void completeBankImport() override;
    void setOwnAccountIdForImport(ObjectIdT accountId) override;
    bool duplicateTakenByOtherLine(ObjectIdT transactionId, const StatementLine* line) override;
    ObjectIdT insertAccount(std::string_view name, std::string_view description, ObjectIdT accountTypeId,
                            ObjectIdT currencyId) override;
    ObjectIdT insertCreditCard(std::string_view name, std::string_view description, ObjectIdT accountTypeId) override;
    ObjectIdT createCategoryGroup(std::string_view name, MasterExpenseTypeT kind, ObjectIdT parentId) override;
    ObjectIdT createCategory(std::string_view name, std::string_view description, MasterExpenseTypeT kind,
                             ObjectIdT groupId) override;
    ObjectIdT importTransaction(const ImportedTransaction& transaction) override;
    // Kept on the transaction's item, for the session.
    std::optional<std::int64_t> importTimeStampOfTransaction(ObjectIdT transactionId) override;
    void setImportTimeStampOfTransaction(ObjectIdT transactionId, std::int64_t stamp) override;

private:
    ObjectIdT createAccount(std::string_view name, std::string_view description, ObjectIdT accountTypeId,
                            ObjectIdT currencyId, std::optional<int> specialType);

    MyDocument& mDocument;
};

} // namespace ch

#include "import/DocumentImport.h"

#include <string>

#include "bridge/CTrnSItem.h"
#include "document/MyDocument.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "model/CAccount.h"

namespace ch {

CDocAccounting& DocumentImport::books()
{
    return *mDocument.accounting();
}

void DocumentImport::completeBankImport()
{
    mDocument.statementImport().completeBankImport();
}

void DocumentImport::setOwnAccountIdForImport(ObjectIdT accountId)
{
    mDocument.statementImport().setOwnAccountIdForImport(accountId);
}

bool DocumentImport::duplicateTakenByOtherLine(ObjectIdT transactionId, const StatementLine* line)
{
    return mDocument.statementImport().duplicateTakenByOtherLine(transactionId, line);
}

ObjectIdT DocumentImport::insertAccount(std::string_view name, std::string_view description,
                                        ObjectIdT accountTypeId, ObjectIdT currencyId)
{
    return createAccount(name, description, accountTypeId, currencyId, std::nullopt);
}

ObjectIdT DocumentImport::insertCreditCard(std::string_view name, std::string_view description,
                                           ObjectIdT accountTypeId)
{
    return createAccount(name, description, accountTypeId, -1, CAccount::kCreditCard);
}

ObjectIdT DocumentImport::createAccount(std::string_view name, std::string_view description, ObjectIdT accountTypeId,
                                        ObjectIdT currencyId, std::optional<int> specialType)
{
    arguments::AccountArguments args;
    args.idKey = -1;
    args.name = std::string(name);
    args.description = std::string(description);
    args.accountTypeId = accountTypeId;
    args.currencyId = currencyId;
    args.specialType = specialType;
    const int id = mDocument.commandExecutor().executeCommand(13, nullptr, args);
    return id > 0 ? id : 0;
}

ObjectIdT DocumentImport::createCategoryGroup(std::string_view name, MasterExpenseTypeT kind, ObjectIdT parentId)
{
    arguments::CategoryGroupParameters args;
    args.idKey = -1;
    args.name = std::string(name);
    args.mMasterType = static_cast<int>(kind);
    args.mParentId = parentId;
    const int id = mDocument.commandExecutor().executeCommand(17, nullptr, args);
    return id >= 0 ? id : -1;
}

ObjectIdT DocumentImport::createCategory(std::string_view name, std::string_view description,
                                         MasterExpenseTypeT kind, ObjectIdT groupId)
{
    arguments::CategoryParameters args;
    args.idKey = -1;
    args.name = std::string(name);
    args.description = std::string(description);
    args.mMasterTypeId = static_cast<long>(kind);
    args.mParentId = groupId;
    args.mTaxDeductiblePct = 100.0;
    const int id = mDocument.commandExecutor().executeCommand(15, nullptr, args);
    return id > 0 ? id : 0;
}

ObjectIdT DocumentImport::importTransaction(const ImportedTransaction& t)
{
    ImportedTransactionValues values;
    values.name = t.name;
    values.description = t.description;
    values.valueDate = t.valueDate;
    values.amount = t.amount;
    values.currencyId = t.currencyId;
    values.fromAccountId = t.fromAccountId;
    values.toAccountId = t.toAccountId;
    values.categoryId = t.categoryId;
    values.debitLines = t.debitLines;
    values.creditLines = t.creditLines;
    values.categoryLines = t.categoryLines;
    const std::shared_ptr<CTrnSItem> made = mDocument.statementImport().importTransaction(values);
    return made ? made->getId().value_or(0) : 0;
}

std::optional<std::int64_t> DocumentImport::importTimeStampOfTransaction(ObjectIdT transactionId)
{
    const std::shared_ptr<CTrnSItem> item = mDocument.getTransactionForId(transactionId);
    return item ? item->importTimeStamp() : std::nullopt;
}

void DocumentImport::setImportTimeStampOfTransaction(ObjectIdT transactionId, std::int64_t stamp)
{
    if (const std::shared_ptr<CTrnSItem> item = mDocument.getTransactionForId(transactionId))
        item->setImportTimeStamp(stamp);
}

} // namespace ch

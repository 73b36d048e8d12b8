#include "import/BooksImportDocument.h"

#include "import/ImportText.h"
#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/CTransaction.h"
#include "model/TransactionLineArray.h"

namespace ch {

namespace {

constexpr std::size_t kNameCharacters = 34;
constexpr std::size_t kDescriptionCharacters = 254;

} // namespace

ObjectIdT BooksImportDocument::insertAccount(std::string_view name, std::string_view description,
                                             ObjectIdT accountTypeId, ObjectIdT currencyId)
{
    CAccType* type = mBooks.GetAccountTypeForId(accountTypeId);
    if (!type) return 0;
    const std::string name8 = modelText(name, kNameCharacters);
    const std::string description8 = modelText(description, kDescriptionCharacters);
    CAccount* account = mBooks.InsertAccount(-1, name8.c_str(), name, description8.c_str(), description,
                                             accountTypeId, currencyId, type);
    if (!account) return 0;
    mBooks.SetModified(true);
    return account->Get_Id();
}

ObjectIdT BooksImportDocument::insertCreditCard(std::string_view name, std::string_view description,
                                                ObjectIdT accountTypeId)
{
    const ObjectIdT id = insertAccount(name, description, accountTypeId, -1);
    CAccount* account = id ? mBooks.GetAccountForID(id) : nullptr;
    // A card is a debt: on another type the mark would mean nothing.
    if (account && account->thisIsADebtAccount()) account->Put_mAccountSpecialType(CAccount::kCreditCard);
    return id;
}

ObjectIdT BooksImportDocument::createCategoryGroup(std::string_view name, MasterExpenseTypeT kind, ObjectIdT parentId)
{
    const std::string name8 = modelText(name, kNameCharacters);
    CMasterExpenseType* group =
        mBooks.InsertMasterExpenseType(-1, name8.c_str(), name, nullptr, std::nullopt, kind, parentId);
    return group ? group->Get_Id() : -1;
}

ObjectIdT BooksImportDocument::createCategory(std::string_view name, std::string_view description,
                                              MasterExpenseTypeT kind, ObjectIdT groupId)
{
    const std::string name8 = modelText(name, kNameCharacters);
    const std::string description8 = modelText(description, kDescriptionCharacters);
    if (!mBooks.GetMasterExpenseTypeForId(groupId)) groupId = kind;
    CExpenseType* category = mBooks.InsertExpenseType(-1, name8.c_str(), name, description8.c_str(), description,
                                                      groupId, std::nullopt, nullptr, 100.0);
    return category ? category->Get_Id() : 0;
}

ObjectIdT BooksImportDocument::importTransaction(const ImportedTransaction& t)
{
    if (t.amount == 0.0) return 0;
    CTransaction* transaction = mBooks.InsertTransaction(false, false, transaction_type::kExpense);
    if (!transaction) return 0;
    const std::string name8 = modelText(t.name, kNameCharacters);
    const std::string description8 = modelText(t.description, kDescriptionCharacters);
    const TransactionLineArray debits = arguments::lineArrayOf(t.debitLines);
    const TransactionLineArray credits = arguments::lineArrayOf(t.creditLines);
    const TransactionLineArray categories = arguments::lineArrayOf(t.categoryLines);
    const bool valid = transaction->Import(name8.c_str(), description8.c_str(), t.valueDate, t.amount,
                                           t.fromAccountId, t.toAccountId, t.categoryId, t.currencyId,
                                           t.debitLines.empty() ? nullptr : &debits,
                                           t.creditLines.empty() ? nullptr : &credits,
                                           t.categoryLines.empty() ? nullptr : &categories);
    transaction->Put_StringrefName(t.name);
    transaction->Put_StringrefDesc(t.description);
    mBooks.SetModified(true);
    if (!valid) {
        mBooks.UnlinkTrans(transaction);
        return 0;
    }
    return transaction->Get_Id();
}

std::optional<std::int64_t> BooksImportDocument::importTimeStampOfTransaction(ObjectIdT transactionId)
{
    const auto found = mStamps.find(transactionId);
    if (found == mStamps.end()) return std::nullopt;
    return found->second;
}

void BooksImportDocument::setImportTimeStampOfTransaction(ObjectIdT transactionId, std::int64_t stamp)
{
    mStamps[transactionId] = stamp;
}

} // namespace ch

#include "import/ImportPageActions.h"

#include "bridge/CAcnTItem.h"
#include "bridge/CCurRItem.h"
#include "bridge/CTrnSItem.h"
#include "document/MyDocument.h"
#include "document/arguments/AccountArguments.h"
#include "import/CImpTItem.h"
#include "model/CAccount.h"
#include "model/CAccountOwner.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"

namespace ch {

namespace {
constexpr long kOwnPropertyType = 1;
constexpr long kDebtType = 2;
} // namespace

std::vector<std::shared_ptr<CImpTItem>> ImportPageActions::lines() const
{
    std::vector<std::shared_ptr<CImpTItem>> out;
    for (const auto& line : mDocument.statementImport().mImportedTransactionArray())
        if (auto item = std::dynamic_pointer_cast<CImpTItem>(line)) out.push_back(std::move(item));
    return out;
}

ObjectIdT ImportPageActions::homeCurrencyId() const
{
    const auto home = mDocument.getHomeCurrency();
    return home ? home->getId().value_or(0) : 0;
}

bool ImportPageActions::createOwnAccount(CImpTItem& line)
{
    const std::string number = line.mOurAccountNumber();
    if (number.empty()) return false;
    if (CAccount* existing = mDocument.getAccountForAccountNr(number)) {
        line.setMOurAccountId(existing->Get_Id());
        return true;
    }
    arguments::AccountArguments args(-1, number, number, line.isOnDebtAccount() ? kDebtType : kOwnPropertyType,
                                     line.mCurrencyId() > 0 ? line.mCurrencyId() : homeCurrencyId(), std::nullopt,
                                     std::nullopt, std::nullopt, number, 100.0, std::nullopt);
    const int id = mDocument.commandExecutor().executeCommand(13, nullptr, args);
    if (id <= 0) return false;
    line.setMOurAccountId(id);
    mDocument.statementImport().completeBankImport();
    return true;
}

AccountFromLine ImportPageActions::accountFromLine(const CImpTItem* line) const
{
    AccountFromLine values;
    values.currencyId = homeCurrencyId();
    if (!line) return values;
    if (!line->mForeignAccountNumber().empty()) values.bankAccountNumber = line->mForeignAccountNumber();
    if (!line->mPartnerName().empty()) values.name = line->mPartnerName();
    if (line->mCounterPartyId() > 0) values.ownerId = line->mCounterPartyId();
    else if (CAccountOwner* me = mDocument.getMe()) values.ownerId = me->Get_Id();
    if (line->mCurrencyId() > 0) values.currencyId = line->mCurrencyId();
    return values;
}

bool ImportPageActions::setExpenseTypeInAccount(ObjectIdT accountId, ObjectIdT categoryId)
{
    CDocAccounting& books = *mDocument.accounting();
    if (!books.GetAccountForID(accountId) || !books.GetExpenseTypeForID(categoryId)) return false;
    const std::shared_ptr<CAcnTItem> account = mDocument.getAccountItemForId(accountId);
    if (!account) return false;
    // The account as it is, but for its default category: command 12
    // rewrites every value, and the balance given is the one it has, so
    // nothing is booked.
    arguments::AccountArguments args(account->getId(), account->getNameOnly(), account->getDescription(),
                                     account->getAccountTypeId(), account->getCurrencyId(),
                                     account->getAccountNumber(), account->getAccountOwnerId(), categoryId,
                                     account->getBankAccountNumber(), account->getFiscalPct(), account->getBalance());
    args.specialType = account->specialType();
    args.specialSubType = account->specialSubType();
    mDocument.commandExecutor().executeCommand(12, account, args);
    mDocument.statementImport().completeBankImport();
    return true;
}

void ImportPageActions::setSelectionNotDouble(CImpTItem& line)
{
    line.setMDoubleTransactionId(-1);
}

std::string ImportPageActions::duplicateDescription(const CImpTItem& line) const
{
    if (line.mDoubleTransactionId() <= 0) return {};
    const auto transaction = mDocument.getTransactionForId(line.mDoubleTransactionId());
    return transaction ? transaction->fullDescription() : std::string();
}

int ImportPageActions::bookAcceptedLines()
{
    return mDocument.statementImport().doActualImport();
}

} // namespace ch

#include "document/app/CommandNewDocumentTarget.h"

#include "bridge/CAcnTItem.h"
#include "bridge/CCurRItem.h"
#include "document/MyDocument.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "document/arguments/CurrencyArguments.h"
#include "model/CAccountOwner.h"
#include "model/CMasterExpenseType.h"

namespace ch {

namespace {

arguments::CurrencyArguments currencyArguments(const PlannedCurrency& currency)
{
    arguments::CurrencyArguments values;
    values.symbol = currency.symbol;
    values.internetSymbol = currency.symbol;
    values.description = currency.name;
    return values;
}

} // namespace

void CommandNewDocumentTarget::modifyHomeCurrency(const PlannedCurrency& currency)
{
    auto home = mDocument.getHomeCurrency();
    if (!home) return;
    const arguments::CurrencyArguments values = currencyArguments(currency);
    mDocument.commandExecutor().executeCommand(7, home, values);
}

void CommandNewDocumentTarget::createCurrency(const PlannedCurrency& currency)
{
    arguments::CurrencyArguments values = currencyArguments(currency);
    if (auto home = mDocument.getHomeCurrency(); home && home->getId()) values.baseCurrencyId = *home->getId();
    values.conversionQuantity = 1;
    values.conversionFactor = 1.0;
    mDocument.commandExecutor().executeCommand(6, nullptr, values);
}

void CommandNewDocumentTarget::modifyDefaultPropertyAccount(const PlannedAccount& account)
{
    auto item = mDocument.getAccountItemForId(static_cast<ObjectIdT>(mDocument.getDefaultOwnPropertyAccount()));
    if (!item) return;
    arguments::AccountArguments values;
    values.name = account.name;
    values.description = account.name;
    values.newBalance = account.initialBalance;
    mDocument.commandExecutor().executeCommand(12, item, values);
}

void CommandNewDocumentTarget::createAccount(const PlannedAccount& account)
{
    arguments::AccountArguments values;
    values.name = account.name;
    values.description = account.name;
    values.accountTypeId = account.accountTypeId;
    if (auto home = mDocument.getHomeCurrency(); home && home->getId()) values.currencyId = *home->getId();
    if (CAccountOwner* me = mDocument.getMe()) values.ownerId = me->Get_Id();
    values.newBalance = account.initialBalance;
    mDocument.commandExecutor().executeCommand(13, nullptr, values);
}

std::optional<long> CommandNewDocumentTarget::findCategoryGroup(const std::string& name)
{
    if (CMasterExpenseType* group = mDocument.getMasterExpenseTypeForName(name)) return group->Get_Id();
    return std::nullopt;
}

long CommandNewDocumentTarget::createCategoryGroup(const std::string& name, long parentId, long masterType)
{
    arguments::CategoryGroupParameters values;
    values.name = name;
    values.mParentId = parentId;
    values.mMasterType = static_cast<int>(masterType);
    return mDocument.commandExecutor().executeCommand(17, nullptr, values);
}

void CommandNewDocumentTarget::createCategory(const std::string& name, long parentId)
{
    arguments::CategoryParameters values;
    values.name = name;
    values.description = name;
    values.mParentId = parentId;
    values.mMasterTypeId = parentId;
    mDocument.commandExecutor().executeCommand(15, nullptr, values);
}

} // namespace ch

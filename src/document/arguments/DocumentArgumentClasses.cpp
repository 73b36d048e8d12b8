#include "document/arguments/AccountArguments.h"
#include "document/arguments/ArgumentClassRegistry.h"
#include "document/arguments/BooksLinkArguments.h"
#include "document/arguments/BudgetArguments.h"
#include "document/arguments/CAcoWArguments.h"
#include "document/arguments/CDeleteObjectParms.h"
#include "document/arguments/CDragAndDropRelocationArgument.h"
#include "document/arguments/CTransactionArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "document/arguments/CurrencyArguments.h"
#include "document/arguments/ImportTransactionArguments.h"
#include "document/arguments/ShareTradeArguments.h"
#include "document/arguments/SimpleTransactionArguments.h"

namespace ch {

void registerDocumentArgumentClasses(ArgumentClassRegistry& registry)
{
    registry.add<arguments::CurrencyArguments>();
    registry.add<arguments::CShareArguments>();
    registry.add<arguments::CurrencyRateParameters>();
    registry.add<arguments::AccountTypeArguments>();
    registry.add<arguments::AccountArguments>();
    registry.add<arguments::CategoryParameters>();
    registry.add<arguments::CategoryGroupParameters>();
    registry.add<arguments::CAcoWArguments>();
    registry.add<arguments::CDeleteObjectParms>();
    registry.add<arguments::CDragAndDropRelocationArgument>();
    registry.add<arguments::CTransactionArguments>();
    registry.add<arguments::ImportTransactionArguments>();
    registry.add<arguments::BuySellSharesParameters>();
    registry.add<arguments::RegisterDividendParameters>();
    registry.add<arguments::SimpleTransactionArguments>();
    registry.add<arguments::ModifyBudgetDetailArguments>();
    registry.add<arguments::ModifyBudgetXRefArguments>();
    registry.add<arguments::NewBudgetXRefArguments>();
    registry.add<arguments::DeleteBudgetXRefArguments>();
    registry.add<arguments::TransferBudgetXRefArguments>();
    registry.add<arguments::ModifyBudgetHeaderArguments>();
    registry.add<arguments::NewBudgetArguments>();
    registry.add<arguments::TransactionLinkArguments>();
    registry.add<arguments::ObjectStateArguments>();
    registry.add<arguments::BookSettingArguments>();
}

} // namespace ch

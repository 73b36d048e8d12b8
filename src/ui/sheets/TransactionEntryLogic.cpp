#include "ui/sheets/TransactionEntryLogic.h"

#include <cmath>

#include "bridge/BridgeDocument.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/CRcrTItem.h"
#include "document/arguments/CTransactionArguments.h"
#include "model/CDebit.h"
#include "model/CTransaction.h"
#include "model/foundation/CDate.h"
#include "model/foundation/CDecimal.h"
#include "model/foundation/CErrorManager.h"
#include "ui/sheets/BookLists.h"
#include "ui/sheets/CommandSink.h"
#include "ui/sheets/SheetDocument.h"

namespace ch {

namespace key = transaction_sheet_key;

void TransactionEntryLogic::initialize(const SheetParameters& parameters)
{
    mDocument = parameters.document(key::kDocument);
    if (!mDocument)
        return;
    mDialogAction = static_cast<int>(parameters.number(key::kAction).value_or(kActionCreate));
    mTransactionType = static_cast<int>(parameters.number(key::kTransactionType).value_or(3));
    mTransaction = parameters.itemAs<CTrnSItem>(key::kTransaction);
    mTemporaryTransaction = mRecurring ? mDocument->makeEmptyRecurringTransaction()
                                       : mDocument->makeEmptyTransactionOfType(mTransactionType);
    if (!mTemporaryTransaction)
        return;
    if (mTransaction) {
        mTemporaryTransaction->setEqualToTransaction(*mTransaction);
        if (mDialogAction != kActionModify) {
            // A copy is booked today, and its lines in another currency (a
            // share's, a foreign account's) are converted at today's rate when
            // it is made: the sheet shows and checks them so, or a copy that
            // balanced at the rate of its old day would be booked unbalanced.
            // A copy of today's transaction too: its lines may still hold the
            // rate they were booked at before today's rate was changed.
            Dictionary today = mTemporaryTransaction->dictionaryRepresentation();
            today.set(std::string(transaction_key::kDate), static_cast<long>(CDate::GetNowAsDateT()));
            mTemporaryTransaction->initAsNewBookingFromDictionary(today);
        }
        return;
    }
    std::shared_ptr<CAcnTItem> from = parameters.itemAs<CAcnTItem>(key::kFromAccount);
    const std::shared_ptr<CAcnTItem> to = parameters.itemAs<CAcnTItem>(key::kToAccount);
    const std::shared_ptr<CExpTItem> category = parameters.itemAs<CExpTItem>(key::kExpenseType);
    // Asked for without a starting point, the sheet starts from the books'
    // own account, as Quick Entry does, not from Income to Income.
    if (!from && !to && !category) {
        const long own = book_defaults::ownPropertyAccount(mDocument->books());
        if (own > 0)
            from = mDocument->bridge().getAccountItemForId(static_cast<ObjectIdT>(own));
    }
    if (from)
        mTemporaryTransaction->setInitialFromAccount(*from);
    if (to)
        mTemporaryTransaction->setInitialToAccount(*to);
    if (category)
        mTemporaryTransaction->setInitialExpenseType(*category);
}

bool TransactionEntryLogic::sumsEqual(double x, double y)
{
    const double scale = std::trunc(std::pow(10.0, static_cast<double>(CDecimal::getNrOfDecimals())));
    // A hair above one unit: sums taken from decimal text carry binary noise.
    return std::fabs(x - y) * scale <= 1.0 + 1e-7;
}

std::optional<double> TransactionEntryLogic::restOf(FourCharCode side) const
{
    auto* transaction = mTemporaryTransaction ? static_cast<CTransaction*>(mTemporaryTransaction->getSourceItem())
                                              : nullptr;
    if (!transaction)
        return std::nullopt;
    double fromFluctuation = 0.0, toFluctuation = 0.0, forFluctuation = 0.0;
    const double total = transaction->Get_mLocalAmount();
    if (side == kFromSide || side == kToSide) {
        const double sum = side == kFromSide ? transaction->Get_DebitAmount(fromFluctuation)
                                             : transaction->Get_CreditAmount(toFluctuation);
        if (sumsEqual(total, sum) || total == 0.0)
            return std::nullopt;
        return total - sum;
    }
    transaction->Get_DebitAmount(fromFluctuation);
    transaction->Get_CreditAmount(toFluctuation);
    transaction->Get_ExpenseTypeAmount(forFluctuation);
    const double moved = fromFluctuation + toFluctuation;
    if (sumsEqual(moved, forFluctuation))
        return std::nullopt;
    return std::fabs(moved - forFluctuation);
}

CDebit* TransactionEntryLogic::appendLine(FourCharCode side, double amount)
{
    auto* transaction = mTemporaryTransaction ? static_cast<CTransaction*>(mTemporaryTransaction->getSourceItem())
                                              : nullptr;
    if (!transaction)
        return nullptr;
    if (side == kFromSide)
        return transaction->Add_Debit(LArray::kLastIndex, false, amount);
    if (side == kToSide)
        return transaction->Add_Credit(LArray::kLastIndex, false, amount);
    if (side == kForSide) {
        // On the sheet's own transaction the model would propose unspecified
        // income; a line added by hand starts where the completion's does.
        CDebit* line = transaction->Add_ExpenseType(LArray::kLastIndex, false, amount);
        if (line)
            transaction->Set_ExpenseType_Account(
                static_cast<CExptypeDetail*>(line),
                static_cast<ObjectIdT>(book_defaults::unspecifiedExpenseCategory(mDocument->books())));
        return line;
    }
    return nullptr;
}

void TransactionEntryLogic::announceLines(FourCharCode side)
{
    if (side == kFromSide)
        mTemporaryTransaction->setMFromList();
    else if (side == kToSide)
        mTemporaryTransaction->setMToList();
    else
        mTemporaryTransaction->setMForList();
}

bool TransactionEntryLogic::completeSide(FourCharCode side)
{
    const std::optional<double> rest = restOf(side);
    if (!rest)
        return false;
    appendLine(side, *rest);
    announceLines(side);
    return true;
}

void TransactionEntryLogic::addLineProposingTheRest(FourCharCode side)
{
    if (appendLine(side, restOf(side).value_or(0.0)))
        announceLines(side);
}

void TransactionEntryLogic::rebalanceCategories()
{
    if (!mTemporaryTransaction)
        return;
    mTemporaryTransaction->balanceExpenseTypes();
    mTemporaryTransaction->setMForList();
}

bool TransactionEntryLogic::checkContents(std::string_view name) const
{
    if (!mTemporaryTransaction)
        return false;
    if (name.empty()) {
        CErrorManager::RaiseError(202);
        return false;
    }
    const auto currency = mTemporaryTransaction->mCurrencyId();
    if (!currency || *currency == 0) {
        CErrorManager::RaiseError(253);
        return false;
    }
    if (mDialogAction != kActionCreate && mTransaction) {
        if (mTransaction->isOnModifiedForeignCurrency()) {
            CErrorManager::RaiseError(236);
            return false;
        }
        if (mTransaction->isBlocked()) {
            CErrorManager::RaiseError(137);
            return false;
        }
    }
    return mTemporaryTransaction->validate();
}

void TransactionEntryLogic::dialogClosed(int returnCode)
{
    if (returnCode <= 0 || !mDocument || !mTemporaryTransaction)
        return;
    arguments::CTransactionArguments arguments;
    arguments.mTransactionDictionary = mTemporaryTransaction->dictionaryRepresentation();
    if (mDialogAction == kActionModify) {
        if (mTransaction) {
            // The sheet shows no link to an invoice or credit note: a payment
            // modified here stays linked to what it pays.
            arguments.mTransactionDictionary->set(std::string(transaction_key::kReferenceObjectId),
                                                  mTransaction->mReferenceObjectId().value_or(-1));
            mDocument->commands().executeCommand(command::kModifyTransaction, mTransaction, &arguments);
        }
    } else if (mDialogAction == 0 || mDialogAction == kActionCreate) {
        const bool isRecurring = std::dynamic_pointer_cast<CRcrTItem>(mTemporaryTransaction) != nullptr;
        mDocument->commands().executeCommand(isRecurring ? command::kNewRecurringTransaction
                                                         : command::kNewTransaction,
                                             nullptr, &arguments);
    }
    mDocument->refreshAnalysisArrays();
}

} // namespace ch

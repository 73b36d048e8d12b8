#include "document/TransactionOperationsOfDocument.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "bridge/CRcrTItem.h"
#include "bridge/CTrnSItem.h"
#include "document/DocumentNotifications.h"
#include "document/MyDocument.h"
#include "model/CDocAccounting.h"
#include "model/CRecurringTransaction.h"
#include "model/CTransaction.h"

namespace ch {

CommandOutcome TransactionOperationsOfDocument::makeNewTransactionFromTransactionDictionaryRepresentation(
    const Dictionary& transaction, bool linked)
{
    CDocAccounting& root = *mDocument.accounting();
    auto type = static_cast<EnumT>(transaction[transaction_key::kTransactionType].toInt());
    CTransaction* made = root.InsertTransaction(1, 0, type);
    if (!made) return CommandOutcome::unchanged();
    if (!linked) root.UnlinkTrans(made);
    std::shared_ptr<CTrnSItem> item = mDocument.dataItemController().transactionItemForTrnS(made);
    item->initWithDictionaryRepresentation(transaction);
    item->setNewThisSession(true);
    if (!linked) {
        // The insertion put it at the top of the posted ones; it is not posted.
        std::erase(mDocument.mTransactionArray(), item);
        auto& unlinked = mDocument.mUnlinkedTransactionArray();
        unlinked.insert(unlinked.begin(), item);
    }
    mDocument.notificationCenter().post(GXCTransactionCreatedNotification, item);
    return CommandOutcome::changed(-1);
}

CommandOutcome TransactionOperationsOfDocument::updateTransaction(CTrnSItem& transaction, const Dictionary& values)
{
    std::shared_ptr<CNonVisualDataItem> item = transaction.shared_from_this();
    mDocument.notificationCenter().post(GXCTransactionWillBeModifiedNotification, item);
    transaction.initWithDictionaryRepresentation(values);
    transaction.setModifiedThisSession(true);
    mDocument.notificationCenter().post(GXCTransactionModifiedNotification, item);
    if (auto* recurring = dynamic_cast<CRcrTItem*>(&transaction)) generateDue(*recurring);
    return CommandOutcome::changed(-1);
}

CommandOutcome TransactionOperationsOfDocument::makeNewrecurringTrnsFromTransactionDictionary(
    const Dictionary& transaction)
{
    CRecurringTransaction* made = mDocument.accounting()->InsertRecurringTransaction(1, 1);
    if (!made) return CommandOutcome::unchanged();
    std::shared_ptr<CRcrTItem> item = mDocument.dataItemController().transactionItemForRcrT(made);
    item->initWithDictionaryRepresentation(transaction);
    auto& recurring = mDocument.mRecurringTransactionArray();
    recurring.insert(recurring.begin(), item);
    mDocument.notificationCenter().post(GXCTransactionCreatedNotification, item);
    generateDue(*item);
    return CommandOutcome::changed(-1);
}

void TransactionOperationsOfDocument::generateDue(CRcrTItem& recurring)
{
    auto* schedule = dynamic_cast<CRecurringTransaction*>(recurring.getSourceItem());
    if (!schedule) return;
    std::vector<CTransaction*> made;
    schedule->GenerateAtMost(CRecurringTransaction::kMaxCopiesPerRun, &made);
    std::vector<std::shared_ptr<CTrnSItem>> items;
    std::vector<std::shared_ptr<CTrnSItem>> waiting;
    for (CTransaction* transaction : made) {
        std::shared_ptr<CTrnSItem> item = mDocument.dataItemController().transactionItemForTrnS(transaction);
        item->setNewThisSession(true);
        items.push_back(item);
        if (transaction->Get_ObjectStatus() == status::kUnlinked) waiting.push_back(item);
    }
    // Every copy joined the posted list as the model made it, newest first;
    // those waiting to be booked move to the unlinked list, in one pass.
    if (!waiting.empty()) {
        const std::unordered_set<const CTrnSItem*> moving = [&] {
            std::unordered_set<const CTrnSItem*> set;
            for (const auto& item : waiting) set.insert(item.get());
            return set;
        }();
        std::erase_if(mDocument.mTransactionArray(), [&](const auto& item) { return moving.contains(item.get()); });
        auto& unlinked = mDocument.mUnlinkedTransactionArray();
        unlinked.insert(unlinked.begin(), waiting.rbegin(), waiting.rend());
    }
    // One copy is announced with its item, several at once, as an import is.
    if (items.size() == 1) mDocument.notificationCenter().post(GXCTransactionCreatedNotification, items.front());
    else if (!items.empty()) mDocument.notificationCenter().post(GXCTransactionCreatedNotification);
}

CommandOutcome TransactionOperationsOfDocument::performLinkTransaction(CTrnSItem& transaction)
{
    auto* model = static_cast<CTransaction*>(transaction.getSourceItem());
    if (!mDocument.accounting()->LinkTrans(model)) return CommandOutcome::unchanged();
    auto item = std::static_pointer_cast<CTrnSItem>(transaction.shared_from_this());
    std::erase(mDocument.mUnlinkedTransactionArray(), item);
    mDocument.notificationCenter().post(GXCTransactionLinkedNotification, transaction.shared_from_this());
    return CommandOutcome::changed(-1);
}

} // namespace ch

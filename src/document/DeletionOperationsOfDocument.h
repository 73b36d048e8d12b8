#pragma once
// The document's deletion family (command 28). Each asks question 226 first
// (a posted transaction only when asked to), announces the deletion with the
// item before and with the object's key after it, and keeps the cached
// arrays in step. A refusal by the model leaves everything as it was,
// announced only before. The document's sender asks every question first
// (confirmDeletion) and runs the command with its questions answered, so
// that a journaled deletion is one the person confirmed and its replay asks
// nothing.

#include <optional>

#include "document/DocumentOperations.h"

namespace ch {

class MyDocument;

// The questions the deletion of the item's object asks (226; for an account,
// or a share whose portfolio account goes with it, with bookings also 261,
// after the model's checks of the account; a posted
// transaction only when withAsking), and the error of an owner whose
// accounts may not go (269): whether the deletion may go ahead.
bool confirmDeletion(CNonVisualDataItem& item, bool withAsking);

class DeletionOperationsOfDocument : public DeletionOperations {
public:
    explicit DeletionOperationsOfDocument(MyDocument& document) : mDocument(document) {}

    CommandOutcome performDeleteCurrency(CCurRItem& currency) override;
    CommandOutcome performDeleteAccount(CAcnTItem& account) override;
    CommandOutcome performDeleteAccountType(CAccTItem& type) override;
    CommandOutcome performDeleteRecurringTransaction(CRcrTItem& transaction) override;
    CommandOutcome performDeleteMasterExpenseType(CMxpTItem& group) override;
    CommandOutcome performDeleteExpenseType(CExpTItem& category) override;
    // Error 269 when the owner's accounts may not go; otherwise, after one
    // question, the owner's accounts go first, without further questions.
    CommandOutcome performDeleteOwner(CAcoWItem& owner) override;
    CommandOutcome performDeleteUnlinkedTransaction(CTrnSItem& transaction) override;
    CommandOutcome performDeleteTransaction(CTrnSItem& transaction, bool withAsking) override;

    // An account, without a question.
    CommandOutcome performDeleteAccountSelf(CAcnTItem& account);

private:
    // Before, the model's deletion, after; whether the object went.
    bool deleteAnnounced(CNonVisualDataItem& item, const char* willBeDeleted, const char* deleted);
    bool removeTransaction(CTrnSItem& transaction);
    // Deletes the share's portfolio account (held in the share) ahead of the
    // share: whether it went (false: it has none); none when refused, the
    // account kept.
    std::optional<bool> takePortfolioAlong(CCurRItem& share);

    MyDocument& mDocument;
};

} // namespace ch

#pragma once
// The document's operations of commands 23 to 25 and 29: a transaction or a
// recurring transaction is made in the model and filled from its dictionary
// by its item; an existing one is refilled; an unlinked one is posted.

#include "document/DocumentOperations.h"

namespace ch {

class CRcrTItem;
class MyDocument;

class TransactionOperationsOfDocument : public TransactionOperations {
public:
    explicit TransactionOperationsOfDocument(MyDocument& document) : mDocument(document) {}

    // A new transaction of the dictionary's type; an unlinked one (not
    // linked) goes to the front of the unlinked array. "TRANSACTIONCREATED".
    CommandOutcome makeNewTransactionFromTransactionDictionaryRepresentation(const Dictionary& transaction,
                                                                            bool linked) override;
    // "TRANSACTIONWILLBEMODIFIED", the new values, "TRANSACTIONMODIFIED".
    // A recurring transaction then makes what has fallen due under its
    // new schedule.
    CommandOutcome updateTransaction(CTrnSItem& transaction, const Dictionary& values) override;
    // A new recurring transaction at the front of the recurring array; it
    // makes at once what has fallen due since its date.
    CommandOutcome makeNewrecurringTrnsFromTransactionDictionary(const Dictionary& transaction) override;
    // Posts it; on success it leaves the unlinked array.
    CommandOutcome performLinkTransaction(CTrnSItem& transaction) override;

private:
    // The transactions due from the template, each booked or left waiting
    // as the template says, in the matching array and announced with
    // "TRANSACTIONCREATED".
    void generateDue(CRcrTItem& recurring);

    MyDocument& mDocument;
};

} // namespace ch

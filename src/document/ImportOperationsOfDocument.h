#pragma once
// The document's operation of command 31: one statement line becomes a
// transaction of the model (unlinked when it cannot be booked); a transfer
// found posted already is updated instead of booked again.

#include "document/DocumentOperations.h"

namespace ch {

class MyDocument;

class ImportOperationsOfDocument : public ImportOperations {
public:
    explicit ImportOperationsOfDocument(MyDocument& document) : mDocument(document) {}

    // The transaction's id; -1 when the model made none (an amount of 0).
    CommandOutcome importTransactionWithArguments(const arguments::ImportTransactionArguments& args) override;

private:
    MyDocument& mDocument;
};

} // namespace ch

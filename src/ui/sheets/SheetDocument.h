#pragma once
// The document as its sheets see it: its model and items, the command sink
// that runs what a sheet ends in, the empty transactions the transaction
// sheet edits, and the few things a sheet asks the document to do after its
// command. It is also the default receiver of the sheets' call-backs.
//
// The document implements it (its command executor as the sink); tests use a
// stand-in over a model of their own.

#include <memory>

#include "ui/sheets/SheetParameters.h"

namespace ch {

class BridgeDocument;
class CDocAccounting;
class CRcrTItem;
class CTrnSItem;
class CommandSink;

class SheetDocument : public CallbackReceiver {
public:
    virtual BridgeDocument& bridge() = 0;
    virtual CommandSink& commands() = 0;
    // The model root; null only while the document is not set up.
    CDocAccounting* books();

    // A new item over a transaction of the type (a recurring transaction)
    // that is in no list; the item owns it.
    virtual std::shared_ptr<CTrnSItem> makeEmptyTransactionOfType(int type) = 0;
    virtual std::shared_ptr<CRcrTItem> makeEmptyRecurringTransaction() = 0;

    // The pages' booking-line lists are built again.
    virtual void refreshAnalysisArrays() {}
    // The waiting statement lines are matched again after one was completed.
    virtual void completeBankImport() {}
    // Marks the document changed.
    void updateChangeCount();

    // The document's own call-backs ("synchronizeTableCallback:"); none here.
    bool performCallback(std::string_view, const std::shared_ptr<Dictionary>&) override { return false; }
};

} // namespace ch

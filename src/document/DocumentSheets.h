#pragma once
// The sheets the document opens for its items and pages. The window supplies
// them; a document without a window opens nothing.

#include <memory>

namespace ch {

class CNonVisual;
class CTrnSItem;

class DocumentSheets {
public:
    virtual ~DocumentSheets() = default;

    // The transaction entry sheet (the recurring one when asked), for a new
    // transaction (action 1) or for the given one (action 2); the accounts
    // and category (any may be null) fill it.
    virtual void askTransactionInput(const std::shared_ptr<CTrnSItem>& transaction, CNonVisual* fromAccount,
                                     CNonVisual* toAccount, CNonVisual* expenseType, int type, int action,
                                     bool isRecurring) = 0;
};

// No window: nothing opens.
class NullDocumentSheets final : public DocumentSheets {
public:
    void askTransactionInput(const std::shared_ptr<CTrnSItem>&, CNonVisual*, CNonVisual*, CNonVisual*, int, int,
                             bool) override
    {
    }
};

} // namespace ch

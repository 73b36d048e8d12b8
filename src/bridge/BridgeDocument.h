#pragma once
// The document as its bridge items see it: the model root, the document's own
// notification centre (notifications of one document never reach another's
// observers), its item registry, and the look-ups and sheets the items ask
// the document for. The document implements it; tests use a small fake.
//
// The document also receives model messages through a listener bridge, as the
// DocumentServices and MessageReceiver it is.

#include <cstdint>
#include <memory>
#include <vector>

#include "bridge/CListenerBridge.h"
#include "model/DocumentServices.h"
#include "model/foundation/ModelTypes.h"

namespace ch {

class CAccTItem;
class CAcnTItem;
class CAcoWItem;
class CCurRItem;
class CNonVisual;
class CNonVisualDataItem;
class CNonVisualDataItemController;
class CRcrTItem;
class CTrnSItem;
class ContactsProvider;
class InvoiceHooks;
class NotificationCenter;

class BridgeDocument : public DocumentServices, public MessageReceiver {
public:
    ~BridgeDocument() override;

    // The centre of this document's model, bridge and document notifications.
    virtual NotificationCenter& notificationCenter() = 0;
    // The document's item registry.
    virtual CNonVisualDataItemController& dataItemController() = 0;

    // The registry's item of the home currency; null when the model has none.
    virtual std::shared_ptr<CCurRItem> getHomeCurrency() = 0;
    // The registry's item of the object with the id; null when there is none.
    virtual std::shared_ptr<CAcnTItem> getAccountItemForId(ObjectIdT id) = 0;
    virtual std::shared_ptr<CAccTItem> getAccountTypeItemForId(ObjectIdT id) = 0;
    virtual std::shared_ptr<CAcoWItem> getAccountOwnerItemForId(ObjectIdT id) = 0;
    // The transaction item registered under 'TrnS' and the id; null when none
    // is, or when its transaction went.
    virtual std::shared_ptr<CTrnSItem> getTransactionForId(ObjectIdT id) = 0;
    // The items of all accounts, in the order of the model's account list.
    virtual std::vector<std::shared_ptr<CAcnTItem>> allAccounts() = 0;

    // Opens the transaction entry sheet (the recurring one when asked) filled
    // with the accounts and category given (any may be null).
    virtual void askTransactionInput(CNonVisual* fromAccount, CNonVisual* toAccount,
                                     CNonVisual* expenseType, int type, int action,
                                     bool isRecurring) = 0;
    // Opens the sheet that modifies the transaction of the item.
    virtual void doModifyTransactionDialog(const std::shared_ptr<CTrnSItem>& item) = 0;
    // A new recurring transaction in no list, for a create sheet; the item
    // owns it.
    virtual std::shared_ptr<CRcrTItem> makeEmptyRecurringTransaction() = 0;
    // Deletes the item's model object directly (no command, no journal) and
    // answers whether the model deleted it.
    virtual bool deleteObject(const std::shared_ptr<CNonVisualDataItem>& item) = 0;

    // The invoices of the business bookkeeping; here: none (NullInvoiceHooks).
    virtual InvoiceHooks& invoiceHooks();
    // The people owners link to; here: none.
    virtual const ContactsProvider* contacts() const { return nullptr; }
    // Reads the people again where they are kept, since other programs edit
    // them; here: nothing.
    virtual void reloadContacts() {}

    // Every kept list of booking lines (the analysis lists of the document's
    // items, CAnalysisArrayEncaplusator) is built again when next read.
    void refreshAnalysisArrays() { ++mAnalysisGeneration; }
    // Counts those refreshes; a list built before the last one is stale.
    std::uint64_t analysisGeneration() const { return mAnalysisGeneration; }

private:
    std::uint64_t mAnalysisGeneration = 0;
};

} // namespace ch

#pragma once
// The document as the business bookkeeping sees it: the document of the
// bridge items (model root, item registry, notifications, change mark), its
// five business arrays, its settings item, and the document operations that
// make and delete accounts and categories directly, without a command, so
// that creating or deleting a VAT rate stays one journal entry.
//
// The document implements it; the tests use a small stand-in.

#include <cstdint>
#include <memory>

#include "model/foundation/ModelTypes.h"

namespace ch {
class BridgeDocument;
class CAcnTItem;
class CPrfRItem;
class CTrnSItem;
namespace arguments {
class AccountArguments;
class CategoryParameters;
} // namespace arguments
} // namespace ch

namespace ch::business {

struct BusinessArrays;

// The counters a set of books numbers its VAT rates, VAT periods and invoices
// from: the books' own, so that a journal replayed onto them gives what it
// makes the ids it had, whatever other books were open.
struct BusinessIdCounters {
    std::int32_t VATRates = 0;
    std::int32_t VATPeriods = 0;
    std::int32_t invoices = 0;
};

class BusinessDocument {
public:
    virtual ~BusinessDocument();

    BusinessIdCounters& businessIds() { return mBusinessIds; }
    const BusinessIdCounters& businessIds() const { return mBusinessIds; }

    virtual BridgeDocument& bridgeDocument() = 0;
    virtual BusinessArrays& businessArrays() = 0;
    // The item of the document's settings record; null while it has none.
    virtual CPrfRItem* preferenceItem() = 0;

    // A new account or category from the arguments; its id, negative when
    // none was made.
    virtual ObjectIdT createAccountWithArguments(const arguments::AccountArguments& arguments) = 0;
    virtual ObjectIdT createCategoryWithArguments(const arguments::CategoryParameters& arguments) = 0;
    // Deletes the account without asking whether to (the model may still ask
    // before it deletes the account's transactions); whether it was deleted.
    virtual bool performDeleteAccountSelf(const std::shared_ptr<CAcnTItem>& account) = 0;
    // Posts an unlinked transaction ("TRANSACTIONLINKEDNOTIFICATION");
    // whether the model posted it.
    virtual bool performLinkTransaction(CTrnSItem& transaction);

private:
    BusinessIdCounters mBusinessIds;
};

} // namespace ch::business

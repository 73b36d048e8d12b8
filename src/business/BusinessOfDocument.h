#pragma once
// The business bookkeeping of one open document: its five business arrays,
// and the document as the business operations see it. The document owns it
// (installBusiness puts it there) and outlives it.
//
// Accounts and categories a VAT rate needs are made and deleted through the
// document's own chart and deletion operations, directly and without a
// command, so that creating or deleting a rate stays one journal entry.

#include <memory>
#include <string_view>

#include "business/BusinessArrays.h"
#include "business/BusinessDocument.h"
#include "document/ChartOperationsOfDocument.h"
#include "document/DeletionOperationsOfDocument.h"
#include "document/DocumentBusiness.h"
#include "platform/core/observable.h"

namespace ch {
class MyDocument;
}

namespace ch::business {

class BusinessOfDocument final : public DocumentBusiness, public BusinessDocument {
public:
    explicit BusinessOfDocument(MyDocument& document);
    ~BusinessOfDocument() override;

    // --- the document's view
    std::shared_ptr<ch::GXNonVisual> VATRateWithId(ObjectIdT id, bool alwaysReturnOne) override;
    // The current and the previous VAT period.
    void setUpNewDocument() override;
    PlistOutput archiveBytes() const override;
    // A readable VAT-period array is checked for the current and previous
    // period on the next pass of the event loop; what could not be read goes
    // to the developer log.
    long readArchive(std::string_view bytes) override;
    // The VAT rate whose accounts or category it is.
    std::optional<std::string> userOfAccount(ObjectIdT id) const override;
    std::optional<std::string> userOfCategory(ObjectIdT id) const override;
    // Invoices drop those payments; a VAT period closed by one of them is
    // closed no more.
    void transactionsDeleted(const std::vector<ObjectIdT>& ids) override;

    // --- the business operations' view
    BridgeDocument& bridgeDocument() override;
    BusinessArrays& businessArrays() override { return mArrays; }
    CPrfRItem* preferenceItem() override;
    ObjectIdT createAccountWithArguments(const arguments::AccountArguments& arguments) override;
    ObjectIdT createCategoryWithArguments(const arguments::CategoryParameters& arguments) override;
    bool performDeleteAccountSelf(const std::shared_ptr<CAcnTItem>& account) override;
    bool performLinkTransaction(CTrnSItem& transaction) override;
    ch::InvoiceHooks* invoiceHooks() override;

private:
    MyDocument& mDocument;
    BusinessArrays mArrays;
    ChartOperationsOfDocument mChart;
    DeletionOperationsOfDocument mDeletion;
    Subscription mPeriodCheck;
    std::unique_ptr<ch::InvoiceHooks> mInvoiceHooks;
};

} // namespace ch::business

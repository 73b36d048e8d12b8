#include "business/BusinessOfDocument.h"

#include <algorithm>
#include <chrono>

#include "bridge/CAcnTItem.h"
#include "bridge/CPrfRItem.h"
#include "bridge/DeveloperLog.h"
#include "business/BusinessArchive.h"
#include "business/BusinessArchiveChecks.h"
#include "business/GXInvoice.h"
#include "business/GXVATPeriod.h"
#include "business/GXVATRate.h"
#include "business/InvoiceHooksOfDocument.h"
#include "business/InvoiceNumbers.h"
#include "business/VATPeriods.h"
#include "business/VATRates.h"
#include "document/MyDocument.h"
#include "platform/core/dispatcher.h"

namespace ch::business {

BusinessOfDocument::BusinessOfDocument(MyDocument& document)
    : mDocument(document), mChart(document), mDeletion(document),
      mInvoiceHooks(std::make_unique<InvoiceHooksOfDocument>(*this))
{
}

BusinessOfDocument::~BusinessOfDocument() = default;

std::shared_ptr<ch::GXNonVisual> BusinessOfDocument::VATRateWithId(ObjectIdT id, bool alwaysReturnOne)
{
    return business::VATRateWithId(*this, id, alwaysReturnOne);
}

void BusinessOfDocument::setUpNewDocument()
{
    initializeBusinessObjectsOfNewDocument(*this);
}

PlistOutput BusinessOfDocument::archiveBytes() const
{
    return encodeBusinessArchive(mArrays, &businessIds());
}

long BusinessOfDocument::readArchive(std::string_view bytes)
{
    // The arrays read replace those held: so do their counters, which
    // reading raises to the ids read.
    businessIds() = BusinessIdCounters{};
    BusinessArchiveContents contents = decodeBusinessArchive(bytes, this);
    // Saved by this program, as the checksum shows, the arrays may name what
    // was deleted since; without it, what they name is all there is to tell
    // damage by.
    const CDocAccounting* books = mDocument.accounting();
    if (books && !bytes.empty() && !contents.matchesChecksum) {
        const std::string names = namesMissingFromBooks(contents.arrays, *books);
        if (!names.empty()) {
            contents.warning = kIncompleteBusinessArchiveWarning;
            contents.problem += (contents.problem.empty() ? "" : "; ") + names;
        }
    }
    mArrays = std::move(contents.arrays);
    // Reading raised the counters to the ids read; those of objects deleted
    // before the save were higher, and a replayed journal names them.
    if (contents.counters) {
        BusinessIdCounters& ids = businessIds();
        ids.VATRates = std::max(ids.VATRates, contents.counters->VATRates);
        ids.VATPeriods = std::max(ids.VATPeriods, contents.counters->VATPeriods);
        ids.invoices = std::max(ids.invoices, contents.counters->invoices);
    }
    removeDuplicateInvoices(*this);
    if (!contents.complete())
        developerLog("The business archive could not be read completely (" + contents.problem + ")");
    if (contents.checkVATPeriods)
        mPeriodCheck = mDocument.dispatcher().callAfter(std::chrono::milliseconds(0), [this] {
            // Every opening makes the periods of today when they are missing:
            // part of opening, not an edit, so an opened document stays clean.
            const bool edited = mDocument.isDocumentEdited();
            initializeVATPeriods(*this);
            if (!edited) mDocument.clearChangeCount();
        });
    return contents.warning;
}

std::optional<std::string> BusinessOfDocument::userOfAccount(ObjectIdT id) const
{
    for (const std::shared_ptr<GXVATRate>& rate : mArrays.VATRateArray) {
        if (!rate) continue;
        for (const std::optional<long>& used : {rate->accountIdPaid(), rate->accountIdReceived(),
                                                rate->accountIdReconciled()})
            if (used && *used == id) return rate->name().value_or("");
    }
    return std::nullopt;
}

std::optional<std::string> BusinessOfDocument::userOfCategory(ObjectIdT id) const
{
    for (const std::shared_ptr<GXVATRate>& rate : mArrays.VATRateArray)
        if (rate && rate->categoryInvoicedNotYetReceived() == id) return rate->name().value_or("");
    return std::nullopt;
}

BridgeDocument& BusinessOfDocument::bridgeDocument()
{
    return mDocument;
}

CPrfRItem* BusinessOfDocument::preferenceItem()
{
    return mDocument.mPreference().get();
}

ObjectIdT BusinessOfDocument::createAccountWithArguments(const arguments::AccountArguments& arguments)
{
    return mChart.createAccount(arguments).result;
}

ObjectIdT BusinessOfDocument::createCategoryWithArguments(const arguments::CategoryParameters& arguments)
{
    return mChart.createCategory(arguments).result;
}

void BusinessOfDocument::transactionsDeleted(const std::vector<ObjectIdT>& ids)
{
    auto gone = [&ids](const std::optional<long>& id) {
        return id && std::find(ids.begin(), ids.end(), static_cast<ObjectIdT>(*id)) != ids.end();
    };
    for (const auto* invoices : {&mArrays.customerInvoiceArray, &mArrays.supplierInvoiceArray})
        for (const std::shared_ptr<GXInvoice>& invoice : *invoices)
            if (invoice)
                std::erase_if(invoice->paymentTransactionIdArray(), [&gone](long id) { return gone(id); });
    for (const std::shared_ptr<GXVATPeriod>& period : mArrays.VATPeriodArray)
        if (period && gone(period->closingTransactionId())) {
            period->setClosingTransactionId(std::nullopt);
            period->setClosingDate(std::nullopt);
        }
}

bool BusinessOfDocument::performDeleteAccountSelf(const std::shared_ptr<CAcnTItem>& account)
{
    return account && mDeletion.performDeleteAccountSelf(*account).changedBooks;
}

} // namespace ch::business

namespace ch::business {

bool BusinessOfDocument::performLinkTransaction(CTrnSItem& transaction)
{
    return mDocument.operations().transactions->performLinkTransaction(transaction).changedBooks;
}

ch::InvoiceHooks* BusinessOfDocument::invoiceHooks()
{
    return mInvoiceHooks.get();
}

} // namespace ch::business

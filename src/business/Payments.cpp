#include "business/Payments.h"

#include <algorithm>
#include <cmath>

#include "bridge/BridgeDocument.h"
#include "bridge/CAcoWItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CNonVisualDataItemController.h"
#include "bridge/CPrfRItem.h"
#include "bridge/CTrnSItem.h"
#include "bridge/DeveloperLog.h"
#include "business/BookingLines.h"
#include "business/BusinessDocument.h"
#include "business/GXInvoice.h"
#include "business/InvoiceNumbers.h"
#include "business/PaymentArguments.h"
#include "document/DocumentNotifications.h"
#include "model/CCurrency.h"
#include "model/CDocAccounting.h"
#include "model/CNamedListArray.h"
#include "model/CTransaction.h"
#include "model/CTransactionArray.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"
#include "platform/core/notification_center.h"

namespace ch::business {

namespace {

using namespace transaction_types;

// The owner named, else the customer (supplier) of the invoice's open-invoice line.
std::shared_ptr<CAcoWItem> ownerOfPayment(BusinessDocument& document, CTrnSItem* invoice,
                                          const std::optional<long>& ownerId, bool asReceivable)
{
    if (ownerId)
        return document.bridgeDocument().getAccountOwnerItemForId(static_cast<ObjectIdT>(*ownerId));
    if (!invoice) return nullptr;
    std::shared_ptr<CDebetItem> line =
        CTrnSItem::getMostImportantDebetItem(asReceivable ? invoice->mToList() : invoice->mFromList());
    if (!line) return nullptr;
    const long account = line->account().value_or(0);
    return asReceivable ? getCustomerForOpenInvoiceAccountId(document, account)
                        : getSupplierForOpenInvoiceAccountId(document, account);
}

void postLinkChange(BusinessDocument& document, CTrnSItem& invoice)
{
    const int type = invoice.mTransactionType();
    const char* name = type == kCustomerInvoice   ? GXCCustomerPaymentsUnlinkedOrLinkedNotification
                       : type == kSupplierInvoice ? GXCSupplierPaymentsUnlinkedOrLinkedNotification
                                                  : GXCPaymentsUnlinkedOrLinkedNotification;
    document.bridgeDocument().notificationCenter().post(name, invoice.shared_from_this());
}

std::shared_ptr<GXInvoice> extensionOf(BusinessDocument& document, CTrnSItem& invoice)
{
    return invoiceForTransaction(document, invoice);
}

std::string_view trimmedReference(std::string_view text)
{
    auto trimmable = [](char c) { return c == '/' || c == '+' || c == '-' || c == ' '; };
    while (!text.empty() && trimmable(text.front())) text.remove_prefix(1);
    while (!text.empty() && trimmable(text.back())) text.remove_suffix(1);
    return text;
}

// A linked payment's lines carry its share of the invoice's VAT. After a
// split the part that stays linked carries the share it settles, and the
// unlinked leftover only its amount, on the payment's own category.
void rebookSplitOfLinkedPayment(BusinessDocument& document, CTrnSItem& payment, CTrnSItem& leftover)
{
    const long reference = payment.mReferenceObjectId().value_or(-1);
    if (reference <= 0) return;
    std::shared_ptr<CTrnSItem> invoice =
        document.bridgeDocument().getTransactionForId(static_cast<ObjectIdT>(reference));
    const LineItemArray categories = payment.mForList();
    if (!invoice || categories.size() < 2) return;
    const long own = categories.front()->account().value_or(0);
    const long currency = homeCurrencyId(document);
    Array single{lineDictionary(kCategoryLine, own, currency, leftover.mLocalAmount().value_or(0.0))};
    leftover.updateDetailsWithDictionaries(leftover.mForList(), &single);
    rebookLinkedPayment(document, *invoice, payment, own);
    invoice->setUnaccountedForAmount();
}

} // namespace

long createPaymentForInvoice(BusinessDocument& document, CTrnSItem* invoice, const PaymentValues& values,
                             bool asReceivable)
{
    std::shared_ptr<CTrnSItem> payment =
        insertTransactionOfType(document, asReceivable ? kCustomerPayment : kSupplierPayment);
    if (!payment) return -1;
    std::shared_ptr<CAcoWItem> owner = ownerOfPayment(document, invoice, values.ownerId, asReceivable);
    if (!owner || !bookPaymentFromOwner(document, *payment, *owner, invoice, values, asReceivable)) {
        developerLog("customer expected");
        document.bridgeDocument().deleteObject(payment);
        return -1;
    }
    payment->setNewThisSession(true);
    NotificationCenter& centre = document.bridgeDocument().notificationCenter();
    centre.post(GXCCustomerPaymentCreatedNotification, payment);
    centre.post(GXCTransactionCreatedNotification, payment);
    return payment->getId().value_or(-1);
}

bool bookPaymentFromOwner(BusinessDocument& document, CTrnSItem& payment, CAcoWItem& owner, CTrnSItem* invoice,
                          const PaymentValues& values, bool asReceivable)
{
    if (!invoice) payment.setMReferenceObjectId(std::nullopt);
    double gross = 0.0;
    double main = 0.0;
    if (values.amount) {
        gross = main = *values.amount;
    } else if (invoice) {
        gross = invoice->mLocalAmount().value_or(0.0);
        main = localAmountOf(
            CTrnSItem::getMostImportantDebetItem(asReceivable ? invoice->mFromList() : invoice->mToList()));
    }
    const double difference = gross - main;

    if (values.name) payment.setGetName(values.name);
    else if (invoice) {
        const std::optional<std::string> number = invoice->mDocumentRef();
        payment.setGetName(localized("PAYMENT") + " " +
                           (number && !number->empty() ? *number : invoice->getName()));
    }
    if (invoice) payment.setMDescription(invoice->mDescription());
    payment.setMDate(values.date ? values.date : (invoice ? invoice->mDate() : std::nullopt));
    if (values.documentReference) payment.setMDocumentRef(values.documentReference);
    else if (invoice) payment.setMDocumentRef(invoice->paymentReference());
    payment.setMVatNR(owner.VATNr());
    payment.setNewThisSession(true);
    payment.setMTransactionType(asReceivable ? kCustomerPayment : kSupplierPayment);
    payment.setMTotalAmount(gross);

    if (invoice) {
        payment.setMReferenceObjectId(invoice->getId());
        linkPaymentToInvoice(document, *invoice, payment);
    }

    const long currency = homeCurrencyId(document);
    const long ownProperty = document.preferenceItem() ? document.preferenceItem()->mDefAccntOwnProperty() : 0;
    Array from, to, categories;
    if (asReceivable) {
        from.push_back(lineDictionary(kFromLine, owner.openDebitInvoiceAccount().value_or(0), currency, gross));
        to.push_back(lineDictionary(kToLine, ownProperty, currency, gross));
    } else {
        from.push_back(lineDictionary(kFromLine, ownProperty, currency, gross));
        to.push_back(lineDictionary(kToLine, owner.openCreditInvoiceAccount().value_or(0), currency, gross));
    }
    categories.push_back(
        lineDictionary(kCategoryLine, values.categoryId.value_or(0), currency, asReceivable ? main : gross));
    if (asReceivable && invoice && difference != 0.0) {
        const LineItemArray invoiceCategories = invoice->mForList();
        if (invoiceCategories.empty()) {
            CPrfRItem* settings = document.preferenceItem();
            categories.push_back(lineDictionary(
                kCategoryLine, settings ? settings->mVatInvoicedNotYetReceivedExpT() : 0, currency, -difference));
        }
        for (const std::shared_ptr<CDebetItem>& line : invoiceCategories) {
            const long category = line->account().value_or(0);
            if (isExpenseCategory(document, category))
                categories.push_back(lineDictionary(kCategoryLine, category, line->currencyId().value_or(currency),
                                                    -localAmountOf(line)));
        }
    }
    payment.updateDetailsWithDictionaries(payment.mFromList(), &from);
    payment.updateDetailsWithDictionaries(payment.mToList(), &to);
    payment.updateDetailsWithDictionaries(payment.mForList(), &categories);
    return true;
}

bool invoiceCarriesVAT(CTrnSItem& invoice)
{
    const int type = invoice.mTransactionType();
    std::shared_ptr<CDebetItem> main;
    if (type == kCustomerInvoice) main = CTrnSItem::getMostImportantDebetItem(invoice.mFromList());
    else if (type == kSupplierInvoice) main = CTrnSItem::getMostImportantDebetItem(invoice.mToList());
    return invoice.mLocalAmount().value_or(0.0) - localAmountOf(main) != 0.0;
}

int linkPaymentToInvoice(BusinessDocument& document, CTrnSItem& invoice, CTrnSItem& payment)
{
    const long invoiceId = invoice.getId().value_or(-1);
    const long paymentId = payment.getId().value_or(-1);
    // A payment whose share of the VAT cannot be worked out is refused before
    // anything moves: half a link (its reference here, its lines for the
    // invoice it settled before) would disagree with the books.
    if (extensionOf(document, invoice) && invoiceCarriesVAT(invoice) && payment.mForList().size() != 1) return -1;
    // A payment moved from another invoice no longer counts there.
    const long former = payment.mReferenceObjectId().value_or(-1);
    if (former > 0 && former != invoiceId)
        if (std::shared_ptr<CTrnSItem> other = document.bridgeDocument().getTransactionForId(static_cast<ObjectIdT>(former)))
            if (std::shared_ptr<GXInvoice> otherExtension = extensionOf(document, *other)) {
                std::erase(otherExtension->paymentTransactionIdArray(), paymentId);
                other->setUnaccountedForAmount();
            }
    payment.setMReferenceObjectId(invoiceId);
    std::shared_ptr<GXInvoice> extension = extensionOf(document, invoice);
    if (!extension) return 1;
    std::vector<long>& payments = extension->paymentTransactionIdArray();
    if (std::find(payments.begin(), payments.end(), paymentId) == payments.end()) payments.push_back(paymentId);
    invoice.setUnaccountedForAmount();

    const int type = invoice.mTransactionType();
    std::shared_ptr<CDebetItem> main;
    if (type == kCustomerInvoice) main = CTrnSItem::getMostImportantDebetItem(invoice.mFromList());
    else if (type == kSupplierInvoice) main = CTrnSItem::getMostImportantDebetItem(invoice.mToList());
    const double invoiceAmount = invoice.mLocalAmount().value_or(0.0);
    if (invoiceAmount - localAmountOf(main) == 0.0) return 0;

    const LineItemArray categories = payment.mForList();
    if (categories.size() != 1) return -1;
    rebookLinkedPayment(document, invoice, payment, categories.front()->account().value_or(0));
    postLinkChange(document, invoice);
    return 1;
}

double openAmountBeforePayment(BusinessDocument& document, CTrnSItem& invoice, const CTrnSItem& payment)
{
    const std::optional<ObjectIdT> id = invoice.getId();
    double open = std::fabs(invoice.mLocalAmount().value_or(0.0));
    if (!id) return open;
    // Every other payment and credit note that refers to the invoice counts.
    BridgeDocument& books = document.bridgeDocument();
    const CNamedListArray* transactions = books.accounting()->Get_TransactionArray();
    for (ArrayIndexT i = 1; transactions && i <= static_cast<ArrayIndexT>(transactions->GetCount()); ++i) {
        const auto* other = static_cast<const CTransaction*>(transactions->ObjectAt(i));
        if (!other || other->Get_mReferenceObjectId() != *id || other->Get_Id() == payment.getId().value_or(-1))
            continue;
        open -= std::fabs(other->Get_mLocalAmount());
    }
    return std::max(0.0, open);
}

std::optional<std::string> overpaymentNotice(BusinessDocument& document, CTrnSItem& invoice, const CTrnSItem& payment)
{
    if (invoice.mTransactionType() != kCustomerInvoice && invoice.mTransactionType() != kSupplierInvoice)
        return std::nullopt;
    const double paid = std::fabs(payment.mLocalAmount().value_or(0.0));
    const double open = openAmountBeforePayment(document, invoice, payment);
    if (paid <= open + 0.005) return std::nullopt;
    auto amount = [](double value) { return CNSNumberAmountTBridge::NSNumberToNSString(value); };
    const std::optional<std::string> number = invoice.mDocumentRef();
    return formatMessage(localized("PAYMENTLARGERTHANINVOICE"),
                         {amount(paid), number && !number->empty() ? *number : invoice.getName(), amount(open),
                          amount(paid - open)});
}

void rebookLinkedPayment(BusinessDocument& document, CTrnSItem& invoice, CTrnSItem& payment, long categoryId)
{
    const double invoiceAmount = invoice.mLocalAmount().value_or(0.0);
    const double paid = payment.mLocalAmount().value_or(0.0);
    // The payment settles at most what is still open on the invoice: only
    // that share releases the invoice's VAT; what is paid beyond stays on
    // the payment's own category.
    double settled = paid;
    if (invoiceAmount > 0.0 && paid > 0.0) settled = std::min(paid, openAmountBeforePayment(document, invoice, payment));
    // Kept in double: a single-precision share is off by cents on large invoices.
    const double factor = invoiceAmount == 0.0 ? 1.0 : settled / invoiceAmount;
    Array lines = paymentCategoryBookings(document, invoice, categoryId, factor);
    if (lines.empty()) return;
    if (paid != settled)
        if (Dictionary* own = lines.front().asDictionary())
            own->set("Amount", Value(CCurrency::RoundAmount((*own)["Amount"].toDouble() + (paid - settled))));
    payment.updateDetailsWithDictionaries(payment.mForList(), &lines);
    payment.categoryLinesTakeRoundingCent();
}

// Each line is the share of the invoice's line in whole cents: a fraction
// would be added up in another order, and round the other way, when the
// books are read again. The cents the rounding leaves go to the largest
// line once the lines are booked (rebookLinkedPayment).
Array paymentCategoryBookings(BusinessDocument& document, CTrnSItem& invoice, long categoryId, double factor)
{
    auto share = [factor](double amount) { return CCurrency::RoundAmount(amount * factor); };
    Array lines;
    const int type = invoice.mTransactionType();
    if (type == kSupplierInvoice) return lines;
    const long currency = homeCurrencyId(document);
    std::shared_ptr<CDebetItem> main;
    if (type == kCustomerInvoice) main = CTrnSItem::getMostImportantDebetItem(invoice.mFromList());
    const double mainAmount = localAmountOf(main);
    lines.push_back(lineDictionary(kCategoryLine, categoryId, currency, share(mainAmount)));
    const double difference = invoice.mLocalAmount().value_or(0.0) - mainAmount;
    if (difference == 0.0) return lines;
    const LineItemArray invoiceCategories = invoice.mForList();
    if (invoiceCategories.empty()) {
        CPrfRItem* settings = document.preferenceItem();
        lines.push_back(lineDictionary(kCategoryLine, settings ? settings->mVatInvoicedNotYetReceivedExpT() : 0,
                                       currency, share(-difference)));
    } else if (type == kCustomerInvoice) {
        for (const std::shared_ptr<CDebetItem>& line : invoiceCategories) {
            const long category = line->account().value_or(0);
            if (isExpenseCategory(document, category))
                lines.push_back(lineDictionary(kCategoryLine, category, line->currencyId().value_or(currency),
                                               share(-localAmountOf(line))));
        }
    }
    return lines;
}

int unlinkPayment(BusinessDocument& document, CTrnSItem& invoice, CTrnSItem& payment)
{
    if (std::shared_ptr<GXInvoice> extension = extensionOf(document, invoice))
        std::erase(extension->paymentTransactionIdArray(), static_cast<long>(payment.getId().value_or(-1)));
    payment.setMReferenceObjectId(std::nullopt);
    invoice.setUnaccountedForAmount();
    postLinkChange(document, invoice);
    return 1;
}

bool unlinkThisPaymentFromInvoice(BusinessDocument& document, CTrnSItem& payment)
{
    const long reference = payment.mReferenceObjectId().value_or(-1);
    if (reference <= 0) return false;
    std::shared_ptr<CTrnSItem> invoice = document.bridgeDocument().getTransactionForId(static_cast<ObjectIdT>(reference));
    if (!invoice) return false;
    unlinkPayment(document, *invoice, payment);
    return true;
}

long splitPayment(BusinessDocument& document, CTrnSItem& payment, const arguments::SplitPaymentArguments& arguments)
{
    const double original = arguments.originalAmount.value_or(0.0);
    if (original == 0.0) return -1;
    // A payment has one line on each side; scaling a transaction of more
    // (a share's purchase, say) would leave its sides unbalanced.
    if (payment.mFromList().size() != 1 || payment.mToList().size() != 1) return -1;
    // The two parts are whole cents that add up to the payment: each scaled
    // and rounded on its own could both round down (or up) from half a cent.
    const double total = payment.mTotalAmount().value_or(0.0);
    const double kept = CCurrency::RoundAmount(total * arguments.splitAmount.value_or(0.0) / original);
    const double factor = total == 0.0 ? 0.0 : kept / total;
    const double leftoverFactor = total == 0.0 ? 0.0 : CCurrency::RoundAmount(total - kept) / total;
    std::shared_ptr<CTrnSItem> leftover = unlinkedCopyOf(document, payment);
    if (!leftover) return -1;
    leftover->setMTransactionType(payment.mTransactionType());
    leftover->setMReferenceObjectId(-1);
    leftover->setMDate(payment.mDate());
    leftover->applyFactor(leftoverFactor);
    if (!document.performLinkTransaction(*leftover)) {
        document.bridgeDocument().deleteObject(leftover);
        return -1;
    }
    payment.applyFactor(factor);
    rebookSplitOfLinkedPayment(document, payment, *leftover);
    leftover->setNewThisSession(true);
    payment.setModifiedThisSession(true);
    NotificationCenter& centre = document.bridgeDocument().notificationCenter();
    centre.post(GXCTransactionCreatedNotification, leftover);
    centre.post(GXCCustomerPaymentCreatedNotification, leftover);
    return leftover->getId().value_or(-1);
}

std::vector<std::shared_ptr<CTrnSItem>> searchInvoiceForPayment(BusinessDocument& document, CTrnSItem& payment)
{
    std::vector<std::shared_ptr<CTrnSItem>> candidates;
    const std::string wanted(trimmedReference(payment.mDocumentRef().value_or(std::string())));
    const std::string paymentName = payment.getName();
    BridgeDocument& books = document.bridgeDocument();
    const CNamedListArray* transactions = books.accounting()->Get_TransactionArray();
    for (ArrayIndexT i = 1; transactions && i <= static_cast<ArrayIndexT>(transactions->GetCount()); ++i) {
        std::shared_ptr<CTrnSItem> item = books.dataItemController().transactionItemForTrnS(transactions->ObjectAt(i));
        if (!item) continue;
        const std::string reference = item->paymentReference().value_or(std::string());
        if (!reference.empty() && trimmedReference(reference) == wanted) {
            candidates.push_back(item);
            continue;
        }
        const std::string documentReference = item->mDocumentRef().value_or(std::string());
        const std::string_view number = trimmedReference(documentReference);
        if (!number.empty() && paymentName.find(number) != std::string::npos) candidates.push_back(item);
    }
    return candidates;
}

} // namespace ch::business

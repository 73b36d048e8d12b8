#include "business/InvoiceNumbers.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <set>

#include "bridge/BridgeDocument.h"
#include "bridge/CPrfRItem.h"
#include "bridge/CTrnSItem.h"
#include "bridge/DeveloperLog.h"
#include "business/BusinessArrays.h"
#include "business/BusinessDocument.h"
#include "model/CDocAccounting.h"
#include "model/CTransactionArray.h"
#include "model/foundation/CDate.h"
#include "platform/core/user_defaults.h"

namespace ch::business {

namespace {

constexpr int kCustomerInvoice = 4;
constexpr int kSupplierInvoice = 5;

std::optional<std::string> documentReferenceOf(BusinessDocument& document, const GXInvoice& invoice)
{
    if (!invoice.transactionId()) return std::nullopt;
    std::shared_ptr<CTrnSItem> transaction =
        document.bridgeDocument().getTransactionForId(static_cast<ObjectIdT>(*invoice.transactionId()));
    return transaction ? transaction->mDocumentRef() : std::nullopt;
}

// Blanks skipped, an optional sign, then digits.
std::optional<std::int64_t> leadingInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t digitsStart = i;
    std::int64_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        if (value > (INT64_MAX - 9) / 10) break;
        value = value * 10 + (text[i] - '0');
    }
    if (i == digitsStart) return std::nullopt;
    return negative ? -value : value;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

bool allDigits(std::string_view text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

} // namespace

std::string calculateInvoiceNumberForDate(BusinessDocument& document, DateT date)
{
    if (UserDefaults::standard().boolForKey(kContinuousInvoiceNumbersKey))
        return getMaximumInvoiceNumber(document);
    return getMaximumInvoiceNumberForYear(document, date);
}

std::string getMaximumInvoiceNumber(BusinessDocument& document)
{
    std::optional<std::int64_t> largest;
    for (const std::shared_ptr<GXInvoice>& invoice : document.businessArrays().customerInvoiceArray) {
        if (!invoice) continue;
        const std::optional<std::string> reference = documentReferenceOf(document, *invoice);
        const std::optional<std::int64_t> number = reference ? leadingInteger(*reference) : std::nullopt;
        if (number && (!largest || *number > *largest)) largest = number;
    }
    return largest ? std::to_string(*largest + 1) : std::string("1");
}

long accountingYearNumber(BusinessDocument& document, DateT date, DateT* first, DateT* last)
{
    CPrfRItem* settings = document.preferenceItem();
    long startMonth = settings ? settings->mCurrentYearStart() : 1;
    if (startMonth < 1 || startMonth > 12) startMonth = 1;
    DateT start = static_cast<DateT>(CDate::GetYearFromDateT(date) * 10000 + startMonth * 100 + 1);
    if (start > date) start = CDate::AddYearsTo(start, -1);
    if (first) *first = start;
    if (last) *last = CDate::AddDaysTo(CDate::AddYearsTo(start, 1), -1);
    return CDate::GetYearFromDateT(start) + (startMonth >= 7 ? 1 : 0);
}

std::string getMaximumInvoiceNumberForYear(BusinessDocument& document, DateT date)
{
    const std::string yearText = std::to_string(accountingYearNumber(document, date));
    std::int64_t counter = 0;
    // Every number of the series counts, whatever its invoice's date: an
    // invoice dated in the old year may carry the new year's number (written
    // in January for December), and its number must not come back.
    for (const std::shared_ptr<GXInvoice>& invoice : document.businessArrays().customerInvoiceArray) {
        if (!invoice) continue;
        const std::optional<std::string> reference = documentReferenceOf(document, *invoice);
        if (!reference) continue;
        const std::string_view number = trimmed(*reference);
        if (number.size() != 10 || !allDigits(number) || number.substr(0, yearText.size()) != yearText) continue;
        counter = std::max<std::int64_t>(counter, std::stoll(std::string(number.substr(4))));
    }
    char next[32];
    std::snprintf(next, sizeof next, "%06lld", static_cast<long long>(counter + 1));
    return yearText + next;
}

DateT calculateDueDate(DateT invoiceDate)
{
    const UserDefaults& defaults = UserDefaults::standard();
    const long period = defaults.integerForKey(kPaymentPeriodKey);
    DateT date = invoiceDate;
    if (defaults.boolForKey(kPaymentPeriodStartsAtMonthEndKey)) date = CDate::GetLastDayOfMonth(date);
    if (defaults.boolForKey(kPaymentPeriodExpressedInMonthsKey)) return CDate::AddMonthsToDateT(date, period);
    return CDate::AddDaysTo(date, period);
}

std::string structuredReferenceForNumber(std::string_view number)
{
    if (number.size() > 10 || !allDigits(number)) return std::string();
    const std::int64_t value = std::stoll(std::string(number));
    const std::int64_t check = value % 97 == 0 ? 97 : value % 97;
    char checkDigits[4];
    std::snprintf(checkDigits, sizeof checkDigits, "%02lld", static_cast<long long>(check));
    std::string digits = std::string(number) + checkDigits;
    if (digits.size() < 12) digits.insert(0, 12 - digits.size(), '0');
    return "+++" + digits.substr(0, 3) + "/" + digits.substr(3, 4) + "/" + digits.substr(7) + "+++";
}

std::string cleanStructuredReference(std::string_view reference)
{
    std::string clean;
    for (char c : reference)
        if (c != '/' && c != '+' && c != '-' && c != '.' && c != ' ') clean += c;
    return clean;
}

std::shared_ptr<GXInvoice> invoiceForTransaction(BusinessDocument& document, CTrnSItem& transaction)
{
    const int type = transaction.mTransactionType();
    if (type != kCustomerInvoice && type != kSupplierInvoice) return nullptr;
    const std::optional<ObjectIdT> id = transaction.getId();
    if (!id) return nullptr;
    BusinessArrays& arrays = document.businessArrays();
    const auto& invoices = type == kCustomerInvoice ? arrays.customerInvoiceArray : arrays.supplierInvoiceArray;
    for (const std::shared_ptr<GXInvoice>& invoice : invoices)
        if (invoice && invoice->transactionId() == static_cast<long>(*id)) return invoice;
    return nullptr;
}

std::shared_ptr<GXInvoice> makeInvoiceExtensionForTransaction(BusinessDocument& document, CTrnSItem& transaction)
{
    if (std::shared_ptr<GXInvoice> existing = invoiceForTransaction(document, transaction)) return existing;
    const int type = transaction.mTransactionType();
    if (type != kCustomerInvoice && type != kSupplierInvoice) return nullptr;
    auto invoice = std::make_shared<GXInvoice>(&document);
    invoice->setTransactionId(transaction.getId());
    BusinessArrays& arrays = document.businessArrays();
    auto& invoices = type == kCustomerInvoice ? arrays.customerInvoiceArray : arrays.supplierInvoiceArray;
    invoices.insert(invoices.begin(), invoice);
    document.bridgeDocument().updateChangeCount();
    return invoice;
}

void removeDuplicateInvoices(BusinessDocument& document)
{
    auto& invoices = document.businessArrays().customerInvoiceArray;
    // Read from the model (a freshly opened document has no items yet), by
    // the list's index: a large book is not walked for a few invoices.
    const CNamedListArray* transactions = document.bridgeDocument().accounting()->Get_TransactionArray();
    std::vector<std::shared_ptr<GXInvoice>> kept;
    std::set<long> seen;
    bool duplicates = false;
    for (const std::shared_ptr<GXInvoice>& invoice : invoices) {
        const std::optional<long> id = invoice ? invoice->transactionId() : std::nullopt;
        const bool exists = id && transactions && transactions->GetValueForId(static_cast<ObjectIdT>(*id));
        if (exists && seen.insert(*id).second) kept.push_back(invoice);
        else if (exists) duplicates = true;
    }
    if (!duplicates) return;
    developerLog("er waren dubbele facturen");
    invoices = std::move(kept);
}

} // namespace ch::business

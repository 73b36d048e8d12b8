#include "business/InvoiceBooking.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "bridge/BridgeDocument.h"
#include "bridge/CAcoWItem.h"
#include "bridge/CCurRItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CPrfRItem.h"
#include "bridge/CTrnSItem.h"
#include "bridge/DeveloperLog.h"
#include "business/BookingLines.h"
#include "business/BusinessArrays.h"
#include "business/BusinessDocument.h"
#include "business/GXInvoice.h"
#include "business/GXVATRate.h"
#include "business/InvoiceArguments.h"
#include "business/InvoiceNumbers.h"
#include "business/VATRates.h"
#include "document/DocumentNotifications.h"
#include "model/CCurrency.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/foundation/AmountRounding.h"
#include "model/foundation/CDate.h"
#include "platform/core/localized_strings.h"
#include "platform/core/notification_center.h"

namespace ch::business {

namespace {

std::shared_ptr<GXVATRate> rateOf(BusinessDocument& document, const std::optional<long>& id)
{
    if (!id || *id == -1) return nullptr;
    return VATRateWithId(document, static_cast<ObjectIdT>(*id), false);
}

void addLine(Array& lines, const char* type, std::optional<long> account, long currency, double amount)
{
    lines.push_back(lineDictionary(type, account.value_or(0), currency, amount));
}

} // namespace

int currencyDecimals(BusinessDocument& document, long currencyId)
{
    BridgeDocument& books = document.bridgeDocument();
    if (const CCurrency* currency = books.accounting()->GetCurrencyForId(static_cast<ObjectIdT>(currencyId)))
        return currency->AreDecimalsAllowed() ? 2 : 0;
    return homeCurrencyDecimals(document);
}

int homeCurrencyDecimals(BusinessDocument& document)
{
    std::shared_ptr<CCurRItem> home = document.bridgeDocument().getHomeCurrency();
    return home && !home->mAllowDecimals().value_or(true) ? 0 : 2;
}

double invoiceVATAmount(BusinessDocument& document, const GXVATRate* rate, double net, std::optional<long> currencyId)
{
    if (!rate) return 0.0;
    const int decimals = currencyId ? currencyDecimals(document, *currencyId) : homeCurrencyDecimals(document);
    return roundedAmount(rate->calculateVATAmountFor(net, false), decimals);
}

long invoiceCurrencyId(BusinessDocument& document, CTrnSItem& invoice)
{
    // A category line first: a rate given since for the currency of an
    // account the invoice books on moves that account's line into it, never
    // a category line.
    const LineItemArray total =
        invoice.mTransactionType() == transaction_types::kSupplierInvoice ? invoice.mFromList() : invoice.mToList();
    for (const LineItemArray& lines : {invoice.mForList(), total}) {
        if (lines.empty() || !lines.front()) continue;
        const long id = lines.front()->currencyId().value_or(0);
        if (document.bridgeDocument().accounting()->GetCurrencyForId(static_cast<ObjectIdT>(id))) return id;
    }
    return homeCurrencyId(document);
}

namespace {

// The line's amount in the invoice's currency: its own amount when it is in
// that currency; else (a rate given since moved it into its account's
// currency) its home amount at the rate the invoice was booked at.
double amountInCurrency(const CDebetItem& line, long currency, CTrnSItem& invoice)
{
    if (line.currencyId().value_or(0) == currency) return line.getForeignAmount().value_or(0.0);
    const double home = line.getLocalAmount().value_or(0.0);
    const double total = invoice.mTotalAmount().value_or(0.0);
    const double totalHome = invoice.mLocalAmount().value_or(0.0);
    return totalHome != 0.0 ? home * total / totalHome : home;
}

bool sameLines(const Array& wanted, const LineItemArray& booked)
{
    if (wanted.size() != booked.size()) return false;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        const Dictionary* line = wanted[i].asDictionary();
        if (!line || !booked[i] || booked[i]->account().value_or(0) != (*line)["AccountId"].toInt() ||
            booked[i]->currencyId().value_or(0) != (*line)["CurrencyId"].toInt() ||
            std::fabs(booked[i]->getForeignAmount().value_or(0.0) - (*line)["Amount"].toDouble()) >= 0.005)
            return false;
    }
    return true;
}

// An invoice whose figures stay as they are (its category lines, never
// moved out of its currency, and its total) keeps each account line on the
// same account as booked: a line a rate moved into its account's currency
// keeps that currency and its amounts.
void keepUnchangedLines(CTrnSItem& invoice, bool sameTotal, const Array& categories, Array& from, Array& to)
{
    if (!sameTotal || !sameLines(categories, invoice.mForList())) return;
    for (auto [lines, booked] : {std::pair{&from, invoice.mFromList()}, std::pair{&to, invoice.mToList()}})
        for (std::size_t i = 0; i < lines->size() && i < booked.size(); ++i) {
            const Dictionary* wanted = (*lines)[i].asDictionary();
            const std::shared_ptr<CDebetItem>& line = booked[i];
            if (!wanted || !line || line->account().value_or(0) != (*wanted)["AccountId"].toInt()) continue;
            (*lines)[i] = lineDictionary((*wanted)["ObjectType"].toString().c_str(), line->account().value_or(0),
                                         line->currencyId().value_or(0), line->getForeignAmount().value_or(0.0));
        }
}

// The category the invoice's net amount was booked on: the last category
// line on none of its rates' VAT categories, else (the turnover category is
// a VAT one) the last line, where the net amount is booked. Not the largest
// line: the VAT may be as large as the net amount.
std::optional<long> bookedNetCategory(CTrnSItem& invoice, const InvoiceReading& booked)
{
    const LineItemArray categories = invoice.mForList();
    auto isVATCategory = [&](long account) {
        for (const std::shared_ptr<GXVATRate>& rate : {booked.firstRate, booked.secondRate})
            if (rate && rate->categoryInvoicedNotYetReceived().value_or(-1) == account) return true;
        return false;
    };
    for (auto line = categories.rbegin(); line != categories.rend(); ++line)
        if (*line && !isVATCategory((*line)->account().value_or(0))) return (*line)->account();
    if (categories.empty() || !categories.back()) return std::nullopt;
    return categories.back()->account();
}

// In a currency other than the home one each line is converted and rounded
// to the cent on its own, so the total's line (the one on the side of fewer
// lines) can differ from the lines it adds up by a cent a line: it takes
// their sum, and the invoice balances in the home currency as it does in its
// own.
void totalLineTakesConversionCents(CTrnSItem& invoice)
{
    const bool totalIsTo = invoice.mToList().size() <= invoice.mFromList().size();
    const LineItemArray total = totalIsTo ? invoice.mToList() : invoice.mFromList();
    const LineItemArray parts = totalIsTo ? invoice.mFromList() : invoice.mToList();
    auto homeSum = [](const LineItemArray& lines) {
        double sum = 0.0;
        for (const std::shared_ptr<CDebetItem>& line : lines)
            if (line) sum += line->getLocalAmount().value_or(0.0);
        return sum;
    };
    const double difference = homeSum(parts) - homeSum(total);
    const std::shared_ptr<CDebetItem> largest = CTrnSItem::getMostImportantDebetItem(total);
    auto* line = largest ? dynamic_cast<CDebit*>(largest->getSourceItem()) : nullptr;
    const double rounding = 0.005 * static_cast<double>(total.size() + parts.size() + 1) + 1e-9;
    if (!line || std::fabs(difference) < 1e-9 || std::fabs(difference) > rounding) return;
    line->Put_mAmounts(roundedAmount(line->Get_mLocalAmount() + difference, 2), line->Get_mAmount());
}

// The note cancels what the invoice booked: each of its lines takes the
// amount and home amount of the invoice's line on the same account and in
// the same currency, on the other side (a category line negated). Copied
// and converted again at today's date, a line in a currency other than home
// came back at another rate, or a cent off its amount.
void keepInvoicedAmounts(CTrnSItem& note, CTrnSItem& invoice)
{
    auto take = [](const LineItemArray& lines, const LineItemArray& invoiced, double sign) {
        std::vector<bool> used(invoiced.size(), false);
        for (const std::shared_ptr<CDebetItem>& line : lines) {
            auto* target = line ? dynamic_cast<CDebit*>(line->getSourceItem()) : nullptr;
            if (!target) continue;
            for (std::size_t i = 0; i < invoiced.size(); ++i) {
                auto* source = invoiced[i] ? dynamic_cast<CDebit*>(invoiced[i]->getSourceItem()) : nullptr;
                if (used[i] || !source || source->Get_mAccountId() != target->Get_mAccountId() ||
                    source->Get_mCurrency() != target->Get_mCurrency())
                    continue;
                used[i] = true;
                target->Put_mAmounts(sign * source->Get_mLocalAmount(), sign * source->Get_mAmount());
                break;
            }
        }
    };
    take(note.mToList(), invoice.mFromList(), 1.0);
    take(note.mFromList(), invoice.mToList(), 1.0);
    take(note.mForList(), invoice.mForList(), -1.0);
}

} // namespace

bool bookInvoice(BusinessDocument& document, CTrnSItem& invoice, const arguments::InvoiceArguments& arguments,
                 bool asReceivable, long currency)
{
    BridgeDocument& books = document.bridgeDocument();
    std::shared_ptr<CAcoWItem> owner =
        books.getAccountOwnerItemForId(static_cast<ObjectIdT>(arguments.thirdPartyId.value_or(-1)));
    if (!owner) {
        developerLog("customer expected");
        return false;
    }
    const std::shared_ptr<GXVATRate> first = rateOf(document, arguments.firstVATRateId);
    const std::shared_ptr<GXVATRate> second = rateOf(document, arguments.secondVATRateId);
    const double net = arguments.amountWithoutVAT.value_or(0.0);
    // Booked again for the same net amount at the same rates, an invoice keeps
    // the VAT and the turnover category it was invoiced with: a rate's
    // percentage or the settings changed since apply to invoices made after.
    // Its VAT is read from its total, in the currency it was invoiced in (a
    // VAT line's account may keep another): the first rate's is what the
    // total holds beyond the net amount and the second rate's VAT.
    const InvoiceReading booked = readInvoice(document, invoice);
    const bool sameNet = booked.answer == 1 && booked.amountWithoutVAT && !invoice.mForList().empty() &&
                         std::fabs(*booked.amountWithoutVAT - net) < 0.005;
    const bool sameRates = sameNet && first && booked.firstRate == first && booked.secondRate == second &&
                           invoice.mCurrencyId() == currency;
    const int decimals = currencyDecimals(document, currency);
    const double vat2 = sameRates ? roundedAmount(booked.secondVATAmount, decimals)
                                  : invoiceVATAmount(document, second.get(), net, currency);
    const double vat1 = sameRates ? roundedAmount(invoice.mTotalAmount().value_or(0.0) - net - vat2, decimals)
                                  : invoiceVATAmount(document, first.get(), net, currency);
    const double total = net + vat1 + vat2;

    invoice.setMDate(arguments.invoiceDate);
    invoice.setGetName(arguments.invoiceName);
    invoice.setMDescription(arguments.invoiceDescription);
    invoice.setMDocumentRef(arguments.invoiceNumber);
    const bool sameTotal = invoice.mCurrencyId() == currency &&
                           std::fabs(invoice.mTotalAmount().value_or(0.0) - total) < 0.005;
    // The currency before the total: the total is an amount of it.
    invoice.setMCurrencyId(currency);
    invoice.setMTotalAmount(total);
    invoice.setNewThisSession(true);
    invoice.setModifiedThisSession(true);
    invoice.setMTransactionType(asReceivable ? transaction_types::kCustomerInvoice
                                             : transaction_types::kSupplierInvoice);
    invoice.setMVatNR(owner->VATNr());

    Array from, to, categories;
    if (asReceivable) {
        addLine(from, kFromLine, owner->debitorAccount(), currency, net);
        if (vat1 != 0.0) addLine(from, kFromLine, first->accountIdReceived(), currency, vat1);
        if (vat2 != 0.0) addLine(from, kFromLine, second->accountIdReceived(), currency, vat2);
        addLine(to, kToLine, owner->openDebitInvoiceAccount(), currency, total);
    } else {
        addLine(from, kFromLine, owner->openCreditInvoiceAccount(), currency, total);
        addLine(to, kToLine, owner->creditorAccount(), currency, net);
        if (vat1 != 0.0) addLine(to, kToLine, first->accountIdPaid(), currency, vat1);
        if (vat2 != 0.0) addLine(to, kToLine, second->accountIdPaid(), currency, vat2);
    }
    if (vat1 != 0.0) addLine(categories, kCategoryLine, first->categoryInvoicedNotYetReceived(), currency, vat1);
    if (vat2 != 0.0) addLine(categories, kCategoryLine, second->categoryInvoicedNotYetReceived(), currency, vat2);
    CPrfRItem* settings = document.preferenceItem();
    std::optional<long> netCategory =
        asReceivable ? std::optional<long>(settings ? settings->mCustomerInvoiceCategory() : 0)
                     : owner->supplierInvoiceCategory();
    if (sameNet)
        if (std::optional<long> category = bookedNetCategory(invoice, booked)) netCategory = category;
    addLine(categories, kCategoryLine, netCategory, currency, net);
    keepUnchangedLines(invoice, sameTotal, categories, from, to);
    invoice.updateDetailsWithDictionaries(invoice.mFromList(), &from);
    invoice.updateDetailsWithDictionaries(invoice.mToList(), &to);
    invoice.updateDetailsWithDictionaries(invoice.mForList(), &categories);
    totalLineTakesConversionCents(invoice);

    std::shared_ptr<GXInvoice> extension = makeInvoiceExtensionForTransaction(document, invoice);
    if (!extension) return false;
    extension->setDueDate(arguments.dueDate);
    extension->setInvoiceDate(arguments.invoiceDate);
    extension->setIsReceivable(asReceivable);
    extension->setPaymentReference(arguments.paymentReference);
    return true;
}

InvoiceReading readInvoice(BusinessDocument& document, CTrnSItem& invoice)
{
    InvoiceReading reading;
    const int type = invoice.mTransactionType();
    if (type != transaction_types::kCustomerInvoice && type != transaction_types::kSupplierInvoice) return reading;
    reading.answer = 1;
    const bool receivable = type == transaction_types::kCustomerInvoice;
    LineItemArray lines = receivable ? invoice.mFromList() : invoice.mToList();
    // Its own amounts, not the home ones: a change of home currency since
    // must not change what was invoiced.
    const long currency = invoiceCurrencyId(document, invoice);
    auto amountOf = [&](const std::shared_ptr<CDebetItem>& line) {
        return line ? amountInCurrency(*line, currency, invoice) : 0.0;
    };
    auto rateOfLine = [&](const std::shared_ptr<CDebetItem>& line) {
        const long account = line ? line->account().value_or(0) : 0;
        return receivable ? VATRateForAccountIdReceivable(document, account)
                          : VATRateForAccountIdPayable(document, account);
    };
    // The lines are told apart by their accounts: the VAT on the rates' VAT
    // accounts, in the order booked, the net amount on the one line that is
    // on none. Amounts cannot tell them: a VAT line may be as large as the
    // net one, or larger.
    std::shared_ptr<CDebetItem> netLine;
    LineItemArray vatLines;
    bool told = true;
    for (const std::shared_ptr<CDebetItem>& line : lines) {
        if (rateOfLine(line))
            vatLines.push_back(line);
        else if (!netLine)
            netLine = line;
        else
            told = false;
    }
    if (!told || !netLine || vatLines.size() > 2) {
        // Lines booked otherwise: the largest is taken for the net amount.
        std::stable_sort(lines.begin(), lines.end(), [&](const auto& a, const auto& b) {
            return amountOf(a) > amountOf(b);
        });
        netLine = lines.empty() ? nullptr : lines[0];
        vatLines.assign(lines.begin() + (lines.empty() ? 0 : 1), lines.end());
    }
    if (!netLine || amountOf(netLine) <= 0.0) return reading;
    reading.amountWithoutVAT = amountOf(netLine);
    if (vatLines.size() > 0) {
        reading.firstVATAmount = amountOf(vatLines[0]);
        reading.firstRate = rateOfLine(vatLines[0]);
    }
    if (vatLines.size() > 1) {
        reading.secondVATAmount = amountOf(vatLines[1]);
        reading.secondRate = rateOfLine(vatLines[1]);
    }
    return reading;
}

bool invert(CTrnSItem& transaction)
{
    transaction.setGetName(localized("CANCELED") + transaction.mDocumentRef().value_or(std::string()));
    transaction.setMDate(CDate::GetNowAsDateT());
    const LineItemArray from = transaction.mFromList();
    const LineItemArray to = transaction.mToList();
    bool done = true;
    auto swapped = [&](const LineItemArray& lines, const char* newType) {
        for (const std::shared_ptr<CDebetItem>& line : lines) {
            Dictionary copy;
            copy.set("AccountId", Value(line->account().value_or(0)));
            copy.set("CurrencyId", Value(line->currencyId().value_or(0)));
            copy.set("Amount", Value(line->getForeignAmount().value_or(0.0)));
            copy.set("ObjectType", Value(newType));
            const std::size_t before = (newType == std::string(kToLine) ? transaction.mToList() : transaction.mFromList()).size();
            transaction.addDetailAsCopyOfDictionary(copy);
            const std::size_t after = (newType == std::string(kToLine) ? transaction.mToList() : transaction.mFromList()).size();
            done = done && after == before + 1;
        }
    };
    swapped(from, kToLine);
    swapped(to, kFromLine);
    if (!done) {
        developerLog("invert: a line could not be added");
        return false;
    }
    for (const LineItemArray* lines : {&from, &to})
        for (const std::shared_ptr<CDebetItem>& line : *lines)
            done = transaction.removeDetail(*line) && done;
    for (const std::shared_ptr<CDebetItem>& line : transaction.mForList())
        line->setGetForeignAmount(-line->getForeignAmount().value_or(0.0));
    // Dated today, the copied lines were converted again one by one.
    totalLineTakesConversionCents(transaction);
    if (!done) developerLog("invert: a line could not be removed");
    return done;
}

double amountCancelledByCreditNotes(BusinessDocument& document, CTrnSItem& invoice)
{
    const std::optional<ObjectIdT> id = invoice.getId();
    if (!id) return 0.0;
    const int type = invoice.mTransactionType();
    BusinessArrays& arrays = document.businessArrays();
    double cancelled = 0.0;
    for (const auto* invoices : {&arrays.customerInvoiceArray, &arrays.supplierInvoiceArray})
        for (const std::shared_ptr<GXInvoice>& extension : *invoices) {
            if (!extension->transactionId()) continue;
            std::shared_ptr<CTrnSItem> note =
                document.bridgeDocument().getTransactionForId(static_cast<ObjectIdT>(*extension->transactionId()));
            if (!note || note.get() == &invoice || note->mTransactionType() != type) continue;
            if (note->mReferenceObjectId() != *id) continue;
            cancelled += std::fabs(note->mTotalAmount().value_or(0.0));
        }
    return cancelled;
}

bool isCancelledByCreditNotes(BusinessDocument& document, CTrnSItem& invoice)
{
    const double total = std::fabs(invoice.mTotalAmount().value_or(0.0));
    if (total < 0.005) return false;
    return amountCancelledByCreditNotes(document, invoice) >= total - 0.005;
}

std::optional<ObjectIdT> makeCreditNoteForInvoice(BusinessDocument& document, CTrnSItem& invoice)
{
    // A second credit note would cancel the invoice's VAT twice.
    if (isCancelledByCreditNotes(document, invoice)) return std::nullopt;
    BridgeDocument& books = document.bridgeDocument();
    std::shared_ptr<CTrnSItem> note = unlinkedCopyOf(document, invoice);
    if (!note) return std::nullopt;
    note->setMTransactionType(invoice.mTransactionType());
    // A half-reversed copy must never reach the books.
    const bool inverted = invert(*note);
    if (inverted) keepInvoicedAmounts(*note, invoice);
    if (!inverted || !document.performLinkTransaction(*note)) {
        developerLog("The credit note could not be made; its copy is removed");
        books.deleteObject(note);
        return std::nullopt;
    }
    const DateT date = static_cast<DateT>(note->mDate().value_or(0));
    const std::string number = calculateInvoiceNumberForDate(document, date);
    const std::string reference = structuredReferenceForNumber(number);
    std::shared_ptr<GXInvoice> extension = makeInvoiceExtensionForTransaction(document, *note);
    if (extension) {
        extension->setDueDate(date);
        extension->setInvoiceDate(date);
        extension->setIsReceivable(true);
        extension->setPaymentReference(reference);
    }
    note->setMDocumentRef(number);
    note->setNewThisSession(true);
    note->setMReferenceObjectId(invoice.getId());
    for (const char* name : {GXCTransactionCreatedNotification, GXCCustomerInvoiceCreatedNotification,
                             GXCCustomerPaymentCreatedNotification})
        books.notificationCenter().post(name, note);
    return note->getId();
}

} // namespace ch::business

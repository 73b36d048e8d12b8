#include "business/BusinessArchiveChecks.h"

#include "model/CDocAccounting.h"
#include "model/CTransactionArray.h"
#include "model/foundation/CDate.h"

namespace ch::business {

namespace {

class Findings {
public:
    explicit Findings(const CDocAccounting& books) : mBooks(books), mTransactions(books.Get_TransactionArray()) {}

    void account(const std::string& object, const char* field, const std::optional<long>& id)
    {
        if (id && !mBooks.GetAccountForID(static_cast<ObjectIdT>(*id)))
            add(object, field, "no account has the id " + std::to_string(*id));
    }
    void category(const std::string& object, const char* field, const std::optional<long>& id)
    {
        if (id && !mBooks.GetExpenseTypeForID(static_cast<ObjectIdT>(*id)))
            add(object, field, "no category has the id " + std::to_string(*id));
    }
    void transaction(const std::string& object, const char* field, const std::optional<long>& id)
    {
        // Looked up by the list's index: large books are opened at once.
        if (id && !(mTransactions && mTransactions->GetValueForId(static_cast<ObjectIdT>(*id))))
            add(object, field, "no transaction has the id " + std::to_string(*id));
    }
    void transactions(const std::string& object, const char* field, const std::optional<std::vector<long>>& ids)
    {
        for (long id : ids.value_or(std::vector<long>()))
            transaction(object, field, id);
    }
    void date(const std::string& object, const char* field, const std::optional<long>& date)
    {
        if (date && !CDate::IsValidDate(static_cast<DateT>(*date)))
            add(object, field, std::to_string(*date) + " is no date");
    }
    // Ids count from 1: 0 or less names nothing, ever.
    void positive(const std::string& object, const char* field, const std::optional<long>& id)
    {
        if (id && *id < 1)
            add(object, field, std::to_string(*id) + " is no id");
    }
    void positives(const std::string& object, const char* field, const std::optional<std::vector<long>>& ids)
    {
        for (long id : ids.value_or(std::vector<long>()))
            positive(object, field, id);
    }
    void required(const std::string& object, const char* field, bool present)
    {
        if (!present)
            add(object, field, "missing");
    }

    const std::string& text() const { return mText; }

private:
    void add(const std::string& object, const char* field, const std::string& what)
    {
        if (!mText.empty())
            mText += "; ";
        mText += object + " " + field + ": " + what;
    }

    const CDocAccounting& mBooks;
    const CTransactionArray* mTransactions;
    std::string mText;
};

std::string nameOf(const GXNonVisual& object)
{
    return object.objectType() + std::to_string(object.idKey().value_or(0));
}

} // namespace

std::string namesMissingFromBooks(const BusinessArrays& arrays, const CDocAccounting& books)
{
    Findings findings(books);
    for (const auto& rate : arrays.VATRateArray) {
        const std::string name = nameOf(*rate);
        findings.account(name, "accountIdPaid", rate->accountIdPaid());
        findings.account(name, "accountIdReceived", rate->accountIdReceived());
        findings.account(name, "accountIdReconciled", rate->accountIdReconciled());
        findings.category(name, "categoryInvoicedNotYetReceived", rate->categoryInvoicedNotYetReceived());
    }
    for (const auto& period : arrays.VATPeriodArray) {
        const std::string name = nameOf(*period);
        findings.date(name, "startDate", period->startDate());
        findings.date(name, "endDate", period->endDate());
        findings.transaction(name, "closingTransactionId", period->closingTransactionId());
        findings.date(name, "closingDate", period->storedClosingDate());
    }
    for (const auto* invoices : {&arrays.customerInvoiceArray, &arrays.supplierInvoiceArray})
        for (const auto& invoice : *invoices) {
            const std::string name = nameOf(*invoice);
            // An invoice is the extension of its transaction: it has one. The
            // extension outlives a deleted transaction, and reminders are
            // not unlinked when deleted: those ids may name nothing now.
            findings.required(name, "transactionId", invoice->transactionId().has_value());
            findings.positive(name, "transactionId", invoice->transactionId());
            findings.date(name, "invoiceDate", invoice->invoiceDate());
            findings.date(name, "dueDate", invoice->dueDate());
            findings.date(name, "contestationDate", invoice->contestationDate());
            findings.transactions(name, "paymentTransactionIdArray", invoice->paymentTransactionIdArray());
            findings.positives(name, "reminderTransactionIdArray", invoice->reminderTransactionIdArray());
        }
    return findings.text();
}

} // namespace ch::business

// Invoices and payments on a real document: a customer invoice with VAT, a
// partial payment linked to it, a split and a credit note, checked against a
// hand calculation; invoice numbers and structured references; and the
// invoice and payment commands journaled and replayed to the same books.

#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>
#include <cstdio>
#include <map>
#include <tuple>

#include "../document/document_fixture.h"
#include "../document/sheet_transaction.h"
#include "analysis/CReportContents.h"
#include "bridge/CAcoWItem.h"
#include "bridge/CNSNumberAmountTBridge.h"
#include "bridge/CDebetItem.h"
#include "bridge/CPrfRItem.h"
#include "bridge/CTrnSItem.h"
#include "business/BookingLines.h"
#include "business/BusinessArchiveChecks.h"
#include "business/BusinessArgumentClasses.h"
#include "business/BusinessDefaults.h"
#include "business/BusinessOfDocument.h"
#include "business/CVATListingReportBuilder.h"
#include "business/InterVATBuilder.h"
#include "business/GXInvoice.h"
#include "business/GXVATPeriod.h"
#include "business/GXVATRate.h"
#include "business/InstallBusiness.h"
#include "business/InvoiceArguments.h"
#include "business/InvoiceBooking.h"
#include "business/InvoiceNumbers.h"
#include "business/PaymentArguments.h"
#include "business/Payments.h"
#include "business/VATRateArguments.h"
#include "document/arguments/CurrencyArguments.h"
#include "../document/commands/books_listing.h"
#include "document/DocumentFile.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/ArgumentClassRegistry.h"
#include "document/arguments/BooksLinkArguments.h"
#include "document/arguments/CTransactionArguments.h"
#include "document/arguments/CAcoWArguments.h"
#include "document/commands/CommandJournalReader.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/foundation/CDate.h"
#include "platform/core/user_defaults.h"

namespace ch::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
// Account or category id and home-currency amount of each line, in list order.
using Lines = std::vector<std::pair<long, double>>;

Lines linesOf(const LineItemArray& items)
{
    Lines lines;
    for (const auto& line : items)
        lines.emplace_back(line->account().value_or(0), std::round(line->getLocalAmount().value_or(0) * 100) / 100);
    return lines;
}

class InvoicesTest : public DocumentTest {
protected:
    InvoicesTest()
    {
        business::registerBusinessDefaults(environment.defaults());
        business::registerBusinessArgumentClasses(ArgumentClassRegistry::shared());
        document = std::make_unique<MyDocument>(dispatcher);
        document->setUntitledJournalFolder(folder.path());
        business::installBusiness(*document);
        document->setUpNewDocument("EUR");
        // The turnover category is an income category, the VAT category an expense one.
        CPrfRItem& settings = *document->mPreference();
        settings.setMCustomerInvoiceCategory(document->get_mDefExpTUnspecifiedIncome());

        arguments::VATRateArguments standard;
        standard.name = "Standard";
        standard.rate = 21.0;
        EXPECT_EQ(run(33, nullptr, standard), 1);
        rate = arrays().VATRateArray.front();
        arguments::CAcoWArguments customer;
        customer.name = "Peeters";
        customer.createCustomerOpenInvoices = true;
        customerId = run(26, nullptr, customer);
        EXPECT_GT(customerId, 0);
        owner = document->getAccountOwnerItemForId(customerId);

        savedModel = document->modelStreamBytes();
        savedArchive = document->businessArchiveBytes().bytes;
        document->fileSaved();
    }

    // Adds "USD" at that many home units a dollar; true when it is made.
    bool addDollar(double factor)
    {
        arguments::CurrencyArguments dollar;
        dollar.symbol = "USD";
        dollar.baseCurrencyId = business::homeCurrencyId(business());
        dollar.conversionQuantity = 1;
        dollar.conversionFactor = factor;
        return run(6, nullptr, dollar) == 1;
    }

    int run(int command, std::shared_ptr<Observable> target, const CArgumentAncestor& arguments)
    {
        return document->commandExecutor().executeCommand(command, std::move(target), arguments);
    }
    business::BusinessArrays& arrays() { return business().businessArrays(); }
    business::BusinessOfDocument& business() { return *dynamic_cast<business::BusinessOfDocument*>(document->business()); }
    std::shared_ptr<CTrnSItem> transaction(long id) { return document->getTransactionForId(static_cast<ObjectIdT>(id)); }
    // What the customer owes on the open-invoice account.
    double owedOn(std::optional<long> account)
    {
        CAccount* found = document->getAccountForId(static_cast<ObjectIdT>(account.value_or(0)));
        return found ? -std::round(found->Get_mLocalBalance() * 100) / 100 : NAN;
    }
    long incomeCategory() { return document->get_mDefExpTUnspecifiedIncome(); }
    long vatCategory() { return rate->categoryInvoicedNotYetReceived().value_or(0); }

    // 500.00 paid by the customer on 20 March 2009, not yet split onto invoices.
    arguments::PaymentArguments advanceOf()
    {
        arguments::PaymentArguments paid;
        paid.thirdPartyId = customerId;
        paid.paymentAmount = 500.0;
        paid.paymentCategoryId = incomeCategory();
        paid.paymentDate = 20090320;
        paid.paymentName = "Advance";
        paid.paymentOwnerType = arguments::kOwnerTypeCustomer;
        return paid;
    }

    arguments::InvoiceArguments invoiceOf(double net, const char* number, bool withVAT = true)
    {
        arguments::InvoiceArguments values;
        values.invoiceName = "Consulting";
        values.thirdPartyId = customerId;
        values.invoiceNumber = number;
        values.invoiceDate = 20090310;
        values.dueDate = 20090409;
        values.amountWithoutVAT = net;
        values.firstVATRateId = withVAT ? *rate->idKey() : -1;
        values.paymentReference = business::structuredReferenceForNumber(number);
        return values;
    }

    std::unique_ptr<MyDocument> reopen()
    {
        auto opened = std::make_unique<MyDocument>(dispatcher);
        business::installBusiness(*opened);
        opened->setFileName(folder.file("Books.books"));
        LDataStream stream;
        stream.SetBuffer(savedModel.data(), static_cast<std::int32_t>(savedModel.size()));
        EXPECT_TRUE(opened->readModel(stream));
        EXPECT_EQ(opened->readBusinessArchive(savedArchive), 0);
        opened->finishLoading();
        return opened;
    }

    std::shared_ptr<business::GXVATRate> rate;
    ObjectIdT customerId = -1;
    std::shared_ptr<CAcoWItem> owner;
    Bytes savedModel;
    std::string savedArchive;
};

TEST_F(InvoicesTest, InvoicePartialPaymentSplitAndCreditNoteLeaveTheBooksAsCalculatedByHand)
{
    const long open = owner->openDebitInvoiceAccount().value_or(0);
    const long turnover = owner->debitorAccount().value_or(0);
    const long received = rate->accountIdReceived().value_or(0);
    const long ownProperty = document->getDefaultOwnPropertyAccount();
    ASSERT_TRUE(business::isExpenseCategory(business(), vatCategory()));

    // 1000 net at 21 %: the customer owes 1210.
    const int invoiceId = run(38, nullptr, invoiceOf(1000.0, "2009000001"));
    ASSERT_GT(invoiceId, 0);
    std::shared_ptr<CTrnSItem> invoice = transaction(invoiceId);
    EXPECT_EQ(invoice->mTransactionType(), 4);
    EXPECT_EQ(linesOf(invoice->mFromList()), (Lines{{turnover, 1000}, {received, 210}}));
    EXPECT_EQ(linesOf(invoice->mToList()), (Lines{{open, 1210}}));
    EXPECT_EQ(linesOf(invoice->mForList()), (Lines{{vatCategory(), 210}, {incomeCategory(), 1000}}));
    EXPECT_EQ(owedOn(open), 1210);
    const business::InvoiceReading reading = business::readInvoice(business(), *invoice);
    EXPECT_EQ(reading.amountWithoutVAT, 1000);
    EXPECT_EQ(reading.firstVATAmount, 210);
    EXPECT_EQ(reading.firstRate, rate);
    EXPECT_EQ(reading.secondRate, nullptr);
    EXPECT_EQ(invoice->paymentReference(), "+++200/9000/00121+++");
    EXPECT_EQ(invoice->dueDate(), 20090409);

    // A payment of 605 linked to it releases half the VAT (factor 0.5).
    arguments::PaymentArguments paid;
    paid.thirdPartyId = customerId;
    paid.paymentAmount = 605.0;
    paid.paymentCategoryId = incomeCategory();
    paid.paymentDate = 20090320;
    paid.paymentOwnerType = arguments::kOwnerTypeCustomer;
    const int paymentId = run(44, nullptr, paid);
    ASSERT_GT(paymentId, 0);
    std::shared_ptr<CTrnSItem> payment = transaction(paymentId);
    EXPECT_EQ(linesOf(payment->mFromList()), (Lines{{open, 605}}));
    EXPECT_EQ(linesOf(payment->mToList()), (Lines{{ownProperty, 605}}));
    EXPECT_EQ(linesOf(payment->mForList()), (Lines{{incomeCategory(), 605}}));
    EXPECT_FALSE(payment->isLinkedToTransactionAsPayment());
    EXPECT_TRUE(invoice->linkPaymentToInvoice(*payment));
    EXPECT_EQ(linesOf(payment->mForList()), (Lines{{incomeCategory(), 500}, {vatCategory(), -105}}));
    EXPECT_EQ(payment->mReferenceObjectId(), invoiceId);
    auto extension = std::dynamic_pointer_cast<business::GXInvoice>(invoice->invoiceExtension());
    ASSERT_NE(extension, nullptr);
    EXPECT_EQ(extension->paymentTransactionIdArray(), (std::vector<long>{paymentId}));
    EXPECT_EQ(invoice->unaccountedForAmount(), 605);
    EXPECT_EQ(owedOn(open), 605);

    // Split 605 into 400 kept on the invoice and 205 left unlinked.
    arguments::SplitPaymentArguments split;
    split.originalAmount = 605.0;
    split.splitAmount = 400.0;
    const int leftoverId = run(45, payment, split);
    ASSERT_GT(leftoverId, 0);
    std::shared_ptr<CTrnSItem> leftover = transaction(leftoverId);
    EXPECT_EQ(payment->mLocalAmount(), 400);
    EXPECT_EQ(leftover->mLocalAmount(), 205);
    EXPECT_EQ(leftover->mTransactionType(), 6);
    EXPECT_EQ(leftover->mReferenceObjectId(), -1);
    EXPECT_EQ(payment->mReferenceObjectId(), invoiceId);
    invoice->setUnaccountedForAmount();
    EXPECT_EQ(invoice->unaccountedForAmount(), 810);
    EXPECT_EQ(owedOn(open), 605);   // the money received is still 605

    // The credit note reverses the invoice under a new number of the year.
    const std::optional<ObjectIdT> noteId = business::makeCreditNoteForInvoice(business(), *invoice);
    ASSERT_TRUE(noteId);
    std::shared_ptr<CTrnSItem> note = transaction(*noteId);
    EXPECT_EQ(note->mTransactionType(), 4);
    EXPECT_EQ(linesOf(note->mFromList()), (Lines{{open, 1210}}));
    EXPECT_EQ(linesOf(note->mToList()), (Lines{{turnover, 1000}, {received, 210}}));
    EXPECT_EQ(linesOf(note->mForList()), (Lines{{vatCategory(), -210}, {incomeCategory(), -1000}}));
    EXPECT_EQ(note->mDate(), 20090315);   // today
    EXPECT_EQ(note->mDocumentRef(), "2009000002");
    EXPECT_EQ(note->paymentReference(), "+++200/9000/00222+++");
    EXPECT_EQ(note->mReferenceObjectId(), invoiceId);
    EXPECT_EQ(extension->paymentTransactionIdArray(), (std::vector<long>{paymentId}));
    EXPECT_EQ(owedOn(open), -605);   // the customer paid 605 and owes nothing

    // Unlinking the payment clears both sides of the link.
    EXPECT_TRUE(business::unlinkThisPaymentFromInvoice(business(), *payment));
    EXPECT_TRUE(extension->paymentTransactionIdArray().empty());
    EXPECT_FALSE(payment->isLinkedToTransactionAsPayment());
}

TEST_F(InvoicesTest, InvoicesWithoutVATPaidAtOnceAndRelinkedPaymentsBookTheirOwnLines)
{
    // Without VAT: one line per list for the net amount, and linking rebooks nothing.
    const int plainId = run(38, nullptr, invoiceOf(300.0, "2009000001", false));
    std::shared_ptr<CTrnSItem> plain = transaction(plainId);
    EXPECT_EQ(linesOf(plain->mFromList()).size(), 1u);
    EXPECT_EQ(linesOf(plain->mToList()), (Lines{{owner->openDebitInvoiceAccount().value_or(0), 300}}));
    EXPECT_EQ(linesOf(plain->mForList()), (Lines{{incomeCategory(), 300}}));

    arguments::PaymentArguments paid;
    paid.thirdPartyId = customerId;
    paid.paymentAmount = 100.0;
    paid.paymentCategoryId = incomeCategory();
    paid.paymentDate = 20090320;
    paid.paymentOwnerType = arguments::kOwnerTypeCustomer;
    std::shared_ptr<CTrnSItem> payment = transaction(run(44, nullptr, paid));
    ASSERT_NE(payment, nullptr);
    EXPECT_EQ(business::linkPaymentToInvoice(business(), *plain, *payment), 0);

    // Moved to another invoice, the payment leaves the first one's list.
    const int vatId = run(38, nullptr, invoiceOf(1000.0, "2009000002"));
    std::shared_ptr<CTrnSItem> withVAT = transaction(vatId);
    EXPECT_EQ(business::linkPaymentToInvoice(business(), *withVAT, *payment), 1);
    auto extensionOf = [&](CTrnSItem& item) {
        return std::dynamic_pointer_cast<business::GXInvoice>(item.invoiceExtension());
    };
    EXPECT_TRUE(extensionOf(*plain)->paymentTransactionIdArray().empty());
    EXPECT_EQ(extensionOf(*withVAT)->paymentTransactionIdArray(), (std::vector<long>{payment->getId().value()}));
    // Linked again with two category lines it cannot be rebooked.
    EXPECT_EQ(business::linkPaymentToInvoice(business(), *withVAT, *payment), -1);
    EXPECT_EQ(extensionOf(*withVAT)->paymentTransactionIdArray().size(), 1u);

    // Paying the whole invoice on booking releases all its VAT.
    arguments::InvoiceArguments paidAtOnce = invoiceOf(1000.0, "2009000003");
    paidAtOnce.generatePayment = true;
    paidAtOnce.paymentCategoryId = incomeCategory();
    std::shared_ptr<CTrnSItem> full = transaction(run(38, nullptr, paidAtOnce));
    const auto payments = extensionOf(*full)->paymentTransactionIdArray();
    ASSERT_EQ(payments.size(), 1u);
    std::shared_ptr<CTrnSItem> fullPayment = transaction(payments[0]);
    EXPECT_EQ(linesOf(fullPayment->mFromList()), (Lines{{owner->openDebitInvoiceAccount().value_or(0), 1210}}));
    EXPECT_EQ(linesOf(fullPayment->mForList()), (Lines{{incomeCategory(), 1000}, {vatCategory(), -210}}));
    EXPECT_EQ(fullPayment->mDate(), 20090310);
    EXPECT_EQ(fullPayment->mDocumentRef(), "+++200/9000/00323+++");
    EXPECT_TRUE(full->isPaid());

    // A split of an original 0 does nothing.
    arguments::SplitPaymentArguments nothing;
    nothing.originalAmount = 0.0;
    nothing.splitAmount = 10.0;
    EXPECT_EQ(run(45, payment, nothing), -1);

    // A share's purchase (more than one line on a side) is no payment to
    // split, even when the share's id is also an invoice's: nothing changes.
    CDocAccounting& books = *document->accounting();
    CCurrency* share = books.InsertStockCurrency(-1, "ACME", std::string_view("ACME"));
    ASSERT_NE(share, nullptr);
    share->Put_mConversionFactor(12.5, 0);
    ASSERT_GT(share->BuyStock(12.5, 5.0, 10.0, 130.0, 4, 3, "", false, 20090301), 0);
    std::shared_ptr<CTrnSItem> purchase;
    for (const auto& item : document->mTransactionArray())
        if (item->mReferenceObjectId() == share->Get_Id()) purchase = item;
    ASSERT_NE(purchase, nullptr);
    ASSERT_EQ(purchase->mToList().size(), 2u);
    purchase->setMReferenceObjectId(vatId);
    const std::size_t transactions = document->mTransactionArray().size();
    const Lines to = linesOf(purchase->mToList());
    arguments::SplitPaymentArguments half;
    half.originalAmount = 130.0;
    half.splitAmount = 65.0;
    EXPECT_EQ(run(45, purchase, half), -1);
    EXPECT_EQ(purchase->mLocalAmount(), 130);
    EXPECT_EQ(linesOf(purchase->mToList()), to);
    EXPECT_EQ(document->mTransactionArray().size(), transactions);
}

// A credit note paid back at once releases its VAT as an invoice's payment
// does, though the credit note itself turned the VAT category's total below
// 0: the payment's categories are what its money moves.
TEST_F(InvoicesTest, ACreditNotePaidBackAtOnceReleasesItsVAT)
{
    arguments::InvoiceArguments credit = invoiceOf(-100.0, "2009000001");
    credit.generatePayment = true;
    credit.paymentCategoryId = incomeCategory();
    std::shared_ptr<CTrnSItem> note = transaction(run(38, nullptr, credit));
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(linesOf(note->mForList()), (Lines{{vatCategory(), -21}, {incomeCategory(), -100}}));
    const auto payments =
        std::dynamic_pointer_cast<business::GXInvoice>(note->invoiceExtension())->paymentTransactionIdArray();
    ASSERT_EQ(payments.size(), 1u);
    std::shared_ptr<CTrnSItem> refund = transaction(payments[0]);
    EXPECT_EQ(linesOf(refund->mForList()), (Lines{{incomeCategory(), -100}, {vatCategory(), 21}}));
    auto* vat = static_cast<CExpenseType*>(document->accounting()->GetExpenseTypeForID(vatCategory()));
    EXPECT_NEAR(vat->Get_Amount(), 0.0, 1e-9);
    auto* books = static_cast<CTransaction*>(refund->getSourceItem());
    EXPECT_TRUE(books->Validate());
    EXPECT_EQ(linesOf(refund->mForList()), (Lines{{incomeCategory(), -100}, {vatCategory(), 21}}));
}

// What an invoice is as booked: its currency and total, and each line's
// account, currency, amount and home amount.
std::string bookedAs(CTrnSItem& invoice)
{
    char text[160];
    std::snprintf(text, sizeof text, "currency %ld total %.2f (home %.2f)", invoice.mCurrencyId().value_or(0),
                  invoice.mTotalAmount().value_or(0), invoice.mLocalAmount().value_or(0));
    std::string booked = text;
    for (const LineItemArray& lines : {invoice.mFromList(), invoice.mToList(), invoice.mForList()})
        for (const auto& line : lines) {
            std::snprintf(text, sizeof text, "; %ld: %.2f in %ld (home %.2f)", line->account().value_or(0),
                          line->getForeignAmount().value_or(0), line->currencyId().value_or(0),
                          line->getLocalAmount().value_or(0));
            booked += text;
        }
    return booked;
}

// An invoice okayed unchanged on its sheet stays as invoiced after any
// number of changes of home currency: in its own currency, at its own
// amounts and total, its lines at the home amounts they were booked at.
// Both one made in the first home currency and one made in the second.
TEST_F(InvoicesTest, AnInvoiceOkayedUnchangedAfterHomeCurrencyChangesStaysAsInvoiced)
{
    const long euro = business::homeCurrencyId(business());
    ASSERT_TRUE(addDollar(0.68));
    const long usd = *document->mCurrencyArray().front()->getId();

    // What the invoice sheet sends when it is okayed as it opens.
    auto okayUnchanged = [&](const std::shared_ptr<CTrnSItem>& invoice) {
        arguments::InvoiceArguments values = invoiceOf(0, invoice->mDocumentRef().value_or("").c_str());
        values.invoiceName = invoice->getName();
        const business::InvoiceReading reading = business::readInvoice(business(), *invoice);
        values.amountWithoutVAT = reading.amountWithoutVAT;
        values.firstVATRateId = reading.firstRate ? *reading.firstRate->idKey() : -1;
        values.secondVATRateId = reading.secondRate ? *reading.secondRate->idKey() : -1;
        return run(39, invoice, values);
    };

    std::vector<std::shared_ptr<CTrnSItem>> invoices{transaction(run(38, nullptr, invoiceOf(1798.93, "2009000001")))};
    double factor = 1.9;
    for (const long home : {usd, euro, usd, euro}) {
        document->mPreference()->setMHomeCurrency(home);
        ASSERT_EQ(business::homeCurrencyId(business()), home);
        if (invoices.size() == 1) invoices.push_back(transaction(run(38, nullptr, invoiceOf(357.75, "2009000002"))));
        // A rate given for the day before moves the invoices' lines on
        // accounts kept in that currency into it, at the same home amounts.
        arguments::CurrencyRateParameters rate;
        rate.quantity = 1;
        rate.factor = factor += 0.1;
        rate.dateStart = 20090309;
        for (const auto& currency : document->mCurrencyArray())
            if (currency->getId() != home) {
                ASSERT_EQ(run(18, currency, rate), 1);
            }
        for (const auto& invoice : invoices) {
            const std::string before = bookedAs(*invoice);
            ASSERT_GT(okayUnchanged(invoice), 0);
            EXPECT_EQ(bookedAs(*invoice), before) << "home currency " << home;
        }
    }
    EXPECT_DOUBLE_EQ(invoices[0]->mTotalAmount().value_or(0), 2176.71);   // 1798.93 and 21 % VAT, in euro
    EXPECT_EQ(invoices[1]->mCurrencyId(), usd);
    EXPECT_DOUBLE_EQ(invoices[1]->mTotalAmount().value_or(0), 432.88);
}

// An invoice of the former home currency given another net amount: each
// line is converted to the new home currency and rounded on its own, and the
// invoice and its credit note still balance there (the total's line takes
// the cents), so that the books read again find nothing amiss.
TEST_F(InvoicesTest, AnInvoiceOfAFormerHomeCurrencyChangedBalancesInTheNewOne)
{
    const long euro = business::homeCurrencyId(business());
    ASSERT_TRUE(addDollar(0.68));
    const std::shared_ptr<CTrnSItem> invoice = transaction(run(38, nullptr, invoiceOf(1000.0, "2009000001")));
    document->mPreference()->setMHomeCurrency(*document->mCurrencyArray().front()->getId());

    auto homeSum = [](const LineItemArray& lines) {
        double sum = 0.0;
        for (const auto& line : lines) sum += line->getLocalAmount().value_or(0);
        return std::round(sum * 100) / 100;
    };
    for (const double net : {637.39, 205.93, 100.51, 377.03, 1464.18, 412.71}) {
        arguments::InvoiceArguments values = invoiceOf(net, "2009000001");
        values.invoiceName = invoice->getName();
        ASSERT_GT(run(39, invoice, values), 0);
        ASSERT_EQ(invoice->mCurrencyId(), euro);
        EXPECT_DOUBLE_EQ(homeSum(invoice->mFromList()), homeSum(invoice->mToList())) << net << ": " << bookedAs(*invoice);
        EXPECT_DOUBLE_EQ(owedOn(owner->openDebitInvoiceAccount()), homeSum(invoice->mToList()));
    }
    // Its credit note, a copy dated today whose lines are converted again.
    const std::optional<ObjectIdT> noteId = business::makeCreditNoteForInvoice(business(), *invoice);
    ASSERT_TRUE(noteId);
    const std::shared_ptr<CTrnSItem> note = transaction(*noteId);
    EXPECT_DOUBLE_EQ(homeSum(note->mFromList()), homeSum(note->mToList())) << bookedAs(*note);
    ASSERT_EQ(note->mFromList().size(), 1u);
    EXPECT_DOUBLE_EQ(note->mFromList().front()->getForeignAmount().value_or(0), 499.38) << bookedAs(*note);
    EXPECT_DOUBLE_EQ(owedOn(owner->openDebitInvoiceAccount()), 0.0);
}

// A rate's percentage and the turnover category of the settings changed
// after an invoice was made: okayed unchanged, it keeps what it was invoiced
// with; given another net amount, it is booked at what holds now.
TEST_F(InvoicesTest, AnInvoiceOkayedUnchangedAfterItsRateAndCategoryChangeStaysAsInvoiced)
{
    const std::shared_ptr<CTrnSItem> invoice = transaction(run(38, nullptr, invoiceOf(1000.0, "2009000001")));
    const long turnover = document->get_mDefExpTUnspecifiedIncome();
    arguments::VATRateArguments lower(*rate->getAsArguments());
    lower.rate = 7.5;
    ASSERT_EQ(run(34, rate, lower), 1);
    document->mPreference()->setMCustomerInvoiceCategory(document->get_mDefExpTUnspecifiedExpense());

    arguments::InvoiceArguments values = invoiceOf(1000.0, "2009000001");
    values.invoiceName = invoice->getName();
    const std::string before = bookedAs(*invoice);
    ASSERT_GT(run(39, invoice, values), 0);
    EXPECT_EQ(bookedAs(*invoice), before);
    EXPECT_DOUBLE_EQ(invoice->mTotalAmount().value_or(0), 1210.0);

    values.amountWithoutVAT = 2000.0;
    ASSERT_GT(run(39, invoice, values), 0);
    EXPECT_DOUBLE_EQ(invoice->mTotalAmount().value_or(0), 2150.0);
    std::vector<long> categories;
    for (const auto& line : invoice->mForList()) categories.push_back(line->account().value_or(0));
    EXPECT_NE(std::find(categories.begin(), categories.end(), document->get_mDefExpTUnspecifiedExpense()),
              categories.end());
    EXPECT_EQ(std::find(categories.begin(), categories.end(), turnover), categories.end());
}

// The invoice sheet tells an invoice's net and VAT lines by their accounts,
// so that okayed unchanged it stays as booked whatever its VAT beside its
// net amount: as large (a rate of 100 %) or larger, or a second rate's VAT
// above the first's. Ranked by amount, the VAT was read as the net amount
// and the turnover category line moved onto the VAT category.
TEST_F(InvoicesTest, AnInvoiceWhoseVATIsAsLargeAsItsNetAmountOkayedUnchangedStaysAsBooked)
{
    struct Case {
        double first;
        std::optional<double> second;
        double net;
    };
    const Case cases[] = {{100.0, std::nullopt, 215.73}, {150.0, std::nullopt, 80.0}, {6.0, 21.0, 1000.0},
                          {100.0, 100.0, 12.5}, {21.0, 100.0, 40.0}};
    int number = 0;
    for (const Case& test : cases) {
        auto rateOf = [&](double percent) {
            arguments::VATRateArguments values;
            values.name = "Rate " + std::to_string(++number);
            values.rate = percent;
            EXPECT_EQ(run(33, nullptr, values), 1);
            for (const auto& made : arrays().VATRateArray)
                if (made->name() == values.name) return made;
            return std::shared_ptr<business::GXVATRate>();
        };
        const auto first = rateOf(test.first);
        const auto second = test.second ? rateOf(*test.second) : nullptr;
        const std::string invoiceNumber = "200900000" + std::to_string(number);
        arguments::InvoiceArguments values = invoiceOf(test.net, invoiceNumber.c_str());
        values.firstVATRateId = *first->idKey();
        values.secondVATRateId = second ? *second->idKey() : -1;
        const std::shared_ptr<CTrnSItem> invoice = transaction(run(38, nullptr, values));
        ASSERT_TRUE(invoice);
        const std::string before = bookedAs(*invoice);
        SCOPED_TRACE(before);

        const business::InvoiceReading reading = business::readInvoice(business(), *invoice);
        EXPECT_DOUBLE_EQ(reading.amountWithoutVAT.value_or(0), test.net);
        EXPECT_EQ(reading.firstRate, first);
        EXPECT_EQ(reading.secondRate, second);
        EXPECT_NEAR(reading.firstVATAmount, test.net * test.first / 100, 0.005);
        EXPECT_NEAR(reading.secondVATAmount, test.net * test.second.value_or(0) / 100, 0.005);

        // What the sheet sends when it is okayed as it opens.
        values.amountWithoutVAT = reading.amountWithoutVAT;
        values.firstVATRateId = reading.firstRate ? *reading.firstRate->idKey() : -1;
        values.secondVATRateId = reading.secondRate ? *reading.secondRate->idKey() : -1;
        ASSERT_GT(run(39, invoice, values), 0);
        EXPECT_EQ(bookedAs(*invoice), before);
        EXPECT_EQ(linesOf(invoice->mForList()).back(), (std::pair<long, double>{incomeCategory(), test.net}));
    }
}

// A credit note cancels the invoice's own amounts, line for line, and a
// credit note of a credit note is the invoice again, even made after a change
// of home currency: its copy went through the new home amounts and came back
// a cent off, unbalanced in its own currency.
TEST_F(InvoicesTest, ACreditNoteAfterAHomeCurrencyChangeCancelsTheInvoicedAmounts)
{
    ASSERT_TRUE(addDollar(1.71));
    const std::shared_ptr<CTrnSItem> invoice = transaction(run(38, nullptr, invoiceOf(1253.16, "2009000001")));
    ASSERT_TRUE(invoice);

    auto amounts = [](const LineItemArray& lines, double sign) {
        std::vector<std::pair<long, double>> out;
        for (const auto& line : lines)
            out.emplace_back(line->account().value_or(0), std::round(sign * line->getForeignAmount().value_or(0) * 100) / 100);
        return out;
    };
    const auto noteOf = [&](CTrnSItem& cancelled) {
        const std::optional<ObjectIdT> id = business::makeCreditNoteForInvoice(business(), cancelled);
        return id ? transaction(*id) : nullptr;
    };
    const std::shared_ptr<CTrnSItem> note = noteOf(*invoice);
    ASSERT_TRUE(note);
    document->mPreference()->setMHomeCurrency(*document->mCurrencyArray().front()->getId());
    EXPECT_EQ(amounts(note->mToList(), 1), amounts(invoice->mFromList(), 1));
    EXPECT_EQ(amounts(note->mFromList(), 1), amounts(invoice->mToList(), 1));
    EXPECT_EQ(amounts(note->mForList(), -1), amounts(invoice->mForList(), 1));
    const std::shared_ptr<CTrnSItem> again = noteOf(*note);
    ASSERT_TRUE(again);
    for (const auto& [lines, invoiced] : {std::pair{again->mFromList(), invoice->mFromList()},
                                          std::pair{again->mToList(), invoice->mToList()},
                                          std::pair{again->mForList(), invoice->mForList()}})
        EXPECT_EQ(amounts(lines, 1), amounts(invoiced, 1));
}

// A payment of half an invoice whose VAT is an odd number of cents, linked
// and then split: every line is booked in whole cents and the category lines
// of each payment still make its amount, so that the books read again give
// the same category figures (a line of 204.935 and one of 43.035 added up
// to a total that rounded one way before saving and the other after).
TEST_F(InvoicesTest, LinkedAndSplitPaymentsBookWholeCentsThatReadBackTheSame)
{
    auto wholeCents = [](double amount) { return std::fabs(amount * 100 - std::round(amount * 100)) < 1e-6; };
    auto expectWholeCentsMaking = [&](CTrnSItem& payment, double amount) {
        SCOPED_TRACE(payment.getName() + " of " + std::to_string(amount));
        EXPECT_NEAR(payment.mTotalAmount().value_or(0), amount, 1e-9);
        double categories = 0.0;
        for (const LineItemArray& lines : {payment.mFromList(), payment.mToList(), payment.mForList()})
            for (const auto& line : lines) {
                EXPECT_TRUE(wholeCents(line->getLocalAmount().value_or(0))) << line->getLocalAmount().value_or(0);
                EXPECT_TRUE(wholeCents(line->getForeignAmount().value_or(0))) << line->getForeignAmount().value_or(0);
            }
        for (const auto& line : payment.mForList())
            categories += (business::isExpenseCategory(business(), line->account().value_or(0)) ? -1 : 1) *
                          line->getLocalAmount().value_or(0);
        EXPECT_NEAR(categories, amount, 1e-9);
    };

    // 409.87 net at 21 %: 86.07 VAT, 495.94 owed, half of it 247.97.
    std::shared_ptr<CTrnSItem> invoice = transaction(run(38, nullptr, invoiceOf(409.87, "2009000001")));
    ASSERT_NE(invoice, nullptr);
    arguments::PaymentArguments paid = advanceOf();
    paid.paymentAmount = 247.97;
    std::shared_ptr<CTrnSItem> payment = transaction(run(44, nullptr, paid));
    ASSERT_NE(payment, nullptr);
    ASSERT_EQ(business::linkPaymentToInvoice(business(), *invoice, *payment), 1);
    expectWholeCentsMaking(*payment, 247.97);

    arguments::SplitPaymentArguments split;
    split.originalAmount = 247.97;
    split.splitAmount = 123.99;
    std::shared_ptr<CTrnSItem> leftover = transaction(run(45, payment, split));
    ASSERT_NE(leftover, nullptr);
    expectWholeCentsMaking(*payment, 123.99);
    expectWholeCentsMaking(*leftover, 123.98);

    auto categoryFigures = [](MyDocument& books) {
        std::map<ObjectIdT, double> figures;
        CNamedListArray& categories = *books.accounting()->mExpenseTypeList;
        for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(categories.GetCount()); ++i)
            if (auto* category = dynamic_cast<CExpenseType*>(categories.ObjectAt(i)))
                figures[category->Get_Id()] = std::round(category->Get_Amount() * 100) / 100;
        return figures;
    };
    savedModel = document->modelStreamBytes();
    savedArchive = document->businessArchiveBytes().bytes;
    EXPECT_EQ(categoryFigures(*reopen()), categoryFigures(*document));
}

// Many small invoices, each VAT line rounded to the cent as it is booked:
// the VAT listing, the declaration and the accounts all show the sum of the
// booked lines, and that sum is the hand figure: count x the rounded VAT.
TEST_F(InvoicesTest, VATOfManySmallInvoicesAgreesInListingDeclarationAndAccounts)
{
    struct Case {
        double net;
        double percent;
        int count;
        double vatEach;   // by hand, half away from zero
        DateT month;
    };
    const Case cases[] = {
        {12.35, 7, 100, 0.86, 20090101},   // 0.8645
        {2.50, 19, 40, 0.48, 20090201},    // 0.475
        {0.10, 5, 60, 0.01, 20090301},     // 0.005
        {1.15, 21, 80, 0.24, 20090401},    // 0.2415
        {4.35, 6, 25, 0.26, 20090501},     // 0.261
        {0.03, 21, 70, 0.01, 20090601},    // 0.0063
    };
    owner->setVATNr(std::string_view("BE0111222333"));
    const long open = owner->openDebitInvoiceAccount().value_or(0);
    int number = 100;
    for (const Case& c : cases) {
        arguments::VATRateArguments percent;
        percent.name = "Rate " + std::to_string(c.month);
        percent.rate = c.percent;
        ASSERT_EQ(run(33, nullptr, percent), 1);
        // A new rate is listed first.
        const std::shared_ptr<business::GXVATRate> caseRate = arrays().VATRateArray.front();
        const long received = caseRate->accountIdReceived().value_or(0);
        const double owedBefore = owedOn(open);

        double vatLines = 0, owedLines = 0;
        for (int k = 0; k < c.count; ++k) {
            const std::string invoiceNumber = "2009" + std::to_string(100000 + ++number).substr(0, 6);
            arguments::InvoiceArguments values = invoiceOf(c.net, invoiceNumber.c_str());
            values.firstVATRateId = *caseRate->idKey();
            values.invoiceDate = c.month + k % 28;
            const int id = run(38, nullptr, values);
            ASSERT_GT(id, 0);
            const std::shared_ptr<CTrnSItem> invoice = transaction(id);
            for (const auto& line : invoice->mFromList())
                if (line->account() == received) {
                    EXPECT_EQ(line->getLocalAmount(), c.vatEach) << c.net << " at " << c.percent;
                    vatLines += line->getLocalAmount().value_or(0);
                }
            for (const auto& line : invoice->mToList())
                if (line->account() == open) owedLines += line->getLocalAmount().value_or(0);
        }
        const std::string what = std::to_string(c.count) + " x " + std::to_string(c.net);
        EXPECT_NEAR(vatLines, c.count * c.vatEach, 1e-6) << what;
        EXPECT_NEAR(owedLines, c.count * (c.net + c.vatEach), 1e-6) << what;

        // The customer's open-invoice account and the rate's VAT account.
        EXPECT_NEAR(owedOn(open) - owedBefore, owedLines, 1e-6) << what;
        CAccount* vatAccount = document->getAccountForId(static_cast<ObjectIdT>(received));
        ASSERT_NE(vatAccount, nullptr);
        EXPECT_NEAR(std::fabs(vatAccount->Get_mLocalBalance()), vatLines, 1e-6) << what;

        // The listing of the month, for this rate only.
        const DateT last = c.month + 27;
        business::CVATListingReportBuilder listing;
        listing.setDocument(document->accounting());
        listing.setBusinessDocument(&business());
        listing.setPerdiodicityParms(4, 1, 1, 1, 1);
        listing.setStartDate(c.month);
        listing.setEndDate(last);
        listing.setRateToRetain(caseRate.get());
        const auto contents = listing.buildContents();
        const std::string shown = CNSNumberAmountTBridge::NSNumberToNSString(vatLines);
        bool totalFound = false;
        for (std::size_t i = 0; i < contents->count(); ++i) {
            const CParagraph& paragraph = contents->objectAtIndex(i);
            if (paragraph.countOfReportColumns() < 6 ||
                paragraph.reportColumnAtIndex(0).mValue() != localized("GRANDTOTALTITLE"))
                continue;
            totalFound = true;
            EXPECT_EQ(paragraph.reportColumnAtIndex(4).mValue(), shown) << what;
        }
        EXPECT_TRUE(totalFound) << what;

        // The declaration of the month, for this rate only.
        business::InterVATBuilder declaration(&business());
        declaration.setStartDate(c.month);
        declaration.setEndDate(last);
        declaration.setRateToRetain(caseRate);
        char expected[64];
        std::snprintf(expected, sizeof expected, "<VATRECEIVED>%.2f</VATRECEIVED>", c.count * c.vatEach);
        EXPECT_NE(declaration.buildInterVatDocument().find(expected), std::string::npos) << what << ": " << expected;
    }
}

TEST(InvoiceNumbers, StructuredReferencesCarryTheirCheckDigits)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"1", "+++000/0000/00101+++"},
        {"97", "+++000/0000/09797+++"},          // a multiple of 97 checks with 97
        {"2008000001", "+++200/8000/00191+++"},
        {"9999999999", "+++999/9999/99948+++"},
        {"0", "+++000/0000/00097+++"},
        {"12345678901", ""},                      // more than ten digits
        {"-5", ""}, {" 12", ""}, {"12 ", ""}, {"abc", ""}, {"", ""},
    };
    for (const auto& [number, reference] : cases)
        EXPECT_EQ(business::structuredReferenceForNumber(number), reference) << number;
    EXPECT_EQ(business::cleanStructuredReference("+++200/8000/00191+++"), "200800000191");
    EXPECT_EQ(business::cleanStructuredReference(" 1.2-3 "), "123");
}

// Deleting an account with bookings deletes their transactions: what the
// business objects keep of those goes with them, as when each is deleted by
// itself. An invoice keeps no payment that went (and is owed in full again),
// a VAT period no closing by a VAT payment that went. (An invoice cannot go
// with an account: the owner's accounts it books on are not deleted.)
TEST_F(InvoicesTest, AnAccountDeletedWithItsBookingsLeavesNoBusinessLinkToThem)
{
    const long bank = run(13, nullptr,
                          arguments::AccountArguments(-1, std::string("Bank"), std::string(), 1, std::nullopt,
                                                      std::nullopt, std::nullopt, std::nullopt, std::nullopt, 100.0,
                                                      std::nullopt));
    ASSERT_GT(bank, 0);
    auto bookOnBank = [&](long from, double amount, DateT date, const char* name) {
        arguments::CTransactionArguments values;
        values.mTransactionDictionary =
            sheetTransactionDictionary(*document, static_cast<ObjectIdT>(from), static_cast<ObjectIdT>(bank),
                                       static_cast<ObjectIdT>(incomeCategory()), amount, date, name);
        run(23, nullptr, values);
        for (const auto& transaction : document->mTransactionArray())
            if (transaction->getName() == name) return transaction;
        return std::shared_ptr<CTrnSItem>();
    };
    auto link = [&](const std::shared_ptr<CTrnSItem>& payment, const std::shared_ptr<CTrnSItem>& invoice) {
        arguments::TransactionLinkArguments values;
        values.name = payment->getName();
        values.linkedId = invoice->getId();
        return run(kLinkPaymentToInvoiceCommand, payment, values);
    };
    // Peeters pays half of an invoice into the bank.
    const auto invoice = transaction(run(38, nullptr, invoiceOf(1000.0, "2009000001")));
    ASSERT_TRUE(invoice);
    const auto paid = bookOnBank(owner->openDebitInvoiceAccount().value_or(0), 605.0, 20090320, "Peeters pays");
    ASSERT_TRUE(paid);
    ASSERT_EQ(link(paid, invoice), 1);
    // A second payment of Peeters, not linked.
    const auto otherPaid = bookOnBank(owner->openDebitInvoiceAccount().value_or(0), 100.0, 20090321, "Peeters again");
    ASSERT_TRUE(otherPaid);
    // The VAT of a period paid from the bank, marked as such.
    ASSERT_FALSE(arrays().VATPeriodArray.empty());
    const std::shared_ptr<business::GXVATPeriod> period = arrays().VATPeriodArray.front();
    // Dated after the period: it pays that period's VAT.
    const DateT afterPeriod = CDate::SequenceToDateT(
        CDate::ConvertToSequence(static_cast<DateT>(period->endDate().value_or(0))) + 10);
    const auto VATPaid = bookOnBank(document->getDefaultOwnPropertyAccount(), 42.0, afterPeriod, "VAT paid");
    ASSERT_TRUE(VATPaid);
    arguments::TransactionLinkArguments marked;
    marked.name = VATPaid->getName();
    ASSERT_EQ(run(kVATBalancePaymentCommand, VATPaid, marked), 1);
    std::shared_ptr<business::GXVATPeriod> closed;
    for (const auto& each : arrays().VATPeriodArray)
        if (each->closingTransactionId() == std::optional<long>(*VATPaid->getId())) closed = each;
    ASSERT_TRUE(closed) << "a period closed by the VAT payment";
    ASSERT_EQ(namesMissingFromBooks(arrays(), *document->accounting()), "");

    // OK to the deletion, then the given answer to its bookings going with it.
    auto deleteBank = [&](AlertAnswer bookingsToo) {
        environment.alerts().clear();
        environment.alerts().scriptAnswer(AlertAnswer::Alternate);
        environment.alerts().scriptAnswer(bookingsToo);
        const bool deleted = document->deleteObject(document->getAccountItemForId(static_cast<ObjectIdT>(bank)), true);
        EXPECT_EQ(environment.alerts().numbers(), (std::vector<long>{226, 261}));
        return deleted;
    };
    // Cancel to its bookings: the bank stays, and so does every link to what
    // is booked on it.
    document->fileSaved();
    EXPECT_FALSE(deleteBank(AlertAnswer::Default));
    EXPECT_FALSE(document->isDocumentEdited());
    EXPECT_EQ(paid->mReferenceObjectId(), invoice->getId());
    EXPECT_EQ(std::dynamic_pointer_cast<business::GXInvoice>(invoice->invoiceExtension())->paymentTransactionIdArray(),
              std::vector<long>{*paid->getId()});

    // The bank goes (OK to the deletion, and to its bookings going with it),
    // and both payments and the VAT payment with it.
    const ObjectIdT paidId = static_cast<ObjectIdT>(*paid->getId());
    EXPECT_TRUE(deleteBank(AlertAnswer::Alternate));
    EXPECT_TRUE(document->isDocumentEdited());
    EXPECT_FALSE(paid->getSourceItem());
    EXPECT_FALSE(otherPaid->getSourceItem());
    EXPECT_FALSE(VATPaid->getSourceItem());
    EXPECT_EQ(document->getTransactionForId(paidId), nullptr) << "a transaction gone is no longer found";
    auto extension = std::dynamic_pointer_cast<business::GXInvoice>(invoice->invoiceExtension());
    ASSERT_TRUE(extension);
    EXPECT_TRUE(extension->paymentTransactionIdArray().empty());
    EXPECT_EQ(invoice->unaccountedForAmount(), kNoLinkedTransactionMarker) << "no payment counts on it";
    EXPECT_EQ(owedOn(owner->openDebitInvoiceAccount()), 1210);
    EXPECT_FALSE(closed->closingTransactionId().value_or(0) > 0);
    EXPECT_FALSE(closed->storedClosingDate().value_or(0) > 0);
    EXPECT_EQ(namesMissingFromBooks(arrays(), *document->accounting()), "");
}

TEST_F(InvoicesTest, InvoiceNumbersCountOnlyTheirOwnSeriesAndDueDatesFollowThePaymentPeriod)
{
    // Per year: hand-typed numbers of another form never raise the counter.
    for (const char* number : {"2009000007", "2009000001 ", "20090000099", "2010000050", "abc", "2009x00020"})
        run(38, nullptr, invoiceOf(10.0, number));
    EXPECT_EQ(business::calculateInvoiceNumberForDate(business(), 20090601), "2009000008");
    EXPECT_EQ(business::calculateInvoiceNumberForDate(business(), 20080601), "2008000001");
    // Running on: the largest leading number over all customer invoices.
    environment.defaults().set(business::kContinuousInvoiceNumbersKey, true);
    EXPECT_EQ(business::calculateInvoiceNumberForDate(business(), 20090601), "20090000100");

    // An accounting year from July: 15 March 2008 lies in the year numbered 2008.
    document->mPreference()->setMCurrentYearStart(7);
    DateT first = 0, last = 0;
    EXPECT_EQ(business::accountingYearNumber(business(), 20080315, &first, &last), 2008);
    EXPECT_EQ(std::make_pair(first, last), std::make_pair(DateT(20070701), DateT(20080630)));

    UserDefaults& defaults = environment.defaults();
    struct Case { long period; bool atMonthEnd; bool inMonths; DateT invoice; DateT due; };
    for (const Case& c : std::vector<Case>{{30, false, false, 20090310, 20090409},
                                          {1, false, true, 20090131, 20090228},
                                          {30, true, false, 20090410, 20090530}}) {
        defaults.set(business::kPaymentPeriodKey, c.period);
        defaults.set(business::kPaymentPeriodStartsAtMonthEndKey, c.atMonthEnd);
        defaults.set(business::kPaymentPeriodExpressedInMonthsKey, c.inMonths);
        EXPECT_EQ(business::calculateDueDate(c.invoice), c.due) << c.invoice;
    }
}

// Written on 5 January for 28 December, an invoice takes the number proposed
// for the new year; written in January with the old year's series, another
// is dated in the new year. Neither number is proposed again.
TEST_F(InvoicesTest, InvoiceNumbersAreNeverProposedTwiceAcrossTheYearBoundary)
{
    struct Written { DateT date; std::string number; };
    for (const Written& w : {Written{20091228, business::calculateInvoiceNumberForDate(business(), 20100105)},
                             Written{20100104, business::calculateInvoiceNumberForDate(business(), 20091231)}}) {
        arguments::InvoiceArguments values = invoiceOf(10.0, w.number.c_str());
        values.invoiceDate = w.date;
        values.dueDate = business::calculateDueDate(w.date);
        ASSERT_GT(run(38, nullptr, values), 0) << w.number;
    }
    EXPECT_EQ(business::calculateInvoiceNumberForDate(business(), 20100105), "2010000002");
    EXPECT_EQ(business::calculateInvoiceNumberForDate(business(), 20091231), "2009000002");
}

TEST_F(InvoicesTest, InvoiceAndPaymentCommandsAreJournaledAndReplayToTheSameBooks)
{
    Bytes directModel;
    std::string directArchive;
    {
        std::unique_ptr<MyDocument> crashed = reopen();
        std::swap(document, crashed);
        const int invoiceId = run(38, nullptr, invoiceOf(1000.0, "2009000001"));
        ASSERT_GT(invoiceId, 0);
        arguments::InvoiceArguments changed = invoiceOf(2000.0, "2009000001");
        changed.generatePayment = true;
        changed.paymentCategoryId = incomeCategory();
        EXPECT_EQ(run(39, transaction(invoiceId), changed), invoiceId);
        const int paymentId = run(44, nullptr, advanceOf());
        arguments::SplitPaymentArguments split;
        split.paymentName = "Advance";   // the roll-forward lists (and replays) named entries
        split.originalAmount = 500.0;
        split.splitAmount = 200.0;
        EXPECT_GT(run(45, transaction(paymentId), split), 0);
        EXPECT_EQ(readCommandJournalFile(document->journalFileName()).items.size(), 4u);
        directModel = document->modelStreamBytes();
        directArchive = document->businessArchiveBytes().bytes;
        std::swap(document, crashed);
    }
    ASSERT_NE(directArchive, savedArchive);

    std::unique_ptr<MyDocument> replayed = reopen();
    environment.alerts().scriptAnswer(AlertAnswer::Default);
    dispatcher.advance(std::chrono::milliseconds(100));
    EXPECT_TRUE(replayed->commandExecutor().lastReplayReport().empty())
        << ::testing::PrintToString(replayed->commandExecutor().lastReplayReport());
    EXPECT_EQ(firstDifference(replayed->modelStreamBytes(), directModel), "");
    EXPECT_EQ(replayed->businessArchiveBytes().bytes, directArchive);
}

// Every business object by its id: the VAT rates, VAT periods and invoices
// (with the transaction each books), and the counters new ones take ids from.
std::vector<std::string> businessIdsOf(business::BusinessOfDocument& part)
{
    std::vector<std::string> lines;
    const business::BusinessArrays& arrays = part.businessArrays();
    for (const auto& rate : arrays.VATRateArray)
        lines.push_back("rate " + std::to_string(rate->idKey().value_or(-1)) + " " + rate->name().value_or(""));
    for (const auto& period : arrays.VATPeriodArray)
        lines.push_back("period " + std::to_string(period->idKey().value_or(-1)) + " " +
                        std::to_string(period->startDate().value_or(0)));
    for (const auto* invoices : {&arrays.customerInvoiceArray, &arrays.supplierInvoiceArray})
        for (const auto& invoice : *invoices)
            lines.push_back("invoice " + std::to_string(invoice->idKey().value_or(-1)) + " of " +
                            std::to_string(invoice->transactionId().value_or(-1)));
    const business::BusinessIdCounters& ids = part.businessIds();
    lines.push_back("counters " + std::to_string(ids.VATRates) + " " + std::to_string(ids.VATPeriods) + " " +
                    std::to_string(ids.invoices));
    return lines;
}

// The newest VAT rate and invoice deleted before the save leave the
// counters above every id the file holds. Reading must give the counters the
// saving run had, so that the work after the save, replayed after a crash,
// makes its objects with the ids its entries name: a later change of the new
// VAT rate finds the rate it changed.
TEST_F(InvoicesTest, BusinessWorkAfterASaveIsReplayedWithTheIdsItHad)
{
    const std::string path = folder.file("Saved.books");
    arguments::VATRateArguments reduced;
    reduced.name = "Reduced";
    reduced.rate = 6.0;
    ASSERT_EQ(run(33, nullptr, reduced), 1);
    ASSERT_TRUE(document->deleteVATRate(arrays().VATRateArray.front(), false));
    const int dropped = run(38, nullptr, invoiceOf(100.0, "2009000001"));
    ASSERT_GT(dropped, 0);
    ASSERT_TRUE(document->deleteObject(transaction(dropped), false));
    ASSERT_TRUE(saveDocumentAs(*document, path).ok());

    arguments::VATRateArguments zero;
    zero.name = "Zero";
    zero.rate = 0.0;
    ASSERT_EQ(run(33, nullptr, zero), 1);
    const std::shared_ptr<business::GXVATRate> made = arrays().VATRateArray.front();
    arguments::VATRateArguments changed = zero;
    changed.name = "Zero rated";
    changed.createAccounts = false;
    changed.createCategoryInvoicedNotReceived = false;
    changed.accountIdPaid = made->accountIdPaid();
    changed.accountIdReceived = made->accountIdReceived();
    EXPECT_EQ(run(34, made, changed), 1);
    arguments::CAcoWArguments customer;
    customer.name = "Maes";
    customer.createCustomerOpenInvoices = true;
    ASSERT_GT(run(26, nullptr, customer), 0);
    const int invoiceId = run(38, nullptr, invoiceOf(300.0, "2009000002"));
    ASSERT_GT(invoiceId, 0);
    ASSERT_GT(run(44, nullptr, advanceOf()), 0);
    // Sorted: the owner list's order after reading is not what this is about.
    auto sortedBooks = [&] {
        std::vector<std::string> lines = listBooks(*document->accounting());
        std::sort(lines.begin(), lines.end());
        return lines;
    };
    const std::vector<std::string> books = sortedBooks();
    const std::vector<std::string> businessIds = businessIdsOf(business());
    const IdCounters counters = document->accounting()->Ids();
    document.reset();   // killed: nothing saved, nothing closed

    document = std::make_unique<MyDocument>(dispatcher);
    business::installBusiness(*document);
    ASSERT_TRUE(readFromFile(*document, path).ok());
    ASSERT_TRUE(document->commandExecutor().rollForwardPending());
    environment.alerts().scriptAnswer(AlertAnswer::Default);   // replay
    dispatcher.advance(std::chrono::milliseconds(100));
    EXPECT_TRUE(document->commandExecutor().lastReplayReport().empty())
        << ::testing::PrintToString(document->commandExecutor().lastReplayReport());
    EXPECT_EQ(sortedBooks(), books);
    EXPECT_EQ(businessIdsOf(business()), businessIds);
    EXPECT_EQ(document->accounting()->Ids(), counters);
}

// Invoice and payment entries are made again only when what they name is
// there, and one that makes nothing is listed too.
TEST_F(InvoicesTest, ReplayedInvoicesAndPaymentsThatCannotBeMadeAreListed)
{
    struct Case {
        const char* what;
        int command;
        std::string owner;   // what the entry's customer becomes
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"an invoice for a customer the books do not hold", 38, "9999", "ROLLFORWARDMISSINGID"},
        {"a payment for no customer, which books nothing", 44, "-1", "ROLLFORWARDNOEFFECT"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        {
            std::unique_ptr<MyDocument> crashed = reopen();
            std::swap(document, crashed);
            if (c.command == 38) {
                ASSERT_GT(run(38, nullptr, invoiceOf(1000.0, "2009000001")), 0);
            } else {
                ASSERT_GT(run(44, nullptr, advanceOf()), 0);
            }
            std::swap(document, crashed);
        }
        const std::string journal = folder.file("Books.books.log");
        std::string text = readFile(journal);
        const std::string owner = "thirdPartyId = " + std::to_string(customerId) + ";";
        const std::size_t at = text.find(owner);
        ASSERT_NE(at, std::string::npos) << text;
        text.replace(at, owner.size(), "thirdPartyId = " + c.owner + ";");
        writeFile(journal, text);

        std::unique_ptr<MyDocument> replayed = reopen();
        const Bytes before = replayed->modelStreamBytes();
        environment.alerts().scriptAnswer(AlertAnswer::Default);
        dispatcher.advance(std::chrono::milliseconds(100));
        const std::vector<std::string>& report = replayed->commandExecutor().lastReplayReport();
        ASSERT_EQ(report.size(), 1u);
        EXPECT_NE(report[0].find(localized(c.reason)), std::string::npos) << report[0];
        EXPECT_EQ(firstDifference(replayed->modelStreamBytes(), before), "");
        replayed->fileSaved();
    }
}

} // namespace
} // namespace ch::test

// The transaction item: the transaction dictionary, line rows, adding,
// removing and copying lines, linked payments, search and export.

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "bridge/ArgumentRecords.h"
#include "bridge/CDebetItem.h"
#include "bridge/CTrnSItem.h"
#include "bridge_test_support.h"
#include "model/CDebit.h"
#include "model/CNamedListArray.h"
#include "model/CPreference.h"
#include "model/CTransaction.h"

namespace ch::test {
namespace {

// Every scalar as text, the way a replayed journal hands a dictionary back.
Value asText(const Value& value)
{
    if (const Dictionary* dictionary = value.asDictionary()) {
        Dictionary copy;
        for (const auto& entry : *dictionary) copy.set(entry.key, asText(entry.value));
        return copy;
    }
    if (const Array* array = value.asArray()) {
        Array copy;
        for (const Value& element : *array) copy.push_back(asText(element));
        return copy;
    }
    return value.isAbsent() ? value : Value(value.toString());
}

std::vector<std::string> fields(const std::string& record)
{
    std::vector<std::string> result;
    std::size_t start = 0;
    for (std::size_t tab = record.find('\t'); tab != std::string::npos; tab = record.find('\t', start)) {
        result.push_back(record.substr(start, tab - start));
        start = tab + 1;
    }
    result.push_back(record.substr(start));
    return result;
}

class TransactionItemTest : public BooksTest {
protected:
    TransactionItemTest()
    {
        document.addAccount(10, 1, "Bank");
        document.addAccount(11, 3, "Shop");
        document.addAccount(12, 2, "Loan");
        document.addAccount(20, 1, "Receivables");
    }

    CTransaction* newTransaction()
    {
        auto* transaction = new CTransaction(&document.root(), true, transaction_type::kOther);
        document.root().mTransactionList->AppendObject(transaction);
        return transaction;
    }

    // Groceries of 40 from the bank (30) and the loan (10) to the shop, for
    // two categories, with every scalar of the dictionary set.
    std::shared_ptr<CTrnSItem> richTransaction()
    {
        CTransaction* t = document.addTransaction(20240305, 10, 11, 1, 30.0);
        auto item = document.transactionItem(t);
        item->setGetName("Groceries");
        item->setMDescription("weekly shop");
        item->setMTotalAmount(40.0);
        item->setMVatNR("BE0123456789");
        item->setMDocumentRef("INV-7");
        item->setMDocumentId(9);
        item->setMbApproved(true);
        item->setMbBudgetOneOff(true);
        item->setMSpecialTypeT(4);
        item->setMReferenceObjectId(777);
        auto secondDebit = item->addDetailWithType(type::kDebit);
        secondDebit->setAccount(12);
        secondDebit->setGetForeignAmount(10.0);
        item->mFromList()[0]->setGetForeignAmount(30.0);
        item->mToList()[0]->setGetForeignAmount(40.0);
        item->mForList()[0]->setGetForeignAmount(25.0);
        auto secondCategory = item->addDetailWithType(type::kExpenseTypeDetail);
        secondCategory->setAccount(6);
        secondCategory->setGetForeignAmount(15.0);
        item->setMTransactionType(2);
        return item;
    }
};

TEST_F(TransactionItemTest, DictionaryRoundTripGivesAnEqualTransactionAlsoFromText)
{
    const Dictionary original = richTransaction()->dictionaryRepresentation();
    ASSERT_EQ(original[transaction_key::kFromList].asArray()->size(), 2u);

    for (const bool replayed : {false, true}) {
        SCOPED_TRACE(replayed ? "scalars as text" : "scalars as numbers");
        auto copy = document.transactionItem(newTransaction());
        const Value input = replayed ? asText(original) : Value(original);
        ASSERT_TRUE(copy->initWithDictionaryRepresentation(*input.asDictionary()));
        EXPECT_EQ(copy->dictionaryRepresentation(), original);
        EXPECT_EQ(copy->mForList().at(1)->getAccountName(), richTransaction()->mForList().at(1)->getAccountName());
    }
}

TEST_F(TransactionItemTest, MissingKeysZeroSomeValuesAndLeaveTheOthers)
{
    auto item = richTransaction();
    const std::size_t debitLines = item->mFromList().size();
    ASSERT_TRUE(item->initWithDictionaryRepresentation(Dictionary{{"FromList", Array{}}}));

    // Read as 0 when missing.
    EXPECT_EQ(item->mDate(), 0);
    EXPECT_EQ(item->mCurrencyId(), 0);
    EXPECT_FALSE(item->mbApproved());
    EXPECT_FALSE(item->mbBudgetOneOff());
    EXPECT_EQ(item->mSpecialTypeT(), 0);
    EXPECT_EQ(item->mTransactionType(), 0);
    // Left as they were when missing (an empty line list included).
    EXPECT_EQ(item->getName(), "Groceries");
    EXPECT_EQ(item->mDescription(), "weekly shop");
    EXPECT_EQ(item->mVatNR(), "BE0123456789");
    EXPECT_EQ(item->mTotalAmount(), 40.0);
    EXPECT_EQ(item->mDocumentRef(), "INV-7");
    EXPECT_EQ(item->mReferenceObjectId(), 777);
    EXPECT_EQ(item->mDocumentId(), 9);
    EXPECT_EQ(item->mFromList().size(), debitLines);
}

TEST_F(TransactionItemTest, LinesFollowTheDictionariesByPosition)
{
    auto item = document.transactionItem(document.addTransaction(20240305, 10, 11, 1, 30.0));
    auto line = [](long account, double amount) {
        return Value(Dictionary{{"ObjectType", "DebT"}, {"AccountId", account}, {"CurrencyId", 1}, {"Amount", amount}});
    };
    auto accounts = [&] {
        std::vector<long> ids;
        for (const auto& debit : item->mFromList()) ids.push_back(debit->account().value_or(0));
        return ids;
    };
    const CNonVisual* firstLine = item->mFromList()[0]->getSourceItem();

    // More dictionaries than lines: the first line is updated in place, the
    // others are added.
    const Array three{line(12, 5.0), line(20, 6.0), line(10, 7.0)};
    EXPECT_TRUE(item->updateDetailsWithDictionaries(item->mFromList(), &three));
    EXPECT_EQ(accounts(), (std::vector<long>{12, 20, 10}));
    EXPECT_EQ(item->mFromList()[0]->getSourceItem(), firstLine);
    EXPECT_EQ(item->mFromList()[2]->getForeignAmount(), 7.0);

    // Fewer: the surplus goes from the end.
    const Array one{line(11, 8.0)};
    EXPECT_TRUE(item->updateDetailsWithDictionaries(item->mFromList(), &one));
    EXPECT_EQ(accounts(), (std::vector<long>{11}));
    EXPECT_EQ(item->mFromList()[0]->getForeignAmount(), 8.0);

    // An amount that is no number (a damaged journal) reads as 0.
    const Array damaged{line(11, std::numeric_limits<double>::infinity())};
    EXPECT_TRUE(item->updateDetailsWithDictionaries(item->mFromList(), &damaged));
    EXPECT_EQ(item->mFromList()[0]->getForeignAmount(), 0.0);

    // None changes nothing.
    const Array none;
    EXPECT_FALSE(item->updateDetailsWithDictionaries(item->mFromList(), &none));
    EXPECT_FALSE(item->updateDetailsWithDictionaries(item->mFromList(), nullptr));
    EXPECT_EQ(accounts(), (std::vector<long>{11}));
}

TEST_F(TransactionItemTest, RowSettersAnswerForExistingRowsOnly)
{
    auto item = document.transactionItem(document.addTransaction(20240305, 10, 11, 1, 30.0));
    auto usd = document.addCurrency(50, "USD", 1, 0.9);

    EXPECT_TRUE(item->setToAccountId(12, 1));
    EXPECT_FALSE(item->setToAccountId(12, 2));
    EXPECT_FALSE(item->setFromAccountId(12, 0));
    EXPECT_EQ(item->mToList()[0]->account(), 12);
    EXPECT_TRUE(item->setForCurrencyId(50, 1));
    EXPECT_EQ(item->mForList()[0]->currencyId(), 50);
    EXPECT_FALSE(item->setForCurrencyId(usd->Get_Id(), 3));
}

TEST_F(TransactionItemTest, InitialAccountsCompleteTheOtherRowsFromTheSettings)
{
    const CPreference& settings = *document.root().mPreference;
    auto item = document.transactionItem(newTransaction());
    ASSERT_TRUE(item->setInitialFromAccount(*document.getAccountItemForId(10)));
    EXPECT_EQ(item->mFromList()[0]->account(), 10);
    EXPECT_EQ(item->mToList()[0]->account(), settings.Get_mDefAccntUnspecifiedExpense());
    EXPECT_EQ(item->mForList()[0]->account(), settings.Get_mDefExpTUnspecifiedExpense());

    auto income = document.transactionItem(newTransaction());
    ASSERT_TRUE(income->setInitialExpenseType(*registry.categoryItemForCategory(
        document.root().GetExpenseTypeForID(settings.Get_mDefExpTUnspecifiedIncome()))));
    EXPECT_EQ(income->mFromList()[0]->account(), settings.Get_mDefAccntUnspecifiedIncome());
    EXPECT_EQ(income->mToList()[0]->account(), settings.Get_mDefAccntOwnProperty());
}

TEST_F(TransactionItemTest, RemovingALinePostsItsKeyUnlessTheModelRefuses)
{
    auto item = document.transactionItem(document.addTransaction(20240305, 10, 11, 1, 30.0));
    NotificationLog log(document.notificationCenter(), {"DEBETDELETEDNOTIFICATION"});
    auto added = item->addDetailWithType(type::kDebit);
    ASSERT_TRUE(added);
    EXPECT_FALSE(item->addDetailWithType(fourCC("VatR")));
    const std::string key = added->calculateKey();
    ASSERT_EQ(registry.objectForKey(key), added);

    EXPECT_TRUE(item->removeDetail(*added));
    ASSERT_EQ(log.posted.size(), 1u);
    EXPECT_EQ(*log.posted[0].objectKey(), key);
    EXPECT_EQ(registry.objectForKey(key), nullptr);

    // The last line of a list stays (error 142) and nothing is announced.
    EXPECT_FALSE(item->removeDetail(*item->mFromList()[0]));
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{142});
    EXPECT_EQ(log.posted.size(), 1u);
}

TEST_F(TransactionItemTest, CopyingATransactionCopiesHeaderAndLines)
{
    auto source = richTransaction();
    auto copy = document.transactionItem(newTransaction());
    ASSERT_TRUE(copy->setEqualToTransaction(*source));
    // Everything but the link to another transaction.
    Dictionary expected = source->dictionaryRepresentation();
    expected.set("ReferenceObjectId", -1);
    EXPECT_EQ(copy->dictionaryRepresentation(), expected);

    // A blocked transaction keeps its lines: adding copies first and then
    // failing to remove the old ones would double its amounts.
    environment.alerts().clear();
    copy->setObjectStatus(status::kBlocked);
    EXPECT_FALSE(copy->updateDetails(copy->mFromList(), source->mToList()));
    EXPECT_EQ(copy->mFromList().size(), 2u);
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{140});
}

// A rounding cent counts in the home currency alone, with no amount in its
// line's currency. A transaction made or changed from the dictionary (a
// paste, a replayed journal) counts the same cent; before, its lines came
// out as nothing and the cent was lost.
TEST_F(TransactionItemTest, ALineOfAHomeAmountAloneKeepsItThroughTheDictionary)
{
    CTransaction* rounding = document.addTransaction(20240305, 10, 11, 1, 5.0);
    auto source = document.transactionItem(rounding);
    for (CNamedListArray* list : {rounding->GetDebitList(), rounding->GetCreditList(), rounding->GetExpenseTypeList()})
        static_cast<CDebit*>(list->ObjectAt(1))->Put_mAmounts(0.01, 0.0);
    auto amounts = [](CTrnSItem& item) {
        std::vector<std::string> lines;
        for (const auto& list : {item.mFromList(), item.mToList(), item.mForList()})
            for (const auto& line : list) {
                const auto* model = static_cast<const CDebit*>(line->getSourceItem());
                lines.push_back(std::to_string(model->Get_mAccountId()) + " " + std::to_string(model->Get_mAmount()) +
                                " / " + std::to_string(model->Get_mLocalAmount()));
            }
        return lines;
    };
    const std::vector<std::string> booked = amounts(*source);
    ASSERT_EQ(booked, (std::vector<std::string>{"10 0.000000 / 0.010000", "11 0.000000 / 0.010000",
                                                "1 0.000000 / 0.010000"}));
    const Dictionary dictionary = source->dictionaryRepresentation();
    for (const bool replayed : {false, true}) {
        SCOPED_TRACE(replayed ? "scalars as text" : "scalars as numbers");
        const Value input = replayed ? asText(dictionary) : Value(dictionary);
        // Made afresh, and over lines of other accounts and amounts.
        auto made = document.transactionItem(newTransaction());
        ASSERT_TRUE(made->initWithDictionaryRepresentation(*input.asDictionary()));
        EXPECT_EQ(amounts(*made), booked);
        auto changed = document.transactionItem(document.addTransaction(20240306, 12, 20, 6, 7.0));
        ASSERT_TRUE(changed->initWithDictionaryRepresentation(*input.asDictionary()));
        EXPECT_EQ(amounts(*changed), booked);
        // Over lines already on the same accounts that hold nothing, as a new
        // transaction's first lines on its default accounts do.
        auto empty = document.transactionItem(document.addTransaction(20240305, 10, 11, 1, 0.0));
        ASSERT_TRUE(empty->initWithDictionaryRepresentation(*input.asDictionary()));
        EXPECT_EQ(amounts(*empty), booked);
    }
}

TEST_F(TransactionItemTest, SimpleEntryFillsTheFirstLineOfEachList)
{
    auto item = document.transactionItem(newTransaction());
    SimpleTransactionArguments arguments;
    arguments.absoluteAmount = 12.5;
    arguments.fromAccountId = 10;
    arguments.toAccountId = 11;
    arguments.category = 1;
    arguments.categoryAmount = 12.5;
    arguments.name = "Lunch";
    arguments.date = 20240301;
    ASSERT_TRUE(item->setEqualToSimpleTransactionArguments(arguments));
    EXPECT_EQ(item->getName(), "Lunch");
    EXPECT_EQ(item->mDate(), 20240301);
    EXPECT_EQ(item->mTransactionType(), 3);
    EXPECT_TRUE(item->mbApproved());
    EXPECT_EQ(item->mFromList()[0]->account(), 10);
    EXPECT_EQ(item->mFromList()[0]->getForeignAmount(), 12.5);
    EXPECT_EQ(item->mToList()[0]->account(), 11);
    EXPECT_EQ(item->mForList()[0]->account(), 1);
}

TEST_F(TransactionItemTest, UnaccountedAmountOfAnInvoiceFollowsItsPayments)
{
    // The invoice books 100 on the receivables; payments take from there.
    auto invoice = document.transactionItem(document.addTransaction(20240301, 11, 20, 2, 100.0));
    auto payment = document.transactionItem(document.addTransaction(20240310, 20, 10, 3, 99.995));
    auto unrelated = document.transactionItem(document.addTransaction(20240311, 10, 11, 1, 5.0));
    EXPECT_FALSE(unrelated->hasPayments());
    EXPECT_EQ(unrelated->unaccountedForAmount(), kNoLinkedTransactionMarker);

    payment->setMReferenceObjectId(invoice->getId().value());
    EXPECT_NEAR(*invoice->unaccountedForAmount(), 0.005, 1e-9);
    EXPECT_TRUE(invoice->isPaid());          // half a cent counts as paid
    EXPECT_TRUE(invoice->hasPayments());
    EXPECT_EQ(payment->isLinkedToTransactionAsPayment(), invoice->getId());

    // A changed payment changes what is left, cached or not.
    payment->setMTotalAmount(99.9949);
    EXPECT_FALSE(invoice->isPaid());
    payment->setMTotalAmount(60.0);
    EXPECT_DOUBLE_EQ(*invoice->unaccountedForAmount(), 40.0);

    // A linked invoice or credit note gives the marker.
    payment->setMTransactionType(4);
    invoice->setUnaccountedForAmount();
    EXPECT_EQ(invoice->unaccountedForAmount(), kCreditNoteLinkedMarker);
    EXPECT_EQ(payment->isLinkedToTransactionAsPayment(), -2);
}

// What is left to pay of an invoice follows its payment's lines whichever
// way they change: rewritten from a dictionary (the modify path) or set one
// by one.
TEST_F(TransactionItemTest, UnaccountedAmountOfAnInvoiceFollowsItsPaymentsLines)
{
    auto invoice = document.transactionItem(document.addTransaction(20240301, 11, 20, 2, 100.0));
    auto payment = document.transactionItem(document.addTransaction(20240310, 20, 10, 3, 60.0));
    payment->setMReferenceObjectId(invoice->getId().value());
    ASSERT_DOUBLE_EQ(*invoice->unaccountedForAmount(), 40.0);

    // The same total, taken from the loan instead of the receivables.
    Dictionary rebooked = payment->dictionaryRepresentation();
    Array from = *rebooked["FromList"].asArray();
    Dictionary line = *from[0].asDictionary();
    line.set("AccountId", 12);
    from[0] = line;
    rebooked.set("FromList", from);
    payment->initWithDictionaryRepresentation(rebooked);
    EXPECT_EQ(invoice->unaccountedForAmount(), kNoLinkedTransactionMarker);
    EXPECT_FALSE(invoice->hasPayments());

    const std::shared_ptr<CDebetItem> paid = payment->mFromList()[0];
    paid->setAccount(20);
    EXPECT_DOUBLE_EQ(*invoice->unaccountedForAmount(), 40.0);
    paid->setGetForeignAmount(70.0);
    EXPECT_DOUBLE_EQ(*invoice->unaccountedForAmount(), 30.0);
}

// Invoice hooks that record the payments an invoice is asked to unlink.
struct RecordingHooks : InvoiceHooks {
    std::shared_ptr<GXInvoice> invoiceExtension(CTrnSItem&) override { return nullptr; }
    void unlinkPayment(CTrnSItem& from, CTrnSItem& which) override { unlinked.emplace_back(&from, &which); }
    bool linkPaymentToInvoice(CTrnSItem&, CTrnSItem&) override { return false; }
    std::optional<DateT> dueDate(CTrnSItem&) override { return std::nullopt; }
    std::optional<std::string> paymentReference(CTrnSItem&) override { return std::nullopt; }
    std::vector<std::pair<CTrnSItem*, CTrnSItem*>> unlinked;
};

TEST_F(TransactionItemTest, ReferenceIdIsClearedByTheDocumentsNotifications)
{
    auto invoice = document.transactionItem(document.addTransaction(20240301, 11, 20, 2, 100.0));
    auto payment = document.transactionItem(document.addTransaction(20240310, 20, 10, 3, 100.0));

    payment->setMReferenceObjectId(std::nullopt);
    EXPECT_EQ(payment->mReferenceObjectId(), 0);
    payment->setMReferenceObjectId(std::nullopt);   // none while 0 is stored
    EXPECT_EQ(payment->mReferenceObjectId(), -1);

    payment->setMReferenceObjectId(invoice->getId().value());
    invoice->unlinkLinkedTransactions();   // not an invoice: the payments are asked
    EXPECT_EQ(payment->mReferenceObjectId(), 0);

    // An invoice hears that its payment is about to go and unlinks it.
    RecordingHooks hooks;
    document.hooks = &hooks;
    payment->setMReferenceObjectId(invoice->getId().value());
    document.notificationCenter().post("TRANSACTIONWILLBEDELETED", std::shared_ptr<Observable>(payment));
    ASSERT_EQ(hooks.unlinked.size(), 1u);
    EXPECT_EQ(hooks.unlinked[0], std::make_pair(invoice.get(), payment.get()));
}

// A share is numbered apart from the transactions: the transaction of the
// share's number is not the trades' invoice, and its going leaves them
// naming the share.
TEST_F(TransactionItemTest, ATransactionGoingLeavesATradeOfTheShareOfItsNumberLinked)
{
    auto payment = document.transactionItem(document.addTransaction(20240310, 20, 10, 3, 100.0));
    auto going = document.transactionItem(document.addTransaction(20240301, 11, 20, 2, 100.0));
    const long id = going->getId().value();
    CCurrency* share = document.addCurrency(id, "SHR", 1, 10.0, currency_type::kShare);
    CTransaction* bought = document.addTransaction(20240311, 10, 12, 3, 40.0);
    static_cast<CDebit*>(bought->GetCreditList()->ObjectAt(1))->Put_mCurrency(id, share);   // the units
    auto trade = document.transactionItem(bought);
    payment->setMReferenceObjectId(id);
    trade->setMReferenceObjectId(id);

    // Nor is the trade that transaction's payment when the trade is to go.
    RecordingHooks hooks;
    document.hooks = &hooks;
    document.notificationCenter().post("TRANSACTIONWILLBEDELETED", std::shared_ptr<Observable>(trade));
    EXPECT_TRUE(hooks.unlinked.empty());

    going->unlinkLinkedTransactions();
    EXPECT_EQ(payment->mReferenceObjectId(), 0);
    EXPECT_EQ(trade->mReferenceObjectId(), id);
}

TEST_F(TransactionItemTest, AnInvoiceUnlinksItsPaymentsAndForgetsItsDeletedExtension)
{
    struct Invoice : GXInvoice {
        std::vector<long>& paymentTransactionIdArray() override { return payments; }
        std::vector<long> payments;
    };
    struct Hooks : InvoiceHooks {
        std::shared_ptr<GXInvoice> invoiceExtension(CTrnSItem&) override
        {
            ++fetched;
            return invoice;
        }
        void unlinkPayment(CTrnSItem&, CTrnSItem&) override {}
        bool linkPaymentToInvoice(CTrnSItem&, CTrnSItem&) override { return true; }
        std::optional<DateT> dueDate(CTrnSItem&) override { return 20240401; }
        std::optional<std::string> paymentReference(CTrnSItem&) override { return std::nullopt; }
        std::shared_ptr<Invoice> invoice = std::make_shared<Invoice>();
        int fetched = 0;
    } hooks;
    document.hooks = &hooks;

    auto invoice = document.transactionItem(document.addTransaction(20240301, 11, 20, 2, 100.0));
    auto payment = document.transactionItem(document.addTransaction(20240310, 20, 10, 3, 100.0));
    EXPECT_EQ(invoice->invoiceExtension(), nullptr);   // not an invoice type
    invoice->setMTransactionType(4);
    ASSERT_EQ(invoice->invoiceExtension(), hooks.invoice);
    EXPECT_EQ(invoice->invoiceExtension(), hooks.invoice);
    EXPECT_EQ(hooks.fetched, 1);   // fetched once, then kept
    EXPECT_EQ(invoice->mToList()[0]->dueDate(), 20240401);

    // A payment still listed but relinked to another invoice keeps that link.
    auto relinked = document.transactionItem(document.addTransaction(20240311, 20, 10, 3, 50.0));
    const long otherInvoice = relinked->getId().value() + 100;
    relinked->setMReferenceObjectId(otherInvoice);
    payment->setMReferenceObjectId(invoice->getId().value());
    hooks.invoice->payments = {payment->getId().value(), relinked->getId().value()};
    invoice->unlinkLinkedTransactions();
    EXPECT_EQ(payment->mReferenceObjectId(), 0);
    EXPECT_EQ(relinked->mReferenceObjectId(), otherInvoice);
    EXPECT_TRUE(hooks.invoice->payments.empty());

    // Another invoice's deletion changes nothing; its own drops it.
    document.notificationCenter().post("GXCCustomerInvoiceDeletedNotification",
                                       std::shared_ptr<Observable>(std::make_shared<Invoice>()));
    EXPECT_EQ(hooks.fetched, 1);
    invoice->invoiceExtension();
    EXPECT_EQ(hooks.fetched, 1);
    document.notificationCenter().post("GXCSupplierInvoiceDeletedNotification",
                                       std::shared_ptr<Observable>(hooks.invoice));
    invoice->invoiceExtension();
    EXPECT_EQ(hooks.fetched, 2);
}

TEST_F(TransactionItemTest, SearchByAmountNumberAndText)
{
    auto item = document.transactionItem(document.addTransaction(20240305, 10, 11, 1, 12.5));
    item->setGetName("Groceries");
    item->setMDescription("Weekly shop");
    item->setMDocumentRef("INV-ABC");
    // A total that arithmetic left just below 12.5 is still 12.5 to the user.
    item->setMTotalAmount(12.499999999);

    for (const auto& [text, expected] : std::vector<std::pair<std::string, bool>>{
             {"12.5", true}, {"12.50", true}, {"groceries", true}, {"WEEKLY", true}, {"inv-abc", true},
             {"12.49", false}, {"0", false}, {"rent", false}})
        EXPECT_EQ(item->matches(text), expected) << text;
    EXPECT_TRUE(item->matches(std::to_string(item->getId().value())));
}

TEST_F(TransactionItemTest, ExportRecordsHaveTheirFields)
{
    auto item = document.transactionItem(document.addTransaction(20240305, 10, 11, 1, 25.0));
    item->setMTotalAmount(25.0);
    item->setGetName("Food\tand\tdrink");   // a tab inside a name must not split the record

    std::vector<std::string> record = fields(item->exportAsTSV(nullptr, false));
    ASSERT_EQ(record.size(), 21u);
    EXPECT_EQ(record[0], "05.03.2024");
    EXPECT_EQ(record[1], "Food and drink");
    EXPECT_EQ(record[2], "25.00");
    EXPECT_EQ(record[3], "EUR");
    EXPECT_EQ(record[5], "FROM");
    EXPECT_EQ(record[6], "Bank");
    EXPECT_EQ(record[11], "TO");
    EXPECT_EQ(record[17], "FOR");

    auto extra = item->addDetailWithType(type::kDebit);
    extra->setAccount(12);
    EXPECT_EQ(fields(item->exportAsTSV(nullptr, true)).size(), 27u);

    // One line with its transaction: amounts negated for a debit line, the
    // other lists' account texts at the end, no labels.
    std::vector<std::string> lineRecord = fields(item->mFromList()[0]->exportItsTransactionAsTSV(false));
    ASSERT_EQ(lineRecord.size(), 12u);
    EXPECT_EQ(lineRecord[2], "-25.00");
    EXPECT_EQ(lineRecord[4], "-25.00");
    EXPECT_EQ(lineRecord[8], "Shop");
    for (const std::string& field : lineRecord) EXPECT_TRUE(field != "FROM" && field != "TO" && field != "FOR");

    // A category line on its own.
    std::vector<std::string> category = fields(item->mForList()[0]->exportAsTSV(true, false));
    ASSERT_EQ(category.size(), 4u);
    EXPECT_EQ(category[0], "FOR");
    EXPECT_EQ(category[2], "25.00");
}

TEST_F(TransactionItemTest, ItemOfADeletedTransactionSaysSo)
{
    CTransaction* t = document.addTransaction(20240305, 10, 11, 1, 25.0);
    auto item = document.transactionItem(t);
    ASSERT_TRUE(document.deleteAndAnnounce(t, *document.root().mTransactionList, "TRANSACTIONDELETED"));

    EXPECT_EQ(item->exportAsTSV(nullptr, false), "-Deleted-");
    EXPECT_EQ(item->mDescription(), "-Deleted-");
    EXPECT_EQ(item->fullDescription(), "-Deleted-");
    EXPECT_EQ(item->mTransactionType(), 3);
    EXPECT_EQ(item->mReferenceObjectId(), -1);
    EXPECT_EQ(item->ForeignAmountAsString(), "0.00");
    EXPECT_TRUE(item->isBlocked());
    EXPECT_TRUE(item->mFromList().empty());
}

} // namespace
} // namespace ch::test

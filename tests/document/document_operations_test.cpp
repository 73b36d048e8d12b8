// What the commands with bodies of their own do to the books: currencies,
// accounts, categories and groups made as the sheets describe them, rates and
// transactions announced, deletions confirmed where they must be and
// announced before and after, and the change mark after every change.

#include <gtest/gtest.h>

#include <cmath>

#include "bridge/CAcoWItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/CPrfRItem.h"
#include "bridge/CRcrTItem.h"
#include "document/DocumentNotifications.h"
#include "document/GXNonVisual.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CAcoWArguments.h"
#include "document/arguments/CTransactionArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "document/arguments/CurrencyArguments.h"
#include "document/arguments/ShareTradeArguments.h"
#include "document/commands/CommandJournalReader.h"
#include "commands/recording_operations.h"
#include "document_fixture.h"
#include "model/CAccount.h"
#include "model/CAccountOwner.h"
#include "model/CCurrency.h"
#include "model/CCurrencyRate.h"
#include "model/CRecurringTransaction.h"

namespace ch::test {
namespace {

using Names = std::vector<std::string>;

class DocumentOperationsTest : public DocumentTest {
protected:
    int createAccount(const char* name, std::optional<double> balance, std::optional<int> specialType = std::nullopt,
                      ObjectIdT typeId = books::kOwnPropertyType)
    {
        arguments::AccountArguments values(std::nullopt, name, std::nullopt, typeId, books::kEUR, std::nullopt,
                                           std::nullopt, std::nullopt, std::nullopt, std::nullopt, balance);
        values.specialType = specialType;
        return executor().executeCommand(13, nullptr, values);
    }

    // The US dollar at 0.5 euro, through the currency sheet's command.
    std::shared_ptr<CCurRItem> makeDollar()
    {
        arguments::CurrencyArguments dollar;
        dollar.symbol = "USD";
        dollar.description = "US Dollar";
        dollar.baseCurrencyId = books::kEUR;
        dollar.conversionQuantity = 1;
        dollar.conversionFactor = 0.5;
        EXPECT_EQ(executor().executeCommand(6, nullptr, dollar), 1);
        return document->mCurrencyArray().front();
    }
    // An own account kept in the currency; its id.
    ObjectIdT makeAccountIn(const CCurRItem& currency, const char* name)
    {
        arguments::AccountArguments values(std::nullopt, name, std::nullopt, books::kOwnPropertyType,
                                           *currency.getId(), std::nullopt, std::nullopt, std::nullopt,
                                           std::nullopt, std::nullopt, std::nullopt);
        return static_cast<ObjectIdT>(executor().executeCommand(13, nullptr, values));
    }

    std::shared_ptr<CTrnSItem> postTransaction(double amount)
    {
        arguments::CTransactionArguments values;
        values.mTransactionDictionary = transactionDictionary(books::kDefaultAccount, books::kExpenseAccount,
                                                              books::kExpenseCategory, amount, 20090310, "Lunch");
        executor().executeCommand(23, nullptr, values);
        return document->mTransactionArray().front();
    }

    std::vector<int> journaledCommands()
    {
        std::vector<int> commands;
        for (const auto& item : readCommandJournalFile(document->journalFileName()).items)
            commands.push_back(item.mCommand);
        return commands;
    }
};

TEST_F(DocumentOperationsTest, NewCurrencyIsAnnouncedUnderItsOwnSpellingWithATodaysRate)
{
    NotificationLog log(document->notificationCenter(), {"CURRENCYCRETEDNOTIFICATION", "CURRENCYCREATEDNOTIFICATION"});
    arguments::CurrencyArguments values;
    values.symbol = "CHF";
    values.description = "Swiss Franc";
    values.baseCurrencyId = books::kEUR;
    values.conversionQuantity = 100;
    values.conversionFactor = 1.1;
    EXPECT_EQ(executor().executeCommand(6, nullptr, values), 1);

    std::shared_ptr<CCurRItem> franc = document->mCurrencyArray().front();
    EXPECT_EQ(franc->mShortName(), "CHF");
    EXPECT_EQ(franc->mDescription(), "Swiss Franc");
    EXPECT_EQ(log.names(), Names{"CURRENCYCRETEDNOTIFICATION"});
    EXPECT_EQ(log.posted[0].objectAs<CCurRItem>(), franc);
    auto* rate = static_cast<CCurrencyRate*>(
        static_cast<CCurrency*>(franc->getSourceItem())->Get_mHistoryList()->ObjectAt(1));
    EXPECT_EQ(rate->Get_mValidFrom(), 20090315);
    EXPECT_EQ(rate->Get_mConversionQuantity(), 100);
    EXPECT_EQ(rate->Get_mConversionFactor(), 1.1);   // kept in double
    EXPECT_TRUE(document->isDocumentEdited());

    // Modifying it marks the document changed as well, and announces nothing.
    document->clearChangeCount();
    values.description = "Franc";
    EXPECT_EQ(executor().executeCommand(7, franc, values), 1);
    EXPECT_EQ(franc->mDescription(), "Franc");
    EXPECT_TRUE(document->isDocumentEdited());
    EXPECT_EQ(log.posted.size(), 1u);
}

TEST_F(DocumentOperationsTest, NewShareComesWithItsAccountsAndFirstPriceAndKeepsItsBaseCurrency)
{
    NotificationLog log(document->notificationCenter(),
                        {"CURRENCYCRETEDNOTIFICATION", "SHAREPRICEMODIFIEDNOTIFICATION"});
    const std::size_t accounts = document->allAccounts().size();
    arguments::CShareArguments values;
    values.symbol = "ACME";
    values.description = "Acme Corporation";
    values.baseCurrencyId = books::kEUR;
    values.conversionQuantity = 1;
    values.conversionFactor = 1234567.89;
    values.comissionPLAccountId = books::kExpenseAccount;
    values.dividendDestinationPropertyAccountId = books::kDefaultAccount;
    EXPECT_EQ(executor().executeCommand(8, nullptr, values), 1);

    ASSERT_EQ(document->mShareArray().size(), 1u);
    std::shared_ptr<CCurRItem> acme = document->mShareArray().front();
    auto* share = static_cast<CCurrency*>(acme->getSourceItem());
    EXPECT_TRUE(acme->isShareType());
    EXPECT_EQ(acme->mShortName(), "ACME");
    EXPECT_EQ(acme->mDescription(), "Acme Corporation");
    EXPECT_EQ(acme->mComissionAccountId(), books::kExpenseAccount);
    EXPECT_EQ(acme->mDividentAccountIdTo(), books::kDefaultAccount);
    EXPECT_EQ(document->allAccounts().size(), accounts + 2);   // portfolio and result accounts
    EXPECT_NE(document->getAccountForId(share->Get_mPortfolioAccountId()), nullptr);
    auto* price = static_cast<CCurrencyRate*>(share->Get_mHistoryList()->ObjectAt(1));
    EXPECT_EQ(price->Get_mValidFrom(), 20090315);
    EXPECT_EQ(price->Get_mConversionFactor(), 1234567.89);   // not rounded to single precision
    EXPECT_EQ(log.names(), Names{"SHAREPRICEMODIFIEDNOTIFICATION"});
    EXPECT_TRUE(document->isDocumentEdited());
    EXPECT_EQ(journaledCommands(), std::vector<int>{8});

    // A modification keeps the base currency the share was made in.
    values.baseCurrencyId = 99;
    values.description = "Acme Corp.";
    EXPECT_EQ(executor().executeCommand(9, acme, values), 1);
    EXPECT_EQ(acme->mDescription(), "Acme Corp.");
    EXPECT_EQ(acme->mBaseCurrency(), books::kEUR);
}

// A share's portfolio account does not go by itself (every later trade of
// the share would be refused): the refusal names the share; the share's own
// deletion takes the account and its trades along.
TEST_F(DocumentOperationsTest, ASharesPortfolioAccountGoesOnlyWithItsShare)
{
    arguments::CShareArguments values;
    values.symbol = "ACME";
    values.description = "Acme Corporation";
    values.conversionQuantity = 1;
    values.conversionFactor = 50.0;
    ASSERT_EQ(executor().executeCommand(8, nullptr, values), 1);
    std::shared_ptr<CCurRItem> acme = document->mShareArray().front();
    auto buy = [&](double quantity) {
        arguments::BuySellSharesParameters trade;
        trade.price = 50.0;
        trade.commission = 0.0;
        trade.quantity = quantity;
        trade.totalValue = 50.0 * quantity;
        trade.fromAccountId = books::kDefaultAccount;
        trade.transactionDate = 20090310;
        trade.isBuyInd = true;
        executor().executeCommand(20, acme, trade);
    };
    buy(10);
    const std::shared_ptr<CAcnTItem> portfolio = acme->portfolioAccount();
    ASSERT_NE(portfolio, nullptr);
    const ObjectIdT portfolioId = portfolio->getSourceItem()->Get_Id();

    environment.alerts().clear();
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // OK
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // and its bookings
    EXPECT_FALSE(document->deleteObject(portfolio, true));
    EXPECT_EQ(environment.alerts().numbers(), (std::vector<long>{226, 336}));
    EXPECT_NE(environment.alerts().records().back().alert.message.find("ACME"), std::string::npos);
    EXPECT_NE(document->getAccountForId(portfolioId), nullptr);
    buy(5);
    EXPECT_DOUBLE_EQ(acme->numberOfShares(), 15.0) << "a later trade is booked";

    // A template naming the account stops the share's deletion before any
    // transaction is told it goes.
    arguments::CTransactionArguments monthly;
    monthly.mTransactionDictionary = transactionDictionary(portfolioId, books::kDefaultAccount,
                                                           books::kExpenseCategory, 30.0, 20090310, "Monthly");
    monthly.mTransactionDictionary->set(std::string(recurring_key::kRecurringType),
                                        static_cast<long>(recurring_type::kMonthly));
    executor().executeCommand(25, nullptr, monthly);
    ASSERT_EQ(document->mRecurringTransactionArray().size(), 1u);
    document->fileSaved();
    environment.alerts().clear();
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // OK
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // and its bookings
    {
        NotificationLog told(document->notificationCenter(), {GXCTransactionWillBeDeletedNotification});
        EXPECT_FALSE(document->deleteObject(acme, true));
        EXPECT_TRUE(told.posted.empty());
    }
    EXPECT_EQ(environment.alerts().numbers(), (std::vector<long>{226, 261, 237}));
    EXPECT_NE(document->getAccountForId(portfolioId), nullptr);
    EXPECT_NE(acme->portfolioAccount(), nullptr);
    EXPECT_FALSE(document->isDocumentEdited());
    ASSERT_EQ(document->mRecurringTransactionArray().size(), 1u);
    environment.alerts().clear();
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);
    EXPECT_TRUE(document->deleteObject(document->mRecurringTransactionArray().front(), true));

    environment.alerts().clear();
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // OK
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // and its bookings
    EXPECT_TRUE(document->deleteObject(acme, true));
    EXPECT_EQ(environment.alerts().numbers(), (std::vector<long>{226, 261}));
    EXPECT_TRUE(document->mShareArray().empty());
    EXPECT_EQ(document->getAccountForId(portfolioId), nullptr);
    EXPECT_TRUE(document->mTransactionArray().empty()) << "the trades went with the holding";
    EXPECT_TRUE(document->isDocumentEdited());
}

TEST_F(DocumentOperationsTest, NewAccountsTakeTheirBalanceAndCreditCardsJoinTheirList)
{
    NotificationLog log(document->notificationCenter(), {"ACCOUNTCREATED"});
    const std::size_t transactions = root().mTransactionList->GetCount();
    int plain = createAccount("Wallet", 0.0);
    EXPECT_EQ(root().mTransactionList->GetCount(), transactions);
    EXPECT_EQ(document->getAccountForId(plain)->Get_mBalance(), 0.0);
    EXPECT_TRUE(document->isDocumentEdited());

    int funded = createAccount("Savings", 120.0);
    EXPECT_EQ(document->getAccountForId(funded)->Get_mBalance(), 120.0);

    int card = createAccount("Visa", std::nullopt, 1, books::kDebtType);
    ASSERT_EQ(document->mCreditCardArray().size(), 1u);
    EXPECT_EQ(document->mCreditCardArray()[0]->getId(), card);
    EXPECT_EQ(log.posted.size(), 3u);
    EXPECT_EQ(log.posted[2].objectAs<CAcnTItem>()->getId(), card);
}

TEST_F(DocumentOperationsTest, NewCategoriesAndGroupsTakeTheirDefaultsAndColours)
{
    NotificationLog log(document->notificationCenter(), {"CATEGORYTYPECREATED", "CATEGORYCREATED"});
    arguments::CategoryGroupParameters garden;
    garden.name = "Garden";
    garden.mColor = Colour{1.0, 0.5, 0.0, 1.0};
    const int gardenId = executor().executeCommand(17, nullptr, garden);
    CMasterExpenseType* group = document->getMasterExpenseTypeForId(gardenId);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->Get_mParentId(), gardenId);   // its own parent: a top-level group
    EXPECT_EQ(group->Get_Color(), (RGBColor{65535, 32767, 0}));

    arguments::CategoryParameters seeds;
    seeds.name = "Seeds";
    seeds.mParentId = gardenId;
    const int seedsId = executor().executeCommand(15, nullptr, seeds);
    ASSERT_GT(seedsId, 0);
    EXPECT_EQ(document->getExpenseTypeForId(seedsId)->Get_mTaxDeductiblePct(), 100.0);
    seeds.mTaxDeductiblePct = 50.0;
    EXPECT_EQ(document->getExpenseTypeForId(executor().executeCommand(15, nullptr, seeds))->Get_mTaxDeductiblePct(),
              50.0);
    EXPECT_EQ(log.names(), (Names{"CATEGORYTYPECREATED", "CATEGORYCREATED", "CATEGORYCREATED"}));
}

TEST_F(DocumentOperationsTest, TransactionsAreMadeUpdatedAndPostedWithTheirAnnouncements)
{
    NotificationLog log(document->notificationCenter(),
                        {"TRANSACTIONCREATED", "TRANSACTIONWILLBEMODIFIED", "TRANSACTIONMODIFIED",
                         "TRANSACTIONLINKEDNOTIFICATION", "SHAREPRICEMODIFIEDNOTIFICATION"});
    std::shared_ptr<CTrnSItem> lunch = postTransaction(12.5);
    EXPECT_EQ(document->mTransactionArray().size(), 1u);   // once, at the top
    EXPECT_TRUE(document->mUnlinkedTransactionArray().empty());
    EXPECT_EQ(lunch->getName(), "Lunch");

    arguments::CTransactionArguments changed;
    changed.mTransactionDictionary = transactionDictionary(books::kDefaultAccount, books::kExpenseAccount,
                                                           books::kExpenseCategory, 14.0, 20090310, "Dinner");
    EXPECT_EQ(executor().executeCommand(24, lunch, changed), -1);
    EXPECT_EQ(lunch->getName(), "Dinner");
    EXPECT_EQ(lunch->mTotalAmount(), 14.0);

    executor().executeCommand(25, nullptr, changed);
    ASSERT_EQ(document->mRecurringTransactionArray().size(), 1u);
    EXPECT_EQ(root().mRecurringList->GetCount(), 1u);

    // An unlinked transaction is posted by command 29.
    root().UnlinkTrans(static_cast<CTransaction*>(lunch->getSourceItem()));
    document->mUnlinkedTransactionArray().push_back(lunch);
    EXPECT_EQ(executor().executeCommand(29, lunch), -1);
    EXPECT_FALSE(lunch->isUnlinked());
    EXPECT_TRUE(document->mUnlinkedTransactionArray().empty());

    executor().executeCommand(18, document->getHomeCurrency(), arguments::CurrencyRateParameters());
    EXPECT_EQ(log.names(), (Names{"TRANSACTIONCREATED", "TRANSACTIONWILLBEMODIFIED", "TRANSACTIONMODIFIED",
                                  "TRANSACTIONCREATED", "TRANSACTIONLINKEDNOTIFICATION",
                                  "SHAREPRICEMODIFIEDNOTIFICATION"}));
}

TEST_F(DocumentOperationsTest, APostedTransactionIsConfirmedBeforeItsDeletionIsJournaled)
{
    std::shared_ptr<CTrnSItem> lunch = postTransaction(12.5);
    const std::string key = lunch->calculateKey();
    NotificationLog log(document->notificationCenter(), {"TRANSACTIONWILLBEDELETED", "TRANSACTIONDELETED"});

    environment.alerts().scriptAnswer(AlertAnswer::Default);   // Cancel
    EXPECT_FALSE(document->deleteObject(lunch, true));
    EXPECT_NE(lunch->getSourceItem(), nullptr);
    EXPECT_EQ(journaledCommands(), std::vector<int>{23});
    EXPECT_TRUE(log.posted.empty());

    environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // OK
    EXPECT_TRUE(document->deleteObject(lunch, true));
    EXPECT_EQ(lunch->getSourceItem(), nullptr);
    EXPECT_TRUE(document->mTransactionArray().empty());
    EXPECT_EQ(journaledCommands(), (std::vector<int>{23, 28}));
    EXPECT_EQ(environment.alerts().numbers(), (std::vector<long>{226, 226}));
    ASSERT_EQ(log.names(), (Names{"TRANSACTIONWILLBEDELETED", "TRANSACTIONDELETED"}));
    EXPECT_EQ(log.posted[0].objectAs<CTrnSItem>(), lunch);
    EXPECT_EQ(*log.posted[1].objectKey(), key);
    // The journaled deletion will not ask when it is replayed.
    const auto entries = readCommandJournalFile(document->journalFileName()).items;
    EXPECT_NE(entries.back().mParameters->find("askBeforeDelete = 0"), std::string::npos);

    // An item whose object is gone: error 268, nothing sent.
    EXPECT_FALSE(document->deleteObject(lunch, true));
    EXPECT_EQ(environment.alerts().numbers().back(), 268);
    EXPECT_EQ(journaledCommands().size(), 2u);
}

TEST_F(DocumentOperationsTest, PaymentsKeepTheirLinkWhenTheModelRefusesTheDeletion)
{
    std::shared_ptr<CTrnSItem> invoice = postTransaction(100.0);
    std::shared_ptr<CTrnSItem> payment = postTransaction(40.0);
    payment->setMReferenceObjectId(invoice->getId());
    auto reference = [&] { return payment->mReferenceObjectId().value_or(0); };
    ASSERT_EQ(reference(), *invoice->getId());

    const ObjectStatusT posted = invoice->getSourceItem()->Get_ObjectStatus();
    invoice->getSourceItem()->Put_Status(status::kBlocked);
    EXPECT_FALSE(document->deleteObject(invoice, false));
    EXPECT_NE(invoice->getSourceItem(), nullptr);
    EXPECT_EQ(reference(), *invoice->getId());   // still linked

    invoice->getSourceItem()->Put_Status(posted);
    EXPECT_TRUE(document->deleteObject(invoice, false));
    EXPECT_EQ(reference(), 0);
}

// Another home currency converts every line: what is left to pay of an
// invoice follows at once, as it would after reading the books again.
TEST_F(DocumentOperationsTest, AnotherHomeCurrencyRefiguresWhatIsLeftToPay)
{
    const ObjectIdT usd = *makeDollar()->getId();

    auto book = [&](ObjectIdT from, ObjectIdT to, double amount) {
        arguments::CTransactionArguments values;
        values.mTransactionDictionary =
            transactionDictionary(from, to, books::kIncomeCategory, amount, 20090310, "Invoice");
        executor().executeCommand(23, nullptr, values);
        return document->mTransactionArray().front();
    };
    std::shared_ptr<CTrnSItem> invoice = book(books::kIncomeAccount, books::kDefaultAccount, 100.0);
    std::shared_ptr<CTrnSItem> payment = book(books::kDefaultAccount, books::kExpenseAccount, 70.0);
    payment->setMReferenceObjectId(invoice->getId());
    ASSERT_NEAR(invoice->unaccountedForAmount().value_or(0.0), 30.0, 1e-9);

    document->mPreference()->setMHomeCurrency(usd);
    ASSERT_NEAR(payment->mFromList()[0]->getLocalAmount().value_or(0.0), 140.0, 1e-9);
    EXPECT_NEAR(invoice->unaccountedForAmount().value_or(0.0), 60.0, 1e-9);
}

// A rate given later for the day of a booking is met by a correction of the
// account's home balance; the booking itself, okayed again unchanged on its
// sheet, keeps what it was booked at instead of being converted once more.
TEST_F(DocumentOperationsTest, AForeignBookingOkayedUnchangedKeepsWhatItWasBookedAt)
{
    std::shared_ptr<CCurRItem> usd = makeDollar();
    const ObjectIdT dollars = makeAccountIn(*usd, "Dollars");
    arguments::CTransactionArguments booking;
    booking.mTransactionDictionary =
        transactionDictionary(books::kDefaultAccount, dollars, books::kExpenseCategory, 50.0, 20090315, "Change");
    executor().executeCommand(23, nullptr, booking);
    std::shared_ptr<CTrnSItem> change = document->mTransactionArray().front();
    auto* held = document->getAccountForId(dollars);
    ASSERT_NEAR(held->Get_mBalance(), 100.0, 1e-9);
    ASSERT_NEAR(held->Get_mLocalBalance(), 50.0, 1e-9);

    arguments::CurrencyRateParameters rate;
    rate.quantity = 1;
    rate.factor = 0.6;
    rate.dateStart = 20090315;
    executor().executeCommand(18, usd, rate);
    ASSERT_NEAR(held->Get_mLocalBalance(), 60.0, 1e-9);
    auto* own = document->getAccountForId(books::kDefaultAccount);
    const double ownBefore = own->Get_mLocalBalance();

    arguments::CTransactionArguments unchanged;
    unchanged.mTransactionDictionary = change->dictionaryRepresentation();
    executor().executeCommand(24, change, unchanged);

    EXPECT_NEAR(held->Get_mBalance(), 100.0, 1e-9);
    EXPECT_NEAR(held->Get_mLocalBalance(), 60.0, 1e-9);
    EXPECT_NEAR(change->mToList()[0]->getLocalAmount().value_or(0.0), 50.0, 1e-9);
    EXPECT_NEAR(own->Get_mLocalBalance(), ownBefore, 1e-9);
}

// An emptied foreign account keeps the home remainder its rates left until
// a balance of 0 is typed on its sheet; okayed without one, nothing is booked.
TEST_F(DocumentOperationsTest, AnAccountSheetBooksAHomeRemainderAwayOnlyWhenZeroIsTyped)
{
    std::shared_ptr<CCurRItem> usd = makeDollar();
    const ObjectIdT id = makeAccountIn(*usd, "Dollars");
    auto book = [&](ObjectIdT from, ObjectIdT to, double amount, DateT date) {
        arguments::CTransactionArguments booking;
        booking.mTransactionDictionary =
            transactionDictionary(from, to, books::kExpenseCategory, amount, date, "Change");
        executor().executeCommand(23, nullptr, booking);
    };
    book(books::kDefaultAccount, id, 50.0, 20090310);   // 100 USD
    arguments::CurrencyRateParameters rate;
    rate.quantity = 1;
    rate.factor = 0.6;
    rate.dateStart = 20090312;
    executor().executeCommand(18, usd, rate);
    book(id, books::kDefaultAccount, 60.0, 20090313);   // the 100 USD out
    CAccount* dollars = document->getAccountForId(id);
    ASSERT_NEAR(dollars->Get_mBalance(), 0.0, 1e-9);
    const double remainder = dollars->Get_mLocalBalance();
    ASSERT_GT(std::fabs(remainder), 0.005);
    const std::size_t transactions = document->mTransactionArray().size();

    // The sheet okayed as it came, then with 0 typed as the balance.
    arguments::AccountArguments values(id, "Dollars", std::nullopt, books::kOwnPropertyType, *usd->getId(),
                                       std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                                       std::nullopt);
    executor().executeCommand(12, document->getAccountItemForId(id), values);
    EXPECT_EQ(document->mTransactionArray().size(), transactions);
    EXPECT_EQ(dollars->Get_mLocalBalance(), remainder);

    values.newBalance = 0.0;
    executor().executeCommand(12, document->getAccountItemForId(id), values);
    EXPECT_EQ(document->mTransactionArray().size(), transactions + 1);
    EXPECT_NEAR(dollars->Get_mLocalBalance(), 0.0, 1e-9);
}

TEST_F(DocumentOperationsTest, ACopiedTransactionCanBePastedOnlyWhileItExists)
{
    EXPECT_FALSE(document->hasTransactionToPaste());
    std::shared_ptr<CTrnSItem> lunch = postTransaction(12.5);
    document->copyTransaction(lunch);
    EXPECT_TRUE(document->hasTransactionToPaste());
    EXPECT_EQ(document->transactionToPaste(), lunch);

    ASSERT_TRUE(document->deleteObject(lunch, false));
    EXPECT_FALSE(document->hasTransactionToPaste());
    EXPECT_EQ(document->transactionToPaste(), nullptr);
}

TEST_F(DocumentOperationsTest, AVATRateIsConfirmedBeforeItsDeletionIsJournaled)
{
    class Rate : public GXNonVisual {
    public:
        std::string objectType() const override { return "VatR"; }
        std::optional<ObjectIdT> idKey() const override { return 2; }
    };
    auto rate = std::make_shared<Rate>();
    holdVATRates({rate});

    environment.alerts().scriptAnswer(AlertAnswer::Default);   // Cancel
    EXPECT_FALSE(document->deleteVATRate(rate, true));
    EXPECT_TRUE(journaledCommands().empty());

    // The business bookkeeping takes the rate out of the books.
    OperationRecorder recorder;
    document->operations().business = std::make_unique<RecordingBusiness>(recorder);
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // OK
    document->deleteVATRate(rate, true);
    EXPECT_EQ(recorder.calls, std::vector<std::string>{"performDeleteVATRate"});
    const auto entries = readCommandJournalFile(document->journalFileName()).items;
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].mCommand, 37);
    EXPECT_EQ(entries[0].mObject, "VatR2");
    EXPECT_NE(entries[0].mParameters->find("askBeforeDelete = 0"), std::string::npos);
}

TEST_F(DocumentOperationsTest, AnOwnerGoesAfterItsAccountsWithASingleQuestion)
{
    CAccountOwner* anna = root().InsertAccountOwner(-1, std::string_view("Anna"), std::nullopt, std::nullopt,
                                                    std::nullopt, std::nullopt, std::nullopt, std::nullopt);
    std::shared_ptr<CAcoWItem> owner = document->dataItemController().accountOwnerItemForAccountOwner(anna);
    document->mOwnerArray().push_back(owner);
    for (const char* name : {"Anna current", "Anna savings"}) {
        int id = createAccount(name, std::nullopt);
        document->getAccountForId(id)->Put_mAccountOwnerId(anna->Get_Id());
    }
    const std::size_t accounts = root().mAccountList->GetCount();
    NotificationLog log(document->notificationCenter(),
                        {"OWNERWILLBEDELTEDNOTIFICATION", "ACCOUNTWILLBEDELETED", "ACCOUNTDELETED",
                         "OWNERDELETEDNOTIFICATION"});
    environment.alerts().clear();
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // OK
    document->clearChangeCount();
    EXPECT_TRUE(document->deleteObject(owner, true));
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{226});
    EXPECT_EQ(log.names(), (Names{"OWNERWILLBEDELTEDNOTIFICATION", "ACCOUNTWILLBEDELETED", "ACCOUNTDELETED",
                                  "ACCOUNTWILLBEDELETED", "ACCOUNTDELETED", "OWNERDELETEDNOTIFICATION"}));
    EXPECT_EQ(root().mAccountList->GetCount(), accounts - 2);
    EXPECT_EQ(document->mOwnerArray().size(), 1u);   // "Me" stays
    EXPECT_TRUE(document->isDocumentEdited());
}

// A customer that is also a supplier has four invoice accounts, each named
// after it and held by it; deleting it takes all four, with one question.
TEST_F(DocumentOperationsTest, AnOwnerWithItsFourInvoiceAccountsGoesWithThemAll)
{
    arguments::CAcoWArguments values;
    values.name = "Garage Smith";
    values.createCustomerOpenInvoices = true;
    values.createSupplierOpenInvoices = true;
    const int ownerId = executor().executeCommand(26, nullptr, values);
    ASSERT_GT(ownerId, 0);
    std::shared_ptr<CAcoWItem> owner = document->getAccountOwnerItemForId(ownerId);
    ASSERT_TRUE(owner);
    Names names;
    for (const std::optional<long>& id : {owner->openDebitInvoiceAccount(), owner->debitorAccount(),
                                          owner->openCreditInvoiceAccount(), owner->creditorAccount()}) {
        ASSERT_TRUE(id && *id > 0);
        const std::shared_ptr<CAcnTItem> account = document->getAccountItemForId(static_cast<ObjectIdT>(*id));
        ASSERT_TRUE(account);
        EXPECT_EQ(account->getAccountOwnerId(), std::optional<long>(ownerId));
        names.push_back(account->getName());
    }
    EXPECT_EQ(names, (Names{"Garage Smith:Receivable", "Garage Smith:Sales", "Garage Smith:Payable",
                            "Garage Smith:Purchases"}));

    const std::size_t accounts = root().mAccountList->GetCount();
    environment.alerts().clear();
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);   // OK
    document->clearChangeCount();
    EXPECT_TRUE(document->deleteObject(owner, true));
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{226}) << "no account refused to go";
    EXPECT_EQ(document->getAccountOwnerItemForId(ownerId), nullptr);
    EXPECT_EQ(root().mAccountList->GetCount(), accounts - 4);
    for (const auto& account : document->allAccounts())
        EXPECT_NE(account->getAccountOwnerId(), std::optional<long>(ownerId)) << account->getName();
    EXPECT_TRUE(document->isDocumentEdited());
}

TEST_F(DocumentOperationsTest, DeclinedOrRefusedDeletionsChangeNothing)
{
    NotificationLog log(document->notificationCenter(), {"CATEGORYWILLBEDELETED", "CATEGORYDELETED"});
    auto category = document->getExpenseTypeItemForId(books::kExpenseCategory);
    environment.alerts().scriptAnswer(AlertAnswer::Default);   // Cancel
    EXPECT_FALSE(document->deleteObject(category, true));
    EXPECT_TRUE(log.posted.empty());
    EXPECT_FALSE(document->isDocumentEdited());

    // A category the books need is refused by the model: announced only before.
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);
    EXPECT_FALSE(document->deleteObject(category, true));
    EXPECT_EQ(log.names(), Names{"CATEGORYWILLBEDELETED"});
    EXPECT_NE(category->getSourceItem(), nullptr);
    EXPECT_FALSE(document->isDocumentEdited());
}

} // namespace
} // namespace ch::test

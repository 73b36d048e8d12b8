// Export as QIF writes QIF: the registers of the books' own accounts read
// back through the QIF import to the same lines and sums, whole books or one
// account; tab-separated export stays tab-separated.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "../document/document_fixture.h"
#include "document/StatementImport.h"
#include "document/TransactionExport.h"
#include "document/arguments/CTransactionArguments.h"
#include "import/CImpTItem.h"
#include "import/CQuickenData.h"
#include "import/InstallStatementImport.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/CDebit.h"
#include "model/CExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/CTransaction.h"
#include "platform/core/user_defaults.h"

namespace ch::test {
namespace {

// One booking of an account: its date, title and signed amount.
using Booking = std::tuple<DateT, std::string, double>;

class QifExportTest : public DocumentTest {
protected:
    QifExportTest()
    {
        current = addAccount("Current Account", books::kOwnPropertyType);
        savings = addAccount("Savings", books::kOwnPropertyType);
        restaurant = addAccount("Restaurant", books::kProfitAndLossType);
        meals = root().InsertExpenseType(-1, "Meals", std::string_view("Meals"), "", std::string_view(),
                                         books::kExpenseCategory, std::nullopt, nullptr, 100.0)
                    ->Get_Id();
        saved = document->modelStreamBytes();
        post(current, restaurant, meals, 12.5, 20090305, "Lunch");
        post(current, savings, books::kExpenseCategory, 1234.56, 20090310, "Savings Transfer");
        post(books::kIncomeAccount, current, books::kIncomeCategory, 2500.0, 20090325, "Salary");
        post(current, restaurant, meals, 40.0, 20090401, "Dinner in April");   // beyond the range
    }

    ObjectIdT addAccount(const char* name, ObjectIdT typeId)
    {
        return root()
            .InsertAccount(-1, name, std::string_view(name), "", std::string_view(), typeId, books::kEUR,
                           root().GetAccountTypeForId(typeId))
            ->Get_Id();
    }

    void post(ObjectIdT from, ObjectIdT to, ObjectIdT category, double amount, DateT date, const char* name)
    {
        arguments::CTransactionArguments args;
        args.mTransactionDictionary = transactionDictionary(from, to, category, amount, date, name);
        executor().executeCommand(23, nullptr, args);
    }

    // The file read by the QIF import into the books as they were before the
    // postings: each own account's lines.
    std::map<std::string, std::vector<Booking>> readBack(const std::string& file)
    {
        std::unique_ptr<MyDocument> fresh = openDocument(saved, folder.file("Fresh.books"));
        installStatementImport(*fresh);
        EXPECT_TRUE(fresh->statementImport().importFile(file, StatementKind::QIF));
        std::map<std::string, std::vector<Booking>> read;
        for (const auto& pending : fresh->statementImport().mImportedTransactionArray()) {
            const auto line = std::dynamic_pointer_cast<CImpTItem>(pending);
            if (!line) continue;
            EXPECT_TRUE(line->isComplete()) << line->mTitle() << ": " << line->mRemark();
            const CAccount* own = fresh->accounting()->GetAccountForID(line->mOurAccountId());
            read[own ? own->Get_StringRefNameOnly() : "?"].emplace_back(line->mValueDate(), line->mTitle(),
                                                                        line->mAmount());
        }
        for (auto& [name, lines] : read) std::sort(lines.begin(), lines.end());
        return read;
    }

    // An own account kept in dollars, at the given dollars to the euro.
    static CAccount* addDollars(CDocAccounting& books, double factor)
    {
        CCurrency* usd = books.InsertCurrency(-1, "USD", std::string_view("USD"), "US Dollar", std::string_view(), 1,
                                              currency_type::kCurrency, 1, factor, 20090101, 0, -1, -1);
        return books.InsertAccount(-1, "Dollars", std::string_view("Dollars"), "", std::string_view(),
                                   books::kOwnPropertyType, usd->Get_Id(),
                                   books.GetAccountTypeForId(books::kOwnPropertyType));
    }

    static double sum(const std::vector<Booking>& lines)
    {
        double total = 0.0;
        for (const Booking& line : lines) total += std::get<2>(line);
        return total;
    }

    ObjectIdT current = 0, savings = 0, restaurant = 0, meals = 0;
    std::vector<std::uint8_t> saved;
};

TEST_F(QifExportTest, TheBooksReadBackToTheSameLinesAndSums)
{
    UserDefaults::standard().set(std::string(CQuickenData::kDateFormatKey), 0);
    TransactionExport exporter(*document);
    const std::string file = folder.file("books.qif");
    ASSERT_TRUE(exporter.exportTransactionsFromDate(20090301, 20090331, true, file));
    const std::string text = readFile(file);
    // The account list, then each register under its account; the transfer
    // once, in the register it leaves.
    EXPECT_TRUE(text.starts_with("!Option:AutoSwitch\r\n!Account\r\nNCurrent Account\r\nTBank\r\n^\r\n"
                                 "!Clear:AutoSwitch\r\n!Account\r\nNCurrent Account\r\nTBank\r\n^\r\n!Type:Bank\r\n"))
        << text;
    EXPECT_NE(text.find("T-1234.56\r\nPSavings Transfer\r\nL[Savings]\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("L[Current Account]"), std::string::npos) << text;
    EXPECT_NE(text.find("LMeals\r\n"), std::string::npos) << text;

    const std::map<std::string, std::vector<Booking>> expected = {
        {"Current Account",
         {{20090305, "Lunch", -12.5}, {20090310, "Savings Transfer", -1234.56}, {20090325, "Salary", 2500.0}}},
    };
    const auto read = readBack(file);
    EXPECT_EQ(read, expected);
    for (const auto& [name, lines] : expected) {
        ASSERT_TRUE(read.contains(name)) << name;
        EXPECT_DOUBLE_EQ(sum(read.at(name)), sum(lines)) << name;
    }

    // Tab-separated text stays as it was: one record per transaction, no QIF.
    const std::string tsv = folder.file("books.tsv");
    ASSERT_TRUE(exporter.exportTransactionsFromDate(20090301, 20090331, false, tsv));
    const std::string tabs = readFile(tsv);
    EXPECT_EQ(tabs.find("!Type"), std::string::npos);
    EXPECT_EQ(std::count(tabs.begin(), tabs.end(), '\n'), 3);
}

TEST_F(QifExportTest, OneAccountIsOneRegisterThatReadsBack)
{
    UserDefaults::standard().set(std::string(CQuickenData::kDateFormatKey), 0);
    TransactionExport exporter(*document);
    const std::string file = folder.file("current.qif");
    auto account = document->getAccountItemForId(current);
    ASSERT_TRUE(account);
    ASSERT_TRUE(exporter.exportTransactionsForObject(*account, 20090301, 20090331, true, file));
    const std::string text = readFile(file);
    // The list of its one account, and its one register.
    EXPECT_EQ(std::count(text.begin(), text.end(), '!'), 5) << text;
    EXPECT_EQ(text.find("!Account", text.find("!Type:Bank")), std::string::npos) << text;

    const std::map<std::string, std::vector<Booking>> expected = {
        {"Current Account",
         {{20090305, "Lunch", -12.5}, {20090310, "Savings Transfer", -1234.56}, {20090325, "Salary", 2500.0}}},
    };
    EXPECT_EQ(readBack(file), expected);
}

// Books exported as QIF and imported into new books with the same accounts
// hold the same in every own and debt account, in their own currency and in
// the home currency: transfers once, a split between categories and one
// between an account and a category, a loan, an account held in dollars.
TEST_F(QifExportTest, ExportedBooksImportIntoTheSameBalances)
{
    UserDefaults::standard().set(std::string(CQuickenData::kDateFormatKey), 0);
    constexpr ObjectIdT kTransferCategory = 3;
    ASSERT_TRUE(root().GetExpenseTypeForID(kTransferCategory)->IsTransfer());
    // The same accounts in these books and in the new ones.
    struct Made {
        ObjectIdT dollars, loan, household;
    };
    auto addAccounts = [](CDocAccounting& books) {
        CCurrency* usd = books.InsertCurrency(-1, "USD", std::string_view("USD"), "US Dollar", std::string_view(), 1,
                                              currency_type::kCurrency, 1, 0.8, 20090101, 0, -1, -1);
        auto account = [&](const char* name, ObjectIdT type, ObjectIdT currency) {
            return books
                .InsertAccount(-1, name, std::string_view(name), "", std::string_view(), type, currency,
                               books.GetAccountTypeForId(type))
                ->Get_Id();
        };
        return Made{account("Dollars", books::kOwnPropertyType, usd->Get_Id()),
                    account("Loan", books::kDebtType, books::kEUR),
                    books
                        .InsertExpenseType(-1, "Household", std::string_view("Household"), "", std::string_view(),
                                           books::kExpenseCategory, std::nullopt, nullptr, 100.0)
                        ->Get_Id()};
    };
    std::unique_ptr<MyDocument> fresh = openDocument(saved, folder.file("Fresh.books"));
    addAccounts(*fresh->accounting());
    const Made made = addAccounts(root());
    const ObjectIdT dollars = made.dollars, loan = made.loan, household = made.household;

    auto latest = [&] { return static_cast<CTransaction*>(document->mTransactionArray().front()->getSourceItem()); };
    post(current, restaurant, meals, 150.0, 20090312, "Department store");
    {
        CTransaction* split = latest();
        static_cast<CDebit*>(split->GetExpenseTypeList()->ObjectAt(1))->Put_mLocalAmount(90.0);
        split->Add_ExpenseType(-1, false, 60.0)->Put_mAccountId(household, true, nullptr);
    }
    post(current, savings, kTransferCategory, 300.0, 20090314, "Savings and a meal");
    {
        CTransaction* mixed = latest();
        static_cast<CDebit*>(mixed->GetCreditList()->ObjectAt(1))->Put_mLocalAmount(200.0);
        mixed->Add_Credit(-1, false, 100.0)->Put_mAccountId(restaurant, true, nullptr);
        static_cast<CDebit*>(mixed->GetExpenseTypeList()->ObjectAt(1))->Put_mLocalAmount(200.0);
        mixed->Add_ExpenseType(-1, false, 100.0)->Put_mAccountId(meals, true, nullptr);
    }
    post(current, dollars, books::kExpenseCategory, 80.0, 20090315, "To dollars");
    post(books::kIncomeAccount, dollars, books::kIncomeCategory, 40.0, 20090316, "Dollar interest");
    post(loan, current, books::kExpenseCategory, 1000.0, 20090317, "Loan paid out");
    post(savings, loan, books::kExpenseCategory, 250.0, 20090318, "Loan repaid");

    TransactionExport exporter(*document);
    const std::string file = folder.file("round.qif");
    ASSERT_TRUE(exporter.exportTransactionsFromDate(20090101, 20091231, true, file));
    const std::string text = readFile(file);
    EXPECT_NE(text.find("SMeals\r\n$-90.00\r\nSHousehold\r\n$-60.00\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("NDollars\r\nTBank\r\n^\r\n!Type:Bank\r\nD03/16/2009\r\nT50.00\r\n"), std::string::npos)
        << text;

    installStatementImport(*fresh);
    ASSERT_TRUE(fresh->statementImport().importFile(file, StatementKind::QIF));
    const std::size_t accounts = fresh->accounting()->mAccountList->GetCount();
    fresh->statementImport().doActualImport();
    EXPECT_EQ(fresh->accounting()->mAccountList->GetCount(), accounts);   // no account made twice

    for (ArrayIndexT i = 1; i <= static_cast<ArrayIndexT>(root().mAccountList->GetCount()); ++i) {
        auto* account = static_cast<CAccount*>(root().mAccountList->ObjectAt(i));
        if (!account->thisIsAPropretyAccount() && !account->thisIsADebtAccount()) continue;
        const CAccount* copy = fresh->accounting()->GetAccountForName(account->Get_StringRefNameOnly());
        ASSERT_NE(copy, nullptr) << account->Get_StringRefNameOnly();
        EXPECT_NEAR(copy->Get_mBalance(), account->Get_mBalance(), 0.005) << account->Get_StringRefNameOnly();
        EXPECT_NEAR(copy->Get_mLocalBalance(), account->Get_mLocalBalance(), 0.005)
            << account->Get_StringRefNameOnly();
    }
}

// A credit card is written as a card register ("CCard" in the account list
// and over its register), and the import makes it a credit card again in
// new books that lack it, holding what it held; a loan stays "Oth L".
TEST_F(QifExportTest, ACreditCardComesBackAsACard)
{
    UserDefaults::standard().set(std::string(CQuickenData::kDateFormatKey), 0);
    const ObjectIdT card = addAccount("Visa", books::kDebtType);
    root().GetAccountForID(card)->Put_mAccountSpecialType(CAccount::kCreditCard);
    const ObjectIdT loan = addAccount("Loan", books::kDebtType);
    post(card, restaurant, meals, 45.0, 20090311, "Dinner by card");
    post(current, card, books::kExpenseCategory, 30.0, 20090320, "Card paid");
    post(loan, current, books::kExpenseCategory, 500.0, 20090321, "Loan paid out");

    TransactionExport exporter(*document);
    const std::string file = folder.file("card.qif");
    ASSERT_TRUE(exporter.exportTransactionsFromDate(20090301, 20090331, true, file));
    const std::string text = readFile(file);
    EXPECT_NE(text.find("NVisa\r\nTCCard\r\n^\r\n!Clear:AutoSwitch"), std::string::npos) << text;
    EXPECT_NE(text.find("NVisa\r\nTCCard\r\n^\r\n!Type:CCard\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("NLoan\r\nTOth L\r\n^\r\n!Type:Oth L\r\n"), std::string::npos) << text;

    std::unique_ptr<MyDocument> fresh = openDocument(saved, folder.file("Fresh.books"));
    installStatementImport(*fresh);
    ASSERT_TRUE(fresh->statementImport().importFile(file, StatementKind::QIF));
    fresh->statementImport().doActualImport();
    for (const char* name : {"Visa", "Loan"}) {
        SCOPED_TRACE(name);
        const CAccount* made = fresh->accounting()->GetAccountForName(name);
        ASSERT_NE(made, nullptr);
        EXPECT_TRUE(made->thisIsADebtAccount());
        EXPECT_EQ(fresh->getAccountItemForId(made->Get_Id())->isCreditCard(), std::string_view(name) == "Visa");
        EXPECT_NEAR(made->Get_mBalance(), root().GetAccountForName(name)->Get_mBalance(), 1e-9);
    }
    ASSERT_EQ(fresh->mCreditCardArray().size(), 1u);
    EXPECT_EQ(fresh->mCreditCardArray().front()->getName(), "Visa");
}

// A share bought from the current account: the shares, the commission and
// the price difference, written as the money goes in the current account's
// register (not in proportion to the category lines); an invoice still open
// moves no money of the books' own and has no register.
TEST_F(QifExportTest, ATradesCategoriesGoAsItsMoneyGoesAndAnOpenInvoiceHasNoRegister)
{
    UserDefaults::standard().set(std::string(CQuickenData::kDateFormatKey), 0);
    auto latest = [&] { return static_cast<CTransaction*>(document->mTransactionArray().front()->getSourceItem()); };
    post(current, savings, books::kExpenseCategory, 87.63, 20090312, "Bought");
    {
        CTransaction* trade = latest();
        static_cast<CDebit*>(trade->GetCreditList()->ObjectAt(1))->Put_mLocalAmount(79.52);
        trade->Add_Credit(-1, false, 3.18)->Put_mAccountId(books::kIncomeAccount, true, nullptr);
        trade->Add_Credit(-1, false, 4.93)->Put_mAccountId(restaurant, true, nullptr);
        static_cast<CDebit*>(trade->GetExpenseTypeList()->ObjectAt(1))->Put_mLocalAmount(-3.18);
        static_cast<CDebit*>(trade->GetExpenseTypeList()->ObjectAt(1))->Put_mAccountId(books::kIncomeCategory, true, nullptr);
        trade->Add_ExpenseType(-1, false, 4.93)->Put_mAccountId(meals, true, nullptr);
    }
    post(books::kIncomeAccount, restaurant, books::kIncomeCategory, 500.0, 20090313, "Open invoice");

    TransactionExport exporter(*document);
    const std::string file = folder.file("trade.qif");
    ASSERT_TRUE(exporter.exportTransactionsFromDate(20090312, 20090313, true, file));
    const std::string text = readFile(file);
    const std::string income = root().GetExpenseTypeForID(books::kIncomeCategory)->Get_StringrefName();
    EXPECT_NE(text.find("T-87.63\r\nPBought\r\nL[Savings]\r\nS[Savings]\r\n$-79.52\r\nS" + income +
                        "\r\n$-3.18\r\nSMeals\r\n$-4.93\r\n^"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("Open invoice"), std::string::npos) << text;
    EXPECT_EQ(text.find("NRestaurant"), std::string::npos) << text;
}

// A split record is one transaction with a line for each split: the own
// account gives the whole, each category's line and each other account's
// line takes its part, a refund inside the split comes back on the other side;
// a split's own date leaves the transaction's.
TEST_F(QifExportTest, ASplitRecordIsOneTransactionWithItsSplitLines)
{
    UserDefaults::standard().set(std::string(CQuickenData::kDateFormatKey), 0);
    const std::string file = folder.file("split.qif");
    writeFile(file, "!Account\r\nNCurrent Account\r\nTBank\r\n^\r\n!Type:Bank\r\n"
                    "D03/12/2009\r\nT-240.00\r\nPDepartment store\r\nLMeals\r\n"
                    "SMeals\r\nD02/01/2009\r\n$-90.00\r\nS[Savings]\r\n$-160.00\r\nSMeals\r\n$10.00\r\n^\r\n");
    std::unique_ptr<MyDocument> fresh = openDocument(saved, folder.file("Fresh.books"));
    installStatementImport(*fresh);
    ASSERT_TRUE(fresh->statementImport().importFile(file, StatementKind::QIF));
    ASSERT_EQ(fresh->statementImport().mImportedTransactionArray().size(), 1u);
    const std::size_t before = fresh->mTransactionArray().size();
    fresh->statementImport().doActualImport();
    ASSERT_EQ(fresh->mTransactionArray().size(), before + 1);
    EXPECT_TRUE(fresh->statementImport().mImportedTransactionArray().empty());

    const auto* made = static_cast<CTransaction*>(fresh->mTransactionArray().front()->getSourceItem());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->Get_mDate(), 20090312) << "a split's own date is not the transaction's";
    using Line = std::pair<ObjectIdT, double>;
    auto linesOf = [](const CNamedListArray* list) {
        std::vector<Line> lines;
        for (ArrayIndexT i = 1; list && i <= static_cast<ArrayIndexT>(list->GetCount()); ++i) {
            const auto* line = static_cast<const CDebit*>(list->ObjectAt(i));
            lines.emplace_back(line->Get_mAccountId(), std::round(line->Get_mLocalAmount() * 100.0) / 100.0);
        }
        std::sort(lines.begin(), lines.end());
        return lines;
    };
    // Money that comes in on a category comes from the unspecified income account.
    auto sorted = [](std::vector<Line> lines) {
        std::sort(lines.begin(), lines.end());
        return lines;
    };
    EXPECT_EQ(linesOf(made->GetDebitList()), sorted({{current, 240.0}, {books::kIncomeAccount, 10.0}}));
    EXPECT_EQ(linesOf(made->GetCreditList()), sorted({{savings, 160.0}, {books::kExpenseAccount, 90.0}}));
    EXPECT_EQ(linesOf(made->GetExpenseTypeList()), (std::vector<Line>{{meals, -10.0}, {meals, 90.0}}));
    EXPECT_NEAR(fresh->accounting()->GetAccountForID(current)->Get_mBalance(), -240.0, 1e-9);
    EXPECT_NEAR(fresh->accounting()->GetAccountForID(savings)->Get_mBalance(), 160.0, 1e-9);
}

// Another program's file writes a transfer in the registers of both its
// accounts: the import books it once, and says so.
TEST_F(QifExportTest, ATransferInBothRegistersIsBookedOnce)
{
    UserDefaults::standard().set(std::string(CQuickenData::kDateFormatKey), 0);
    const std::string file = folder.file("halves.qif");
    writeFile(file, "!Account\r\nNCurrent Account\r\nTBank\r\n^\r\n!Type:Bank\r\n"
                                "D03/10/2009\r\nT-500.00\r\nPTo savings\r\nL[Savings]\r\n^\r\n"
                                "D03/11/2009\r\nT-20.00\r\nPLunch\r\nLMeals\r\n^\r\n"
                                "!Account\r\nNSavings\r\nTBank\r\n^\r\n!Type:Bank\r\n"
                                "D03/10/2009\r\nT500.00\r\nPTo savings\r\nL[Current Account]\r\n^\r\n");
    std::unique_ptr<MyDocument> fresh = openDocument(saved, folder.file("Fresh.books"));
    installStatementImport(*fresh);
    ASSERT_TRUE(fresh->statementImport().importFile(file, StatementKind::QIF));
    EXPECT_EQ(fresh->statementImport().mImportedTransactionArray().size(), 2u);
    fresh->statementImport().doActualImport();
    EXPECT_NEAR(fresh->accounting()->GetAccountForID(savings)->Get_mBalance(), 500.0, 1e-9);
    EXPECT_NEAR(fresh->accounting()->GetAccountForID(current)->Get_mBalance(), -520.0, 1e-9);
}

// A split record in the register of an account kept in another currency
// than the home one: each line converts to the home currency on its own, and
// the cent that leaves between the sides changes no line's amount in the
// account's currency: the account holds what the file says.
TEST_F(QifExportTest, ASplitRecordInAnotherCurrencyKeepsItsAmountsToTheCent)
{
    UserDefaults::standard().set(std::string(CQuickenData::kDateFormatKey), 0);
    std::unique_ptr<MyDocument> fresh = openDocument(saved, folder.file("Fresh.books"));
    CAccount* dollars = addDollars(*fresh->accounting(), 0.8);
    // Each whole and its parts round apart in the home currency, one way or the other.
    const std::string file = folder.file("cents.qif");
    writeFile(file, "!Account\r\nNDollars\r\nTBank\r\n^\r\n!Type:Bank\r\n"
                    "D03/12/2009\r\nT-10.03\r\nPShop\r\nSMeals\r\n$-5.01\r\nSMeals\r\n$-5.02\r\n^\r\n"
                    "D03/13/2009\r\nT-10.07\r\nPShop\r\nSMeals\r\n$-5.03\r\nSMeals\r\n$-5.04\r\n^\r\n"
                    "D03/14/2009\r\nT10.03\r\nPRefund\r\nSMeals\r\n$5.01\r\nSMeals\r\n$5.02\r\n^\r\n"
                    "D03/15/2009\r\nT-697.68\r\nPStore\r\nSMeals\r\n$-488.38\r\nSMeals\r\n$-209.30\r\n^\r\n");
    installStatementImport(*fresh);
    ASSERT_TRUE(fresh->statementImport().importFile(file, StatementKind::QIF));
    const std::size_t before = fresh->mTransactionArray().size();
    fresh->statementImport().doActualImport();
    ASSERT_EQ(fresh->mTransactionArray().size(), before + 4);
    // The account's line of each, in dollars, as the file says.
    std::vector<double> lines;
    for (const auto& item : fresh->mTransactionArray()) {
        const auto* made = static_cast<const CTransaction*>(item->getSourceItem());
        for (const auto& [list, sign] : {std::pair{made->GetDebitList(), -1.0}, std::pair{made->GetCreditList(), 1.0}})
            for (ArrayIndexT i = 1; list && i <= static_cast<ArrayIndexT>(list->GetCount()); ++i)
                if (const auto* line = static_cast<const CDebit*>(list->ObjectAt(i)); line->Get_mAccountId() == dollars->Get_Id())
                    lines.push_back(sign * line->Get_mAmount());
    }
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (std::vector<double>{-697.68, -10.07, -10.03, 10.03}));
    EXPECT_NEAR(dollars->Get_mBalance(), -10.03 - 10.07 + 10.03 - 697.68, 1e-9);
}

// A transfer between accounts of two currencies is written in the register
// of each, in its own currency; the import books it once, each account for
// its own amount, changed at the rate the two amounts give (whatever rate
// the new books hold), and the same again when the books are exported again.
TEST_F(QifExportTest, ATransferBetweenTwoCurrenciesKeepsBothAmounts)
{
    UserDefaults::standard().set(std::string(CQuickenData::kDateFormatKey), 0);
    std::unique_ptr<MyDocument> fresh = openDocument(saved, folder.file("Fresh.books"));
    CAccount* freshDollars = addDollars(*fresh->accounting(), 0.5);
    CAccount* dollars = addDollars(root(), 0.8);
    post(current, dollars->Get_Id(), books::kExpenseCategory, 80.0, 20090315, "To dollars");
    post(dollars->Get_Id(), savings, books::kExpenseCategory, 20.0, 20090316, "From dollars");
    const double dollarsHeld = dollars->Get_mBalance();
    ASSERT_GT(std::fabs(dollarsHeld), 1.0);

    TransactionExport exporter(*document);
    const std::string file = folder.file("currencies.qif");
    ASSERT_TRUE(exporter.exportTransactionsFromDate(20090101, 20091231, true, file));
    const std::string text = readFile(file);
    EXPECT_NE(text.find("T-80.00\r\nPTo dollars\r\nL[Dollars]\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("PTo dollars\r\nL[Current Account]\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("T20.00\r\nPFrom dollars\r\nL[Dollars]\r\n"), std::string::npos) << text;

    installStatementImport(*fresh);
    ASSERT_TRUE(fresh->statementImport().importFile(file, StatementKind::QIF));
    const std::size_t before = fresh->mTransactionArray().size();
    fresh->statementImport().doActualImport();
    EXPECT_EQ(fresh->mTransactionArray().size(), before + 6);   // with the four of every test
    EXPECT_TRUE(fresh->statementImport().mImportedTransactionArray().empty());
    for (const char* name : {"Current Account", "Savings", "Dollars"}) {
        const CAccount* account = root().GetAccountForName(name);
        const CAccount* copy = fresh->accounting()->GetAccountForName(name);
        ASSERT_NE(copy, nullptr) << name;
        EXPECT_NEAR(copy->Get_mBalance(), account->Get_mBalance(), 1e-9) << name;
        EXPECT_NEAR(copy->Get_mLocalBalance(), account->Get_mLocalBalance(), 1e-9) << name;
    }
    EXPECT_NEAR(freshDollars->Get_mBalance(), dollarsHeld, 1e-9);
}

// Another program's file: the halves of transfers between accounts of two
// currencies, each in its own currency, the dollars' half first; one of them
// the part of a split, and one a split's part that goes with the dollars'
// own money, beside a meal.
TEST_F(QifExportTest, TheHalvesOfATransferBetweenTwoCurrenciesAreBookedOnceWithBothAmounts)
{
    UserDefaults::standard().set(std::string(CQuickenData::kDateFormatKey), 0);
    std::unique_ptr<MyDocument> fresh = openDocument(saved, folder.file("Fresh.books"));
    CAccount* dollars = addDollars(*fresh->accounting(), 0.5);
    const std::string file = folder.file("halves.qif");
    writeFile(file, "!Account\r\nNDollars\r\nTBank\r\n^\r\n!Type:Bank\r\n"
                    "D03/10/2009\r\nT100.00\r\nPTo dollars\r\nL[Current Account]\r\n^\r\n"
                    "D03/12/2009\r\nT60.00\r\nPDollars and a meal\r\nL[Current Account]\r\n^\r\n"
                    "D03/14/2009\r\nT-20.00\r\nPShared dinner\r\nL[Current Account]\r\n"
                    "S[Current Account]\r\n$30.00\r\nSMeals\r\n$-50.00\r\n^\r\n"
                    "D03/16/2009\r\nT-10.00\r\nPTwo lunches\r\nL[Current Account]\r\n"
                    "S[Current Account]\r\n$30.00\r\nSMeals\r\n$-20.00\r\nSMeals\r\n$-20.00\r\n^\r\n"
                    "!Account\r\nNCurrent Account\r\nTBank\r\n^\r\n!Type:Bank\r\n"
                    "D03/10/2009\r\nT-80.00\r\nPTo dollars\r\nL[Dollars]\r\n^\r\n"
                    "D03/12/2009\r\nT-58.00\r\nPDollars and a meal\r\nL[Dollars]\r\n"
                    "S[Dollars]\r\n$-48.00\r\nSMeals\r\n$-10.00\r\n^\r\n"
                    "D03/14/2009\r\nT-20.00\r\nPShared dinner\r\nL[Dollars]\r\n^\r\n"
                    "D03/16/2009\r\nT-20.00\r\nPTwo lunches\r\nL[Dollars]\r\n^\r\n");
    installStatementImport(*fresh);
    ASSERT_TRUE(fresh->statementImport().importFile(file, StatementKind::QIF));
    EXPECT_EQ(fresh->statementImport().mImportedTransactionArray().size(), 4u);
    fresh->statementImport().doActualImport();
    EXPECT_TRUE(fresh->statementImport().mImportedTransactionArray().empty());
    const CAccount* own = fresh->accounting()->GetAccountForID(current);
    EXPECT_NEAR(own->Get_mBalance(), -178.0, 1e-9);
    EXPECT_NEAR(own->Get_mLocalBalance(), -178.0, 1e-9);
    EXPECT_NEAR(dollars->Get_mBalance(), 130.0, 1e-9);
    // Changed at 80 for 100 and 48 for 60; the dinner at the 20 euros the
    // current account paid for 30 of its dollars: the dollars' own 20 are
    // 13.33; the lunches likewise, their 10 dollars 6.67 less the cent that
    // rounding the two lunches leaves.
    EXPECT_NEAR(dollars->Get_mLocalBalance(), 80.0 + 48.0 - 13.33 - 6.66, 1e-9);
}

// Money changed at the rate a transfer's two halves give is rounded to the
// cent as the books round a conversion: half a cent toward zero. 12.25
// dollars at 0.50 is 6.125 euro, 6.12 in the books.
TEST_F(QifExportTest, ASplitChangedAtItsTransfersRateRoundsAsTheBooksConvert)
{
    UserDefaults::standard().set(std::string(CQuickenData::kDateFormatKey), 0);
    std::unique_ptr<MyDocument> fresh = openDocument(saved, folder.file("Fresh.books"));
    CAccount* dollars = addDollars(*fresh->accounting(), 0.5);
    const std::string file = folder.file("half.qif");
    writeFile(file, "!Account\r\nNDollars\r\nTBank\r\n^\r\n!Type:Bank\r\n"
                    "D03/14/2009\r\nT-12.25\r\nPDinner for two\r\nL[Current Account]\r\n"
                    "S[Current Account]\r\n$40.00\r\nSMeals\r\n$-52.25\r\n^\r\n"
                    "!Account\r\nNCurrent Account\r\nTBank\r\n^\r\n!Type:Bank\r\n"
                    "D03/14/2009\r\nT-20.00\r\nPDinner for two\r\nL[Dollars]\r\n^\r\n");
    installStatementImport(*fresh);
    ASSERT_TRUE(fresh->statementImport().importFile(file, StatementKind::QIF));
    fresh->statementImport().doActualImport();
    EXPECT_TRUE(fresh->statementImport().mImportedTransactionArray().empty());
    EXPECT_NEAR(dollars->Get_mBalance(), -12.25, 1e-9);
    EXPECT_NEAR(dollars->Get_mLocalBalance(), -dollars->Get_mCurrencyPtr()->ConvertToLocal(12.25, 0, true), 1e-9);
    EXPECT_NEAR(dollars->Get_mLocalBalance(), -6.12, 1e-9);
}

// Books that hold fractions of a cent (as a change of the home currency
// leaves them) are written in cents that add up, register by register, to
// each account's balance to the cent.
TEST_F(QifExportTest, FractionsOfACentAddUpToTheBalanceToTheCent)
{
    UserDefaults::standard().set(std::string(CQuickenData::kDateFormatKey), 0);
    for (DateT date : {20090312, 20090313, 20090314}) post(current, restaurant, meals, 10.004, date, "Coffee");
    const auto* coffee = static_cast<CTransaction*>(document->mTransactionArray().front()->getSourceItem());
    ASSERT_NEAR(static_cast<CDebit*>(coffee->GetDebitList()->ObjectAt(1))->Get_mLocalAmount(), 10.004, 1e-9);

    TransactionExport exporter(*document);
    const std::string file = folder.file("fractions.qif");
    ASSERT_TRUE(exporter.exportTransactionsFromDate(20090312, 20090314, true, file));
    std::unique_ptr<MyDocument> fresh = openDocument(saved, folder.file("Fresh.books"));
    installStatementImport(*fresh);
    ASSERT_TRUE(fresh->statementImport().importFile(file, StatementKind::QIF));
    fresh->statementImport().doActualImport();
    EXPECT_NEAR(fresh->accounting()->GetAccountForID(current)->Get_mBalance(), -30.01, 1e-9) << readFile(file);
}

// Half a cent in the books is written as the books round it: toward zero.
TEST_F(QifExportTest, HalfACentIsWrittenAsTheBooksRoundIt)
{
    UserDefaults::standard().set(std::string(CQuickenData::kDateFormatKey), 0);
    post(current, restaurant, meals, 10.125, 20090312, "Coffee");
    TransactionExport exporter(*document);
    const std::string file = folder.file("half.qif");
    ASSERT_TRUE(exporter.exportTransactionsFromDate(20090312, 20090312, true, file));
    EXPECT_NE(readFile(file).find("T-10.12\r\n"), std::string::npos) << readFile(file);
    std::unique_ptr<MyDocument> fresh = openDocument(saved, folder.file("Fresh.books"));
    installStatementImport(*fresh);
    ASSERT_TRUE(fresh->statementImport().importFile(file, StatementKind::QIF));
    fresh->statementImport().doActualImport();
    EXPECT_NEAR(fresh->accounting()->GetAccountForID(current)->Get_mBalance(), -10.12, 1e-9) << readFile(file);
}

// A record in the register of an account kept in dollars, whose own amount
// is small, splits into a large part for another account kept in dollars:
// that part is written as that account's own dollars, not through the rate
// the record's small amount gives.
TEST_F(QifExportTest, ASplitPartForAnotherAccountInTheRegistersCurrencyIsItsOwnAmount)
{
    UserDefaults::standard().set(std::string(CQuickenData::kDateFormatKey), 0);
    auto addAccounts = [](CDocAccounting& books) {
        CCurrency* usd = books.InsertCurrency(-1, "USD", std::string_view("USD"), "US Dollar", std::string_view(), 1,
                                              currency_type::kCurrency, 1, 0.7, 20090101, 0, -1, -1);
        std::vector<CAccount*> made;
        for (const char* name : {"Dollar cash", "Dollar bank"})
            made.push_back(books.InsertAccount(-1, name, std::string_view(name), "", std::string_view(),
                                               books::kOwnPropertyType, usd->Get_Id(),
                                               books.GetAccountTypeForId(books::kOwnPropertyType)));
        return made;
    };
    std::unique_ptr<MyDocument> fresh = openDocument(saved, folder.file("Fresh.books"));
    const std::vector<CAccount*> copies = addAccounts(*fresh->accounting());
    const std::vector<CAccount*> accounts = addAccounts(root());
    post(books::kIncomeAccount, accounts[0]->Get_Id(), books::kIncomeCategory, 300.05, 20090312, "Windfall");
    {
        auto* windfall = static_cast<CTransaction*>(document->mTransactionArray().front()->getSourceItem());
        static_cast<CDebit*>(windfall->GetCreditList()->ObjectAt(1))->Put_mLocalAmount(0.05);
        windfall->Add_Credit(-1, false, 300.0)->Put_mAccountId(accounts[1]->Get_Id(), true, nullptr);
    }

    TransactionExport exporter(*document);
    const std::string file = folder.file("parts.qif");
    ASSERT_TRUE(exporter.exportTransactionsFromDate(20090312, 20090312, true, file));
    installStatementImport(*fresh);
    ASSERT_TRUE(fresh->statementImport().importFile(file, StatementKind::QIF));
    fresh->statementImport().doActualImport();
    for (std::size_t i = 0; i < accounts.size(); ++i)
        EXPECT_NEAR(copies[i]->Get_mBalance(), accounts[i]->Get_mBalance(), 0.005)
            << accounts[i]->Get_StringRefNameOnly() << "\n" << readFile(file);
}

// A supplier's invoice and credit note when the supplier names no category:
// the debt they leave is booked on no category. Each is written under the
// unspecified category of the way its money goes, so that the import books
// it, instead of a record that names nothing and waits for a counter account.
TEST_F(QifExportTest, MoneyBookedOnNoCategoryIsWrittenUnderTheUnspecifiedCategory)
{
    UserDefaults::standard().set(std::string(CQuickenData::kDateFormatKey), 0);
    auto addAccounts = [](CDocAccounting& books) {
        std::pair<ObjectIdT, ObjectIdT> made;
        for (auto [name, type, id] : {std::tuple{"Payable", books::kDebtType, &made.first},
                                      std::tuple{"Purchases", books::kProfitAndLossType, &made.second}})
            *id = books.InsertAccount(-1, name, std::string_view(name), "", std::string_view(), type, books::kEUR,
                                      books.GetAccountTypeForId(type))
                      ->Get_Id();
        return made;
    };
    std::unique_ptr<MyDocument> fresh = openDocument(saved, folder.file("Fresh.books"));
    const ObjectIdT payableCopy = addAccounts(*fresh->accounting()).first;
    const auto [payable, purchases] = addAccounts(root());
    const std::string expense = root().GetExpenseTypeForID(books::kExpenseCategory)->Get_StringrefName();
    const std::string income = root().GetExpenseTypeForID(books::kIncomeCategory)->Get_StringrefName();
    struct Case {
        ObjectIdT from, to;
        double amount;
        DateT date;
        const char* name;
        std::string record;   // as written in the register of Payable
    };
    const Case cases[] = {
        {payable, purchases, 121.0, 20090601, "Invoice 7", "T-121.00\r\nPInvoice 7\r\nL" + expense + "\r\n^"},
        {purchases, payable, 40.0, 20090602, "Credit note 8", "T40.00\r\nPCredit note 8\r\nL" + income + "\r\n^"},
    };
    for (const Case& c : cases) {
        post(c.from, c.to, meals, c.amount, c.date, c.name);
        auto* made = static_cast<CTransaction*>(document->mTransactionArray().front()->getSourceItem());
        auto* category = static_cast<CDebit*>(made->GetExpenseTypeList()->ObjectAt(1));
        category->Put_mAccountId(-1, true, nullptr);
        ASSERT_EQ(category->Get_mAccountPtr(), nullptr) << c.name;
    }

    TransactionExport exporter(*document);
    const std::string file = folder.file("uncategorized.qif");
    ASSERT_TRUE(exporter.exportTransactionsFromDate(20090601, 20090630, true, file));
    const std::string text = readFile(file);
    for (const Case& c : cases) EXPECT_NE(text.find(c.record), std::string::npos) << c.name << "\n" << text;

    installStatementImport(*fresh);
    ASSERT_TRUE(fresh->statementImport().importFile(file, StatementKind::QIF));
    fresh->statementImport().doActualImport();
    for (const auto& left : fresh->statementImport().mImportedTransactionArray())
        if (const auto line = std::dynamic_pointer_cast<CImpTItem>(left))
            ADD_FAILURE() << "not booked: " << line->mTitle() << ": " << line->mRemark();
    EXPECT_NEAR(fresh->accounting()->GetAccountForID(payableCopy)->Get_mBalance(),
                root().GetAccountForID(payable)->Get_mBalance(), 0.005)
        << text;
}

// A cent of a currency worth less than the home one is 0.00 at home, yet it
// leaves one account and reaches the other: the record names the account it
// reaches, and the new books hold the cent on both.
TEST_F(QifExportTest, ACentWorthNothingAtHomeIsWrittenAsTheTransferItIs)
{
    UserDefaults::standard().set(std::string(CQuickenData::kDateFormatKey), 0);
    auto addAccounts = [](CDocAccounting& books) {
        CAccount* dollars = addDollars(books, 0.3);
        books.InsertAccount(-1, "Payable", std::string_view("Payable"), "", std::string_view(), books::kDebtType,
                            dollars->Get_mCurrency(), books.GetAccountTypeForId(books::kDebtType));
        return dollars->Get_Id();
    };
    std::unique_ptr<MyDocument> fresh = openDocument(saved, folder.file("Fresh.books"));
    addAccounts(*fresh->accounting());
    const ObjectIdT dollars = addAccounts(root());
    CCurrency* usd = root().GetAccountForID(dollars)->Get_mCurrencyPtr();
    // The cent in dollars on every line, as an import of it books it.
    auto postACent = [&](ObjectIdT from, ObjectIdT to, DateT date, const char* name) {
        post(from, to, books::kExpenseCategory, 0.01, date, name);
        auto* made = static_cast<CTransaction*>(document->mTransactionArray().front()->getSourceItem());
        made->Put_mCurrencyId(usd->Get_Id(), usd);
        for (const CNamedListArray* list : {made->GetDebitList(), made->GetCreditList(), made->GetExpenseTypeList()}) {
            auto* line = static_cast<CDebit*>(list->ObjectAt(1));
            line->Put_mCurrency(usd);
            line->Put_mAmounts(0.0, 0.01);
        }
        return made;
    };
    const ObjectIdT payable = root().GetAccountForName("Payable")->Get_Id();
    postACent(dollars, payable, 20090612, "Paid");
    // A purchase on no category is an expense, though it is nothing at home.
    CTransaction* invoice = postACent(payable, restaurant, 20090610, "Invoice 2");
    static_cast<CDebit*>(invoice->GetExpenseTypeList()->ObjectAt(1))->Put_mAccountId(-1, true, nullptr);
    for (const char* name : {"Dollars", "Payable"})
        ASSERT_NE(root().GetAccountForName(name)->Get_mBalance(), 0.0) << name;

    TransactionExport exporter(*document);
    const std::string file = folder.file("cent.qif");
    ASSERT_TRUE(exporter.exportTransactionsFromDate(20090601, 20090630, true, file));
    const std::string text = readFile(file);
    EXPECT_NE(text.find("T-0.01\r\nPPaid\r\nL[Payable]\r\n^"), std::string::npos) << text;
    const std::string expense = root().GetExpenseTypeForID(books::kExpenseCategory)->Get_StringrefName();
    EXPECT_NE(text.find("T-0.01\r\nPInvoice 2\r\nL" + expense + "\r\n^"), std::string::npos) << text;

    installStatementImport(*fresh);
    ASSERT_TRUE(fresh->statementImport().importFile(file, StatementKind::QIF));
    fresh->statementImport().doActualImport();
    for (const char* name : {"Dollars", "Payable"})
        EXPECT_NEAR(fresh->accounting()->GetAccountForName(name)->Get_mBalance(),
                    root().GetAccountForName(name)->Get_mBalance(), 1e-9)
            << name << "\n" << text;
}

} // namespace
} // namespace ch::test

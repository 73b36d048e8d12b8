// The import line: completion against the books, the duplicate search, the
// setters that act on the books and the other pending lines, and booking.

#include <algorithm>

#include <gtest/gtest.h>

#include "bridge/CNSNumberAmountTBridge.h"
#include "import_test_support.h"
#include "model/CCurrency.h"
#include "model/foundation/AmountLimit.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"

namespace ch::test {
namespace {

// What a statement says about one line.
struct Statement {
    std::string ownNumber = "111-1111111-11";
    std::string partner{};
    std::string description{};
    std::string title = "Statement Line";
    std::string foreignNumber{};
    double amount = -25.0;
    DateT booking = 20240310;
    DateT value = 20240310;
    std::string currency = "EUR";
    ObjectIdT category = 0;
};

class ImportLineTest : public ImportTest {
protected:
    ImportLineTest()
    {
        current = AddAccount("Current Account", books::kOwnPropertyType, "111-1111111-11")->Get_Id();
        savings = AddAccount("Savings", books::kOwnPropertyType, "222-2222222-22")->Get_Id();
        shop = AddAccount("Corner Shop", books::kProfitAndLossType, "333-3333333-33")->Get_Id();
        employer = AddAccount("Employer", books::kProfitAndLossType)->Get_Id();
        groceries = AddCategory("Groceries", books::kExpenseGroup)->Get_Id();
        salary = AddCategory("Salary", books::kIncomeGroup)->Get_Id();
    }

    CImpTItem::Ptr Line(const Statement& s, bool complete = true)
    {
        auto line = std::make_shared<CImpTItem>();
        line->setMOurAccountNumber(s.ownNumber);
        line->setMPartnerName(s.partner);
        line->setMTransactionDescription(s.description);
        line->setMTitle(s.title);
        line->setMAmount(s.amount);
        line->setMBookingDate(s.booking);
        line->setMValueDate(s.value);
        line->setMCurrency(s.currency);
        line->setMForeignAccountNumber(s.foreignNumber);
        line->setMExpenseTypeId(s.category);
        line->setDocument(&document);
        if (complete) line->autoComplete();
        return line;
    }

    ObjectIdT current, savings, shop, employer, groceries, salary;
};

TEST_F(ImportLineTest, CompletionSettlesAccountsDirectionAndCategory)
{
    const ObjectIdT bookedShop = Book(current, shop, 9.0, 20240102, "Weekly Errand");
    ASSERT_GT(bookedShop, 0);
    using namespace books;
    const struct {
        const char* what;
        Statement statement;
        LineView expected;
        ObjectIdT from, to;
    } cases[] = {
        {"money in from a profit-and-loss account: unspecified income",
         {.partner = "Employer", .amount = 1200.0},
         {"Statement Line", 1200.0, 20240310, 20240310, current, employer, kIncomeCategory, kEUR, "", true},
         employer, current},
        {"money out to another own account: a transfer",
         {.foreignNumber = "222-2222222-22", .amount = -50.0},
         {"Statement Line", -50.0, 20240310, 20240310, current, savings, kTransferCategory, kEUR, "", true},
         current, savings},
        {"a transfer with an expense category",
         {.foreignNumber = "222-2222222-22", .amount = -50.0, .category = groceries},
         {"Statement Line", -50.0, 20240310, 20240310, current, savings, groceries, kEUR, "IMPEXPTTRANS", false},
         current, savings},
        {"the counter account named in the description (7 or more characters, blanks ignored)",
         {.description = "card payment corner  shop 12/03"},
         {"Statement Line", -25.0, 20240310, 20240310, current, shop, kExpenseCategory, kEUR, "", true},
         current, shop},
        {"the counter account of an earlier booking of the same name",
         {.title = "weekly errand"},
         {"Weekly Errand", -25.0, 20240310, 20240310, current, shop, kExpenseCategory, kEUR, "", true},
         current, shop},
        {"no counter account but an expense category: the unspecified expenses account",
         {.title = "Something", .category = groceries},
         {"Something", -25.0, 20240310, 20240310, current, kExpenseAccount, groceries, kEUR, "", true},
         current, kExpenseAccount},
        {"nothing names a counter account",
         {.title = "", .amount = 5.0},
         {std::string(CImpTItem::kUnknownTitle), 5.0, 20240310, 20240310, current, 0, 0, kEUR, "IMPOTHACC\rIMPEXP",
          false},
         0, 0},
        {"a partner nobody knows",
         {.partner = "Nobody Known", .amount = 5.0},
         {"Statement Line", 5.0, 20240310, 20240310, current, 0, 0, kEUR, "IMPOTHACC\rIMPOWN\rIMPEXP", false}, 0, 0},
        {"the own account number names a profit-and-loss account",
         {.ownNumber = "333-3333333-33", .partner = "Employer"},
         {"Statement Line", -25.0, 20240310, 20240310, 0, employer, kExpenseCategory, kEUR, "IMPWRONGOWNACC", false},
         0, 0},
        {"no own account",
         {.ownNumber = "999", .partner = "Employer"},
         {"Statement Line", -25.0, 20240310, 20240310, 0, employer, 0, kEUR, "IMPOWNACC\rIMPEXP", false}, 0, 0},
        {"a currency written in lower case with a blank",
         {.partner = "Employer", .currency = " eur "},
         {"Statement Line", -25.0, 20240310, 20240310, current, employer, kExpenseCategory, kEUR, "", true},
         current, employer},
        {"an unknown currency",
         {.partner = "Employer", .currency = "XYZ"},
         {"Statement Line", -25.0, 20240310, 20240310, current, employer, kExpenseCategory, 0, "IMPCUR", false},
         current, employer},
        {"amount 0 without a value date",
         {.partner = "Employer", .amount = 0.0, .value = 0},
         {"Statement Line", 0.0, 20240310, 0, current, employer, kIncomeCategory, kEUR, "IMPDATA", false},
         employer, current},
        {"amount 0 with both dates passes the data check",
         {.partner = "Employer", .amount = 0.0},
         {"Statement Line", 0.0, 20240310, 20240310, current, employer, kIncomeCategory, kEUR, "", true},
         employer, current},
        // A line with an amount but no real date must not book on day 0 or on a date that does not exist.
        {"an amount without a value date",
         {.partner = "Employer", .value = 0},
         {"Statement Line", -25.0, 20240310, 0, current, employer, kExpenseCategory, kEUR, "IMPDATA", false},
         current, employer},
        {"an amount on 30 February",
         {.partner = "Employer", .booking = 20240230, .value = 20240230},
         {"Statement Line", -25.0, 20240230, 20240230, current, employer, kExpenseCategory, kEUR, "IMPDATA", false},
         current, employer},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CImpTItem::Ptr line = Line(c.statement);
        EXPECT_EQ(ViewOf(*line), c.expected);
        if (c.from != 0) {
            EXPECT_EQ(line->mFromAccountId(), c.from);
            EXPECT_EQ(line->mToAccountId(), c.to);
        }
    }
    EXPECT_TRUE(env.alerts().records().empty());
    // The category's direction against the money's.
    EXPECT_EQ(Line({.partner = "Employer", .amount = 10.0, .category = salary})->mSign(), 1);
    EXPECT_EQ(Line({.partner = "Employer", .amount = -10.0, .category = salary})->mSign(), -1);
}

TEST_F(ImportLineTest, ABookingWithinFourDaysIsADuplicate)
{
    // Dates 10 and 12 March: the window runs from 6 to 16 March.
    const Statement statement{.partner = "Corner Shop", .amount = -25.0, .booking = 20240312, .value = 20240310};
    const struct {
        DateT booked;
        double amount;
        bool duplicate;
    } cases[] = {
        {20240306, 25.0, true},  {20240305, 25.0, false}, {20240316, 25.0, true},
        {20240317, 25.0, false}, {20240311, 25.01, false},
        // The same amount, as other arithmetic leaves it in the last bits.
        {20240311, 25.0 + 4e-12, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.booked);
        const ObjectIdT booked = Book(current, shop, c.amount, c.booked);
        const CImpTItem::Ptr line = Line(statement);
        EXPECT_EQ(line->hasDuplicate(), c.duplicate);
        EXPECT_EQ(line->mDoubleTransactionId(), c.duplicate ? booked : 0);
        EXPECT_EQ(line->mRemark(), c.duplicate ? "IMPDUPL" : "");
        EXPECT_EQ(line->isComplete(), !c.duplicate);
        ASSERT_TRUE(books.DeleteObject(books.Get_TransactionArray()->GetValueForId(booked)));
    }
}

TEST_F(ImportLineTest, EachBookedPurchaseIsTheDuplicateOfOneLineOnly)
{
    // Identical purchases (same day, amount and payee) of a new statement
    // against the bookings already made of that purchase: each booking
    // matches one line; the lines beyond them are new and book.
    const Statement purchase{.partner = "Corner Shop", .amount = -25.0};
    const struct {
        int booked, lines;
    } cases[] = {{1, 2}, {2, 2}, {2, 3}, {0, 2}};
    PendingImport& pending = document.pending();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.booked) + " booked, " + std::to_string(c.lines) + " lines");
        std::vector<ObjectIdT> booked;
        for (int i = 0; i < c.booked; ++i) booked.push_back(Book(current, shop, 25.0, purchase.value));
        std::vector<CImpTItem::Ptr> lines;
        for (int i = 0; i < c.lines; ++i) lines.push_back(Line(purchase, false));
        pending.install(statementLines(lines));
        pending.completeBankImport();
        // Twice: a second pass keeps the matches it made.
        pending.completeBankImport();

        std::vector<ObjectIdT> matched;
        for (const auto& line : lines)
            if (line->hasDuplicate()) matched.push_back(line->mDoubleTransactionId());
        std::sort(matched.begin(), matched.end());
        EXPECT_EQ(matched, booked);
        const auto before = books.Get_TransactionArray()->GetCount();
        EXPECT_EQ(pending.doActualImport(), static_cast<std::size_t>(c.lines - c.booked));
        EXPECT_EQ(books.Get_TransactionArray()->GetCount(), before + c.lines - c.booked);

        pending.clear();
        while (books.Get_TransactionArray()->GetCount() > 0)
            ASSERT_TRUE(books.DeleteObject(books.Get_TransactionArray()->ObjectAt(1)));
    }
}

TEST_F(ImportLineTest, BookedLinesAndTheirDuplicates)
{
    PendingImport& pending = document.pending();
    const Statement statement{.partner = "Corner Shop", .amount = -25.0};
    // Two equal lines of one statement both book: each is no duplicate of the other.
    pending.install({Line(statement), Line(statement)});
    EXPECT_EQ(pending.doActualImport(), 2u);
    EXPECT_TRUE(pending.empty());
    pending.install({Line(statement), Line(statement)});
    pending.completeBankImport();
    for (const auto& line : pendingLines(pending)) EXPECT_TRUE(line->hasDuplicate());

    // The user's word that a line is no duplicate: it books.
    const CImpTItem::Ptr declared = pendingLines(pending)[0];
    declared->setHasDuplicate(false);
    EXPECT_EQ(declared->mDoubleTransactionId(), -1);
    EXPECT_TRUE(declared->isComplete());
    // A line the user does not accept stays.
    const CImpTItem::Ptr refused = pendingLines(pending)[1];
    refused->setHasDuplicate(false);
    refused->setMAccept(false);
    EXPECT_EQ(pending.doActualImport(), 1u);
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_EQ(pendingLines(pending)[0], refused);

    // What was booked: the line's title, value date and accounts, the amount without its sign.
    const auto* transaction = static_cast<const CTransaction*>(books.Get_TransactionArray()->ObjectAt(1));
    ASSERT_NE(transaction, nullptr);
    EXPECT_EQ(transaction->Get_StringrefName(), "Statement Line");
    EXPECT_EQ(transaction->Get_mDate(), 20240310);
    EXPECT_DOUBLE_EQ(transaction->Get_mTotalAmount(), 25.0);
}

TEST_F(ImportLineTest, AnAmountBeyondTheLimitIsNeverBooked)
{
    const std::string remark =
        formatMessage(localized("IMPAMOUNTLIMIT"), {CNSNumberAmountTBridge::NSNumberToNSString(kAmountLimit)});
    const struct {
        double amount;
        bool within;
    } cases[] = {
        {-1e12, true}, {1e12, true}, {-1e12 - 0.01, false}, {1e12 + 0.01, false}, {1e15, false}, {-1e18, false},
    };
    PendingImport& pending = document.pending();
    std::vector<std::shared_ptr<StatementLine>> lines;
    for (const auto& c : cases) {
        const CImpTItem::Ptr line = Line({.partner = "Corner Shop", .amount = c.amount});
        EXPECT_EQ(line->isComplete(), c.within) << c.amount;
        EXPECT_EQ(line->mRemark().find(remark) != std::string::npos, !c.within) << c.amount << ": " << line->mRemark();
        lines.push_back(line);
    }
    pending.install(lines);
    EXPECT_EQ(pending.doActualImport(), 2u);
    // What stays is what lies beyond, still marked; declaring it no duplicate does not book it.
    ASSERT_EQ(pending.size(), 4u);
    for (const CImpTItem::Ptr& line : pendingLines(pending)) {
        EXPECT_FALSE(amountWithinLimit(line->mAmount()));
        EXPECT_FALSE(line->isComplete());
        line->setHasDuplicate(false);
        EXPECT_FALSE(line->import());
    }
    EXPECT_EQ(books.Get_TransactionArray()->GetCount(), 2);
}

TEST_F(ImportLineTest, TheRemarkNeverExceeds254Characters)
{
    const struct {
        std::size_t remark, comment, result;
    } cases[] = {
        {0, 300, 254}, {0, 10, 10}, {100, 100, 201}, {200, 100, 254}, {252, 10, 254}, {253, 10, 253}, {254, 10, 254},
    };
    for (const auto& c : cases) {
        std::string remark(c.remark, 'r');
        CImpTItem::addComment(std::string(c.comment, 'c'), remark);
        EXPECT_EQ(remark.size(), c.result) << c.remark << " + " << c.comment;
        if (c.remark > 0 && c.remark < 253) {
            EXPECT_EQ(remark[c.remark], '\r');
        }
    }
}

TEST_F(ImportLineTest, CorrectionsAskAndChangeTheBooks)
{
    PendingImport& pending = document.pending();
    auto* currentAccount = books.GetAccountForID(current);

    // A statement number that is neither the account's number nor its name: question 207.
    CImpTItem::Ptr line = Line({.ownNumber = "BE71096123456769", .partner = "Employer"});
    pending.install({line});
    env.alerts().scriptAnswer(AlertAnswer::Default);   // Cancel
    line->setMOurAccountId(current);
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{207});
    EXPECT_EQ(currentAccount->Get_StringRefBankAccountNumber(), "111-1111111-11");
    line->setMOurAccountId(0);
    env.alerts().clear();
    env.alerts().scriptAnswer(AlertAnswer::Alternate);   // OK
    line->setMOurAccountId(current);
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{207});
    EXPECT_EQ(currentAccount->Get_StringRefBankAccountNumber(), "BE71096123456769");
    EXPECT_TRUE(line->isComplete());

    // No statement number: question 260 gives the account to every line without one, asking no more.
    env.alerts().clear();
    std::vector<CImpTItem::Ptr> unnumbered;
    for (int i = 0; i < 3; ++i) unnumbered.push_back(Line({.ownNumber = "", .partner = "Employer"}));
    pending.install(statementLines(unnumbered));
    env.alerts().scriptAnswer(AlertAnswer::Alternate);
    unnumbered[0]->setMOurAccountId(savings);
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{260});
    for (const auto& each : unnumbered) EXPECT_EQ(each->mOurAccountId(), savings);

    // A partner name that is not the account's name: question 206, No by
    // default; yes renames the account.
    env.alerts().clear();
    line = Line({.partner = "Employer Holding", .description = "wages"});
    env.alerts().scriptAnswer(AlertAnswer::Alternate);   // YES
    pending.install({line});
    line->setMOtherAccountId(employer);
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{206});
    EXPECT_EQ(books.GetAccountForID(employer)->Get_StringRefNameOnly(), "Employer Holding");

    // In batch mode nothing is asked.
    env.alerts().clear();
    line = Line({.ownNumber = "", .partner = "Someone Else"});
    line->setMBatch(true);
    line->setMOurAccountId(current);
    line->setMOtherAccountId(shop);
    EXPECT_TRUE(env.alerts().records().empty());
}

TEST_F(ImportLineTest, ACorrectionInTheMiddleOfCompletingAllLinesEndsInOnePassMore)
{
    // Every line finds the employer by its short account number and names it
    // otherwise: the first completion asks to rename the account, which
    // completes all lines again while they are being completed.
    books.setBankAccountNumberT("EMP-7", books.GetAccountForID(employer));
    PendingImport& pending = document.pending();
    std::vector<CImpTItem::Ptr> lines;
    for (int i = 0; i < 30; ++i)
        lines.push_back(Line({.partner = "Employer Holding", .foreignNumber = "EMP-7"}, false));
    env.alerts().scriptAnswer(AlertAnswer::Alternate);   // YES
    pending.install(statementLines(lines));
    std::size_t completions = 0;
    std::vector<Subscription> counting;
    for (const auto& line : lines)
        counting.push_back(line->observe("mRemark", [&](Observable&, const std::string&) { ++completions; }));
    pending.completeBankImport();

    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{206});   // asked once
    EXPECT_EQ(books.GetAccountForID(employer)->Get_StringRefNameOnly(), "Employer Holding");
    for (const auto& line : lines) {
        EXPECT_EQ(line->mOtherAccountId(), employer);
        EXPECT_TRUE(line->isComplete());
    }
    // The list was completed at most twice more, not once per line.
    EXPECT_LE(completions, 3 * lines.size());
}

TEST_F(ImportLineTest, AChosenCurrencyTakesTheStatementsCodeOnlyWhenItDiffersAndTheUserSaysSo)
{
    PendingImport& pending = document.pending();
    std::vector<CImpTItem::Ptr> lines;
    for (int i = 0; i < 3; ++i) lines.push_back(Line({.partner = "Employer", .currency = "EURO"}));
    pending.install(statementLines(lines));
    for (const auto& line : lines) EXPECT_EQ(line->mRemark(), "IMPCUR");

    // EUR for the second line, the books keeping its symbol (question 390,
    // Cancel): that line alone takes it, and keeps it through completion.
    env.alerts().scriptAnswer(AlertAnswer::Default);
    lines[1]->setMCurrencyId(books::kEUR);
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{390});
    EXPECT_EQ(books.GetCurrencyForId(books::kEUR)->Get_ShortStringRefName(), "EUR");
    pending.completeBankImport();
    EXPECT_TRUE(lines[1]->isComplete()) << lines[1]->mRemark();
    EXPECT_FALSE(lines[2]->isComplete());

    // The user picks EUR for the first line and says yes: EUR is called EURO
    // from now on, and all lines complete.
    env.alerts().clear();
    env.alerts().scriptAnswer(AlertAnswer::Alternate);
    lines[0]->setMCurrencyId(books::kEUR);
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{390});
    EXPECT_EQ(books.GetCurrencyForId(books::kEUR)->Get_ShortStringRefName(), "EURO");
    for (const auto& line : lines) EXPECT_TRUE(line->isComplete());

    // "euro" is the same code: nothing is renamed.
    const CImpTItem::Ptr lower = Line({.partner = "Employer", .currency = "euro"});
    EXPECT_EQ(lower->mCurrencyId(), books::kEUR);
    EXPECT_EQ(books.GetCurrencyForId(books::kEUR)->Get_ShortStringRefName(), "EURO");
}

} // namespace
} // namespace ch::test

namespace ch::test {
namespace {

class ForeignCurrencyLineTest : public ImportLineTest {
protected:
    ForeignCurrencyLineTest()
    {
        CCurrency* made = books.InsertCurrency(-1, "USD", std::nullopt, "US Dollar", std::nullopt, 1,
                                               currency_type::kCurrency, 1, 1.1, 20240101, 0, -1, -1);
        usd = made->Get_Id();
    }
    ObjectIdT BookIn(ObjectIdT currency, double amount)
    {
        ImportedTransaction transaction;
        transaction.name = "Invoice";
        transaction.valueDate = 20240310;
        transaction.amount = amount;
        transaction.currencyId = currency;
        transaction.fromAccountId = current;
        transaction.toAccountId = shop;
        transaction.categoryId = groceries;
        return document.importTransaction(transaction);
    }
    ObjectIdT usd = 0;
};

TEST_F(ForeignCurrencyLineTest, AStatementInAForeignCurrencyImportedAgainIsADuplicate)
{
    // Booked in dollars, the books hold it as 1,375.00 EUR; the statement says 1,250.00 USD.
    const ObjectIdT inDollars = BookIn(usd, 1250.0);
    ASSERT_GT(inDollars, 0);
    const CImpTItem::Ptr again = Line({.foreignNumber = "333-3333333-33", .amount = -1250.0, .currency = "USD"});
    EXPECT_EQ(again->mDoubleTransactionId(), inDollars) << again->mRemark();
    // Its worth in the home currency is no dollar amount.
    const CImpTItem::Ptr worth = Line({.foreignNumber = "333-3333333-33", .amount = -1375.0, .currency = "USD"});
    EXPECT_EQ(worth->mDoubleTransactionId(), 0) << worth->mRemark();

    // A statement in the home currency finds its booking as before, whatever
    // currency that was booked in.
    const ObjectIdT inEuro = BookIn(books::kEUR, 80.0);
    const CImpTItem::Ptr euro = Line({.foreignNumber = "333-3333333-33", .amount = -80.0});
    EXPECT_EQ(euro->mDoubleTransactionId(), inEuro);
    const CImpTItem::Ptr homeWorth = Line({.foreignNumber = "333-3333333-33", .amount = -1375.0});
    EXPECT_EQ(homeWorth->mDoubleTransactionId(), inDollars);
}

TEST_F(ForeignCurrencyLineTest, TheCurrencyChosenForALineStandsAfterCancel)
{
    books.GetCurrencyForId(usd)->Put_Name("$");
    PendingImport& pending = document.pending();
    std::vector<CImpTItem::Ptr> lines{Line({.partner = "Employer", .currency = "$"}),
                                      Line({.partner = "Employer", .currency = "$"})};
    pending.install(statementLines(lines));
    ASSERT_EQ(lines[0]->mCurrencyId(), usd);

    // EUR for the first line; Cancel to taking "$" as its symbol.
    env.alerts().scriptAnswer(AlertAnswer::Default);
    lines[0]->setMCurrencyId(books::kEUR);
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{390});
    pending.completeBankImport();
    EXPECT_EQ(lines[0]->mCurrencyId(), books::kEUR);
    EXPECT_TRUE(lines[0]->isComplete()) << lines[0]->mRemark();
    EXPECT_EQ(lines[1]->mCurrencyId(), usd);
    EXPECT_EQ(books.GetCurrencyForId(usd)->Get_ShortStringRefName(), "$");

    // Choosing the currency of the code again puts the line back on it.
    lines[0]->setMCurrencyId(usd);
    pending.completeBankImport();
    EXPECT_EQ(lines[0]->mCurrencyId(), usd);

    // A line without a code keeps a currency chosen for it too.
    const CImpTItem::Ptr plain = Line({.partner = "Employer", .currency = ""});
    pending.install(statementLines({plain}));
    plain->setMCurrencyId(usd);
    pending.completeBankImport();
    EXPECT_EQ(plain->mCurrencyId(), usd);
}

} // namespace
} // namespace ch::test

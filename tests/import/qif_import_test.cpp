// QIF files: bank and credit-card registers into import lines, category and
// account lists into the books.

#include <gtest/gtest.h>

#include "bridge/CNSNumberAmountTBridge.h"
#include "import/CQuickenData.h"
#include "import/ImportText.h"
#include "import_test_support.h"
#include "model/CAccType.h"
#include "model/CMasterExpenseType.h"
#include "model/CPreference.h"
#include "model/foundation/AmountLimit.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"

namespace ch::test {
namespace {

class QifImportTest : public ImportTest {
protected:
    QifImportTest()
    {
        current = AddAccount("Current Account", books::kOwnPropertyType)->Get_Id();
        savings = AddAccount("Savings", books::kOwnPropertyType)->Get_Id();
        visa = AddAccount("Visa Card", books::kDebtType)->Get_Id();
        groceries = AddCategory("Groceries", books::kExpenseGroup)->Get_Id();
    }

    CAccount* AccountNamed(const char* name) { return books.GetAccountForName(std::string_view(name)); }

    ObjectIdT current, savings, visa, groceries;
};

TEST_F(QifImportTest, BankRegisterRecords)
{
    const StatementImportResult result = Read("qif/bank.qif", StatementFormat::Qif);
    EXPECT_EQ(result.error, 0);
    // A transfer to an account the books lack creates it, named and described after it.
    const CAccount* holidayFund = AccountNamed("Holiday fund");
    ASSERT_NE(holidayFund, nullptr);
    EXPECT_EQ(holidayFund->Get_StringrefDesc(), "Holiday fund");
    EXPECT_EQ(holidayFund->Get_mAccountTypeId(), books::kOwnPropertyType);

    using namespace books;
    const ObjectIdT fund = holidayFund->Get_Id();
    const std::vector<LineView> expected = {
        {"Corner Shop", -1234.56, 20240102, 20240102, current, kExpenseAccount, groceries, kEUR, "", true},
        {"Café Du Nord", 2500.0, 20231231, 20231231, current, savings, kTransferCategory, kEUR, "", true},
        {"To The Holiday Fund", -100.0, 20240305, 20240305, current, fund, kTransferCategory, kEUR, "", true},
        // An empty L after the amount: the unspecified income account.
        {"Empty Category", -7.5, 20240306, 20240306, current, kIncomeAccount, kExpenseCategory, kEUR, "", true},
        // Neither the category nor its last part exists; the check number titles the line.
        {"2002 5", -20.0, 20240307, 20240307, current, kExpenseAccount, kExpenseCategory, kEUR, "", true},
        // The last part of the name finds the category; the check number of the record before does not carry over.
        {"Groceries 6", -30.0, 20240308, 20240308, current, kExpenseAccount, groceries, kEUR, "", true},
        // Splits with their amounts: one line of the whole, on the first
        // split's category (one the books lack: the unspecified one), titled
        // as a record without payee; it carries a part for each split.
        {"Expenseexptname 7", -40.0, 20240310, 20240310, current, kExpenseAccount, kExpenseCategory, kEUR, "", true},
        // (a record with a quantity and one of amount 0 yield no line)
        {"A Payee Whose Name Runs To Forty C", -1.0, 20240313, 20240313, current, kExpenseAccount, groceries, kEUR, "",
         true},
        // Not month/day/year: read in the user's order.
        {"European Date", -2.0, 20231231, 20231231, current, kExpenseAccount, groceries, kEUR, "", true},
        // "[" and "[]" name no account: as an empty L.
        {"Bracket Open", -4.0, 20240315, 20240315, current, kIncomeAccount, kExpenseCategory, kEUR, "", true},
        {"Brackets Empty", -5.0, 20240315, 20240315, current, kIncomeAccount, kExpenseCategory, kEUR, "", true},
        // The last record has no "^", but its date and amount: it is complete.
        {"No End", -3.0, 20240316, 20240316, current, kExpenseAccount, groceries, kEUR, "", true},
    };
    EXPECT_EQ(ViewsOf(result.lines), expected);
    ASSERT_EQ(result.lines.size(), expected.size());
    // The whole line is the text, ";" included.
    EXPECT_EQ(result.lines[0]->mTransactionDescription(), "Rent;March");
    EXPECT_EQ(result.lines[0]->mOriginalAmount(), "-1,234.56");
    EXPECT_EQ(result.lines[0]->mOurAccountNumber(), "Current Account");
    EXPECT_EQ(characterCount(result.lines[7]->mTitle()), 34u);
    EXPECT_EQ(ViewsOf(result.lines[6]->splitParts()),
              (std::vector<LineView>{
                  {"Expenseexptname 7", -15.0, 20240310, 20240310, current, kExpenseAccount, kExpenseCategory, kEUR, "", true},
                  {"Groceries 8", -25.0, 20240310, 20240310, current, kExpenseAccount, groceries, kEUR, "", true}}));
    for (std::size_t i = 0; i < result.lines.size(); ++i)
        if (i != 6) EXPECT_TRUE(result.lines[i]->splitParts().empty()) << i;
    for (const auto& line : result.lines) EXPECT_FALSE(line->mBatch());
    EXPECT_TRUE(env.alerts().records().empty());
}

TEST_F(QifImportTest, CreditCardRegisters)
{
    // Without a default credit-card account a credit-card file is refused.
    StatementImportResult result = Read("qif/card_marker.qif", StatementFormat::Qif);
    EXPECT_EQ(result.error, CQuickenData::kNoCreditCardAccountError);
    EXPECT_TRUE(result.lines.empty());
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{259});

    books.mPreference->Put_mDefaultCreditCardAccount(visa);
    result = Read("qif/card_marker.qif", StatementFormat::Qif);
    using namespace books;
    EXPECT_EQ(ViewsOf(result.lines), (std::vector<LineView>{{"Restaurant", -45.1, 20240301, 20240301, visa,
                                                              kExpenseAccount, groceries, kEUR, "", true}}));

    result = Read("qif/card.qif", StatementFormat::Qif);
    const std::vector<LineView> expected = {
        {"Restaurant", -12.0, 20240302, 20240302, visa, kExpenseAccount, kExpenseCategory, kEUR, "", true},
        {"Card Payment", 300.0, 20240303, 20240303, visa, current, kTransferCategory, kEUR, "", true},
    };
    EXPECT_EQ(ViewsOf(result.lines), expected);
    ASSERT_EQ(result.lines.size(), 2u);
    EXPECT_EQ(result.lines[1]->mFromAccountId(), current);
    EXPECT_EQ(result.lines[1]->mToAccountId(), visa);
}

TEST_F(QifImportTest, AHeaderWithATrailingBlankStillStartsItsRegister)
{
    const StatementImportResult result = Read("qif/trailing_blank.qif", StatementFormat::Qif);
    ASSERT_EQ(result.lines.size(), 1u);
    EXPECT_EQ(result.lines[0]->mTitle(), "Corner Shop");
    EXPECT_EQ(result.lines[0]->mOurAccountId(), books::kCash);
}

TEST_F(QifImportTest, CategoryListsMakeGroupsAndCategories)
{
    const StatementImportResult result = Read("qif/categories.qif", StatementFormat::Qif);
    auto group = [&](const char* name) { return books.GetMasterExpenseTypeForName(std::string_view(name)); };
    auto category = [&](const char* name) { return books.GetExpenseTypeForName(std::string_view(name)); };

    // Groups: a top-level group's parent is its kind; a group below a group.
    const struct {
        const char* name;
        const char* parent;   // null: top level
    } groups[] = {{"Auto", nullptr}, {"Service", "Auto"}, {"Food", nullptr}, {"Toys", nullptr}};
    for (const auto& g : groups) {
        SCOPED_TRACE(g.name);
        const CMasterExpenseType* made = group(g.name);
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->Get_mMasterExpenseType(), books::kExpenseGroup);   // "I" on a record's second line counts not
        EXPECT_EQ(made->Get_mParentId(), g.parent ? group(g.parent)->Get_Id() : books::kExpenseGroup);
    }
    // Categories in their groups; a record without description has none (not its predecessor's).
    const struct {
        const char* name;
        const char* group;
        const char* description;
    } categories[] = {{"Oil", "Service", "Motor oil"},
                      {"Fuel", "Auto", ""},
                      {"Insurance", "Auto", ""},
                      {"Lego", "Toys", ""}};
    for (const auto& c : categories) {
        SCOPED_TRACE(c.name);
        const CExpenseType* made = category(c.name);
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->Get_mMasterType(), group(c.group)->Get_Id());
        EXPECT_EQ(made->Get_StringrefDesc(), c.description);
    }
    // Groceries existed: the list's Food:Groceries adds one in Food; top-level leaves make nothing.
    EXPECT_NE(group("Food"), nullptr);
    for (const char* none : {"Bills", "Salary", "Rent", "Food", "Auto", "Service", "Toys"})
        EXPECT_EQ(category(none), nullptr) << none;

    // The register after the list finds the category by the last part of its name.
    ASSERT_EQ(result.lines.size(), 1u);
    EXPECT_NE(result.lines[0]->mExpenseTypeId(), books::kExpenseCategory);
}

TEST_F(QifImportTest, AccountListsMakeAccountsAndLeaveTheRegisterHeaderToTheRegister)
{
    // Books without the "other assets" type: such accounts get the own-property type.
    ASSERT_TRUE(books.DeleteObject(books.GetAccountTypeForId(books::kAssetsType)));
    const StatementImportResult result = Read("qif/accounts.qif", StatementFormat::Qif);
    const struct {
        const char* name;
        ObjectIdT type;
        const char* description;
    } accounts[] = {
        {"Checking", books::kOwnPropertyType, "Main account"},
        {"Visa", books::kDebtType, ""},
        {"Loan", books::kDebtType, ""},
        {"House", books::kOwnPropertyType, ""},    // the missing type
        {"Broker", books::kOwnPropertyType, ""},   // the type carries over
        {"Short", books::kOwnPropertyType, ""},
        {"Cash Box", books::kOwnPropertyType, ""},
    };
    for (const auto& a : accounts) {
        SCOPED_TRACE(a.name);
        const CAccount* made = AccountNamed(a.name);
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->Get_mAccountTypeId(), a.type);
        EXPECT_EQ(made->Get_StringrefDesc(), a.description);
    }
    // The "!Account" that ends the list names the register's account.
    ASSERT_EQ(result.lines.size(), 1u);
    EXPECT_EQ(result.lines[0]->mOurAccountId(), AccountNamed("Checking")->Get_Id());
    EXPECT_EQ(result.lines[0]->mOurAccountNumber(), "Checking");
}

TEST_F(QifImportTest, DatesFollowTheDateFormatSetting)
{
    const std::string file =
        "!Type:Bank\nD1/2/06\nPShort\nT-1.00\nLGroceries\n^\nD01/02/2006\nPLong\nT-1.00\nLGroceries\n^\n";
    const struct {
        int format;
        DateT shortDate, longDate;
    } cases[] = {
        {0, 20060102, 20060102},   // month/day/year
        {1, 20060201, 20060201},   // the user's short date format (dd.MM.yyyy)
        {2, 0, 0},                 // not read
    };
    for (const auto& c : cases) {
        env.defaults().set(std::string(CQuickenData::kDateFormatKey), c.format);
        const StatementImportResult result = readStatement(file, StatementFormat::Qif, document);
        ASSERT_EQ(result.lines.size(), 2u);
        EXPECT_EQ(result.lines[0]->mValueDate(), c.shortDate) << c.format;
        EXPECT_EQ(result.lines[1]->mValueDate(), c.longDate) << c.format;
        EXPECT_EQ(result.lines[0]->isComplete(), c.shortDate != 0);
    }
}

// Amounts whose whole part is beyond 32 bits are read whole: within the
// amount limit they are taken, beyond it the line is marked and never booked.
TEST_F(QifImportTest, LargeAmountsAreReadWholeAndThoseBeyondTheLimitAreNotBooked)
{
    env.defaults().set(std::string(CQuickenData::kDateFormatKey), 0);
    const std::string file = "!Type:Bank\nD1/2/06\nPLarge\nT-3,000,000,000.00\nLGroceries\n^\n"
                             "D1/2/06\nPBeyond\nT-1,000,000,000,000,000.00\nLGroceries\n^\n";
    const StatementImportResult result = readStatement(file, StatementFormat::Qif, document);
    ASSERT_EQ(result.lines.size(), 2u);
    const auto& large = result.lines[0];
    const auto& beyond = result.lines[1];
    EXPECT_EQ(large->mAmount(), -3e9);
    EXPECT_TRUE(large->isComplete()) << large->mRemark();
    EXPECT_EQ(beyond->mAmount(), -1e15);
    EXPECT_FALSE(beyond->isComplete());
    EXPECT_NE(beyond->mRemark().find(formatMessage(localized("IMPAMOUNTLIMIT"),
                                                   {CNSNumberAmountTBridge::NSNumberToNSString(kAmountLimit)})),
              std::string::npos)
        << beyond->mRemark();
    EXPECT_FALSE(beyond->import());
    EXPECT_EQ(books.Get_TransactionArray()->GetCount(), 0);
}

// Files written day first, year first or with two-digit years read in the one
// order that reads every date, and the import says so; a file the setting
// reads stays as it is.
TEST_F(QifImportTest, DatesAreReadInTheOneOrderThatReadsTheWholeFile)
{
    env.defaults().set(std::string(CQuickenData::kDateFormatKey), 0);
    auto file = [](std::initializer_list<const char*> dates) {
        std::string text = "!Type:Bank\n";
        for (const char* date : dates) text += std::string("D") + date + "\nPShop\nT-1.00\nLGroceries\n^\n";
        return text;
    };
    const struct {
        std::string text;
        std::vector<DateT> dates;
        const char* noteKey;   // null: no note
    } cases[] = {
        {file({"1.12.08", "13.12.08", "31.1.2009"}), {20081201, 20081213, 20090131}, "QIFDATEDMY"},
        {file({"2019-03-31", "2019-4-1"}), {20190331, 20190401}, "QIFDATEYMD"},
        {file({"1/ 5'19", "12/31/99", "2/3/2020"}), {20190105, 19991231, 20200203}, nullptr},
        {file({"12/31/2019", "1/2/19"}), {20191231, 20190102}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        CQuickenData reader(c.text, nullptr, &document);
        const std::vector<CImpTItem::Ptr> lines = reader.Import();
        ASSERT_EQ(lines.size(), c.dates.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i]->mValueDate(), c.dates[i]) << i;
            EXPECT_TRUE(lines[i]->isComplete()) << lines[i]->mRemark();
        }
        if (c.noteKey) {
            ASSERT_EQ(reader.notes().size(), 1u);
            EXPECT_EQ(reader.notes()[0], formatMessage(localized("QIFDATEORDERUSED"), {localized(c.noteKey)}));
        } else {
            EXPECT_TRUE(reader.notes().empty());
        }
    }
    // The setting's order (here the user's day-first short format) keeps what it reads.
    env.defaults().set(std::string(CQuickenData::kDateFormatKey), 1);
    CQuickenData reader(file({"01.02.2006", "2.3.2006"}), nullptr, &document);
    const std::vector<CImpTItem::Ptr> lines = reader.Import();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]->mValueDate(), 20060201);
    EXPECT_EQ(lines[1]->mValueDate(), 20060302);
    EXPECT_TRUE(reader.notes().empty());
}

// Cash, credit-card and other asset or liability registers are statements;
// memorized transactions, classes, securities and prices are not, before or
// after a register.
TEST_F(QifImportTest, StatementRegistersYieldLinesAndListsNone)
{
    env.defaults().set(std::string(CQuickenData::kDateFormatKey), 0);
    books.mPreference->Put_mDefaultCreditCardAccount(visa);
    const std::string memorized = "!Type:Memorized\nKC\nPStanding Order\nT-50.00\nLGroceries\n^\n";
    const std::string record = "D3/1/24\nPShop\nT-1.00\nLGroceries\n^\n";
    for (const char* header : {"!Type:Cash", "!Type:CCard", "!Type:Oth A", "!Type:Oth L", "!Type:Bank"}) {
        SCOPED_TRACE(header);
        const std::string text = memorized + header + "\n" + record + memorized + "!Type:Class\nNWork\n^\n" +
                                 "!Type:Prices\n\"ABC\",12.5,\"3/1/24\"\n^\n" + "!Type:Security\nNABC\nTStock\n^\n";
        const StatementImportResult result = readStatement(text, StatementFormat::Qif, document);
        ASSERT_EQ(result.lines.size(), 1u);
        EXPECT_EQ(result.lines[0]->mTitle(), "Shop");
        EXPECT_EQ(result.lines[0]->mValueDate(), 20240301);
    }
}

// A category the books do not have leaves the record to the unspecified
// account and category of its own amount's direction, wherever its L line
// stands: never the direction the record before left.
TEST_F(QifImportTest, UnknownCategoriesFollowTheirOwnRecordsAmount)
{
    env.defaults().set(std::string(CQuickenData::kDateFormatKey), 0);
    using namespace books;
    for (const bool categoryFirst : {true, false}) {
        SCOPED_TRACE(categoryFirst ? "L before T" : "T before L");
        auto record = [&](const char* payee, const char* amount, const char* category) {
            const std::string t = std::string("T") + amount + "\n";
            const std::string l = std::string("L") + category + "\n";
            return std::string("D3/1/24\nP") + payee + "\n" + (categoryFirst ? l + t : t + l) + "^\n";
        };
        const std::string text = "!Type:Bank\n" + record("Hardware Store", "-200.00", "Tools") +
                                 record("Refund", "240.00", "Returns") + record("Bakery", "-3.00", "Bread");
        const StatementImportResult result = readStatement(text, StatementFormat::Qif, document);
        ASSERT_EQ(result.lines.size(), 3u);
        EXPECT_EQ(ViewOf(*result.lines[0]), (LineView{"Hardware Store", -200.0, 20240301, 20240301, kCash,
                                                      kExpenseAccount, kExpenseCategory, kEUR, "", true}));
        EXPECT_EQ(ViewOf(*result.lines[1]), (LineView{"Refund", 240.0, 20240301, 20240301, kCash, kIncomeAccount,
                                                      kIncomeCategory, kEUR, "", true}));
        EXPECT_EQ(ViewOf(*result.lines[2]), (LineView{"Bakery", -3.0, 20240301, 20240301, kCash, kExpenseAccount,
                                                      kExpenseCategory, kEUR, "", true}));
    }
}

// A QIF amount is read in the file's notation whatever the user's: a decimal
// point with comma grouping under German settings, a decimal comma in a file
// that writes one.
TEST_F(QifImportTest, AmountsAreReadInTheFilesNotation)
{
    env.defaults().set(std::string(CQuickenData::kDateFormatKey), 0);
    env.useNotation(",", ".");
    const struct {
        const char* amounts;   // the records' T texts, "|" between them
        std::vector<double> read;
    } cases[] = {
        {"-1,000.00|2,500.5|-12", {-1000.0, 2500.5, -12.0}},
        {"-1.000,00|2.500,5|-12", {-1000.0, 2500.5, -12.0}},
        {"1,234,567.89|-0.5", {1234567.89, -0.5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.amounts);
        std::string text = "!Type:Bank\n";
        std::string amounts = c.amounts;
        for (std::size_t start = 0; start <= amounts.size();) {
            const std::size_t bar = std::min(amounts.find('|', start), amounts.size());
            text += "D3/1/24\nPShop\nT" + amounts.substr(start, bar - start) + "\nLGroceries\n^\n";
            start = bar + 1;
        }
        const StatementImportResult result = readStatement(text, StatementFormat::Qif, document);
        ASSERT_EQ(result.lines.size(), c.read.size());
        for (std::size_t i = 0; i < c.read.size(); ++i) EXPECT_DOUBLE_EQ(result.lines[i]->mAmount(), c.read[i]) << i;
    }
}

// Categories of the same name in different groups stay two, and a line filed
// under one path lands in that one, made by the file or already in the books.
TEST_F(QifImportTest, SameNamedCategoriesAreFoundByTheirPath)
{
    env.defaults().set(std::string(CQuickenData::kDateFormatKey), 0);
    const std::string text = "!Type:Cat\nNAuto\nE\n^\nNAuto:Insurance\nE\n^\nNHome\nE\n^\nNHome:Insurance\nE\n^\n"
                             "NHome:Service\nE\n^\nNHome:Service:Oil\nE\n^\nNBoat\nE\n^\nNBoat:Service\nE\n^\n"
                             "NBoat:Service:Oil\nE\n^\n"
                             "!Type:Bank\nD3/1/24\nPCar\nT-1.00\nLAuto:Insurance\n^\n"
                             "D3/1/24\nPHouse\nT-2.00\nLHome:Insurance\n^\n"
                             "D3/1/24\nPBoat oil\nT-3.00\nLBoat:Service:Oil/Work\n^\n";   // with a class
    const StatementImportResult result = readStatement(text, StatementFormat::Qif, document);
    ASSERT_EQ(result.lines.size(), 3u);
    // Each line's category and the names of its group and the group above.
    auto placeOf = [&](const CImpTItem::Ptr& line) -> std::pair<std::string, std::string> {
        const CExpenseType* category = books.GetExpenseTypeForID(line->mExpenseTypeId());
        const CMasterExpenseType* group = category ? books.GetMasterExpenseTypeForId(category->Get_mMasterType()) : nullptr;
        const CMasterExpenseType* above = group ? books.GetMasterExpenseTypeForId(group->Get_mParentId()) : nullptr;
        return {group ? group->Get_StringrefName() : "?", above ? above->Get_StringrefName() : "?"};
    };
    EXPECT_EQ(placeOf(result.lines[0]).first, "Auto");
    EXPECT_EQ(placeOf(result.lines[1]).first, "Home");
    EXPECT_EQ(placeOf(result.lines[2]).second, "Boat");
    EXPECT_NE(result.lines[2]->mExpenseTypeId(), books.GetExpenseTypeForName(std::string_view("Oil"))->Get_Id());
    EXPECT_NE(result.lines[0]->mExpenseTypeId(), result.lines[1]->mExpenseTypeId());

    // Read again against the books that now hold both: still by the path.
    const std::string again = "!Type:Bank\nD3/1/24\nPHouse\nT-2.00\nLHome:Insurance\n^\n"
                              "D3/1/24\nPCar\nT-1.00\nLAuto:Insurance\n^\n";
    const StatementImportResult second = readStatement(again, StatementFormat::Qif, document);
    ASSERT_EQ(second.lines.size(), 2u);
    EXPECT_EQ(second.lines[0]->mExpenseTypeId(), result.lines[1]->mExpenseTypeId());
    EXPECT_EQ(second.lines[1]->mExpenseTypeId(), result.lines[0]->mExpenseTypeId());
}

// A file naming a thousand transfer targets makes each account once and every
// line reaches its own; sized so that a lookup walking all made accounts per
// line would show.
TEST_F(QifImportTest, ManyTransferTargetsEachMadeOnce)
{
    env.defaults().set(std::string(CQuickenData::kDateFormatKey), 0);
    constexpr int kTargets = 1000;
    std::string text = "!Type:Bank\n";
    for (int i = 0; i < kTargets; ++i)
        for (int twice = 0; twice < 2; ++twice)
            text += "D3/1/24\nPTo fund " + std::to_string(i) + "\nT-1.00\nL[Fund " + std::to_string(i) + "]\n^\n";
    const StatementImportResult result = readStatement(text, StatementFormat::Qif, document);
    ASSERT_EQ(result.lines.size(), 2u * kTargets);
    for (int i = 0; i < kTargets; i += 111) {
        const CAccount* fund = AccountNamed(("Fund " + std::to_string(i)).c_str());
        ASSERT_NE(fund, nullptr) << i;
        EXPECT_EQ(result.lines[2 * i]->mOtherAccountId(), fund->Get_Id());
        EXPECT_EQ(result.lines[2 * i + 1]->mOtherAccountId(), fund->Get_Id());
    }
}

// Books made before every new home currency had a symbol may hold it
// without one: a QIF file names no currency, so its lines are in the home
// currency all the same, not left without one.
TEST_F(QifImportTest, LinesTakeTheHomeCurrencyEvenWhenItHasNoSymbol)
{
    ASSERT_TRUE(books.GetCurrencyForId(books::kEUR)->Put_Name(""));
    ASSERT_EQ(books.GetCurrencyForId(books::kEUR)->Get_ShortStringRefName(), "");
    const StatementImportResult result = Read("qif/bank.qif", StatementFormat::Qif);
    ASSERT_FALSE(result.lines.empty());
    for (const auto& line : result.lines) {
        EXPECT_EQ(line->mCurrencyId(), books::kEUR) << line->mTitle();
        EXPECT_TRUE(line->isComplete()) << line->mTitle() << ": " << line->mRemark();
        EXPECT_EQ(line->mCurrency(), "");
    }
    EXPECT_EQ(books.GetCurrencyForId(books::kEUR)->Get_ShortStringRefName(), "") << "nothing renamed";
}

// QIF names no currency: a statement's lines are in the currency of the
// account they are booked on, chosen on the page or named by the file's
// account header, and keep the amounts the statement writes.
TEST_F(QifImportTest, LinesBookedOnAForeignAccountAreInItsCurrency)
{
    CCurrency* dollar = books.InsertCurrency(-1, "USD", std::string_view("USD"), "US Dollar", std::nullopt, 0,
                                             currency_type::kCurrency, 1, 0.8574, 20090101, books::kEUR, -1, -1);
    ASSERT_NE(dollar, nullptr);
    CAccount* dollars = AddAccount("Dollars", books::kOwnPropertyType);
    dollars->Put_mCurrency(dollar->Get_Id());
    const std::string record = "!Type:Bank\nD3/1/24\nPCash\nT-26.50\nLGroceries\n^\n";
    struct Case {
        const char* what;
        std::string text;
        bool chosenOnThePage;
    };
    const Case cases[] = {
        {"a plain register, its account chosen on the page", record, true},
        {"a register whose header names the account", "!Account\nNDollars\nTBank\n^\n" + record, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const StatementImportResult result = readStatement(c.text, StatementFormat::Qif, document);
        ASSERT_EQ(result.lines.size(), 1u);
        CImpTItem& line = *result.lines[0];
        if (c.chosenOnThePage) line.setMOurAccountId(dollars->Get_Id());
        EXPECT_EQ(line.mOurAccountId(), dollars->Get_Id());
        EXPECT_EQ(line.mCurrencyId(), dollar->Get_Id());
        EXPECT_DOUBLE_EQ(line.mAmount(), -26.50);
        EXPECT_TRUE(line.isComplete()) << line.mRemark();
    }
}

} // namespace
} // namespace ch::test

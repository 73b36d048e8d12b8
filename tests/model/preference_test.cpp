// The document settings record: periods, fall-backs and the 'PrFr' record of
// every accepted version.

#include <gtest/gtest.h>

#include <vector>

#include "model/CNamedListArray.h"
#include "model/CPreference.h"
#include "model/foundation/LStream.h"
#include "model_test_support.h"

namespace ch {
namespace {

using test::ModelEnvironment;
using test::StreamReader;
using test::StreamWriter;
using test::TestObject;

struct Periods {
    DateT currentStart, currentEnd, previousStart, previousEnd;
    friend bool operator==(const Periods&, const Periods&) = default;
};

Periods PeriodsOf(const CPreference& settings)
{
    return {settings.Get_mCurrentPeriodStart(), settings.Get_mCurrentPeriodEnd(),
            settings.Get_mPreviousPeriodStart(), settings.Get_mPreviousPeriodEnd()};
}

TEST(PreferencePeriods, FollowTheYearStartAndToday)
{
    const struct {
        CalendarDate today;
        int yearStart;
        Periods expected;
    } cases[] = {
        {{2024, 3, 15}, 4, {20230401, 20240331, 20220401, 20230331}},
        {{2024, 4, 1}, 4, {20240401, 20250331, 20230401, 20240331}},
        {{2024, 12, 31}, 1, {20240101, 20241231, 20230101, 20231231}},
        {{2024, 1, 1}, 1, {20240101, 20241231, 20230101, 20231231}},
        {{2023, 3, 1}, 3, {20230301, 20240229, 20220301, 20230228}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.yearStart);
        ModelEnvironment environment(c.today);
        CPreference settings(nullptr, 1);
        EXPECT_TRUE(settings.Put_mCurrentYearStart(c.yearStart));
        EXPECT_EQ(PeriodsOf(settings), c.expected);
    }
}

TEST(PreferencePeriods, InvalidMonthsAreRefused)
{
    ModelEnvironment environment;
    CPreference settings(nullptr, 1);
    Periods before = PeriodsOf(settings);
    EXPECT_FALSE(settings.Put_mCurrentYearStart(13));
    EXPECT_FALSE(settings.Put_mCurrentYearStart(0));
    EXPECT_EQ(environment.alerts().numbers(), (std::vector<long>{166, 166}));
    EXPECT_EQ(settings.Get_mCurrentYearStart(), 1);
    EXPECT_EQ(PeriodsOf(settings), before);
}

TEST(PreferencePeriods, CheckPeriodRollsForward)
{
    ModelEnvironment environment({2024, 3, 15});
    CPreference settings(nullptr, 1);
    settings.Put_mCurrentYearStart(7);
    environment.clock().set({2025, 8, 1}, 0);
    settings.CheckPeriod();
    EXPECT_EQ(settings.Get_mCurrentPeriodStart(), 20250701);
    EXPECT_TRUE(settings.DateIsFromThisYear(20250701));
    EXPECT_TRUE(settings.DateIsFromPreviousYear(20250630));
    EXPECT_FALSE(settings.DateIsFromThisYear(20250630));
}

TEST(PreferencePeriods, YearPortion)
{
    {
        ModelEnvironment environment({2023, 1, 10});
        CPreference settings(nullptr, 1);
        EXPECT_DOUBLE_EQ(settings.Get_YearPortion(0, false), 0.088);   // 10/365 is below the floor
    }
    {
        ModelEnvironment environment({2023, 7, 2});
        CPreference settings(nullptr, 1);
        EXPECT_DOUBLE_EQ(settings.Get_YearPortion(0, false), 183.0 / 365.0);
        EXPECT_DOUBLE_EQ(settings.Get_YearPortion(0, true), 365.0 / 365.0);
        EXPECT_DOUBLE_EQ(settings.Get_YearPortion(1, true), 365.0 / 365.0);
    }
    {
        // Days before the books' earliest booking do not count.
        ModelEnvironment environment({2023, 7, 2});
        CDocAccounting root;
        root.mPreference = new CPreference(&root, 1);
        TestObject transaction(type::kTransaction);
        transaction.date = 20230301;
        root.mTransactionList->AppendObject(&transaction);
        EXPECT_DOUBLE_EQ(root.mPreference->Get_YearPortion(0, false), 124.0 / 365.0);
        root.mTransactionList->RemoveObject(&transaction);
    }
}

TEST(PreferenceAccessors, FallBacks)
{
    ModelEnvironment environment;
    CDocAccounting root;
    auto* settings = new CPreference(&root, 1);
    root.mPreference = settings;

    settings->Put_mSupplierOpenInvoicAccT(0);
    EXPECT_EQ(settings->Get_mSupplierOpenInvoicAccT(), 2);
    settings->Put_mCustomerTurnoverAccT(-5);
    EXPECT_EQ(settings->Get_mCustomerTurnoverAccT(), 3);
    EXPECT_EQ(settings->Get_mVatBalanceAcnt(), 2);   // -1 by default
    settings->Put_mVatBalanceAcnt(7);
    EXPECT_EQ(settings->Get_mVatBalanceAcnt(), 7);

    settings->Put_mDefExpTStockCommission(70500);
    settings->Put_mDefAccntStockTax(70501);
    EXPECT_EQ(settings->Get_mDefExpTStockCommission(), settings->Get_mDefExpTUnspecifiedExpense());
    EXPECT_EQ(settings->Get_mDefAccntStockTax(), settings->Get_mDefAccntUnspecifiedExpense());
    TestObject category(type::kExpenseType, 70500, "Fees");
    root.mExpenseTypeList->AppendObject(&category);
    EXPECT_EQ(settings->Get_mDefExpTStockCommission(), 70500);
    root.mExpenseTypeList->RemoveObject(&category);

    settings->Put_mPassword("secret");
    settings->Put_mPasswordYes(true);
    settings->ResetPassword();
    char password[kNameSize];
    EXPECT_STREQ(settings->Get_mPassword(password), "");
    EXPECT_FALSE(settings->Get_mPasswordYes());
}

TEST(PreferenceAccessors, HomeCurrencyChangesOnlyToAKnownCurrency)
{
    ModelEnvironment environment;
    CDocAccounting root;
    auto* settings = new CPreference(&root, 1);
    root.mPreference = settings;
    EXPECT_FALSE(settings->Put_mHomeCurrency(70600));
    EXPECT_EQ(settings->Get_mHomeCurrency(), 1);
    TestObject currency(type::kCurrency, 70600, "USD");
    root.mCurrencyList->AppendObject(&currency);
    EXPECT_TRUE(settings->Put_mHomeCurrency(70600));
    EXPECT_EQ(settings->Get_mHomeCurrency(), 70600);
    root.mCurrencyList->RemoveObject(&currency);
}

TEST(PreferenceAccessors, DecimalsReachTheApplication)
{
    ModelEnvironment environment;
    CPreference settings(nullptr, 1);
    EXPECT_EQ(settings.Get_mNrOfDecimals(), 2);
    settings.Put_mNrOfDecimals(3);
    EXPECT_EQ(CDecimal::getNrOfDecimals(), 3);
}

// --- the record

test::ByteVector SettingsRecord(FourCharCode recordVersion, ObjectIdT unspecifiedExpense = 3)
{
    StreamWriter w;
    test::WriteSettingsRecord(w.stream(), recordVersion, unspecifiedExpense);
    w->WriteBigOsType(type::kEndOfModel);
    return w.bytes();
}

std::unique_ptr<CPreference> ReadSettings(const test::ByteVector& bytes, FourCharCode* next = nullptr)
{
    StreamReader reader(bytes);
    auto settings = std::make_unique<CPreference>(nullptr, reader.stream());
    if (next) reader->ReadBigOsType(*next);
    return settings;
}

TEST(PreferenceRecord, OlderVersionsReadWithTheirDefaults)
{
    ModelEnvironment environment;
    const struct {
        const char* version;
        ObjectIdT home, input;
        std::int32_t decimals;
        ObjectIdT portfolioType, stockCommissionAccount, stockTaxAccount, stockTaxCategory;
        ObjectIdT customerTurnover, vatInvoicedNotYetPaid, creditCard, customerInvoiceCategory;
    } cases[] = {
        {"0.60", 1, 1, 2, 1, 3, 14, 21, 3, -1, -1, 23},
        {"0.90", 1, 1, 2, 1, 3, 14, 21, 3, -1, -1, 23},
        {"1.04", 41, 41, 2, 1, 3, 14, 21, 3, -1, -1, 23},
        {"1.06", 41, 42, 2, 1, 3, 14, 21, 3, -1, -1, 23},
        {"1.08", 41, 42, 2, 51, 54, 56, 57, 3, -1, -1, 23},
        {"1.10", 41, 42, 2, 51, 54, 56, 57, 61, 69, -1, 23},
        {"1.11", 41, 42, 2, 51, 54, 56, 57, 61, 69, 71, 23},
        {"2.00", 41, 42, 2, 51, 54, 56, 57, 61, 69, 71, 81},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        FourCharCode recordVersion = fourCCFromString(c.version);
        FourCharCode next = 0;
        auto settings = ReadSettings(SettingsRecord(recordVersion, 14), &next);
        EXPECT_EQ(next, type::kEndOfModel);
        EXPECT_EQ(settings->Get_Version(), recordVersion);
        EXPECT_EQ(settings->Get_ObjectType(), type::kPreference);
        EXPECT_TRUE(settings->Get_mPasswordYes());
        char text[kDescriptionSize];
        EXPECT_STREQ(settings->Get_mCurrencyDescription(text), "European currency");
        EXPECT_EQ(settings->Get_mDefAccntUnspecifiedExpense(), 14);
        EXPECT_EQ(settings->Get_mDefExpTUnspecifiedCorrection(), 26);
        EXPECT_EQ(settings->Get_mHomeCurrency(), c.home);
        EXPECT_EQ(settings->Get_mInputCurrency(), c.input);
        EXPECT_EQ(settings->Get_mNrOfDecimals(), c.decimals);
        EXPECT_EQ(settings->Get_mDefPortfolioAccountType(), c.portfolioType);
        settings->Put_mDefAccntStockCommission(settings->Get_mDefAccntStockCommission());
        EXPECT_EQ(settings->Get_mDefAccntUnspecifiedExpense(), 14);
        EXPECT_EQ(settings->Get_mCustomerTurnoverAccT(), c.customerTurnover);
        EXPECT_EQ(settings->Get_mVatInvoicedNotYetPaidExpt(), c.vatInvoicedNotYetPaid);
        EXPECT_EQ(settings->Get_mDefaultCreditCardAccount(), c.creditCard);
        EXPECT_EQ(settings->Get_mDefaultCategoryCustomerInvoices(), c.customerInvoiceCategory);
        EXPECT_EQ(settings->Get_mTransactionDeleteRule(), 3);
    }
}

TEST(PreferenceRecord, StockDefaultsOfOldVersions)
{
    ModelEnvironment environment;
    CDocAccounting root;
    StreamReader reader(SettingsRecord(version::k1_07));
    auto* settings = new CPreference(&root, reader.stream());
    root.mPreference = settings;
    // Before '1.08' the share tax falls back to the unspecified expense account and category.
    TestObject account(type::kAccount, 3, "Expenses"), category(type::kExpenseType, 21, "Other");
    root.mAccountList->AppendObject(&account);
    root.mExpenseTypeList->AppendObject(&category);
    EXPECT_EQ(settings->Get_mDefAccntStockTax(), 3);
    EXPECT_EQ(settings->Get_mDefExptStockTax(), 21);
    root.mAccountList->RemoveObject(&account);
    root.mExpenseTypeList->RemoveObject(&category);
}

TEST(PreferenceRecord, UnknownVersionsStop)
{
    ModelEnvironment environment;
    for (const char* v : {"1.12", "3.00", "0.50", "NoNe", "stpp"}) {
        SCOPED_TRACE(v);
        auto settings = ReadSettings(SettingsRecord(fourCCFromString(v)));
        EXPECT_EQ(settings->Get_Version(), version::kStop);
    }
}

TEST(PreferenceRecord, OwnPropertyAsUnspecifiedExpenseIsReadAsThree)
{
    ModelEnvironment environment;
    auto settings = ReadSettings(SettingsRecord(version::k2_00, 4));
    EXPECT_EQ(settings->Get_mDefAccntUnspecifiedExpense(), 3);
}

TEST(PreferenceRecord, WritingGivesTheCurrentVersionAndReadsBackExactly)
{
    ModelEnvironment environment;
    auto old = ReadSettings(SettingsRecord(version::k1_05));
    EXPECT_EQ(old->Get_Version(), version::k1_05);   // kept until written

    CPreference settings(nullptr, 1);
    settings.Put_mPassword("a very long password that does not fit in 34");
    settings.Put_mCurrencyName("EUR");
    settings.Put_mHomeCurrency(9);
    settings.Put_mDefaultCreditCardAccount(77);
    settings.Put_mVatBalanceAcnt(-1);
    settings.Put_mTransactionEnteringRule(2);
    settings.Put_mCurrentYearEnd(1231);
    StreamWriter first;
    settings.PutStream(first.stream());
    EXPECT_EQ(settings.Get_Version(), version::k2_00);

    StreamReader reader(first.bytes());
    CPreference copy(nullptr, reader.stream());
    EXPECT_EQ(reader->GetMarker(), reader->GetLength());
    char password[kNameSize];
    EXPECT_STREQ(copy.Get_mPassword(password), "a very long password that does not");
    EXPECT_EQ(copy.Get_mHomeCurrency(), 9);
    EXPECT_EQ(copy.Get_mDefaultCreditCardAccount(), 77);
    StreamWriter second;
    copy.PutStream(second.stream());
    EXPECT_EQ(second.bytes(), first.bytes());
}

} // namespace
} // namespace ch

// Currencies, shares and rates: conversion and its rounding, dated rates,
// the rate history, revaluation, a change of home currency, deletion checks,
// the currency list and the 'CurR' and 'CcoN' records.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "chart_test_support.h"
#include "model/CDebit.h"
#include "model/ModelComparators.h"
#include "model/CTransaction.h"
#include "platform/core/localized_strings.h"

namespace ch {
namespace {

using test::ChartBooks;
using test::Holds;
using test::StreamReader;
using test::StreamWriter;

// Books with the home currency EUR (id 1).
class CurrencyBooks : public ChartBooks {
public:
    CurrencyBooks() { home = Currency(1, "EUR"); }
    CCurrency* home = nullptr;
};

TEST(CurrencyConversion, RoundingTable)
{
    CurrencyBooks books;
    CCurrency* plain = books.Currency(2, "XPL");
    CCurrency* rated = books.Currency(3, "XRT", 1, 1.2345);
    CCurrency* perHundred = books.Currency(4, "XPH", 100, 150.0);

    const struct {
        const CCurrency* currency;
        long decimals;
        double amount;
        bool rounding;
        double expected;
    } cases[] = {
        {plain, 2, 2.675, true, 2.67},        // 267.5 exactly: a half rounds toward zero
        {plain, 2, 1.236, true, 1.24},
        {plain, 2, -1.236, true, -1.24},
        {plain, 2, -2.675, true, -2.67},
        {plain, 2, 2.675, false, 2.675},
        {plain, 0, 2.5, true, 2.0},
        {plain, 0, 2.51, true, 3.0},
        {plain, 3, 1.23456, true, 1.235},
        {rated, 2, 10.0, true, 12.34},        // 1234.5 exactly
        {perHundred, 2, 1.0, true, 1.5},
        {books.home, 2, 2.675, true, 2.675},  // the home currency is never rounded
        {books.home, 2, 1.23456789, true, 1.23456789},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.amount) + " at " + std::to_string(c.decimals) + " decimals");
        CDecimal::putNrOfDecimals(c.decimals);
        EXPECT_DOUBLE_EQ(c.currency->ConvertToLocal(c.amount, 0, c.rounding), c.expected);
    }
    CDecimal::putNrOfDecimals(2);
    EXPECT_DOUBLE_EQ(rated->ConvertToForeign(12.345, 0, true), 10.0);
    EXPECT_DOUBLE_EQ(perHundred->ConvertToForeign(1.5, 0, false), 1.0);
    EXPECT_DOUBLE_EQ(perHundred->ConvertFrom(1.0, 0, perHundred, 0), 1.0);
    EXPECT_DOUBLE_EQ(rated->ConvertFrom(3.0, 0, perHundred, 0), 3.65);   // 4.50 EUR, 3.645 XRT
}

TEST(CurrencyConversion, SharesConvertThroughTheirBaseCurrency)
{
    CurrencyBooks books;
    CCurrency* usd = books.Currency(2, "USD", 1, 1.5);
    CCurrency* share = books.Currency(3, "ACME", 1, 10.0, currency_type::kShare, usd);
    CCurrency* homeShare = books.Currency(4, "HOME", 1, 7.0, currency_type::kShare);

    EXPECT_DOUBLE_EQ(share->ConvertToLocal(3.0, 0, true), 45.0);
    EXPECT_DOUBLE_EQ(share->ConvertToForeign(45.0, 0, true), 3.0);
    EXPECT_DOUBLE_EQ(homeShare->ConvertToLocal(2.0, 0, true), 14.0);
    // An ordinary currency priced in another currency does not chain.
    CCurrency* chained = books.Currency(5, "CHN", 1, 2.0, currency_type::kCurrency, usd);
    EXPECT_DOUBLE_EQ(chained->ConvertToLocal(1.0, 0, true), 2.0);
}

TEST(CurrencyConversion, ABaseChainThatLoopsIsRefused)
{
    CurrencyBooks books;
    CCurrency* first = books.Currency(2, "ONE", 1, 2.0, currency_type::kShare);
    CCurrency* second = books.Currency(3, "TWO", 1, 3.0, currency_type::kShare, first);
    books.TakeAlerts();

    EXPECT_FALSE(first->Put_mBaseCurrency(second->Get_Id(), second, 0));
    EXPECT_FALSE(first->Put_mBaseCurrency(first->Get_Id(), first, 0));   // not the home currency
    EXPECT_EQ(books.TakeAlerts(), (std::vector<long>{214, 214}));
    EXPECT_EQ(first->Get_mBaseCurrency(), books.home->Get_Id());
    EXPECT_DOUBLE_EQ(second->ConvertToLocal(1.0, 0, true), 6.0);
    EXPECT_TRUE(books.home->Put_mBaseCurrency(books.home->Get_Id(), books.home, 0));
}

TEST(CurrencyConversion, TheSameBaseAgainAddsNoRate)
{
    CurrencyBooks books;
    CCurrency* usd = books.Currency(2, "USD", 1, 1.5);
    const auto rates = [](const CCurrency* currency) { return currency->Get_mHistoryList()->GetCount(); };
    const auto before = rates(usd);
    const auto homeBefore = rates(books.home);

    EXPECT_TRUE(usd->Put_mBaseCurrency(books.home->Get_Id(), books.home, 0));
    EXPECT_TRUE(books.home->Put_mBaseCurrency(books.home->Get_Id(), books.home, 0));
    EXPECT_EQ(rates(usd), before);
    EXPECT_EQ(rates(books.home), homeBefore);
}

TEST(CurrencyConversion, ALoopOfBasesFromElsewhereEndsInsteadOfRecursing)
{
    // A base named before it exists can't be checked; a loop made so (or
    // read from a damaged file) still converts in finite steps.
    CurrencyBooks books;
    auto* first = new CCurrency(20, &books.doc);
    first->Put_mCurrencyType(currency_type::kShare);
    first->Put_mBaseCurrency(21, nullptr, 0);
    first->Put_mConversionFactor(2.0, 0);
    books.currencies().AppendObject(first);
    CCurrency* second = books.Currency(21, "TWO", 1, 3.0, currency_type::kShare, first);
    const double value = second->ConvertToLocal(1.0, 0, false);
    EXPECT_GT(value, 0.0);
    EXPECT_GT(first->ConvertToForeign(1.0, 0, false), 0.0);
}

TEST(CurrencyRates, TheRateOfADateIsTheLatestOneValidOnIt)
{
    CurrencyBooks books;
    auto* usd = new CCurrency(2, &books.doc);   // not validated: nothing is revalued
    books.currencies().AppendObject(usd);
    usd->UpdateCurrencyHistory(20070101, 1, 1.1);
    usd->UpdateCurrencyHistory(20090101, 1, 1.3);
    usd->UpdateCurrencyHistory(20080101, 1, 1.2);
    usd->Put_mConversionFactor(1.4, 0);   // today, 15 March 2024

    const struct {
        DateT date;
        double factor;
    } cases[] = {{20070615, 1.1}, {20080101, 1.2}, {20081231, 1.2}, {20150101, 1.3},
                 {20240315, 1.4}, {20300101, 1.4}, {20061231, 1.4}, {0, 1.4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.date);
        EXPECT_DOUBLE_EQ(usd->ConvertToLocal(100.0, c.date, false), 100.0 * c.factor);
    }
    EXPECT_EQ(usd->GetRate(20061231), nullptr);
    EXPECT_EQ(usd->GetRate(20081231)->Get_mValidFrom(), 20080101);
    EXPECT_TRUE(usd->didRateChangeAfter(20231231));
    EXPECT_FALSE(usd->didRateChangeAfter(20240315));
}

TEST(CurrencyRates, TheHistoryRecordsEachChangeOncePerDate)
{
    CurrencyBooks books;
    CCurrency* usd = books.Currency(2, "USD", 1, 1.5);
    CNamedListArray* history = usd->Get_mHistoryList();
    ASSERT_EQ(history->GetCount(), 1u);
    auto* today = static_cast<CCurrencyRate*>(history->ObjectAt(1));
    EXPECT_EQ(today->Get_mValidFrom(), 20240315);
    EXPECT_DOUBLE_EQ(today->Get_mMinFactor(), 1.5);
    EXPECT_DOUBLE_EQ(today->Get_mMaxFactor(), 1.5);
    EXPECT_EQ(today->Get_mCurrencyId(), books.home->Get_Id());

    usd->Put_mConversionFactor(1.5, 0);   // the same factor: no entry
    usd->Put_mConversionFactor(1.7, 0);
    usd->Put_mConversionFactor(1.6, 0);
    EXPECT_EQ(history->GetCount(), 1u);
    EXPECT_DOUBLE_EQ(today->Get_mConversionFactor(), 1.6);
    EXPECT_DOUBLE_EQ(today->Get_mMinFactor(), 1.5);
    EXPECT_DOUBLE_EQ(today->Get_mMaxFactor(), 1.7);

    // A rate entered for a past period changes the history, not the current rate.
    usd->Put_mConversionFactorAndAmount(1, 1.2, 20200101);
    EXPECT_DOUBLE_EQ(usd->Get_mConversionFactor(), 1.6);
    EXPECT_EQ(history->GetCount(), 2u);
    EXPECT_DOUBLE_EQ(usd->ConvertToLocal(10.0, 20210101, true), 12.0);
    usd->Put_mConversionFactorAndAmount(1, 1.8, 20240315);
    EXPECT_DOUBLE_EQ(usd->Get_mConversionFactor(), 1.8);

    CCurrencyRate fresh(-1, &books.doc);
    EXPECT_DOUBLE_EQ(fresh.Get_mMinFactor(), 9999999.0);
    EXPECT_DOUBLE_EQ(fresh.Get_mMaxFactor(), 0.0);
    EXPECT_EQ(fresh.Get_mValidTo(), 99991212);
    EXPECT_EQ(fresh.Get_mTransactionTo(), 9999999);
}

TEST(CurrencyRevaluation, ANewRateRevaluesBalanceSheetAccountsOnceValidated)
{
    CurrencyBooks books;
    CAccType* banks = books.Type(1, "Banks");
    CAccType* assets = books.Type(1, "Assets", banks);
    auto* usd = new CCurrency(2, &books.doc);
    usd->Put_Name("USD");
    books.currencies().AppendObject(usd);
    CAccount* account = books.Account("Dollar account", assets, 100.0);
    account->Put_mCurrency(usd->Get_Id());
    ASSERT_DOUBLE_EQ(account->Get_mBalance(), 100.0);

    usd->Put_mConversionFactor(1.2, 0);   // still new: recorded, not revalued
    EXPECT_DOUBLE_EQ(account->Get_mLocalBalance(), 100.0);
    EXPECT_EQ(usd->Get_mHistoryList()->GetCount(), 1u);

    usd->Validate();
    usd->Put_mConversionFactor(1.3, 0);
    EXPECT_DOUBLE_EQ(account->Get_mLocalBalance(), 130.0);
    EXPECT_DOUBLE_EQ(assets->Get_mBalance(), 130.0);
    EXPECT_DOUBLE_EQ(banks->Get_mBalance(), 130.0);
}

// A balance summed from its lines carries the binary error of the order they
// were added in. At a rate that puts it on a half cent, the books as kept and
// the same books read again (their lines added in another order) must book
// the same fluctuation.
TEST(CurrencyRevaluation, ABalanceOnAHalfCentIsRevaluedAloneOfItsBinaryError)
{
    CurrencyBooks books;
    CAccType* assets = books.Type(1, "Assets");
    auto* usd = new CCurrency(2, &books.doc);
    usd->Put_Name("USD");
    books.currencies().AppendObject(usd);
    usd->Validate();
    // -3715.75 as two different sums of the same lines give it.
    std::vector<CAccount*> accounts;
    for (const double balance : {-3715.7499999999995, -3715.75, -3715.7500000000005}) {
        CAccount* account = books.Account("Dollar account", assets);
        account->Put_mCurrency(usd->Get_Id());
        account->Put_mBalance(balance);
        account->Put_mLocalBalance(balance);
        accounts.push_back(account);
    }
    usd->Put_mConversionFactor(0.54, 0);   // 3715.75 x 0.54 = 2006.505
    for (const CAccount* account : accounts)
        EXPECT_EQ(account->Get_mLocalBalance(), accounts[1]->Get_mLocalBalance()) << account->Get_mBalance();
}

TEST(CurrencyHomeChange, RatesAreExpressedInTheNewHomeCurrency)
{
    CurrencyBooks books;
    CCurrency* usd = books.Currency(2, "USD", 1, 2.0);   // 1 USD = 2 EUR
    CCurrency* gbp = books.Currency(3, "GBP", 1, 0.25);
    CCurrency* share = books.Currency(4, "ACME", 1, 10.0, currency_type::kShare, usd);

    const double rate = 0.5;   // 1 EUR = 0.5 USD
    for (CCurrency* currency : {books.home, usd, gbp, share}) currency->SetNewHomeCurrency(books.home, usd, rate);
    EXPECT_EQ(books.home->Get_mConversionQuantity(), 100);
    EXPECT_DOUBLE_EQ(books.home->Get_mConversionFactor(), 50.0);
    EXPECT_EQ(books.home->Get_mBaseCurrency(), usd->Get_Id());
    EXPECT_EQ(usd->Get_mConversionQuantity(), 1);
    EXPECT_DOUBLE_EQ(usd->Get_mConversionFactor(), 1.0);
    EXPECT_EQ(usd->Get_mBaseCurrency(), usd->Get_Id());
    EXPECT_EQ(gbp->Get_mConversionQuantity(), 100);
    EXPECT_DOUBLE_EQ(gbp->Get_mConversionFactor(), 12.5);
    EXPECT_EQ(share->Get_mBaseCurrency(), usd->Get_Id());   // priced in USD: unchanged
    EXPECT_DOUBLE_EQ(share->Get_mConversionFactor(), 10.0);
}

TEST(CurrencyDeletion, ACurrencyInUseAnywhereIsRefused)
{
    CurrencyBooks books;
    CCurrency* held = books.Currency(2, "HLD");
    CCurrency* base = books.Currency(3, "BAS");
    books.Currency(4, "SHR", 1, 1.0, currency_type::kShare, base);
    CCurrency* unlinked = books.Currency(5, "UNL");
    CCurrency* recurring = books.Currency(6, "REC");
    CCurrency* lineOnly = books.Currency(7, "LIN");
    CCurrency* unused = books.Currency(8, "UNU");
    books.Account("Held", books.Type(1, "Banks"))->Put_mCurrency(held->Get_Id());

    auto* draft = new CTransaction(-1, &books.doc, true, 3, true);
    draft->Put_mCurrencyId(unlinked->Get_Id(), unlinked);
    books.doc.mUnlinkedList->AppendObject(draft);
    auto* templateTransaction = new CTransaction(-1, &books.doc, true, 3, true);
    static_cast<CDebit*>(templateTransaction->GetCreditList()->ObjectAt(1))
        ->Put_mCurrency(recurring->Get_Id(), recurring);
    books.doc.mRecurringList->AppendObject(templateTransaction);
    auto* posted = new CTransaction(-1, &books.doc, true, 3, true);
    static_cast<CDebit*>(posted->GetExpenseTypeList()->ObjectAt(1))->Put_mCurrency(lineOnly->Get_Id(), lineOnly);
    books.doc.mTransactionList->AppendObject(posted);
    books.TakeAlerts();

    EXPECT_FALSE(books.home->BeforeDelete());
    EXPECT_FALSE(held->BeforeDelete());
    EXPECT_FALSE(base->BeforeDelete());
    EXPECT_FALSE(unlinked->BeforeDelete());
    EXPECT_FALSE(recurring->BeforeDelete());
    EXPECT_FALSE(lineOnly->BeforeDelete());
    EXPECT_EQ(books.TakeAlerts(), (std::vector<long>{181, 180, 181, 182, 182, 182}));
    EXPECT_TRUE(unused->BeforeDelete());
}

TEST(CurrencyNames, ShortNameDisplayNameAndShareAccounts)
{
    CurrencyBooks books;
    CCurrency* usd = books.Currency(2, "USD");
    usd->Put_mDescription("US Dollar");
    EXPECT_EQ(usd->Get_StringrefName(), "USD : US Dollar");
    char name[kNameSize];
    usd->Get_Name(name);
    EXPECT_STREQ(name, "USD : US Dollar");

    usd->Put_Name("ABCDEFGHIJKLMNOP");
    usd->Get_ShortName(name);
    EXPECT_STREQ(name, "ABCDEFGHIJ");
    EXPECT_EQ(usd->Get_ShortStringRefName(), "ABCDEFGHIJKLMNOP");
    usd->Put_mDescription(nullptr);
    EXPECT_EQ(usd->Get_StringrefDesc(), "-?-");

    // A share's portfolio account follows the share's name.
    CAccType* banks = books.Type(1, "Banks");
    CCurrency* share = books.Currency(3, "OLD", 1, 1.0, currency_type::kShare);
    CAccount* portfolio = books.Account("Portfolio", banks);
    const std::string label = localized("porfolioAcntName");
    portfolio->Put_StringrefName(label + " OLD");
    share->Put_mPortfolioAccountId(portfolio->Get_Id());
    share->Put_StringrefName(std::string_view("NEW"));
    EXPECT_EQ(portfolio->Get_StringRefNameOnly(), label + " NEW");
    EXPECT_EQ(portfolio->Get_StringrefDesc(), label + " NEW");
}

// A name made of parts ("symbol : description", "number : name") read twice
// at once, as a sorted search does when it meets the object it looks for:
// the second reading leaves the first one's text intact.
TEST(CurrencyNames, ALongMadeUpNameComparedWithItselfIsReadIntact)
{
    CurrencyBooks books;
    CCurrency* dollar = books.Currency(2, "USD");
    dollar->Put_mDescription("United States dollar");
    CAccType* banks = books.Type(1, "Banks and savings");
    banks->Put_StringRefAccountingNumber(std::string_view("1000"));
    CAccount* checking = books.Account("Checking account of the household", banks);
    checking->Put_StringRefAccountingNumber(std::string_view("1010"));

    const CNonVisual* objects[] = {dollar, banks, checking};
    const LNamedlistArrayComparator compare;
    for (const CNonVisual* object : objects) {
        SCOPED_TRACE(object->Get_StringrefName());
        ASSERT_GT(object->Get_StringrefName().size(), 15u) << "longer than a string keeps in place";
        EXPECT_EQ(compare.Compare(&object, &object, sizeof object, sizeof object), 0);
    }
}

// --- the currency list

TEST(CurrencyList, SubListsByTypeAndLookUps)
{
    CurrencyBooks books;
    CCurrency* usd = books.Currency(2, "USD");
    usd->Put_mDescription("US Dollar");
    CCurrency* share = books.Currency(3, "ACME", 1, 1.0, currency_type::kShare);
    auto* odd = new CCurrency(4, &books.doc);
    odd->Put_mCurrencyType(7);
    books.currencies().AppendObject(odd);

    CNamedListArray* shares = books.currencies().Get_SubList(CCurrencyArray::kShares);
    CNamedListArray* currencies = books.currencies().Get_SubList(CCurrencyArray::kCurrencies);
    EXPECT_TRUE(Holds(shares, share));
    EXPECT_FALSE(Holds(currencies, share));
    EXPECT_TRUE(Holds(currencies, usd));
    for (std::size_t i = 0; i < books.currencies().SubListCount(); ++i)
        EXPECT_FALSE(Holds(books.currencies().SubList(i), odd));

    share->Put_mCurrencyType(2);
    books.currencies().SwitchList(share, currency_type::kShare);
    EXPECT_FALSE(Holds(shares, share));
    EXPECT_TRUE(Holds(books.currencies().Get_SubList(CCurrencyArray::kType2), share));

    CCurrency* found = nullptr;
    ArrayIndexT position = 0;
    EXPECT_EQ(books.currencies().GetCurrencyForSymbol(std::string_view("usd"), found, position), usd->Get_Id());
    EXPECT_EQ(found, usd);
    EXPECT_EQ(position, books.currencies().FetchIndexOfObject(usd));
    EXPECT_EQ(books.currencies().GetCurrencyForName(std::string_view("us dollar"), found, position),
              usd->Get_Id());
    EXPECT_EQ(books.currencies().GetCurrencyForDisplayName(std::string_view("USD : us dollar"), found, position),
              usd->Get_Id());

    CCurrency* untouched = share;
    EXPECT_EQ(books.currencies().GetCurrencyForName(std::string_view("usd"), untouched, position), -1);
    EXPECT_EQ(untouched, share);
    EXPECT_EQ(position, 1);

    books.currencies().RemoveObject(usd);
    EXPECT_FALSE(Holds(currencies, usd));
    delete usd;
}

// --- records

std::vector<std::uint8_t> RecordOf(CNonVisual& object)
{
    StreamWriter writer;
    object.PutStream(writer.stream());
    return writer.bytes();
}

TEST(CurrencyRecords, ACurrencyWithItsRatesReadsBackToTheSameBytes)
{
    CurrencyBooks books;
    CCurrency* usd = books.Currency(2, "USD", 1, 1.5);
    usd->Put_mDescription("US Dollar");
    usd->Put_mCurrencySymbol("$");
    usd->Put_mAllowDecimals(0);
    usd->Put_mConversionFactorAndAmount(1, 1.25, 20200101);
    const auto written = RecordOf(*usd);

    CurrencyBooks copy;
    StreamReader reader(written);
    auto* read = new CCurrency(reader.stream(), version::kCurrent, &copy.doc);
    copy.currencies().AppendObject(read);
    for (int i = 0; i < 2; ++i) {
        auto* rate = new CCurrencyRate(reader.stream(), &copy.doc, version::kCurrent);
        std::int32_t before = reader->GetMarker();
        ASSERT_TRUE(rate->InitFromStream(reader.stream(), &copy.doc, read, version::kCurrent));
        EXPECT_EQ(reader->GetMarker() - before, CCurrencyRate::kBodySize);
    }
    EXPECT_EQ(reader->GetMarker(), static_cast<std::int32_t>(written.size()));

    EXPECT_EQ(read->Get_ObjectStatus(), status::kNormal);
    EXPECT_EQ(read->Get_ShortStringRefName(), "USD");
    EXPECT_DOUBLE_EQ(read->ConvertToLocal(10.0, 20210101, true), 12.5);
    EXPECT_DOUBLE_EQ(read->ConvertToLocal(10.0, 0, true), 15.0);
    EXPECT_FALSE(read->AreDecimalsAllowed());
    EXPECT_EQ(RecordOf(*read), written);
}

TEST(CurrencyRecords, AnOldRecordReadsWithTheDefaults)
{
    CurrencyBooks books;
    books.doc.mPreference->Put_mDefAccntOwnProperty(44);
    StreamWriter writer;
    writer->WriteBigOsType(type::kCurrency);
    writer->WriteObjectIdT(9);
    writer->WriteCString("CHF");
    writer->WriteEnumT(2);            // new: read as validated
    writer->WriteEnumT(0);            // open flag
    writer->WriteCString("Swiss franc");
    writer->WriteQtyT(1);
    writer->WriteAmountTT(0.9);
    writer->WriteEnumT(currency_type::kCurrency);
    writer->WriteObjectIdT(77);       // an ordinary currency is priced in the home currency
    writer->WriteObjectIdT(12);       // difference account
    writer->WriteEnumT(1);
    writer->WriteObjectIdT(1);        // reserved
    writer->WriteObjectIdT(13);       // difference category

    StreamReader reader(writer.bytes());
    CCurrency read(reader.stream(), fourCC("1.06"), &books.doc);
    EXPECT_EQ(reader->GetMarker(), static_cast<std::int32_t>(writer.bytes().size()));
    EXPECT_EQ(read.Get_ObjectStatus(), status::kNormal);
    EXPECT_EQ(read.Get_mBaseCurrency(), books.home->Get_Id());
    EXPECT_EQ(read.Get_mPortfolioAccountId(), -1);
    EXPECT_EQ(read.Get_mComissionAccountId(), 3);
    EXPECT_EQ(read.Get_mComissionExpenseTypeId(), 1);
    EXPECT_EQ(read.Get_mDividentAccountIdFrom(), 12);
    EXPECT_EQ(read.Get_mDividentAccountIdTo(), 44);
    EXPECT_EQ(read.Get_mDividentExpenseTypeId(), 13);
    char symbol[CCurrency::kSymbolSize];
    read.Get_mCurrencySymbol(symbol);
    EXPECT_STREQ(symbol, "");
    EXPECT_EQ(read.Get_StringrefDesc(), "Swiss franc");
    EXPECT_TRUE(read.Get_mHistoryList()->GetCount() == 0);
}

TEST(CurrencyRecords, RatesWithoutACurrencyJoinNothing)
{
    CurrencyBooks books;
    CCurrencyRate rate(-1, &books.doc);
    rate.Put_mValidFrom(20080101);
    const auto written = RecordOf(rate);
    StreamReader reader(written);
    CCurrencyRate read(reader.stream(), &books.doc, version::kCurrent);
    EXPECT_FALSE(read.InitFromStream(reader.stream(), &books.doc, nullptr, version::kCurrent));
    EXPECT_EQ(read.Get_mValidFrom(), 20080101);
    EXPECT_EQ(read.Get_SortDate(), 20080101);
}

} // namespace
} // namespace ch

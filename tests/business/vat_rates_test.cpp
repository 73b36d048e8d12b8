// VAT rates in a document: creating one with its accounts and category,
// modifying and deleting it, finding rates, and the executor's rows for the
// VAT-rate commands.

#include <gtest/gtest.h>

#include <functional>

#include "business/BusinessCommands.h"
#include "business/VATRateArguments.h"
#include "business/VATRateSheetRules.h"
#include "business/VATRates.h"
#include "business_test_support.h"
#include "document/DocumentNotifications.h"
#include "document/arguments/CDeleteObjectParms.h"

namespace ch::business {
namespace {

using test::BusinessTest;
using test::NotificationLog;

arguments::VATRateArguments newRate(const char* name, double percentage)
{
    arguments::VATRateArguments values;
    values.name = name;
    values.description = std::string(name) + " goods";
    values.rate = percentage;
    values.fiscalPCT = 50.0;
    values.keyPaid = "59";
    return values;
}

class VATRatesTest : public BusinessTest {
protected:
    std::shared_ptr<GXVATRate> rateWithAccounts(const char* name, std::optional<long> paid,
                                                std::optional<long> received, std::optional<long> reconciled)
    {
        arguments::VATRateArguments values = newRate(name, 21.0);
        values.createAccounts = false;
        values.createCategoryInvoicedNotReceived = false;
        values.accountIdPaid = paid;
        values.accountIdReceived = received;
        values.accountIdReconciled = reconciled;
        createVATRateWithArguments(document, values);
        return document.arrays.VATRateArray.front();
    }
    bool accountExists(ObjectIdT id) { return document.books.root().GetAccountForID(id) != nullptr; }
};

TEST_F(VATRatesTest, ANewRateMakesItsAccountsAndCategoryAndComesFirst)
{
    NotificationLog log(document.books.notificationCenter(), {GXCNewVatRateCreatedNotification});
    createVATRateWithArguments(document, newRate("Reduced", 6.0));
    ASSERT_TRUE(createVATRateWithArguments(document, newRate("Standard", 21.0)));

    ASSERT_EQ(document.arrays.VATRateArray.size(), 2u);
    const std::shared_ptr<GXVATRate> rate = document.arrays.VATRateArray.front();
    EXPECT_EQ(rate->name(), "Standard");
    EXPECT_EQ(rate->idKey(), *document.arrays.VATRateArray.back()->idKey() + 1);
    EXPECT_EQ(rate->fiscalRecoverablePercentage(), 50.0);
    EXPECT_EQ(rate->keyPaid(), "59");
    ASSERT_EQ(log.posted.size(), 2u);
    EXPECT_EQ(log.posted.back().objectAs<GXVATRate>(), rate);
    EXPECT_EQ(document.books.changes, 2);

    // Paid account, received account, then the category. The paid one takes
    // the label "VATRECEIVED", the received one "VATPAID".
    ASSERT_EQ(document.accountsMade.size(), 4u);
    const arguments::AccountArguments& paid = document.accountsMade[2];
    const arguments::AccountArguments& received = document.accountsMade[3];
    EXPECT_EQ(paid.name, "Input VAT : Standard");
    EXPECT_EQ(paid.description, "Standard : Input VAT");
    EXPECT_EQ(received.name, "Output VAT : Standard");
    EXPECT_EQ(paid.accountTypeId, document.preferenceItem()->mVatPaidAccT());
    EXPECT_EQ(received.accountTypeId, document.preferenceItem()->mVATReceivedAccT());
    EXPECT_EQ(paid.idKey, -1);
    EXPECT_EQ(paid.currencyId, 1);
    EXPECT_EQ(paid.ownerId, 1);
    EXPECT_EQ(paid.defaultCategory, -1);
    EXPECT_EQ(paid.allocableExpenses, 100.0);
    EXPECT_EQ(paid.newBalance, 0.0);
    EXPECT_FALSE(paid.accountingNumber);
    EXPECT_FALSE(paid.bankAccountNumber);
    EXPECT_EQ(rate->accountPaidName(), "Input VAT : Standard");
    EXPECT_EQ(rate->accountReceivedName(), "Output VAT : Standard");
    EXPECT_EQ(rate->accountReconciledName(), "Na");
    EXPECT_FALSE(rate->accountIdReconciled());
    EXPECT_LT(*rate->accountIdPaid(), *rate->accountIdReceived());

    ASSERT_EQ(document.categoriesMade.size(), 2u);
    const arguments::CategoryParameters& category = document.categoriesMade[1];
    EXPECT_EQ(category.name, "VAT not received : Standard");
    EXPECT_EQ(category.description, "VAT not received : Standard goods");
    EXPECT_EQ(category.mMasterTypeId, 1);
    EXPECT_EQ(category.mParentId, -1);
    EXPECT_EQ(category.mTaxDeductiblePct, 0.0);
    EXPECT_GT(*rate->categoryInvoicedNotYetReceived(), *rate->accountIdReceived());
}

TEST_F(VATRatesTest, TheSettingsCategoryFollowsTheFirstRateOnlyWhileItIsStillTheDefault)
{
    for (long setting : {1L, 7L}) {
        SCOPED_TRACE(setting);
        document.preferenceItem()->setMVatInvoicedNotYetReceivedExpT(setting);
        createVATRateWithArguments(document, newRate("Standard", 21.0));
        const long category = *document.arrays.VATRateArray.front()->categoryInvoicedNotYetReceived();
        EXPECT_EQ(document.preferenceItem()->mVatInvoicedNotYetReceivedExpT(), setting == 1 ? category : setting);
    }
    // A rate made without settings, or whose account is refused, still stands.
    document.withoutSettings = true;
    document.refuseAccounts = true;
    createVATRateWithArguments(document, newRate("Zero", 0.0));
    EXPECT_FALSE(document.arrays.VATRateArray.front()->accountIdPaid());
    EXPECT_EQ(document.arrays.VATRateArray.front()->rate(), 0.0);
}

TEST_F(VATRatesTest, ModifyingTakesTheNewValuesAndKeepsTheId)
{
    const std::shared_ptr<GXVATRate> rate = rateWithAccounts("Standard", 4, 1, std::nullopt);
    const auto id = rate->idKey();
    NotificationLog log(document.books.notificationCenter(), {GXCVatRateUpdatedNotification});
    std::unique_ptr<arguments::VATRateArguments> values = rate->getAsArguments();
    values->name = "Standard 21";
    values->rate = 21.5;
    values->idKey = 999;
    const int changes = document.books.changes;
    ASSERT_TRUE(updateVATRate(document, rate, *values));
    EXPECT_EQ(rate->name(), "Standard 21");
    EXPECT_EQ(rate->rate(), 21.5);
    EXPECT_EQ(rate->idKey(), id);
    EXPECT_EQ(rate->accountIdPaid(), 4);
    EXPECT_EQ(document.accountsMade.size(), 0u);
    EXPECT_EQ(log.posted.size(), 1u);
    EXPECT_EQ(document.books.changes, changes + 1);
}

TEST_F(VATRatesTest, DeletingARateDeletesOnlyTheAccountsNoOtherRateUses)
{
    document.addAccount(40, 1, "Paid", 1);
    document.addAccount(41, 2, "Received", 1);
    document.addAccount(42, 2, "Reconciled", 1);
    document.addAccount(43, 2, "Other received", 1);
    document.addAccount(44, 1, "Both", 1);
    const std::shared_ptr<GXVATRate> other = rateWithAccounts("Other", 40, 43, std::nullopt);
    const std::shared_ptr<GXVATRate> rate = rateWithAccounts("Standard", 40, 41, 42);
    const std::string key = rate->calculateKey();
    NotificationLog log(document.books.notificationCenter(),
                        {GXCVatRateWillBeDeletedNotification, GXCVatRateDeletedNotification});
    const int changes = document.books.changes;

    performDeleteVATRate(document, rate, false);
    EXPECT_EQ(document.accountsDeleted, (std::vector<ObjectIdT>{41, 42}));
    EXPECT_TRUE(accountExists(40));
    EXPECT_FALSE(accountExists(41));
    EXPECT_EQ(document.arrays.VATRateArray, (std::vector<std::shared_ptr<GXVATRate>>{other}));
    ASSERT_EQ(log.posted.size(), 2u);
    EXPECT_EQ(log.posted[0].objectAs<GXVATRate>(), rate);
    ASSERT_NE(log.posted[1].objectKey(), nullptr);
    EXPECT_EQ(*log.posted[1].objectKey(), key);
    EXPECT_GT(document.books.changes, changes);

    // One account serving as paid and received account goes once.
    const std::shared_ptr<GXVATRate> both = rateWithAccounts("Both", 44, 44, std::nullopt);
    document.accountsDeleted.clear();
    performDeleteVATRate(document, both, false);
    EXPECT_EQ(document.accountsDeleted, (std::vector<ObjectIdT>{44}));
}

TEST_F(VATRatesTest, ADeletionTheUserCancelsOrAnAccountRefusesChangesNothing)
{
    document.addAccount(40, 1, "Paid", 1);
    // Account 4 is a default account of the settings: it may not be deleted.
    const std::shared_ptr<GXVATRate> rate = rateWithAccounts("Standard", 40, 4, std::nullopt);
    NotificationLog log(document.books.notificationCenter(),
                        {GXCVatRateWillBeDeletedNotification, GXCVatRateDeletedNotification});

    environment.alerts().scriptAnswer(AlertAnswer::Default); // Cancel
    performDeleteVATRate(document, rate, true);
    EXPECT_EQ(environment.alerts().numbers(), (std::vector<long>{226}));

    environment.alerts().clear();
    performDeleteVATRate(document, rate, false);
    EXPECT_EQ(environment.alerts().numbers(), (std::vector<long>{233}));
    EXPECT_TRUE(accountExists(40));
    EXPECT_TRUE(accountExists(4));
    EXPECT_TRUE(document.accountsDeleted.empty());
    EXPECT_EQ(document.arrays.VATRateArray.size(), 1u);
    EXPECT_TRUE(log.posted.empty());
}

TEST_F(VATRatesTest, RatesAreFoundByIdAccountAndKey)
{
    const std::shared_ptr<GXVATRate> second = rateWithAccounts("Second", 40, 41, 42);
    const std::shared_ptr<GXVATRate> first = rateWithAccounts("First", 50, 51, std::nullopt);
    const long id = *second->idKey();

    EXPECT_EQ(VATRateWithId(document, id, false), second);
    EXPECT_EQ(VATRateWithId(document, -5, false), nullptr);
    EXPECT_EQ(VATRateWithId(document, -5, true), first);
    EXPECT_EQ(getDefaultVATRateForOrder(document, 0), id == 1 ? second : first);
    EXPECT_EQ(getDefaultVATRateForOrder(document, 1), nullptr);

    EXPECT_EQ(VATRateForAccountIdPayable(document, 40), second);
    EXPECT_EQ(VATRateForAccountIdPayable(document, 41), nullptr);
    EXPECT_EQ(VATRateForAccountIdReceivable(document, 51), first);
    EXPECT_TRUE(accountIsUsedByVATRate(document, 42, first.get()));
    EXPECT_FALSE(accountIsUsedByVATRate(document, 42, second.get()));

    EXPECT_EQ(VATRateForObjectKey(document, "VatR" + std::to_string(id)), second);
    EXPECT_EQ(VATRateForObjectKey(document, "VatR987654"), nullptr);
    EXPECT_EQ(VATRateForObjectKey(document, "VatP" + std::to_string(id)), nullptr);
}

TEST_F(VATRatesTest, TheExecutorsRowsActOnlyOnTheirOwnKindsOfTargetAndArguments)
{
    const arguments::VATRateArguments values = newRate("Standard", 21.0);
    EXPECT_EQ(executeBusinessCommand(document, 33, nullptr, &values), 1);
    ASSERT_EQ(document.arrays.VATRateArray.size(), 1u);
    const std::shared_ptr<GXVATRate> rate = document.arrays.VATRateArray.front();

    arguments::CDeleteObjectParms asking;
    asking.withAsking = true;
    auto period = std::make_shared<GXVATPeriod>(&document);
    arguments::VATRateArguments renamed = *rate->getAsArguments();
    renamed.name = "Renamed";
    struct Case {
        int number;
        std::shared_ptr<Observable> target;
        const CArgumentAncestor* arguments;
        std::optional<std::int32_t> result;
    };
    const Case cases[] = {
        {33, nullptr, &asking, -1},    // no VAT-rate arguments: nothing made
        {34, period, &renamed, -1},    // not a rate
        {37, period, &asking, -1},     // not a rate: nothing deleted, nothing asked
        {32, rate, &renamed, -1},  {35, rate, &renamed, -1}, {36, rate, &renamed, -1},
        {40, rate, &renamed, -1},  {43, rate, &renamed, -1},
        {38, rate, &renamed, -1}, {46, rate, &renamed, -1},
        {31, rate, &renamed, std::nullopt}, {47, rate, &renamed, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(executeBusinessCommand(document, c.number, c.target, c.arguments), c.result) << c.number;
    EXPECT_EQ(rate->name(), "Standard");
    EXPECT_EQ(document.arrays.VATRateArray.size(), 1u);
    EXPECT_TRUE(environment.alerts().numbers().empty());

    EXPECT_EQ(executeBusinessCommand(document, 34, rate, &renamed), 1);
    EXPECT_EQ(rate->name(), "Renamed");
    // 37 asks when its argument says so; the answer OK deletes.
    environment.alerts().scriptAnswer(AlertAnswer::Alternate);
    EXPECT_EQ(executeBusinessCommand(document, 37, rate, &asking), -1);
    EXPECT_EQ(environment.alerts().numbers(), (std::vector<long>{226}));
    EXPECT_TRUE(document.arrays.VATRateArray.empty());
}

TEST_F(VATRatesTest, TheSheetAcceptsOnlyCompleteValuesAndAccountsNoOtherRateUses)
{
    document.addAccount(40, 1, "Paid with bookings", 1);
    document.addAccount(41, 2, "Received", 1);
    document.addAccount(42, 1, "Paid of another rate", 1);
    document.addAccount(43, 1, "Free", 1);
    document.addTransfer(20240301, 4, 40, 10.0);
    const std::shared_ptr<GXVATRate> other = rateWithAccounts("Other", 42, 41, std::nullopt);
    const std::shared_ptr<GXVATRate> rate = rateWithAccounts("Standard", 40, 41, std::nullopt);

    using Field = VATRateSheetField;
    struct Case {
        const char* what;
        std::function<void(arguments::VATRateArguments&)> change;
        bool modifying;
        long error;
        Field focus;
    };
    const Case cases[] = {
        {"unchanged", [](auto&) {}, true, 0, Field::None},
        {"no name", [](auto& a) { a.name.reset(); }, true, 202, Field::Name},
        {"empty name", [](auto& a) { a.name = ""; }, true, 202, Field::Name},
        {"no percentage", [](auto& a) { a.fiscalPCT.reset(); }, true, 129, Field::Percentage},
        {"percentage above 100", [](auto& a) { a.fiscalPCT = 100.01; }, true, 272, Field::Percentage},
        {"percentage below 0", [](auto& a) { a.fiscalPCT = -0.01; }, true, 272, Field::Percentage},
        {"100 and 0 exactly", [](auto& a) { a.fiscalPCT = 100.0; a.rate = 0.0; }, true, 0, Field::None},
        {"no rate", [](auto& a) { a.rate.reset(); }, true, 129, Field::Rate},
        {"rate above 100", [](auto& a) { a.rate = 100.01; }, true, 272, Field::Rate},
        {"new accounts while the old have bookings", [](auto& a) { a.createAccounts = true; }, true, 274,
         Field::PaidAccount},
        {"new accounts for a new rate", [](auto& a) { a.createAccounts = true; }, false, 0, Field::None},
        {"no paid account", [](auto& a) { a.accountIdPaid.reset(); }, true, 129, Field::PaidAccount},
        {"no received account", [](auto& a) { a.accountIdReceived.reset(); }, true, 129, Field::ReceivedAccount},
        {"paid account of another rate", [](auto& a) { a.accountIdPaid = 42; }, true, 273, Field::PaidAccount},
        {"another paid account while the old has bookings", [](auto& a) { a.accountIdPaid = 43; }, true, 274,
         Field::PaidAccount},
        {"a new rate on an account in use", [](auto& a) { a.accountIdPaid = 40; }, false, 273, Field::PaidAccount},
        {"received account of a rate being made", [](auto& a) { a.accountIdPaid = 43; }, false, 273,
         Field::ReceivedAccount},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<arguments::VATRateArguments> values = rate->getAsArguments();
        if (!c.modifying)
            values->idKey.reset();
        c.change(*values);
        const VATRateSheetCheck check = checkVATRateSheet(document, *values, c.modifying ? rate.get() : nullptr);
        EXPECT_EQ(check.error, c.error);
        EXPECT_EQ(check.focus, c.focus);
    }

    // Only a new rate may make its objects; a chooser is open while its
    // object is not being made.
    arguments::VATRateArguments made = newRate("New", 21.0);
    const VATRateSheetChoices forNew = VATRateSheetChoicesFor(made);
    EXPECT_TRUE(forNew.createAccountsPossible && forNew.createReconciliationAccountPossible &&
                forNew.createCategoryInvoicedNotReceivedPossible);
    EXPECT_FALSE(forNew.selectAccountsPossible);
    EXPECT_TRUE(forNew.selectReconciliationAccountPossible);
    EXPECT_FALSE(forNew.selectCategoryInvoicedNotReceivedPossible);
    const VATRateSheetChoices forExisting = VATRateSheetChoicesFor(*rate->getAsArguments());
    EXPECT_FALSE(forExisting.createAccountsPossible || forExisting.createReconciliationAccountPossible ||
                 forExisting.createCategoryInvoicedNotReceivedPossible);
    EXPECT_TRUE(forExisting.selectAccountsPossible && forExisting.selectReconciliationAccountPossible &&
                forExisting.selectCategoryInvoicedNotReceivedPossible);
}

} // namespace
} // namespace ch::business

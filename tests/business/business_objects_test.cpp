// The business objects on their own: the id rule and its counters, keys,
// the dictionary forms, searching, the VAT amount of a rate, the status of
// a period, and the argument objects' journal text.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "business/BusinessArgumentClasses.h"
#include "business/GXInvoice.h"
#include "business/GXVATPeriod.h"
#include "business/GXVATRate.h"
#include "business/InvoiceArguments.h"
#include "business/PaymentArguments.h"
#include "business/VATPeriodArguments.h"
#include "business/VATRateArguments.h"
#include "document/arguments/ArgumentClassRegistry.h"
#include "document/arguments/ArgumentTextCheck.h"
#include "platform/core/localized_strings.h"
#include "platform/core/message_format.h"

namespace ch::business {
namespace {

TEST(BusinessObjects, IdRuleTakesTheNextCounterValueOrKeepsAndLiftsAStoredId)
{
    // Counters are shared by the whole process: everything is relative to
    // what the first new rate draws.
    GXVATRate first;
    first.setIdKey(-1);
    ASSERT_TRUE(first.idKey());
    const std::int32_t base = *first.idKey();
    GXVATRate second;
    second.setIdKey(-1);
    EXPECT_EQ(second.idKey(), base + 1);

    // Read from a file: the stored ids stay and lift the counter.
    GXVATRate stored3, stored7;
    stored3.setIdKey(base + 3);
    stored7.setIdKey(base + 7);
    EXPECT_EQ(stored7.idKey(), base + 7);
    GXVATRate next;
    next.setIdKey(-1);
    EXPECT_EQ(next.idKey(), base + 8);

    // A positive id is kept for good, though a larger given id still lifts
    // the counter.
    stored3.setIdKey(base + 20);
    EXPECT_EQ(stored3.idKey(), base + 3);
    GXVATRate after;
    after.setIdKey(-1);
    EXPECT_EQ(after.idKey(), base + 21);

    // Periods count on their own: no rate id lifts them.
    GXVATPeriod period;
    period.setIdKey(-1);
    GXVATPeriod nextPeriod;
    nextPeriod.setIdKey(-1);
    EXPECT_EQ(nextPeriod.idKey(), *period.idKey() + 1);
    EXPECT_LT(*period.idKey(), base + 21);
}

TEST(BusinessObjects, NewObjectsHaveTheirTypeAndNoIdAndKeysJoinTypeAndId)
{
    GXVATRate rate;
    GXVATPeriod period;
    GXInvoice invoice;
    EXPECT_EQ(rate.objectType(), "VatR");
    EXPECT_EQ(period.objectType(), "VatP");
    EXPECT_EQ(invoice.objectType(), "InvC");
    EXPECT_FALSE(rate.idKey());
    EXPECT_FALSE(period.idKey());
    EXPECT_EQ(rate.fiscalRecoverablePercentage(), 100.0);
    EXPECT_EQ(invoice.calculateKey(), "InvC");

    rate.setIdKey(12);
    EXPECT_EQ(rate.calculateKey(), "VatR12");
}

TEST(BusinessObjects, DictionaryFormsRoundTripAndLeaveOutAnEmptyDescription)
{
    GXVATRate rate;
    rate.setName("Standard");
    rate.setDescription("");
    rate.setIdKey(9001);
    rate.setRate(21.0);
    rate.setAccountIdPaid(40);
    rate.setKeyReceivedCancelled("81");
    const Dictionary form = rate.dictionaryRepresentation();
    EXPECT_FALSE(form.contains("Description"));
    EXPECT_EQ(form["Type"], Value("VatR"));
    EXPECT_EQ(form["Id"], Value(9001));
    EXPECT_EQ(form["VATRate"], Value(21.0));
    EXPECT_EQ(form["AccountIdPaid"], Value(40));
    EXPECT_EQ(form["VATReceivedCancelledKey"], Value("81"));
    EXPECT_FALSE(form.contains("AccountIdReconciled"));

    // An "Id" given as text counts as its number.
    Dictionary textId = form;
    textId.set("Id", Value("77"));
    GXVATRate copy;
    ASSERT_TRUE(copy.setEqualToDictionaryRepresentation(textId));
    EXPECT_EQ(copy.idKey(), 77);
    EXPECT_EQ(copy.rate(), 21.0);
    EXPECT_EQ(copy.keyReceivedCancelled(), "81");

    // A period takes its figures from a dictionary, never its dates.
    GXVATPeriod period;
    period.setStartDate(20061001);
    Dictionary periodForm{{"Type", Value("VatP")}, {"StartDate", Value(20990101)},
                          {"AmountPaid", Value(12.5)}, {"Status", Value("closed")}};
    ASSERT_TRUE(period.setEqualToDictionaryRepresentation(periodForm));
    EXPECT_EQ(period.startDate(), 20061001);
    EXPECT_EQ(period.amountPaid(), 12.5);
    EXPECT_EQ(period.status(), "closed");

    // The invoice keys stand as stored files spell them.
    GXInvoice invoice;
    invoice.setContestationDate(20080301);
    invoice.setContestationDecision(2);
    invoice.setcontestationInd(1);
    invoice.paymentTransactionIdArray().push_back(31);
    const Dictionary invoiceForm = invoice.dictionaryRepresentation();
    EXPECT_EQ(invoiceForm["constestationDate"], Value(20080301));
    EXPECT_EQ(invoiceForm["contestationDecicion"], Value(2));
    EXPECT_EQ(invoiceForm["contested"], Value(1));
    EXPECT_EQ(invoiceForm["paymentTransactionIdArray"], Value(Array{Value(31)}));
    GXInvoice invoiceCopy;
    invoiceCopy.setEqualToDictionaryRepresentation(invoiceForm);
    EXPECT_EQ(invoiceCopy.dictionaryRepresentation(), invoiceForm);
}

TEST(BusinessObjects, MatchesSearchesNameAndDescriptionIgnoringCase)
{
    struct Case {
        const char* name;
        const char* description;
        bool matches;
    };
    for (const Case& c : {Case{"Fees 21%", nullptr, true}, Case{"Standard", "Management FEE", true},
                          Case{"Standard", "Reduced", false}}) {
        GXVATRate rate;
        rate.setName(std::string(c.name));
        if (c.description)
            rate.setDescription(std::string(c.description));
        EXPECT_EQ(rate.matches("fee"), c.matches) << c.name;
    }
}

TEST(BusinessObjects, VATAmountAppliesTheRecoverablePercentageOnlyWhenDeductible)
{
    struct Case {
        std::optional<double> percentage;
        bool deductible;
        double vat;
    };
    for (const Case& c : {Case{50.0, true, 10.5}, Case{50.0, false, 21.0}, Case{std::nullopt, true, 21.0},
                          Case{100.0, true, 21.0}}) {
        GXVATRate rate;
        rate.setRate(21.0);
        rate.setFiscalRecoverablePercentage(c.percentage);
        EXPECT_DOUBLE_EQ(rate.calculateVATAmountFor(100.0, c.deductible), c.vat);
    }
}

TEST(BusinessObjects, PeriodStatusReadsOpenUntilAStatusIsStoredAndShowsItsImage)
{
    struct Case {
        std::optional<std::string> stored;
        std::string status;
        std::optional<std::string> image;
    };
    for (const Case& c : {Case{std::nullopt, "open", "openPeriod"}, Case{"", "open", "openPeriod"},
                          Case{"abc", "open", "openPeriod"}, Case{"closed", "closed", "closedPeriod"},
                          Case{"next", "next", "nextPeriod"}, Case{"overdue", "overdue", "overduePeriod"},
                          Case{"pending", "pending", std::nullopt}}) {
        GXVATPeriod period;
        period.setStatus(c.stored);
        EXPECT_EQ(period.status(), c.status);
        EXPECT_EQ(VATPeriodStatusImageName(period.status()), c.image) << c.status;
    }

    GXVATPeriod quarter;
    quarter.setStartDate(20061001);
    quarter.setEndDate(20061231);
    EXPECT_TRUE(quarter.containsDate(20061001));
    EXPECT_TRUE(quarter.containsDate(20061231));
    EXPECT_FALSE(quarter.containsDate(20070101));
    EXPECT_FALSE(quarter.containsDate(20060930));
    EXPECT_TRUE(quarter.hasStartDate(20061001, 20061231));
    EXPECT_FALSE(quarter.hasStartDate(20061001, 20061230));
    EXPECT_EQ(quarter.closingTransactionDescription(), "-");
}

TEST(BusinessObjects, SettersAnnounceTheirKeyOnlyOnAChange)
{
    GXVATPeriod period;
    std::vector<std::string> keys;
    Subscription subscription = period.observe([&](Observable&, const std::string& key) { keys.push_back(key); });
    period.setAmountPaid(3.0);
    period.setAmountPaid(3.0);
    period.setStatus(std::string("closed"));
    EXPECT_EQ(keys, (std::vector<std::string>{"amountPaid", "status"}));
}

TEST(BusinessArguments, JournalTextRebuildsTheSameArguments)
{
    ArgumentClassRegistry registry;
    registerBusinessArgumentClasses(registry);

    arguments::VATRateArguments rate;
    rate.name = "Reduced";
    rate.description = "Food";
    rate.rate = 6.0;
    rate.fiscalPCT = 50.0;
    rate.accountIdPaid = 41;
    rate.accountIdReceived = 42;
    rate.createAccounts = false;
    rate.createCategoryInvoicedNotReceived = false;
    rate.categoryInvoicedNotReceivedId = 14;
    rate.keyPaid = "59";
    rate.keyReceivedCancelled = "64";
    const std::string text = rate.toText();
    // The keys of the argument form differ from those of the rate's own form.
    EXPECT_NE(text.find("accountIdPaidVAT = 41;"), std::string::npos) << text;
    EXPECT_NE(text.find("CategoryVATInvoicedNotReceivedId = 14;"), std::string::npos) << text;
    EXPECT_NE(text.find("idKey = -1;"), std::string::npos) << text;
    std::unique_ptr<CArgumentAncestor> back = CArgumentAncestor::fromText(text, registry);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->toDictionary(), rate.toDictionary());
    auto* rebuilt = dynamic_cast<arguments::VATRateArguments*>(back.get());
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_EQ(rebuilt->createAccounts, false);
    EXPECT_EQ(rebuilt->createAccountReconciled, false);
    EXPECT_EQ(rebuilt->idKey, -1);

    arguments::VATPeriodArguments period;
    period.idKey = 5;
    period.name = "Q4";
    period.startDate = 20061001;
    period.amountReceived = 900.0;
    period.closingTransactionId = 77;
    period.status = "closed";
    back = CArgumentAncestor::fromText(period.toText(), registry);
    ASSERT_NE(back, nullptr);
    auto* rebuiltPeriod = dynamic_cast<arguments::VATPeriodArguments*>(back.get());
    ASSERT_NE(rebuiltPeriod, nullptr);
    EXPECT_EQ(rebuiltPeriod->startDate, 20061001);
    EXPECT_EQ(rebuiltPeriod->amountReceived, 900.0);
    EXPECT_EQ(rebuiltPeriod->closingTransactionId, 77);
    EXPECT_EQ(rebuiltPeriod->status, "closed");
    EXPECT_EQ(rebuiltPeriod->amountPaid, 0.0); // a missing amount reads as 0
}

// What the journal holds of an invoice and a payment reads whole; a key
// misspelt by damage does not.
TEST(BusinessArguments, InvoiceAndPaymentTextsReadWholeAndAMisspeltKeyDoesNot)
{
    ArgumentClassRegistry registry;
    registerBusinessArgumentClasses(registry);
    arguments::InvoiceArguments invoice;
    invoice.invoiceName = "Consulting";
    invoice.thirdPartyId = 12;
    invoice.invoiceNumber = "2009000001";
    invoice.invoiceDescription = "March";
    invoice.paymentReference = "+++090/0000/00101+++";
    invoice.invoiceDate = 20090310;
    invoice.dueDate = 20090409;
    invoice.amountWithoutVAT = 1250.5;
    invoice.firstVATRateId = 2;
    invoice.secondVATRateId = 3;
    invoice.generatePayment = true;
    invoice.paymentCategoryId = 7;
    invoice.setPaymentDate(20090312);
    arguments::PaymentArguments payment;
    payment.paymentName = "Payment";
    payment.thirdPartyId = 12;
    payment.paymentReference = "+++090/0000/00101+++";
    payment.paymentAmount = 1513.11;
    payment.paymentCategoryId = 7;
    payment.paymentDate = 20090320;
    payment.paymentOwnerType = arguments::kOwnerTypeCustomer;
    for (const std::string& text : {invoice.toText(), payment.toText()}) {
        ArgumentTextCheck check;
        ASSERT_NE(CArgumentAncestor::fromText(text, registry), nullptr) << text;
        EXPECT_EQ(check.damage(text), std::nullopt) << text;
    }

    std::string misspelt = invoice.toText();
    misspelt.replace(misspelt.find("firstVATRateId"), 14, "firstVATRAteId");
    ArgumentTextCheck check;
    ASSERT_NE(CArgumentAncestor::fromText(misspelt, registry), nullptr);
    EXPECT_EQ(check.damage(misspelt), formatMessage(localized("ROLLFORWARDUNKNOWNKEY"), {"firstVATRAteId"}));
}

TEST(BusinessArguments, ARateHandsOutItsValuesWithTheCreateFlagsOffAndTakesThemBack)
{
    GXVATRate rate;
    rate.setIdKey(-1);
    rate.setName("Standard");
    rate.setRate(21.0);
    rate.setFiscalRecoverablePercentage(80.0);
    rate.setAccountIdPaid(41);
    rate.setAccountIdReceived(42);
    rate.setCategoryInvoicedNotYetReceived(14);
    std::unique_ptr<arguments::VATRateArguments> values = rate.getAsArguments();
    EXPECT_EQ(values->idKey, *rate.idKey());
    EXPECT_EQ(values->fiscalPCT, 80.0);
    EXPECT_EQ(values->createAccounts, false);
    EXPECT_EQ(values->createAccountReconciled, false);
    EXPECT_EQ(values->createCategoryInvoicedNotReceived, false);

    GXVATRate copy;
    copy.synchronizeWithArguments(*values);
    EXPECT_EQ(copy.dictionaryRepresentation(), rate.dictionaryRepresentation());
}

} // namespace
} // namespace ch::business

// The checks of the invoice, payment and split sheets, and which contacts
// count as changed.

#include <gtest/gtest.h>

#include "business/BusinessSheetChecks.h"
#include "business/OwnerContactsLinking.h"

namespace ch::business {
namespace {

TEST(BusinessSheetChecks, SplitMustLeaveTwoPaymentsOfTheOriginalSign)
{
    struct Case {
        std::optional<double> split;
        double original;
        long error;
    } cases[] = {
        {400, 1000, 0},     {std::nullopt, 1000, 278}, {0, 1000, 278},   {1000, 1000, 561},
        {1200, 1000, 561},  {-400, 1000, 278},         {-400, -1000, 0}, {400, -1000, 278},
        {-1000, -1000, 561}, {-1200, -1000, 561},      {5, 0, 278},
    };
    for (const Case& c : cases)
        EXPECT_EQ(checkSplitAmount(c.split, c.original), c.error) << c.split.value_or(-999) << " of " << c.original;
}

TEST(BusinessSheetChecks, InvoiceAndPaymentRefuseTheFirstMissingValue)
{
    const InvoiceSheetValues good{"Consulting", true, 100, 20090310, 20090409};
    EXPECT_EQ(checkInvoiceSheet(good), 0);
    auto with = [good](auto change) { InvoiceSheetValues v = good; change(v); return checkInvoiceSheet(v); };
    EXPECT_EQ(with([](auto& v) { v.name.clear(); v.hasOwner = false; }), 202);
    EXPECT_EQ(with([](auto& v) { v.hasOwner = false; v.amountWithoutVAT = 0; }), 129);
    EXPECT_EQ(with([](auto& v) { v.amountWithoutVAT = 0; }), 238);
    EXPECT_EQ(with([](auto& v) { v.amountWithoutVAT = -100; }), 560);
    EXPECT_EQ(with([](auto& v) { v.invoiceDate = 19801211; }), 151);
    EXPECT_EQ(with([](auto& v) { v.invoiceDate = 19801212; v.dueDate = 30001212; }), 0);
    EXPECT_EQ(with([](auto& v) { v.dueDate = 30001213; }), 151);

    EXPECT_EQ(checkPaymentSheet({"Paid", true, 50, 20090310, true}), 0);
    EXPECT_EQ(checkPaymentSheet({"Paid", true, 50, 20090310, false}), 277);
    EXPECT_EQ(checkPaymentSheet({"Paid", true, 0, 20090310, false}), 238);
}

TEST(BusinessSheetChecks, GeneratedReferencesAreRecognisedByTheirPattern)
{
    EXPECT_TRUE(isGeneratedStructuredReference("+++200/9000/00143+++"));
    for (const char* text : {"", "+++200/9000/0014+++", "+++200/9000/00143+++ ", "+++20a/9000/00143+++",
                             "---200/9000/00143---", "2009000001"})
        EXPECT_FALSE(isGeneratedStructuredReference(text)) << text;
}

TEST(OwnerContacts, OnlyPeopleWhoStayedAndChangedCount)
{
    auto person = [](const char* uid, const char* first) {
        ContactPerson made;
        made.uid = uid;
        made.firstName = first;
        return made;
    };
    const ContactPerson anna = person("A-1", "Anna"), bert = person("B-2", "Bert"), carl = person("C-3", "Carl");
    ContactPerson anna2 = anna;
    anna2.lastName = "Peeters";
    ContactPerson bert2 = bert;
    bert2.phones.push_back({{"work"}, "+32 3 123 45 67", false});
    EXPECT_EQ(updatedPeople({anna, bert, carl}, {anna2, bert2}), (std::vector<std::string>{"A-1", "B-2"}));
    EXPECT_TRUE(updatedPeople({anna}, {anna, carl}).empty());
}

} // namespace
} // namespace ch::business

// The recurring item: its schedule, the weekday rules and its dictionary.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "bridge/CRcrTItem.h"
#include "bridge_test_support.h"
#include "model/CRecurringTransaction.h"

namespace ch::test {
namespace {

class RecurringItemTest : public BooksTest {
protected:
    RecurringItemTest()
    {
        document.addAccount(10, 1, "Bank");
        document.addAccount(11, 3, "Landlord");
    }

    std::shared_ptr<CRcrTItem> newTemplate()
    {
        auto* recurring = new CRecurringTransaction(&document.root(), true, transaction_type::kOther);
        document.root().mRecurringList->AppendObject(recurring);
        return registry.transactionItemForRcrT(recurring);
    }

    std::string weekdays(const CRcrTItem& item)
    {
        std::string flags;
        for (int day = 1; day <= 7; ++day) flags += std::to_string(item.weekday(day).value_or(-1));
        return flags;
    }
};

TEST_F(RecurringItemTest, WeeklyAndMonthlySchedulesKeepOneWeekday)
{
    struct Case {
        int kind;
        const char* afterThursday;
    };
    for (const Case& c : {Case{2, "0001000"}, Case{4, "0001000"}, Case{3, "1001000"}}) {
        SCOPED_TRACE(c.kind);
        auto item = newTemplate();
        item->setMRecurringType(c.kind);
        item->setMMonday(1);
        item->setMThursday(1);
        EXPECT_EQ(weekdays(*item), c.afterThursday);
        // Setting a day off never clears the others.
        item->setMFriday(0);
        EXPECT_EQ(weekdays(*item), c.afterThursday);
    }
}

TEST_F(RecurringItemTest, ANewDateIsAlsoTheLastGeneratedDate)
{
    auto item = newTemplate();
    item->setMLastGeneratedOn(20240101);
    item->setMDate(20240415);
    EXPECT_EQ(item->mDate(), 20240415);
    EXPECT_EQ(item->mLastGeneratedOn(), 20240415);
}

TEST_F(RecurringItemTest, DictionaryCarriesTheScheduleAndItsStoredLastDate)
{
    auto source = newTemplate();
    source->setMDate(20240301);
    source->setMRecurringType(7);
    source->setMAutomaticApproval(true);
    source->setMOnOff(true);
    source->setMDayOfMonth(15);
    source->setMWeekType(2);
    source->setMMonthlyType(1);
    source->setMNumberOfTimesPerYear(2);
    source->setMDateOfYear(1, 20240115);
    source->setMDateOfYear(12, 20241215);
    source->setMSaturday(1);
    // The generation went on after the date was entered.
    source->setMLastGeneratedOn(20240601);
    const Dictionary dictionary = source->dictionaryRepresentation();
    EXPECT_EQ(dictionary["Weektype"].toInt(), 2);
    EXPECT_EQ(dictionary["DateOfYear12"].toLong(), 20241215);

    auto copy = newTemplate();
    ASSERT_TRUE(copy->initWithDictionaryRepresentation(dictionary));
    EXPECT_EQ(copy->dictionaryRepresentation(), dictionary);
    EXPECT_EQ(copy->mLastGeneratedOn(), 20240601);   // not the date read before it

    // Without schedule keys everything reads 0 (manual, generation on).
    auto bare = newTemplate();
    ASSERT_TRUE(bare->initWithDictionaryRepresentation(source->CTrnSItem::dictionaryRepresentation()));
    EXPECT_EQ(bare->mRecurringType(), 0);
    EXPECT_EQ(bare->mAutomaticApproval(), false);
    EXPECT_EQ(bare->mOnOff(), false);
    EXPECT_EQ(weekdays(*bare), "0000000");
    EXPECT_EQ(bare->mDateOfYear(1), 0);
    EXPECT_EQ(bare->mLastGeneratedOn(), 0);

    // Copying a template copies its schedule too.
    auto twin = newTemplate();
    ASSERT_TRUE(twin->setEqualToTransaction(*source));
    EXPECT_EQ(twin->dictionaryRepresentation(), dictionary);
}

TEST_F(RecurringItemTest, KindAsText)
{
    auto item = newTemplate();
    item->setMRecurringType(4);
    EXPECT_EQ(item->mRecurringTypeAsString(), localized("TypeMonthly"));
    item->setMRecurringType(8);
    EXPECT_EQ(item->mRecurringTypeAsString(), "-");
    EXPECT_FALSE(item->isOnModifiedForeignCurrency());

    CNonVisual* recurring = item->getSourceItem();
    document.root().mRecurringList->RemoveObject(recurring);
    delete recurring;
    EXPECT_EQ(item->mRecurringTypeAsString(), "Trs Deleted");
}

} // namespace
} // namespace ch::test

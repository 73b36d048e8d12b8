#include "sheet_test_support.h"
#include "document/arguments/CDragAndDropRelocationArgument.h"
#include "document/arguments/SimpleTransactionArguments.h"
#include "ui/sheets/QuickEntryLogic.h"
#include "ui/sheets/SideBarDrops.h"

namespace ch::test {
namespace {

class QuickEntryTest : public ::testing::Test {
protected:
    BridgeEnvironment env;
    SheetTestDocument doc;
};

TEST_F(QuickEntryTest, ChecksInOrderAndNamesTheField)
{
    using F = QuickEntryField;
    struct Case {
        QuickEntryFields fields;
        long error;
        F focus;
    };
    const QuickEntryFields good{20240315, 2, 1, 12.5, "Lunch"};
    auto with = [&](auto change) {
        QuickEntryFields f = good;
        change(f);
        return f;
    };
    const Case cases[] = {
        {good, 0, F::None},
        {with([](auto& f) { f.name = ""; }), 202, F::Name},
        {with([](auto& f) { f.amount = 0.0; }), 238, F::Amount},
        {with([](auto& f) { f.amount.reset(); f.name.reset(); }), 202, F::Name},
        {with([](auto& f) { f.ourAccount.reset(); }), 129, F::OurAccount},
        {with([](auto& f) { f.date.reset(); }), 129, F::Date},
        {with([](auto& f) { f.otherAccount.reset(); }), 129, F::OtherAccount},
        {with([](auto& f) { f.date = 2024031; }), 151, F::Date},
        {with([](auto& f) { f.date = 30000001; }), 151, F::Date},
        {with([](auto& f) { f.date = 20240230; }), 151, F::Date},   // no such day
        {with([](auto& f) { f.date = 10000101; }), 0, F::None},
    };
    for (const Case& c : cases) {
        const QuickEntryOutcome outcome = checkQuickEntry(c.fields);
        EXPECT_EQ(outcome.error, c.error) << c.fields.date.value_or(0);
        EXPECT_EQ(outcome.focus, c.focus) << c.error;
    }
}

TEST_F(QuickEntryTest, BooksWithCommand23OrNothing)
{
    arguments::SimpleTransactionArguments entry(20240315, 1);
    entry.setParentDocument(&doc);
    const auto before = doc.root().mTransactionList->GetCount();
    QuickEntryOutcome refused = newFastTransactionPressed(doc, entry, {20240315, 2, 1, 0.0, "Lunch"});
    EXPECT_EQ(refused.error, 238);
    EXPECT_TRUE(doc.sent().empty());
    EXPECT_EQ(env.alerts().numbers(), std::vector<long>{238});

    QuickEntryOutcome booked = newFastTransactionPressed(doc, entry, {20240315, 2, 1, -12.5, "Lunch"});
    EXPECT_EQ(booked.error, 0);
    EXPECT_EQ(booked.focus, QuickEntryField::Date);
    ASSERT_EQ(doc.sentNumbers(), std::vector<int>{command::kNewTransaction});
    EXPECT_EQ(doc.root().mTransactionList->GetCount(), before + 1);
    auto made = doc.transactionItem(static_cast<CTransaction*>(doc.root().mTransactionList->ObjectAt(1)));
    EXPECT_EQ(made->getName(), "Lunch");
    EXPECT_EQ(made->mTotalAmount(), 12.5);
    EXPECT_EQ(made->mDate(), 20240315);
    EXPECT_EQ(entry.amount().value_or(0.0), 0.0);   // ready for the next entry
}

class SideBarDropsTest : public QuickEntryTest {
protected:
    SideBarDrops drops{doc};
    int selectionShown = 0;
    int cardListsMade = 0;
    void SetUp() override
    {
        drops.selectionChanged = [this] { ++selectionShown; };
        drops.creditCardsChanged = [this] { ++cardListsMade; };
        doc.addAccountType(20, 1, "Banks");
        doc.addAccount(30, 1, "Current");
        doc.addAccount(31, 2, "Loan");      // a debt account
    }
    std::shared_ptr<CNonVisualDataItem> header(const char* titleKey)
    {
        auto item = std::make_shared<CNonVisualDataItem>();
        item->setGetName(localized(titleKey));
        item->setHeaderLevel(1);
        return item;
    }
};

TEST_F(SideBarDropsTest, AnAccountDroppedOnAnAccountTypeMovesThroughCommand30)
{
    auto banks = doc.getAccountTypeItemForId(20);
    EXPECT_FALSE(drops.validateDrop(banks.get(), std::nullopt));
    EXPECT_FALSE(drops.validateDrop(banks.get(), std::string("AcnT999")));
    EXPECT_FALSE(drops.validateDrop(nullptr, std::string("AcnT30")));
    ASSERT_TRUE(drops.validateDrop(banks.get(), std::string("AcnT30")));
    EXPECT_TRUE(drops.acceptDrop(banks.get(), std::string("AcnT30")));
    ASSERT_EQ(doc.sentNumbers(), std::vector<int>{command::kRelocate});
    const auto& args = doc.sent()[0].args<arguments::CDragAndDropRelocationArgument>();
    EXPECT_EQ(args.idDroppedObject, 30);
    EXPECT_EQ(args.idReceivingObject, 20);
    EXPECT_EQ(args.droppedObjectType, fourCC("AcnT"));
    EXPECT_EQ(args.receivingObjectType, fourCC("AccT"));
    EXPECT_EQ(selectionShown, 1);

    doc.nextResult = 0;   // the move is refused
    EXPECT_FALSE(drops.acceptDrop(banks.get(), std::string("AcnT30")));
    EXPECT_EQ(selectionShown, 1);
}

TEST_F(SideBarDropsTest, ADebtAccountOnTheCardRootBecomesACardAndTheDocumentKnows)
{
    auto cards = header("CREDITCARDBUTTON");
    EXPECT_FALSE(drops.validateDrop(cards.get(), std::string("AcnT30")));   // not a debt account
    EXPECT_FALSE(drops.validateDrop(cards.get(), std::string("AccT2")));    // the kind itself
    // As an open document does, the books report their changes to it.
    doc.root().setChangeListener(&doc);
    const int changes = doc.changes;
    EXPECT_TRUE(drops.acceptDrop(cards.get(), std::string("AcnT31")));
    EXPECT_TRUE(doc.getAccountItemForId(31)->isCreditCard());
    // Through its command, so that the journal keeps it.
    ASSERT_EQ(doc.sent().size(), 1u);
    EXPECT_EQ(doc.sent()[0].command, kCreditCardCommand);
    EXPECT_GT(doc.changes, changes);
    doc.root().setChangeListener(nullptr);
    EXPECT_EQ(cardListsMade, 1);
    EXPECT_FALSE(drops.acceptDrop(header("SOMEOTHERTITLE").get(), std::string("AcnT31")));
}

} // namespace
} // namespace ch::test

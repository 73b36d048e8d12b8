// An item's setter that writes the books reaches the document's change count
// through the model root, whoever calls it; a sheet's own transaction and
// its lines, detached items and what an item keeps for the display do not.

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "bridge/CAcnTItem.h"
#include "bridge/CDebetItem.h"
#include "bridge/CRcrTItem.h"
#include "bridge/CTrnSItem.h"
#include "bridge_test_support.h"
#include "model/CRecurringTransaction.h"

namespace ch::test {
namespace {

class BooksChangedTest : public BooksTest {
public:
    BooksChangedTest()
    {
        document.root().setChangeListener(&document);
        document.addAccount(10, 1, "Bank");
        document.addAccount(11, 3, "Shop");
        posted = document.transactionItem(document.addTransaction(20240305, 10, 11, 1, 9.0));
        temporary = std::make_shared<CTrnSItem>(document.root().CreateTemporaryTransaction(1, 0, static_cast<EnumT>(3)));
        temporary->setParentDocument(&document);
        temporary->setMOwnsSourceItem(true);
        recurringSheet = document.makeEmptyRecurringTransaction();
        document.changes = 0;
    }
    ~BooksChangedTest() override { document.root().setChangeListener(nullptr); }

    TestDocument& books() { return document; }

    std::shared_ptr<CTrnSItem> posted;
    std::shared_ptr<CTrnSItem> temporary;
    std::shared_ptr<CRcrTItem> recurringSheet;
};

TEST_F(BooksChangedTest, SettersOfTheBooksMarkTheDocumentAndNothingElseDoes)
{
    struct Case {
        const char* what;
        std::function<void(BooksChangedTest&)> change;
        bool marks;
    };
    const Case cases[] = {
        {"a transaction's status (the status column, Books > Flag)",
         [](BooksChangedTest& t) { t.posted->toggleFlag(); }, true},
        {"a transaction linked to another", [](BooksChangedTest& t) { t.posted->setMReferenceObjectId(42); }, true},
        {"a transaction's name", [](BooksChangedTest& t) { t.posted->setGetName("Groceries"); }, true},
        {"a booking line's status", [](BooksChangedTest& t) { t.posted->mFromList()[0]->toggleStatus(); }, true},
        {"an account's default category",
         [](BooksChangedTest& t) { t.books().getAccountItemForId(11)->setGetDefaultExensetypeId(1); },
         true},
        {"the sheet's own transaction", [](BooksChangedTest& t) { t.temporary->setMDescription("typed"); }, false},
        {"a line of the sheet's own transaction",
         [](BooksChangedTest& t) { t.temporary->mFromList()[0]->setAccount(10); }, false},
        {"a line of the sheet's own recurring transaction",
         [](BooksChangedTest& t) { t.recurringSheet->mFromList()[0]->setAccount(10); }, false},
        {"a detached item", [](BooksChangedTest&) { std::make_shared<CAcnTItem>()->setGetName("New"); }, false},
        {"outline state", [](BooksChangedTest& t) {
             t.posted->setHeaderLevel(1);
             t.posted->setObjectRowHeight(30);
             t.posted->setChildren(CNonVisualDataItem::ItemArray());
         }, false},
        {"a figure derived from others", [](BooksChangedTest& t) { t.posted->setUnaccountedForAmount(); }, false},
        {"an account's grouping account, which the item only keeps",
         [](BooksChangedTest& t) { t.books().getAccountItemForId(11)->setGetGroupingAccountId(10); }, false},
    };
    for (const Case& c : cases) {
        document.changes = 0;
        c.change(*this);
        EXPECT_EQ(document.changes > 0, c.marks) << c.what;
    }
}

} // namespace
} // namespace ch::test

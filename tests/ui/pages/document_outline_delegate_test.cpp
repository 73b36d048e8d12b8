// What a classic outline's "new" commands open for a reference row: the
// sheet of the right kind, placed beside, inside or at the top level; and a
// deletion goes through the document's asking deletion.

#include "bridge/CAccTItem.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CExpTItem.h"
#include "bridge/CMxpTItem.h"
#include "model/CDocAccounting.h"
#include "ui/pages/DocumentOutlineDelegate.h"
#include "../fixture_books.h"
#include "../ui_test_support.h"

namespace ch::test {
namespace {

TEST(DocumentOutlineDelegate, ANewObjectIsMadeBesideOrInsideTheRowItsKindAllows)
{
    UiEnvironment environment;
    TestDocument books;
    const FixtureBooks ids = buildFixtureBooks(books, 0);
    CNonVisualDataItemController& items = books.dataItemController();
    CDocAccounting& root = books.root();
    const CNonVisualDataItem::Ptr ownProperty =
        items.accountTypeItemForAccountType(root.mAccountTypeList->GetValueForId(FixtureBooks::kOwnProperty));
    const CNonVisualDataItem::Ptr banks =
        items.accountTypeItemForAccountType(root.mAccountTypeList->GetValueForId(ids.bankTypes));
    const CNonVisualDataItem::Ptr checking = items.accountItemForAccount(root.GetAccountForID(ids.checking));
    const CNonVisualDataItem::Ptr expenses =
        items.categoryTypeItemForCategoryType(root.mMasterExpenseTypeList->GetValueForId(FixtureBooks::kExpenseGroup));
    const CNonVisualDataItem::Ptr household =
        items.categoryTypeItemForCategoryType(root.mMasterExpenseTypeList->GetValueForId(ids.household));
    const CNonVisualDataItem::Ptr groceries = items.categoryItemForCategory(root.mExpenseTypeList->GetValueForId(ids.groceries));

    struct Case {
        const char* row;
        CNonVisualDataItem::Ptr reference;
        bool below;
        bool group;
        std::string opened;
        std::optional<long> parent;   // the id the sheet is placed in
    };
    const Case cases[] = {
        {"type, inside", banks, true, false, "initiateAccountCreationWithMasterType", ids.bankTypes},
        {"type, group inside", banks, true, true, "createNewAccountTypeAsked", ids.bankTypes},
        {"type, beside", banks, false, false, "createNewAccountTypeAsked", FixtureBooks::kOwnProperty},
        {"top-level type, beside", ownProperty, false, false, "createNewAccountTypeAsked", std::nullopt},
        {"account, beside", checking, false, false, "initiateAccountCreationWithMasterType", ids.bankTypes},
        {"category, beside", groceries, false, false, "initiateExpenseTypeCreationWithParentType", ids.household},
        {"group, inside", household, true, false, "initiateExpenseTypeCreationWithParentType", ids.household},
        {"group, group inside", household, true, true, "createNewMasterExpenseTypeAsked", ids.household},
        {"group, beside", household, false, false, "createNewMasterExpenseTypeAsked", FixtureBooks::kExpenseGroup},
        {"top-level group, beside", expenses, false, false, "createNewMasterExpenseTypeAsked", std::nullopt},
    };
    for (const Case& c : cases) {
        RecordingWindowDocument document(books);
        DocumentOutlineDelegate delegate(document);
        EXPECT_TRUE(delegate.insertObjectWithReferenceNode(c.reference, c.below, nullptr, c.group)) << c.row;
        ASSERT_EQ(document.calls.size(), 1u) << c.row;
        const RecordingWindowDocument::Call& call = document.calls.front();
        EXPECT_EQ(call.operation, c.opened) << c.row;
        std::optional<long> parent;
        if (call.operation.rfind("initiate", 0) == 0) parent = static_cast<long>(call.id);
        else if (call.operation == "createNewAccountTypeAsked") parent = call.parameters.accountType;
        else parent = call.parameters.masterExpenseType;
        EXPECT_EQ(parent, c.parent) << c.row;
    }

    // A row without its object opens nothing; a deletion asks first.
    RecordingWindowDocument document(books);
    DocumentOutlineDelegate delegate(document);
    EXPECT_FALSE(delegate.insertObjectWithReferenceNode(std::make_shared<CNonVisualDataItem>(), true, nullptr, false));
    delegate.deleteObject(checking, nullptr);
    EXPECT_EQ(document.operations(), std::vector<std::string>{"deleteObjectWithAsking"});
    EXPECT_EQ(document.questions, 1);
}

} // namespace
} // namespace ch::test

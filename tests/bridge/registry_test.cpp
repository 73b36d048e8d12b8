// The item registry: one item per model object per document, dropped when the
// document announces the object's deletion; documents never touch each
// other's items; held items outlive a closed document safely.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bridge/CAccTItem.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CAcoWItem.h"
#include "bridge/CArrayEncapsulator.h"
#include "bridge/CDebetItem.h"
#include "bridge/CRcrTItem.h"
#include "bridge/DeveloperLog.h"
#include "bridge_test_support.h"
#include "model/CAccountOwner.h"

namespace ch::test {
namespace {

// A model object of a chosen kind (for kinds the model does not have yet).
class TypedObject : public CNonVisual {
public:
    TypedObject(FourCharCode type, ObjectIdT id) : CNonVisual(id) { SetObjectType(type); }
};

class RegistryTest : public BooksTest {};

TEST_F(RegistryTest, AskingTwiceGivesTheSameItem)
{
    CAccount* account = document.addAccount(15, 1, "Bank");
    auto first = registry.accountItemForAccount(account);

    EXPECT_EQ(registry.accountItemForAccount(account), first);
    EXPECT_EQ(registry.dataItemForObject(account), first);
    EXPECT_EQ(registry.objectForKey("AcnT15"), first);
    EXPECT_EQ(first->parentDocument(), &document);
    EXPECT_EQ(registry.accountItemForAccount(nullptr), nullptr);
}

TEST_F(RegistryTest, OwnersAndRecurringTransactionsAnswerUnderBothTypeCodes)
{
    CNonVisual* me = document.root().mAccountOwnerList->ObjectAt(1);
    ASSERT_NE(me, nullptr);
    EXPECT_EQ(registry.dataItemForObject(me), registry.accountOwnerItemForAccountOwner(me));
    EXPECT_EQ(registry.tableForObjectKey("AcoW1"), registry.tableForObjectKey("aCoW1"));

    TypedObject recurring(fourCC("RctR"), 8);
    auto item = registry.dataItemForObject(&recurring);
    ASSERT_NE(std::dynamic_pointer_cast<CRcrTItem>(item), nullptr);
    EXPECT_EQ(registry.objectForKey("RctR8"), item);

    document.notificationCenter().post("TRANSACTIONDELETED", std::string("RctR8"));
    EXPECT_EQ(registry.objectForKey("RctR8"), nullptr);
}

// Keys are filed by their id: keys that share one, or read as the same
// number, still name their own item or none.
TEST_F(RegistryTest, KeysWithTheSameIdOrNumberStayApart)
{
    TypedObject recurring(fourCC("RctR"), 8);
    TypedObject otherCode(fourCC("RcrT"), 8);
    auto item = registry.dataItemForObject(&recurring);
    auto other = registry.dataItemForObject(&otherCode);
    ASSERT_NE(item, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_NE(item, other);
    EXPECT_EQ(registry.objectForKey("RctR8"), item);
    EXPECT_EQ(registry.objectForKey("RcrT8"), other);
    for (const char* key : {"RctR08", "RctR", "RctR8x", "RctR-8", "RctR123456789012345678901234567890"})
        EXPECT_EQ(registry.objectForKey(key), nullptr) << key;
}

TEST_F(RegistryTest, DeletionDropsTheItemAndTheNextObjectWithTheKeyGetsAFreshOne)
{
    CAccount* account = document.addAccount(15, 1, "Bank");
    auto old = registry.accountItemForAccount(account);

    ASSERT_TRUE(document.deleteAndAnnounce(account, *document.root().mAccountList, "ACCOUNTDELETED"));

    EXPECT_EQ(registry.objectForKey("AcnT15"), nullptr);
    EXPECT_EQ(old->getSourceItem(), nullptr);   // detached before it left the registry
    EXPECT_EQ(old->getName(), "Bank");
    CAccount* next = document.addAccount(15, 1, "Cash");
    auto fresh = registry.accountItemForAccount(next);
    EXPECT_NE(fresh, old);
    EXPECT_EQ(fresh->getName(), "Cash");
}

TEST_F(RegistryTest, EntryOfAnObjectGoneUnannouncedIsReplaced)
{
    CAccount* account = document.addAccount(15, 1, "Bank");
    auto old = registry.accountItemForAccount(account);
    document.root().mAccountList->RemoveObject(account);
    ASSERT_TRUE(account->DeleteSelf());   // no deleted notification

    CAccount* next = document.addAccount(15, 1, "Cash");
    auto fresh = registry.accountItemForAccount(next);
    EXPECT_NE(fresh, old);
    EXPECT_EQ(fresh->getSourceItem(), next);
}

TEST_F(RegistryTest, UnknownTypesAreLoggedAndAnswerNothing)
{
    std::vector<std::string> log;
    ScopedDeveloperLogCapture capture([&](const std::string& line) { log.push_back(line); });

    EXPECT_EQ(registry.objectForKey("VatR3"), nullptr);
    EXPECT_EQ(registry.objectForKey("Ac"), nullptr);
    TypedObject bank(fourCC("BanK"), 2);
    EXPECT_EQ(registry.dataItemForObject(&bank), nullptr);

    EXPECT_EQ(log, (std::vector<std::string>{"Foutief Type Binnen Gekregen VatR", "Foutief Type Binnen Gekregen Ac",
                                              "Foutief Type Binnen Gekregen BanK"}));
}

TEST_F(RegistryTest, DebitAndCreditLinesWithTheSameIdGetTwoItems)
{
    CTransaction* transaction = document.addTransaction(20240301, 4, 2, 2, 10.0);
    auto* debit = transaction->GetDebitList()->ObjectAt(1);
    auto* credit = transaction->GetCreditList()->ObjectAt(1);
    credit->Put_Id(debit->Get_Id());

    auto debitItem = registry.debetItemForTransactionDetail(debit);
    auto creditItem = registry.debetItemForTransactionDetail(credit);
    ASSERT_NE(debitItem, nullptr);
    ASSERT_NE(creditItem, nullptr);
    EXPECT_NE(debitItem, creditItem);
    EXPECT_EQ(registry.objectForKey("DebT" + std::to_string(debit->Get_Id())), debitItem);
    EXPECT_EQ(registry.objectForKey("CreT" + std::to_string(debit->Get_Id())), creditItem);
    EXPECT_EQ(registry.debetItemForTransactionDetail(transaction), nullptr);
}

TEST_F(RegistryTest, TwoDocumentsWithTheSameIdsNeverTouchEachOthersItems)
{
    TestDocument other;
    CNonVisual* mine = document.root().mAccountList->GetValueForId(4);
    CNonVisual* theirs = other.root().mAccountList->GetValueForId(4);
    ASSERT_NE(mine, nullptr);
    ASSERT_NE(theirs, nullptr);
    auto myItem = registry.accountItemForAccount(mine);
    auto theirItem = other.dataItemController().accountItemForAccount(theirs);
    ASSERT_NE(myItem, theirItem);
    NotificationLog myLog(document.notificationCenter(), {"FOLDERBALANCECHANGED"});
    NotificationLog theirLog(other.notificationCenter(), {"FOLDERBALANCECHANGED"});
    auto myType = document.getAccountTypeItemForId(1);
    auto theirType = other.getAccountTypeItemForId(1);

    // This document announces the deletion of its AcnT4 and books on its types.
    document.notificationCenter().post("ACCOUNTDELETED", std::string("AcnT4"));
    document.addTransaction(20240301, 4, 2, 2, 10.0);

    EXPECT_EQ(registry.objectForKey("AcnT4"), nullptr);
    EXPECT_EQ(other.dataItemController().objectForKey("AcnT4"), theirItem);
    EXPECT_EQ(theirItem->getSourceItem(), theirs);
    EXPECT_GE(myLog.count("FOLDERBALANCECHANGED"), 1u);
    EXPECT_TRUE(theirLog.posted.empty());
}

TEST_F(RegistryTest, ItemsHeldElsewhereOutliveTheirDocument)
{
    for (bool modelFirst : {false, true}) {
        auto doc = std::make_unique<TestDocument>();
        doc->addTransaction(20240301, 4, 2, 2, 10.0);
        CNonVisual* account = doc->root().mAccountList->GetValueForId(4);
        auto accountItem = doc->dataItemController().accountItemForAccount(account);
        accountItem->setGetName("Wallet");
        const LineItemArray lines = accountItem->fromTransactionDetails();
        ASSERT_EQ(lines.size(), 1u);
        auto typeItem = doc->getAccountTypeItemForId(1);
        auto wrapper = std::make_shared<CArrayEncapsulator>();
        wrapper->setArray(doc->root().mAccountList.get());
        auto plainItem = wrapper->getObjectAtIndex(1);
        CNonVisualEncapsulator encapsulator(account);

        if (modelFirst) doc->destroyModel();
        doc.reset();

        EXPECT_EQ(accountItem->getSourceItem(), nullptr);
        EXPECT_EQ(accountItem->parentDocument(), nullptr);
        EXPECT_EQ(accountItem->getName(), "Wallet");
        EXPECT_EQ(accountItem->accountOwner(), nullptr);
        EXPECT_EQ(lines[0]->getSourceItem(), nullptr);
        EXPECT_EQ(lines[0]->parentTransaction(), nullptr);
        EXPECT_TRUE(typeItem->children().empty());
        EXPECT_EQ(typeItem->accountTypeName(), "");
        EXPECT_EQ(wrapper->count(), 0u);
        EXPECT_EQ(plainItem->getSourceItem(), nullptr);
        EXPECT_EQ(encapsulator.getId(), -1);
        accountItem->setGetName("Gone");   // touches no model and posts nowhere
    }
}

} // namespace
} // namespace ch::test

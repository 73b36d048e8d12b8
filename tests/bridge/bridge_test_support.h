#pragma once
// Shared pieces of the bridge tests: a fixed environment (clock, defaults,
// texts, alerts, decimals) and a stand-in document that owns a model root,
// its own notification centre and its item registry, as the real document
// does.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bridge/BridgeDocument.h"
#include "bridge/CAccTItem.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CAcoWItem.h"
#include "bridge/CCurRItem.h"
#include "bridge/CNonVisualDataItemController.h"
#include "bridge/CRcrTItem.h"
#include "bridge/CTrnSItem.h"
#include "bridge/InvoiceHooks.h"
#include "model/CAccType.h"
#include "model/CAccount.h"
#include "model/CCurrency.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/CNamedListArray.h"
#include "model/CRecurringTransaction.h"
#include "model/CTransaction.h"
#include "model/DefaultBooks.h"
#include "model/foundation/CDecimal.h"
#include "platform/core/alerts.h"
#include "platform/core/clock.h"
#include "platform/core/localized_strings.h"
#include "platform/core/notification_center.h"
#include "platform/core/unicode.h"
#include "platform/core/user_defaults.h"
#include "../platform/core/value_test_support.h"
#include "../test_environment.h"

namespace ch {
// Readable dictionaries in failure messages.
inline void PrintTo(const Dictionary& dictionary, std::ostream* os)
{
    describeValue(Value(dictionary), *os);
}
} // namespace ch

namespace ch::test {

// Today is fixed, the model's defaults are registered, texts come from a
// small table, alerts are recorded and amounts have 2 decimals.
class BridgeEnvironment : public TestEnvironment {
public:
    BridgeEnvironment() : TestEnvironment(CalendarDate{2024, 3, 15})
    {
        for (const auto& [key, text] : std::vector<std::pair<std::string, std::string>>{
                 {"DELETEDITEM", "Deleted item"}, {"NonVisual", "Object"}, {"New", "New "},
                 {"ELIPSE", "..."}, {"Inside", " inside '"}, {"Delete", "Delete '"},
                 {"NoNestedObjects", "No nested objects"}, {"NoNestedFolders", "No nested folders"},
                 {"TransFrom", "Transfer from"}, {"TransTo", "Transfer to"}, {"TransFor", "Book for"},
                 {"Modify", "Modify"}, {"AccountType", "Account type"}, {"Account", "Account"},
                 {"ExpType", "Category"}, {"MexpType", "Category group"}})
            strings().set(key, text);
    }
};

// The document of the tests: a model root, its own notification centre and
// registry, and look-ups by id through the registry.
class TestDocument : public BridgeDocument {
public:
    // With the default set of books (home currency "EUR").
    TestDocument()
    {
        BuildDefaultBooks(*mRoot, "EUR");
        mRegistry.setParentDocument(this);
    }

    CDocAccounting* accounting() override { return mRoot.get(); }
    CDocAccounting& root() { return *mRoot; }
    // The model goes before the registry (the other order is the members').
    void destroyModel() { mRoot.reset(); }
    void ListenToMessage(MessageT, void*) override {}
    void updateChangeCount() override { ++changes; }

    NotificationCenter& notificationCenter() override { return mCentre; }
    CNonVisualDataItemController& dataItemController() override { return mRegistry; }

    std::shared_ptr<CCurRItem> getHomeCurrency() override
    {
        CNonVisual* home = nullptr;
        if (mRoot) mRoot->Get_HomeCurrency(home);
        return home ? mRegistry.currencyItemForCurrency(home) : nullptr;
    }
    std::shared_ptr<CAcnTItem> getAccountItemForId(ObjectIdT id) override
    {
        return mRegistry.accountItemForAccount(find(mRoot ? mRoot->mAccountList.get() : nullptr, id));
    }
    std::shared_ptr<CAccTItem> getAccountTypeItemForId(ObjectIdT id) override
    {
        return mRegistry.accountTypeItemForAccountType(find(mRoot ? mRoot->mAccountTypeList.get() : nullptr, id));
    }
    std::shared_ptr<CAcoWItem> getAccountOwnerItemForId(ObjectIdT id) override
    {
        return mRegistry.accountOwnerItemForAccountOwner(find(mRoot ? mRoot->mAccountOwnerList.get() : nullptr, id));
    }
    std::shared_ptr<CTrnSItem> getTransactionForId(ObjectIdT id) override
    {
        return std::static_pointer_cast<CTrnSItem>(mRegistry.objectForKey("TrnS" + std::to_string(id)));
    }
    std::vector<std::shared_ptr<CAcnTItem>> allAccounts() override
    {
        std::vector<std::shared_ptr<CAcnTItem>> items;
        const CNamedListArray* list = mRoot ? mRoot->mAccountList.get() : nullptr;
        for (ArrayIndexT i = 1; list && i <= static_cast<ArrayIndexT>(list->GetCount()); ++i)
            items.push_back(mRegistry.accountItemForAccount(list->ObjectAt(i)));
        return items;
    }
    // The sheets and the deletion are recorded.
    struct TransactionInput {
        CNonVisual* from = nullptr;
        CNonVisual* to = nullptr;
        CNonVisual* category = nullptr;
        int type = -1;
        int action = 0;
        bool recurring = false;
    };
    void askTransactionInput(CNonVisual* from, CNonVisual* to, CNonVisual* category, int type, int action,
                             bool recurring) override
    {
        transactionInputs.push_back({from, to, category, type, action, recurring});
    }
    void doModifyTransactionDialog(const std::shared_ptr<CTrnSItem>& item) override { modified.push_back(item); }
    std::shared_ptr<CRcrTItem> makeEmptyRecurringTransaction() override
    {
        auto item = std::make_shared<CRcrTItem>(mRoot->InsertRecurringTransaction(1, 0));
        item->setParentDocument(this);
        item->setMOwnsSourceItem(true);
        return item;
    }
    bool deleteObject(const std::shared_ptr<CNonVisualDataItem>& item) override
    {
        deleted.push_back(item);
        return false;
    }
    InvoiceHooks& invoiceHooks() override { return hooks ? *hooks : BridgeDocument::invoiceHooks(); }
    const ContactsProvider* contacts() const override { return contactsProvider; }

    // Deletes the object through the model (taking it out of the root's list
    // first) and announces it as the document does: the deleted notification
    // carries the key taken before.
    bool deleteAndAnnounce(CNonVisual* object, CNamedListArray& list, const std::string& notificationName)
    {
        const std::string key = object->CalculateKey();
        list.RemoveObject(object);
        if (!object->DeleteSelf()) {
            list.AppendObject(object);
            return false;
        }
        mCentre.post(notificationName, key);
        return true;
    }

    // --- building books
    CAccType* addAccountType(ObjectIdT id, long masterType, const char* name, ObjectIdT parentId = -1)
    {
        auto* type = new CAccType(id, mRoot.get());
        type->Put_mMasterType(masterType);
        type->Put_Name(name);
        mRoot->mAccountTypeList->AppendObject(type);
        if (parentId >= 0) type->Put_mParentType(parentId);
        return type;
    }
    CAccount* addAccount(ObjectIdT id, ObjectIdT typeId, const char* name)
    {
        auto* account = new CAccount(id, mRoot.get());
        account->Put_mAccountTypeId(typeId, nullptr, true);
        account->Put_Name(name);
        mRoot->mAccountList->AppendObject(account);
        return account;
    }
    CMasterExpenseType* addGroup(ObjectIdT id, const char* name, ObjectIdT parentId = -1)
    {
        auto* group = new CMasterExpenseType(id, mRoot.get());
        group->Put_Name(name);
        mRoot->mMasterExpenseTypeList->AppendObject(group);
        if (parentId >= 0) group->Put_mParentId(parentId);
        return group;
    }
    CExpenseType* addCategory(ObjectIdT id, ObjectIdT groupId, const char* name)
    {
        auto* category = new CExpenseType(id, mRoot.get());
        category->Put_mMasterType(groupId);
        category->Put_Name(name);
        mRoot->mExpenseTypeList->AppendObject(category);
        return category;
    }
    // A posted transaction of `amount` from one account to another, for a
    // category, dated `date`.
    CTransaction* addTransaction(DateT date, ObjectIdT fromId, ObjectIdT toId, ObjectIdT categoryId,
                                 double amount)
    {
        auto* transaction = new CTransaction(mRoot.get(), true, transaction_type::kOther);
        transaction->Put_mDate(date);
        auto* debit = static_cast<CDebit*>(transaction->GetDebitList()->ObjectAt(1));
        auto* credit = static_cast<CCredit*>(transaction->GetCreditList()->ObjectAt(1));
        auto* line = static_cast<CExptypeDetail*>(transaction->GetExpenseTypeList()->ObjectAt(1));
        transaction->Set_Debit_Account(debit, fromId);
        transaction->Set_Credit_Account(credit, toId);
        transaction->Set_ExpenseType_Account(line, categoryId);
        transaction->Set_Debit_Amount(debit, amount, false);
        transaction->Set_Credit_Amount(credit, amount, false);
        transaction->Set_ExpenseType_Amount(line, amount, false);
        mRoot->mTransactionList->AppendObject(transaction);
        return transaction;
    }

    // A line of the transaction by its 1-based position in its list.
    static CDebit* lineOf(const CNamedListArray* list, ArrayIndexT position)
    {
        return static_cast<CDebit*>(list->ObjectAt(position));
    }
    // The registry's item of a new transaction of the root's list.
    std::shared_ptr<CTrnSItem> transactionItem(CTransaction* transaction)
    {
        return mRegistry.transactionItemForTrnS(transaction);
    }
    // A currency or share that converts `quantity` units to `factor` home
    // units; no history, no revaluation (it stays new).
    CCurrency* addCurrency(ObjectIdT id, const char* shortName, QtyT quantity, double factor,
                           CurrencyTypeT kind = currency_type::kCurrency)
    {
        auto* currency = new CCurrency(id, mRoot.get());
        currency->Put_Name(shortName);
        currency->Put_mCurrencyType(kind);
        currency->Put_mConversionQuantity(quantity, 0);
        currency->Put_mConversionFactor(factor, 0);
        mRoot->mCurrencyList->AppendObject(currency);
        return currency;
    }

    int changes = 0;
    std::vector<TransactionInput> transactionInputs;
    std::vector<std::shared_ptr<CTrnSItem>> modified;
    std::vector<std::shared_ptr<CNonVisualDataItem>> deleted;
    InvoiceHooks* hooks = nullptr;
    const ContactsProvider* contactsProvider = nullptr;

private:
    static CNonVisual* find(const CNamedListArray* list, ObjectIdT id)
    {
        return list ? list->GetValueForId(id) : nullptr;
    }

    // Declared first, destroyed last: items may still reach the centre while
    // the registry and the model go.
    NotificationCenter mCentre;
    std::unique_ptr<CDocAccounting> mRoot = std::make_unique<CDocAccounting>();
    CNonVisualDataItemController mRegistry;
};

// Tests on a set of books: the fixed environment, a document with the
// default books, and its registry.
class BooksTest : public ::testing::Test {
protected:
    BridgeEnvironment environment;
    TestDocument document;
    CNonVisualDataItemController& registry = document.dataItemController();
};

// Collects the notifications of the given names posted on a centre.
class NotificationLog {
public:
    NotificationLog(NotificationCenter& centre, std::vector<std::string> names)
    {
        for (const std::string& name : names)
            mSubscriptions.push_back(centre.subscribe(name, [this](const Notification& notification) {
                posted.push_back(notification);
            }));
    }
    std::size_t count(const std::string& name) const
    {
        std::size_t n = 0;
        for (const Notification& notification : posted)
            if (notification.name == name) ++n;
        return n;
    }

    std::vector<Notification> posted;

private:
    std::vector<Subscription> mSubscriptions;
};

} // namespace ch::test

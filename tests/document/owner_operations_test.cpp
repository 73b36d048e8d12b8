// Owners through commands 26 and 27: made from the sheet or from a person of
// the contacts, found again by the person's UID, and given their invoice
// accounts once, each side on its own.

#include <gtest/gtest.h>

#include <algorithm>

#include "bridge/CAcoWItem.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CAcoWArguments.h"
#include "document_fixture.h"
#include "model/CAccount.h"
#include "platform/core/contacts_provider.h"

namespace ch::test {
namespace {

bool isSet(const std::optional<long>& account)
{
    return account.value_or(0) > 0;
}

class OnePersonContacts : public ContactsProvider {
public:
    std::optional<ContactPerson> personWithUID(std::string_view uid) const override
    {
        return uid == person.uid ? std::optional<ContactPerson>(person) : std::nullopt;
    }
    std::vector<ContactPerson> people() const override { return {person}; }
    Subscription observeChanges(std::function<void()>) override { return {}; }

    ContactPerson person;
};

class OwnerOperationsTest : public DocumentTest {
protected:
    OwnerOperationsTest()
    {
        contacts.person.uid = "uid-piet-janssens";
        contacts.person.firstName = "Piet";
        contacts.person.lastName = "Janssens";
        document->setContacts(&contacts);
    }

    arguments::CAcoWArguments sheet(const char* name)
    {
        arguments::CAcoWArguments values;
        values.name = name;
        values.firstName = "Els";
        values.VATNr = "BE0123456789";
        return values;
    }

    // The accounts the owner owns, by name.
    std::vector<std::string> accountsOf(const std::shared_ptr<CAcoWItem>& owner)
    {
        std::vector<std::string> names;
        for (const auto& account : document->allAccounts())
            if (account->getAccountOwnerId() == owner->getId()) names.push_back(account->getName());
        return names;
    }

    OnePersonContacts contacts;
};

TEST_F(OwnerOperationsTest, ANewOwnerGoesToTheFrontAnnouncedWithTheCustomerAccountsItAsksFor)
{
    NotificationLog log(document->notificationCenter(), {"OWNERCREATEDNOTIFICATION"});
    const std::size_t owners = document->mOwnerArray().size();
    arguments::CAcoWArguments values = sheet("Peeters");
    values.createCustomerOpenInvoices = true;
    const int id = executor().executeCommand(26, nullptr, values);
    ASSERT_GT(id, 0);

    ASSERT_EQ(document->mOwnerArray().size(), owners + 1);
    std::shared_ptr<CAcoWItem> owner = document->mOwnerArray().front();
    EXPECT_EQ(owner->getId(), id);
    EXPECT_EQ(owner->getName(), "Peeters");
    EXPECT_EQ(owner->firstName(), "Els");
    EXPECT_EQ(owner->VATNr(), "BE0123456789");
    ASSERT_EQ(log.posted.size(), 1u);
    EXPECT_EQ(log.posted[0].objectAs<CAcoWItem>(), owner);
    EXPECT_TRUE(document->isDocumentEdited());

    // The customer side only, each account named after the owner and held by it.
    ASSERT_TRUE(isSet(owner->openDebitInvoiceAccount()) && isSet(owner->debitorAccount()));
    EXPECT_FALSE(isSet(owner->openCreditInvoiceAccount()) || isSet(owner->creditorAccount()));
    CAccount* open = document->getAccountForId(*owner->openDebitInvoiceAccount());
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->Get_mAccountOwnerId(), id);
    EXPECT_EQ(open->Get_mFiscalPct(), 100.0);
    EXPECT_EQ(open->Get_mCurrency(), books::kEUR);
    EXPECT_EQ(accountsOf(owner).size(), 2u);
    for (const std::string& name : accountsOf(owner)) EXPECT_EQ(name.rfind("Peeters:", 0), 0u) << name;
}

TEST_F(OwnerOperationsTest, TheSamePersonTwiceUpdatesItsOwnerInsteadOfAddingOne)
{
    arguments::CAcoWArguments values;
    values.UID = contacts.person.uid;
    const int id = executor().executeCommand(26, nullptr, values);
    ASSERT_GT(id, 0);
    const std::size_t owners = document->mOwnerArray().size();
    std::shared_ptr<CAcoWItem> owner = document->getAccountOwnerForUID(contacts.person.uid);
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(owner->firstName(), "Piet");   // from the person, not the sheet

    contacts.person.firstName = "Pieter";
    values.createSupplierOpenInvoices = true;
    EXPECT_EQ(executor().executeCommand(26, nullptr, values), 1);   // the update's answer
    EXPECT_EQ(document->mOwnerArray().size(), owners);
    EXPECT_EQ(owner->firstName(), "Pieter");
    EXPECT_TRUE(isSet(owner->creditorAccount()) && isSet(owner->openCreditInvoiceAccount()));
}

TEST_F(OwnerOperationsTest, InvoiceAccountsAreMadeOncePerSideAndOnlyWhereTheOwnerHasNone)
{
    struct Case {
        const char* what;
        bool hasCreditor;
        int updates;
        std::size_t accounts;   // owned afterwards
        bool supplierMade;
    };
    const Case cases[] = {
        {"both sides asked once", false, 1, 4, true},
        {"both sides asked twice", false, 2, 4, true},
        {"a creditor account already: only the customer side", true, 1, 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int id = executor().executeCommand(26, nullptr, sheet(c.what));
        std::shared_ptr<CAcoWItem> owner = document->getAccountOwnerItemForId(id);
        ASSERT_NE(owner, nullptr);
        if (c.hasCreditor) {
            arguments::AccountArguments creditor(std::nullopt, "Creditor", std::nullopt, books::kDebtType,
                                                 books::kEUR, std::nullopt, id, std::nullopt, std::nullopt,
                                                 std::nullopt, std::nullopt);
            owner->setCreditorAccount(executor().executeCommand(13, nullptr, creditor));
        }
        arguments::CAcoWArguments update;
        update.sourceItem = owner;
        update.createSupplierOpenInvoices = true;
        update.createCustomerOpenInvoices = true;
        for (int i = 0; i < c.updates; ++i) EXPECT_EQ(executor().executeCommand(27, owner, update), 1);
        EXPECT_EQ(accountsOf(owner).size(), c.accounts);
        EXPECT_EQ(isSet(owner->openCreditInvoiceAccount()), c.supplierMade);
        EXPECT_TRUE(isSet(owner->openDebitInvoiceAccount()) && isSet(owner->debitorAccount()));
    }
}

TEST_F(OwnerOperationsTest, AnUpdateTakesTheEditedValuesOfItsSourceItem)
{
    const int id = executor().executeCommand(26, nullptr, sheet("Maes"));
    std::shared_ptr<CAcoWItem> owner = document->getAccountOwnerItemForId(id);
    auto edited = std::make_shared<CAcoWItem>();
    edited->setGetName("Maes & Zonen");
    edited->setPhone("09-333");
    arguments::CAcoWArguments update;
    update.sourceItem = edited;
    document->clearChangeCount();
    EXPECT_EQ(executor().executeCommand(27, owner, update), 1);
    EXPECT_EQ(owner->getName(), "Maes & Zonen");
    EXPECT_EQ(owner->phone(), "09-333");
    EXPECT_TRUE(document->isDocumentEdited());
}

TEST_F(OwnerOperationsTest, AReplayedUpdateTakesTheValuesItsEntryWrote)
{
    const int id = executor().executeCommand(26, nullptr, sheet("Maes"));
    std::shared_ptr<CAcoWItem> owner = document->getAccountOwnerItemForId(id);
    auto edited = std::make_shared<CAcoWItem>();
    edited->synchronizeWithObject(*owner);
    edited->setOfficialAddress("Kerkstraat 1");
    arguments::CAcoWArguments sent;
    edited->getCAcoWArgumentsWithOwnerData(sent);
    // What the journal reads back: the values, no source item.
    arguments::CAcoWArguments replayed;
    ASSERT_TRUE(sent.toDictionary().asDictionary());
    ASSERT_TRUE(replayed.recoverFromDictionary(*sent.toDictionary().asDictionary()));
    document->clearChangeCount();
    EXPECT_EQ(executor().executeCommand(27, owner, replayed), 1);
    EXPECT_EQ(owner->officialAddress(), "Kerkstraat 1");
    EXPECT_EQ(owner->getName(), "Maes");
    EXPECT_EQ(owner->firstName(), "Els");
    EXPECT_EQ(owner->VATNr(), "BE0123456789");
    EXPECT_TRUE(document->isDocumentEdited());
}

TEST_F(OwnerOperationsTest, AnOwnerDeletedWithoutTheQuestionLeavesBooksAndListAtOnceAndSilently)
{
    const int id = executor().executeCommand(26, nullptr, sheet("Peeters"));
    ASSERT_GT(id, 0);
    std::shared_ptr<CAcoWItem> owner = document->mOwnerArray().front();
    NotificationLog log(document->notificationCenter(),
                        {"OWNERWILLBEDELTEDNOTIFICATION", "OWNERDELETEDNOTIFICATION"});
    document->clearChangeCount();

    // Anything but an owner is no owner: the account stays.
    std::shared_ptr<CAcnTItem> account = document->getAccountItemForId(books::kDefaultAccount);
    EXPECT_FALSE(document->deleteAccountOwner(account));
    EXPECT_FALSE(document->deleteAccountOwner(nullptr));
    EXPECT_NE(document->getAccountForId(books::kDefaultAccount), nullptr);

    EXPECT_TRUE(document->deleteAccountOwner(owner));
    EXPECT_EQ(document->getAccountOwnerForId(id), nullptr);
    EXPECT_EQ(std::find(document->mOwnerArray().begin(), document->mOwnerArray().end(), owner),
              document->mOwnerArray().end());
    EXPECT_TRUE(log.posted.empty());
    EXPECT_TRUE(document->isDocumentEdited());
}

} // namespace
} // namespace ch::test

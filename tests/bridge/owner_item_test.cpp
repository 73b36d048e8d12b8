// The owner item: names, invoice and payment lines, the deletion rule, and
// the link to a person of the contacts.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bridge/ArgumentRecords.h"
#include "bridge/CAcoWItem.h"
#include "bridge/CDebetItem.h"
#include "bridge_test_support.h"
#include "model/CAccountOwner.h"
#include "platform/core/contacts_provider.h"

namespace ch::test {
namespace {

class FakeContacts : public ContactsProvider {
public:
    std::optional<ContactPerson> personWithUID(std::string_view uid) const override
    {
        for (const ContactPerson& person : persons)
            if (person.uid == uid) return person;
        return std::nullopt;
    }
    std::vector<ContactPerson> people() const override { return persons; }
    Subscription observeChanges(std::function<void()>) override { return {}; }

    std::vector<ContactPerson> persons;
};

ContactPerson piet()
{
    ContactPerson person;
    person.uid = "uid-piet";
    person.firstName = "Piet";
    person.lastName = "Janssens";
    person.organization = "Janssens BV";
    person.phones = {{{"cell"}, "0475", true}, {{"work", "fax"}, "02-111", false}};
    person.emails = {{{"home"}, "piet@example.org", false}};
    person.addresses = {{{"work"}, false, "", "", "Kerkstraat 1", "Gent", "", "9000", "Belgium"}};
    return person;
}

class OwnerItemTest : public BooksTest {
protected:
    OwnerItemTest()
    {
        document.contactsProvider = &contacts;
        document.root().InsertAccountOwner(7, "Janssens", "First Name", std::nullopt, std::nullopt, std::nullopt,
                                           std::nullopt, std::nullopt);
        owner = document.getAccountOwnerItemForId(7);
    }

    CAcoWArguments sheet()
    {
        CAcoWArguments arguments;
        owner->getCAcoWArgumentsWithOwnerData(arguments);
        arguments.firstName = "Jan";
        arguments.phone = "09-222";
        arguments.address = "Markt 2";
        return arguments;
    }

    FakeContacts contacts;
    std::shared_ptr<CAcoWItem> owner;
};

TEST_F(OwnerItemTest, CompleteNameSkipsThePlaceholder)
{
    EXPECT_EQ(owner->completeName(), "Janssens ");
    owner->setFirstName("Piet");
    EXPECT_EQ(owner->completeName(), "Janssens Piet");
}

TEST_F(OwnerItemTest, InvoiceAndPaymentLinesComeFromTheOpenInvoiceAccount)
{
    EXPECT_FALSE(owner->customerInvoiceArray());   // no debtor account
    owner->setDebitorAccount(5);
    ASSERT_TRUE(owner->customerInvoiceArray());
    EXPECT_TRUE(owner->customerInvoiceArray()->empty());   // no open-invoice account

    document.addAccount(10, 1, "Bank");
    document.addAccount(11, 3, "Sales");
    document.addAccount(20, 1, "Open invoices");
    document.addTransaction(20240301, 11, 20, 2, 100.0);   // invoice: to the open account
    document.addTransaction(20240310, 20, 10, 3, 60.0);    // payment: from it
    owner->setOpenDebitInvoiceAccount(20);
    ASSERT_EQ(owner->customerInvoiceArray()->size(), 1u);
    EXPECT_EQ(owner->customerInvoiceArray()->front()->getAmount(), 100.0);
    ASSERT_EQ(owner->customerPaymentArray()->size(), 1u);
    EXPECT_EQ(owner->customerPaymentArray()->front()->getAmount(), 60.0);
    EXPECT_FALSE(owner->supplierInvoiceArray());

    // A supplier's sides are the other way round: its invoices leave the open account.
    owner->setCreditorAccount(6);
    owner->setOpenCreditInvoiceAccount(20);
    ASSERT_EQ(owner->supplierInvoiceArray()->size(), 1u);
    EXPECT_EQ(owner->supplierInvoiceArray()->front()->getAmount(), 60.0);
    ASSERT_EQ(owner->supplierPaymentArray()->size(), 1u);
    EXPECT_EQ(owner->supplierPaymentArray()->front()->getAmount(), 100.0);
}

TEST_F(OwnerItemTest, AnOwnerGoesOnlyWithoutAccountsInUse)
{
    EXPECT_TRUE(owner->objectCanBeDeleted());
    document.addAccount(10, 1, "Bank");
    document.addAccount(11, 3, "Shop");
    document.root().GetAccountForID(10)->Put_mAccountOwnerId(7);
    EXPECT_TRUE(owner->objectCanBeDeleted());
    document.addTransaction(20240301, 10, 11, 1, 5.0);
    EXPECT_FALSE(owner->objectCanBeDeleted());
}

TEST_F(OwnerItemTest, CopiesAPersonAsPersonOrCompany)
{
    ContactPerson person = piet();
    ASSERT_TRUE(owner->synchronizeWithABPerson(person));
    EXPECT_EQ(owner->getName(), "Janssens");
    EXPECT_EQ(owner->firstName(), "Piet");
    EXPECT_EQ(owner->UID(), "uid-piet");
    EXPECT_EQ(owner->phone(), "0475");
    EXPECT_EQ(owner->fax(), "02-111");   // no home fax: the work fax
    EXPECT_EQ(owner->eMail(), "piet@example.org");
    EXPECT_EQ(owner->officialAddress(), "Kerkstraat 1\n9000 Gent\nBelgium");
    EXPECT_TRUE(owner->isABOwner());
    EXPECT_EQ(owner->image(), "vCard.icns");

    person.flags = ContactPerson::kShowAsCompany;
    person.firstName = "Ignored";
    owner->synchronizeWithABPerson(person);
    EXPECT_EQ(owner->getName(), "Janssens BV");
    EXPECT_EQ(owner->firstName(), "Piet");
}

TEST_F(OwnerItemTest, SheetOfALinkedOwnerTakesThePersonOrKeepsTheEditsWhenGone)
{
    contacts.persons = {piet()};
    CAcoWArguments arguments = sheet();
    arguments.UID = "uid-piet";
    arguments.VATNr = "BE0123456789";
    ASSERT_TRUE(owner->synchronizeWithArguments(arguments));
    EXPECT_EQ(owner->firstName(), "Piet");   // the person's, not the sheet's
    EXPECT_EQ(owner->phone(), "0475");
    EXPECT_EQ(owner->VATNr(), "BE0123456789");
    EXPECT_EQ(owner->fullAddress(), "Kerkstraat 1\n9000 Gent\nBelgium");

    // The person left the contacts: the sheet's edits count, the link stays.
    contacts.persons.clear();
    ASSERT_TRUE(owner->synchronizeWithArguments(sheet()));
    EXPECT_EQ(owner->firstName(), "Jan");
    EXPECT_EQ(owner->phone(), "09-222");
    EXPECT_EQ(owner->officialAddress(), "Markt 2");
    EXPECT_EQ(owner->UID(), "uid-piet");
    EXPECT_FALSE(owner->synchronizeWithUID("uid-piet"));
    EXPECT_EQ(owner->fullAddress(), std::nullopt);

    // Unlinked on the sheet: its fields, and no link.
    CAcoWArguments unlinked = sheet();
    unlinked.UID = "";
    unlinked.firstName = "Els";
    ASSERT_TRUE(owner->synchronizeWithArguments(unlinked));
    EXPECT_EQ(owner->firstName(), "Els");
    EXPECT_FALSE(owner->isABOwner());
    EXPECT_EQ(owner->image(), std::nullopt);
}

} // namespace
} // namespace ch::test

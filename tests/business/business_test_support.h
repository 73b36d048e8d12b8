#pragma once
// Shared pieces of the business tests: the bridge tests' fixed environment
// plus the business defaults and texts, and a document that holds books,
// business arrays and a settings item, and makes and deletes accounts and
// categories through the model as the document does.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../bridge/bridge_test_support.h"
#include "bridge/CPrfRItem.h"
#include "business/BusinessArrays.h"
#include "business/BusinessDefaults.h"
#include "business/BusinessDocument.h"
#include "business/GXVATRate.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "model/CAccountOwner.h"
#include "model/CPreference.h"
#include "model/foundation/CErrorManager.h"

namespace ch::test {

class BusinessEnvironment {
public:
    BusinessEnvironment()
    {
        business::registerBusinessDefaults(mBridge.defaults());
        LocalizedStrings& texts = LocalizedStrings::shared();
        texts.set("VATRECEIVED", "Input VAT");
        texts.set("VATPAID", "Output VAT");
        texts.set("VATBALANCE", "VAT Balance");
        texts.set("VATINVOICEDNOTRECEIVEDNAME", "VAT not received");
        CErrorManager::SetMode(false);
    }

    UserDefaults& defaults() { return mBridge.defaults(); }
    RecordingAlertPresenter& alerts() { return mBridge.alerts(); }
    // Today, from now on.
    void setToday(CalendarDate date)
    {
        mToday.reset(); // clocks nest: the old one goes first
        mToday = std::make_unique<ScopedFixedClock>(date);
    }

private:
    BridgeEnvironment mBridge;
    std::unique_ptr<ScopedFixedClock> mToday;
};

class BusinessTestDocument : public business::BusinessDocument {
public:
    BusinessTestDocument() : mSettings(std::make_shared<CPrfRItem>(books.root().mPreference)) {}

    BridgeDocument& bridgeDocument() override { return books; }
    business::BusinessArrays& businessArrays() override { return arrays; }
    CPrfRItem* preferenceItem() override { return withoutSettings ? nullptr : mSettings.get(); }

    // Made with the next free id, the type, currency and owner asked for.
    ObjectIdT createAccountWithArguments(const arguments::AccountArguments& arguments) override
    {
        accountsMade.push_back(arguments);
        if (refuseAccounts) return -1;
        const ObjectIdT id = mNextId++;
        CAccount* account = books.addAccount(id, static_cast<ObjectIdT>(arguments.accountTypeId.value_or(1)),
                                             arguments.name.value_or("").c_str());
        account->Put_mAccountOwnerId(static_cast<ObjectIdT>(arguments.ownerId.value_or(1)));
        return id;
    }
    ObjectIdT createCategoryWithArguments(const arguments::CategoryParameters& parameters) override
    {
        categoriesMade.push_back(parameters);
        const ObjectIdT id = mNextId++;
        books.addCategory(id, 1, parameters.name.value_or("").c_str());
        return id;
    }
    bool performDeleteAccountSelf(const std::shared_ptr<CAcnTItem>& account) override
    {
        CNonVisual* object = account ? account->getSourceItem() : nullptr;
        if (!object) return false;
        accountsDeleted.push_back(object->Get_Id());
        return books.root().DeleteObject(object);
    }

    // --- building books
    // An owner with the id and name (and VAT number).
    CAccountOwner* addOwner(ObjectIdT id, const char* name, TextRef vatNumber = std::nullopt)
    {
        return books.root().InsertAccountOwner(id, name, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                                               std::nullopt, vatNumber);
    }
    // A property (type 1) or debt (type 2) account of the owner.
    CAccount* addAccount(ObjectIdT id, ObjectIdT typeId, const char* name, ObjectIdT ownerId)
    {
        CAccount* account = books.addAccount(id, typeId, name);
        account->Put_mAccountOwnerId(ownerId);
        return account;
    }
    // A one-line transfer of `amount` (transfer category 3).
    CTransaction* addTransfer(DateT date, ObjectIdT fromId, ObjectIdT toId, double amount,
                              const char* vatNumber = nullptr)
    {
        CTransaction* transaction = books.addTransaction(date, fromId, toId, 3, amount);
        if (vatNumber) transaction->Put_CFVATNr(std::string_view(vatNumber));
        return transaction;
    }

    test::TestDocument books;
    business::BusinessArrays arrays;
    bool withoutSettings = false;
    bool refuseAccounts = false;
    std::vector<arguments::AccountArguments> accountsMade;
    std::vector<arguments::CategoryParameters> categoriesMade;
    std::vector<ObjectIdT> accountsDeleted;

private:
    std::shared_ptr<CPrfRItem> mSettings;
    ObjectIdT mNextId = 500;
};

// Tests on business books: the environment and a document.
class BusinessTest : public ::testing::Test {
protected:
    BusinessEnvironment environment;
    BusinessTestDocument document;
};

// The ids of the books of TwoVATRatesTest.
namespace vat_books {
inline constexpr ObjectIdT kMe = 1;
inline constexpr ObjectIdT kCustomer = 60;
inline constexpr ObjectIdT kSupplier = 61;
inline constexpr ObjectIdT kBank = 70;
inline constexpr ObjectIdT kCustomerAccount = 71;
inline constexpr ObjectIdT kSupplierAccount = 72;
inline constexpr ObjectIdT kPaid = 80;
inline constexpr ObjectIdT kReceived = 81;
inline constexpr ObjectIdT kReducedPaid = 82;
inline constexpr ObjectIdT kReducedReceived = 83;
} // namespace vat_books

// Books with a customer, a supplier, a bank account of the own owner and two
// rates on accounts of the own owner: "Standard", 21 % fully recoverable, and
// "Reduced", 6 % half recoverable.
class TwoVATRatesTest : public BusinessTest {
protected:
    void SetUp() override
    {
        using namespace vat_books;
        document.addOwner(kCustomer, "Customer");
        document.addOwner(kSupplier, "Supplier");
        document.addAccount(kBank, 1, "Bank", kMe);
        document.addAccount(kCustomerAccount, 1, "Customer account", kCustomer);
        document.addAccount(kSupplierAccount, 2, "Supplier account", kSupplier);
        document.addAccount(kPaid, 1, "VAT paid", kMe);
        document.addAccount(kReceived, 2, "VAT received", kMe);
        document.addAccount(kReducedPaid, 1, "Reduced VAT paid", kMe);
        document.addAccount(kReducedReceived, 2, "Reduced VAT received", kMe);
        standard = addRate("Standard", 21.0, std::nullopt, kPaid, kReceived);
        reduced = addRate("Reduced", 6.0, 50.0, kReducedPaid, kReducedReceived);
    }

    std::shared_ptr<business::GXVATRate> addRate(const char* name, double percentage,
                                                 std::optional<double> recoverable, ObjectIdT paid,
                                                 ObjectIdT received)
    {
        auto rate = std::make_shared<business::GXVATRate>(&document);
        rate->setIdKey(-1);
        rate->setName(name);
        rate->setRate(percentage);
        rate->setFiscalRecoverablePercentage(recoverable);
        rate->setAccountIdPaid(paid);
        rate->setAccountIdReceived(received);
        document.arrays.VATRateArray.push_back(rate);
        return rate;
    }

    std::shared_ptr<business::GXVATRate> standard;
    std::shared_ptr<business::GXVATRate> reduced;
};

} // namespace ch::test

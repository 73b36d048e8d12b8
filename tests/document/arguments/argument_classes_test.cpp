// The argument classes of the commands: their keys, their text form written
// and read back, and the texts the journal holds.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bridge/DeveloperLog.h"
#include "document/arguments/AccountArguments.h"
#include "document/arguments/ArgumentClassRegistry.h"
#include "document/arguments/ArgumentTextCheck.h"
#include "document/arguments/BooksLinkArguments.h"
#include "document/arguments/BudgetArguments.h"
#include "document/arguments/CAcoWArguments.h"
#include "document/arguments/CDeleteObjectParms.h"
#include "document/arguments/CDragAndDropRelocationArgument.h"
#include "document/arguments/CTransactionArguments.h"
#include "document/arguments/CategoryParameters.h"
#include "document/arguments/CurrencyArguments.h"
#include "document/arguments/ImportTransactionArguments.h"
#include "document/arguments/ShareTradeArguments.h"
#include "document/arguments/SimpleTransactionArguments.h"
#include "platform/core/four_char_code.h"

namespace ch::arguments {
namespace {

using Keys = std::vector<std::string>;

// The keys of a dictionary form, in ascending order.
Keys keysOf(const CArgumentAncestor& object)
{
    Keys keys;
    const Value dictionary = object.toDictionary();
    for (const auto entry : *dictionary.asDictionary())
        keys.push_back(entry.key);
    std::sort(keys.begin(), keys.end());
    return keys;
}

template <typename T>
std::unique_ptr<T> readBack(const std::string& text)
{
    std::unique_ptr<CArgumentAncestor> object = CArgumentAncestor::fromText(text);
    EXPECT_NE(object, nullptr) << text;
    if (!object)
        return nullptr;
    auto* typed = dynamic_cast<T*>(object.get());
    EXPECT_NE(typed, nullptr) << text;
    object.release();
    return std::unique_ptr<T>(typed);
}

// One object of each class with every field set to a value of its own.
struct Sample {
    std::function<std::unique_ptr<CArgumentAncestor>()> make;
    Keys keys;                        // every key it writes
    std::string textAfterReading;     // empty: the same text again
    bool readsBack = true;            // false: the journal cannot rebuild it
};

std::map<std::string, Sample> samples()
{
    std::map<std::string, Sample> table;
    table["CurrencyArguments"] = {[] {
        auto a = std::make_unique<CurrencyArguments>();
        a->actionToPerform = 2;
        a->symbol = "CHF";
        a->description = "Swiss franc";
        a->baseCurrencyId = 1;
        a->conversionQuantity = 100;
        a->conversionFactor = 97.125;
        a->fluctuationPlAccountId = 7;
        a->fluctuationsReasonCodeId = 5;
        a->internetSymbol = "CHFEUR=X";
        return a;
    }, {"ArgumentClass", "PLAccountId", "action", "baseCurrencyId", "conversionFactor", "conversionQuantity",
        "description", "fluctuationsReasonCodeId", "internetLookupSymbol", "name"}, {}};
    table["CShareArguments"] = {[] {
        auto a = std::make_unique<CShareArguments>();
        a->actionToPerform = 1;
        a->symbol = "ACME";
        a->description = "Acme Corp.";
        a->baseCurrencyId = 2;
        a->conversionQuantity = 1;
        a->conversionFactor = 41.5;
        a->fluctuationPlAccountId = 8;
        a->fluctuationsReasonCodeId = 9;
        a->internetSymbol = "ACME.DE";
        a->portfolioAccountId = 30;
        a->comissionPLAccountId = 31;
        a->comissionReasonCodeId = 32;
        a->dividendSourcePLAccountId = 33;
        a->dividendDestinationPropertyAccountId = 34;
        a->dividendReasonCodId = 35;
        return a;
    }, {"ArgumentClass", "PLAccountId", "action", "baseCurrencyId", "commissionCategoryCodeId",
        "commissionPLAccountId", "conversionFactor", "conversionQuantity", "description",
        "dividendDestinationAssetAccountId", "dividendReasonCodeId", "dividendSourcePLAccountId",
        "fluctuationsReasonCodeId", "internetLookupSymbol", "name", "portfolioAccountId"}, {}};
    table["CurrencyRateParameters"] = {[] {
        auto a = std::make_unique<CurrencyRateParameters>();
        a->quantity = 100;
        a->factor = 1.0 / 3.0;
        a->dateStart = 20240315;
        a->otherCurrenySymbol = "USD";
        return a;
    }, {"ArgumentClass", "intermediateCurrencySymbol", "name", "quantity", "rate", "startDate"}, {}};
    table["AccountTypeArguments"] = {[] {
        auto a = std::make_unique<AccountTypeArguments>();
        a->accountTypeId = 20;
        a->accountTypeName = "Savings";
        a->accountTypeDescription = "Money put aside";
        a->accountingNumber = "1200";
        a->theMasterType = 1;
        a->theAccountTypeId = 6;
        return a;
    }, {"ArgumentClass", "accountingNumber", "description", "idKey", "name", "parentType", "systemType"}, {}};
    table["AccountArguments"] = {[] {
        auto a = std::make_unique<AccountArguments>(15, "Giro", "Main account", 1, 2, "1010", 3, 4, "DE12 3456",
                                                    12.5, -250.75);
        a->specialType = 5;
        a->specialSubType = 6;
        return a;
    }, {"ArgumentClass", "accountTypeId", "accountingNumber", "allocableExpenses", "balance", "bankAccountNumber",
        "currencyId", "defaultCategoryId", "description", "idKey", "name", "ownerId", "specialSubType",
        "specialType"}, {}};
    table["CategoryParameters"] = {[] {
        auto a = std::make_unique<CategoryParameters>();
        a->idKey = 40;
        a->name = "Groceries";
        a->description = "Food & drink";
        a->mBalance = -81.3;
        a->mMasterTypeId = 1;
        a->mColor = Colour{0.2, 0.4, 0.6, 0.8};
        a->mParentId = 41;
        a->mTaxDeductiblePct = 7.5;
        return a;
    }, {"ArgumentClass", "balance", "color", "description", "idKey", "name", "parentId", "systemType",
        "taxDecuctiblePct"}, {}};
    table["CategoryGroupParameters"] = {[] {
        auto a = std::make_unique<CategoryGroupParameters>();
        a->idKey = 50;
        a->name = "Household";
        a->mBalance = 1234.5;
        a->mMasterType = 1;
        a->mColor = Colour{1.0, 0.5, 0.25, 1.0};
        a->mParentId = 51;
        return a;
    }, {"ArgumentClass", "balance", "color", "idKey", "name", "parentId", "systemType"}, {}};
    table["CAcoWArguments"] = {[] {
        auto a = std::make_unique<CAcoWArguments>();
        a->idKey = 60;
        a->name = "Miller";
        a->firstName = "Anna";
        a->address = "1 Main St\nSpringfield";
        a->phone = "+1 555 0100";
        a->fax = "+1 555 0101";
        a->eMail = "anna@example.org";
        a->VATNr = "DE123456789";
        a->openDebitInvoiceAccount = 61;
        a->debitorAccount = 62;
        a->openCreditInvoiceAccount = 63;
        a->creditorAccount = 64;
        a->createSupplierOpenInvoices = true;
        a->createCustomerOpenInvoices = false;
        a->UID = "5A1B:ABPerson";
        a->customerPaymentCategoryId = 65;
        a->supplierInvoiceCategoryId = 66;
        a->addressBookPerson = ContactPerson{};
        return a;
    }, {"ArgumentClass", "VATNumber", "address", "addressBoodUID", "createCustomerAccounts",
        "createSupplierAccounts", "creditorAccount", "customerPaymentCategory", "debitorAccount", "eMail", "fax",
        "firstName", "name", "openCreditInvoiceAccount", "opendDebitInvoiceAccount", "ownerId", "phone",
        "supplierInvoiceCategory"}, {}};
    table["CDeleteObjectParms"] = {[] {
        auto a = std::make_unique<CDeleteObjectParms>();
        a->withAsking = true;
        a->name = "Old car";
        return a;
    }, {"ArgumentClass", "askBeforeDelete", "name"}, {}};
    table["CDragAndDropRelocationArgument"] = {[] {
        auto a = std::make_unique<CDragAndDropRelocationArgument>();
        a->idDroppedObject = 40;
        a->idReceivingObject = 41;
        a->droppedObjectType = fourCC("ExpT");
        a->receivingObjectType = fourCC("MxpT");
        return a;
    }, {"ArgumentClass", "droppedObjectId", "droppedObjectType", "name", "receivingObjectId",
        "receivingObjectType"}, {}};
    table["CTransactionArguments"] = {[] {
        auto a = std::make_unique<CTransactionArguments>();
        a->mTransactionDictionary = Dictionary{
            {"TransactionName", "Rent; March"},
            {"TransactionDate", 20240301},
            {"TransacionAmount", 950.25},
            {"FromList", Array{Dictionary{{"AccountId", 4}, {"Amount", 950.25}}}},
        };
        return a;
    }, {"ArgumentClass", "TransactionDetails"}, {}};
    table["ImportTransactionArguments"] = {[] {
        auto a = std::make_unique<ImportTransactionArguments>();
        a->name = "ACME PAYROLL";
        a->transactionDescription = "Salary 03/2024";
        a->valueDate = 20240328;
        a->amount = 3100.4;
        a->currencyId = 1;
        a->fromAccountId = 2;
        a->toAccountId = 4;
        a->expenseTypeId = 7;
        a->unbalanced = true;
        a->transactionType = 1;
        a->debitLines = {{2, 0, 3100.4}};
        a->creditLines = {{4, 0, 3000.3}, {9, 3, 100.1}};
        a->categoryLines = {{7, 0, 3000.3}, {8, 0, -0.1}};
        return a;
    }, {"ArgumentClass", "ImportedAmount", "ImportedCreditLines", "ImportedCurrencyId", "ImportedDebitLines",
        "ImportedDescription", "ImportedFromAccountId", "ImportedName", "ImportedReasonCodeId",
        "ImportedReasonCodeLines", "ImportedToAccountId", "ImportedTransactionType", "ImportedUnbalancedIndicator",
        "ImpportedDate"}, {}};
    table["BuySellSharesParameters"] = {[] {
        auto a = std::make_unique<BuySellSharesParameters>();
        a->price = 41.5;
        a->commission = 9.9;
        a->quantity = 12;
        a->totalValue = 507.9;
        a->fromAccountId = 4;
        a->commissionAccountId = 3;
        a->description = "Buy ACME";
        a->updateRateInd = false;
        a->transactionDate = 20240312;
        a->isBuyInd = true;
        return a;
    }, {"ArgumentClass", "commission", "commissionAccountId", "fromAccountId", "isBuyInd", "name", "quantity",
        "totalValue", "transactionDate", "unitPrice", "updateSharePriceInd"}, {}};
    table["RegisterDividendParameters"] = {[] {
        auto a = std::make_unique<RegisterDividendParameters>();
        a->transactionDate = 20240520;
        a->dividend = 36.0;
        a->tax = 9.49;
        a->fromAccountId = 2;
        a->toAccountId = 4;
        a->forAccountId = 30;
        a->taxesAccountId = 3;
        a->taxesCategoryId = 8;
        a->description = "Dividend ACME";
        return a;
    }, {"ArgumentClass", "dividendAmount", "forCategoryId", "fromAccountId", "name", "taxAmount",
        "taxesAccountId", "taxesCategoryId", "toAccountId", "transactionDate"}, {}};
    table["SimpleTransactionArguments"] = {[] {
        auto a = std::make_unique<SimpleTransactionArguments>(20240315, 4);
        a->setActionToPerform(3);
        a->setName("Bakery");
        a->setDescription("Bread, \"rolls\"");
        a->setAmount(-12.5);
        a->setOtherAccountId(21);
        a->setReasonId(1);
        return a;
    }, {"ActionToPerform", "ArgumentClass", "OtherAccountId", "OurAccountId", "ReasonCodeId", "TransactionAmount",
        "TransactionDate", "TransactionDescription", "TransactionName"}, {}};
    // The budget classes journal their values, so that a crash loses none.
    table["ModifyBudgetDetailArguments"] = {[] {
        return std::make_unique<ModifyBudgetDetailArguments>(1.5, 2.0, 3.0, 4.0, "Car", true, 5);
    }, {"ArgumentClass", "budgetComment", "budgetFrom", "budgetTo", "budgetXFrom", "budgetXTo", "doNotUpdate",
        "zeroBasedMonth"}, {}};
    table["ModifyBudgetXRefArguments"] = {[] {
        return std::make_unique<ModifyBudgetXRefArguments>(1.5, 2.0, 3.0, 4.0, "Car", true, 5, 2, 4);
    }, {"ArgumentClass", "budgetComment", "budgetFrom", "budgetTo", "budgetXFrom", "budgetXTo", "doNotUpdate",
        "zeroBasedMonth", "zeroBasedMonthFrom", "zeroBasedMonthTo"}, {}};
    table["NewBudgetXRefArguments"] = {[] {
        return std::make_unique<NewBudgetXRefArguments>(1.5, 2.0, 3.0, 4.0, "Car", true, 5, 2, 4, 7, 8);
    }, {"ArgumentClass", "accountId", "budgetComment", "budgetFrom", "budgetTo", "budgetXFrom", "budgetXTo",
        "doNotUpdate", "expenseTypeId", "zeroBasedMonth", "zeroBasedMonthFrom", "zeroBasedMonthTo"}, {}};
    table["TransferBudgetXRefArguments"] = {[] {
        return std::make_unique<TransferBudgetXRefArguments>(50.25, 3, 7, 8, 9);
    }, {"ArgumentClass", "expenseTypeId", "fromAccountId", "toAccountId", "transferAmount", "zeroBasedPeriod"}, {}};
    table["DeleteBudgetXRefArguments"] = {[] { return std::make_unique<DeleteBudgetXRefArguments>(12); },
                                          {"ArgumentClass", "budgetId"}, {}};
    table["ModifyBudgetHeaderArguments"] = {[] {
        return std::make_unique<ModifyBudgetHeaderArguments>("Home", "Plan", true);
    }, {"ArgumentClass", "budgetComment", "budgetName", "doNotUpdate"}, {}};
    table["BookSettingArguments"] = {[] {
        auto a = std::make_unique<BookSettingArguments>();
        a->name = "CurrentYearStart";
        a->value = 4;
        return a;
    }, {"ArgumentClass", "ObjectName", "value"}, {}};
    table["NewBudgetArguments"] = {[] {
        auto a = std::make_unique<NewBudgetArguments>();
        a->name = "Plan";
        a->comment = "Next year";
        a->base = 1;
        a->baseMonth = 20240101;
        a->period = 0;
        a->nrOfYears = 0;
        a->nrOfMonths = 0;
        a->baseBudgetId = 12;
        return a;
    }, {"ArgumentClass", "ObjectName", "base", "baseBudgetId", "baseMonth", "comment", "nrOfMonths", "nrOfYears",
        "period"}, {}};
    table["TransactionLinkArguments"] = {[] {
        auto a = std::make_unique<TransactionLinkArguments>();
        a->name = "Card payment";
        a->linkedId = 41;
        a->linkedName = "Dinner";
        a->periodStart = 20081001;
        a->periodEnd = 20081231;
        return a;
    }, {"ArgumentClass", "ObjectName", "linkedId", "linkedName", "periodEnd", "periodStart"}, {}};
    table["ObjectStateArguments"] = {[] {
        auto a = std::make_unique<ObjectStateArguments>();
        a->name = "Bread";
        a->status = 9;
        a->isCreditCard = true;
        return a;
    }, {"ArgumentClass", "ObjectName", "isCreditCard", "status"}, {}};
    return table;
}

TEST(ArgumentClasses, EveryClassWritesItsKeysAndReadsItsValuesBack)
{
    const std::map<std::string, Sample> table = samples();
    for (const std::string& name : ArgumentClassRegistry::shared().classNames()) {
        SCOPED_TRACE(name);
        const auto found = table.find(name);
        ASSERT_NE(found, table.end()) << "no sample of a registered class";
        const Sample& sample = found->second;
        const std::unique_ptr<CArgumentAncestor> written = sample.make();
        EXPECT_EQ(written->argumentClass(), name);
        EXPECT_EQ(keysOf(*written), sample.keys);

        const std::string text = written->toText();
        EXPECT_NE(text.find("ArgumentClass = " + name + ";"), std::string::npos) << text;
        const std::unique_ptr<CArgumentAncestor> read = CArgumentAncestor::fromText(text);
        if (!sample.readsBack) {
            EXPECT_EQ(read, nullptr) << text;
            continue;
        }
        ASSERT_NE(read, nullptr) << text;
        EXPECT_EQ(read->argumentClass(), name);
        // Every value read back writes the same text again.
        EXPECT_EQ(read->toText(), sample.textAfterReading.empty() ? text : sample.textAfterReading);
        // And the text reads whole: every key is one the class reads, every value of its kind.
        ArgumentTextCheck check;
        ASSERT_NE(CArgumentAncestor::fromText(text), nullptr);
        EXPECT_EQ(check.damage(text), std::nullopt) << text;
    }
    for (const auto& entry : table)
        EXPECT_TRUE(ArgumentClassRegistry::shared().contains(entry.first)) << entry.first;
}

TEST(ArgumentClasses, ReadsTheTextsTheJournalHolds)
{
    const std::string account =
        R"({ArgumentClass = AccountArguments; accountTypeId = 1; idKey = -1; name = "Savings account"; })";
    AccountArguments newAccount;
    newAccount.name = "Savings account";
    newAccount.accountTypeId = 1;
    EXPECT_EQ(newAccount.toText(), account);
    const auto readAccount = readBack<AccountArguments>(account);
    ASSERT_TRUE(readAccount);
    EXPECT_EQ(readAccount->idKey, -1);
    EXPECT_EQ(readAccount->accountTypeId, 1);
    EXPECT_EQ(readAccount->name, "Savings account");
    EXPECT_EQ(readAccount->currencyId, std::nullopt);

    // Dropping account 15 on account type 3.
    const std::string drop = "{ArgumentClass = CDragAndDropRelocationArgument; droppedObjectId = 15; "
                             "droppedObjectType = AcnT; name = \"Drag&Drop\"; receivingObjectId = 3; "
                             "receivingObjectType = AccT; }";
    CDragAndDropRelocationArgument move;
    move.idDroppedObject = 15;
    move.droppedObjectType = fourCC("AcnT");
    move.idReceivingObject = 3;
    move.receivingObjectType = fourCC("AccT");
    EXPECT_EQ(move.toText(), drop);
    const auto readMove = readBack<CDragAndDropRelocationArgument>(drop);
    ASSERT_TRUE(readMove);
    EXPECT_EQ(readMove->idDroppedObject, 15);
    EXPECT_EQ(readMove->droppedObjectType, fourCC("AcnT"));
    EXPECT_EQ(readMove->idReceivingObject, 3);
    EXPECT_EQ(readMove->receivingObjectType, fourCC("AccT"));

    CurrencyRateParameters rate;
    rate.quantity = 1;
    rate.factor = 0.9187;
    rate.dateStart = 20090315;
    EXPECT_EQ(rate.toText(),
              "{ArgumentClass = CurrencyRateParameters; name = \"Rate Change\"; quantity = 1; rate = 0.9187; "
              "startDate = 20090315; }");
}

TEST(ArgumentClasses, NewObjectsWithoutIdWriteMinusOne)
{
    const struct {
        std::unique_ptr<CArgumentAncestor> object;
        const char* key;
    } cases[] = {
        {std::make_unique<AccountArguments>(), "idKey"},
        {std::make_unique<CategoryParameters>(), "idKey"},
        {std::make_unique<CategoryGroupParameters>(), "idKey"},
        {std::make_unique<CAcoWArguments>(), "ownerId"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.object->argumentClass());
        EXPECT_EQ((*c.object->toDictionary().asDictionary())[c.key], Value(-1));
        const auto read = CArgumentAncestor::fromText(c.object->toText());
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(CArgumentAncestor::getObjectIdAsNumberFromDictionary(*read->toDictionary().asDictionary(), c.key),
                  -1);
    }
    EXPECT_EQ(readBack<CAcoWArguments>(CAcoWArguments().toText())->idKey, -1);
}

TEST(ArgumentClasses, ValuesLeftOutReadBackAbsentOrAsTheirStandIns)
{
    // A sender that leaves a value out still makes a text that reads back.
    CurrencyArguments currency;
    EXPECT_EQ(currency.toText(), "{ArgumentClass = CurrencyArguments; action = 0; }");
    const auto readCurrency = readBack<CurrencyArguments>(currency.toText());
    ASSERT_TRUE(readCurrency);
    EXPECT_EQ(readCurrency->symbol, std::nullopt);
    EXPECT_EQ(readCurrency->conversionFactor, std::nullopt);

    // Categories and groups without colour come back opaque white; a missing
    // percentage stays missing, a text one is its number.
    const auto category = readBack<CategoryParameters>("{ArgumentClass = CategoryParameters; idKey = 3; }");
    ASSERT_TRUE(category);
    EXPECT_EQ(category->mColor, Colour::white());
    EXPECT_EQ(category->mTaxDeductiblePct, std::nullopt);
    EXPECT_EQ(readBack<CategoryParameters>("{ArgumentClass = CategoryParameters; taxDecuctiblePct = \"7.5\"; }")
                  ->mTaxDeductiblePct,
              7.5);
    EXPECT_EQ(readBack<CategoryGroupParameters>("{ArgumentClass = CategoryGroupParameters; }")->mColor,
              Colour::white());

    // Plain scalars: the action's low 8 bits; missing ids and type codes.
    EXPECT_EQ(readBack<CurrencyArguments>("{ArgumentClass = CurrencyArguments; action = 258; }")->actionToPerform, 2);
    const auto move = readBack<CDragAndDropRelocationArgument>("{ArgumentClass = CDragAndDropRelocationArgument; "
                                                               "droppedObjectType = Acn; }");
    ASSERT_TRUE(move);
    EXPECT_EQ(move->idDroppedObject, CArgumentAncestor::kMissingId);
    EXPECT_EQ(move->droppedObjectType, 0u);
}

TEST(ArgumentClasses, OwnerIsNamedByItsAddressBookIdWhenItHasNoName)
{
    CAcoWArguments nameless;
    EXPECT_FALSE(nameless.toDictionary().asDictionary()->contains("name"));

    CAcoWArguments person;
    person.UID = "5A1B:ABPerson";
    const std::string text = person.toText();
    EXPECT_NE(text.find("name = 5A1B:ABPerson;"), std::string::npos) << text;
    const auto read = readBack<CAcoWArguments>(text);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->name, "5A1B:ABPerson");
    EXPECT_EQ(read->UID, "5A1B:ABPerson");
}

TEST(ArgumentClasses, DeletionsNeverAskWhenReplayed)
{
    CDeleteObjectParms deletion;
    deletion.withAsking = true;
    EXPECT_EQ(deletion.toText(), "{ArgumentClass = CDeleteObjectParms; askBeforeDelete = 0; name = -; }");
    CDeleteObjectParms replayed;
    replayed.withAsking = true;
    EXPECT_TRUE(replayed.recoverFromString(deletion.toText()));
    EXPECT_EQ(replayed.withAsking, std::nullopt);
    EXPECT_EQ(replayed.name, "-");
}

TEST(ArgumentClasses, FlagsReadBackAsWholeNumbers)
{
    ImportTransactionArguments line;
    line.amount = -20.0;
    const std::string lineText = line.toText();
    EXPECT_NE(lineText.find("ImportedUnbalancedIndicator = 0;"), std::string::npos) << lineText;
    EXPECT_EQ(lineText.find("ImportedName"), std::string::npos) << lineText;
    const auto readLine = readBack<ImportTransactionArguments>(
        "{ArgumentClass = ImportTransactionArguments; ImportedUnbalancedIndicator = 7; }");
    ASSERT_TRUE(readLine);
    EXPECT_TRUE(readLine->unbalanced);
    EXPECT_FALSE(readBack<ImportTransactionArguments>(lineText)->unbalanced);

    BuySellSharesParameters sale;
    sale.isBuyInd = false;
    sale.updateRateInd = true;
    const std::string saleText = sale.toText();
    EXPECT_EQ(saleText, "{ArgumentClass = BuySellSharesParameters; isBuyInd = 0; updateSharePriceInd = 1; }");
    const auto readSale = readBack<BuySellSharesParameters>(saleText);
    ASSERT_TRUE(readSale);
    EXPECT_EQ(readSale->isBuyInd, false);
    EXPECT_EQ(readSale->updateRateInd, true);
}

TEST(ArgumentClasses, TransactionDictionaryComesBackWithItsNumbersAsTexts)
{
    CTransactionArguments transaction;
    transaction.mTransactionDictionary =
        Dictionary{{"mDate", 20240301}, {"Name", "Rent"}, {"lines", Array{Dictionary{{"amount", 950.25}}}}};
    const auto read = readBack<CTransactionArguments>(transaction.toText());
    ASSERT_TRUE(read && read->mTransactionDictionary);
    EXPECT_EQ(*read->mTransactionDictionary,
              (Dictionary{{"mDate", "20240301"}, {"Name", "Rent"}, {"lines", Array{Dictionary{{"amount", "950.25"}}}}}));

    // Without its dictionary the text is refused silently, and the object keeps what it held.
    std::vector<std::string> log;
    ScopedDeveloperLogCapture capture([&](const std::string& line) { log.push_back(line); });
    for (const char* text : {"{ArgumentClass = CTransactionArguments; }",
                             "{ArgumentClass = CTransactionArguments; TransactionDetails = none; }",
                             "{ArgumentClass = CTransactionArguments; TransactionDetails = {"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(read->recoverFromString(text));
        EXPECT_EQ((*read->mTransactionDictionary)["Name"], Value("Rent"));
    }
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(CArgumentAncestor::fromText("{ArgumentClass = CTransactionArguments; }"), nullptr);
}

} // namespace
} // namespace ch::arguments

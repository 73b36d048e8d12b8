#pragma once
// A new untitled document with the default books (EUR; accounts 1 to 4,
// account types 1, 2, 3 and 6, categories 1 to 6), its journal in a scratch
// folder, on a dispatcher the test drives; helpers that open saved books and
// build transaction dictionaries.

#include <memory>
#include <string>
#include <vector>

#include "bridge/ArgumentRecords.h"
#include "bridge/CAcnTItem.h"
#include "bridge/CCurRItem.h"
#include "bridge/CNonVisualDataItemController.h"
#include "bridge/CTrnSItem.h"
#include "document/DocumentBusiness.h"
#include "document/GXNonVisual.h"
#include "document/MyDocument.h"
#include "document_test_support.h"
#include "sheet_transaction.h"
#include "model/CDebit.h"
#include "model/CDocAccounting.h"
#include "model/CExpenseType.h"
#include "model/CMasterExpenseType.h"
#include "model/CNonVisual.h"
#include "model/CTransaction.h"
#include "model/foundation/LDataStream.h"
#include "platform/core/dispatcher.h"
#include "platform/core/notification_center.h"

namespace ch::test {

// Ids of the default books.
namespace books {
inline constexpr ObjectIdT kEUR = 1;
inline constexpr ObjectIdT kOwnPropertyType = 1;
inline constexpr ObjectIdT kDebtType = 2;
inline constexpr ObjectIdT kProfitAndLossType = 3;
inline constexpr ObjectIdT kIncomeAccount = 2;
inline constexpr ObjectIdT kExpenseAccount = 3;
inline constexpr ObjectIdT kDefaultAccount = 4;
inline constexpr ObjectIdT kExpenseCategory = 1;
inline constexpr ObjectIdT kIncomeCategory = 2;
} // namespace books

// Collects the notifications of the given names posted on a centre.
class NotificationLog {
public:
    NotificationLog(NotificationCenter& centre, const std::vector<std::string>& names)
    {
        for (const std::string& name : names)
            mSubscriptions.push_back(
                centre.subscribe(name, [this](const Notification& notification) { posted.push_back(notification); }));
    }
    std::vector<std::string> names() const
    {
        std::vector<std::string> out;
        for (const Notification& notification : posted) out.push_back(notification.name);
        return out;
    }

    std::vector<Notification> posted;

private:
    std::vector<Subscription> mSubscriptions;
};

// Business bookkeeping that holds nothing but the VAT rates a test gives it.
class RatesOnlyBusiness : public DocumentBusiness {
public:
    std::shared_ptr<GXNonVisual> VATRateWithId(ObjectIdT id, bool alwaysReturnOne) override
    {
        return objectFromArray(rates, static_cast<long>(id), alwaysReturnOne);
    }
    void setUpNewDocument() override {}
    PlistOutput archiveBytes() const override { return {}; }
    long readArchive(std::string_view) override { return 0; }

    std::vector<std::shared_ptr<GXNonVisual>> rates;
};

class DocumentTest : public ::testing::Test {
protected:
    DocumentTest() : document(newDocument()) {}

    std::unique_ptr<MyDocument> newDocument()
    {
        auto made = std::make_unique<MyDocument>(dispatcher);
        made->setUntitledJournalFolder(folder.path());
        made->setUpNewDocument("EUR");
        return made;
    }

    // A document read from the model stream, with the file name given.
    std::unique_ptr<MyDocument> openDocument(std::vector<std::uint8_t> bytes, const std::string& fileName)
    {
        auto opened = std::make_unique<MyDocument>(dispatcher);
        opened->setFileName(fileName);
        LDataStream stream;
        stream.SetBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
        EXPECT_TRUE(opened->readModel(stream));
        opened->finishLoading();
        return opened;
    }

    CDocAccounting& root() { return *document->accounting(); }
    // The document's VAT rates from now on.
    void holdVATRates(std::vector<std::shared_ptr<GXNonVisual>> rates)
    {
        auto business = std::make_unique<RatesOnlyBusiness>();
        business->rates = std::move(rates);
        document->setBusiness(std::move(business));
    }
    CCommandExecutor& executor() { return document->commandExecutor(); }

    // The dictionary of a transaction of the amount from one account to
    // another for the category.
    Dictionary transactionDictionary(ObjectIdT from, ObjectIdT to, ObjectIdT category, double amount, DateT date,
                                     const std::string& name)
    {
        return transactionDictionary(*document, from, to, category, amount, date, name);
    }
    // The same, made as the transaction sheet makes it: on a temporary
    // transaction of the books.
    Dictionary transactionDictionary(MyDocument& books, ObjectIdT from, ObjectIdT to, ObjectIdT category,
                                     double amount, DateT date, const std::string& name)
    {
        return sheetTransactionDictionary(books, from, to, category, amount, date, name);
    }

    DocumentEnvironment environment;
    ManualDispatcher dispatcher;
    ScratchFolder folder;
    std::unique_ptr<MyDocument> document;
};

} // namespace ch::test

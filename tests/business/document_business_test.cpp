// The business bookkeeping installed on a real document: a new document's VAT
// periods, the VAT-rate commands sent through the document's executor and
// journaled, and their replay on the saved books, which must end in the very
// books and business archive of the document that ran them.

#include <gtest/gtest.h>

#include <utility>

#include "../document/document_fixture.h"
#include "business/BusinessArgumentClasses.h"
#include "business/BusinessDefaults.h"
#include "business/BusinessOfDocument.h"
#include "business/GXVATPeriod.h"
#include "business/GXVATRate.h"
#include "business/InstallBusiness.h"
#include "business/VATPeriods.h"
#include "business/VATRateArguments.h"
#include "bridge/CExpTItem.h"
#include "bridge/CNonVisualDataItemController.h"
#include "document/DocumentFile.h"
#include "document/arguments/ArgumentClassRegistry.h"
#include "document/arguments/BooksLinkArguments.h"
#include "document/arguments/CTransactionArguments.h"
#include "document/arguments/CDeleteObjectParms.h"
#include "document/commands/CommandJournalReader.h"

namespace ch::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

class DocumentBusinessTest : public DocumentTest {
protected:
    DocumentBusinessTest()
    {
        business::registerBusinessDefaults(environment.defaults());
        business::registerBusinessArgumentClasses(ArgumentClassRegistry::shared());
        document = newBusinessDocument();
        savedModel = document->modelStreamBytes();
        const PlistOutput archive = document->businessArchiveBytes();
        EXPECT_TRUE(archive.ok()) << archive.error;
        savedArchive = archive.bytes;
    }

    std::unique_ptr<MyDocument> newBusinessDocument()
    {
        auto made = std::make_unique<MyDocument>(dispatcher);
        made->setUntitledJournalFolder(folder.path());
        business::installBusiness(*made);
        made->setUpNewDocument("EUR");
        return made;
    }

    static business::BusinessArrays& arraysOf(MyDocument& books)
    {
        auto* part = dynamic_cast<business::BusinessOfDocument*>(books.business());
        EXPECT_NE(part, nullptr);
        return part->businessArrays();
    }

    std::string bookPath() const { return folder.file("Books.books"); }

    // The saved books opened as bookPath(), with no id counter put back by
    // hand: each set of books numbers from its own. The business archive is read
    // after the model stream and before the journal is looked for.
    std::unique_ptr<MyDocument> reopen()
    {
        auto opened = std::make_unique<MyDocument>(dispatcher);
        business::installBusiness(*opened);
        opened->setFileName(bookPath());
        LDataStream stream;
        stream.SetBuffer(savedModel.data(), static_cast<std::int32_t>(savedModel.size()));
        EXPECT_TRUE(opened->readModel(stream));
        EXPECT_EQ(opened->readBusinessArchive(savedArchive), 0);
        opened->finishLoading();
        return opened;
    }

    static arguments::VATRateArguments rateArguments(const char* name, double percentage)
    {
        arguments::VATRateArguments values;
        values.name = name;
        values.rate = percentage;
        return values;
    }

    Bytes savedModel;
    std::string savedArchive;
};

TEST_F(DocumentBusinessTest, ANewDocumentHasItsCurrentAndPreviousVATPeriodAndStartsClean)
{
    // Today is 2009-03-15; periods are quarters of a year that starts in January.
    std::vector<std::pair<long, long>> periods;
    for (const auto& period : arraysOf(*document).VATPeriodArray)
        periods.emplace_back(period->startDate().value_or(0), period->endDate().value_or(0));
    EXPECT_EQ(periods, (std::vector<std::pair<long, long>>{{20090101, 20090331}, {20081001, 20081231}}));
    EXPECT_TRUE(arraysOf(*document).VATRateArray.empty());
    EXPECT_FALSE(document->isDocumentEdited());
}

TEST_F(DocumentBusinessTest, TheDocumentFindsItsVATRatesByIdAndKey)
{
    CCommandExecutor& run = document->commandExecutor();
    ASSERT_EQ(run.executeCommand(33, nullptr, rateArguments("Reduced", 6.0)), 1);
    ASSERT_EQ(run.executeCommand(33, nullptr, rateArguments("Standard", 21.0)), 1);
    const auto& rates = arraysOf(*document).VATRateArray;
    ASSERT_EQ(rates.size(), 2u);
    const std::shared_ptr<business::GXVATRate> standard = rates[0];
    const std::shared_ptr<business::GXVATRate> reduced = rates[1];
    const ObjectIdT unused = *standard->idKey() + 100;

    struct Case {
        ObjectIdT id;
        bool alwaysReturnOne;
        std::shared_ptr<business::GXVATRate> found;
    };
    for (const Case& c : std::vector<Case>{{*reduced->idKey(), false, reduced},
                                           {*standard->idKey(), true, standard},
                                           {unused, true, standard},   // the first of the array
                                           {unused, false, nullptr}})
        EXPECT_EQ(document->VATRateWithId(c.id, c.alwaysReturnOne), c.found) << c.id << " " << c.alwaysReturnOne;
    EXPECT_EQ(document->dataItemWithKey(reduced->calculateKey()), reduced);
    EXPECT_EQ(document->dataItemWithKey("VatR" + std::to_string(unused)), nullptr);
}

TEST_F(DocumentBusinessTest, VATRateCommandsAreJournaledAndReplayToTheSameBooks)
{
    Bytes directModel;
    std::string directArchive;
    {
        std::unique_ptr<MyDocument> crashed = reopen();
        CCommandExecutor& run = crashed->commandExecutor();
        const auto& rates = arraysOf(*crashed).VATRateArray;

        ASSERT_EQ(run.executeCommand(33, nullptr, rateArguments("Standard", 21.0)), 1);
        ASSERT_EQ(rates.size(), 1u);
        const std::shared_ptr<business::GXVATRate> standard = rates.front();
        // Other books open meanwhile make VAT rates (and their accounts) too.
        ASSERT_EQ(document->commandExecutor().executeCommand(33, nullptr, rateArguments("Elsewhere", 9.0)), 1);
        ASSERT_TRUE(standard->accountIdPaid() && standard->accountIdReceived());
        EXPECT_NE(crashed->getAccountForId(static_cast<ObjectIdT>(*standard->accountIdPaid())), nullptr);
        EXPECT_TRUE(crashed->isDocumentEdited());

        arguments::VATRateArguments changed = rateArguments("Standard rate", 19.0);
        changed.createAccounts = false;
        changed.createCategoryInvoicedNotReceived = false;
        changed.accountIdPaid = standard->accountIdPaid();
        changed.accountIdReceived = standard->accountIdReceived();
        EXPECT_EQ(run.executeCommand(34, standard, changed), 1);
        EXPECT_EQ(standard->name(), "Standard rate");
        EXPECT_EQ(standard->rate(), 19.0);

        ASSERT_EQ(document->commandExecutor().executeCommand(33, nullptr, rateArguments("Elsewhere too", 7.0)), 1);
        ASSERT_EQ(run.executeCommand(33, nullptr, rateArguments("Reduced", 6.0)), 1);
        ASSERT_EQ(rates.size(), 2u);
        const std::shared_ptr<business::GXVATRate> reduced = rates.front();
        const ObjectIdT reducedPaid = static_cast<ObjectIdT>(reduced->accountIdPaid().value_or(0));
        EXPECT_TRUE(crashed->deleteVATRate(reduced, false));
        EXPECT_EQ(rates, (std::vector<std::shared_ptr<business::GXVATRate>>{standard}));
        EXPECT_EQ(crashed->getAccountForId(reducedPaid), nullptr);

        std::vector<std::pair<int, std::string>> journaled;
        for (const auto& entry : readCommandJournalFile(crashed->journalFileName()).items)
            journaled.emplace_back(entry.mCommand, entry.mObject.value_or(""));
        EXPECT_EQ(journaled, (std::vector<std::pair<int, std::string>>{
                                 {33, ""}, {34, standard->calculateKey()}, {33, ""}, {37, reduced->calculateKey()}}));

        directModel = crashed->modelStreamBytes();
        directArchive = crashed->businessArchiveBytes().bytes;
    }
    ASSERT_NE(directArchive, savedArchive);

    std::unique_ptr<MyDocument> replayed = reopen();
    EXPECT_EQ(replayed->commandExecutor().commandsToRecover().size(), 4u);
    environment.alerts().scriptAnswer(AlertAnswer::Default);   // replay
    dispatcher.advance(std::chrono::milliseconds(100));
    EXPECT_TRUE(replayed->commandExecutor().lastReplayReport().empty())
        << ::testing::PrintToString(replayed->commandExecutor().lastReplayReport());
    EXPECT_EQ(firstDifference(replayed->modelStreamBytes(), directModel), "");
    EXPECT_EQ(replayed->businessArchiveBytes().bytes, directArchive);
    EXPECT_TRUE(replayed->isDocumentEdited());
}

// The accounts and the category a VAT rate books on stay while the rate
// does: deleting one is refused with a message that names the rate, and
// nothing is asked first. The rate's own deletion takes them along.
TEST_F(DocumentBusinessTest, WhatAVATRateBooksOnIsNotDeletedWhileTheRateIs)
{
    CCommandExecutor& run = document->commandExecutor();
    ASSERT_EQ(run.executeCommand(33, nullptr, rateArguments("Standard", 21.0)), 1);
    const std::shared_ptr<business::GXVATRate> rate = arraysOf(*document).VATRateArray.front();
    ASSERT_TRUE(rate->accountIdReceived() && rate->categoryInvoicedNotYetReceived());
    const auto received = static_cast<ObjectIdT>(*rate->accountIdReceived());
    const auto category = static_cast<ObjectIdT>(*rate->categoryInvoicedNotYetReceived());

    arguments::CDeleteObjectParms asking;
    asking.withAsking = true;
    struct Case {
        std::shared_ptr<CNonVisualDataItem> item;
        long message;
    };
    const Case cases[] = {
        {document->getAccountItemForId(received), 331},
        {document->dataItemController().categoryItemForCategory(document->getExpenseTypeForId(category)), 333},
    };
    for (const Case& c : cases) {
        ASSERT_NE(c.item, nullptr);
        environment.alerts().clear();
        run.executeCommand(28, c.item, asking);
        ASSERT_EQ(environment.alerts().numbers(), std::vector<long>{c.message});
        EXPECT_NE(environment.alerts().records().back().alert.message.find("Standard"), std::string::npos);
    }
    EXPECT_NE(document->getAccountForId(received), nullptr);
    EXPECT_NE(document->getExpenseTypeForId(category), nullptr);

    EXPECT_TRUE(document->deleteVATRate(rate, false));
    EXPECT_EQ(document->getAccountForId(received), nullptr);
}

// A replayed VAT rate that names an account these books do not hold is not
// made: the summary lists it, and the rate keeps no dangling account.
TEST_F(DocumentBusinessTest, AReplayedVATRateNamingAMissingAccountIsSkippedAndReported)
{
    {
        std::unique_ptr<MyDocument> crashed = reopen();
        arguments::VATRateArguments rate = rateArguments("Standard", 21.0);
        rate.createAccounts = false;
        rate.createCategoryInvoicedNotReceived = false;
        rate.accountIdPaid = 3;
        rate.accountIdReceived = 2;
        ASSERT_EQ(crashed->commandExecutor().executeCommand(33, nullptr, rate), 1);
    }
    const std::string journal = bookPath() + ".log";
    std::string text = readFile(journal);
    const std::string paid = "accountIdPaidVAT = 3;";
    const std::size_t at = text.find(paid);
    ASSERT_NE(at, std::string::npos) << text;
    text.replace(at, paid.size(), "accountIdPaidVAT = 333;");
    writeFile(journal, text);

    std::unique_ptr<MyDocument> replayed = reopen();
    environment.alerts().scriptAnswer(AlertAnswer::Default);   // replay
    dispatcher.advance(std::chrono::milliseconds(100));
    EXPECT_TRUE(arraysOf(*replayed).VATRateArray.empty());
    const std::vector<std::string>& report = replayed->commandExecutor().lastReplayReport();
    ASSERT_EQ(report.size(), 1u);
    EXPECT_NE(report[0].find(localized("ROLLFORWARDMISSINGID")), std::string::npos) << report[0];
}

// A transaction marked as paying a VAT period's balance after a save pays
// the same period after a crash. Opening the books lays out the periods of
// the year's first month set since (February), one of which holds the date
// the payment was reckoned from too; with monthly periods chosen meanwhile
// the quarter paid, holding nothing in the file, is dropped at opening and
// must come back.
TEST_F(DocumentBusinessTest, AVATPaymentReplayedAfterACrashPaysThePeriodItPaid)
{
    struct Case {
        const char* name;
        long periodicityAtReopening;
        bool samePeriodObject;
    };
    for (const Case& c : {Case{"quarters", 1, true}, Case{"months chosen before reopening", 0, false}}) {
        SCOPED_TRACE(c.name);
        environment.defaults().set(business::kVATPeriodicityKey, Value(1L));
        std::unique_ptr<MyDocument> books = newBusinessDocument();
        arguments::BookSettingArguments yearStart;
        yearStart.name = "CurrentYearStart";
        yearStart.value = 2;
        ASSERT_EQ(books->commandExecutor().executeCommand(kBookSettingCommand, nullptr, yearStart), 1);
        const std::string path = folder.file(std::string("Books ") + c.name + ".books");
        ASSERT_TRUE(saveDocumentAs(*books, path).ok());

        arguments::CTransactionArguments paid;
        paid.mTransactionDictionary =
            transactionDictionary(*books, static_cast<ObjectIdT>(books->getDefaultOwnPropertyAccount()),
                                  books::kExpenseAccount, books::kExpenseCategory, 420.0, 20090312, "VAT paid");
        books->commandExecutor().executeCommand(23, nullptr, paid);
        ASSERT_EQ(books->mTransactionArray().size(), 1u);
        const std::shared_ptr<CTrnSItem> payment = books->mTransactionArray().front();
        const ObjectIdT id = payment->getId().value_or(0);
        auto& business = dynamic_cast<business::BusinessOfDocument&>(*books->business());
        ASSERT_EQ(books->commandExecutor().executeCommand(kVATBalancePaymentCommand, payment,
                                                          business::VATBalancePaymentArguments(business, *payment)),
                  1);
        auto closed = [](MyDocument& of) {
            std::vector<std::string> periods;
            for (const auto& period : arraysOf(of).VATPeriodArray)
                if (period->closingTransactionId())
                    periods.push_back(std::to_string(period->startDate().value_or(0)) + "-" +
                                      std::to_string(period->endDate().value_or(0)) + " paid by " +
                                      std::to_string(*period->closingTransactionId()) + " on " +
                                      std::to_string(period->closingDate().value_or(0)));
            return periods;
        };
        const std::vector<std::string> beforeCrash = closed(*books);
        ASSERT_EQ(beforeCrash,
                  std::vector<std::string>{"20081001-20081231 paid by " + std::to_string(id) + " on 20090312"});
        std::optional<ObjectIdT> periodId;
        for (const auto& period : arraysOf(*books).VATPeriodArray)
            if (period->closingTransactionId()) periodId = period->idKey();
        books.reset();   // killed: nothing saved, nothing closed

        environment.defaults().set(business::kVATPeriodicityKey, Value(c.periodicityAtReopening));
        auto replayed = std::make_unique<MyDocument>(dispatcher);
        business::installBusiness(*replayed);
        ASSERT_TRUE(readFromFile(*replayed, path).ok());
        environment.alerts().scriptAnswer(AlertAnswer::Default);   // replay
        dispatcher.advance(std::chrono::milliseconds(100));
        EXPECT_TRUE(replayed->commandExecutor().lastReplayReport().empty())
            << ::testing::PrintToString(replayed->commandExecutor().lastReplayReport());
        EXPECT_EQ(closed(*replayed), beforeCrash);
        if (c.samePeriodObject) {
            for (const auto& period : arraysOf(*replayed).VATPeriodArray) {
                if (period->closingTransactionId()) {
                    EXPECT_EQ(period->idKey(), periodId);
                }
            }
        }
    }
}

} // namespace
} // namespace ch::test

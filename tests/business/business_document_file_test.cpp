// The document file of books with business bookkeeping: VAT rates, VAT
// periods and invoices go through the file, come back as they were, and the
// file opened and saved again is the same file, byte for byte; a revert
// brings back the business objects of the file.

#include <gtest/gtest.h>

#include "../document/document_fixture.h"
#include "bridge/CPrfRItem.h"
#include "business/BusinessArgumentClasses.h"
#include "business/BusinessDefaults.h"
#include "business/BusinessOfDocument.h"
#include "business/InstallBusiness.h"
#include "business/InvoiceArguments.h"
#include "business/InvoiceNumbers.h"
#include "business/VATRateArguments.h"
#include "document/DocumentFile.h"
#include "document/arguments/ArgumentClassRegistry.h"
#include "document/arguments/CAcoWArguments.h"

namespace ch::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes fileBytes(const std::string& path)
{
    const std::string text = readFile(path);
    return Bytes(text.begin(), text.end());
}

class BusinessDocumentFileTest : public DocumentTest {
protected:
    BusinessDocumentFileTest()
    {
        business::registerBusinessDefaults(environment.defaults());
        business::registerBusinessArgumentClasses(ArgumentClassRegistry::shared());
        document = std::make_unique<MyDocument>(dispatcher);
        document->setUntitledJournalFolder(folder.path());
        business::installBusiness(*document);
        document->setUpNewDocument("EUR");
        document->mPreference()->setMCustomerInvoiceCategory(document->get_mDefExpTUnspecifiedIncome());
    }

    int run(MyDocument& books, int command, const CArgumentAncestor& arguments)
    {
        return books.commandExecutor().executeCommand(command, nullptr, arguments);
    }

    static business::BusinessArrays& arraysOf(MyDocument& books)
    {
        auto* part = dynamic_cast<business::BusinessOfDocument*>(books.business());
        EXPECT_NE(part, nullptr);
        return part->businessArrays();
    }

    std::unique_ptr<MyDocument> openWithBusiness(const std::string& path, FileOutcome& outcome)
    {
        auto opened = std::make_unique<MyDocument>(dispatcher);
        business::installBusiness(*opened);
        outcome = readFromFile(*opened, path);
        return opened;
    }

    static arguments::VATRateArguments rateArguments(const char* name, double percentage)
    {
        arguments::VATRateArguments values;
        values.name = name;
        values.rate = percentage;
        return values;
    }

    // The sizes of the five arrays and what the document writes of them.
    static std::pair<std::vector<std::size_t>, std::string> businessOf(MyDocument& books)
    {
        const business::BusinessArrays& arrays = arraysOf(books);
        return {{arrays.VATRateArray.size(), arrays.amortisationSchemeArray.size(), arrays.VATPeriodArray.size(),
                 arrays.customerInvoiceArray.size(), arrays.supplierInvoiceArray.size()},
                books.businessArchiveBytes().bytes};
    }
};

TEST_F(BusinessDocumentFileTest, RatesPeriodsAndInvoicesOpenAndSaveAgainToTheSameFile)
{
    ASSERT_EQ(run(*document, 33, rateArguments("Standard", 21.0)), 1);
    ASSERT_EQ(run(*document, 33, rateArguments("Reduced", 6.0)), 1);
    arguments::CAcoWArguments customer;
    customer.name = "Peeters";
    customer.createCustomerOpenInvoices = true;
    const int customerId = run(*document, 26, customer);
    ASSERT_GT(customerId, 0);
    arguments::InvoiceArguments invoice;
    invoice.invoiceName = "Consulting";
    invoice.thirdPartyId = customerId;
    invoice.invoiceNumber = "2009000001";
    invoice.invoiceDate = 20090310;
    invoice.dueDate = 20090409;
    invoice.amountWithoutVAT = 1000.0;
    invoice.firstVATRateId = *arraysOf(*document).VATRateArray.front()->idKey();
    invoice.paymentReference = business::structuredReferenceForNumber("2009000001");
    ASSERT_GT(run(*document, 38, invoice), 0);
    const auto written = businessOf(*document);
    ASSERT_EQ(written.first, (std::vector<std::size_t>{2, 0, 2, 1, 0}));

    const std::string path = folder.file("Business.books");
    ASSERT_TRUE(saveDocumentAs(*document, path).ok());
    const std::string& archive = written.second;
    auto archiveOf = [&](const Bytes& file) {
        return file.size() < archive.size()
                   ? std::string()
                   : std::string(file.end() - static_cast<std::ptrdiff_t>(archive.size()), file.end());
    };
    EXPECT_EQ(archiveOf(fileBytes(path)), archive);

    // Opened and saved, twice over: the business part comes back as it was
    // written, and from the first reopening on the file stays the same, byte
    // for byte (reading puts the model's roots in their order once).
    std::unique_ptr<MyDocument> opened;
    Bytes saved;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        FileOutcome outcome;
        opened = openWithBusiness(path, outcome);
        ASSERT_TRUE(outcome.ok());
        EXPECT_EQ(outcome.warning, 0);
        EXPECT_FALSE(opened->mustSaveUnderNewName());
        dispatcher.advance(std::chrono::milliseconds(100)); // the check of the VAT periods
        EXPECT_EQ(businessOf(*opened), written);
        if (round == 1) {
            EXPECT_EQ(firstDifference(dataRepresentation(*opened).bytes, saved), "");
        }
        opened->updateChangeCount();
        ASSERT_TRUE(saveDocument(*opened).ok());
        if (round == 0) saved = fileBytes(path);
        else EXPECT_EQ(firstDifference(fileBytes(path), saved), "");
    }
    EXPECT_EQ(archiveOf(saved), archive);
    EXPECT_TRUE(environment.alerts().numbers().empty());

    // A rate made after the save goes when the document reverts to its file.
    ASSERT_EQ(run(*opened, 33, rateArguments("Discarded", 12.0)), 1);
    ASSERT_EQ(arraysOf(*opened).VATRateArray.size(), 3u);
    ASSERT_TRUE(revertDocumentToSaved(*opened).ok());
    dispatcher.advance(std::chrono::milliseconds(100));
    EXPECT_EQ(businessOf(*opened), written);
    EXPECT_EQ(firstDifference(dataRepresentation(*opened).bytes, saved), "");

    // Without business bookkeeping the same file opens with the warning and
    // keeps off its file.
    auto plain = std::make_unique<MyDocument>(dispatcher);
    const FileOutcome outcome = readFromFile(*plain, path);
    EXPECT_EQ(outcome.warning, kIncompleteBusinessArchiveWarning);
    EXPECT_TRUE(plain->mustSaveUnderNewName());
    EXPECT_EQ(saveDocument(*plain).error, kSaveUnderNewName);
    EXPECT_EQ(fileBytes(path), saved);
}

} // namespace
} // namespace ch::test

// The document file of books with business bookkeeping: VAT rates, VAT
// periods and invoices go through the file, come back as they were, and the
// file opened and saved again is the same file, byte for byte; a revert
// brings back the business objects of the file.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "../document/document_fixture.h"
#include "bridge/CPrfRItem.h"
#include "business/BusinessArgumentClasses.h"
#include "business/BusinessDefaults.h"
#include "business/BusinessOfDocument.h"
#include "business/InstallBusiness.h"
#include "business/InvoiceArguments.h"
#include "business/InvoiceNumbers.h"
#include "business/PaymentArguments.h"
#include "business/Payments.h"
#include "business/VATRateArguments.h"
#include "document/DocumentFile.h"
#include "platform/core/keyed_archive.h"
#include "document/arguments/ArgumentClassRegistry.h"
#include "document/arguments/CAcoWArguments.h"

namespace ch::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Where the objects of a binary property list lie, to damage one on purpose.
class BinaryPlistMap {
public:
    explicit BinaryPlistMap(const std::string& bytes) : mBytes(bytes)
    {
        const std::size_t trailer = bytes.size() - 32;
        mOffsetSize = static_cast<unsigned char>(bytes[trailer + 6]);
        mRefSize = static_cast<unsigned char>(bytes[trailer + 7]);
        const std::size_t count = number(trailer + 8, 8);
        mTop = number(trailer + 16, 8);
        mTableStart = number(trailer + 24, 8);
        for (std::size_t i = 0; i < count; ++i)
            mOffsets.push_back(number(mTableStart + i * mOffsetSize, mOffsetSize));
    }

    std::size_t top() const { return mTop; }
    // The bytes of an object: from its marker to where the next one starts.
    std::pair<std::size_t, std::size_t> range(std::size_t object) const
    {
        std::size_t end = mTableStart;
        for (std::size_t offset : mOffsets)
            if (offset > mOffsets[object] && offset < end) end = offset;
        return {mOffsets[object], end};
    }
    // Where the references of an array or dictionary start, and their count
    // (a dictionary's keys come first, then as many values).
    std::pair<std::size_t, std::size_t> references(std::size_t object) const
    {
        std::size_t at = mOffsets[object];
        std::size_t count = static_cast<unsigned char>(mBytes[at]) & 0xF;
        ++at;
        if (count == 0xF) {
            const std::size_t width = std::size_t(1) << (static_cast<unsigned char>(mBytes[at]) & 0xF);
            count = number(at + 1, width);
            at += 1 + width;
        }
        return {at, count};
    }
    std::size_t reference(std::size_t at, std::size_t index) const { return number(at + index * mRefSize, mRefSize); }
    std::size_t referenceSize() const { return mRefSize; }
    // An ASCII string object's text.
    std::string text(std::size_t object) const
    {
        const auto [at, length] = references(object);
        return mBytes.substr(at, length);
    }
    // A dictionary's value under the key, as an object number.
    std::size_t value(std::size_t dictionary, const std::string& key) const
    {
        const auto [at, count] = references(dictionary);
        for (std::size_t i = 0; i < count; ++i)
            if (text(reference(at, i)) == key) return reference(at, count + i);
        ADD_FAILURE() << "no key " << key;
        return 0;
    }
    // A UID object's value.
    std::size_t uid(std::size_t object) const
    {
        const std::size_t at = mOffsets[object];
        return number(at + 1, (static_cast<unsigned char>(mBytes[at]) & 0xF) + 1);
    }

private:
    std::size_t number(std::size_t at, std::size_t width) const
    {
        std::size_t result = 0;
        for (std::size_t i = 0; i < width; ++i) result = result << 8 | static_cast<unsigned char>(mBytes[at + i]);
        return result;
    }

    const std::string& mBytes;
    std::size_t mOffsetSize = 0;
    std::size_t mRefSize = 0;
    std::size_t mTop = 0;
    std::size_t mTableStart = 0;
    std::vector<std::size_t> mOffsets;
};

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

    static business::BusinessOfDocument& business(MyDocument& books)
    {
        return *dynamic_cast<business::BusinessOfDocument*>(books.business());
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

// Objects of the business arrays outlive what they named: an invoice its
// deleted transaction. Such books open without a word, saved by this program
// (with the checksum of its archive) or elsewhere (without one).
TEST_F(BusinessDocumentFileTest, BooksWhoseInvoicesOutliveTheirTransactionsOpenWithoutAWord)
{
    ASSERT_EQ(run(*document, 33, rateArguments("Standard", 21.0)), 1);
    arguments::CAcoWArguments customer;
    customer.name = "Peeters";
    customer.createCustomerOpenInvoices = true;
    arguments::InvoiceArguments invoice;
    invoice.thirdPartyId = run(*document, 26, customer);
    invoice.invoiceDate = 20090310;
    invoice.dueDate = 20090409;
    invoice.amountWithoutVAT = 100.0;
    invoice.firstVATRateId = *arraysOf(*document).VATRateArray.front()->idKey();
    invoice.generatePayment = true;
    invoice.paymentCategoryId = document->get_mDefExpTUnspecifiedIncome();
    std::vector<int> invoices;
    for (const char* number : {"2009000001", "2009000002"}) {
        invoice.invoiceNumber = number;
        invoices.push_back(run(*document, 38, invoice));
        ASSERT_GT(invoices.back(), 0);
    }
    const auto& extensions = arraysOf(*document).customerInvoiceArray;
    ASSERT_EQ(extensions.size(), 2u);
    const long payment = extensions.front()->paymentTransactionIdArray().at(0);
    ASSERT_TRUE(document->deleteObject(document->getTransactionForId(static_cast<ObjectIdT>(payment)), false));
    ASSERT_TRUE(document->deleteObject(document->getTransactionForId(invoices.front()), false));
    ASSERT_EQ(extensions.size(), 2u);

    const std::string path = folder.file("Deleted.books");
    ASSERT_TRUE(saveDocumentAs(*document, path).ok());
    const std::string file = readFile(path);
    const std::string archive = document->businessArchiveBytes().bytes;
    // As earlier versions wrote it: the five arrays alone.
    const business::BusinessArrays& arrays = arraysOf(*document);
    KeyedArchiver archiver;
    archiver.encodeObjectArray(arrays.VATRateArray, kBusinessArchiveKeys[0]);
    archiver.encodeObjectArray(arrays.amortisationSchemeArray, kBusinessArchiveKeys[1]);
    archiver.encodeObjectArray(arrays.VATPeriodArray, kBusinessArchiveKeys[2]);
    archiver.encodeObjectArray(arrays.customerInvoiceArray, kBusinessArchiveKeys[3]);
    archiver.encodeObjectArray(arrays.supplierInvoiceArray, kBusinessArchiveKeys[4]);
    const std::string withoutChecksum = archiver.finish().bytes;
    for (const std::string& written : {archive, withoutChecksum}) {
        SCOPED_TRACE(written == archive ? "with the checksum" : "without");
        writeFile(path, file.substr(0, file.size() - archive.size()) + written);
        FileOutcome outcome;
        std::unique_ptr<MyDocument> opened = openWithBusiness(path, outcome);
        EXPECT_TRUE(outcome.ok());
        EXPECT_EQ(outcome.warning, 0);
        EXPECT_EQ(arraysOf(*opened).customerInvoiceArray.size(), 2u);
    }
}

// A file that ends with the books was cut off when its version is one
// written with the business archive, or when its books hold what only
// business bookkeeping makes (a VAT rate's setting, an invoice), with or
// without business bookkeeping to read it. (A file of an older version is
// one from before the business archive: document_file_test.cpp.)
TEST_F(BusinessDocumentFileTest, AFileEndingWithTheBooksIsCutWhenItsVersionOrItsBooksShowBusinessData)
{
    const std::string path = folder.file("Cut.books");
    auto cutAndOpen = [&](MyDocument& books, bool withBusiness) {
        EXPECT_TRUE(saveDocumentAs(books, path).ok());
        const std::string file = readFile(path);
        writeFile(path, file.substr(0, file.size() - books.businessArchiveBytes().bytes.size()));
        FileOutcome outcome;
        std::unique_ptr<MyDocument> opened;
        if (withBusiness) {
            opened = openWithBusiness(path, outcome);
        } else {
            opened = std::make_unique<MyDocument>(dispatcher);
            outcome = readFromFile(*opened, path);
        }
        EXPECT_TRUE(outcome.ok());
        EXPECT_EQ(opened->mustSaveUnderNewName(), outcome.warning != 0);
        return outcome.warning;
    };
    EXPECT_EQ(cutAndOpen(*document, true), kIncompleteBusinessArchiveWarning);
    EXPECT_EQ(cutAndOpen(*document, false), kIncompleteBusinessArchiveWarning);

    ASSERT_EQ(run(*document, 33, rateArguments("Standard", 21.0)), 1);
    EXPECT_EQ(cutAndOpen(*document, true), kIncompleteBusinessArchiveWarning);
    EXPECT_EQ(cutAndOpen(*document, false), kIncompleteBusinessArchiveWarning);

    // An invoice says so too, whatever the VAT settings.
    document->mPreference()->setMVatInvoicedNotYetReceivedExpT(1);
    arguments::CAcoWArguments customer;
    customer.name = "Peeters";
    customer.createCustomerOpenInvoices = true;
    arguments::InvoiceArguments invoice;
    invoice.thirdPartyId = run(*document, 26, customer);
    invoice.invoiceNumber = "2009000001";
    invoice.invoiceDate = 20090310;
    invoice.amountWithoutVAT = 100.0;
    ASSERT_GT(run(*document, 38, invoice), 0);
    EXPECT_EQ(cutAndOpen(*document, true), kIncompleteBusinessArchiveWarning);
    EXPECT_EQ(cutAndOpen(*document, false), kIncompleteBusinessArchiveWarning);
}

// Books with three VAT rates, the VAT periods, customer invoices (two of them
// paid, one by a payment booked apart) and supplier invoices, saved; then the
// archive behind the books damaged in every byte of its table of entries, by
// a fixed set of random flips elsewhere, cut off, with an array's count set to
// 0 and with a reference doubled. Every damaged file opens either whole, every
// business object as it was saved, or with warning 281 and Save As required.
TEST_F(BusinessDocumentFileTest, ADamagedArchiveOpensWholeOrWithTheWarningNeverWithLessInSilence)
{
    for (auto [name, rate] : {std::pair{"Standard", 21.0}, {"Reduced", 6.0}, {"Zero", 0.0}})
        ASSERT_EQ(run(*document, 33, rateArguments(name, rate)), 1) << name;
    const long rateId = *arraysOf(*document).VATRateArray.front()->idKey();
    arguments::CAcoWArguments customer;
    customer.name = "Peeters";
    customer.createCustomerOpenInvoices = true;
    const int customerId = run(*document, 26, customer);
    arguments::CAcoWArguments supplier;
    supplier.name = "Paper & Co";
    supplier.createSupplierOpenInvoices = true;
    const int supplierId = run(*document, 26, supplier);
    ASSERT_GT(customerId, 0);
    ASSERT_GT(supplierId, 0);
    auto invoice = [&](int command, long owner, int number, bool paidAtOnce) {
        arguments::InvoiceArguments values;
        values.invoiceName = "Invoice " + std::to_string(number);
        values.thirdPartyId = owner;
        values.invoiceNumber = std::to_string(2009000000 + number);
        values.invoiceDate = 20090300 + number;
        values.dueDate = 20090400 + number;
        values.amountWithoutVAT = 100.0 * number;
        values.firstVATRateId = rateId;
        values.paymentReference = business::structuredReferenceForNumber(*values.invoiceNumber);
        values.generatePayment = paidAtOnce;
        values.paymentCategoryId = document->get_mDefExpTUnspecifiedIncome();
        const int id = run(*document, command, values);
        EXPECT_GT(id, 0) << number;
        return id;
    };
    for (int number = 1; number <= 5; ++number) invoice(38, customerId, number, number == 2);
    for (int number = 6; number <= 7; ++number) invoice(41, supplierId, number, false);
    arguments::PaymentArguments paid;
    paid.thirdPartyId = customerId;
    paid.paymentAmount = 50.0;
    paid.paymentCategoryId = document->get_mDefExpTUnspecifiedIncome();
    paid.paymentDate = 20090320;
    paid.paymentOwnerType = arguments::kOwnerTypeCustomer;
    const int paymentId = run(*document, 44, paid);
    ASSERT_GT(paymentId, 0);
    const int thirdInvoiceId = static_cast<int>(*arraysOf(*document).customerInvoiceArray.at(2)->transactionId());
    ASSERT_EQ(business::linkPaymentToInvoice(business(*document), *document->getTransactionForId(thirdInvoiceId),
                                             *document->getTransactionForId(paymentId)),
              0);

    const std::string path = folder.file("Damaged.books");
    ASSERT_TRUE(saveDocumentAs(*document, path).ok());
    const std::string file = readFile(path);
    const std::string archive = document->businessArchiveBytes().bytes;
    ASSERT_EQ(file.substr(file.size() - archive.size()), archive);
    const std::size_t archiveStart = file.size() - archive.size();

    // What opening gives: the warning and, per array, the dictionary forms.
    using Forms = std::vector<std::vector<Dictionary>>;
    auto open = [&](const std::string& bytes, long& warning) {
        writeFile(path, bytes);
        FileOutcome outcome;
        std::unique_ptr<MyDocument> opened = openWithBusiness(path, outcome);
        EXPECT_TRUE(outcome.ok());
        warning = outcome.warning;
        EXPECT_EQ(opened->mustSaveUnderNewName(), warning != 0);
        const business::BusinessArrays& arrays = arraysOf(*opened);
        Forms forms(4);
        for (const auto& rate : arrays.VATRateArray) forms[0].push_back(rate->dictionaryRepresentation());
        for (const auto& period : arrays.VATPeriodArray) forms[1].push_back(period->dictionaryRepresentation());
        for (const auto& invoice : arrays.customerInvoiceArray) forms[2].push_back(invoice->dictionaryRepresentation());
        for (const auto& invoice : arrays.supplierInvoiceArray) forms[3].push_back(invoice->dictionaryRepresentation());
        return forms;
    };
    long warning = -1;
    const Forms whole = open(file, warning);
    ASSERT_EQ(warning, 0);
    ASSERT_EQ(whole[0].size(), 3u);
    ASSERT_GE(whole[1].size(), 2u);
    ASSERT_EQ(whole[2].size(), 5u);
    ASSERT_EQ(whole[3].size(), 2u);
    ASSERT_EQ(std::count_if(whole[2].begin(), whole[2].end(),
                            [](const Dictionary& form) {
                                const Array* payments = form["paymentTransactionIdArray"].asArray();
                                return payments && payments->size() == 1;
                            }),
              2);

    int warned = 0;
    int cases = 0;
    auto check = [&](const std::string& damagedArchive, const std::string& what) {
        if (damagedArchive == archive) return;
        ++cases;
        long caseWarning = -1;
        const Forms read = open(file.substr(0, archiveStart) + damagedArchive, caseWarning);
        if (caseWarning == kIncompleteBusinessArchiveWarning) ++warned;
        else EXPECT_TRUE(caseWarning == 0 && read == whole) << what << ": opened without a word, but not whole";
    };

    // Every byte of the table of entries: the table and the names in it.
    const BinaryPlistMap map(archive);
    const std::size_t table = map.value(map.top(), "$top");
    std::vector<std::pair<std::size_t, std::size_t>> ranges{map.range(table)};
    const auto [keys, entries] = map.references(table);
    for (std::size_t i = 0; i < entries; ++i) ranges.push_back(map.range(map.reference(keys, i)));
    for (const auto& [from, to] : ranges)
        for (std::size_t at = from; at < to; ++at)
            for (unsigned char change : {0x01, 0x20, 0xFF}) {
                std::string damaged = archive;
                damaged[at] = static_cast<char>(damaged[at] ^ change);
                check(damaged, "byte " + std::to_string(at) + " ^ " + std::to_string(change));
            }

    // Random flips anywhere else, from a fixed seed.
    std::set<std::size_t> inTable;
    for (const auto& [from, to] : ranges)
        for (std::size_t at = from; at < to; ++at) inTable.insert(at);
    std::mt19937 random(35);
    for (int flip = 0; flip < 150; ++flip) {
        std::size_t at;
        do at = random() % archive.size();
        while (inTable.count(at));
        std::string damaged = archive;
        damaged[at] = static_cast<char>(damaged[at] ^ (1 << (random() % 8)));
        check(damaged, "flip at " + std::to_string(at));
    }

    // Each array: its count set to 0, and its second reference made the first.
    const std::size_t objects = map.value(map.top(), "$objects");
    const auto [objectRefs, objectCount] = map.references(objects);
    ASSERT_GT(objectCount, 0u);
    for (std::string_view key : kBusinessArchiveKeys) {
        const std::size_t array = map.reference(objectRefs, map.uid(map.value(table, std::string(key))));
        const std::size_t list = map.value(array, "NS.objects");
        const auto [at, count] = map.references(list);
        if (count == 0) continue;
        ASSERT_LT(count, 15u);
        std::string emptied = archive;
        emptied[map.range(list).first] = static_cast<char>(0xA0);
        check(emptied, std::string(key) + " count 0");
        if (count < 2) continue;
        std::string doubled = archive;
        doubled.replace(at + map.referenceSize(), map.referenceSize(), archive.substr(at, map.referenceSize()));
        check(doubled, std::string(key) + " reference doubled");
    }

    // Cut right after the end of the books.
    check(std::string(), "cut after the end tag");
    EXPECT_GT(cases, 600);
    EXPECT_GT(warned, cases / 2);
}

} // namespace
} // namespace ch::test

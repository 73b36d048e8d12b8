// The business archive behind the model stream: the five arrays written in
// the keyed-archive form of the original platform and read back, and what
// reading does with archives that are damaged, older or incomplete.

#include <gtest/gtest.h>

#include <tuple>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "../fuzz/smoke_run.h"
#include "business/BusinessArchive.h"
#include "business/BusinessArchiveChecks.h"
#include "business/VATPeriods.h"
#include "business_test_support.h"
#include "platform/core/keyed_archive.h"
#include "platform/core/plist.h"

namespace ch::business {
namespace {

using test::BusinessTest;

// Books with two rates, two periods (one closed by a balancing transaction)
// and an invoice of each kind.
class BusinessArchiveTest : public BusinessTest {
protected:
    void SetUp() override
    {
        environment.setToday({2007, 1, 15});
        initializeBusinessObjectsOfNewDocument(document);

        auto standard = std::make_shared<GXVATRate>(&document);
        standard->setIdKey(-1);
        standard->setName("Standard \xE2\x82\xAC");
        standard->setDescription("Most goods");
        standard->setRate(21.0);
        standard->setAccountIdPaid(40);
        standard->setAccountIdReceived(41);
        standard->setKeyPaid("59");
        standard->setKeyPaidCancelled("63");
        standard->setKeyReceived("54");
        standard->setKeyReceivedCancelled("64");
        standard->setCategoryInvoicedNotYetReceived(14);
        auto reduced = std::make_shared<GXVATRate>(&document);
        reduced->setIdKey(-1);
        reduced->setName("Reduced");
        reduced->setRate(6.0);
        reduced->setFiscalRecoverablePercentage(50.0);
        reduced->setAccountIdPaid(42);
        reduced->setAccountIdReceived(43);
        reduced->setAccountIdReconciled(44);
        document.arrays.VATRateArray = {reduced, standard};

        CTransaction* payment = document.addTransfer(20070110, 4, 4, 250.0);
        std::shared_ptr<CTrnSItem> item = document.books.transactionItem(payment);
        EXPECT_TRUE(tryToSetTransactionAsVATBalancePaymentTransaction(document, *item));
        document.arrays.VATPeriodArray.front()->setStatus(std::string("next"));
        document.arrays.VATPeriodArray.back()->calculatePeriod();

        auto customer = std::make_shared<GXInvoice>(&document);
        customer->setInvoiceDate(20061115);
        customer->setDueDate(20061215);
        customer->setTransactionId(812);
        customer->setIsReceivable(true);
        customer->setPaymentReference("+++200/8000/00191+++");
        customer->setPaymentTransactionIdArray({815, 820});
        customer->setcontestationInd(0);
        customer->setBlockedForReminders(false);
        auto supplier = std::make_shared<GXInvoice>(&document);
        supplier->setName("Paper");
        supplier->setInvoiceDate(20061120);
        supplier->setTransactionId(813);
        supplier->setIsReceivable(false);
        supplier->setContestationDescription("Wrong quantity");
        supplier->setReminderTransactionIdArray(std::nullopt);
        document.arrays.customerInvoiceArray = {customer};
        document.arrays.supplierInvoiceArray = {supplier};
    }

    std::string encoded(const BusinessArrays& arrays)
    {
        PlistOutput out = encodeBusinessArchive(arrays);
        EXPECT_TRUE(out.ok()) << out.error;
        return out.bytes;
    }

    // The dictionary forms of an array's objects, to compare what was read.
    template <class T>
    static std::vector<Dictionary> forms(const std::vector<std::shared_ptr<T>>& objects)
    {
        std::vector<Dictionary> result;
        for (const auto& object : objects)
            result.push_back(object->dictionaryRepresentation());
        return result;
    }
};

TEST_F(BusinessArchiveTest, ABookRoundTripsByteForByte)
{
    const std::string bytes = encoded(document.arrays);
    ASSERT_EQ(bytes.substr(0, 8), "bplist00");

    test::BusinessTestDocument other;
    BusinessArchiveContents read = decodeBusinessArchive(bytes, &other);
    ASSERT_TRUE(read.complete()) << read.problem;
    EXPECT_TRUE(read.checkVATPeriods);
    EXPECT_EQ(encoded(read.arrays), bytes);

    EXPECT_EQ(forms(read.arrays.VATRateArray), forms(document.arrays.VATRateArray));
    EXPECT_EQ(forms(read.arrays.VATPeriodArray), forms(document.arrays.VATPeriodArray));
    EXPECT_EQ(forms(read.arrays.customerInvoiceArray), forms(document.arrays.customerInvoiceArray));
    EXPECT_EQ(forms(read.arrays.supplierInvoiceArray), forms(document.arrays.supplierInvoiceArray));
    EXPECT_TRUE(read.arrays.amortisationSchemeArray.empty());
    // The closed period keeps its balancing transaction.
    const auto& closed = read.arrays.VATPeriodArray.back();
    EXPECT_TRUE(closed->closingTransactionId());
    EXPECT_EQ(closed->storedClosingDate(), 20070110);
    // Every object read belongs to the document that read it.
    for (const auto& rate : read.arrays.VATRateArray)
        EXPECT_EQ(rate->parentDocument(), &other);
    EXPECT_EQ(read.arrays.supplierInvoiceArray.front()->parentDocument(), &other);
}

TEST_F(BusinessArchiveTest, TheArchiveHasThePlatformsLayoutClassNamesAndValueSequence)
{
    ParseResult parsed = readPlist(encoded(document.arrays));
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    const Value& root = parsed.value;
    EXPECT_EQ(root["$archiver"], Value("NSKeyedArchiver"));
    EXPECT_EQ(root["$version"], Value(100000));
    const Dictionary* top = root["$top"].asDictionary();
    ASSERT_NE(top, nullptr);
    std::vector<std::string> keys;
    for (const auto entry : *top)
        keys.push_back(entry.key);
    EXPECT_EQ(keys, (std::vector<std::string>{"SERIALIZEDVATARRAY", "SERIALIZEDAMORTISATIONSCHEMEARRAY",
                                              "SERIALIZEDVATPERIODARRAY", "SERIALIZEDCUSTOMERINVOICEARRAY",
                                              "SERIALIZEDSUPPLIERINVOICEARRAY", "SERIALIZEDCHECKSUM"}));

    // Each object: its class chain and its values under "$0", "$1", ... in
    // the order of the file format.
    const Array& objects = *root["$objects"].asArray();
    auto deref = [&](const Value& reference) -> const Value& { return objects.at(reference.asUid()->index); };
    struct Expected {
        const char* className;
        const char* type;
        std::size_t values;
        std::vector<Value> firstOwnValues;
    };
    const Expected expected[] = {{"GXVATRate", "VatR", 14, {Value(6.0), Value(50.0), Value(42), Value(43), Value(44)}},
                                 {"GXVATPeriod", "VatP", 16, {Value(20070101), Value(20070331)}},
                                 {"GXInvoice", "InvC", 17, {Value(20061115), Value(20061215), Value(812), Value(true)}}};
    for (const Expected& kind : expected) {
        const Dictionary* found = nullptr;
        for (const Value& object : objects) {
            const Dictionary* fields = object.asDictionary();
            if (fields && fields->contains("$class") &&
                deref((*fields)["$class"])["$classname"] == Value(kind.className)) {
                found = fields;
                break;
            }
        }
        ASSERT_NE(found, nullptr) << kind.className;
        EXPECT_EQ(deref((*found)["$class"])["$classes"],
                  Value(Array{Value(kind.className), Value("GXNonVisual"), Value("NSObject")}));
        EXPECT_EQ(found->size(), kind.values + 1) << kind.className;
        EXPECT_EQ(deref((*found)["$0"]), Value(kind.type));
        for (std::size_t i = 0; i < kind.firstOwnValues.size(); ++i)
            EXPECT_EQ(deref((*found)["$" + std::to_string(4 + i)]), kind.firstOwnValues[i])
                << kind.className << " value " << 4 + i;
    }
}

// An archive of the given objects under the given keys only.
template <class T>
std::string archiveOf(const std::vector<std::pair<const char*, std::vector<std::shared_ptr<T>>>>& entries)
{
    KeyedArchiver archiver;
    for (const auto& [key, objects] : entries)
        archiver.encodeObjectArray(objects, key);
    return archiver.finish().bytes;
}

// A rate as an older version wrote it: fewer values after the base ones.
struct OlderRate : Archivable {
    std::vector<std::string> archiveClassNames() const override { return {"GXVATRate", "GXNonVisual", "NSObject"}; }
    void encodeWithCoder(KeyedArchiver& coder) const override
    {
        for (const Value& value : {Value("VatR"), Value(3), Value("Old"), Value(), Value(12.0), Value(100.0)})
            coder.encodeValue(value);
    }
};

TEST_F(BusinessArchiveTest, NoAmortisationSchemesAndOlderObjectsReadWithNils)
{
    const std::string bytes = archiveOf<Archivable>({{"SERIALIZEDVATARRAY", {std::make_shared<OlderRate>()}},
                                                     {"SERIALIZEDVATPERIODARRAY", {}},
                                                     {"SERIALIZEDCUSTOMERINVOICEARRAY", {}},
                                                     {"SERIALIZEDSUPPLIERINVOICEARRAY", {}}});
    BusinessArchiveContents read = decodeBusinessArchive(bytes, &document);
    ASSERT_TRUE(read.complete()) << read.problem;
    ASSERT_EQ(read.arrays.VATRateArray.size(), 1u);
    const GXVATRate& rate = *read.arrays.VATRateArray.front();
    EXPECT_EQ(rate.name(), "Old");
    EXPECT_EQ(rate.rate(), 12.0);
    EXPECT_FALSE(rate.accountIdPaid());
    EXPECT_FALSE(rate.keyReceivedCancelled());
    EXPECT_TRUE(read.arrays.amortisationSchemeArray.empty());
    EXPECT_TRUE(read.arrays.customerInvoiceArray.empty());
    EXPECT_TRUE(read.checkVATPeriods);

    // Nothing behind the end tag: five empty arrays, no period check.
    BusinessArchiveContents none = decodeBusinessArchive("", &document);
    EXPECT_TRUE(none.complete());
    EXPECT_FALSE(none.checkVATPeriods);
    EXPECT_TRUE(none.arrays.VATPeriodArray.empty());
}

// The archive with one value of the first object of the class replaced.
std::string withCorruptedMember(const std::string& bytes, const char* className, const char* key, Value value)
{
    ParseResult parsed = readPlist(bytes);
    Array& objects = *parsed.value.asDictionary()->find("$objects")->asArray();
    for (Value& object : objects) {
        Dictionary* fields = object.asDictionary();
        if (!fields || !fields->contains("$class"))
            continue;
        const Value& classDescription = objects.at((*fields)["$class"].asUid()->index);
        if (classDescription["$classname"] == Value(className)) {
            fields->set(key, std::move(value));
            break;
        }
    }
    return writePlist(parsed.value, PlistFormat::Binary).bytes;
}

TEST_F(BusinessArchiveTest, DamageCostsOnlyTheArrayItIsInAndIsReportedWithTheWarning)
{
    const std::string bytes = encoded(document.arrays);
    struct Case {
        const char* className;
        Value damage;
        const char* key;
    };
    const Case cases[] = {
        {"GXVATRate", Value(Uid{999999}), "SERIALIZEDVATARRAY"},           // a reference out of range
        {"GXVATPeriod", Value(Uid{1}), "SERIALIZEDVATPERIODARRAY"},          // refers to an object of no use
        {"GXInvoice", Value(Uid{999999}), "SERIALIZEDCUSTOMERINVOICEARRAY"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.className);
        const std::string damaged = withCorruptedMember(bytes, c.className, "$2", c.damage);
        ASSERT_NE(damaged, bytes);
        BusinessArchiveContents read = decodeBusinessArchive(damaged, &document);
        EXPECT_EQ(read.warning, kIncompleteBusinessArchiveWarning);
        EXPECT_NE(read.problem.find(c.key), std::string::npos) << read.problem;

        const bool rates = std::string(c.key) == "SERIALIZEDVATARRAY";
        const bool periods = std::string(c.key) == "SERIALIZEDVATPERIODARRAY";
        const bool customers = std::string(c.key) == "SERIALIZEDCUSTOMERINVOICEARRAY";
        EXPECT_EQ(forms(read.arrays.VATRateArray), rates ? std::vector<Dictionary>{}
                                                         : forms(document.arrays.VATRateArray));
        EXPECT_EQ(forms(read.arrays.VATPeriodArray), periods ? std::vector<Dictionary>{}
                                                             : forms(document.arrays.VATPeriodArray));
        EXPECT_EQ(forms(read.arrays.customerInvoiceArray),
                  customers ? std::vector<Dictionary>{} : forms(document.arrays.customerInvoiceArray));
        EXPECT_EQ(forms(read.arrays.supplierInvoiceArray), forms(document.arrays.supplierInvoiceArray));
        EXPECT_EQ(read.checkVATPeriods, !periods);
    }

    // Cut anywhere, the archive is refused as a whole, never silently.
    for (std::size_t length = 1; length < bytes.size(); length += 13) {
        BusinessArchiveContents read = decodeBusinessArchive(std::string_view(bytes).substr(0, length), &document);
        EXPECT_EQ(read.warning, kIncompleteBusinessArchiveWarning) << length;
        EXPECT_FALSE(read.problem.empty());
        EXPECT_FALSE(read.checkVATPeriods);
    }

    // An object of a class that is no business class, where the amortisation
    // schemes belong.
    KeyedArchiver archiver;
    archiver.encodeObjectArray(std::vector<std::shared_ptr<OlderRate>>{}, "SERIALIZEDVATARRAY");
    archiver.encodeObjectArray(document.arrays.VATPeriodArray, "SERIALIZEDAMORTISATIONSCHEMEARRAY");
    BusinessArchiveContents read = decodeBusinessArchive(archiver.finish().bytes, &document);
    EXPECT_EQ(read.warning, kIncompleteBusinessArchiveWarning);
    EXPECT_TRUE(read.arrays.amortisationSchemeArray.empty());
}

// An object of a business class as another program might have written it.
struct Handmade : Archivable {
    std::string className;
    std::vector<Value> values;
    std::vector<std::pair<std::string, Value>> keyed;
    std::vector<std::string> archiveClassNames() const override { return {className, "GXNonVisual", "NSObject"}; }
    void encodeWithCoder(KeyedArchiver& coder) const override
    {
        for (const Value& value : values)
            coder.encodeValue(value);
        for (const auto& [key, value] : keyed)
            coder.encodeValue(value, key);
    }
};

// The archive's plist with the change made, written again.
std::string rewritten(const std::string& bytes, const std::function<void(Dictionary& root)>& change)
{
    ParseResult parsed = readPlist(bytes);
    change(*parsed.value.asDictionary());
    return writePlist(parsed.value, PlistFormat::Binary).bytes;
}

// The counters the books numbered their objects from travel with the arrays:
// read back as written, absent from archives written without them, and a
// value that is no three counters is damage like any other.
TEST_F(BusinessArchiveTest, TheIdCountersAreReadAsWrittenAndDamageToThemIsReported)
{
    const BusinessIdCounters saved{5, 3, 0};
    PlistOutput out = encodeBusinessArchive(document.arrays, &saved);
    ASSERT_TRUE(out.ok()) << out.error;
    BusinessArchiveContents read = decodeBusinessArchive(out.bytes, nullptr);
    EXPECT_TRUE(read.complete()) << read.problem;
    ASSERT_TRUE(read.counters.has_value());
    EXPECT_EQ(std::tuple(read.counters->VATRates, read.counters->VATPeriods, read.counters->invoices),
              std::tuple(5, 3, 0));

    BusinessArchiveContents without = decodeBusinessArchive(encoded(document.arrays), nullptr);
    EXPECT_TRUE(without.complete()) << without.problem;
    EXPECT_FALSE(without.counters.has_value());

    for (const char* damaged : {"5 x 0", "5 3", "5 3 0 1", "-1 3 0"}) {
        SCOPED_TRACE(damaged);
        const std::string bytes = rewritten(out.bytes, [&](Dictionary& root) {
            for (Value& object : *root.find("$objects")->asArray())
                if (object.asString() && *object.asString() == "5 3 0") object = Value(std::string(damaged));
        });
        BusinessArchiveContents hurt = decodeBusinessArchive(bytes, nullptr);
        EXPECT_FALSE(hurt.complete());
        EXPECT_NE(hurt.problem.find("SERIALIZEDIDCOUNTERS"), std::string::npos) << hurt.problem;
        EXPECT_FALSE(hurt.counters.has_value());
        EXPECT_EQ(hurt.arrays.VATRateArray.size(), document.arrays.VATRateArray.size());
    }
}

TEST_F(BusinessArchiveTest, DamageThatStillReadsIsReportedAndKeepsWhatCanBeKept)
{
    const std::string ours = encoded(document.arrays);
    auto invoice = [](std::vector<Value> values) {
        auto made = std::make_shared<Handmade>();
        made->className = "GXInvoice";
        made->values = {Value("InvC"), Value(7), Value(), Value()};
        made->values.insert(made->values.end(), values.begin(), values.end());
        return made;
    };
    auto archive = [](const std::shared_ptr<Handmade>& object, const char* key) {
        KeyedArchiver archiver;
        for (std::string_view entry : kBusinessArchiveKeys)
            archiver.encodeObjectArray(entry == key ? std::vector<std::shared_ptr<Handmade>>{object}
                                                    : std::vector<std::shared_ptr<Handmade>>{},
                                       entry);
        return archiver.finish().bytes;
    };
    auto rate = std::make_shared<Handmade>();
    rate->className = "GXVATRate";
    rate->values = {Value("VatR"), Value(3), Value("Big"), Value(), Value(21.0), Value(100.0),
                    Value(std::int64_t(1) << 40)};
    auto keyedField = invoice({Value(20061115)});
    keyedField->keyed = {{"dueDate", Value(20061215)}};
    struct Case {
        const char* what;
        std::string bytes;
        const char* where; // in the problem told
        std::size_t customerInvoices;
    };
    const Case cases[] = {
        {"a due date of text", archive(invoice({Value(20061115), Value("soon"), Value(812)}), kBusinessArchiveKeys[3].data()),
         "dueDate", 1},
        {"payments holding text", archive(invoice({Value(20061115), Value(), Value(812), Value(true), Value(),
                                                   Value(Array{Value(815), Value("x")})}),
                                          kBusinessArchiveKeys[3].data()),
         "paymentTransactionIdArray", 1},
        {"an account id beyond 32 bits", archive(rate, kBusinessArchiveKeys[0].data()), "accountIdPaid", 0},
        {"a field under a name", archive(keyedField, kBusinessArchiveKeys[3].data()), "dueDate", 1},
        {"no customer invoice entry", archiveOf<GXVATRate>({{"SERIALIZEDVATARRAY", document.arrays.VATRateArray},
                                                            {"SERIALIZEDAMORTISATIONSCHEMEARRAY", {}},
                                                            {"SERIALIZEDVATPERIODARRAY", {}},
                                                            {"SERIALIZEDSUPPLIERINVOICEARRAY", {}}}),
         "SERIALIZEDCUSTOMERINVOICEARRAY", 0},
        {"an entry renamed", rewritten(ours, [](Dictionary& root) {
             Dictionary& top = *root.find("$top")->asDictionary();
             Value entry = top["SERIALIZEDSUPPLIERINVOICEARRAY"];
             top.remove("SERIALIZEDSUPPLIERINVOICEARRAY");
             top.set("SERIALIZEDSUPPLIERINVOICEARRAX", entry);
         }),
         "SERIALIZEDSUPPLIERINVOICEARRAX", 1},
        {"a date changed by one day", rewritten(ours, [](Dictionary& root) {
             for (Value& entry : *root.find("$objects")->asArray())
                 if (entry == Value(20061115))
                     entry = Value(20061116);
         }),
         "SERIALIZEDCHECKSUM", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BusinessArchiveContents read = decodeBusinessArchive(c.bytes, &document);
        EXPECT_EQ(read.warning, kIncompleteBusinessArchiveWarning);
        EXPECT_NE(read.problem.find(c.where), std::string::npos) << read.problem;
        EXPECT_EQ(read.arrays.customerInvoiceArray.size(), c.customerInvoices);
    }
    // An entry a later version adds beside arrays that match their checksum
    // is no damage.
    const std::string later = rewritten(ours, [](Dictionary& root) {
        Array& objects = *root.find("$objects")->asArray();
        objects.push_back(Value("stamp"));
        root.find("$top")->asDictionary()->set("SERIALIZEDSAVESTAMP", Value(Uid{objects.size() - 1}));
    });
    BusinessArchiveContents laterRead = decodeBusinessArchive(later, &document);
    EXPECT_TRUE(laterRead.complete()) << laterRead.problem;
    EXPECT_TRUE(laterRead.matchesChecksum);

    // A value of the wrong kind costs that value only.
    BusinessArchiveContents read = decodeBusinessArchive(cases[0].bytes, &document);
    ASSERT_EQ(read.arrays.customerInvoiceArray.size(), 1u);
    EXPECT_FALSE(read.arrays.customerInvoiceArray.front()->dueDate());
    EXPECT_EQ(read.arrays.customerInvoiceArray.front()->transactionId(), 812);
}

TEST_F(BusinessArchiveTest, EveryIdNamesAnObjectOfItsKindInTheBooksAndEveryDateIsADate)
{
    for (ObjectIdT id : {40, 41, 42})
        document.books.addAccount(id, 1, "VAT");
    document.books.addCategory(14, 1, "VAT invoiced");
    const long invoiceId = document.addTransfer(20061115, 4, 4, 10.0)->Get_Id();
    const long paymentId = document.addTransfer(20061201, 4, 4, 10.0)->Get_Id();
    const long closingId = document.addTransfer(20070110, 4, 4, 10.0)->Get_Id();
    // One object of each kind that names only what the books hold.
    auto fresh = [&] {
        BusinessArrays arrays;
        auto rate = std::make_shared<GXVATRate>(&document);
        rate->setAccountIdPaid(40);
        rate->setAccountIdReceived(41);
        rate->setAccountIdReconciled(42);
        rate->setCategoryInvoicedNotYetReceived(14);
        auto period = std::make_shared<GXVATPeriod>(&document);
        period->setStartDate(20070101);
        period->setEndDate(20070331);
        period->setClosingTransactionId(closingId);
        period->setClosingDate(20070110);
        auto invoice = std::make_shared<GXInvoice>(&document);
        invoice->setTransactionId(invoiceId);
        invoice->setInvoiceDate(20061115);
        invoice->setDueDate(20061215);
        invoice->setPaymentTransactionIdArray({paymentId});
        arrays.VATRateArray = {rate};
        arrays.VATPeriodArray = {period};
        arrays.supplierInvoiceArray = {invoice};
        return arrays;
    };
    const CDocAccounting& books = document.books.root();
    // A transaction's id that no account shares: an id of another kind.
    long notAnAccount = invoiceId;
    while (books.GetAccountForID(notAnAccount)) notAnAccount = document.addTransfer(20061115, 4, 4, 1.0)->Get_Id();
    EXPECT_EQ(namesMissingFromBooks(fresh(), books), "");
    // An invoice whose transaction was deleted, with reminders deleted too.
    BusinessArrays stale = fresh();
    stale.supplierInvoiceArray[0]->setTransactionId(closingId + 100);
    stale.supplierInvoiceArray[0]->setReminderTransactionIdArray(std::vector<long>{closingId + 101});
    EXPECT_EQ(namesMissingFromBooks(stale, books), "");

    struct Case {
        const char* field;
        std::function<void(BusinessArrays&)> damage;
    };
    const Case cases[] = {
        {"accountIdPaid", [](BusinessArrays& a) { a.VATRateArray[0]->setAccountIdPaid(0); }},
        {"accountIdReceived", [&](BusinessArrays& a) { a.VATRateArray[0]->setAccountIdReceived(notAnAccount); }},
        {"categoryInvoicedNotYetReceived", [](BusinessArrays& a) { a.VATRateArray[0]->setCategoryInvoicedNotYetReceived(40); }},
        {"startDate", [](BusinessArrays& a) { a.VATPeriodArray[0]->setStartDate(20070132); }},
        {"closingTransactionId", [](BusinessArrays& a) { a.VATPeriodArray[0]->setClosingTransactionId(41); }},
        {"transactionId", [](BusinessArrays& a) { a.supplierInvoiceArray[0]->setTransactionId(std::nullopt); }},
        {"transactionId", [](BusinessArrays& a) { a.supplierInvoiceArray[0]->setTransactionId(0); }},
        {"reminderTransactionIdArray", [](BusinessArrays& a) {
             a.supplierInvoiceArray[0]->setReminderTransactionIdArray(std::vector<long>{-1});
         }},
        {"dueDate", [](BusinessArrays& a) { a.supplierInvoiceArray[0]->setDueDate(0); }},
        {"invoiceDate", [](BusinessArrays& a) { a.supplierInvoiceArray[0]->setInvoiceDate(20060229); }},
        {"paymentTransactionIdArray", [&](BusinessArrays& a) {
             a.supplierInvoiceArray[0]->setPaymentTransactionIdArray({paymentId, 40});
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        BusinessArrays arrays = fresh();
        c.damage(arrays);
        EXPECT_NE(namesMissingFromBooks(arrays, books).find(c.field), std::string::npos);
    }
}

TEST_F(BusinessArchiveTest, ATextThatCouldNotBeWrittenAgainCostsItsArrayWithTheWarning)
{
    // A rate's name holding a NUL character, which a file may carry but no
    // archive can be written with: saving such books would always fail.
    document.arrays.VATRateArray.front()->setName("Rate*NUL*");
    std::string bytes = encoded(document.arrays);
    const std::size_t at = bytes.find("Rate*NUL*");
    ASSERT_NE(at, std::string::npos);
    bytes[at + 4] = '\0';

    BusinessArchiveContents read = decodeBusinessArchive(bytes, &document);
    EXPECT_EQ(read.warning, kIncompleteBusinessArchiveWarning);
    EXPECT_NE(read.problem.find("SERIALIZEDVATARRAY"), std::string::npos) << read.problem;
    EXPECT_TRUE(read.arrays.VATRateArray.empty());
    EXPECT_EQ(forms(read.arrays.VATPeriodArray), forms(document.arrays.VATPeriodArray));
    EXPECT_TRUE(read.checkVATPeriods);
    EXPECT_TRUE(encodeBusinessArchive(read.arrays).ok());
}

TEST_F(BusinessArchiveTest, DamagedArchivesNeverCrashAndWhatReadsCompletelyWritesBackStably)
{
    const std::vector<std::string> corpus{encoded(document.arrays),
                                          encoded(BusinessArrays{document.arrays.VATRateArray, {}, {}, {}, {}})};
    std::mt19937 random(20070115);
    for (int i = 0; i < 3000; ++i) {
        const std::string input = fuzz::mutate(corpus, random);
        BusinessArchiveContents read = decodeBusinessArchive(input, &document);
        if (!read.complete())
            continue;
        const std::string again = encoded(read.arrays);
        BusinessArchiveContents reread = decodeBusinessArchive(again, &document);
        ASSERT_TRUE(reread.complete()) << fuzz::hexPrefix(input);
        ASSERT_EQ(encoded(reread.arrays), again) << fuzz::hexPrefix(input);
    }
}

} // namespace
} // namespace ch::business

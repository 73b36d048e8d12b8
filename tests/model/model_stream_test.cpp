// The model stream: a set of books with settings, owners and banks written
// and read back, files of older versions, the version checks and the old-file
// upgrade, and damaged data refused without crashing.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/CAccountOwner.h"
#include "model/CBank.h"
#include "model/CDocAccounting.h"
#include "model/CHierarchyRoot.h"
#include "model/CNamedListArray.h"
#include "model/CPreference.h"
#include "model/foundation/LStream.h"
#include "model_test_support.h"

namespace ch {
namespace {

using test::ByteVector;
using test::Load;
using test::ModelEnvironment;
using test::Save;
using test::StreamReader;
using test::StreamWriter;

CBank* AddBank(CDocAccounting& root, const char* name, const char* plugin)
{
    auto* bank = new CBank(&root);
    bank->Import(name, plugin, "Street", "09 1", "09 2", "bank@example.test", "BE1");
    root.mBankList->AppendObject(bank);
    return bank;
}

// Settings with changed values, two owners, two banks (not in name order),
// and an opened hierarchy root.
void FillBooks(CDocAccounting& root)
{
    root.mPreference = new CPreference(&root, 1);
    root.mPreference->Put_mCurrencyName("EUR");
    root.mPreference->Put_mDefaultCreditCardAccount(8);
    root.mPreference->Put_mCurrentYearStart(4);

    root.InsertAccountOwner(1, "Me", "Self", "Home 1", "1", "2", "me@example.test", "");
    CAccountOwner* customer = root.InsertAccountOwner(0, "Customer \xE2\x82\xAC", "Ann", "Street 2", "3",
                                                      "4", "ann@example.test", "BE0123");
    customer->Put_mCFAddressbookId("UID-1");
    customer->Put_mCFcity("Gent");
    customer->setMDebitorAccount(21);
    customer->setCustomerPaymentCategory(5);
    customer->setSupplierInvoiceCategory(6);
    customer->Put_mb_IsOpen(true);
    customer->Put_StringrefDesc("A good customer");
    root.mAccountOwnerList->Sort();

    AddBank(root, "Zeta Bank", "zeta");
    AddBank(root, "Alpha Bank", "alpha");
    root.Get_ExpenseTypeRoot()->Put_mb_IsOpen(true);
}

TEST(ModelStream, BooksReadBackToTheSameObjectsAndBytes)
{
    ModelEnvironment environment;
    CDocAccounting original;
    FillBooks(original);
    ByteVector first = Save(original);

    CDocAccounting copy;
    ASSERT_TRUE(Load(copy, first));
    EXPECT_TRUE(environment.alerts().records().empty());
    ASSERT_NE(copy.mPreference, nullptr);
    EXPECT_EQ(copy.mFileVersion, version::k2_00);
    EXPECT_EQ(copy.mPreference->Get_mDefaultCreditCardAccount(), 8);
    EXPECT_EQ(copy.mPreference->Get_mCurrentYearStart(), 4);

    ASSERT_EQ(copy.mAccountOwnerList->GetCount(), 2u);
    CAccountOwner* customer = copy.GetAccountOwnerForUID("uid-1");
    ASSERT_NE(customer, nullptr);
    EXPECT_EQ(customer->Get_StringrefName(), "Customer \xE2\x82\xAC");
    EXPECT_EQ(customer->Get_StringrefDesc(), "A good customer");
    EXPECT_TRUE(customer->Get_mb_IsOpen());
    EXPECT_EQ(customer->Get_mCFcity(), "Gent");
    EXPECT_EQ(customer->getMDebitorAccount(), 21);
    EXPECT_EQ(customer->getCustomerPaymentCategory(), 5);
    EXPECT_EQ(customer->getSupplierInvoiceCategory(), 6);
    EXPECT_EQ(customer->Get_Document(), &copy);
    ASSERT_NE(copy.Get_Me(), nullptr);
    EXPECT_EQ(copy.Get_Me()->Get_mCFfirstName(), "Self");

    ASSERT_EQ(copy.mBankList->GetCount(), 2u);   // banks keep their record order
    EXPECT_EQ(copy.mBankList->ObjectAt(1)->Get_StringrefName(), "Zeta Bank");
    char plugin[CBank::kPluginNameSize];
    static_cast<CBank*>(copy.mBankList->ObjectAt(2))->Get_mBanK_PluginName(plugin);
    EXPECT_STREQ(plugin, "alpha");

    EXPECT_TRUE(copy.Get_ExpenseTypeRoot()->Get_mb_IsOpen());
    EXPECT_FALSE(copy.Get_AccountRoot()->Get_mb_IsOpen());
    EXPECT_EQ(copy.mRootList->GetCount(), 2u);   // the roots are fixed, never added

    // Reading orders the hierarchy roots by name (a new root holds them the
    // other way round); from then on the bytes stay the same.
    ByteVector second = Save(copy);
    CDocAccounting again;
    ASSERT_TRUE(Load(again, second));
    EXPECT_EQ(Save(again), second);
    EXPECT_EQ(Save(original), first);
    EXPECT_EQ(second.size(), first.size());
}

TEST(ModelStream, ANewDocumentsFileReadsBack)
{
    // The settings record of a new document has no version until it is
    // written; the owners must be written for the version it then states.
    ModelEnvironment environment;
    CDocAccounting original;
    original.mPreference = new CPreference(&original, 1);
    ASSERT_EQ(original.fileVersion(), 0u);
    CAccountOwner* me = original.InsertAccountOwner(1, "Me", std::nullopt, std::nullopt, std::nullopt,
                                                    std::nullopt, std::nullopt, std::nullopt);
    me->setSupplierInvoiceCategory(9);
    AddBank(original, "Bank", "plugin");
    ByteVector bytes = Save(original);

    CDocAccounting copy;
    ASSERT_TRUE(Load(copy, bytes));
    EXPECT_EQ(copy.Get_Me()->getSupplierInvoiceCategory(), 9);
    EXPECT_EQ(copy.mBankList->GetCount(), 1u);
}

TEST(ModelStream, SavingWithoutSettingsStillMakesABook)
{
    ModelEnvironment environment;
    CDocAccounting original;
    ByteVector bytes = Save(original);
    CDocAccounting copy;
    EXPECT_TRUE(Load(copy, bytes));
}

TEST(ModelStream, MarkerStandsOnTheEndTag)
{
    ModelEnvironment environment;
    CDocAccounting original;
    FillBooks(original);
    ByteVector bytes = Save(original);
    std::size_t modelSize = bytes.size();
    bytes.insert(bytes.end(), {'b', 'p', 'l', 'i', 's', 't'});   // the document's own part

    CDocAccounting copy;
    StreamReader reader(bytes);
    ASSERT_TRUE(copy.initFromStream(reader.stream()));
    EXPECT_EQ(reader->GetMarker(), static_cast<std::int32_t>(modelSize - 4));
    FourCharCode tag = 0;
    reader->ReadBigOsType(tag);
    EXPECT_EQ(tag, type::kEndOfModel);
}

TEST(ModelStream, SettingsAreLookedForInTheFirst5000Bytes)
{
    ModelEnvironment environment;
    CDocAccounting original;
    FillBooks(original);
    ByteVector books = Save(original);

    for (std::size_t junk : {std::size_t(0), std::size_t(100), std::size_t(5000), std::size_t(5001)}) {
        SCOPED_TRACE(junk);
        environment.alerts().clear();
        ByteVector bytes(junk, 'P');   // near misses of the tag's first letter
        bytes.insert(bytes.end(), books.begin(), books.end());
        CDocAccounting copy;
        bool expected = junk <= 5000;
        EXPECT_EQ(Load(copy, bytes), expected);
        EXPECT_EQ(copy.mAccountOwnerList->GetCount(), expected ? 2u : 0u);
        EXPECT_EQ(environment.alerts().numbers(), expected ? std::vector<long>{} : std::vector<long>{172});
    }

    // Not a document: refused as unreadable.
    for (const ByteVector& bytes : {ByteVector{}, ByteVector(300, 0)}) {
        environment.alerts().clear();
        CDocAccounting empty;
        EXPECT_FALSE(Load(empty, bytes));
        EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{172});
    }
}

// A file of the given version: settings, the hierarchy root 3 opened, owner 7
// in the layout of that version, a bank, 'FiNi'.
ByteVector OldFile(FourCharCode fileVersion, std::int32_t decimals = 2)
{
    StreamWriter w;
    test::WriteSettingsRecord(w.stream(), fileVersion, 3, decimals);
    auto header = [&](FourCharCode typeCode, ObjectIdT id, const char* name) {
        w->WriteBigOsType(typeCode);
        w->WriteObjectIdT(id);
        w->WriteCString(name);
        w->WriteEnumT(status::kNormal);
        if (version::AtLeast(fileVersion, version::k1_01)) w->WriteEnumT(1);
        if (version::AtLeast(fileVersion, version::k1_10)) {
            w->WriteCFString(std::string(name) + " (Unicode)");
            w->WriteCFString("Description");
        }
    };
    header(type::kHierarchyRoot, 3, "Groups");
    header(type::kAccountOwner, 7, "Jos\x8E");
    if (version::AtLeast(fileVersion, version::k1_10)) {
        for (ObjectIdT id : {31, 32, 33, 34}) w->WriteObjectIdT(id);
        for (const char* text : {"Jos", "Street", "9000", "VL", "Gent", "09", "fax", "j@x.test", "BE9", "UID"})
            w->WriteCFString(text);
        if (version::AtLeast(fileVersion, version::k2_00))
            for (ObjectIdT id : {45, 46}) w->WriteObjectIdT(id);
    } else {
        for (const char* text : {"Jos", "Street", "09", "fax", "j@x.test", "BE9"}) w->WriteCString(text);
        for (ObjectIdT id : {31, 32, 33, 34}) w->WriteObjectIdT(id);
    }
    header(type::kBank, 2, "Bank");
    for (const char* text : {"plugin", "address", "phone", "fax", "mail", "vat"}) w->WriteCString(text);
    for (int i = 0; i < 4; ++i) w->WriteObjectIdT(0);
    w->WriteBigOsType(type::kEndOfModel);
    return w.bytes();
}

TEST(ModelStream, OlderFilesReadWithTheirDefaults)
{
    ModelEnvironment environment;
    const struct {
        const char* version;
        bool open;
        const char* name;
        const char* description;
        bool hasCity;
        ObjectIdT paymentCategory;
    } cases[] = {
        {"0.60", false, "Jos\xC3\xA9", "", false, 2},
        {"1.00", false, "Jos\xC3\xA9", "", false, 2},
        {"1.05", true, "Jos\xC3\xA9", "", false, 2},
        {"1.10", true, "Jos\xEF\xBF\xBD (Unicode)", "Description", true, 2},
        {"2.00", true, "Jos\xEF\xBF\xBD (Unicode)", "Description", true, 45},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        FourCharCode fileVersion = fourCCFromString(c.version);
        CDocAccounting root;
        ASSERT_TRUE(Load(root, OldFile(fileVersion)));
        EXPECT_EQ(root.mFileVersion, fileVersion);
        EXPECT_EQ(root.Get_ExpenseTypeRoot()->Get_mb_IsOpen(), c.open);
        CAccountOwner* owner = root.GetAccountOwnerForId(7);
        ASSERT_NE(owner, nullptr);
        EXPECT_EQ(owner->Get_mb_IsOpen(), c.open);
        EXPECT_EQ(owner->Get_StringrefName(), c.name);
        EXPECT_EQ(owner->Get_StringrefDesc(), c.description);
        EXPECT_EQ(owner->Get_mCFaddress(), "Street");
        EXPECT_EQ(owner->getMCreditorAccount(), 34);
        EXPECT_EQ(owner->Get_mCFcity().has_value(), c.hasCity);
        EXPECT_EQ(owner->getCustomerPaymentCategory(), c.paymentCategory);
        EXPECT_EQ(root.mBankList->GetCount(), 1u);
        // Only files before '0.61' gain the VAT account kinds.
        bool upgraded = fileVersion == version::k0_60;
        EXPECT_EQ(root.mAccountKindList->GetValueForId(4) != nullptr, upgraded);
        EXPECT_EQ(root.mAccountKindList->GetValueForId(5) != nullptr, upgraded);
    }
    EXPECT_TRUE(environment.alerts().records().empty());
}

TEST(ModelStream, OtherDecimalsAlertButLoad)
{
    ModelEnvironment environment;
    CDocAccounting root;
    EXPECT_TRUE(Load(root, OldFile(version::k2_00, 3)));
    ASSERT_EQ(environment.alerts().numbers(), std::vector<long>{209});
    const std::string& message = environment.alerts().records()[0].alert.message;
    EXPECT_LT(message.find('3'), message.find('2'));   // the document's count first
    EXPECT_EQ(root.mAccountOwnerList->GetCount(), 1u);
}

TEST(ModelStream, OldFilesAreUpgradedWhateverTheirDecimals)
{
    ModelEnvironment environment;
    CDecimal::putNrOfDecimals(3);   // '0.60' files always read as 2 decimals
    CDocAccounting root;
    EXPECT_TRUE(Load(root, OldFile(version::k0_60)));
    EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{209});
    ASSERT_NE(root.mAccountKindList->GetValueForId(4), nullptr);
    EXPECT_EQ(root.mAccountKindList->GetValueForId(4)->Get_StringrefName(), "VAT To Recuperate");
    EXPECT_EQ(root.mAccountKindList->GetValueForId(5)->Get_StringrefName(), "VAT To Pay");
}

TEST(ModelStream, UnsupportedVersionsAreRefusedWithAnAlert)
{
    ModelEnvironment environment;
    // A code that reads like a version is a later one; any other is damage.
    const struct {
        const char* version;
        long error;
    } cases[] = {{"3.00", 139}, {"1.12", 139}, {"x.1z", 172}, {"stpp", 172}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        environment.alerts().clear();
        CDocAccounting root;
        EXPECT_FALSE(Load(root, OldFile(fourCCFromString(c.version))));
        EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{c.error});
        ASSERT_NE(root.mPreference, nullptr);   // what was read stays
        EXPECT_EQ(root.fileVersion(), version::kStop);
        EXPECT_EQ(root.mAccountOwnerList->GetCount(), 0u);
    }
}

TEST(ModelStream, ReadingRaisesTheIdCounter)
{
    ModelEnvironment environment;
    CDocAccounting original;
    const ObjectIdT base = original.Ids().mi_MaxId;
    original.mPreference = new CPreference(&original, 1);
    original.InsertAccountOwner(base + 500, "Near", std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                                std::nullopt, std::nullopt);
    original.InsertAccountOwner(base + 500 + 200000, "Far", std::nullopt, std::nullopt, std::nullopt,
                                std::nullopt, std::nullopt, std::nullopt);
    ByteVector bytes = Save(original);

    CDocAccounting copy;
    ASSERT_EQ(copy.Ids().mi_MaxId, base);   // a new set of books starts where the first one did
    ASSERT_TRUE(Load(copy, bytes));
    EXPECT_EQ(copy.Ids().mi_MaxId, base + 500);   // the far id does not move it
    CAccountOwner* added = copy.InsertAccountOwner(0, "New", std::nullopt, std::nullopt, std::nullopt,
                                                   std::nullopt, std::nullopt, std::nullopt);
    EXPECT_GT(added->Get_Id(), base + 500);
}

// The bytes of a saved book with `tail` put where 'FiNi' was.
ByteVector WithTail(const ByteVector& books, const ByteVector& tail)
{
    ByteVector bytes(books.begin(), books.end() - 4);
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

ByteVector Tag(FourCharCode tag)
{
    StreamWriter w;
    w->WriteBigOsType(tag);
    return w.bytes();
}

TEST(ModelStream, DamagedDataIsRefused)
{
    ModelEnvironment environment;
    CDocAccounting original;
    FillBooks(original);
    ByteVector books = Save(original);

    // Each refusal says so, once, with the number of a damaged file.
    auto expectRefused = [&](const ByteVector& bytes) {
        environment.alerts().clear();
        CDocAccounting root;
        EXPECT_FALSE(Load(root, bytes));
        EXPECT_EQ(environment.alerts().numbers(), std::vector<long>{172});
    };

    // Every truncation: the records end before 'FiNi'.
    for (std::size_t size = 0; size < books.size(); ++size) {
        SCOPED_TRACE(size);
        expectRefused(ByteVector(books.begin(), books.begin() + size));
    }

    // Unknown or misplaced records: an unknown tag, a rate with no currency
    // before it, a line with no transaction, a second settings record.
    StreamWriter settings;
    original.mPreference->PutStream(settings.stream());
    ByteVector rateRecord = Tag(type::kCurrencyRate);
    rateRecord.resize(60, 0);
    for (const ByteVector& tail :
         {Tag(fourCC("XyZw")), rateRecord, Tag(type::kDebit), Tag(type::kCredit), Tag(type::kExpenseTypeDetail),
          settings.bytes()}) {
        ByteVector withFiNi = tail;
        ByteVector end = Tag(type::kEndOfModel);
        withFiNi.insert(withFiNi.end(), end.begin(), end.end());
        expectRefused(WithTail(books, withFiNi));
    }

    // A record that declares more bytes than there are.
    StreamWriter bank;
    bank->WriteBigOsType(type::kBank);
    bank->WriteObjectIdT(5);
    bank->WriteLong(0x7FFFFFF0);
    expectRefused(WithTail(books, bank.bytes()));
}

TEST(ModelStream, RecordsBeforeTheSettingsAreNotRead)
{
    ModelEnvironment environment;
    CDocAccounting original;
    FillBooks(original);
    ByteVector books = Save(original);

    CBank stray(nullptr);
    StreamWriter before;
    stray.PutStream(before.stream());
    ByteVector bytes = before.bytes();
    bytes.insert(bytes.end(), books.begin(), books.end());
    CDocAccounting copy;
    ASSERT_TRUE(Load(copy, bytes));
    EXPECT_EQ(copy.mBankList->GetCount(), 2u);
}

} // namespace
} // namespace ch

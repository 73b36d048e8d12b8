// Account owners and banks: their texts and their records in every layout.

#include <gtest/gtest.h>

#include <string>

#include "model/CAccountOwner.h"
#include "model/CBank.h"
#include "model/CPreference.h"
#include "model/foundation/LException.h"
#include "model/foundation/LStream.h"
#include "model_test_support.h"

namespace ch {
namespace {

using test::ModelEnvironment;
using test::StreamReader;
using test::StreamWriter;

TEST(AccountOwner, DefaultsAndTextSetters)
{
    ModelEnvironment environment;
    CAccountOwner owner;
    EXPECT_EQ(owner.Get_ObjectType(), type::kAccountOwner);
    EXPECT_EQ(owner.Get_mCFfirstName(), "First Name");
    EXPECT_EQ(owner.Get_mCFVATNr(), "");
    EXPECT_FALSE(owner.Get_mCFpostCode());
    EXPECT_EQ(owner.getMDebitorAccount(), -1);
    EXPECT_EQ(owner.getSupplierInvoiceCategory(), -1);

    owner.Put_mCFcity("Gent");
    owner.Put_mCFcity("GENT");          // a change of letter case only keeps the stored text
    EXPECT_EQ(owner.Get_mCFcity(), "Gent");
    owner.Put_mCFcity("Brugge");
    EXPECT_EQ(owner.Get_mCFcity(), "Brugge");
    owner.Put_mCFeMail(std::nullopt);   // absent becomes empty
    EXPECT_EQ(owner.Get_mCFeMail(), "");

    owner.Import("ACME", "Wile", "Desert 1", "555", std::nullopt, "w@acme.test", "BE0123");
    EXPECT_EQ(owner.Get_StringrefName(), "ACME");
    EXPECT_EQ(owner.Get_mCFphone(), "555");
    EXPECT_EQ(owner.Get_mCFfax(), "");
    EXPECT_TRUE(owner.BeforeDelete());
}

// An owner record of a file before '1.10': six 8-bit texts, then four accounts.
test::ByteVector OldOwnerRecord()
{
    StreamWriter w;
    w->WriteBigOsType(type::kAccountOwner);
    w->WriteObjectIdT(7);
    w->WriteCString("Jos\x8E");
    w->WriteEnumT(status::kNormal);
    w->WriteEnumT(1);   // open flag ('1.01' and later)
    for (const char* text : {"Jos", "Kerkstraat 1", "09 123", "09 456", "jos@example.test", "BE999"})
        w->WriteCString(text);
    for (ObjectIdT id : {31, 32, 33, 34}) w->WriteObjectIdT(id);
    w->WriteBigOsType(type::kEndOfModel);
    return w.bytes();
}

TEST(AccountOwner, ReadsTheOldLayout)
{
    ModelEnvironment environment;
    StreamReader reader(OldOwnerRecord());
    CAccountOwner owner(reader.stream(), version::k1_05);
    EXPECT_EQ(owner.Get_Id(), 7);
    EXPECT_EQ(owner.Get_StringrefName(), "Jos\xC3\xA9");
    EXPECT_TRUE(owner.Get_mb_IsOpen());
    EXPECT_EQ(owner.Get_mCFaddress(), "Kerkstraat 1");
    EXPECT_EQ(owner.Get_mCFVATNr(), "BE999");
    EXPECT_EQ(owner.getMOpenDebitInvoiceAccount(), 31);
    EXPECT_EQ(owner.getMCreditorAccount(), 34);
    EXPECT_FALSE(owner.Get_mCFpostCode());
    EXPECT_FALSE(owner.Get_mCFstate());
    EXPECT_FALSE(owner.Get_mCFcity());
    EXPECT_FALSE(owner.Get_mCFAddressbookId());
    EXPECT_EQ(owner.getCustomerPaymentCategory(), 2);
    EXPECT_EQ(owner.getSupplierInvoiceCategory(), 1);
    FourCharCode next = 0;
    reader->ReadBigOsType(next);
    EXPECT_EQ(next, type::kEndOfModel);
}

TEST(AccountOwner, RecordFollowsTheDocumentsVersion)
{
    ModelEnvironment environment;
    CDocAccounting root;
    auto* settings = new CPreference(&root, 1);
    root.mPreference = settings;

    CAccountOwner owner(70700);
    owner.Put_Document(&root);
    owner.Put_Name("Supplier");
    owner.Put_mCFstate("VL");
    owner.Put_mCFAddressbookId("ABC-123");
    owner.setMDebitorAccount(12);
    owner.setCustomerPaymentCategory(5);
    owner.setSupplierInvoiceCategory(6);

    for (FourCharCode fileVersion : {version::k1_10, version::k2_00}) {
        SCOPED_TRACE(fourCCToString(fileVersion));
        settings->Put_Version(fileVersion);
        StreamWriter writer;
        owner.PutStream(writer.stream());
        StreamReader reader(writer.bytes());
        CAccountOwner copy(reader.stream(), fileVersion);
        EXPECT_EQ(reader->GetMarker(), reader->GetLength());   // the record ends where the reader stops
        EXPECT_EQ(copy.Get_StringrefName(), "Supplier");
        EXPECT_EQ(copy.Get_mCFstate(), "VL");
        EXPECT_EQ(copy.Get_mCFpostCode(), "");   // never set: written as empty
        EXPECT_EQ(copy.Get_mCFAddressbookId(), "ABC-123");
        EXPECT_EQ(copy.getMDebitorAccount(), 12);
        bool withCategories = fileVersion == version::k2_00;
        EXPECT_EQ(copy.getCustomerPaymentCategory(), withCategories ? 5 : 2);
        EXPECT_EQ(copy.getSupplierInvoiceCategory(), withCategories ? 6 : 1);
    }
}

TEST(Bank, TextsStayWithinTheirFields)
{
    ModelEnvironment environment;
    CBank bank(nullptr);
    char plugin[CBank::kPluginNameSize];
    bank.Get_mBanK_PluginName(plugin);
    EXPECT_STREQ(plugin, "Plugin To Use");

    bank.Import("My Bank", "1234567890123456789012345678901234567890", "Street", "+32 9 123 45 67 890",
                "fax", "bank@example.test", "BE0123456789");
    bank.Get_mBanK_PluginName(plugin);
    EXPECT_EQ(std::string(plugin).size(), 34u);
    char phone[CBank::kPhoneSize];
    bank.Get_mBanK_Phone(phone);
    EXPECT_STREQ(phone, "+32 9 123 45 67 8");
    char vat[CBank::kVATNrSize];
    bank.Get_mBanK_VATNr(vat);
    EXPECT_STREQ(vat, "BE012345678");
}

TEST(Bank, RecordRoundTripAndLongStoredTexts)
{
    ModelEnvironment environment;
    CBank bank(70800, nullptr);
    bank.Import("My Bank", "Plugin", "Street 1", "09 1", "09 2", "b@example.test", "BE1");
    StreamWriter writer;
    bank.PutStream(writer.stream());
    StreamReader reader(writer.bytes());
    CBank copy(reader.stream(), nullptr, version::kCurrent);
    EXPECT_EQ(reader->GetMarker(), reader->GetLength());
    StreamWriter again;
    copy.PutStream(again.stream());
    EXPECT_EQ(again.bytes(), writer.bytes());

    // A stored plug-in name of 40 characters never came from its 35-byte field.
    StreamWriter w;
    w->WriteBigOsType(type::kBank);
    w->WriteObjectIdT(3);
    w->WriteCString("Bank");
    w->WriteEnumT(0);
    w->WriteCString("1234567890123456789012345678901234567890");
    for (int i = 0; i < 5; ++i) w->WriteCString("x");
    for (int i = 0; i < 4; ++i) w->WriteObjectIdT(99);
    StreamReader longReader(w.bytes());
    EXPECT_THROW(CBank(longReader.stream(), nullptr, version::k0_60), LException);
}

TEST(Bank, ExportLine)
{
    CBank bank(15, nullptr);
    bank.Import("Bank", "P", "A", "T", "F", "E", "V");
    StreamWriter writer;
    bank.Export(writer.stream(), ';');
    std::string line(writer.bytes().begin(), writer.bytes().end());
    EXPECT_EQ(line, "BanK\t15\tBank\tP\tA\tT\tF\tE\tV\r");
}

} // namespace
} // namespace ch

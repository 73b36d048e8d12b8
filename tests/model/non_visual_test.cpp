// The model object base: ids, names, the object key, the record header and deletion.

#include <gtest/gtest.h>

#include <string>

#include "model/CHierarchyRoot.h"
#include "model/CNonVisual.h"
#include "model/foundation/LStream.h"
#include "model_test_support.h"

namespace ch {
namespace {

using test::MessageLog;
using test::ModelEnvironment;
using test::StreamReader;
using test::StreamWriter;
using test::TestObject;

// Keeps the counter of objects without books as the test found it.
class CounterGuard {
public:
    CounterGuard() : mSaved(CNonVisual::DetachedIds().mi_MaxId) {}
    ~CounterGuard() { CNonVisual::DetachedIds().mi_MaxId = mSaved; }

private:
    ObjectIdT mSaved;
};

TEST(NonVisualIds, PutIdFollowsTheCounterRules)
{
    CounterGuard guard;
    TestObject object;

    CNonVisual::DetachedIds().mi_MaxId = 10;
    object.Put_Id(CNonVisual::kTemporaryId);
    EXPECT_EQ(object.Get_Id(), 1);
    EXPECT_EQ(CNonVisual::DetachedIds().mi_MaxId, 10);

    object.Put_Id(-1);
    EXPECT_EQ(object.Get_Id(), 11);
    object.Put_Id(-7);
    EXPECT_EQ(object.Get_Id(), 12);

    object.Put_Id(200000);   // a jump beyond 99999 leaves the counter
    EXPECT_EQ(object.Get_Id(), 200000);
    EXPECT_EQ(CNonVisual::DetachedIds().mi_MaxId, 12);

    object.Put_Id(50);
    EXPECT_EQ(CNonVisual::DetachedIds().mi_MaxId, 50);
    object.Put_Id(30);       // lower ids never lower the counter
    EXPECT_EQ(CNonVisual::DetachedIds().mi_MaxId, 50);

    CNonVisual::DetachedIds().mi_MaxId = 0x7FFFFFFF;   // the counter never wraps into negative ids
    object.Put_Id(-1);
    EXPECT_EQ(object.Get_Id(), 0x7FFFFFFF);
}

TEST(NonVisualIds, NewObjectsTakeSuccessiveIds)
{
    TestObject first;
    TestObject second;
    EXPECT_EQ(second.Get_Id(), first.Get_Id() + 1);
    EXPECT_EQ(CNonVisual::DetachedIds().mi_MaxId, second.Get_Id());
}

TEST(NonVisualNames, PutNameCutsAndMakesTheUnicodeName)
{
    TestObject object;
    MessageLog log;
    object.AddListener(&log);

    object.Put_Name("1234567890123456789012345678901234567890");
    char name[kNameSize];
    object.Get_Name(name);
    EXPECT_STREQ(name, "1234567890123456789012345678901234");
    EXPECT_EQ(object.Get_StringrefName(), "1234567890123456789012345678901234");
    // once for the new Unicode name, once more for the name
    EXPECT_EQ(log.messages(), (std::vector<MessageT>{msg::kNameChanged, msg::kNameChanged}));

    object.Put_Name("Caf\x8E");   // Mac Roman e-acute
    EXPECT_EQ(object.Get_StringrefName(), "Caf\xC3\xA9");
}

TEST(NonVisualNames, UnicodeNameAndDescriptionSetters)
{
    TestObject object;
    object.Put_Name("Bank");
    MessageLog log;
    object.AddListener(&log);

    EXPECT_FALSE(object.Put_StringrefName(std::nullopt));
    EXPECT_TRUE(object.Put_StringrefName("Bank"));
    EXPECT_TRUE(log.entries.empty());   // an equal name changes nothing
    EXPECT_TRUE(object.Put_StringrefName("Bänk"));
    EXPECT_EQ(log.messages(), std::vector<MessageT>{msg::kNameChanged});
    char name[kNameSize];
    object.Get_Name(name);
    EXPECT_STREQ(name, "Bank");   // the 8-bit name is not touched

    object.Put_StringrefDesc("Savings");
    EXPECT_EQ(object.Get_StringrefDesc(), "Savings");
    object.Put_StringrefDesc(std::nullopt);
    EXPECT_EQ(object.Get_StringrefDesc(), "");
    EXPECT_EQ(log.entries.size(), 1u);   // descriptions are not broadcast
}

TEST(NonVisualKey, KeyIsMadeOnceAndKept)
{
    TestObject account(type::kAccount, 15);
    EXPECT_EQ(account.CalculateKey(), "AcnT15");
    account.Put_Id(16);
    EXPECT_EQ(account.CalculateKey(), "AcnT15");
}

TEST(NonVisualBase, PlainObjectsRefuseDeletionAndParents)
{
    ModelEnvironment environment;
    auto* object = new TestObject;
    EXPECT_FALSE(object->DeleteSelf());
    EXPECT_FALSE(object->Put_mParentId(3));
    EXPECT_EQ(environment.alerts().numbers(), (std::vector<long>{136, 163}));
    delete object;
}

TEST(NonVisualBase, DestructionBroadcastsDestroyedThenGone)
{
    auto* object = new TestObject;
    MessageLog log;
    object->AddListener(&log);
    delete object;
    EXPECT_EQ(log.messages(), (std::vector<MessageT>{msg::kObjectDestroyed, msg::kBroadcasterDied}));
}

TEST(NonVisualBase, ExportWritesTheCommonColumns)
{
    TestObject object(type::kAccount, 15, "Cash");
    StreamWriter writer;
    object.Export(writer.stream(), ',');
    std::string line(writer.bytes().begin(), writer.bytes().end());
    EXPECT_EQ(line, "AcnT\t15\tCash\t");
}

// A hand-made header of the given version.
test::ByteVector Header(FourCharCode version, const char* name, std::uint8_t open, const char* unicodeName,
                        const char* description)
{
    StreamWriter writer;
    writer->WriteBigOsType(type::kAccount);
    writer->WriteObjectIdT(42);
    writer->WriteCString(name);
    writer->WriteEnumT(status::kFlagged);
    if (version::AtLeast(version, version::k1_01)) writer->WriteEnumT(open);
    if (version::AtLeast(version, version::k1_10)) {
        writer->WriteCFString(unicodeName);
        writer->WriteCFString(description);
    }
    writer->WriteBigOsType(type::kEndOfModel);
    return writer.bytes();
}

TEST(NonVisualHeader, VersionGatesTheOpenFlagAndUnicodeTexts)
{
    const struct {
        FourCharCode version;
        bool open;
        const char* name;
        const char* description;
    } cases[] = {
        {version::k0_60, false, "Caf\xC3\xA9", ""},
        {version::k1_05, true, "Caf\xC3\xA9", ""},
        {version::k1_10, true, "Caf\xC3\xA9 \xE2\x82\xAC", "Desc \xF0\x9F\x98\x80"},
        {version::kNone, false, "Caf\xC3\xA9", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(fourCCToString(c.version));
        StreamReader reader(Header(c.version, "Caf\x8E", 1, "Caf\xC3\xA9 \xE2\x82\xAC", "Desc \xF0\x9F\x98\x80"));
        CNonVisual object(reader.stream(), c.version);
        EXPECT_EQ(object.Get_ObjectType(), type::kAccount);
        EXPECT_EQ(object.Get_Id(), 42);
        EXPECT_EQ(object.Get_ObjectStatus(), status::kFlagged);
        EXPECT_EQ(object.Get_mb_IsOpen(), c.open);
        EXPECT_EQ(object.Get_StringrefName(), c.name);
        EXPECT_EQ(object.Get_StringrefDesc(), c.description);
        FourCharCode next = 0;
        reader->ReadBigOsType(next);
        EXPECT_EQ(next, type::kEndOfModel);   // the header was read to its end
    }
}

TEST(NonVisualHeader, WrittenHeaderReadsBack)
{
    CHierarchyRoot root(3);
    root.Put_Name("Groups");
    root.Put_StringrefName("Gr\xC3\xBCppen");
    root.Put_StringrefDesc("All groups");
    root.Put_mb_IsOpen(true);
    root.Put_Status(status::kChecked);

    StreamWriter writer;
    root.PutStream(writer.stream());
    StreamReader reader(writer.bytes());
    CHierarchyRoot copy(reader.stream(), nullptr, version::kCurrent);
    EXPECT_EQ(copy.Get_ObjectType(), type::kHierarchyRoot);
    EXPECT_EQ(copy.Get_Id(), 3);
    EXPECT_EQ(copy.Get_StringrefName(), "Gr\xC3\xBCppen");
    EXPECT_EQ(copy.Get_StringrefDesc(), "All groups");
    EXPECT_TRUE(copy.Get_mb_IsOpen());
    EXPECT_EQ(copy.Get_ObjectStatus(), status::kChecked);
    EXPECT_EQ(reader->GetMarker(), reader->GetLength());
}

TEST(HierarchyRoot, DescribesItsContents)
{
    CHierarchyRoot root(1);
    root.PutContents(nullptr, type::kAccountType);
    EXPECT_TRUE(root.OnlyGroupsBelow());
    std::string title = "T: ", subtitle, kind;
    unsigned char flag = 9;
    root.GetObjectDescription(title, subtitle, kind, flag);
    EXPECT_EQ(title, "T: Account Type ");
    EXPECT_EQ(kind, "Account Type ");
    EXPECT_EQ(subtitle, "");
    EXPECT_EQ(flag, 0);

    root.PutContents(nullptr, type::kBank);
    EXPECT_FALSE(root.OnlyGroupsBelow());
}

} // namespace
} // namespace ch

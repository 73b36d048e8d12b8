#include "platform/core/keyed_archive.h"

#include "value_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace ch {
namespace {

// A business-like object: four unkeyed values in sequence.
struct Entry : Archivable {
    Value name, number, nothing, numbers, extra;

    std::vector<std::string> archiveClassNames() const override {
        return {"GXTestEntry", "GXNonVisual", "NSObject"};
    }
    void encodeWithCoder(KeyedArchiver& coder) const override {
        coder.encodeValue(name);
        coder.encodeValue(number);
        coder.encodeValue(nothing);
        coder.encodeValue(numbers);
    }
    static std::shared_ptr<Archivable> decode(KeyedUnarchiver& coder) {
        auto entry = std::make_shared<Entry>();
        entry->name = coder.decodeValue();
        entry->number = coder.decodeValue();
        entry->nothing = coder.decodeValue();
        entry->numbers = coder.decodeValue();
        entry->extra = coder.decodeValue(); // a field newer files might add
        return entry;
    }
};

// An object referring to another one (or to itself).
struct Link : Archivable {
    std::weak_ptr<Archivable> next;
    std::shared_ptr<Archivable> decodedNext;

    std::vector<std::string> archiveClassNames() const override { return {"GXTestLink", "NSObject"}; }
    void encodeWithCoder(KeyedArchiver& coder) const override { coder.encodeObject(next.lock()); }
    static std::shared_ptr<Archivable> decode(KeyedUnarchiver& coder) {
        auto link = std::make_shared<Link>();
        link->decodedNext = coder.decodeObject();
        return link;
    }
};

ArchiveClassRegistry& testRegistry() {
    static ArchiveClassRegistry registry = [] {
        ArchiveClassRegistry r;
        r.add("GXTestEntry", &Entry::decode);
        r.add("GXTestLink", &Link::decode);
        return r;
    }();
    return registry;
}

std::shared_ptr<Entry> makeEntry(std::string name, Value number, Array numbers) {
    auto entry = std::make_shared<Entry>();
    entry->name = Value(std::move(name));
    entry->number = std::move(number);
    entry->numbers = Value(std::move(numbers));
    return entry;
}

// The archive of the two-entry test array under "SERIALIZEDVATARRAY".
std::string twoEntryArchive() {
    KeyedArchiver archiver;
    std::vector<std::shared_ptr<Entry>> entries{
        makeEntry("Standard rate", Value(21.0), {Value(3), Value(7)}),
        makeEntry("Zero rate \xF0\x9F\x92\xB6", Value(std::int64_t(-4)), {})};
    archiver.encodeObjectArray(entries, "SERIALIZEDVATARRAY");
    archiver.encodeObjectArray(std::vector<std::shared_ptr<Entry>>{}, "SERIALIZEDAMORTISATIONSCHEMEARRAY");
    PlistOutput out = archiver.finish();
    EXPECT_TRUE(out.ok()) << out.error;
    return out.bytes;
}

TEST(KeyedArchive, ObjectsWithUnkeyedValuesRoundTrip)
{
    const std::string bytes = twoEntryArchive();
    ASSERT_EQ(bytes.substr(0, 8), "bplist00");

    KeyedUnarchiver unarchiver(bytes, testRegistry());
    ASSERT_FALSE(unarchiver.failed()) << unarchiver.error();
    EXPECT_TRUE(unarchiver.containsKey("SERIALIZEDAMORTISATIONSCHEMEARRAY"));
    EXPECT_FALSE(unarchiver.containsKey("SERIALIZEDVATPERIODARRAY"));
    EXPECT_EQ(unarchiver.keys(),
              (std::vector<std::string>{"SERIALIZEDVATARRAY", "SERIALIZEDAMORTISATIONSCHEMEARRAY"}));
    auto entries = unarchiver.decodeObjectArrayOf<Entry>("SERIALIZEDVATARRAY");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0]->name, Value("Standard rate"));
    EXPECT_EQ(entries[0]->number, Value(21.0));
    EXPECT_TRUE(entries[0]->number.isReal());
    EXPECT_TRUE(entries[0]->nothing.isAbsent());
    EXPECT_EQ(entries[0]->numbers, Value(Array{Value(3), Value(7)}));
    EXPECT_TRUE(entries[0]->extra.isAbsent()); // past the last field: nil, not an error
    EXPECT_EQ(entries[1]->name, Value("Zero rate \xF0\x9F\x92\xB6"));
    EXPECT_EQ(entries[1]->number, Value(std::int64_t(-4)));
    EXPECT_EQ(entries[1]->numbers, Value(Array{}));

    // The second array is the one entry nothing decoded has reached yet.
    EXPECT_EQ(unarchiver.unreachedEntryCount(), 1u);
    EXPECT_TRUE(unarchiver.decodeObjectArray("SERIALIZEDAMORTISATIONSCHEMEARRAY").empty());
    EXPECT_TRUE(unarchiver.decodeObjectArray("SERIALIZEDVATPERIODARRAY").empty());
    EXPECT_FALSE(unarchiver.failed()) << unarchiver.error();
    EXPECT_EQ(unarchiver.unreachedEntryCount(), 0u);
}

TEST(KeyedArchive, EveryValueKindRoundTripsInBothForms)
{
    const std::vector<Value> values{
        Value(true), Value(false), Value(std::int64_t(INT64_MIN)), Value(std::int64_t(INT64_MAX)),
        Value(0.1), Value(1234567.89), Value(1), Value(1.0), Value(""), Value("caf\xC3\xA9"),
        Value(Bytes{0, 1, 255}), Value(Date{-1234.5}), Value(Array{}), Value(Dictionary{}),
        Value(Dictionary{{"b", Value(Array{Value("x"), Value(Dictionary{{"n", Value(2)}})})},
                         {"a", Value(Date{0})}}),
    };
    KeyedArchiver archiver;
    for (std::size_t i = 0; i < values.size(); ++i)
        archiver.encodeValue(values[i], "v" + std::to_string(i));
    archiver.encodeValue(Value(), "nil");
    PlistOutput binary = archiver.finish();
    ASSERT_TRUE(binary.ok()) << binary.error;

    // The XML form of the same archive (UIDs as {"CF$UID" = n}).
    ParseResult parsed = readPlist(binary.bytes);
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    PlistOutput xml = writePlist(parsed.value, PlistFormat::Xml);
    ASSERT_TRUE(xml.ok()) << xml.error;
    ASSERT_NE(xml.bytes.find("CF$UID"), std::string::npos);

    for (const std::string* bytes : {&binary.bytes, &xml.bytes}) {
        KeyedUnarchiver unarchiver(*bytes);
        for (std::size_t i = 0; i < values.size(); ++i)
            EXPECT_EQ(unarchiver.decodeValue("v" + std::to_string(i)), values[i]) << i;
        EXPECT_TRUE(unarchiver.containsKey("nil"));
        EXPECT_TRUE(unarchiver.decodeValue("nil").isAbsent());
        EXPECT_FALSE(unarchiver.failed()) << unarchiver.error();
    }

    // 1, 1.0 and true are distinct entries; equal strings are stored once.
    const Array& objects = *parsed.value["$objects"].asArray();
    int ones = 0;
    for (const Value& object : objects)
        ones += (object == Value(1) || object == Value(1.0) || object == Value(true));
    EXPECT_EQ(ones, 3);

    KeyedArchiver refused;
    refused.encodeValue(Value(Uid{3}), "uid");
    EXPECT_FALSE(refused.finish().ok());
}

TEST(KeyedArchive, SharedObjectsAreWrittenOnceAndCyclesEnd)
{
    auto shared = makeEntry("shared", Value(1), {});
    KeyedArchiver archiver;
    archiver.encodeObjectArray(std::vector<std::shared_ptr<Entry>>{shared, shared}, "first");
    archiver.encodeObject(shared, "again");
    auto loop = std::make_shared<Link>();
    loop->next = loop; // refers to itself
    archiver.encodeObject(loop, "loop");
    PlistOutput out = archiver.finish();
    ASSERT_TRUE(out.ok()) << out.error;

    ParseResult parsed = readPlist(out.bytes);
    ASSERT_TRUE(parsed.ok());
    const Array& objects = *parsed.value["$objects"].asArray();
    std::uint64_t entryClass = 0;
    for (std::size_t i = 0; i < objects.size(); ++i)
        if (objects[i]["$classname"] == Value("GXTestEntry"))
            entryClass = i;
    int entryObjects = 0;
    for (const Value& object : objects)
        entryObjects += object["$class"] == Value(Uid{entryClass});
    EXPECT_EQ(entryObjects, 1);

    KeyedUnarchiver unarchiver(out.bytes, testRegistry());
    auto first = unarchiver.decodeObjectArrayOf<Entry>("first");
    auto again = unarchiver.decodeObjectOf<Entry>("again");
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0], first[1]);
    EXPECT_EQ(first[0], again);
    EXPECT_FALSE(unarchiver.failed());
    // We do not rebuild cycles: the reader refuses them instead of hanging.
    EXPECT_EQ(unarchiver.decodeObject("loop"), nullptr);
    EXPECT_TRUE(unarchiver.failed());
    // Once failed, everything decodes as nil.
    EXPECT_EQ(unarchiver.decodeObject("again"), nullptr);
}

// --- cross-check with Python's plistlib ------------------------------------

bool havePython() { return std::system("python3 -c 'import plistlib' >/dev/null 2>&1") == 0; }

std::filesystem::path scratchDir() {
    auto dir = std::filesystem::path(testing::TempDir()) / ("ch_keyed_archive_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    return dir;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

constexpr const char* kPythonCheck = R"PY(
import plistlib, sys
from plistlib import UID
d = plistlib.load(open(sys.argv[1], 'rb'))
assert d['$archiver'] == 'NSKeyedArchiver' and d['$version'] == 100000
objs = d['$objects']
assert objs[0] == '$null'
top = d['$top']
assert isinstance(top['SERIALIZEDVATARRAY'], UID)
arr = objs[top['SERIALIZEDVATARRAY'].data]
assert objs[arr['$class'].data]['$classname'] == 'NSMutableArray'
lines = []
for ref in arr['NS.objects']:
    o = objs[ref.data]
    c = objs[o['$class'].data]
    f = [o['$%d' % i] for i in range(4)]
    assert all(isinstance(x, UID) for x in f) and f[2].data == 0
    nums = objs[f[3].data]
    lines.append('|'.join([c['$classname'], ','.join(c['$classes']), objs[f[0].data],
                           repr(objs[f[1].data]), ','.join(repr(objs[r.data]) for r in nums['NS.objects']),
                           ','.join(sorted(o))]))
open(sys.argv[2], 'w', encoding='utf-8').write('\n'.join(lines))
# An archive of our own, written by plistlib.
objs = ['$null',
        {'$class': UID(2), 'NS.objects': [UID(3)]},
        {'$classname': 'NSArray', '$classes': ['NSArray', 'NSObject']},
        {'$class': UID(4), '$0': UID(5), '$1': UID(6), '$2': UID(0), '$3': UID(7)},
        {'$classname': 'GXTestEntry', '$classes': ['GXTestEntry', 'GXNonVisual', 'NSObject']},
        'from python', 42,
        {'$class': UID(8), 'NS.objects': [UID(6), UID(9)]},
        {'$classname': 'NSMutableArray', '$classes': ['NSMutableArray', 'NSArray', 'NSObject']},
        2.5]
plistlib.dump({'$version': 100000, '$objects': objs, '$archiver': 'NSKeyedArchiver',
               '$top': {'SERIALIZEDVATARRAY': UID(1)}},
              open(sys.argv[3], 'wb'), fmt=plistlib.FMT_BINARY)
)PY";

TEST(KeyedArchive, PythonSeesTheDocumentedLayoutAndWritesOneWeRead)
{
    if (!havePython())
        GTEST_SKIP() << "python3 with plistlib not available";
    const auto dir = scratchDir();
    {
        std::ofstream(dir / "check.py") << kPythonCheck;
        std::ofstream(dir / "ours.bin", std::ios::binary) << twoEntryArchive();
    }
    const std::string command = "python3 '" + (dir / "check.py").string() + "' '" + (dir / "ours.bin").string() +
                                "' '" + (dir / "seen.txt").string() + "' '" + (dir / "theirs.bin").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_EQ(readFile(dir / "seen.txt"),
              "GXTestEntry|GXTestEntry,GXNonVisual,NSObject|Standard rate|21.0|3,7|$0,$1,$2,$3,$class\n"
              "GXTestEntry|GXTestEntry,GXNonVisual,NSObject|Zero rate \xF0\x9F\x92\xB6|-4||$0,$1,$2,$3,$class");

    KeyedUnarchiver unarchiver(readFile(dir / "theirs.bin"), testRegistry());
    auto entries = unarchiver.decodeObjectArrayOf<Entry>("SERIALIZEDVATARRAY");
    ASSERT_EQ(entries.size(), 1u) << unarchiver.error();
    EXPECT_EQ(entries[0]->name, Value("from python"));
    EXPECT_EQ(entries[0]->number, Value(42));
    EXPECT_TRUE(entries[0]->nothing.isAbsent());
    EXPECT_EQ(entries[0]->numbers, Value(Array{Value(42), Value(2.5)}));
    std::filesystem::remove_all(dir);
}

// --- hostile input -----------------------------------------------------------

std::string binaryOf(const Value& root) {
    PlistOutput out = writePlist(root, PlistFormat::Binary);
    EXPECT_TRUE(out.ok()) << out.error;
    return out.bytes;
}

// A hand-built archive: "$top" = { key = UID(topUid) } over the given objects.
std::string archiveOf(Array objects, std::uint64_t topUid, std::string archiver = "NSKeyedArchiver") {
    objects.insert(objects.begin(), Value("$null"));
    return binaryOf(Value(Dictionary{{"$archiver", Value(std::move(archiver))},
                                     {"$version", Value(100000)},
                                     {"$top", Value(Dictionary{{"key", Value(Uid{topUid})}})},
                                     {"$objects", Value(std::move(objects))}}));
}

Value arrayClass() { return Value(Dictionary{{"$classname", Value("NSArray")}, {"$classes", Value(Array{})}}); }
Value arrayObject(Array refs) {
    return Value(Dictionary{{"$class", Value(Uid{1})}, {"NS.objects", Value(std::move(refs))}});
}

TEST(KeyedArchive, HostileInputFailsCleanly)
{
    // Two arrays at every level, forty levels deep: 2^40 leaves if expanded.
    Array laughs{arrayClass(), Value("x")};
    for (std::uint64_t level = 0; level < 40; ++level)
        laughs.push_back(arrayObject({Value(Uid{level + 2}), Value(Uid{level + 2})}));
    // A chain of single-element arrays far deeper than any real archive.
    Array chain{arrayClass(), Value("x")};
    for (std::uint64_t level = 0; level < 5000; ++level)
        chain.push_back(arrayObject({Value(Uid{level + 2})}));

    const Value entryClass(Dictionary{{"$classname", Value("GXTestEntry")}});
    const Value linkClass(Dictionary{{"$classname", Value("GXTestLink")}});
    struct Case {
        const char* what;
        std::string bytes;
        bool asObject;
    };
    const std::vector<Case> cases{
        {"not a property list", "garbage", false},
        {"not a dictionary", binaryOf(Value(Array{})), false},
        {"another archiver", archiveOf({Value("x")}, 1, "NSArchiver"), false},
        {"no $null", binaryOf(Value(Dictionary{{"$archiver", Value("NSKeyedArchiver")},
                                               {"$version", Value(100000)},
                                               {"$top", Value(Dictionary{})},
                                               {"$objects", Value(Array{Value("x")})}})),
         false},
        {"UID out of range", archiveOf({Value("x")}, 99999), false},
        {"array containing itself", archiveOf({arrayClass(), arrayObject({Value(Uid{2})})}, 2), false},
        {"object containing itself",
         archiveOf({linkClass, Value(Dictionary{{"$class", Value(Uid{1})}, {"$0", Value(Uid{2})}})}, 2), true},
        {"class refers to itself", archiveOf({Value(Dictionary{{"$class", Value(Uid{1})}})}, 1), true},
        {"class out of range", archiveOf({Value(Dictionary{{"$class", Value(Uid{77})}})}, 1), true},
        {"unknown class",
         archiveOf({Value(Dictionary{{"$classname", Value("GXSecret")}}), Value(Dictionary{{"$class", Value(Uid{1})}})},
                   2),
         true},
        {"array without NS.objects", archiveOf({arrayClass(), Value(Dictionary{{"$class", Value(Uid{1})}})}, 2), false},
        {"dictionary with unequal counts",
         archiveOf({Value(Dictionary{{"$classname", Value("NSDictionary")}}),
                    Value(Dictionary{{"$class", Value(Uid{1})},
                                     {"NS.keys", Value(Array{Value(Uid{3})})},
                                     {"NS.objects", Value(Array{})}}),
                    Value("k")},
                   2),
         false},
        {"object where a value belongs",
         archiveOf({entryClass, Value(Dictionary{{"$class", Value(Uid{1})}})}, 2), false},
        {"value where an object belongs", archiveOf({Value("x")}, 1), true},
        {"exponential sharing", archiveOf(laughs, laughs.size()), false},
        {"deep chain", archiveOf(chain, chain.size()), false},
    };
    for (const Case& c : cases) {
        KeyedUnarchiver unarchiver(c.bytes, testRegistry());
        if (c.asObject)
            EXPECT_EQ(unarchiver.decodeObject("key"), nullptr) << c.what;
        else
            EXPECT_TRUE(unarchiver.decodeValue("key").isAbsent()) << c.what;
        EXPECT_TRUE(unarchiver.failed()) << c.what;
    }

    // Every truncation of a good archive, and a huge object count in its trailer.
    const std::string good = twoEntryArchive();
    for (std::size_t length = 0; length < good.size(); ++length) {
        KeyedUnarchiver unarchiver(good.substr(0, length), testRegistry());
        unarchiver.decodeObjectArray("SERIALIZEDVATARRAY");
        EXPECT_TRUE(unarchiver.failed()) << length;
    }
    std::string huge = good;
    for (std::size_t i = huge.size() - 24; i < huge.size() - 16; ++i)
        huge[i] = char(0xFF);
    EXPECT_TRUE(KeyedUnarchiver(huge, testRegistry()).failed());
}

Value classNamed(const char* name) { return Value(Dictionary{{"$classname", Value(name)}}); }
Value objectOf(std::uint64_t classUid, Dictionary fields) {
    fields.set("$class", Value(Uid{classUid}));
    return Value(std::move(fields));
}
Array refs(std::initializer_list<std::uint64_t> uids) {
    Array out;
    for (auto uid : uids)
        out.push_back(Value(Uid{uid}));
    return out;
}

TEST(KeyedArchive, ReadsWhatOtherArchiversPutInValidArchives)
{
    // The archive's object 1 is its class, object 2 the root; the scalars
    // follow from 3 on.
    struct Case {
        const char* what;
        const char* className;
        Dictionary fields;
        Array scalars;
        Value expected;          // absent: refused
        const char* refusedWith; // part of the message
    };
    const Case cases[] = {
        {"number keys become their text", "NSDictionary",
         Dictionary{{"NS.keys", Value(refs({3, 4, 5, 6}))}, {"NS.objects", Value(refs({7, 7, 7, 7}))}},
         {Value(7), Value(1.5), Value(true), Value("x"), Value("v")},
         Value(Dictionary{{"7", Value("v")}, {"1.5", Value("v")}, {"1", Value("v")}, {"x", Value("v")}}), nullptr},
        {"a number key and a text key alike", "NSDictionary",
         Dictionary{{"NS.keys", Value(refs({3, 4}))}, {"NS.objects", Value(refs({5, 5}))}},
         {Value(1), Value("1"), Value("v")}, Value(), "key \"1\" twice"},
        {"equal numbers of two types", "NSMutableDictionary",
         Dictionary{{"NS.keys", Value(refs({3, 4}))}, {"NS.objects", Value(refs({5, 5}))}},
         {Value(2), Value(2.0), Value("v")}, Value(), "key \"2\" twice"},
        {"a data key", "NSDictionary",
         Dictionary{{"NS.keys", Value(refs({3}))}, {"NS.objects", Value(refs({4}))}},
         {Value(Bytes{1}), Value("v")}, Value(), "key of type data"},
        {"a set", "NSMutableSet", Dictionary{{"NS.objects", Value(refs({3, 4}))}},
         {Value("b"), Value(2)}, Value(Array{Value("b"), Value(2)}), nullptr},
        {"a set holding nil", "NSSet", Dictionary{{"NS.objects", Value(refs({3, 0}))}},
         {Value("b")}, Value(), "holds nil"},
        {"data by reference", "NSMutableData", Dictionary{{"NS.data", Value(Uid{3})}},
         {Value(Bytes{104, 105})}, Value(Bytes{104, 105}), nullptr},
        {"data inline", "NSData", Dictionary{{"NS.data", Value(Bytes{1})}}, {}, Value(Bytes{1}), nullptr},
        {"text where data belongs", "NSMutableData", Dictionary{{"NS.data", Value(Uid{3})}},
         {Value("hi")}, Value(), "without \"NS.data\""},
        {"data referring past the end", "NSMutableData", Dictionary{{"NS.data", Value(Uid{9})}},
         {}, Value(), "refers to object 9"},
        {"string by reference", "NSMutableString", Dictionary{{"NS.string", Value(Uid{3})}},
         {Value("s")}, Value("s"), nullptr},
        {"time by reference", "NSDate", Dictionary{{"NS.time", Value(Uid{3})}},
         {Value(12.5)}, Value(Date{12.5}), nullptr},
    };
    for (const Case& c : cases) {
        Array objects{classNamed(c.className), objectOf(1, c.fields)};
        objects.insert(objects.end(), c.scalars.begin(), c.scalars.end());
        KeyedUnarchiver unarchiver(archiveOf(objects, 2));
        const Value decoded = unarchiver.decodeValue("key");
        EXPECT_EQ(decoded, c.expected) << c.what;
        if (c.refusedWith) {
            EXPECT_NE(unarchiver.error().find(c.refusedWith), std::string::npos) << c.what << ": " << unarchiver.error();
        } else {
            EXPECT_FALSE(unarchiver.failed()) << c.what << ": " << unarchiver.error();
        }
    }
}

TEST(KeyedArchive, OnlyTheOneVersionOfTheLayoutIsRead)
{
    struct Case {
        Value version;
        bool read;
    };
    const Case cases[] = {{Value(100000), true},   {Value(99999), false},    {Value(100001), false},
                          {Value(0), false},       {Value(100000.0), false}, {Value("100000"), false},
                          {Value(), false}};
    for (const Case& c : cases) {
        Dictionary root{{"$archiver", Value("NSKeyedArchiver")},
                        {"$top", Value(Dictionary{{"key", Value(Uid{1})}})},
                        {"$objects", Value(Array{Value("$null"), Value("x")})}};
        if (!c.version.isAbsent())
            root.set("$version", c.version);
        KeyedUnarchiver unarchiver(binaryOf(Value(std::move(root))));
        EXPECT_EQ(unarchiver.decodeValue("key"), c.read ? Value("x") : Value()) << testing::PrintToString(c.version);
        EXPECT_EQ(unarchiver.failed(), !c.read) << testing::PrintToString(c.version);
        if (!c.read) {
            EXPECT_NE(unarchiver.error().find("\"$version\""), std::string::npos) << unarchiver.error();
        }
    }
}

} // namespace
} // namespace ch

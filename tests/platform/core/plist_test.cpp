#include "platform/core/plist.h"
#include "plist_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <locale.h>
#include <random>
#include <sstream>

namespace ch {
namespace {

constexpr std::int64_t kLongMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kLongMin = std::numeric_limits<std::int64_t>::min();

// Every kind of value, with the awkward cases of each.
Value sample()
{
    return Dictionary{
        {"true", true},
        {"false", false},
        {"zero", 0},
        {"minusOne", -1},
        {"int64Max", Value(static_cast<long long>(kLongMax))},
        {"int64Min", Value(static_cast<long long>(kLongMin))},
        {"tenth", 0.1},
        {"amount", 1234567.89},
        {"tiny", 5e-324},
        {"huge", 1e300},
        {"string", "plain"},
        {"markup", "a<b>&c \"d\" 'e'"},
        {"nonBmp", "\xF0\x9F\x98\x80 \xF0\x9D\x84\x9E and \xC3\xA9\xE2\x82\xAC"},
        {"empty", ""},
        {"data", Bytes{0x00, 0x01, 0xfe, 0xff, 0x0a}},
        {"emptyData", Bytes{}},
        {"date", Date{700000000.0}},
        {"dateBefore2001", Date{-31536000.0}},
        {"uid", Uid{7}},
        {"wideUid", Uid{std::uint64_t(1) << 40}},
        {"dateOfYear1", Date{-63113904000.0}},
        {"emptyArray", Array{}},
        {"emptyDict", Dictionary{}},
        {"nested", Array{Array{Array{}}, Dictionary{{"\xE2\x82\xAC key", Array{1, "x", Dictionary{}}}}}},
    };
}

std::string hex(std::string_view bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        out += digits[static_cast<unsigned char>(c) >> 4];
        out += digits[static_cast<unsigned char>(c) & 0xF];
    }
    return out;
}

Value roundTrip(const Value& v, PlistFormat format)
{
    const PlistOutput out = writePlist(v, format);
    EXPECT_TRUE(out.ok()) << out.error;
    const ParseResult back = readPlist(out.bytes);
    EXPECT_TRUE(back.ok()) << back.error;
    return back.value;
}

TEST(Plist, EveryKindRoundTripsThroughBothForms)
{
    const Value original = sample();
    for (const PlistFormat format : {PlistFormat::Xml, PlistFormat::Binary}) {
        SCOPED_TRACE(format == PlistFormat::Xml ? "XML" : "binary");
        const Value back = roundTrip(original, format);
        EXPECT_TRUE(identical(back, original)) << testing::PrintToString(back);
    }
    // The sign of a zero survives both forms.
    for (const PlistFormat format : {PlistFormat::Xml, PlistFormat::Binary})
        EXPECT_TRUE(identical(roundTrip(-0.0, format), Value(-0.0)));
    EXPECT_TRUE(looksLikeBinaryPlist(writePlist(original, PlistFormat::Binary).bytes));
    // Dates keep their fraction in the binary form; the XML form carries whole
    // seconds only.
    EXPECT_EQ(roundTrip(Array{Date{12.5}}, PlistFormat::Binary), Value(Array{Date{12.5}}));
    EXPECT_EQ(roundTrip(Date{-1.25}, PlistFormat::Binary), Value(Date{-1.25}));
    // Scalars at the top level.
    for (const Value& v : {Value(kLongMin), Value("top"), Value(0.1), Value(Bytes{}), Value(true)})
        for (const PlistFormat format : {PlistFormat::Xml, PlistFormat::Binary})
            EXPECT_TRUE(identical(roundTrip(v, format), v));
}

TEST(Plist, WritingRefusesWhatNoFormCanHold)
{
    const Value bad[] = {
        Value(),
        Array{1, Value()},
        Dictionary{{"a", Value()}},
        Value(std::string("nul\0inside", 10)),
        Dictionary{{std::string("k\0", 2), 1}},
        Date{1e12},
        Date{std::numeric_limits<double>::infinity()},
    };
    for (const Value& v : bad)
        for (const PlistFormat format : {PlistFormat::Xml, PlistFormat::Binary}) {
            const PlistOutput out = writePlist(v, format);
            EXPECT_FALSE(out.ok()) << testing::PrintToString(v);
            EXPECT_TRUE(out.bytes.empty());
        }
    Value deep = 1;
    for (int i = 0; i < 600; ++i) {
        Array outer;
        outer.push_back(std::move(deep));
        deep = Value(std::move(outer));
    }
    EXPECT_FALSE(writePlist(deep, PlistFormat::Binary).ok());
}

std::string xmlDocument(const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + body + "</plist>\n";
}

TEST(Plist, ReadsXmlWrittenElsewhere)
{
    // A keyed archive in XML form holds its references as {"CF$UID" = n}.
    const ParseResult uid = readPlist(xmlDocument(
        "<dict><key>root</key><dict><key>CF$UID</key><integer>3</integer></dict>"
        "<key>notUid</key><dict><key>CF$UID</key><string>3</string></dict></dict>"));
    ASSERT_TRUE(uid.ok()) << uid.error;
    EXPECT_EQ(uid.value["root"], Value(Uid{3}));
    EXPECT_TRUE(uid.value["notUid"].isDictionary());

    const ParseResult ints = readPlist(xmlDocument("<array><integer>-1</integer><integer>9223372036854775807</integer>"
                                                   "<integer>-9223372036854775808</integer></array>"));
    ASSERT_TRUE(ints.ok()) << ints.error;
    EXPECT_EQ(ints.value, Value(Array{-1, Value(static_cast<long long>(kLongMax)), Value(static_cast<long long>(kLongMin))}));
    // An unsigned integer our values cannot hold is refused, not wrapped to a negative number.
    EXPECT_FALSE(readPlist(xmlDocument("<integer>18446744073709551615</integer>")).ok());
}

TEST(Plist, RealsIgnoreTheApplicationLocale)
{
    locale_t comma = locale_t(nullptr);
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8", "ru_RU.UTF-8"})
        if ((comma = newlocale(LC_ALL_MASK, name, locale_t(nullptr))))
            break;
    if (!comma)
        GTEST_SKIP() << "no locale with a decimal comma installed";
    const locale_t previous = uselocale(comma);
    const PlistOutput out = writePlist(Array{0.1, 1234567.89}, PlistFormat::Xml);
    const ParseResult read = readPlist(xmlDocument("<real>0.5</real>"));
    const Value back = out.ok() ? readPlist(out.bytes).value : Value();
    uselocale(previous);
    freelocale(comma);

    ASSERT_TRUE(out.ok()) << out.error;
    EXPECT_EQ(out.bytes.find(','), std::string::npos) << out.bytes;
    EXPECT_EQ(read.value, Value(0.5));
    EXPECT_EQ(back, Value(Array{0.1, 1234567.89}));
}

// A binary property list assembled from raw objects: one-byte references,
// two-byte offsets.
std::string binaryPlist(const std::vector<std::string>& objects, std::size_t top = 0)
{
    std::string out = "bplist00";
    std::vector<std::size_t> offsets;
    for (const std::string& object : objects) {
        offsets.push_back(out.size());
        out += object;
    }
    const std::size_t table = out.size();
    for (const std::size_t offset : offsets) {
        out += char(offset >> 8);
        out += char(offset & 0xff);
    }
    std::string trailer(32, '\0');
    trailer[6] = 2; // offset size
    trailer[7] = 1; // reference size
    auto put64 = [&](std::size_t at, std::uint64_t v) {
        for (int i = 7; i >= 0; --i, v >>= 8)
            trailer[at + std::size_t(i)] = char(v & 0xff);
    };
    put64(8, objects.size());
    put64(16, top);
    put64(24, table);
    return out + trailer;
}

std::string arrayOf(std::initializer_list<int> refs)
{
    std::string object(1, char(0xA0 | refs.size()));
    for (const int ref : refs)
        object += char(ref);
    return object;
}

TEST(Plist, HostileBinaryInputGivesErrorsQuickly)
{
    const std::string one = "\x10\x01";
    ASSERT_EQ(readPlist(binaryPlist({arrayOf({1, 1}), one})).value, Value(Array{1, 1}));

    // Every level references the next twice: 2^40 values from a few hundred bytes.
    std::vector<std::string> bomb;
    for (int i = 0; i < 40; ++i)
        bomb.push_back(arrayOf({i + 1, i + 1}));
    bomb.push_back(one);
    // A chain deeper than the depth limit.
    std::vector<std::string> chain;
    for (int i = 0; i < 250; ++i)
        chain.push_back(arrayOf({i + 1}));
    chain.push_back(one);

    const struct {
        const char* what;
        std::string bytes;
        PlistLimits limits;
    } cases[] = {
        {"expansion", binaryPlist(bomb), {}},
        {"depth", binaryPlist(chain), {.maxDepth = 100}},
        {"self reference", binaryPlist({arrayOf({0})}), {}},
        {"cycle", binaryPlist({arrayOf({1}), arrayOf({0})}), {}},
        {"missing object", binaryPlist({arrayOf({5})}), {}},
        {"top beyond objects", binaryPlist({one}, 3), {}},
        {"huge count", binaryPlist({std::string("\xAF\x13\xff\xff\xff\xff\xff\xff\xff\xff", 10)}), {}},
        {"huge string", binaryPlist({std::string("\x5F\x12\x7f\xff\xff\xff", 6)}), {}},
        {"number key", binaryPlist({std::string("\xD1\x01\x01", 3), one}), {}},
        {"NUL in a key", binaryPlist({std::string("\xD1\x01\x02", 3), std::string("\x53" "a\0b", 4), one}), {}},
        {"date out of range", binaryPlist({std::string("\x33\x7f\xf0\0\0\0\0\0\0", 9)}), {}},
        {"null object", binaryPlist({std::string(1, '\0')}), {}},
        {"set", binaryPlist({std::string("\xC1\x01", 2), one}), {}},
        {"bad real", binaryPlist({std::string("\x21\x00\x00", 3)}), {}},
        {"only magic", "bplist00", {}},
        {"too many values", binaryPlist({arrayOf({1, 1, 1}), one}), {.maxValues = 3}},
        {"one large data object referenced often",
         binaryPlist({arrayOf({1, 1, 1}), std::string("\x4F\x11\x03\xE8", 4) + std::string(1000, 'x')}),
         {.maxExpandedBytes = 2500}},
        {"too large", binaryPlist({one}), {.maxInputBytes = 20}},
        {"not a plist", "hello", {}},
        {"empty", "", {}},
    };
    for (const auto& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        const ParseResult result = readPlist(c.bytes, c.limits);
        EXPECT_FALSE(result.ok()) << c.what;
        EXPECT_FALSE(result.error.empty()) << c.what;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << c.what;
    }

    // Every prefix of a real file is refused without harm.
    const std::string whole = writePlist(sample(), PlistFormat::Binary).bytes;
    for (std::size_t n = 0; n < whole.size(); ++n)
        EXPECT_FALSE(readPlist(std::string_view(whole).substr(0, n)).ok()) << n;
}

TEST(Plist, HostileXmlInputGivesErrors)
{
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<array>";
    for (int i = 0; i < 100000; ++i)
        deep += "</array>";
    const std::string whole = writePlist(sample(), PlistFormat::Xml).bytes;
    const std::string bad[] = {
        xmlDocument(deep),
        xmlDocument("<array><string>unclosed</array>"),
        xmlDocument("<integer>18446744073709551616</integer>"),
        whole.substr(0, whole.size() / 2),
        "<plist",
        "<",
    };
    for (const std::string& text : bad)
        EXPECT_FALSE(readPlist(text).ok()) << text.substr(0, 80);
    for (std::size_t n = 0; n + 10 < whole.size(); n += 7)
        (void)readPlist(std::string_view(whole).substr(0, n)); // no crash, whatever the answer
}

std::string bigEndian(std::uint64_t value, std::size_t size)
{
    std::string out;
    for (std::size_t i = size; i-- > 0;)
        out += char((value >> (8 * i)) & 0xff);
    return out;
}

std::string dateObject(double seconds)
{
    return "\x33" + bigEndian(std::bit_cast<std::uint64_t>(seconds), 8);
}

TEST(Plist, UidsOfEveryWidth)
{
    // Written in the fewest of one, two, four or eight bytes.
    const struct {
        std::uint64_t index;
        std::string object;
    } written[] = {
        {0, std::string("\x80\x00", 2)},
        {255, "\x80\xff"},
        {256, std::string("\x81\x01\x00", 3)},
        {65535, "\x81\xff\xff"},
        {65536, std::string("\x83\x00\x01\x00\x00", 5)},
        {0xffffffff, "\x83\xff\xff\xff\xff"},
        {std::uint64_t(1) << 32, std::string("\x87\0\0\0\x01\0\0\0\0", 9)},
        {std::numeric_limits<std::uint64_t>::max(), "\x87\xff\xff\xff\xff\xff\xff\xff\xff"},
    };
    for (const auto& c : written) {
        SCOPED_TRACE(c.index);
        const PlistOutput out = writePlist(Uid{c.index}, PlistFormat::Binary);
        ASSERT_TRUE(out.ok()) << out.error;
        EXPECT_EQ(hex(out.bytes.substr(8, c.object.size())), hex(c.object));
        for (const PlistFormat format : {PlistFormat::Xml, PlistFormat::Binary})
            EXPECT_EQ(roundTrip(Array{Uid{c.index}}, format), Value(Array{Uid{c.index}}));
    }
    // Read in every width from one to eight bytes.
    std::uint64_t expected = 0;
    for (std::size_t size = 1; size <= 8; ++size) {
        expected = expected << 8 | (0xA0 + size);
        const std::string object = char(0x80 | (size - 1)) + bigEndian(expected, size);
        EXPECT_EQ(readPlist(binaryPlist({object})).value, Value(Uid{expected})) << size;
    }
}

TEST(Plist, CfUidDictionaryStandsForAUidOnlyInXml)
{
    const Value dict = Dictionary{{"CF$UID", 3}};
    // The binary form has UID objects; a dictionary there is a dictionary.
    EXPECT_EQ(readPlist(binaryPlist({"\xD1\x01\x02", "\x56" "CF$UID", "\x10\x03"})).value, dict);
    EXPECT_EQ(roundTrip(dict, PlistFormat::Binary), dict);
    EXPECT_EQ(roundTrip(Array{dict, Uid{3}}, PlistFormat::Binary), Value(Array{dict, Uid{3}}));

    const struct {
        const char* body;
        Value expected;
    } xml[] = {
        {"<integer>3</integer>", Uid{3}},
        {"<integer>18446744073709551615</integer>", Uid{std::numeric_limits<std::uint64_t>::max()}},
        {"<integer>-3</integer>", Dictionary{{"CF$UID", -3}}},
        {"<string>3</string>", Dictionary{{"CF$UID", "3"}}},
        {"<integer>3</integer><key>other</key><true/>", Dictionary{{"CF$UID", 3}, {"other", true}}},
    };
    for (const auto& c : xml) {
        const ParseResult read = readPlist(xmlDocument(std::string("<dict><key>CF$UID</key>") + c.body + "</dict>"));
        ASSERT_TRUE(read.ok()) << c.body << ": " << read.error;
        EXPECT_EQ(read.value, c.expected) << c.body;
    }
}

TEST(Plist, DatesOfEveryYearInBothForms)
{
    // Seconds since 2001 and the whole second the XML form names: the one that
    // began before the date, also before 2001.
    const struct {
        double seconds;
        const char* text;
    } dates[] = {
        {0.0, "2001-01-01T00:00:00Z"},
        {0.999999, "2001-01-01T00:00:00Z"},
        {-1e-6, "2000-12-31T23:59:59Z"},
        {-0.5, "2000-12-31T23:59:59Z"},
        {-1.0, "2000-12-31T23:59:59Z"},
        {-1.25, "2000-12-31T23:59:58Z"},
        {12.3456789, "2001-01-01T00:00:12Z"},
        {-26438401.0, "2000-02-29T23:59:59Z"},
        {-992490139.5, "1969-07-20T20:17:40Z"},
        {-2147483648.25, "1932-12-13T20:45:51Z"},
        {2147483648.75, "2069-01-19T03:14:08Z"},
        {3129235200.0, "2100-03-01T00:00:00Z"},
        {-3182198400.0, "1900-03-01T00:00:00Z"},
        {-12649262400.0, "1600-02-29T12:00:00Z"},
        {-13198032000.0, "1582-10-10T00:00:00Z"},
        {-63113904000.0, "0001-01-01T00:00:00Z"},
        {-63113903999.5, "0001-01-01T00:00:00Z"},
        {252423993599.0, "9999-12-31T23:59:59Z"},
        {252423993599.99997, "9999-12-31T23:59:59Z"},
    };
    for (const auto& c : dates) {
        SCOPED_TRACE(c.text);
        const PlistOutput binary = writePlist(Date{c.seconds}, PlistFormat::Binary);
        ASSERT_TRUE(binary.ok()) << binary.error;
        EXPECT_EQ(hex(binary.bytes.substr(8, 9)), hex(dateObject(c.seconds)));
        const Value fromBinary = readPlist(binary.bytes).value;
        ASSERT_TRUE(fromBinary.isDate());
        EXPECT_EQ(std::bit_cast<std::uint64_t>(fromBinary.asDate()->seconds), std::bit_cast<std::uint64_t>(c.seconds));

        const PlistOutput xml = writePlist(Array{Date{c.seconds}}, PlistFormat::Xml);
        ASSERT_TRUE(xml.ok()) << xml.error;
        EXPECT_NE(xml.bytes.find(std::string("<date>") + c.text + "</date>"), std::string::npos) << xml.bytes;
        EXPECT_EQ(readPlist(xml.bytes).value, Value(Array{Date{std::floor(c.seconds)}}));
    }

    const double outside[] = {-63113904000.001, 252423993600.0, std::nan("")};
    for (const double seconds : outside) {
        for (const PlistFormat format : {PlistFormat::Xml, PlistFormat::Binary})
            EXPECT_FALSE(writePlist(Date{seconds}, format).ok()) << seconds;
        EXPECT_FALSE(readPlist(binaryPlist({dateObject(seconds)})).ok()) << seconds;
    }
    EXPECT_FALSE(readPlist(xmlDocument("<date>0000-12-31T23:59:59Z</date>")).ok());
}

TEST(Plist, NegativeZeroAndCarriageReturnsSurviveXml)
{
    // The markup's own names inside texts must not confuse the mending of its output.
    const Value tricky = Dictionary{
        {"zeros", Array{-0.0, 0.0, -0.0, 1.5}},
        {"cr", "a\rb\r\nc\r"},
        {"key\r", Array{"\r", "<real>-0.0</real>", "<date>"}},
        {"<date>", Date{-0.5}},
        {"<real>", -0.0},
    };
    const PlistOutput out = writePlist(tricky, PlistFormat::Xml);
    ASSERT_TRUE(out.ok()) << out.error;
    EXPECT_EQ(out.bytes.find('\r'), std::string::npos);
    EXPECT_NE(out.bytes.find("<string>a&#13;b&#13;\nc&#13;</string>"), std::string::npos) << out.bytes;
    EXPECT_NE(out.bytes.find("<real>-0.0</real>"), std::string::npos) << out.bytes;
    const ParseResult back = readPlist(out.bytes);
    ASSERT_TRUE(back.ok()) << back.error;
    const Value expected = Dictionary{
        {"zeros", Array{-0.0, 0.0, -0.0, 1.5}},
        {"cr", "a\rb\r\nc\r"},
        {"key\r", Array{"\r", "<real>-0.0</real>", "<date>"}},
        {"<date>", Date{-1.0}},
        {"<real>", -0.0},
    };
    EXPECT_TRUE(identical(back.value, expected)) << testing::PrintToString(back.value);
}

// ------------------------------------------------ cross-check with plistlib
//
// Python's plistlib is an independent reader and writer of both forms. Values
// travel between the two sides as tagged JSON holding only hex and decimal
// text, so that both sides print exactly the same bytes for equal values.

const char* const kPlistlibScript = R"PY(
import datetime, json, plistlib, struct, sys
EPOCH = datetime.datetime(2001, 1, 1)

def enc(v):
    if isinstance(v, bool): return ["b", v]
    if isinstance(v, int): return ["i", str(v)]
    if isinstance(v, float): return ["r", struct.pack(">d", v).hex()]
    if isinstance(v, str): return ["s", v.encode("utf-8").hex()]
    if isinstance(v, bytes): return ["d", v.hex()]
    if isinstance(v, datetime.datetime):
        return ["t", str((v - EPOCH) // datetime.timedelta(microseconds=1))]
    if isinstance(v, plistlib.UID): return ["u", str(v.data)]
    if isinstance(v, list): return ["a", [enc(x) for x in v]]
    if isinstance(v, dict):
        return ["m", sorted([k.encode("utf-8").hex(), enc(x)] for k, x in v.items())]
    raise TypeError(type(v))

def dec(t, uid):
    tag, p = t
    if tag == "b": return p
    if tag == "i": return int(p)
    if tag == "r": return struct.unpack(">d", bytes.fromhex(p))[0]
    if tag == "s": return bytes.fromhex(p).decode("utf-8")
    if tag == "d": return bytes.fromhex(p)
    if tag == "t": return EPOCH + datetime.timedelta(microseconds=int(p))
    if tag == "u": return plistlib.UID(int(p)) if uid else {"CF$UID": int(p)}
    if tag == "a": return [dec(x, uid) for x in p]
    if tag == "m": return {bytes.fromhex(k).decode("utf-8"): dec(x, uid) for k, x in p}
    raise ValueError(tag)

if sys.argv[1] == "read":
    with open(sys.argv[2], "rb") as f:
        value = plistlib.load(f)
    with open(sys.argv[3], "w") as f:
        f.write(json.dumps(enc(value), separators=(",", ":")))
else:
    with open(sys.argv[2]) as f:
        tagged = json.load(f)
    with open(sys.argv[3], "wb") as f:
        plistlib.dump(dec(tagged, False), f, fmt=plistlib.FMT_XML)
    with open(sys.argv[4], "wb") as f:
        plistlib.dump(dec(tagged, True), f, fmt=plistlib.FMT_BINARY)
)PY";

// The tagged JSON of a value, as the script prints it. In XML a UID is the
// dictionary {"CF$UID" = n}.
std::string tagged(const Value& v, bool uidAsDictionary)
{
    auto tag = [](const char* t, const std::string& payload) { return std::string("[\"") + t + "\",\"" + payload + "\"]"; };
    switch (v.type()) {
    case Value::Type::Bool: return std::string("[\"b\",") + (*v.asBool() ? "true" : "false") + "]";
    case Value::Type::Integer: return tag("i", v.toString());
    case Value::Type::Real: {
        const auto bits = std::bit_cast<std::uint64_t>(*v.asReal());
        std::string be;
        for (int i = 7; i >= 0; --i)
            be += char((bits >> (8 * i)) & 0xff);
        return tag("r", hex(be));
    }
    case Value::Type::String: return tag("s", hex(*v.asString()));
    case Value::Type::Data: {
        const Bytes& d = *v.asData();
        return tag("d", hex(std::string_view(reinterpret_cast<const char*>(d.data()), d.size())));
    }
    case Value::Type::Date: return tag("t", std::to_string(std::llround(v.asDate()->seconds * 1e6)));
    case Value::Type::Uid:
        if (uidAsDictionary)
            return tagged(Dictionary{{"CF$UID", Value(static_cast<long long>(v.asUid()->index))}}, true);
        return tag("u", std::to_string(v.asUid()->index));
    case Value::Type::Array: {
        std::string out = "[\"a\",[";
        for (std::size_t i = 0; i < v.asArray()->size(); ++i)
            out += (i ? "," : "") + tagged((*v.asArray())[i], uidAsDictionary);
        return out + "]]";
    }
    case Value::Type::Dictionary: {
        std::vector<std::pair<std::string, std::string>> entries;
        for (const auto entry : *v.asDictionary())
            entries.emplace_back(hex(entry.key), tagged(entry.value, uidAsDictionary));
        std::sort(entries.begin(), entries.end());
        std::string out = "[\"m\",[";
        for (std::size_t i = 0; i < entries.size(); ++i)
            out += std::string(i ? "," : "") + "[\"" + entries[i].first + "\"," + entries[i].second + "]";
        return out + "]]";
    }
    case Value::Type::Absent: break;
    }
    return "null";
}

// Random property lists from plistlib with a fixed seed: every kind of value
// with its awkward cases, nested at random. "generate" writes each list in the
// XML form and the binary form (a list holding UIDs, which plistlib writes in
// binary only, in the binary form alone); "compare" reads the lists we wrote
// back and reports every difference from what plistlib reads from its own.
// Wherever the XML form is involved, a UID is compared as the {"CF$UID": n}
// dictionary that stands for it there, and a date to the whole second.
const char* const kRandomListsScript = R"PY(
import datetime, os, plistlib, random, struct, sys

EPOCH = datetime.datetime(2001, 1, 1)
FIRST = datetime.datetime(1, 1, 1)
# Later fractions of the year 9999's last second round up to the year 10000 as a double.
LAST = datetime.datetime(9999, 12, 31, 23, 59, 58)
PIECES = ["a", "Z", "7", " ", "\t", "\n", "\r", "\r\n", "<", ">", "&", "&amp;", '"', "'", "]]>",
          "CF$UID", "<date>", "\u00e9", "\u20ac", "e\u0301", "\u00a0", "\u2028", "\ufeff", "\ufffd",
          "\u65e5\u672c", "\U0001F600", "\U0010FFFD"]
INTS = [0, 1, -1, 255, 256, 65535, 65536, 2**31 - 1, -2**31, 2**32 - 1, 2**32, 2**63 - 1, -2**63]
REALS = [0.0, -0.0, 0.1, -1.5, 1e300, -1e-300, 5e-324, float("inf"), float("-inf")]
DATES = [EPOCH, FIRST, LAST, datetime.datetime(2000, 12, 31, 23, 59, 59, 500000),
         datetime.datetime(2000, 12, 31, 23, 59, 59, 999999), datetime.datetime(1969, 12, 31, 23, 59, 59, 1),
         datetime.datetime(1932, 12, 13, 20, 45, 51, 750000), datetime.datetime(2069, 1, 19, 3, 14, 8, 250000),
         datetime.datetime(1600, 2, 29, 12)]
UIDS = [0, 255, 256, 65535, 65536, 2**32 - 1, 2**32, 2**40 + 5, 2**63, 2**64 - 1]

def text(r):
    return "".join(r.choice(PIECES) for _ in range(r.randrange(12)))

def scalar(r, uids):
    kind = r.randrange(9 if uids else 8)
    if kind == 0: return r.random() < 0.5
    if kind == 1: return r.choice(INTS) if r.random() < 0.4 else r.randrange(-2**63, 2**63) >> r.randrange(64)
    if kind == 2:
        if r.random() < 0.4: return r.choice(REALS)
        while True:
            f = struct.unpack(">d", r.randbytes(8))[0]
            if f == f: return f
    if kind == 3: return text(r)
    if kind == 4: return r.randbytes(r.choice([0, 1, 14, 15, 16, 57, 300]))
    if kind == 5:
        if r.random() < 0.3: return r.choice(DATES)
        span = (LAST - FIRST) // datetime.timedelta(microseconds=1)
        return FIRST + datetime.timedelta(microseconds=r.randrange(span))
    if kind == 6: return {"CF$UID": r.choice(INTS)}
    if kind == 7: return {"CF$UID": r.choice(INTS), text(r): 1}
    return plistlib.UID(r.choice(UIDS) if r.random() < 0.5 else r.randrange(2**64) >> r.randrange(64))

# Mostly small containers; now and then one with more than 255 objects.
def value(r, depth, uids):
    if depth < 4 and r.random() < (0.9 if depth == 0 else 0.3):
        size = 300 if depth == 0 and r.random() < 0.05 else r.choice([0, 1, 2, 3, 4, 5, 15, 16])
        if r.random() < 0.5:
            return [value(r, depth + 1, uids) for _ in range(size)]
        return {text(r): value(r, depth + 1, uids) for _ in range(size)}
    return scalar(r, uids)

def xml_view(v):
    if isinstance(v, plistlib.UID): return {"CF$UID": v.data}
    if isinstance(v, datetime.datetime): return v.replace(microsecond=0)
    if isinstance(v, list): return [xml_view(x) for x in v]
    if isinstance(v, dict): return {k: xml_view(x) for k, x in v.items()}
    return v

# Where two values first differ, or None. Types must match exactly (True is
# not 1, 1.0 is not 1) and reals bit for bit (-0.0 is not 0.0).
def difference(a, b, path="top"):
    if type(a) is not type(b):
        return "%s: %r is not %r" % (path, a, b)
    if isinstance(a, float):
        return None if struct.pack(">d", a) == struct.pack(">d", b) else "%s: %r is not %r" % (path, a, b)
    if isinstance(a, list):
        if len(a) != len(b): return "%s: %d elements instead of %d" % (path, len(b), len(a))
        for i, (x, y) in enumerate(zip(a, b)):
            d = difference(x, y, "%s[%d]" % (path, i))
            if d: return d
        return None
    if isinstance(a, dict):
        if a.keys() != b.keys(): return "%s: keys %r instead of %r" % (path, sorted(b), sorted(a))
        for k in a:
            d = difference(a[k], b[k], "%s[%r]" % (path, k))
            if d: return d
        return None
    if isinstance(a, plistlib.UID):
        return None if a.data == b.data else "%s: UID %d is not %d" % (path, a.data, b.data)
    return None if a == b else "%s: %r is not %r" % (path, a, b)

def load(path):
    with open(path, "rb") as f:
        return plistlib.load(f)

command, theirs = sys.argv[1], sys.argv[2]
if command == "generate":
    count, seed = int(sys.argv[3]), int(sys.argv[4])
    r = random.Random(seed)
    os.makedirs(theirs, exist_ok=True)
    for i in range(count):
        uids = i % 3 == 2
        v = value(r, 0, uids)
        forms = [("bplist", plistlib.FMT_BINARY)] + ([] if uids else [("xml", plistlib.FMT_XML)])
        for name, fmt in forms:
            with open(os.path.join(theirs, "%d.%s" % (i, name)), "wb") as f:
                plistlib.dump(v, f, fmt=fmt, sort_keys=False)
else:
    ours, count = sys.argv[3], int(sys.argv[4])
    compared, problems = 0, []
    for i in range(count):
        for origin in ("xml", "bplist"):
            name = "%d.%s" % (i, origin)
            if not os.path.exists(os.path.join(theirs, name)):
                continue
            expected = load(os.path.join(theirs, name))
            for form in ("xml", "bplist"):
                try:
                    actual = load(os.path.join(ours, name + "." + form))
                except Exception as e:
                    problems.append("%s as %s: plistlib cannot read it: %r" % (name, form, e))
                    continue
                compared += 1
                if "xml" in (origin, form):
                    d = difference(xml_view(expected), xml_view(actual))
                else:
                    d = difference(expected, actual)
                if d:
                    problems.append("%s as %s: %s" % (name, form, d))
    print("%d lists written back compared, %d differ" % (compared, len(problems)))
    for p in problems[:20]:
        print(p[:400])
    sys.exit(1 if problems or compared == 0 else 0)
)PY";

class PlistlibCrossCheck : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::system("python3 -c 'import plistlib' >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "python3 with plistlib is not available";
        std::random_device random;
        mDir = std::filesystem::temp_directory_path() / ("ch-plist-" + std::to_string(random()));
        std::filesystem::create_directories(mDir);
        spit("check.py", kPlistlibScript);
    }
    void TearDown() override
    {
        if (!mDir.empty())
            std::filesystem::remove_all(mDir);
    }

    void spit(const std::string& name, std::string_view bytes)
    {
        std::ofstream(mDir / name, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    }
    std::string slurp(const std::string& name)
    {
        std::ifstream in(mDir / name, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    // Runs one of the scripts in the folder, e.g. "check.py read a b".
    bool python(const std::string& arguments)
    {
        const std::string command = "cd '" + mDir.string() + "' && python3 " + arguments;
        return std::system(command.c_str()) == 0;
    }

    std::filesystem::path mDir;
};

TEST_F(PlistlibCrossCheck, PlistlibReadsWhatWeWrite)
{
    const Value original = sample();
    spit("ours.xml", writePlist(original, PlistFormat::Xml).bytes);
    spit("ours.bplist", writePlist(original, PlistFormat::Binary).bytes);
    ASSERT_TRUE(python("check.py read ours.xml xml.json"));
    ASSERT_TRUE(python("check.py read ours.bplist bplist.json"));
    EXPECT_EQ(slurp("xml.json"), tagged(original, true));
    EXPECT_EQ(slurp("bplist.json"), tagged(original, false));
}

TEST_F(PlistlibCrossCheck, WeReadWhatPlistlibWrites)
{
    const Value original = sample();
    spit("sample.json", tagged(original, false));
    ASSERT_TRUE(python("check.py write sample.json theirs.xml theirs.bplist"));
    for (const char* name : {"theirs.xml", "theirs.bplist"}) {
        SCOPED_TRACE(name);
        const ParseResult back = readPlist(slurp(name));
        ASSERT_TRUE(back.ok()) << back.error;
        EXPECT_TRUE(identical(back.value, original)) << testing::PrintToString(back.value);
    }
}

TEST_F(PlistlibCrossCheck, RandomListsComeBackUnchangedInBothForms)
{
    constexpr int kLists = 300;
    spit("random_lists.py", kRandomListsScript);
    ASSERT_TRUE(python("random_lists.py generate theirs " + std::to_string(kLists) + " 20010101"));
    std::filesystem::create_directories(mDir / "ours");
    for (int i = 0; i < kLists; ++i)
        for (const char* origin : {"xml", "bplist"}) {
            const std::string name = std::to_string(i) + "." + origin;
            if (!std::filesystem::exists(mDir / "theirs" / name))
                continue;
            SCOPED_TRACE(name);
            const ParseResult read = readPlist(slurp("theirs/" + name));
            ASSERT_TRUE(read.ok()) << read.error;
            for (const PlistFormat format : {PlistFormat::Xml, PlistFormat::Binary}) {
                const PlistOutput out = writePlist(read.value, format);
                ASSERT_TRUE(out.ok()) << out.error;
                spit("ours/" + name + (format == PlistFormat::Xml ? ".xml" : ".bplist"), out.bytes);
                // And we read our own writing back as we wrote it.
                const ParseResult again = readPlist(out.bytes);
                ASSERT_TRUE(again.ok()) << again.error;
                EXPECT_TRUE(sameAfterPlistForm(read.value, again.value, format)) << testing::PrintToString(again.value);
            }
        }
    const bool same = python("random_lists.py compare theirs ours " + std::to_string(kLists) + " > report.txt 2>&1");
    EXPECT_TRUE(same) << slurp("report.txt");
}

} // namespace
} // namespace ch

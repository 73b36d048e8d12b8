// Keyed archives written by three other libraries: each valid one decodes to
// what its library put in, each broken one is refused with a message.
#include "platform/core/keyed_archive.h"

#include "value_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace ch {
namespace {

const std::filesystem::path kCorpus = COUNTINGHOUSE_TEST_DATA "/../../../shared/corpus/keyed-archives";

// Stands in for the custom classes of the samples: the fields they wrote,
// looked up by name, become a dictionary under "$class" = the registered name.
struct SampleObject : Archivable {
    enum class Kind { Value, Object, ObjectArray };
    static constexpr std::pair<const char*, Kind> kFields[] = {
        {"title", Kind::Value},         {"count", Kind::Value},          {"active", Kind::Value},
        {"categories", Kind::Value},    {"metadata", Kind::Value},       {"stamp", Kind::Value},
        {"empty", Kind::Value},         {"int_field", Kind::Value},      {"str_field", Kind::Value},
        {"float_field", Kind::Value},   {"list_field", Kind::Value},     {"tableID", Kind::Value},
        {"rowHeader", Kind::Value},     {"replyHeader", Kind::Value},    {"keyPath", Kind::Value},
        {"stopValue", Kind::Value},     {"recursive", Kind::Object},     {"keyColumn", Kind::Object},
        {"valueColumn", Kind::Object},  {"columns", Kind::ObjectArray},  {"replyColumns", Kind::ObjectArray},
    };

    Dictionary fields;

    static Value valueOf(const std::shared_ptr<Archivable>& object) {
        auto sample = std::dynamic_pointer_cast<SampleObject>(object);
        return sample ? Value(sample->fields) : Value();
    }
    static std::shared_ptr<Archivable> decode(const char* className, KeyedUnarchiver& coder) {
        auto object = std::make_shared<SampleObject>();
        object->fields.set("$class", Value(className));
        for (const auto& [name, kind] : kFields) {
            if (!coder.containsKey(name))
                continue;
            Value field;
            if (kind == Kind::Value) {
                field = coder.decodeValue(name);
            } else if (kind == Kind::Object) {
                field = valueOf(coder.decodeObject(name));
            } else {
                Array elements;
                for (const auto& element : coder.decodeObjectArray(name))
                    elements.push_back(valueOf(element));
                field = Value(std::move(elements));
            }
            object->fields.set(name, std::move(field));
        }
        return object;
    }

    std::vector<std::string> archiveClassNames() const override { return {"SampleObject", "NSObject"}; }
    void encodeWithCoder(KeyedArchiver&) const override {}
};

const ArchiveClassRegistry& sampleRegistry() {
    static const ArchiveClassRegistry registry = [] {
        ArchiveClassRegistry r;
        // The column subclasses decode through their registered superclass.
        for (const char* name : {"crap.Foo", "FooDataclass", "JNStreamTable", "JNStreamTableColumn"})
            r.add(name, [name](KeyedUnarchiver& coder) { return SampleObject::decode(name, coder); });
        return r;
    }();
    return registry;
}

std::string render(const Value& value) {
    std::ostringstream out;
    describeValue(value, out);
    return out.str();
}

// How many values of each kind a tree holds, for the samples too long to
// spell out.
std::string shapeOf(const Value& root) {
    std::map<Value::Type, int> counts;
    std::vector<const Value*> pending{&root};
    while (!pending.empty()) {
        const Value* value = pending.back();
        pending.pop_back();
        ++counts[value->type()];
        if (auto array = value->asArray())
            for (const Value& element : *array)
                pending.push_back(&element);
        if (auto dict = value->asDictionary())
            for (const auto entry : *dict)
                pending.push_back(&entry.value);
    }
    static const std::pair<Value::Type, const char*> kNames[] = {
        {Value::Type::Array, "arrays"},     {Value::Type::Dictionary, "dictionaries"},
        {Value::Type::String, "strings"},   {Value::Type::Integer, "integers"},
        {Value::Type::Real, "reals"},       {Value::Type::Bool, "booleans"},
        {Value::Type::Data, "data"},        {Value::Type::Date, "dates"},
        {Value::Type::Absent, "nils"},
    };
    std::string shape;
    for (const auto& [type, name] : kNames)
        if (counts[type])
            shape += (shape.empty() ? "" : ", ") + std::string(name) + " " + std::to_string(counts[type]);
    return shape;
}

// What the root is: a value, or an object of one of the custom classes.
enum class Root { Value, Object };

struct Decoded {
    Value value;
    std::string error;
};

// Reads a sample the way its library's reader does: the root under "root",
// or the unkeyed top-level values "$0", "$1", ... as an array. Without a root
// the sample is refused (the unarchiver itself answers nil for a missing key).
Decoded readSample(const std::string& bytes, Root root) {
    KeyedUnarchiver unarchiver(bytes, sampleRegistry());
    Decoded result;
    if (unarchiver.containsKey("root")) {
        result.value = root == Root::Object ? SampleObject::valueOf(unarchiver.decodeObject("root"))
                                            : unarchiver.decodeValue("root");
    } else if (unarchiver.containsKey("$0")) {
        Array values;
        while (!unarchiver.failed() && unarchiver.containsKey("$" + std::to_string(values.size())))
            values.push_back(unarchiver.decodeValue());
        result.value = Value(std::move(values));
    } else if (!unarchiver.failed()) {
        result.error = "no root object";
    }
    if (unarchiver.failed())
        result = {Value(), unarchiver.error()};
    return result;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Sample {
    const char* file;
    Root root;
    // The rendering of what decodes (its beginning when a shape is given).
    const char* decodes;
    // Or a part of the message that refuses the sample.
    const char* refusedWith = nullptr;
    const char* shape = nullptr;
};

const Sample kSamples[] = {
    // Archives of the standard classes, XML and binary.
    {"go_primitives.bin", Root::Value,
     R"([1, 1, 1r, 1.5r, <61736466617364666164736661647366>, true, "Hello, World!", "Hello, World!", "Hello, World!", false, false, 42])"},
    {"go_primitives.xml", Root::Value,
     R"([1, 1, 1r, 1.5r, <61736466617364666164736661647366>, true, "Hello, World!", "Hello, World!", "Hello, World!", false, false, 42])"},
    {"go_onevalue.bin", Root::Value, "[true]"},
    {"go_onevalue.xml", Root::Value, "[true]"},
    // Sets (the last two of each) decode as the arrays of their members.
    {"go_arrays.bin", Root::Value,
     R"([[1, 1, 1r, 1.5r, <61736466617364666164736661647366>, true, "Hello, World!", "Hello, World!", "Hello, World!", false, false, 42], [true, "Hello, World!", 42], [true], [42, true, "Hello, World!"]])"},
    {"go_arrays.xml", Root::Value,
     R"([[1, 1, 1r, 1.5r, <61736466617364666164736661647366>, true, "Hello, World!", "Hello, World!", "Hello, World!", false, false, 42], [true, "Hello, World!", 42], [true], [42, true, "Hello, World!"]])"},
    {"go_nestedarrays.bin", Root::Value, R"([[[true], [42, true, "Hello, World!"]]])"},
    {"go_nestedarrays.xml", Root::Value, R"([[[true], [42, true, "Hello, World!"]]])"},
    {"go_dict.bin", Root::Value, R"([{"int": 1, "string": "string", "array": [true, "Hello, World!", 42]}])"},
    {"go_dict.xml", Root::Value, R"([{"int": 1, "string": "string", "array": [true, "Hello, World!", 42]}])"},
    {"cpp_bool_true.bplist", Root::Value, "true"},
    {"cpp_integer_10.bplist", Root::Value, "10"},
    {"cpp_nsstring_setconfig.bplist", Root::Value, R"("setConfig:")"},
    {"cpp_nsset_energy.bplist", Root::Value,
     R"(["energy.cost", "energy.CPU", "energy.networking", "energy.location", "energy.GPU", "energy.appstate", "energy.overhead"])"},
    {"cpp_nsarray_networking.bplist", Root::Value,
     "[1, [<1c1ec675000000002408855622004847140be2b05335fd5900000000>, "
     "<1c1e0000000000000000000000000000000000000000000000000000>, 10, -2, 131072, 0, 4, 1]]"},
    // Mutable strings, and a mutable set inside a dictionary.
    {"cpp_nsdictionary_setconfig.bplist", Root::Value,
     R"({"ur": 500, "tc": [{"kdf2": [630784000, 833617920, 830472456], "tk": 3, "uuid": "2C46B61A-CDA9-4D59-B901-22E28B08C260"}], "rp": 10})"},
    {"cpp_nsarray_gpuinfo.bplist", Root::Value,
     R"([{"headless": false, "displays": [{"pixel-width": 1242r, "accelerator-id": 4294967998, "framebuffer-index": 0, )"
     R"("built-in": true, "display-id": 1, "pixel-height": 2688r, "device-name": "LCD", "resolution": [1242r, 2688r]}], )"
     R"("recommended-max-working-set-size": 2620473344, "perf-state": {"available": true, "enabled": false, "level": 0, )"
     R"("mapping": 16975360, "accelerator-id": 4294967998, "sustained": false}, "mobile": true, "low-power": false, )"
     R"("min-collection-interval": 0, "agx-tracecode-version": "3.24.4", "accelerator-id": 4294967998, "device-name": "A13", )"
     R"("family-name": "A13", "supported-counter-profiles": [0, 3, 4, 1], "product-name": "", "removable": false, )"
     R"("vendor-name": "Apple"}])"},
    // A dictionary whose keys are the numbers 0 to 3.
    {"cpp_nsarray_gpucounters.bplist", Root::Value,
     R"([0, 36079294411123, 4294967998, 3, {"0": [["ALU Limiter", 100, "Measures the time during which ALU work is )"
     R"(attempted to execute as a percentage of peak ALU performance.", "ALULimiter", 100, 0], )",
     nullptr, "arrays 44, dictionaries 2, strings 72, integers 55, booleans 26"},
    {"cpp_nsarray_runningprocesses.bplist", Root::Value,
     R"([{"name": "contactsd", "startDate": date(680457815.615284), "isApplication": false, "pid": 84474, )"
     R"("realAppName": "/System/Library/Frameworks/Contacts.framework/Support/contactsd"}, )",
     nullptr, "arrays 1, dictionaries 328, strings 656, integers 328, booleans 328, dates 327"},

    // Archives of custom classes.
    {"bpylist2_simple_archive.plist", Root::Object, R"({"$class": "crap.Foo", "title": "yo", "count": 42, "active": true})"},
    {"bpylist2_empty_archive.plist", Root::Object, R"({"$class": "crap.Foo"})"},
    {"bpylist2_null_archive.plist", Root::Object, R"({"$class": "crap.Foo", "title": "yo", "empty": <absent>})"},
    {"bpylist2_data_archive.plist", Root::Object, R"({"$class": "crap.Foo", "title": "yo", "stamp": <>})"},
    {"bpylist2_date_archive.plist", Root::Object,
     R"({"$class": "crap.Foo", "title": "hello", "stamp": date(509523358.684097)})"},
    {"bpylist2_complex_archive.plist", Root::Object,
     R"({"$class": "crap.Foo", "title": "yo", "count": 42, "active": true, "categories": ["banana", "apple"], )"
     R"("metadata": {"fruit": "kiwi", "veg": "asparagus"}})"},
    {"bpylist2_dataclass_archive.plist", Root::Object,
     R"({"$class": "FooDataclass", "int_field": 5, "str_field": "hello", "float_field": 3.15r, "list_field": ["foo", "bar", "baz"]})"},
    {"bpylist2_recursive_archive.plist", Root::Object,
     R"({"$class": "crap.Foo", "title": "hello", "recursive": {"$class": "crap.Foo", "title": "yo", "recursive": <absent>}})"},
    // "NS.data" refers to the data instead of holding it.
    {"bpylist2_nsmutabledata_archive.plist", Root::Value, "<68656c6c6f>"},
    {"bpylist2_fullChangeLog.bplist", Root::Object,
     R"({"$class": "JNStreamTable", "tableID": "fullChangeLog", "rowHeader": 2, "replyHeader": 0, "columns": [)"
     R"({"$class": "JNStreamTableColumn", "keyPath": "changeType", "stopValue": <absent>}, )"
     R"({"$class": "JNStreamTableColumn", "keyPath": "syncID", "stopValue": <absent>}, )"
     R"({"$class": "JNStreamTableColumn", "keyPath": "changeLogID", "stopValue": <absent>}, )"
     R"({"$class": "JNStreamTableColumn", "keyPath": "className", "stopValue": <absent>}, )"
     R"({"$class": "JNStreamTableColumn", "keyPath": "primaryKey", "stopValue": <absent>}, )"
     R"({"$class": "JNStreamTableColumn", "keyPath": "unneeded", "stopValue": <absent>}, )"
     R"({"$class": "JNStreamTableColumn", "keyPath": "changeData", "stopValue": <absent>, )"
     R"("keyColumn": {"$class": "JNStreamTableColumn", "keyPath": "key", "stopValue": ""}, )"
     R"("valueColumn": {"$class": "JNStreamTableColumn", "keyPath": "value", "stopValue": <absent>}}], "replyColumns": []})"},
    // We do not rebuild cycles.
    {"bpylist2_circular_archive.plist", Root::Object, nullptr, "contains itself"},

    // Broken archives.
    {"go_broken_plist.xml", Root::Value, nullptr, "unreadable"},
    {"go_missing_archiver.xml", Root::Value, nullptr, R"("$archiver")"},
    {"go_wrong_archiver.xml", Root::Value, nullptr, R"("$archiver")"},
    {"bpylist2_invalid_type_archive.plist", Root::Value, nullptr, R"("$archiver")"},
    {"go_missing_version.xml", Root::Value, nullptr, R"("$version")"},
    {"go_wrong_version.xml", Root::Value, nullptr, R"("$version" = 18;)"},
    {"bpylist2_invalid_version_archive.plist", Root::Value, nullptr, R"("$version" = 10000;)"},
    {"go_missing_objects.xml", Root::Value, nullptr, R"("$objects")"},
    {"bpylist2_no_objects_archive.plist", Root::Value, nullptr, R"("$objects")"},
    {"go_missing_top.xml", Root::Value, nullptr, R"("$top")"},
    {"bpylist2_no_top_archive.plist", Root::Value, nullptr, R"("$top")"},
    {"bpylist2_no_root_archive.plist", Root::Value, nullptr, "no root object"},
    {"bpylist2_invalid_uid_archive.plist", Root::Value, nullptr, "refers to object 10 of 3"},
    {"bpylist2_missing_uid_archive.plist", Root::Value, nullptr, R"(object without "$class")"},
    {"bpylist2_no_class_meta_archive.plist", Root::Value, nullptr, R"(class without "$classname")"},
    {"bpylist2_no_class_name_archive.plist", Root::Value, nullptr, R"(class without "$classname")"},

    // Plain property lists, no archives at all.
    {"bpylist2_AccessibilityDefinitions.plist", Root::Value, nullptr, R"("$archiver")"},
    {"bpylist2_dict_big.plist", Root::Value, nullptr, R"("$archiver")"},
    {"bpylist2_dict_empty.plist", Root::Value, nullptr, R"("$archiver")"},
    {"bpylist2_dict_nested.plist", Root::Value, nullptr, R"("$archiver")"},
    {"bpylist2_dict_small.plist", Root::Value, nullptr, R"("$archiver")"},
    {"bpylist2_array_empty.plist", Root::Value, nullptr, "not a dictionary"},
    {"bpylist2_array_long.plist", Root::Value, nullptr, "not a dictionary"},
    {"bpylist2_array_short.plist", Root::Value, nullptr, "not a dictionary"},
    {"bpylist2_ascii_string_empty.plist", Root::Value, nullptr, "not a dictionary"},
    {"bpylist2_ascii_string_long.plist", Root::Value, nullptr, "not a dictionary"},
    {"bpylist2_ascii_string_short.plist", Root::Value, nullptr, "not a dictionary"},
    {"bpylist2_utf16_string_empty.plist", Root::Value, nullptr, "not a dictionary"},
    {"bpylist2_utf16_string_long.plist", Root::Value, nullptr, "not a dictionary"},
    {"bpylist2_utf16_string_short.plist", Root::Value, nullptr, "not a dictionary"},
    {"bpylist2_data_long.plist", Root::Value, nullptr, "not a dictionary"},
    {"bpylist2_data_short.plist", Root::Value, nullptr, "not a dictionary"},
    {"bpylist2_date_future.plist", Root::Value, nullptr, "not a dictionary"},
    {"bpylist2_date_past.plist", Root::Value, nullptr, "not a dictionary"},
    {"bpylist2_date_recent.plist", Root::Value, nullptr, "not a dictionary"},
    {"bpylist2_true.plist", Root::Value, nullptr, "not a dictionary"},
    {"bpylist2_false.plist", Root::Value, nullptr, "not a dictionary"},
    {"bpylist2_float32.plist", Root::Value, nullptr, "not a dictionary"},
    {"bpylist2_float64.plist", Root::Value, nullptr, "not a dictionary"},
    {"bpylist2_int8.plist", Root::Value, nullptr, "not a dictionary"},
    {"bpylist2_int16.plist", Root::Value, nullptr, "not a dictionary"},
    {"bpylist2_int32.plist", Root::Value, nullptr, "not a dictionary"},
    {"bpylist2_int64.plist", Root::Value, nullptr, "not a dictionary"},
    {"bpylist2_int64_max.plist", Root::Value, nullptr, "not a dictionary"},
    {"bpylist2_negative1.plist", Root::Value, nullptr, "not a dictionary"},
    {"bpylist2_negative26.plist", Root::Value, nullptr, "not a dictionary"},
    {"bpylist2_negative_int_max.plist", Root::Value, nullptr, "not a dictionary"},
};

TEST(KeyedArchiveCorpus, EverySampleDecodesToWhatItsLibraryWroteOrIsRefused)
{
    if (!std::filesystem::is_directory(kCorpus))
        GTEST_SKIP() << "no sample archives at " << kCorpus;

    std::set<std::string> expected;
    for (const Sample& sample : kSamples)
        expected.insert(sample.file);
    for (const auto& entry : std::filesystem::directory_iterator(kCorpus)) {
        const std::string name = entry.path().filename().string();
        if (name != "README.md" && !expected.count(name))
            ADD_FAILURE() << name << ": a sample the table does not describe";
    }

    for (const Sample& sample : kSamples) {
        SCOPED_TRACE(sample.file);
        const std::filesystem::path path = kCorpus / sample.file;
        if (!std::filesystem::exists(path)) {
            ADD_FAILURE() << "missing";
            continue;
        }
        const std::string bytes = readFile(path);
        const Decoded decoded = readSample(bytes, sample.root);

        if (sample.refusedWith) {
            EXPECT_TRUE(decoded.value.isAbsent());
            EXPECT_NE(decoded.error.find(sample.refusedWith), std::string::npos) << decoded.error;
            continue;
        }
        if (!decoded.error.empty()) {
            ADD_FAILURE() << "refused: " << decoded.error;
            continue;
        }
        const std::string rendering = render(decoded.value);
        if (sample.shape) {
            EXPECT_EQ(rendering.substr(0, std::string_view(sample.decodes).size()), sample.decodes);
            EXPECT_EQ(shapeOf(decoded.value), sample.shape);
        } else {
            EXPECT_EQ(rendering, sample.decodes);
        }

        // What was read archives again and reads back the same.
        if (sample.root == Root::Value) {
            KeyedArchiver archiver;
            archiver.encodeValue(decoded.value, "root");
            const PlistOutput again = archiver.finish();
            ASSERT_TRUE(again.ok()) << again.error;
            KeyedUnarchiver reader(again.bytes);
            EXPECT_EQ(reader.decodeValue("root"), decoded.value);
            EXPECT_FALSE(reader.failed()) << reader.error();
        }
    }
}

} // namespace
} // namespace ch

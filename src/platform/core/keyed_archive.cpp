#include "platform/core/keyed_archive.h"

// GCC 12 reports std::variant and std::string internals of ch::Value as
// uninitialized or overlapping once this file is inlined at -O2; both are
// known false positives of that compiler.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wrestrict"
#endif

#include <algorithm>
#include <optional>
#include <utility>

namespace ch {

namespace {

constexpr std::string_view kArchiver = "NSKeyedArchiver";
constexpr std::int64_t kVersion = 100000;
constexpr std::string_view kNull = "$null";
// Deeper than any real archive; keeps hostile nesting off the stack's end.
constexpr std::size_t kMaxDepth = 200;

// A reference: a UID, or the {"CF$UID" = n} dictionary that stands for one in
// the XML form when a reader did not turn it into a UID already.
std::optional<std::uint64_t> uidOf(const Value& value) {
    if (auto uid = value.asUid())
        return uid->index;
    if (auto dict = value.asDictionary(); dict && dict->size() == 1 && dict->keyAt(0) == "CF$UID")
        if (auto n = dict->valueAt(0).asInteger(); n && *n >= 0)
            return std::uint64_t(*n);
    return std::nullopt;
}

bool isScalar(const Value& value) {
    switch (value.type()) {
    case Value::Type::Bool:
    case Value::Type::Integer:
    case Value::Type::Real:
    case Value::Type::String:
    case Value::Type::Data:
        return true;
    default:
        return false;
    }
}

// Counts every value in a tree, for the reference budget.
std::size_t countValues(const Value& value) {
    std::size_t count = 1;
    if (auto array = value.asArray())
        for (const auto& element : *array)
            count += countValues(element);
    else if (auto dict = value.asDictionary())
        for (std::size_t i = 0; i < dict->size(); ++i)
            count += countValues(dict->valueAt(i));
    return count;
}

} // namespace

// --- ArchiveClassRegistry ---------------------------------------------------

ArchiveClassRegistry& ArchiveClassRegistry::standard() {
    static ArchiveClassRegistry registry;
    return registry;
}

void ArchiveClassRegistry::add(std::string className, Factory factory) {
    mFactories[std::move(className)] = std::move(factory);
}

const ArchiveClassRegistry::Factory* ArchiveClassRegistry::find(std::string_view className) const {
    auto it = mFactories.find(className);
    return it == mFactories.end() ? nullptr : &it->second;
}

// --- KeyedArchiver -----------------------------------------------------------

KeyedArchiver::KeyedArchiver() { mObjects.push_back(Value(std::string(kNull))); }

void KeyedArchiver::fail(std::string message) {
    if (mError.empty())
        mError = std::move(message);
}

std::uint64_t KeyedArchiver::reserve() {
    // A placeholder that is replaced once the entry's contents are known.
    mObjects.push_back(Value(false));
    return mObjects.size() - 1;
}

std::string KeyedArchiver::nextUnkeyedKey() {
    Frame& frame = mFrames.empty() ? mTop : mFrames.back();
    return "$" + std::to_string(frame.nextUnkeyed++);
}

void KeyedArchiver::put(std::string_view key, std::uint64_t uid) {
    Frame& frame = mFrames.empty() ? mTop : mFrames.back();
    frame.fields.set(std::string(key), Value(Uid{uid}));
}

void KeyedArchiver::encodeValue(const Value& value, std::string_view key) {
    put(key, uidForValue(value, 0));
}

void KeyedArchiver::encodeValue(const Value& value) { encodeValue(value, nextUnkeyedKey()); }

void KeyedArchiver::encodeObject(const std::shared_ptr<const Archivable>& object, std::string_view key) {
    put(key, uidForObject(object));
}

void KeyedArchiver::encodeObject(const std::shared_ptr<const Archivable>& object) {
    encodeObject(object, nextUnkeyedKey());
}

void KeyedArchiver::encodeObjectArray(const std::vector<std::shared_ptr<const Archivable>>& objects,
                                      std::string_view key) {
    put(key, uidForObjectArray(objects));
}

std::uint64_t KeyedArchiver::uidForClass(const std::vector<std::string>& classNames) {
    if (classNames.empty() || classNames.front().empty()) {
        fail("archived object without a class name");
        return 0;
    }
    auto found = mClassUids.find(classNames.front());
    if (found != mClassUids.end())
        return found->second;
    Array classes;
    for (const auto& name : classNames)
        classes.push_back(Value(name));
    mObjects.push_back(Value(Dictionary{{"$classname", Value(classNames.front())},
                                        {"$classes", Value(std::move(classes))}}));
    const std::uint64_t uid = mObjects.size() - 1;
    mClassUids.emplace(classNames.front(), uid);
    return uid;
}

std::uint64_t KeyedArchiver::uidForValue(const Value& value, std::size_t depth) {
    if (depth > kMaxDepth) {
        fail("value nested too deeply to archive");
        return 0;
    }
    switch (value.type()) {
    case Value::Type::Absent:
        return 0;
    case Value::Type::Uid:
        fail("a UID cannot be archived as a value");
        return 0;
    case Value::Type::Bool:
    case Value::Type::Integer:
    case Value::Type::Real:
    case Value::Type::String: {
        // Equal scalars are stored once, as the platform's archiver does for
        // shared strings and numbers. The type is part of the key: 1, 1.0 and
        // true stay distinct.
        std::string key(1, char('0' + int(value.type())));
        if (auto s = value.asString())
            key += *s;
        else if (auto i = value.asInteger())
            key.append(reinterpret_cast<const char*>(i), sizeof *i);
        else if (auto r = value.asReal())
            key.append(reinterpret_cast<const char*>(r), sizeof *r);
        else
            key += *value.asBool() ? '1' : '0';
        auto [it, inserted] = mScalarUids.emplace(std::move(key), mObjects.size());
        if (inserted)
            mObjects.push_back(value);
        return it->second;
    }
    case Value::Type::Data:
        mObjects.push_back(value);
        return mObjects.size() - 1;
    case Value::Type::Date: {
        const std::uint64_t uid = reserve();
        const std::uint64_t cls = uidForClass({"NSDate", "NSObject"});
        mObjects[uid] = Value(Dictionary{{"$class", Value(Uid{cls})},
                                         {"NS.time", Value(value.asDate()->seconds)}});
        return uid;
    }
    case Value::Type::Array: {
        const std::uint64_t uid = reserve();
        const std::uint64_t cls = uidForClass({"NSMutableArray", "NSArray", "NSObject"});
        Array refs;
        refs.reserve(value.asArray()->size());
        for (const auto& element : *value.asArray()) {
            if (element.isAbsent())
                fail("an archived array cannot hold nil");
            refs.push_back(Value(Uid{uidForValue(element, depth + 1)}));
        }
        mObjects[uid] = Value(Dictionary{{"$class", Value(Uid{cls})}, {"NS.objects", Value(std::move(refs))}});
        return uid;
    }
    case Value::Type::Dictionary: {
        const std::uint64_t uid = reserve();
        const std::uint64_t cls =
            uidForClass({"NSMutableDictionary", "NSDictionary", "NSObject"});
        const Dictionary& dict = *value.asDictionary();
        Array keys, values;
        for (std::size_t i = 0; i < dict.size(); ++i) {
            if (dict.valueAt(i).isAbsent())
                fail("an archived dictionary cannot hold nil");
            keys.push_back(Value(Uid{uidForValue(Value(dict.keyAt(i)), depth + 1)}));
            values.push_back(Value(Uid{uidForValue(dict.valueAt(i), depth + 1)}));
        }
        mObjects[uid] = Value(Dictionary{{"$class", Value(Uid{cls})},
                                         {"NS.keys", Value(std::move(keys))},
                                         {"NS.objects", Value(std::move(values))}});
        return uid;
    }
    }
    return 0;
}

std::uint64_t KeyedArchiver::uidForObject(const std::shared_ptr<const Archivable>& object) {
    if (!object)
        return 0;
    if (auto found = mObjectUids.find(object.get()); found != mObjectUids.end())
        return found->second;
    if (mFrames.size() > kMaxDepth) {
        fail("objects nested too deeply to archive");
        return 0;
    }
    // The UID is taken before the contents are written, so that an object
    // reached again from inside itself is only referred to.
    const std::uint64_t uid = reserve();
    mObjectUids.emplace(object.get(), uid);
    mKeepAlive.push_back(object);
    const std::uint64_t cls = uidForClass(object->archiveClassNames());
    mFrames.emplace_back();
    mFrames.back().fields.set("$class", Value(Uid{cls}));
    object->encodeWithCoder(*this);
    mObjects[uid] = Value(std::move(mFrames.back().fields));
    mFrames.pop_back();
    return uid;
}

std::uint64_t KeyedArchiver::uidForObjectArray(const std::vector<std::shared_ptr<const Archivable>>& objects) {
    const std::uint64_t uid = reserve();
    const std::uint64_t cls = uidForClass({"NSMutableArray", "NSArray", "NSObject"});
    Array refs;
    refs.reserve(objects.size());
    for (const auto& object : objects) {
        if (!object)
            fail("an archived array cannot hold nil");
        refs.push_back(Value(Uid{uidForObject(object)}));
    }
    mObjects[uid] = Value(Dictionary{{"$class", Value(Uid{cls})}, {"NS.objects", Value(std::move(refs))}});
    return uid;
}

PlistOutput KeyedArchiver::finish() const {
    if (!mError.empty())
        return {{}, mError};
    Dictionary root{{"$archiver", Value(std::string(kArchiver))},
                    {"$version", Value(kVersion)},
                    {"$top", Value(mTop.fields)},
                    {"$objects", Value(mObjects)}};
    return writePlist(Value(std::move(root)), PlistFormat::Binary);
}

// --- KeyedUnarchiver ---------------------------------------------------------

KeyedUnarchiver::KeyedUnarchiver(std::string_view bytes, const ArchiveClassRegistry& registry)
    : mRegistry(registry) {
    ParseResult parsed = readPlist(bytes);
    if (!parsed) {
        fail("keyed archive unreadable: " + parsed.error);
        return;
    }
    mRoot = std::move(parsed.value);
    const Dictionary* root = mRoot.asDictionary();
    if (!root) {
        fail("keyed archive is not a dictionary");
        return;
    }
    const Value& archiver = (*root)["$archiver"];
    if (!archiver.asString() || *archiver.asString() != kArchiver) {
        fail("keyed archive without \"$archiver\" = \"NSKeyedArchiver\"");
        return;
    }
    const Value& version = (*root)["$version"];
    if (!version.isInteger()) {
        fail("keyed archive without \"$version\"");
        return;
    }
    // The layout has had one version since it exists; another number is a
    // layout we do not know.
    if (*version.asInteger() != kVersion) {
        fail("keyed archive with \"$version\" = " + version.toString() + "; only " + std::to_string(kVersion) +
             " is known");
        return;
    }
    mTop.fields = (*root)["$top"].asDictionary();
    mObjects = (*root)["$objects"].asArray();
    if (!mTop.fields || !mObjects || mObjects->empty() || !(*mObjects)[0].asString() ||
        *(*mObjects)[0].asString() != kNull) {
        fail("keyed archive without \"$top\" or \"$objects\" starting with \"$null\"");
        return;
    }
    // Each reference in the file may be followed about once; the slack
    // covers a few shared arrays. Exponential sharing runs out of it.
    mBudget = 2 * countValues(mRoot) + 1024;
    mReached.assign(mObjects->size(), false);
    mReached[0] = true;
}

void KeyedUnarchiver::fail(std::string message) {
    if (mError.empty())
        mError = std::move(message);
}

const Value* KeyedUnarchiver::field(std::string_view key) const {
    if (failed())
        return nullptr;
    const Frame& frame = mFrames.empty() ? mTop : mFrames.back();
    return frame.fields->find(key);
}

const Value* KeyedUnarchiver::nextUnkeyedField() {
    if (failed())
        return nullptr;
    Frame& frame = mFrames.empty() ? mTop : mFrames.back();
    return frame.fields->find("$" + std::to_string(frame.nextUnkeyed++));
}

bool KeyedUnarchiver::containsKey(std::string_view key) const { return field(key) != nullptr; }

std::vector<std::string> KeyedUnarchiver::keys() const {
    std::vector<std::string> result;
    const Frame& frame = mFrames.empty() ? mTop : mFrames.back();
    if (failed() || !frame.fields)
        return result;
    for (const auto entry : *frame.fields)
        result.push_back(entry.key);
    return result;
}

void KeyedUnarchiver::noteDamage(std::string message) { mNotedDamage.push_back(std::move(message)); }

std::vector<std::string> KeyedUnarchiver::takeNotedDamage() { return std::exchange(mNotedDamage, {}); }

std::size_t KeyedUnarchiver::unreachedEntryCount() const {
    return std::size_t(std::count(mReached.begin(), mReached.end(), false));
}

bool KeyedUnarchiver::charge() {
    if (mBudget == 0) {
        fail("keyed archive refers to its objects too often");
        return false;
    }
    --mBudget;
    return true;
}

const Value* KeyedUnarchiver::deref(std::uint64_t uid) {
    if (uid >= mObjects->size()) {
        fail("keyed archive refers to object " + std::to_string(uid) + " of " +
             std::to_string(mObjects->size()));
        return nullptr;
    }
    mReached[std::size_t(uid)] = true;
    return &(*mObjects)[std::size_t(uid)];
}

const Value* KeyedUnarchiver::scalarField(const Dictionary& object, std::string_view key) {
    const Value* value = object.find(key);
    if (!value)
        return nullptr;
    // Stored in the object itself, or (as some archivers write it) in an
    // entry of its own that the field refers to.
    if (auto uid = uidOf(*value)) {
        if (*uid == 0)
            return nullptr;
        value = deref(*uid);
        if (value && !isScalar(*value))
            return nullptr;
    }
    return value;
}

const Array* KeyedUnarchiver::arrayField(const Dictionary& object, std::string_view key) {
    const Array* array = object[key].asArray();
    if (!array)
        fail("keyed archive object without \"" + std::string(key) + "\"");
    return array;
}

bool KeyedUnarchiver::classOf(const Dictionary& object, std::string& className, Builtin& builtin,
                              const ArchiveClassRegistry::Factory*& factory) {
    builtin = Builtin::None;
    factory = nullptr;
    auto classUid = uidOf(object["$class"]);
    if (!classUid || *classUid == 0) {
        fail("keyed archive object without \"$class\"");
        return false;
    }
    const Value* classEntry = deref(*classUid);
    if (!classEntry)
        return false;
    const Dictionary* classDict = classEntry->asDictionary();
    const std::string* name = classDict ? (*classDict)["$classname"].asString() : nullptr;
    if (!name) {
        fail("keyed archive class without \"$classname\"");
        return false;
    }
    className = *name;

    static const std::pair<std::string_view, Builtin> kBuiltins[] = {
        {"NSMutableArray", Builtin::Array},     {"NSArray", Builtin::Array},
        {"NSMutableDictionary", Builtin::Dictionary}, {"NSDictionary", Builtin::Dictionary},
        {"NSMutableString", Builtin::String},   {"NSString", Builtin::String},
        {"NSMutableData", Builtin::Data},       {"NSData", Builtin::Data},
        {"NSDate", Builtin::Date},
        {"NSMutableSet", Builtin::Set},         {"NSSet", Builtin::Set},
    };
    auto classify = [&](std::string_view candidate) {
        if ((factory = mRegistry.find(candidate)))
            return true;
        for (const auto& [builtinName, kind] : kBuiltins)
            if (candidate == builtinName) {
                builtin = kind;
                return true;
            }
        return false;
    };
    if (classify(className))
        return true;
    // An unknown class decodes as the first superclass that is known.
    if (const Array* classes = (*classDict)["$classes"].asArray())
        for (const auto& candidate : *classes)
            if (auto s = candidate.asString(); s && classify(*s))
                return true;
    fail("keyed archive holds an object of class \"" + className + "\", which is unknown here");
    return false;
}

Value KeyedUnarchiver::valueFromField(const Value* f) {
    if (!f || failed())
        return Value();
    Value result = resolveValue(*f, 0);
    return failed() ? Value() : result;
}

Value KeyedUnarchiver::decodeValue(std::string_view key) { return valueFromField(field(key)); }

Value KeyedUnarchiver::decodeValue() { return valueFromField(nextUnkeyedField()); }

Value KeyedUnarchiver::resolveValue(const Value& reference, std::size_t depth) {
    if (failed() || !charge())
        return Value();
    if (depth + mFrames.size() > kMaxDepth) {
        fail("keyed archive nested too deeply");
        return Value();
    }
    auto uid = uidOf(reference);
    if (!uid) {
        // Numbers and flags encoded with a key may stand inline.
        if (isScalar(reference))
            return reference;
        fail("keyed archive holds an unexpected inline value");
        return Value();
    }
    if (*uid == 0)
        return Value();
    const Value* entry = deref(*uid);
    if (!entry)
        return Value();
    if (isScalar(*entry))
        return *entry;
    const Dictionary* object = entry->asDictionary();
    if (!object) {
        fail("keyed archive holds a malformed entry");
        return Value();
    }
    std::string className;
    Builtin builtin;
    const ArchiveClassRegistry::Factory* factory;
    if (!classOf(*object, className, builtin, factory))
        return Value();

    switch (builtin) {
    case Builtin::None:
        fail("keyed archive holds an object of class \"" + className + "\" where a value belongs");
        return Value();
    case Builtin::String: {
        const Value* s = scalarField(*object, "NS.string");
        if (!s || !s->isString()) {
            fail("keyed archive string without \"NS.string\"");
            return Value();
        }
        return *s;
    }
    case Builtin::Data: {
        const Value* data = scalarField(*object, "NS.data");
        if (!data || !data->isData()) {
            fail("keyed archive data without \"NS.data\"");
            return Value();
        }
        return *data;
    }
    case Builtin::Date: {
        const Value* time = scalarField(*object, "NS.time");
        if (!time || (!time->isReal() && !time->isInteger())) {
            fail("keyed archive date without \"NS.time\"");
            return Value();
        }
        return Value(Date{time->toDouble()});
    }
    case Builtin::Array:
    case Builtin::Set:
    case Builtin::Dictionary:
        break;
    }

    // A container that contains itself would never end.
    if (!mInProgress.insert(*uid).second) {
        fail("keyed archive holds a container that contains itself");
        return Value();
    }
    Value result;
    if (builtin == Builtin::Array || builtin == Builtin::Set) {
        if (const Array* refs = arrayField(*object, "NS.objects")) {
            Array elements;
            elements.reserve(std::min<std::size_t>(refs->size(), mBudget));
            for (const auto& ref : *refs) {
                Value element = resolveValue(ref, depth + 1);
                if (failed())
                    break;
                if (element.isAbsent()) {
                    fail("keyed archive array holds nil");
                    break;
                }
                elements.push_back(std::move(element));
            }
            result = Value(std::move(elements));
        }
    } else {
        const Array* keys = arrayField(*object, "NS.keys");
        const Array* values = keys ? arrayField(*object, "NS.objects") : nullptr;
        if (values && keys->size() != values->size())
            fail("keyed archive dictionary with unequal key and value counts");
        if (values && !failed()) {
            Dictionary dict;
            for (std::size_t i = 0; i < keys->size() && !failed(); ++i) {
                Value key = resolveValue((*keys)[i], depth + 1);
                Value element = resolveValue((*values)[i], depth + 1);
                if (failed())
                    break;
                if (element.isAbsent()) {
                    fail("keyed archive dictionary with a nil value");
                    break;
                }
                if (!key.isString() && !key.isNumber()) {
                    fail(std::string("keyed archive dictionary with a key of type ") + typeName(key.type()) +
                         "; only text and numbers are read");
                    break;
                }
                // Keys are text here: a number key becomes its text. Two keys
                // that end up as the same text cannot both be kept.
                std::string text = key.toString();
                if (dict.contains(text)) {
                    fail("keyed archive dictionary with the key \"" + text + "\" twice");
                    break;
                }
                dict.set(std::move(text), std::move(element));
            }
            result = Value(std::move(dict));
        }
    }
    mInProgress.erase(*uid);
    return failed() ? Value() : result;
}

std::shared_ptr<Archivable> KeyedUnarchiver::objectFromField(const Value* f) {
    if (!f || failed())
        return nullptr;
    auto object = resolveObject(*f);
    return failed() ? nullptr : object;
}

std::shared_ptr<Archivable> KeyedUnarchiver::decodeObject(std::string_view key) {
    return objectFromField(field(key));
}

std::shared_ptr<Archivable> KeyedUnarchiver::decodeObject() { return objectFromField(nextUnkeyedField()); }

std::shared_ptr<Archivable> KeyedUnarchiver::resolveObject(const Value& reference) {
    if (failed() || !charge())
        return nullptr;
    auto uid = uidOf(reference);
    if (!uid) {
        fail("keyed archive holds a value where an object reference belongs");
        return nullptr;
    }
    if (*uid == 0)
        return nullptr;
    // A shared object decodes once; every reference gets the same instance.
    if (auto found = mDecoded.find(*uid); found != mDecoded.end())
        return found->second;
    if (mFrames.size() >= kMaxDepth) {
        fail("keyed archive nested too deeply");
        return nullptr;
    }
    const Value* entry = deref(*uid);
    if (!entry)
        return nullptr;
    const Dictionary* object = entry->asDictionary();
    if (!object) {
        fail("keyed archive holds a value where an object belongs");
        return nullptr;
    }
    std::string className;
    Builtin builtin;
    const ArchiveClassRegistry::Factory* factory;
    if (!classOf(*object, className, builtin, factory))
        return nullptr;
    if (!factory) {
        fail("keyed archive holds a \"" + className + "\" where an object belongs");
        return nullptr;
    }
    if (!mInProgress.insert(*uid).second) {
        fail("keyed archive holds an object that contains itself");
        return nullptr;
    }
    mFrames.push_back(Frame{object});
    std::shared_ptr<Archivable> decoded = (*factory)(*this);
    mFrames.pop_back();
    mInProgress.erase(*uid);
    if (failed())
        return nullptr;
    if (!decoded) {
        fail("keyed archive object of class \"" + className + "\" was refused");
        return nullptr;
    }
    mDecoded.emplace(*uid, decoded);
    return decoded;
}

std::vector<std::shared_ptr<Archivable>> KeyedUnarchiver::objectArrayFromField(const Value* f) {
    if (!f || failed() || !charge())
        return {};
    auto uid = uidOf(*f);
    if (!uid) {
        fail("keyed archive holds a value where an array belongs");
        return {};
    }
    if (*uid == 0)
        return {};
    const Value* entry = deref(*uid);
    if (!entry)
        return {};
    const Dictionary* object = entry->asDictionary();
    std::string className;
    Builtin builtin = Builtin::None;
    const ArchiveClassRegistry::Factory* factory = nullptr;
    if (!object || !classOf(*object, className, builtin, factory) || builtin != Builtin::Array) {
        fail("keyed archive holds something else where an array belongs");
        return {};
    }
    const Array* refs = arrayField(*object, "NS.objects");
    if (!refs)
        return {};
    std::vector<std::shared_ptr<Archivable>> result;
    result.reserve(std::min<std::size_t>(refs->size(), mBudget));
    for (const auto& ref : *refs) {
        auto element = resolveObject(ref);
        if (failed())
            return {};
        if (!element) {
            fail("keyed archive array holds nil");
            return {};
        }
        result.push_back(std::move(element));
    }
    return result;
}

std::vector<std::shared_ptr<Archivable>> KeyedUnarchiver::decodeObjectArray(std::string_view key) {
    return objectArrayFromField(field(key));
}

} // namespace ch

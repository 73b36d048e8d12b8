#pragma once
// Keyed archives in the standard property-list layout, so that the business
// part of document files written on the original platform opens here and
// ours open there:
//
//   { "$archiver" = "NSKeyedArchiver"; "$version" = 100000;
//     "$top" = { key = UID; ... };
//     "$objects" = ( "$null", ... ); }
//
// Every string, number and object lives once in "$objects" and is referred
// to by UID; UID 0 is nil. An archived object is a dictionary whose "$class"
// refers to { "$classname" = ...; "$classes" = (class, superclasses...); }.
// Values encoded without a key get the keys "$0", "$1", ... in order within
// their object. Arrays are "NSMutableArray" (read: also "NSArray") with
// "NS.objects", dictionaries "NSMutableDictionary" with "NS.keys" and
// "NS.objects", dates "NSDate" with "NS.time".
//
// The archiver writes the binary form; the unarchiver reads the binary and the
// XML form and treats every byte as hostile: a damaged archive sets an error
// and decodes nil from then on, it never crashes or hangs. Besides what the
// archiver writes, it reads what other archivers put in valid archives:
// - sets ("NSSet", "NSMutableSet" with "NS.objects"). A Value has no set kind:
//   a set decodes as the array of its members, in the order the archive
//   lists them (archived again, it is an array);
// - dictionaries with number keys. Dictionary keys are text: a number key
//   decodes as its text (Value::toString: 7 -> "7", 1.5 -> "1.5", true ->
//   "1"). Two keys with the same text, or a key that is neither text nor a
//   number, fail the archive;
// - "NS.string", "NS.data" and "NS.time" stored inline or in an entry of
//   their own that the field refers to.
// "$version" must be 100000, the only version of the layout.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/core/plist.h"
#include "platform/core/value.h"

namespace ch {

class KeyedArchiver;
class KeyedUnarchiver;

// An object that writes itself into a keyed archive.
class Archivable {
public:
    virtual ~Archivable() = default;
    // "$classes": the class name first, then its superclasses up to
    // "NSObject" (for example "GXVATRate", "GXNonVisual", "NSObject").
    virtual std::vector<std::string> archiveClassNames() const = 0;
    virtual void encodeWithCoder(KeyedArchiver& coder) const = 0;
};

// Which class decodes an archived object, by class name. A factory reads the
// object's fields from the unarchiver (in the order they were written) and
// returns the new object, or nullptr to refuse it.
class ArchiveClassRegistry {
public:
    using Factory = std::function<std::shared_ptr<Archivable>(KeyedUnarchiver& coder)>;

    // The process-wide registry; classes register at start-up.
    static ArchiveClassRegistry& standard();

    void add(std::string className, Factory factory);
    const Factory* find(std::string_view className) const;

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, Factory, Hash, std::equal_to<>> mFactories;
};

class KeyedArchiver {
public:
    KeyedArchiver();
    KeyedArchiver(const KeyedArchiver&) = delete;
    KeyedArchiver& operator=(const KeyedArchiver&) = delete;

    // Outside any object these go to "$top"; inside an object's
    // encodeWithCoder to that object. The unkeyed forms take the next "$n".
    //
    // A value: absent is nil; strings, numbers and data are stored as they
    // are; arrays, dictionaries and dates as the classes named above. A UID
    // cannot be encoded and fails the archive.
    void encodeValue(const Value& value, std::string_view key);
    void encodeValue(const Value& value);

    // An object (nullptr is nil). An object met again is referred to, not
    // written again, which also ends cycles.
    void encodeObject(const std::shared_ptr<const Archivable>& object, std::string_view key);
    void encodeObject(const std::shared_ptr<const Archivable>& object);

    // A mutable array of objects (an entry may not be nullptr).
    void encodeObjectArray(const std::vector<std::shared_ptr<const Archivable>>& objects,
                           std::string_view key);
    template <class T>
    void encodeObjectArray(const std::vector<std::shared_ptr<T>>& objects, std::string_view key) {
        encodeObjectArray(std::vector<std::shared_ptr<const Archivable>>(objects.begin(), objects.end()),
                          key);
    }

    // The archive in the binary form, or the first error met while encoding.
    PlistOutput finish() const;

private:
    struct Frame {
        Dictionary fields;
        std::size_t nextUnkeyed = 0;
    };

    void put(std::string_view key, std::uint64_t uid);
    std::string nextUnkeyedKey();
    std::uint64_t reserve();
    std::uint64_t uidForValue(const Value& value, std::size_t depth);
    std::uint64_t uidForObject(const std::shared_ptr<const Archivable>& object);
    std::uint64_t uidForObjectArray(const std::vector<std::shared_ptr<const Archivable>>& objects);
    std::uint64_t uidForClass(const std::vector<std::string>& classNames);
    void fail(std::string message);

    Array mObjects;
    Frame mTop;
    std::vector<Frame> mFrames; // objects being encoded, innermost last
    std::unordered_map<const Archivable*, std::uint64_t> mObjectUids;
    std::vector<std::shared_ptr<const Archivable>> mKeepAlive; // keeps identities unique
    std::unordered_map<std::string, std::uint64_t> mClassUids;
    std::unordered_map<std::string, std::uint64_t> mScalarUids;
    std::string mError;
};

class KeyedUnarchiver {
public:
    // Reads and checks the archive's outer layout; see failed()/error().
    explicit KeyedUnarchiver(std::string_view bytes,
                             const ArchiveClassRegistry& registry = ArchiveClassRegistry::standard());
    KeyedUnarchiver(const KeyedUnarchiver&) = delete;
    KeyedUnarchiver& operator=(const KeyedUnarchiver&) = delete;

    // Once failed, every decode answers nil; what was decoded before stands.
    bool failed() const { return !mError.empty(); }
    const std::string& error() const { return mError; }
    // For a class's factory that finds its fields inconsistent.
    void fail(std::string message);
    // For a class's factory that meets a value it cannot use but can do
    // without: decoding goes on, and the caller learns of the damage.
    void noteDamage(std::string message);
    // The damage noted since the last call, oldest first.
    std::vector<std::string> takeNotedDamage();

    // Keys of "$top" outside any object, of the object being decoded inside.
    bool containsKey(std::string_view key) const;
    // All those keys, in the archive's order.
    std::vector<std::string> keys() const;

    // How many entries of "$objects" no decode has reached so far ("$null"
    // counts as reached). An archiver writes no entry nothing refers to, so
    // once everything is decoded, any left point at damage.
    std::size_t unreachedEntryCount() const;

    // A value (absent for nil, a missing key, or past the last unkeyed one).
    // An archived object of a registered class where a value is expected
    // fails the archive.
    Value decodeValue(std::string_view key);
    Value decodeValue();

    // An object of a registered class (nullptr for nil or a missing key).
    // Anything else fails the archive, as does a class that is not registered.
    std::shared_ptr<Archivable> decodeObject(std::string_view key);
    std::shared_ptr<Archivable> decodeObject();
    template <class T>
    std::shared_ptr<T> decodeObjectOf(std::string_view key) {
        return castOrFail<T>(decodeObject(key));
    }

    // An array of objects (empty for nil or a missing key).
    std::vector<std::shared_ptr<Archivable>> decodeObjectArray(std::string_view key);
    template <class T>
    std::vector<std::shared_ptr<T>> decodeObjectArrayOf(std::string_view key) {
        std::vector<std::shared_ptr<T>> result;
        for (auto& object : decodeObjectArray(key)) {
            auto cast = castOrFail<T>(std::move(object));
            if (!cast)
                return {};
            result.push_back(std::move(cast));
        }
        return result;
    }

private:
    struct Frame {
        const Dictionary* fields;
        std::size_t nextUnkeyed = 0;
    };
    enum class Builtin { None, Array, Set, Dictionary, String, Data, Date };

    template <class T>
    std::shared_ptr<T> castOrFail(std::shared_ptr<Archivable> object) {
        if (!object)
            return nullptr;
        auto cast = std::dynamic_pointer_cast<T>(object);
        if (!cast)
            fail("archived object of an unexpected class");
        return cast;
    }

    const Value* field(std::string_view key) const;
    const Value* nextUnkeyedField();
    // The archived entry a reference leads to, or nullptr after failing.
    const Value* deref(std::uint64_t uid);
    // The class description of an archived object dictionary.
    bool classOf(const Dictionary& object, std::string& className, Builtin& builtin,
                 const ArchiveClassRegistry::Factory*& factory);
    const Array* arrayField(const Dictionary& object, std::string_view key);
    // A string, data or number field, inline or referred to; nullptr when
    // missing, nil or not a scalar (after failing for a bad reference).
    const Value* scalarField(const Dictionary& object, std::string_view key);
    bool charge();

    Value valueFromField(const Value* field);
    Value resolveValue(const Value& reference, std::size_t depth);
    std::shared_ptr<Archivable> objectFromField(const Value* field);
    std::shared_ptr<Archivable> resolveObject(const Value& reference);
    std::vector<std::shared_ptr<Archivable>> objectArrayFromField(const Value* field);

    const ArchiveClassRegistry& mRegistry;
    Value mRoot;
    const Array* mObjects = nullptr;
    Frame mTop{nullptr};
    std::vector<Frame> mFrames;
    std::unordered_map<std::uint64_t, std::shared_ptr<Archivable>> mDecoded;
    std::unordered_set<std::uint64_t> mInProgress;
    std::size_t mBudget = 0; // references still allowed to be followed
    std::vector<bool> mReached; // by index into "$objects"
    std::vector<std::string> mNotedDamage;
    std::string mError;
};

} // namespace ch

#include "platform/core/binary_plist.h"

#include "platform/core/plist_date.h"
#include "platform/core/unicode.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <unordered_map>
#include <vector>

namespace ch {

namespace {

constexpr std::string_view kMagic = "bplist00";
constexpr std::size_t kTrailerSize = 32;

// Object markers: the high four bits name the type, the low four hold a size
// or count.
constexpr std::uint8_t kFalse = 0x08, kTrue = 0x09;
constexpr std::uint8_t kInteger = 0x1, kReal = 0x2, kDate = 0x3, kData = 0x4, kAscii = 0x5, kUtf16 = 0x6,
                       kUid = 0x8, kArray = 0xA, kDict = 0xD;
constexpr std::uint8_t kDateMarker = 0x33;
constexpr std::uint8_t kExtendedCount = 0xF;

// ------------------------------------------------------------------ reading
//
// A file's objects may be referenced any number of times, and every reference
// becomes a copy: a few hundred bytes that reference the same array twice at
// every level would expand into billions of values, and a deep chain would
// exhaust the stack. The whole structure is therefore checked first (every
// offset and length inside the file, every reference to an existing object,
// dictionary keys that are strings, no cycles, the expanded depth and value
// count within the limits), and only then are values built.

class BinaryReader {
public:
    BinaryReader(std::string_view bytes, const PlistLimits& limits) : mBytes(bytes), mLimits(limits) {}

    ParseResult read()
    {
        if (!check())
            return ParseResult::failure(error);
        Value value;
        if (!build(mTop, value))
            return ParseResult::failure(error);
        return {std::move(value), {}};
    }

private:
    bool check()
    {
        if (mBytes.size() < kMagic.size() + kTrailerSize)
            return fail("binary property list too short");
        const std::size_t trailer = mBytes.size() - kTrailerSize;
        mOffsetSize = byteAt(trailer + 6);
        mRefSize = byteAt(trailer + 7);
        const std::uint64_t objectCount = readUInt(trailer + 8, 8);
        const std::uint64_t top = readUInt(trailer + 16, 8);
        const std::uint64_t tableOffset = readUInt(trailer + 24, 8);
        if (mOffsetSize < 1 || mOffsetSize > 8 || mRefSize < 1 || mRefSize > 8)
            return fail("binary property list with invalid integer sizes");
        if (objectCount == 0 || top >= objectCount)
            return fail("binary property list with invalid object count");
        if (tableOffset < kMagic.size() || tableOffset > trailer ||
            objectCount > (trailer - tableOffset) / mOffsetSize)
            return fail("binary property list with invalid offset table");
        mTableOffset = std::size_t(tableOffset);
        mObjectCount = std::size_t(objectCount);
        mTop = std::size_t(top);
        mState.assign(mObjectCount, 0);
        mHeight.assign(mObjectCount, 0);
        mValues.assign(mObjectCount, 0);
        mExpanded.assign(mObjectCount, 0);
        return visit(mTop, 1);
    }

    std::size_t byteAt(std::size_t i) const { return static_cast<unsigned char>(mBytes[i]); }

    std::uint64_t readUInt(std::size_t at, std::size_t size) const
    {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < size; ++i)
            value = value << 8 | byteAt(at + i);
        return value;
    }

    bool fail(std::string message)
    {
        if (error.empty())
            error = std::move(message);
        return false;
    }

    // Checks that [at, at + size) lies within the object area.
    bool inside(std::size_t at, std::uint64_t size) const
    {
        return at <= mTableOffset && size <= mTableOffset - at;
    }

    // The element count of a variable-length object whose marker is at `at`;
    // `at` moves past the marker and any extended count.
    bool readCount(std::size_t& at, std::uint64_t& count)
    {
        const std::size_t info = byteAt(at) & 0xF;
        ++at;
        if (info != kExtendedCount) {
            count = info;
            return true;
        }
        if (!inside(at, 1))
            return fail("binary property list truncated");
        const std::size_t marker = byteAt(at);
        if ((marker >> 4) != kInteger || (marker & 0xF) > 3)
            return fail("binary property list with invalid count");
        const std::size_t size = std::size_t(1) << (marker & 0xF);
        ++at;
        if (!inside(at, size))
            return fail("binary property list truncated");
        count = readUInt(at, size);
        at += size;
        return true;
    }

    bool objectOffset(std::size_t object, std::size_t& offset)
    {
        const std::uint64_t value = readUInt(mTableOffset + object * mOffsetSize, mOffsetSize);
        if (value < kMagic.size() || value >= mTableOffset)
            return fail("binary property list with an object outside the file");
        offset = std::size_t(value);
        return true;
    }

    // Where the elements of a string or data object begin, and how many bytes
    // they take.
    bool stringBytes(std::size_t object, std::size_t& at, std::size_t& size)
    {
        if (!objectOffset(object, at))
            return false;
        const std::uint64_t unit = (byteAt(at) >> 4) == kUtf16 ? 2 : 1;
        std::uint64_t count = 0;
        if (!readCount(at, count))
            return false;
        if (count > mTableOffset || !inside(at, count * unit))
            return fail("binary property list with a truncated string or data");
        size = std::size_t(count * unit);
        return true;
    }

    // A dictionary key must be a string without NUL characters, which no
    // form can write back.
    bool isUsableKey(std::size_t object)
    {
        std::size_t at = 0, size = 0;
        if (!objectOffset(object, at))
            return false;
        const std::size_t type = byteAt(at) >> 4;
        if (type != kAscii && type != kUtf16)
            return fail("binary property list with a key that is not a string");
        if (!stringBytes(object, at, size))
            return false;
        const std::size_t unit = type == kUtf16 ? 2 : 1;
        for (std::size_t i = 0; i < size; i += unit)
            if (readUInt(at + i, unit) == 0)
                return fail("binary property list with a NUL character in a key");
        return true;
    }

    // The references of an array or dictionary object at `at`.
    bool references(std::size_t at, std::vector<std::size_t>& children)
    {
        const std::uint64_t refs = (byteAt(at) >> 4) == kDict ? 2 : 1;
        std::uint64_t count = 0;
        if (!readCount(at, count))
            return false;
        if (count > mTableOffset || !inside(at, count * refs * mRefSize))
            return fail("binary property list with a truncated container");
        children.clear();
        children.reserve(std::size_t(count * refs));
        for (std::uint64_t i = 0; i < count * refs; ++i) {
            const std::uint64_t ref = readUInt(at + std::size_t(i) * mRefSize, mRefSize);
            if (ref >= mObjectCount)
                return fail("binary property list with a reference to a missing object");
            children.push_back(std::size_t(ref));
        }
        return true;
    }

    double dateAt(std::size_t at) const { return std::bit_cast<double>(readUInt(at + 1, 8)); }

    // Checks one object and, depth first, everything it references.
    bool visit(std::size_t object, std::size_t depth)
    {
        if (depth > mLimits.maxDepth)
            return fail("property list nested deeper than " + std::to_string(mLimits.maxDepth));
        if (mState[object] == 2)
            return true;
        if (mState[object] == 1)
            return fail("binary property list with a reference cycle");
        mState[object] = 1;

        std::size_t at = 0;
        if (!objectOffset(object, at))
            return false;
        const std::size_t marker = byteAt(at);
        const std::size_t type = marker >> 4, info = marker & 0xF;
        std::vector<std::size_t> children;
        std::uint64_t expanded = 0;
        switch (type) {
        case 0x0:
            if (marker != kFalse && marker != kTrue)
                return fail("binary property list with an unsupported object");
            break;
        case kInteger:
            if (info > 4 || !inside(at + 1, std::uint64_t(1) << info))
                return fail("binary property list with an invalid integer");
            break;
        case kReal:
            if ((info != 2 && info != 3) || !inside(at + 1, std::uint64_t(1) << info))
                return fail("binary property list with an invalid real");
            break;
        case kDate:
            if (marker != kDateMarker || !inside(at + 1, 8))
                return fail("binary property list with an invalid date");
            if (!plistDateInRange(dateAt(at)))
                return fail("binary property list with a date out of range");
            break;
        case kUid:
            if (info > 7 || !inside(at + 1, info + 1))
                return fail("binary property list with an invalid UID");
            break;
        case kData:
        case kAscii:
        case kUtf16: {
            std::size_t size = 0;
            if (!stringBytes(object, at, size))
                return false;
            expanded = size;
            break;
        }
        case kArray:
        case kDict:
            if (!references(at, children))
                return false;
            if (type == kDict)
                for (std::size_t i = 0; i < children.size() / 2; ++i)
                    if (!isUsableKey(children[i]))
                        return false;
            break;
        default:
            return fail("binary property list with an unsupported object");
        }

        std::size_t height = 0;
        std::uint64_t values = 1;
        for (const std::size_t child : children) {
            if (!visit(child, depth + 1))
                return false;
            height = std::max(height, mHeight[child]);
            values += mValues[child];
            if (values > mLimits.maxValues)
                return fail("property list with more than " + std::to_string(mLimits.maxValues) + " values");
            expanded += mExpanded[child];
            if (expanded > mLimits.maxExpandedBytes)
                return fail("property list expanding to more than " + std::to_string(mLimits.maxExpandedBytes) +
                            " bytes of text and data");
        }
        mHeight[object] = height + 1;
        if (depth + height > mLimits.maxDepth)
            return fail("property list nested deeper than " + std::to_string(mLimits.maxDepth));
        mValues[object] = values;
        mExpanded[object] = expanded;
        mState[object] = 2;
        return true;
    }

    // Builds the value of a checked object.
    bool build(std::size_t object, Value& out)
    {
        std::size_t at = 0;
        objectOffset(object, at);
        const std::size_t marker = byteAt(at);
        const std::size_t type = marker >> 4, info = marker & 0xF;
        switch (type) {
        case 0x0: out = Value(marker == kTrue); return true;
        case kInteger: return buildInteger(at + 1, std::size_t(1) << info, out);
        case kReal:
            if (info == 2)
                out = Value(double(std::bit_cast<float>(std::uint32_t(readUInt(at + 1, 4)))));
            else
                out = Value(std::bit_cast<double>(readUInt(at + 1, 8)));
            return true;
        case kDate: out = Value(Date{dateAt(at)}); return true;
        case kUid: out = Value(Uid{readUInt(at + 1, info + 1)}); return true;
        case kData: {
            std::size_t size = 0;
            stringBytes(object, at, size);
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(mBytes.data() + at);
            out = Value(Bytes(bytes, bytes + size));
            return true;
        }
        case kAscii:
        case kUtf16: out = Value(text(object)); return true;
        case kArray: {
            std::vector<std::size_t> children;
            references(at, children);
            Array array(children.size());
            for (std::size_t i = 0; i < children.size(); ++i)
                if (!build(children[i], array[i]))
                    return false;
            out = Value(std::move(array));
            return true;
        }
        case kDict: {
            std::vector<std::size_t> children;
            references(at, children);
            const std::size_t count = children.size() / 2;
            Dictionary dict;
            dict.reserve(count);
            for (std::size_t i = 0; i < count; ++i) {
                Value value;
                if (!build(children[count + i], value))
                    return false;
                dict.set(text(children[i]), std::move(value));
            }
            out = Value(std::move(dict));
            return true;
        }
        default: return fail("binary property list with an unsupported object");
        }
    }

    // One, two and four bytes hold an unsigned integer, eight a signed one,
    // sixteen a signed one that must fit in eight.
    bool buildInteger(std::size_t at, std::size_t size, Value& out)
    {
        std::uint64_t raw = 0;
        if (size == 16) {
            const std::uint64_t high = readUInt(at, 8);
            raw = readUInt(at + 8, 8);
            const bool negative = raw >> 63;
            if (high != (negative ? ~std::uint64_t(0) : 0))
                return fail("property list with an integer beyond the 64-bit signed range");
        } else {
            raw = readUInt(at, size);
        }
        out = Value(static_cast<long long>(static_cast<std::int64_t>(raw)));
        return true;
    }

    // A string object as UTF-8; malformed text becomes U+FFFD.
    std::string text(std::size_t object)
    {
        std::size_t at = 0, size = 0;
        objectOffset(object, at);
        const bool utf16 = (byteAt(at) >> 4) == kUtf16;
        stringBytes(object, at, size);
        if (!utf16) {
            const std::string_view bytes = mBytes.substr(at, size);
            return isValidUtf8(bytes) ? std::string(bytes) : toUtf8(toUtf16(bytes));
        }
        std::u16string units(size / 2, u'\0');
        for (std::size_t i = 0; i < units.size(); ++i)
            units[i] = char16_t(readUInt(at + 2 * i, 2));
        return toUtf8(units);
    }

    std::string error;
    std::string_view mBytes;
    const PlistLimits& mLimits;
    std::size_t mOffsetSize = 0;
    std::size_t mRefSize = 0;
    std::size_t mTableOffset = 0;
    std::size_t mObjectCount = 0;
    std::size_t mTop = 0;
    std::vector<std::uint8_t> mState; // 0 unvisited, 1 on the current path, 2 checked
    std::vector<std::size_t> mHeight;
    std::vector<std::uint64_t> mValues;
    std::vector<std::uint64_t> mExpanded;
};

// ------------------------------------------------------------------ writing

// The fewest of 1, 2, 4 or 8 bytes that hold the number.
std::size_t widthFor(std::uint64_t n)
{
    return n <= 0xFF ? 1 : n <= 0xFFFF ? 2 : n <= 0xFFFFFFFF ? 4 : 8;
}

void appendUInt(std::string& out, std::uint64_t value, std::size_t size)
{
    for (std::size_t i = size; i-- > 0;)
        out += char((value >> (8 * i)) & 0xFF);
}

// An integer object: non-negative numbers in the fewest of 1, 2, 4 or 8
// bytes, negative ones in 8.
void appendInteger(std::string& out, std::int64_t value)
{
    const std::size_t size = value < 0 ? 8 : widthFor(std::uint64_t(value));
    out += char(kInteger << 4 | std::countr_zero(size));
    appendUInt(out, std::uint64_t(value), size);
}

void appendMarker(std::string& out, std::uint8_t type, std::size_t count)
{
    if (count < kExtendedCount) {
        out += char(type << 4 | count);
        return;
    }
    out += char(type << 4 | kExtendedCount);
    appendInteger(out, std::int64_t(count));
}

class BinaryWriter {
public:
    explicit BinaryWriter(const PlistLimits& limits) : mLimits(limits) {}

    PlistOutput write(const Value& value)
    {
        if (add(value, 1) == kFailed)
            return {std::string(), error};
        const std::size_t refSize = widthFor(mObjects.size() - 1);
        std::string out(kMagic);
        std::vector<std::uint64_t> offsets;
        offsets.reserve(mObjects.size());
        for (const Object& object : mObjects) {
            offsets.push_back(out.size());
            out += object.bytes;
            for (const std::size_t ref : object.refs)
                appendUInt(out, ref, refSize);
        }
        const std::uint64_t tableOffset = out.size();
        const std::size_t offsetSize = widthFor(offsets.back());
        for (const std::uint64_t offset : offsets)
            appendUInt(out, offset, offsetSize);
        out.append(6, '\0');
        out += char(offsetSize);
        out += char(refSize);
        appendUInt(out, mObjects.size(), 8);
        appendUInt(out, 0, 8); // the top object
        appendUInt(out, tableOffset, 8);
        return {std::move(out), std::string()};
    }

private:
    static constexpr std::size_t kFailed = std::numeric_limits<std::size_t>::max();
    // Larger objects repeat rarely and would be held twice for the look-up.
    static constexpr std::size_t kMaxSharedSize = 256;

    // An object's bytes; a container's references follow them once every
    // object has its number.
    struct Object {
        std::string bytes;
        std::vector<std::size_t> refs;
    };

    std::size_t fail(std::string message)
    {
        if (error.empty())
            error = std::move(message);
        return kFailed;
    }

    // Numbers the value's object, and the objects of its elements after it;
    // equal small scalars (keys above all) share one object.
    std::size_t add(const Value& value, std::size_t depth)
    {
        if (depth > mLimits.maxDepth)
            return fail("value nested deeper than " + std::to_string(mLimits.maxDepth));
        if (const Array* array = value.asArray()) {
            const std::size_t index = addContainer(kArray, array->size());
            for (const Value& element : *array) {
                const std::size_t ref = add(element, depth + 1);
                if (ref == kFailed)
                    return kFailed;
                mObjects[index].refs.push_back(ref);
            }
            return index;
        }
        if (const Dictionary* dict = value.asDictionary()) {
            const std::size_t index = addContainer(kDict, dict->size());
            std::vector<std::size_t> values;
            values.reserve(dict->size());
            for (const auto entry : *dict) {
                if (entry.key.find('\0') != std::string::npos)
                    return fail("a key holding a NUL character cannot be written");
                const std::size_t key = addScalar(stringObject(entry.key));
                mObjects[index].refs.push_back(key);
                const std::size_t ref = add(entry.value, depth + 1);
                if (ref == kFailed)
                    return kFailed;
                values.push_back(ref);
            }
            auto& refs = mObjects[index].refs;
            refs.insert(refs.end(), values.begin(), values.end());
            return index;
        }
        std::string bytes;
        switch (value.type()) {
        case Value::Type::Bool: bytes = char(*value.asBool() ? kTrue : kFalse); break;
        case Value::Type::Integer: appendInteger(bytes, *value.asInteger()); break;
        case Value::Type::Real:
            bytes = char(kReal << 4 | 3);
            appendUInt(bytes, std::bit_cast<std::uint64_t>(*value.asReal()), 8);
            break;
        case Value::Type::Date:
            if (!plistDateInRange(value.asDate()->seconds))
                return fail("a date outside the years 1 to 9999 cannot be written");
            bytes = char(kDateMarker);
            appendUInt(bytes, std::bit_cast<std::uint64_t>(value.asDate()->seconds), 8);
            break;
        case Value::Type::Data: {
            const Bytes& data = *value.asData();
            appendMarker(bytes, kData, data.size());
            bytes.append(reinterpret_cast<const char*>(data.data()), data.size());
            break;
        }
        case Value::Type::String:
            if (value.asString()->find('\0') != std::string::npos)
                return fail("a string holding a NUL character cannot be written");
            bytes = stringObject(*value.asString());
            break;
        case Value::Type::Uid: {
            const std::uint64_t index = value.asUid()->index;
            const std::size_t size = widthFor(index);
            bytes = char(kUid << 4 | (size - 1));
            appendUInt(bytes, index, size);
            break;
        }
        case Value::Type::Absent: return fail("an absent value cannot be written");
        case Value::Type::Array:
        case Value::Type::Dictionary: break;
        }
        return addScalar(std::move(bytes));
    }

    std::size_t addContainer(std::uint8_t type, std::size_t count)
    {
        Object object;
        appendMarker(object.bytes, type, count);
        object.refs.reserve(type == kDict ? 2 * count : count);
        mObjects.push_back(std::move(object));
        return mObjects.size() - 1;
    }

    std::size_t addScalar(std::string bytes)
    {
        if (bytes.size() > kMaxSharedSize) {
            mObjects.push_back({std::move(bytes), {}});
            return mObjects.size() - 1;
        }
        const auto [it, added] = mScalars.try_emplace(bytes, mObjects.size());
        if (added)
            mObjects.push_back({std::move(bytes), {}});
        return it->second;
    }

    // ASCII text as it is, anything else in UTF-16 (big-endian).
    static std::string stringObject(const std::string& text)
    {
        std::string bytes;
        const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
        if (ascii) {
            appendMarker(bytes, kAscii, text.size());
            bytes += text;
            return bytes;
        }
        const std::u16string units = toUtf16(text);
        appendMarker(bytes, kUtf16, units.size());
        for (const char16_t unit : units)
            appendUInt(bytes, unit, 2);
        return bytes;
    }

    std::string error;
    const PlistLimits& mLimits;
    std::vector<Object> mObjects;
    std::unordered_map<std::string, std::size_t> mScalars;
};

} // namespace

ParseResult readBinaryPlist(std::string_view bytes, const PlistLimits& limits)
{
    return BinaryReader(bytes, limits).read();
}

PlistOutput writeBinaryPlist(const Value& value, const PlistLimits& limits)
{
    return BinaryWriter(limits).write(value);
}

} // namespace ch

#include "platform/core/plist.h"

#include <plist/plist.h>

#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale.h>
#include <memory>
#include <vector>

namespace ch {

namespace {

// libplist formats and parses reals with printf/strtod, which follow the
// numeric locale; the application's locale may use a decimal comma. Every
// libplist call therefore runs with the C locale on the calling thread.
class CNumericLocale {
public:
    CNumericLocale()
    {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
        mPrevious = c ? uselocale(c) : locale_t(nullptr);
    }
    ~CNumericLocale()
    {
        if (mPrevious)
            uselocale(mPrevious);
    }
    CNumericLocale(const CNumericLocale&) = delete;
    CNumericLocale& operator=(const CNumericLocale&) = delete;

private:
    locale_t mPrevious = locale_t(nullptr);
};

struct PlistDeleter {
    void operator()(void* node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistDeleter>;

constexpr std::string_view kBinaryMagic = "bplist00";
// Apple's absolute time and libplist both count from 2001-01-01; a binary date
// carries a double, libplist hands it over as seconds and microseconds.
constexpr double kMicro = 1e6;

// libplist holds a date's whole seconds in 32 bits and converts beyond them
// without a check; dates must stay inside, in either direction.
bool dateInRange(double seconds)
{
    return std::fabs(seconds) < double(std::numeric_limits<std::int32_t>::max());
}

// ---------------------------------------------------------- binary checking
//
// libplist's binary reader follows object references without looking at how
// often an object is reached, so a few hundred bytes that reference the same
// array twice at every level expand into billions of nodes, and a deep chain
// exhausts the stack. The structure is checked here first: every offset and
// length inside the file, every reference to an existing object, dictionary
// keys that are strings, no cycles, and the expanded depth and value count
// within the limits.

class BinaryChecker {
public:
    BinaryChecker(std::string_view bytes, const PlistLimits& limits) : mBytes(bytes), mLimits(limits) {}

    bool check()
    {
        if (mBytes.size() < kBinaryMagic.size() + 32)
            return fail("binary property list too short");
        const std::size_t trailer = mBytes.size() - 32;
        mOffsetSize = byteAt(trailer + 6);
        mRefSize = byteAt(trailer + 7);
        const std::uint64_t objectCount = readUInt(trailer + 8, 8);
        const std::uint64_t top = readUInt(trailer + 16, 8);
        const std::uint64_t tableOffset = readUInt(trailer + 24, 8);
        if (mOffsetSize < 1 || mOffsetSize > 8 || mRefSize < 1 || mRefSize > 8)
            return fail("binary property list with invalid integer sizes");
        if (objectCount == 0 || top >= objectCount)
            return fail("binary property list with invalid object count");
        if (tableOffset < kBinaryMagic.size() || tableOffset > trailer ||
            objectCount > (trailer - tableOffset) / mOffsetSize)
            return fail("binary property list with invalid offset table");
        mTableOffset = std::size_t(tableOffset);
        mObjectCount = std::size_t(objectCount);
        mState.assign(mObjectCount, 0);
        mHeight.assign(mObjectCount, 0);
        mValues.assign(mObjectCount, 0);
        return visit(std::size_t(top), 1);
    }

    std::string error;

private:
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
        if (info != 0xF) {
            count = info;
            return true;
        }
        if (!inside(at, 1))
            return fail("binary property list truncated");
        const std::size_t marker = byteAt(at);
        if ((marker & 0xF0) != 0x10 || (marker & 0xF) > 3)
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
        if (value < kBinaryMagic.size() || value >= mTableOffset)
            return fail("binary property list with an object outside the file");
        offset = std::size_t(value);
        return true;
    }

    // A dictionary key must be a string without NUL characters (libplist
    // aborts on a key whose length disagrees with its C string).
    bool isUsableKey(std::size_t object)
    {
        std::size_t at = 0;
        if (!objectOffset(object, at))
            return false;
        const std::size_t type = byteAt(at) >> 4;
        if (type != 0x5 && type != 0x6)
            return fail("binary property list with a key that is not a string");
        std::uint64_t count = 0;
        if (!readCount(at, count))
            return false;
        const std::uint64_t unit = type == 0x6 ? 2 : 1;
        if (count > mTableOffset || !inside(at, count * unit))
            return fail("binary property list with a truncated string or data");
        for (std::size_t i = 0; i < count; ++i)
            if (readUInt(at + i * unit, std::size_t(unit)) == 0)
                return fail("binary property list with a NUL character in a key");
        return true;
    }

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
        std::size_t keys = 0; // the first `keys` children are dictionary keys
        switch (type) {
        case 0x0:
            if (marker != 0x08 && marker != 0x09)
                return fail("binary property list with an unsupported object");
            break;
        case 0x1:
            if (info > 4 || !inside(at + 1, std::uint64_t(1) << info))
                return fail("binary property list with an invalid integer");
            break;
        case 0x2:
            if ((info != 2 && info != 3) || !inside(at + 1, std::uint64_t(1) << info))
                return fail("binary property list with an invalid real");
            break;
        case 0x3: {
            if (marker != 0x33 || !inside(at + 1, 8))
                return fail("binary property list with an invalid date");
            if (!dateInRange(std::bit_cast<double>(readUInt(at + 1, 8))))
                return fail("binary property list with a date out of range");
            break;
        }
        case 0x8:
            if (info > 7 || !inside(at + 1, info + 1))
                return fail("binary property list with an invalid UID");
            break;
        case 0x4:
        case 0x5:
        case 0x6: {
            std::uint64_t count = 0;
            if (!readCount(at, count))
                return false;
            const std::uint64_t unit = type == 0x6 ? 2 : 1;
            if (count > mTableOffset || !inside(at, count * unit))
                return fail("binary property list with a truncated string or data");
            break;
        }
        case 0xA:
        case 0xD: {
            std::uint64_t count = 0;
            if (!readCount(at, count))
                return false;
            const std::uint64_t refs = type == 0xD ? 2 : 1;
            if (count > mTableOffset || !inside(at, count * refs * mRefSize))
                return fail("binary property list with a truncated container");
            children.reserve(std::size_t(count * refs));
            for (std::uint64_t i = 0; i < count * refs; ++i) {
                const std::uint64_t ref = readUInt(at + std::size_t(i) * mRefSize, mRefSize);
                if (ref >= mObjectCount)
                    return fail("binary property list with a reference to a missing object");
                children.push_back(std::size_t(ref));
            }
            if (type == 0xD) {
                keys = std::size_t(count);
                for (std::size_t i = 0; i < keys; ++i)
                    if (!isUsableKey(children[i]))
                        return false;
            }
            break;
        }
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
        }
        mHeight[object] = height + 1;
        if (depth + height > mLimits.maxDepth)
            return fail("property list nested deeper than " + std::to_string(mLimits.maxDepth));
        mValues[object] = values;
        mState[object] = 2;
        return true;
    }

    std::string_view mBytes;
    const PlistLimits& mLimits;
    std::size_t mOffsetSize = 0;
    std::size_t mRefSize = 0;
    std::size_t mTableOffset = 0;
    std::size_t mObjectCount = 0;
    std::vector<std::uint8_t> mState; // 0 unvisited, 1 on the current path, 2 checked
    std::vector<std::size_t> mHeight;
    std::vector<std::uint64_t> mValues;
};

// --------------------------------------------------------- libplist -> Value

// A text as valid UTF-8: each byte that starts no valid sequence becomes U+FFFD.
std::string validUtf8(const char* text, std::size_t length)
{
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    std::size_t i = 0;
    std::string out;
    bool clean = true;
    while (i < length) {
        const unsigned char b = s[i];
        std::size_t extra = b < 0x80 ? 0 : (b >= 0xC2 && b <= 0xDF) ? 1 : (b >= 0xE0 && b <= 0xEF) ? 2
                                                                   : (b >= 0xF0 && b <= 0xF4) ? 3 : 99;
        bool valid = extra != 99 && i + extra < length;
        if (valid && extra > 0) {
            char32_t cp = b & (0x3F >> extra);
            for (std::size_t k = 1; k <= extra && valid; ++k) {
                valid = (s[i + k] & 0xC0) == 0x80;
                cp = (cp << 6) | (s[i + k] & 0x3F);
            }
            valid = valid && !(extra == 2 && cp < 0x800) && !(extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) &&
                    !(cp >= 0xD800 && cp <= 0xDFFF);
        }
        if (valid) {
            if (!clean)
                out.append(text + i, extra + 1);
            i += extra + 1;
            continue;
        }
        if (clean) {
            out.assign(text, i);
            clean = false;
        }
        out += "\xEF\xBF\xBD";
        ++i;
    }
    return clean ? std::string(text, length) : out;
}

class FromPlist {
public:
    explicit FromPlist(const PlistLimits& limits) : mLimits(limits) {}

    bool convert(plist_t node, Value& out, std::size_t depth)
    {
        if (depth > mLimits.maxDepth)
            return fail("property list nested deeper than " + std::to_string(mLimits.maxDepth));
        if (++mCount > mLimits.maxValues)
            return fail("property list with more than " + std::to_string(mLimits.maxValues) + " values");
        switch (plist_get_node_type(node)) {
        case PLIST_BOOLEAN: {
            std::uint8_t b = 0;
            plist_get_bool_val(node, &b);
            out = Value(b != 0);
            return true;
        }
        case PLIST_UINT: return convertInteger(node, out);
        case PLIST_REAL: {
            double d = 0;
            plist_get_real_val(node, &d);
            out = Value(d);
            return true;
        }
        case PLIST_STRING:
        case PLIST_KEY: {
            std::uint64_t length = 0;
            const char* text = plist_get_string_ptr(node, &length);
            out = Value(text ? validUtf8(text, std::size_t(length)) : std::string());
            return true;
        }
        case PLIST_DATA: {
            std::uint64_t length = 0;
            const char* data = plist_get_data_ptr(node, &length);
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(data);
            out = Value(data ? Bytes(bytes, bytes + length) : Bytes());
            return true;
        }
        case PLIST_DATE: {
            std::int32_t seconds = 0, micro = 0;
            plist_get_date_val(node, &seconds, &micro);
            // libplist truncates a binary date toward zero and hands over the
            // fraction's magnitude: before 2001 the fraction counts backwards.
            // (Within the last second before 2001 the sign is lost to us.)
            const double fraction = double(micro) / kMicro;
            const double total = seconds < 0 ? double(seconds) - fraction : double(seconds) + fraction;
            if (!dateInRange(total))
                return fail("property list with a date out of range");
            out = Value(Date{total});
            return true;
        }
        case PLIST_UID: {
            std::uint64_t index = 0;
            plist_get_uid_val(node, &index);
            out = Value(Uid{index});
            return true;
        }
        case PLIST_ARRAY: {
            const std::uint32_t size = plist_array_get_size(node);
            Array array;
            array.reserve(std::min<std::size_t>(size, mLimits.maxValues));
            for (std::uint32_t i = 0; i < size; ++i) {
                plist_t item = plist_array_get_item(node, i);
                if (!item)
                    return fail("property list with a missing array element");
                array.emplace_back();
                if (!convert(item, array.back(), depth + 1))
                    return false;
            }
            out = Value(std::move(array));
            return true;
        }
        case PLIST_DICT: return convertDictionary(node, out, depth);
        case PLIST_NONE: break;
        }
        return fail("property list with a value of unknown type");
    }

    std::string error;

private:
    bool fail(std::string message)
    {
        if (error.empty())
            error = std::move(message);
        return false;
    }

    bool convertInteger(plist_t node, Value& out)
    {
        std::uint64_t raw = 0;
        plist_get_uint_val(node, &raw);
        if (raw > std::uint64_t(std::numeric_limits<std::int64_t>::max())) {
            // libplist hands negative and large unsigned integers over alike;
            // its own text of the node tells them apart.
            PlistPtr copy(plist_copy(node));
            char* xml = nullptr;
            std::uint32_t length = 0;
            plist_to_xml(copy.get(), &xml, &length);
            const bool negative = xml && std::string_view(xml, length).find("<integer>-") != std::string_view::npos;
            std::free(xml);
            if (!negative)
                return fail("property list with an integer beyond the 64-bit signed range");
        }
        out = Value(static_cast<long long>(static_cast<std::int64_t>(raw)));
        return true;
    }

    bool convertDictionary(plist_t node, Value& out, std::size_t depth)
    {
        Dictionary dict;
        plist_dict_iter iter = nullptr;
        plist_dict_new_iter(node, &iter);
        std::unique_ptr<void, decltype(&std::free)> iterGuard(iter, &std::free);
        for (;;) {
            char* rawKey = nullptr;
            plist_t item = nullptr;
            plist_dict_next_item(node, iter, &rawKey, &item);
            if (!item) {
                std::free(rawKey);
                break;
            }
            std::string key = rawKey ? validUtf8(rawKey, std::strlen(rawKey)) : std::string();
            std::free(rawKey);
            Value value;
            if (!convert(item, value, depth + 1))
                return false;
            dict.set(std::move(key), std::move(value));
        }
        // The XML form has no UID element; keyed archives write {"CF$UID" = n}.
        if (dict.size() == 1 && dict.keyAt(0) == "CF$UID" && dict.valueAt(0).isInteger() &&
            *dict.valueAt(0).asInteger() >= 0) {
            out = Value(Uid{std::uint64_t(*dict.valueAt(0).asInteger())});
            return true;
        }
        out = Value(std::move(dict));
        return true;
    }

    const PlistLimits& mLimits;
    std::size_t mCount = 0;
};

// --------------------------------------------------------- Value -> libplist

class ToPlist {
public:
    explicit ToPlist(const PlistLimits& limits) : mLimits(limits) {}

    PlistPtr convert(const Value& value, std::size_t depth)
    {
        if (depth > mLimits.maxDepth) {
            fail("value nested deeper than " + std::to_string(mLimits.maxDepth));
            return nullptr;
        }
        switch (value.type()) {
        case Value::Type::Bool: return PlistPtr(plist_new_bool(*value.asBool() ? 1 : 0));
        case Value::Type::Integer:
            return PlistPtr(plist_new_uint(static_cast<std::uint64_t>(*value.asInteger())));
        case Value::Type::Real: return PlistPtr(plist_new_real(*value.asReal()));
        case Value::Type::String: {
            const std::string& s = *value.asString();
            if (s.find('\0') != std::string::npos) {
                fail("a string holding a NUL character cannot be written");
                return nullptr;
            }
            return PlistPtr(plist_new_string(s.c_str()));
        }
        case Value::Type::Data: {
            const Bytes& bytes = *value.asData();
            return PlistPtr(plist_new_data(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        }
        case Value::Type::Date: return convertDate(value.asDate()->seconds);
        case Value::Type::Uid: return PlistPtr(plist_new_uid(value.asUid()->index));
        case Value::Type::Array: {
            PlistPtr array(plist_new_array());
            for (const Value& element : *value.asArray()) {
                PlistPtr item = convert(element, depth + 1);
                if (!item)
                    return nullptr;
                plist_array_append_item(array.get(), item.release());
            }
            return array;
        }
        case Value::Type::Dictionary: {
            PlistPtr dict(plist_new_dict());
            for (const auto entry : *value.asDictionary()) {
                if (entry.key.find('\0') != std::string::npos) {
                    fail("a key holding a NUL character cannot be written");
                    return nullptr;
                }
                PlistPtr item = convert(entry.value, depth + 1);
                if (!item)
                    return nullptr;
                plist_dict_set_item(dict.get(), entry.key.c_str(), item.release());
            }
            return dict;
        }
        case Value::Type::Absent: break;
        }
        fail("an absent value cannot be written");
        return nullptr;
    }

    std::string error;

private:
    void fail(std::string message)
    {
        if (error.empty())
            error = std::move(message);
    }

    PlistPtr convertDate(double seconds)
    {
        if (!dateInRange(seconds)) {
            fail("date outside the range of the property-list writer");
            return nullptr;
        }
        const double whole = std::floor(seconds);
        auto sec = std::int64_t(whole);
        auto micro = std::int64_t(std::llround((seconds - whole) * kMicro));
        if (micro >= 1000000) {
            micro -= 1000000;
            ++sec;
        }
        return PlistPtr(plist_new_date(std::int32_t(sec), std::int32_t(micro)));
    }

    const PlistLimits& mLimits;
};

bool looksLikeXml(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    const std::size_t first = bytes.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && bytes[first] == '<';
}

} // namespace

bool looksLikeBinaryPlist(std::string_view bytes)
{
    return bytes.substr(0, kBinaryMagic.size()) == kBinaryMagic;
}

ParseResult readPlist(std::string_view bytes, const PlistLimits& limits)
{
    if (bytes.size() > limits.maxInputBytes || bytes.size() > std::numeric_limits<std::uint32_t>::max())
        return ParseResult::failure("property list larger than " + std::to_string(limits.maxInputBytes) + " bytes");
    CNumericLocale cLocale;
    plist_t root = nullptr;
    if (looksLikeBinaryPlist(bytes)) {
        BinaryChecker checker(bytes, limits);
        if (!checker.check())
            return ParseResult::failure(checker.error);
        plist_from_bin(bytes.data(), std::uint32_t(bytes.size()), &root);
        if (!root)
            return ParseResult::failure("malformed binary property list");
    } else if (looksLikeXml(bytes)) {
        plist_from_xml(bytes.data(), std::uint32_t(bytes.size()), &root);
        if (!root)
            return ParseResult::failure("malformed XML property list");
    } else {
        return ParseResult::failure("not a property list");
    }
    PlistPtr guard(root);
    FromPlist converter(limits);
    Value value;
    if (!converter.convert(root, value, 1))
        return ParseResult::failure(converter.error);
    return {std::move(value), {}};
}

PlistOutput writePlist(const Value& value, PlistFormat format, const PlistLimits& limits)
{
    CNumericLocale cLocale;
    ToPlist converter(limits);
    PlistPtr root = converter.convert(value, 1);
    if (!root)
        return {std::string(), converter.error};
    char* out = nullptr;
    std::uint32_t length = 0;
    if (format == PlistFormat::Binary)
        plist_to_bin(root.get(), &out, &length);
    else
        plist_to_xml(root.get(), &out, &length);
    if (!out)
        return {std::string(), "the property-list writer failed"};
    std::string bytes(out, length);
    std::free(out);
    return {std::move(bytes), std::string()};
}

} // namespace ch

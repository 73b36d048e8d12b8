#include "platform/core/plist.h"

#include "platform/core/binary_plist.h"
#include "platform/core/plist_date.h"

#include <plist/plist.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
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
        case PLIST_DATE: return convertDate(node, out);
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
        if (raw > std::uint64_t(std::numeric_limits<std::int64_t>::max()) && !isNegative(node))
            return fail("property list with an integer beyond the 64-bit signed range");
        out = Value(static_cast<long long>(static_cast<std::int64_t>(raw)));
        return true;
    }

    // libplist hands negative and large unsigned integers over alike; its own
    // text of the node tells them apart.
    static bool isNegative(plist_t node)
    {
        std::uint64_t raw = 0;
        plist_get_uint_val(node, &raw);
        if (raw <= std::uint64_t(std::numeric_limits<std::int64_t>::max()))
            return false;
        PlistPtr copy(plist_copy(node));
        char* xml = nullptr;
        std::uint32_t length = 0;
        plist_to_xml(copy.get(), &xml, &length);
        const bool negative = xml && std::string_view(xml, length).find("<integer>-") != std::string_view::npos;
        std::free(xml);
        return negative;
    }

    // libplist parses the XML text of every year 1 to 9999 into a double but
    // hands dates over as 32-bit seconds and microseconds; the binary form of
    // the node holds the double itself.
    bool convertDate(plist_t node, Value& out)
    {
        PlistPtr copy(plist_copy(node));
        char* bytes = nullptr;
        std::uint32_t length = 0;
        plist_to_bin(copy.get(), &bytes, &length);
        std::unique_ptr<char, decltype(&std::free)> guard(bytes, &std::free);
        const ParseResult date = bytes ? readBinaryPlist(std::string_view(bytes, length), mLimits) : ParseResult();
        if (!date.value.isDate())
            return fail("property list with a date out of range");
        out = date.value;
        return true;
    }

    bool convertDictionary(plist_t node, Value& out, std::size_t depth)
    {
        // The XML form has no UID element; keyed archives write {"CF$UID" = n}
        // with n from 0 to 2^64 - 1.
        if (plist_dict_get_size(node) == 1) {
            plist_t index = plist_dict_get_item(node, "CF$UID");
            if (index && plist_get_node_type(index) == PLIST_UINT && !isNegative(index)) {
                std::uint64_t raw = 0;
                plist_get_uint_val(index, &raw);
                ++mCount;
                out = Value(Uid{raw});
                return true;
            }
        }
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
            integers.push_back(std::to_string(*value.asInteger()));
            return PlistPtr(plist_new_uint(static_cast<std::uint64_t>(*value.asInteger())));
        case Value::Type::Real: {
            const double d = *value.asReal();
            reals.push_back(d);
            return PlistPtr(plist_new_real(d));
        }
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
        case Value::Type::Date: {
            const double seconds = value.asDate()->seconds;
            if (!plistDateInRange(seconds)) {
                fail("a date outside the years 1 to 9999 cannot be written");
                return nullptr;
            }
            dates.push_back(seconds);
            return PlistPtr(plist_new_date(0, 0));
        }
        case Value::Type::Uid:
            integers.push_back(std::to_string(value.asUid()->index));
            return PlistPtr(plist_new_uid(value.asUid()->index));
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
    // Every real, date and integer (a UID's index included) of the tree in
    // document order, for mendXml.
    std::vector<double> reals;
    std::vector<double> dates;
    std::vector<std::string> integers;

private:
    void fail(std::string message)
    {
        if (error.empty())
            error = std::move(message);
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

// Calls edit with the text of each <name>...</name> element in document order
// and returns how many there were. Only libplist's markup can hold "<name>":
// a "<" in any text is written as "&lt;".
std::size_t rewriteElements(std::string& xml, std::string_view name,
                            const std::function<void(std::size_t, std::string&)>& edit)
{
    const std::string open = "<" + std::string(name) + ">", close = "</" + std::string(name) + ">";
    std::string out;
    std::size_t count = 0, copied = 0;
    for (std::size_t at = xml.find(open); at != std::string::npos; at = xml.find(open, at)) {
        const std::size_t begin = at + open.size();
        const std::size_t end = xml.find(close, begin);
        if (end == std::string::npos)
            break;
        std::string text = xml.substr(begin, end - begin);
        edit(count++, text);
        out.append(xml, copied, begin - copied);
        out += text;
        copied = end;
        at = end + close.size();
    }
    if (count > 0) {
        out.append(xml, copied);
        xml = std::move(out);
    }
    return count;
}

// libplist's XML output, mended where libplist writes a value wrongly: a date
// only within the 32-bit seconds and rounded toward 2001, a negative zero
// without its sign, a UID of 2^63 or more as a negative number, a carriage
// return raw (which every XML reader turns into a line feed). False when the
// output does not hold the values written.
bool mendXml(std::string& xml, const ToPlist& written)
{
    const std::size_t dates = rewriteElements(xml, "date", [&](std::size_t i, std::string& text) {
        if (i < written.dates.size())
            text = plistDateText(written.dates[i]);
    });
    const std::size_t reals = rewriteElements(xml, "real", [&](std::size_t i, std::string& text) {
        if (i < written.reals.size() && written.reals[i] == 0.0 && std::signbit(written.reals[i]))
            text = "-0.0";
    });
    const std::size_t integers = rewriteElements(xml, "integer", [&](std::size_t i, std::string& text) {
        if (i < written.integers.size())
            text = written.integers[i];
    });
    if (dates != written.dates.size() || reals != written.reals.size() || integers != written.integers.size())
        return false;
    std::string mended;
    mended.reserve(xml.size());
    for (const char c : xml) {
        if (c == '\r')
            mended += "&#13;";
        else
            mended += c;
    }
    xml = std::move(mended);
    return true;
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
    if (looksLikeBinaryPlist(bytes))
        return readBinaryPlist(bytes, limits);
    if (!looksLikeXml(bytes))
        return ParseResult::failure("not a property list");
    CNumericLocale cLocale;
    plist_t root = nullptr;
    plist_from_xml(bytes.data(), std::uint32_t(bytes.size()), &root);
    if (!root)
        return ParseResult::failure("malformed XML property list");
    PlistPtr guard(root);
    FromPlist converter(limits);
    Value value;
    if (!converter.convert(root, value, 1))
        return ParseResult::failure(converter.error);
    return {std::move(value), {}};
}

PlistOutput writePlist(const Value& value, PlistFormat format, const PlistLimits& limits)
{
    if (format == PlistFormat::Binary)
        return writeBinaryPlist(value, limits);
    CNumericLocale cLocale;
    ToPlist converter(limits);
    PlistPtr root = converter.convert(value, 1);
    if (!root)
        return {std::string(), converter.error};
    char* out = nullptr;
    std::uint32_t length = 0;
    plist_to_xml(root.get(), &out, &length);
    if (!out)
        return {std::string(), "the property-list writer failed"};
    std::string bytes(out, length);
    std::free(out);
    if (!mendXml(bytes, converter))
        return {std::string(), "the property-list writer failed"};
    return {std::move(bytes), std::string()};
}

} // namespace ch

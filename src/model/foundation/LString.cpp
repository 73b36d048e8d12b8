#include "model/foundation/LString.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "model/foundation/CNSStringToCString.h"
#include "platform/core/locale_settings.h"
#include "platform/core/unicode.h"

namespace ch {

namespace {

std::string ModelText(const void* text, std::uint8_t length)
{
    if (!text || length == 0) return {};
    return CNSStringToCString::convertFromDestination(std::string_view(static_cast<const char*>(text), length));
}

std::int16_t Sign(int value)
{
    return static_cast<std::int16_t>(value < 0 ? -1 : (value > 0 ? 1 : 0));
}

std::size_t DecimalText(std::int32_t value, char (&out)[16])
{
    int written = std::snprintf(out, sizeof out, "%ld", static_cast<long>(value));
    return written > 0 ? static_cast<std::size_t>(written) : 0;
}

// The first single-byte separator of the user's settings; `fallback` for a
// separator model text cannot hold in one byte.
char SeparatorByte(const std::string& separator, char fallback)
{
    return separator.size() == 1 ? separator[0] : fallback;
}

// Where `pattern` matches inside `text` by the comparison: the first start
// position at or after `from` (forward), or the last one at or before it
// (1-based; 0 when none).
std::size_t Search(const unsigned char* text, std::size_t textLength, const void* pattern,
                   std::size_t patternLength, std::size_t from, bool forward, LString::CompareFunc compare)
{
    if (patternLength == 0 || patternLength > textLength || patternLength > 255 || !pattern || from == 0) return 0;
    const std::size_t lastStart = textLength - patternLength + 1;
    if (forward && from > lastStart) return 0;
    if (!forward) from = std::min(from, lastStart);
    const auto length = static_cast<std::uint8_t>(patternLength);
    for (std::size_t at = from; at >= 1 && at <= lastStart; forward ? ++at : --at)
        if (compare(text + at - 1, pattern, length, length) == 0) return at;
    return 0;
}

} // namespace

// --- free functions

unsigned char* TCLpstrcpy(unsigned char* dest, const unsigned char* src)
{
    std::memmove(dest, src, std::size_t(src[0]) + 1);
    return dest;
}

unsigned char* TCLpstrncpy(unsigned char* dest, const unsigned char* src, std::size_t n)
{
    std::size_t length = std::min<std::size_t>(src[0], std::min<std::size_t>(n, 255));
    std::memmove(dest + 1, src + 1, length);
    dest[0] = static_cast<unsigned char>(length);
    return dest;
}

unsigned char* TCLpstrcat(unsigned char* dest, const unsigned char* src)
{
    return TCLpstrncat(dest, src, 255);
}

unsigned char* TCLpstrncat(unsigned char* dest, const unsigned char* src, std::size_t n)
{
    std::size_t limit = std::min<std::size_t>(n, 255);
    std::size_t destLength = dest[0];
    std::size_t result = std::min(destLength + src[0], limit);
    if (result > destLength) std::memmove(dest + 1 + destLength, src + 1, result - destLength);
    dest[0] = static_cast<unsigned char>(result);
    return dest;
}

unsigned char* TCLpstrcatlong(unsigned char* dest, const unsigned char* src, std::int32_t value)
{
    TCLpstrcat(dest, src);
    char digits[16];
    std::size_t length = DecimalText(value, digits);
    Str255 number;
    number[0] = static_cast<unsigned char>(length);
    std::memcpy(number + 1, digits, length);
    return TCLpstrcat(dest, number);
}

std::size_t TCLctopstrcpy(unsigned char* dest, const char* src)
{
    return TCLctopstrncpy(dest, src, 255);
}

std::size_t TCLctopstrncpy(unsigned char* dest, const char* src, std::size_t n)
{
    std::size_t length = std::min(LString::CStringLength(src), n);
    if (length > 0) std::memmove(dest + 1, src, length);
    dest[0] = static_cast<unsigned char>(length);
    return length;
}

char* TCLptocstrcpy(char* dest, const unsigned char* src)
{
    std::size_t length = src[0];
    std::memmove(dest, src + 1, length);
    dest[length] = '\0';
    return dest;
}

char* TCLptocstrncpy(char* dest, const unsigned char* src, std::size_t n)
{
    std::size_t length = std::min<std::size_t>(src[0], n);
    std::memmove(dest, src + 1, length);
    dest[length] = '\0';
    return dest;
}

// --- LString statics

std::size_t LString::CStringLength(const char* text)
{
    if (!text) return 0;
    std::size_t length = 0;
    while (length < 255 && text[length] != '\0') ++length;
    return length;
}

unsigned char* LString::CToPStr(char* text)
{
    if (!text) return nullptr;
    std::size_t length = CStringLength(text);
    std::memmove(text + 1, text, length);
    text[0] = static_cast<char>(length);
    return reinterpret_cast<unsigned char*>(text);
}

char* LString::PToCStr(unsigned char* text)
{
    if (!text) return nullptr;
    std::size_t length = text[0];
    std::memmove(text, text + 1, length);
    text[length] = '\0';
    return reinterpret_cast<char*>(text);
}

unsigned char* LString::CopyPStr(const unsigned char* src, unsigned char* dest, std::size_t destSize)
{
    if (destSize == 0) return dest;
    std::size_t length = src ? std::min<std::size_t>(src[0], destSize - 1) : 0;
    if (length > 0) std::memmove(dest + 1, src + 1, length);
    dest[0] = static_cast<unsigned char>(length);
    return dest;
}

unsigned char* LString::AppendPStr(unsigned char* dest, const unsigned char* src, std::size_t destSize)
{
    if (!src || destSize == 0) return dest;
    std::size_t maxLength = std::min<std::size_t>(destSize - 1, 255);
    std::size_t destLength = dest[0];
    if (destLength >= maxLength) return dest;
    std::size_t added = std::min<std::size_t>(src[0], maxLength - destLength);
    std::memmove(dest + 1 + destLength, src + 1, added);
    dest[0] = static_cast<unsigned char>(destLength + added);
    return dest;
}

unsigned char* LString::FourCharCodeToPStr(FourCharCode code, unsigned char* dest)
{
    dest[0] = 4;
    dest[1] = static_cast<unsigned char>(code >> 24);
    dest[2] = static_cast<unsigned char>(code >> 16);
    dest[3] = static_cast<unsigned char>(code >> 8);
    dest[4] = static_cast<unsigned char>(code);
    return dest;
}

void LString::PStrToFourCharCode(const unsigned char* text, FourCharCode& outCode)
{
    FourCharCode code = 0;
    for (std::size_t i = 1; i <= 4; ++i)
        code = (code << 8) | (i <= text[0] ? text[i] : static_cast<unsigned char>(' '));
    outCode = code;
}

std::int16_t LString::CompareBytes(const void* text1, const void* text2,
                                   std::uint8_t length1, std::uint8_t length2)
{
    std::size_t common = std::min(length1, length2);
    int result = common > 0 ? std::memcmp(text1, text2, common) : 0;
    if (result != 0) return result < 0 ? -1 : 1;
    if (length1 == length2) return 0;
    return length1 < length2 ? -1 : 1;
}

std::int16_t LString::ToolboxCompareText(const void* text1, const void* text2,
                                         std::uint8_t length1, std::uint8_t length2)
{
    return Sign(compareLocalized(ModelText(text1, length1), ModelText(text2, length2)));
}

std::int16_t LString::CompareIgnoringCase(const void* text1, const void* text2,
                                          std::uint8_t length1, std::uint8_t length2)
{
    return Sign(compareLocalized(toUpperCase(ModelText(text1, length1)), toUpperCase(ModelText(text2, length2))));
}

// --- LString instance operations

LString& LString::Assign(const LString& other)
{
    if (&other != this) Assign(other.TextPtr(), other.Length());
    return *this;
}

LString& LString::Assign(const unsigned char* pText)
{
    return pText ? Assign(pText + 1, pText[0]) : Assign(nullptr, 0);
}

LString& LString::Assign(const char* cText)
{
    return Assign(cText, CStringLength(cText));
}

LString& LString::Assign(const void* bytes, std::size_t length)
{
    length = std::min(length, GetMaxLength());
    if (length > 0 && bytes) std::memmove(mString + 1, bytes, length);
    mString[0] = static_cast<unsigned char>(length);
    return *this;
}

LString& LString::Assign(char character)
{
    return Assign(&character, 1);
}

LString& LString::Assign(std::int32_t number)
{
    char digits[16];
    std::size_t length = DecimalText(number, digits);
    return Assign(digits, length);
}

LString& LString::Assign(const LString& other, std::size_t start, std::size_t count)
{
    const std::size_t offset = std::min<std::size_t>(start > 0 ? start - 1 : 0, other.Length());
    count = std::min<std::size_t>(count, other.Length() - offset);
    // Copy first: other may be this string.
    Str255 copy;
    std::memcpy(copy, other.TextPtr() + offset, count);
    return Assign(copy, count);
}

LString& LString::Assign(FourCharCode code)
{
    Str255 text;
    FourCharCodeToPStr(code, text);
    return Assign(text);
}

LString& LString::Assign(const std::unique_ptr<std::vector<char>>& block)
{
    return block ? Assign(block->data(), block->size()) : Assign(nullptr, 0);
}

LString& LString::Assign(double number, char format, std::int16_t digits)
{
    const int precision = std::clamp<int>(digits, 0, 15);
    char text[400];
    const int written = format == 'e'   ? std::snprintf(text, sizeof text, "%.*e", precision, number)
                        : format == 'g' ? std::snprintf(text, sizeof text, "%.*g", precision, number)
                                        : std::snprintf(text, sizeof text, "%.*f", precision, number);
    std::size_t length = written > 0 ? std::min<std::size_t>(std::size_t(written), sizeof text - 1) : 0;
    // printf writes a point whatever the user reads.
    const char separator = SeparatorByte(currentLocaleSettings().decimalSeparator, '.');
    for (std::size_t i = 0; i < length; ++i)
        if (text[i] == '.') text[i] = separator;
    return Assign(text, length);
}

std::size_t LString::Find(const void* bytes, std::size_t length, std::size_t start) const
{
    return Search(TextPtr(), Length(), bytes, length, std::max<std::size_t>(start, 1), true, mCompareFunc);
}

std::size_t LString::ReverseFind(const void* bytes, std::size_t length, std::size_t start) const
{
    return Search(TextPtr(), Length(), bytes, length, start, false, mCompareFunc);
}

bool LString::BeginsWith(const void* bytes, std::size_t length) const
{
    if (length == 0) return true;
    if (length > Length() || !bytes) return false;
    const auto n = static_cast<std::uint8_t>(length);
    return mCompareFunc(TextPtr(), bytes, n, n) == 0;
}

bool LString::EndsWith(const void* bytes, std::size_t length) const
{
    if (length == 0) return true;
    if (length > Length() || !bytes) return false;
    const auto n = static_cast<std::uint8_t>(length);
    return mCompareFunc(TextPtr() + Length() - length, bytes, n, n) == 0;
}

std::size_t LString::FindWithin(const void* block, std::size_t blockLength, std::size_t start) const
{
    if (!block) return 0;
    return Search(static_cast<const unsigned char*>(block), blockLength, TextPtr(), Length(),
                  std::max<std::size_t>(start, 1), true, mCompareFunc);
}

std::size_t LString::ReverseFindWithin(const void* block, std::size_t blockLength, std::size_t start) const
{
    if (!block) return 0;
    return Search(static_cast<const unsigned char*>(block), blockLength, TextPtr(), Length(), start, false,
                  mCompareFunc);
}

LStr255 LString::operator()(std::size_t start, std::size_t count) const
{
    return LStr255(*this, start, count);
}

LString::operator std::int32_t() const
{
    const unsigned char* text = TextPtr();
    std::size_t at = 0;
    const std::size_t length = Length();
    while (at < length && (text[at] == ' ' || text[at] == '\t')) ++at;
    bool negative = false;
    if (at < length && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
    std::int64_t value = 0;
    const std::int64_t bound = negative ? -std::int64_t(INT32_MIN) : INT32_MAX;
    for (; at < length && text[at] >= '0' && text[at] <= '9'; ++at)
        value = std::min<std::int64_t>(value * 10 + (text[at] - '0'), bound);
    return static_cast<std::int32_t>(negative ? -value : value);
}

LString::operator double() const
{
    const LocaleSettings settings = currentLocaleSettings();
    const char decimal = SeparatorByte(settings.decimalSeparator, '.');
    const char grouping = SeparatorByte(settings.groupingSeparator, '\0');
    // Brought into the form strtod reads in the C locale.
    std::string plain;
    const unsigned char* text = TextPtr();
    const std::size_t length = Length();
    std::size_t at = 0;
    while (at < length && (text[at] == ' ' || text[at] == '\t')) ++at;
    if (at < length && (text[at] == '-' || text[at] == '+')) plain += char(text[at++]);
    bool digits = false, fraction = false;
    for (; at < length; ++at) {
        const char c = char(text[at]);
        if (c >= '0' && c <= '9') {
            plain += c;
            digits = true;
        } else if (!fraction && (c == decimal || (c == '.' && grouping != '.'))) {
            plain += '.';
            fraction = true;
        } else if (!fraction && grouping && c == grouping && digits && at + 1 < length && text[at + 1] >= '0' &&
                   text[at + 1] <= '9') {
            continue;
        } else if ((c == 'e' || c == 'E') && digits) {
            // An exponent only when digits follow.
            std::size_t next = at + 1;
            std::string exponent = "e";
            if (next < length && (text[next] == '-' || text[next] == '+')) exponent += char(text[next++]);
            if (next >= length || text[next] < '0' || text[next] > '9') break;
            while (next < length && text[next] >= '0' && text[next] <= '9') exponent += char(text[next++]);
            plain += exponent;
            break;
        } else {
            break;
        }
    }
    if (!digits) return 0.0;
    // from_chars reads a point whatever the process's locale says.
    double value = 0.0;
    const char* begin = plain.c_str() + (plain[0] == '+' ? 1 : 0);
    std::from_chars(begin, plain.c_str() + plain.size(), value);
    return value;
}

LString::operator FourCharCode() const
{
    FourCharCode code = 0;
    PStrToFourCharCode(mString, code);
    return code;
}

LString& LString::Append(const LString& other)
{
    // Copy first: other may be this string.
    Str255 copy;
    std::size_t length = other.Length();
    std::memcpy(copy, other.TextPtr(), length);
    return Append(copy, length);
}

LString& LString::Append(const unsigned char* pText)
{
    return pText ? Append(pText + 1, pText[0]) : *this;
}

LString& LString::Append(const char* cText)
{
    return Append(cText, CStringLength(cText));
}

LString& LString::Append(const void* bytes, std::size_t length)
{
    std::size_t current = Length();
    std::size_t added = std::min(length, GetMaxLength() - current);
    if (added > 0) std::memmove(mString + 1 + current, bytes, added);
    mString[0] = static_cast<unsigned char>(current + added);
    return *this;
}

LString& LString::Append(char character)
{
    return Append(&character, 1);
}

LString& LString::Append(std::int32_t number)
{
    char digits[16];
    std::size_t length = DecimalText(number, digits);
    return Append(digits, length);
}

LString& LString::Insert(const void* bytes, std::size_t length, std::size_t at)
{
    return Replace(at, 0, bytes, length);
}

LString& LString::Remove(std::size_t start, std::size_t count)
{
    return Replace(start, count, nullptr, 0);
}

LString& LString::Replace(std::size_t start, std::size_t count, const void* bytes, std::size_t length)
{
    const std::size_t current = Length();
    // 0-based offset of the first character replaced.
    const std::size_t offset = std::min(start > 0 ? start - 1 : 0, current);
    const std::size_t removed = std::min(count, current - offset);
    if (!bytes) length = 0;
    // Built apart: the bytes may lie inside this string.
    Str255 result;
    std::size_t size = 0;
    auto put = [&](const unsigned char* from, std::size_t n) {
        n = std::min(n, GetMaxLength() - size);
        if (n > 0) std::memcpy(result + size, from, n);
        size += n;
    };
    put(TextPtr(), offset);
    put(static_cast<const unsigned char*>(bytes), length);
    put(TextPtr() + offset + removed, current - offset - removed);
    return Assign(result, size);
}

LStr255 operator+(const LString& left, const LString& right)
{
    LStr255 result(left);
    result.Append(right);
    return result;
}

LStr255 operator+(const LString& left, const unsigned char* right)
{
    LStr255 result(left);
    result.Append(right);
    return result;
}

LStr255 operator+(const LString& left, char right)
{
    LStr255 result(left);
    result.Append(right);
    return result;
}

} // namespace ch

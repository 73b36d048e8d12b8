#include "platform/core/unicode.h"

#include <unicode/ucol.h>
#include <unicode/uloc.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <memory>
#include <mutex>

namespace ch {

namespace {

bool isAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

std::u16string foldCase(std::string_view utf8)
{
    std::u16string text = toUtf16(utf8);
    UErrorCode err = U_ZERO_ERROR;
    int32_t needed = u_strFoldCase(nullptr, 0, reinterpret_cast<const UChar*>(text.data()),
                                   int32_t(text.size()), U_FOLD_CASE_DEFAULT, &err);
    std::u16string out(std::size_t(needed), u'\0');
    err = U_ZERO_ERROR;
    u_strFoldCase(reinterpret_cast<UChar*>(out.data()), needed,
                  reinterpret_cast<const UChar*>(text.data()), int32_t(text.size()),
                  U_FOLD_CASE_DEFAULT, &err);
    return U_SUCCESS(err) ? out : text;
}

std::string foldAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = asciiLower(c);
    return out;
}

// The two collators of the name order (case-sensitive and not), replaced as a
// whole when the locale changes; compare calls keep theirs alive.
struct Collators {
    std::string locale;
    UCollator* tertiary = nullptr;
    UCollator* secondary = nullptr;
    ~Collators()
    {
        if (tertiary)
            ucol_close(tertiary);
        if (secondary)
            ucol_close(secondary);
    }
};

std::mutex gCollatorMutex;
std::shared_ptr<const Collators> gCollators;

std::shared_ptr<const Collators> makeCollators(const std::string& locale)
{
    auto c = std::make_shared<Collators>();
    c->locale = locale;
    // The POSIX locale's tailoring orders by code point (all capitals first);
    // names read better in the root order.
    std::string icuLocale = (locale == "en_US_POSIX" || locale == "c" || locale == "C")
                                ? std::string("en_US")
                                : locale;
    UErrorCode err = U_ZERO_ERROR;
    c->tertiary = ucol_open(icuLocale.c_str(), &err);
    if (U_FAILURE(err)) {
        err = U_ZERO_ERROR;
        c->tertiary = ucol_open("", &err);
    }
    err = U_ZERO_ERROR;
    c->secondary = ucol_clone(c->tertiary, &err);
    if (c->secondary)
        ucol_setStrength(c->secondary, UCOL_SECONDARY);
    return c;
}

std::shared_ptr<const Collators> currentCollators()
{
    std::lock_guard lock(gCollatorMutex);
    if (!gCollators)
        gCollators = makeCollators(uloc_getDefault());
    return gCollators;
}

} // namespace

std::u16string toUtf16(std::string_view utf8)
{
    std::u16string out;
    if (utf8.empty())
        return out;
    if (isAscii(utf8)) {
        out.assign(utf8.begin(), utf8.end());
        return out;
    }
    UErrorCode err = U_ZERO_ERROR;
    int32_t needed = 0;
    u_strFromUTF8WithSub(nullptr, 0, &needed, utf8.data(), int32_t(utf8.size()), 0xFFFD, nullptr,
                         &err);
    out.resize(std::size_t(needed));
    err = U_ZERO_ERROR;
    u_strFromUTF8WithSub(reinterpret_cast<UChar*>(out.data()), needed, nullptr, utf8.data(),
                         int32_t(utf8.size()), 0xFFFD, nullptr, &err);
    if (U_FAILURE(err))
        out.clear();
    return out;
}

std::string toUtf8(std::u16string_view utf16)
{
    std::string out;
    if (utf16.empty())
        return out;
    const auto* src = reinterpret_cast<const UChar*>(utf16.data());
    UErrorCode err = U_ZERO_ERROR;
    int32_t needed = 0;
    u_strToUTF8WithSub(nullptr, 0, &needed, src, int32_t(utf16.size()), 0xFFFD, nullptr, &err);
    out.resize(std::size_t(needed));
    err = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data(), needed, nullptr, src, int32_t(utf16.size()), 0xFFFD, nullptr,
                       &err);
    if (U_FAILURE(err))
        out.clear();
    return out;
}

bool isValidUtf8(std::string_view bytes)
{
    int32_t i = 0;
    const auto* s = reinterpret_cast<const uint8_t*>(bytes.data());
    const auto length = int32_t(bytes.size());
    while (i < length) {
        UChar32 c;
        U8_NEXT(s, i, length, c);
        if (c < 0)
            return false;
    }
    return true;
}

std::size_t utf16Length(std::string_view utf8)
{
    std::size_t units = 0;
    int32_t i = 0;
    const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
    const auto length = int32_t(utf8.size());
    while (i < length) {
        UChar32 c;
        U8_NEXT(s, i, length, c);
        units += (c > 0xFFFF) ? 2 : 1;   // a malformed sequence reads as one U+FFFD
    }
    return units;
}

std::string truncateToUtf16Units(std::string_view utf8, std::size_t maxUnits)
{
    std::string out;
    std::size_t units = 0;
    int32_t i = 0;
    const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
    const auto length = int32_t(utf8.size());
    while (i < length) {
        int32_t start = i;
        UChar32 c;
        U8_NEXT(s, i, length, c);
        std::size_t need = (c > 0xFFFF) ? 2 : 1;
        if (units + need > maxUnits)
            break;
        units += need;
        if (c < 0)
            out += "\xEF\xBF\xBD";
        else
            out.append(utf8.data() + start, std::size_t(i - start));
    }
    return out;
}

int compareCaseInsensitive(std::string_view a, std::string_view b)
{
    if (isAscii(a) && isAscii(b)) {
        std::size_t n = std::min(a.size(), b.size());
        for (std::size_t i = 0; i < n; ++i) {
            char x = asciiLower(a[i]);
            char y = asciiLower(b[i]);
            if (x != y)
                return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
        }
        return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    }
    std::u16string x = toUtf16(a);
    std::u16string y = toUtf16(b);
    UErrorCode err = U_ZERO_ERROR;
    int32_t r = u_strCaseCompare(reinterpret_cast<const UChar*>(x.data()), int32_t(x.size()),
                                 reinterpret_cast<const UChar*>(y.data()), int32_t(y.size()),
                                 U_FOLD_CASE_DEFAULT | U_COMPARE_CODE_POINT_ORDER, &err);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

bool equalsCaseInsensitive(std::string_view a, std::string_view b)
{
    // ASCII folds byte for byte: texts of other lengths differ (look-ups by
    // name ask this of every object of a list).
    if (a.size() != b.size() && isAscii(a) && isAscii(b))
        return false;
    return compareCaseInsensitive(a, b) == 0;
}

bool startsWithCaseInsensitive(std::string_view text, std::string_view prefix)
{
    if (isAscii(text) && isAscii(prefix))
        return prefix.size() <= text.size() &&
               foldAscii(text.substr(0, prefix.size())) == foldAscii(prefix);
    return foldCase(text).starts_with(foldCase(prefix));
}

bool containsCaseInsensitive(std::string_view text, std::string_view needle)
{
    if (isAscii(text) && isAscii(needle)) {
        // Compared in place: a search runs over every row of long lists.
        const auto same = [](char a, char b) { return asciiLower(a) == asciiLower(b); };
        return std::search(text.begin(), text.end(), needle.begin(), needle.end(), same) != text.end();
    }
    return foldCase(text).find(foldCase(needle)) != std::u16string::npos;
}

std::string toUpperCase(std::string_view utf8)
{
    if (isAscii(utf8)) {
        std::string out(utf8);
        for (char& c : out)
            if (c >= 'a' && c <= 'z')
                c = char(c - 'a' + 'A');
        return out;
    }
    const std::u16string text = toUtf16(utf8);
    UErrorCode err = U_ZERO_ERROR;
    const int32_t needed = u_strToUpper(nullptr, 0, reinterpret_cast<const UChar*>(text.data()),
                                        int32_t(text.size()), "", &err);
    std::u16string out(std::size_t(needed), u'\0');
    err = U_ZERO_ERROR;
    u_strToUpper(reinterpret_cast<UChar*>(out.data()), needed, reinterpret_cast<const UChar*>(text.data()),
                 int32_t(text.size()), "", &err);
    return U_SUCCESS(err) ? toUtf8(out) : std::string(utf8);
}

int compareLocalized(std::string_view a, std::string_view b, bool ignoreCase)
{
    auto collators = currentCollators();
    const UCollator* coll = ignoreCase ? collators->secondary : collators->tertiary;
    if (!coll)
        return compareCaseInsensitive(a, b);
    UErrorCode err = U_ZERO_ERROR;
    UCollationResult r = ucol_strcollUTF8(coll, a.data(), int32_t(a.size()), b.data(),
                                          int32_t(b.size()), &err);
    if (U_FAILURE(err))
        return compareCaseInsensitive(a, b);
    return r == UCOL_LESS ? -1 : (r == UCOL_GREATER ? 1 : 0);
}

void setNameOrderLocale(const std::string& icuLocaleId)
{
    auto fresh = makeCollators(icuLocaleId);
    std::lock_guard lock(gCollatorMutex);
    gCollators = std::move(fresh);
}

std::string nameOrderLocale()
{
    return currentCollators()->locale;
}

} // namespace ch

#include "platform/core/text_encoding.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <array>
#include <memory>

#include "platform/core/unicode.h"

namespace ch {

namespace {

const char* icuConverterName(TextEncoding enc)
{
    switch (enc) {
    case encoding::ascii: return "US-ASCII";
    case encoding::utf8: return "UTF-8";
    case encoding::isoLatin1: return "ISO-8859-1";
    case encoding::windowsLatin1: return "windows-1252";
    case encoding::macRoman: return "macintosh";
    default: return nullptr;
    }
}

// Bytes that form no character read as U+FFFD (ICU's default would give
// U+001A for some single-byte converters).
void toUnicodeReplacement(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                          UConverterCallbackReason reason, UErrorCode* err)
{
    if (reason > UCNV_IRREGULAR)
        return;   // reset, close, clone: nothing to do
    static const UChar replacement = 0xFFFD;
    *err = U_ZERO_ERROR;
    ucnv_cbToUWriteUChars(args, &replacement, 1, 0, err);
}

// ICU's own callbacks pass over "default ignorable" code points (soft hyphen,
// zero-width space, byte-order mark, variation selectors, ...) without a word
// when the encoding lacks them: the text would lose them silently, and
// canEncode would promise a round trip that does not happen. Ours treat them
// like any other character the encoding lacks.
void fromUnicodeSubstitute(const void*, UConverterFromUnicodeArgs* args, const UChar*, int32_t,
                           UChar32, UConverterCallbackReason reason, UErrorCode* err)
{
    if (reason > UCNV_IRREGULAR)
        return;
    *err = U_ZERO_ERROR;
    ucnv_cbFromUWriteSub(args, 0, err);
}

void fromUnicodeStop(const void*, UConverterFromUnicodeArgs*, const UChar*, int32_t, UChar32,
                     UConverterCallbackReason, UErrorCode*)
{
    // The error stays set: the conversion ends there.
}

// ICU's Windows-1252 table gives the five bytes the code page leaves
// unassigned (81 8D 8F 90 9D) to the C1 controls of the same value. They are
// no characters: they read as U+FFFD, and those controls cannot be written.
bool isUnassignedInWindowsLatin1(char16_t unit)
{
    return unit == 0x81 || unit == 0x8D || unit == 0x8F || unit == 0x90 || unit == 0x9D;
}

// One opened converter per encoding and thread: opening is not free, and file
// loads and statement imports convert many short texts.
class ConverterCache {
public:
    ~ConverterCache()
    {
        for (auto& entry : mEntries)
            if (entry.converter)
                ucnv_close(entry.converter);
    }

    UConverter* get(TextEncoding enc)
    {
        for (auto& entry : mEntries)
            if (entry.converter && entry.encoding == enc) {
                ucnv_reset(entry.converter);
                return entry.converter;
            }
        const char* name = icuConverterName(enc);
        if (!name)
            return nullptr;
        UErrorCode err = U_ZERO_ERROR;
        UConverter* cnv = ucnv_open(name, &err);
        if (U_FAILURE(err))
            return nullptr;
        ucnv_setSubstChars(cnv, "?", 1, &err);
        ucnv_setToUCallBack(cnv, toUnicodeReplacement, nullptr, nullptr, nullptr, &err);
        if (U_FAILURE(err)) {
            ucnv_close(cnv);
            return nullptr;
        }
        for (auto& entry : mEntries)
            if (!entry.converter) {
                entry = {enc, cnv};
                return cnv;
            }
        return nullptr;   // more encodings than slots: cannot happen
    }

private:
    struct Entry {
        TextEncoding encoding = 0;
        UConverter* converter = nullptr;
    };
    std::array<Entry, 8> mEntries;
};

UConverter* converterFor(TextEncoding enc)
{
    thread_local ConverterCache cache;
    return cache.get(enc);
}

// The longest prefix of at most maxBytes bytes that does not end inside a
// UTF-8 sequence.
std::size_t utf8CutPoint(std::string_view utf8, std::size_t maxBytes)
{
    if (utf8.size() <= maxBytes)
        return utf8.size();
    std::size_t cut = maxBytes;
    while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80)
        --cut;
    return cut;
}

bool isAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::u16string toNfc(const std::u16string& text)
{
    UErrorCode err = U_ZERO_ERROR;
    const UNormalizer2* nfc = unorm2_getNFCInstance(&err);
    if (U_FAILURE(err))
        return text;
    const auto* src = reinterpret_cast<const UChar*>(text.data());
    if (unorm2_isNormalized(nfc, src, int32_t(text.size()), &err) && U_SUCCESS(err))
        return text;
    err = U_ZERO_ERROR;
    int32_t needed = unorm2_normalize(nfc, src, int32_t(text.size()), nullptr, 0, &err);
    std::u16string out(std::size_t(needed), u'\0');
    err = U_ZERO_ERROR;
    unorm2_normalize(nfc, src, int32_t(text.size()), reinterpret_cast<UChar*>(out.data()), needed,
                     &err);
    return U_SUCCESS(err) ? out : text;
}

} // namespace

bool isSupportedEncoding(TextEncoding enc)
{
    return icuConverterName(enc) != nullptr;
}

std::optional<std::string> encodeLossy(std::string_view utf8, TextEncoding enc,
                                       std::size_t maxBytes)
{
    if (!isSupportedEncoding(enc))
        return std::nullopt;
    // Every supported encoding holds ASCII as it is.
    if (isAscii(utf8))
        return std::string(utf8.substr(0, std::min(maxBytes, utf8.size())));

    std::u16string composed = toNfc(toUtf16(utf8));
    if (enc == encoding::utf8) {
        std::string out = toUtf8(composed);
        out.resize(utf8CutPoint(out, maxBytes));
        return out;
    }

    // The other encodings are single-byte: one byte (or one '?') per code
    // point, so cutting the bytes never splits a character.
    UConverter* cnv = converterFor(enc);
    if (!cnv)
        return std::nullopt;
    if (enc == encoding::windowsLatin1)
        std::replace_if(composed.begin(), composed.end(), isUnassignedInWindowsLatin1, u'\uFFFD');
    UErrorCode err = U_ZERO_ERROR;
    ucnv_setFromUCallBack(cnv, fromUnicodeSubstitute, nullptr, nullptr, nullptr, &err);
    std::string out(composed.size() * std::size_t(ucnv_getMaxCharSize(cnv)) + 1, '\0');
    err = U_ZERO_ERROR;
    int32_t n = ucnv_fromUChars(cnv, out.data(), int32_t(out.size()), composed.data(),
                                int32_t(composed.size()), &err);
    if (U_FAILURE(err))
        return std::nullopt;
    out.resize(std::min<std::size_t>(std::size_t(n), maxBytes));
    return out;
}

bool canEncode(std::string_view utf8, TextEncoding enc)
{
    if (!isSupportedEncoding(enc) || !isValidUtf8(utf8))
        return false;
    if (enc == encoding::utf8 || isAscii(utf8))
        return true;
    UConverter* cnv = converterFor(enc);
    if (!cnv)
        return false;
    std::u16string composed = toNfc(toUtf16(utf8));
    if (enc == encoding::windowsLatin1 &&
        std::any_of(composed.begin(), composed.end(), isUnassignedInWindowsLatin1))
        return false;
    UErrorCode err = U_ZERO_ERROR;
    ucnv_setFromUCallBack(cnv, fromUnicodeStop, nullptr, nullptr, nullptr, &err);
    std::string out(composed.size() * std::size_t(ucnv_getMaxCharSize(cnv)) + 1, '\0');
    err = U_ZERO_ERROR;
    ucnv_fromUChars(cnv, out.data(), int32_t(out.size()), composed.data(),
                    int32_t(composed.size()), &err);
    return U_SUCCESS(err);
}

std::optional<std::string> decode(std::string_view bytes, TextEncoding enc)
{
    if (!isSupportedEncoding(enc))
        return std::nullopt;
    if (isAscii(bytes))
        return std::string(bytes);
    if (enc == encoding::utf8)
        return toUtf8(toUtf16(bytes));
    UConverter* cnv = converterFor(enc);
    if (!cnv)
        return std::nullopt;
    std::u16string units(bytes.size() * 2 + 1, u'\0');
    UErrorCode err = U_ZERO_ERROR;
    int32_t n = ucnv_toUChars(cnv, reinterpret_cast<UChar*>(units.data()), int32_t(units.size()),
                              bytes.data(), int32_t(bytes.size()), &err);
    if (U_FAILURE(err))
        return std::nullopt;
    units.resize(std::size_t(n));
    if (enc == encoding::windowsLatin1)
        std::replace_if(units.begin(), units.end(), isUnassignedInWindowsLatin1, u'\uFFFD');
    return toUtf8(units);
}

std::string toUtf16External(std::string_view utf8)
{
    std::u16string units = toUtf16(utf8);
    std::string out;
    out.reserve(2 + units.size() * 2);
    out.push_back(char(0xFF));
    out.push_back(char(0xFE));
    for (char16_t u : units) {
        out.push_back(char(u & 0xFF));
        out.push_back(char(u >> 8));
    }
    return out;
}

std::optional<std::string> fromUtf16External(std::string_view bytes)
{
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    bool littleEndian = false;
    std::size_t start = 0;
    if (size >= 2) {
        if (p[0] == 0xFF && p[1] == 0xFE) {
            littleEndian = true;
            start = 2;
        } else if (p[0] == 0xFE && p[1] == 0xFF) {
            start = 2;
        }
    }
    const std::size_t count = (size - start) / 2;
    p += start;
    const unsigned hiAt = littleEndian ? 1 : 0;
    auto unitAt = [&](std::size_t i) { return unsigned(p[2 * i + hiAt]) << 8 | p[2 * i + (1 - hiAt)]; };

    // Most texts of a set of books are ASCII: one byte per unit, written in
    // place into a string sized once.
    std::string out(count, '\0');
    std::size_t i = 0;
    for (; i < count; ++i) {
        const unsigned unit = unitAt(i);
        if (unit >= 0x80) break;
        out[i] = char(unit);
    }
    if (i == count)
        return out;

    // The rest as UTF-8 (at most three bytes per unit); an unpaired surrogate
    // becomes U+FFFD.
    out.resize(i + (count - i) * 3);
    std::size_t o = i;
    auto put = [&](char32_t c) {
        if (c < 0x80) {
            out[o++] = char(c);
        } else if (c < 0x800) {
            out[o++] = char(0xC0 | (c >> 6));
            out[o++] = char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out[o++] = char(0xE0 | (c >> 12));
            out[o++] = char(0x80 | ((c >> 6) & 0x3F));
            out[o++] = char(0x80 | (c & 0x3F));
        } else {
            out[o++] = char(0xF0 | (c >> 18));
            out[o++] = char(0x80 | ((c >> 12) & 0x3F));
            out[o++] = char(0x80 | ((c >> 6) & 0x3F));
            out[o++] = char(0x80 | (c & 0x3F));
        }
    };
    for (; i < count; ++i) {
        const unsigned unit = unitAt(i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < count) {
            const unsigned low = unitAt(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                put(0x10000 + ((char32_t(unit) - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        put(unit >= 0xD800 && unit <= 0xDFFF ? 0xFFFD : unit);
    }
    out.resize(o);
    return out;
}

std::string truncateToEncodedBytes(std::string_view utf8, TextEncoding enc, std::size_t maxBytes)
{
    if (!isSupportedEncoding(enc))
        return {};
    if (isAscii(utf8))
        return std::string(utf8.substr(0, std::min(maxBytes, utf8.size())));
    std::string composed = toUtf8(toNfc(toUtf16(utf8)));
    if (enc == encoding::utf8) {
        composed.resize(utf8CutPoint(composed, maxBytes));
        return composed;
    }
    // Single-byte encodings: keep maxBytes code points.
    std::size_t pos = 0;
    for (std::size_t kept = 0; pos < composed.size() && kept < maxBytes; ++kept) {
        ++pos;
        while (pos < composed.size() && (static_cast<unsigned char>(composed[pos]) & 0xC0) == 0x80)
            ++pos;
    }
    composed.resize(pos);
    return composed;
}

} // namespace ch

#pragma once
// Length-prefixed text: a length byte (0..255) followed by that many bytes, no
// terminator (Str255 is the 256-byte buffer of this form). The free functions
// and LString's statics copy, append and convert such text and C text, always
// bounded by the destination. LStr255 holds its own Str255; LStringRef works
// on a caller's buffer of a given size. Bytes are taken as they are: the
// encoding is the caller's business.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/core/four_char_code.h"

namespace ch {

class LStr255;
using Str255 = unsigned char[256];

// --- bounded copies (P = length-prefixed, C = NUL-terminated); each returns dest.
// The P destinations hold 256 bytes unless a smaller n bounds them.
unsigned char* TCLpstrcpy(unsigned char* dest, const unsigned char* src);
// At most n characters: the length becomes min(n, source length).
unsigned char* TCLpstrncpy(unsigned char* dest, const unsigned char* src, std::size_t n);
unsigned char* TCLpstrcat(unsigned char* dest, const unsigned char* src);
// Appends; the result length is min(dest length + src length, n).
unsigned char* TCLpstrncat(unsigned char* dest, const unsigned char* src, std::size_t n);
// Appends src, then the decimal text of value.
unsigned char* TCLpstrcatlong(unsigned char* dest, const unsigned char* src, std::int32_t value);
// Up to 255 characters of the C text (null gives empty text); returns the length.
std::size_t TCLctopstrcpy(unsigned char* dest, const char* src);
std::size_t TCLctopstrncpy(unsigned char* dest, const char* src, std::size_t n);
// The characters and a NUL (dest holds 256 bytes).
char* TCLptocstrcpy(char* dest, const unsigned char* src);
// min(n, length) characters and a NUL after them (dest holds n + 1 bytes).
char* TCLptocstrncpy(char* dest, const unsigned char* src, std::size_t n);

class LString {
public:
    // compare(text1, text2, length1, length2): negative, 0 or positive.
    using CompareFunc = std::int16_t (*)(const void*, const void*, std::uint8_t, std::uint8_t);

    virtual ~LString() = default;

    // --- statics
    // Length of C text counting at most 255; 0 for null. The bound for every C
    // text copied into a fixed field.
    static std::size_t CStringLength(const char* text);
    // Convert a buffer in place (at most 255 characters); null passes through.
    static unsigned char* CToPStr(char* text);
    static char* PToCStr(unsigned char* text);
    // At most destSize - 1 characters; a null source gives empty text.
    static unsigned char* CopyPStr(const unsigned char* src, unsigned char* dest,
                                   std::size_t destSize = sizeof(Str255));
    // Appends as much of src as fits in destSize - 1 characters.
    static unsigned char* AppendPStr(unsigned char* dest, const unsigned char* src,
                                     std::size_t destSize = sizeof(Str255));
    // Four characters, first character = high byte. Text shorter than four
    // characters is read as if padded with blanks.
    static unsigned char* FourCharCodeToPStr(FourCharCode code, unsigned char* dest);
    static void PStrToFourCharCode(const unsigned char* text, FourCharCode& outCode);
    // Byte-wise over the common length, then the shorter text first: -1, 0 or 1.
    static std::int16_t CompareBytes(const void* text1, const void* text2,
                                     std::uint8_t length1, std::uint8_t length2);
    // The system's text comparison: the bytes read as model text (in the
    // destination encoding, Mac Roman by default) and put in the name order
    // of the user's language, capitals after small letters of the same
    // word: -1, 0 or 1.
    static std::int16_t ToolboxCompareText(const void* text1, const void* text2,
                                           std::uint8_t length1, std::uint8_t length2);
    // Both texts in capitals, then the system's text comparison: texts that
    // differ only in case (also "STRASSE" and "straße") are equal.
    static std::int16_t CompareIgnoringCase(const void* text1, const void* text2,
                                            std::uint8_t length1, std::uint8_t length2);

    // --- instance operations, all bounded by the buffer size - 1
    std::uint8_t Length() const { return mString[0]; }
    std::size_t GetMaxLength() const { return mBufferSize - 1; }
    unsigned char* TextPtr() { return mString + 1; }
    const unsigned char* TextPtr() const { return mString + 1; }
    operator unsigned char*() { return mString; }
    operator const unsigned char*() const { return mString; }

    LString& Assign(const LString& other);
    LString& Assign(const unsigned char* pText);
    LString& Assign(const char* cText);
    LString& Assign(const void* bytes, std::size_t length);
    LString& Assign(char character);
    LString& Assign(std::int32_t number);  // its decimal text
    // `count` characters of another string from `start` (1-based), as many
    // as it holds.
    LString& Assign(const LString& other, std::size_t start, std::size_t count);
    // The four characters of a code, first character = high byte.
    LString& Assign(FourCharCode code);
    // A memory block's bytes; a null block gives empty text.
    LString& Assign(const std::unique_ptr<std::vector<char>>& block);
    // A number written with the user's decimal separator: format 'f' fixed
    // with `digits` decimals, 'e' in exponent form with `digits` decimals,
    // 'g' in the shorter of both with `digits` significant digits (any other
    // format counts as 'f'; digits are bounded to 0..15).
    LString& Assign(double number, char format, std::int16_t digits);

    LString& Append(const LString& other);
    LString& Append(const unsigned char* pText);
    LString& Append(const char* cText);
    LString& Append(const void* bytes, std::size_t length);
    LString& Append(char character);
    LString& Append(std::int32_t number);

    // Positions count from 1. Insert puts the bytes before the character at
    // `at` (after the last one when `at` lies beyond the text); Remove takes
    // out up to `count` characters from `start`; Replace does both at
    // `start`. Whatever passes the buffer's size is cut from the end.
    LString& Insert(const void* bytes, std::size_t length, std::size_t at);
    LString& Remove(std::size_t start, std::size_t count);
    LString& Replace(std::size_t start, std::size_t count, const void* bytes, std::size_t length);

    // Where text occurs in this string, by the string's comparison: the
    // 1-based position of the first match at or after `start` (Find) or the
    // last one starting at or before `start` (ReverseFind); 0 when absent.
    // Empty text is never found.
    std::size_t Find(const void* bytes, std::size_t length, std::size_t start = 1) const;
    std::size_t Find(const LString& text, std::size_t start = 1) const
    {
        return Find(text.TextPtr(), text.Length(), start);
    }
    std::size_t ReverseFind(const void* bytes, std::size_t length, std::size_t start = 255) const;
    std::size_t ReverseFind(const LString& text, std::size_t start = 255) const
    {
        return ReverseFind(text.TextPtr(), text.Length(), start);
    }
    // Whether the string starts or ends with the text (empty text: always).
    bool BeginsWith(const void* bytes, std::size_t length) const;
    bool BeginsWith(const LString& text) const { return BeginsWith(text.TextPtr(), text.Length()); }
    bool EndsWith(const void* bytes, std::size_t length) const;
    bool EndsWith(const LString& text) const { return EndsWith(text.TextPtr(), text.Length()); }
    // Where this string occurs inside a larger block, as Find and ReverseFind
    // (positions in the block); 0 when absent or when this string is empty.
    std::size_t FindWithin(const void* block, std::size_t blockLength, std::size_t start = 1) const;
    std::size_t ReverseFindWithin(const void* block, std::size_t blockLength,
                                  std::size_t start = static_cast<std::size_t>(-1)) const;
    // `count` characters from `start`, as many as the string holds.
    LStr255 operator()(std::size_t start, std::size_t count) const;

    // The text read as a whole number: blanks, a sign and digits, up to the
    // first other character; 0 without digits; bounded to the 32-bit range.
    explicit operator std::int32_t() const;
    // The text read as a number with the user's decimal separator (a point
    // as well when the grouping separator is not one); grouping separators
    // between digits are skipped; 0 without digits.
    explicit operator double() const;
    // The first four characters as a code (shorter text padded with blanks).
    explicit operator FourCharCode() const;

    // The string's own comparison, ToolboxCompareText unless set otherwise.
    void SetCompareFunc(CompareFunc compare) { mCompareFunc = compare ? compare : ToolboxCompareText; }
    CompareFunc GetCompareFunc() const { return mCompareFunc; }
    std::int16_t CompareTo(const LString& other) const
    {
        return mCompareFunc(TextPtr(), other.TextPtr(), Length(), other.Length());
    }

    LString& operator=(const LString& other) { return Assign(other); }
    LString& operator+=(const LString& other) { return Append(other); }
    LString& operator+=(const unsigned char* pText) { return Append(pText); }
    LString& operator+=(const char* cText) { return Append(cText); }
    LString& operator+=(char character) { return Append(character); }

    bool operator==(const LString& other) const
    {
        return CompareBytes(TextPtr(), other.TextPtr(), Length(), other.Length()) == 0;
    }

protected:
    LString(std::size_t bufferSize, unsigned char* buffer)
        : mString(buffer), mBufferSize(static_cast<std::uint16_t>(bufferSize)) {}
    LString(const LString&) = default;

    void SetBuffer(std::size_t bufferSize, unsigned char* buffer)
    {
        mString = buffer;
        mBufferSize = static_cast<std::uint16_t>(bufferSize);
    }

private:
    unsigned char* mString;                         // length byte, then the characters
    CompareFunc mCompareFunc = ToolboxCompareText;  // assigning text leaves it
    std::uint16_t mBufferSize;                      // length byte included, 2..256
};

// A string with its own 256-byte buffer.
class LStr255 : public LString {
public:
    LStr255() : LString(sizeof mBuffer, mBuffer) { mBuffer[0] = 0; }
    LStr255(const LStr255& other) : LStr255() { Assign(other); }
    LStr255(const LString& other) : LStr255() { Assign(other); }
    LStr255(const unsigned char* pText) : LStr255() { Assign(pText); }
    LStr255(const char* cText) : LStr255() { Assign(cText); }  // cut at 255 characters
    LStr255(const void* bytes, std::size_t length) : LStr255() { Assign(bytes, length); }
    explicit LStr255(char character) : LStr255() { Assign(character); }
    explicit LStr255(std::int32_t number) : LStr255() { Assign(number); }
    explicit LStr255(FourCharCode code) : LStr255() { Assign(code); }
    LStr255(double number, char format, std::int16_t digits) : LStr255() { Assign(number, format, digits); }
    LStr255(const LString& other, std::size_t start, std::size_t count) : LStr255() { Assign(other, start, count); }

    LStr255& operator=(const LStr255& other)
    {
        Assign(other);
        return *this;
    }
    using LString::operator=;

private:
    Str255 mBuffer;
};

// A string over a caller's buffer of maxBytes bytes (length byte included).
class LStringRef : public LString {
public:
    LStringRef(std::size_t maxBytes, unsigned char* buffer) : LString(Bounded(maxBytes), buffer) {}
    void SetStringRef(std::size_t maxBytes, unsigned char* buffer) { SetBuffer(Bounded(maxBytes), buffer); }
    using LString::operator=;

private:
    static std::size_t Bounded(std::size_t maxBytes)
    {
        return maxBytes < 1 ? 1 : (maxBytes > 256 ? 256 : maxBytes);
    }
};

LStr255 operator+(const LString& left, const LString& right);
LStr255 operator+(const LString& left, const unsigned char* right);
LStr255 operator+(const LString& left, char right);

} // namespace ch

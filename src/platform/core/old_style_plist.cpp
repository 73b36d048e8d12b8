#include "platform/core/old_style_plist.h"

#include <algorithm>
#include <charconv>

namespace ch {

namespace {

bool isBareChar(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || c == '/' || c == ':' || c == '.' || c == '-';
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// Length of the UTF-8 sequence at s[i] and its code point; 0 when no valid
// sequence starts there.
std::size_t decodeUtf8(std::string_view s, std::size_t i, char32_t& cp)
{
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t length;
    if (b < 0x80) {
        cp = b;
        return 1;
    } else if (b >= 0xC2 && b <= 0xDF) {
        length = 2, cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3, cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4, cp = b & 0x07;
    } else {
        return 0;
    }
    if (i + length > s.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    if ((length == 3 && cp < 0x800) || (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return length;
}

// UTF-16 code units of a UTF-8 text; a byte that starts no valid sequence
// stands for itself, so that every text has a deterministic place in the order.
std::u16string utf16Units(std::string_view s)
{
    std::u16string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        char32_t cp = 0;
        const std::size_t length = decodeUtf8(s, i, cp);
        if (length == 0) {
            out += char16_t(static_cast<unsigned char>(s[i]));
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += char16_t(0xD800 + (cp >> 10));
            out += char16_t(0xDC00 + (cp & 0x3FF));
        } else {
            out += char16_t(cp);
        }
        i += length;
    }
    return out;
}

// ------------------------------------------------------------------ writing

class Writer {
public:
    explicit Writer(const OldStylePlistLimits& limits) : mLimits(limits) {}

    bool write(const Value& value, std::size_t depth)
    {
        if (depth > mLimits.maxDepth)
            return fail("nesting deeper than " + std::to_string(mLimits.maxDepth));
        switch (value.type()) {
        case Value::Type::String: writeString(*value.asString()); return true;
        case Value::Type::Bool:
        case Value::Type::Integer:
        case Value::Type::Real: writeString(value.toString()); return true;
        case Value::Type::Data: writeData(*value.asData()); return true;
        case Value::Type::Array: return writeArray(*value.asArray(), depth);
        case Value::Type::Dictionary: return writeDictionary(*value.asDictionary(), depth);
        case Value::Type::Absent:
        case Value::Type::Date:
        case Value::Type::Uid: break;
        }
        return fail(std::string("a ") + typeName(value.type()) + " value has no text form");
    }

    std::string text;
    std::string error;

private:
    bool fail(std::string message)
    {
        if (error.empty())
            error = std::move(message);
        return false;
    }

    void writeString(std::string_view s)
    {
        // A bare text that begins like a comment would read back as one.
        const bool commentLike = s.starts_with("//") || s.starts_with("/*");
        if (!s.empty() && !commentLike &&
            std::all_of(s.begin(), s.end(), [](char c) { return isBareChar(static_cast<unsigned char>(c)); })) {
            text += s;
            return;
        }
        text += '"';
        for (const char ch : s) {
            const auto c = static_cast<unsigned char>(ch);
            switch (c) {
            case '"': text += "\\\""; break;
            case '\\': text += "\\\\"; break;
            case '\a': text += "\\a"; break;
            case '\b': text += "\\b"; break;
            case '\f': text += "\\f"; break;
            case '\n': text += "\\n"; break;
            case '\r': text += "\\r"; break;
            case '\t': text += "\\t"; break;
            case '\v': text += "\\v"; break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    static const char hex[] = "0123456789ABCDEF";
                    text += "\\U00";
                    text += hex[c >> 4];
                    text += hex[c & 0xF];
                } else {
                    // Non-ASCII bytes stay as they are (UTF-8); the reader takes them back unchanged.
                    text += ch;
                }
            }
        }
        text += '"';
    }

    void writeData(const Bytes& bytes)
    {
        static const char hex[] = "0123456789abcdef";
        text += '<';
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (i > 0 && i % 4 == 0)
                text += ' ';
            text += hex[bytes[i] >> 4];
            text += hex[bytes[i] & 0xF];
        }
        text += '>';
    }

    bool writeArray(const Array& array, std::size_t depth)
    {
        text += '(';
        for (std::size_t i = 0; i < array.size(); ++i) {
            if (i > 0)
                text += ", ";
            if (!write(array[i], depth + 1))
                return false;
        }
        text += ')';
        return true;
    }

    bool writeDictionary(const Dictionary& dict, std::size_t depth)
    {
        // Keys in ascending order, compared character by character (UTF-16 units),
        // so that equal dictionaries always give the same text.
        std::vector<std::pair<std::u16string, std::size_t>> order;
        order.reserve(dict.size());
        for (std::size_t i = 0; i < dict.size(); ++i)
            order.emplace_back(utf16Units(dict.keyAt(i)), i);
        std::sort(order.begin(), order.end(), [&](const auto& a, const auto& b) {
            if (a.first != b.first)
                return a.first < b.first;
            return dict.keyAt(a.second) < dict.keyAt(b.second);
        });
        text += '{';
        for (const auto& entry : order) {
            writeString(dict.keyAt(entry.second));
            text += " = ";
            if (!write(dict.valueAt(entry.second), depth + 1))
                return false;
            text += "; ";
        }
        text += '}';
        return true;
    }

    const OldStylePlistLimits& mLimits;
};

// ------------------------------------------------------------------ reading

class Reader {
public:
    Reader(std::string_view text, const OldStylePlistLimits& limits) : mText(text), mLimits(limits) {}

    ParseResult readDocument()
    {
        if (mText.size() > mLimits.maxInputBytes)
            return ParseResult::failure("text longer than " + std::to_string(mLimits.maxInputBytes) + " bytes");
        skipByteOrderMark();
        if (!skipSpace())
            return failure();
        if (atEnd())
            return ParseResult::failure("empty property list");
        Value value;
        if (!readValue(value, 1) || !skipSpace())
            return failure();
        if (!atEnd())
            return failureAt("unexpected text after the property list");
        return {std::move(value), {}};
    }

    ParseResult readStringsFile()
    {
        if (mText.size() > mLimits.maxInputBytes)
            return ParseResult::failure("text longer than " + std::to_string(mLimits.maxInputBytes) + " bytes");
        skipByteOrderMark();
        Dictionary dict;
        for (;;) {
            if (!skipSpace())
                return failure();
            if (atEnd())
                break;
            std::string key;
            if (!readString(key))
                return failure();
            if (!skipSpace())
                return failure();
            if (peek() == ';') {
                ++mPos;
                std::string text = key;
                dict.set(std::move(key), std::move(text));
                continue;
            }
            if (peek() != '=')
                return failureAt("expected \"=\" or \";\" after a key");
            ++mPos;
            if (!skipSpace())
                return failure();
            std::string text;
            if (!readString(text) || !skipSpace())
                return failure();
            if (peek() != ';')
                return failureAt("expected \";\" after an entry");
            ++mPos;
            dict.set(std::move(key), std::move(text));
        }
        return {Value(std::move(dict)), {}};
    }

private:
    bool atEnd() const { return mPos >= mText.size(); }
    char peek() const { return atEnd() ? '\0' : mText[mPos]; }

    bool fail(std::string message)
    {
        if (mError.empty()) {
            const std::size_t line = 1 + std::size_t(std::count(mText.begin(), mText.begin() + std::ptrdiff_t(std::min(mPos, mText.size())), '\n'));
            mError = "line " + std::to_string(line) + ": " + std::move(message);
        }
        return false;
    }
    ParseResult failure() const { return ParseResult::failure(mError.empty() ? "malformed property list" : mError); }
    ParseResult failureAt(std::string message)
    {
        fail(std::move(message));
        return failure();
    }

    void skipByteOrderMark()
    {
        if (mText.substr(0, 3) == "\xEF\xBB\xBF")
            mPos = 3;
    }

    // Skips white space and comments; false on an unterminated comment.
    bool skipSpace()
    {
        while (!atEnd()) {
            const char c = mText[mPos];
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
                ++mPos;
            } else if (c == '/' && mPos + 1 < mText.size() && mText[mPos + 1] == '*') {
                const std::size_t end = mText.find("*/", mPos + 2);
                if (end == std::string_view::npos)
                    return fail("unterminated comment");
                mPos = end + 2;
            } else if (c == '/' && mPos + 1 < mText.size() && mText[mPos + 1] == '/') {
                const std::size_t end = mText.find('\n', mPos + 2);
                mPos = end == std::string_view::npos ? mText.size() : end + 1;
            } else {
                break;
            }
        }
        return true;
    }

    bool readValue(Value& out, std::size_t depth)
    {
        if (depth > mLimits.maxDepth)
            return fail("nesting deeper than " + std::to_string(mLimits.maxDepth));
        switch (peek()) {
        case '{': return readDictionary(out, depth);
        case '(': return readArray(out, depth);
        case '<': return readData(out);
        default: {
            std::string s;
            if (!readString(s))
                return false;
            out = Value(std::move(s));
            return true;
        }
        }
    }

    bool readDictionary(Value& out, std::size_t depth)
    {
        ++mPos; // '{'
        Dictionary dict;
        for (;;) {
            if (!skipSpace())
                return false;
            if (atEnd())
                return fail("unterminated dictionary");
            if (peek() == '}') {
                ++mPos;
                break;
            }
            std::string key;
            if (!readString(key) || !skipSpace())
                return false;
            if (peek() != '=')
                return fail("expected \"=\" after a dictionary key");
            ++mPos;
            if (!skipSpace())
                return false;
            Value value;
            if (!readValue(value, depth + 1) || !skipSpace())
                return false;
            if (peek() != ';')
                return fail("expected \";\" after a dictionary entry");
            ++mPos;
            dict.set(std::move(key), std::move(value));
        }
        out = Value(std::move(dict));
        return true;
    }

    bool readArray(Value& out, std::size_t depth)
    {
        ++mPos; // '('
        Array array;
        if (!skipSpace())
            return false;
        if (peek() == ')') {
            ++mPos;
            out = Value(std::move(array));
            return true;
        }
        for (;;) {
            Value element;
            if (!readValue(element, depth + 1) || !skipSpace())
                return false;
            array.push_back(std::move(element));
            if (peek() == ')') {
                ++mPos;
                break;
            }
            if (peek() != ',')
                return fail(atEnd() ? "unterminated array" : "expected \",\" or \")\" in an array");
            ++mPos;
            if (!skipSpace())
                return false;
            if (peek() == ')') { // a trailing comma is tolerated
                ++mPos;
                break;
            }
        }
        out = Value(std::move(array));
        return true;
    }

    bool readData(Value& out)
    {
        ++mPos; // '<'
        Bytes bytes;
        int high = -1;
        for (;;) {
            if (atEnd())
                return fail("unterminated data");
            const char c = mText[mPos++];
            if (c == '>')
                break;
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
                continue;
            const int digit = hexDigit(c);
            if (digit < 0)
                return fail("invalid character in data");
            if (high < 0) {
                high = digit;
            } else {
                bytes.push_back(std::uint8_t(high << 4 | digit));
                high = -1;
            }
        }
        if (high >= 0)
            return fail("odd number of hexadecimal digits in data");
        out = Value(std::move(bytes));
        return true;
    }

    bool readString(std::string& out)
    {
        if (atEnd())
            return fail("unexpected end of text");
        if (peek() == '"')
            return readQuoted(out);
        const std::size_t start = mPos;
        while (!atEnd() && isBareChar(static_cast<unsigned char>(mText[mPos])))
            ++mPos;
        if (mPos == start)
            return fail(std::string("unexpected character \"") + mText[mPos] + "\"");
        out.assign(mText.substr(start, mPos - start));
        return true;
    }

    bool readQuoted(std::string& out)
    {
        ++mPos; // opening quote
        out.clear();
        char16_t pendingHigh = 0; // a high surrogate waiting for its low half
        auto flushHigh = [&] {
            if (pendingHigh) {
                appendUtf8(out, 0xFFFD);
                pendingHigh = 0;
            }
        };
        for (;;) {
            if (atEnd())
                return fail("unterminated quoted text");
            const char c = mText[mPos++];
            if (c == '"')
                break;
            if (c != '\\') {
                flushHigh();
                out += c;
                continue;
            }
            if (atEnd())
                return fail("unterminated quoted text");
            const char e = mText[mPos++];
            if (e == 'U' || e == 'u') {
                // Up to four hexadecimal digits: one UTF-16 unit.
                unsigned unit = 0;
                int digits = 0;
                while (digits < 4 && !atEnd() && hexDigit(mText[mPos]) >= 0) {
                    unit = unit << 4 | unsigned(hexDigit(mText[mPos++]));
                    ++digits;
                }
                if (digits == 0)
                    return fail("\\U without hexadecimal digits");
                if (unit >= 0xD800 && unit <= 0xDBFF) {
                    flushHigh();
                    pendingHigh = char16_t(unit);
                } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
                    if (pendingHigh) {
                        appendUtf8(out, 0x10000 + ((char32_t(pendingHigh) - 0xD800) << 10) + (unit - 0xDC00));
                        pendingHigh = 0;
                    } else {
                        appendUtf8(out, 0xFFFD);
                    }
                } else {
                    flushHigh();
                    appendUtf8(out, unit);
                }
                continue;
            }
            flushHigh();
            if (e >= '0' && e <= '7') {
                // Up to three octal digits: one byte.
                unsigned byte = unsigned(e - '0');
                for (int k = 0; k < 2 && !atEnd() && mText[mPos] >= '0' && mText[mPos] <= '7'; ++k)
                    byte = byte << 3 | unsigned(mText[mPos++] - '0');
                if (byte > 0xFF)
                    return fail("octal escape beyond one byte");
                out += char(byte);
                continue;
            }
            switch (e) {
            case 'a': out += '\a'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'v': out += '\v'; break;
            default: out += e; break; // \" \\ and any other character stand for themselves
            }
        }
        flushHigh();
        return true;
    }

    std::string_view mText;
    const OldStylePlistLimits& mLimits;
    std::size_t mPos = 0;
    std::string mError;
};

} // namespace

OldStyleOutput writeOldStylePlist(const Value& value, const OldStylePlistLimits& limits)
{
    Writer writer(limits);
    if (!writer.write(value, 1))
        return {std::string(), std::move(writer.error)};
    return {std::move(writer.text), std::string()};
}

ParseResult readOldStylePlist(std::string_view text, const OldStylePlistLimits& limits)
{
    return Reader(text, limits).readDocument();
}

ParseResult parseStringsFile(std::string_view text, const OldStylePlistLimits& limits)
{
    return Reader(text, limits).readStringsFile();
}

} // namespace ch

#include "import/CTextTableData.h"

#include "import/ImportDefinition.h"
#include "import/ImportText.h"

namespace ch {

namespace {

// The first character (code point) of a UTF-8 text.
std::string firstCodePoint(std::string_view text)
{
    if (text.empty()) return {};
    const auto lead = static_cast<unsigned char>(text.front());
    std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (length > text.size()) length = text.size();
    return std::string(text.substr(0, length));
}

// The length of the line break at the place, 0 when there is none.
std::size_t lineBreakAt(std::string_view text, std::size_t i)
{
    const char c = text[i];
    if (c == '\n') return 1;
    if (c == '\r') return i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
    if (c == '\xC2' && i + 1 < text.size() && text[i + 1] == '\x85') return 2;   // U+0085
    if (c == '\xE2' && i + 2 < text.size() && text[i + 1] == '\x80' && (text[i + 2] == '\xA8' || text[i + 2] == '\xA9'))
        return 3;   // U+2028, U+2029
    return 0;
}

} // namespace

CTextTableData::CTextTableData() = default;

CTextTableData::CTextTableData(std::string_view text, const Dictionary* definition)
{
    if (definition) {
        using namespace definition_key;
        mFileDescriptor = *definition;
        mHasDefinition = true;
        mSeparatorChar = definitionText(*definition, kSeparatorCharacters).value_or(std::string());
        mSurroundingChars = firstCodePoint(definitionText(*definition, kSurroundingCharacters).value_or(std::string()));
        mDeleteSurroundingChars = definitionFlag(*definition, kDeleteSurroundingCharacters);
        mMinNumberOfCols = definitionCount(*definition, kMinimumColumns);
        mMaxNrOfCols = definitionCount(*definition, kMaximumColumns);
        mFullLinesToSkip = definitionCount(*definition, kFirstLinesToSkip);
    }
    mLines = splitLines(text);
}

std::vector<std::string> CTextTableData::splitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (const std::size_t length = lineBreakAt(text, i)) {
            lines.emplace_back(text.substr(start, i - start));
            i += length;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

bool CTextTableData::quotesFields() const
{
    return mDeleteSurroundingChars && !mSurroundingChars.empty() && !mSeparatorChar.empty() &&
           mSurroundingChars != mSeparatorChar;
}

std::size_t CTextTableData::afterBlanks(std::string_view text, std::size_t from) const
{
    while (from < text.size() && (text[from] == ' ' || text[from] == '\t') &&
           text.compare(from, mSeparatorChar.size(), mSeparatorChar) != 0)
        ++from;
    return from;
}

std::optional<std::size_t> CTextTableData::quotedFieldEnd(std::string_view text, std::size_t from) const
{
    const std::string& quote = mSurroundingChars;
    // Quotes inside are doubled until one stands alone: a file that does not
    // double them may end its text with one just before the closing quote
    // ("UAB "Naktida"").
    bool doubled = true;
    for (std::size_t i = from; i < text.size();) {
        if (text.compare(i, quote.size(), quote) != 0) {
            ++i;
            continue;
        }
        const std::size_t after = i + quote.size();
        // Blanks between the closing quote and the separator are no text.
        const std::size_t end = afterBlanks(text, after);
        if (end == text.size() || text.compare(end, mSeparatorChar.size(), mSeparatorChar) == 0) return end;
        if (doubled && text.compare(after, quote.size(), quote) == 0) {
            i = after + quote.size();   // a doubled quote is a quote of the text
            continue;
        }
        doubled = false;
        i = after;   // a lone quote inside is text too
    }
    return std::nullopt;
}

bool CTextTableData::endsInsideQuote(std::string_view text, bool inside) const
{
    if (!quotesFields()) return false;
    std::size_t i = 0;
    for (;;) {
        if (inside) {
            const std::optional<std::size_t> end = quotedFieldEnd(text, i);
            if (!end) return true;
            if (*end == text.size()) return false;
            i = *end + mSeparatorChar.size();
            inside = false;
        }
        if (text.compare(i, mSurroundingChars.size(), mSurroundingChars) == 0) {
            i += mSurroundingChars.size();
            inside = true;
            continue;
        }
        const std::size_t next = text.find(mSeparatorChar, i);
        if (next == std::string_view::npos) return false;
        i = next + mSeparatorChar.size();
    }
}

std::vector<std::string> CTextTableData::dissectRecord(std::string_view line) const
{
    std::vector<std::string> fields;
    if (mSeparatorChar.empty()) {
        fields.emplace_back(line);
        return fields;
    }
    const bool quoting = quotesFields();
    for (std::size_t start = 0;;) {
        std::size_t end = std::string_view::npos;
        if (quoting && line.compare(start, mSurroundingChars.size(), mSurroundingChars) == 0)
            end = quotedFieldEnd(line, start + mSurroundingChars.size()).value_or(std::string_view::npos);
        // Unquoted, or a quote nobody closes: the field ends at the next separator.
        if (end == std::string_view::npos) end = line.find(mSeparatorChar, start);
        if (end == std::string_view::npos) end = line.size();
        fields.emplace_back(line.substr(start, end - start));
        if (end >= line.size()) break;
        start = end + mSeparatorChar.size();
    }
    return fields;
}

std::string CTextTableData::unquoted(std::string_view field) const
{
    const std::string& quote = mSurroundingChars;
    if (!mDeleteSurroundingChars || quote.empty()) return std::string(field);
    // Blanks or a tab around the quotes belong to neither the text nor its quotes.
    std::string_view quoted = field;
    while (!quoted.empty() && (quoted.front() == ' ' || quoted.front() == '\t')) quoted.remove_prefix(1);
    while (!quoted.empty() && (quoted.back() == ' ' || quoted.back() == '\t')) quoted.remove_suffix(1);
    if (quoted.size() < 2 * quote.size() || !quoted.starts_with(quote) || !quoted.ends_with(quote))
        return std::string(field);
    const std::string_view inside = quoted.substr(quote.size(), quoted.size() - 2 * quote.size());
    if (inside.find(quote) == std::string_view::npos) return std::string(inside);
    const std::string doubled = quote + quote;
    std::string out;
    out.reserve(inside.size());
    for (std::size_t i = 0; i < inside.size();) {
        if (inside.compare(i, doubled.size(), doubled) == 0) {
            out += quote;
            i += doubled.size();
        } else {
            out += inside[i++];
        }
    }
    return out;
}

std::optional<std::vector<std::string>> CTextTableData::FetchNextRecord()
{
    std::optional<std::vector<std::string>> fields = fetchNextRecordAsWritten();
    // Texts the model's 8-bit fields cannot hold are brought into their reach now.
    if (fields)
        for (std::string& field : *fields) field = inDestinationEncoding(field);
    return fields;
}

std::optional<std::vector<std::string>> CTextTableData::fetchNextRecordAsWritten()
{
    if (!hasNextRecord()) return std::nullopt;
    const std::size_t first = mNextRecordNumber++;
    std::vector<std::string> fields = dissectRecord(mLines[first]);
    if (mJoinsQuotedLineBreaks && endsInsideQuote(mLines[first], false)) {
        if (std::optional<std::vector<std::string>> joined = recordAcrossLines(first)) {
            fields = std::move(*joined);
        }
    }
    return fields;
}

std::optional<std::vector<std::string>> CTextTableData::recordAcrossLines(std::size_t first)
{
    auto fits = [&](std::size_t count) { return count >= mMinNumberOfCols && count <= mMaxNrOfCols; };
    std::size_t last = first;
    bool open = true;
    while (open && last + 1 < mLines.size() && last - first < kMostLinesOfAField) {
        ++last;
        open = endsInsideQuote(mLines[last], true);
    }
    // A quote nobody closes joins nothing. One that closes continues the
    // record to its closing quote, even where each line would make a record
    // of the definition's range on its own (a range of 1 to 30 fields fits
    // every line).
    if (open) return std::nullopt;
    std::string text = mLines[first];
    for (std::size_t i = first + 1; i <= last; ++i) {
        text += '\n';
        text += mLines[i];
    }
    std::vector<std::string> fields = dissectRecord(text);
    if (!fits(fields.size())) return std::nullopt;
    mNextRecordNumber = last + 1;
    return fields;
}

std::optional<std::string> CTextTableData::fetchNextRecordAsString()
{
    if (!hasNextRecord()) return std::nullopt;
    return mLines[mNextRecordNumber++];
}

std::optional<std::string> CTextTableData::peekNextRecord() const
{
    if (!hasNextRecord()) return std::nullopt;
    return mLines[mNextRecordNumber];
}

std::int32_t CTextTableData::setNextRecord()
{
    if (!hasNextRecord()) return kNoMoreRecords;
    ++mNextRecordNumber;
    return static_cast<std::int32_t>(mNextRecordNumber);
}

bool CTextTableData::ResetToStartOfLastRecord()
{
    if (mNextRecordNumber == 0) return false;
    --mNextRecordNumber;
    return true;
}

} // namespace ch

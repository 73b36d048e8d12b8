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

std::vector<std::string> CTextTableData::dissectRecord(std::string_view line) const
{
    std::vector<std::string> pieces;
    if (mSeparatorChar.empty()) {
        pieces.emplace_back(line);
        return pieces;
    }
    for (std::size_t start = 0;;) {
        const std::size_t at = line.find(mSeparatorChar, start);
        if (at == std::string_view::npos) {
            pieces.emplace_back(line.substr(start));
            break;
        }
        pieces.emplace_back(line.substr(start, at - start));
        start = at + mSeparatorChar.size();
    }
    if (!mDeleteSurroundingChars || mSurroundingChars.empty() || pieces.size() == 1) return pieces;

    const std::string& quote = mSurroundingChars;
    auto opens = [&](const std::string& piece) {
        return !piece.empty() && piece.starts_with(quote) && !piece.ends_with(quote);
    };
    auto closes = [&](const std::string& piece) {
        return !piece.empty() && piece.ends_with(quote) && !piece.starts_with(quote);
    };
    // The first closing piece at or after each place, found in one pass from the end.
    const std::size_t count = pieces.size();
    std::vector<std::size_t> nextClosing(count + 1, count);
    for (std::size_t k = count; k-- > 0;) nextClosing[k] = closes(pieces[k]) ? k : nextClosing[k + 1];

    std::vector<std::string> fields;
    fields.reserve(count);
    for (std::size_t i = 0; i < count;) {
        if (opens(pieces[i]) && i + 1 < count && nextClosing[i + 1] < count) {
            const std::size_t last = nextClosing[i + 1];
            std::string field = std::move(pieces[i]);
            for (std::size_t k = i + 1; k <= last; ++k) {
                field += mSeparatorChar;
                field += pieces[k];
            }
            fields.push_back(std::move(field));
            i = last + 1;
        } else {
            fields.push_back(std::move(pieces[i]));
            ++i;
        }
    }
    return fields;
}

std::string CTextTableData::unquoted(std::string_view field) const
{
    const std::string& quote = mSurroundingChars;
    if (!mDeleteSurroundingChars || quote.empty() || field.size() < 2 * quote.size() || !field.starts_with(quote) ||
        !field.ends_with(quote))
        return std::string(field);
    const std::string_view inside = field.substr(quote.size(), field.size() - 2 * quote.size());
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
    if (!hasNextRecord()) return std::nullopt;
    std::vector<std::string> fields = dissectRecord(mLines[mNextRecordNumber++]);
    // Texts the model's 8-bit fields cannot hold are brought into their reach now.
    for (std::string& field : fields) field = inDestinationEncoding(field);
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

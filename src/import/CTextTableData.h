#pragma once
// CTextTableData: the lines of a statement text and, for delimited text, the
// fields of each line, read one record at a time. The settings come from an
// import definition (see ImportDefinition.h), or are those of the bank's
// semicolon export when there is none: quote '"', separator ";",
// rejoining on, 11 to 12 fields, 1 record skipped.
//
// Lines end at LF, CR, CR LF, U+0085, U+2028 or U+2029; a line break at the
// very end makes no empty last line, and an empty text has no lines.
//
// A quoted field may hold the separator: with rejoining on, the pieces from
// one that opens a quote up to the one that closes it are one field again,
// however many separators it held (a piece that opens a quote nobody closes
// stays as it is). The quotes stay in the fields; role texts take them off.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/value.h"

namespace ch {

class CTextTableData {
public:
    // The end-of-data answer of setNextRecord.
    static constexpr std::int32_t kNoMoreRecords = -39;

    // Without text (no lines) and without definition.
    CTextTableData();
    // The text's lines, with the definition's settings (none: the defaults).
    CTextTableData(std::string_view text, const Dictionary* definition);
    virtual ~CTextTableData() = default;

    bool hasNextRecord() const { return mNextRecordNumber < mLines.size(); }
    // The next line as fields, each in the destination encoding's reach
    // (see FetchNextRecord in the .cpp); none at the end. Advances.
    std::optional<std::vector<std::string>> FetchNextRecord();
    // The next line as it stands; none at the end. Advances.
    std::optional<std::string> fetchNextRecordAsString();
    // The same without advancing.
    std::optional<std::string> peekNextRecord() const;
    // Advances by one; the new index, or kNoMoreRecords when no line remains.
    std::int32_t setNextRecord();
    // Steps back one line; false (and no change) at the first line.
    bool ResetToStartOfLastRecord();

    std::vector<std::string> dissectRecord(std::string_view line) const;

    // --- settings
    const std::string& separator() const { return mSeparatorChar; }
    // The quote: the first character of the definition's text; empty for none.
    const std::string& quote() const { return mSurroundingChars; }
    bool deleteSurroundingChars() const { return mDeleteSurroundingChars; }
    std::uint32_t minimumFields() const { return mMinNumberOfCols; }
    std::uint32_t maximumFields() const { return mMaxNrOfCols; }
    std::uint32_t recordsToSkip() const { return mFullLinesToSkip; }
    const Dictionary* definition() const { return mHasDefinition ? &mFileDescriptor : nullptr; }
    std::size_t lineCount() const { return mLines.size(); }

    // Splits a text into lines as described above.
    static std::vector<std::string> splitLines(std::string_view text);

protected:
    // The field without its quotes when rejoining is on and it is quoted
    // (2 or more characters, quote at both ends); a doubled quote inside
    // stands for one.
    std::string unquoted(std::string_view field) const;

private:
    std::string mSeparatorChar = ";";
    std::string mSurroundingChars = "\"";
    bool mDeleteSurroundingChars = true;
    std::size_t mNextRecordNumber = 0;
    std::vector<std::string> mLines;
    std::uint32_t mMinNumberOfCols = 11;
    std::uint32_t mMaxNrOfCols = 12;
    std::uint32_t mFullLinesToSkip = 1;
    Dictionary mFileDescriptor;
    bool mHasDefinition = false;
};

} // namespace ch

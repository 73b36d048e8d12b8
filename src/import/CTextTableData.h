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
// Quoted fields (rejoining on, a quote character set): a field that begins
// with the quote is one field up to the quote that closes it, the one
// followed by the separator or the end of the record (blanks or a tab may
// stand between), whatever it holds: separators at its start or end, a
// doubled quote that stands for one, or quotes that are not doubled at all
// ("UAB "Naktida""). A field whose quote nobody closes ends at the next
// separator, as an unquoted one. The quotes stay in the fields; role texts
// take them off, and the blanks around them.
//
// A delimited statement's quoted field may hold a line break: with
// setJoinsQuotedLineBreaks, a line that ends inside a quoted field is one
// record with the lines up to the one that closes it (at most
// kMostLinesOfAField lines), when that record's field count lies within the
// definition's range (a stray quote that a later field seems to close makes
// no such record, and joins nothing).

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
    // Lines one quoted field may span.
    static constexpr std::size_t kMostLinesOfAField = 32;

    // Without text (no lines) and without definition.
    CTextTableData();
    // The text's lines, with the definition's settings (none: the defaults).
    CTextTableData(std::string_view text, const Dictionary* definition);
    virtual ~CTextTableData() = default;

    bool hasNextRecord() const { return mNextRecordNumber < mLines.size(); }
    // The index of the next line (from 0): after a fetch, the fetched line's
    // number counted from 1.
    std::size_t nextLineIndex() const { return mNextRecordNumber; }
    // The next record as fields, each in the destination encoding's reach
    // (see FetchNextRecord in the .cpp); none at the end. Advances past its
    // lines.
    std::optional<std::vector<std::string>> FetchNextRecord();
    // The same with the fields as the text writes them.
    std::optional<std::vector<std::string>> fetchNextRecordAsWritten();
    // The next line as it stands; none at the end. Advances.
    std::optional<std::string> fetchNextRecordAsString();
    // The same without advancing.
    std::optional<std::string> peekNextRecord() const;
    // Advances by one; the new index, or kNoMoreRecords when no line remains.
    std::int32_t setNextRecord();
    // Steps back one line; false (and no change) at the first line.
    bool ResetToStartOfLastRecord();

    std::vector<std::string> dissectRecord(std::string_view line) const;
    // Whether a quoted field is still open at the end of the text, read from
    // its start inside one (inside) or not.
    bool endsInsideQuote(std::string_view text, bool inside) const;
    // Quoted line breaks join lines into one record (off by default: the
    // QIF reader reads lines).
    void setJoinsQuotedLineBreaks(bool joins) { mJoinsQuotedLineBreaks = joins; }

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
    // (2 or more characters, quote at both ends, blanks and tabs outside
    // them aside); a doubled quote inside stands for one.
    std::string unquoted(std::string_view field) const;

private:
    bool quotesFields() const;
    // The end of a quoted field whose text begins at the place: the
    // separator (or the end of the text) after the quote that closes it;
    // none when no quote closes it.
    std::optional<std::size_t> quotedFieldEnd(std::string_view text, std::size_t from) const;
    // The place after the blanks and tabs from there that are no separator.
    std::size_t afterBlanks(std::string_view text, std::size_t from) const;
    // The record that begins at the line and ends inside a quote, with the
    // lines that close it; none when they make no record (see above).
    std::optional<std::vector<std::string>> recordAcrossLines(std::size_t first);

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
    bool mJoinsQuotedLineBreaks = false;
};

} // namespace ch

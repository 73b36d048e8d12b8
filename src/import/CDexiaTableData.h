#pragma once
// CDexiaTableData: the record importer of delimited bank statements. Every
// record that the import definition lets through becomes one import line,
// completed against the document's books.
//
// Records are numbered from 1, every line counting. A record is imported
// when its field count lies within the definition's minimum and maximum and
// its number is above the records to skip. Without a definition a record of
// fewer than 4 fields is a header and is ignored; a definition's own range
// decides (a statement of Date, Amount and Payee has three).
//
// A record is one line, or several when a quoted field holds line breaks
// (see CTextTableData). A record past the skipped ones that is no statement
// line is counted, never dropped in silence: one whose field count lies
// outside the range, one of fewer than 4 fields, and one whose date columns
// give no date as a whole (a closing balance, a heading repeated), when the
// definition names a date column at all. Of the first two kinds, those
// before the first statement line and after the last are headings and
// totals; those among the statement lines are lines lost, told by their
// line numbers.
//
// Amounts: an out column that reads as an amount other than 0 gives the
// amount, negative whatever its sign; else an in column that does; else the
// amount column, negated when the sign column holds the expense sign (the
// texts compared as written, in their composed form, without blanks around
// them; the case counts). A sign column whose texts match neither sign on
// any row is told. Signs and amounts are read from the fields as written,
// before they are brought into the model's 8-bit encoding. A bank
// that fills the unused column with "0,00" thus loses nothing. The amounts
// are read in the user's notation, or all in the other one when only that
// reads them all (StatementAmount.h). A text that does not read leaves the
// line incomplete, marked (CImpTItem::setAmountUnread), never an amount of 0.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "import/CImpTItem.h"
#include "import/CTextTableData.h"
#include "import/StatementAmount.h"

namespace ch {

class ImportDocument;

class CDexiaTableData : public CTextTableData {
public:
    // What the last Import met besides its lines.
    // Rows of nothing but separators (empty fields) count nowhere past the
    // records read.
    struct Summary {
        std::size_t records = 0;              // records read, header records included
        std::size_t outsideFieldRange = 0;    // past the skipped ones, of a field count outside the range
        std::size_t unreadRows = 0;           // past the skipped ones, before the first statement line
                                              // or after the last: outside the range, or fewer than 4
                                              // fields (headings and totals)
        std::vector<std::size_t> leftOutLines; // the same among the statement lines: the line (from 1)
                                              // each begins at
        std::size_t mostCommonFieldCount = 0; // of the records past the skipped ones
        std::size_t withoutDate = 0;          // left out: their date columns give no date
        std::size_t unreadAmounts = 0;        // lines whose amount text does not read
        std::string otherNotation;            // the decimal mark of the other notation the amounts
                                              // were read in; empty for the user's
        // The expense and income signs when the sign column held neither
        // on any line that took its amount from the amount column.
        std::optional<std::pair<std::string, std::string>> unmatchedSigns;
    };

    // The error raised for a definition that cannot be used.
    static constexpr long kUnusableDefinitionError = 270;
    // Titles are cut to this many characters.
    static constexpr std::size_t kTitleLength = 33;
    // Without a definition, a record of fewer fields is a header, never a line.
    static constexpr std::uint32_t kFewestFieldsOfARecord = 4;

    CDexiaTableData(std::string_view text, const Dictionary* definition, ImportDocument* document);

    // The lines of the records, in file order. A definition that cannot be
    // used (no separator) gives none, after error 270.
    std::vector<CImpTItem::Ptr> Import();

    // The columns of a role: the definition's, or without a definition the
    // bank export's own table. None when the role has no columns.
    std::optional<std::vector<std::uint32_t>> GetPostitionForField(std::string_view key) const;
    // The texts of the columns that the record has, joined by one blank,
    // each without its quotes.
    std::string constructStringFromArrayIndices(const std::optional<std::vector<std::uint32_t>>& columns,
                                                const std::vector<std::string>& fields) const;
    // One completed line of a record.
    CImpTItem::Ptr ImportOneRecord(const std::vector<std::string>& fields);
    // Header records are ignored.
    bool ImportHeaderData(const std::vector<std::string>&) { return true; }

    const Summary& summary() const { return mSummary; }
    // The fewest fields of a record that may be a statement line.
    std::uint32_t fewestFields() const;

private:
    // A record's fields in the model's reach, and as the file writes them.
    struct Row {
        std::vector<std::string> fields;
        std::vector<std::string> written;
        std::size_t line;
    };

    CImpTItem::Ptr importRecord(const std::vector<std::string>& fields, const std::vector<std::string>& written);
    std::string roleText(std::string_view key, const std::vector<std::string>& fields) const;
    // The booking and value date texts, each standing in for the other when
    // shorter than 2 characters.
    std::pair<std::string, std::string> dateTexts(const std::vector<std::string>& fields) const;
    DateT dateOf(std::string_view text) const;
    bool hasDateColumn() const;

    Summary mSummary;
    // The other notation the last Import read its amounts in; none for the user's.
    std::optional<AmountNotation> mNotation;
    // Lines of the last Import whose amount the sign column signs, and
    // whether one of them held a sign text of the definition.
    std::size_t mSignRows = 0;
    bool mSignMatched = false;

    ImportDocument* theDocument;
    // The columns of every role, read from the definition once.
    std::map<std::string, std::optional<std::vector<std::uint32_t>>, std::less<>> mColumns;
};

} // namespace ch

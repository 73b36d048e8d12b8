#pragma once
// COFXParser: the reader of OFX bank and credit-card statements, OFX 2 (XML)
// and OFX 1 (SGML with a key:value header), whatever their line ends and
// whether the file is UTF-8 or Windows-1252. It makes one completed import
// line per transaction of every bank statement (STMTRS), then of every
// credit-card statement (CCSTMTRS); investment statements give none. A file
// cut short gives the transactions that end before the cut; transactions a
// damaged tag keeps out of their statement are counted (leftOut). Each
// amount is rounded to its currency's decimals as it is read.
//
// Refusals are numbered errors, raised here and answered as the error field:
// 271 for a file that cannot be read, 280 for text without "<OFX>", 279 for a
// statement that cannot be read once found.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "import/CImpTItem.h"
#include "model/foundation/ModelTypes.h"

namespace ch {

class ImportDocument;
class OfxNode;

struct OfxReadResult {
    std::vector<CImpTItem::Ptr> lines;
    long error = 0;   // 0, 271, 279 or 280
    // The text ends before its closing "</OFX>": the transactions read up to
    // there are the lines; the one it ends inside gives none.
    bool truncated = false;
    // Bank and credit-card statements found; an investment statement found.
    std::size_t statements = 0;
    bool investmentStatement = false;
    // Lines whose amount does not read (marked, never 0).
    std::size_t unreadAmounts = 0;
    // Transactions under the bank and credit-card statements read (those a
    // cut text breaks off in included), and under investment statements.
    std::size_t transactionsInStatements = 0;
    std::size_t investmentTransactions = 0;
    // Transactions the text opens that no statement holds: a damaged tag
    // ("</STMTRS<", a stray byte in a tag's name) left them out.
    std::size_t leftOut = 0;
    // The lines of the file where a transaction a damaged tag broke was read
    // from what it holds (see the .cpp), and where one holds no amount.
    std::vector<std::size_t> mendedLines{};
    std::vector<std::size_t> linesWithoutAmount{};
};

class COFXParser {
public:
    static constexpr long kUnreadableFileError = 271;
    static constexpr long kUnreadableStatementError = 279;
    static constexpr long kNoOfxError = 280;
    // Titles are cut to this many characters.
    static constexpr std::size_t kTitleLength = 33;

    // The file at the path.
    static OfxReadResult parseFileName(const std::filesystem::path& path, ImportDocument* document);
    // The bytes of a file.
    static OfxReadResult parseBytes(std::string_view bytes, ImportDocument* document);

    // The lines of all bank statements, then of all credit-card statements;
    // with what was found beside them in the result.
    static std::vector<CImpTItem::Ptr> parseOfxDocument(const OfxNode& document, ImportDocument* importDocument,
                                                        OfxReadResult* found = nullptr);
    // The lines of one statement, in the order of its transactions.
    static std::vector<CImpTItem::Ptr> importuitrekselsVoorRekening(const OfxNode& statement, bool asCreditCard,
                                                                    ImportDocument* document);
    // One completed line.
    static CImpTItem::Ptr importItemFromSTMTTRN(const OfxNode& transaction, bool asCreditCard,
                                                ImportDocument* document, const std::string& account,
                                                const std::optional<std::string>& currency);
    // The text of the first node the path finds ("./A/B", ".//A" or
    // ".//A/B"), without blanks at either end; none when the path finds none.
    static std::optional<std::string> valueForXPath(std::string_view path, const OfxNode& node);
    // A date from the first eight characters (yyyymmdd), time and zone
    // ignored; 0 for a shorter text or one that names no calendar date.
    static DateT parseOFXDate(std::string_view text);
    // The localized text of "OFX" followed by the type.
    static std::string normalizeTransactionType(std::string_view type);
    // An amount as OFX writes it: digits with a decimal point or a decimal
    // comma and no grouping (a leading sign allowed), else in the user's
    // notation; none when neither reads it.
    static std::optional<double> amountOf(std::string_view text);
};

} // namespace ch

#pragma once
// CQuickenData: the reader of QIF files. It walks the file's header lines and
// hands each section to its reader: category lists become category groups
// and categories of the document at once, account lists become accounts, and
// the first statement register (bank, cash, credit card, other asset or
// liability), with everything after it, becomes import lines. List sections
// that follow a register (memorized transactions, categories, classes, payees,
// securities, prices) yield no lines.
//
// Dates and amounts are read as the file writes them: when the date setting
// cannot read every date of the file and one other order reads them all,
// that order is used and a note says so. Dates written with dots that read
// both day first and month first ("03.11.25") are read day first where the
// user's short date format puts the day first, else month first with a note
// that both fit. Amounts with a decimal point or a decimal comma are read
// whatever the user's notation. A file that gives no line and has no
// "!Type:" line says that this is why. A name with a path
// ("Auto:Insurance") finds the category in that group. An L line naming a
// category the books do not have leaves the other account and category to
// the unspecified ones of the record's own direction, settled at its end
// (the L line may stand before the T line).
//
// A line's first character is its letter, the rest of the line its text
// (a ";" in a memo or payee belongs to the text). Empty lines are skipped;
// header lines ("!...") are compared without trailing blanks.
//
// Readers meet damaged files: nothing here stops on a bad line, and the
// objects one file may create are bounded (kMaxCreatedObjects). No record is
// lost in silence; each damaged one is told in the notes with the line it
// begins at: a record whose "^" was lost (a second date or amount after
// both were read) is ended where the next one begins; one that holds two
// dates or two amounts otherwise is read with the later; one without an
// amount gives no line; a last record without its "^" is read as far as it
// goes. A date right after a split's S line is the split's own and does not
// count.
//
// A register whose own account the books lack (a credit-card file in books
// without a default credit-card account, an account header naming no
// account) gives lines that wait for their own account on the import page,
// as OFX and delimited lines do; a note says so. A file marked "C*" still
// raises 259.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "import/CImpTItem.h"
#include "import/CTextTableData.h"

namespace ch {

class CAccount;
class CExpenseType;
class ImportDocument;
class QifRegisterReader;

class CQuickenData : public CTextTableData {
public:
    // Raised when a credit-card file meets a document without a default
    // credit-card account.
    static constexpr long kNoCreditCardAccountError = 259;
    // The user default that says how register dates are written: 0 month/day/
    // year, 1 the short date format, other values leave dates unread. A file
    // that 0 or 1 cannot read whole and one other order reads whole is read
    // in that order (a note says so).
    static constexpr std::string_view kDateFormatKey = "QifDateFormat";
    // Accounts, groups and categories one file may create at most.
    static constexpr std::size_t kMaxCreatedObjects = 1000;
    // Titles of 35 characters or more are cut to this many.
    static constexpr std::size_t kTitleLength = 34;

    CQuickenData(std::string_view text, const Dictionary* definition, ImportDocument* document);

    // The import lines of the file's registers, in file order (none after
    // error 259).
    std::vector<CImpTItem::Ptr> Import();

    // Reads one category list; stops before the header that ends it.
    void Fetch_Categories();
    // Whether the name is a category group: the next record's name (none:
    // nullopt) names a direct child of it. Gives the name's last part and the
    // part before it (empty for a top-level name).
    static bool isItemMasterType(std::string_view name, std::optional<std::string_view> nextName,
                                 std::string& parentName, std::string& childName);
    // Reads one account list; stops before the header that ends it.
    void Fetch_Accounts();
    // Reads registers to the end of the file; answers kNoMoreRecords.
    std::int32_t fetchTransactions(std::vector<CImpTItem::Ptr>& lines);

    bool isCreditCardStatement() const { return ib_creditCardTransaction; }
    // What the user should know about how the file was read (already localized).
    const std::vector<std::string>& notes() const { return mNotes; }
    // "!Type:Bank", "!Type:Cash", "!Type:CCard", "!Type:Oth A", "!Type:Oth L",
    // in any case.
    static bool isStatementHeader(std::string_view header);
    // The error the last Import raised; 0 for none.
    long error() const { return mError; }
    // Whether the file ends inside a register record (no "^" after its last
    // letter lines) that lacks a date or an amount: that unfinished record
    // gives no line. A last record with both is complete without its "^".
    bool endsInsideRecord() const { return mEndsInsideRecord; }
    // Lines whose amount text reads in neither the file's nor the user's
    // notation: made, marked and incomplete (never an amount of 0).
    std::size_t unreadAmounts() const { return mUnreadAmounts; }

private:
    // The registers are read by a reader of their own, on this file's lines.
    friend class QifRegisterReader;

    // The next line; none at the end.
    std::optional<std::string> nextLine() { return fetchNextRecordAsString(); }
    // The next line that is not empty; none at the end.
    std::optional<std::string> nextFilledLine();
    bool mayCreate();
    // Whether the file holds text but no line that says what its records
    // are ("!Type:..."); reads the file again from its start.
    bool lacksTypeLine();
    // The date and amount texts of the registers from here to the end; reads
    // nothing away.
    void scanRegisters(std::vector<std::string>& dates, std::vector<std::string>& amounts);
    // The category a register names: by its whole path among the categories
    // this file made, by its groups in the books, by its whole text as a
    // name, or by its last part.
    CExpenseType* categoryForPath(std::string_view path);

    ImportDocument* theDocument;
    bool ib_creditCardTransaction = false;
    // The kind of the category records (0 income, 1 expense, 2 transfer); it
    // carries over from record to record.
    std::uint8_t mCategoryKind = 1;
    std::size_t mCreated = 0;
    long mError = 0;
    bool mEndsInsideRecord = false;
    std::size_t mUnreadAmounts = 0;
    std::vector<std::string> mNotes;
    // What the category lists of this file made, by their whole path.
    std::map<std::string, ObjectIdT, std::less<>> mGroupsByPath;
    std::map<std::string, ObjectIdT, std::less<>> mCategoriesByPath;
};

} // namespace ch

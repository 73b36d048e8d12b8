#pragma once
// QifRegisterReader: the reading of a QIF file's registers, from the first
// register header to the end of the file, for CQuickenData::fetchTransactions.
// Records of letter lines ended by "^" become import lines, each with an
// amount one line. The "sides" only decide whether a record yields a line;
// the line itself gets our account and the other account, and its
// completion decides which way the money goes.
//
// One reader reads one file once: it keeps what carries over from record to
// record (the register's account, the direction of the money, the record
// ordinal, transfer halves waiting for their other half) and tells what it
// met in the file's notes.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "import/CImpTItem.h"
#include "import/ImportLookups.h"
#include "import/QifText.h"

namespace ch {

class CAccount;
class CDocAccounting;
class CExpenseType;
class CQuickenData;

// A register header ("!Type:...") whose records are no statement lines:
// memorized transactions, category, class, payee and security lists, prices.
bool isQifListHeader(std::string_view header);

class QifRegisterReader {
public:
    // Lines go to the end of lines; the file outlives the reader.
    QifRegisterReader(CQuickenData& file, std::vector<CImpTItem::Ptr>& lines);

    // Reads every line left in the file.
    void readToEnd();

private:
    enum Direction { kMoneyOut = 0, kMoneyIn = 1, kTransfer = 2 };

    struct Side {
        CAccount* account = nullptr;
        std::optional<ObjectIdT> id;
    };

    // What one record has said so far.
    struct Record {
        std::optional<double> amount;
        std::optional<std::string> unreadAmount;   // a T text that does not read
        DateT date = 0;
        std::string description;
        std::string payee;
        std::optional<ObjectIdT> categoryId;
        CExpenseType* category = nullptr;
        std::optional<ObjectIdT> otherAccountId;
        Side from;
        Side to;
        bool quantity = false;
        std::string checkNumber;
        bool dated = false;   // a D line was read
        // An L line naming a category the books do not have left the other
        // account and the category to the record's direction: settled at its
        // end, when its own amount has been read.
        bool byDirection = false;
        // Where the record's lines stand in the file (from 1; 0 for none), so
        // that a damaged record can be named.
        std::size_t firstLine = 0;
        std::size_t dateLine = 0;
        std::size_t amountLine = 0;
        bool emptyAmount = false;   // a T line without text
        char lastLetter = 0;        // of the line before
        // The split lines: what each is booked against ("S") and its amount ("$").
        struct Split {
            std::string text;
            std::optional<double> amount;
        };
        std::vector<Split> splits;
    };

    // A transfer booked from one register, waiting for its other half in the
    // register of the account it names.
    struct TransferHalf {
        DateT date;
        ObjectIdT account;
        ObjectIdT otherAccount;
        double amount;
        bool sameCurrency;
        // The line this half became: between accounts of two currencies the
        // other half gives it the other account's amount in its own currency.
        CImpTItem::Ptr line;
    };

    // Where a finished record's line goes, and whether a transfer is
    // matched with its other half: the parts of a split only leave their
    // halves for later records, and the split's whole is matched with none.
    enum class Halves { Match, LeaveOnly, Ignore };

    struct CaseInsensitiveLess {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };

    // --- the file as a whole
    // Its dates in one order for all, its amounts with a decimal point or
    // comma, whatever the user's own settings; reads nothing away.
    void learnNotation();
    void readLine(const std::string& raw);
    // A last record without its "^", and what the lines did not fit.
    void finishFile();
    void tellNotes();

    // --- the lines of a record
    void readHeader(std::string_view raw);
    void readDate(std::string_view text, std::size_t lineNumber, bool splitsDate);
    void readAmount(std::string_view text, std::size_t lineNumber);
    void readNumber(std::string_view text);
    void readSplitCategory(std::string_view text);
    // A second date or amount in a record: with both already read, its "^"
    // was lost and this line begins the next record; else the record is told.
    void secondOf(std::size_t Record::*seen, std::vector<std::size_t>& told, std::size_t lineNumber, char letter,
                  bool splitsDate);
    // Our account and the record's sides by the sign of its amount.
    void amountAndSides();
    // An L line (or a split's category).
    void categoryOrTransfer(std::string_view text);
    void transferTo(CAccount& named);
    void openingBalance();
    void categoryNamed(std::string_view text);
    void leaveCategoryEmpty();
    // A transfer's account by name: found, else made (within the file's bounds).
    CAccount* accountNamed(std::string_view name);
    bool holdsSide(const Side& side) const { return ourAccount && side.account == ourAccount; }

    // --- the end of a record
    void endSplitRecord();
    // One split read as a record of its own, its line made into the list given.
    void readSplitAs(const Record& whole, double amount, const std::string& text, std::vector<CImpTItem::Ptr>& into,
                     Halves how);
    void endRecord();
    // Whether the record's amount can give a line; tells one without an amount.
    bool hasLineAmount(const Record& done);
    // The defaults an L line left to the direction.
    void settleByDirection(Record& done) const;
    // The sides and category a line needs; false when the record yields none.
    bool completeSides(Record& done, bool waitsForOwnAccount) const;
    // A transfer's half matched with, or left for, its other half; true when
    // the record is the other half of a line made before (it yields none).
    bool matchTransferHalf(const Record& done, std::size_t& waitingHalf, std::optional<double>& otherAmount);
    std::string titleOf(Record& done) const;
    void makeLine(const Record& done, const std::string& title, bool waitsForOwnAccount, std::size_t waitingHalf,
                  std::optional<double> otherAmount);

    CQuickenData& mFile;
    std::vector<CImpTItem::Ptr>& mLines;
    CDocAccounting& books;
    const ImportDefaults defaults;
    const std::int64_t dateFormat;

    std::optional<QifDateOrder> fileOrder;
    bool decimalComma = false;

    bool headerMode = false;
    bool inList = false;   // in a list section that follows a register
    // Letter lines of a register record not yet ended by "^".
    bool recordOpen = false;
    ObjectIdT ourAccountId = 0;
    CAccount* ourAccount = nullptr;
    std::optional<std::string> ourAccountText;
    int direction = kMoneyOut;
    int ordinal = 0;
    std::string dateText;
    std::string amountText;
    Record record;
    // The register's own currency: its amounts are written in it. None while
    // no register names an account: the line takes its account's.
    std::string registerCurrency;
    std::vector<TransferHalf> transferHalves;
    std::size_t otherHalves = 0;
    // Transfer targets by name, ignoring case as the books do: made from the
    // books' accounts at the first transfer and kept up with the accounts
    // this file makes, so that a file naming many accounts does not walk
    // every account for every name.
    std::optional<std::map<std::string, ObjectIdT, CaseInsensitiveLess>> namedAccounts;

    // Damaged records, by the line they begin at.
    std::vector<std::size_t> unended;   // their "^" lost: ended where the next begins
    std::vector<std::size_t> twoDates;
    std::vector<std::size_t> twoAmounts;
    std::vector<std::size_t> withoutAmount;
    std::optional<std::size_t> lastUnended;
    std::size_t waitingLines = 0;   // lines made without an own account

    std::vector<CImpTItem::Ptr>* madeLines;
    Halves halves = Halves::Match;
};

} // namespace ch

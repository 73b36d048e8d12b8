#pragma once
// What the import page does with the document's pending statement lines
// besides showing them: accepting or refusing a line, declaring a line no
// duplicate, making the own account a line names, giving an account its
// default category, choosing a line's own account, counter account,
// category and counterparty among the books' objects, giving a line its date,
// and booking the accepted lines with a word on what was booked and why the
// rest was not. New accounts, default categories and bookings run as the
// document's commands (13, 12, 31), so they are journaled like any edit; a
// line's choice goes through the line's own setters, which may rename an
// account, give it the statement's number or owner (marking the books
// edited) and complete every pending line again.
//
// Main thread only.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/foundation/ModelTypes.h"

namespace ch {

class CImpTItem;
class MyDocument;

// What the new-account sheet is opened with for a line (each set value
// stands for the sheet key beside it).
struct AccountFromLine {
    std::optional<std::string> bankAccountNumber;   // "BANKACCOUNTNR"
    std::optional<std::string> name;                // "ACNTNAME" and "NAME"
    std::optional<ObjectIdT> ownerId;               // "OWNERID"
    ObjectIdT currencyId = 0;                       // "CURRENCYID"
};

// What a line's table lets the user choose from the books.
enum class LineChoice { OwnAccount, CounterAccount, Category, Counterparty, Currency };

struct ChoiceEntry {
    ObjectIdT id = 0;
    std::string name;
    bool operator==(const ChoiceEntry&) const = default;
};

// Why the pending lines that a booking left were not booked.
struct BookingOutcome {
    int booked = 0;
    int notAccepted = 0;
    int duplicates = 0;
    int incomplete = 0;
    // Complete, accepted and new, yet the books made no transaction (an
    // amount of 0).
    int refused = 0;
    int left() const { return notAccepted + duplicates + incomplete + refused; }
};

class ImportPageActions {
public:
    explicit ImportPageActions(MyDocument& document) : mDocument(document) {}

    // The pending lines, in order (lines of other kinds are left out).
    std::vector<std::shared_ptr<CImpTItem>> lines() const;

    // The objects a line may take, by name: own accounts are the bank, cash
    // and card (asset and debt) accounts; a counter account is any account;
    // currencies are the books' currencies (not shares), "symbol : name".
    std::vector<ChoiceEntry> choices(LineChoice kind) const;
    // The name of the line's chosen object (a currency's symbol); empty when
    // none.
    std::string chosenName(const CImpTItem& line, LineChoice kind) const;
    // The user's choice for the line, through its setter with side effects
    // (questions 206, 207, 260 and 390 as the setter asks them; a currency
    // the books keep their symbol for goes to every line of that code); then
    // every pending line is completed again. False for an id the books lack.
    bool choose(CImpTItem& line, LineChoice kind, ObjectIdT id);
    // The date the user gives a line: its value date, and its booking date
    // when it had none; then every line is completed again. False (nothing
    // changed) for a date that is not a calendar date.
    bool setDate(CImpTItem& line, DateT date);
    // The amount the user gives a line (negative: money leaving the own
    // account), also where the statement's text gave none; then every line
    // is completed again. False (nothing changed) for the amount it has.
    bool setAmount(CImpTItem& line, double amount);

    // The own account for several lines at once: the first takes it as
    // choose gives it (asking what its setter asks), the others without a
    // question; then every line is completed again. False for an id that is
    // no own account of the books, or no lines.
    bool chooseOwnAccount(const std::vector<std::shared_ptr<CImpTItem>>& lines, ObjectIdT accountId);
    // The own account of the line's statement number: an account with that
    // bank number when there is one, else a new own account (command 13;
    // a debt account for a card line) named and numbered after it. The line
    // takes it and all lines are completed again. False when the line names
    // no number or the command made nothing.
    bool createOwnAccount(CImpTItem& line);
    // The new-account sheet's values for a line (none: from the toolbar).
    AccountFromLine accountFromLine(const CImpTItem* line) const;
    // The category becomes the account's default category (command 12, so
    // that it is journaled and marks the document) and all lines are
    // completed again; false when either does not exist.
    bool setExpenseTypeInAccount(ObjectIdT accountId, ObjectIdT categoryId);
    // The line's category becomes its counter account's default category
    // (as setExpenseTypeInAccount); set tells whether it did. The message
    // says which category became whose default and how many other lines took
    // it, or, when the line lacks either, what to choose first.
    struct DefaultCategoryOutcome {
        bool set = false;
        std::string message;
    };
    DefaultCategoryOutcome setDefaultCategoryFromLine(const CImpTItem& line);
    // The user says the line duplicates nothing; it is not completed again
    // now, and its next completion skips the duplicate check.
    static void setSelectionNotDouble(CImpTItem& line);
    // The booked transaction a line duplicates, described in full; empty
    // when the line duplicates nothing booked.
    std::string duplicateDescription(const CImpTItem& line) const;
    // Books every accepted, complete line that duplicates nothing; the others
    // stay pending. How many were booked and why the others were not.
    BookingOutcome bookAcceptedLines();
    // What the user is told after booking (message 301 when nothing was
    // booked, else 302), one sentence per reason that kept lines back.
    static std::string bookingMessage(const BookingOutcome& outcome);
    // Books and tells the outcome (an information alert).
    BookingOutcome bookAcceptedLinesAndTell();

private:
    ObjectIdT homeCurrencyId() const;
    // The currency for the line (question 390 as its setter asks it); when
    // the books keep their symbol, the other lines of the same code that
    // have none take it as well.
    void chooseCurrency(CImpTItem& line, ObjectIdT currencyId);

    MyDocument& mDocument;
};

} // namespace ch

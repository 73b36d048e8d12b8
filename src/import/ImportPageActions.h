#pragma once
// What the import page does with the document's pending statement lines
// besides showing them: accepting or refusing a line, declaring a line no
// duplicate, making the own account a line names, giving an account its
// default category, and booking the accepted lines. Everything that changes
// the books runs as the document's command (13 for a new account, 12 for an
// account's default category, 31 for each booked line), so the page's work
// is journaled like any edit.
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

class ImportPageActions {
public:
    explicit ImportPageActions(MyDocument& document) : mDocument(document) {}

    // The pending lines, in order (lines of other kinds are left out).
    std::vector<std::shared_ptr<CImpTItem>> lines() const;

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
    // The user says the line duplicates nothing; it is not completed again
    // now, and its next completion skips the duplicate check.
    static void setSelectionNotDouble(CImpTItem& line);
    // The booked transaction a line duplicates, described in full; empty
    // when the line duplicates nothing booked.
    std::string duplicateDescription(const CImpTItem& line) const;
    // Books every accepted, complete line that duplicates nothing; the others
    // stay pending. The number booked.
    int bookAcceptedLines();

private:
    ObjectIdT homeCurrencyId() const;

    MyDocument& mDocument;
};

} // namespace ch

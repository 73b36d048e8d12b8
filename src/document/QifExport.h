#pragma once
// The QIF text of an export, as other programs' QIF readers expect it: the
// list of the accounts first ("!Option:AutoSwitch", "!Account" with a name
// and a type for each, "!Clear:AutoSwitch"), then one register per account
// ("!Account" naming it again, then "!Type:Bank" for an own account,
// "!Type:CCard" for a credit card, "!Type:Oth L" for another debt). A transaction is written in the register
// of one of its own or debt accounts (one that counts money rather than
// shares and that it moves money on, the one held in the transaction's
// currency first): a record of its date (month/day/year),
// amount (signed as the money goes for that account, in the account's own
// currency, with a decimal point), payee (the transaction's name), memo (its
// description) and what it is booked against: "L[Account]" for another own
// or debt account, else its category; more than one of those are written as
// split lines ("S" and "$" for each), whose amounts add up to the record's.
// Money booked on no category (a supplier's invoice when the supplier names
// none) is written under the books' unspecified category of its direction,
// as the import books a record without one: a record that names nothing
// would come back with no counter account and wait for the user.
// Money it moves to or from another own account kept in another currency
// than the register's is written once more, in that account's register and
// currency, with "L[Account]" naming the first: the other half of a transfer
// between two currencies, which the import books with the first.
// Amounts in cents add up, register by register, to the account's own
// amounts rounded to the cent. Records end with "^", lines with CR LF. A file this writes reads back
// through the QIF import to the same balances of the own and debt accounts.

#include <map>
#include <string>
#include <vector>

#include "model/foundation/ModelTypes.h"

namespace ch {

class CAccount;
class CDocAccounting;
class CExpenseType;
class CTrnSItem;

class QifExport {
public:
    // The books give the unspecified categories; without them money booked
    // on no category is written without one.
    explicit QifExport(const CDocAccounting* books) : mBooks(books) {}

    // Adds the transaction's record, to the given account's register when
    // one is given (the export of that account), else to the register the
    // header says. A transaction that moves money on no own or debt account
    // (an invoice still open) is left out of the whole books: QIF keeps
    // income and expense as categories, and a register of such an account
    // would read as a bank account.
    void add(const CTrnSItem& transaction, const CAccount* only = nullptr);
    // The account list, then the registers, in the order their accounts
    // first showed.
    std::string text() const;

private:
    struct Register {
        const CAccount* account;
        std::string records;
        double exact = 0.0;     // the amounts so far, as the books hold them
        double written = 0.0;   // the amounts so far, as written
        // An amount of money as written in cents: so that the register's
        // amounts add up to what the books' add up to, to the cent, also
        // where the books hold fractions of a cent (after a change of the
        // home currency), each record takes the cent the ones before left.
        double inCents(double amount);
    };
    Register& registerOf(const CAccount& account);
    // What money booked on no category is written under: the unspecified
    // income or expense category, by the way it goes for the register.
    const CExpenseType* unspecifiedCategory(bool moneyIn) const;

    const CDocAccounting* mBooks;

    std::vector<Register> mRegisters;
    std::map<ObjectIdT, std::size_t> mRegisterOfAccount;
};

} // namespace ch

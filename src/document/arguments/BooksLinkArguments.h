#pragma once
// Argument objects of the changes that earlier went past the journal: a new
// budget (50), and the links between transactions: a card spending settled
// by a payment (51), a payment of an invoice (52), a transaction that pays a
// VAT period's balance (53), a payment unlinked from its invoice (54), the
// payments of an invoice unlinked (55), a credit note for an invoice (56);
// and the state of an object set in a table or by a drop: a transaction's
// status (57), an account marked as a credit card (58); and a setting
// changed in Books > Settings (59).
//
// Each carries the name it is listed under ("ObjectName": the budget's, or
// the target transaction's), and a link also the linked transaction's id and
// name, so that a replay links only the transaction the entry named.

#include <optional>
#include <string>

#include "document/arguments/CArgumentAncestor.h"

namespace ch {

// The numbers of these commands.
inline constexpr int kNewBudgetCommand = 50;
inline constexpr int kLinkCardSpendingCommand = 51;
inline constexpr int kLinkPaymentToInvoiceCommand = 52;
inline constexpr int kVATBalancePaymentCommand = 53;
inline constexpr int kUnlinkPaymentCommand = 54;
inline constexpr int kUnlinkInvoicePaymentsCommand = 55;
inline constexpr int kCreditNoteCommand = 56;
inline constexpr int kTransactionStatusCommand = 57;
inline constexpr int kCreditCardCommand = 58;
inline constexpr int kBookSettingCommand = 59;

} // namespace ch

namespace ch::arguments {

// What commands 50 to 58 share: the name the entry is listed under, written
// as "ObjectName"; an entry without it is not made again.
class NamedBooksArguments : public CArgumentAncestor {
public:
    // The budget's; for 51 to 58 the target transaction's or object's; for
    // 59 the setting's (its name in BookSettings.h).
    std::optional<std::string> name;

    bool recoverFromDictionary(const Dictionary& dictionary) final;

protected:
    void addEntries(Dictionary& dictionary) const final;
    // The class's own values beside the name.
    virtual void addOwnEntries(Dictionary& dictionary) const = 0;
    virtual void recoverOwnEntries(const Dictionary& dictionary) = 0;
};

// Command 50: the values of the new-budget sheet.
class NewBudgetArguments : public NamedBooksArguments {
public:
    std::optional<std::string> comment;
    std::optional<long> base;           // BudgetBaseT
    std::optional<long> baseMonth;      // DateT
    std::optional<long> period;         // BudgetPeriodT
    std::optional<long> nrOfYears;
    std::optional<long> nrOfMonths;
    std::optional<long> baseBudgetId;   // none: no base budget

    std::string argumentClass() const override { return "NewBudgetArguments"; }

protected:
    void addOwnEntries(Dictionary& dictionary) const override;
    void recoverOwnEntries(const Dictionary& dictionary) override;
};

// Commands 51 to 56, whose target is the transaction linked or unlinked
// (the card spending, the payment, the VAT payment, the invoice).
class TransactionLinkArguments : public NamedBooksArguments {
public:
    std::optional<long> linkedId;            // the payment, the invoice; none for 53
    std::optional<std::string> linkedName;
    // 53: the first and last day of the VAT period paid. Opening the books
    // may lay out further periods that hold the same dates, so a replay
    // finds the period by these, not by the transaction's date.
    std::optional<long> periodStart;         // DateT
    std::optional<long> periodEnd;           // DateT

    std::string argumentClass() const override { return "TransactionLinkArguments"; }

protected:
    void addOwnEntries(Dictionary& dictionary) const override;
    void recoverOwnEntries(const Dictionary& dictionary) override;
};

// Commands 57 and 58: the state the target takes.
class ObjectStateArguments : public NamedBooksArguments {
public:
    std::optional<long> status;           // 57: normal (0), flagged (7) or checked (9)
    std::optional<bool> isCreditCard;     // 58

    std::string argumentClass() const override { return "ObjectStateArguments"; }

protected:
    void addOwnEntries(Dictionary& dictionary) const override;
    void recoverOwnEntries(const Dictionary& dictionary) override;
};

// Command 59: the value the setting named takes (an object's id, or the
// year's first month).
class BookSettingArguments : public NamedBooksArguments {
public:
    std::optional<long> value;

    std::string argumentClass() const override { return "BookSettingArguments"; }

protected:
    void addOwnEntries(Dictionary& dictionary) const override;
    void recoverOwnEntries(const Dictionary& dictionary) override;
};

} // namespace ch::arguments

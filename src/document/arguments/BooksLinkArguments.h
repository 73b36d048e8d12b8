#pragma once
// Argument objects of the changes that earlier went past the journal: a new
// budget (50), and the links between transactions: a card spending settled
// by a payment (51), a payment of an invoice (52), a transaction that pays a
// VAT period's balance (53), a payment unlinked from its invoice (54), the
// payments of an invoice unlinked (55), a credit note for an invoice (56);
// and the state of an object set in a table or by a drop: a transaction's
// status (57), an account marked as a credit card (58).
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

} // namespace ch

namespace ch::arguments {

// Command 50: the values of the new-budget sheet.
class NewBudgetArguments : public CArgumentAncestor {
public:
    std::optional<std::string> name;
    std::optional<std::string> comment;
    std::optional<long> base;           // BudgetBaseT
    std::optional<long> baseMonth;      // DateT
    std::optional<long> period;         // BudgetPeriodT
    std::optional<long> nrOfYears;
    std::optional<long> nrOfMonths;
    std::optional<long> baseBudgetId;   // none: no base budget

    std::string argumentClass() const override { return "NewBudgetArguments"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

// Commands 51 to 56, whose target is the transaction linked or unlinked
// (the card spending, the payment, the VAT payment, the invoice).
class TransactionLinkArguments : public CArgumentAncestor {
public:
    std::optional<std::string> name;         // the target transaction's
    std::optional<long> linkedId;            // the payment, the invoice; none for 53
    std::optional<std::string> linkedName;

    std::string argumentClass() const override { return "TransactionLinkArguments"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

// Commands 57 and 58: the state the target takes.
class ObjectStateArguments : public CArgumentAncestor {
public:
    std::optional<std::string> name;      // the target's
    std::optional<long> status;           // 57: normal (0), flagged (7) or checked (9)
    std::optional<bool> isCreditCard;     // 58

    std::string argumentClass() const override { return "ObjectStateArguments"; }
    bool recoverFromDictionary(const Dictionary& dictionary) override;

protected:
    void addEntries(Dictionary& dictionary) const override;
};

} // namespace ch::arguments

#pragma once
// What the credit-card page shows and does without a window: the cards of
// the books, the spendings made with a card and the payments made to it,
// the flag images of both, the rows highlighted as linked to the selection
// of the other table, and linking a spending to the payment that settles it.
//
// A transaction is a payment to the card when the main line of its to side
// (the line with the largest absolute amount) books on the card, and a
// spending with the card when the main line of its from side does.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bridge/CNonVisualDataItem.h"

namespace ch {

class BridgeDocument;
class CommandSink;
class CAcnTItem;
class CDebetItem;
class CTrnSItem;

// The card accounts: the debt accounts marked as credit card, in the order
// of the model's debt list.
std::vector<std::shared_ptr<CAcnTItem>> creditCardAccounts(BridgeDocument& books);

struct CardLines {
    CNonVisualDataItem::ItemArray spendings; // the card's lines of its spendings
    CNonVisualDataItem::ItemArray payments;  // the card's lines of its payments
};
CardLines cardLines(CAcnTItem& card);

// Flag image names. A spending by its reference id; a payment by its
// unaccounted amount (the two marker amounts compared exactly, the 0.005
// bounds inclusive on the green side); a card by its sub-type (low 8 bits),
// none above 9.
std::string spendingFlagImage(std::optional<long> referenceId);
std::string paymentFlagImage(std::optional<double> unaccountedAmount);
std::optional<std::string> creditCardSubtypeImage(int subType);

// Whether a row is painted as linked: its id equals the table's reference
// id. A table without reference id paints nothing, so with no selection an
// unlinked spending (reference 0) is not taken for a linked one.
bool isLinkedRow(std::optional<long> tableReferenceId, std::optional<long> rowId);

// Links the spending to the transaction of the payment line through the
// document's command 51 (journaled): the spending's reference id becomes the
// payment's id; the new payment and the one linked before forget their
// cached unaccounted amounts. False when the payment line has no transaction.
bool linkSpendingToPayment(CommandSink& commands, const std::shared_ptr<CTrnSItem>& spending,
                           const CDebetItem& paymentLine);

} // namespace ch

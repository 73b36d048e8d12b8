#pragma once
// What command 51 does: a card spending is settled by a payment to the card.
// The spending's reference id becomes the payment's id; the payment and the
// one the spending named before forget their cached unaccounted amounts.

#include "document/DocumentOperations.h"

namespace ch {

class BridgeDocument;
class CTrnSItem;

// Changed (1) when the payment has an id; otherwise nothing changes.
CommandOutcome settleCardSpending(BridgeDocument& books, CTrnSItem& spending, CTrnSItem& payment);

} // namespace ch

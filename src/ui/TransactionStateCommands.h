#pragma once
// What a click in a status column, the Flag command and a drop on the side
// bar's credit cards change, sent as the document's numbered commands so
// that the journal keeps them: a transaction's status, and an account made
// a credit card.

#include <memory>

namespace ch {

class CAcnTItem;
class CommandSink;
class CTrnSItem;

// The status after a click in the status column: normal, then checked, then
// flagged, then normal again.
int statusAfterStatusClick(int status);
// The status after the Flag command: flagged, or normal when it was flagged.
int statusAfterFlag(int status);

// Sets the transaction's status through the command.
void sendTransactionStatus(CommandSink& commands, const std::shared_ptr<CTrnSItem>& transaction, int status);
// Marks the account as a credit card through the command; whether it is one.
bool sendCreditCard(CommandSink& commands, const std::shared_ptr<CAcnTItem>& account);

} // namespace ch

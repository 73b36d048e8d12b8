#include "ui/TransactionStateCommands.h"

#include "bridge/CAcnTItem.h"
#include "bridge/CTrnSItem.h"
#include "document/arguments/BooksLinkArguments.h"
#include "model/CNonVisual.h"
#include "ui/sheets/CommandSink.h"

namespace ch {

int statusAfterStatusClick(int status)
{
    switch (status) {
    case status::kChecked: return status::kFlagged;
    case status::kFlagged: return status::kNormal;
    default: return status::kChecked;
    }
}

int statusAfterFlag(int status)
{
    return status == status::kFlagged ? status::kNormal : status::kFlagged;
}

void sendTransactionStatus(CommandSink& commands, const std::shared_ptr<CTrnSItem>& transaction, int status)
{
    if (!transaction) return;
    arguments::ObjectStateArguments values;
    values.name = transaction->getName();
    values.status = status;
    commands.executeCommand(kTransactionStatusCommand, transaction, &values);
}

bool sendCreditCard(CommandSink& commands, const std::shared_ptr<CAcnTItem>& account)
{
    if (!account) return false;
    arguments::ObjectStateArguments values;
    values.name = account->getName();
    values.isCreditCard = true;
    commands.executeCommand(kCreditCardCommand, account, &values);
    return account->isCreditCard();
}

} // namespace ch

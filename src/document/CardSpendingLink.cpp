#include "document/CardSpendingLink.h"

#include "bridge/BridgeDocument.h"
#include "bridge/CTrnSItem.h"

namespace ch {

CommandOutcome settleCardSpending(BridgeDocument& books, CTrnSItem& spending, CTrnSItem& payment)
{
    if (!payment.getId()) return CommandOutcome::unchanged();
    const long previous = spending.mReferenceObjectId().value_or(0);
    const std::shared_ptr<CTrnSItem> previousPayment =
        previous > 0 ? books.getTransactionForId(static_cast<ObjectIdT>(previous)) : nullptr;
    spending.setMReferenceObjectId(*payment.getId());
    payment.setUnaccountedForAmount();
    if (previousPayment) previousPayment->setUnaccountedForAmount();
    return CommandOutcome::changed(1);
}

} // namespace ch

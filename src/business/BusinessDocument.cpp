#include "business/BusinessDocument.h"

#include "bridge/BridgeDocument.h"
#include "bridge/CTrnSItem.h"
#include "document/DocumentNotifications.h"
#include "model/CDocAccounting.h"
#include "model/CTransaction.h"
#include "platform/core/notification_center.h"

namespace ch::business {

BusinessDocument::~BusinessDocument() = default;

bool BusinessDocument::performLinkTransaction(CTrnSItem& transaction)
{
    BridgeDocument& books = bridgeDocument();
    if (!books.accounting()->LinkTrans(static_cast<CTransaction*>(transaction.getSourceItem()))) return false;
    books.notificationCenter().post(GXCTransactionLinkedNotification, transaction.shared_from_this());
    return true;
}

} // namespace ch::business

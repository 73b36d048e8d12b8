#include "bridge/BridgeDocument.h"

#include "bridge/InvoiceHooks.h"

namespace ch {

BridgeDocument::~BridgeDocument() = default;

InvoiceHooks& BridgeDocument::invoiceHooks()
{
    return NullInvoiceHooks::shared();
}

} // namespace ch

#include "bridge/InvoiceHooks.h"

namespace ch {

NullInvoiceHooks& NullInvoiceHooks::shared()
{
    static NullInvoiceHooks hooks;
    return hooks;
}

} // namespace ch

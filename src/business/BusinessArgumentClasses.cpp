#include "business/BusinessArgumentClasses.h"

#include "business/InvoiceArguments.h"
#include "business/PaymentArguments.h"
#include "business/VATPeriodArguments.h"
#include "business/VATRateArguments.h"
#include "document/arguments/ArgumentClassRegistry.h"

namespace ch::business {

void registerBusinessArgumentClasses(ArgumentClassRegistry& registry)
{
    registry.add<arguments::VATRateArguments>();
    registry.add<arguments::VATPeriodArguments>();
    registry.add<arguments::InvoiceArguments>();
    registry.add<arguments::PaymentArguments>();
    registry.add<arguments::SplitPaymentArguments>();
}

} // namespace ch::business

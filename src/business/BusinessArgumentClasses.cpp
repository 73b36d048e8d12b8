#include "business/BusinessArgumentClasses.h"

#include "business/VATPeriodArguments.h"
#include "business/VATRateArguments.h"
#include "document/arguments/ArgumentClassRegistry.h"

namespace ch::business {

void registerBusinessArgumentClasses(ArgumentClassRegistry& registry)
{
    registry.add<arguments::VATRateArguments>();
    registry.add<arguments::VATPeriodArguments>();
}

} // namespace ch::business

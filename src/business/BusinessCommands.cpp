#include "business/BusinessCommands.h"

#include "business/GXVATRate.h"
#include "business/VATRateArguments.h"
#include "business/VATRates.h"
#include "document/arguments/CDeleteObjectParms.h"

namespace ch::business {

std::optional<std::int32_t> executeBusinessCommand(BusinessDocument& document, int number,
                                                   const std::shared_ptr<Observable>& target,
                                                   const CArgumentAncestor* arguments)
{
    const auto* rateArguments = dynamic_cast<const arguments::VATRateArguments*>(arguments);
    switch (number) {
    case 33:
        if (!rateArguments)
            return -1;
        return createVATRateWithArguments(document, *rateArguments) ? 1 : 0;
    case 34: {
        auto rate = std::dynamic_pointer_cast<GXVATRate>(target);
        if (!rate || !rateArguments)
            return -1;
        return updateVATRate(document, rate, *rateArguments) ? 1 : 0;
    }
    case 37: {
        auto rate = std::dynamic_pointer_cast<GXVATRate>(target);
        if (!rate || rate->objectType() != GXVATRate::kObjectType)
            return -1;
        const auto* parameters = dynamic_cast<const arguments::CDeleteObjectParms*>(arguments);
        performDeleteVATRate(document, rate, parameters && parameters->withAsking.value_or(false));
        return -1;
    }
    case 32:
    case 35:
    case 36:
    case 40:
    case 43:
        return -1;
    default:
        return std::nullopt;
    }
}

} // namespace ch::business

#include "business/BusinessCommands.h"

#include "bridge/CTrnSItem.h"
#include "business/GXVATRate.h"
#include "business/InvoiceArguments.h"
#include "business/InvoiceOperations.h"
#include "business/PaymentArguments.h"
#include "business/Payments.h"
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
    case 38:
    case 41: {
        const auto* invoiceArguments = dynamic_cast<const arguments::InvoiceArguments*>(arguments);
        if (!invoiceArguments) return -1;
        return static_cast<std::int32_t>(createInvoiceWithArguments(document, *invoiceArguments, number == 38));
    }
    case 39:
    case 42: {
        const auto* invoiceArguments = dynamic_cast<const arguments::InvoiceArguments*>(arguments);
        auto invoice = std::dynamic_pointer_cast<CTrnSItem>(target);
        if (!invoiceArguments || !invoice) return -1;
        return static_cast<std::int32_t>(modifyInvoiceWithArguments(document, *invoice, *invoiceArguments, number == 39));
    }
    case 44:
    case 46: {
        const auto* paymentArguments = dynamic_cast<const arguments::PaymentArguments*>(arguments);
        if (!paymentArguments) return -1;
        return static_cast<std::int32_t>(createPaymentWithArguments(document, *paymentArguments));
    }
    case 45: {
        const auto* splitArguments = dynamic_cast<const arguments::SplitPaymentArguments*>(arguments);
        auto payment = std::dynamic_pointer_cast<CTrnSItem>(target);
        if (!splitArguments || !payment) return -1;
        return static_cast<std::int32_t>(splitPayment(document, *payment, *splitArguments));
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

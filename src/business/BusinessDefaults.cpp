#include "business/BusinessDefaults.h"

#include "business/InvoiceNumbers.h"
#include "platform/core/user_defaults.h"

namespace ch::business {

void registerBusinessDefaults(UserDefaults& defaults)
{
    defaults.registerDefault(kVATPeriodicityKey, 1);
    defaults.registerDefault(kVATAdvancePeriodicityKey, 0);
    defaults.registerDefault(kContinuousInvoiceNumbersKey, false);
    defaults.registerDefault(kPaymentPeriodKey, 30);
    defaults.registerDefault(kPaymentPeriodStartsAtMonthEndKey, false);
    defaults.registerDefault(kPaymentPeriodExpressedInMonthsKey, false);
}

} // namespace ch::business

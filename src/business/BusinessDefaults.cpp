#include "business/BusinessDefaults.h"

#include "platform/core/user_defaults.h"

namespace ch::business {

void registerBusinessDefaults(UserDefaults& defaults)
{
    defaults.registerDefault(kVATPeriodicityKey, 1);
    defaults.registerDefault(kVATAdvancePeriodicityKey, 0);
}

} // namespace ch::business

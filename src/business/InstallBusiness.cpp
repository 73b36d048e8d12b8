#include "business/InstallBusiness.h"

#include <memory>

#include "business/BusinessOfDocument.h"
#include "business/BusinessOperationsOfDocument.h"
#include "document/MyDocument.h"

namespace ch::business {

void installBusiness(MyDocument& document)
{
    auto business = std::make_unique<BusinessOfDocument>(document);
    // The document destroys its operations before its business bookkeeping.
    document.operations().business = std::make_unique<BusinessOperationsOfDocument>(*business);
    document.setBusiness(std::move(business));
}

} // namespace ch::business

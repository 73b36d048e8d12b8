#pragma once
// The document's five business arrays, in the order of the business archive:
// VAT rates, amortisation schemes, VAT periods, customer invoices, supplier
// invoices. Each is ordered and holds objects of one kind. Nothing ever adds
// an amortisation scheme (no such kind exists); the array is kept, stored
// and shown empty.

#include <memory>
#include <vector>

#include "business/GXInvoice.h"
#include "business/GXNonVisual.h"
#include "business/GXVATPeriod.h"
#include "business/GXVATRate.h"

namespace ch::business {

struct BusinessArrays {
    std::vector<std::shared_ptr<GXVATRate>> VATRateArray;
    std::vector<std::shared_ptr<GXNonVisual>> amortisationSchemeArray;
    std::vector<std::shared_ptr<GXVATPeriod>> VATPeriodArray;
    std::vector<std::shared_ptr<GXInvoice>> customerInvoiceArray;
    std::vector<std::shared_ptr<GXInvoice>> supplierInvoiceArray;
};

} // namespace ch::business

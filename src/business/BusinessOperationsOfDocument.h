#pragma once
// The document's operations of the VAT-rate commands 33, 34 and 37, run by
// the business bookkeeping. The invoice and payment commands still change
// nothing. The executor has checked the target's type and the argument class.

#include "document/DocumentOperations.h"

namespace ch::business {

class BusinessOfDocument;

class BusinessOperationsOfDocument final : public NullBusinessOperations {
public:
    explicit BusinessOperationsOfDocument(BusinessOfDocument& business) : mBusiness(business) {}

    CommandOutcome createVATRate(const CArgumentAncestor& args) override;
    // A rate that is not one of the document's changes nothing (-1).
    CommandOutcome updateVATRate(ch::GXNonVisual& rate, const CArgumentAncestor& args) override;
    // -1; the books changed when the rate left the document.
    CommandOutcome performDeleteVATRate(ch::GXNonVisual& rate, bool withAsking) override;

private:
    BusinessOfDocument& mBusiness;
};

} // namespace ch::business

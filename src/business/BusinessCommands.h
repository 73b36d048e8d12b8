#pragma once
// The executor's rows for the business commands that act on VAT rates, so
// that the document can route its business interface here. The target of a
// business command is the business object itself.
//
//   33  createVATRateWithArguments (A: VATRateArguments)               -> 1
//   34  updateVATRate (T: the rate, A: VATRateArguments)               -> 1
//   37  performDeleteVATRate (T: a 'VatR' object; asking when A, a
//       CDeleteObjectParms, says so)                                   -> -1
//   38, 41  new customer, supplier invoice (A: InvoiceArguments)      -> its id
//   39, 42  modify customer, supplier invoice (T: the invoice's
//           transaction item, A: InvoiceArguments)                   -> its id
//   44, 46  payment without invoice (A: PaymentArguments)            -> its id
//   45  split payment (T: the payment's item, A: SplitPaymentArguments)
//                                                                  -> the new id
//   32, 35, 36, 40, 43: nothing                                        -> -1
//
// A target or argument object of the wrong kind does nothing (-1).

#include <cstdint>
#include <memory>
#include <optional>

namespace ch {
class CArgumentAncestor;
class Observable;
} // namespace ch

namespace ch::business {

class BusinessDocument;

// The result of the command (-1 when nothing was booked); none for numbers
// outside 32 to 46, which are not answered here.
std::optional<std::int32_t> executeBusinessCommand(BusinessDocument& document, int number,
                                                   const std::shared_ptr<Observable>& target,
                                                   const CArgumentAncestor* arguments);

} // namespace ch::business

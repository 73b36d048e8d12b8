#pragma once
// The executor's rows for the business commands that act on VAT rates, so
// that the document can route its business interface here. The target of a
// business command is the business object itself.
//
//   33  createVATRateWithArguments (A: VATRateArguments)               -> 1
//   34  updateVATRate (T: the rate, A: VATRateArguments)               -> 1
//   37  performDeleteVATRate (T: a 'VatR' object; asking when A, a
//       CDeleteObjectParms, says so)                                   -> -1
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

// The result of the command; none for the invoice and payment commands (38,
// 39, 41, 42, 44, 45, 46) and for numbers outside 32 to 46, which are not
// answered here.
std::optional<std::int32_t> executeBusinessCommand(BusinessDocument& document, int number,
                                                   const std::shared_ptr<Observable>& target,
                                                   const CArgumentAncestor* arguments);

} // namespace ch::business

#include "business/BusinessSheetChecks.h"

#include <cctype>

namespace ch::business {

namespace {

bool inSheetRange(long date)
{
    return date >= kFirstSheetDate && date <= kLastSheetDate;
}

} // namespace

long checkInvoiceSheet(const InvoiceSheetValues& values)
{
    if (values.name.empty()) return 202;
    if (!values.hasOwner) return 129;
    if (values.amountWithoutVAT == 0) return 238;
    // An invoice of a negative amount cannot be read back into its parts:
    // a credit note is what reduces an invoice.
    if (values.amountWithoutVAT < 0) return 560;
    if (!inSheetRange(values.invoiceDate) || !inSheetRange(values.dueDate)) return 151;
    return 0;
}

long checkPaymentSheet(const PaymentSheetValues& values)
{
    if (values.name.empty()) return 202;
    if (!values.hasOwner) return 129;
    if (values.amount == 0) return 238;
    if (!inSheetRange(values.date)) return 151;
    if (!values.hasCategory) return 277;
    return 0;
}

long checkSplitAmount(std::optional<double> splitAmount, double originalAmount)
{
    if (!splitAmount || *splitAmount == 0) return 278;
    const double split = *splitAmount;
    // Larger than the payment, of its sign: said as such.
    if (originalAmount > 0 ? split >= originalAmount : (originalAmount < 0 && split <= originalAmount)) return 561;
    const bool between = originalAmount > 0 ? (split > 0 && split < originalAmount)
                                            : (split < 0 && split > originalAmount);
    return between ? 0 : 278;
}

bool isGeneratedStructuredReference(std::string_view text)
{
    // +++ 3 digits / 4 digits / 5 digits +++
    static constexpr std::string_view pattern = "+++ddd/dddd/ddddd+++";
    if (text.size() != pattern.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
        if (pattern[i] == 'd' ? !digit : text[i] != pattern[i]) return false;
    }
    return true;
}

} // namespace ch::business

#pragma once
// What the invoice, payment and split sheets decide without a window: the
// numbered error of the first value that may not be accepted (0 when all
// may), and whether a payment reference is one the sheet generated.

#include <optional>
#include <string>
#include <string_view>

namespace ch::business {

// Dates the sheets accept, both ends included.
inline constexpr long kFirstSheetDate = 19801212;
inline constexpr long kLastSheetDate = 30001212;

struct InvoiceSheetValues {
    std::string name;
    bool hasOwner = false;
    double amountWithoutVAT = 0;
    long invoiceDate = 0;
    long dueDate = 0;
};
// A name (202), an owner (129), an amount (238) that is not negative (560),
// both dates in range (151).
long checkInvoiceSheet(const InvoiceSheetValues& values);

struct PaymentSheetValues {
    std::string name;
    bool hasOwner = false;
    double amount = 0;
    long date = 0;
    bool hasCategory = false;
};
// A name (202), an owner (129), an amount (238), the date in range (151),
// a category (277).
long checkPaymentSheet(const PaymentSheetValues& values);

// A split must leave two payments of the original's sign: the split amount
// lies strictly between 0 and the original amount: 561 for the whole
// payment or more, 278 for 0 or an amount of the other sign.
long checkSplitAmount(std::optional<double> splitAmount, double originalAmount);

// "+++ddd/dddd/ddddd+++", as the sheet proposes for an invoice number.
bool isGeneratedStructuredReference(std::string_view text);

} // namespace ch::business

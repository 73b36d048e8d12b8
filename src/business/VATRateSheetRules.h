#pragma once
// What the VAT-rate sheet decides without a window: whether its values may be
// accepted, and which of its choices are open. The sheet edits a
// VATRateArguments directly; when a check fails it shows the error and puts
// the focus on the field the check names.


namespace ch::arguments {
class VATRateArguments;
}

namespace ch::business {

class BusinessDocument;
class GXVATRate;

enum class VATRateSheetField { None, Name, Percentage, Rate, PaidAccount, ReceivedAccount };

struct VATRateSheetCheck {
    long error = 0;   // 0 when the values may be accepted
    VATRateSheetField focus = VATRateSheetField::None;

    bool accepted() const { return error == 0; }
};

// The first check that fails, in this order: a name (202), a recoverable
// percentage (129) from 0 to 100 (272), a rate (129) from 0 to 100 (272).
// Making new accounts for a rate being modified: neither old account may have
// bookings (274). Choosing accounts: both chosen (129); a paid or received
// account other than the old one may be used by no other rate (273), and the
// old one may have no bookings (274). `modifying` is the rate being modified,
// none when one is made (its old accounts then count as none).
VATRateSheetCheck checkVATRateSheet(BusinessDocument& document, const arguments::VATRateArguments& arguments,
                                    const GXVATRate* modifying);

struct VATRateSheetChoices {
    // Only a new rate (no id, or a negative one) may make accounts and a category.
    bool createAccountsPossible = false;
    bool createReconciliationAccountPossible = false;
    bool createCategoryInvoicedNotReceivedPossible = false;
    // A chooser is open while its object is not being made.
    bool selectAccountsPossible = false;
    bool selectReconciliationAccountPossible = false;
    bool selectCategoryInvoicedNotReceivedPossible = false;
};

VATRateSheetChoices VATRateSheetChoicesFor(const arguments::VATRateArguments& arguments);

} // namespace ch::business

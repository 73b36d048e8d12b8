#pragma once
// The invoice sheet, for a customer or a supplier, to make or modify an
// invoice: owner, name, number, description, payment reference, dates, the
// amount without VAT and up to two VAT rates; the VAT and the total follow.
// Optionally registers the payment at once, on the category chosen (the
// settings' supplier-payments category or the customer's own is proposed);
// not for an invoice that is paid or that its credit notes cancel.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "business/InvoiceArguments.h"
#include "business/views/BusinessSheet.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace ch {
class CAmountField;
class CDateEditField;
} // namespace ch

namespace ch::business {

class GXVATRate;

class AccountsReceivableInvoiceDialogController : public BusinessSheet {
    Q_OBJECT
public:
    explicit AccountsReceivableInvoiceDialogController(QWidget* parent = nullptr);
    void initializeFor(const BusinessSheetContext& context);
    bool checkContents() override;
    arguments::InvoiceArguments returnArguments() const;
    // The VAT fields and the total follow the amount and the rates.
    void calculateTotalAmount();

private:
    std::shared_ptr<CAcoWItem> chosenOwner() const;
    std::shared_ptr<GXVATRate> chosenRate(const QComboBox* popup) const;
    void invoiceDateEdited();
    void invoiceNumberEdited();

    std::vector<std::shared_ptr<CAcoWItem>> mOwners;
    // The number last proposed for a new customer invoice; a number the user
    // left as proposed follows the invoice date into its year's series.
    std::string mProposedNumber;
    // The currency of the invoice modified: its VAT is rounded to its cents.
    std::optional<long> mCurrencyId;
    QComboBox* customerPopup;
    QComboBox* VATRate1Popup;
    QComboBox* VATRate2Popup;
    QLineEdit* VAT1AmountField;
    QLineEdit* VAT2AmountField;
    QLineEdit* TotalAmountField;
    QLineEdit* invoiceNameField;
    QLineEdit* invoiceNumberField;
    QLineEdit* invoiceDescriptionField;
    QLineEdit* paymentReferenceField;
    CDateEditField* invoiceDateField;
    CDateEditField* dueDateField;
    CAmountField* invoiceAmountField;
    QCheckBox* registerPaymentCheckbox;
    // The category of the payment registered at once.
    QComboBox* paymentCategoryPopup;
};

} // namespace ch::business

#pragma once
// The sheets of the owners page: an invoice (create or modify, customer or
// supplier), a payment without invoice, the split of a payment, and the
// choice of the invoices a payment settles. Each checks its values with the
// headless checks, raises the numbered error of the first refused value and
// stays open; on OK its owner takes the argument object and runs the
// command.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "business/InvoiceArguments.h"
#include "business/PaymentArguments.h"
#include "ui/sheets/CPopupWindowAncestor.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QTableWidget;

namespace ch {
class CAcoWItem;
class CAmountField;
class CDateEditField;
class CTrnSItem;
class MyDocument;
} // namespace ch

namespace ch::business {

class GXVATRate;

// What every business sheet is opened for.
struct BusinessSheetContext {
    MyDocument* document = nullptr;
    bool customer = true;                       // "OWNERTYPE"
    std::shared_ptr<CAcoWItem> owner;           // "OWNERID"
    std::shared_ptr<CTrnSItem> objectToModify;  // "OBJECTTOMODIFY"; none: "CREATE"
};

// Runs when the sheet closed with OK.
using SheetAccepted = std::function<void()>;

class BusinessSheet : public CPopupWindowAncestor {
    Q_OBJECT
public:
    explicit BusinessSheet(QWidget* parent) : CPopupWindowAncestor(parent) {}
    void setAccepted(SheetAccepted accepted) { mAccepted = std::move(accepted); }
    void dialogClosed(int returnCode, const SheetParameters& context) override;
    const BusinessSheetContext& context() const { return mContext; }

protected:
    // Raises the error and answers false when there is one.
    static bool refuse(long error);
    BusinessSheetContext mContext;

private:
    SheetAccepted mAccepted;
};

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
};

class AccountsReceivablePaymentDialogController : public BusinessSheet {
    Q_OBJECT
public:
    explicit AccountsReceivablePaymentDialogController(QWidget* parent = nullptr);
    void initializeFor(const BusinessSheetContext& context);
    bool checkContents() override;
    arguments::PaymentArguments returnArguments() const;

private:
    std::shared_ptr<CAcoWItem> chosenOwner() const;
    std::vector<std::shared_ptr<CAcoWItem>> mOwners;
    QComboBox* customerPopup;
    QLineEdit* paymentNameField;
    QLineEdit* paymentReferenceField;
    CDateEditField* paymentDateField;
    CAmountField* paymentAmountField;
    QComboBox* paymentCategoryPopup;
};

class SplitPaymentDialogController : public BusinessSheet {
    Q_OBJECT
public:
    explicit SplitPaymentDialogController(QWidget* parent = nullptr);
    void initializeFor(const BusinessSheetContext& context);
    bool checkContents() override;
    arguments::SplitPaymentArguments returnArguments() const;
    // The leftover follows the split amount.
    void splitAmountEdited();

private:
    double mOriginal = 0;
    QLineEdit* originalAmountField;
    QLineEdit* currencyField;
    CAmountField* splitAmountField;
    QLineEdit* leftoverAmountField;
    QLineEdit* paymentNameField;
};

class SearchInvoiceDialogController : public BusinessSheet {
    Q_OBJECT
public:
    explicit SearchInvoiceDialogController(QWidget* parent = nullptr);
    void initializeFor(const BusinessSheetContext& context, std::vector<std::shared_ptr<CTrnSItem>> invoices);
    bool checkContents() override { return true; }
    std::vector<std::shared_ptr<CTrnSItem>> selectedInvoiceTransactions() const;
    std::shared_ptr<CTrnSItem> paymentToSearchInvoiceFor() const { return mContext.objectToModify; }
    void setTransactionArray(std::vector<std::shared_ptr<CTrnSItem>> invoices);

private:
    std::vector<std::shared_ptr<CTrnSItem>> transactionArray;
    QTableWidget* invoiceTable;
};

} // namespace ch::business

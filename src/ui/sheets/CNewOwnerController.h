#pragma once
// The account owner sheet (see OwnerSheetLogic): name and contact fields,
// and the owner's supplier and customer accounts: either made for it
// ("make ... accounts", with the category of the invoices or payments) or
// chosen among existing ones (only for an owner being modified).

#include "ui/sheets/CPopupWindowAncestor.h"
#include "ui/sheets/OwnerSheetLogic.h"

class QCheckBox;
class QLabel;

namespace ch {

class CPopupList;
class CTextField;

class CNewOwnerController : public CPopupWindowAncestor {
    Q_OBJECT

public:
    explicit CNewOwnerController(QWidget* parent = nullptr);

    void initialize(const SheetParameters& parameters) override;
    bool checkContents() override;
    void dialogClosed(int returnCode, const SheetParameters& context) override;

private:
    void fillPopups();
    void loadFields();
    void storeFields();
    // The pop-ups follow the check boxes.
    void enablePopups();

    OwnerSheetLogic mLogic;
    QLabel* idField;
    CTextField* nameField;
    CTextField* firstNameField;
    CTextField* VATField;
    CTextField* adresField;
    CTextField* phoneField;
    CTextField* faxField;
    CTextField* eMailField;
    CPopupList* debtorAccountPopup;
    CPopupList* debtorInvoiceAccountPopup;
    CPopupList* creditorAccountPopup;
    CPopupList* creditorInvoiceAccountPopup;
    CPopupList* customerPaymentCategoryPopup;
    CPopupList* supplierInvoiceCategoryPopup;
    QCheckBox* createSupplierAccountsCheck;
    QCheckBox* selectSupplierAccountsCheck;
    QCheckBox* createCustomerAccountsCheck;
    QCheckBox* selectCustomerAccountsCheck;
};

} // namespace ch

#pragma once
// The account owner sheet (see OwnerSheetLogic): name and contact fields,
// or, for a new owner from the contacts, the picker of the contacts' people
// ("mainTab" page 1: a search field over the list "peoplePicker"); and the
// owner's supplier and customer accounts: either made for it ("make ...
// accounts", with the category of the invoices or payments) or chosen among
// existing ones (only for an owner being modified).

#include <vector>

#include "platform/core/contacts_provider.h"
#include "ui/sheets/CPopupWindowAncestor.h"
#include "ui/sheets/OwnerSheetLogic.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QTableWidget;

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

    QTableWidget* peoplePicker() const { return mPeoplePicker; }

private:
    void fillPicker();
    void filterPicker(const QString& text);
    std::vector<ContactPerson> pickedPeople() const;
    void fillPopups();
    void loadFields();
    void storeFields();
    // The pop-ups follow the check boxes.
    void enablePopups();

    OwnerSheetLogic mLogic;
    QStackedWidget* mainTab;
    QLineEdit* mContactsSearchField;
    // Says that the linked fields come from the owner's contact.
    QLabel* mFromContactNote;
    QTableWidget* mPeoplePicker;
    std::vector<ContactPerson> mPeople;   // the picker's rows, in order
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

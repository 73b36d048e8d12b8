#pragma once
// The account sheet: creates an account or modifies one (see
// AccountSheetLogic). An ordinary account and a credit card have pages of
// their own in tabView. Return in the account-type, currency, owner and
// default-category pop-ups does not confirm the sheet.

#include "ui/sheets/AccountSheetLogic.h"
#include "ui/sheets/CPopupWindowAncestor.h"

class QLabel;
class QStackedWidget;

namespace ch {

class CAmountField;
class CPopupList;
class CTextField;

class CNewAccountController : public CPopupWindowAncestor {
    Q_OBJECT

public:
    explicit CNewAccountController(QWidget* parent = nullptr);

    void initialize(const SheetParameters& parameters) override;
    bool checkContents() override;
    void dialogClosed(int returnCode, const SheetParameters& context) override;

    const AccountSheetLogic& logic() const { return mLogic; }

private:
    void fillPopups();
    void loadFields();
    void storeFields();

    AccountSheetLogic mLogic;
    QLabel* idField;
    CTextField* nameField;
    CTextField* creditCardNameField;
    CTextField* classifiactionNumber;
    CPopupList* accountTypePopup;
    CTextField* descriptionField;
    CPopupList* currencyPopup;
    CPopupList* ownerPopup;
    CTextField* bankAccountNumberField;
    CPopupList* defaultExpensetypePopup;
    CAmountField* fiscalPctField;
    CAmountField* newBalanceField;
    QLabel* localBalance;
    QLabel* foreingBalance;
    QStackedWidget* tabView;
};

} // namespace ch

#pragma once
// The VAT-rate sheet: name, rate and recoverable percentage, the paid,
// received and reconciliation accounts and the category of VAT invoiced but
// not yet received, each either chosen or made with the rate. Its controls
// edit the VATRateArguments it is given; only a new rate may make accounts
// and a category, and a chooser is open while its object is not being made.
// OK runs the checks of the rate sheet: the first refused value raises its
// numbered error, takes the focus and keeps the sheet open; a missing or
// invalid value is told by the name of its field.

#include <memory>

#include "business/VATRateArguments.h"
#include "business/VATRateSheetRules.h"
#include "ui/sheets/CPopupWindowAncestor.h"

class QCheckBox;
class QFormLayout;
class QLineEdit;

namespace ch {
class CPopupList;
class MyDocument;
} // namespace ch

namespace ch::business {

class GXVATRate;

struct VATRateSheetContext {
    MyDocument* document = nullptr;                      // "DOCUMENT"
    bool newObject = true;                               // "NEWOBJECT"
    std::shared_ptr<arguments::VATRateArguments> arguments;  // "ARGUMENTS"
    std::shared_ptr<GXVATRate> objectToModify;           // "OBJECTTOMODIFY"
};

class CVATRateDialog : public CPopupWindowAncestor {
    Q_OBJECT
public:
    explicit CVATRateDialog(QWidget* parent = nullptr);

    // Fills the popups from the document, shows the arguments and puts the
    // focus on the name.
    void initializeFor(const VATRateSheetContext& context);
    const VATRateSheetContext& context() const { return mContext; }
    bool checkContents() override;

    // The paid account lists property accounts when the user default
    // "VATPaidIsProperty" is on, else profit-and-loss accounts; received and
    // reconciliation list debt accounts; the category lists expense
    // categories.
    void fillPopups();
    // The three account popups are choosers with typing; the category is not.
    bool isCombobox(const QWidget* control) const;

    void setCreateAccounts(bool create);
    void setCreateAccountReconciled(bool create);
    void setCreateCategoryInvoicedNotReceived(bool create);
    VATRateSheetChoices choices() const;

signals:
    void closedWithReturn(int returnCode);

protected:
    void dialogClosed(int returnCode, const SheetParameters& context) override;

private:
    // Shows the arguments in the controls, and the open choices.
    void showArguments();
    void refreshEnabledStates();
    // Writes the controls into the arguments.
    void takeControls();
    QWidget* controlFor(VATRateSheetField field) const;
    // The error of a refused value, naming its field where the number's
    // own text does not.
    void raiseError(long number, QWidget* control) const;

    VATRateSheetContext mContext;
    QFormLayout* mForm;
    QLineEdit* nameField;
    QLineEdit* rateField;
    QLineEdit* fiscalField;
    CPopupList* VATPaidAccountId;
    CPopupList* VATReceivedAccountId;
    CPopupList* VATReconciledAccountId;
    CPopupList* VATInvoicedNotYetReceivedCategory;
    QCheckBox* createAccountsBox;
    QCheckBox* createAccountReconciledBox;
    QCheckBox* createCategoryBox;
};

} // namespace ch::business

#pragma once
// The currency sheet (see CurrencySheetLogic): symbol, full name, the
// currency it is quoted in with quantity and rate (only for a new one: an
// existing currency changes its rate through the rate sheet), the exchange
// differences account and category, and the on-line symbol.

#include "ui/sheets/CPopupWindowAncestor.h"
#include "ui/sheets/CurrencySheetLogic.h"

class QFormLayout;
class QLabel;
class QVBoxLayout;

namespace ch {

class CAmountField;
class CPopupList;
class CTextField;

class CNewCurrencyController : public CPopupWindowAncestor {
    Q_OBJECT

public:
    explicit CNewCurrencyController(QWidget* parent = nullptr);

    void initialize(const SheetParameters& parameters) override;
    bool checkContents() override;
    void dialogClosed(int returnCode, const SheetParameters& context) override;
    const CurrencySheetLogic& logic() const { return mLogic; }

protected:
    // The share sheet: its own title and logic, its rows added by itself.
    CNewCurrencyController(QWidget* parent, bool share);
    virtual void fillPopups();
    virtual void loadFields();
    virtual void storeFields();
    // Adds a form above the buttons.
    void addForm(QFormLayout* form);

    CurrencySheetLogic mLogic;
    QFormLayout* mForm;

private:
    void showBaseCurrencyName();

    QVBoxLayout* mLayout;
    QLabel* idField;
    CTextField* symbolField;
    CTextField* fullNameField;
    CPopupList* baseCurrencyPopup;
    CAmountField* conversionQuantityField;
    CAmountField* conversionFactorField;
    QLabel* mBaseCurrencyName;
    QLabel* mSymbolName;
    CPopupList* fluctuationsPLAccountPopup;
    CPopupList* fluctuationsReasonsPopup;
    CTextField* internetSymbol;
};

} // namespace ch

#pragma once
// The dividend sheet: a share's dividend - date, total, the account it comes
// from and the one it is paid into, its category, the tax withheld with its
// account and category, and a comment. On OK the dividend goes to the share
// with command 22, booked on the category chosen. Keys and checks:
// ShareDealLogic.

#include "ui/sheets/CPopupWindowAncestor.h"
#include "ui/sheets/ShareDealLogic.h"

class QLabel;
class QLineEdit;

namespace ch {

class CAmountField;
class CDateEditField;
class CPopupList;

class CRegisterDividendSheetController : public CPopupWindowAncestor {
    Q_OBJECT

public:
    explicit CRegisterDividendSheetController(QWidget* parent = nullptr);

    void initialize(const SheetParameters& parameters) override;
    bool checkContents() override;
    void dialogClosed(int returnCode, const SheetParameters& context) override;

    const DividendLogic& logic() const { return mLogic; }

private:
    DividendLogic mLogic;
    CDateEditField* mTransactionDate;
    CAmountField* mTotalDividend;
    QLabel* mLocalCurrencyLabel1;
    CPopupList* mFromAccount;
    CPopupList* mToAccount;
    CPopupList* mForExpenseType;
    CAmountField* mTaxes;
    QLabel* mLocalCurrencyLabel2;
    CPopupList* mTaxesToAccount;
    CPopupList* mTaxesForExpenseType;
    QLineEdit* mComment;
};

} // namespace ch

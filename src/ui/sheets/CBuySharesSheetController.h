#pragma once
// The buy/sell sheet: a purchase or sale of the share - date, number of
// shares, price (in the share's quote currency), commission and the account
// it is booked on, the own account that pays or receives, the total in the
// home currency, a description and whether the price also becomes the
// share's rate. The total follows every edit; on OK the deal goes to the
// share with command 20. Keys and checks: ShareDealLogic.

#include "ui/sheets/CPopupWindowAncestor.h"
#include "ui/sheets/ShareDealLogic.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace ch {

class CAmountField;
class CDateEditField;
class CPopupList;

class CBuySharesSheetController : public CPopupWindowAncestor {
    Q_OBJECT

public:
    explicit CBuySharesSheetController(QWidget* parent = nullptr);

    void initialize(const SheetParameters& parameters) override;
    bool checkContents() override;
    void dialogClosed(int returnCode, const SheetParameters& context) override;

    const ShareDealLogic& logic() const { return mLogic; }

public slots:
    // Computes the total; unless `always`, only for a share quoted at home.
    void calculateTotalValue(bool always = true);

private:
    ShareDealEntry readFields() const;

    ShareDealLogic mLogic;
    QGroupBox* groupBox;
    CDateEditField* mDate;
    CAmountField* nrOfShares;
    CAmountField* pricePaid;
    QLabel* shareCurrency;
    CAmountField* commissionPayed;
    QLabel* localCurrency1;
    CPopupList* commissionToAccount;
    QLabel* propertyAccountLabel;
    CPopupList* fromAccount;
    QLabel* totalLabel;
    CAmountField* totalPaid;
    QLabel* localCurrency2;
    QLineEdit* mDescription;
    QCheckBox* changeRate;
};

} // namespace ch

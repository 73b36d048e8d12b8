#pragma once
// The share sheet: the currency sheet's fields (a share is held like a
// currency whose rate is its price), its results, and the accounts and
// categories its deals and dividends are booked on. The account the share is
// held in is made with the share: it is shown, not chosen. A new share's
// dividends are proposed as the books' unspecified income.

#include "ui/sheets/CNewCurrencyController.h"

namespace ch {

class CNewShareController : public CNewCurrencyController {
    Q_OBJECT

public:
    explicit CNewShareController(QWidget* parent = nullptr);

protected:
    void fillPopups() override;
    void loadFields() override;
    void storeFields() override;

private:
    QLabel* bruttoResultField;
    QLabel* nettoResultField;
    CPopupList* portfolioAccountPopup;
    CPopupList* comissionPLAccountPopup;
    CPopupList* comissionReasonCodePopup;
    CPopupList* dividendSourceAccountPopup;
    CPopupList* dividendDestinationPLAccountPopup;
    CPopupList* dividendReasonCodePopup;
};

} // namespace ch

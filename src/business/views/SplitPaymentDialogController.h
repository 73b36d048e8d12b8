#pragma once
// The sheet that splits a payment in two: the amount split off, and the
// leftover that follows it.

#include "business/PaymentArguments.h"
#include "business/views/BusinessSheet.h"

class QLineEdit;

namespace ch {
class CAmountField;
} // namespace ch

namespace ch::business {

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

} // namespace ch::business

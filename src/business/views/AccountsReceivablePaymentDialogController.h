#pragma once
// The sheet of a payment without invoice: owner, name, reference, date,
// amount and the category it is booked on.

#include <memory>
#include <vector>

#include "business/PaymentArguments.h"
#include "business/views/BusinessSheet.h"

class QComboBox;
class QLineEdit;

namespace ch {
class CAmountField;
class CDateEditField;
} // namespace ch

namespace ch::business {

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

} // namespace ch::business

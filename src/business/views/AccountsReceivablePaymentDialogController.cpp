#include "business/views/AccountsReceivablePaymentDialogController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

#include "bridge/CAcoWItem.h"
#include "bridge/CPrfRItem.h"
#include "bridge/CTrnSItem.h"
#include "business/BusinessOfDocument.h"
#include "business/BusinessSheetChecks.h"
#include "business/GXInvoice.h"
#include "business/GXVATRate.h"
#include "business/InvoiceBooking.h"
#include "business/InvoiceNumbers.h"
#include "business/VATRates.h"
#include "business/views/BusinessSheetParts.h"
#include "document/MyDocument.h"
#include "model/CDocAccounting.h"
#include "model/CNamedListArray.h"
#include "model/foundation/CDate.h"
#include "platform/gui/localized_text.h"
#include "ui/controls/CAmountField.h"
#include "ui/controls/CDateEditField.h"
#include "ui/sheets/BookLists.h"
#include "ui/sheets/SheetForm.h"

namespace ch::business {

using namespace sheet_parts;

AccountsReceivablePaymentDialogController::AccountsReceivablePaymentDialogController(QWidget* parent)
    : BusinessSheet(parent)
{
    setObjectName(QStringLiteral("AccountsReceivablePayment"));
    setWindowTitle(localizedText("PAYMENTSHEETTITLE"));
    auto* form = makeSheetForm();
    customerPopup = addSheetRow(form, "FIELDOWNER", makeCombo(this, true), "customerPopup");
    paymentNameField = addSheetRow(form, "FIELDNAME", new QLineEdit(this), "paymentNameField");
    paymentReferenceField = addSheetRow(form, "FIELDPAYMENTREFERENCE", new QLineEdit(this), "paymentReferenceField");
    paymentDateField = addSheetRow(form, "FIELDDATE", new CDateEditField(this), "paymentDateField");
    paymentAmountField = addSheetRow(form, "FIELDAMOUNT", new CAmountField(this), "paymentAmountField");
    paymentCategoryPopup = addSheetRow(form, "FIELDCATEGORY", makeCombo(this, false), "paymentCategoryPopup");
    paymentNameField->setMinimumWidth(280);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(makeButtonRow());
}

void AccountsReceivablePaymentDialogController::initializeFor(const BusinessSheetContext& context)
{
    mContext = context;
    MyDocument& document = *context.document;
    mOwners = ownersFor(document, context.customer);
    fillOwners(customerPopup, mOwners, context.owner);
    paymentDateField->setDateT(CDate::GetNowAsDateT());
    paymentNameField->clear();
    paymentReferenceField->clear();
    paymentAmountField->setValue(std::nullopt);

    fillPaymentCategories(paymentCategoryPopup, document, context.customer, context.owner);
    paymentCategoryPopup->setEnabled(true);
}

std::shared_ptr<CAcoWItem> AccountsReceivablePaymentDialogController::chosenOwner() const
{
    return ownerOf(customerPopup, mOwners);
}

bool AccountsReceivablePaymentDialogController::checkContents()
{
    PaymentSheetValues values;
    values.name = paymentNameField->text().trimmed().toStdString();
    values.hasOwner = chosenOwner() != nullptr;
    values.amount = paymentAmountField->value().value_or(0);
    values.date = paymentDateField->getDateT();
    values.hasCategory = paymentCategoryPopup->currentData().isValid();
    return !refuse(checkPaymentSheet(values));
}

arguments::PaymentArguments AccountsReceivablePaymentDialogController::returnArguments() const
{
    arguments::PaymentArguments values;
    values.paymentName = paymentNameField->text().toStdString();
    values.paymentReference = paymentReferenceField->text().toStdString();
    values.paymentDate = paymentDateField->getDateT();
    values.paymentAmount = paymentAmountField->value().value_or(0);
    if (paymentCategoryPopup->currentData().isValid())
        values.paymentCategoryId = long(paymentCategoryPopup->currentData().toLongLong());
    if (const auto owner = chosenOwner(); owner && owner->getId()) values.thirdPartyId = long(*owner->getId());
    values.paymentOwnerType = mContext.customer ? arguments::kOwnerTypeCustomer : arguments::kOwnerTypeSupplier;
    return values;
}

} // namespace ch::business

#include "business/views/SplitPaymentDialogController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
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

SplitPaymentDialogController::SplitPaymentDialogController(QWidget* parent) : BusinessSheet(parent)
{
    setObjectName(QStringLiteral("SplitPaymentDialog"));
    setWindowTitle(localizedText("SPLITSHEETTITLE"));
    auto* form = makeSheetForm();
    paymentNameField = addSheetRow(form, "FIELDNAME", new QLineEdit(this), "paymentNameField");
    originalAmountField = addSheetRow(form, "FIELDORIGINALAMOUNT", makeReadOnly(this), "originalAmountField");
    currencyField = addSheetRow(form, "FIELDCURRENCY", makeReadOnly(this), "currencyField");
    splitAmountField = addSheetRow(form, "FIELDSPLITAMOUNT", new CAmountField(this), "splitAmountField");
    leftoverAmountField = addSheetRow(form, "FIELDLEFTOVERAMOUNT", makeReadOnly(this), "leftoverAmountField");
    // The amount typed is the one that stays: say so, and where the rest goes.
    auto* hint = new QLabel(localizedText("SPLITSHEETHINT"), this);
    hint->setObjectName(QStringLiteral("splitHint"));
    hint->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(hint);
    layout->addLayout(makeButtonRow());
    connect(splitAmountField, &QLineEdit::editingFinished, this, [this] { splitAmountEdited(); });
}

void SplitPaymentDialogController::initializeFor(const BusinessSheetContext& context)
{
    mContext = context;
    mOriginal = context.objectToModify ? context.objectToModify->mTotalAmount().value_or(0) : 0;
    originalAmountField->setText(money(mOriginal));
    currencyField->setText(context.objectToModify ? qs(context.objectToModify->mCurrencyName()) : QString());
    splitAmountField->setValue(0.0);
    leftoverAmountField->setText(money(mOriginal));
    paymentNameField->setText(context.objectToModify ? qs(context.objectToModify->getName()) : QString());
}

void SplitPaymentDialogController::splitAmountEdited()
{
    leftoverAmountField->setText(money(mOriginal - splitAmountField->value().value_or(0)));
}

bool SplitPaymentDialogController::checkContents()
{
    splitAmountEdited();
    return !refuse(checkSplitAmount(splitAmountField->value(), mOriginal));
}

arguments::SplitPaymentArguments SplitPaymentDialogController::returnArguments() const
{
    arguments::SplitPaymentArguments values;
    values.paymentName = paymentNameField->text().toStdString();
    values.originalAmount = mOriginal;
    values.splitAmount = splitAmountField->value().value_or(0);
    values.leftOverAmount = mOriginal - values.splitAmount.value_or(0);
    values.ownerType = mContext.customer ? arguments::kOwnerTypeCustomer : arguments::kOwnerTypeSupplier;
    return values;
}

} // namespace ch::business

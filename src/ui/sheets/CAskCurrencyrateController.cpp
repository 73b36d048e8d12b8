#include "ui/sheets/CAskCurrencyrateController.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <cmath>

#include "bridge/CCurRItem.h"
#include "document/arguments/CurrencyArguments.h"
#include "model/foundation/CErrorManager.h"
#include "platform/gui/localized_text.h"
#include "ui/controls/CAmountField.h"
#include "ui/controls/CDateEditField.h"
#include "ui/sheets/CommandSink.h"
#include "ui/sheets/SheetDocument.h"
#include "ui/sheets/SheetForm.h"

namespace ch {

CAskCurrencyrateController::CAskCurrencyrateController(QWidget* parent) : CPopupWindowAncestor(parent)
{
    setObjectName(QStringLiteral("newCurrencyRate"));
    setWindowTitle(localizedText("RATESHEETTITLE"));
    auto* form = makeSheetForm();
    auto* rate = new QWidget(this);
    auto* row = new QHBoxLayout(rate);
    row->setContentsMargins(0, 0, 0, 0);
    quantityField = new CAmountField(rate);
    quantityField->setObjectName(QStringLiteral("quantityField"));
    quantityField->setMaximumWidth(80);
    shortNameField = new QLabel(rate);
    shortNameField->setObjectName(QStringLiteral("shortNameField"));
    amountField = new CAmountField(rate);
    amountField->setObjectName(QStringLiteral("amountField"));
    amountField->setMinimumWidth(110);
    baseShortNameField = new QLabel(rate);
    baseShortNameField->setObjectName(QStringLiteral("baseShortNameField"));
    row->addWidget(quantityField);
    row->addWidget(shortNameField);
    row->addWidget(new QLabel(QStringLiteral("="), rate));
    row->addWidget(amountField, 1);
    row->addWidget(baseShortNameField);
    form->addRow(localizedText("FIELDFACTOR"), rate);
    dateField = addSheetRow(form, "FIELDVALIDFROM", new CDateEditField(this), "dateField");
    dateField->setMaximumWidth(140);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->addLayout(form);
    layout->addSpacing(8);
    layout->addLayout(makeButtonRow(5));
}

void CAskCurrencyrateController::initialize(const SheetParameters& parameters)
{
    CPopupWindowAncestor::initialize(parameters);
    quantityField->setValue(parameters.real(rate_sheet_key::kConversionQuantity));
    amountField->setValue(parameters.real(rate_sheet_key::kConversionFactor));
    shortNameField->setText(QString::fromStdString(parameters.text(rate_sheet_key::kShortName).value_or("")));
    baseShortNameField->setText(QString::fromStdString(parameters.text(rate_sheet_key::kBaseShortName).value_or("")));
    dateField->setToday();
    quantityField->setFocus(Qt::OtherFocusReason);
}

bool CAskCurrencyrateController::checkContents()
{
    const std::optional<double> quantity = quantityField->value();
    if (!quantity || std::floor(*quantity) <= 0) {
        CErrorManager::RaiseError(215);
        return false;
    }
    const std::optional<double> factor = amountField->value();
    if (!factor || *factor <= 0.0) {
        CErrorManager::RaiseError(216);
        return false;
    }
    // A rate valid from a date no one can read would apply from the beginning of time.
    if (dateField->getDateT() == 0) {
        CErrorManager::RaiseError(217);
        return false;
    }
    mAcceptedQuantity = static_cast<long>(std::floor(*quantity));
    mAcceptedFactor = *factor;
    mAcceptedDate = dateField->getDateT();
    return true;
}

void CAskCurrencyrateController::dialogClosed(int returnCode, const SheetParameters& context)
{
    SheetDocument* document = context.document();
    if (returnCode <= 0 || !document || !mCurrency)
        return;
    arguments::CurrencyRateParameters rate;
    rate.quantity = mAcceptedQuantity;
    rate.factor = mAcceptedFactor;
    rate.dateStart = mAcceptedDate;
    document->commands().executeCommand(command::kChangeRate, mCurrency, &rate);
}

} // namespace ch

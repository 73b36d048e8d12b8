#include "ui/sheets/CNewExpenseTypeController.h"

#include <QLabel>
#include <QVBoxLayout>

#include "bridge/CExpTItem.h"
#include "platform/gui/localized_text.h"
#include "ui/controls/CAmountField.h"
#include "ui/controls/CNumericTransformer.h"
#include "ui/controls/CPopupList.h"
#include "ui/controls/CTextField.h"
#include "ui/sheets/BookLists.h"
#include "ui/sheets/SheetDocument.h"
#include "ui/sheets/SheetForm.h"

namespace ch {

CNewExpenseTypeController::CNewExpenseTypeController(QWidget* parent) : CPopupWindowAncestor(parent)
{
    setObjectName(QStringLiteral("newExpenseType"));
    setWindowTitle(localizedText("CATEGORYSHEETTITLE"));
    auto* form = makeSheetForm();
    idField = addSheetRow(form, "FIELDID", makeValueLabel(this), "idField");
    nameField = addSheetRow(form, "FIELDNAME", new CTextField(this, 34), "nameField");
    masterTypeField = addSheetRow(form, "FIELDCATEGORYGROUP", new CPopupList(this), "masterTypeField");
    descriptionField = addSheetRow(form, "FIELDDESCRIPTION", new CTextField(this, 254), "descriptionField");
    taxDeductiblePctField = addSheetRow(form, "FIELDTAXDEDUCTIBLE", new CAmountField(this), "taxDeductiblePctField");
    balanceField = addSheetRow(form, "FIELDBALANCE", makeValueLabel(this), "balanceField");
    nameField->setMinimumWidth(260);
    watchPopup(masterTypeField);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->addLayout(form);
    layout->addSpacing(8);
    layout->addLayout(makeButtonRow(1));
}

void CNewExpenseTypeController::initialize(const SheetParameters& parameters)
{
    CPopupWindowAncestor::initialize(parameters);
    mLogic.initialize(parameters);
    if (!mLogic.document())
        return;
    masterTypeField->setArray(book_lists::categoryGroups(mLogic.document()->books()));
    const CExpTItem& item = *mLogic.temporaryItem();
    idField->setText(item.getId() ? QString::number(*item.getId()) : QString());
    nameField->setText(QString::fromStdString(item.getName()));
    descriptionField->setText(QString::fromStdString(item.description()));
    taxDeductiblePctField->setValue(item.getTaxDeductiblePct());
    balanceField->setText(
        QString::fromStdString(CNumericTransformer().stringForObjectValue(item.getBalance().value_or(0.0))));
    masterTypeField->clearValue();
    if (item.getMasterExpenseTypeId())
        masterTypeField->setId(*item.getMasterExpenseTypeId());
    masterTypeField->setEnabled(mLogic.itemToModify() || item.askMasterType());
    nameField->setFocus(Qt::OtherFocusReason);
}

bool CNewExpenseTypeController::checkContents()
{
    if (!mLogic.temporaryItem())
        return false;
    CExpTItem& item = *mLogic.temporaryItem();
    item.setGetName(nameField->text().toStdString());
    item.setDescription(descriptionField->text().toStdString());
    item.setTaxDeductiblePct(taxDeductiblePctField->value());
    if (masterTypeField->isEnabled())
        item.setMasterExpenseTypeId(masterTypeField->objectValue());
    return mLogic.checkContents();
}

void CNewExpenseTypeController::dialogClosed(int returnCode, const SheetParameters& context)
{
    mLogic.dialogClosed(returnCode, context);
}

} // namespace ch

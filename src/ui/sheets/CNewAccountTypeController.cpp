#include "ui/sheets/CNewAccountTypeController.h"

#include <QLabel>
#include <QVBoxLayout>

#include "bridge/CAccTItem.h"
#include "platform/gui/localized_text.h"
#include "ui/controls/CNumericTransformer.h"
#include "ui/controls/CPopupList.h"
#include "ui/controls/CTextField.h"
#include "ui/sheets/BookLists.h"
#include "ui/sheets/SheetDocument.h"
#include "ui/sheets/SheetForm.h"

namespace ch {

CNewAccountTypeController::CNewAccountTypeController(QWidget* parent) : CPopupWindowAncestor(parent)
{
    setObjectName(QStringLiteral("newAccountType"));
    setWindowTitle(localizedText("ACCOUNTTYPESHEETTITLE"));
    auto* form = makeSheetForm();
    idField = addSheetRow(form, "FIELDID", makeValueLabel(this), "idField");
    nameField = addSheetRow(form, "FIELDNAME", new CTextField(this, 34), "nameField");
    masterTypePopup = addSheetRow(form, "FIELDMASTERACCOUNTTYPE", new CPopupList(this), "masterTypePopup");
    classifiactionNumber = addSheetRow(form, "FIELDACCOUNTINGNR", new CTextField(this, 34), "classifiactionNumber");
    descriptionField = addSheetRow(form, "FIELDDESCRIPTION", new CTextField(this, 254), "descriptionField");
    localBalance = addSheetRow(form, "FIELDBALANCE", makeValueLabel(this), "localBalance");
    nameField->setMinimumWidth(260);
    masterTypePopup->setEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->addLayout(form);
    layout->addSpacing(8);
    layout->addLayout(makeButtonRow(2));
}

void CNewAccountTypeController::initialize(const SheetParameters& parameters)
{
    CPopupWindowAncestor::initialize(parameters);
    mLogic.initialize(parameters);
    if (!mLogic.document())
        return;
    masterTypePopup->setArray(book_lists::accountTypes(mLogic.document()->books()));
    const CAccTItem& item = *mLogic.temporaryItem();
    idField->setText(item.getId() ? QString::number(*item.getId()) : QString());
    nameField->setText(QString::fromStdString(item.getNameOnly()));
    classifiactionNumber->setText(QString::fromStdString(item.getAccountNumber()));
    descriptionField->setText(QString::fromStdString(item.getDescription()));
    masterTypePopup->clearValue();
    if (item.getMasterType())
        masterTypePopup->setId(*item.getMasterType());
    localBalance->setText(mLogic.itemToModify() ? QString::fromStdString(CNumericTransformer().stringForObjectValue(
                                                      item.getBalance().value_or(0.0)))
                                                : QString());
    nameField->setFocus(Qt::OtherFocusReason);
}

bool CNewAccountTypeController::checkContents()
{
    if (!mLogic.temporaryItem())
        return false;
    CAccTItem& item = *mLogic.temporaryItem();
    item.setGetNameOnly(nameField->text().toStdString());
    item.setGetAccountNumber(classifiactionNumber->text().toStdString());
    item.setGetDescription(descriptionField->text().toStdString());
    return mLogic.checkContents();
}

void CNewAccountTypeController::dialogClosed(int returnCode, const SheetParameters& context)
{
    mLogic.dialogClosed(returnCode, context);
}

} // namespace ch

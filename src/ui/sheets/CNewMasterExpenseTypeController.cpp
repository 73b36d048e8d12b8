#include "ui/sheets/CNewMasterExpenseTypeController.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "bridge/CMxpTItem.h"
#include "platform/gui/localized_text.h"
#include "ui/controls/CNumericTransformer.h"
#include "ui/controls/CPopupList.h"
#include "ui/controls/CTextField.h"
#include "ui/sheets/BookLists.h"
#include "ui/sheets/SheetDocument.h"
#include "ui/sheets/SheetForm.h"

namespace ch {

CNewMasterExpenseTypeController::CNewMasterExpenseTypeController(QWidget* parent) : CPopupWindowAncestor(parent)
{
    setObjectName(QStringLiteral("newMasterExpenseType"));
    setWindowTitle(localizedText("CATEGORYGROUPSHEETTITLE"));
    auto* form = makeSheetForm();
    idField = addSheetRow(form, "FIELDID", makeValueLabel(this), "idField");
    nameField = addSheetRow(form, "FIELDNAME", new CTextField(this, 34), "nameField");
    auto* kinds = new QWidget(this);
    kinds->setObjectName(QStringLiteral("masterTypeField"));
    auto* kindRow = new QHBoxLayout(kinds);
    kindRow->setContentsMargins(0, 0, 0, 0);
    masterTypeField = new QButtonGroup(this);
    const char* const kindKeys[] = {"SYSTEMTYPEINCOME", "SYSTEMTYPEEXPENSE", "SYSTEMTYPETRANSFER"};
    for (int kind = 0; kind < 3; ++kind) {
        auto* button = new QRadioButton(localizedText(kindKeys[kind]), kinds);
        button->setObjectName(QStringLiteral("systemType%1").arg(kind));
        masterTypeField->addButton(button, kind);
        kindRow->addWidget(button);
    }
    kindRow->addStretch(1);
    form->addRow(localizedText("FIELDSYSTEMTYPE"), kinds);
    parentTypeField = addSheetRow(form, "FIELDPARENTGROUP", new CPopupList(this), "parentTypeField");
    balanceField = addSheetRow(form, "FIELDBALANCE", makeValueLabel(this), "balanceField");
    nameField->setMinimumWidth(260);
    watchPopup(parentTypeField);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->addLayout(form);
    layout->addSpacing(8);
    layout->addLayout(makeButtonRow(1));
}

void CNewMasterExpenseTypeController::initialize(const SheetParameters& parameters)
{
    CPopupWindowAncestor::initialize(parameters);
    mLogic.initialize(parameters);
    if (!mLogic.document())
        return;
    parentTypeField->setArray(book_lists::categoryGroups(mLogic.document()->books()));
    const CMxpTItem& item = *mLogic.temporaryItem();
    idField->setText(item.getId() ? QString::number(*item.getId()) : QString());
    nameField->setText(QString::fromStdString(item.getName()));
    masterTypeField->setExclusive(false);
    for (QAbstractButton* button : masterTypeField->buttons())
        button->setChecked(false);
    masterTypeField->setExclusive(true);
    if (const auto kind = item.getMasterTypeAsObject(); kind && masterTypeField->button(*kind))
        masterTypeField->button(*kind)->setChecked(true);
    for (QAbstractButton* button : masterTypeField->buttons())
        button->setEnabled(mLogic.kindMayChange());
    parentTypeField->clearValue();
    if (const auto parent = item.mParentId())
        parentTypeField->setId(*parent);
    balanceField->setText(
        QString::fromStdString(CNumericTransformer().stringForObjectValue(item.getBalance().value_or(0.0))));
    nameField->setFocus(Qt::OtherFocusReason);
}

bool CNewMasterExpenseTypeController::checkContents()
{
    if (!mLogic.temporaryItem())
        return false;
    CMxpTItem& item = *mLogic.temporaryItem();
    item.setGetName(nameField->text().toStdString());
    const int kind = masterTypeField->checkedId();
    item.setMMasterType(kind >= 0 ? std::optional<int>(kind) : std::nullopt);
    item.setMParentId(parentTypeField->objectValue());
    return mLogic.checkContents();
}

void CNewMasterExpenseTypeController::dialogClosed(int returnCode, const SheetParameters& context)
{
    mLogic.dialogClosed(returnCode, context);
}

} // namespace ch

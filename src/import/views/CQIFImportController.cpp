#include "import/views/CQIFImportController.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "import/views/PeriodFormatControls.h"
#include "platform/gui/localized_text.h"
#include "ui/controls/CDateEditField.h"
#include "ui/controls/CPopupList.h"
#include "ui/sheets/BookLists.h"
#include "ui/sheets/SheetDocument.h"

namespace ch {

CQIFImportController::CQIFImportController(QWidget* parent) : CPopupWindowAncestor(parent)
{
    setObjectName(QStringLiteral("QIFImport"));
    setWindowTitle(localizedText("QIFIMPORTSHEETTITLE"));
    const PeriodFormatControls controls = makePeriodFormatControls(this);
    dateFromField = controls.from;
    dateToField = controls.to;
    exportFormatMatrix = controls.formats;
    limitingAccountPopup = new CPopupList(this);
    limitingAccountPopup->setObjectName(QStringLiteral("limitingAccountPopup"));
    exportFormatMatrix->button(2)->setChecked(true);
    auto* form = new QFormLayout;
    form->addRow(localizedText("EXPORTFROM"), dateFromField);
    form->addRow(localizedText("EXPORTTO"), dateToField);
    form->addRow(localizedText("QIFIMPORTACCOUNT"), limitingAccountPopup);
    form->addRow(localizedText("EXPORTFORMAT"), controls.formatLayout);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(makeButtonRow());
}

void CQIFImportController::initialize(const SheetParameters& parameters)
{
    CPopupWindowAncestor::initialize(parameters);
    fillPopups();
}

void CQIFImportController::fillPopups()
{
    SheetDocument* document = theDictionary().document();
    limitingAccountPopup->setArray(book_lists::accounts(document ? document->books() : nullptr));
}

} // namespace ch

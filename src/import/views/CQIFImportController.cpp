#include "import/views/CQIFImportController.h"

#include <QButtonGroup>
#include <QDateEdit>
#include <QFormLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/core/localized_strings.h"
#include "ui/controls/CPopupList.h"
#include "ui/sheets/BookLists.h"
#include "ui/sheets/SheetDocument.h"

namespace ch {

namespace {

QString text(const char* key)
{
    return QString::fromStdString(localized(key));
}

} // namespace

CQIFImportController::CQIFImportController(QWidget* parent) : CPopupWindowAncestor(parent)
{
    setObjectName(QStringLiteral("QIFImport"));
    setWindowTitle(text("QIFIMPORTSHEETTITLE"));
    dateFromField = new QDateEdit(this);
    dateFromField->setObjectName(QStringLiteral("dateFromField"));
    dateToField = new QDateEdit(this);
    dateToField->setObjectName(QStringLiteral("dateToField"));
    for (QDateEdit* field : {dateFromField, dateToField}) {
        field->setCalendarPopup(true);
        field->setMinimumDate(QDate(1900, 1, 1));
        field->setSpecialValueText(QStringLiteral(" "));
    }
    limitingAccountPopup = new CPopupList(this);
    limitingAccountPopup->setObjectName(QStringLiteral("limitingAccountPopup"));
    exportFormatMatrix = new QButtonGroup(this);
    exportFormatMatrix->setObjectName(QStringLiteral("exportFormatMatrix"));
    auto* formats = new QVBoxLayout;
    const char* const kFormats[] = {"EXPORTALLTEXT", "EXPORTACCOUNTTEXT", "EXPORTQIF"};
    for (int tag = 0; tag < 3; ++tag) {
        auto* choice = new QRadioButton(text(kFormats[tag]), this);
        exportFormatMatrix->addButton(choice, tag);
        formats->addWidget(choice);
    }
    exportFormatMatrix->button(2)->setChecked(true);
    auto* form = new QFormLayout;
    form->addRow(text("EXPORTFROM"), dateFromField);
    form->addRow(text("EXPORTTO"), dateToField);
    form->addRow(text("QIFIMPORTACCOUNT"), limitingAccountPopup);
    form->addRow(text("EXPORTFORMAT"), formats);
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

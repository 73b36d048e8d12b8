#include "import/views/PeriodFormatControls.h"

#include <QButtonGroup>
#include <QDateEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/core/localized_strings.h"

namespace ch {

PeriodFormatControls makePeriodFormatControls(QWidget* sheet)
{
    PeriodFormatControls controls;
    controls.from = new QDateEdit(sheet);
    controls.from->setObjectName(QStringLiteral("dateFromField"));
    controls.to = new QDateEdit(sheet);
    controls.to->setObjectName(QStringLiteral("dateToField"));
    for (QDateEdit* field : {controls.from, controls.to}) {
        field->setCalendarPopup(true);
        field->setMinimumDate(QDate(1900, 1, 1));
        field->setSpecialValueText(QStringLiteral(" "));
    }
    controls.formats = new QButtonGroup(sheet);
    controls.formats->setObjectName(QStringLiteral("exportFormatMatrix"));
    controls.formatLayout = new QVBoxLayout;
    const char* const kFormats[] = {"EXPORTALLTEXT", "EXPORTACCOUNTTEXT", "EXPORTQIF"};
    for (int tag = 0; tag < 3; ++tag) {
        auto* choice = new QRadioButton(QString::fromStdString(localized(kFormats[tag])), sheet);
        controls.formats->addButton(choice, tag);
        controls.formatLayout->addWidget(choice);
    }
    return controls;
}

} // namespace ch

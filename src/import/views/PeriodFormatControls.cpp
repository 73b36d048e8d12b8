#include "import/views/PeriodFormatControls.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/gui/localized_text.h"
#include "ui/controls/CDateEditField.h"

namespace ch {

PeriodFormatControls makePeriodFormatControls(QWidget* sheet)
{
    PeriodFormatControls controls;
    controls.from = new CDateEditField(sheet);
    controls.from->setObjectName(QStringLiteral("dateFromField"));
    controls.to = new CDateEditField(sheet);
    controls.to->setObjectName(QStringLiteral("dateToField"));
    controls.formats = new QButtonGroup(sheet);
    controls.formats->setObjectName(QStringLiteral("exportFormatMatrix"));
    controls.formatLayout = new QVBoxLayout;
    const char* const kFormats[] = {"EXPORTALLTEXT", "EXPORTACCOUNTTEXT", "EXPORTQIF"};
    for (int tag = 0; tag < 3; ++tag) {
        auto* choice = new QRadioButton(localizedText(kFormats[tag]), sheet);
        controls.formats->addButton(choice, tag);
        controls.formatLayout->addWidget(choice);
    }
    return controls;
}

} // namespace ch

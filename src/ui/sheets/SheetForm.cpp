#include "ui/sheets/SheetForm.h"

#include <QLabel>

#include "platform/core/localized_strings.h"

namespace ch {

QString sheetText(const char* key)
{
    return QString::fromStdString(localized(key));
}

QFormLayout* makeSheetForm()
{
    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setHorizontalSpacing(10);
    form->setVerticalSpacing(6);
    return form;
}

QLabel* makeValueLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace ch

#include "ui/sheets/SheetForm.h"

#include <QHBoxLayout>
#include <QLabel>

#include <algorithm>

#include "platform/core/localized_strings.h"
#include "ui/controls/CAmountField.h"

namespace ch {

QFormLayout* makeSheetForm()
{
    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setHorizontalSpacing(10);
    form->setVerticalSpacing(6);
    return form;
}

void alignFormLabels(std::initializer_list<QFormLayout*> forms)
{
    int widest = 0;
    for (QFormLayout* form : forms)
        for (int row = 0; row < form->rowCount(); ++row)
            if (QLayoutItem* item = form->itemAt(row, QFormLayout::LabelRole); item && item->widget())
                widest = std::max(widest, item->widget()->sizeHint().width());
    for (QFormLayout* form : forms)
        for (int row = 0; row < form->rowCount(); ++row)
            if (QLayoutItem* item = form->itemAt(row, QFormLayout::LabelRole); item && item->widget()) {
                item->widget()->setMinimumWidth(widest);
                if (auto* label = qobject_cast<QLabel*>(item->widget()))
                    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
}

QWidget* makeAmountWithCurrency(QWidget* parent, CAmountField* amount, QLabel* currency)
{
    auto* pair = new QWidget(parent);
    auto* row = new QHBoxLayout(pair);
    row->setContentsMargins(0, 0, 0, 0);
    amount->setParent(pair);
    currency->setParent(pair);
    currency->setMinimumWidth(40);
    row->addWidget(amount, 1);
    row->addWidget(currency);
    return pair;
}

QLabel* makeValueLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace ch

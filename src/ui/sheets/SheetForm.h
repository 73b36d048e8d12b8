#pragma once
// Building blocks of the sheets' layouts: a form of right-aligned labels and
// fields, and fields named after their outlets (tests and the review
// program find them by that name).

#include <QFormLayout>
#include <QString>

#include <initializer_list>

#include "platform/gui/localized_text.h"

class QLabel;
class QWidget;

namespace ch {

class CAmountField;

// A form whose labels are right-aligned and whose fields grow.
QFormLayout* makeSheetForm();
// Adds a labelled row; the field gets the outlet name.
template <class Field>
Field* addSheetRow(QFormLayout* form, const char* labelKey, Field* field, const char* outletName)
{
    field->setObjectName(QString::fromLatin1(outletName));
    form->addRow(localizedText(labelKey), field);
    return field;
}
// Gives the label columns of the forms one width, so that forms stacked
// above each other line up.
void alignFormLabels(std::initializer_list<QFormLayout*> forms);
// An amount field with the label of its currency beside it, as one field
// of a form; both are moved into the pair returned.
QWidget* makeAmountWithCurrency(QWidget* parent, CAmountField* amount, QLabel* currency);
// A read-only text in place of a field.
QLabel* makeValueLabel(QWidget* parent);

} // namespace ch

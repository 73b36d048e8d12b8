#include "ui/controls/CAmountField.h"

#include <QFocusEvent>
#include <QTimer>

#include "platform/core/alerts.h"
#include "platform/core/localized_strings.h"

namespace ch {

CAmountField::CAmountField(QWidget* parent) : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight);
}

void CAmountField::setValue(std::optional<double> value)
{
    mValue = value;
    setText(value ? QString::fromStdString(CNumericTransformer().stringForObjectValue(*value)) : QString());
}

bool CAmountField::endEditing()
{
    const CNumericTransformer transformer;
    const CNumericTransformer::Conversion conversion = transformer.getObjectValue(text().toStdString());
    if (!conversion.ok) {
        Alert alert;
        alert.title = localized("ERROR");
        alert.message = conversion.errorDescription;
        alert.defaultButton = localized("OK");
        alertPresenter().showError(alert);
        setFocus(Qt::OtherFocusReason);
        return false;
    }
    const bool changed = conversion.value != mValue;
    setValue(conversion.value);
    if (changed)
        emit valueChanged();
    return true;
}

void CAmountField::focusOutEvent(QFocusEvent* event)
{
    // Moving on with the keyboard ends editing at once, before the field
    // announces the end of editing, so that those listening read the typed
    // value; a refusal takes the focus back once the move is over.
    const bool keyboard = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    const bool accepted = !keyboard || endEditing();
    QLineEdit::focusOutEvent(event);
    if (!accepted) QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
}

} // namespace ch

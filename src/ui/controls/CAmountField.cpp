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
    take(conversion.value, true);
    return true;
}

void CAmountField::take(std::optional<double> value, bool showFormatted)
{
    const bool changed = value != mValue;
    if (showFormatted)
        setValue(value);
    else
        mValue = value;
    if (changed)
        emit valueChanged();
}

void CAmountField::focusOutEvent(QFocusEvent* event)
{
    // Editing ends before the field announces the end of editing, so that
    // those listening read the typed value. With the keyboard a refusal takes
    // the focus back once the move is over; otherwise only readable text is
    // taken (see the header).
    const Qt::FocusReason reason = event->reason();
    const bool keyboard = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason;
    bool accepted = true;
    if (keyboard) {
        accepted = endEditing();
    } else if (isModified()) {
        // Text the user did not touch keeps the value it shows (which may
        // hold more decimals than shown).
        if (const auto conversion = CNumericTransformer().getObjectValue(text().toStdString()); conversion.ok) {
            const bool stillInField = reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;
            take(conversion.value, !stillInField);
        }
    }
    QLineEdit::focusOutEvent(event);
    if (!accepted) QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
}

} // namespace ch

#pragma once
// An amount field: shows its amount with the application's decimals and the
// user's separators, and reads typed text (arithmetic included) through
// CNumericTransformer when editing ends. Text that does not convert (or
// lies beyond the amount limit) is refused with the transformer's alert; the
// field keeps it and the focus.
//
// Editing ends whenever the focus leaves, so that the value is what the field
// shows: a keyboard move (Tab, Backtab) takes the text or refuses it at
// once; any other loss of focus (a click elsewhere, another window, a
// pop-up) takes readable text without a word and leaves unreadable text for
// the sheet's OK or Book (endEditing) to refuse, so that no alert breaks
// into a click. A pop-up or another window leaves the text as typed (the
// user is still in the field); other moves show the value formatted.

#include <optional>

#include <QLineEdit>

#include "ui/controls/CNumericTransformer.h"
#include "ui/controls/EditingField.h"

namespace ch {

class CAmountField : public QLineEdit, public EditingField {
    Q_OBJECT

public:
    explicit CAmountField(QWidget* parent = nullptr);

    // The amount of the text as last accepted; none for an empty field.
    std::optional<double> value() const { return mValue; }
    void setValue(std::optional<double> value);

    bool endEditing() override;

signals:
    void valueChanged();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void take(std::optional<double> value, bool showFormatted);

    std::optional<double> mValue;
};

} // namespace ch

#pragma once
// An amount field: shows its amount with the application's decimals and the
// user's separators, and reads typed text (arithmetic included) through
// CNumericTransformer when editing ends. Text that does not convert is
// refused with the "CONVFL" alert; the field keeps it and the focus.

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
    std::optional<double> mValue;
};

} // namespace ch

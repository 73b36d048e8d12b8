#pragma once
// A date field: its value is a date number (yyyymmdd), shown in the user's
// short date format. Typed text is read in the user's date order, else in
// any form the statement readers accept, and shown again in the short
// format when editing ends. Text that reads as no date is refused with
// error 151; the field keeps it and the focus.

#include <QLineEdit>

#include "model/foundation/ModelTypes.h"
#include "ui/controls/EditingField.h"

namespace ch {

class CDateEditField : public QLineEdit, public EditingField {
    Q_OBJECT

public:
    explicit CDateEditField(QWidget* parent = nullptr);

    void setToday();
    // The date of the text; 0 when it reads as none (or is empty).
    DateT getDateT() const;
    // False when the date gives no text.
    bool setDateT(DateT date);
    // A number from 19641210 up is shown as a date, a smaller one as digits.
    void setObjectValue(long number);

    bool endEditing() override;

protected:
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace ch

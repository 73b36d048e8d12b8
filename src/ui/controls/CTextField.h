#pragma once
// A text field with a maximum length: its tag (1 to 254) is the number of
// characters it takes; a longer text is refused with the "MAXLENGTH"
// information alert naming the maximum and the typed length. Tag 0, and 255
// or more, set no maximum.

#include <QLineEdit>

#include "ui/controls/EditingField.h"

namespace ch {

class CTextField : public QLineEdit, public EditingField {
    Q_OBJECT

public:
    explicit CTextField(QWidget* parent = nullptr, int tag = 0);

    int tag() const { return mTag; }
    void setTag(int tag) { mTag = tag; }

    bool endEditing() override;

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    int mTag = 0;
};

// The rule itself: whether text of the length passes a field with the tag.
bool fitsMaximumLength(int tag, qsizetype length);

} // namespace ch

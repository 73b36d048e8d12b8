#pragma once
// A field that may refuse to end editing: the sheet asks every such field
// before it validates, and a field that refuses keeps the focus and the
// user's text (it has told the user why). A sheet that is cancelled or ends
// otherwise lets its fields drop what is still being edited.

namespace ch {

class EditingField {
public:
    virtual ~EditingField() = default;
    // True when the field's text is acceptable (and its value taken).
    virtual bool endEditing() = 0;
    // Editing still open ends without its text being taken.
    virtual void discardEditing() {}
};

} // namespace ch

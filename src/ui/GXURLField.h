#pragma once
// A text field that opens a web address when clicked: the address is its
// placeholder text. The click does not reach the field.

#include <QLineEdit>

namespace ch {

class GXURLField : public QLineEdit {
    Q_OBJECT

public:
    explicit GXURLField(const QString& address, QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace ch

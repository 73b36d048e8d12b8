#include "ui/GXURLField.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

namespace ch {

GXURLField::GXURLField(const QString& address, QWidget* parent) : QLineEdit(parent)
{
    setPlaceholderText(address);
    setReadOnly(true);
    setFrame(false);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void GXURLField::mousePressEvent(QMouseEvent* event)
{
    QDesktopServices::openUrl(QUrl(placeholderText()));
    event->accept();
}

} // namespace ch

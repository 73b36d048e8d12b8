#include "ui/GXBorderedView.h"

#include <QPainter>

namespace ch {

GXBorderedView::GXBorderedView(QWidget* parent) : QWidget(parent) {}

QColor GXBorderedView::lineColour()
{
    return QColor(0xC8, 0xC8, 0xC8);
}

void GXBorderedView::setBorderAbove(bool above, bool below, bool left, bool right)
{
    mTopLine = above;
    mBottomLine = below;
    mLeftLine = left;
    mRightLine = right;
    update();
}

void GXBorderedView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(lineColour());
    const QRect frame = rect();
    // Right, left, top, bottom, each inside the view's own pixels.
    if (mRightLine) painter.drawLine(frame.topRight(), frame.bottomRight());
    if (mLeftLine) painter.drawLine(frame.topLeft(), frame.bottomLeft());
    if (mTopLine) painter.drawLine(frame.topLeft(), frame.topRight());
    if (mBottomLine) painter.drawLine(frame.bottomLeft(), frame.bottomRight());
}

} // namespace ch

#include "ui/SplitViewStyles.h"

#include <QPainter>

#include "ui/GXGradient.h"
#include "ui/GXGradientPainting.h"

namespace ch {

CQVLSplitView::CQVLSplitView(bool vertical, QWidget* parent) : GXSplitView(vertical, parent)
{
    setHandleWidth(0);
}

void CQVLSplitView::drawDividerInRect(QPainter&, const QRect&) {}

CHorizontalTexturedQVLSplitView::CHorizontalTexturedQVLSplitView(bool vertical, QWidget* parent)
    : GXSplitView(vertical, parent)
{
    setHandleWidth(kDividerThickness);
}

double dimpleLeft(double dividerWidth, double dimpleWidth)
{
    return (dividerWidth - dimpleWidth) / 2.0;
}

void CHorizontalTexturedQVLSplitView::drawDividerInRect(QPainter& painter, const QRect& rect)
{
    // The bar: light shading across the divider, edged at both sides.
    const double angle = isVertical() ? 0.0 : 90.0;
    fillRect(painter, GXGradient::unifiedSelectedGradient(), rect, angle);
    painter.setPen(QColor(0xB4, 0xB4, 0xB4));
    if (isVertical()) {
        painter.drawLine(rect.topLeft(), rect.bottomLeft());
        painter.drawLine(rect.topRight(), rect.bottomRight());
    } else {
        painter.drawLine(rect.topLeft(), rect.topRight());
        painter.drawLine(rect.bottomLeft(), rect.bottomRight());
    }
    // The dimple: a few grooves, centred along the divider.
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = QRectF(rect).center();
    for (int i = -1; i <= 1; ++i) {
        QPointF dot = isVertical() ? QPointF(centre.x(), centre.y() + i * 4.0)
                                   : QPointF(dimpleLeft(rect.width(), kDimpleWidth) + kDimpleWidth / 2.0 + i * 4.0,
                                             centre.y());
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x8C, 0x8C, 0x8C));
        painter.drawEllipse(dot, 1.3, 1.3);
        painter.setBrush(QColor(0xFF, 0xFF, 0xFF, 0xB0));
        painter.drawEllipse(dot + QPointF(0.0, 1.0), 1.0, 1.0);
    }
}

} // namespace ch

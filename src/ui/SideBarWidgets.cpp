#include "ui/SideBarWidgets.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QPixmap>

#include "ui/GXBorderedView.h"
#include "ui/GXGradient.h"
#include "ui/GXGradientPainting.h"

namespace ch {

GXMenuButton::GXMenuButton(QWidget* parent) : QToolButton(parent)
{
    setPopupMode(QToolButton::InstantPopup);
}

void GXMenuButton::contextMenuEvent(QContextMenuEvent* event)
{
    if (menu()) menu()->popup(event->globalPos());
    event->accept();
}

CSideBarBottom::CSideBarBottom(QWidget* parent) : QWidget(parent) {}

void CSideBarBottom::paintEvent(QPaintEvent*)
{
    // The strip's pattern: a one-point column of light shading, tiled from
    // the strip's top-left corner so that it lines up wherever it lies.
    static const QPixmap pattern = [] {
        QPixmap column(1, 24);
        column.fill(Qt::transparent);
        QPainter painter(&column);
        fillRect(painter, GXGradient::unifiedSelectedGradient(), QRectF(0, 0, 1, 24), 90.0);
        return column;
    }();
    QPainter painter(this);
    const QPixmap stretched = pattern.scaled(1, height());
    painter.setBrushOrigin(0, 0);
    painter.fillRect(rect(), QBrush(stretched));
    painter.setPen(GXBorderedView::lineColour());
    painter.drawLine(rect().topLeft(), rect().topRight());
    painter.drawLine(rect().topRight(), rect().bottomRight());
}

} // namespace ch

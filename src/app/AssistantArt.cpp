#include "app/AssistantArt.h"

#include <QPainter>
#include <QPainterPath>

#include "document/app/AssistantResources.h"

namespace ch {

namespace {

const QColor kBlue(52, 110, 200);
const QColor kGreen(46, 150, 80);
const QColor kRed(200, 60, 50);
const QColor kGold(226, 178, 52);
const QColor kInk(70, 70, 80);

// Painting happens on a 48-unit square scaled to the wanted size.
struct Canvas {
    explicit Canvas(int size) : pixmap(size, size)
    {
        pixmap.fill(Qt::transparent);
        painter.begin(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 48.0, size / 48.0);
    }
    QPixmap done()
    {
        painter.end();
        return pixmap;
    }
    QPixmap pixmap;
    QPainter painter;
};

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour, double width = 5)
{
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QLineF line(from, to);
    QLineF head(to, from);
    head.setLength(width * 2.2);
    p.drawLine(from, head.p2());
    QLineF left = head, right = head;
    left.setAngle(head.angle() + 35);
    right.setAngle(head.angle() - 35);
    QPainterPath tip;
    tip.moveTo(to);
    tip.lineTo(left.p2());
    tip.lineTo(right.p2());
    tip.closeSubpath();
    p.setPen(QPen(colour, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(colour);
    p.drawPath(tip);
}

void sheet(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(QColor(250, 250, 246));
    p.drawRoundedRect(r, 3, 3);
    p.setPen(QPen(QColor(170, 170, 185), 1.5));
    for (double y = r.top() + 8; y < r.bottom() - 4; y += 6) p.drawLine(QPointF(r.left() + 5, y), QPointF(r.right() - 5, y));
}

void tray(QPainter& p)
{
    p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(6, 30);
    path.lineTo(6, 42);
    path.lineTo(42, 42);
    path.lineTo(42, 30);
    p.drawPath(path);
}

void coins(QPainter& p)
{
    for (int i = 0; i < 3; ++i) {
        const QRectF coin(8 + i * 5, 26 - i * 9, 30, 14);
        p.setPen(QPen(QColor(150, 110, 20), 1.5));
        p.setBrush(kGold);
        p.drawRect(QRectF(coin.left(), coin.center().y(), coin.width(), 4));
        p.drawEllipse(coin.translated(0, 4));
        p.setBrush(kGold.lighter(115));
        p.drawEllipse(coin);
    }
}

QPixmap appIcon(int size)
{
    QPixmap icon(QString::fromStdString((resourcesFolder() / "icons" / "countinghouse-128.png").string()));
    if (icon.isNull()) {
        Canvas c(size);
        sheet(c.painter, QRectF(8, 4, 32, 40));
        return c.done();
    }
    return icon.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace

QPixmap assistantPageIcon(const std::string& name, int size)
{
    if (name.empty()) return appIcon(size);
    Canvas c(size);
    QPainter& p = c.painter;
    if (name == "currencies") {
        coins(p);
    } else if (name == "accounts" || name == "transactions.tiff") {
        sheet(p, QRectF(8, 4, 32, 40));
        if (name == "transactions.tiff") {
            p.setPen(QPen(kGreen, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(QPolygonF({QPointF(18, 30), QPointF(25, 38), QPointF(44, 16)}));
        }
    } else if (name == "acntProperty.tiff") {
        // A wallet.
        p.setPen(QPen(QColor(90, 60, 30), 1.5));
        p.setBrush(QColor(150, 100, 55));
        p.drawRoundedRect(QRectF(4, 12, 40, 28), 5, 5);
        p.setBrush(QColor(120, 80, 40));
        p.drawRoundedRect(QRectF(28, 20, 18, 12), 4, 4);
        p.setBrush(kGold);
        p.drawEllipse(QPointF(35, 26), 2.5, 2.5);
    } else if (name == "acntAsset.tiff") {
        // A house.
        p.setPen(QPen(kInk, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(240, 230, 210));
        p.drawRect(QRectF(10, 22, 28, 20));
        p.setBrush(kRed);
        p.drawPolygon(QPolygonF({QPointF(5, 24), QPointF(24, 6), QPointF(43, 24)}));
        p.setBrush(QColor(120, 80, 40));
        p.drawRect(QRectF(20, 30, 8, 12));
    } else if (name == "acntDebt.tiff") {
        sheet(p, QRectF(6, 4, 28, 36));
        p.setPen(Qt::NoPen);
        p.setBrush(kRed);
        p.drawEllipse(QPointF(34, 34), 11, 11);
        p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(28, 34), QPointF(40, 34));
    } else if (name == "acntP&L.tiff") {
        // Money comes in from and goes out to others.
        arrow(p, QPointF(4, 16), QPointF(44, 16), kGreen);
        arrow(p, QPointF(44, 34), QPointF(4, 34), kRed);
    } else if (name == "categories.tiff") {
        p.setPen(QPen(QColor(160, 120, 20), 1.5));
        p.setBrush(kGold.lighter(120));
        QPainterPath folder;
        folder.moveTo(4, 12);
        folder.lineTo(18, 12);
        folder.lineTo(22, 16);
        folder.lineTo(44, 16);
        folder.lineTo(44, 40);
        folder.lineTo(4, 40);
        folder.closeSubpath();
        p.drawPath(folder);
    } else if (name == "exptIncome.tiff") {
        tray(p);
        arrow(p, QPointF(24, 4), QPointF(24, 36), kGreen);
    } else if (name == "exptExpense.tiff") {
        tray(p);
        arrow(p, QPointF(24, 36), QPointF(24, 4), kRed);
    } else if (name == "exptTransfer.tiff") {
        arrow(p, QPointF(6, 16), QPointF(42, 16), kBlue);
        arrow(p, QPointF(42, 34), QPointF(6, 34), kBlue);
    } else {
        return appIcon(size);
    }
    return c.done();
}

QPixmap assistantStageDot(StageDot dot, int size)
{
    Canvas c(size);
    QPainter& p = c.painter;
    if (dot == StageDot::Ahead) {
        p.setPen(QPen(QColor(175, 175, 180), 4));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(24, 24), 12, 12);
    } else {
        if (dot == StageDot::Current) {
            p.setPen(QPen(kBlue, 4));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(24, 24), 20, 20);
        }
        QRadialGradient shade(QPointF(20, 19), 16);
        shade.setColorAt(0, kBlue.lighter(150));
        shade.setColorAt(1, kBlue);
        p.setPen(Qt::NoPen);
        p.setBrush(shade);
        p.drawEllipse(QPointF(24, 24), 13, 13);
    }
    return c.done();
}

} // namespace ch

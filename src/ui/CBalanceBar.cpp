#include "ui/CBalanceBar.h"

#include <QPainter>

#include "ui/GXGradient.h"
#include "ui/GXGradientPainting.h"

namespace ch {

namespace {

// The two gradient images: a one-point column, scaled to the bar's height.
QImage gradientImage(const std::string& name)
{
    const bool tall = name == "BlueGradient62";
    const int height = tall ? 62 : 36;
    const GXGradient gradient = tall
                                    ? GXGradient::gradientWithBeginningColor({0.36, 0.56, 0.86, 1.0},
                                                                             {0.74, 0.84, 0.97, 1.0})
                                    : GXGradient::gradientWithBeginningColor({0.45, 0.63, 0.90, 1.0},
                                                                             {0.78, 0.87, 0.98, 1.0});
    QImage image(1, height, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    fillRect(painter, gradient, QRectF(0, 0, 1, height), 90.0);
    return image;
}

} // namespace

CBalanceBar::CBalanceBar(QWidget* parent) : QWidget(parent) {}

std::string CBalanceBar::gradientImageName(double height)
{
    return height > 60.0 ? "BlueGradient62" : "BlueGradient36";
}

void CBalanceBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QImage column = gradientImage(gradientImageName(height())).scaled(1, std::max(1, height()));
    painter.setBrushOrigin(0, 0);
    painter.fillRect(rect(), QBrush(column));
}

} // namespace ch

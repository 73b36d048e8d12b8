#include "business/views/GXReportHolderView.h"

#include <QPainter>
#include <QVBoxLayout>

namespace ch::business {

namespace {

constexpr int kOffset = 6;
constexpr int kBlur = 16;

} // namespace

GXReportHolderView::GXReportHolderView(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kBlur / 2, kBlur / 2, kBlur / 2 + kOffset, kBlur / 2 + kOffset);
    layout->addStretch(1);
}

void GXReportHolderView::setReportView(QWidget* view)
{
    if (mReportView) layout()->removeWidget(mReportView);
    mReportView = view;
    // A view of a fixed height keeps it at the top, the rest stays empty.
    if (view) static_cast<QVBoxLayout*>(layout())->insertWidget(0, view);
    update();
}

void GXReportHolderView::paintEvent(QPaintEvent*)
{
    if (!mReportView) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    // Nested rings of faint black add up towards half alpha at the centre,
    // which stands in for a blurred shadow.
    const QRectF frame = QRectF(mReportView->geometry()).translated(kOffset, kOffset);
    const int rings = kBlur / 2;
    for (int ring = rings; ring >= 1; --ring) {
        painter.setBrush(QColor(0, 0, 0, 128 / (rings * 2)));
        painter.drawRoundedRect(frame.adjusted(-ring, -ring, ring, ring), ring, ring);
    }
}

} // namespace ch::business

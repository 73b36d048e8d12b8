#include "ui/CSplitterDragger.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/GXSplitView.h"

namespace ch {

GripDragResult gripDragStep(bool haveVerticalSplitView, int leftWidth, int rightWidth, double dx,
                            const std::function<double(double, int)>& constrain)
{
    GripDragResult result{false, leftWidth, rightWidth, true};
    if (!haveVerticalSplitView) return result;
    const int step = static_cast<int>(dx);
    if (constrain) {
        const double minimumLeft = constrain(rightWidth, step);
        if (minimumLeft > leftWidth + dx && dx < 0) {
            result.recordPoint = false;
            return result;
        }
    }
    result.moved = step != 0;
    result.leftWidth = leftWidth + step;
    result.rightWidth = rightWidth - step;
    return result;
}

CSplitterDragger::CSplitterDragger(QWidget* parent) : QWidget(parent)
{
    setCursor(Qt::SplitHCursor);
    setToolTip(QString());
}

void CSplitterDragger::setControlledSplitView(GXSplitView* splitView, QWidget* leftView, QWidget* rightView)
{
    if (splitView == mSplitView) return;
    mSplitView = splitView;
    mLeftView = leftView;
    mRightView = rightView;
}

QSize CSplitterDragger::sizeHint() const
{
    return {16, 22};
}

void CSplitterDragger::paintEvent(QPaintEvent*)
{
    // Two short grooves, as a grip is drawn on the desktop.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = QRectF(rect()).center();
    for (int i = -1; i <= 1; i += 2) {
        const double x = centre.x() + i * 2.5;
        painter.setPen(QPen(QColor(0x8E, 0x8E, 0x8E), 1.0));
        painter.drawLine(QPointF(x, centre.y() - 5.0), QPointF(x, centre.y() + 5.0));
        painter.setPen(QPen(QColor(0xFF, 0xFF, 0xFF, 0xC0), 1.0));
        painter.drawLine(QPointF(x + 1.0, centre.y() - 5.0), QPointF(x + 1.0, centre.y() + 5.0));
    }
}

void CSplitterDragger::mousePressEvent(QMouseEvent* event)
{
    mPreviousPoint = event->globalPosition();
    event->accept();
}

void CSplitterDragger::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF point = event->globalPosition();
    const bool vertical = mSplitView && mSplitView->isVertical();
    const int left = mLeftView ? mLeftView->width() : 0;
    const int right = mRightView ? mRightView->width() : 0;
    const GripDragResult step = gripDragStep(vertical, left, right, point.x() - mPreviousPoint.x(), mConstraint);
    if (step.moved && mSplitView) {
        QList<int> sizes = mSplitView->sizes();
        const int leftIndex = mSplitView->indexOf(mLeftView);
        const int rightIndex = mSplitView->indexOf(mRightView);
        if (leftIndex >= 0 && rightIndex >= 0) {
            sizes[leftIndex] = step.leftWidth;
            sizes[rightIndex] = step.rightWidth;
            mSplitView->setSizes(sizes);
            emit mSplitView->splitterMoved(step.leftWidth, rightIndex);
        }
    }
    if (step.recordPoint) mPreviousPoint = point;
    event->accept();
}

} // namespace ch


#include "analysis/views/ChartView.h"

#include <QMouseEvent>
#include <QPainter>

#include "analysis/views/CTransactionDetailPopupController.h"
#include "analysis/views/QtChartCanvas.h"

namespace ch {

ChartView::ChartView(std::unique_ptr<CGraph> chart, QWidget* parent)
    : QWidget(parent), mChart(std::move(chart)), mMeasurer(this)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    mChart->setHost(this);
    mChart->setMeasurer(&mMeasurer);
    mChart->setViewSize(static_cast<float>(width()), static_cast<float>(height()));
    mChart->setDetailWindowFactory([this](const ChartElements& lines, const std::string& title, const Colour& colour) {
        return CTransactionDetailPopupController::make(lines, title, colour, this);
    });
    mTimer.setTimerType(Qt::PreciseTimer);
    connect(&mTimer, &QTimer::timeout, this, [this] { mChart->graphPointAccentuationHandler(); });
}

ChartView::~ChartView()
{
    mTimer.stop();
    mChart->setHost(nullptr);
}

void ChartView::synchronizeWithObject(const CNonVisualDataItem::Ptr& item)
{
    mChart->setViewSize(static_cast<float>(width()), static_cast<float>(height()));
    mChart->syncronizeWithObject(item);
    update();
}

void ChartView::synchronizeWithArray(std::shared_ptr<CAnalysisArrayEncaplusator> array)
{
    mChart->setViewSize(static_cast<float>(width()), static_cast<float>(height()));
    mChart->synchronizeWithArray(std::move(array));
}

void ChartView::synchronizeWithElements(ChartElements elements)
{
    mChart->setViewSize(static_cast<float>(width()), static_cast<float>(height()));
    mChart->synchronizeWithElements(std::move(elements));
}

void ChartView::synchronizeWithLines(ChartLineSource source)
{
    mChart->setViewSize(static_cast<float>(width()), static_cast<float>(height()));
    mChart->synchronizeWithLines(std::move(source));
}

void ChartView::setBorderAbove(bool top, bool bottom, bool left, bool right)
{
    mChart->setBorderAbove(top, bottom, left, right);
    update();
}

void ChartView::render(QPainter& painter, QSizeF size)
{
    mChart->setViewSize(static_cast<float>(size.width()), static_cast<float>(size.height()));
    QtChartCanvas canvas(painter, static_cast<float>(size.height()));
    mChart->setMeasurer(&canvas);
    mChart->drawRect(canvas);
    mChart->setMeasurer(&mMeasurer);
    mChart->setViewSize(static_cast<float>(width()), static_cast<float>(height()));
}

void ChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    render(painter, size());
}

void ChartView::resizeEvent(QResizeEvent* event)
{
    mChart->setViewSize(static_cast<float>(width()), static_cast<float>(height()));
    QWidget::resizeEvent(event);
}

ChartPoint ChartView::chartPoint(QPointF position) const
{
    return {static_cast<float>(position.x()), static_cast<float>(height() - position.y())};
}

void ChartView::mouseMoveEvent(QMouseEvent* event)
{
    mChart->mouseMoved(chartPoint(event->position()));
}

void ChartView::mousePressEvent(QMouseEvent* event)
{
    mChart->mouseDown(chartPoint(event->position()));
}

void ChartView::leaveEvent(QEvent*)
{
    mChart->mouseExited();
}

void ChartView::startAnimationTimer(int intervalMilliseconds)
{
    mTimer.start(intervalMilliseconds);
}

} // namespace ch

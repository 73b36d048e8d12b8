#pragma once
// ChartView: the widget that hosts one chart (bar chart, two-pie chart,
// account-type pie or expense pie) on a page. The page hands it the selected
// object (an account, category, account type or group item of the document)
// or a list of elements; the view follows the pointer, runs the animation
// timer, opens the detail window of a clicked bar or wedge, and paints the
// chart with QPainter.

#include <memory>

#include <QTimer>
#include <QWidget>

#include "analysis/CGraph.h"
#include "analysis/views/QtReportCanvas.h"

namespace ch {

class ChartView : public QWidget, private ChartHost {
public:
    // Takes the chart over.
    explicit ChartView(std::unique_ptr<CGraph> chart, QWidget* parent = nullptr);
    ~ChartView() override;

    // The selected object; an unchanged one whose list is the one shown does
    // nothing; none empties the chart.
    void synchronizeWithObject(const CNonVisualDataItem::Ptr& item);
    // A new array of the page; refills also when it is the one shown.
    void synchronizeWithArray(std::shared_ptr<CAnalysisArrayEncaplusator> array);
    // A plain list: lines (detail windows) or items (account-type pie).
    void synchronizeWithElements(ChartElements elements);
    // Model lines: a point's items are made when its window opens.
    void synchronizeWithLines(ChartLineSource source);
    void setBorderAbove(bool top, bool bottom, bool left, bool right);

    CGraph& chart() { return *mChart; }
    // Paints the chart on any device (review images, printing).
    void render(QPainter& painter, QSizeF size);

    QSize sizeHint() const override { return {640, 300}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void setNeedsDisplay() override { update(); }
    void startAnimationTimer(int intervalMilliseconds) override;
    void stopAnimationTimer() override { mTimer.stop(); }
    ChartPoint chartPoint(QPointF position) const;

    std::unique_ptr<CGraph> mChart;
    QtReportCanvas mMeasurer;
    QTimer mTimer;
};

} // namespace ch

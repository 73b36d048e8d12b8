#pragma once
// CSplitterDragger: the grip at the foot of the side bar. Dragged sideways,
// it moves the boundary between the left and the right view of a vertical
// (side-by-side) split view, never making the left view narrower than its
// delegate allows. The rule is gripDragStep, which runs without a window.

#include <QPointer>
#include <QWidget>

#include <functional>

namespace ch {

class GXSplitView;

struct GripDragResult {
    bool moved = false;          // widths changed
    int leftWidth = 0;
    int rightWidth = 0;
    bool recordPoint = true;     // the mouse position becomes the previous point
};

// One drag step of dx points. With a constraint, the narrowest left width
// it answers for (right width, dx cut to an integer) refuses a leftward move
// that would undercut it; a refused step keeps the previous point, so the
// next step measures from the same place. Without a vertical split view
// only the point is recorded.
GripDragResult gripDragStep(bool haveVerticalSplitView, int leftWidth, int rightWidth, double dx,
                            const std::function<double(double rightWidth, int dx)>& constrain);

class CSplitterDragger : public QWidget {
    Q_OBJECT

public:
    using Constraint = std::function<double(double rightWidth, int dx)>;

    explicit CSplitterDragger(QWidget* parent = nullptr);

    // Passing the split view it already controls changes nothing, not even
    // the views.
    void setControlledSplitView(GXSplitView* splitView, QWidget* leftView, QWidget* rightView);
    GXSplitView* controlledSplitView() const { return mSplitView; }
    // The delegate's answer for the narrowest left view.
    void setDelegate(Constraint constraint) { mConstraint = std::move(constraint); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QPointF mPreviousPoint;   // screen coordinates: only the movement counts
    QPointer<GXSplitView> mSplitView;
    QPointer<QWidget> mLeftView;
    QPointer<QWidget> mRightView;
    Constraint mConstraint;
};

} // namespace ch

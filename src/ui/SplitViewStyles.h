#pragma once
// The two looks of the main window's dividers: CQVLSplitView's take no room
// and are not drawn (the panes' own borders separate them), and
// CHorizontalTexturedQVLSplitView's are 10 points thick, a shaded bar with a
// dimple in the middle.

#include "ui/GXSplitView.h"

namespace ch {

class CQVLSplitView : public GXSplitView {
    Q_OBJECT

public:
    explicit CQVLSplitView(bool vertical, QWidget* parent = nullptr);
    void drawDividerInRect(QPainter& painter, const QRect& rect) override;
};

class CHorizontalTexturedQVLSplitView : public GXSplitView {
    Q_OBJECT

public:
    static constexpr int kDividerThickness = 10;
    static constexpr int kDimpleWidth = 12;

    explicit CHorizontalTexturedQVLSplitView(bool vertical, QWidget* parent = nullptr);
    void drawDividerInRect(QPainter& painter, const QRect& rect) override;
};

// Where the dimple's left edge lies in a divider of the width: centred.
double dimpleLeft(double dividerWidth, double dimpleWidth);

} // namespace ch

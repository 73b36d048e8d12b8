#pragma once
// GXGradientOutlineView: the side bar's tree. With gradient selection on, a
// selected row is painted as a block: a one-point line, a vertical
// gradient and another line, in bright colours while the tree has the
// keyboard focus in the active window and in paler ones otherwise. It draws
// a light line along its right edge and asks its owner for the context
// menu.

#include <QTreeView>

#include <functional>

class QMenu;

namespace ch {

class GXGradientOutlineView : public QTreeView {
    Q_OBJECT

public:
    // The colours of the selection blocks.
    struct SelectionColours {
        QColor topLine, bottomLine, gradientStart, gradientEnd;
    };
    static SelectionColours activeColours();
    static SelectionColours inactiveColours();

    explicit GXGradientOutlineView(QWidget* parent = nullptr);

    bool usesGradientSelection() const { return mUsesGradientSelection; }
    void setUsesGradientSelection(bool on);
    bool selectionGradientIsContiguous() const { return mContiguous; }
    void setSelectionGradientIsContiguous(bool on);
    bool usesDisabledGradientSelectionOnly() const { return mDisabledOnly; }
    void setUsesDisabledGradientSelectionOnly(bool on);
    bool hasBreakBetweenGradientSelectedRows() const { return mBreaks; }
    void setHasBreakBetweenGradientSelectedRows(bool on);

    // Whether the bright colours apply now: the focus is in this view, its
    // window is active, and pale colours are not forced.
    bool usesActiveColours() const;

    // The owner's context menu for a point of the viewport; none: no menu.
    void setMenuProvider(std::function<QMenu*(const QPoint&)> provider) { mMenuProvider = std::move(provider); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

private:
    void applySelectionPalette();
    void paintSelectionBlocks(QPainter& painter);

    bool mUsesGradientSelection = false;
    bool mContiguous = false;
    bool mDisabledOnly = false;
    bool mBreaks = false;
    QPalette mPlainPalette;
    std::function<QMenu*(const QPoint&)> mMenuProvider;
};

} // namespace ch

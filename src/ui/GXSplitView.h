#pragma once
// GXSplitView: the split view of every divided area of the main window, on
// QSplitter. QSplitter drags the dividers; this class adds what the window
// relies on besides:
//
// - collapsed subviews: a subview dragged (or set) to nothing is collapsed,
//   announced, and keeps the size it had, to get it back when expanded;
// - positions kept in the user defaults under an autosave name, restored
//   when the name is set and saved after every layout and drag;
// - autosave names unique in the process: while a split view holds a name,
//   no other split view can take it (it keeps its own layout instead);
// - the whole-point proportional layout used when restoring.
//
// "Vertical" means the dividers are vertical lines: subviews side by side.

#include <QPointer>
#include <QSplitter>
#include <QString>

#include <vector>

#include "platform/core/value.h"
#include "ui/SplitViewPosition.h"

namespace ch {

class GXSplitView : public QSplitter {
    Q_OBJECT

public:
    explicit GXSplitView(bool vertical, QWidget* parent = nullptr);
    // Frees the autosave name.
    ~GXSplitView() override;

    bool isVertical() const { return orientation() == Qt::Horizontal; }
    void setVertical(bool vertical);

    bool isSubviewCollapsed(const QWidget* subview) const;
    // Records the state and announces a change; it neither moves the view
    // nor lays out: follow it with resizeSubviews().
    void setSubviewCollapsed(QWidget* subview, bool collapsed);

    // --- autosave
    QString positionAutosaveName() const { return mAutosaveName; }
    // The empty name stands for none. False (nothing changes) when a live
    // split view, this one included, holds the name already. Otherwise the
    // saved position is restored and kept up to date from now on.
    bool setPositionAutosaveName(const QString& name);
    static bool isPositionNameInUse(const QString& name);
    void savePositionUsingName(const QString& name) const;
    // False when nothing is saved under the name.
    bool setPositionUsingName(const QString& name);
    static void removePositionUsingName(const QString& name);
    Value plistObjectWithSavedPosition() const;
    // Applies a saved position (only version 2) and lays the subviews out in
    // proportion to the restored sizes; applied once the view has a size.
    void setPositionFromPlistObject(const Value& object);

    // Shares the space out in proportion to the subviews' sizes; collapsed
    // subviews get none.
    void resizeSubviews();
    void setRandomSource(SplitRandomSource random) { mRandom = std::move(random); }

    // The divider's look; subclasses draw their own.
    virtual void drawDividerInRect(QPainter& painter, const QRect& rect);

signals:
    void subviewCollapsed(QWidget* subview);
    void subviewExpanded(QWidget* subview);
    void dividerDoubleClicked(int index);

protected:
    QSplitterHandle* createHandle() override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void childEvent(QChildEvent* event) override;

private:
    friend class GXSplitViewHandle;
    // The sizes QSplitter shows, with collapsed subviews found by their 0.
    void followSizes();
    void autosave() const;
    void applyPending();
    int majorExtent() const;
    int majorOf(const QWidget* widget) const;

    QString mAutosaveName;
    std::vector<QPointer<QWidget>> mCollapsed;
    // The last size each subview had while open, by index.
    std::vector<int> mOpenSizes;
    std::optional<SavedSplitPosition> mPending;
    bool mRestoring = false;
    SplitRandomSource mRandom;
};

} // namespace ch

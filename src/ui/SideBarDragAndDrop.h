#pragma once
// Dragging and dropping on the side bar's tree. A drag started on the tree
// carries the current node's object (whatever row the mouse is on) with the
// marker of its document; a drop lands on the node under the mouse, never
// between rows, and is taken only from the same document: the side bar
// decides and performs it.

#include <QObject>
#include <QPoint>

#include <optional>
#include <string>

class QDropEvent;
class QMimeData;
class QTreeView;
class QWidget;

namespace ch {

class CSideBarController;

class SideBarDragAndDrop : public QObject {
    Q_OBJECT

public:
    // Watches the tree's rows; the tree owns it.
    SideBarDragAndDrop(QTreeView& tree, CSideBarController& controller);

    // What a drag of the current node carries; null when it may not move.
    QMimeData* dragData() const;
    // The key a drop offers to this document; none when it is another
    // document's or carries no object.
    std::optional<std::string> droppedKey(const QMimeData* data) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool handleDrop(QDropEvent* event, bool perform);

    QTreeView& mTree;
    QWidget* mRows;   // the tree's viewport, known before the tree goes
    CSideBarController& mController;
    std::optional<QPoint> mPressedAt;
};

} // namespace ch

#include "ui/SideBarDragAndDrop.h"

#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTreeView>

#include "platform/gui/pasteboard_types.h"
#include "ui/CSideBarController.h"
#include "ui/SideBarOutlineModel.h"
#include "ui/controls/DragStart.h"

namespace ch {

SideBarDragAndDrop::SideBarDragAndDrop(QTreeView& tree, CSideBarController& controller)
    : QObject(&tree), mTree(tree), mRows(tree.viewport()), mController(controller)
{
    mTree.setAcceptDrops(true);
    mRows->setAcceptDrops(true);
    mRows->installEventFilter(this);
}

QMimeData* SideBarDragAndDrop::dragData() const
{
    const std::optional<std::string> key = mController.dragKey();
    if (!key) return nullptr;
    return objectDragData(*key, mController.dragName().value_or(""), &mController.document());
}

std::optional<std::string> SideBarDragAndDrop::droppedKey(const QMimeData* data) const
{
    if (!data || !data->hasFormat(kNonvisualPboardType)) return std::nullopt;
    if (data->data(kDocumentPboardType) != documentMarker(&mController.document())) return std::nullopt;
    return data->data(kNonvisualPboardType).toStdString();
}

bool SideBarDragAndDrop::handleDrop(QDropEvent* event, bool perform)
{
    const QModelIndex row = mTree.indexAt(event->position().toPoint());
    const CNonVisualDataItem::Ptr node = row.isValid() ? mController.outlineModel().itemAt(row) : nullptr;
    const std::optional<std::string> key = droppedKey(event->mimeData());
    const bool taken = perform ? mController.acceptDrop(node, key) : mController.validateDrop(node, key);
    if (taken) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
    return true;
}

bool SideBarDragAndDrop::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != mRows) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        mPressedAt = mouse->button() == Qt::LeftButton ? std::optional<QPoint>(mouse->position().toPoint())
                                                        : std::nullopt;
        return false;
    }
    case QEvent::MouseButtonRelease:
        mPressedAt.reset();
        return false;
    case QEvent::MouseMove: {
        if (!dragStarts(*static_cast<QMouseEvent*>(event), mPressedAt)) return false;
        QMimeData* data = dragData();
        if (!data) return true;
        auto* drag = new QDrag(&mTree);
        drag->setMimeData(data);
        drag->exec(Qt::MoveAction);
        return true;
    }
    case QEvent::DragEnter: {
        // Entering is allowed for our format; each move then decides for the row under the mouse.
        auto* enter = static_cast<QDragEnterEvent*>(event);
        if (droppedKey(enter->mimeData())) {
            enter->setDropAction(Qt::MoveAction);
            enter->accept();
        } else {
            enter->ignore();
        }
        return true;
    }
    case QEvent::DragMove:
        return handleDrop(static_cast<QDropEvent*>(event), false);
    case QEvent::Drop:
        return handleDrop(static_cast<QDropEvent*>(event), true);
    default:
        return false;
    }
}

} // namespace ch

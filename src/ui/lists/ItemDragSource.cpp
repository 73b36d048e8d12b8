#include "ui/lists/ItemDragSource.h"

#include <QAbstractItemView>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>

#include "platform/gui/pasteboard_types.h"
#include "ui/controls/DragStart.h"

namespace ch {

ItemDragSource::ItemDragSource(QAbstractItemView& table, Document document, SelectedItem selected)
    : QObject(&table), mTable(table), mRows(table.viewport()), mDocument(std::move(document)),
      mSelected(std::move(selected))
{
    mRows->installEventFilter(this);
}

QMimeData* ItemDragSource::mimeDataFor(const CNonVisualDataItem* item, const void* document)
{
    if (!item || !item->getSourceItem()) return nullptr;
    const std::string key = item->calculateKey();
    if (key.empty()) return nullptr;
    return objectDragData(key, item->getName(), document);
}

QMimeData* ItemDragSource::dragData() const
{
    const CNonVisualDataItem::Ptr item = mSelected ? mSelected() : nullptr;
    return mimeDataFor(item.get(), mDocument ? mDocument() : nullptr);
}

bool ItemDragSource::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != mRows) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        // Only a press on a row may start a drag; the table selects it first.
        const bool onRow = mTable.indexAt(mouse->position().toPoint()).isValid();
        mPressedAt = mouse->button() == Qt::LeftButton && onRow ? std::optional<QPoint>(mouse->position().toPoint())
                                                                : std::nullopt;
        return false;
    }
    case QEvent::MouseButtonRelease: mPressedAt.reset(); return false;
    case QEvent::MouseMove: {
        if (!dragStarts(*static_cast<QMouseEvent*>(event), mPressedAt)) return false;
        QMimeData* data = dragData();
        if (!data) return false;
        auto* drag = new QDrag(&mTable);
        drag->setMimeData(data);
        drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
        return true;
    }
    default: return false;
    }
}

} // namespace ch

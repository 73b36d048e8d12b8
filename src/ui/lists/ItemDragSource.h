#pragma once
// Dragging an object out of a page's table: a drag started on a row carries
// the table's selected object (its key under "CNonvisualPboardType", its
// name as plain text) with the marker of its document, so that the side
// bar of the same window can take it (re-parenting, the credit-card mark,
// the VAT payment). Without a selected object, or one without a key, no
// drag starts.

#include <QObject>
#include <QPoint>

#include <functional>
#include <optional>

#include "bridge/CNonVisualDataItem.h"

class QAbstractItemView;
class QMimeData;
class QWidget;

namespace ch {

class ItemDragSource : public QObject {
    Q_OBJECT

public:
    using SelectedItem = std::function<CNonVisualDataItem::Ptr()>;
    // The document whose marker the drag carries (the page's window document).
    using Document = std::function<const void*()>;

    // Watches the table's rows; the table owns it.
    ItemDragSource(QAbstractItemView& table, Document document, SelectedItem selected);

    // What a drag of the item carries; null without an item or a key.
    static QMimeData* mimeDataFor(const CNonVisualDataItem* item, const void* document);
    // What a drag from the table carries now.
    QMimeData* dragData() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractItemView& mTable;
    QWidget* mRows;
    Document mDocument;
    SelectedItem mSelected;
    std::optional<QPoint> mPressedAt;
};

} // namespace ch

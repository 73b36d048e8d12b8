#include "ui/lists/CV2TransactionTableView.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace ch {

void CV2TransactionTableView::mousePressEvent(QMouseEvent* event)
{
    const int rows = model() ? model()->rowCount() : 0;
    const QPoint position = event->position().toPoint();
    const int row = rowAt(position.y());
    const int column = horizontalHeader()->visualIndexAt(position.x());
    GXTableAncestor::mousePressEvent(event);
    if (row >= 0 && column == 0 && rows > 0)
        emit flagTransaction();
    else
        emit clickedInOtherColumn();
}

} // namespace ch

#include "import/views/ColumnDragging.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QRegularExpression>

namespace ch {

namespace {

QString droppedToken(const QMimeData* data)
{
    if (!data) return {};
    QString token = data->hasFormat(kColumnNumberMimeType)
                        ? QString::fromUtf8(data->data(kColumnNumberMimeType))
                        : data->text();
    token = token.trimmed();
    static const QRegularExpression column(QStringLiteral("^COL\\d+$"));
    return column.match(token).hasMatch() ? token : QString();
}

} // namespace

columnDraggingTable::columnDraggingTable(QWidget* parent) : QTableWidget(parent)
{
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setSelectionBehavior(QAbstractItemView::SelectColumns);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void columnDraggingTable::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid()) mCurrentColumn = index.column();
    QTableWidget::mousePressEvent(event);
}

QMimeData* columnDraggingTable::mimeDataForColumn(int column) const
{
    const QTableWidgetItem* header = horizontalHeaderItem(column);
    if (!header) return nullptr;
    auto* data = new QMimeData;
    const QByteArray title = header->text().toUtf8();
    data->setData(kColumnNumberMimeType, title);
    data->setText(header->text());
    return data;
}

QMimeData* columnDraggingTable::mimeData(const QList<QTableWidgetItem*>& items) const
{
    int column = mCurrentColumn;
    if (column < 0 && !items.isEmpty()) column = items.front()->column();
    return column >= 0 ? mimeDataForColumn(column) : nullptr;
}

RoleTokenField::RoleTokenField(QWidget* parent) : QLineEdit(parent)
{
    setAcceptDrops(true);
}

std::vector<std::string> RoleTokenField::tokens() const
{
    std::vector<std::string> out;
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    for (const QString& token : text().split(separators, Qt::SkipEmptyParts)) out.push_back(token.toStdString());
    return out;
}

void RoleTokenField::addToken(const QString& token)
{
    setText(text().trimmed().isEmpty() ? token : text().trimmed() + QStringLiteral(", ") + token);
}

void RoleTokenField::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedToken(event->mimeData()).isEmpty()) event->acceptProposedAction();
    else event->ignore();
}

void RoleTokenField::dragMoveEvent(QDragMoveEvent* event)
{
    if (!droppedToken(event->mimeData()).isEmpty()) event->acceptProposedAction();
    else event->ignore();
}

void RoleTokenField::dropEvent(QDropEvent* event)
{
    const QString token = droppedToken(event->mimeData());
    if (token.isEmpty()) {
        event->ignore();
        return;
    }
    addToken(token);
    event->acceptProposedAction();
}

} // namespace ch

#include "app/AssistantListViews.h"

#include <algorithm>

#include <QMimeData>

namespace ch {

namespace {

constexpr char kFromProposed[] = "proposed";
constexpr char kFromSelected[] = "selected";

// "<list>:<index>,<index>,..."
QMimeData* encode(const char* from, std::vector<std::size_t> entries)
{
    std::sort(entries.begin(), entries.end());
    entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
    QByteArray payload(from);
    payload += ':';
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i) payload += ',';
        payload += QByteArray::number(qulonglong(entries[i]));
    }
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kProposedObjectFormat), payload);
    return data;
}

// The entries of a drag that left `from`; none for any other payload. The
// payload may come from another program, so every part is checked.
std::vector<std::size_t> decode(const QMimeData* data, const char* from)
{
    std::vector<std::size_t> entries;
    if (!data) return entries;
    const QByteArray payload = data->data(QString::fromLatin1(kProposedObjectFormat));
    const QByteArray prefix = QByteArray(from) + ':';
    if (!payload.startsWith(prefix) || payload.size() > 1'000'000) return entries;
    for (const QByteArray& part : payload.mid(prefix.size()).split(',')) {
        bool ok = false;
        const qulonglong entry = part.toULongLong(&ok);
        if (ok) entries.push_back(std::size_t(entry));
    }
    return entries;
}

std::size_t entryOf(const QTableWidgetItem* item)
{
    return std::size_t(item->data(Qt::UserRole).toULongLong());
}

} // namespace

AssistantProposedTable::AssistantProposedTable(int columns, QWidget* parent) : QTableWidget(0, columns, parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
    setDragDropOverwriteMode(false);
}

std::vector<std::size_t> AssistantProposedTable::selectedEntries() const
{
    std::vector<std::size_t> entries;
    for (const QModelIndex& row : selectionModel()->selectedRows(0))
        if (const QTableWidgetItem* first = item(row.row(), 0)) entries.push_back(entryOf(first));
    return entries;
}

QStringList AssistantProposedTable::mimeTypes() const
{
    return {QString::fromLatin1(kProposedObjectFormat)};
}

QMimeData* AssistantProposedTable::mimeData(const QList<QTableWidgetItem*>& items) const
{
    std::vector<std::size_t> entries;
    for (const QTableWidgetItem* dragged : items)
        if (const QTableWidgetItem* first = item(dragged->row(), 0)) entries.push_back(entryOf(first));
    return encode(kFromProposed, std::move(entries));
}

bool AssistantProposedTable::dropMimeData(int, int, const QMimeData* data, Qt::DropAction)
{
    const std::vector<std::size_t> entries = decode(data, kFromSelected);
    if (!entries.empty() && mDropped) mDropped(entries);
    // Accepted either way: a copy leaves nothing to remove at the source.
    return true;
}

Qt::DropActions AssistantProposedTable::supportedDropActions() const
{
    // Never a move: a moving drag would have the source view delete its rows.
    return Qt::CopyAction;
}

AssistantSelectedList::AssistantSelectedList(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
}

std::vector<std::size_t> AssistantSelectedList::selectedEntries() const
{
    std::vector<std::size_t> entries;
    for (const QListWidgetItem* row : selectedItems())
        entries.push_back(std::size_t(row->data(Qt::UserRole).toULongLong()));
    return entries;
}

QStringList AssistantSelectedList::mimeTypes() const
{
    return {QString::fromLatin1(kProposedObjectFormat)};
}

QMimeData* AssistantSelectedList::mimeData(const QList<QListWidgetItem*>& items) const
{
    std::vector<std::size_t> entries;
    for (const QListWidgetItem* dragged : items) entries.push_back(std::size_t(dragged->data(Qt::UserRole).toULongLong()));
    return encode(kFromSelected, std::move(entries));
}

bool AssistantSelectedList::dropMimeData(int, const QMimeData* data, Qt::DropAction)
{
    const std::vector<std::size_t> entries = decode(data, kFromProposed);
    if (!entries.empty() && mDropped) mDropped(entries);
    return true;
}

Qt::DropActions AssistantSelectedList::supportedDropActions() const
{
    return Qt::CopyAction;
}

} // namespace ch

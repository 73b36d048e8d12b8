#pragma once
// The assistant's two lists as views that trade rows by drag and drop: rows
// dragged from one list and dropped on the other travel under the format
// "proposedObject" as the dragged entries' indexes in their list, with the
// list they left. A drop from the same list, or from elsewhere, does
// nothing; the views only report drops, the dialog acts on them.
//
// Each row keeps the index of its entry (Qt::UserRole on the proposed
// table's first item and on the selected list's item), so that a filtered
// view still names the right entries.

#include <cstddef>
#include <functional>
#include <vector>

#include <QListWidget>
#include <QTableWidget>

namespace ch {

inline constexpr char kProposedObjectFormat[] = "proposedObject";

using RowsDropped = std::function<void(const std::vector<std::size_t>& entries)>;

class AssistantProposedTable : public QTableWidget {
    Q_OBJECT

public:
    explicit AssistantProposedTable(int columns, QWidget* parent = nullptr);

    // Rows of the selected list dropped here.
    void onDrop(RowsDropped dropped) { mDropped = std::move(dropped); }
    std::vector<std::size_t> selectedEntries() const;
    bool editing() const { return state() == EditingState; }

protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QTableWidgetItem*>& items) const override;
    bool dropMimeData(int row, int column, const QMimeData* data, Qt::DropAction action) override;
    Qt::DropActions supportedDropActions() const override;

private:
    RowsDropped mDropped;
};

class AssistantSelectedList : public QListWidget {
    Q_OBJECT

public:
    explicit AssistantSelectedList(QWidget* parent = nullptr);

    // Rows of the proposed table dropped here.
    void onDrop(RowsDropped dropped) { mDropped = std::move(dropped); }
    std::vector<std::size_t> selectedEntries() const;

protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
    bool dropMimeData(int index, const QMimeData* data, Qt::DropAction action) override;
    Qt::DropActions supportedDropActions() const override;

private:
    RowsDropped mDropped;
};

} // namespace ch

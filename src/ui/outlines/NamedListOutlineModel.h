#pragma once
// The outline model of a table of model objects: the rows, cells, drags and
// drops of a CNamedListTableController, for a QTreeView. Columns are given
// by identifier and heading; the "name" column shows the row's icon, looked
// up by the item's icon name.
// Dragged rows carry the object's node key under "CNonvisualPboardType",
// its name as text and the marker of their document; only a drop onto a
// row is taken, and only of a row of the same document (the same key names
// another object in other books).

#include <QAbstractItemModel>
#include <QIcon>

#include <functional>
#include <string>
#include <vector>

#include "ui/outlines/CNamedListTableController.h"

namespace ch {

class NamedListOutlineModel : public QAbstractItemModel {
    Q_OBJECT

public:
    struct Column {
        QString identifier;
        QString heading;
    };

    // The icon of an icon name; a null icon for none.
    using IconLookup = std::function<QIcon(const std::string& iconName)>;

    // The controller is not owned and must outlive the model; without an
    // icon look-up the rows have no icons.
    NamedListOutlineModel(CNamedListTableController& controller, std::vector<Column> columns,
                          IconLookup icons = {}, QObject* parent = nullptr);

    CNamedListTableController& controller() const { return mController; }
    // After the controller got another list or its objects moved.
    void reload();
    CNonVisualDataItem::Ptr itemAt(const QModelIndex& index) const;
    QModelIndex indexOf(const CNonVisualDataItem* item, int column = 0) const;
    int columnOf(const QString& identifier) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction | Qt::CopyAction; }
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

signals:
    // A dropped object moved under the row of `item`.
    void itemRelocated(const QModelIndex& item);

private:
    CNonVisualDataItem* itemOf(const QModelIndex& index) const;
    CNonVisualDataItem::Ptr childOf(const CNonVisualDataItem* parent, int row) const;

    CNamedListTableController& mController;
    std::vector<Column> mColumns;
    IconLookup mIcons;
};

} // namespace ch

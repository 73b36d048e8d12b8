#pragma once
// ItemTableModel: the Qt table model of an array controller. It asks the
// controller for a row's item only when the view draws that row, so a list
// of any length costs nothing until shown. Columns are described once by
// the page: identifier, heading, what the cell shows, and what it sorts by.
// Clicking a heading sorts the controller by that column.

#include <QAbstractTableModel>
#include <QString>
#include <QVariant>

#include <functional>
#include <vector>

#include "ui/lists/CNonVisualDataItemArrayController.h"

namespace ch {

struct ItemColumn {
    QString identifier;   // e.g. "name"
    QString heading;
    // The cell for a role (display, decoration, alignment, tool tip, ...).
    std::function<QVariant(const CNonVisualDataItem&, int role)> value;
    // What the column sorts by; none: the column does not sort.
    std::function<SortValue(const CNonVisualDataItem&)> sortValue;
    // A column of images only: left out of exports.
    bool imageOnly = false;
    // The same sort value read from the model object, so that a long list
    // sorts without an item per row; none: sorted through the items.
    std::function<SortValue(const CNonVisual&)> objectSortValue = {};
};

class ItemTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // The controller is not owned and must outlive the model.
    ItemTableModel(CNonVisualDataItemArrayController& controller, std::vector<ItemColumn> columns,
                   QObject* parent = nullptr);
    ~ItemTableModel() override;

    CNonVisualDataItemArrayController& controller() const { return mController; }
    const std::vector<ItemColumn>& columns() const { return mColumns; }
    int columnOf(const QString& identifier) const;
    CNonVisualDataItem::Ptr itemAt(int row) const;
    // The rows' values changed (a booking moved the figures they show):
    // the views read the cells they show again.
    void valuesChanged();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order) override;

private:
    CNonVisualDataItemArrayController& mController;
    std::vector<ItemColumn> mColumns;
    bool mResetting = false;
};

} // namespace ch

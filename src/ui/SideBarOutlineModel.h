#pragma once
// The side bar's tree as a Qt item model. Rows are fetched from the items
// lazily, the first time a node's children are asked for, and kept until a
// notification says they changed (reloadItem). The model also keeps which
// nodes are open, so that "the rows the outline shows" can be walked
// without a view, and records the open state in the model objects.
//
// Columns: "name" (the title, icon, row height), "bala" and "fcur".

#include <QAbstractItemModel>
#include <QIcon>

#include <functional>
#include <memory>
#include <vector>

#include "bridge/CNonVisualDataItem.h"

namespace ch {

class SideBarOutlineModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum Role { HeaderLevelRole = Qt::UserRole + 1, ObjectTypeRole };
    enum Column { NameColumn, BalanceColumn, CurrencyColumn, ColumnCount };

    // The icon of an icon name; a null icon when there is no such image.
    using IconSource = std::function<QIcon(const std::string& name)>;

    explicit SideBarOutlineModel(QObject* parent = nullptr);
    ~SideBarOutlineModel() override;

    void setIconSource(IconSource source) { mIcons = std::move(source); }
    // Replaces the whole tree (resets the model).
    void setTreeRoot(const CNonVisualDataItem::ItemArray& roots);

    CNonVisualDataItem::Ptr itemAt(const QModelIndex& index) const;
    // The first node of the item; invalid when it is not in the fetched tree.
    QModelIndex indexOfItem(const CNonVisualDataItem* item) const;
    std::vector<QModelIndex> indexesOfItem(const CNonVisualDataItem* item) const;

    // --- open state
    bool isExpanded(const QModelIndex& index) const;
    // Records the state (and the model object's open flag); false when the
    // node refuses (a level-1 'NoNe' header never closes).
    bool setExpanded(const QModelIndex& index, bool expanded);
    // Whether a node opens itself when shown: a level-1 header other than
    // the transactions root, or a node whose model object is marked open.
    bool wantsExpansion(const QModelIndex& index) const;
    // The rows the outline shows: depth first through open nodes.
    std::vector<QModelIndex> shownRows() const;

    // --- refreshing
    // Repaints the item's rows; with children, fetches them again.
    void reloadItem(const CNonVisualDataItem* item, bool withChildren);
    // Drops rows whose item lost its model object (the object was deleted).
    void pruneDeleted();

    // --- QAbstractItemModel
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // A node asks to be opened or closed (auto-expansion, restored open
    // flags); views follow it.
    void expansionRequested(const QModelIndex& index, bool expanded);

private:
    struct Node;
    Node* nodeOf(const QModelIndex& index) const;
    QModelIndex indexOfNode(const Node* node, int column = 0) const;
    void fetch(Node* node) const;
    void collect(const Node* node, const CNonVisualDataItem* item, std::vector<QModelIndex>& found) const;
    void collectShown(const Node* node, std::vector<QModelIndex>& rows) const;
    void refetch(Node* node);
    bool pruneBelow(Node* node);

    std::unique_ptr<Node> mRoot;
    IconSource mIcons;
};

} // namespace ch

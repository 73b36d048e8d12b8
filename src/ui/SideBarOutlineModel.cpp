#include "ui/SideBarOutlineModel.h"

#include <QFont>
#include <QSize>

#include "model/CNonVisual.h"
#include "model/ModelCodes.h"

namespace ch {

struct SideBarOutlineModel::Node {
    CNonVisualDataItem::Ptr item;
    Node* parent = nullptr;
    int row = 0;
    std::vector<std::unique_ptr<Node>> children;
    bool fetched = false;
    bool expanded = false;
};

namespace {

constexpr FourCharCode kTransactionsType = fourCC("TrnS");

} // namespace

SideBarOutlineModel::SideBarOutlineModel(QObject* parent) : QAbstractItemModel(parent), mRoot(std::make_unique<Node>())
{
    mRoot->fetched = true;
    mRoot->expanded = true;
}

SideBarOutlineModel::~SideBarOutlineModel() = default;

void SideBarOutlineModel::setTreeRoot(const CNonVisualDataItem::ItemArray& roots)
{
    beginResetModel();
    mRoot = std::make_unique<Node>();
    mRoot->fetched = true;
    mRoot->expanded = true;
    int row = 0;
    for (const auto& item : roots) {
        auto node = std::make_unique<Node>();
        node->item = item;
        node->parent = mRoot.get();
        node->row = row++;
        mRoot->children.push_back(std::move(node));
    }
    endResetModel();
    for (int i = 0; i < rowCount(); ++i) {
        const QModelIndex child = index(i, 0);
        if (wantsExpansion(child)) setExpanded(child, true);
    }
}

SideBarOutlineModel::Node* SideBarOutlineModel::nodeOf(const QModelIndex& index) const
{
    if (!index.isValid()) return mRoot.get();
    return static_cast<Node*>(index.internalPointer());
}

QModelIndex SideBarOutlineModel::indexOfNode(const Node* node, int column) const
{
    if (!node || node == mRoot.get()) return {};
    return createIndex(node->row, column, const_cast<Node*>(node));
}

void SideBarOutlineModel::fetch(Node* node) const
{
    if (node->fetched) return;
    node->fetched = true;
    if (!node->item) return;
    int row = 0;
    for (const auto& child : node->item->children()) {
        if (!child) continue;
        auto childNode = std::make_unique<Node>();
        childNode->item = child;
        childNode->parent = node;
        childNode->row = row++;
        node->children.push_back(std::move(childNode));
    }
}

CNonVisualDataItem::Ptr SideBarOutlineModel::itemAt(const QModelIndex& index) const
{
    if (!index.isValid()) return nullptr;
    return nodeOf(index)->item;
}

void SideBarOutlineModel::collect(const Node* node, const CNonVisualDataItem* item,
                                  std::vector<QModelIndex>& found) const
{
    for (const auto& child : node->children) {
        if (child->item.get() == item) found.push_back(indexOfNode(child.get()));
        collect(child.get(), item, found);
    }
}

std::vector<QModelIndex> SideBarOutlineModel::indexesOfItem(const CNonVisualDataItem* item) const
{
    std::vector<QModelIndex> found;
    if (item) collect(mRoot.get(), item, found);
    return found;
}

QModelIndex SideBarOutlineModel::indexOfItem(const CNonVisualDataItem* item) const
{
    const auto found = indexesOfItem(item);
    return found.empty() ? QModelIndex() : found.front();
}

bool SideBarOutlineModel::isExpanded(const QModelIndex& index) const
{
    return index.isValid() && nodeOf(index)->expanded;
}

bool SideBarOutlineModel::setExpanded(const QModelIndex& index, bool expanded)
{
    if (!index.isValid()) return false;
    Node* node = nodeOf(index);
    const auto& item = node->item;
    if (!expanded && item && item->isLevel1Header() && item->objectType() == type::kNone) return false;
    if (node->expanded == expanded) return true;
    node->expanded = expanded;
    if (item && item->getSourceItem()) item->getSourceItem()->Put_mb_IsOpen(expanded);
    emit expansionRequested(index.siblingAtColumn(0), expanded);
    if (expanded) {
        fetch(node);
        for (const auto& child : node->children) {
            const QModelIndex childIndex = indexOfNode(child.get());
            if (!child->expanded && wantsExpansion(childIndex)) setExpanded(childIndex, true);
        }
    }
    return true;
}

bool SideBarOutlineModel::wantsExpansion(const QModelIndex& index) const
{
    const auto item = itemAt(index);
    if (!item) return false;
    if (item->isLevel1Header() && item->objectType() != kTransactionsType) return true;
    return item->getSourceItem() && item->getSourceItem()->Get_mb_IsOpen();
}

void SideBarOutlineModel::collectShown(const Node* node, std::vector<QModelIndex>& rows) const
{
    fetch(const_cast<Node*>(node));
    for (const auto& child : node->children) {
        rows.push_back(indexOfNode(child.get()));
        if (child->expanded) collectShown(child.get(), rows);
    }
}

std::vector<QModelIndex> SideBarOutlineModel::shownRows() const
{
    std::vector<QModelIndex> rows;
    collectShown(mRoot.get(), rows);
    return rows;
}

void SideBarOutlineModel::refetch(Node* node)
{
    const QModelIndex parentIndex = indexOfNode(node);
    if (!node->fetched) return;
    if (!node->children.empty()) {
        beginRemoveRows(parentIndex, 0, static_cast<int>(node->children.size()) - 1);
        node->children.clear();
        endRemoveRows();
    }
    // Fetch into a scratch node first, so that the rows appear in one insertion.
    Node fresh;
    fresh.item = node->item;
    fetch(&fresh);
    if (!fresh.children.empty()) {
        beginInsertRows(parentIndex, 0, static_cast<int>(fresh.children.size()) - 1);
        for (auto& child : fresh.children) {
            child->parent = node;
            node->children.push_back(std::move(child));
        }
        endInsertRows();
    }
    if (node->expanded) {
        for (const auto& child : node->children) {
            const QModelIndex childIndex = indexOfNode(child.get());
            if (wantsExpansion(childIndex)) setExpanded(childIndex, true);
        }
    }
}

void SideBarOutlineModel::reloadItem(const CNonVisualDataItem* item, bool withChildren)
{
    for (const QModelIndex& found : indexesOfItem(item)) {
        Node* node = nodeOf(found);
        emit dataChanged(found, found.siblingAtColumn(ColumnCount - 1));
        if (withChildren) refetch(node);
    }
}

bool SideBarOutlineModel::pruneBelow(Node* node)
{
    bool pruned = false;
    for (int row = static_cast<int>(node->children.size()) - 1; row >= 0; --row) {
        Node* child = node->children[static_cast<std::size_t>(row)].get();
        const auto& item = child->item;
        if (item && item->headerLevel() < 1 && !item->getSourceItem()) {
            beginRemoveRows(indexOfNode(node), row, row);
            node->children.erase(node->children.begin() + row);
            for (std::size_t i = static_cast<std::size_t>(row); i < node->children.size(); ++i)
                node->children[i]->row = static_cast<int>(i);
            endRemoveRows();
            pruned = true;
        } else {
            pruned = pruneBelow(child) || pruned;
        }
    }
    return pruned;
}

void SideBarOutlineModel::pruneDeleted()
{
    pruneBelow(mRoot.get());
}

QModelIndex SideBarOutlineModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column < 0 || column >= ColumnCount || row < 0) return {};
    if (parent.isValid() && parent.column() != 0) return {};
    Node* node = nodeOf(parent);
    fetch(node);
    if (row >= static_cast<int>(node->children.size())) return {};
    return createIndex(row, column, node->children[static_cast<std::size_t>(row)].get());
}

QModelIndex SideBarOutlineModel::parent(const QModelIndex& child) const
{
    if (!child.isValid()) return {};
    const Node* node = nodeOf(child);
    return indexOfNode(node->parent);
}

int SideBarOutlineModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != 0) return 0;
    Node* node = nodeOf(parent);
    fetch(node);
    return static_cast<int>(node->children.size());
}

int SideBarOutlineModel::columnCount(const QModelIndex&) const
{
    return ColumnCount;
}

bool SideBarOutlineModel::hasChildren(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != 0) return false;
    const Node* node = nodeOf(parent);
    if (node->fetched || !node->item) return !node->children.empty();
    return node->item->childrenCount() > 0;
}

QVariant SideBarOutlineModel::data(const QModelIndex& index, int role) const
{
    const auto item = itemAt(index);
    if (!item) return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        switch (index.column()) {
        case NameColumn: return QString::fromStdString(item->outlineName().plainText());
        case BalanceColumn: return QString::fromStdString(item->outlineBalance());
        case CurrencyColumn: return QString::fromStdString(item->outlineCurrency());
        }
        return {};
    case Qt::DecorationRole: {
        if (index.column() != NameColumn || !mIcons) return {};
        std::string name = item->getIconName();
        if (name.empty()) name = "Image131";
        const QIcon icon = mIcons(name);
        return icon.isNull() ? QVariant() : QVariant(icon);
    }
    case Qt::SizeHintRole: return QSize(-1, static_cast<int>(item->objectRowHeight()));
    case Qt::FontRole:
        if (item->isLevel1Header()) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    case Qt::TextAlignmentRole:
        return index.column() == BalanceColumn ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
    case HeaderLevelRole: return item->headerLevel();
    case ObjectTypeRole: return static_cast<qulonglong>(item->objectType());
    default: return {};
    }
}

QVariant SideBarOutlineModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
    case NameColumn: return QStringLiteral("name");
    case BalanceColumn: return QStringLiteral("bala");
    case CurrencyColumn: return QStringLiteral("fcur");
    }
    return {};
}

Qt::ItemFlags SideBarOutlineModel::flags(const QModelIndex& index) const
{
    const auto item = itemAt(index);
    if (!item) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled;
    if (item->objectType() != type::kNone) flags |= Qt::ItemIsSelectable;
    return flags;
}

} // namespace ch

#include "ui/outlines/CNonVisualOutlineViewController.h"

#include <QItemSelectionModel>
#include <QTimer>

#include "model/CNamedListArray.h"
#include "model/CNonVisual.h"
#include "platform/core/localized_strings.h"
#include "ui/outlines/CNonVisualOutlineView.h"

namespace ch {

namespace {

void resort(CNamedListArray* list)
{
    if (!list) return;
    list->SetNotSorted();
    list->Sort();
}

} // namespace

CNonVisualOutlineViewController::CNonVisualOutlineViewController(CNonVisualOutlineView* view,
                                                                 std::vector<NamedListOutlineModel::Column> columns,
                                                                 NamedListOutlineModel::IconLookup icons,
                                                                 QObject* parent)
    : QObject(parent), mControledView(view),
      mModel(std::make_unique<NamedListOutlineModel>(static_cast<CNamedListTableController&>(*this), std::move(columns),
                                                     std::move(icons)))
{
    if (!mControledView) return;
    mControledView->setModel(mModel.get());
    mControledView->setDragDropMode(QAbstractItemView::NoDragDrop);
    connect(mControledView, &QTreeView::expanded, this,
            [this](const QModelIndex& index) { shouldExpandItem(mModel->itemAt(index).get()); });
    connect(mControledView, &QTreeView::collapsed, this,
            [this](const QModelIndex& index) { shouldCollapseItem(mModel->itemAt(index).get()); });
    connect(mControledView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { outlineViewSelectionDidChange(); });
}

CNonVisualOutlineViewController::~CNonVisualOutlineViewController()
{
    // The view must not keep a model that goes with the controller.
    if (mControledView && mControledView->model() == mModel.get()) mControledView->setModel(nullptr);
}

CNonVisualOutlineViewController& CNonVisualOutlineViewController::initializeWithDocument(BridgeDocument* document,
                                                                                         CNamedListArray* array,
                                                                                         bool hierarchic)
{
    bind(document, array, hierarchic);
    mSortableArray = array;
    mCurrentItem.reset();
    mPendingExpansions.clear();
    mModel->reload();
    return *this;
}

CNonVisualDataItem::Ptr CNonVisualOutlineViewController::child(std::size_t index, const CNonVisualDataItem::Ptr& item)
{
    if (index == 0) {
        if (!item) {
            resort(mSortableArray);
        } else if (const CNonVisual* object = item->getSourceItem()) {
            resort(object->Get_DetailFolders());
            resort(object->Get_Details());
        }
    }
    CNonVisualDataItem::Ptr found = CNamedListTableController::child(index, item);
    const CNonVisual* object = found ? found->getSourceItem() : nullptr;
    if (object && object->Get_mb_IsOpen() && mControledView) {
        // Never inside the view's own questions: on the next turn.
        if (mPendingExpansions.empty()) QTimer::singleShot(0, this, [this] { expandPendingRows(); });
        mPendingExpansions.insert(calculateKeyForObject(*object));
    }
    return found;
}

void CNonVisualOutlineViewController::expandPendingRows()
{
    const std::set<std::string> keys = std::move(mPendingExpansions);
    mPendingExpansions.clear();
    for (const std::string& key : keys) {
        const CNonVisualDataItem::Ptr item = getDataItemForObjectIdAsString(key);
        if (!item || !item->getSourceItem() || !item->getSourceItem()->Get_mb_IsOpen()) continue;
        const QModelIndex row = mModel->indexOf(item.get());
        if (row.isValid() && !mControledView->isExpanded(row)) mControledView->expand(row);
    }
}

CNonVisualOutlineViewController::CellValue
CNonVisualOutlineViewController::objectValueForTableColumn(std::string_view column, const CNonVisualDataItem& item)
{
    if (!item.getSourceItem()) return localized("deleted");
    if (column == "name") return item.getName();
    if (column == "id") return static_cast<long>(item.getSourceItem()->Get_Id());
    return {};
}

bool CNonVisualOutlineViewController::shouldExpandItem(const CNonVisualDataItem* item)
{
    if (item && item->getSourceItem()) item->getSourceItem()->Put_mb_IsOpen(true);
    return true;
}

bool CNonVisualOutlineViewController::shouldCollapseItem(const CNonVisualDataItem* item)
{
    if (item && item->getSourceItem()) item->getSourceItem()->Put_mb_IsOpen(false);
    return true;
}

void CNonVisualOutlineViewController::outlineViewSelectionDidChange()
{
    if (!mControledView) return;
    if (CNonVisualDataItem::Ptr selected = mControledView->getCurrentItem()) mCurrentItem = std::move(selected);
    emit selectionDidChange();
}

} // namespace ch

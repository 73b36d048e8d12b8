#pragma once
// CNonVisualOutlineViewController: the self-contained data source and
// delegate of one outline view over a model list - account folders with
// their accounts, category groups with their categories. The rows are
// those of a named-list table (folders first, then details, one cached item
// per object), with these differences:
// - asking for the first child of a row sorts that row's folder and detail
//   lists again (the first child of the root: the list itself), so that a
//   renamed object takes its place;
// - a row whose object is marked open is expanded on the next turn of the
//   event loop; expanding or collapsing a row marks its object open or
//   closed;
// - a row shows its name and id only ("deleted" once its object is gone);
//   rows are neither dragged nor dropped onto;
// - the current item is the item of the row last selected; it stays when
//   the selection is emptied, and goes with a new list.

#include <QObject>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ui/outlines/CNamedListTableController.h"
#include "ui/outlines/NamedListOutlineModel.h"

namespace ch {

class CNonVisualOutlineView;

class CNonVisualOutlineViewController : public QObject, private CNamedListTableController {
    Q_OBJECT

public:
    // Serves the view (not owned; it must outlive the controller) with the
    // columns and icons.
    CNonVisualOutlineViewController(CNonVisualOutlineView* view, std::vector<NamedListOutlineModel::Column> columns,
                                    NamedListOutlineModel::IconLookup icons = {}, QObject* parent = nullptr);
    ~CNonVisualOutlineViewController() override;

    // Shows the list (none: an empty outline) of the document: a new empty
    // cache, no current item, the view reloaded.
    CNonVisualOutlineViewController& initializeWithDocument(BridgeDocument* document, CNamedListArray* array,
                                                            bool hierarchic);

    // --- data source (no item: the root)
    using CellValue = CNamedListTableController::CellValue;
    using CNamedListTableController::calculateKeyForObject;
    using CNamedListTableController::createNodeForSourceItem;
    using CNamedListTableController::getDataItemForSourceItem;
    using CNamedListTableController::isHierarchic;
    using CNamedListTableController::isItemExpandable;
    using CNamedListTableController::numberOfChildrenOfItem;
    CNonVisualDataItem::Ptr child(std::size_t index, const CNonVisualDataItem::Ptr& item) override;
    CellValue objectValueForTableColumn(std::string_view column, const CNonVisualDataItem& item) override;

    // --- delegate: the open flag belongs to the model object; both allow.
    bool shouldExpandItem(const CNonVisualDataItem* item);
    bool shouldCollapseItem(const CNonVisualDataItem* item);
    // The item of the selected row becomes the current item; without a
    // selected row the current item stays.
    void outlineViewSelectionDidChange();

    const CNonVisualDataItem::Ptr& currentItem() const { return mCurrentItem; }
    NamedListOutlineModel& model() { return *mModel; }
    CNonVisualOutlineView* controledView() const { return mControledView; }

signals:
    // After every selection change of the view, the current item updated.
    void selectionDidChange();

private:
    bool canItemBeDragged(const CNonVisualDataItem*) const override { return false; }
    // Expands the rows of the keys that are still shown and still open.
    void expandPendingRows();

    CNonVisualOutlineView* mControledView;
    CNamedListArray* mSortableArray = nullptr;
    std::unique_ptr<NamedListOutlineModel> mModel;
    CNonVisualDataItem::Ptr mCurrentItem;
    // Node keys of open rows waiting to be expanded.
    std::set<std::string> mPendingExpansions;
};

} // namespace ch

#pragma once
// CNamedListTableController: the data behind an outline table of model
// objects - account types with their accounts, category groups with their
// categories. The root rows are the elements of a model list; under a row
// come its object's detail folders (sub-types, sub-groups), then its
// details (accounts, categories). Each object is wrapped in one item, kept
// in a cache under the object's node key ("%d%x": decimal id, then the
// four-character type in lower-case hex); the cache owns the items until a
// new list is set.
//
// Cell values by column identifier: "name", "id", the balances "lbal" and
// "fbal" with their currencies "lcur" and "fcur", and the figures of
// categories and groups "yths", "yprv", "avgt", "avgp", "totp", "bala". Rows
// that are neither a category nor a group show no figures.
//
// Drags carry the node key; a drop onto a row makes that row's object the
// dragged object's parent, through the document.
//
// CPropertyTableController wraps account types, accounts, categories and
// groups in their own item classes, and nothing else.
//
// No window: the outline views ask it through an adapter.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "bridge/CNonVisualDataItem.h"

namespace ch {

class BridgeDocument;
class CNamedListArray;

class CNamedListTableController {
public:
    // A cell: nothing, a text or a number.
    using CellValue = std::variant<std::monostate, std::string, long>;
    // Makes the object's parent the given one; whether the model took it.
    using SetSuperitem = std::function<bool(CNonVisual* parent, CNonVisual* child)>;

    CNamedListTableController() = default;
    // Neither the document nor the list is owned.
    CNamedListTableController(BridgeDocument* document, const CNamedListArray* array, bool hierarchic);
    virtual ~CNamedListTableController();
    CNamedListTableController(const CNamedListTableController&) = delete;
    CNamedListTableController& operator=(const CNamedListTableController&) = delete;

    // Empties the cache, forgets the current item and shows the list; the
    // caller reloads the outline.
    void setArray(const CNamedListArray* array);
    const CNamedListArray* array() const { return mArray; }
    bool isHierarchic() const { return mIsHierarchic; }
    BridgeDocument* document() const { return mDocument; }
    void setSetSuperitem(SetSuperitem operation) { mSetSuperitem = std::move(operation); }

    // --- data source (no item: the root)
    std::size_t numberOfChildrenOfItem(const CNonVisualDataItem* item) const;
    bool isItemExpandable(const CNonVisualDataItem* item) const;
    // The child's item, cached; none past the end.
    virtual CNonVisualDataItem::Ptr child(std::size_t index, const CNonVisualDataItem::Ptr& item);
    virtual CellValue objectValueForTableColumn(std::string_view column, const CNonVisualDataItem& item);

    // --- drag and drop
    // Not without an object; a root object only with an id above 6.
    virtual bool canItemBeDragged(const CNonVisualDataItem* item) const;
    // Whether the dragged key may be dropped onto the parent: a parent row,
    // a key of this table's cache with an object, and a parent that takes
    // a sub-item of the dragged object's type.
    bool validateDrop(const std::optional<std::string>& draggedKey, const CNonVisualDataItem::Ptr& parent) const;
    // Validates, then asks the document to re-parent the object and moves
    // its item under the parent; the moved item, none when refused.
    CNonVisualDataItem::Ptr acceptDrop(const std::optional<std::string>& draggedKey,
                                       const CNonVisualDataItem::Ptr& parent);

    // --- the cache
    CNonVisualDataItem::Ptr getDataItemForObjectIdAsString(const std::string& key) const;
    static std::string calculateKeyForObject(const CNonVisual& object);
    CNonVisualDataItem::Ptr getDataItemForSourceItem(CNonVisual* object, const CNonVisualDataItem::Ptr& parent);
    virtual CNonVisualDataItem::Ptr createNodeForSourceItem(CNonVisual* object, const CNonVisualDataItem::Ptr& parent);

    // Nothing to do on a selection change; true.
    bool selectionDidChange() { return true; }

protected:
    // Binds another document and list: the cache emptied, no current item.
    void bind(BridgeDocument* document, const CNamedListArray* array, bool hierarchic);

private:
    std::string homeCurrencySymbol() const;

    BridgeDocument* mDocument = nullptr;
    const CNamedListArray* mArray = nullptr;
    bool mIsHierarchic = false;
    std::map<std::string, CNonVisualDataItem::Ptr, std::less<>> mNodesAndLeafs;
    CNonVisualDataItem::Ptr theCurrentItem;
    SetSuperitem mSetSuperitem;
};

class CPropertyTableController : public CNamedListTableController {
public:
    using CNamedListTableController::CNamedListTableController;
    CNonVisualDataItem::Ptr createNodeForSourceItem(CNonVisual* object, const CNonVisualDataItem::Ptr& parent) override;
};

} // namespace ch

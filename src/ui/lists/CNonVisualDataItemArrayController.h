#pragma once
// CNonVisualDataItemArrayController: the arranged view of a list of items
// that a table shows. It filters the list by a search string (an item stays
// when it matches the text), sorts it by its sort keys and answers the
// arranged rows. Subclasses add their own filters. A list already in the
// order of the sort keys (the model keeps its transactions newest first)
// is shown as it is.
//
// Arranging stays cheap on long lists: without a filter or sort key the rows
// are the list's own order and nothing is copied; otherwise only the kept
// positions are held, never the items. Sort keys read from the model
// objects are kept while the list is unchanged, so that a second click on a
// heading, a search or a filter sorts the positions without reading the rows
// again; rearrangeObjects (the list changed) lets them go.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "bridge/CNonVisualDataItem.h"
#include "ui/lists/ItemListSource.h"

namespace ch {

// A value rows are ordered by: none sorts first.
using SortValue = std::variant<std::monostate, double, std::string>;

struct SortDescriptor {
    std::string key;   // e.g. "mDate"
    bool ascending = true;
    std::function<SortValue(const CNonVisualDataItem&)> value;
    // The same key read from the model object, so that long lists sort
    // without making an item per row; used when every key has it.
    std::function<SortValue(const CNonVisual&)> objectValue;
};

class CNonVisualDataItemArrayController {
public:
    using Item = CNonVisualDataItem::Ptr;

    CNonVisualDataItemArrayController();
    virtual ~CNonVisualDataItemArrayController();
    CNonVisualDataItemArrayController(const CNonVisualDataItemArrayController&) = delete;
    CNonVisualDataItemArrayController& operator=(const CNonVisualDataItemArrayController&) = delete;

    // The list shown; arranges at once.
    void setContent(std::shared_ptr<const ItemListSource> content);
    const ItemListSource* content() const { return mContent.get(); }
    // Sort keys, the first the most significant; arranges at once.
    void setSortDescriptors(std::vector<SortDescriptor> descriptors);
    const std::vector<SortDescriptor>& sortDescriptors() const { return mSort; }

    // The search: a new text arranges again; the same text does nothing.
    void search(const std::string& text);
    const std::string& searchString() const { return mSearch; }
    void setSearchString(const std::string& text);

    // Applies the filters and sort keys to the list as it is now (after a
    // change of the list: kept sort keys are read again).
    void rearrangeObjects();
    // The item has just joined the list (which holds it already): arranges
    // again, showing it whatever the filters say, so that what was just
    // booked is seen and can be selected. Only this arrangement makes the
    // exception; the next one leaves the item to the filters.
    void addObject(const Item& item);

    std::size_t arrangedCount() const;
    // The item of an arranged row; none past the end.
    Item arrangedObjectAt(std::size_t row) const;
    // Every arranged item (for tests and exports of small lists).
    CNonVisualDataItem::ItemArray arrangedObjects() const;
    // The arranged row of the item, if shown.
    std::optional<std::size_t> arrangedRowOf(const CNonVisualDataItem* item) const;

    // Called after every rearrangement (the table model resets).
    void setArrangedHandler(std::function<void()> handler) { mArranged = std::move(handler); }
    // Called just before (the table model begins its reset).
    void setWillArrangeHandler(std::function<void()> handler) { mWillArrange = std::move(handler); }

protected:
    // Whether any filter of the controller is on; the base's: a search text.
    virtual bool filtering() const { return !mSearch.empty(); }
    // Whether the item passes the filters; the base's: the search.
    virtual bool accepts(const CNonVisualDataItem& item) const;
    // Arranges again after a filter changed, the list itself unchanged.
    void arrange();
    // Whether the filters can judge a row by its model object (acceptsObject),
    // so that long lists filter without an item per row.
    virtual bool judgesObjects() const { return false; }
    // Called before the rows are judged.
    virtual void willFilter() {}
    // Whether every row the search `text` keeps is among the rows the search
    // `previous` kept (a longer text found within them), so that only those
    // are judged again; the base's: never, its items may match as they like.
    virtual bool searchNarrows(const std::string& /*previous*/, const std::string& /*text*/) const { return false; }
    // The filters' answer from the object alone; none: the item is needed.
    virtual std::optional<bool> acceptsObject(const CNonVisual&) const { return std::nullopt; }

private:
    // Arranges again; with `withinRows`, judges only the rows shown now.
    void arrangeRows(bool withinRows);

    // The sort keys of one descriptor, by list position; read on first need.
    struct KeptKeys {
        std::vector<SortValue> values;
        std::vector<bool> read;
    };
    KeptKeys& keysOf(const SortDescriptor& descriptor);

    std::shared_ptr<const ItemListSource> mContent;
    std::vector<SortDescriptor> mSort;
    std::vector<std::pair<std::string, KeptKeys>> mKeptKeys;
    std::string mSearch;
    // The list positions shown, in order; none: the list's own order.
    std::optional<std::vector<std::uint32_t>> mRows;
    // Whether mRows are what the filters and the search kept of the list
    // of this many elements, in the sort in force: what a narrower search
    // may start from.
    bool mRowsFiltered = false;
    std::size_t mFilteredCount = 0;
    // The model object of the item addObject is arranging; compared only.
    const CNonVisual* mAdded = nullptr;
    std::function<void()> mArranged;
    std::function<void()> mWillArrange;
};

} // namespace ch

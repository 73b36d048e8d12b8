#include "ui/lists/CNonVisualDataItemArrayController.h"

#include <algorithm>

namespace ch {

CNonVisualDataItemArrayController::CNonVisualDataItemArrayController() = default;
CNonVisualDataItemArrayController::~CNonVisualDataItemArrayController() = default;

void CNonVisualDataItemArrayController::setContent(std::shared_ptr<const ItemListSource> content)
{
    mContent = std::move(content);
    rearrangeObjects();
}

void CNonVisualDataItemArrayController::setSortDescriptors(std::vector<SortDescriptor> descriptors)
{
    mSort = std::move(descriptors);
    // Only the keys of the sort in force are kept.
    std::erase_if(mKeptKeys, [this](const auto& kept) {
        return std::none_of(mSort.begin(), mSort.end(),
                            [&](const SortDescriptor& descriptor) { return descriptor.key == kept.first; });
    });
    arrange();
}

void CNonVisualDataItemArrayController::search(const std::string& text)
{
    setSearchString(text);
}

void CNonVisualDataItemArrayController::setSearchString(const std::string& text)
{
    if (text == mSearch) return;
    // Typing on narrows the search: only the rows kept so far are judged.
    const bool narrower = mRowsFiltered && mRows && mContent && mContent->count() == mFilteredCount &&
                          !mSearch.empty() && searchNarrows(mSearch, text);
    mSearch = text;
    arrangeRows(narrower);
}

bool CNonVisualDataItemArrayController::accepts(const CNonVisualDataItem& item) const
{
    return mSearch.empty() || item.matches(mSearch);
}

void CNonVisualDataItemArrayController::rearrangeObjects()
{
    mKeptKeys.clear();
    arrange();
}

void CNonVisualDataItemArrayController::addObject(const Item& item)
{
    mAdded = item ? item->getSourceItem() : nullptr;
    rearrangeObjects();
    mAdded = nullptr;
}

CNonVisualDataItemArrayController::KeptKeys& CNonVisualDataItemArrayController::keysOf(
    const SortDescriptor& descriptor)
{
    // A key read from the object and from the item is the same value, so
    // both ways share what is kept under the descriptor's key.
    for (auto& [key, kept] : mKeptKeys)
        if (key == descriptor.key) return kept;
    const std::size_t count = mContent ? mContent->count() : 0;
    mKeptKeys.emplace_back(descriptor.key, KeptKeys{std::vector<SortValue>(count), std::vector<bool>(count, false)});
    return mKeptKeys.back().second;
}

void CNonVisualDataItemArrayController::arrange()
{
    arrangeRows(false);
}

void CNonVisualDataItemArrayController::arrangeRows(bool withinRows)
{
    if (mWillArrange) mWillArrange();
    std::optional<std::vector<std::uint32_t>> shown = std::move(mRows);
    mRows.reset();
    mRowsFiltered = false;
    const std::size_t count = mContent ? mContent->count() : 0;
    if (filtering() || !mSort.empty()) {
        std::vector<std::uint32_t> rows;
        const bool filtered = filtering();
        if (!filtered) rows.reserve(count);
        if (filtered) willFilter();
        const bool byObject = filtered && judgesObjects();
        // The rows to judge: those shown (already in the sort's order), or
        // every position of the list.
        const bool within = withinRows && filtered && shown;
        const std::size_t candidates = within ? shown->size() : count;
        for (std::size_t k = 0; k < candidates; ++k) {
            const std::size_t i = within ? (*shown)[k] : k;
            if (filtered && !(mAdded && mContent->objectAt(i) == mAdded)) {
                std::optional<bool> accepted;
                if (byObject)
                    if (const CNonVisual* object = mContent->objectAt(i)) accepted = acceptsObject(*object);
                if (!accepted) {
                    const Item item = mContent->itemAt(i);
                    accepted = item && accepts(*item);
                }
                if (!*accepted) continue;
            }
            rows.push_back(static_cast<std::uint32_t>(i));
        }
        if (!mSort.empty()) {
            // Each row's keys are read once; then the positions are sorted.
            const bool fromObjects = std::all_of(mSort.begin(), mSort.end(),
                                                 [](const SortDescriptor& d) { return bool(d.objectValue); });
            std::vector<const SortValue*> keys;
            keys.reserve(mSort.size());
            for (const SortDescriptor& descriptor : mSort) {
                KeptKeys& kept = keysOf(descriptor);
                if (kept.values.size() != count) {
                    // The list changed without a word: read every key again.
                    kept.values.assign(count, SortValue{});
                    kept.read.assign(count, false);
                }
                for (std::uint32_t row : rows) {
                    if (kept.read[row]) continue;
                    kept.read[row] = true;
                    if (fromObjects) {
                        const CNonVisual* object = mContent->objectAt(row);
                        kept.values[row] = object ? descriptor.objectValue(*object) : SortValue{};
                    } else {
                        const Item item = mContent->itemAt(row);
                        kept.values[row] = item && descriptor.value ? descriptor.value(*item) : SortValue{};
                    }
                }
                keys.push_back(kept.values.data());
            }
            auto before = [&](std::uint32_t a, std::uint32_t b) {
                for (std::size_t k = 0; k < mSort.size(); ++k) {
                    const SortValue& left = keys[k][a];
                    const SortValue& right = keys[k][b];
                    if (left == right) continue;
                    return mSort[k].ascending ? left < right : right < left;
                }
                return false;
            };
            const bool inOrder = std::is_sorted(rows.begin(), rows.end(), before);
            if (!inOrder) std::stable_sort(rows.begin(), rows.end(), before);
            // Keys read through the items are not kept: an item's value may
            // change in place (a status toggled) without a word to the list.
            if (!fromObjects) mKeptKeys.clear();
            if (inOrder && !filtering()) {
                // Already in order: without a filter the list is shown as it is.
                if (mArranged) mArranged();
                return;
            }
        }
        mRows = std::move(rows);
        mRowsFiltered = filtered;
        mFilteredCount = count;
    }
    if (mArranged) mArranged();
}

std::size_t CNonVisualDataItemArrayController::arrangedCount() const
{
    if (mRows) return mRows->size();
    return mContent ? mContent->count() : 0;
}

CNonVisualDataItemArrayController::Item CNonVisualDataItemArrayController::arrangedObjectAt(std::size_t row) const
{
    if (!mContent) return nullptr;
    if (mRows) return row < mRows->size() ? mContent->itemAt((*mRows)[row]) : nullptr;
    return mContent->itemAt(row);
}

CNonVisualDataItem::ItemArray CNonVisualDataItemArrayController::arrangedObjects() const
{
    CNonVisualDataItem::ItemArray items;
    const std::size_t count = arrangedCount();
    items.reserve(count);
    for (std::size_t row = 0; row < count; ++row) items.push_back(arrangedObjectAt(row));
    return items;
}

std::optional<std::size_t> CNonVisualDataItemArrayController::arrangedRowOf(const CNonVisualDataItem* item) const
{
    if (!item || !mContent) return std::nullopt;
    const CNonVisual* object = item->getSourceItem();
    const std::size_t count = arrangedCount();
    for (std::size_t row = 0; row < count; ++row) {
        const std::size_t index = mRows ? (*mRows)[row] : row;
        // By model object where the item has one: no item is made for the rows passed.
        if (object ? mContent->objectAt(index) == object : mContent->itemAt(index).get() == item) return row;
    }
    return std::nullopt;
}

} // namespace ch

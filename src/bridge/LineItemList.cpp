#include "bridge/LineItemList.h"

#include "bridge/CDebetItem.h"
#include "bridge/ItemsOfList.h"

namespace ch {

void appendLineItems(LineItemArray& items, const CNamedListArray* lines, CNonVisualDataItemController* registry)
{
    const LineItemArray more =
        itemsOfList(lines, registry, &CNonVisualDataItemController::debetItemForTransactionDetail);
    items.insert(items.end(), more.begin(), more.end());
}

void appendModelLines(std::vector<CNonVisual*>& lines, const CNamedListArray* list)
{
    const auto count = static_cast<ArrayIndexT>(list ? list->GetCount() : 0);
    lines.reserve(lines.size() + static_cast<std::size_t>(count));
    for (ArrayIndexT i = 1; i <= count; ++i)
        if (CNonVisual* line = list->ObjectAt(i)) lines.push_back(line);
}

LineItemList::LineItemList(const CNamedListArray* lines, CNonVisualDataItemController* registry)
{
    const std::size_t count = lines ? lines->GetCount() : 0;
    // A busy account lists tens of thousands of lines: room for all at once.
    mItems.reserve(count);
    mIndex.reserve(count);
    if (registry && count > 0) registry->expectLineItems(lines->ObjectAt(1), count);
    // The lines lie scattered in memory and each is first read here: asking a
    // few lines ahead for it hides most of that wait.
    constexpr ArrayIndexT kAhead = 8;
    const auto last = static_cast<ArrayIndexT>(count);
    for (ArrayIndexT i = 1; i <= last; ++i) {
        if (i + kAhead <= last) __builtin_prefetch(lines->ObjectAt(i + kAhead));
        append(lines->ObjectAt(i), registry);
    }
}

void LineItemList::append(CNonVisual* line, CNonVisualDataItemController* registry)
{
    if (!line) return;
    const auto [entry, added] = mIndex.try_emplace(line, mItems.size());
    if (!added) return;
    std::shared_ptr<CDebetItem> item =
        itemOf(line, registry, &CNonVisualDataItemController::debetItemForTransactionDetail);
    if (!item) {
        mIndex.erase(entry);
        return;
    }
    mItems.push_back(std::move(item));
}

void LineItemList::remove(const CNonVisual* line)
{
    auto found = mIndex.find(line);
    if (found == mIndex.end()) return;
    mItems[found->second].reset();
    mIndex.erase(found);
    ++mGaps;
}

const LineItemArray& LineItemList::items()
{
    if (mGaps > 0) compact();
    return mItems;
}

void LineItemList::compact()
{
    LineItemArray kept;
    kept.reserve(mItems.size() - mGaps);
    std::unordered_map<const CNonVisual*, std::size_t> index;
    index.reserve(mIndex.size());
    // The index knows each listed line by position; walk it in order.
    std::vector<const CNonVisual*> lineAt(mItems.size(), nullptr);
    for (const auto& [line, position] : mIndex) lineAt[position] = line;
    for (std::size_t i = 0; i < mItems.size(); ++i) {
        if (!mItems[i]) continue;
        index.emplace(lineAt[i], kept.size());
        kept.push_back(std::move(mItems[i]));
    }
    mItems = std::move(kept);
    mIndex = std::move(index);
    mGaps = 0;
}

} // namespace ch

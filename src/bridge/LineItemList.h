#pragma once
// The kept list of line items of an account or category, in the order the
// lines arrived, kept in step with the model's line messages. Adding and
// removing a line costs constant time, so that deleting the many lines of a
// large account stays linear; the list closes its gaps when it is read.

#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

namespace ch {

class CDebetItem;
class CNamedListArray;
class CNonVisual;
class CNonVisualDataItemController;

using LineItemArray = std::vector<std::shared_ptr<CDebetItem>>;

// Appends the items of the list's lines: the registry's, or new items when
// there is no registry.
void appendLineItems(LineItemArray& items, const CNamedListArray* lines, CNonVisualDataItemController* registry);
// Appends the list's model lines themselves, in the same order.
void appendModelLines(std::vector<CNonVisual*>& lines, const CNamedListArray* list);

class LineItemList {
public:
    // The items of the list's lines, in list order (none without a list).
    LineItemList(const CNamedListArray* lines, CNonVisualDataItemController* registry);
    // Appends the item of the line (as appendLineItems), unless the line is
    // listed already.
    void append(CNonVisual* line, CNonVisualDataItemController* registry);
    // Takes the line's item out; nothing when it is not listed.
    void remove(const CNonVisual* line);
    // The items in order.
    const LineItemArray& items();

private:
    void compact();

    LineItemArray mItems;                                   // null: a removed item
    std::unordered_map<const CNonVisual*, std::size_t> mIndex;   // line -> position
    std::size_t mGaps = 0;
};

} // namespace ch

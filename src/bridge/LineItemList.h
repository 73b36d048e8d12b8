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
class CNonVisual;

using LineItemArray = std::vector<std::shared_ptr<CDebetItem>>;

class LineItemList {
public:
    // Appends the item of the line, unless the line is listed already.
    void append(const CNonVisual* line, std::shared_ptr<CDebetItem> item);
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
